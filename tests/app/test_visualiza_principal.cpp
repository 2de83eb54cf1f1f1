// The signal windows in the real main window: opening a file shows its signals, the
// window commands open more, the representation commands reach the active window, and
// the commands follow the windows as they come and go.
#include "ficheros_prueba.h"

#include "display/senales_digitales.h"
#include "display/visualiza_senales.h"
#include "plot/grf.h"

#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

namespace qv::test {
namespace {

class VisualizaPrincipal : public ArchivosPrueba {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        CrearConDialogos();
    }
    static void Procesar()
    {
        // Windows that closed themselves go away too.
        for (int i = 0; i < 4; ++i) {
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    QList<QMdiSubWindow*> Hijas() const { return ventana->AreaVentanas().subWindowList(QMdiArea::CreationOrder); }
    TVentanaSenales* Activa() const { return dynamic_cast<TVentanaSenales*>(ventana->HijaActiva()); }
};

TEST_F(VisualizaPrincipal, OpeningAFileShowsItsSignalsAndTheCommandsFollowTheWindows)
{
    const QString ruta = EscribirFicheroSenales(QStringLiteral("s.qvn"), {QStringLiteral("C1"), QStringLiteral("C2")},
                                                {QStringLiteral("D1")});
    dialogos.abrir.push_back(ruta);
    Accion("SpBtnAbrir")->trigger();
    Procesar();

    // Its analog window, and a digital window for its digital signals.
    ASSERT_EQ(Hijas().size(), 2);
    auto* ana = dynamic_cast<TfrmVisualizaSenales*>(Hijas()[0]->widget());
    auto* dig = dynamic_cast<TfrmSenalesDigitales*>(Hijas()[1]->widget());
    ASSERT_NE(ana, nullptr);
    ASSERT_NE(dig, nullptr);
    EXPECT_EQ(ana->windowTitle(), ruta);
    EXPECT_EQ(ana->SenalesVisibles.size(), 3);
    EXPECT_EQ(ana->NumeroVentana(), 1);
    EXPECT_TRUE(ana->isVisible());
    EXPECT_EQ(dig->SenalesVisibles, QStringList{QStringLiteral("D1")});
    EXPECT_EQ(dig->NumeroVentana(), 2);
    EXPECT_TRUE(dig->isVisible());
    // The analog window is the one the commands reach first.
    EXPECT_EQ(Activa(), ana);
    for (const char* n : {"SpBtnDatos", "SpBtnElegir", "SpBtnZoomIn", "SpBtnCursores", "DefinirRepresentacin1",
                          "Insertartexto1", "CerrarVentana1", "Cascada1"})
        EXPECT_TRUE(Activo(n)) << n;

    // The representation commands are carried out by the active window.
    Accion("SpBtnZoomIn")->trigger();
    EXPECT_TRUE(ana->Grafica().ZoomPreparado());
    Accion("SpBtnCursores")->trigger();
    EXPECT_TRUE(ana->CursoresActivos());
    EXPECT_FALSE(dig->Grafica().ZoomPreparado());

    // "Cerrar Ventana" on the digital one, then a new one, numbered next.
    ventana->AreaVentanas().setActiveSubWindow(Hijas()[1]);
    Accion("CerrarVentana1")->trigger();
    Procesar();
    ASSERT_EQ(Hijas().size(), 1);
    Accion("SpBtnDigital")->trigger();
    Procesar();
    ASSERT_EQ(Hijas().size(), 2);
    dig = dynamic_cast<TfrmSenalesDigitales*>(Hijas()[1]->widget());
    ASSERT_NE(dig, nullptr);
    EXPECT_EQ(dig->NumeroVentana(), 3);
    EXPECT_EQ(Activa(), dig);

    // Saving gives every window the file's name.
    const QString otra = Ruta(QStringLiteral("otra.qvn"));
    dialogos.guardar.push_back(otra);
    Accion("Guardarcomo1")->trigger();
    EXPECT_EQ(ana->windowTitle(), otra);
    EXPECT_EQ(dig->windowTitle(), otra);

    // Closing them one by one: with the last one gone the window's commands go too.
    Accion("CerrarVentana1")->trigger();
    Procesar();
    ASSERT_EQ(Hijas().size(), 1);
    EXPECT_TRUE(Activo("SpBtnDatos"));
    Hijas()[0]->close();
    Procesar();
    EXPECT_TRUE(Hijas().isEmpty());
    for (const char* n : {"SpBtnDatos", "SpBtnElegir", "SpBtnZoomIn", "CerrarVentana1", "Representacion1"})
        EXPECT_FALSE(Activo(n)) << n;
    for (const char* n : {"SpBtnAnalogica", "SpBtnDigital", "Ventana1"})
        EXPECT_TRUE(Activo(n)) << n;

    // "Nueva Ventana Analógica" titles it with the file, and "Cerrar Todas" resets the count.
    Accion("NuevaVentana1")->trigger();
    Accion("NuevaVentana1")->trigger();
    Procesar();
    ASSERT_EQ(Hijas().size(), 2);
    EXPECT_EQ(Hijas()[1]->widget()->windowTitle(), otra);
    Accion("CerrarTodas1")->trigger();
    Procesar();
    EXPECT_TRUE(Hijas().isEmpty());
    EXPECT_EQ(ventana->ContadorVentanas(), 0);
    EXPECT_FALSE(Activo("SpBtnDatos"));
}

// A student's path through the data views from the windows: choosing what is shown,
// a note, a rename from the signal data, deleting from the digital window's chooser.
TEST_F(VisualizaPrincipal, TheDataViewsWorkOnTheActiveWindowAndReachEveryWindow)
{
    dialogos.abrir.push_back(EscribirFicheroSenales(QStringLiteral("s.qvn"),
                                                    {QStringLiteral("C1"), QStringLiteral("C2")},
                                                    {QStringLiteral("D1"), QStringLiteral("D2")}));
    Accion("SpBtnAbrir")->trigger();
    Procesar();
    ASSERT_EQ(Hijas().size(), 2);
    auto* ana = dynamic_cast<TfrmVisualizaSenales*>(Hijas()[0]->widget());
    auto* dig = dynamic_cast<TfrmSenalesDigitales*>(Hijas()[1]->widget());
    ASSERT_TRUE(ana && dig);
    ASSERT_EQ(Activa(), ana);
    ventana->Estado().MarcarGuardado();

    // "Elegir": only C1 stays shown; the cursors come back as they were.
    Accion("SpBtnCursores")->trigger();
    modal.Cuando(QStringLiteral("frmElegir"), [](QDialog& d) {
        Pulsar(d, "ExAllBtn");
        Elegir(d, "SrcList", QStringLiteral("C1"));
        Pulsar(d, "IncludeBtn");
        Pulsar(d, "OKBtn");
    });
    Accion("SpBtnElegir")->trigger();
    Procesar();
    EXPECT_EQ(ana->SenalesVisibles, QStringList{QStringLiteral("C1")});
    EXPECT_EQ(ana->SenalesOcultas.size(), 3);
    EXPECT_EQ(ana->Grafica().NumSeries(), 1);
    EXPECT_TRUE(ana->CursoresActivos());
    EXPECT_TRUE(ventana->Estado().Modificado);

    // "Insertar texto" puts the note at (50, 50) of the graph; "Borrar último texto" takes it.
    modal.Cuando(QStringLiteral("frmInsTexto"), [](QDialog& d) {
        Escribir(d, "EdTexto", QStringLiteral("pico"));
        Pulsar(d, "OKBtn");
    });
    Accion("Insertartexto1")->trigger();
    ASSERT_EQ(ana->Grafica().Textos().size(), 1u);
    EXPECT_EQ(ana->Grafica().Textos().front().Etiqueta->text(), QStringLiteral("pico"));
    Accion("Borrarltimotexto1")->trigger();
    EXPECT_TRUE(ana->Grafica().Textos().empty());

    // A zoom and a placed cursor survive a rename made in "Datos".
    TGrf& g = ana->Grafica();
    const QRect a = g.AreaGrafica();
    QTest::mousePress(&g, Qt::LeftButton, Qt::ShiftModifier, a.topLeft() + QPoint(20, 10));
    QTest::mouseMove(&g, a.center());
    QTest::mouseRelease(&g, Qt::LeftButton, Qt::ShiftModifier, a.center());
    ASSERT_TRUE(g.Ampliada());
    QTest::mouseClick(&g, Qt::LeftButton, {}, a.topLeft() + QPoint(60, 10));
    ASSERT_TRUE(g.CursorAzul().Visible);
    modal.Cuando(QStringLiteral("frmDatosSenal"), [](QDialog& d) { Pulsar(d, "spBtnPasar"); });
    modal.Cuando(QStringLiteral("frmPedirNombre"), [](QDialog& d) {
        Escribir(d, "Edit1", QStringLiteral("Uno"));
        Pulsar(d, "OKBtn");
    });
    Accion("SpBtnDatos")->trigger();
    EXPECT_EQ(modal.Pendientes(), 0);
    EXPECT_EQ(ana->SenalesVisibles, QStringList{QStringLiteral("Uno")});
    EXPECT_TRUE(g.Serie(0).Nombre().startsWith(QStringLiteral("Uno(")));
    auto* sg = ana->findChild<QTableWidget*>(QStringLiteral("SG"));
    ASSERT_NE(sg, nullptr);
    EXPECT_EQ(sg->horizontalHeaderItem(0)->text(), QStringLiteral("Uno"));
    EXPECT_TRUE(g.Ampliada());
    EXPECT_TRUE(g.CursorAzul().Visible);

    // The digital window's chooser deletes D2 from the set: every window lets it go.
    ventana->AreaVentanas().setActiveSubWindow(Hijas()[1]);
    ASSERT_EQ(Activa(), dig);
    auto borrar = [this](const QString& nombre) {
        interaccion.respuestas.push_back(Respuesta::Si);
        modal.Cuando(QStringLiteral("frmElegirIni"), [nombre](QDialog& d) {
            Elegir(d, "DstList", nombre);
            Pulsar(d, "DestroyBtn");
            Pulsar(d, "OKBtn");
        });
        Accion("SpBtnElegir")->trigger();
        Procesar();
    };
    borrar(QStringLiteral("D2"));
    EXPECT_EQ(ventana->Estado().SenalesActuales->BuscarDig(QStringLiteral("D2")), nullptr);
    EXPECT_EQ(dig->SenalesVisibles, QStringList{QStringLiteral("D1")});
    EXPECT_FALSE(ana->SenalesOcultas.contains(QStringLiteral("D2")));
    // Deleting what it shows last closes the digital window; the analog one stays.
    borrar(QStringLiteral("D1"));
    ASSERT_EQ(Hijas().size(), 1);
    EXPECT_EQ(Hijas()[0]->widget(), ana);
    EXPECT_FALSE(ana->SenalesOcultas.contains(QStringLiteral("D1")));
}

// Windows that fill the area or cascade large, readouts in sight, notes kept in the file.
TEST_F(VisualizaPrincipal, WindowsFitTheAreaAndNotesComeBackWithTheFile)
{
    const QString ruta = EscribirFicheroSenales(QStringLiteral("s.qvn"), {QStringLiteral("C1"), QStringLiteral("C2")});
    const QRect area = ventana->AreaVentanas().viewport()->rect();
    modal.Cuando(QStringLiteral("frmInsTexto"), [](QDialog& d) {
        Escribir(d, "EdTexto", QStringLiteral("pico"));
        Pulsar(d, "OKBtn");
    });
    for (int vez = 0; vez < 2; ++vez) {
        dialogos.abrir.push_back(ruta);
        Accion("SpBtnAbrir")->trigger();
        Procesar();
        ASSERT_EQ(Hijas().size(), 1);
        EXPECT_EQ(Hijas()[0]->geometry(), area);
        if (vez == 0) {
            Accion("Insertartexto1")->trigger();
            Accion("NuevaVentana1")->trigger();
            Procesar();
            const QRect nueva = Hijas().at(1)->geometry();
            EXPECT_GE(nueva.width() * 10, area.width() * 6);
            EXPECT_GE(nueva.height() * 10, area.height() * 6);
            Accion("GuardarArchivo1")->trigger();
            Accion("Cerrar")->trigger();
            Procesar();
        }
    }
    const auto& textos = Activa()->Grafica().Textos();
    ASSERT_EQ(textos.size(), 1u);
    EXPECT_EQ(textos[0].Etiqueta->text(), QStringLiteral("pico"));
    Accion("Cerrar")->trigger();

    // Analog over digital; cursors on in the lower one keep their readouts in the area.
    dialogos.abrir.push_back(EscribirFicheroSenales(QStringLiteral("d.qvn"), {QStringLiteral("C1")},
                                                    {QStringLiteral("D1"), QStringLiteral("D2")}));
    Accion("SpBtnAbrir")->trigger();
    Procesar();
    ASSERT_EQ(Hijas().size(), 2);
    EXPECT_EQ(Hijas()[0]->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    EXPECT_EQ(Hijas()[1]->geometry().bottomRight(), area.bottomRight());
    ventana->AreaVentanas().setActiveSubWindow(Hijas()[1]);
    Accion("SpBtnCursores")->trigger();
    Procesar();
    auto* panel = Activa()->findChild<QWidget*>(QStringLiteral("PCursor"));
    EXPECT_TRUE(panel->isVisible() && area.contains(QRect(panel->mapTo(ventana->AreaVentanas().viewport(), QPoint()), panel->size())));
}

TEST_F(VisualizaPrincipal, ClosingTheProgramClosesTheWindowsWithoutAnnouncingThem)
{
    dialogos.abrir.push_back(EscribirFicheroSenales(QStringLiteral("s.qvn"), {QStringLiteral("C1")}));
    Accion("SpBtnAbrir")->trigger();
    ASSERT_EQ(Hijas().size(), 1);
    int avisos = 0;
    QObject::connect(&ventana->Estado(), &TEstadoPrograma::Cambiado, [&avisos] { ++avisos; });
    ventana->FormClose();
    Procesar();
    EXPECT_TRUE(Hijas().isEmpty());
    EXPECT_EQ(avisos, 0);
}

} // namespace
} // namespace qv::test

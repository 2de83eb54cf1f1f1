// The signal windows in the real main window: opening a file shows its signals, the
// window commands open more, the representation commands reach the active window, and
// the commands follow the windows as they come and go.
#include "common/esperar.h"
#include "ficheros_prueba.h"

#include "display/panel_medidas.h"
#include "display/senales_digitales.h"
#include "display/ventana_espectro.h"
#include "display/visualiza_senales.h"
#include "model/formatos.h"
#include "model/vcd.h"
#include "plot/grafica_espectro.h"
#include "plot/grf.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>

#include <cmath>
#include <numbers>

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

    // A second of 1 ms samples: Seno = 1 + 2 sin(2 pi 50 t), Rampa, and Tren at 10 Hz, 30 % high.
    QString FicheroDeMedidas()
    {
        TConfigES c = Config();
        c.NumMuestras = 1000;
        c.TiempoAnalisis = 1000;
        TCjtSenales s(textos, interaccion);
        for (const char* nombre : {"Seno", "Rampa"}) {
            auto a = std::make_unique<TSenalAna>(textos, QLatin1String(nombre), false, nullptr, nullptr, 1, 0.001, 1000);
            for (int i = 0; i < 1000; ++i)
                a->PonerMuestra(i, *nombre == 'S' ? float(1 + 2 * std::sin(2 * std::numbers::pi * 50 * i / 1000.0))
                                                  : float(i) / 100);
            s.AnadirAna(std::move(a));
        }
        auto d = std::make_unique<TSenalDig>(QStringLiteral("Tren"), false, nullptr, nullptr, 1, 0.001, 1000);
        for (int i = 0; i < 1000; ++i)
            d->PonerMuestra(i, std::uint8_t(i % 100 < 30));
        s.AnadirDig(std::move(d));
        TFicheroConfig fc(textos, interaccion, QStringLiteral("."));
        TOperaciones ops;
        const QString ruta = Ruta(QStringLiteral("medidas.qvn"));
        GuardarFicheroSenales(ruta, fc, c, ops, s);
        return ruta;
    }
    // The panel's cell of a signal's row under the column headed by text `clave`.
    QString Celda(TVentanaSenales& w, const QString& senal, int clave)
    {
        auto* sg = w.findChild<QTableWidget*>(QStringLiteral("SGMedidas"));
        for (int f = 0; sg && f < sg->rowCount(); ++f)
            for (int c = 0; c < sg->columnCount(); ++c)
                if (sg->item(f, 0)->text() == senal && sg->horizontalHeaderItem(c)->text() == textos.BuscarTexto(clave))
                    return sg->item(f, c)->text();
        ADD_FAILURE() << "no cell " << clave << " for " << senal.toStdString();
        return {};
    }
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
    EXPECT_TRUE(ventana->Estado().Modificado());

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
    EXPECT_EQ(ventana->Estado().Senales()->BuscarDig(QStringLiteral("D2")), nullptr);
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

// Measurements follow the cursors, the spectrum of the span between them marks the tone,
// and the set goes out as a value change dump.
TEST_F(VisualizaPrincipal, MeasurementsSpectrumAndValueChangeDumpFromTheWindows)
{
    dialogos.abrir.push_back(FicheroDeMedidas());
    Accion("SpBtnAbrir")->trigger();
    Procesar();
    auto* ana = dynamic_cast<TfrmVisualizaSenales*>(Activa());
    ASSERT_NE(ana, nullptr);
    const TSenalAna& seno = *ventana->Estado().Senales()->BuscarAna(QStringLiteral("Seno"));

    // The tool button shows the panel, checked, with the whole signal measured.
    auto* boton = ventana->findChild<QToolButton*>(QStringLiteral("SpBtnMedidas"));
    ASSERT_NE(boton, nullptr);
    QTest::mouseClick(boton, Qt::LeftButton);
    Procesar();
    ASSERT_TRUE(ana->Medidas().isVisible());
    EXPECT_TRUE(boton->isChecked());
    EXPECT_EQ(Celda(*ana, QStringLiteral("Seno"), 413), FormatoGeneral(3, 6)); // Máx.
    EXPECT_NEAR(Celda(*ana, QStringLiteral("Seno"), 418).toDouble(), 50, 0.5); // Frec.
    EXPECT_EQ(Celda(*ana, QStringLiteral("Tren"), 422), QStringLiteral("30"));  // Ciclo (%)

    // Cursors at 0.1 s and 0.3 s: the span between them; the keys move the red one on.
    Accion("SpBtnCursores")->trigger();
    Procesar();
    for (auto [boton, x] : {std::pair{Qt::LeftButton, 0.1}, std::pair{Qt::RightButton, 0.3}})
        QTest::mouseClick(&ana->Grafica(), boton, {}, {ana->Grafica().PixelX(x), ana->Grafica().AreaGrafica().center().y()});
    auto comprobar = [&] {
        const int azul = ana->findChild<QLabel*>(QStringLiteral("LRAzulM"))->text().toInt();
        const int rojo = ana->findChild<QLabel*>(QStringLiteral("LRRojoM"))->text().toInt();
        const TValoresMedida v = MedirAna(seno, {azul - 1, rojo - 1});
        for (auto [m, clave] : {std::pair{TMedida::Media, 414}, std::pair{TMedida::RMS, 415}, std::pair{TMedida::Periodo, 419}})
            EXPECT_EQ(Celda(*ana, QStringLiteral("Seno"), clave), FormatoGeneral(*v[m], 6)) << clave;
        return rojo - azul;
    };
    EXPECT_NEAR(comprobar(), 200, 2);
    const QString antes = Celda(*ana, QStringLiteral("Seno"), 414);
    QTest::keyClick(ana, Qt::Key_Right);
    QTest::keyClick(ana, Qt::Key_Right);
    QTest::keyClick(ana, Qt::Key_Right);
    EXPECT_NEAR(comprobar(), 203, 2);
    EXPECT_NE(Celda(*ana, QStringLiteral("Seno"), 414), antes);
    EXPECT_NEAR(Celda(*ana, QStringLiteral("Seno"), 418).toDouble(), 50, 1);
    // The dominant frequency is blank while the span moves and follows once it stops.
    EXPECT_EQ(Celda(*ana, QStringLiteral("Seno"), 424), QString());
    EXPECT_TRUE(Esperar([&] { return std::abs(Celda(*ana, QStringLiteral("Seno"), 424).toDouble() - 50) < 1; }));
    EXPECT_EQ(Celda(*ana, QStringLiteral("Rampa"), 424).isEmpty(), false);

    // "Copiar" puts the span and the table on the clipboard.
    Pulsar(ana->Medidas(), "SBcopiar");
    const QString copiado = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copiado, ana->Medidas().Texto());
    EXPECT_TRUE(copiado.contains(ana->Medidas().Tabla().Texto(textos, 6)));
    EXPECT_TRUE(copiado.startsWith(textos.BuscarTexto(439)));

    // Hidden from the pop-up, the window says so and the tool button follows; back on.
    for (const bool visible : {false, true}) {
        ana->MenuEmergente().findChild<QAction*>(QStringLiteral("Medidas2"))->trigger();
        EXPECT_EQ(ana->Medidas().isVisible(), visible);
        EXPECT_EQ(boton->isChecked(), visible);
    }

    // The pop-up's "Espectro..." asks which analog signal; the peak is the 50 Hz tone of the span.
    modal.Cuando(QStringLiteral("frmElegirEspectro"), [](QDialog& d) {
        Elegir(d, "LBSenalesEspectro", QStringLiteral("Seno"));
        Pulsar(d, "OKBtn");
    });
    ana->MenuEmergente().findChild<QAction*>(QStringLiteral("Espectro2"))->trigger();
    Procesar();
    auto* espectro = dynamic_cast<TfrmEspectro*>(ventana->HijaActiva());
    ASSERT_NE(espectro, nullptr);
    const TGraficaEspectro& g = espectro->Grafica();
    EXPECT_EQ(g.Espectro().muestras, ana->TramoCursores().hasta - ana->TramoCursores().desde + 1);
    for (const char* ventanaFFT : {"Hann", "Blackman-Harris"}) {
        Elegir(*espectro, "CBVentana", QLatin1String(ventanaFFT));
        ASSERT_TRUE(g.Pico().has_value());
        EXPECT_NEAR(g.Pico()->frecuencia, 50, g.Espectro().resolucion) << ventanaFFT;
        EXPECT_NEAR(TEspectro::DB(g.Pico()->nivel), TEspectro::DB(2), 0.5) << ventanaFFT;
    }
    QTest::keyClick(&espectro->Grafica(), Qt::Key_P);
    EXPECT_EQ(espectro->findChild<QLabel*>(QStringLiteral("LRFrecuencia"))->text(),
              TextoFrecuencia(g.Espectro().Frecuencia(g.Pico()->bin), textos));

    // "Exportar VCD" writes what the model's dump of the set is (but for its date).
    const QString vcd = Ruta(QStringLiteral("s.vcd"));
    dialogos.guardar.push_back(vcd);
    Accion("ExportarVCD1")->trigger();
    static const QRegularExpression fecha(QStringLiteral("\\$date.*?\\$end"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QString leido = QString::fromLatin1(Bytes(vcd)).remove(fecha);
    EXPECT_TRUE(leido.contains(QStringLiteral(" Tren $end")));
    EXPECT_EQ(leido, QString::fromLatin1(ExportarVcd(*ventana->Estado().Senales())).remove(fecha));
    dialogos.guardar.push_back(Ruta(QStringLiteral("no/hay/s.vcd")));
    Accion("ExportarVCD1")->trigger();
    ASSERT_FALSE(Textos().isEmpty());
    EXPECT_TRUE(Textos().back().startsWith(textos.BuscarTexto(435))) << Textos().back().toStdString();
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

// The signal windows in the real main window: opening a file shows its signals, the
// window commands open more, the representation commands reach the active window, and
// the commands follow the windows as they come and go.
#include "ficheros_prueba.h"

#include "display/grf.h"
#include "display/senales_digitales.h"
#include "display/visualiza_senales.h"

#include <QApplication>

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

    ASSERT_EQ(Hijas().size(), 1);
    auto* ana = dynamic_cast<TfrmVisualizaSenales*>(Hijas()[0]->widget());
    ASSERT_NE(ana, nullptr);
    EXPECT_EQ(ana->windowTitle(), ruta);
    EXPECT_EQ(ana->SenalesVisibles.size(), 3);
    EXPECT_EQ(ana->NumeroVentana(), 1);
    EXPECT_TRUE(ana->isVisible());
    for (const char* n : {"SpBtnDatos", "SpBtnElegir", "SpBtnZoomIn", "SpBtnCursores", "DefinirRepresentacin1",
                          "Insertartexto1", "CerrarVentana1", "Cascada1"})
        EXPECT_TRUE(Activo(n)) << n;

    // The representation commands are carried out by the active window.
    Accion("SpBtnZoomIn")->trigger();
    EXPECT_TRUE(ana->Grafica().ZoomPreparado());
    Accion("SpBtnCursores")->trigger();
    EXPECT_TRUE(ana->CursoresActivos());

    // A digital window beside it, numbered next.
    Accion("SpBtnDigital")->trigger();
    Procesar();
    ASSERT_EQ(Hijas().size(), 2);
    auto* dig = dynamic_cast<TfrmSenalesDigitales*>(Hijas()[1]->widget());
    ASSERT_NE(dig, nullptr);
    EXPECT_EQ(dig->SenalesVisibles, QStringList{QStringLiteral("D1")});
    EXPECT_EQ(dig->NumeroVentana(), 2);
    EXPECT_EQ(Activa(), dig);
    EXPECT_FALSE(dig->Grafica().ZoomPreparado());

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

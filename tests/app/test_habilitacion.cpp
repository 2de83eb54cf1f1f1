// Command enabling of the main window for the states the program goes through.
#include "principal_prueba.h"

#include "app/comandos_captura.h"
#include "app/comandos_puesto.h"
#include "app/comandos_representacion.h"
#include "app/tabla_comandos.h"

#include <QShortcut>
#include <QSignalSpy>

#include <map>
#include <string>

namespace qv::test {
namespace {

using Habilitacion = PrincipalPrueba;

// Commands that need a child window (the file, representation and window groups).
const char* const kDeHija[] = {"SpBtnImprimir", "ExportarBMP1", "ExportarWMF", "Representacion1",
                               "SpBtnElegir", "Elegir1", "SpBtnTabla", "VentanadeDatos1",
                               "SpBtnCursores", "Cursores1", "spBtnCalculadora", "Calculadora1",
                               "SpBtnZoomIn", "ZoomIn1", "SpBtnZoomOut", "ZoomOut1",
                               "DefinirRepresentacin1", "CerrarTodas1", "CerrarVentana1",
                               "Cascada1", "TileHorizontal1", "TileVertical1"};
// Commands that need a non-empty set.
const char* const kDeConjunto[] = {"Anadir", "Guardarcomo1", "ExportarTXT1", "SpBtnAnalogica",
                                   "SpBtnDigital", "NuevaVentana1", "VentanaDigital1"};
const char* const kDeConfig[] = {"Cerrar", "GrabarConES1", "Gurardarcomo1"};

TEST_F(Habilitacion, NadaAbierto)
{
    Crear();
    for (const char* n : {"SpBtnAbrir", "Abrir1", "Archivo1", "Configuracion1", "Ayuda1", "VerConfig1",
                          "CargarConfES1", "Salir1", "Acercade"})
        EXPECT_TRUE(Activo(n)) << n;
    for (const char* n : kDeHija)
        EXPECT_FALSE(Activo(n)) << n;
    for (const char* n : kDeConjunto)
        EXPECT_FALSE(Activo(n)) << n;
    for (const char* n : kDeConfig)
        EXPECT_FALSE(Activo(n)) << n;
    for (const char* n : {"Presentacinpreliminar1", "SpBtnDatos", "Datossingulares1", "Comentario2",
                          "Ventana1", "GuardarArchivo", "GuardarArchivo1"})
        EXPECT_FALSE(Activo(n)) << n;
    // Single-station by default: the capture commands are available at once.
    for (const char* n : {"Captacion1", "SpBtnProgramar", "SpBtnLeer", "SpBtnTest", "SpBtnAbortar"})
        EXPECT_TRUE(Activo(n)) << n;
}

TEST_F(Habilitacion, ConfiguracionAbiertaSinSenales)
{
    Crear();
    AbrirConfiguracion();
    for (const char* n : kDeConfig)
        EXPECT_TRUE(Activo(n)) << n;
    for (const char* n : kDeConjunto)
        EXPECT_FALSE(Activo(n)) << n;
    EXPECT_FALSE(Activo("Ventana1"));
    EXPECT_FALSE(Activo("Comentario2"));

    // An empty set: the comment and the window menu exist for it, nothing else does.
    AbrirConjunto(0);
    EXPECT_TRUE(Activo("Comentario2"));
    EXPECT_TRUE(Activo("Ventana1"));
    for (const char* n : kDeConjunto)
        EXPECT_FALSE(Activo(n)) << n;
}

TEST_F(Habilitacion, SenalesYUnaVentanaAnalogica)
{
    Crear();
    AbrirConfiguracion();
    AbrirConjunto(2);
    THijaPrueba* h = NuevaHija(TTipoVentana::Analogica);
    for (const char* n : kDeHija)
        EXPECT_TRUE(Activo(n)) << n;
    for (const char* n : kDeConjunto)
        EXPECT_TRUE(Activo(n)) << n;
    for (const char* n : kDeConfig)
        EXPECT_TRUE(Activo(n)) << n;
    for (const char* n : {"Presentacinpreliminar1", "SpBtnDatos", "Datossingulares1", "Comentario2",
                          "Ventana1", "Insertartexto1", "Borrartodoslostextos1"})
        EXPECT_TRUE(Activo(n)) << n;

    // "Datos" also needs the active window to show a signal; the window announces it.
    h->muestraSenales = false;
    ventana->Estado().Notificar();
    EXPECT_FALSE(ventana->HaySenalesVisibles());
    EXPECT_FALSE(Activo("SpBtnDatos"));
    EXPECT_FALSE(Activo("Datossingulares1"));
    EXPECT_TRUE(Activo("SpBtnElegir"));
}

TEST_F(Habilitacion, TipoDeLaVentanaActiva)
{
    Crear();
    AbrirConjunto(1);
    // The data table is a child but not a signal window: no print preview of it.
    NuevaHija(TTipoVentana::TablaDatos);
    EXPECT_TRUE(Activo("SpBtnImprimir"));
    EXPECT_FALSE(Activo("Presentacinpreliminar1"));

    // The ZD801 configuration window as the active child counts as no child at all.
    NuevaHija(TTipoVentana::ConfigZD801);
    for (const char* n : kDeHija)
        EXPECT_FALSE(Activo(n)) << n;
    EXPECT_TRUE(Activo("Ventana1")); // the set still exists
}

TEST_F(Habilitacion, AlCerrarLaUltimaVentana)
{
    Crear();
    AbrirConjunto(1);
    NuevaHija(TTipoVentana::Analogica);
    ASSERT_TRUE(Activo("SpBtnZoomIn"));
    // Closing the last child is a change of the active child: nothing is called back.
    Accion("CerrarVentana1")->trigger();
    ASSERT_TRUE(ventana->AreaVentanas().subWindowList().isEmpty());
    for (const char* n : {"SpBtnImprimir", "ExportarBMP1", "ExportarWMF", "Presentacinpreliminar1",
                          "SpBtnZoomIn", "SpBtnZoomOut", "SpBtnElegir", "SpBtnDatos",
                          "spBtnCalculadora", "SpBtnTabla", "SpBtnCursores", "CerrarVentana1",
                          "CerrarTodas1", "Cascada1", "TileHorizontal1", "TileVertical1",
                          "Representacion1", "Elegir1", "ZoomIn1"})
        EXPECT_FALSE(Activo(n)) << n;
    for (const char* n : {"SpBtnAbrir", "Abrir1", "ExportarTXT1", "SpBtnAnalogica", "SpBtnDigital",
                          "NuevaVentana1", "VentanaDigital1", "Configuracion1", "Ventana1",
                          "Comentario2"})
        EXPECT_TRUE(Activo(n)) << n;

    // Without a set the window menu has nothing left to offer.
    ventana->Estado().PonerConjunto(nullptr);
    for (const char* n : {"ExportarTXT1", "SpBtnAnalogica", "NuevaVentana1", "Ventana1", "Comentario2"})
        EXPECT_FALSE(Activo(n)) << n;
}

TEST_F(Habilitacion, TablaDeDatosActiva)
{
    Crear();
    AbrirConjunto(1);
    NuevaHija(TTipoVentana::Analogica);
    NuevaHija(TTipoVentana::TablaDatos);
    EXPECT_FALSE(Activo("SpBtnAbrir"));
    EXPECT_FALSE(Activo("Abrir1"));
    for (const char* n : {"SpBtnImprimir", "SpBtnAnalogica", "SpBtnDigital", "SpBtnTabla"})
        EXPECT_TRUE(Activo(n)) << n;
    for (const char* n : {"SpBtnElegir", "SpBtnDatos", "spBtnCalculadora", "SpBtnCursores",
                          "SpBtnZoomIn", "SpBtnZoomOut", "Representacion1"})
        EXPECT_FALSE(Activo(n)) << n;

    // The analog window active again: its commands come back with it.
    auto lista = ventana->AreaVentanas().subWindowList(QMdiArea::CreationOrder);
    ventana->AreaVentanas().setActiveSubWindow(lista.front());
    for (const char* n : {"SpBtnAbrir", "SpBtnElegir", "SpBtnZoomIn", "Representacion1"})
        EXPECT_TRUE(Activo(n)) << n;
}

TEST_F(Habilitacion, ModificadoYGuardado)
{
    Crear();
    AbrirConjunto(1);
    EXPECT_FALSE(ventana->Estado().Modificado());
    QSignalSpy modificado(&ventana->Estado(), &TEstadoPrograma::ModificadoCambiado);
    ventana->Estado().MarcarModificado();
    ventana->Estado().MarcarModificado();
    EXPECT_EQ(modificado.size(), 1); // announced when it changes, not again
    EXPECT_TRUE(ventana->Estado().Modificado());
    for (const char* n : {"GuardarArchivo", "GuardarArchivo1", "Guardarcomo1"})
        EXPECT_TRUE(Activo(n)) << n;
    ventana->Estado().MarcarGuardado();
    EXPECT_FALSE(ventana->Estado().Modificado());
    EXPECT_EQ(modificado.size(), 2);
    EXPECT_FALSE(Activo("GuardarArchivo"));
    EXPECT_FALSE(Activo("GuardarArchivo1"));
    // "Guardar como ..." stays for a set that can still be saved elsewhere.
    EXPECT_TRUE(Activo("Guardarcomo1"));
}

TEST_F(Habilitacion, CapturaDesactivadaAlCrearHastaMostrar)
{
    Crear(false);
    EXPECT_FALSE(Activo("Captacion1"));
    EXPECT_FALSE(Activo("SpBtnProgramar"));
    // "Leer" follows the read-back item, which is itself enabled.
    EXPECT_TRUE(Activo("SpBtnLeer"));
    ventana->show();
    EXPECT_TRUE(Activo("Captacion1"));
    EXPECT_TRUE(Activo("SpBtnProgramar"));
}

TEST_F(Habilitacion, VentanasHijas)
{
    Crear();
    AbrirConjunto(3);
    auto* a = NuevaHija(TTipoVentana::Analogica);
    auto* d = NuevaHija(TTipoVentana::Digital);
    auto* t = NuevaHija(TTipoVentana::TablaDatos);
    EXPECT_EQ(ventana->NuevoNumeroVentana(), 1);
    EXPECT_EQ(ventana->NuevoNumeroVentana(), 2);

    // Deleted signals reach every child, the data table too.
    ventana->Estado().AvisarQuitadas({QStringLiteral("S0"), QStringLiteral("S2")});
    EXPECT_EQ(a->quitadas, QStringList({"S0", "S2"}));
    EXPECT_EQ(d->quitadas, QStringList({"S0", "S2"}));
    EXPECT_EQ(t->quitadas, QStringList({"S0", "S2"}));

    ventana->CerrarVentanaActiva();
    EXPECT_EQ(ventana->AreaVentanas().subWindowList().size(), 2);
    Accion("CerrarTodas1")->trigger();
    EXPECT_TRUE(ventana->AreaVentanas().subWindowList().isEmpty());
    EXPECT_EQ(ventana->ContadorVentanas(), 0);
    EXPECT_FALSE(Activo("Cascada1"));
}

TEST_F(Habilitacion, VentanaDigitalSinSenalesDigitales)
{
    Crear();
    AbrirConjunto(2); // analog signals only
    ASSERT_TRUE(Activo("SpBtnDigital"));
    for (const char* n : {"SpBtnDigital", "VentanaDigital1"}) {
        interaccion.mensajes.clear();
        Accion(n)->trigger();
        ASSERT_EQ(interaccion.mensajes.size(), 1u) << n;
        EXPECT_EQ(interaccion.mensajes[0].sabor, TInteraccionGuion::Sabor::Aviso);
        EXPECT_EQ(interaccion.mensajes[0].texto, QStringLiteral("T102"));
        EXPECT_EQ(interaccion.mensajes[0].botones, Botones::Aceptar);
        EXPECT_TRUE(ventana->AreaVentanas().subWindowList().isEmpty());
    }

    // With a digital signal there is nothing to refuse.
    interaccion.mensajes.clear();
    ventana->Estado().Senales()->AnadirDig(
        std::make_unique<TSenalDig>(QStringLiteral("D"), false, nullptr, nullptr, 0, 0.001, 10));
    Accion("VentanaDigital1")->trigger();
    EXPECT_TRUE(interaccion.mensajes.empty());
    // The new window is the active child: its commands follow without anything else.
    EXPECT_TRUE(Activo("SpBtnZoomIn"));
    EXPECT_TRUE(Activo("Cascada1"));
}

TEST_F(Habilitacion, MosaicosSinSolaparse)
{
    Crear();
    ventana->resize(800, 572);
    NuevaHija(TTipoVentana::Analogica);
    NuevaHija(TTipoVentana::Digital);
    auto lista = ventana->AreaVentanas().subWindowList(QMdiArea::CreationOrder);
    Accion("TileHorizontal1")->trigger();
    EXPECT_EQ(lista[0]->width(), lista[1]->width());
    EXPECT_LE(lista[0]->geometry().bottom(), lista[1]->geometry().top());
    Accion("TileVertical1")->trigger();
    EXPECT_EQ(lista[0]->height(), lista[1]->height());
    EXPECT_LE(lista[0]->geometry().right(), lista[1]->geometry().left());
}

// Every command of the table while a command talks to the unit, and after it: what
// would start another conversation, or replace or edit the set or the configuration
// under it, is off (item, tool button and so its shortcut) and comes back when the
// conversation ends; what only looks, arranges windows, saves or helps stays.
TEST_F(Habilitacion, MientrasSeHablaConLaUnidad)
{
    // Everything the rules look at is there: a held shared unit, a modified set with
    // its configuration, a signal window showing signals, remote monitoring.
    puesto.multipuesto = puesto.hayRed = puesto.habilitado = true;
    Crear();
    ventana->PonerSADOcupado(true);
    AbrirConfiguracion();
    AbrirConjunto(2);
    ventana->Estado().MarcarModificado();
    NuevaHija(TTipoVentana::Analogica);

    struct TEsperado {
        bool libre;   // idle
        bool ocupado; // while busy
    };
    constexpr TEsperado Siempre{true, true}, Libre{true, false}, Nunca{false, false};
    const std::map<std::string, TEsperado> esperados = {
        {"Abrir1", Libre}, {"GuardarArchivo1", Siempre}, {"Guardarcomo1", Siempre}, {"Cerrar", Libre},
        {"Anadir", Libre}, {"Comentario2", Libre}, {"ExportarPantalla1", Siempre}, {"aportapapeles1", Siempre},
        {"ExportarWMF", Siempre}, {"ExportarTXT1", Siempre}, {"ExportarVCD1", Siempre},
        {"Presentacinpreliminar1", Siempre}, {"SpBtnImprimir", Siempre}, {"Salir1", Siempre},
        {"VerConfig1", Libre}, {"CargarConfES1", Libre}, {"GrabarConES1", Siempre}, {"Gurardarcomo1", Siempre},
        {"OpcionesQUORVANE", Libre}, {"Inmediata", Libre}, {"Retardada", Libre}, {"analgico1", Libre},
        {"digital1", Libre}, {"LecturaDatos1", Libre}, {"AbortarCaptacion1", Libre}, {"TestPresencia1", Libre},
        {"Monitorizar1", Libre}, {"MonitorContinua", Libre}, {"RespuestaFrecuencia1", Libre}, {"Elegir1", Siempre}, {"Datossingulares1", Libre},
        {"VentanadeDatos1", Siempre}, {"Calculadora1", Libre}, {"ZoomIn1", Siempre}, {"ZoomOut1", Siempre},
        {"Cursores1", Siempre}, {"Medidas1", Siempre}, {"Espectro1", Siempre}, {"AjustarCurva1", Libre},
        {"SuperponerCaptura1", Libre}, {"Decodificar1", Libre}, {"DefinirRepresentacin1", Siempre},
        {"Insertartexto1", Siempre}, {"Borrarltimotexto1", Siempre}, {"Borrartodoslostextos1", Siempre},
        {"NuevaVentana1", Siempre}, {"VentanaDigital1", Siempre}, {"CerrarVentana1", Siempre},
        {"CerrarTodas1", Siempre}, {"Cascada1", Siempre}, {"TileHorizontal1", Siempre},
        {"TileVertical1", Siempre}, {"Ocupar1", Nunca}, {"Liberar1", Libre}, {"PCsEnRed", Libre}, {"TurnosAula1", Siempre},
        {"Remoto1", Siempre}, {"PerfilRemota", Siempre}, {"Temasdeayuda1", Siempre}, {"Acercade", Siempre},
    };
    TAreasComandos areas{*ventana, ventana->ComandosArchivo(), ventana->ComandosVentanas(),
                         ventana->ComandosRepresentacion(), ventana->ComandosCaptura(), ventana->ComandosPuesto()};
    const std::vector<TFilaComando> filas = TablaComandos(areas);
    // A command added to the table must be placed here too.
    ASSERT_EQ(filas.size(), esperados.size());
    for (const TFilaComando& f : filas)
        ASSERT_TRUE(esperados.count(f.accion)) << f.accion << " has no expected state";
    ASSERT_TRUE(ventana->RemotoVisible());
    // A shortcut of its own would not follow the busy state; the actions' shortcuts do.
    EXPECT_TRUE(ventana->findChildren<QShortcut*>().isEmpty());

    auto revisar = [&](bool ocupado) {
        for (const TFilaComando& f : filas) {
            const TEsperado e = esperados.at(f.accion);
            const bool activo = ocupado ? e.ocupado : e.libre;
            EXPECT_EQ(Activo(f.accion), activo) << f.accion << (ocupado ? " while busy" : " while idle");
            if (f.boton) {
                EXPECT_EQ(Activo(f.boton), activo) << f.boton << (ocupado ? " while busy" : " while idle");
            }
        }
    };
    QSignalSpy ocupado(&ventana->Estado(), &TEstadoPrograma::OcupadoCambiado);
    {
        SCOPED_TRACE("before");
        revisar(false);
    }
    ventana->Estado().PonerOcupado(true);
    {
        SCOPED_TRACE("busy");
        revisar(true);
    }
    // What is off cannot be started by any way in: the presence check, the set's
    // closing and the configuration window stay where they are.
    ventana->Ejecutar(TComando::Test);
    Accion("SpBtnTest")->trigger();
    Accion("Cerrar")->trigger();
    Accion("SpBtnES")->trigger();
    EXPECT_EQ(interaccion.preguntasPresencia, 0);
    EXPECT_TRUE(modal.vistos.isEmpty()) << modal.vistos.join(' ').toStdString();
    EXPECT_NE(ventana->Estado().Config(), nullptr);
    EXPECT_NE(ventana->Estado().Senales(), nullptr);
    // Nested marks: only the last one out gives the commands back.
    ventana->Estado().PonerOcupado(true);
    ventana->Estado().PonerOcupado(false);
    EXPECT_FALSE(Activo("SpBtnLeer"));
    ventana->Estado().PonerOcupado(false);
    {
        SCOPED_TRACE("after");
        revisar(false);
    }
    EXPECT_EQ(ocupado.size(), 2);

    // The unit given back: "Ocupar" follows the same rule.
    ventana->PonerSADOcupado(false);
    EXPECT_TRUE(Activo("Btn_Ocupar"));
    ventana->Estado().PonerOcupado(true);
    EXPECT_FALSE(Activo("Btn_Ocupar"));
    ventana->Estado().PonerOcupado(false);
}

} // namespace
} // namespace qv::test

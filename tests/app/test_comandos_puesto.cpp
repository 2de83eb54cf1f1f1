// The station commands from the main window: each opens its dialog, and the main
// window applies what the dialog decided (station mode, held unit, remote profile).
#include "app/comandos_puesto.h"
#include "common/esperar_sad.h"
#include "principal_prueba.h"

#include "link/ajustes_estacion.h"
#include "link/tcp_port.h"
#include "net/liberar_sad.h"

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTemporaryDir>

namespace qv::test {
namespace {

// The station as the settings file says, with the relay and launcher calls recorded.
class TPuestoIni : public TPuestoPrueba {
public:
    explicit TPuestoIni(const QString& carpeta) : ajustes(carpeta) {}
    TAjustesEstacion ajustes;
    bool LeerHayRed() override { return ajustes.HayRed(); }
    bool LeerRemotoHabilitado() override { return ajustes.RemotoHabilitado(); }
    bool LeerRemotoActivo() override { return ajustes.RemotoActivo(); }
    bool LeerMultipuesto() override { return ajustes.Multipuesto(); }
    bool LeerModeloM() override { return ajustes.ModeloM(); }
};

class ComandosPuesto : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TPuestoIni puesto{dir.path()};
    TAjustesEstacion& ajustes = puesto.ajustes;
    TTextosFijos textos;
    TInteraccionGuion interaccion;
    TModalPrueba modal;
    TRelojFalso reloj;
    std::unique_ptr<TfrmPrincipal> ventana;
    TfrmPrincipal& Crear()
    {
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj, dir.path());
        ventana->show();
        // The relay this station would talk to is nowhere: nothing is ever reached.
        QTcpServer s;
        s.listen(QHostAddress::LocalHost, 0);
        ventana->Estado().Enlace()->PonerPuertoTcp(s.serverPort());
        if (ventana->Estado().Enlace()->Info().EsTcp)
            ventana->Estado().Enlace()->SetTipoConexion(true);
        return *ventana;
    }
    void Opciones(bool red, bool remoto)
    {
        modal.Cuando("Form_Configuracion", [=](QDialog& d) {
            // The network tab is offered on a networked station only.
            auto* pestanas = d.findChild<QTabWidget*>("PageControl1");
            if (pestanas->isTabVisible(1)) {
                pestanas->setCurrentIndex(1);
                Marcar(d, "CBRed", red);
                Marcar(d, "CBRemoto", remoto);
            }
            Pulsar(d, "OKBtn");
        });
        ventana->Ejecutar(TComando::Opciones);
        EsperarSAD(ventana->Estado());
    }
    bool Visible(const char* menu) const { return ventana->findChild<QMenu*>(menu)->menuAction()->isVisible(); }
};

TEST_F(ComandosPuesto, CadaComandoAbreSuDialogo)
{
    ajustes.Escribir("PC", "HayRed", "TRUE");
    ajustes.EscribirMultipuesto(true);
    ajustes.EscribirRemotoHabilitado(true);
    Crear();
    ventana->Ejecutar(TComando::Opciones);
    EsperarSAD(ventana->Estado());
    ventana->Ejecutar(TComando::Ocupar);
    EsperarSAD(ventana->Estado());
    ventana->PonerSADOcupado(true);
    ventana->Ejecutar(TComando::Liberar);
    EsperarSAD(ventana->Estado());
    ventana->Ejecutar(TComando::PCsEnRed);
    EsperarSAD(ventana->Estado());
    ventana->Ejecutar(TComando::Remoto);
    EsperarSAD(ventana->Estado());
    ventana->Ejecutar(TComando::PerfilRemoto);
    EsperarSAD(ventana->Estado());
    EXPECT_EQ(modal.vistos, QStringList({"Form_Configuracion", "form_EscogerPCSAD", "form_LiberarSAD",
                                         "form_PcsSAD", "Form_Remoto", "Form_UserMonitor"}));
}

// Options accepted on a networked station: new transport, the relay follows the mode,
// remote monitoring follows "Habilitado"; and back.
TEST_F(ComandosPuesto, OpcionesAplicanElModoYLaMonitorizacion)
{
    ajustes.Escribir("PC", "HayRed", "TRUE");
    Crear();
    EXPECT_FALSE(ventana->Multipuesto());
    EXPECT_FALSE(Visible("SAD1"));
    puesto.llamadas.clear();

    Opciones(true, true);
    EXPECT_TRUE(ventana->Multipuesto());
    EXPECT_TRUE(ventana->Estado().Enlace()->Info().EsTcp);
    EXPECT_TRUE(Visible("SAD1"));
    EXPECT_TRUE(ventana->RemotoVisible());
    EXPECT_TRUE(Visible("MonRemota1"));
    // The server follows "Activo" (FALSE) from the first moment.
    EXPECT_EQ(puesto.llamadas, QStringList({"IniciarRelay", "Escuchar", "SetServidor:0"}));
    EXPECT_EQ(ajustes.Leer("ConfiguracionSAD", "TipoConAula"), "Multipuesto");

    puesto.llamadas.clear();
    Opciones(false, false);
    EXPECT_FALSE(ventana->Multipuesto());
    EXPECT_FALSE(ventana->Estado().Enlace()->Info().EsTcp);
    EXPECT_FALSE(ventana->RemotoVisible());
    EXPECT_EQ(puesto.llamadas, QStringList({"DetenerRelay", "Detener"}));
}

TEST_F(ComandosPuesto, OpcionesSinRedConservanElModo)
{
    ajustes.EscribirMultipuesto(true);
    Crear();
    Opciones(false, true);
    EXPECT_TRUE(ventana->Multipuesto());
    EXPECT_TRUE(ventana->Estado().Enlace()->Info().EsTcp);
    EXPECT_FALSE(ventana->RemotoVisible());
    EXPECT_EQ(ajustes.Leer("ConfiguracionSAD", "TipoConAula"), "Multipuesto");
}

// Leaving multi-station mode while holding the unit gives it back first: the station
// must not believe it holds a unit whose connection is gone.
TEST_F(ComandosPuesto, CambiarDeModoConLaUnidadLaLibera)
{
    ajustes.Escribir("PC", "HayRed", "TRUE");
    ajustes.EscribirMultipuesto(true);
    Crear();
    ventana->PonerSADOcupado(true);
    Opciones(true, false); // same mode: the unit stays held, its reminder too
    EXPECT_TRUE(ventana->SADOcupado());
    EXPECT_TRUE(ventana->TimerOcupado().isActive());
    Opciones(false, false);
    EXPECT_FALSE(ventana->SADOcupado());
    EXPECT_FALSE(ventana->TimerOcupado().isActive());
}

TEST_F(ComandosPuesto, OcuparCanceladoYLiberarInalcanzable)
{
    ajustes.EscribirMultipuesto(true);
    Crear();
    ventana->Ejecutar(TComando::Ocupar);
    EsperarSAD(ventana->Estado()); // cancelled
    EXPECT_FALSE(ventana->SADOcupado());

    // Held, but the relay is gone: the release dialog finds nothing, and "Cancelar"
    // still leaves the station not holding the unit. The menu item runs the release.
    ventana->PonerSADOcupado(true);
    modal.Cuando("form_LiberarSAD", [this](QDialog& d) {
        static_cast<Tform_LiberarSAD&>(d).Comprobar();
        EsperarSAD(ventana->Estado().Enlace());
        EXPECT_FALSE(d.findChild<QPushButton*>("BtnLiberar")->isEnabled());
        Pulsar(d, "CancelBtn");
    });
    ventana->findChild<QAction*>("Liberar1")->trigger();
    EXPECT_FALSE(ventana->SADOcupado());
    EXPECT_FALSE(ventana->TimerOcupado().isActive());
    EXPECT_TRUE(ventana->findChild<QAction*>("Ocupar1")->isEnabled());
}

TEST_F(ComandosPuesto, RemotoAplicaElPCOfrecido)
{
    ajustes.Escribir("PC", "HayRed", "TRUE");
    ajustes.EscribirRemotoHabilitado(true);
    ajustes.EscribirUsuarioAvanzado(true);
    Crear();
    EXPECT_FALSE(ventana->PerfilRemoto());
    puesto.llamadas.clear();
    modal.Cuando("Form_Remoto", [](QDialog& d) {
        Marcar(d, "CBoxMonitoMiPC");
        Pulsar(d, "BtnCerrar");
    });
    ventana->Ejecutar(TComando::Remoto);
    EsperarSAD(ventana->Estado());
    EXPECT_TRUE(ventana->PerfilRemoto());
    // The box starts the server at once; the state applied on closing is the same one.
    EXPECT_EQ(puesto.llamadas, QStringList({"SetServidor:1", "SetServidor:1"}));
    EXPECT_EQ(ajustes.Leer("ServerVNC", "Activo"), "TRUE");
}

} // namespace
} // namespace qv::test

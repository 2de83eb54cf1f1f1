// The classroom dialogs on a real settings file: what each writes, shows and asks the
// remote-desktop launcher for.
#include "net/cambiar_password.h"
#include "net/conectar.h"
#include "net/configuracion.h"
#include "net/escoger_pc_sad.h"
#include "net/liberar_sad.h"
#include "net/panel_busqueda.h"
#include "net/pcs_sad.h"
#include "net/remoto.h"
#include "net/user_monitor.h"
#include "common/esperar_sad.h"
#include "red_prueba.h"

#include "link/tcp_port.h"
#include "link/vnc_clave.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace qv::test {
namespace {

QStringList Items(QListWidget& l)
{
    QStringList r;
    for (int i = 0; i < l.count(); ++i)
        r << l.item(i)->text();
    return r;
}

// ---- station options ----

TEST_F(Red, OpcionesEnPuestoEnRedEscribenModoRemotoYModelo)
{
    ajustes.Escribir("PC", "HayRed", "TRUE");
    principal.estado.ModeloM = true;
    TForm_Configuracion d(red, false, true);
    d.show();
    EXPECT_TRUE(Hijo<QTabWidget>(d, "PageControl1")->isTabVisible(1));
    EXPECT_TRUE(Hijo<QToolButton>(d, "ImgModeloM")->isChecked());
    EXPECT_TRUE(Hijo<QLabel>(d, "LModeloM")->font().bold());
    // A click on the other picture changes the model at once.
    Pulsar(d, "ImgModelo801");
    EXPECT_FALSE(principal.estado.ModeloM);
    EXPECT_TRUE(Hijo<QLabel>(d, "LModelo801")->font().bold());
    EXPECT_FALSE(Hijo<QLabel>(d, "LModeloM")->font().bold());
    Hijo<QTabWidget>(d, "PageControl1")->setCurrentIndex(1);
    Marcar(d, "CBRed");
    Marcar(d, "CBRemoto");
    Pulsar(d, "OKBtn");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(d.Multipuesto());
    EXPECT_EQ(Clave("ConfiguracionSAD", "TipoConAula"), "Multipuesto");
    EXPECT_EQ(Clave("ServerVNC", "Habilitado"), "TRUE");
    EXPECT_EQ(Clave("ConfiguracionSAD", "Aspecto"), "ZD801");
}

TEST_F(Red, OpcionesCanceladasDevuelvenElModelo)
{
    principal.estado.ModeloM = false;
    TForm_Configuracion d(red, true, true);
    d.show();
    Pulsar(d, "ImgModeloM");
    EXPECT_TRUE(principal.estado.ModeloM);
    Pulsar(d, "CancelBtn");
    EXPECT_FALSE(principal.estado.ModeloM);
    EXPECT_EQ(Clave("ConfiguracionSAD", "Aspecto"), "<none>");
}

// Not networked: the network tab is not offered and only the model is written.
TEST_F(Red, OpcionesSinRedSoloCambianElModelo)
{
    ajustes.Escribir("ServerVNC", "Habilitado", "TRUE");
    principal.estado.ModeloM = true;
    TForm_Configuracion d(red, false, false);
    d.show();
    EXPECT_FALSE(Hijo<QTabWidget>(d, "PageControl1")->isTabVisible(1));
    EXPECT_TRUE(Hijo<QCheckBox>(d, "CBRemoto")->isChecked());
    Hijo<QCheckBox>(d, "CBRed")->setChecked(true);
    Hijo<QCheckBox>(d, "CBRemoto")->setChecked(false);
    Pulsar(d, "OKBtn");
    EXPECT_FALSE(d.Multipuesto());
    EXPECT_EQ(Clave("ConfiguracionSAD", "TipoConAula"), "<none>");
    EXPECT_EQ(Clave("ServerVNC", "Habilitado"), "TRUE");
    EXPECT_EQ(Clave("ConfiguracionSAD", "Aspecto"), "ZD800M");
}

// ---- the list of PCs with a unit ----

TEST_F(Red, ListaDePCsIdaYVuelta)
{
    ajustes.EscribirPCsServer({"aula1", "aula2"});
    {
        Tform_PcsSAD d(red);
        d.show();
        auto& lista = *Hijo<QListWidget>(d, "ListaPcsSAD");
        EXPECT_EQ(Items(lista), QStringList({"aula1", "aula2"}));

        // An address needs its four numbers: nothing is added without them.
        Escribir(d, "ED_IPa", "10");
        Escribir(d, "ED_IPb", "0");
        Escribir(d, "ED_IPd", "7");
        Escribir(d, "ED_IPNombre", "lab");
        Pulsar(d, "SB_AnadirIP");
        EXPECT_EQ(Mensajes(), QStringList{"T279"});
        EXPECT_EQ(lista.count(), 2);
        EXPECT_EQ(d.focusWidget(), Hijo<QLineEdit>(d, "Ed_IPc"));
        // Digits only, three at most.
        Escribir(d, "Ed_IPc", "x12345");
        EXPECT_EQ(Hijo<QLineEdit>(d, "Ed_IPc")->text(), "123");
        Escribir(d, "Ed_IPc", "0");
        Pulsar(d, "SB_AnadirIP");
        Pulsar(d, "SB_AnadirIP"); // an equal entry is not added twice
        EXPECT_EQ(Items(lista), QStringList({"aula1", "aula2", "10.0.0.7 (lab)"}));

        // A PC of the search tree.
        d.Busqueda().AnadirNodo("192.168.1.9 (profesor)");
        d.Busqueda().Arbol()->topLevelItem(0)->setSelected(true);
        Pulsar(d, "SB_Anadir");
        lista.setCurrentRow(0);
        Pulsar(d, "SB_Quitar");
        Pulsar(d, "OKBtn");
    }
    EXPECT_EQ(Clave("ConfiguracionSAD", "PCsServer"), "aula2,10.0.0.7 (lab),192.168.1.9 (profesor),");
    Tform_PcsSAD otra(red);
    otra.show();
    EXPECT_EQ(Items(*Hijo<QListWidget>(otra, "ListaPcsSAD")),
              QStringList({"aula2", "10.0.0.7 (lab)", "192.168.1.9 (profesor)"}));
    Pulsar(otra, "CancelBtn");
    EXPECT_EQ(ajustes.PCsServer().size(), 3);
}

// ---- taking and releasing without a relay ----

struct RedSinRelay : Red {
    void SetUp() override
    {
        principal.estado.PonerEnlace(std::make_unique<TServicioSAD>(textos, interaccion, principal.reloj, QStringList{}));
        // A port nobody listens on.
        QTcpServer s;
        s.listen(QHostAddress::LocalHost, 0);
        principal.estado.Enlace()->PonerPuertoTcp(s.serverPort());
        principal.estado.Enlace()->SetTipoConexion(true);
    }
};

TEST_F(RedSinRelay, OcuparSinNombreOSinRelay)
{
    ajustes.EscribirPCsServer({"aula1", "127.0.0.1 (yo)"});
    ajustes.EscribirUltimoPCSAD("aula1");
    Tform_EscogerPCSAD d(red);
    d.show();
    auto& pc = *Hijo<QComboBox>(d, "Ed_PC");
    EXPECT_EQ(pc.count(), 2);
    EXPECT_EQ(pc.currentText(), "aula1");
    EXPECT_FALSE(Hijo<QPushButton>(d, "OKBtn")->isEnabled());
    EXPECT_FALSE(Hijo<QWidget>(d, "PanelDetalles")->isVisible());
    EXPECT_FALSE(Hijo<QTreeWidget>(d, "TVListaPCs")->isVisible());

    pc.setEditText(QString());
    Pulsar(d, "SB_TestBE");
    ASSERT_EQ(interaccion.mensajes.size(), 1u);
    EXPECT_EQ(interaccion.mensajes[0].sabor, TInteraccionGuion::Sabor::Plano);
    EXPECT_EQ(interaccion.mensajes[0].texto, "T277");

    // Enter in the box checks the PC (its address part only), never accepts.
    pc.setEditText(QStringLiteral("127.0.0.1 (yo)"));
    QTest::keyClick(&pc, Qt::Key_Return); // the box has the focus, as on screen
    ASSERT_TRUE(EsperarSAD(principal.estado));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(Hijo<QLabel>(d, "Label_PCon")->text(), "T266127.0.0.1");
    EXPECT_TRUE(Hijo<QLabel>(d, "L_Nolocalizado")->isVisible());
    EXPECT_FALSE(Hijo<QLabel>(d, "L_Localizado")->isVisible());
    EXPECT_FALSE(Hijo<QLabel>(d, "L_Comprobando")->isVisible());
    EXPECT_FALSE(Hijo<QPushButton>(d, "OKBtn")->isEnabled());
    Pulsar(d, "CancelBtn");
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(Clave("ConfiguracionSAD", "UltimoPCSAD"), "aula1");
}

TEST_F(RedSinRelay, LiberarUnaUnidadInalcanzableLaDaPorPerdida)
{
    TServicioSAD& sad = *principal.estado.Enlace();
    // The station took the unit of "aula1" once; that relay is gone since.
    EnSAD<bool>(sad, [](TComCapvis& c) {
        struct TRelayDeUnaVez : TCOM {
            bool abierto = false;
            QByteArray pendiente = "$";
            void Abrir() override { abierto = true; }
            void Cerrar() override { abierto = false; }
            void Configurar(const QString&) override {}
            void Enviar(const QByteArray&) override { pendiente = "&1.21,63487#"; }
            void Recibir(QByteArray& t) override { t = std::exchange(pendiente, QByteArray()); }
            bool Conectado() override { return abierto; }
        };
        c.PonerPuerto(std::make_unique<TRelayDeUnaVez>(), true);
        c.Conectar(QStringLiteral("aula1"));
        c.SetTipoConexion(true);
        return c.Foto().Servidor == QStringLiteral("aula1");
    });
    Tform_LiberarSAD d(red, true);
    d.show();
    EXPECT_EQ(Hijo<QLabel>(d, "Label_PCon")->text(), "T266aula1");
    d.Comprobar();
    ASSERT_TRUE(EsperarSAD(principal.estado));
    EXPECT_FALSE(d.Ocupado());
    EXPECT_TRUE(Hijo<QLabel>(d, "L_Nolocalizado")->isVisible());
    EXPECT_FALSE(Hijo<QPushButton>(d, "BtnLiberar")->isEnabled());
    EXPECT_FALSE(EnSAD<bool>(sad, [](TComCapvis& c) { return c.Puerto()->Conectado(); }));
}

// ---- remote monitoring ----

TEST_F(Red, PerfilNormalOcultaTomarElControl)
{
    ajustes.EscribirPCsServer({"aula1"});
    ajustes.EscribirUltimoPC("10.0.0.9 (aula9)");
    TForm_Remoto d(red, false);
    d.show();
    for (const char* n : {"SB_ControlPC", "SB_OpcionesServer", "CBoxMonitoMiPC"})
        EXPECT_FALSE(Hijo<QWidget>(d, n)->isVisible()) << n;
    auto& pc = *Hijo<QComboBox>(d, "CB_Client");
    EXPECT_EQ(pc.currentText(), "10.0.0.9 (aula9)");
    // The watch button takes the row the control button leaves.
    QApplication::processEvents();
    EXPECT_GT(Hijo<QPushButton>(d, "SB_StartMonitorizacion")->width(), d.width() * 3 / 4);

    QTest::keyClick(&pc, Qt::Key_Enter);
    EXPECT_EQ(puesto.llamadas, QStringList{"Ver:10.0.0.9"});
    pc.setEditText(QStringLiteral("aula1"));
    d.SB_ControlPCClick(); // reached anyway: it only remembers the PC
    EXPECT_EQ(puesto.llamadas, QStringList{"Ver:10.0.0.9"});
    EXPECT_EQ(Clave("ServerVNC", "UltimoPC"), "aula1");
    pc.setEditText(QString());
    Pulsar(d, "SB_StartMonitorizacion");
    EXPECT_EQ(puesto.llamadas.size(), 1);
    EXPECT_TRUE(d.isVisible());
}

TEST_F(Red, PerfilAvanzadoControlaYOfreceEstePC)
{
    ajustes.EscribirUsuarioAvanzado(true);
    TForm_Remoto d(red, false);
    d.show();
    auto& ofrecer = *Hijo<QCheckBox>(d, "CBoxMonitoMiPC");
    ASSERT_TRUE(ofrecer.isVisible());
    EXPECT_FALSE(Hijo<QPushButton>(d, "SB_CortarMonitorizaciones")->isEnabled());
    Hijo<QComboBox>(d, "CB_Client")->setEditText("aula3");
    Pulsar(d, "SB_ControlPC");
    Marcar(d, "CBoxMonitoMiPC");
    EXPECT_TRUE(d.Perfil());
    EXPECT_EQ(Clave("ServerVNC", "Activo"), "TRUE");
    Pulsar(d, "SB_CortarMonitorizaciones");
    Pulsar(d, "SB_OpcionesServer");
    Pulsar(d, "SB_OpcionesViewer");
    Marcar(d, "CBoxMonitoMiPC", false);
    EXPECT_FALSE(d.Perfil());
    EXPECT_FALSE(Hijo<QPushButton>(d, "SB_ConectarOtrousuario")->isEnabled());
    // The box starts and stops the server only: pushed screens are still taken.
    EXPECT_EQ(puesto.llamadas, QStringList({"Controlar:aula3", "SetServidor:1", "CortarTodo", "OpcionesServidor",
                                            "OpcionesVisor", "SetServidor:0"}));
    // Closing the window is "Cerrar".
    d.close();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(Red, MostrarElPCOfrecidoNoArrancaNada)
{
    ajustes.EscribirRemotoActivo(true);
    TForm_Remoto d(red, true);
    d.show();
    EXPECT_TRUE(Hijo<QCheckBox>(d, "CBoxMonitoMiPC")->isChecked());
    EXPECT_TRUE(Hijo<QPushButton>(d, "SB_ConectarOtrousuario")->isEnabled());
    EXPECT_TRUE(puesto.llamadas.isEmpty());
    EXPECT_TRUE(d.Perfil());
}

TEST_F(Red, ConectarUsuariosElegidosYEscrito)
{
    ajustes.EscribirRemotoActivo(true);
    modal.Cuando("Form_Conectar", [&](QDialog& d) {
        auto& c = static_cast<TForm_Conectar&>(d);
        auto& caja = *Hijo<QLineEdit>(d, "edClient1");
        // Nothing chosen: warning 277 with the "Si" button, the dialog stays.
        Pulsar(d, "BtnConectar");
        ASSERT_EQ(interaccion.mensajes.size(), 1u);
        EXPECT_EQ(interaccion.mensajes[0].texto, "T277");
        EXPECT_EQ(interaccion.mensajes[0].botones, Botones::Si);
        EXPECT_TRUE(d.isVisible());

        c.Busqueda().AnadirNodo("10.0.0.1 (alfa)");
        c.Busqueda().AnadirNodo("10.0.0.2 (beta)");
        QTreeWidget& arbol = *c.Busqueda().Arbol();
        arbol.topLevelItem(0)->setSelected(true);
        EXPECT_EQ(caja.text(), "10.0.0.1 (alfa)");
        arbol.topLevelItem(1)->setSelected(true);
        EXPECT_TRUE(caja.text().isEmpty());
        EXPECT_FALSE(caja.isEnabled());
        arbol.topLevelItem(0)->setSelected(false);
        EXPECT_TRUE(caja.isEnabled());
        // The typed name is the selected PC again, in other letters: once.
        caja.setText(QStringLiteral("10.0.0.2 (BETA)"));
        Pulsar(d, "BtnConectar");
        EXPECT_EQ(c.Nombres(), QStringList{"10.0.0.2 (beta)"});
    });
    modal.Cuando("Form_Conectar", [&](QDialog& d) {
        auto& c = static_cast<TForm_Conectar&>(d);
        c.Busqueda().AnadirNodo("10.0.0.1 (alfa)");
        c.Busqueda().Arbol()->topLevelItem(0)->setSelected(true);
        Escribir(d, "edClient1", "gamma");
        QTest::keyClick(Hijo<QLineEdit>(d, "edClient1"), Qt::Key_Return);
        EXPECT_EQ(c.Nombres(), QStringList({"10.0.0.1 (alfa)", "gamma"}));
    });
    TForm_Remoto d(red, true);
    d.show();
    Pulsar(d, "SB_ConectarOtrousuario");
    Pulsar(d, "SB_ConectarOtrousuario");
    // The server is told names and addresses, never a list entry's decoration.
    EXPECT_EQ(puesto.llamadas, QStringList({"ConectarUsuario:10.0.0.2", "ConectarUsuario:10.0.0.1",
                                            "ConectarUsuario:gamma"}));
}

// ---- user profile and password ----

TEST_F(Red, PerfilDeUsuarioConContrasena)
{
    {
        TForm_UserMonitor d(red);
        d.show();
        EXPECT_EQ(Hijo<QLabel>(d, "L_Perfil")->text(), "T265");
        Escribir(d, "Ed_Password", "Morvaniske");
        QTest::keyClick(Hijo<QLineEdit>(d, "Ed_Password"), Qt::Key_Return);
        EXPECT_EQ(Mensajes(), QStringList{"T278"});
        EXPECT_FALSE(d.Avanzado());
        EXPECT_TRUE(d.isVisible());
        Pulsar(d, "OKBtn");
    }
    EXPECT_EQ(Clave("ServerVNC", "Usuario"), "normal");

    // A changed password works, and so does the built-in one.
    ASSERT_TRUE(ajustes.CambiarPassword("laboratorio"));
    for (const char* clave : {"laboratorio", "morvaniske"}) {
        TForm_UserMonitor d(red);
        d.show();
        Escribir(d, "Ed_Password", clave);
        Pulsar(d, "BtnActivar");
        EXPECT_TRUE(d.Avanzado()) << clave;
        EXPECT_TRUE(Hijo<QWidget>(d, "PanelAvanzado")->isVisible());
        EXPECT_EQ(Hijo<QLabel>(d, "L_Perfil")->text(), "T264");
        Pulsar(d, "CancelBtn");
    }
    EXPECT_EQ(Clave("ServerVNC", "Usuario"), "normal");
}

TEST_F(Red, CambioDeContrasena)
{
    ajustes.EscribirUsuarioAvanzado(true);
    modal.Cuando("Form_CambiarPassword", [&](QDialog& d) {
        // Differing only in letter case: 267 and both boxes emptied.
        Escribir(d, "Ed_Password", "Secreto");
        Escribir(d, "ed_PasswordRe", "secreto");
        Pulsar(d, "OKBtn");
        EXPECT_TRUE(Hijo<QLineEdit>(d, "Ed_Password")->text().isEmpty());
        EXPECT_TRUE(Hijo<QLineEdit>(d, "ed_PasswordRe")->text().isEmpty());
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Mensajes(), QStringList({"T267", "T268"}));
        Escribir(d, "Ed_Password", "secreto");
        Escribir(d, "ed_PasswordRe", "secreto");
        Pulsar(d, "OKBtn");
        EXPECT_EQ(d.result(), QDialog::Accepted);
    });
    TForm_UserMonitor d(red);
    d.show();
    Pulsar(d, "BtnCambiarPassword");
    EXPECT_EQ(modal.vistos, QStringList{"Form_CambiarPassword"});
    EXPECT_TRUE(ajustes.ComprobarPassword("secreto"));
    EXPECT_FALSE(ajustes.ComprobarPassword("Secreto"));
    // Stored as a hash, never as the text.
    EXPECT_FALSE(Clave("ServerVNC", "Password").contains("secreto"));
}

TEST_F(Red, ContrasenasDeLaPantallaDesdeElPerfilAvanzado)
{
    QTemporaryDir config;
    const QByteArray antes = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const TClavesPantalla claves(ajustes, CarpetaConfiguracionUsuario());
    ajustes.EscribirUsuarioAvanzado(true);
    modal.Cuando("Form_PasswordPantalla", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "T354");
        // A control password equal to the watch one: 353, the boxes emptied, nothing stored.
        for (const char* caja : {"Ed_PasswordVer", "Ed_PasswordVerRe", "Ed_PasswordControl", "Ed_PasswordControlRe"})
            Escribir(d, caja, "vista");
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Mensajes(), QStringList({"T353"}));
        EXPECT_TRUE(Hijo<QLineEdit>(d, "Ed_PasswordControl")->text().isEmpty());
        EXPECT_FALSE(claves.HayPassword());
        for (const char* caja : {"Ed_PasswordVer", "Ed_PasswordVerRe"})
            Escribir(d, caja, "vista");
        for (const char* caja : {"Ed_PasswordControl", "Ed_PasswordControlRe"})
            Escribir(d, caja, "mando");
        Pulsar(d, "OKBtn");
        EXPECT_EQ(d.result(), QDialog::Accepted);
    });
    {
        TForm_UserMonitor d(red);
        d.show();
        ASSERT_TRUE(Hijo<QPushButton>(d, "BtnPasswordPantalla")->isVisible());
        EXPECT_EQ(Hijo<QPushButton>(d, "BtnPasswordPantalla")->text(), "T354");
        Pulsar(d, "BtnPasswordPantalla");
    }
    EXPECT_EQ(modal.vistos, QStringList{"Form_PasswordPantalla"});
    EXPECT_FALSE(claves.FicheroVer().isEmpty());
    EXPECT_FALSE(claves.FicheroControl().isEmpty());
    QFile control(claves.FicheroControl());
    ASSERT_TRUE(control.open(QIODevice::ReadOnly));
    EXPECT_EQ(TClavesPantalla::Desofuscar(control.readAll()), "mando");
    qputenv("XDG_CONFIG_HOME", antes);
}

} // namespace
} // namespace qv::test

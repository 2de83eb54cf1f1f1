// A classroom end to end: two stations (main windows with their real dialogs and device
// links) share the simulated unit through the real relay program.
#include "app/comandos_puesto.h"
#include "app/ventana_principal.h"
#include "common/esperar.h"
#include "common/interaccion_guion.h"
#include "lang/ui/modal.h"
#include "link/ajustes_estacion.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "link/servicios_puesto.h"
#include "link/tcp_port.h"
#include "net/escoger_pc_sad.h"
#include "net/liberar_sad.h"
#include "net/panel_busqueda.h"
#include "procesos.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

using namespace qv;
using namespace qv::test;

namespace {

// Shows each dialog and runs the handler queued for its name; rejects it otherwise.
class TModalAula : public TModal {
public:
    std::map<QString, std::deque<std::function<void(QDialog&)>>> cola;
    int Ejecutar(QDialog& d) override
    {
        d.setResult(0);
        d.show();
        if (auto& c = cola[d.objectName()]; !c.empty()) {
            auto m = std::move(c.front());
            c.pop_front();
            m(d);
        }
        if (d.isVisible())
            d.reject();
        return d.result();
    }
};

// A station in multi-station mode; its own relay is not started (the test runs one).
class TPuestoAula : public IServiciosPuesto {
public:
    bool LeerHayRed() override { return true; }
    bool LeerRemotoHabilitado() override { return false; }
    bool LeerRemotoActivo() override { return false; }
    bool LeerMultipuesto() override { return true; }
    bool LeerModeloM() override { return false; }
    QStringList LeerPuertosSerie() override { return {}; }
    void IniciarRelay() override {}
    void DetenerRelay() override {}
    void EscucharRemoto() override {}
    void DetenerRemoto() override {}
    void SetServidorRemoto(bool) override {}
    void VerRemoto(const QString&) override {}
    void ControlarRemoto(const QString&) override {}
    void ConectarUsuarioRemoto(const QString&) override {}
    void CortarTodoRemoto() override {}
    void OpcionesServidorRemoto() override {}
    void OpcionesVisorRemoto() override {}
};

struct Puesto {
    QTemporaryDir dir;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TModalAula modal;
    TPuestoAula puesto;
    TRelojReal reloj;
    std::unique_ptr<TfrmPrincipal> v;

    explicit Puesto(quint16 puertoRelay)
    {
        v = std::make_unique<TfrmPrincipal>(textos, inter, modal, puesto, reloj, dir.path());
        v->show();
        TComCapvis& e = Enlace();
        e.PonerPuertoTcp(puertoRelay);
        e.SetTipoConexion(true);
        v->ComandosPuesto().Busqueda = {puertoRelay, 1500, {QHostAddress(QHostAddress::LocalHost)}};
    }
    TComCapvis& Enlace() { return *v->Estado().EnlaceSAD; }
    QString Ajuste(const char* clave) { return TAjustesEstacion(dir.path()).Leer("ConfiguracionSAD", clave); }
};

struct Vista {
    bool aceptable = false;
    QString ocupadoPor, estado, version;
};

// The take dialog: the PC typed in, checked (again, a bounded number of times, while
// the relay has not yet seen the last holder go), then accepted or cancelled.
Vista Ocupar(Puesto& p, const QString& pc, bool aceptar, int intentos = 1)
{
    Vista vista;
    p.modal.cola["form_EscogerPCSAD"].push_back([&](QDialog& d) {
        d.findChild<QComboBox*>("Ed_PC")->setEditText(pc);
        auto* ok = d.findChild<QPushButton*>("OKBtn");
        for (int i = 0; i < intentos && !ok->isEnabled(); ++i) {
            if (i > 0)
                QThread::msleep(20);
            d.findChild<QPushButton*>("SB_TestBE")->click();
        }
        vista.aceptable = ok->isEnabled();
        if (d.findChild<QWidget*>("PanelDetalles")->isVisible()) {
            vista.ocupadoPor = d.findChild<QLabel*>("L_OcupadoPor")->text();
            if (d.findChild<QLabel*>("L_Estado")->isVisible())
                vista.estado = d.findChild<QLabel*>("L_Estado")->text();
            if (d.findChild<QLabel*>("L_Version")->isVisible())
                vista.version = d.findChild<QLabel*>("L_Version")->text();
        }
        d.findChild<QPushButton*>(aceptar && ok->isEnabled() ? "OKBtn" : "CancelBtn")->click();
    });
    p.v->Ejecutar(TComando::Ocupar);
    return vista;
}

bool Liberar(Puesto& p)
{
    bool ofrecido = false;
    p.modal.cola["form_LiberarSAD"].push_back([&](QDialog& d) {
        static_cast<Tform_LiberarSAD&>(d).Comprobar();
        auto* b = d.findChild<QPushButton*>("BtnLiberar");
        ofrecido = b->isEnabled();
        d.findChild<QPushButton*>(ofrecido ? "BtnLiberar" : "CancelBtn")->click();
    });
    p.v->Ejecutar(TComando::Liberar);
    return ofrecido;
}

TEST(Aula, DosPuestosSeTurnanLaUnidad)
{
    TSadsim sim;
    ASSERT_TRUE(sim.Arrancar({"--speed", "100"}));
    const quint16 puerto = PuertoLibre();
    TProceso relay(QStringLiteral("RelayServer"));
    ASSERT_FALSE(relay.Start({"--port", QString::number(puerto), "--serial", sim.enlace}).isEmpty());

    Puesto uno(puerto), dos(puerto);
    ASSERT_TRUE(uno.v->Multipuesto());
    EXPECT_FALSE(uno.v->findChild<QAction*>("Inmediata")->isEnabled());

    // Station one gets the unit: capture commands and "Liberar" come, the reminder runs.
    const Vista a = Ocupar(uno, "127.0.0.1", true);
    ASSERT_TRUE(a.aceptable);
    EXPECT_EQ(a.estado, "T270T217");
    EXPECT_EQ(a.version, "T2711.21");
    EXPECT_TRUE(uno.v->SADOcupado());
    EXPECT_TRUE(uno.v->findChild<QAction*>("Inmediata")->isEnabled());
    EXPECT_TRUE(uno.v->findChild<QAction*>("Liberar1")->isEnabled());
    EXPECT_TRUE(uno.v->TimerOcupado().isActive());
    EXPECT_EQ(uno.Ajuste("UltimoPCSAD"), "127.0.0.1");
    int estado = -1;
    EXPECT_TRUE(uno.Enlace().LeerEstado(estado));

    // Station two sees who holds it and cannot take it; its connection stays open.
    const Vista b = Ocupar(dos, "127.0.0.1", true);
    EXPECT_FALSE(b.aceptable);
    EXPECT_EQ(b.ocupadoPor, "T269127.0.0.1");
    EXPECT_TRUE(b.estado.isEmpty());
    EXPECT_FALSE(dos.v->SADOcupado());
    EXPECT_TRUE(dos.Enlace().Puerto()->Conectado());

    // Station one gives it back; station two takes it.
    EXPECT_TRUE(Liberar(uno));
    EXPECT_FALSE(uno.v->SADOcupado());
    EXPECT_FALSE(uno.v->TimerOcupado().isActive());
    EXPECT_FALSE(uno.Enlace().Puerto()->Conectado());
    ASSERT_TRUE(Ocupar(dos, "127.0.0.1", true, 50).aceptable);
    EXPECT_TRUE(dos.v->SADOcupado());
    EXPECT_FALSE(Ocupar(uno, "127.0.0.1", true).aceptable);

    // Station two's program closes (the release question answered "Aceptar"): the
    // unit is free again for station one.
    dos.inter.respuestas.push_back(Respuesta::Aceptar);
    EXPECT_TRUE(dos.v->close());
    EXPECT_EQ(dos.inter.Textos(), QStringList{"T276"});
    ASSERT_TRUE(Ocupar(uno, "127.0.0.1", true, 50).aceptable);
    EXPECT_TRUE(uno.v->SADOcupado());
}

// A check that got the unit and was then cancelled gives it back at once; the PC is
// found by the network search, as an address entry whose address is what connects.
TEST(Aula, BuscarComprobarYCancelarDevuelveLaUnidad)
{
    TSadsim sim;
    ASSERT_TRUE(sim.Arrancar({"--speed", "100"}));
    const quint16 puerto = PuertoLibre();
    TProceso relay(QStringLiteral("RelayServer"));
    ASSERT_FALSE(relay.Start({"--port", QString::number(puerto), "--serial", sim.enlace}).isEmpty());
    Puesto uno(puerto), dos(puerto);

    QString encontrado;
    uno.modal.cola["form_EscogerPCSAD"].push_back([&](QDialog& d) {
        auto& dialogo = static_cast<Tform_EscogerPCSAD&>(d);
        QTreeWidget* arbol = dialogo.Busqueda().Arbol();
        dialogo.Busqueda().BotonBuscar()->click();
        EXPECT_TRUE(arbol->isVisible());
        ASSERT_TRUE(Esperar([&] { return arbol->topLevelItemCount() > 0; }));
        arbol->topLevelItem(0)->setSelected(true);
        encontrado = d.findChild<QComboBox*>("Ed_PC")->currentText();
        // Cancel stops the search too.
        d.findChild<QPushButton*>("SB_TestBE")->click();
        EXPECT_TRUE(d.findChild<QPushButton*>("OKBtn")->isEnabled());
        d.findChild<QPushButton*>("CancelBtn")->click();
        EXPECT_FALSE(dialogo.Busqueda().Buscando());
    });
    uno.v->Ejecutar(TComando::Ocupar);
    EXPECT_TRUE(encontrado.startsWith("127.0.0.1 (")) << encontrado.toStdString();
    EXPECT_FALSE(uno.v->SADOcupado());
    EXPECT_FALSE(uno.Enlace().Puerto()->Conectado());
    EXPECT_TRUE(Ocupar(dos, "127.0.0.1", true, 50).aceptable);
}

} // namespace

// A classroom end to end: two stations (main windows with their real dialogs and device
// links) share the simulated unit through the real relay program.
#include "app/comandos_puesto.h"
#include "app/turno_puesto.h"
#include "common/esperar_sad.h"
#include "app/ventana_principal.h"
#include "common/esperar.h"
#include "common/interaccion_guion.h"
#include "common/puesto_fijo.h"
#include "lang/ui/modal.h"
#include "link/ajustes_estacion.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "link/servicios_puesto.h"
#include "link/servicios_puesto_real.h"
#include "link/tcp_port.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/senales.h"
#include "net/escoger_pc_sad.h"
#include "net/liberar_sad.h"
#include "net/panel_busqueda.h"
#include "net/turnos_aula.h"
#include "procesos.h"
#include "linea_unidad.h"
#include "relay_server.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cmath>
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

struct Puesto {
    QTemporaryDir dir;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TModalAula modal;
    TPuestoFijo puesto{true, true};
    TRelojReal reloj;
    std::unique_ptr<TfrmPrincipal> v;

    explicit Puesto(quint16 puertoRelay)
    {
        v = std::make_unique<TfrmPrincipal>(textos, inter, modal, puesto, reloj, dir.path());
        v->show();
        TServicioSAD& e = *v->Estado().Enlace();
        e.PonerPuertoTcp(puertoRelay);
        e.SetTipoConexion(true);
        v->ComandosPuesto().Busqueda = {puertoRelay, 1500, {QHostAddress(QHostAddress::LocalHost)}};
    }
    // Asked of the link on its own thread.
    bool Conectado() { return EnSAD<bool>(*v->Estado().Enlace(), [](TComCapvis& c) { return c.Puerto()->Conectado(); }); }
    bool EstadoLeido() { return EnSAD<bool>(*v->Estado().Enlace(), [](TComCapvis& c) { int e; return c.LeerEstado(e); }); }
    QString Ajuste(const char* clave) { return TAjustesEstacion(dir.path()).Leer("ConfiguracionSAD", clave); }
};

struct Vista {
    bool aceptable = false;
    QString ocupadoPor, estado, version;
};

// The take dialog: the PC typed in, checked (again, a bounded number of times, while
// the relay has not yet seen the last holder go), then accepted or cancelled.
Vista Ocupar(TfrmPrincipal& v, TModalAula& modal, const QString& pc, bool aceptar, int intentos = 1)
{
    Vista vista;
    modal.cola["form_EscogerPCSAD"].push_back([&](QDialog& d) {
        d.findChild<QComboBox*>("Ed_PC")->setEditText(pc);
        auto* ok = d.findChild<QPushButton*>("OKBtn");
        for (int i = 0; i < intentos && !ok->isEnabled(); ++i) {
            if (i > 0)
                QThread::msleep(20);
            d.findChild<QPushButton*>("SB_TestBE")->click();
            Esperar([&] { return d.findChild<QPushButton*>("SB_TestBE")->isEnabled(); }, 30000);
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
    v.Ejecutar(TComando::Ocupar);
    EsperarSAD(v.Estado());
    return vista;
}

Vista Ocupar(Puesto& p, const QString& pc, bool aceptar, int intentos = 1)
{
    return Ocupar(*p.v, p.modal, pc, aceptar, intentos);
}

bool Liberar(Puesto& p)
{
    bool ofrecido = false;
    p.modal.cola["form_LiberarSAD"].push_back([&](QDialog& d) {
        static_cast<Tform_LiberarSAD&>(d).Comprobar();
        EsperarSAD(p.v->Estado().Enlace());
        auto* b = d.findChild<QPushButton*>("BtnLiberar");
        ofrecido = b->isEnabled();
        d.findChild<QPushButton*>(ofrecido ? "BtnLiberar" : "CancelBtn")->click();
    });
    p.v->Ejecutar(TComando::Liberar);
    EsperarSAD(p.v->Estado());
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
    EXPECT_TRUE(uno.EstadoLeido());

    // Station two sees who holds it and cannot take it; its connection stays open.
    const Vista b = Ocupar(dos, "127.0.0.1", true);
    EXPECT_FALSE(b.aceptable);
    EXPECT_EQ(b.ocupadoPor, "T269127.0.0.1");
    EXPECT_TRUE(b.estado.isEmpty());
    EXPECT_FALSE(dos.v->SADOcupado());
    EXPECT_TRUE(dos.Conectado());

    // Station one gives it back; station two takes it.
    EXPECT_TRUE(Liberar(uno));
    EXPECT_FALSE(uno.v->SADOcupado());
    EXPECT_FALSE(uno.v->TimerOcupado().isActive());
    EXPECT_FALSE(uno.Conectado());
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
        Esperar([&] { return d.findChild<QPushButton*>("SB_TestBE")->isEnabled(); }, 30000);
        EXPECT_TRUE(d.findChild<QPushButton*>("OKBtn")->isEnabled());
        d.findChild<QPushButton*>("CancelBtn")->click();
        EXPECT_FALSE(dialogo.Busqueda().Buscando());
    });
    uno.v->Ejecutar(TComando::Ocupar);
    EsperarSAD(uno.v->Estado());
    EXPECT_TRUE(encontrado.startsWith("127.0.0.1 (")) << encontrado.toStdString();
    EXPECT_FALSE(uno.v->SADOcupado());
    EXPECT_FALSE(uno.Conectado());
    EXPECT_TRUE(Ocupar(dos, "127.0.0.1", true, 50).aceptable);
}

// The station's own settings file, read by the real station services; only its relay
// is left to the test, which runs one on a port of its own.
class TPuestoFichero : public TServiciosPuestoReal {
public:
    using TServiciosPuestoReal::TServiciosPuestoReal;
    QStringList relay;
    void IniciarRelay() override { relay << QStringLiteral("Iniciar"); }
    void DetenerRelay() override { relay << QStringLiteral("Detener"); }
};

// A station set up as a classroom station by its settings file takes the unit through
// the take dialog, programs an immediate capture from the main window and reads it back,
// every exchange going through the relay.
TEST(Aula, PuestoMultipuestoCapturaPorElRelay)
{
    TSadsim sim;
    ASSERT_TRUE(sim.Arrancar({"--speed", "20"}));
    // A port the relay takes and names itself: none is freed first for others to take.
    TProceso relay(QStringLiteral("RelayServer"));
    const QString inicio = relay.Start({"--port", "0", "--serial", sim.enlace});
    const quint16 puerto = QRegularExpression("port (\\d+)").match(inicio).captured(1).toUShort();
    ASSERT_NE(puerto, 0) << inicio.toStdString();

    QTemporaryDir dir;
    QFile ini(dir.filePath("Quorvane.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[ConfiguracionSAD]\r\nAspecto=ZD801\r\nTipoConAula=Multipuesto\r\n\r\n[PC]\r\nHayRed=TRUE\r\n");
    ini.close();
    TTextosFijos textos;
    TInteraccionGuion inter;
    TModalAula modal;
    TPuestoFichero puesto(dir.path());
    TRelojReal reloj;
    TfrmPrincipal v(textos, inter, modal, puesto, reloj, dir.path());
    v.show();

    // What the settings say, applied at start: multi-station with its relay, the ZD801,
    // a networked station; no capture before the unit is held.
    EXPECT_TRUE(v.Multipuesto());
    EXPECT_TRUE(v.Estado().Enlace()->Info().EsTcp);
    EXPECT_EQ(puesto.relay, QStringList{"Iniciar"});
    EXPECT_FALSE(v.Estado().ModeloM);
    EXPECT_TRUE(v.RemotoPermitido());
    EXPECT_FALSE(v.findChild<QAction*>("Inmediata")->isEnabled());
    EXPECT_FALSE(v.findChild<QAction*>("LecturaDatos1")->isEnabled());

    // The test's relay listens on a port of its own: the transport is made again for it.
    v.Estado().Enlace()->PonerPuertoTcp(puerto);
    v.Estado().Enlace()->SetTipoConexion(true);
    v.ComandosPuesto().Busqueda = {puerto, 1500, {QHostAddress(QHostAddress::LocalHost)}};
    ASSERT_TRUE(Ocupar(v, modal, "127.0.0.1", true).aceptable);
    ASSERT_TRUE(v.findChild<QAction*>("Inmediata")->isEnabled());

    constexpr int n = 2000;
    auto c = std::make_unique<TConfigES>();
    c->NumMuestras = n;
    c->UnidadPeriodo = Unidad::Mili;
    c->Periodo = 1;
    c->UnidadAnalisis = Unidad::Mili;
    c->TiempoAnalisis = n - 1;
    c->EntAna(1).Activo = true;
    c->SalAna(1).Activo = true;
    c->SalAna(1).Generador =
        std::make_unique<TGenSeno>(textos, "microsegundos", "microsegundos", 0.0f, 0.0f, 5.0f, 0.0f, 4.0f);
    v.Estado().PonerConfig(std::move(c));

    modal.cola["frmProgRetardo"].push_back([](QDialog& d) { d.findChild<QPushButton*>("OKBtn")->click(); });
    v.Ejecutar(TComando::Inmediata);
    EsperarSAD(v.Estado());
    ASSERT_TRUE(QFile::exists(dir.filePath("Programa.cfg")));
    ASSERT_TRUE(Esperar(
        [&] {
            return EnSAD<std::optional<int>>(*v.Estado().Enlace(), [](TComCapvis& c) -> std::optional<int> {
                       int e = -1;
                       return c.LeerEstado(e) ? std::optional<int>(e) : std::nullopt;
                   }) == 3;
        },
        20000));
    v.Ejecutar(TComando::LeerDatos);
    EsperarSAD(v.Estado());
    EXPECT_TRUE(inter.mensajes.empty()) << inter.Textos().join('|').toStdString();

    ASSERT_TRUE(v.Estado().Senales());
    const TConfigES& config = *v.Estado().Config();
    const TSenalAna* entrada = v.Estado().Senales()->BuscarAna(config.EntAna(1).Nombre);
    const TSenalAna* salida = v.Estado().Senales()->BuscarAna(config.SalAna(1).Nombre);
    ASSERT_TRUE(entrada && salida);
    ASSERT_EQ(entrada->NumMuestras(), n);
    // Output 1 loops back to input 1: what was played comes back within the converter's steps.
    for (int k = 0; k < n; k += 7)
        ASSERT_NEAR(entrada->LeerMuestra(k), std::nearbyint(salida->LeerMuestra(k) * 25.5) / 25.5,
                    2 * 10.0 / 2048 + 1e-6)
            << k;
    EXPECT_TRUE(v.SADOcupado());
    EXPECT_TRUE(v.TimerOcupado().isActive());
}


// A station finds the unit held, asks for a turn from the take dialog, sees its place in
// the status bar, and takes the unit by itself when the holder goes, without a modal
// message; the five-minute reminder of the holder says how many wait. A relay restarted
// under a station that waits leaves it with a clear message and usable.
TEST(Aula, PedirTurnoYTomarLaUnidadAlLlegarle)
{
    TSadsim sim;
    ASSERT_TRUE(sim.Arrancar({"--speed", "100"}));
    auto relay = std::make_unique<TProceso>(QStringLiteral("RelayServer"));
    const QString inicio = relay->Start({"--port", "0", "--serial", sim.enlace});
    const quint16 puerto = QRegularExpression("port (\\d+)").match(inicio).captured(1).toUShort();
    ASSERT_NE(puerto, 0) << inicio.toStdString();
    Puesto uno(puerto), dos(puerto);
    ASSERT_TRUE(Ocupar(uno, "127.0.0.1", true).aceptable);

    bool ofrecido = false;
    dos.modal.cola["form_EscogerPCSAD"].push_back([&](QDialog& d) {
        d.findChild<QComboBox*>("Ed_PC")->setEditText("127.0.0.1");
        auto* pedir = d.findChild<QPushButton*>("BtnPedirTurno");
        EXPECT_FALSE(pedir->isVisible()); // nothing checked yet
        d.findChild<QPushButton*>("SB_TestBE")->click();
        Esperar([&] { return d.findChild<QPushButton*>("SB_TestBE")->isEnabled(); }, 30000);
        ofrecido = pedir->isVisible() && !d.findChild<QPushButton*>("OKBtn")->isEnabled();
        pedir->click();
    });
    dos.v->Ejecutar(TComando::Ocupar);
    EsperarSAD(dos.v->Estado());
    EXPECT_TRUE(ofrecido);
    TTurnoPuesto& turno = dos.v->ComandosPuesto().Turno();
    ASSERT_EQ(turno.Fase(), TTurnoPuesto::TFase::Esperando);
    auto* lugar = dos.v->findChild<QLabel*>("L_Turno");
    ASSERT_TRUE(Girar([&] { return lugar->text() == "T511 1 1"; }, 5000)) << lugar->text().toStdString();
    EXPECT_TRUE(turno.Panel()->isVisible());
    EXPECT_FALSE(dos.v->SADOcupado());
    // The holder hears that one waits, in its reminder too.
    TTurnoPuesto& deUno = uno.v->ComandosPuesto().Turno();
    ASSERT_TRUE(Girar([&] { return deUno.Esperan() == 1; }, 6000));
    uno.v->Timer_OcupadoTimer();
    EXPECT_EQ(uno.inter.Textos().back(), "T275 T519 1");
    // Anyone may look at the room: the holder, and the line with its wait.
    uno.v->Ejecutar(TComando::TurnosAula);
    auto* aula = uno.v->findChild<TfrmTurnosAula*>("frmTurnosAula");
    ASSERT_TRUE(aula);
    aula->PonerPC("127.0.0.1");
    auto* cola = aula->findChild<QTreeWidget*>("ListaTurnos");
    ASSERT_TRUE(Girar([&] { return cola->topLevelItemCount() == 1; }, 5000));
    EXPECT_EQ(cola->topLevelItem(0)->text(1), "127.0.0.1");
    EXPECT_TRUE(aula->findChild<QLabel*>("L_Titular")->text().startsWith("T526: 127.0.0.1 ("));
    aula->close();

    // The holder gives it back: the station waiting takes it, nothing modal in the way.
    EXPECT_TRUE(Liberar(uno));
    ASSERT_TRUE(Girar([&] { return dos.v->SADOcupado(); }, 10000));
    EXPECT_EQ(turno.Fase(), TTurnoPuesto::TFase::Titular);
    EXPECT_FALSE(turno.Panel()->isVisible());
    EXPECT_TRUE(dos.v->TimerOcupado().isActive());
    EXPECT_TRUE(dos.v->findChild<QAction*>("Inmediata")->isEnabled());
    EXPECT_TRUE(dos.EstadoLeido());
    auto* aviso = dos.v->findChild<QMessageBox*>("MensajeTurno");
    ASSERT_TRUE(aviso);
    EXPECT_FALSE(aviso->isModal());
    EXPECT_EQ(aviso->text(), "T514 127.0.0.1");
    EXPECT_TRUE(dos.inter.mensajes.empty()) << dos.inter.Textos().join('|').toStdString();
    aviso->close();

    // Now uno waits, and the relay goes away under it.
    uno.modal.cola["form_EscogerPCSAD"].push_back([&](QDialog& d) {
        d.findChild<QComboBox*>("Ed_PC")->setEditText("127.0.0.1");
        d.findChild<QPushButton*>("SB_TestBE")->click();
        Esperar([&] { return d.findChild<QPushButton*>("SB_TestBE")->isEnabled(); }, 30000);
        d.findChild<QPushButton*>("BtnPedirTurno")->click();
    });
    uno.v->Ejecutar(TComando::Ocupar);
    EsperarSAD(uno.v->Estado());
    ASSERT_EQ(deUno.Fase(), TTurnoPuesto::TFase::Esperando);
    relay.reset();
    ASSERT_TRUE(Girar([&] { return deUno.Fase() == TTurnoPuesto::TFase::Nada; }, 5000));
    auto* perdido = uno.v->findChild<QMessageBox*>("MensajeTurno");
    ASSERT_TRUE(perdido);
    EXPECT_EQ(perdido->text(), "T518");
    EXPECT_FALSE(deUno.Panel()->isVisible());
    EXPECT_FALSE(uno.v->SADOcupado());
    EXPECT_TRUE(uno.v->findChild<QAction*>("Ocupar1")->isEnabled());
}


// With a longest turn and a station waiting, the holder's program hears the warning and
// then the end of its turn, without a modal message, and the unit goes to the one that
// waited. The relay runs here, on the simulated unit, with a turn of a few seconds.
TEST(Aula, TurnoMaximoAvisaYPasaLaUnidad)
{
    TSadsim sim;
    ASSERT_TRUE(sim.Arrancar({"--speed", "100"}));
    TInteraccionGuion interRelay;
    TRelojReal relojRelay;
    TLineaSerie linea({sim.enlace}, interRelay, relojRelay);
    RelayServer relay(linea, QStringLiteral("aula"));
    TLimitesRelay limites = relay.Limites();
    limites.turnoMaximoMs = 2500;
    limites.avisoTurnoMs = 1200;
    relay.PonerLimites(limites);
    ASSERT_TRUE(relay.Escuchar(QHostAddress::LocalHost, 0));
    relay.BuscarUnidad();
    Puesto uno(relay.PuertoTcp()), dos(relay.PuertoTcp());
    ASSERT_TRUE(Ocupar(uno, "127.0.0.1", true).aceptable);
    TTurnoPuesto& deUno = uno.v->ComandosPuesto().Turno();
    ASSERT_EQ(deUno.Fase(), TTurnoPuesto::TFase::Titular);

    dos.modal.cola["form_EscogerPCSAD"].push_back([&](QDialog& d) {
        d.findChild<QComboBox*>("Ed_PC")->setEditText("127.0.0.1");
        d.findChild<QPushButton*>("SB_TestBE")->click();
        Esperar([&] { return d.findChild<QPushButton*>("SB_TestBE")->isEnabled(); }, 30000);
        d.findChild<QPushButton*>("BtnPedirTurno")->click();
    });
    dos.v->Ejecutar(TComando::Ocupar);
    EsperarSAD(dos.v->Estado());
    ASSERT_EQ(dos.v->ComandosPuesto().Turno().Fase(), TTurnoPuesto::TFase::Esperando);

    // The holder looks often here, so that the warning is seen before the end.
    QStringList dichos;
    auto mirar = [&] {
        deUno.Mirar();
        for (QMessageBox* m : uno.v->findChildren<QMessageBox*>("MensajeTurno"))
            if (!dichos.contains(m->text()))
                dichos << m->text();
        return !uno.v->SADOcupado() && dos.v->SADOcupado();
    };
    ASSERT_TRUE(Girar(mirar, 15000)) << dichos.join('|').toStdString();
    EXPECT_EQ(dichos, (QStringList{"T515", "T516"}));
    EXPECT_EQ(deUno.Fase(), TTurnoPuesto::TFase::Nada);
    EXPECT_FALSE(uno.v->findChild<QAction*>("Inmediata")->isEnabled());
    EXPECT_TRUE(uno.inter.mensajes.empty()) << uno.inter.Textos().join('|').toStdString();
    EXPECT_TRUE(dos.EstadoLeido());
    // The relay lives on this thread: the stations leave it while it can still answer.
    for (Puesto* p : {&uno, &dos})
        EnSAD<bool>(*p->v->Estado().Enlace(), [](TComCapvis& c) { return c.Desconectar(), true; });
}

} // namespace

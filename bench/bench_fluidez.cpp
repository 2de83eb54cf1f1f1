// The window thread's pace while the unit is talked to through its longest waits, with
// the real main window, its dialogs through the modal seam, the relay and the simulated
// unit (needs bin/sadsim and bin/RelayServer). A 10 ms timer runs on the window thread;
// each shot's lateness is its distance from the one before, less 10 ms. Counters, in ms:
// `peor` the longest stall of the window thread, `mediana` the median lateness; the
// time is the case's wall time.
//   BM_FluidezComprobar  "Comprobar" on a PC whose relay takes the connection and never
//                        greets: the whole greeting wait
//   BM_FluidezLectura    a full memory of samples (digital inputs 1-8, 63487 samples)
//                        read back through the relay at 115200 baud; `ventanas` is the
//                        longest stall while the signal windows open and paint (the graph
//                        control's work on a million points, not the link's)
//   BM_FluidezMonitor    continuous monitoring for 10 s through the relay: 500 s captures
//                        at 200 times the unit's pace, a point every poll, a rearm every
//                        2.5 s
// A person sees a stutter past 50 ms; a thread that blocks on the link (a read time-out
// is 1.2 s) shows here as a stall of that size.
#include "app/ventana_principal.h"
#include "common/esperar_sad.h"
#include "common/interaccion_guion.h"
#include "common/modal_prueba.h"
#include "common/puesto_fijo.h"
#include "common/textos_fijos.h"
#include "e2e/procesos.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "link/servicios_puesto.h"
#include "model/config_es.h"
#include "model/generadores.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

using namespace qv;
using test::Girar;

namespace {

// Lateness of a 10 ms timer on the window thread. Given `despues`, the shots from the
// first one that finds it true on are kept apart (what happens once a command has its
// result).
class TMedidor {
public:
    TMedidor()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 ahora = reloj_.nsecsElapsed();
            fase_ = fase_ || (despues_ && despues_());
            retrasos_[fase_].push_back(std::max(0.0, double(ahora - previo_) / 1e6 - 10));
            previo_ = ahora;
        });
    }
    void Empezar(std::function<bool()> despues = {})
    {
        despues_ = std::move(despues);
        retrasos_[0].clear();
        retrasos_[1].clear();
        fase_ = 0;
        reloj_.start();
        previo_ = 0;
        timer_.start();
    }
    void Parar() { timer_.stop(); }
    double Peor(int fase = 0) const
    {
        const auto& r = retrasos_[fase];
        return r.empty() ? 0 : *std::max_element(r.begin(), r.end());
    }
    double Mediana(int fase = 0) const
    {
        std::vector<double> v = retrasos_[fase];
        if (v.empty())
            return 0;
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    }
    double Segundos() const { return reloj_.nsecsElapsed() / 1e9; }

private:
    QTimer timer_;
    std::function<bool()> despues_;
    QElapsedTimer reloj_;
    qint64 previo_ = 0;
    int fase_ = 0;
    std::vector<double> retrasos_[2];
};

// The simulated unit at 115200 baud and 200 times its pace behind a real relay, and the
// main window of a station that reaches it through the relay.
struct TAula {
    test::TTextosFijos textos;
    test::TInteraccionGuion interaccion;
    test::TModalPrueba modal;
    test::TPuestoFijo puesto{true, true};
    TRelojReal reloj;
    QTemporaryDir carpeta;
    test::TSadsim sim;
    test::TProceso relay{QStringLiteral("RelayServer")};
    quint16 puertoRelay = 0;
    std::unique_ptr<TfrmPrincipal> ventana;

    // Answers what failed, empty when all is ready.
    QString Preparar()
    {
        QStandardPaths::setTestModeEnabled(true);
        if (!sim.Arrancar({"--speed", "200", "--baud", "115200"}))
            return QStringLiteral("sadsim did not start");
        puertoRelay = test::PuertoLibre();
        if (relay.Start({"--port", QString::number(puertoRelay), "--serial", sim.enlace}).isEmpty())
            return QStringLiteral("RelayServer did not start");
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj, carpeta.path());
        ventana->show();
        return QString();
    }
    ~TAula() { ventana.reset(); }

    TEstadoPrograma& E() { return ventana->Estado(); }
    bool Libre() { return !E().Ocupado() && !E().Enlace()->Hablando(); }
    int EstadoUnidad()
    {
        return test::EnSAD<int>(*E().Enlace(), [](TComCapvis& c) {
            int e = -1;
            return c.LeerEstado(e) ? e : -1;
        });
    }
    void Apuntar(quint16 puertoTcp)
    {
        E().Enlace()->PonerPuertoTcp(puertoTcp);
        E().Enlace()->SetTipoConexion(true);
        test::EsperarSAD(E());
    }
    // "Ocupar": this PC typed in and checked, `antes` and `despues` around the check.
    // Answers whether "Aceptar" was offered (and then pressed).
    bool Ocupar(bool aceptar, const std::function<void()>& antes = {}, const std::function<void()>& despues = {})
    {
        bool ofrecido = false;
        modal.Cuando("form_EscogerPCSAD", [&](QDialog& d) {
            d.findChild<QComboBox*>("Ed_PC")->setEditText("127.0.0.1");
            auto* comprobar = d.findChild<QPushButton*>("SB_TestBE");
            if (antes)
                antes();
            comprobar->click();
            Girar([&] { return comprobar->isEnabled(); }, 30000);
            if (despues)
                despues();
            auto* ok = d.findChild<QPushButton*>("OKBtn");
            ofrecido = ok->isEnabled();
            d.findChild<QPushButton*>(aceptar && ofrecido ? "OKBtn" : "CancelBtn")->click();
        });
        ventana->Ejecutar(TComando::Ocupar);
        test::EsperarSAD(E());
        return ofrecido;
    }
    // The unit taken through the relay, as a student takes it.
    bool Tomada()
    {
        Apuntar(puertoRelay);
        return Ocupar(true) && ventana->SADOcupado();
    }
};

void Informar(benchmark::State& st, const TMedidor& m)
{
    st.SetIterationTime(m.Segundos());
    st.counters["peor"] = m.Peor();
    st.counters["mediana"] = m.Mediana();
}

void BM_FluidezComprobar(benchmark::State& st)
{
    for (auto _ : st) {
        TAula aula;
        if (const QString fallo = aula.Preparar(); !fallo.isEmpty()) {
            st.SkipWithError(fallo.toLocal8Bit().constData());
            return;
        }
        // A relay that takes the connection and never greets.
        QTcpServer mudo;
        mudo.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&mudo, &QTcpServer::newConnection, [&] {
            while (QTcpSocket* s = mudo.nextPendingConnection())
                s->setParent(&mudo);
        });
        aula.Apuntar(mudo.serverPort());
        TMedidor medidor;
        if (aula.Ocupar(false, [&] { medidor.Empezar(); }, [&] { medidor.Parar(); })) {
            st.SkipWithError("a relay that never greets was taken as a unit");
            return;
        }
        Informar(st, medidor);
    }
}
BENCHMARK(BM_FluidezComprobar)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void BM_FluidezLectura(benchmark::State& st)
{
    constexpr int llena = 63487;
    for (auto _ : st) {
        TAula aula;
        if (const QString fallo = aula.Preparar(); !fallo.isEmpty()) {
            st.SkipWithError(fallo.toLocal8Bit().constData());
            return;
        }
        if (!aula.Tomada()) {
            st.SkipWithError("the unit could not be taken");
            return;
        }
        // A word a sample: digital inputs 1-8, which loop back idle outputs, two
        // characters a sample on the wire.
        auto c = std::make_unique<TConfigES>();
        c->NumMuestras = llena;
        c->UnidadPeriodo = Unidad::Mili;
        c->Periodo = 1;
        c->UnidadAnalisis = Unidad::Mili;
        c->TiempoAnalisis = llena - 1;
        for (int i = 1; i <= 8; ++i)
            c->EntDig(i).Activo = true;
        aula.E().PonerConfig(std::move(c));
        aula.modal.Cuando("frmProgRetardo", [](QDialog& d) { d.findChild<QPushButton*>("OKBtn")->click(); });
        aula.ventana->Ejecutar(TComando::Inmediata);
        test::EsperarSAD(aula.E());
        if (!test::Esperar([&] { return aula.EstadoUnidad() == 3; }, 20000)) {
            st.SkipWithError("the capture did not end");
            return;
        }
        TMedidor medidor;
        medidor.Empezar([&] { return aula.E().Senales() && aula.E().Senales()->NumDig() > 0; });
        aula.ventana->Ejecutar(TComando::LeerDatos);
        Girar([&] { return aula.Libre(); }, 60000);
        Girar([] { return false; }, 200); // the windows' first paint
        medidor.Parar();
        const TCjtSenales* s = aula.E().Senales();
        if (!s || s->NumDig() != 8 || s->Dig(0)->NumMuestras() != llena) {
            st.SkipWithError("the read-back did not come whole");
            return;
        }
        Informar(st, medidor);
        st.counters["ventanas"] = medidor.Peor(1);
    }
}
BENCHMARK(BM_FluidezLectura)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void BM_FluidezMonitor(benchmark::State& st)
{
    for (auto _ : st) {
        TAula aula;
        if (const QString fallo = aula.Preparar(); !fallo.isEmpty()) {
            st.SkipWithError(fallo.toLocal8Bit().constData());
            return;
        }
        if (!aula.Tomada()) {
            st.SkipWithError("the unit could not be taken");
            return;
        }
        auto c = std::make_unique<TConfigES>();
        c->NumMuestras = 1001;
        c->UnidadPeriodo = Unidad::Mili;
        c->Periodo = 500;
        c->UnidadAnalisis = Unidad::Mili;
        c->TiempoAnalisis = 500000;
        for (int i : {1, 5, 6})
            c->EntAna(i).Activo = true;
        for (int i = 1; i <= 8; ++i)
            c->EntDig(i).Activo = true;
        c->SalAna(1).Activo = true;
        c->SalAna(1).Generador = std::make_unique<TGenSeno>(aula.textos, "microsegundos", "microsegundos", 0.0f,
                                                            0.0f, 5.0f, 0.0f, 4.0f);
        aula.E().PonerConfig(std::move(c));
        TMedidor medidor;
        aula.modal.Cuando("frmMonitorizacion", [&](QDialog& d) {
            medidor.Empezar();
            Girar([] { return false; }, 10000);
            medidor.Parar();
            // As the dialog's own loop would, until a poll on its way is back.
            d.findChild<QPushButton*>("CerrarMonitorizacionBtn")->click();
            Girar([&] { return !d.isVisible(); }, 10000);
        });
        aula.ventana->Ejecutar(TComando::MonitorContinua);
        test::EsperarSAD(aula.E());
        if (aula.modal.Pendientes() != 0) {
            st.SkipWithError("the monitoring window did not open");
            return;
        }
        Informar(st, medidor);
    }
}
BENCHMARK(BM_FluidezMonitor)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

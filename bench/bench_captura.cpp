// Capture costs of the program's side.
//   BM_TickMonitor   one monitoring tick with 8 analog inputs and 2 digital groups:
//                    the "10#" exchange on the device thread with a unit that answers
//                    at once, the reply parsed, 10 curves extended by one point and
//                    drawn; the time includes the hop to the device thread and back
//   BM_LecturaBaudios  a full-memory read-back of one analog input through the
//                    simulated unit sending at 115200 baud (needs bin/sadsim), driven
//                    as the device thread drives it (step object, real clock, the
//                    suggested sleep between steps); the counter ratio is wall time
//                    over the bytes' time on the wire
#include "capture/dibujo_monitor.h"
#include "capture/monitor.h"
#include "common/esperar_sad.h"
#include "common/interaccion_guion.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "link/secuencia_captura.h"
#include "link/servicio_sad.h"
#include "link/serie_port.h"
#include "model/base_tiempos.h"
#include "model/config_es.h"
#include "model/senales.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include "plot/grf.h"

using namespace qv;

namespace {

// A unit that answers every "10#" at once with the next sample and ten values.
class TPuertoMonitor : public TCOM {
public:
    int k = 0;
    QByteArray pendiente;
    void Abrir() override {}
    void Cerrar() override {}
    void Configurar(const QString&) override {}
    void Enviar(const QByteArray& t) override
    {
        if (t != "10#")
            return;
        ++k;
        pendiente = "&" + QByteArray::number(k);
        for (int g = 0; g < 10; ++g)
            pendiente += "," + QByteArray::number(g < 2 ? (k * (g + 1)) & 0xFF : (k * 7 + g * 100) % 2048);
        pendiente += "#";
    }
    void Recibir(QByteArray& t) override
    {
        t = pendiente;
        pendiente.clear();
    }
    bool Conectado() override { return true; }
};

void BM_TickMonitor(benchmark::State& st)
{
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TRelojReal reloj;
    TServicioSAD sad(textos, inter, reloj, {});
    auto p = std::make_unique<TPuertoMonitor>();
    TPuertoMonitor* puerto = p.get();
    sad.PonerPuerto(std::move(p), false);
    TConfigES config;
    config.NumMuestras = 60000;
    config.UnidadPeriodo = Unidad::Mili;
    config.Periodo = 1;
    for (int i = 1; i <= 8; ++i)
        config.EntAna(i).Activo = true;
    for (int i = 1; i <= 16; i += 15)
        config.EntDig(i).Activo = true;
    QWidget ventana;
    ventana.resize(800, 500);
    TDibujoMonitorGrafica dibujo(&ventana, QStringLiteral("Monitor"));
    dibujo.xygraph->setGeometry(0, 0, 780, 480);
    ventana.show();
    TEstadoSalidas salidas;
    TMonitor monitor(sad, config, textos, inter, dibujo, salidas);
    // The set-up reads nothing (no "9#" reply): the curves start at sample 0.
    test::Resultado(monitor.Preparar());
    // The port lives on the device thread: it is touched there, in its turn.
    sad.Encargar([puerto](TComCapvis&) { puerto->k = 0; });
    for (auto _ : st) {
        // Each tick is awaited as the window thread does: the event loop runs until
        // the device thread's answer comes back and the points are drawn.
        if (test::Resultado(monitor.Tick()) != TMonitor::TTick::Punto)
            st.SkipWithError("no point");
        // The drawing of the tick happens when the event loop paints.
        QApplication::processEvents();
    }
    st.counters["series"] = monitor.NumSeries();
}
BENCHMARK(BM_TickMonitor)->Unit(benchmark::kMillisecond)->Iterations(2000)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LecturaBaudios(benchmark::State& st)
{
    const QString sadsim = QCoreApplication::applicationDirPath() + "/../bin/sadsim";
    if (!QFileInfo::exists(sadsim)) {
        st.SkipWithError("bin/sadsim not built");
        return;
    }
    QTemporaryDir dir;
    QProcess proc;
    const QString enlaceSim = dir.filePath("ttySAD");
    proc.start(sadsim, {"--link", enlaceSim, "--speed", "100000", "--baud", "115200"});
    QByteArray linea;
    while (proc.waitForReadyRead(5000) && !(linea += proc.readAllStandardOutput()).contains('\n')) {
    }
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    // The device thread's way: a blocking real clock on the thread that talks.
    TRelojReal reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    enlace.PonerPuerto(std::make_unique<TSeriePort>(QStringList{enlaceSim}, inter, reloj), false);
    TConfigES config;
    config.EntAna(5).Activo = true; // the unit's sine: real numbers in the reply
    config.UnidadPeriodo = Unidad::Micro;
    config.Periodo = 10;
    config.NumMuestras = Capacidad / std::max(1, PalabrasPorMuestra(config));
    if (!enlace.ProgramarRetardo(config)) {
        st.SkipWithError("not programmed");
        return;
    }
    int estado = 0;
    for (int i = 0; i < 500 && !(enlace.LeerEstado(estado) && estado == 3); ++i)
        reloj.Dormir(10);
    double segundos = 0, hilo = 0;
    for (auto _ : st) {
        TSecuenciaCaptura s(config, TOperaciones(), textos, dir.path(), TSecuenciaCaptura::TModo::SoloLectura);
        QElapsedTimer t;
        t.start();
        TSecuenciaCaptura::TPaso r = TSecuenciaCaptura::TPaso::Sigue;
        while ((r = s.Paso(enlace)) == TSecuenciaCaptura::TPaso::Sigue)
            reloj.Dormir(s.EsperaSugerida());
        segundos = t.nsecsElapsed() / 1e9;
        st.SetIterationTime(segundos);
        if (r != TSecuenciaCaptura::TPaso::Terminada) {
            st.SkipWithError("read-back failed");
            break;
        }
        const std::unique_ptr<TCjtSenales> senales = s.TomarSenales();
        // The reply's bytes: "&" N, then every sample with its comma, and "#".
        qint64 bytes = 2 + QByteArray::number(config.NumMuestras).size();
        const TSenalAna* a = senales && senales->NumAna() ? senales->Ana(0) : nullptr;
        for (int k = 0; a && k < a->NumMuestras(); ++k)
            bytes += QByteArray::number(qRound(a->LeerMuestra(k) / (10.0 / 2048))).size() + 1;
        hilo = bytes * 10.0 / 115200;
    }
    st.counters["s_wire"] = hilo;
    st.counters["ratio"] = segundos / hilo;
    proc.terminate();
    proc.waitForFinished(3000);
}
BENCHMARK(BM_LecturaBaudios)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

// Forty companions in the relay's line at once.
//   BM_TurnosAula  40 "quorvane-cli capture --wait" started together, each from a loopback
//                  address of its own (a PC each), through one RelayServer on sadsim at
//                  115200 baud, each a short capture (50 samples at 1 ms with one
//                  output). Counters:
//                    s_total     wall time from the start of the first to the end of the last
//                    s_single    one such capture alone, start to end (median of 3)
//                    s_sum       40 x s_single
//                    ratio       s_total / s_sum
//                    gap_ms      largest time between a release and the next holder's
//                                first command, from the relay's turn log
//                    ok          captures that ended well with all their samples
//                    in_order    1 when the unit went to the clients in the order they asked
//                    rss_kb_0    the relay's resident memory before the clients
//                    rss_kb_1    and after they have all gone
//                  (needs bin/sadsim, bin/RelayServer, bin/quorvane-cli).
#include "common/interaccion_guion.h"
#include "e2e/procesos.h"
#include "lang/idioma.h"
#include "model/config_es.h"
#include "model/fichero_config.h"
#include "model/generadores.h"
#include "model/operaciones.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace qv;

namespace {

constexpr int Clientes = 40;

QString Configuracion(const QString& carpeta)
{
    TLanguage textos;
    textos.setIdiomaFile(QStringLiteral(QV_BIN_DIR "/idioma.lng"));
    test::TInteraccionGuion inter;
    TConfigES c;
    c.NumMuestras = 50;
    c.Periodo = 1;
    c.TiempoAnalisis = 49;
    c.UnidadPeriodo = c.UnidadAnalisis = Unidad::Mili;
    c.EntAna(1).Activo = true;
    c.SalAna(1).Activo = true;
    c.SalAna(1).Generador = std::make_unique<TGenSeno>(textos, textos.BuscarTexto(195), textos.BuscarTexto(194), 0, 0,
                                                       1, 4, 1);
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("turno.cfg"));
    TFicheroConfig(textos, inter, carpeta).EscribirConfiguracion(ruta, c, TOperaciones{});
    return ruta;
}

QStringList Argumentos(const QString& cfg, const QString& salida, const QString& destino, int n)
{
    return {QStringLiteral("capture"), cfg, QStringLiteral("-o"), salida, QStringLiteral("--overwrite"), QStringLiteral("--force"),
            QStringLiteral("--relay"), destino, QStringLiteral("--wait"), QStringLiteral("--source"),
            QStringLiteral("127.0.0.%1").arg(n + 2)};
}

struct TSuceso {
    qint64 ms;
    QString que, quien;
};

// "RelayServer: 1234 ms: took 127.0.0.5" lines of the turn log.
std::vector<TSuceso> Sucesos(const QByteArray& salida)
{
    static const QRegularExpression re(QStringLiteral("^RelayServer: (\\d+) ms: (\\w+)(?: (\\S+))?"));
    std::vector<TSuceso> r;
    for (const QByteArray& l : salida.split('\n')) {
        const auto m = re.match(QString::fromLatin1(l));
        if (m.hasMatch())
            r.push_back({m.captured(1).toLongLong(), m.captured(2), m.captured(3)});
    }
    return r;
}

void BM_TurnosAula(benchmark::State& st)
{
    test::TSadsim sim;
    if (!sim.Arrancar({"--baud", "115200"})) {
        st.SkipWithError("bin/sadsim did not start");
        return;
    }
    test::TProceso relay{QStringLiteral("RelayServer")};
    const QString inicio = relay.Start({"--port", "0", "--serial", sim.enlace, "--log-turns"});
    const QString puerto = inicio.section(QLatin1Char(' '), 2, 2).remove(QLatin1Char(','));
    if (puerto.isEmpty() || !inicio.contains(QLatin1String("unit"))) {
        st.SkipWithError("bin/RelayServer did not find the unit");
        return;
    }
    const QString destino = QStringLiteral("127.0.0.1:") + puerto;
    const QString cfg = Configuracion(sim.dir.path());
    const QString cli = QStringLiteral(QV_BIN_DIR "/quorvane-cli");

    // One capture alone, three times.
    std::vector<double> solas;
    for (int i = 0; i < 3; ++i) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(cli, Argumentos(cfg, sim.dir.filePath(QStringLiteral("sola.qvn")), destino, 100));
        p.waitForFinished(60000);
        if (p.exitCode() != 0) {
            std::fprintf(stderr, "%s\n", p.readAllStandardError().constData());
            st.SkipWithError("a single capture failed");
            return;
        }
        solas.push_back(t.elapsed() / 1000.0);
    }
    std::sort(solas.begin(), solas.end());
    const double sola = solas[1];
    QCoreApplication::processEvents();
    relay.p.readAllStandardOutput(); // the log so far

    for (auto _ : st) {
        const qint64 antes = test::MemoriaKb(relay.p.processId());
        std::vector<std::unique_ptr<QProcess>> ps;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < Clientes; ++i) {
            ps.push_back(std::make_unique<QProcess>());
            ps.back()->start(cli, Argumentos(cfg, sim.dir.filePath(QStringLiteral("c%1.qvn").arg(i)), destino, i));
        }
        int bien = 0;
        for (auto& p : ps) {
            p->waitForFinished(600000);
            bien += p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
        }
        const double total = t.elapsed() / 1000.0;
        st.SetIterationTime(total);
        // The relay has logged the last release by now.
        QElapsedTimer espera;
        espera.start();
        QByteArray log;
        while (espera.elapsed() < 1000) {
            relay.p.waitForReadyRead(100);
            log += relay.p.readAllStandardOutput();
        }
        const qint64 despues = test::MemoriaKb(relay.p.processId());

        const std::vector<TSuceso> s = Sucesos(log);
        QStringList pedidos, tomados, llamados;
        qint64 liberado = -1, hueco = 0;
        for (const TSuceso& e : s) {
            if (e.que == QLatin1String("took")) {
                tomados << e.quien;
                if (liberado >= 0)
                    hueco = std::max(hueco, e.ms - liberado);
                liberado = -1;
            } else if (e.que == QLatin1String("released")) {
                liberado = e.ms;
            }
        }
        // Whoever got the unit without asking (the first to connect) is not in line.
        for (const TSuceso& e : s) {
            if (e.que == QLatin1String("waits"))
                pedidos << e.quien;
            else if (e.que == QLatin1String("called"))
                llamados << e.quien;
        }
        st.counters["s_total"] = total;
        st.counters["s_single"] = sola;
        st.counters["s_sum"] = sola * Clientes;
        st.counters["ratio"] = total / (sola * Clientes);
        st.counters["gap_ms"] = double(hueco);
        st.counters["ok"] = bien;
        st.counters["in_order"] = llamados == pedidos && pedidos.size() == Clientes - 1 ? 1 : 0;
        st.counters["rss_kb_0"] = double(antes);
        st.counters["rss_kb_1"] = double(despues);
    }
}

} // namespace

BENCHMARK(BM_TurnosAula)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

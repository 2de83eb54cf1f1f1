// UART decoding of a full memory: 63487 samples of one digital input, 9600 baud read
// every 26 us (a UART table played on a digital output and read back), frames back to
// back from the first sample to the last. The samples are packed from the set and sent
// to the library in its pieces, as the window's decoding thread does.
#include "common/entorno_mudo.h"
#include "model/decodificador.h"
#include "model/senales.h"
#include "model/tablas_protocolo.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

using namespace qv;

namespace {

constexpr int N = 63487;
constexpr double P = 26e-6;

void BM_DecodificarUartMemoriaLlena(benchmark::State& st)
{
    test::TTextosMudos textos;
    test::TInteraccionMuda inter;
    TCjtSenales set(textos, inter);
    QByteArray mensaje;
    for (int i = 0; i < 1700; ++i)
        mensaje += char('A' + i % 26);
    std::vector<std::uint8_t> m = TablaUart(mensaje, TTramaUart{}, P, 1);
    m.resize(N, 1);
    auto rx = std::make_unique<TSenalDig>(QStringLiteral("Rx"), false, nullptr, nullptr, 1, P, std::uint16_t(N));
    for (int i = 0; i < N; ++i)
        rx->PonerMuestra(i, m[std::size_t(i)]);
    set.AnadirDig(std::move(rx));
    const TDecodificacion d{QStringLiteral("uart"), {{QStringLiteral("rx"), QStringLiteral("Rx")}},
                            {{QStringLiteral("baudrate"), QStringLiteral("9600")}}, {}};

    TDecodificador motor;
    if (!motor.Disponible()) {
        st.SkipWithError("built without the decoding library");
        return;
    }
    std::size_t anotaciones = 0;
    // The library decodes on a thread of its own: the processor time of the whole process
    // says what the decoding costs whatever else the machine is doing.
    const auto cpu = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    };
    double cpuMs = 0;
    for (auto _ : st) {
        const double antes = cpu();
        TEntradaDecod e;
        PrepararEntrada(d, set, e);
        const TResultadoDecod r = motor.Decodificar(d, e);
        if (r.Fallo) {
            st.SkipWithError("the decoding failed");
            return;
        }
        anotaciones = r.Anotaciones.size();
        benchmark::DoNotOptimize(anotaciones);
        cpuMs += cpu() - antes;
    }
    st.counters["annotations"] = double(anotaciones);
    st.counters["process_cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DecodificarUartMemoriaLlena)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();

#include "common/entorno_mudo.h"
#include "model/espectro.h"
#include "model/medidas.h"
#include "model/senales.h"
#include "model/vcd.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>

using namespace qv;

namespace {

constexpr int N = MaxMuestras;
constexpr double Periodo = 1e-5;

// Eight full analog inputs of different shapes (noisy sines, squares, ramps) and
// sixteen digital ones.
struct TCaptura {
    test::TTextosMudos textos;
    test::TInteraccionMuda inter;
    TCjtSenales senales{textos, inter};

    TCaptura()
    {
        std::mt19937 azar(1);
        std::normal_distribution<double> ruido(0, 0.02);
        for (int c = 0; c < 8; ++c) {
            auto s = std::make_unique<TSenalAna>(textos, QStringLiteral("A%1").arg(c), true, nullptr, nullptr, 0,
                                                 Periodo, N);
            const double f = 50.0 * (c + 1);
            for (int i = 0; i < N; ++i) {
                const double t = i * Periodo;
                double x = c % 3 == 0   ? std::sin(2 * std::numbers::pi * f * t)
                           : c % 3 == 1 ? (std::fmod(t * f, 1.0) < 0.3 ? 5.0 : 0.0)
                                        : std::fmod(t * f, 1.0) * 10 - 5;
                s->PonerMuestra(i, float(x + ruido(azar)));
            }
            senales.AnadirAna(std::move(s));
        }
        for (int c = 0; c < 16; ++c) {
            auto d = std::make_unique<TSenalDig>(QStringLiteral("D%1").arg(c), true, nullptr, nullptr, 0, Periodo, N);
            for (int i = 0; i < N; ++i)
                d->PonerMuestra(i, std::uint8_t((i / (10 * (c + 1))) % 2));
            senales.AnadirDig(std::move(d));
        }
    }
};

TCaptura& Captura()
{
    static TCaptura c;
    return c;
}

} // namespace

// The analog panel's measurements of eight full signals (target: at most 5 ms).
static void MedidasOchoAnalogicas(benchmark::State& estado)
{
    TCjtSenales& s = Captura().senales;
    for (auto _ : estado)
        for (int c = 0; c < s.NumAna(); ++c)
            benchmark::DoNotOptimize(MedirAna(*s.Ana(c)));
}
BENCHMARK(MedidasOchoAnalogicas)->Unit(benchmark::kMillisecond);

// The same with each signal's dominant frequency, as the companion's table has it.
static void TablaOchoAnalogicasConEspectro(benchmark::State& estado)
{
    TCjtSenales& s = Captura().senales;
    TAnalizadorEspectro espectro;
    for (auto _ : estado)
        benchmark::DoNotOptimize(TablaMedidas(s, s.NombresAna(), ColumnasAna(), 0, 1, &espectro));
}
BENCHMARK(TablaOchoAnalogicasConEspectro)->Unit(benchmark::kMillisecond);

static void MedidasDieciseisDigitales(benchmark::State& estado)
{
    TCjtSenales& s = Captura().senales;
    for (auto _ : estado)
        for (int c = 0; c < s.NumDig(); ++c)
            benchmark::DoNotOptimize(MedirDig(*s.Dig(c)));
}
BENCHMARK(MedidasDieciseisDigitales)->Unit(benchmark::kMillisecond);

// One spectrum: the full capture, a span of prime length (padded as any other) and a
// power of two.
static void Espectro(benchmark::State& estado)
{
    const int n = int(estado.range(0));
    const TSenalAna& s = *Captura().senales.Ana(7);
    TAnalizadorEspectro espectro;
    for (auto _ : estado) {
        const TEspectro e = espectro.Calcular(s.Muestras().data(), n, s.Periodo());
        benchmark::DoNotOptimize(e.Pico(1));
    }
}
BENCHMARK(Espectro)->Arg(65535)->Arg(65521)->Arg(32768)->Unit(benchmark::kMillisecond);

// A new span length every time: the plan is made anew as a cursor moves.
static void EspectroLongitudNueva(benchmark::State& estado)
{
    const TSenalAna& s = *Captura().senales.Ana(7);
    TAnalizadorEspectro espectro;
    int n = 65000;
    for (auto _ : estado) {
        const TEspectro e = espectro.Calcular(s.Muestras().data(), n, s.Periodo());
        benchmark::DoNotOptimize(e.Pico(1));
        n = n == 65535 ? 65000 : n + 1;
    }
}
BENCHMARK(EspectroLongitudNueva)->Unit(benchmark::kMillisecond);

// The dump of a whole capture: 16 wires and 8 real variables changing at every sample.
static void VolcadoVcd(benchmark::State& estado)
{
    const TCjtSenales& s = Captura().senales;
    const TOpcionesVcd opciones{QDateTime(QDate(2024, 1, 1), QTime(0, 0))};
    for (auto _ : estado)
        benchmark::DoNotOptimize(ExportarVcd(s, {}, opciones).size());
}
BENCHMARK(VolcadoVcd)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

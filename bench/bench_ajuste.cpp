// Curve fits of a full capture: each built-in model over 65535 noisy samples, from the
// program's own starting estimates to the parameters with their errors (targets: at
// most 5 ms for the linear models, at most 50 ms for the others). Run with
// --benchmark_repetitions=5 and read the medians.
#include "model/ajuste.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace qv;

namespace {

constexpr int N = 65535;
constexpr double Periodo = 1e-5;
constexpr double DosPi = 2 * std::numbers::pi;

double Verdad(TModeloAjuste m, double t)
{
    switch (m) {
    case TModeloAjuste::Lineal:
        return 0.5 - 3 * t;
    case TModeloAjuste::Polinomio2:
        return 1 - 4 * t + 9 * t * t;
    case TModeloAjuste::Polinomio3:
        return 1 - 4 * t + 9 * t * t - 12 * t * t * t;
    case TModeloAjuste::Polinomio4:
        return 1 - 4 * t + 9 * t * t - 12 * t * t * t + 5 * std::pow(t, 4);
    case TModeloAjuste::Polinomio5:
        return 1 - 4 * t + 9 * t * t - 12 * t * t * t + 5 * std::pow(t, 4) - 2 * std::pow(t, 5);
    case TModeloAjuste::Exponencial:
        return 4 * std::exp(-t / 0.12) + 0.5;
    case TModeloAjuste::CargaRC:
        return 5 * (1 - std::exp(-t / 0.08)) - 0.2;
    case TModeloAjuste::Seno:
        return 2 * std::sin(DosPi * 50 * t + 0.4) + 0.1;
    default:
        return 3 * std::exp(-t / 0.2) * std::sin(DosPi * 40 * t - 1) + 0.2;
    }
}

const std::vector<float>& Datos(TModeloAjuste m)
{
    static std::vector<float> datos[NumModelosAjuste];
    std::vector<float>& d = datos[int(m)];
    if (d.empty()) {
        std::mt19937 azar(unsigned(int(m)) + 1);
        std::normal_distribution<double> ruido(0, 0.02);
        d.resize(N);
        for (int i = 0; i < N; ++i)
            d[std::size_t(i)] = float(Verdad(m, i * Periodo) + ruido(azar));
    }
    return d;
}

void BM_Ajuste(benchmark::State& state)
{
    const auto m = TModeloAjuste(state.range(0));
    const std::vector<float>& y = Datos(m);
    TPeticionAjuste p;
    p.Modelo = m;
    int iteraciones = 0;
    for (auto _ : state) {
        const TResultadoAjuste r = Ajustar(p, y.data(), N, Periodo);
        if (!r.Converge()) {
            state.SkipWithError("the fit did not converge");
            return;
        }
        iteraciones = r.Iteraciones;
        benchmark::DoNotOptimize(r.R2);
    }
    state.SetLabel(ClaveModelo(m).toStdString());
    state.counters["iteraciones"] = iteraciones;
}
BENCHMARK(BM_Ajuste)->DenseRange(0, NumModelosAjuste - 2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

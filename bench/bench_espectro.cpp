// The spectrum window's work for a full capture: the spectrum of 65535 samples computed
// (with its peak) and drawn, and a move of its cursor.
#include "common/entorno_mudo.h"
#include "model/senales.h"
#include "plot/grafica_espectro.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>

using namespace qv;

namespace {

constexpr int N = 65535;

struct TEntorno {
    test::TTextosMudos textos;
    TSenalAna senal{textos, QStringLiteral("A1"), true, nullptr, nullptr, 0, 1e-5, N};
    TEntorno()
    {
        // Two tones on a DC level, with noise.
        std::mt19937 azar(1);
        std::normal_distribution<double> ruido(0, 0.02);
        for (int i = 0; i < N; ++i) {
            const double t = i * 1e-5;
            senal.PonerMuestra(i, float(1 + std::sin(2 * std::numbers::pi * 1000 * t)
                                        + 0.1 * std::sin(2 * std::numbers::pi * 7300 * t) + ruido(azar)));
        }
    }
    // A plot of 800 x 500 laid out off the screen, as a picture is drawn.
    static void Disponer(TGraficaEspectro& g)
    {
        g.resize(800, 500);
        g.setViewport(QRect(0, 0, 800, 500));
    }
};

TEntorno& Entorno()
{
    static TEntorno e;
    return e;
}

// What the window does on opening and on a new window function: transform, peak, and a
// full replot of the plot into its offscreen buffers (target: at most 20 ms).
void BM_EspectroCalculadoYDibujado(benchmark::State& state)
{
    TEntorno& e = Entorno();
    TAnalizadorEspectro analizador;
    TGraficaEspectro g(e.textos);
    e.Disponer(g);
    const int antes = g.DibujosCurva();
    for (auto _ : state)
        g.Cargar(CalcularEspectro(analizador, e.senal, {}, TVentanaFFT::Hann), e.senal.Unidad);
    if (g.DibujosCurva() - antes != int(state.iterations()))
        state.SkipWithError("the curve was not drawn once per spectrum");
}
BENCHMARK(BM_EspectroCalculadoYDibujado)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same drawn once more into a picture of its own (what "render --spectrum" adds).
void BM_EspectroEnImagen(benchmark::State& state)
{
    TEntorno& e = Entorno();
    TAnalizadorEspectro analizador;
    TGraficaEspectro g(e.textos);
    e.Disponer(g);
    for (auto _ : state) {
        g.Cargar(CalcularEspectro(analizador, e.senal, {}, TVentanaFFT::Hann), e.senal.Unidad);
        benchmark::DoNotOptimize(g.toPixmap(800, 500).cacheKey());
    }
}
BENCHMARK(BM_EspectroEnImagen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One step of the spectrum's cursor: its layer only, never the curve.
void BM_CursorDelEspectro(benchmark::State& state)
{
    TEntorno& e = Entorno();
    TAnalizadorEspectro analizador;
    TGraficaEspectro g(e.textos);
    g.resize(800, 500);
    g.show();
    g.Cargar(CalcularEspectro(analizador, e.senal, {}, TVentanaFFT::Hann), e.senal.Unidad);
    QApplication::processEvents();
    const int antes = g.DibujosCurva();
    int bin = 0;
    for (auto _ : state) {
        g.PonerCursor(bin = (bin + 7) % 30000);
        QApplication::processEvents();
    }
    state.counters["redibujos_curva"] = g.DibujosCurva() - antes;
}
BENCHMARK(BM_CursorDelEspectro)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

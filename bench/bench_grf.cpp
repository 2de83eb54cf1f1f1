// Graph control at the largest capture size: a full redraw of eight step-line series of
// 65535 samples at 1200 x 800, a cursor move, the same for an XY curve of 65535 pairs, one
// monitoring tick extending ten curves, and the picture of the graph.
#include "plot/grf.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace qv;

namespace {

constexpr int N = 65535;

std::unique_ptr<TGrf> GraficaCompleta()
{
    auto g = std::make_unique<TGrf>();
    g->resize(1200, 800);
    g->Dimensions().PonerRightMargin(150);
    g->Legend().PonerVisible(true);
    g->Legend().PonerLeft(1200 - 135);
    g->Legend().PonerWidth(125);
    g->Legend().PonerHeight(740);
    g->Legend().PonerYMargin(740 / 9);
    g->PonerPlotting(false);
    std::vector<float> m(N);
    for (int c = 0; c < 8; ++c) {
        for (int i = 0; i < N; ++i)
            m[i] = float(9 * std::sin(0.0007 * (i + 1) * (c + 1)) + 0.3 * std::sin(0.37 * i * (c + 2)));
        g->Serie(c).PonerNombre(QStringLiteral("Senal %1 (V)").arg(c + 1));
        g->Serie(c).CargarMuestras(1e-3, m);
    }
    g->XAxis().PonerMin(0);
    g->PonerPlotting(true);
    g->show();
    g->Redibujar();
    QApplication::processEvents();
    return g;
}

void BM_RedibujoCompleto(benchmark::State& state)
{
    auto g = GraficaCompleta();
    const int antes = g->DibujosSeries();
    for (auto _ : state)
        g->replot(QCustomPlot::rpImmediateRefresh); // buffers and the widget's paint
    state.counters["series_por_redibujo"] = double(g->DibujosSeries() - antes) / double(state.iterations());
}
BENCHMARK(BM_RedibujoCompleto)->Unit(benchmark::kMillisecond);

void BM_MoverCursor(benchmark::State& state)
{
    auto g = GraficaCompleta();
    const int antes = g->DibujosSeries();
    double x = 0;
    for (auto _ : state) {
        x = x > 60 ? 0 : x + 0.37;
        g->PonerCursor(1, false, 0, x);
        QApplication::processEvents(); // the paint of the two strips
    }
    state.counters["redibujos_series"] = g->DibujosSeries() - antes;
}
BENCHMARK(BM_MoverCursor)->Unit(benchmark::kMicrosecond);

// An XY plot at the largest capture size: one curve of 65535 pairs (a Lissajous figure
// that crosses itself all over), its full redraw and the search of the point under the
// pointer that places an XY cursor.
std::unique_ptr<TGrf> GraficaXY()
{
    auto g = std::make_unique<TGrf>();
    g->resize(1200, 800);
    g->PonerStepPlot(false);
    g->Serie(0).PonerNombre(QStringLiteral("Y(V)"));
    g->Serie(0).CargarCurva(
        N, [](int i) { return 9 * std::sin(0.0031 * i); }, [](int i) { return 9 * std::sin(0.0047 * i + 0.3); });
    g->show();
    g->Redibujar();
    QApplication::processEvents();
    return g;
}

void BM_RedibujoXY(benchmark::State& state)
{
    auto g = GraficaXY();
    for (auto _ : state)
        g->replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_RedibujoXY)->Unit(benchmark::kMillisecond);

void BM_CursorXY(benchmark::State& state)
{
    auto g = GraficaXY();
    const QRect a = g->AreaGrafica();
    const int antes = g->DibujosSeries();
    int k = 0;
    for (auto _ : state) {
        k = (k + 37) % (a.width() * a.height());
        TPuntoGrf p;
        g->PuntoMasCercanoEnPantalla(0, a.topLeft() + QPoint(k % a.width(), k / a.width()), p);
        g->PonerCursor(1, true, p.Y, p.X);
        QApplication::processEvents();
    }
    state.counters["redibujos_series"] = g->DibujosSeries() - antes;
}
BENCHMARK(BM_CursorXY)->Unit(benchmark::kMicrosecond);

void BM_TicMonitorizacion(benchmark::State& state)
{
    constexpr int Puntos = 200000;
    auto g = std::make_unique<TGrf>();
    g->resize(1200, 800);
    g->XAxis().PonerMin(0);
    g->XAxis().PonerMax(Puntos);
    g->YAxis().PonerMin(-10);
    g->YAxis().PonerMax(10);
    g->show();
    const auto Empezar = [&] {
        g->LiberarSeries();
        for (int k = 0; k < 10; ++k)
            g->Serie(k).AnadirPunto(0, 0);
        g->Redibujar();
        QApplication::processEvents();
    };
    Empezar();
    const int antes = g->DibujosSeries();
    int t = 0, reinicios = 0;
    for (auto _ : state) {
        if (++t == Puntos) {
            state.PauseTiming();
            Empezar();
            t = 1;
            ++reinicios;
            state.ResumeTiming();
        }
        for (int k = 0; k < 10; ++k)
            g->ExtenderSerie(k, t, 9 * std::sin(0.01 * t + k));
        QApplication::processEvents();
    }
    state.counters["redibujos_series"] = g->DibujosSeries() - antes - reinicios * 10;
}
BENCHMARK(BM_TicMonitorizacion)->Unit(benchmark::kMicrosecond);

void BM_Imagen(benchmark::State& state)
{
    auto g = GraficaCompleta();
    for (auto _ : state) {
        QImage im = g->Imagen();
        benchmark::DoNotOptimize(im.constBits());
    }
}
BENCHMARK(BM_Imagen)->Unit(benchmark::kMillisecond);

} // namespace

// Picture files of a full graph: 8 step-line series of 65535 samples with adaptive
// sampling on, at 1200 x 800 pixels, written through the picture writer (file included).
//   BM_Imagen/PNG, /SVG, /PDF, /WMF   target: median at most 300 ms each
// The counter kB is the size of the file written.
#include "plot/imagenes.h"
#include "plot/qcp.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

using namespace qv;

namespace {

constexpr int N = 65535;
const QSize Tamano(1200, 800);

std::unique_ptr<QCustomPlot> GraficaLlena()
{
    auto g = std::make_unique<QCustomPlot>();
    g->resize(Tamano);
    g->setViewport(QRect(QPoint(0, 0), Tamano));
    g->legend->setVisible(true);
    g->xAxis->setLabel(QStringLiteral("Tiempo (s)"));
    g->yAxis->setLabel(QString::fromUtf8("Tensión (V)"));
    std::mt19937 azar(7);
    std::normal_distribution<double> ruido(0.0, 0.05);
    for (int s = 0; s < 8; ++s) {
        QCPGraph* graf = g->addGraph();
        graf->setName(QStringLiteral("Señal %1").arg(s + 1));
        graf->setPen(QPen(QColor::fromHsv(s * 45, 255, 200), 1));
        graf->setLineStyle(QCPGraph::lsStepLeft);
        graf->setAdaptiveSampling(true);
        QVector<double> t(N), v(N);
        for (int i = 0; i < N; ++i) {
            t[i] = i * 1e-4;
            v[i] = s - 4 + 0.8 * std::sin(i * (s + 1) * 2e-4) + ruido(azar);
        }
        graf->setData(t, v, true);
    }
    g->rescaleAxes();
    g->replot();
    return g;
}

void BM_Imagen(benchmark::State& state)
{
    static const char* const extensiones[] = {"png", "svg", "pdf", "wmf"};
    const char* ext = extensiones[state.range(0)];
    state.SetLabel(ext);
    auto g = GraficaLlena();
    const TPintor pintor = PintorGrafica(*g);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("grafica.") + QLatin1String(ext));
    for (auto _ : state) {
        if (!GuardarImagen(ruta, Tamano, pintor)) {
            state.SkipWithError("the picture was not written");
            return;
        }
    }
    state.counters["kB"] = double(QFileInfo(ruta).size()) / 1024.0;
}
BENCHMARK(BM_Imagen)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

// The printed report and the pictures of a real signal window.
//   BM_TablaPdf            the printed table of 8 signals of 1000 samples to a PDF file
//                          (1200 dpi, A4): target median at most 1 s
//   BM_VentanaImagen/...   the analog graph of 8 signals of 65535 samples drawn without
//                          a window and written as PNG, SVG, PDF and WMF (what
//                          "quorvane-cli render" does): target median at most 300 ms each
#include "common/entorno_mudo.h"
#include "display/impresion.h"
#include "model/senales.h"
#include "plot/grafica_senales.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace qv;

namespace {

void Llenar(TCjtSenales& set, TTextos& textos, int muestras)
{
    for (int s = 0; s < 8; ++s) {
        auto senal = std::make_unique<TSenalAna>(textos, QStringLiteral("Sen%1").arg(s + 1), false, nullptr, nullptr,
                                                 s + 1, 1e-4, std::uint16_t(muestras));
        for (int i = 0; i < muestras; ++i)
            senal->PonerMuestra(i, float(s - 4 + 0.8 * std::sin(i * (s + 1) * 2e-4)));
        set.AnadirAna(std::move(senal));
    }
}

void BM_TablaPdf(benchmark::State& state)
{
    test::TTextosMudos textos;
    test::TInteraccionMuda interaccion;
    TCjtSenales set(textos, interaccion);
    Llenar(set, textos, 1000);
    QWidget ventana;
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("tabla.pdf"));
    for (auto _ : state) {
        QPrinter impresora(QPrinter::HighResolution);
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setPageSize(QPageSize(QPageSize::A4));
        impresora.setOutputFileName(ruta);
        if (!ImprimirTabla(impresora, ventana, set, {}, textos)) {
            state.SkipWithError("the table was not printed");
            return;
        }
    }
    state.counters["kB"] = double(QFileInfo(ruta).size()) / 1024.0;
}
BENCHMARK(BM_TablaPdf)->Unit(benchmark::kMillisecond);

void BM_VentanaImagen(benchmark::State& state)
{
    static const char* const extensiones[] = {"png", "svg", "pdf", "wmf"};
    const char* ext = extensiones[state.range(0)];
    state.SetLabel(ext);
    test::TTextosMudos textos;
    test::TInteraccionMuda interaccion;
    TCjtSenales set(textos, interaccion);
    Llenar(set, textos, 65535);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("grafica.") + QLatin1String(ext));
    QString error;
    for (auto _ : state) {
        if (!GuardarGraficaSenales(set, textos, {}, false, QString(), QSize(1200, 800), ruta, error)) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
    }
    state.counters["kB"] = double(QFileInfo(ruta).size()) / 1024.0;
}
BENCHMARK(BM_VentanaImagen)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

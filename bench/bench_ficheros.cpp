// Signal files, text export and the frequency filter at the largest capture size.
#include "common/entorno_mudo.h"
#include "model/config_es.h"
#include "model/exportar.h"
#include "model/fft.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace qv;

namespace {

constexpr int N = 65535;

// 8 analog inputs as a capture gives them (12-bit codes of the +-10 V range times
// the resolution) and 8 digital inputs.
struct TCaptura {
    test::TTextosMudos textos;
    test::TInteraccionMuda inter;
    TConfigES config;
    TOperaciones ops;
    TCjtSenales senales{textos, inter};
    TFicheroConfig fichero{textos, inter, QDir::tempPath()};

    TCaptura()
    {
        config.NumMuestras = N;
        config.Periodo = 0.1;
        const float resolucion = ResolucionRango(0);
        for (int c = 1; c <= 8; ++c) {
            config.EntAna(c).Activo = true;
            auto s = std::make_unique<TSenalAna>(textos, config.EntAna(c).Nombre, false, nullptr, nullptr, c,
                                                 float(config.PeriodoSegundos()), std::uint16_t(N));
            for (int i = 0; i < N; ++i) {
                const double v = 9.5 * std::sin(0.001 * (i + 1) * c) + 0.3 * std::sin(0.37 * i);
                s->PonerMuestra(i, float(std::lround(v / resolucion)) * resolucion);
            }
            s->PonerDatosSenal(QStringLiteral("Voltios"), 10, 1);
            senales.AnadirAna(std::move(s));
        }
        for (int c = 1; c <= 8; ++c) {
            config.EntDig(c).Activo = true;
            auto s = std::make_unique<TSenalDig>(config.EntDig(c).Nombre, false, nullptr, nullptr, c,
                                                 float(config.PeriodoSegundos()), std::uint16_t(N));
            for (int i = 0; i < N; ++i)
                s->PonerMuestra(i, std::uint8_t((i / (c * 7)) & 1));
            senales.AnadirDig(std::move(s));
        }
    }
};

TCaptura& Captura()
{
    static TCaptura c;
    return c;
}

const QString Ruta = QDir::temp().filePath(QStringLiteral("qv_bench_ficheros.qvn"));

void BM_EscribirFicheroSenales(benchmark::State& estado)
{
    TCaptura& c = Captura();
    for (auto _ : estado)
        GuardarFicheroSenales(Ruta, c.fichero, c.config, c.ops, c.senales);
    estado.SetBytesProcessed(estado.iterations() * QFile(Ruta).size());
}
BENCHMARK(BM_EscribirFicheroSenales)->Unit(benchmark::kMillisecond);

void BM_LeerFicheroSenales(benchmark::State& estado)
{
    TCaptura& c = Captura();
    GuardarFicheroSenales(Ruta, c.fichero, c.config, c.ops, c.senales);
    for (auto _ : estado) {
        TConfigES config;
        TOperaciones ops;
        TCjtSenales senales(c.textos, c.inter);
        if (!AbrirFicheroSenales(Ruta, c.fichero, config, ops, senales) || senales.NumAna() != 8)
            estado.SkipWithError("lectura fallida");
        benchmark::DoNotOptimize(senales.Ana(0));
    }
}
BENCHMARK(BM_LeerFicheroSenales)->Unit(benchmark::kMillisecond);

void BM_ExportarTexto(benchmark::State& estado)
{
    TCaptura& c = Captura();
    for (auto _ : estado) {
        QByteArray t = ExportarTexto(c.senales);
        benchmark::DoNotOptimize(t.data());
    }
}
BENCHMARK(BM_ExportarTexto)->Unit(benchmark::kMillisecond);

void BM_FiltrarFFT(benchmark::State& estado)
{
    TCaptura& c = Captura();
    TFFT fft;
    const TSenalAna& origen = *c.senales.Ana(0);
    TSenalAna s(c.textos, QStringLiteral("F"), true, nullptr, nullptr, 0, origen.Periodo(), std::uint16_t(N));
    for (auto _ : estado) {
        estado.PauseTiming();
        for (int i = 0; i < N; ++i)
            s.PonerMuestra(i, origen.LeerMuestra(i));
        estado.ResumeTiming();
        fft.FiltrarFFT(s, 1, 0, 200, N - 1);
    }
}
BENCHMARK(BM_FiltrarFFT)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

#include "common/entorno_mudo.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/senales.h"

#include <benchmark/benchmark.h>

using namespace qv;

// Output signals of a full capture: 4 analog outputs (sine, ramp, step, table) and
// 16 digital outputs at the unit's whole memory of samples.
static void SenalesDeSalidasCompleta(benchmark::State& estado)
{
    test::TTextosMudos textos;
    test::TInteraccionMuda inter;
    const QString s = "segundos", ms = "milisegundos";
    TConfigES cfg;
    cfg.Periodo = 10;
    cfg.UnidadPeriodo = Unidad::Micro;
    cfg.SalAna(1).Generador = std::make_unique<TGenSeno>(textos, ms, s, 0.001f, 0.3f, 50, 0.5f, 8);
    cfg.SalAna(2).Generador = std::make_unique<TGenRampa>(textos, ms, ms, 300, 0.002f, -5, 5);
    cfg.SalAna(3).Generador = std::make_unique<TGenEscalon>(textos, ms, s, 0.1f, 3, -3);
    auto tabla = std::make_unique<TGenTablaAna>(textos, "t.tba", ms, 0);
    for (int i = 0; i < 1000; ++i)
        tabla->Valores.push_back(float(i % 200) / 20 - 5);
    tabla->NumValores = int(tabla->Valores.size());
    cfg.SalAna(4).Generador = std::move(tabla);
    for (int i = 1; i <= 4; ++i)
        cfg.SalAna(i).Activo = true;
    for (int i = 1; i <= 16; ++i) {
        if (i % 2)
            cfg.SalDig(i).Generador = std::make_unique<TGenTren>(textos, ms, ms, float(i), float(i + 1), 0.0005f);
        else
            cfg.SalDig(i).Generador = std::make_unique<TGenPulso>(textos, std::uint8_t(i % 4 == 0), ms, ms, 0.2f);
        cfg.SalDig(i).Activo = true;
    }
    const int n = 63487;
    for (auto _ : estado) {
        TCjtSenales cjt(textos, inter);
        SenalesDeSalidas(n, cjt, cfg, textos);
        benchmark::DoNotOptimize(cjt.NumAna() + cjt.NumDig());
    }
}
BENCHMARK(SenalesDeSalidasCompleta)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

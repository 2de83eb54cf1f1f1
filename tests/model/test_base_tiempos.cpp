#include "common/interaccion_guion.h"
#include "model/base_tiempos.h"
#include "model/config_es.h"

#include <gtest/gtest.h>
#include <functional>

using namespace qv;
using qv::test::TTextosFijos;

namespace {

struct Caso {
    const char* nombre;
    std::function<void(TConfigES&)> activar;
    int grupos;
    int palabras;
    double minimoMs;
    int minimoMicro;
};

} // namespace

TEST(BaseTiempos, EveryGroupCombination)
{
    const Caso casos[] = {
        {"ninguno", [](TConfigES&) {}, 0, 0, 0.01, 10},
        {"una analogica", [](TConfigES& c) { c.EntAna(3).Activo = true; }, 1, 2, 0.005, 5},
        {"puerto A", [](TConfigES& c) { c.EntDig(1).Activo = c.EntDig(8).Activo = true; }, 1, 1, 0.003, 3},
        {"puerto B", [](TConfigES& c) { c.EntDig(16).Activo = true; }, 1, 1, 0.003, 3},
        {"salida analogica", [](TConfigES& c) { c.SalAna(1).Activo = true; }, 1, 2, 0.017, 17},
        {"puerto W", [](TConfigES& c) { c.SalDig(2).Activo = true; }, 1, 1, 0.017, 17},
        {"dos analogicas", [](TConfigES& c) { c.EntAna(1).Activo = c.EntAna(8).Activo = true; }, 2, 4, 0.016, 16},
        {"puertos A y B", [](TConfigES& c) { c.EntDig(2).Activo = c.EntDig(10).Activo = true; }, 2, 2, 0.006, 6},
        {"analogica y puerto",
         [](TConfigES& c) { c.EntAna(1).Activo = c.EntDig(1).Activo = true; }, 2, 3, 0.024, 24},
        {"analogica y salida",
         [](TConfigES& c) { c.EntAna(1).Activo = c.SalAna(4).Activo = true; }, 2, 4, 0.024, 24},
        {"puerto y salida digital",
         [](TConfigES& c) { c.EntDig(1).Activo = c.SalDig(9).Activo = true; }, 2, 2, 0.024, 24},
        {"dos salidas analogicas", [](TConfigES& c) { c.SalAna(1).Activo = c.SalAna(2).Activo = true; }, 2, 4,
         0.024, 24},
        {"tres analogicas",
         [](TConfigES& c) { c.EntAna(1).Activo = c.EntAna(2).Activo = c.EntAna(3).Activo = true; }, 3, 6,
         0.031, 31},
        {"todo",
         [](TConfigES& c) {
             for (int i = 1; i <= 16; ++i)
                 c.EntDig(i).Activo = c.SalDig(i).Activo = true;
             for (int i = 1; i <= 8; ++i)
                 c.EntAna(i).Activo = true;
             for (int i = 1; i <= 4; ++i)
                 c.SalAna(i).Activo = true;
         },
         16, 28, 0.122, 122},
    };
    for (const Caso& k : casos) {
        TConfigES c;
        k.activar(c);
        EXPECT_EQ(GruposActivos(c).grupos, k.grupos) << k.nombre;
        EXPECT_EQ(PalabrasPorMuestra(c), k.palabras) << k.nombre;
        EXPECT_NEAR(PeriodoMinimo(c), k.minimoMs, 1e-12) << k.nombre;
        EXPECT_EQ(PeriodoMinimoMicro(c), k.minimoMicro) << k.nombre;
        // The boundary of PeriodoValido sits exactly at the minimum.
        c.UnidadPeriodo = Unidad::Micro;
        c.Periodo = k.minimoMicro;
        EXPECT_TRUE(PeriodoValido(c)) << k.nombre;
        c.Periodo = k.minimoMicro - 1;
        EXPECT_FALSE(PeriodoValido(c)) << k.nombre;
        c.Rapida = true;
        EXPECT_TRUE(PeriodoValido(c)) << k.nombre;
    }
}

TEST(BaseTiempos, FlagsOfInputOnlyGroups)
{
    TConfigES c;
    c.EntAna(1).Activo = true;
    c.EntDig(1).Activo = true;
    TGruposActivos g = GruposActivos(c);
    EXPECT_TRUE(g.soloEntAna);
    EXPECT_TRUE(g.soloEntDig);
    c.SalDig(1).Activo = true;
    g = GruposActivos(c);
    EXPECT_FALSE(g.soloEntAna);
    EXPECT_FALSE(g.soloEntDig);
}

TEST(BaseTiempos, PeriodIsRoundedToWholeMicroseconds)
{
    TConfigES c;
    c.EntDig(1).Activo = true;
    c.UnidadPeriodo = Unidad::Mili;
    c.Periodo = 0.003;
    EXPECT_TRUE(PeriodoValido(c));
    c.Periodo = 0.0026; // 2.6 us rounds to 3
    EXPECT_TRUE(PeriodoValido(c));
    c.Periodo = 0.0024;
    EXPECT_FALSE(PeriodoValido(c));
    c.UnidadPeriodo = Unidad::Segundo;
    c.Periodo = 1;
    EXPECT_TRUE(PeriodoValido(c));
}

TEST(BaseTiempos, MemoryCapacity)
{
    TConfigES c;
    c.NumMuestras = 1000000;
    EXPECT_TRUE(CabeEnMemoria(c)); // no channel takes no memory
    c.EntAna(1).Activo = true;
    c.NumMuestras = 31743;
    EXPECT_TRUE(CabeEnMemoria(c));
    c.NumMuestras = 31744;
    EXPECT_FALSE(CabeEnMemoria(c));
    c.NumMuestras = std::numeric_limits<std::int32_t>::max();
    EXPECT_FALSE(CabeEnMemoria(c));
}

class PanelTest : public ::testing::Test {
protected:
    TTextosFijos textos;
    TConfigES cfg;
    TPanelTiempos p;
    void Poner(const QString& mues, int uMues, const QString& ana, int uAna)
    {
        p.tMues = mues;
        p.unidadPeriodo = uMues;
        p.tAna = ana;
        p.unidadAnalisis = uAna;
        RecalcularMuestras(p, cfg, textos);
    }
};

TEST_F(PanelTest, SamplesIncludeTheOneAtTimeZero)
{
    cfg.EntAna(1).Activo = true;
    Poner("1", Unidad::Mili, "1", Unidad::Segundo);
    EXPECT_EQ(cfg.NumMuestras, 1001);
    EXPECT_EQ(p.muestras, "1001");
    EXPECT_EQ(p.aviso, "");
    EXPECT_EQ(cfg.Periodo, 1.0);
    EXPECT_EQ(cfg.UnidadAnalisis, Unidad::Segundo);
    EXPECT_EQ(p.analisisMs, 1000.0);

    Poner("3", Unidad::Mili, "10", Unidad::Mili);
    EXPECT_EQ(cfg.NumMuestras, 4);

    Poner("7", Unidad::Mili, "3", Unidad::Mili); // less than one period
    EXPECT_EQ(cfg.NumMuestras, 0);

    Poner("500", Unidad::Micro, "2", Unidad::Minuto);
    EXPECT_EQ(cfg.NumMuestras, 240001);
    EXPECT_EQ(p.aviso, "T261T263");
}

TEST_F(PanelTest, PeriodAboveTheBoxLimit)
{
    Poner("70000", Unidad::Micro, "1", Unidad::Hora);
    EXPECT_EQ(p.tMues, "65535");
    EXPECT_EQ(cfg.Periodo, 65535.0);
    EXPECT_EQ(cfg.NumMuestras, std::int32_t(3600000 / 65.535) + 1);
}

TEST_F(PanelTest, Warnings)
{
    cfg.EntDig(1).Activo = true;
    Poner("2", Unidad::Micro, "1", Unidad::Mili);
    EXPECT_EQ(p.aviso, "T261T262");
    EXPECT_EQ(cfg.NumMuestras, 501);

    Poner("3", Unidad::Micro, "1", Unidad::Mili);
    EXPECT_EQ(p.aviso, "");

    // 1 s at 10 us is 100000 samples for at most 63486.
    Poner("10", Unidad::Micro, "1", Unidad::Segundo);
    EXPECT_EQ(p.aviso, "T261T263");
    EXPECT_EQ(cfg.NumMuestras, 100001);
}

TEST_F(PanelTest, NoChannelGivesNoWarning)
{
    // No memory limit applies; the period still has the 10 us floor.
    Poner("10", Unidad::Micro, "1", Unidad::Segundo);
    EXPECT_EQ(p.aviso, "");
    EXPECT_EQ(cfg.NumMuestras, 100001);
    Poner("9", Unidad::Micro, "1", Unidad::Segundo);
    EXPECT_EQ(p.aviso, "T261T262");
}

TEST_F(PanelTest, EmptyOrZeroBoxesStoreWhatTheyCan)
{
    cfg.NumMuestras = 77;
    cfg.TiempoAnalisis = 5;
    Poner("4", Unidad::Mili, "", Unidad::Mili);
    EXPECT_EQ(cfg.Periodo, 4.0);
    EXPECT_EQ(cfg.TiempoAnalisis, 5.0);
    EXPECT_EQ(cfg.NumMuestras, 0);
    EXPECT_EQ(p.muestras, "0");

    cfg.Periodo = 9;
    Poner("0", Unidad::Mili, "100", Unidad::Mili);
    EXPECT_EQ(cfg.Periodo, 9.0);
    EXPECT_EQ(cfg.TiempoAnalisis, 100.0);
    EXPECT_EQ(cfg.NumMuestras, 0);
}

TEST_F(PanelTest, ShowingTheConfiguration)
{
    cfg.Periodo = 0.5;
    cfg.UnidadPeriodo = Unidad::Segundo;
    cfg.TiempoAnalisis = 2;
    cfg.UnidadAnalisis = Unidad::Minuto;
    cfg.NumMuestras = 241;
    MostrarTiempos(p, cfg);
    EXPECT_EQ(p.tMues, "0.5");
    EXPECT_EQ(p.tAna, "2");
    EXPECT_EQ(p.muestras, "241");
    EXPECT_EQ(p.unidadPeriodo, Unidad::Segundo);
    EXPECT_EQ(p.unidadAnalisis, Unidad::Minuto);
    EXPECT_EQ(p.periodoMs, 500.0);
    EXPECT_EQ(p.analisisMs, 120000.0);
}

TEST_F(PanelTest, FastModeInTheConfigurationWindow)
{
    cfg.EntAna(1).Activo = true;
    p.rapidaPulsada = true;
    p.aviso = "viejo";
    ModoRapido(p, cfg, TVentanaRapida::Configuracion);
    EXPECT_TRUE(cfg.Rapida);
    EXPECT_FALSE(p.muestreoHabilitado);
    EXPECT_EQ(p.aviso, "");
    EXPECT_EQ(cfg.Periodo, 5.0);
    EXPECT_EQ(cfg.UnidadPeriodo, Unidad::Micro);
    EXPECT_EQ(cfg.TiempoAnalisis, 158.0);
    EXPECT_EQ(cfg.UnidadAnalisis, Unidad::Mili);
    EXPECT_EQ(cfg.NumMuestras, 31601);
    EXPECT_TRUE(CabeEnMemoria(cfg));
    EXPECT_EQ(p.tMues, "5");
    EXPECT_EQ(p.tAna, "158");
    EXPECT_EQ(p.muestras, "31601");

    p.rapidaPulsada = false;
    ModoRapido(p, cfg, TVentanaRapida::Configuracion);
    EXPECT_FALSE(cfg.Rapida);
    EXPECT_TRUE(p.muestreoHabilitado);
    EXPECT_EQ(cfg.Periodo, 5.0);
}

TEST_F(PanelTest, FastModeAboveOneSecondOfAnalysis)
{
    // One digital output byte: c = 0.017 ms over 63486 samples is 1079.262 ms.
    cfg.SalDig(1).Activo = true;
    p.rapidaPulsada = true;
    ModoRapido(p, cfg, TVentanaRapida::Configuracion);
    EXPECT_EQ(cfg.Periodo, 17.0);
    EXPECT_EQ(cfg.TiempoAnalisis, 1079.0);
    EXPECT_EQ(cfg.UnidadAnalisis, Unidad::Mili);
    EXPECT_EQ(cfg.NumMuestras, std::int32_t(1079 / 0.017) + 1);

    TConfigES otra;
    otra.SalDig(1).Activo = true;
    TPanelTiempos q;
    q.rapidaPulsada = true;
    ModoRapido(q, otra, TVentanaRapida::Trigger);
    EXPECT_EQ(otra.TiempoAnalisis, 1.0);
    EXPECT_EQ(otra.UnidadAnalisis, Unidad::Segundo);
    EXPECT_EQ(otra.NumMuestras, std::int32_t(1000 / 0.017) + 1);
    EXPECT_TRUE(CabeEnMemoria(otra));
}

TEST_F(PanelTest, FastModeWithoutChannels)
{
    cfg.Periodo = 3;
    cfg.TiempoAnalisis = 9;
    cfg.NumMuestras = 4;
    p.rapidaPulsada = true;
    ModoRapido(p, cfg, TVentanaRapida::Trigger);
    EXPECT_EQ(cfg.Periodo, 3.0); // the capture dialogs do nothing
    EXPECT_FALSE(cfg.Rapida);
    ModoRapido(p, cfg, TVentanaRapida::Retardo);
    EXPECT_EQ(cfg.NumMuestras, 4);

    ModoRapido(p, cfg, TVentanaRapida::Configuracion);
    EXPECT_FALSE(p.rapidaPulsada);
    EXPECT_EQ(cfg.Periodo, 0.0);
    EXPECT_EQ(cfg.TiempoAnalisis, 0.0);
    EXPECT_EQ(cfg.NumMuestras, 0);
    EXPECT_EQ(p.muestras, "0");
    EXPECT_TRUE(p.muestreoHabilitado);
}

TEST_F(PanelTest, FastModeInTheTriggerDialogs)
{
    cfg.EntAna(1).Activo = true;
    p.rapidaPulsada = true;
    ModoRapido(p, cfg, TVentanaRapida::Trigger);
    EXPECT_EQ(cfg.Periodo, 6.0);
    EXPECT_EQ(cfg.TiempoAnalisis, 190.0);
    EXPECT_EQ(cfg.NumMuestras, 31667);

    TConfigES dig;
    dig.EntDig(9).Activo = true;
    TPanelTiempos q;
    q.rapidaPulsada = true;
    ModoRapido(q, dig, TVentanaRapida::Trigger);
    EXPECT_EQ(dig.Periodo, 4.0);
    EXPECT_EQ(dig.TiempoAnalisis, 253.0);
    EXPECT_EQ(dig.NumMuestras, 63251);

    // Released with one group: back to 50 us, 50 ms, 1000 samples.
    p.rapidaPulsada = false;
    ModoRapido(p, cfg, TVentanaRapida::Trigger);
    EXPECT_FALSE(cfg.Rapida);
    EXPECT_TRUE(p.muestreoHabilitado);
    EXPECT_EQ(cfg.Periodo, 50.0);
    EXPECT_EQ(cfg.UnidadPeriodo, Unidad::Micro);
    EXPECT_EQ(cfg.TiempoAnalisis, 50.0);
    EXPECT_EQ(cfg.UnidadAnalisis, Unidad::Mili);
    EXPECT_EQ(cfg.NumMuestras, 1000);
    EXPECT_EQ(p.tMues, "50");

    // With two groups the fast time base stays.
    cfg.EntAna(2).Activo = true;
    p.rapidaPulsada = true;
    ModoRapido(p, cfg, TVentanaRapida::Trigger);
    EXPECT_EQ(cfg.Periodo, 16.0);
    p.rapidaPulsada = false;
    ModoRapido(p, cfg, TVentanaRapida::Trigger);
    EXPECT_EQ(cfg.Periodo, 16.0);
    EXPECT_FALSE(cfg.Rapida);
}

TEST_F(PanelTest, FastModeInTheDelayDialog)
{
    cfg.EntAna(1).Activo = true;
    p.rapidaPulsada = true;
    ModoRapido(p, cfg, TVentanaRapida::Retardo);
    EXPECT_EQ(cfg.Periodo, 5.0);
    EXPECT_EQ(cfg.TiempoAnalisis, 158.0);
    EXPECT_LE(2 * cfg.NumMuestras, Capacidad);
    EXPECT_EQ(cfg.NumMuestras, 31601);
}

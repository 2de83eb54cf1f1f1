// Automatic measurements and the spectrum, checked against values worked out here
// another way: closed forms of the waveforms, plain loops in long double, a direct DFT.
#include "common/interaccion_guion.h"
#include "model/espectro.h"
#include "model/generadores.h"
#include "model/medidas.h"
#include "model/senales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

using namespace qv;

namespace {

constexpr double Pi = std::numbers::pi;

std::vector<float> Muestras(int n, const std::function<double(int)>& f)
{
    std::vector<float> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        x[std::size_t(i)] = float(f(i));
    return x;
}

// Mean, RMS and standard deviation of the stored values, summed in long double.
struct TMomentos {
    long double media = 0, rms = 0, desviacion = 0;
    explicit TMomentos(const std::vector<float>& x)
    {
        long double s = 0, s2 = 0;
        for (float v : x) {
            s += v;
            s2 += (long double)v * v;
        }
        const long double n = x.size();
        media = s / n;
        rms = std::sqrt(s2 / n);
        desviacion = std::sqrt(s2 / n - media * media);
    }
};

void Cerca(const std::optional<double>& v, double esperado, double tolerancia, const char* que)
{
    ASSERT_TRUE(v.has_value()) << que;
    EXPECT_NEAR(*v, esperado, tolerancia) << que;
}

} // namespace

TEST(Medidas, SenoCuadradaRampaYSenoConRuido)
{
    struct TCaso {
        const char* nombre;
        std::vector<float> x;
        double periodo, frecuencia, subida, bajada; // < 0: none
        double toleranciaFlanco;                    // relative
    };
    // 10-90 % of a sine: from asin(-0.8) to asin(0.8) of its phase.
    auto flanco = [](double f, double nivel = 0.8) { return 2 * std::asin(nivel) / (2 * Pi * f); };
    std::mt19937 azar(21);
    std::uniform_real_distribution<double> ruido(-0.05, 0.05);
    const std::vector<TCaso> casos = {
        // 2 V amplitude on 0.5 V, 50 Hz, 200 samples per period, 50 periods.
        {"seno", Muestras(10000, [](int i) { return 0.5 + 2 * std::sin(2 * Pi * 50 * i * 1e-4); }), 1e-4, 50,
         flanco(50), flanco(50), 1e-3},
        // 0 / 5 V, 100 Hz, 30 % high: each edge crosses 10-90 % within one sample.
        {"cuadrada", Muestras(10000, [](int i) { return i % 100 < 30 ? 5.0 : 0.0; }), 1e-4, 100, 0.8e-4, 0.8e-4, 1e-9},
        // One rise from -3 to 7 over 1000 periods: no fall and no frequency.
        {"rampa", Muestras(1001, [](int i) { return -3 + i * 0.01; }), 1e-3, -1, 0.8, -1, 1e-5},
        // The noise crosses the mid level many times on every edge; hysteresis keeps one.
        // With +-0.05 of it the levels are those of a sine 1.05 high.
        {"seno con ruido", Muestras(20000, [&](int i) { return std::sin(2 * Pi * 37 * i / 5000.0) + ruido(azar); }),
         2e-4, 37, flanco(37, 0.84), flanco(37, 0.84), 0.1},
        // A period and a half: both edges, but one crossing in each direction.
        {"seno corto", Muestras(300, [](int i) { return std::sin(2 * Pi * i / 200.0); }), 1e-3, -1, flanco(5),
         flanco(5), 1e-3},
        {"constante", std::vector<float>(50, 1.25f), 1e-3, -1, -1, -1, 0},
    };
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.nombre);
        const TValoresMedida v = MedirAna(c.x.data(), int(c.x.size()), c.periodo);
        const auto [mn, mx] = std::minmax_element(c.x.begin(), c.x.end());
        Cerca(v[TMedida::Minimo], *mn, 0, "min");
        Cerca(v[TMedida::Maximo], *mx, 0, "max");
        Cerca(v[TMedida::PicoPico], double(*mx) - *mn, 1e-12, "pp");
        const TMomentos m(c.x);
        Cerca(v[TMedida::Media], double(m.media), 1e-9, "media");
        Cerca(v[TMedida::RMS], double(m.rms), 1e-9, "rms");
        Cerca(v[TMedida::Desviacion], double(m.desviacion), 1e-7, "desviacion");
        if (c.frecuencia < 0) {
            EXPECT_FALSE(v[TMedida::Frecuencia] || v[TMedida::Periodo]);
        } else {
            Cerca(v[TMedida::Frecuencia], c.frecuencia, c.frecuencia * 1e-3, "frecuencia");
            Cerca(v[TMedida::Periodo], 1 / c.frecuencia, 1e-3 / c.frecuencia, "periodo");
        }
        for (auto [medida, esperado] : {std::pair{TMedida::Subida, c.subida}, std::pair{TMedida::Bajada, c.bajada}}) {
            if (esperado < 0)
                EXPECT_FALSE(v[medida]);
            else
                Cerca(v[medida], esperado, esperado * c.toleranciaFlanco,
                      medida == TMedida::Subida ? "subida" : "bajada");
        }
    }
    EXPECT_TRUE(MedirAna(nullptr, 0, 1e-3).v == TValoresMedida{}.v);
}

TEST(Medidas, SenalDigital)
{
    // High on samples 5 to 14 of every 40: 12 whole periods, then 485 to 489 high;
    // 13 rises and 12 falls.
    std::vector<std::uint8_t> d(490);
    for (std::size_t i = 0; i < d.size(); ++i)
        d[i] = (i + 35) % 40 < 10 ? 1 : 0;
    const TValoresMedida v = MedirDig(d.data(), int(d.size()), 0.5e-3);
    Cerca(v[TMedida::Ciclo], 100.0 * (12 * 10 + 5) / 490, 1e-12, "ciclo");
    Cerca(v[TMedida::Flancos], 25, 0, "flancos");
    Cerca(v[TMedida::Frecuencia], 1 / (40 * 0.5e-3), 1e-9, "frecuencia");
}

TEST(Medidas, TablaSobreUnIntervaloDeTiempo)
{
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TCjtSenales s(textos, inter);
    auto a = std::make_unique<TSenalAna>(textos, QStringLiteral("A"), true, nullptr, nullptr, 0, 0.01, 100);
    for (int i = 0; i < 100; ++i)
        a->PonerMuestra(i, float(i));
    s.AnadirAna(std::move(a));
    auto d = std::make_unique<TSenalDig>(QStringLiteral("D"), true, nullptr, nullptr, 0, 0.02, 10);
    d->PonerMuestra(3, 1);
    s.AnadirDig(std::move(d));

    TAnalizadorEspectro espectro;
    // 0.095 s to 0.3 s: samples 10 to 30 of A (their time limits included), 5 to 9 of D.
    const TTablaMedidas t = TablaMedidas(s, {}, ColumnasTodas(), 0.095, 0.3, &espectro);
    ASSERT_EQ(t.filas.size(), 2u);
    EXPECT_EQ(t.filas[0].muestras, 21);
    EXPECT_EQ(*t.filas[0].valores[TMedida::Minimo], 10);
    EXPECT_EQ(*t.filas[0].valores[TMedida::Maximo], 30);
    EXPECT_EQ(t.filas[1].muestras, 5);
    EXPECT_EQ(*t.filas[1].valores[TMedida::Ciclo], 0);
    EXPECT_FALSE(t.filas[1].valores[TMedida::Minimo]);
    // A span after every sample measures nothing.
    const TTablaMedidas fuera = TablaMedidas(s, {QStringLiteral("D")}, ColumnasDig(), 5, 6);
    ASSERT_EQ(fuera.filas.size(), 1u);
    EXPECT_EQ(fuera.filas[0].muestras, 0);
    EXPECT_TRUE(fuera.filas[0].valores.v == TValoresMedida{}.v);
    // Text: header, names left, numbers right-aligned, blank cells for missing values.
    const QStringList lineas = t.Texto(textos).split(QLatin1Char('\n'));
    EXPECT_TRUE(lineas[0].startsWith(QStringLiteral("T410  T411     T412")));
    EXPECT_EQ(lineas[1].indexOf(QStringLiteral("10")) + 2, lineas[0].indexOf(QStringLiteral("T412")) + 4);
    EXPECT_TRUE(lineas[2].startsWith(QStringLiteral("D ")));
    EXPECT_EQ(lineas[2].size(), lineas[0].indexOf(QStringLiteral("T423")) + 4); // flancos last
}

// The demo's 5 V, 2 Hz sine over 1 s: two periods are enough for its frequency, its
// mean is 0 and not the rounding of its sum, while a true offset of a few counts stays.
TEST(Medidas, DosPeriodosYUnaMediaNula)
{
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TCjtSenales s(textos, inter);
    for (double desvio : {0.0, 0.02}) {
        auto a = std::make_unique<TSenalAna>(textos, desvio == 0 ? QStringLiteral("A") : QStringLiteral("B"), true,
                                             nullptr, nullptr, 0, 1e-3, 1001);
        a->FondoEscala = 10;
        for (int i = 0; i < 1001; ++i)
            a->PonerMuestra(i, float(desvio + 5 * std::sin(2 * Pi * 2 * i * 1e-3)));
        s.AnadirAna(std::move(a));
    }
    const TTablaMedidas t = TablaMedidas(s, {QStringLiteral("A"), QStringLiteral("B")}, ColumnasAna());
    ASSERT_EQ(t.filas.size(), 2u);
    for (const TFilaMedidas& f : t.filas) {
        SCOPED_TRACE(f.senal.toStdString());
        ASSERT_TRUE(f.valores[TMedida::Frecuencia]);
        EXPECT_NEAR(*f.valores[TMedida::Frecuencia], 2, 1e-3);
        EXPECT_NEAR(*f.valores[TMedida::Periodo], 0.5, 1e-3);
    }
    EXPECT_EQ(t.filas[0].valores[TMedida::Media], 0.0);
    EXPECT_EQ(t.Celda(t.filas[0], 2, 6), QStringLiteral("0"));
    EXPECT_NEAR(*t.filas[1].valores[TMedida::Media], 0.02, 1e-4);
    // An output's forced last sample (its rest level) is no part of its measurements.
    TGenSeno seno(textos, QStringLiteral("s"), QStringLiteral("s"), 0, 0, 2, 3, 1);
    auto salida = std::make_unique<TSenalAna>(textos, QStringLiteral("O"), false, nullptr, &seno, 0, 1e-3, 1001);
    for (int i = 0; i < 1000; ++i)
        salida->PonerMuestra(i, seno.Valor(i * 1e-3));
    salida->PonerMuestra(1000, 0);
    s.AnadirAna(std::move(salida));
    const TTablaMedidas o = TablaMedidas(s, {QStringLiteral("O")}, ColumnasAna());
    EXPECT_EQ(o.filas[0].muestras, 1000);
    EXPECT_NEAR(*o.filas[0].valores[TMedida::Minimo], 2, 1e-3);
    // One period and a half from a rising start: one crossing each way, no frequency.
    const std::vector<float> corto = Muestras(300, [](int i) { return std::sin(2 * Pi * i / 200.0); });
    EXPECT_FALSE(MedirAna(corto.data(), 300, 1e-3)[TMedida::Frecuencia]);
}

TEST(Espectro, CoincideConLaDftDirectaEnCadaVentana)
{
    // Each window written here in another form than the analyser's cosine sums.
    const std::vector<std::pair<TVentanaFFT, std::function<double(double)>>> ventanas = {
        {TVentanaFFT::Rectangular, [](double) { return 1.0; }},
        {TVentanaFFT::Hann, [](double u) { return std::pow(std::sin(Pi * u), 2); }},
        {TVentanaFFT::Hamming, [](double u) { return 0.08 + 0.92 * std::pow(std::sin(Pi * u), 2); }},
        {TVentanaFFT::BlackmanHarris,
         [](double u) {
             return 0.35875 - 0.48829 * std::cos(2 * Pi * u) + 0.14128 * std::cos(4 * Pi * u) -
                    0.01168 * std::cos(6 * Pi * u);
         }},
    };
    std::mt19937 azar(5);
    std::uniform_real_distribution<float> valor(-2, 3);
    TAnalizadorEspectro analizador;
    for (int n : {64, 101}) {
        std::vector<float> x(static_cast<std::size_t>(n));
        for (float& v : x)
            v = valor(azar);
        // The window spans the n values; the transform the next power of two.
        const int N = n == 64 ? 64 : 128;
        for (const auto& [tipo, w] : ventanas) {
            const TEspectro e = analizador.Calcular(x.data(), n, 0.01, tipo);
            ASSERT_EQ(e.magnitud.size(), std::size_t(N / 2 + 1));
            EXPECT_DOUBLE_EQ(e.resolucion, 100.0 / N);
            double suma = 0;
            for (int i = 0; i < n; ++i)
                suma += w(double(i) / n);
            for (int k = 0; k <= N / 2; ++k) {
                double re = 0, im = 0;
                for (int i = 0; i < n; ++i) {
                    re += x[i] * w(double(i) / n) * std::cos(2 * Pi * k * i / N);
                    im -= x[i] * w(double(i) / n) * std::sin(2 * Pi * k * i / N);
                }
                const double lados = (k == 0 || 2 * k == N) ? 1 : 2;
                ASSERT_NEAR(e.magnitud[std::size_t(k)], lados * std::hypot(re, im) / suma, 1e-9) << n << " bin " << k;
            }
        }
    }
}

TEST(Espectro, DosTonosYFrecuenciaDominante)
{
    // 4095 samples at 1 kHz; tones off the bins, 12.04 dB apart.
    const int n = 4095;
    const double f1 = 123.4, f2 = 310.7;
    const auto x = Muestras(n, [&](int i) {
        return std::sin(2 * Pi * f1 * i / 1000) + 0.25 * std::cos(2 * Pi * f2 * i / 1000);
    });
    TAnalizadorEspectro analizador;
    for (TVentanaFFT v : {TVentanaFFT::Hann, TVentanaFFT::Hamming, TVentanaFFT::BlackmanHarris}) {
        const TEspectro e = analizador.Calcular(x.data(), n, 1e-3, v);
        EXPECT_NEAR(e.Frecuencia(int(e.magnitud.size()) - 1), 500, e.resolucion);
        const auto picos = e.Picos(3, 1);
        ASSERT_EQ(picos.size(), 3u);
        EXPECT_LE(std::abs(picos[0].bin - f1 / e.resolucion), 1);
        EXPECT_LE(std::abs(picos[1].bin - f2 / e.resolucion), 1);
        EXPECT_NEAR(picos[0].frecuencia, f1, e.resolucion / 4);
        EXPECT_NEAR(TEspectro::DB(picos[0].nivel) - TEspectro::DB(picos[1].nivel), 20 * std::log10(4.0), 0.5);
        EXPECT_NEAR(picos[0].nivel, 1, 0.05);
        // Far below them what leaks.
        EXPECT_LT(picos[2].nivel, 0.04);
    }
    EXPECT_NEAR(*FrecuenciaDominante(analizador, x.data(), n, 1e-3), f1, 0.1);
    // A square wave high 30 % of the time on a large level: its fundamental, not the level.
    const auto q = Muestras(2000, [](int i) { return i % 50 < 15 ? 9.0 : 8.0; });
    EXPECT_NEAR(*FrecuenciaDominante(analizador, q.data(), 2000, 1e-4), 200, 0.5);
    EXPECT_FALSE(FrecuenciaDominante(analizador, std::vector<float>(100, 3.0f).data(), 100, 1e-4));
    EXPECT_TRUE(analizador.Calcular(x.data(), 1, 1e-3).Vacio());
}

#include "common/interaccion_guion.h"
#include "model/errores.h"
#include "model/fft.h"
#include "model/senales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <set>

using namespace qv;
using qv::test::TTextosFijos;

namespace {

using Complejo = std::complex<double>;

std::vector<Complejo> Dft(const std::vector<Complejo>& x, int signo)
{
    const std::size_t n = x.size();
    std::vector<Complejo> X(n);
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t j = 0; j < n; ++j)
            X[k] += x[j] * std::polar(1.0, signo * 2 * std::numbers::pi * double(k * j) / double(n));
    return X;
}

// What the filter must give: the direct transform of the zero-padded samples with
// only the listed bins kept, transformed back and scaled by 1/N.
std::vector<double> Esperado(const std::vector<float>& m, std::size_t N, const std::set<int>& conservados)
{
    std::vector<Complejo> x(N);
    for (std::size_t i = 0; i < m.size(); ++i)
        x[i] = m[i];
    auto X = Dft(x, -1);
    for (std::size_t k = 0; k < N; ++k)
        if (!conservados.count(int(k)))
            X[k] = 0;
    auto y = Dft(X, +1);
    std::vector<double> r(m.size());
    for (std::size_t i = 0; i < m.size(); ++i)
        r[i] = y[i].real() / double(N);
    return r;
}

std::vector<float> Senal(int n)
{
    // Several frequencies so that every bin has energy.
    std::vector<float> m(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        m[std::size_t(i)] = float(1.5 + std::sin(0.7 * i) + 0.5 * std::cos(2.9 * i) + ((i * 37) % 11) / 10.0);
    return m;
}

std::vector<float> Filtrar(TFFT& fft, const std::vector<float>& m, int tipo, double fb, double fa, double r)
{
    TTextosFijos t;
    TSenalAna s(t, "s", false, nullptr, nullptr, 0, 1, std::uint16_t(m.size()));
    for (std::size_t i = 0; i < m.size(); ++i)
        s.PonerMuestra(int(i), m[i]);
    fft.FiltrarFFT(s, tipo, fb, fa, r);
    return s.Muestras();
}

void Comparar(const std::vector<float>& r, const std::vector<double>& e, const char* caso)
{
    ASSERT_EQ(r.size(), e.size()) << caso;
    for (std::size_t i = 0; i < r.size(); ++i)
        EXPECT_NEAR(r[i], e[i], 1e-5) << caso << " sample " << i;
}

std::set<int> Rango(int desde, int hasta)
{
    std::set<int> s;
    for (int i = desde; i <= hasta; ++i)
        s.insert(i);
    return s;
}

std::set<int> Union(std::set<int> a, const std::set<int>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

} // namespace

// N = 16, R = 16: kL = FrecBaja, kH = FrecAlta. Kept bins written out by hand.
TEST(FiltroFFT, EachBinRuleAgainstADirectTransform)
{
    TFFT fft;
    const auto m = Senal(16);
    Comparar(Filtrar(fft, m, 0, 3, 5, 16), Esperado(m, 16, Rango(3, 13)), "high-pass");
    Comparar(Filtrar(fft, m, 1, 3, 5, 16), Esperado(m, 16, Union(Rango(0, 5), Rango(11, 15))), "low-pass");
    Comparar(Filtrar(fft, m, 2, 3, 5, 16), Esperado(m, 16, Union(Rango(3, 5), Rango(11, 13))), "band-pass");
    auto paraBanda = Rango(0, 15);
    paraBanda.erase(4);
    paraBanda.erase(12);
    Comparar(Filtrar(fft, m, 3, 3, 5, 16), Esperado(m, 16, paraBanda), "band-stop");
    // An unknown type keeps every bin: the samples come back (to rounding).
    Comparar(Filtrar(fft, m, 7, 3, 5, 16), Esperado(m, 16, Rango(0, 15)), "none");
}

TEST(FiltroFFT, PadsToThePowerOfTwoAndScalesTheCutBins)
{
    TFFT fft;
    // 12 samples -> N = 16; with R = 32 the bins are N x f / R = f / 2 (integer part).
    const auto m = Senal(12);
    Comparar(Filtrar(fft, m, 1, 0, 5, 32), Esperado(m, 16, Union(Rango(0, 2), Rango(14, 15))), "low-pass 12");
    // Band-stop on 8 samples with kL 1, kH 4: bins 2 and 3 go, and so do their mirrors 5 and 6.
    const auto m8 = Senal(8);
    Comparar(Filtrar(fft, m8, 3, 1, 4, 8), Esperado(m8, 8, {0, 1, 4, 7}), "band-stop 8");
    // 2 samples is the smallest transform.
    const std::vector<float> dos{1, 3};
    Comparar(Filtrar(fft, dos, 1, 0, 0, 1), {2, 2}, "two samples");
}

TEST(FiltroFFT, LowPassAtZeroKeepsTheMean)
{
    TFFT fft;
    std::vector<float> m{1, 2, 3, 4, 5, 6, 7, 8};
    for (float x : Filtrar(fft, m, 1, 0, 0, 7))
        EXPECT_NEAR(x, 4.5f, 1e-6);
    // Padding counts in the mean: 3 samples are filtered as 4.
    for (float x : Filtrar(fft, {3, 3, 6}, 1, 0, 0, 2))
        EXPECT_NEAR(x, 3.0f, 1e-6);
}

TEST(FiltroFFT, TooShortSignalsFailCleanly)
{
    TFFT fft;
    TTextosFijos t;
    TSenalAna uno(t, "s", false, nullptr, nullptr, 0, 1, 1);
    uno.PonerMuestra(0, 5);
    EXPECT_THROW(fft.FiltrarFFT(uno, 1, 0, 1, 1), EErrorCalculo);
    EXPECT_EQ(uno.LeerMuestra(0), 5);
    TSenalAna vacia(t, "v", false, nullptr, nullptr, 0, 1, 0);
    EXPECT_THROW(fft.FiltrarFFT(vacia, 1, 0, 1, 1), EErrorCalculo);
}

// Taking the mean away from [M, -M, -M, -M] gives 1.5 M, beyond single precision: an
// infinity must not reach the signal (and from there a file or the unit).
TEST(FiltroFFT, ResultsBeyondSinglePrecisionFailAndLeaveTheSignal)
{
    TFFT fft;
    TTextosFijos t;
    const float M = std::numeric_limits<float>::max();
    TSenalAna s(t, "s", false, nullptr, nullptr, 0, 1, 4);
    const std::vector<float> m{M, -M, -M, -M};
    for (int i = 0; i < 4; ++i)
        s.PonerMuestra(i, m[std::size_t(i)]);
    EXPECT_THROW(fft.FiltrarFFT(s, 0, 1, 0, 4), EErrorCalculo);
    EXPECT_EQ(s.Muestras(), m);
}

TEST(FiltroFFT, CutBinsAreUnsigned16BitAndZeroWhenNotComputable)
{
    EXPECT_EQ(TFFT::IndiceCorte(16, 5, 16), 5);
    EXPECT_EQ(TFFT::IndiceCorte(16, 5.99, 16), 5);
    EXPECT_EQ(TFFT::IndiceCorte(65536, 65537, 65536), 1);
    EXPECT_EQ(TFFT::IndiceCorte(16, 1, 0), 0);
    EXPECT_EQ(TFFT::IndiceCorte(16, 0, 0), 0);
    EXPECT_EQ(TFFT::IndiceCorte(16, std::nan(""), 1), 0);
    EXPECT_EQ(TFFT::IndiceCorte(16, 1e300, 1e-300), 0);
    // A cut beyond the size: the high-pass rule then clears the whole upper half too.
    TFFT fft;
    for (float x : Filtrar(fft, Senal(8), 0, 100, 0, 8))
        EXPECT_NEAR(x, 0, 1e-6);
}

TEST(FiltroFFT, CachedPlansGiveTheSameResultsAcrossSizes)
{
    TFFT fft;
    const auto a = Senal(64), b = Senal(100);
    const auto ra = Filtrar(fft, a, 2, 2, 9, 64);
    const auto rb = Filtrar(fft, b, 2, 2, 9, 64);
    EXPECT_EQ(Filtrar(fft, a, 2, 2, 9, 64), ra);
    EXPECT_EQ(Filtrar(fft, b, 2, 2, 9, 64), rb);
    TFFT nuevo;
    EXPECT_EQ(Filtrar(nuevo, b, 2, 2, 9, 64), rb);
}

// The frequency filter the main window offers the operations.
#include "principal_prueba.h"

#include <cmath>
#include <numbers>

namespace qv::test {
namespace {

class FiltroFFT : public PrincipalPrueba {
protected:
    // 1 Hz plus 100 Hz, 1024 samples over one second: R = n - 1 as the operations pass it.
    std::unique_ptr<TSenalAna> Mezcla(int n = 1024, double continua = 0.0)
    {
        auto s = std::make_unique<TSenalAna>(textos, QStringLiteral("x"), false, nullptr, nullptr, 0,
                                             1.0 / n, std::uint16_t(n));
        for (int i = 0; i < n; ++i) {
            const double t = double(i) / n;
            s->PonerMuestra(i, float(continua + std::sin(2 * std::numbers::pi * t)
                                     + std::sin(2 * std::numbers::pi * 100 * t)));
        }
        return s;
    }
    static double ErrorMaximo(const TSenalAna& s, const std::function<double(double)>& f)
    {
        double e = 0;
        for (int i = 0; i < s.NumMuestras(); ++i)
            e = std::max(e, std::abs(s.LeerMuestra(i) - f(double(i) / s.NumMuestras())));
        return e;
    }
};

TEST_F(FiltroFFT, PasoBajoYPasoAlto)
{
    Crear(false);
    auto bajo = Mezcla();
    ventana->FiltrarFFT(*bajo, 1, 0, 10, 1024);
    EXPECT_LT(ErrorMaximo(*bajo, [](double t) { return std::sin(2 * std::numbers::pi * t); }), 1e-3);

    auto alto = Mezcla(1024, 2.0);
    ventana->FiltrarFFT(*alto, 0, 10, 0, 1024);
    EXPECT_LT(ErrorMaximo(*alto, [](double t) { return std::sin(2 * std::numbers::pi * 100 * t); }), 1e-3);
}

TEST_F(FiltroFFT, BandaEliminadaYLongitudNoPotenciaDeDos)
{
    Crear(false);
    auto s = Mezcla();
    ventana->FiltrarFFT(*s, 3, 50, 200, 1024);
    EXPECT_LT(ErrorMaximo(*s, [](double t) { return std::sin(2 * std::numbers::pi * t); }), 1e-3);

    // 1000 samples are padded to 1024; only the 1000 samples are written back, all finite.
    auto corta = Mezcla(1000);
    ventana->FiltrarFFT(*corta, 2, 2, 50, 999);
    for (int i = 0; i < corta->NumMuestras(); ++i)
        ASSERT_TRUE(std::isfinite(corta->LeerMuestra(i)));
}

TEST_F(FiltroFFT, ReferenciaNulaNoRompeNada)
{
    Crear(false);
    // N x f / 0 fails: both cut indices are 0, so a low-pass keeps only the mean.
    auto s = Mezcla(1024, 1.5);
    ventana->FiltrarFFT(*s, 1, 10, 10, 0.0);
    EXPECT_LT(ErrorMaximo(*s, [](double) { return 1.5; }), 1e-3);
    // One sample: nothing to transform, the sample stays.
    auto uno = std::make_unique<TSenalAna>(textos, QStringLiteral("u"), false, nullptr, nullptr, 0, 1.0, 1);
    uno->PonerMuestra(0, 3.0f);
    ventana->FiltrarFFT(*uno, 1, 0, 0, 1);
    EXPECT_EQ(uno->LeerMuestra(0), 3.0f);
}

} // namespace
} // namespace qv::test

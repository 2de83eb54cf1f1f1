// The frequency filter of the state, as the analog calculator reaches it from the main window.
#include "principal_prueba.h"

#include "model/errores.h"

#include <cmath>
#include <numbers>

namespace qv::test {
namespace {

using FiltroFFT = PrincipalPrueba;

TEST_F(FiltroFFT, PasoBajoDesdeLaVentanaPrincipal)
{
    Crear(false);
    // 1 Hz plus 100 Hz over one second; the low-pass at 10 Hz leaves the 1 Hz sine.
    const int n = 1024;
    TSenalAna s(textos, QStringLiteral("x"), false, nullptr, nullptr, 0, 1.0 / n, n);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / n;
        s.PonerMuestra(i, float(std::sin(2 * std::numbers::pi * t) + std::sin(2 * std::numbers::pi * 100 * t)));
    }
    TFFT& fft = ventana->Estado().FFT2;
    fft.FiltrarFFT(s, 1, 0, 10, n);
    double error = 0;
    for (int i = 0; i < n; ++i)
        error = std::max(error, std::abs(s.LeerMuestra(i) - std::sin(2 * std::numbers::pi * i / n)));
    EXPECT_LT(error, 1e-3);

    // Too short to transform: reported to the caller, the sample untouched.
    TSenalAna uno(textos, QStringLiteral("u"), false, nullptr, nullptr, 0, 1.0, 1);
    uno.PonerMuestra(0, 3.0f);
    EXPECT_THROW(fft.FiltrarFFT(uno, 1, 0, 0, 1), EErrorCalculo);
    EXPECT_EQ(uno.LeerMuestra(0), 3.0f);
}

} // namespace
} // namespace qv::test

// The frequency filter of the operations: the main window holds the transform.
#include "app/ventana_principal.h"

#include "model/senales.h"

#include <fftw3.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <vector>

namespace qv {

namespace {

// Bin index of a cut frequency: N x f / R as an unsigned 16-bit value; a computation
// that fails (R zero, not a number, out of range) gives 0.
std::uint16_t IndiceCorte(std::size_t n, double frecuencia, double referencia)
{
    const double k = double(n) * frecuencia / referencia;
    if (!std::isfinite(k) || k < 0 || k >= 4294967296.0)
        return 0;
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(k) & 0xFFFFu);
}

bool Anular(int tipo, std::size_t i, std::size_t n, std::size_t kL, std::size_t kH)
{
    const std::size_t h = n / 2;
    // Indices are compared as signed values: N - k may be negative for large k.
    const long long I = static_cast<long long>(i), N = static_cast<long long>(n);
    const long long L = static_cast<long long>(kL), H = static_cast<long long>(kH),
                    M = static_cast<long long>(h);
    const bool altos = (L > I && I < M) || (I >= M && I > N - L);
    const bool bajos = (H < I && I < M) || (M <= I && I < N - H);
    switch (tipo) {
    case 0: return altos;
    case 1: return bajos;
    case 2: return bajos || altos;
    case 3: return (L < I && I < H && I < M) || (M <= I && N - H < I && I < N - L);
    default: return false;
    }
}

} // namespace

void TfrmPrincipal::FiltrarFFT(TSenalAna& senal, int tipoFiltro, double frecBaja, double frecAlta,
                               double referencia)
{
    const std::size_t n = senal.NumMuestras();
    std::size_t N = 1;
    while (N < n)
        N <<= 1;
    // The transform refuses sizes below 2: such a signal is left as it is.
    if (N < 2)
        return;

    std::vector<std::complex<double>> buffer(N);
    for (std::size_t i = 0; i < n; ++i)
        buffer[i] = double(senal.LeerMuestra(int(i)));
    // std::complex<double> has the layout of fftw_complex.
    auto* datos = reinterpret_cast<fftw_complex*>(buffer.data());
    fftw_plan ida = fftw_plan_dft_1d(int(N), datos, datos, FFTW_FORWARD, FFTW_ESTIMATE);
    fftw_plan vuelta = fftw_plan_dft_1d(int(N), datos, datos, FFTW_BACKWARD, FFTW_ESTIMATE);
    fftw_execute(ida);

    const std::size_t kL = IndiceCorte(N, frecBaja, referencia);
    const std::size_t kH = IndiceCorte(N, frecAlta, referencia);
    for (std::size_t i = 0; i < N; ++i)
        if (Anular(tipoFiltro, i, N, kL, kH))
            buffer[i] = 0.0;

    fftw_execute(vuelta);
    fftw_destroy_plan(ida);
    fftw_destroy_plan(vuelta);
    for (std::size_t i = 0; i < n; ++i)
        senal.PonerMuestra(int(i), float(buffer[i].real() / double(N)));
}

} // namespace qv

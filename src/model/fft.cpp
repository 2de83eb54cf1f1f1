#include "model/fft.h"

#include "model/errores.h"
#include "model/senales.h"

#include <fftw3.h>

#include <cmath>
#include <new>

namespace qv {

std::mutex& CerrojoPlanesFFTW()
{
    static std::mutex cerrojo;
    return cerrojo;
}

struct TFFT::TPlan {
    explicit TPlan(int n) : n(n)
    {
        const std::lock_guard cerrado(CerrojoPlanesFFTW());
        datos = fftw_alloc_complex(std::size_t(n));
        if (!datos)
            throw std::bad_alloc();
        ida = fftw_plan_dft_1d(n, datos, datos, FFTW_FORWARD, FFTW_ESTIMATE);
        vuelta = fftw_plan_dft_1d(n, datos, datos, FFTW_BACKWARD, FFTW_ESTIMATE);
        if (!ida || !vuelta) {
            Destruir();
            throw EErrorCalculo(QStringLiteral("No se puede preparar la transformada de %1 puntos").arg(n));
        }
    }
    ~TPlan()
    {
        const std::lock_guard cerrado(CerrojoPlanesFFTW());
        Destruir();
    }
    TPlan(const TPlan&) = delete;
    TPlan& operator=(const TPlan&) = delete;

    void Destruir()
    {
        if (ida)
            fftw_destroy_plan(ida);
        if (vuelta)
            fftw_destroy_plan(vuelta);
        if (datos)
            fftw_free(datos);
        ida = vuelta = nullptr;
        datos = nullptr;
    }

    int n;
    fftw_complex* datos = nullptr;
    fftw_plan ida = nullptr;
    fftw_plan vuelta = nullptr;
};

TFFT::TFFT() = default;
TFFT::~TFFT() = default;

TFFT::TPlan& TFFT::Plan(int n)
{
    auto& p = planes_[n];
    if (!p)
        p = std::make_unique<TPlan>(n);
    return *p;
}

std::uint16_t TFFT::IndiceCorte(std::int64_t n, double frecuencia, double referencia)
{
    const double k = double(n) * frecuencia / referencia;
    // Not a number, an infinity or a value no integer type holds: the computation failed.
    if (!std::isfinite(k) || k <= -9.2e18 || k >= 9.2e18)
        return 0;
    return std::uint16_t(std::uint64_t(std::int64_t(k)) & 0xFFFFu);
}

bool TFFT::BinAnulado(int tipo, std::int64_t i, std::int64_t n, std::int64_t kL, std::int64_t kH)
{
    const std::int64_t h = n / 2;
    // Signed: N - k goes below zero for cut bins beyond the size.
    const bool bajos = (i < kL && i < h) || (i >= h && i > n - kL);
    const bool altos = (kH < i && i < h) || (h <= i && i < n - kH);
    switch (tipo) {
    case 0: return bajos;
    case 1: return altos;
    case 2: return altos || bajos;
    case 3: return (kL < i && i < kH && i < h) || (h <= i && n - kH < i && i < n - kL);
    default: return false;
    }
}

void TFFT::FiltrarFFT(TSenalAna& senal, int tipoFiltro, double frecBaja, double frecAlta, double referencia)
{
    const int n = senal.NumMuestras();
    int N = 1;
    while (N < n)
        N <<= 1;
    if (N < 2)
        throw EErrorCalculo(QStringLiteral("La transformada necesita al menos 2 muestras"));

    TPlan& p = Plan(N);
    fftw_complex* x = p.datos;
    for (int i = 0; i < n; ++i) {
        x[i][0] = senal.LeerMuestra(i);
        x[i][1] = 0;
    }
    for (int i = n; i < N; ++i)
        x[i][0] = x[i][1] = 0;
    fftw_execute(p.ida);

    const std::int64_t kL = IndiceCorte(N, frecBaja, referencia);
    const std::int64_t kH = IndiceCorte(N, frecAlta, referencia);
    for (int i = 0; i < N; ++i)
        if (BinAnulado(tipoFiltro, i, N, kL, kH))
            x[i][0] = x[i][1] = 0;

    fftw_execute(p.vuelta);
    const double escala = 1.0 / N;
    // Checked before any sample is stored: a result beyond single precision would put
    // an infinity into the signal, its files and the unit.
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(float(x[i][0] * escala)))
            throw EErrorCalculo(QStringLiteral("Resultado del filtro no representable"));
    for (int i = 0; i < n; ++i)
        senal.PonerMuestra(i, float(x[i][0] * escala));
}

} // namespace qv

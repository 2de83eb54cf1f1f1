#include "model/espectro.h"

#include "model/errores.h"
#include "model/fft.h"
#include "model/senales.h"

#include <fftw3.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <new>
#include <numbers>

namespace qv {

// A real-to-complex plan: half the work and memory of the filter's complex transform.
struct TAnalizadorEspectro::TPlan {
    explicit TPlan(int n) : n(n)
    {
        const std::lock_guard cerrado(CerrojoPlanesFFTW());
        entrada = fftw_alloc_real(std::size_t(n));
        salida = fftw_alloc_complex(std::size_t(n / 2 + 1));
        if (!entrada || !salida) {
            Destruir();
            throw std::bad_alloc();
        }
        plan = fftw_plan_dft_r2c_1d(n, entrada, salida, FFTW_ESTIMATE);
        if (!plan) {
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
        if (plan)
            fftw_destroy_plan(plan);
        fftw_free(entrada);
        fftw_free(salida);
        plan = nullptr;
        entrada = nullptr;
        salida = nullptr;
    }

    int n;
    double* entrada = nullptr;
    fftw_complex* salida = nullptr;
    fftw_plan plan = nullptr;
};

namespace {

void LlenarVentana(std::vector<double>& w, int n, TVentanaFFT tipo)
{
    // Cosine sums a0 - a1 cos + a2 cos 2 - a3 cos 3 of the periodic window.
    double a[4] = {1, 0, 0, 0};
    switch (tipo) {
    case TVentanaFFT::Rectangular: break;
    case TVentanaFFT::Hann: a[0] = a[1] = 0.5; break;
    case TVentanaFFT::Hamming: a[0] = 0.54; a[1] = 0.46; break;
    case TVentanaFFT::BlackmanHarris:
        a[0] = 0.35875;
        a[1] = 0.48829;
        a[2] = 0.14128;
        a[3] = 0.01168;
        break;
    }
    w.assign(std::size_t(n), a[0]);
    const double paso = 2 * std::numbers::pi / n;
    // Only the terms the window has: a new span length costs no cosines it does not need.
    for (int m = 1; m <= 3; ++m) {
        if (a[m] == 0)
            continue;
        const double c = m % 2 ? -a[m] : a[m];
        for (int i = 0; i < n; ++i)
            w[std::size_t(i)] += c * std::cos(paso * m * i);
    }
}

} // namespace

double TEspectro::DB(double lineal)
{
    constexpr double suelo = 1e-12;
    return 20 * std::log10(std::max(lineal, suelo));
}

TPicoEspectro TEspectro::Refinar(int k) const
{
    TPicoEspectro p{k, Frecuencia(k), magnitud[std::size_t(k)]};
    if (k <= 0 || k + 1 >= int(magnitud.size()))
        return p;
    const double m0 = magnitud[std::size_t(k - 1)], m1 = magnitud[std::size_t(k)], m2 = magnitud[std::size_t(k + 1)];
    if (!(m0 > 0 && m1 > 0 && m2 > 0))
        return p;
    const double a = std::log(m0), b = std::log(m1), c = std::log(m2);
    const double curva = a - 2 * b + c;
    if (!(curva < 0))
        return p;
    const double delta = std::clamp(0.5 * (a - c) / curva, -0.5, 0.5);
    p.frecuencia = (k + delta) * resolucion;
    p.nivel = std::exp(b - 0.25 * (a - c) * delta);
    return p;
}

std::optional<TPicoEspectro> TEspectro::Pico(int desdeBin) const
{
    desdeBin = std::max(desdeBin, 0);
    if (desdeBin >= int(magnitud.size()))
        return std::nullopt;
    const auto it = std::max_element(magnitud.begin() + desdeBin, magnitud.end());
    return Refinar(int(it - magnitud.begin()));
}

std::vector<TPicoEspectro> TEspectro::Picos(int cuantos, int desdeBin) const
{
    const int n = int(magnitud.size());
    std::vector<int> maximos;
    for (int k = std::max(desdeBin, 0); k < n; ++k) {
        const double m = magnitud[std::size_t(k)];
        if ((k == 0 || m > magnitud[std::size_t(k - 1)]) && (k + 1 == n || m >= magnitud[std::size_t(k + 1)]))
            maximos.push_back(k);
    }
    const auto fin = maximos.begin() + std::min<std::ptrdiff_t>(std::max(cuantos, 0), std::ssize(maximos));
    std::partial_sort(maximos.begin(), fin, maximos.end(),
                      [&](int i, int j) { return magnitud[std::size_t(i)] > magnitud[std::size_t(j)]; });
    std::vector<TPicoEspectro> r;
    for (auto it = maximos.begin(); it != fin; ++it)
        r.push_back(Refinar(*it));
    return r;
}

TAnalizadorEspectro::TAnalizadorEspectro() = default;
TAnalizadorEspectro::~TAnalizadorEspectro() = default;

TEspectro TAnalizadorEspectro::Calcular(const float* x, int n, double periodo, TVentanaFFT ventana, bool sinContinua)
{
    TEspectro e;
    if (n < 2 || n > MaxMuestras || !(periodo > 0))
        return e;
    const int N = int(std::bit_ceil(unsigned(n)));
    auto& plan = planes_[N];
    if (!plan)
        plan = std::make_unique<TPlan>(N);
    if (ventana_.size() != std::size_t(n) || tipoVentana_ != ventana) {
        LlenarVentana(ventana_, n, ventana);
        tipoVentana_ = ventana;
    }
    double media = 0;
    if (sinContinua) {
        for (int i = 0; i < n; ++i)
            media += x[i];
        media /= n;
    }
    double ganancia = 0;
    double* in = plan->entrada;
    for (int i = 0; i < n; ++i) {
        const double w = ventana_[std::size_t(i)];
        in[i] = (x[i] - media) * w;
        ganancia += w;
    }
    std::fill(in + n, in + N, 0.0);
    fftw_execute(plan->plan);

    const int bins = N / 2 + 1;
    e.muestras = n;
    e.resolucion = 1 / (periodo * N);
    e.magnitud.resize(std::size_t(bins));
    const fftw_complex* X = plan->salida;
    for (int k = 0; k < bins; ++k) {
        // Every bin but DC and the Nyquist bin holds half of its sine.
        const bool simple = k == 0 || 2 * k == N;
        e.magnitud[std::size_t(k)] = std::hypot(X[k][0], X[k][1]) * (simple ? 1 : 2) / ganancia;
    }
    return e;
}

TEspectro TAnalizadorEspectro::Calcular(const TSenalAna& s, TTramo tramo, TVentanaFFT ventana, bool sinContinua)
{
    tramo = AcotarTramo(tramo, s.NumMuestras());
    if (tramo.hasta < tramo.desde)
        return {};
    return Calcular(s.Muestras().data() + tramo.desde, tramo.hasta - tramo.desde + 1, s.Periodo(), ventana,
                    sinContinua);
}

std::optional<double> FrecuenciaDominante(TAnalizadorEspectro& analizador, const float* x, int n, double periodo)
{
    if (n < 4)
        return std::nullopt;
    const auto [minimo, maximo] = std::minmax_element(x, x + n);
    if (!(*maximo > *minimo))
        return std::nullopt;
    const TEspectro e = analizador.Calcular(x, n, periodo, TVentanaFFT::Hann, true);
    const auto pico = e.Pico(1);
    if (!pico)
        return std::nullopt;
    return pico->frecuencia;
}

} // namespace qv

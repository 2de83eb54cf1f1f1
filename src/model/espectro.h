#pragma once

#include "model/medidas.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace qv {

class TSenalAna;

// Windows applied before the transform (periodic forms, as spectral analysis uses them).
enum class TVentanaFFT { Rectangular, Hann, Hamming, BlackmanHarris };

struct TPicoEspectro {
    int bin = 0;
    double frecuencia = 0; // Hz, between bins when interpolated
    double nivel = 0;      // linear, as the magnitudes
};

// Single-sided amplitude spectrum of a real signal: bins 0 to N/2 of an N-point
// transform, from 0 Hz to half the sampling frequency. Magnitudes are corrected for
// the window's gain, so a sine of amplitude A centred on a bin reads A there and a
// constant level C reads C at bin 0, whatever the window.
struct TEspectro {
    int muestras = 0;      // n, the values transformed
    double resolucion = 0; // Hz from one bin to the next: sampling frequency / N
    std::vector<double> magnitud;

    bool Vacio() const { return magnitud.empty(); }
    double Frecuencia(int bin) const { return bin * resolucion; }
    // 20 log10 of a magnitude (dB of the signal's unit); -240 dB for zero.
    static double DB(double lineal);

    // The strongest bin from `desdeBin` on, its frequency and level refined from its
    // neighbours (a parabola through their logarithms, the shape of a window's main lobe).
    std::optional<TPicoEspectro> Pico(int desdeBin = 0) const;
    // The `cuantos` strongest local maxima from `desdeBin` on, strongest first, refined
    // the same way.
    std::vector<TPicoEspectro> Picos(int cuantos, int desdeBin = 0) const;

private:
    TPicoEspectro Refinar(int bin) const;
};

// Computes spectra with FFTW. The n values are windowed and padded with zeros to N, the
// next power of two: padding adds no resolution (that is the span's length) but samples
// the same spectrum on a finer grid, and it keeps the cost of any span the cost of a
// power of two. Without it a span of prime length takes eight times as long, and every
// new length between moving cursors a new plan; with it the plans of the 17 sizes are
// made once and kept, with the window of the last length. Not for use from several
// threads at once.
class TAnalizadorEspectro {
public:
    TAnalizadorEspectro();
    ~TAnalizadorEspectro();
    TAnalizadorEspectro(const TAnalizadorEspectro&) = delete;
    TAnalizadorEspectro& operator=(const TAnalizadorEspectro&) = delete;

    // n values taken every `periodo` seconds (at most MaxMuestras). With `sinContinua`
    // the mean is taken off first, so that a large DC level does not spill into the low
    // bins. Empty with fewer than 2 values or no period.
    TEspectro Calcular(const float* x, int n, double periodo, TVentanaFFT ventana = TVentanaFFT::Hann,
                       bool sinContinua = false);
    TEspectro Calcular(const TSenalAna& s, TTramo tramo = {}, TVentanaFFT ventana = TVentanaFFT::Hann,
                       bool sinContinua = false);

private:
    struct TPlan;
    std::map<int, std::unique_ptr<TPlan>> planes_;
    std::vector<double> ventana_;
    TVentanaFFT tipoVentana_ = TVentanaFFT::Rectangular;
};

// The frequency of the strongest component above DC (Hann window, mean taken off);
// nothing for a constant signal or fewer than 4 values.
std::optional<double> FrecuenciaDominante(TAnalizadorEspectro& analizador, const float* x, int n, double periodo);

} // namespace qv

#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace qv {

class TTextos;
class TCjtSenales;
class TSenalAna;
class TSenalDig;
class TAnalizadorEspectro;

// The automatic measurements, in the order the full table shows them. Values are in
// the signal's unit, frequencies in Hz, times in seconds, the duty cycle in percent.
enum class TMedida {
    Minimo,
    Maximo,
    Media,
    RMS,
    PicoPico,
    Desviacion, // standard deviation of the samples (population: divided by their count)
    Frecuencia,
    Periodo,
    Subida,  // mean 10-90 % rise time of the complete rising edges
    Bajada,  // mean 90-10 % fall time of the complete falling edges
    Ciclo,   // duty cycle: share of the samples that are high
    Flancos, // number of edges (changes of value)
    FrecDominante, // strongest bin of the spectrum, DC left out
    Num
};
inline constexpr std::size_t NumMedidas = std::size_t(TMedida::Num);

// One value per measurement; nothing where it does not apply or cannot be made (a
// frequency without one whole period, a rise time without a complete edge).
struct TValoresMedida {
    std::array<std::optional<double>, NumMedidas> v;
    std::optional<double>& operator[](TMedida m) { return v[std::size_t(m)]; }
    const std::optional<double>& operator[](TMedida m) const { return v[std::size_t(m)]; }
};

// Samples [desde, hasta] of a signal, both included; hasta < 0 means its last sample.
struct TTramo {
    int desde = 0;
    int hasta = -1;
};

// The span within samples 0 to n - 1; empty (desde > hasta) when nothing is left.
TTramo AcotarTramo(TTramo tramo, int n);

// The samples of a signal whose times (i x periodo, from 0) lie in [desde, hasta]
// seconds; an empty span (desde > hasta in the answer) when none does.
TTramo TramoDeTiempos(double periodo, int numMuestras, double desde, double hasta);

// Levels of the frequency and edge measurements, as shares of the peak-to-peak value
// above the minimum. Crossings of the mid level count only after the signal has left
// the band of +-Histeresis around it, so noise on a slow edge gives one crossing.
namespace NivelesMedida {
inline constexpr double Histeresis = 0.1;
inline constexpr double Bajo = 0.1;
inline constexpr double Alto = 0.9;
} // namespace NivelesMedida

// Measurements of n values taken every `periodo` seconds. The digital form reads any
// non-zero byte as high. FrecDominante is left to the spectrum (TablaMedidas).
TValoresMedida MedirAna(const float* x, int n, double periodo);
TValoresMedida MedirDig(const std::uint8_t* x, int n, double periodo);
// Of a signal over a span, clamped to its samples.
TValoresMedida MedirAna(const TSenalAna& s, TTramo tramo = {});
TValoresMedida MedirDig(const TSenalDig& s, TTramo tramo = {});

// The columns each kind of signal has.
std::vector<TMedida> ColumnasAna();  // from Minimo to Bajada, then FrecDominante
std::vector<TMedida> ColumnasDig();  // Frecuencia, Periodo, Ciclo, Flancos
std::vector<TMedida> ColumnasTodas(); // every measurement, in its order

// Header of a measurement's column (numbered text).
QString NombreMedida(TMedida m, TTextos& textos);

struct TFilaMedidas {
    QString senal;
    QString unidad; // empty for a digital signal
    bool digital = false;
    int muestras = 0; // samples measured: 0 when none lies in the span
    TValoresMedida valores;
};

// Measurements of several signals: one row per signal, one column per measurement.
// Cells of measurements a row's kind has not are empty.
struct TTablaMedidas {
    std::vector<TMedida> columnas;
    std::vector<TFilaMedidas> filas;

    // "Señal", "Unidad", then the column headers.
    QStringList Cabecera(TTextos& textos) const;
    // The cell of column `columna` (an index into `columnas`) in general notation with
    // `digitos` significant digits; empty when the value is missing.
    QString Celda(const TFilaMedidas& fila, std::size_t columna, int digitos) const;
    // The table as aligned text, one line per row after the header, LF ends: what the
    // companion prints and the panel copies.
    QString Texto(TTextos& textos, int digitos = 6) const;
};

// The rows of the signals `nombres` (empty: every analog signal, then every digital
// one, in list order; names the set does not hold are left out), each measured over
// its samples in [desde, hasta] seconds. With `espectro`, analog rows get the dominant
// frequency of the same samples.
TTablaMedidas TablaMedidas(const TCjtSenales& senales, const QStringList& nombres, const std::vector<TMedida>& columnas,
                           double desde = 0, double hasta = std::numeric_limits<double>::infinity(),
                           TAnalizadorEspectro* espectro = nullptr);

} // namespace qv

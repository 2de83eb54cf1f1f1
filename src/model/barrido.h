#pragma once

// The frequency response of a circuit between one analog output and two analog inputs
// of the unit: the plan of a swept-sine measurement (one capture per frequency), the
// gain and phase of each capture, and what is read off the curve (the -3 dB points).

#include "model/config_es.h"

#include <QString>
#include <QStringList>

#include <complex>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qv {

class TTextos;

enum class TReparto : std::uint8_t { Logaritmico, Lineal };

// What the person sets up: the frequencies, the stimulus and the two inputs.
struct TAjustesBarrido {
    double Desde = 10;    // Hz
    double Hasta = 5000;  // Hz
    int Puntos = 20;
    TReparto Reparto = TReparto::Logaritmico;
    int Salida = 1;       // analog output 1..4 that plays the sine
    double Amplitud = 5;  // V
    double Offset = 0;    // V
    int Referencia = 1;   // analog input 1..8 that sees the stimulus
    int Respuesta = 2;    // analog input 1..8 that sees the circuit's output
    int RangoReferencia = 0; // range codes of TEntAna::Rango
    int RangoRespuesta = 0;
    double Estabilizacion = 2; // periods of the stimulus discarded before the record
    // Time from one sampled group to the next within a sample instant, when the unit
    // samples its inputs one after the other (0: all at once, as the simulated unit).
    double DesfaseGruposUs = 0;

    bool operator==(const TAjustesBarrido&) const = default;
};

// The limits every sweep keeps to.
namespace Barrido {
inline constexpr int MaxPuntos = 1000;
inline constexpr double MinFrecuencia = 0.01;  // Hz
inline constexpr double MaxEstabilizacion = 1000; // periods
// Samples the analysed record aims at, and the fewest whole periods it holds.
inline constexpr int MuestrasObjetivo = 512;
inline constexpr int PeriodosMinimos = 2;
// Below this many samples per period the time base is reported as too coarse; below
// the hard limit a point cannot be measured at all.
inline constexpr double MuestrasPorPeriodoAviso = 16;
inline constexpr double MuestrasPorPeriodoMinimas = 4;
// A reference smaller than this many converter counts is no reference.
inline constexpr double CuentasMinimasReferencia = 10;
// Line speed the time estimates assume (bytes per second at 115200 baud).
inline constexpr double BytesPorSegundo = 11520;
// What one capture costs besides its samples and bytes: the state query, the
// acknowledges of the input ranges and of the capture, the polls of its end.
inline constexpr double SegundosPorCaptura = 0.3;
} // namespace Barrido

// Texts of the sweep (language file).
namespace TextoBarrido {
inline constexpr int Menu = 530;
inline constexpr int Titulo = 531;
inline constexpr int FrecuenciasMal = 556;
inline constexpr int EntradasIguales = 558;
inline constexpr int FicheroMal = 555;
inline constexpr int PocasMuestras = 557;
inline constexpr int Marcas = 551;
inline constexpr int Amplitud = 214; // the generators' own text: beyond the output's range
} // namespace TextoBarrido

// Checks the settings in this order: frequencies and points (556), estabilization
// (556), output and inputs (558: two different inputs, within 1..8, output 1..4,
// known ranges), the sine within the output's range (214). Answers the text of the
// first rule broken, 0 when they may be used.
int ComprobarAjustes(const TAjustesBarrido& a);

// The frequencies asked for, in sweep order: `Puntos` values from Desde to Hasta, spaced
// evenly on a logarithmic or a linear scale (one point: Desde).
std::vector<double> FrecuenciasNominales(const TAjustesBarrido& a);

// One capture of the sweep. The sampling period is a whole number of microseconds (or
// of milliseconds for slow points), so the sine is played at the frequency nearest to the
// one asked for at which the analysed record holds whole periods exactly.
struct TPuntoPlan {
    double Nominal = 0;     // Hz asked for
    double Frecuencia = 0;  // Hz played and measured
    int Periodo = 0;        // sampling period in UnidadPeriodo
    std::uint8_t UnidadPeriodo = Unidad::Micro; // Micro or Mili
    int Periodos = 0;       // whole periods of the sine in the record
    int Medidas = 0;        // samples of the record
    int Descartadas = 0;    // samples of the settling part before it
    // Text of the first time-base rule broken (ComprobarCaptura), 0 when the capture
    // can be programmed.
    int Clave = 0;

    // The capture holds one sample more than settling and record: the unit forces the
    // last output sample to 0, so that sample is never analysed.
    int Muestras() const { return Descartadas + Medidas + 1; }
    double PeriodoSegundos() const;
    double MuestrasPorPeriodo() const;
    double DuracionSegundos() const { return Muestras() * PeriodoSegundos(); }
    // Bytes on the line both ways: the capture command with its output samples, and the
    // read-back of two inputs.
    double BytesLinea() const;
    // Capture, line and the fixed cost of a capture at the line speed above.
    double SegundosEstimados() const;
};

struct TPlanBarrido {
    std::vector<TPuntoPlan> Puntos;
    // Points whose time base holds fewer samples per period than the warning limit, and
    // the fewest samples per period of the sweep.
    int PuntosEscasos = 0;
    double MinMuestrasPorPeriodo = 0;
    // The first point that cannot be captured (its Clave), or -1.
    int PrimerImposible = -1;

    double SegundosEstimados() const;
};

// The configuration of one capture: the two inputs single-ended at their ranges (factor
// 1), the output with a sine of the point's frequency, nothing else.
TConfigES ConfigPunto(const TAjustesBarrido& a, const TPuntoPlan& p, TTextos& textos);

// The time base of one frequency. Sampling as fast as the channels allow up to the
// record's aim of samples per period; a record of about MuestrasObjetivo samples over at
// least PeriodosMinimos whole periods; a settling part of Estabilizacion periods.
TPuntoPlan PlanificarPunto(const TAjustesBarrido& a, double frecuencia, TTextos& textos);
// Every point; the settings must have passed ComprobarAjustes.
TPlanBarrido PlanificarBarrido(const TAjustesBarrido& a, TTextos& textos);

// Why a point has no gain and phase.
enum class TMarca : std::uint8_t {
    Valida = 0,
    ReferenciaPequena = 1,   // the reference is below CuentasMinimasReferencia
    ReferenciaRecortada = 2, // the reference reaches the end of its range
    RespuestaRecortada = 3,  // the response reaches the end of its range
};
inline constexpr int NumMarcas = 4;

struct TPuntoBarrido {
    double Frecuencia = 0; // Hz
    double GananciaDB = 0;
    double FaseGrados = 0;
    TMarca Marca = TMarca::Valida;
    double AmplitudReferencia = 0; // V, of the component at Frecuencia
    double AmplitudRespuesta = 0;

    bool Valida() const { return Marca == TMarca::Valida; }
    bool operator==(const TPuntoBarrido&) const = default;
};

// One input's samples of a capture and the volts per count of its range.
struct TEntradaMedida {
    std::span<const float> Muestras;
    double Resolucion = 0;
};

// Where the record lies in a capture and how its samples relate in time.
struct TVentanaMedida {
    int Desde = 0;       // first sample of the record
    int Medidas = 0;     // samples of the record
    double Periodo = 0;  // s
    double Frecuencia = 0; // Hz of the stimulus
    // The response input is sampled this much later than the reference within each
    // sample instant (s); its phase is corrected by it.
    double RetrasoRespuesta = 0;
};

// The component of `x` at `frecuencia`: amplitude and phase of A sin(2 pi f t + phase)
// as a complex A e^(j phase), with t = k x periodo counted from sample 0. Over whole
// periods this is the least-squares sine fit, and a constant level drops out.
std::complex<double> Componente(std::span<const float> x, int desde, int medidas, double periodo, double frecuencia);

// Gain and phase of the response relative to the reference at the stimulus frequency.
// The outputs hold each sample for one period, which delays the stimulus the circuit sees
// by half a period behind the samples the reference reads: the phase is corrected for
// that hold and for the response's sampling delay. A reference that is too small or
// clipped, or a clipped response, gives a marked point instead of numbers.
TPuntoBarrido MedirPunto(const TEntradaMedida& referencia, const TEntradaMedida& respuesta, const TVentanaMedida& v);

// A whole measured sweep, in sweep order (Frecuencia of each point as measured).
struct TResultadoBarrido {
    TAjustesBarrido Ajustes;
    std::vector<TPuntoBarrido> Puntos;

    bool operator==(const TResultadoBarrido&) const = default;
};

// Phases of the valid points made continuous along the sweep (each within 180 degrees of
// the one before it), the first one kept within (-180, 180].
void DesenrollarFase(std::vector<TPuntoBarrido>& puntos);

struct TLectura {
    double Frecuencia = 0;
    double GananciaDB = 0;
    double FaseGrados = 0;
};

// Gain and phase at `frecuencia` interpolated between the valid points around it (a
// cubic through four points where there are four, on a log axis for a log sweep);
// nothing outside the measured span.
std::optional<TLectura> Interpolar(const TResultadoBarrido& r, double frecuencia);

// Where the gain crosses 3 dB (half power) below the highest valid gain of the sweep:
// the frequencies and the phase there, in sweep order (none, one for a low- or high-pass,
// two for a band-pass).
std::vector<TLectura> PuntosMenos3dB(const TResultadoBarrido& r);

// The valid point nearest to `frecuencia` (on the sweep's scale); -1 when none.
int PuntoCercano(const TResultadoBarrido& r, double frecuencia);

} // namespace qv

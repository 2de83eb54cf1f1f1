#pragma once

#include "model/expresion.h"
#include "model/medidas.h"
#include "model/registro_ajuste.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace qv {

class TSenalAna;

// The models a signal can be fitted to. Time t counts from the first sample of the
// span fitted, so that a decay that starts late in a capture has its amplitude where it
// starts, not extrapolated back to the capture's start.
enum class TModeloAjuste {
    Lineal,          // a0 + a1 t
    Polinomio2,      // a0 + a1 t + a2 t^2
    Polinomio3,
    Polinomio4,
    Polinomio5,
    Exponencial,     // A e^(-t/tau) + C
    CargaRC,         // A (1 - e^(-t/tau)) + C
    Seno,            // A sin(2 pi f t + phi) + C
    SenoAmortiguado, // A e^(-t/tau) sin(2 pi f t + phi) + C
    Expresion,       // the user's formula in t and named parameters
};
inline constexpr int NumModelosAjuste = 10;

// The model's key in files and on the companion's command line: "linear", "poly2" to
// "poly5", "exp", "rc", "sine", "damped-sine", "expr".
QString ClaveModelo(TModeloAjuste m);
std::optional<TModeloAjuste> ModeloDeClave(const QString& clave);
// The short form in the names of fitted signals ("Aj_exp_C1").
QString AbreviaturaModelo(TModeloAjuste m);
// The parameters of a built-in model in their order (empty for Expresion).
QStringList ParametrosModelo(TModeloAjuste m);
// "y = A*exp(-t/tau) + C", in the calculator's notation.
QString EcuacionModelo(TModeloAjuste m, const QString& expresion = {});
// Solved by linear least squares (no starting values, no iterations).
bool ModeloLineal(TModeloAjuste m);

struct TPeticionAjuste {
    TModeloAjuste Modelo = TModeloAjuste::Lineal;
    QString Expresion;              // Expresion: the formula, "y =" in front allowed
    std::vector<double> Iniciales;  // Expresion: starting values in parameter order; 1 where missing
    int MaxIteraciones = 200;
};

enum class TFalloAjuste {
    Ninguno,
    NoConverge,    // the iterations found no minimum, or the model gives no number there
    Indeterminado, // the data do not fix every parameter (they depend on each other)
    PocasMuestras, // no more samples than parameters
    Expresion,     // the formula does not compile, or has no parameter
};

struct TResultadoAjuste {
    TFalloAjuste Fallo = TFalloAjuste::NoConverge;
    // The formula's error: where it went wrong and what stands there.
    int PosicionError = -1;
    QString FragmentoError;

    TModeloAjuste Modelo = TModeloAjuste::Lineal;
    QString Expresion; // without "y ="
    std::vector<TParametroAjuste> Parametros;
    double R2 = 0;
    double Rms = 0; // root of the mean squared residual
    int Iteraciones = 0;
    double Periodo = 0;
    TTramo Tramo; // the samples fitted, in the data signal

    bool Converge() const { return Fallo == TFalloAjuste::Ninguno; }
    int Muestras() const { return Tramo.hasta - Tramo.desde + 1; }
    // The time of the span's first sample in the data signal, where t = 0.
    double Origen() const { return Tramo.desde * Periodo; }
    const TParametroAjuste* Parametro(const QString& nombre) const;
};

// Fits the model to n values taken every `periodo` seconds. Built-in models start from
// estimates made from the data (the spectrum's dominant frequency, the decay from the
// signal's integral, the envelope's logarithm); a formula starts from the values given.
TResultadoAjuste Ajustar(const TPeticionAjuste& peticion, const float* y, int n, double periodo);
// The same over a span of a signal (every sample when the span is empty).
TResultadoAjuste AjustarSenal(const TPeticionAjuste& peticion, const TSenalAna& senal, TTramo tramo = {});

// The fitted model as a function of t (from the span's start).
class TCurvaAjuste {
public:
    explicit TCurvaAjuste(const TResultadoAjuste& r);
    double operator()(double t) const;

private:
    TModeloAjuste modelo_;
    std::vector<double> p_;
    std::optional<TExpresion> expresion_;
};

// The fitted curve as a signal of the data's period and length (a calculated signal in
// the data's unit): the model over the span, and beyond it the model held within the
// range of the data, so that an exponential running back before a discharge, or one
// growing after the span, neither overflows a sample nor squeezes the plot.
std::unique_ptr<TSenalAna> SenalAjustada(const TResultadoAjuste& r, const TSenalAna& datos, const QString& nombre);
// Data minus fit over the span, 0 outside it.
std::unique_ptr<TSenalAna> SenalResiduo(const TResultadoAjuste& r, const TSenalAna& datos, const QString& nombre);
// "Aj_exp_C1", "Res_exp_C1".
QString NombreAjuste(TModeloAjuste m, const QString& datos);
QString NombreResiduo(TModeloAjuste m, const QString& datos);

// What the set keeps of the fit of signal `senal`.
TRegistroAjuste RegistroDe(const TResultadoAjuste& r, const QString& senal, const QString& datos);

} // namespace qv

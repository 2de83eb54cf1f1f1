#pragma once

// A circuit the simulated unit can put between its analog output 1 and analog input 2,
// for frequency-response measurements: an RC low-pass, an RC high-pass or a series RLC
// band-pass (output across R). Each is solved from its differential equation exactly for
// an input held constant between the output's sample instants (the zero-order hold of
// the unit's converter), so its samples are what a real circuit gives there.

#include <QString>

#include <array>
#include <functional>
#include <limits>
#include <memory>

namespace qv {

class TCircuito {
public:
    enum class TTipo { PasoBajo, PasoAlto, PasoBanda };

    // "rc-low:R=10k,C=100n", "rc-high:R=1k,C=1u", "rlc-band:R=100,L=10m,C=1u"; values
    // in ohms, henries and farads with an optional SI prefix (p n u m k M G). Null with
    // the reason in `error` for anything else.
    static std::unique_ptr<TCircuito> Leer(const QString& texto, QString& error);

    TCircuito(TTipo tipo, double r, double c, double l = 0);

    TTipo Tipo() const { return tipo_; }
    double R() const { return r_; }
    double C() const { return c_; }
    double L() const { return l_; }

    // Seconds per unit of the times given below (the simulated unit counts microseconds).
    void PonerUnidadTiempo(double segundos);

    // The input as the unit drives it: its volts at t, and the next instant after t
    // at which it may change (infinity when it holds until further notice).
    using TValor = std::function<double(double)>;
    using TCambio = std::function<double(double)>;

    // Brings the circuit from its own time up to `t`, the input held piecewise as given.
    // A time before the circuit's own leaves it where it is.
    void Avanzar(double t, const TValor& valor, const TCambio& cambio);
    // The output at the circuit's own time (volts).
    double Salida() const;
    double Tiempo() const { return t_; }

    // The exact step of length h (time units) with the input held at u.
    void Paso(double h, double u);

    // Gain and phase (radians) of the circuit at frequency f, from its transfer function.
    double Ganancia(double f) const;
    double Fase(double f) const;

private:
    TTipo tipo_;
    double r_, c_, l_;
    double escala_ = 1; // seconds per time unit
    double t_ = 0;
    double u_ = 0;                // the input over the last step
    std::array<double, 2> x_{};   // capacitor voltage (RC) | charge and current (RLC)
    bool empezado_ = false;
};

} // namespace qv

#include "circuito.h"

#include <QMap>
#include <QStringList>

#include <cmath>
#include <complex>

namespace qv {

namespace {

constexpr double Pi = 3.14159265358979323846;

// "10k", "100n", "4.7u", "1e-6", "220": a positive finite value with an optional SI prefix.
bool Valor(QString t, double& v)
{
    t = t.trimmed();
    if (t.isEmpty())
        return false;
    double escala = 1;
    const QChar ultima = t.back();
    static const QMap<QChar, double> prefijos = {
        {QLatin1Char('p'), 1e-12}, {QLatin1Char('n'), 1e-9}, {QLatin1Char('u'), 1e-6}, {QChar(0x00B5), 1e-6},
        {QLatin1Char('m'), 1e-3},  {QLatin1Char('k'), 1e3},  {QLatin1Char('M'), 1e6},  {QLatin1Char('G'), 1e9}};
    if (prefijos.contains(ultima)) {
        escala = prefijos.value(ultima);
        t.chop(1);
    }
    bool ok = false;
    const double x = t.toDouble(&ok);
    if (!ok || !std::isfinite(x) || !(x > 0))
        return false;
    v = x * escala;
    return std::isfinite(v) && v > 0;
}

} // namespace

std::unique_ptr<TCircuito> TCircuito::Leer(const QString& texto, QString& error)
{
    const qsizetype dos = texto.indexOf(QLatin1Char(':'));
    const QString tipo = (dos < 0 ? texto : texto.left(dos)).trimmed().toLower();
    TTipo t;
    if (tipo == QLatin1String("rc-low"))
        t = TTipo::PasoBajo;
    else if (tipo == QLatin1String("rc-high"))
        t = TTipo::PasoAlto;
    else if (tipo == QLatin1String("rlc-band"))
        t = TTipo::PasoBanda;
    else {
        error = QStringLiteral("unknown circuit kind \"%1\" (rc-low, rc-high, rlc-band)").arg(tipo);
        return nullptr;
    }
    QMap<QString, double> valores;
    const QString resto = dos < 0 ? QString() : texto.mid(dos + 1);
    for (const QString& par : resto.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype igual = par.indexOf(QLatin1Char('='));
        const QString nombre = par.left(igual).trimmed().toUpper();
        double v = 0;
        if (igual < 0 || !(nombre == QLatin1String("R") || nombre == QLatin1String("L") || nombre == QLatin1String("C"))
            || valores.contains(nombre) || !Valor(par.mid(igual + 1), v)) {
            error = QStringLiteral("bad circuit parameter \"%1\"").arg(par.trimmed());
            return nullptr;
        }
        valores.insert(nombre, v);
    }
    const bool conL = t == TTipo::PasoBanda;
    if (!valores.contains(QStringLiteral("R")) || !valores.contains(QStringLiteral("C"))
        || valores.contains(QStringLiteral("L")) != conL) {
        error = conL ? QStringLiteral("rlc-band needs R, L and C") : QStringLiteral("%1 needs R and C only").arg(tipo);
        return nullptr;
    }
    return std::make_unique<TCircuito>(t, valores.value(QStringLiteral("R")), valores.value(QStringLiteral("C")),
                                       valores.value(QStringLiteral("L"), 0.0));
}

TCircuito::TCircuito(TTipo tipo, double r, double c, double l) : tipo_(tipo), r_(r), c_(c), l_(l) {}

void TCircuito::PonerUnidadTiempo(double segundos)
{
    if (segundos > 0 && std::isfinite(segundos))
        escala_ = segundos;
}

void TCircuito::Avanzar(double t, const TValor& valor, const TCambio& cambio)
{
    if (!empezado_) {
        // At rest with whatever the output holds when the circuit is first looked at.
        empezado_ = true;
        t_ = t;
        u_ = valor(t);
        x_ = tipo_ == TTipo::PasoBanda ? std::array<double, 2>{c_ * u_, 0.0} : std::array<double, 2>{u_, 0.0};
        return;
    }
    while (t_ < t) {
        const double u = valor(t_);
        double siguiente = cambio(t_);
        if (!(siguiente > t_) || siguiente > t)
            siguiente = t;
        Paso(siguiente - t_, u);
        t_ = siguiente;
    }
    u_ = valor(t_);
}

void TCircuito::Paso(double h, double u)
{
    h *= escala_;
    if (!(h > 0))
        return;
    u_ = u; // held to the end of the step
    if (tipo_ != TTipo::PasoBanda) {
        // The capacitor's voltage relaxes towards the input with time constant RC.
        x_[0] = u + (x_[0] - u) * std::exp(-h / (r_ * c_));
        return;
    }
    // L di/dt + R i + q/C = u, x = (q, i): x' = A x + b with A = [0 1; -1/LC -R/L]. For a
    // held input the state relaxes to (C u, 0) along e^(A h), taken in closed form.
    const double a10 = -1.0 / (l_ * c_), a11 = -r_ / l_;
    const double s = a11 / 2;               // half the trace
    const double disc = s * s + a10;        // s^2 - det, det = 1/LC
    const double e = std::exp(s * h);
    double f0, f1; // e^(Ah) = e^(sh) (f0 I + f1 (A - sI))
    if (disc > 1e-12 * s * s) {
        const double w = std::sqrt(disc);
        f0 = std::cosh(w * h);
        f1 = std::sinh(w * h) / w;
    } else if (disc < -1e-12 * s * s) {
        const double w = std::sqrt(-disc);
        f0 = std::cos(w * h);
        f1 = std::sin(w * h) / w;
    } else {
        f0 = 1;
        f1 = h;
    }
    const double m00 = -s, m01 = 1, m10 = a10, m11 = a11 - s;
    const double d0 = x_[0] - c_ * u, d1 = x_[1];
    x_[0] = c_ * u + e * (f0 * d0 + f1 * (m00 * d0 + m01 * d1));
    x_[1] = e * (f0 * d1 + f1 * (m10 * d0 + m11 * d1));
}

double TCircuito::Salida() const
{
    switch (tipo_) {
    case TTipo::PasoBajo:
        return x_[0];
    case TTipo::PasoAlto:
        return u_ - x_[0];
    case TTipo::PasoBanda:
        return r_ * x_[1];
    }
    return 0;
}

namespace {

std::complex<double> Transferencia(TCircuito::TTipo tipo, double r, double c, double l, double f)
{
    const std::complex<double> s(0, 2 * Pi * f);
    switch (tipo) {
    case TCircuito::TTipo::PasoBajo:
        return 1.0 / (1.0 + s * r * c);
    case TCircuito::TTipo::PasoAlto:
        return s * r * c / (1.0 + s * r * c);
    case TCircuito::TTipo::PasoBanda:
        return s * r * c / (1.0 + s * r * c + s * s * l * c);
    }
    return 0;
}

} // namespace

double TCircuito::Ganancia(double f) const
{
    return std::abs(Transferencia(tipo_, r_, c_, l_, f));
}

double TCircuito::Fase(double f) const
{
    return std::arg(Transferencia(tipo_, r_, c_, l_, f));
}

} // namespace qv

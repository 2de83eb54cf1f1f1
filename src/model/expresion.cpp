#include "model/expresion.h"

#include <array>
#include <cmath>
#include <numbers>

namespace qv {

namespace {

struct TFuncion {
    const char* nombre;
    int argumentos;
};

// The index in this table is the instruction's function number.
constexpr std::array<TFuncion, 20> kFunciones = {{
    {"sin", 1},  {"sen", 1},  {"cos", 1},  {"tan", 1},   {"asin", 1},  {"acos", 1}, {"atan", 1},
    {"sinh", 1}, {"cosh", 1}, {"tanh", 1}, {"exp", 1},   {"ln", 1},    {"log", 1},  {"sqrt", 1},
    {"abs", 1},  {"atan2", 2}, {"pow", 2}, {"min", 2},   {"max", 2},   {"", 0},
}};

double Funcion1(int f, double x)
{
    switch (f) {
    case 0:
    case 1:
        return std::sin(x);
    case 2:
        return std::cos(x);
    case 3:
        return std::tan(x);
    case 4:
        return std::asin(x);
    case 5:
        return std::acos(x);
    case 6:
        return std::atan(x);
    case 7:
        return std::sinh(x);
    case 8:
        return std::cosh(x);
    case 9:
        return std::tanh(x);
    case 10:
        return std::exp(x);
    case 11:
        return std::log(x);
    case 12:
        return std::log10(x);
    case 13:
        return std::sqrt(x);
    default:
        return std::fabs(x);
    }
}

double Funcion2(int f, double a, double b)
{
    switch (f) {
    case 15:
        return std::atan2(a, b);
    case 16:
        return std::pow(a, b);
    case 17:
        return std::fmin(a, b);
    default:
        return std::fmax(a, b);
    }
}

bool EsLetra(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           c == QLatin1Char('_');
}

bool EsCifra(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

TExpresion::EError::EError(int posicion, QString fragmento)
    : EErrorModelo(QStringLiteral("%1: %2").arg(posicion).arg(fragmento)), posicion_(posicion),
      fragmento_(std::move(fragmento))
{
}

// Recursive descent over the text, writing the program as it goes:
//   suma     := producto (("+" | "-") producto)*
//   producto := signo (("*" | "/") signo)*
//   signo    := ("-" | "+") signo | potencia
//   potencia := primario ("^" signo)?
//   primario := número | nombre | función "(" suma ("," suma)* ")" | "(" suma ")"
// so that -2^2 is -(2^2) and 2^-1 is 0.5, as on paper.
class TExpresion::TAnalizador {
public:
    TAnalizador(TExpresion& e, bool conParametros) : e_(e), t_(e.texto_), conParametros_(conParametros) {}

    void Analizar()
    {
        Saltar();
        if (pos_ >= t_.size())
            Fallar();
        Suma();
        Saltar();
        if (pos_ < t_.size())
            Fallar();
    }

private:
    [[noreturn]] void Fallar(qsizetype desde = -1)
    {
        const qsizetype p = desde >= 0 ? desde : pos_;
        QString fragmento = t_.mid(p, 1);
        if (p < t_.size() && (EsLetra(t_[p]) || EsCifra(t_[p]))) {
            qsizetype f = p;
            while (f < t_.size() && (EsLetra(t_[f]) || EsCifra(t_[f]) || t_[f] == QLatin1Char('.')))
                ++f;
            fragmento = t_.mid(p, f - p);
        }
        throw EError(int(p), fragmento);
    }

    void Saltar()
    {
        while (pos_ < t_.size() && t_[pos_].isSpace())
            ++pos_;
    }

    bool Tomar(char c)
    {
        Saltar();
        if (pos_ < t_.size() && t_[pos_] == QLatin1Char(c)) {
            ++pos_;
            return true;
        }
        return false;
    }

    void Emitir(TInstruccion i, int cambioPila)
    {
        pila_ += cambioPila;
        if (pila_ > MaxPila)
            Fallar();
        e_.codigo_.push_back(i);
    }

    void Suma()
    {
        Producto();
        for (;;) {
            if (Tomar('+')) {
                Producto();
                Emitir({TOp::Sumar}, -1);
            } else if (Tomar('-')) {
                Producto();
                Emitir({TOp::Restar}, -1);
            } else {
                return;
            }
        }
    }

    void Producto()
    {
        Signo();
        for (;;) {
            if (Tomar('*')) {
                Signo();
                Emitir({TOp::Multiplicar}, -1);
            } else if (Tomar('/')) {
                Signo();
                Emitir({TOp::Dividir}, -1);
            } else {
                return;
            }
        }
    }

    void Signo()
    {
        if (Tomar('-')) {
            Signo();
            Emitir({TOp::Negar}, 0);
        } else if (Tomar('+')) {
            Signo();
        } else {
            Potencia();
        }
    }

    void Potencia()
    {
        Primario();
        if (Tomar('^')) {
            Signo();
            Emitir({TOp::Potencia}, -1);
        }
    }

    void Primario()
    {
        Saltar();
        if (pos_ >= t_.size())
            Fallar();
        const QChar c = t_[pos_];
        if (c == QLatin1Char('(')) {
            ++pos_;
            Suma();
            if (!Tomar(')'))
                Fallar();
            return;
        }
        if (EsCifra(c) || c == QLatin1Char('.')) {
            Numero();
            return;
        }
        if (!EsLetra(c))
            Fallar();
        const qsizetype inicio = pos_;
        while (pos_ < t_.size() && (EsLetra(t_[pos_]) || EsCifra(t_[pos_])))
            ++pos_;
        const QString nombre = t_.mid(inicio, pos_ - inicio);
        Saltar();
        if (pos_ < t_.size() && t_[pos_] == QLatin1Char('(')) {
            ++pos_;
            Llamada(nombre, inicio);
            return;
        }
        if (const qsizetype v = e_.variables_.indexOf(nombre); v >= 0) {
            Emitir({TOp::Valor, 0, int(v)}, +1);
            return;
        }
        if (nombre == QLatin1String("pi")) {
            Emitir({TOp::Constante, 0, 0, std::numbers::pi}, +1);
            return;
        }
        if (nombre == QLatin1String("e")) {
            Emitir({TOp::Constante, 0, 0, std::numbers::e}, +1);
            return;
        }
        for (const TFuncion& f : kFunciones)
            if (f.argumentos > 0 && nombre == QLatin1String(f.nombre))
                Fallar(pos_); // a function without its parentheses
        if (!conParametros_)
            Fallar(inicio);
        qsizetype p = e_.parametros_.indexOf(nombre);
        if (p < 0) {
            p = e_.parametros_.size();
            e_.parametros_ << nombre;
        }
        // Parameters follow the variables in the values handed to Evaluar.
        Emitir({TOp::Valor, 0, int(e_.variables_.size() + p)}, +1);
    }

    void Llamada(const QString& nombre, qsizetype inicio)
    {
        int funcion = -1;
        for (std::size_t i = 0; i < kFunciones.size(); ++i)
            if (kFunciones[i].argumentos > 0 && nombre == QLatin1String(kFunciones[i].nombre))
                funcion = int(i);
        if (funcion < 0)
            Fallar(inicio);
        Suma();
        if (kFunciones[std::size_t(funcion)].argumentos == 2) {
            if (!Tomar(','))
                Fallar();
            Suma();
            if (!Tomar(')'))
                Fallar();
            Emitir({TOp::Funcion2, std::uint8_t(funcion)}, -1);
            return;
        }
        if (!Tomar(')'))
            Fallar();
        Emitir({TOp::Funcion1, std::uint8_t(funcion)}, 0);
    }

    void Numero()
    {
        const qsizetype inicio = pos_;
        auto cifras = [&] {
            const qsizetype a = pos_;
            while (pos_ < t_.size() && EsCifra(t_[pos_]))
                ++pos_;
            return pos_ > a;
        };
        bool hay = cifras();
        if (pos_ < t_.size() && t_[pos_] == QLatin1Char('.')) {
            ++pos_;
            hay = cifras() || hay;
        }
        if (!hay)
            Fallar(inicio);
        if (pos_ < t_.size() && (t_[pos_] == QLatin1Char('e') || t_[pos_] == QLatin1Char('E'))) {
            // An exponent only when digits follow; a name glued to a number ("2e", "3t") is
            // refused below: a product needs its "*".
            qsizetype q = pos_ + 1;
            if (q < t_.size() && (t_[q] == QLatin1Char('+') || t_[q] == QLatin1Char('-')))
                ++q;
            if (q < t_.size() && EsCifra(t_[q])) {
                pos_ = q;
                cifras();
            }
        }
        if (pos_ < t_.size() && (EsLetra(t_[pos_]) || t_[pos_] == QLatin1Char('.')))
            Fallar(pos_);
        bool ok = false;
        const double v = t_.mid(inicio, pos_ - inicio).toDouble(&ok);
        if (!ok || !std::isfinite(v))
            Fallar(inicio);
        Emitir({TOp::Constante, 0, 0, v}, +1);
    }

    TExpresion& e_;
    const QString& t_;
    const bool conParametros_;
    qsizetype pos_ = 0;
    int pila_ = 0;
};

TExpresion::TExpresion(const QString& texto, const QStringList& variables, bool conParametros)
    : texto_(texto), variables_(variables)
{
    TAnalizador(*this, conParametros).Analizar();
}

double TExpresion::Evaluar(const double* valores) const
{
    std::array<double, MaxPila + 1> pila;
    int n = 0;
    for (const TInstruccion& i : codigo_) {
        switch (i.op) {
        case TOp::Constante:
            pila[n++] = i.constante;
            break;
        case TOp::Valor:
            pila[n++] = valores[i.indice];
            break;
        case TOp::Negar:
            pila[n - 1] = -pila[n - 1];
            break;
        case TOp::Sumar:
            --n;
            pila[n - 1] += pila[n];
            break;
        case TOp::Restar:
            --n;
            pila[n - 1] -= pila[n];
            break;
        case TOp::Multiplicar:
            --n;
            pila[n - 1] *= pila[n];
            break;
        case TOp::Dividir:
            --n;
            pila[n - 1] /= pila[n];
            break;
        case TOp::Potencia:
            --n;
            pila[n - 1] = std::pow(pila[n - 1], pila[n]);
            break;
        case TOp::Funcion1:
            pila[n - 1] = Funcion1(i.funcion, pila[n - 1]);
            break;
        case TOp::Funcion2:
            --n;
            pila[n - 1] = Funcion2(i.funcion, pila[n - 1], pila[n]);
            break;
        }
    }
    return n > 0 ? pila[0] : std::nan("");
}

} // namespace qv

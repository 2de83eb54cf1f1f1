#pragma once

#include "model/errores.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace qv {

// A formula typed by the user, in the calculator's notation: the operators "+", "-",
// "*", "/" and "^" (power, right to left), parentheses, numbers with "." and an optional
// exponent, the constants pi and e, and the functions sin (also sen), cos, tan, asin,
// acos, atan, atan2(y, x), sinh, cosh, tanh, exp, ln, log (base 10), sqrt, abs,
// pow(x, y), min(a, b) and max(a, b). Names are case-sensitive. Compiled once into a
// short program for a stack, it is then evaluated for as many values as needed (a fit
// evaluates it for every sample at every step).
//
// The variables are named when compiling (a fit names "t"); every other name is a
// parameter when parameters are allowed, and an error otherwise. Parameters are
// numbered in the order they first appear.
class TExpresion {
public:
    // Raised for text that is not a formula: `Posicion` is the 0-based character where
    // it went wrong, `Fragmento` what stands there (empty at the end of the text).
    class EError : public EErrorModelo {
    public:
        EError(int posicion, QString fragmento);
        int Posicion() const { return posicion_; }
        const QString& Fragmento() const { return fragmento_; }

    private:
        int posicion_;
        QString fragmento_;
    };

    // Deepest stack a formula may need; deeper nesting is refused when compiling.
    static constexpr int MaxPila = 64;

    TExpresion() = default;
    TExpresion(const QString& texto, const QStringList& variables, bool conParametros);

    const QString& Texto() const { return texto_; }
    const QStringList& Variables() const { return variables_; }
    const QStringList& Parametros() const { return parametros_; }

    // `valores`: the variables in their order, then the parameters in theirs. The
    // result may be NaN or infinite (sqrt(-1), 1/0): the caller decides what that means.
    double Evaluar(const double* valores) const;

private:
    enum class TOp : std::uint8_t {
        Constante,
        Valor,
        Negar,
        Sumar,
        Restar,
        Multiplicar,
        Dividir,
        Potencia,
        Funcion1,
        Funcion2,
    };
    struct TInstruccion {
        TOp op;
        std::uint8_t funcion = 0;
        int indice = 0;
        double constante = 0;
    };
    class TAnalizador;

    QString texto_;
    QStringList variables_;
    QStringList parametros_;
    std::vector<TInstruccion> codigo_;
};

} // namespace qv

#pragma once

#include <QString>
#include <cstdint>

namespace qv {

class TConfigES;

// One operation that derives a signal from the signals of one or two channels.
// Operands refer to channels by number (analog 1-8 inputs, 9-12 outputs; digital
// 1-16 inputs, 17-32 outputs; 0 none) or, for analog operations, to constants.
class TOperacion {
public:
    static constexpr std::uint8_t SinFiltro = 255;

    // Operand texts become Constante1/2 (decimal reals) when the operand is a
    // constant, otherwise Operando1/2 (integers); EErrorFormato on bad text. The
    // filter type and frequencies are kept only for an analog "Filtro".
    TOperacion(const QString& operando1, int tipoFiltro, bool esConstante2, bool esConstante1,
               double frecAlta, double frecBaja, const QString& tipoSenal,
               const QString& unidadResultado, const QString& nombreResultado,
               const QString& operador, const QString& operando2);
    TOperacion(const TOperacion&) = default;
    TOperacion& operator=(const TOperacion&) = default;

    bool EsAnalogica() const { return TipoSenal == QLatin1String("Ana"); }

    // Operand texts: the constant in general form, or the channel number.
    QString TextoOperando1() const;
    QString TextoOperando2() const;

    // Display text: "(a + b)", "d/(a)dt", "f(a)dx", "Filtro(a)", "(a OR b)",
    // "NOT(a)", ...; constants with 4 significant digits, channels by their
    // current names in `config`.
    QString Formula(const TConfigES& config) const;

    QString Operador;        // "+", "-", "*", "/", "Derivada", "Integral", "Filtro"; "Or" ... "Not"
    QString TipoSenal;       // "Ana" or "Dig"
    QString NombreResultado; // identifies the operation
    QString UnidadResultado;
    int Operando1 = 0;
    int Operando2 = 0;
    bool EsConstante1 = false;
    bool EsConstante2 = false;
    float Constante1 = 0;
    float Constante2 = 0;
    std::uint8_t TipoFiltro = SinFiltro; // 0 high-pass, 1 low-pass, 2 band-pass, 3 band-stop
    double FrecBaja = 0;
    double FrecAlta = 0;
};

} // namespace qv

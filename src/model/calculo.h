#pragma once

#include <QString>
#include <memory>

namespace qv {

class TTextos;
class TInteraccion;
class TOperacion;
class TSenalAna;
class TSenalDig;

// The computing kernels of the operations and of the calculator. Each result is a
// new signal named "Resultado", "Derivada" or "Integral" (the caller renames it)
// with the period of the first signal operand; when an operation is given the
// result keeps its own copy of it, otherwise it is marked Calculada.
//
// Arithmetic runs in extended precision on the single-precision samples. A result
// that is not a finite number raises EErrorCalculo: it would otherwise end up in
// files and windows as NAN or INF.
class TCalculo {
public:
    TCalculo(TTextos& textos, TInteraccion& interaccion);

    // a op b for i < min(n(a), n(b)); op is "+", "-", "*" or "/". A quotient by a
    // signal with a zero sample shows text 180 and answers nullptr.
    std::unique_ptr<TSenalAna> Operar(const TSenalAna& a, const TSenalAna& b, const QString& op,
                                      const TOperacion* operacion = nullptr);
    // a op c when `constanteDelante` is false, c op a when it is true. c / a by a
    // signal with a zero sample shows text 180 and answers nullptr; a / 0 raises
    // EErrorCalculo (the caller reports it).
    std::unique_ptr<TSenalAna> OperarConstante(const TSenalAna& a, float c, bool constanteDelante,
                                               const QString& op, const TOperacion* operacion = nullptr);
    // r[i] = (a[i+1] - a[i]) / Periodo, the last sample 0.
    std::unique_ptr<TSenalAna> Derivada(const TSenalAna& a, const TOperacion* operacion = nullptr);
    // Running trapezoid sum, the last sample 0.
    std::unique_ptr<TSenalAna> Integral(const TSenalAna& a, const TOperacion* operacion = nullptr);
    // Logic of two digital signals ("Or", "And", "Xor", "Nand", "Nor", "Xnor"): a
    // sample counts as true only when it equals 1. EErrorCalculo for other words.
    std::unique_ptr<TSenalDig> OperarDig(const TSenalDig& a, const TSenalDig& b, const QString& op,
                                         const TOperacion* operacion = nullptr);
    std::unique_ptr<TSenalDig> Not(const TSenalDig& a, const TOperacion* operacion = nullptr);

    // Copies for the calculator: name, period and samples only (no channel, unit,
    // full scale, factor or generator). The digital copy never has an operation.
    std::unique_ptr<TSenalAna> CopiaAna(const TSenalAna& a, const TOperacion* operacion = nullptr);
    std::unique_ptr<TSenalDig> CopiaDig(const TSenalDig& a);

private:
    std::unique_ptr<TSenalAna> Nueva(const QString& nombre, const TSenalAna& modelo, int n,
                                     const TOperacion* operacion);
    void AvisoDivision();

    TTextos& textos_;
    TInteraccion& interaccion_;
};

} // namespace qv

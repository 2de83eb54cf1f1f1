#pragma once

#include "display/calculadora.h"

namespace qv {

// "Calculadora de Señales Digitales": the logic functions of two digital signals and
// NOT of one, on copies of the set's digital signals.
class TfrmCalcuDig : public TCalculadora {
    Q_OBJECT
public:
    static constexpr int Numero = 10;
    static constexpr int ContextoAyuda = 200;

    explicit TfrmCalcuDig(IPrincipal& principal, QWidget* parent = nullptr);

    // OR, AND, XOR, NAND, NOR, XNOR (codes 0 to 5) and NOT (code 6).
    void OperadorClick(int codigo);
    void spBtnNOTClick();

protected:
    int Transicion(int estado, int evento) const override { return TransicionDig(estado, evento); }
    QStringList NombresSenales() const override;
    const TSenal* BuscarSenal(const QString& nombre) const override;
    std::unique_ptr<TSenal> Copia(const TSenal& s) override;
    std::unique_ptr<TSenal> Calcular() override;
    bool NombreOcupado(const QString& nombre) const override;
    bool AnadirAlConjunto(std::unique_ptr<TSenal> senal) override;
    void HabilitarPropias() override;

private:
    QPushButton* SpBtnOR;
    QPushButton* spBtnAND;
    QPushButton* spBtnXOR;
    QPushButton* spBtnNAND;
    QPushButton* spBtnNOR;
    QPushButton* spBtnXNOR;
    QPushButton* spBtnNOT;
};

} // namespace qv

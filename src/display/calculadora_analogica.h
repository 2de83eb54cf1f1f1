#pragma once

#include "display/calculadora.h"

class QLabel;
class QLineEdit;

namespace qv {

class TSenalAna;

// "Calculadora de Señales Analógicas": sums, differences, products and quotients of two
// signals or of a signal and a typed constant, derivative, integral and a frequency
// filter, on copies of the set's analog signals.
class TfrmCalcuAna : public TCalculadora {
    Q_OBJECT
public:
    static constexpr int Numero = 25;
    static constexpr int ContextoAyuda = 200;

    explicit TfrmCalcuAna(IPrincipal& principal, QWidget* parent = nullptr);

    float Constante() const { return constante_; }
    bool YaFiltrado() const { return yaFiltrado_; }

    // "+", "--", "x", "/" (codes 7 to 10), "f dx", "d/dt", "FILTRO".
    void OperadorClick(int codigo);
    void spBtnIntegralClick();
    void spBtnDerivadaClick();
    void SpBtnFiltroClick();
    // A change of the constant field made by the user.
    void EdCteChange(const QString& texto);

    // Filters `senal` in place (kinds 0 high-pass, 1 low-pass, 2 band-pass, 3 band-stop)
    // with `referencia` as the sampling frequency. Refuses, with a message and the
    // signal untouched, a signal of fewer than two samples and a cut-off the kind uses
    // that is not below the sampling frequency (its bin would lie beyond the transform).
    bool FiltrarSenal(TSenalAna& senal, int tipo, double frecBaja, double frecAlta, double referencia);

protected:
    int Transicion(int estado, int evento) const override { return TransicionAna(estado, evento); }
    QStringList NombresSenales() const override;
    const TSenal* BuscarSenal(const QString& nombre) const override;
    std::unique_ptr<TSenal> Copia(const TSenal& s) override;
    std::unique_ptr<TSenal> Calcular() override;
    bool NombreOcupado(const QString& nombre) const override;
    bool AnadirAlConjunto(std::unique_ptr<TSenal> senal) override;
    void HabilitarPropias() override;
    void LimpiarPropio() override;
    void TrasResultado() override { LimpiarPropio(); }
    void LlenarPeriodos(const QStringList& nombres) override;

private:
    float constante_ = 0;
    bool constanteEscrita_ = false;
    bool yaFiltrado_ = false;

    QPushButton* SpBtnMAS;
    QPushButton* spBtnMENOS;
    QPushButton* spBtnPOR;
    QPushButton* spBtnDIV;
    QPushButton* spBtnDerivada;
    QPushButton* spBtnIntegral;
    QPushButton* SpBtnFiltro;
    QLabel* LabelConstante;
    QLineEdit* EdCte;
};

} // namespace qv

#pragma once

#include "channels/operaciones_comun.h"

#include <cstdint>

namespace qv {

// "Definición de operaciones analógicas": sum, difference, product and quotient of two
// analog channels or a channel and a constant, derivative, integral and frequency
// filter of a channel.
class TfrmOperacionesAna : public TOperacionesBase {
    Q_OBJECT
public:
    static constexpr int Numero = 34;

    TfrmOperacionesAna(IPrincipal& principal, const TOperaciones& operaciones, QWidget* parent = nullptr);

    // "-1" until the filter dialog has been accepted.
    QString TextoFrecBaja = QStringLiteral("-1");
    QString TextoFrecAlta = QStringLiteral("-1");
    bool Operando2Constante = false;
    bool Operando1Constante = false;
    std::uint8_t TipoFiltroElegido = 255;

protected:
    bool AnadirHabilitado() const override;
    bool ConstantesVacias() const override;
    void TeclaPulsada(const QString& operacion) override;
    void OperandoElegido(int operando, const QString& nombre) override;
    bool ComprobarOperacion() override;
    TOperacion Construir(const QString& nombre, const QString& unidad) override;
    void TrasAnadir() override;
    void ActualizaInterfaz() override;

private:
    bool Unaria() const;
    bool Completa() const; // the enabling rule without the filter's frequencies
    void ConstanteEditada(int operando);
    void VaciarConstantes();
    void PedirFiltro();

    QLabel* LabelConstante1;
    QLabel* LabelConstante2;
    QLineEdit* Operando1Edit;
    QLineEdit* Operando2Edit;
};

} // namespace qv

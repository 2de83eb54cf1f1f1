#pragma once

#include "lang/ui/formulario.h"

class QComboBox;
class QLineEdit;

namespace qv {

class IPrincipal;
class TConfigES;

// "Datos entrada analógica": name, voltage range, unit name and calibration factor of
// analog input 1..8 of the working configuration. "Aceptar" checks everything before
// it stores anything, so a refused window leaves the input as it was.
class TfrmActivaEA : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 7;
    TfrmActivaEA(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* parent = nullptr);

protected:
    bool Validar() override;

private:
    IPrincipal& principal_;
    TConfigES& trabajo_;
    const int indice_;
    QString calibradoMostrado_; // the factor as the box showed it

    QLineEdit* Edit1;
    QComboBox* ComBoxVoltajes;
    QLineEdit* DenominacionEdit;
    QLineEdit* CalibradoEdit;
};

} // namespace qv

#pragma once

#include "channels/dialogo_generador.h"

class QCheckBox;

namespace qv {

// The generator dialogs of the digital outputs (index 1..16 of the working
// configuration), pre-filled and accepted as the analog ones.

// "Generador Digital Tren": on and off times share one unit.
class TfrmGenTren : public TDialogoGenerador {
    Q_OBJECT
public:
    static constexpr int Numero = 21;
    TfrmGenTren(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent = nullptr);

protected:
    bool Validar() override;

private:
    QLineEdit* OnEdit;
    QLineEdit* OffEdit;
    QComboBox* tRetarComboBox; // unit of both times
};

// "Generador Digital Pulso": one edge at the delay, rising ("ALTO") or falling
// ("BAJO"); exactly one of the two boxes is checked.
class TfrmGenPulso : public TDialogoGenerador {
    Q_OBJECT
public:
    static constexpr int Numero = 17;
    TfrmGenPulso(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent = nullptr);

    // A click on either box checks the other one when it leaves itself unchecked and
    // unchecks it otherwise.
    void CBAltoMouseUp();
    void CBBajoMouseUp();

protected:
    bool Validar() override;

private:
    QCheckBox* CBBajo;
    QCheckBox* CBAlto;
};

} // namespace qv

#pragma once

#include "capture/dialogo_captura.h"

class QLabel;
class QLineEdit;

namespace qv {

// "Programar captación": an immediate capture (delay field hidden, delay 0) or a
// capture delayed by a number of seconds (command 7). "Aceptar" checks the time base
// and the delay and puts the delay into the working copy; the command that opened the
// dialog then programs the unit.
class TfrmProgRetardo : public TDialogoCaptura {
    Q_OBJECT
public:
    static constexpr int Numero = 5;
    static constexpr int MaxRetardo = 65535;

    explicit TfrmProgRetardo(IPrincipal& principal, QWidget* parent = nullptr);

    // Immediate capture: the delay field hidden, holding "0".
    void PonerRetardoVisible(bool visible);

protected:
    void AlMostrar() override;
    bool Validar() override;
    void TextosAplicados() override;

private:
    bool retardoVisible_ = true;
    QLabel* Label1;
    QLineEdit* RetardoEdit;
};

} // namespace qv

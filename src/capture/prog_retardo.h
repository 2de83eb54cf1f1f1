#pragma once

#include "capture/dialogo_captura.h"

class QLabel;
class QLineEdit;

namespace qv {

// "Programar captación": an immediate capture (delay field hidden, delay 0) or a
// capture delayed by a number of seconds (command 7). "Aceptar" checks the time base
// and the delay, makes the working copy current, programs the unit and writes
// "Programa.cfg"; the dialog ends with OK once programming was tried.
class TfrmProgRetardo : public TDialogoCaptura {
    Q_OBJECT
public:
    static constexpr int Numero = 5;
    static constexpr int MaxRetardo = 65535;

    explicit TfrmProgRetardo(IPrincipal& principal, QWidget* parent = nullptr);

    // Immediate capture: the delay field hidden, holding "0".
    void PonerRetardoVisible(bool visible);
    bool RetardoVisible() const { return retardoVisible_; }
    // Whether the unit accepted the programming (after OK).
    bool Programada() const { return programada_; }

protected:
    void AlMostrar() override;
    bool Validar() override;
    void TextosAplicados() override;

private:
    void AceptarRetardo();

    bool retardoVisible_ = true;
    bool programada_ = false;
    QLabel* Label1;
    QLineEdit* RetardoEdit;
};

} // namespace qv

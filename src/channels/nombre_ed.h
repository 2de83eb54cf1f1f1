#pragma once

#include "lang/ui/formulario.h"

class QLabel;
class QLineEdit;

namespace qv {

class IPrincipal;
class TConfigES;

// "Asignar Nombre": renames one channel of the working configuration (a digital input
// in the configuration windows). The name may not be empty, nor that of another
// channel, of a signal of the current set (except one captured from this very channel)
// or of an operation.
class TfrmNomED : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 11;

    // `canal`: global channel number 1..44.
    TfrmNomED(IPrincipal& principal, TConfigES& config, int canal, QWidget* parent = nullptr);

    bool Validar() override;
    void reject() override;

private:
    bool Refusar(int clave);
    bool CapturadaDeEsteCanal(const QString& nombre) const;

    IPrincipal& principal_;
    TConfigES& config_;
    int canal_;
    QLabel* LeeNombreLabel;
    QLineEdit* Edit1;
};

} // namespace qv

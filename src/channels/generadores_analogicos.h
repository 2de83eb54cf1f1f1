#pragma once

#include "channels/dialogo_generador.h"

namespace qv {

// The generator dialogs of the analog outputs (index 1..4 of the working
// configuration): each opens pre-filled from the output's present generator when it is
// of its class, and "Aceptar" replaces that generator with the one typed.

// "Generador Analogico Seno".
class TfrmGenSeno : public TDialogoGenerador {
    Q_OBJECT
public:
    static constexpr int Numero = 19;
    TfrmGenSeno(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent = nullptr);

protected:
    bool Validar() override;

private:
    QLineEdit* AOffsetEdit;
    QLineEdit* ASenoEdit;
    QLineEdit* FrecuEdit;
    QLineEdit* DesfaseEdit;
};

// "Generador Analogico Rampa".
class TfrmGenRampa : public TDialogoGenerador {
    Q_OBJECT
public:
    static constexpr int Numero = 18;
    TfrmGenRampa(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent = nullptr);

protected:
    bool Validar() override;

private:
    QLineEdit* tRampaEdit;
    QComboBox* tRetarComboBox; // unit of the ramp time
    QLineEdit* AOffsetEdit;
    QLineEdit* ARampaEdit;
};

// "Generador Analogico Escalon".
class TfrmGenEscalon : public TDialogoGenerador {
    Q_OBJECT
public:
    static constexpr int Numero = 16;
    TfrmGenEscalon(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent = nullptr);

protected:
    bool Validar() override;
    void AlMostrar() override;

private:
    QLineEdit* AOffsetEdit;
    QLineEdit* AEscalonEdit;
    int unidadRetardo_; // selected again whenever the dialog is shown
};

} // namespace qv

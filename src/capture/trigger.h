#pragma once

#include "capture/dialogo_captura.h"

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace qv {

// What the trigger dialogs share: the presence loop on "Aceptar", the checks of the
// time base, and the programming with command 6 once the trigger record is filled.
class TDialogoTrigger : public TDialogoCaptura {
    Q_OBJECT
public:
    using TDialogoCaptura::TDialogoCaptura;
    bool Programada() const { return programada_; }

protected:
    bool Validar() override;
    // The dialog's own check (after the time base) and its part of the trigger record.
    virtual bool ComprobarTrigger() { return true; }
    virtual void LlenarTrigger(TComCapvis& enlace) = 0;
    // Pause after a successful programming (the analog dialog waits half a second).
    virtual int PausaTrasProgramar() const { return 0; }

private:
    bool programada_ = false;
};

// "Trigger Analógico": the capture starts when an analog input crosses a level.
class TfrmTrigAna : public TDialogoTrigger {
    Q_OBJECT
public:
    static constexpr int Numero = 30;
    explicit TfrmTrigAna(IPrincipal& principal, QWidget* parent = nullptr);

    // Input chosen (1 to 8), 0 when none.
    int Entrada() const;
    // Channel letter of an input (the odd input of a differential pair: k, l, m, n).
    static char LetraEntrada(const TConfigES& config, int entrada);
    // Level in counts: volts / volts per count of the trigger input's own range, rounded.
    static int NivelCuentas(const TConfigES& config, int entrada, double voltios);

protected:
    bool ComprobarTrigger() override;
    void LlenarTrigger(TComCapvis& enlace) override;
    int PausaTrasProgramar() const override { return 500; }

private:
    void NivelCambiado();
    void Elegido();

    std::array<QToolButton*, 8> Entradas{};
    QButtonGroup* GrupoEntradas;
    QLineEdit* Edit1;
    QRadioButton* RB1;
    QRadioButton* RB2;
    QRadioButton* RB3;
    QLabel* LabelEntrada;
    QLabel* LabelNivel;
    bool canalElegido_ = false;
    bool corrigiendo_ = false;
};

// "-Trigger Digital": the capture starts on an edge of one digital input.
class TfrmTrigdig : public TDialogoTrigger {
    Q_OBJECT
public:
    static constexpr int Numero = 29;
    explicit TfrmTrigdig(IPrincipal& principal, QWidget* parent = nullptr);

    int Entrada() const; // 1 to 8 within the group
    bool GrupoB() const;

protected:
    void AlMostrar() override;
    void LlenarTrigger(TComCapvis& enlace) override;

private:
    void Paso(int delta);

    QGroupBox* RGCanalDigital;
    QRadioButton* RGCanalDigitalA;
    QRadioButton* RGCanalDigitalB;
    QLabel* LabelEntrada;
    QLineEdit* Edit1;
    QToolButton* SpinArriba;
    QToolButton* SpinAbajo;
    QRadioButton* RD1;
    QRadioButton* RD2;
    QRadioButton* RD3;
};

} // namespace qv

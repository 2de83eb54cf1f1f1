#pragma once

#include "capture/dialogo_captura.h"
#include "link/com_capvis.h"

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class QVBoxLayout;

namespace qv {

// What the trigger dialogs share: the checks of the time base and of the trigger on
// "Aceptar"; after OK, the trigger record that command 6 carries.
class TDialogoTrigger : public TDialogoCaptura {
    Q_OBJECT
public:
    using TDialogoCaptura::TDialogoCaptura;
    virtual TTrigger Trigger() const = 0;

protected:
    bool Validar() override;
    // The dialog's own check (after the time base).
    virtual bool ComprobarTrigger() { return true; }
    // The end of both layouts: the three edges in a row, then the buttons.
    void CerrarCapa(QVBoxLayout* capa, std::array<QRadioButton*, 3> flancos);
};

// "Trigger Analógico": the capture starts when an analog input crosses a level.
class TfrmTrigAna : public TDialogoTrigger {
    Q_OBJECT
public:
    static constexpr int Numero = 30;
    // Pause after a successful programming before the program goes on.
    static constexpr int PausaTrasProgramar = 500;

    explicit TfrmTrigAna(IPrincipal& principal, QWidget* parent = nullptr);
    TTrigger Trigger() const override;

    // Input chosen (1 to 8), 0 when none.
    int Entrada() const;
    // Channel letter of an input (the odd input of a differential pair: k, l, m, n).
    static char LetraEntrada(const TConfigES& config, int entrada);
    // Level in counts: volts / volts per count of the trigger input's own range, rounded.
    static int NivelCuentas(const TConfigES& config, int entrada, double voltios);

protected:
    bool ComprobarTrigger() override;

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
    TTrigger Trigger() const override;

protected:
    void AlMostrar() override;

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

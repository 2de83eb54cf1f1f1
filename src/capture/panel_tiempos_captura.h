#pragma once

#include "model/base_tiempos.h"

#include <QObject>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

namespace qv {

class TConfigES;
class TTextos;

// The time-base panel of the capture dialogs (sampling period, analysis time, sample
// count, fast mode, warning line) bound to the widget-free rules of base_tiempos.h:
// the controls only show and collect what TPanelTiempos holds. The controls are
// children of the dialog and carry the names of its text table (tMuesEdit,
// tMuesComboBox, tAnaEdit, tAnaComboBox, MuestrasEdit, SpBtnRapida, LabelAviso,
// LabelMuestreo, LabelAnalisis, LabelMuestras, LabelRapida).
class TPanelTiemposCaptura : public QObject {
    Q_OBJECT
public:
    TPanelTiemposCaptura(QWidget& dialogo, TConfigES& config, TTextos& textos, TVentanaRapida ventana);

    // The controls laid out in rows, ready to be added to the dialog's layout.
    QGridLayout* Capa() const { return capa_; }

    // Fills the unit boxes and the times from the configuration (updating flag set);
    // with Rapida set, presses fast mode and disables the sampling boxes.
    void Llenar();
    // The boxes as they were confirmed by leaving them.
    bool Confirmado() const { return confirmado_; }
    void PonerConfirmado(bool c) { confirmado_ = c; }
    // Leaving the analysis box: store, warn, recompute.
    void SalirAnalisis();
    void SalirMuestreo();
    // The unit boxes' accessible names, from their rows' labels as they read now.
    void NombrarUnidades();

    QLineEdit* tMuesEdit;
    QComboBox* tMuesComboBox;
    QLineEdit* tAnaEdit;
    QComboBox* tAnaComboBox;
    QLineEdit* MuestrasEdit;
    QToolButton* SpBtnRapida;
    QLabel* LabelAviso;
    QLabel* LabelMuestreo;
    QLabel* LabelAnalisis;
    QLabel* LabelMuestras;
    QLabel* LabelRapida;

Q_SIGNALS:
    // NumMuestras was shown anew (the delay dialog stores any change of it).
    void MuestrasCambiadas();

private:
    void Recalcular();
    void Leer();
    void Mostrar();
    void Rapida(bool pulsada);

    TConfigES& config_;
    TTextos& textos_;
    TVentanaRapida ventana_;
    TPanelTiempos panel_;
    QGridLayout* capa_;
    bool actualizando_ = false;
    bool confirmado_ = false;
};

} // namespace qv

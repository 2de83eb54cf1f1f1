#pragma once

#include "capture/monitor.h"
#include "channels/act_des_senales.h"
#include "lang/ui/formulario.h"

#include <QTimer>
#include <memory>

class QLabel;
class QPushButton;
class QStackedLayout;

namespace qv {

class IPrincipal;
class TDibujoMonitorGrafica;

// "Captación y Visualización": draws a capture while the unit takes it, polling ten
// times a second. Watching a running capture ("Monitorizar"), the end of the capture
// brings the whole capture back and the window stays for viewing; in continuous mode
// (Estado().Monitorizando()) every end programs the same capture again at once, until
// the window is closed.
class TfrmMonitorizacion : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 31;
    static constexpr int Intervalo = 100;

    explicit TfrmMonitorizacion(IPrincipal& principal, QWidget* parent = nullptr);
    ~TfrmMonitorizacion() override;

    // The timer's handler: one poll unless the previous one is still on its way.
    TTarea MonitorizacionTimerTimer();
    void SpBtnElegirClick();
    void CerrarMonitorizacionBtnClick();

    QTimer& MonitorizacionTimer() { return timer_; }
    // Continuous captures that were programmed again since the window opened.
    int Reprogramaciones() const { return reprogramaciones_; }
    // Polling stopped (the watched capture ended and was read, or a failure).
    bool Detenido() const { return detenido_; }
    const TMonitor* Monitor() const { return monitor_.get(); }
    TEstadoSalidas& Salidas() { return salidas_; }

protected:
    void AlMostrar() override;
    void done(int r) override;

private:
    TTarea Empezar();
    void Parar();

    IPrincipal& principal_;
    TEstadoSalidas salidas_;
    std::unique_ptr<TDibujoMonitorGrafica> dibujo_;
    std::unique_ptr<TMonitor> monitor_;
    QTimer timer_;
    bool listo_ = true;
    bool detenido_ = false;
    int reprogramaciones_ = 0;

    QLabel* Label1;
    QPushButton* SpBtnElegir;
    QPushButton* CerrarMonitorizacionBtn;
};

} // namespace qv

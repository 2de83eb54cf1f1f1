#pragma once

#include "link/secuencia_captura.h"

#include <QObject>
#include <QTimer>

class QEventLoop;

namespace qv {

class TReloj;
class TfrmEsperaAck;

// Drives a capture sequence (TSecuenciaCaptura) from a timer on the window thread: a
// local event loop runs while the timer calls Paso, so windows keep painting and the
// progress window (modal to the program) keeps the user from starting another command.
// Paso is never entered twice: a timer shot that comes while a step is still waiting
// inside the protocol is dropped, and the next shot is armed only when a step returns.
//
// On a clock of real time the pauses between steps are timer intervals; on a virtual
// clock (tests) they advance the clock and the next step comes at once.
class TConductorSecuencia : public QObject {
    Q_OBJECT
public:
    TConductorSecuencia(TSecuenciaCaptura& secuencia, TReloj& reloj, TfrmEsperaAck* espera = nullptr);
    ~TConductorSecuencia() override;

    // Runs steps until the sequence stops at anything but Sigue (Decidir, Terminada,
    // Fallida, Cancelada) and answers that.
    TSecuenciaCaptura::TPaso Ejecutar();

    // Steps run so far (for tests and benchmarks).
    int Pasos() const { return pasos_; }

private:
    void Disparo();
    void Armar(int ms);
    void Progreso();

    TSecuenciaCaptura& secuencia_;
    TReloj& reloj_;
    TfrmEsperaAck* espera_;
    bool tiempoReal_;
    QTimer timer_;
    QEventLoop* bucle_ = nullptr;
    bool enPaso_ = false;
    int pasos_ = 0;
    TSecuenciaCaptura::TPaso resultado_ = TSecuenciaCaptura::TPaso::Sigue;
};

} // namespace qv

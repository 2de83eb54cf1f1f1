#pragma once

#include "link/reloj.h"

#include <QElapsedTimer>

namespace qv {

// The clock of the program's window thread. Tick is the real clock; Dormir keeps the
// event loop running until the time has passed, so windows paint and progress moves
// while the protocol waits, but user input is held back: the window system's by the
// event loop itself, and input posted to objects is kept and posted again once the
// wait is over, in its order. So the user cannot start another command in the middle
// of one, and nothing the user did is lost.
//
// Timers keep firing during Dormir. A timer that drives a device sequence must guard
// against re-entry: a step that waits here lets the same timer fire again before the
// step has returned.
class TRelojEventos : public TReloj {
public:
    TRelojEventos() { Inicio.start(); }
    qint64 Tick() override { return Inicio.elapsed(); }
    void Dormir(int ms) override;

private:
    QElapsedTimer Inicio;
};

} // namespace qv

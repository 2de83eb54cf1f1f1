#pragma once

#include <QString>

namespace qv {

// The relay program of this station: "RelayServer" in the program folder. It is
// started detached, without a shell and without arguments, and it outlives the
// program. Stopping reaches only this user's relays started from this folder.
class TRelayLocal {
public:
    explicit TRelayLocal(const QString& carpetaPrograma);

    QString Programa() const { return programa_; }

    // Starts the relay unless one of this folder is already running (a second one
    // could not listen on the relay's port anyway). Whether it keeps running is not
    // checked: a relay that cannot start shows later as a failed connection.
    bool Iniciar();
    bool EnMarcha() const;

    // Ends every relay of this folder and user: SIGTERM, and SIGKILL for those still
    // running after `esperaMs`. Answers how many were running.
    int Detener(int esperaMs = 2000);

private:
    QString carpeta_;
    QString programa_;
};

} // namespace qv

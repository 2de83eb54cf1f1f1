#pragma once

#include "link/tcp_port.h"

#include <QString>

#include <future>

namespace qv {

// The relay program of this station: "RelayServer" in the program folder. It is
// started detached, without a shell and without arguments, and it outlives the
// program. Stopping reaches only this user's relays started from this folder.
class TRelayLocal {
public:
    explicit TRelayLocal(const QString& carpetaPrograma, quint16 puerto = TTcpPort::PuertoRelay);

    QString Programa() const { return programa_; }

    // Starts the relay unless one of this folder is already running or the relay's
    // port of this PC is already served (the relay service, or another user's
    // program): a second one could not listen there anyway. Whether it keeps running
    // is not checked: a relay that cannot start shows later as a failed connection.
    bool Iniciar();
    bool EnMarcha() const;
    // Something listens on the relay's TCP port of this PC, whoever runs it.
    bool PuertoEnUso() const;

    // Ends every relay of this folder and user: SIGTERM, and SIGKILL for those still
    // running after `esperaMs`, waited for on a thread of its own (the next stop and
    // the destructor wait for it). Answers how many were running.
    int Detener(int esperaMs = 2000);

private:
    std::future<void> parada_;
    QString carpeta_;
    QString programa_;
    quint16 puerto_;
};

} // namespace qv

#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <stdexcept>

namespace qv {

// Failure of a transport component (open, settings, status, write, read). The text
// starts with the operation that failed, then the system's own error text.
class EComPort : public std::runtime_error {
public:
    explicit EComPort(const QString& mensaje) : std::runtime_error(mensaje.toStdString()) {}
};

// The far end of the transport says that no unit is behind it (a relay that has none,
// or lost it): nothing will answer the command sent last, so there is no point waiting.
class ESinUnidad : public EComPort {
public:
    using EComPort::EComPort;
};

// The relay refused the connection: this PC already holds every connection it may
// open to it (a program, companions, leftovers). Waiting does not help; closing one does.
class ESinPlazas : public EComPort {
public:
    using EComPort::EComPort;
};

// The relay says that its unit is getting ready (it is looking for it, or throwing away
// what the unit still sends of an abandoned answer): the command did not reach the unit,
// and the same command a moment later may.
class EPreparando : public EComPort {
public:
    using EComPort::EComPort;
};

// Input/output error of the unit search: no unit answered on the probed ports.
class EEntradaSalida : public EComPort {
public:
    using EComPort::EComPort;
};

// A long send stopped between its pieces because the user cancelled: no link failure.
// What went out is closed with "#", so the unit throws the half command away.
class EInterrumpido : public std::runtime_error {
public:
    EInterrumpido() : std::runtime_error("send cancelled") {}
};

// The abstract port the protocol object talks through. Wire text is 8-bit, so it is
// carried as bytes. Operations other than Cerrar and Conectado may throw EComPort or
// one of its kinds, which the protocol object turns into a failed operation; anything
// else (no memory, a fault of the program) is not a link failure and goes past it.
class TCOM {
public:
    virtual ~TCOM() = default;
    virtual void Abrir() = 0;                             // open the transport
    virtual void Cerrar() = 0;                            // close it; never fails
    virtual void Configurar(const QString& host) = 0;     // settings; serial: also finds the unit
    virtual void Enviar(const QByteArray& texto) = 0;     // send, in pieces if long
    virtual void Recibir(QByteArray& texto) = 0;          // whatever has arrived (may be empty)
    virtual bool Conectado() = 0;                         // true while open
    // Throws away what has arrived and was not read, without waiting for more: a
    // command about to go out must not take a late answer to an earlier one for its own.
    virtual void Descartar() {}
    // Where a send of several pieces looks, between them, whether to stop (null: never).
    void PonerInterrupcion(const std::atomic<bool>* i) { Interrupcion_ = i; }

protected:
    bool Interrumpido() const { return Interrupcion_ && Interrupcion_->load(); }

private:
    const std::atomic<bool>* Interrupcion_ = nullptr;
};

} // namespace qv

#pragma once

#include "link/com.h"

#include <QHostAddress>
#include <memory>

class QTcpSocket;

namespace qv {

// The TCP transport to the relay program. Commands go out as CR LF lines of at most
// 100 characters; replies come back as LF-ended lines.
//
// Two lines are the relay's own, never a unit's (whose answers start with "&"), and end
// the wait for the command sent last at once instead of after every read time-out:
// "%" (no unit behind the relay, or it was lost) and "!" + holder (command refused).
// A third comes instead of the greeting: "*", the relay has no slot left for this PC.
class TTcpPort : public TCOM {
public:
    static constexpr int PuertoRelay = 9099;
    static constexpr int LargoLinea = 100;
    static constexpr char MarcaSinUnidad = '%';
    static constexpr char MarcaRechazo = '!';
    static constexpr char MarcaSinPlazas = '*';

    explicit TTcpPort(int puerto = PuertoRelay);
    ~TTcpPort() override;

    // Connects, waiting at most TiempoConexion ms; "already connected" is no error.
    void Abrir() override;
    void Cerrar() override;
    // Resolves Host (empty: this machine's own address); sets port and read time-out.
    void Configurar(const QString& host) override;
    void Enviar(const QByteArray& texto) override;
    // One line without its end, or empty after TiempoLectura ms. Throws when the
    // peer has closed the connection and nothing is left to read, on a refusal,
    // (ESinPlazas) on the relay's no-slot line, and (ESinUnidad) on the relay's
    // no-unit line and on every read after it until the next command goes out.
    void Recibir(QByteArray& texto) override;
    // Whatever the socket holds now, whole lines or not.
    void Descartar() override;
    bool Conectado() override;
    // The relay said, since the last command went out, that it has no unit.
    bool SinUnidad() const { return SinUnidad_; }

    QHostAddress Direccion() const { return Host; }
    int Puerto() const { return PuertoTcp; }

    int TiempoLectura = 1200;   // ms a line read waits
    int TiempoConexion = 10000; // ms a connect waits; a blocked window must not hang
    qsizetype LineaMaxima = 4 * 1024 * 1024; // a longer unended line is refused

private:
    std::unique_ptr<QTcpSocket> Cliente;
    QHostAddress Host;
    int PuertoTcp;
    bool SinUnidad_ = false;
};

} // namespace qv

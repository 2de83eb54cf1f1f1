#pragma once

#include "link/com.h"

#include <QHostAddress>
#include <memory>

class QTcpSocket;

namespace qv {

// The TCP transport to the relay program. Commands go out as CR LF lines of at most
// 100 characters; replies come back as LF-ended lines.
//
// Four lines are the relay's own, never a unit's (whose answers start with "&"), and end
// the wait for the command sent last at once instead of after every read time-out:
// "%" (no unit behind the relay, or it was lost), "~" (the unit left the command
// unanswered and is still there), "+" (the relay's unit is getting ready: the command
// did not reach it) and "!" + holder (command refused). A fifth comes instead of the
// greeting: "*", the relay has no slot left for this PC.
//
// The relay's turn lines ("@...", and the greetings "$..." that come after the first)
// are never an answer: they are set aside, in order, for TomarLineasRelay.
class TTcpPort : public TCOM {
public:
    static constexpr int PuertoRelay = 9099;
    static constexpr int LargoLinea = 100;
    static constexpr char MarcaSinUnidad = '%';
    static constexpr char MarcaAbandonada = '~';
    static constexpr char MarcaPreparando = '+';
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
    // (ESinPlazas) on the relay's no-slot line, and on the lines that say nothing will
    // answer the command sent last, and on every read after them until the next command
    // goes out: (ESinUnidad) no unit, (EPreparando) the unit getting ready, (EComPort)
    // the command given up.
    void Recibir(QByteArray& texto) override;
    // Whatever the socket holds now, whole lines or not.
    void Descartar() override;
    bool Conectado() override;

    // Waits up to `esperaMs` for a line and sets aside every whole line the relay has
    // sent meanwhile (the relay's own; anything else belongs to no command and is
    // dropped). False when the connection has closed and nothing is left to read.
    bool LeerLineasRelay(int esperaMs);
    // The relay's lines set aside so far, oldest first; they are forgotten here.
    QList<QByteArray> TomarLineasRelay();
    // The local address connections start from (a machine with several); null: any.
    void PonerOrigen(const QHostAddress& origen) { Origen = origen; }
    // The relay said, since the last command went out, that it has no unit.
    bool SinUnidad() const { return Final_ == MarcaSinUnidad; }

    QHostAddress Direccion() const { return Host; }
    int Puerto() const { return PuertoTcp; }

    int TiempoLectura = 1200;   // ms a line read waits
    int TiempoConexion = 10000; // ms a connect waits; a blocked window must not hang
    qsizetype LineaMaxima = 4 * 1024 * 1024; // a longer unended line is refused

private:
    std::unique_ptr<QTcpSocket> Cliente;
    QHostAddress Host;
    int PuertoTcp;
    // The relay's line that ended the wait for the command sent last, 0 while none.
    char Final_ = 0;
    QList<QByteArray> Relay_;
    QHostAddress Origen;
    static constexpr int MaxLineasRelay = 256;
    void Apartar(const QByteArray& linea);
    [[noreturn]] void LanzarFinal() const;
};

} // namespace qv

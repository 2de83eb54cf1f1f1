#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

namespace qv {

// One client's input as the relay takes it: LF-ended lines (a CR before the LF is
// dropped) of at most `maxLinea` characters, whose contents are joined into commands
// ended by "#". XON and XOFF bytes are dropped: on the serial line they would stall
// the unit. Nothing here touches a socket, so the line handling can be fuzzed alone.
class TEntradaCliente {
public:
    TEntradaCliente(qsizetype maxLinea, qsizetype maxComando) : maxLinea_(maxLinea), maxComando_(maxComando) {}

    // Cuts `datos` into lines and hands each one's contents to `linea`, which answers
    // false to stop. False when a line grew past the bound (the client is to be
    // dropped) or `linea` stopped.
    bool Lineas(QByteArrayView datos, const std::function<bool(QByteArrayView)>& linea);

    // Joins the contents of a line of a client that may send commands; every command
    // it completes goes to `comando` (false stops). A command whose beginning came
    // while the client could not send commands is handed over empty: it must not reach
    // the unit cut short. False when the command grew past the bound or `comando` stopped.
    bool Unir(QByteArrayView linea, const std::function<bool(const QByteArray&)>& comando);

    // A line of a client that may not send commands: nothing of it is kept. Answers
    // how many commands it completed (each is to be refused).
    int Ignorar(QByteArrayView linea);

    // Bytes held for the line and the command being received.
    qsizetype Retenidos() const { return linea_.size() + comando_.size(); }
    // A command has begun and not ended: the next line is more of it.
    bool EnComando() const { return !comando_.isEmpty() || descartando_; }

private:
    qsizetype maxLinea_;
    qsizetype maxComando_;
    QByteArray linea_;
    QByteArray comando_;
    bool descartando_ = false; // the command being received is not kept
};

// Whether a line holds anything but flow-control bytes.
bool TieneContenido(QByteArrayView linea);

// Whether `comando` is one the unit takes: a known command number (1 to 10, 12, 13),
// then "#" or "," followed by printable ASCII, and a single "#" at the end. Anything
// else never goes to the unit: it would go unanswered and hold up the commands
// behind it.
bool ComandoValido(QByteArrayView comando);

// The answer to a discovery datagram: "QVSAD " + this PC's name + " " + holder's name
// for the request "QVSAD?" (blanks around it allowed), nothing for any other datagram.
std::optional<QByteArray> RespuestaDescubrimiento(QByteArrayView datagrama, const QString& equipo,
                                                  const QString& titular);

} // namespace qv

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <deque>
#include <optional>

namespace qv {

// The turn lines a client may send, each a line of its own outside any command:
//   "@PEDIR"   a place in line for this PC ("@PEDIR NAME" with the client's own name too)
//   "@DEJAR"   leaves the line, or gives up a call not yet taken
//   "@AVISOS"  the holder hears of the line ("@TURNO 0 n -") and of its turn's end
struct TOrdenTurno {
    enum class TTipo { Pedir, Dejar, Avisos };
    TTipo tipo;
    QString nombre; // the PC a request names, empty when none
};

// Whether `linea` (flow-control bytes already allowed) is a turn line at all: it starts
// with "@". Such a line never reaches the unit.
bool EsLineaTurno(QByteArrayView linea);
// The order of a turn line, nothing for an unknown or ill-formed one.
std::optional<TOrdenTurno> LeerOrdenTurno(QByteArrayView linea);

// The line of the relay's stations: one place per PC, in the order they asked. It holds
// nothing but the places (a refused line costs nothing), and knows nothing of sockets:
// a place is known by an opaque key.
class TColaTurnos {
public:
    struct TPlaza {
        const void* clave;
        QString equipo;  // the PC: one place each
        QString nombre;  // what the room view shows
        qint64 desde;    // ms on the relay's clock when it asked
    };

    // False when this key or this PC already has a place.
    bool Pedir(const void* clave, const QString& equipo, const QString& nombre, qint64 ahora);
    // False when it had none.
    bool Dejar(const void* clave);
    // 1 for the next one, 0 when the key has no place.
    int Lugar(const void* clave) const;
    bool Tiene(const QString& equipo) const;
    std::optional<TPlaza> Sacar();
    int Tamano() const { return static_cast<int>(plazas_.size()); }
    bool Vacia() const { return plazas_.empty(); }
    const std::deque<TPlaza>& Plazas() const { return plazas_; }

    // Turns that ended, for the expected waits.
    void TurnoTerminado(qint64 duracionMs);
    // Mean length of a turn, nothing until one has ended; `tope` > 0 bounds it.
    std::optional<qint64> Media(qint64 tope = 0) const;
    // Expected wait of place `lugar` when the holder has held the unit for `retenidoMs`:
    // what is left of a mean turn, then a mean turn per place ahead.
    std::optional<qint64> Espera(int lugar, qint64 retenidoMs, qint64 tope = 0) const;

private:
    std::deque<TPlaza> plazas_;
    qint64 sumaTurnos_ = 0;
    qint64 numTurnos_ = 0;
};

// "@TURNO <place> <waiting> <expected wait in s | ->": place 0 is the holder's.
QByteArray LineaTurno(int lugar, int esperan, std::optional<qint64> esperaMs);
// The room view's answer to "QVSAD TURNOS?": "QVSAD TURNOS <holder | -> <s held>
// <mean turn s | -> [<name>:<s waiting> ...]", the line in order.
QByteArray LineaAula(const QString& titular, qint64 retenidoMs, std::optional<qint64> mediaMs,
                     const TColaTurnos& cola, qint64 ahora);

} // namespace qv

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace qv {

class TComCapvis;

// What the relay has told a station about its turn, from the lines it set aside.
struct TEstadoTurno {
    bool conectado = true;  // the connection to the relay is still open
    bool llamado = false;   // the relay gave it the unit ("$" naming it)
    bool tomado = false;    // and the unit answered: the station holds it now
    int claveFallo = 0;     // the take failed with this text
    bool fuera = false;     // it lost its place or its call ("@FUERA")
    bool fin = false;       // its turn with the unit has ended ("@FIN")
    bool rechazado = false; // the relay refused the request ("!")
    std::optional<int> aviso;     // seconds left of its turn ("@AVISO")
    std::optional<int> lugar;     // 1 next, 0 holding ("@TURNO")
    int esperan = 0;              // how many wait
    std::optional<int> espera;    // expected wait in s, none while unknown
    std::optional<QString> titular; // holder named by the last greeting that came
};

// Applies the relay's lines, in order, to `e`. A greeting with an empty name or this
// PC's own (`pcLocal`, ignoring case) is a call.
void AplicarLineasTurno(const QList<QByteArray>& lineas, const QString& pcLocal, TEstadoTurno& e);

// The room as the relay reports it to "QVSAD TURNOS?".
struct TVistaAula {
    QString titular;              // empty while the unit is free
    int retenido = 0;             // s the holder has held it
    std::optional<int> media;     // mean turn in s
    QList<QPair<QString, int>> cola; // PC and s waiting, first in line first
};
std::optional<TVistaAula> LeerVistaAula(const QByteArray& datagrama);
// A length of time as the turn texts give it: "45 s", "3 min 05 s", "1 h 20 min".
QString TextoDuracion(int segundos);
inline constexpr const char* PeticionAula = "QVSAD TURNOS?";

// The station's side of the turn lines, on the protocol object's thread. Each is
// bounded by `esperaMs` and never throws.
namespace turno {
// Asks the relay of the open connection for a place; false when there is no TCP
// connection to ask on.
bool Pedir(TComCapvis& com);
// Asks, as the holder, to hear of the line (how many wait, the turn's end).
bool Avisos(TComCapvis& com);
// Leaves the line (or a call) and closes the connection.
void Dejar(TComCapvis& com);
// What the relay said since the last look, waiting at most `esperaMs` for it; a call is
// taken at once (the version is read, as Conectar does), through `servidor`.
TEstadoTurno Mirar(TComCapvis& com, int esperaMs, const QString& servidor);
} // namespace turno

} // namespace qv

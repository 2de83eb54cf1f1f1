#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qv {

class TComCapvis;

// Texts of the turns.
namespace clave {
inline constexpr int PedirTurno = 510;
inline constexpr int LugarTurno = 511;    // "Turno: %1 de %2"
inline constexpr int EsperaTurno = 512;   // "espera estimada: %1"
inline constexpr int DejarTurno = 513;
inline constexpr int LlamadaTurno = 514;  // %1 the PC of the unit
inline constexpr int AvisoTurno = 515;
inline constexpr int FinTurno = 516;
inline constexpr int TurnoPerdido = 517;
inline constexpr int ColaPerdida = 518;
inline constexpr int EsperanTurno = 519;  // %1 stations
inline constexpr int TurnosAula = 520;
inline constexpr int ColPuesto = 521;
inline constexpr int ColTiempo = 522;
inline constexpr int SADLibre = 523;
inline constexpr int SinRespuestaAula = 524;
inline constexpr int SinTurno = 525;
inline constexpr int ConElSAD = 526;
inline constexpr int TurnoMedio = 527;    // %1 a length of time
inline constexpr int PCAula = 528;
inline constexpr int EsperandoTurno = 529; // %1 the PC of the unit
} // namespace clave

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
// A text with its values in the places "%1", "%2"...: where the text has none for one (a
// language file of another version) the value follows it, so that nothing is lost.
QString RellenarTexto(QString texto, const QStringList& valores);
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

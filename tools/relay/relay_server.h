#pragma once

#include "cola_turnos.h"
#include "entrada_cliente.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <deque>
#include <map>

class QTcpServer;
class QTcpSocket;
class QUdpSocket;

namespace qv {

class TLineaUnidad;

// Bounds that keep the relay's memory and slots safe from whatever its peers do.
struct TLimitesRelay {
    int maxClientes = 128;  // a 40-station classroom with a program and a companion each
    int maxPorEquipo = 4;   // one machine's program, companion and a spare
    int maxCola = 32;       // commands waiting for the unit
    qint64 maxSalida = 8 * 1024 * 1024; // unit answers not yet taken by a client
    qint64 maxAviso = 64 * 1024;        // the relay's own lines not yet taken by a client
    int reintentoUnidadMs = 1000;       // a unit not found is looked for again after this
    int olvidoMs = 3000;                // a command the unit leaves unanswered is given up
    int vaciadoMs = 6000;               // the late answer of a command given up must end by then
    int cierreRechazoMs = 2000;         // a connection refused for lack of slots is cut after this
    int llamadaMs = 60000;              // a station called must take the unit by then
    qint64 turnoMaximoMs = 0;           // longest turn while others wait; 0 none
    int avisoTurnoMs = 60000;           // the holder is warned this long before its turn ends
    int graciaLecturaMs = 5000;         // a read-back under way may start (again) this long after
    int prorrogaMaximaMs = 180000;      // read-backs never keep a turn past its end longer than this
    int maxAulaPorSegundo = 50;         // room-view answers; a flood of requests is not amplified
};

// Shares one unit among the program's TCP clients.
//
// Wire conventions (TCP, default port 9099; every line the relay sends ends in LF):
//  - Greeting, one line on every new connection: "$" + holder's name. The first
//    client that connects while nobody holds the unit becomes the holder and is
//    greeted with an empty name ("$"); every other client gets the holder's name,
//    which is the holder's peer address ("192.168.1.20").
//  - Clients send command text as CR LF lines; the contents of a client's lines are
//    joined, and each command completed by "#" goes to the unit whole. XON and XOFF
//    bytes are dropped: on the serial line they would stall the unit.
//  - The unit's answer to each command reaches the client that sent it as one line:
//    "&" for commands 3, 5, 6, 7, 8, 12, 13 and "&...#" for 1, 2, 4, 9, 10. An answer
//    that grows past 4096 bytes without its "#" (a long read-back) is passed on as it
//    comes, in lines that each end after a ",", so the client, which joins line
//    contents, never waits for the whole of it. Commands reach the unit one at a time,
//    each after the answer to the one before, so an answer can never be handed to the
//    wrong command. Bytes that never complete an answer (no "&" first) are passed on as
//    one line after 300 ms of silence from the unit; bytes that come while no command is
//    on the line, or after the end of the answer, belong to nobody and are dropped.
//  - Given up: a command that the unit leaves unanswered for 3 s (no byte at all, or no
//    further byte of an answer begun) is answered with the line "~" (the command failed;
//    the unit is still there). The rest of its answer, when it comes late, is thrown
//    away (up to its "#", or its "&" for the commands answered by "&" alone) before the
//    next command goes out, never handed to another command; an answer that has not
//    ended 6 s after it was given up counts as a lost unit, which is looked for again.
//  - Getting ready: while the relay listens to the unit's lines before a search (until
//    what a unit still sends of an abandoned answer, after a restart or a line given up,
//    has ended; at most 40 s) or throws away a late answer, every command is answered
//    with the line "+" at once, and does not reach the unit: the same command a moment
//    later may.
//  - No unit: a command that cannot reach the unit (none is found, or its line was
//    lost, also while the command was on it) is answered with the line "%", and the next
//    command goes out. The client stops waiting at once. A unit not found is looked for
//    again at most once a second: a command that comes sooner waits for the rest of that
//    second and then for the search, so a unit that is back is found by it.
//  - Refusal: a command is not sent to the unit, and its client gets the line "!" +
//    holder's name instead, which the program reads as a failed command, when the
//    client does not hold the unit, when the command is not one the unit takes (a
//    known command number, then "#" or "," and printable text: binary noise never
//    reaches the unit to hold up the commands behind it), or when 32 commands, or
//    4 MB of them, already wait for the unit. Refusals are collapsed: one line per
//    piece of input read from the client, however many commands it held.
//  - Release: when the holder's connection closes, the unit's outputs are set to
//    zero ("5,U,0,V,0,W,0,X,0,Y,0,Z,0#", sent once the unit is ready) and nobody holds
//    it. Clients still connected are told "$" (the unit is free); the first of them that
//    sends a line with content, or the next client to connect, becomes the holder, and
//    the others are then told "$" + the new holder's name.
//  - Turns (lines a station following the protocol above never sends nor gets): a line
//    "@PEDIR" (outside a command) puts the client's PC in line, one place per PC; it
//    then gets "@TURNO <place> <waiting> <expected wait in s, or ->" now and whenever
//    that changes. When the holder goes (or its turn ends) the outputs go to zero and
//    the first in line is called with the holder's greeting "$"; the others are told
//    "$" + its name. One that sends no command within 60 s gets "@FUERA" and the next
//    is called. "@DEJAR" leaves the line ("@FUERA"). With a longest turn set and others
//    waiting, the holder gets "@AVISO <s left>" a minute before its turn ends and
//    "@FIN" at the end, and then the refusals of any other client; a read-back under
//    way is never cut. A holder that sends "@AVISOS" hears "@TURNO 0 <waiting> -". Any
//    other line that starts with "@", a request for another PC's place or a second one,
//    gets the refusal and nothing more.
//  - Bounds: a line of more than 4096 characters, or a command that grows past
//    4 MB, closes that client's connection; so does a client that does not read what
//    it is sent (more than 8 MB of answers, or 64 KB of the relay's own lines, waiting
//    for it). At most 128 clients are served and at most 4 from one machine (one IPv4
//    address, or one IPv6 /64 network); a further connection gets the single line "*"
//    instead of the greeting (no slot left, for this machine or for anyone) and is
//    closed.
//
// Discovery (UDP, same port number): the datagram "QVSAD?" is answered with
// "QVSAD " + this PC's host name + " " + holder's name (empty while the unit is
// free), sent back to the sender's address and port; "QVSAD TURNOS?" with the room
// view (LineaAula), at most 50 a second. Other datagrams are ignored.
class RelayServer : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 PuertoPorDefecto = 9099;
    static constexpr int MaxLinea = 4096;
    static constexpr int MaxComando = 4 * 1024 * 1024;
    static constexpr int MaxLectura = 64 * 1024; // read from one client before others get a turn
    static constexpr int SilencioMs = 300;
    static constexpr int TrozoRespuesta = 4096;
    static constexpr const char* ComandoLiberar = "5,U,0,V,0,W,0,X,0,Y,0,Z,0#";
    static constexpr const char* PeticionDescubrir = "QVSAD?";
    static constexpr const char* RespuestaSinUnidad = "%";
    static constexpr const char* RespuestaAbandonada = "~";
    static constexpr const char* RespuestaPreparando = "+";
    static constexpr const char* RespuestaSinPlazas = "*";

    RelayServer(TLineaUnidad& linea, QString nombreEquipo, QObject* padre = nullptr);
    ~RelayServer() override;

    // Looks for the unit now (at start), unless its line is open or a search is under way;
    // UnidadBuscada tells how it ended, at once or once the lines have fallen quiet.
    void BuscarUnidad();

    // Listens for TCP clients and discovery datagrams. Port 0 takes free ports.
    bool Escuchar(const QHostAddress& direccion = QHostAddress::Any, quint16 puerto = PuertoPorDefecto);
    quint16 PuertoTcp() const;
    quint16 PuertoUdp() const;
    QString ErrorEscucha() const { return error_; }

    void PonerLimites(const TLimitesRelay& limites);
    const TLimitesRelay& Limites() const { return limites_; }

    QString Titular() const;       // holder's name, empty while free
    int EnCola() const { return turnos_.Tamano(); }
    // A station was called and has not taken the unit yet.
    bool Llamando() const { return !llamado_.isNull(); }
    int NumClientes() const { return static_cast<int>(clientes_.size()); }
    int ComandosEnCola() const { return static_cast<int>(cola_.size()); }
    // Bytes the relay holds for its peers: partial lines and commands, commands for
    // the unit, an answer being framed, and what the sockets keep to send or to read.
    qint64 BytesRetenidos() const;
    // Bytes read from clients since the start.
    qint64 BytesRecibidos() const { return bytesRecibidos_; }

Q_SIGNALS:
    // A search for the unit has ended.
    void UnidadBuscada(bool hallada);
    // What happened to the turns, for the log, verb first: "waits 10.0.0.5 place 3",
    // "called", "took", "released", "left", "declined" (a call), "missed" (a call not
    // taken in time), "warned", "ended" (a longest turn), each with the PC's name.
    void Suceso(const QString& texto);

private:
    struct TCliente {
        QString nombre;
        QString equipo;     // what the per-machine bound counts by
        TEntradaCliente entrada{MaxLinea, MaxComando};
        bool rechazado = false; // a refusal went out for the piece of input being read
        bool cortado = false;   // does not read what it is sent: on its way out
        bool avisos = false;    // speaks the turn lines: hears of the line
    };
    struct TPendiente {
        QByteArray comando;
        bool conDatos;      // answer ends in "#"; otherwise a lone "&"
        QPointer<QTcpSocket> cliente;
        quint64 id;
        bool propio;        // the relay's own (the release): it waits for a unit getting ready
    };

    void NuevaConexion();
    void LeerCliente(QTcpSocket* s);
    // false when the client was dropped
    bool TratarLinea(QTcpSocket* s, QByteArrayView linea);
    bool Ordenar(QTcpSocket* s, const QByteArray& comando);
    void Rechazar(QTcpSocket* s);
    void RechazarSinPlazas(QTcpSocket* s);
    void Quitar(QTcpSocket* s);
    void Cortar(QTcpSocket* s);
    void Reenviar(const QByteArray& comando, QTcpSocket* origen);
    void Liberar(const QString& quien); // the holder has gone
    void Avisar(const QByteArray& linea, QTcpSocket* excepto);
    // Writes unless the client already holds `limite` bytes it has not taken; such a
    // client is dropped instead.
    void Escribir(QTcpSocket* s, const QByteArray& texto, qint64 limite);
    void Aviso(QTcpSocket* s, const QByteArray& linea) { Escribir(s, linea, limites_.maxAviso); }

    // Starts a search: false while the lines are listened to first (AlCallar goes on).
    bool Buscar();
    void AlCallar();
    void Decidir(bool hallada);
    void SinUnidad();  // answers "%" to every command waiting
    void Preparando(); // answers "+" to every client command waiting
    void LlegadaUnidad(const QByteArray& datos);
    void PerdidaUnidad();
    void Siguiente();
    void Terminado();
    void Repartir();
    bool RespuestaEmpezada() const;
    void PasarTrozo();
    void AlSilencio();
    void SinRespuesta();
    void Abandonar();
    void Vaciar(const QByteArray& datos);
    void VaciadoAgotado();
    void Entregar(const QByteArray& texto);

    void Descubrir();

    // Turns.
    void TratarTurno(QTcpSocket* s, QByteArrayView linea);
    void Llamar(QTcpSocket* s);
    void Pasar();              // the unit, just let go, to the first in line or to nobody
    void Tomar();              // the station called sent its first command
    void EmpezarTurno();
    void TerminarTurno();      // the holder's turn, for the mean length
    void LlamadaAgotada();
    void RevisarTurno();
    void CortarTurno();
    bool TurnoAgotado(const QByteArray& comando) const;
    qint64 FinTurno() const;
    bool TitularHablando() const;
    void AvisarCola();
    void AvisoTurno(QTcpSocket* s, const QByteArray& linea);
    void ColaCambiada();

    TLineaUnidad& linea_;
    QString equipo_;
    TLimitesRelay limites_;
    QTcpServer* servidor_;
    QUdpSocket* udp_;
    QString error_;
    std::map<QTcpSocket*, TCliente> clientes_; // node-based: entries stay put while others go
    QList<QTcpSocket*> orden_;  // clients by arrival, longest waiting first
    QPointer<QTcpSocket> titular_;
    // Commands for the unit, one at a time: the front one is on the line while
    // enCurso_ is set, and its answer is framed before the next goes out.
    std::deque<TPendiente> cola_;
    qint64 bytesCola_ = 0;
    qint64 bytesRecibidos_ = 0;
    bool enCurso_ = false;
    bool enviando_ = false;
    quint64 ultimoId_ = 0;
    QByteArray respuesta_;
    bool trozos_ = false; // the answer on its way is being passed on in pieces
    QTimer silencio_;
    QTimer espera_;
    QElapsedTimer sinUnidadDesde_; // valid while the unit was last looked for in vain
    QTimer reintento_;             // a command waits for the next search
    bool acallando_ = false;       // the lines are listened to before a search
    // The late answer of a command given up is being thrown away: its framing.
    bool vaciando_ = false;
    bool vaciarConDatos_ = false;
    QTimer vaciado_;

    TColaTurnos turnos_;
    QPointer<QTcpSocket> llamado_; // holds the unit, called, no command yet
    QTimer llamada_;
    QTimer turno_;
    QElapsedTimer reloj_;
    qint64 inicioTurno_ = -1;  // when the holder took the unit; -1 while none or called
    qint64 colaDesde_ = -1;    // when others began to wait during this turn
    bool avisado_ = false;
    qint64 lecturaHasta_ = -1; // a read-back may go on until then
    QByteArray ultimoTitular_; // number of the holder's command on the line
    QElapsedTimer ventanaAula_;
    int respuestasAula_ = 0;
};

// The name a client is known by: its peer address, IPv4 where it is one.
QString NombreCliente(const QHostAddress& direccion);
// The machine a client counts against: its IPv4 address, or its IPv6 /64 network (one
// machine may take any number of addresses in it).
QString EquipoCliente(const QHostAddress& direccion);
// Command number of a command text ("10" of "10#"), empty when there is none.
QByteArray NumeroComando(const QByteArray& comando);
// Whether the unit's answer to that command ends in "#" (otherwise a lone "&").
bool RespuestaConDatos(const QByteArray& numero);

} // namespace qv

#pragma once

#include <QByteArray>
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
//    "&" for commands 3, 5, 6, 7, 8, 12, 13 and "&...#" for 1, 2, 4, 9, 10 (and any
//    other number). An answer that grows past 4096 bytes without its "#" (a long
//    read-back) is passed on as it comes, in lines that each end after a ",", so the
//    client, which joins line contents, never waits for the whole of it. Commands reach the unit one at a time, each after the answer
//    to the one before, so an answer can never be handed to the wrong command.
//    Bytes that never complete an answer are passed on as one line after 300 ms of
//    silence from the unit; a command the unit leaves unanswered for 3 s is given
//    up and the next one goes out.
//  - Refusal: a command from a client that does not hold the unit is not sent to
//    the unit; the client gets the line "!" + holder's name instead, which the
//    program reads as a failed command.
//  - Release: when the holder's connection closes, the unit's outputs are set to
//    zero ("5,U,0,V,0,W,0,X,0,Y,0,Z,0#") and nobody holds it. Clients still
//    connected are told "$" (the unit is free); the first of them that sends a
//    command, or the next client to connect, becomes the holder, and the others
//    are then told "$" + the new holder's name.
//  - Bounds: a line of more than 4096 characters, or a command that grows past
//    4 MB, closes that client's connection; at most 32 clients are served, further
//    connections are closed at once.
//
// Discovery (UDP, same port number): the datagram "QVSAD?" is answered with
// "QVSAD " + this PC's host name + " " + holder's name (empty while the unit is
// free), sent back to the sender's address and port. Other datagrams are ignored.
class RelayServer : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 PuertoPorDefecto = 9099;
    static constexpr int MaxLinea = 4096;
    static constexpr int MaxClientes = 32;
    static constexpr int MaxComando = 4 * 1024 * 1024;
    static constexpr int SilencioMs = 300;
    static constexpr int OlvidoMs = 3000;
    static constexpr int TrozoRespuesta = 4096;
    static constexpr const char* ComandoLiberar = "5,U,0,V,0,W,0,X,0,Y,0,Z,0#";
    static constexpr const char* PeticionDescubrir = "QVSAD?";

    RelayServer(TLineaUnidad& linea, QString nombreEquipo, QObject* padre = nullptr);
    ~RelayServer() override;

    // Listens for TCP clients and discovery datagrams. Port 0 takes free ports.
    bool Escuchar(const QHostAddress& direccion = QHostAddress::Any, quint16 puerto = PuertoPorDefecto);
    quint16 PuertoTcp() const;
    quint16 PuertoUdp() const;
    QString ErrorEscucha() const { return error_; }

    QString Titular() const;       // holder's name, empty while free
    int NumClientes() const { return static_cast<int>(clientes_.size()); }

private:
    struct TCliente {
        QString nombre;
        QByteArray linea;   // text of the line being received
        QByteArray comando; // joined line contents until "#"
    };
    struct TPendiente {
        QByteArray comando;
        bool conDatos;      // answer ends in "#"; otherwise a lone "&"
        QPointer<QTcpSocket> cliente;
        quint64 id;
    };

    void NuevaConexion();
    void LeerCliente(QTcpSocket* s);
    // false when the client was dropped
    bool TratarLinea(QTcpSocket* s, TCliente& c, const QByteArray& linea);
    void Quitar(QTcpSocket* s);
    void Reenviar(const QByteArray& comando, QTcpSocket* origen);
    void Liberar();
    void Avisar(const QByteArray& linea, QTcpSocket* excepto);
    void Escribir(QTcpSocket* s, const QByteArray& texto);

    void LlegadaUnidad(const QByteArray& datos);
    void Siguiente();
    void Terminado();
    void Repartir();
    void PasarTrozo();
    void AlSilencio();
    void SinRespuesta();
    void Entregar(const QByteArray& texto);

    void Descubrir();

    TLineaUnidad& linea_;
    QString equipo_;
    QTcpServer* servidor_;
    QUdpSocket* udp_;
    QString error_;
    std::map<QTcpSocket*, TCliente> clientes_; // node-based: entries stay put while others go
    QList<QTcpSocket*> orden_;  // clients by arrival, longest waiting first
    QPointer<QTcpSocket> titular_;
    // Commands for the unit, one at a time: the front one is on the line while
    // enCurso_ is set, and its answer is framed before the next goes out.
    std::deque<TPendiente> cola_;
    bool enCurso_ = false;
    bool enviando_ = false;
    quint64 ultimoId_ = 0;
    QByteArray respuesta_;
    bool trozos_ = false; // the answer on its way is being passed on in pieces
    QTimer silencio_;
    QTimer espera_;
};

// The name a client is known by: its peer address, IPv4 where it is one.
QString NombreCliente(const QHostAddress& direccion);
// Command number of a command text ("10" of "10#"), empty when there is none.
QByteArray NumeroComando(const QByteArray& comando);
// Whether the unit's answer to that command ends in "#" (otherwise a lone "&").
bool RespuestaConDatos(const QByteArray& numero);

} // namespace qv

#include "relay_server.h"

#include "linea_unidad.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

namespace qv {

QString NombreCliente(const QHostAddress& direccion)
{
    bool esIPv4 = false;
    const quint32 v4 = direccion.toIPv4Address(&esIPv4);
    if (esIPv4)
        return QHostAddress(v4).toString();
    return direccion.toString();
}

QByteArray NumeroComando(const QByteArray& comando)
{
    qsizetype fin = 0;
    while (fin < comando.size() && comando[fin] != ',' && comando[fin] != '#')
        ++fin;
    return comando.left(fin).trimmed();
}

bool RespuestaConDatos(const QByteArray& numero)
{
    static const QByteArray SoloAck[] = {"3", "5", "6", "7", "8", "12", "13"};
    for (const QByteArray& n : SoloAck)
        if (numero == n)
            return false;
    return true;
}

RelayServer::RelayServer(TLineaUnidad& linea, QString nombreEquipo, QObject* padre)
    : QObject(padre), linea_(linea), equipo_(std::move(nombreEquipo)),
      servidor_(new QTcpServer(this)), udp_(new QUdpSocket(this))
{
    espera_.setSingleShot(true);
    espera_.setInterval(OlvidoMs);
    connect(&espera_, &QTimer::timeout, this, &RelayServer::SinRespuesta);
    silencio_.setSingleShot(true);
    silencio_.setInterval(SilencioMs);
    connect(&silencio_, &QTimer::timeout, this, &RelayServer::AlSilencio);
    connect(servidor_, &QTcpServer::newConnection, this, &RelayServer::NuevaConexion);
    connect(udp_, &QUdpSocket::readyRead, this, &RelayServer::Descubrir);
    connect(&linea_, &TLineaUnidad::Llegada, this, &RelayServer::LlegadaUnidad);
}

RelayServer::~RelayServer()
{
    // Sockets are children: make sure none of their signals reaches a half-destroyed relay.
    for (QTcpSocket* s : orden_)
        disconnect(s, nullptr, this, nullptr);
}

bool RelayServer::Escuchar(const QHostAddress& direccion, quint16 puerto)
{
    servidor_->setMaxPendingConnections(MaxClientes);
    if (!servidor_->listen(direccion, puerto)) {
        error_ = servidor_->errorString();
        return false;
    }
    if (!udp_->bind(direccion, puerto, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        // Discovery is a convenience; clients with a configured PC list still work.
        error_ = udp_->errorString();
    }
    return true;
}

quint16 RelayServer::PuertoTcp() const
{
    return servidor_->serverPort();
}

quint16 RelayServer::PuertoUdp() const
{
    return udp_->localPort();
}

QString RelayServer::Titular() const
{
    if (!titular_)
        return QString();
    auto it = clientes_.find(titular_.data());
    return it == clientes_.end() ? QString() : it->second.nombre;
}

void RelayServer::Escribir(QTcpSocket* s, const QByteArray& texto)
{
    if (s && s->state() == QAbstractSocket::ConnectedState)
        s->write(texto);
}

void RelayServer::Avisar(const QByteArray& linea, QTcpSocket* excepto)
{
    const QList<QTcpSocket*> lista = orden_;
    for (QTcpSocket* s : lista)
        if (s != excepto && clientes_.count(s))
            Escribir(s, linea);
}

void RelayServer::NuevaConexion()
{
    while (QTcpSocket* s = servidor_->nextPendingConnection()) {
        if (clientes_.size() >= MaxClientes) {
            s->abort();
            s->deleteLater();
            continue;
        }
        TCliente c;
        c.nombre = NombreCliente(s->peerAddress());
        clientes_.emplace(s, c);
        orden_.append(s);
        connect(s, &QTcpSocket::readyRead, this, [this, s] { LeerCliente(s); });
        connect(s, &QTcpSocket::disconnected, this, [this, s] { Quitar(s); });
        if (!titular_) {
            titular_ = s;
            Escribir(s, "$\n");
            Avisar("$" + c.nombre.toLatin1() + "\n", s);
        } else {
            Escribir(s, "$" + Titular().toLatin1() + "\n");
        }
    }
}

void RelayServer::LeerCliente(QTcpSocket* s)
{
    auto it = clientes_.find(s);
    if (it == clientes_.end())
        return;
    const QByteArray datos = s->readAll();
    qsizetype desde = 0;
    while (desde < datos.size()) {
        const qsizetype lf = datos.indexOf('\n', desde);
        const qsizetype fin = lf < 0 ? datos.size() : lf;
        it->second.linea.append(datos.constData() + desde, fin - desde);
        if (it->second.linea.size() > MaxLinea) {
            Quitar(s);
            return;
        }
        desde = fin + 1;
        if (lf < 0)
            break;
        QByteArray linea;
        linea.swap(it->second.linea);
        if (linea.endsWith('\r'))
            linea.chop(1);
        if (!TratarLinea(s, it->second, linea))
            return;
    }
}

bool RelayServer::TratarLinea(QTcpSocket* s, TCliente& c, const QByteArray& linea)
{
    for (char ch : linea)
        if (ch != 0x11 && ch != 0x13)
            c.comando += ch;
    if (c.comando.size() > MaxComando) {
        Quitar(s);
        return false;
    }
    qsizetype fin;
    while ((fin = c.comando.indexOf('#')) >= 0) {
        const QByteArray comando = c.comando.left(fin + 1);
        c.comando.remove(0, fin + 1);
        if (!titular_) {
            // Free unit: the first waiting client to use it takes it.
            titular_ = s;
            Avisar("$" + c.nombre.toLatin1() + "\n", s);
        }
        if (titular_ == s)
            Reenviar(comando, s);
        else
            Escribir(s, "!" + Titular().toLatin1() + "\n");
        if (!clientes_.count(s))
            return false; // the connection broke while we talked
    }
    return true;
}

void RelayServer::Quitar(QTcpSocket* s)
{
    if (!clientes_.count(s))
        return;
    disconnect(s, nullptr, this, nullptr);
    clientes_.erase(s);
    orden_.removeAll(s);
    const bool eraTitular = titular_ == s;
    // Its commands still waiting are dropped; the one on the line is answered to nobody.
    for (auto it = cola_.begin(); it != cola_.end();) {
        if (it->cliente == s && !(enCurso_ && it == cola_.begin()))
            it = cola_.erase(it);
        else
            ++it;
    }
    if (enCurso_ && !cola_.empty() && cola_.front().cliente == s)
        cola_.front().cliente = nullptr;
    s->abort();
    s->deleteLater();
    if (eraTitular)
        Liberar();
}

void RelayServer::Liberar()
{
    titular_ = nullptr;
    // Whatever the holder left playing must not keep driving the outputs.
    Reenviar(ComandoLiberar, nullptr);
    Avisar("$\n", nullptr);
}

void RelayServer::Reenviar(const QByteArray& comando, QTcpSocket* origen)
{
    cola_.push_back({comando, RespuestaConDatos(NumeroComando(comando)), origen, ++ultimoId_});
    Siguiente();
}

void RelayServer::Siguiente()
{
    // Sending may deliver the unit's bytes at once and end the exchange from inside;
    // the loop below then carries on instead of a nested call.
    if (enviando_)
        return;
    enviando_ = true;
    while (!enCurso_ && !cola_.empty()) {
        if (!linea_.Disponible()) {
            cola_.clear(); // no unit: every waiting client sees an unanswered command
            break;
        }
        if (!respuesta_.isEmpty()) {
            // Stray bytes must not be taken for the start of the coming answer.
            silencio_.stop();
            Entregar(respuesta_);
            respuesta_.clear();
        }
        const quint64 id = cola_.front().id;
        const QByteArray comando = cola_.front().comando;
        enCurso_ = true;
        espera_.start();
        if (!linea_.Enviar(comando) && enCurso_ && !cola_.empty() && cola_.front().id == id)
            Terminado();
    }
    enviando_ = false;
}

void RelayServer::Terminado()
{
    espera_.stop();
    if (enCurso_ && !cola_.empty())
        cola_.pop_front();
    enCurso_ = false;
    trozos_ = false;
}

void RelayServer::LlegadaUnidad(const QByteArray& datos)
{
    respuesta_ += datos;
    if (enCurso_)
        espera_.stop(); // the unit answers: from now on its silence decides
    Repartir();
    if (respuesta_.size() > MaxComando) {
        // A unit that floods without ever framing an answer: pass it on and start over.
        AlSilencio();
        return;
    }
    if (!respuesta_.isEmpty())
        silencio_.start();
}

void RelayServer::Repartir()
{
    while (enCurso_ && !respuesta_.isEmpty()) {
        qsizetype largo = 0;
        if (cola_.front().conDatos) {
            const qsizetype fin = respuesta_.indexOf('#');
            if (fin < 0) {
                PasarTrozo();
                return;
            }
            largo = fin + 1;
        } else {
            if (respuesta_[0] != '&')
                return; // not an acknowledge: passed on whole once the unit falls silent
            largo = 1;
        }
        Entregar(respuesta_.left(largo));
        respuesta_.remove(0, largo);
        Terminado();
        Siguiente();
    }
}

void RelayServer::PasarTrozo()
{
    // A read-back of thousands of samples takes many seconds on the serial line, far
    // longer than the client waits for its next field: its complete fields go on as
    // they come, on lines of their own, which the client joins again.
    if (!trozos_ && !respuesta_.startsWith('&'))
        return;
    if (respuesta_.size() < TrozoRespuesta)
        return;
    const qsizetype coma = respuesta_.lastIndexOf(',');
    if (coma < 0)
        return;
    trozos_ = true;
    Entregar(respuesta_.left(coma + 1));
    respuesta_.remove(0, coma + 1);
}

void RelayServer::AlSilencio()
{
    silencio_.stop();
    if (respuesta_.isEmpty())
        return;
    Entregar(respuesta_);
    respuesta_.clear();
    if (enCurso_) {
        Terminado();
        Siguiente();
    }
}

void RelayServer::SinRespuesta()
{
    if (!enCurso_ || !respuesta_.isEmpty())
        return; // bytes are coming: the silence timer ends this exchange
    Terminado();
    Siguiente();
}

void RelayServer::Entregar(const QByteArray& texto)
{
    // An answer goes to whoever asked; stray bytes go to the holder, as on a serial line.
    QTcpSocket* destino = enCurso_ && !cola_.empty() ? cola_.front().cliente.data() : titular_.data();
    if (destino && clientes_.count(destino))
        Escribir(destino, texto + "\n");
}

void RelayServer::Descubrir()
{
    while (udp_->hasPendingDatagrams()) {
        const QNetworkDatagram d = udp_->receiveDatagram(512);
        if (!d.isValid())
            continue;
        if (d.data().trimmed() != PeticionDescubrir)
            continue;
        const QByteArray r = "QVSAD " + equipo_.toLatin1() + " " + Titular().toLatin1();
        udp_->writeDatagram(r, d.senderAddress(), static_cast<quint16>(d.senderPort()));
    }
}

} // namespace qv

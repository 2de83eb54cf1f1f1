#include "link/tcp_port.h"

#include <QDeadlineTimer>
#include <QHostInfo>
#include <QTcpSocket>

#include <algorithm>
#include <utility>

namespace qv {

TTcpPort::TTcpPort(int puerto) : Cliente(std::make_unique<QTcpSocket>()), PuertoTcp(puerto)
{
}

TTcpPort::~TTcpPort()
{
    Cerrar();
}

void TTcpPort::Configurar(const QString& host)
{
    QHostAddress dir;
    if (host.isEmpty()) {
        // This machine's own address: the first one its name resolves to, else loopback.
        const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
        for (const QHostAddress& a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                dir = a;
                break;
            }
        }
        if (dir.isNull())
            dir = QHostAddress(QHostAddress::LocalHost);
    } else if (!dir.setAddress(host)) {
        const QHostInfo info = QHostInfo::fromName(host);
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty())
            throw EComPort(QStringLiteral("Host not found: ") + host);
        dir = info.addresses().constFirst();
        for (const QHostAddress& a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                dir = a;
                break;
            }
        }
    }
    Host = dir;
}

void TTcpPort::Abrir()
{
    if (Cliente->state() == QAbstractSocket::ConnectedState)
        return;
    Final_ = 0;
    if (Host.isNull())
        throw EComPort(QStringLiteral("Connect failed: no address"));
    Cliente->abort();
    Relay_.clear();
    if (!Origen.isNull() && !Cliente->bind(Origen, 0))
        throw EComPort(QStringLiteral("Connect failed: ") + Cliente->errorString());
    Cliente->connectToHost(Host, static_cast<quint16>(PuertoTcp));
    if (!Cliente->waitForConnected(TiempoConexion)) {
        const QString e = Cliente->errorString();
        Cliente->abort();
        throw EComPort(QStringLiteral("Connect failed: ") + e);
    }
}

void TTcpPort::Cerrar()
{
    Final_ = 0;
    if (Cliente->state() != QAbstractSocket::UnconnectedState) {
        Cliente->disconnectFromHost();
        if (Cliente->state() != QAbstractSocket::UnconnectedState)
            Cliente->waitForDisconnected(500);
    }
    Cliente->abort();
}

bool TTcpPort::Conectado()
{
    return Cliente->state() == QAbstractSocket::ConnectedState;
}

void TTcpPort::Enviar(const QByteArray& texto)
{
    if (!Conectado())
        throw EComPort(QStringLiteral("Operation failed: not connected"));
    // A new command may find the unit back.
    Final_ = 0;
    QByteArray lineas;
    lineas.reserve(texto.size() + (texto.size() / LargoLinea + 1) * 2);
    for (qsizetype desde = 0; desde < texto.size(); desde += LargoLinea) {
        lineas += texto.mid(desde, LargoLinea);
        lineas += "\r\n";
    }
    if (lineas.isEmpty())
        return;
    if (Cliente->write(lineas) != lineas.size())
        throw EComPort(QStringLiteral("Operation failed: ") + Cliente->errorString());
    QDeadlineTimer limite(10000 + lineas.size());
    while (Cliente->bytesToWrite() > 0) {
        if (!Cliente->waitForBytesWritten(static_cast<int>(limite.remainingTime()))) {
            if (Cliente->bytesToWrite() == 0)
                break;
            throw EComPort(QStringLiteral("Operation failed: ") + Cliente->errorString());
        }
    }
}

void TTcpPort::Recibir(QByteArray& texto)
{
    texto.clear();
    if (Final_)
        LanzarFinal();
    QDeadlineTimer limite(TiempoLectura);
    for (;;) {
        if (Cliente->canReadLine()) {
            texto = Cliente->readLine();
            if (texto.endsWith('\n'))
                texto.chop(1);
            if (texto.endsWith('\r'))
                texto.chop(1);
            if (texto.startsWith('@')) {
                Apartar(texto);
                texto.clear();
                continue;
            }
            if (texto.startsWith(MarcaSinUnidad) || texto.startsWith(MarcaAbandonada) ||
                texto.startsWith(MarcaPreparando)) {
                Final_ = texto.at(0);
                texto.clear();
                LanzarFinal();
            }
            if (texto.startsWith(MarcaSinPlazas)) {
                texto.clear();
                throw ESinPlazas(QStringLiteral("Connection refused: no slot left for this PC"));
            }
            if (texto.startsWith(MarcaRechazo)) {
                texto.clear();
                throw EComPort(QStringLiteral("Operation aborted: refused by the relay"));
            }
            return;
        }
        if (Cliente->bytesAvailable() > LineaMaxima) {
            Cliente->abort();
            throw EComPort(QStringLiteral("Operation aborted: line too long"));
        }
        if (Cliente->state() != QAbstractSocket::ConnectedState) {
            // The peer has gone: hand over an unended remnant once, then report it.
            if (Cliente->bytesAvailable() > 0) {
                texto = Cliente->readAll();
                return;
            }
            throw EComPort(QStringLiteral("Operation aborted: connection closed"));
        }
        if (limite.hasExpired())
            return;
        Cliente->waitForReadyRead(static_cast<int>(std::max<qint64>(1, limite.remainingTime())));
    }
}

void TTcpPort::LanzarFinal() const
{
    switch (Final_) {
    case MarcaSinUnidad:
        throw ESinUnidad(QStringLiteral("Operation aborted: no unit behind the relay"));
    case MarcaPreparando:
        throw EPreparando(QStringLiteral("Operation aborted: the relay's unit is getting ready"));
    default:
        // The unit is there; this one command failed.
        throw EComPort(QStringLiteral("Operation aborted: the unit left the command unanswered"));
    }
}

void TTcpPort::Descartar()
{
    if (Cliente->state() != QAbstractSocket::ConnectedState)
        return;
    // Takes in what the system already holds for the socket, without waiting; the
    // relay's turn lines among it are kept, and so is one still coming.
    Cliente->waitForReadyRead(0);
    while (Cliente->canReadLine()) {
        const QByteArray l = Cliente->readLine().trimmed();
        if (l.startsWith('@') || l.startsWith('$'))
            Apartar(l);
    }
    char c = 0;
    if (Cliente->peek(&c, 1) == 1 && c != '@' && c != '$')
        Cliente->readAll();
}

void TTcpPort::Apartar(const QByteArray& linea)
{
    if (Relay_.size() >= MaxLineasRelay)
        Relay_.removeFirst();
    Relay_.append(linea);
}

bool TTcpPort::LeerLineasRelay(int esperaMs)
{
    if (Cliente->state() == QAbstractSocket::ConnectedState && !Cliente->canReadLine())
        Cliente->waitForReadyRead(std::max(0, esperaMs));
    while (Cliente->canReadLine()) {
        const QByteArray l = Cliente->readLine().trimmed();
        if (l.startsWith('@') || l.startsWith('$') || l.startsWith(MarcaRechazo))
            Apartar(l);
    }
    if (Cliente->bytesAvailable() > LineaMaxima)
        Cliente->abort();
    return Cliente->state() == QAbstractSocket::ConnectedState || Cliente->canReadLine();
}

QList<QByteArray> TTcpPort::TomarLineasRelay()
{
    return std::exchange(Relay_, {});
}

} // namespace qv

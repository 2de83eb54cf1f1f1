#include "link/vnc_escucha.h"

#include "link/ajustes_estacion.h"

#include <QHostInfo>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace qv {

namespace {

bool Igual(const QHostAddress& a, const QHostAddress& b)
{
    return a.isEqual(b, QHostAddress::ConvertV4MappedToIPv4);
}

// Bytes of one socket go to the other as they come; either end closing closes both.
void Encaminar(QTcpSocket* de, QTcpSocket* a)
{
    QObject::connect(de, &QTcpSocket::readyRead, a, [de, a] { a->write(de->readAll()); });
    QObject::connect(de, &QTcpSocket::disconnected, a, [a] { a->disconnectFromHost(); });
    QObject::connect(de, &QTcpSocket::disconnected, de, &QObject::deleteLater);
}

} // namespace

TEscuchaFiltrada::TEscuchaFiltrada(const TAjustesEstacion& ajustes, quint16 puerto, QObject* parent)
    : QObject(parent), ajustes_(ajustes)
{
    connect(&servidor_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = servidor_.nextPendingConnection())
            Nueva(s);
    });
    servidor_.listen(QHostAddress::Any, puerto);
}

TEscuchaFiltrada::~TEscuchaFiltrada() = default;

void TEscuchaFiltrada::Nueva(QTcpSocket* s)
{
    s->setParent(this);
    const QHostAddress origen = s->peerAddress();
    QStringList nombres;
    for (const QString& entrada : ajustes_.PCsServer()) {
        // An address entry "a.b.c.d (name)" is taken by its address.
        const QString pc = entrada.section(QLatin1Char('('), 0, 0).trimmed();
        if (const QHostAddress a(pc); !a.isNull()) {
            if (Igual(a, origen))
                return Decidir(s, true);
        } else if (!pc.isEmpty()) {
            nombres << pc;
        }
    }
    if (nombres.isEmpty())
        return Decidir(s, false);
    // Names are resolved now, so that a renumbered PC of the list still gets in; the
    // push waits unread meanwhile, for a bounded time.
    auto pendientes = std::make_shared<int>(int(nombres.size()));
    QPointer<QTcpSocket> guardado(s);
    QTimer::singleShot(EsperaMs, s, [this, s] { Decidir(s, false); });
    for (const QString& n : nombres)
        QHostInfo::lookupHost(n, s, [this, guardado, origen, pendientes](const QHostInfo& info) {
            if (!guardado || guardado->property("decidido").toBool())
                return;
            bool esta = false;
            for (const QHostAddress& a : info.addresses())
                esta = esta || Igual(a, origen);
            if (esta || --*pendientes == 0)
                Decidir(guardado, esta);
        });
}

void TEscuchaFiltrada::Decidir(QTcpSocket* s, bool permitido)
{
    if (s->property("decidido").toBool())
        return;
    s->setProperty("decidido", true);
    if (!permitido) {
        ++rechazadas_;
        s->abort();
        s->deleteLater();
        return;
    }
    Unir(s);
}

void TEscuchaFiltrada::Unir(QTcpSocket* externo)
{
    // A private port for the one viewer of this push: it closes after the first connection.
    auto* local = new QTcpServer(externo);
    if (!local->listen(QHostAddress::LocalHost, 0)) {
        externo->abort();
        externo->deleteLater();
        return;
    }
    QTimer::singleShot(EsperaMs, local, [externo] {
        externo->abort();
        externo->deleteLater();
    });
    connect(local, &QTcpServer::newConnection, this, [externo, local] {
        QTcpSocket* visor = local->nextPendingConnection();
        local->close();
        local->deleteLater();
        visor->setParent(nullptr);
        externo->setParent(nullptr);
        Encaminar(externo, visor);
        Encaminar(visor, externo);
        // What arrived before the viewer was there.
        if (externo->bytesAvailable() > 0)
            visor->write(externo->readAll());
    });
    if (AlAceptar)
        AlAceptar(QStringLiteral("127.0.0.1::%1").arg(local->serverPort()));
}

} // namespace qv

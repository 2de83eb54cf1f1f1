#include "net/net_users.h"

#include "net/pcs.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QUdpSocket>

#include <algorithm>

namespace qv {

namespace {

const QByteArray kPeticion = QByteArrayLiteral("QVSAD?");
const QByteArray kRespuesta = QByteArrayLiteral("QVSAD ");
constexpr int kMaxDatagrama = 512;

// Every network this PC is on, by its broadcast address; this PC alone without any.
QList<QHostAddress> Difusiones()
{
    QList<QHostAddress> r;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        const auto f = i.flags();
        if (!(f & QNetworkInterface::IsUp) || !(f & QNetworkInterface::IsRunning)
            || !(f & QNetworkInterface::CanBroadcast) || (f & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& e : i.addressEntries())
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol && !e.broadcast().isNull()
                && !r.contains(e.broadcast()))
                r << e.broadcast();
    }
    if (r.isEmpty())
        r << QHostAddress(QHostAddress::LocalHost);
    return r;
}

QString TextoDireccion(const QHostAddress& a)
{
    bool ipv4 = false;
    const quint32 v4 = a.toIPv4Address(&ipv4);
    return ipv4 ? QHostAddress(v4).toString() : a.toString();
}

} // namespace

TNetUsers::TNetUsers(TOpcionesBusqueda opciones, QObject* parent)
    : QObject(parent), opciones_(std::move(opciones))
{
    fin_.setSingleShot(true);
    connect(&fin_, &QTimer::timeout, this, &TNetUsers::Fin);
    // One more request half-way: a datagram may be lost, an answer rarely twice.
    repetir_.setSingleShot(true);
    connect(&repetir_, &QTimer::timeout, this, &TNetUsers::EnviarATodos);
}

TNetUsers::~TNetUsers()
{
    for (int id : consultas_)
        QHostInfo::abortHostLookup(id);
}

bool TNetUsers::LeerRespuesta(const QByteArray& datos, QString& equipo, QString& titular)
{
    if (datos.size() > kMaxDatagrama || !datos.startsWith(kRespuesta))
        return false;
    static const QRegularExpression kEquipo(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]{0,62}$"));
    static const QRegularExpression kTitular(QStringLiteral("^[A-Za-z0-9._:-]{0,63}$"));
    const QString resto = QString::fromLatin1(datos.mid(kRespuesta.size())).trimmed();
    const qsizetype blanco = resto.indexOf(QLatin1Char(' '));
    const QString e = blanco < 0 ? resto : resto.left(blanco);
    const QString t = blanco < 0 ? QString() : resto.mid(blanco + 1).trimmed();
    if (!kEquipo.match(e).hasMatch() || !kTitular.match(t).hasMatch())
        return false;
    equipo = e;
    titular = t;
    return true;
}

void TNetUsers::BuscarPCs(const QStringList& configurados)
{
    Detener();
    Nombres.clear();
    pcs_.clear();
    equipos_.clear();
    destinos_ = opciones_.Destinos.isEmpty() ? Difusiones() : opciones_.Destinos;

    udp_ = new QUdpSocket(this);
    if (!udp_->bind(QHostAddress(QHostAddress::AnyIPv4), 0)) {
        // Nothing can be asked: the search ends empty, silently.
        delete udp_;
        udp_ = nullptr;
        buscando_ = true;
        QTimer::singleShot(0, this, &TNetUsers::Fin);
        return;
    }
    connect(udp_, &QUdpSocket::readyRead, this, &TNetUsers::Leer);
    buscando_ = true;

    // The configured PCs are asked directly: they may sit on another network.
    for (const QString& entrada : configurados) {
        const QString nombre = NombreDeEntrada(entrada);
        if (nombre.isEmpty())
            continue;
        QHostAddress a;
        if (a.setAddress(nombre)) {
            if (!destinos_.contains(a))
                destinos_ << a;
        } else {
            consultas_ << QHostInfo::lookupHost(nombre, this, &TNetUsers::Resuelto);
        }
    }
    EnviarATodos();
    fin_.start(std::max(1, opciones_.DuracionMs));
    repetir_.start(std::max(1, opciones_.DuracionMs / 2));
}

void TNetUsers::EnviarATodos()
{
    for (const QHostAddress& d : destinos_)
        Enviar(d);
}

void TNetUsers::Enviar(const QHostAddress& destino)
{
    if (udp_)
        udp_->writeDatagram(kPeticion, destino, opciones_.Puerto);
}

void TNetUsers::Resuelto(const QHostInfo& info)
{
    consultas_.removeAll(info.lookupId());
    if (!buscando_ || info.error() != QHostInfo::NoError)
        return;
    for (const QHostAddress& a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !destinos_.contains(a)) {
            destinos_ << a;
            Enviar(a);
        }
}

void TNetUsers::Leer()
{
    while (udp_ && udp_->hasPendingDatagrams()) {
        const QNetworkDatagram d = udp_->receiveDatagram(kMaxDatagrama + 1);
        QString equipo, titular;
        if (!d.isValid() || !LeerRespuesta(d.data(), equipo, titular))
            continue;
        // A PC heard on two networks (or twice) is offered once.
        if (equipos_.contains(equipo.toLower()))
            continue;
        equipos_.insert(equipo.toLower());
        TPC pc{QStringLiteral("%1 (%2)").arg(TextoDireccion(d.senderAddress()), equipo), equipo, titular};
        pcs_.push_back(pc);
        Nombres << pc.Entrada;
        Nombres.sort(Qt::CaseInsensitive);
        Q_EMIT Encontrado(pc.Entrada, pc.Titular);
    }
}

void TNetUsers::Detener()
{
    if (!buscando_)
        return;
    Fin();
}

void TNetUsers::Fin()
{
    fin_.stop();
    repetir_.stop();
    for (int id : consultas_)
        QHostInfo::abortHostLookup(id);
    consultas_.clear();
    if (udp_) {
        udp_->close();
        udp_->deleteLater();
        udp_ = nullptr;
    }
    if (!buscando_)
        return;
    buscando_ = false;
    Q_EMIT Terminado();
}

} // namespace qv

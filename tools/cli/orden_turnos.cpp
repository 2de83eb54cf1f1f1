// The companion in the relay's line: "capture --wait" and "turns".
#include "interrupcion.h"
#include "ordenes_cli.h"

#include "link/com_capvis.h"
#include "link/tcp_port.h"
#include "link/turno_sad.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace qv {

namespace {

constexpr int kTextoLugar = 511;
constexpr int kTextoEspera = 512;
constexpr int kTextoLlamada = 514;
constexpr int kTextoFuera = 517;
constexpr int kTextoRelayPerdido = 518;
constexpr int kTextoSinRespuesta = 524;
constexpr int kTextoSinTurno = 525;
constexpr int kTextoEsperando = 529;
// How long one look at the relay's lines waits: Ctrl+C is heard within it.
constexpr int MiradaMs = 200;

} // namespace

bool TOrdenesCli::EsperarTurno(TComCapvis& com, const QString& host, TInterrupcion* interrupcion)
{
    const QString titular = com.Foto().PCPropietario;
    if (!turno::Pedir(com)) {
        Error(kTextoSinTurno);
        return false;
    }
    interaccion_.Escribir(idioma_.BuscarTexto(kTextoEsperando).arg(host.isEmpty() ? QStringLiteral("localhost") : host) +
                          QStringLiteral(" (") + idioma_.BuscarTexto(269).trimmed() + QLatin1Char(' ') + titular +
                          QLatin1Char(')'));
    std::optional<int> lugar;
    int esperan = -1;
    for (;;) {
        if (interrupcion && interrupcion->Veces() > 0) {
            turno::Dejar(com);
            return false;
        }
        const TEstadoTurno e = turno::Mirar(com, MiradaMs, host);
        if (e.tomado) {
            interaccion_.Escribir(idioma_.BuscarTexto(kTextoLlamada).arg(host.isEmpty() ? QStringLiteral("localhost") : host));
            return true;
        }
        if (e.llamado && e.claveFallo) {
            Error(e.claveFallo);
            return false;
        }
        if (e.fuera) {
            Error(kTextoFuera);
            return false;
        }
        if (e.rechazado) {
            Error(kTextoSinTurno);
            return false;
        }
        if (!e.conectado) {
            Error(kTextoRelayPerdido);
            return false;
        }
        if (e.lugar && *e.lugar > 0 && (e.lugar != lugar || e.esperan != esperan)) {
            lugar = e.lugar;
            esperan = e.esperan;
            QString t = idioma_.BuscarTexto(kTextoLugar).arg(*lugar).arg(esperan);
            if (e.espera)
                t += QStringLiteral(" (") + idioma_.BuscarTexto(kTextoEspera).arg(TextoDuracion(*e.espera)) +
                     QLatin1Char(')');
            interaccion_.Escribir(t);
        }
    }
}

int TOrdenesCli::Turnos(const TOpciones& op)
{
    if (!op.posicionales.isEmpty())
        return ErrorUso(QStringLiteral("turns takes no file"));
    QString relay = op.relay;
    if (relay.isEmpty() && op.puerto.isEmpty() && ajustes_.Multipuesto())
        relay = ajustes_.UltimoPCSAD();
    if (relay.isEmpty())
        return ErrorUso(QStringLiteral("turns needs --relay HOST"));
    const auto destino = LeerDestinoRelay(relay, TTcpPort::PuertoRelay);
    if (!destino)
        return ErrorUso(QStringLiteral("bad relay port in %1").arg(relay));
    QHostAddress direccion;
    if (!direccion.setAddress(destino->host)) {
        const QHostInfo info = QHostInfo::fromName(destino->host);
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty())
            return Error(kTextoSinRespuesta, destino->host);
        direccion = info.addresses().constFirst();
    }
    QUdpSocket u;
    if (!u.bind(op.origen.isEmpty() ? QHostAddress(QHostAddress::AnyIPv4) : QHostAddress(op.origen), 0))
        return Error(kTextoSinRespuesta, u.errorString());
    std::optional<TVistaAula> vista;
    // A datagram may be lost: asked three times, a second each.
    for (int intento = 0; intento < 3 && !vista; ++intento) {
        u.writeDatagram(PeticionAula, direccion, static_cast<quint16>(destino->puerto));
        QDeadlineTimer limite(1000);
        while (!vista && !limite.hasExpired()) {
            if (!u.hasPendingDatagrams() && !u.waitForReadyRead(int(std::max<qint64>(1, limite.remainingTime()))))
                break;
            while (u.hasPendingDatagrams() && !vista)
                vista = LeerVistaAula(u.receiveDatagram(4096).data());
        }
    }
    if (!vista)
        return Error(kTextoSinRespuesta, destino->host);
    QString t = QStringLiteral("holder: %1\n")
                    .arg(vista->titular.isEmpty() ? QStringLiteral("-")
                                                  : vista->titular + QStringLiteral(" (") +
                                                        TextoDuracion(vista->retenido) + QLatin1Char(')'));
    t += QStringLiteral("mean turn: %1\n").arg(vista->media ? TextoDuracion(*vista->media) : QStringLiteral("-"));
    t += QStringLiteral("waiting: %1\n").arg(vista->cola.size());
    int n = 0;
    for (const auto& [pc, espera] : vista->cola)
        t += QStringLiteral("%1 %2 %3\n").arg(++n, 3).arg(pc, -15).arg(TextoDuracion(espera));
    return Escribir(QString(), t.toLocal8Bit()) ? Salida::Bien : Salida::Fallo;
}

} // namespace qv

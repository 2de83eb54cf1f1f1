#include "link/relay_local.h"

#include "link/procesos.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>

namespace qv {

namespace {

QString NombreRelay()
{
#ifdef Q_OS_WIN
    return QStringLiteral("RelayServer.exe");
#else
    return QStringLiteral("RelayServer");
#endif
}

} // namespace

TRelayLocal::TRelayLocal(const QString& carpetaPrograma, quint16 puerto)
    : carpeta_(carpetaPrograma), programa_(QDir(carpetaPrograma).filePath(NombreRelay())), puerto_(puerto)
{
}

bool TRelayLocal::Iniciar()
{
    if (EnMarcha() || PuertoEnUso())
        return true;
    return QProcess::startDetached(programa_, {}, carpeta_);
}

bool TRelayLocal::EnMarcha() const
{
    return !Procesos::DelPrograma(programa_).isEmpty();
}

int TRelayLocal::Detener(int esperaMs)
{
    if (parada_.valid())
        parada_.wait();
    const QList<TProceso> relays = Procesos::DelPrograma(programa_);
    // Waiting for them to end is not the caller's business: the window goes on.
    if (!relays.isEmpty())
        parada_ = std::async(std::launch::async, [relays, esperaMs] { Procesos::Terminar(relays, esperaMs); });
    return int(relays.size());
}

bool TRelayLocal::PuertoEnUso() const
{
#ifdef Q_OS_LINUX
    // The kernel's socket tables: reading them disturbs nobody, where a connection
    // would take and free the unit, and a trial listen could steal the port from a
    // relay starting at that moment. Rows: "sl local_address rem_address st ...",
    // the address ending in ":PORT" in hex, state 0A is LISTEN.
    for (const char* tabla : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile f(QString::fromLatin1(tabla));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> filas = f.readAll().split('\n');
        for (qsizetype i = 1; i < filas.size(); ++i) {
            const QList<QByteArray> campos = filas[i].simplified().split(' ');
            if (campos.size() < 4 || campos[3] != "0A")
                continue;
            bool ok = false;
            const uint puerto = campos[1].mid(campos[1].lastIndexOf(':') + 1).toUInt(&ok, 16);
            if (ok && puerto == puerto_)
                return true;
        }
    }
    return false;
#else
    QTcpServer prueba;
    return !prueba.listen(QHostAddress::Any, puerto_) && prueba.serverError() == QAbstractSocket::AddressInUseError;
#endif
}

} // namespace qv

#include "link/relay_local.h"

#include "link/procesos.h"

#include <QDir>
#include <QProcess>

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

TRelayLocal::TRelayLocal(const QString& carpetaPrograma)
    : carpeta_(carpetaPrograma), programa_(QDir(carpetaPrograma).filePath(NombreRelay()))
{
}

bool TRelayLocal::Iniciar()
{
    if (EnMarcha())
        return true;
    return QProcess::startDetached(programa_, {}, carpeta_);
}

bool TRelayLocal::EnMarcha() const
{
    return !Procesos::DelPrograma(programa_).isEmpty();
}

int TRelayLocal::Detener(int esperaMs)
{
    const QList<TProceso> relays = Procesos::DelPrograma(programa_);
    if (!relays.isEmpty())
        Procesos::Terminar(relays, esperaMs);
    return int(relays.size());
}

} // namespace qv

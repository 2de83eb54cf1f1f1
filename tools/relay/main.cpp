// RelayServer: shares the unit on this PC's serial line with the program's TCP clients.
// RelayServer [--port N] [--serial DEVICE]
// Its first line on standard output, once the first search for the unit has ended, gives
// the port it listens on (the one the system chose for --port 0) and the unit found.
#include "interaccion_consola.h"
#include "linea_unidad.h"
#include "relay_server.h"

#include "lang/texto_limpio.h"
#include "link/ajustes_estacion.h"
#include "link/reloj.h"

#include <QCoreApplication>
#include <QHostInfo>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::signal(SIGPIPE, SIG_IGN);
    quint16 puerto = qv::RelayServer::PuertoPorDefecto;
    QStringList puertos;

    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hayValor = i + 1 < args.size();
        if (a == QLatin1String("--port") && hayValor) {
            bool ok = false;
            const uint n = args[++i].toUInt(&ok);
            if (!ok || n > 65535) {
                std::fprintf(stderr, "RelayServer: bad port\n");
                return 2;
            }
            puerto = static_cast<quint16>(n);
        } else if (a == QLatin1String("--serial") && hayValor) {
            puertos = QStringList{args[++i]};
        } else {
            std::fprintf(stderr, "usage: RelayServer [--port N] [--serial DEVICE]\n");
            return 2;
        }
    }
    if (puertos.isEmpty())
        puertos = qv::TAjustesEstacion(QCoreApplication::applicationDirPath()).PuertosSerie();

    qv::TInteraccionConsola interaccion;
    qv::TRelojReal reloj;
    qv::TLineaSerie linea(puertos, interaccion, reloj);
    qv::RelayServer relay(linea, QHostInfo::localHostName());
    if (!relay.Escuchar(QHostAddress::Any, puerto)) {
        std::fprintf(stderr, "RelayServer: cannot listen on port %u: %s\n", puerto,
                     qPrintable(relay.ErrorEscucha()));
        return 1;
    }
    // The first search says how the relay starts; a unit that is not there yet is
    // searched for again at the first command.
    bool dicho = false;
    QObject::connect(&relay, &qv::RelayServer::UnidadBuscada, &app, [&](bool hallada) {
        if (dicho)
            return;
        dicho = true;
        if (hallada)
            std::printf("RelayServer: port %u, unit %s on %s\n", relay.PuertoTcp(),
                        qPrintable(qv::TextoLimpio(linea.Version())), qPrintable(linea.Dispositivo()));
        else
            std::printf("RelayServer: port %u, no unit found yet\n", relay.PuertoTcp());
        std::fflush(stdout);
    });
    relay.BuscarUnidad();
    return app.exec();
}

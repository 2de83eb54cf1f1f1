// RelayServer: shares the unit on this PC's serial line with the program's TCP clients.
// RelayServer [--port N] [--serial DEVICE] [--longest-turn MIN] [--call-timeout S] [--log-turns]
// Its first line on standard output, once the first search for the unit has ended, gives
// the port it listens on (the one the system chose for --port 0) and the unit found.
// The longest turn is the station setting TurnoMaximo unless --longest-turn says
// otherwise; --log-turns writes a line per turn event ("<ms> called 10.0.0.5").
#include "interaccion_consola.h"
#include "linea_unidad.h"
#include "relay_server.h"

#include "lang/texto_limpio.h"
#include "link/ajustes_estacion.h"
#include "link/reloj.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostInfo>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::signal(SIGPIPE, SIG_IGN);
    quint16 puerto = qv::RelayServer::PuertoPorDefecto;
    QStringList puertos;
    int turnoMaximo = -1; // minutes; -1: the station setting's
    int llamada = 60;
    bool registro = false;
    auto numero = [&](const QString& texto, int maximo, int& n) {
        bool ok = false;
        const uint v = texto.toUInt(&ok);
        if (!ok || v > uint(maximo))
            return false;
        n = int(v);
        return true;
    };

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
        } else if (a == QLatin1String("--longest-turn") && hayValor) {
            if (!numero(args[++i], 1440, turnoMaximo)) {
                std::fprintf(stderr, "RelayServer: --longest-turn takes minutes from 0 to 1440\n");
                return 2;
            }
        } else if (a == QLatin1String("--call-timeout") && hayValor) {
            if (!numero(args[++i], 3600, llamada) || llamada == 0) {
                std::fprintf(stderr, "RelayServer: --call-timeout takes seconds from 1 to 3600\n");
                return 2;
            }
        } else if (a == QLatin1String("--log-turns")) {
            registro = true;
        } else {
            std::fprintf(stderr, "usage: RelayServer [--port N] [--serial DEVICE] [--longest-turn MIN] "
                                 "[--call-timeout S] [--log-turns]\n");
            return 2;
        }
    }
    const qv::TAjustesEstacion ajustes(QCoreApplication::applicationDirPath());
    if (puertos.isEmpty())
        puertos = ajustes.PuertosSerie();
    if (turnoMaximo < 0)
        turnoMaximo = ajustes.TurnoMaximo();

    qv::TInteraccionConsola interaccion;
    qv::TRelojReal reloj;
    qv::TLineaSerie linea(puertos, interaccion, reloj);
    qv::RelayServer relay(linea, QHostInfo::localHostName());
    qv::TLimitesRelay limites = relay.Limites();
    limites.turnoMaximoMs = qint64(turnoMaximo) * 60000;
    limites.llamadaMs = llamada * 1000;
    relay.PonerLimites(limites);
    QElapsedTimer desde;
    desde.start();
    if (registro)
        QObject::connect(&relay, &qv::RelayServer::Suceso, &app, [&desde](const QString& t) {
            std::printf("RelayServer: %lld ms: %s\n", static_cast<long long>(desde.elapsed()), qPrintable(t));
            std::fflush(stdout);
        });
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

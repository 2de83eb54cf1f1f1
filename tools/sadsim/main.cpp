// sadsim: a simulated unit behind a pseudo-terminal.
// sadsim [--link PATH] [--firmware VERSION] [--speed FACTOR] [--fault KIND] [--baud N]
//        [--circuit KIND:PARAMS] [--rest a1=VOLTS,d1=0|1,...]
#include "simulador_pty.h"
#include "unidad_simulada.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int tuboSenal[2] = {-1, -1};

extern "C" void AlTerminar(int)
{
    const char c = 1;
    [[maybe_unused]] ssize_t r = ::write(tuboSenal[1], &c, 1);
}

void Uso()
{
    std::fprintf(stderr, "usage: sadsim [--link PATH] [--firmware VERSION] [--speed FACTOR] "
                         "[--fault silence|garbage|cut|slow|atasco] [--baud N]\n"
                         "              [--circuit rc-low|rc-high:R=..,C=.. | rlc-band:R=..,L=..,C=..]\n"
                         "              [--rest a1..a4=VOLTS,d1..d16=0|1,...]  levels of those outputs\n"
                         "                                  whenever a capture is programmed\n");
}

// The link is ours to replace only when it is a symbolic link (a stale one from an
// earlier run); any other file of that name is left alone.
bool PublicarEnlace(const QString& enlace, const QString& destino)
{
    const QByteArray e = QFile::encodeName(enlace);
    QFileInfo info(enlace);
    if (info.isSymLink()) {
        if (::unlink(e.constData()) != 0)
            return false;
    } else if (info.exists()) {
        return false;
    }
    return ::symlink(QFile::encodeName(destino).constData(), e.constData()) == 0;
}

void RetirarEnlace(const QString& enlace, const QString& destino)
{
    // Only our own link: a later simulator may have replaced it meanwhile.
    QFileInfo info(enlace);
    if (info.isSymLink() && info.symLinkTarget() == QFileInfo(destino).absoluteFilePath())
        ::unlink(QFile::encodeName(enlace).constData());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString enlace = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ttySAD"));
    qv::TOpcionesUnidad op;
    int baudios = 0;
    std::unique_ptr<qv::TCircuito> circuito; // between analog output 1 and analog input 2

    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hayValor = i + 1 < args.size();
        if (a == QLatin1String("--link") && hayValor) {
            enlace = args[++i];
        } else if (a == QLatin1String("--firmware") && hayValor) {
            op.version = args[++i].toLatin1();
            if (op.version.isEmpty() || op.version.contains(',') || op.version.contains('#')) {
                std::fprintf(stderr, "sadsim: bad firmware version\n");
                return 2;
            }
        } else if (a == QLatin1String("--speed") && hayValor) {
            bool ok = false;
            op.velocidad = args[++i].toDouble(&ok);
            if (!ok || !(op.velocidad > 0) || op.velocidad > 1e7) {
                std::fprintf(stderr, "sadsim: bad speed factor\n");
                return 2;
            }
        } else if (a == QLatin1String("--baud") && hayValor) {
            bool ok = false;
            baudios = args[++i].toInt(&ok);
            if (!ok || baudios < 300 || baudios > 4000000) {
                std::fprintf(stderr, "sadsim: bad baud rate\n");
                return 2;
            }
        } else if (a == QLatin1String("--circuit") && hayValor) {
            QString error;
            circuito = qv::TCircuito::Leer(args[++i], error);
            if (!circuito) {
                std::fprintf(stderr, "sadsim: %s\n", qPrintable(error));
                return 2;
            }
        } else if (a == QLatin1String("--rest") && hayValor) {
            QString error;
            if (!qv::LeerReposo(args[++i], op.reposo, error)) {
                std::fprintf(stderr, "sadsim: %s\n", qPrintable(error));
                return 2;
            }
        } else if (a == QLatin1String("--fault") && hayValor) {
            if (!qv::LeerFallo(args[++i], op.fallo)) {
                std::fprintf(stderr, "sadsim: unknown fault kind\n");
                return 2;
            }
        } else {
            Uso();
            return 2;
        }
    }

    qv::TUnidadSimulada unidad(op);
    unidad.PonerCircuito(std::move(circuito));
    qv::TSimuladorPty pty(unidad);
    pty.PonerBaudios(baudios);
    QString error;
    if (!pty.Abrir(&error)) {
        std::fprintf(stderr, "sadsim: cannot open a pseudo-terminal: %s\n", qPrintable(error));
        return 1;
    }
    const QString ruta = pty.RutaEsclavo();
    const bool conEnlace = PublicarEnlace(enlace, ruta);
    if (!conEnlace)
        std::fprintf(stderr, "sadsim: cannot publish the link %s\n", qPrintable(enlace));

    // Signals end the event loop through a pipe, so the link is removed in one place.
    if (::pipe2(tuboSenal, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::fprintf(stderr, "sadsim: pipe failed\n");
        return 1;
    }
    struct sigaction sa{};
    sa.sa_handler = AlTerminar;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    QSocketNotifier aviso(tuboSenal[0], QSocketNotifier::Read);
    QObject::connect(&aviso, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    std::printf("%s\n", qPrintable(ruta));
    std::fflush(stdout);

    const int r = app.exec();
    if (conEnlace)
        RetirarEnlace(enlace, ruta);
    pty.Cerrar();
    return r;
}

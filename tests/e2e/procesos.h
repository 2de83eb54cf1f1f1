#pragma once

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>

namespace qv::test {

// A program of the build's bin folder, run for the length of a test and ended at
// its end. Start() answers the first line the program prints, empty when it does
// not come within the wait.
class TProceso {
public:
    explicit TProceso(QString programa) : Programa(std::move(programa)) {}
    ~TProceso() { Terminar(); }

    QString Start(const QStringList& args, int esperaMs = 10000)
    {
        p.setProgram(QStringLiteral(QV_BIN_DIR) + "/" + Programa);
        p.setArguments(args);
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.start();
        if (!p.waitForStarted(esperaMs))
            return QString();
        QByteArray linea;
        while (!linea.contains('\n') && p.waitForReadyRead(esperaMs))
            linea += p.readAllStandardOutput();
        return QString::fromLocal8Bit(linea.left(linea.indexOf('\n'))).trimmed();
    }
    void Matar()
    {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
    void Terminar()
    {
        if (p.state() != QProcess::NotRunning) {
            p.terminate();
            if (!p.waitForFinished(5000))
                Matar();
        }
    }
    bool Vivo() const { return p.state() == QProcess::Running; }

    QProcess p;

private:
    QString Programa;
};

// A simulated unit behind a link in a temporary folder.
struct TSadsim {
    QTemporaryDir dir;
    TProceso proceso{QStringLiteral("sadsim")};
    QString enlace;
    QString pts;

    bool Arrancar(QStringList extra = {})
    {
        enlace = dir.filePath(QStringLiteral("ttySAD"));
        pts = proceso.Start(QStringList{QStringLiteral("--link"), enlace} + extra);
        return !pts.isEmpty();
    }
    // The unit is lost at once, as if unplugged. Its link goes first: a killed unit
    // cannot take it away itself, and whatever keeps searching for it (a relay, the
    // program) would one day open the terminal the system has since given to another
    // test's unit, and answer for that one.
    void Matar()
    {
        QFile::remove(enlace);
        proceso.Matar();
    }
};

// Resident memory of a running process, in kB (-1 when it cannot be read).
inline qint64 MemoriaKb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').front().toLongLong();
    return -1;
}

// A TCP port number nobody listens on right now, below the range the system takes
// client ports from: a test polling a server that is still starting could otherwise
// be given that very port for its own end, connect to itself, wait on its own silence
// and keep the server from listening there.
inline quint16 PuertoLibre()
{
    int desde = 32768;
    if (QFile f(QStringLiteral("/proc/sys/net/ipv4/ip_local_port_range")); f.open(QIODevice::ReadOnly))
        desde = QString::fromLatin1(f.readAll()).split(QLatin1Char('\t')).value(0).trimmed().toInt();
    if (desde > 12000) {
        for (int i = 0; i < 200; ++i) {
            const auto puerto = quint16(QRandomGenerator::global()->bounded(10000, qMin(desde, 65536)));
            if (QTcpServer s; s.listen(QHostAddress::LocalHost, puerto))
                return puerto;
        }
    }
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

} // namespace qv::test

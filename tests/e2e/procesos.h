#pragma once

#include <QProcess>
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
};

// A TCP port number nobody listens on right now.
inline quint16 PuertoLibre()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

} // namespace qv::test

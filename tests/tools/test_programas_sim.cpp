// The built programs themselves: sadsim behind its pseudo-terminal, and the relay on a
// real serial line to it.
#include "common/esperar.h"
#include "e2e/procesos.h"
#include "interaccion_consola.h"
#include "linea_unidad.h"
#include "relay_server.h"

#include "link/reloj.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

using qv::test::Esperar;

QString Programa(const char* nombre)
{
    return QDir(QStringLiteral(QV_BIN_DIR)).filePath(QLatin1String(nombre));
}

// A running sadsim, stopped by SIGTERM when the test ends.
struct Simulador {
    explicit Simulador(const QString& enlace, QStringList extra = {})
    {
        proceso.start(Programa("sadsim"), QStringList{QStringLiteral("--link"), enlace} + extra);
        if (proceso.waitForStarted(5000) && Esperar([this] { return proceso.canReadLine(); }))
            pts = QString::fromLocal8Bit(proceso.readLine()).trimmed();
    }
    ~Simulador() { Parar(); }
    void Parar()
    {
        if (proceso.state() == QProcess::NotRunning)
            return;
        proceso.terminate();
        if (!proceso.waitForFinished(5000))
            proceso.kill();
        proceso.waitForFinished(2000);
    }
    QProcess proceso;
    QString pts;
};

// One command over a serial line, reply collected until it ends in "#" or "&" alone.
QByteArray Preguntar(QSerialPort& p, const QByteArray& comando, bool soloAck = false)
{
    p.write(comando);
    p.waitForBytesWritten(1000);
    QByteArray r;
    Esperar([&] {
        if (p.waitForReadyRead(10))
            r += p.readAll();
        return r.endsWith('#') || (soloAck && r == "&");
    }, 3000);
    return r;
}

bool AbrirSerie(QSerialPort& p, const QString& ruta)
{
    p.setPortName(ruta);
    if (!p.open(QIODevice::ReadWrite))
        return false;
    p.setBaudRate(115200);
    p.setFlowControl(QSerialPort::SoftwareControl);
    return true;
}

QByteArray LineaDe(QTcpSocket& s)
{
    if (!Esperar([&] { return s.canReadLine(); }))
        return "<none>";
    return s.readLine();
}

} // namespace

TEST(Sadsim, PublicaElEnlaceRespondeYLoRetiraAlTerminar)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString enlace = dir.filePath(QStringLiteral("ttySAD"));
    // A stale link from an earlier run is replaced.
    ASSERT_EQ(::symlink("/dev/pts/nonexistent", QFile::encodeName(enlace).constData()), 0);

    Simulador sim(enlace, {QStringLiteral("--speed"), QStringLiteral("1000")});
    ASSERT_TRUE(sim.pts.startsWith(QLatin1String("/dev/pts/"))) << qPrintable(sim.pts);
    QFileInfo info(enlace);
    ASSERT_TRUE(info.isSymLink());
    EXPECT_EQ(info.symLinkTarget(), sim.pts);

    {
        QSerialPort p;
        ASSERT_TRUE(AbrirSerie(p, enlace));
        EXPECT_EQ(Preguntar(p, "1#"), "&1.21,126974#");
        // A 1 s delayed capture at 1000x is over in a few milliseconds of real time.
        EXPECT_EQ(Preguntar(p, "7,10,1,g,0,1,1,10#", true), "&");
        EXPECT_TRUE(Esperar([&] { return Preguntar(p, "2#") == "&3#"; }));
        const QByteArray datos = Preguntar(p, "9#");
        EXPECT_TRUE(datos.startsWith("&10,")) << datos.constData();
        EXPECT_EQ(datos.count(','), 10);
    }

    sim.Parar();
    EXPECT_EQ(sim.proceso.exitStatus(), QProcess::NormalExit);
    EXPECT_FALSE(QFileInfo(enlace).isSymLink());
}

TEST(Sadsim, OpcionesDeFirmwareYFallos)
{
    QTemporaryDir dir;
    const QString enlace = dir.filePath(QStringLiteral("tty"));
    {
        Simulador sim(enlace, {QStringLiteral("--firmware"), QStringLiteral("1.10")});
        QSerialPort p;
        ASSERT_TRUE(AbrirSerie(p, enlace));
        EXPECT_EQ(Preguntar(p, "1#"), "&1.10,126974#");
    }
    {
        Simulador sim(enlace, {QStringLiteral("--fault"), QStringLiteral("cut")});
        QSerialPort p;
        ASSERT_TRUE(AbrirSerie(p, enlace));
        p.write("1#");
        QByteArray r;
        Esperar([&] {
            if (p.waitForReadyRead(10))
                r += p.readAll();
            return r.size() >= 6;
        }, 2000);
        EXPECT_TRUE(r.startsWith('&'));
        EXPECT_FALSE(r.contains('#'));
    }
    {
        Simulador sim(enlace, {"--rest", "a1=5", "--speed", "100"});
        QSerialPort p;
        ASSERT_TRUE(AbrirSerie(p, enlace));
        EXPECT_EQ(Preguntar(p, "6,2,1,c,0,c,1024,1,1,1#", true), "&");
        EXPECT_TRUE(Esperar([&] { return Preguntar(p, "2#") == "&3#"; }));
    }
    QProcess malo;
    malo.start(Programa("sadsim"), {QStringLiteral("--fault"), QStringLiteral("smoke")});
    ASSERT_TRUE(malo.waitForFinished(5000));
    EXPECT_NE(malo.exitCode(), 0);
}

TEST(RelaySerie, BuscaLaUnidadYSobreviveASuPerdida)
{
    QTemporaryDir dir;
    const QString enlace = dir.filePath(QStringLiteral("ttySAD"));
    auto sim = std::make_unique<Simulador>(enlace);
    ASSERT_FALSE(sim->pts.isEmpty());

    qv::TInteraccionConsola interaccion;
    qv::TRelojReal reloj;
    qv::TLineaSerie linea({QStringLiteral("/dev/null-sad-absent"), enlace}, interaccion, reloj);
    qv::RelayServer relay(linea, QStringLiteral("aula"));
    ASSERT_TRUE(relay.Escuchar(QHostAddress::LocalHost, 0));
    ASSERT_TRUE(linea.Disponible());
    EXPECT_EQ(linea.Dispositivo(), enlace);
    EXPECT_EQ(linea.Version(), "1.21");

    QTcpSocket c;
    c.connectToHost(QHostAddress::LocalHost, relay.PuertoTcp());
    ASSERT_TRUE(c.waitForConnected(3000));
    EXPECT_EQ(LineaDe(c), "$\n");
    c.write("2#\r\n");
    EXPECT_EQ(LineaDe(c), "&0#\n");

    // The unit goes away: its client is told at once, nothing breaks.
    sim.reset();
    c.write("2#\r\n");
    EXPECT_EQ(LineaDe(c), "%\n");
    // It comes back on the same link: a command after the relay's pause finds it again
    // (the relay may say it is getting ready while it listens to the line first).
    sim = std::make_unique<Simulador>(enlace);
    ASSERT_FALSE(sim->pts.isEmpty());
    QByteArray r;
    for (int i = 0; i < 40 && r != "&1.21,126974#\n"; ++i) {
        c.write("1#\r\n");
        r = LineaDe(c);
        if (r == "%\n" || r == "+\n")
            Esperar([] { return false; }, 100);
    }
    EXPECT_EQ(r, "&1.21,126974#\n");
}

// The relay starts while the unit still sends a read-back nobody reads any more: the
// search waits for the line to fall quiet instead of taking it for a foreign device, and
// meanwhile a client is told that the unit is getting ready.
TEST(RelaySerie, AlArrancarEsperaAQueLaLineaCalle)
{
    QTemporaryDir dir;
    const QString enlace = dir.filePath(QStringLiteral("ttySAD"));
    Simulador sim(enlace, {QStringLiteral("--baud"), QStringLiteral("115200")});
    ASSERT_FALSE(sim.pts.isEmpty());
    {
        QSerialPort p;
        ASSERT_TRUE(AbrirSerie(p, enlace));
        ASSERT_EQ(Preguntar(p, "7,30000,1,a,0,0,0,1#", true), "&"); // done in 30 ms
        QThread::msleep(100);
        p.write("9#");
        ASSERT_TRUE(p.waitForReadyRead(3000));
    } // some 60 kB of the reply still to come

    qv::TInteraccionConsola interaccion;
    qv::TRelojReal reloj;
    qv::TLineaSerie linea({enlace}, interaccion, reloj);
    qv::RelayServer relay(linea, QStringLiteral("aula"));
    ASSERT_TRUE(relay.Escuchar(QHostAddress::LocalHost, 0));
    std::optional<bool> hallada;
    QObject::connect(&relay, &qv::RelayServer::UnidadBuscada, [&](bool h) { hallada = hallada.value_or(h); });
    relay.BuscarUnidad();
    QTcpSocket c;
    c.connectToHost(QHostAddress::LocalHost, relay.PuertoTcp());
    ASSERT_TRUE(c.waitForConnected(3000));
    EXPECT_EQ(LineaDe(c), "$\n");
    c.write("2#\r\n");
    EXPECT_EQ(LineaDe(c), "+\n");
    ASSERT_TRUE(Esperar([&] { return hallada.has_value(); }, 30000));
    EXPECT_TRUE(*hallada);
    c.write("2#\r\n");
    EXPECT_EQ(LineaDe(c), "&3#\n");
}

TEST(RelaySerie, ProgramaRelayServerConSuPuerto)
{
    QTemporaryDir dir;
    const QString enlace = dir.filePath(QStringLiteral("ttySAD"));
    Simulador sim(enlace);
    ASSERT_FALSE(sim.pts.isEmpty());
    const quint16 puerto = qv::test::PuertoLibre();

    QProcess relay;
    relay.start(Programa("RelayServer"),
                {QStringLiteral("--port"), QString::number(puerto), QStringLiteral("--serial"), enlace});
    ASSERT_TRUE(relay.waitForStarted(5000));
    ASSERT_TRUE(Esperar([&] { return relay.canReadLine(); }));
    const QByteArray estado = relay.readLine();
    EXPECT_TRUE(estado.contains("1.21")) << estado.constData();

    QTcpSocket c;
    c.connectToHost(QHostAddress::LocalHost, puerto);
    ASSERT_TRUE(c.waitForConnected(3000));
    EXPECT_EQ(LineaDe(c), "$\n");
    c.write("2#\r\n");
    EXPECT_EQ(LineaDe(c), "&0#\n");
    relay.terminate();
    relay.waitForFinished(5000);
}

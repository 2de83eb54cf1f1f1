#include "common/esperar.h"
#include "e2e/procesos.h"
#include "link/tcp_port.h"
#include "linea_unidad.h"
#include "relay_server.h"
#include "unidad_simulada.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <functional>
#include <random>
#include <memory>
#include <vector>

using qv::RelayServer;

namespace {

using qv::test::Esperar;

// A unit line without hardware: an in-process simulated unit that answers through the
// event loop, like a serial line would. It records every command it was sent.
class LineaSimulada : public qv::TLineaUnidad {
public:
    explicit LineaSimulada(qv::TOpcionesUnidad op = {}) : unidad(std::move(op)) {}

    bool Disponible() override
    {
        ++consultas;
        abierta = disponible;
        return disponible;
    }
    // Open since a search found the unit, until it goes away.
    bool Abierta() const override { return abierta && disponible; }
    bool Enviar(const QByteArray& comando) override
    {
        if (!disponible)
            return false;
        comandos.push_back(comando);
        t += 1000;
        unidad.Recibir(comando, t);
        const QByteArray r = unidad.TomarSalida(t);
        if (!r.isEmpty())
            QTimer::singleShot(0, this, [this, r] { Q_EMIT Llegada(r); });
        return true;
    }

    qv::TUnidadSimulada unidad;
    std::vector<QByteArray> comandos;
    bool disponible = true;
    bool abierta = true;
    int consultas = 0;
    std::int64_t t = 0;
};

class Relay : public ::testing::Test {
protected:
    void SetUp() override { Iniciar({}); }

    void Iniciar(qv::TOpcionesUnidad op)
    {
        relay.reset();
        linea = std::make_unique<LineaSimulada>(op);
        relay = std::make_unique<RelayServer>(*linea, QStringLiteral("aula-pc"));
        ASSERT_TRUE(relay->Escuchar(QHostAddress::LocalHost, 0));
    }

    void TearDown() override
    {
        clientes.clear();
        relay.reset();
    }

    // A client from a loopback address of its own ("127.0.0.2"): another machine, as
    // far as the relay can tell.
    QTcpSocket* Conectar(const char* desde = nullptr)
    {
        clientes.push_back(std::make_unique<QTcpSocket>());
        QTcpSocket* s = clientes.back().get();
        if (desde) {
            EXPECT_TRUE(s->bind(QHostAddress(QString::fromLatin1(desde)), 0));
        }
        s->connectToHost(QHostAddress::LocalHost, relay->PuertoTcp());
        EXPECT_TRUE(s->waitForConnected(3000));
        return s;
    }

    static QByteArray Linea(QTcpSocket* s)
    {
        if (!Esperar([s] { return s->canReadLine(); }))
            return "<none>";
        return s->readLine();
    }

    static void Enviar(QTcpSocket* s, const QByteArray& texto)
    {
        // As the program's TCP port does: lines of at most 100 characters, CR LF.
        for (qsizetype i = 0; i < texto.size(); i += 100)
            s->write(texto.mid(i, 100) + "\r\n");
        s->flush();
    }

    std::unique_ptr<LineaSimulada> linea;
    std::unique_ptr<RelayServer> relay;
    std::vector<std::unique_ptr<QTcpSocket>> clientes;
};

} // namespace

TEST(RelayAyudas, NumerosDeComandoYTipoDeRespuesta)
{
    EXPECT_EQ(qv::NumeroComando("10#"), "10");
    EXPECT_EQ(qv::NumeroComando("12,1,w#"), "12");
    EXPECT_EQ(qv::NumeroComando(""), "");
    // "12" and "13" are acknowledge-only although they start like "1".
    EXPECT_FALSE(qv::RespuestaConDatos(qv::NumeroComando("13,1,w#")));
    EXPECT_TRUE(qv::RespuestaConDatos(qv::NumeroComando("1#")));
    EXPECT_EQ(qv::NombreCliente(QHostAddress(QStringLiteral("::ffff:10.0.0.7"))), "10.0.0.7");
    // One machine: an IPv4 address, or any address of an IPv6 /64 network.
    EXPECT_EQ(qv::EquipoCliente(QHostAddress(QStringLiteral("::ffff:10.0.0.7"))), "10.0.0.7");
    EXPECT_EQ(qv::EquipoCliente(QHostAddress(QStringLiteral("2001:db8:1:2::5"))),
              qv::EquipoCliente(QHostAddress(QStringLiteral("2001:db8:1:2:abcd::9"))));
    EXPECT_NE(qv::EquipoCliente(QHostAddress(QStringLiteral("2001:db8:1:2::5"))),
              qv::EquipoCliente(QHostAddress(QStringLiteral("2001:db8:1:3::5"))));
}

TEST(RelayAyudas, SoloLasOrdenesDeLaUnidadLleganAElla)
{
    for (const char* bueno : {"1#", "2#", "3,c,0,d,1#", "4,C#", "5,U,0,V,0,W,0,X,0,Y,0,Z,0#", "7,3,1,c,1,w,1,2,3,0,1,1#",
                              "9#", "10#", "12,1,w#", "13,1,w#"})
        EXPECT_TRUE(qv::ComandoValido(bueno)) << bueno;
    for (const char* malo : {"#", "", "2", "0#", "11#", "14#", "99#", "123#", "02#", "2x#", " 2#", "5,\x01#",
                             "5,\x7f#", "5,\xe9#", "2##"})
        EXPECT_FALSE(qv::ComandoValido(malo)) << malo;
}

TEST(RelayAyudas, LineasYComandosDeUnCliente)
{
    qv::TEntradaCliente e(10, 20);
    QList<QByteArray> lineas;
    auto guardar = [&](QByteArrayView l) {
        lineas << l.toByteArray();
        return true;
    };
    // Lines come in any pieces; CR LF or LF ends them.
    EXPECT_TRUE(e.Lineas("1\x11#\r\n2", guardar));
    EXPECT_TRUE(e.Lineas(",a", guardar));
    EXPECT_TRUE(e.Lineas("\n\n", guardar));
    EXPECT_EQ(lineas, (QList<QByteArray>{"1\x11#", "2,a", ""}));
    // The bound counts what is waiting for its end too.
    EXPECT_TRUE(e.Lineas("123456", guardar));
    EXPECT_FALSE(e.Lineas("78901", guardar));

    QList<QByteArray> comandos;
    auto ordenar = [&](const QByteArray& c) {
        comandos << c;
        return true;
    };
    qv::TEntradaCliente f(4096, 20);
    // XON/XOFF dropped, contents joined across lines, several commands in one line.
    EXPECT_TRUE(f.Unir("1\x13#2", ordenar));
    EXPECT_TRUE(f.Unir("#8#", ordenar));
    EXPECT_EQ(comandos, (QList<QByteArray>{"1#", "2#", "8#"}));
    // A command begun while the client could not send is never handed on cut short.
    EXPECT_EQ(f.Ignorar("7,1,2"), 0);
    EXPECT_TRUE(f.Unir(",3#2#", ordenar));
    EXPECT_EQ(comandos.mid(3), (QList<QByteArray>{QByteArray(), "2#"}));
    EXPECT_EQ(f.Ignorar("1#2#3"), 2);
    EXPECT_FALSE(f.Unir("#" + QByteArray(30, '5'), ordenar)); // past the command bound
    EXPECT_EQ(f.Retenidos(), 0);
}

TEST(RelayAyudas, RespuestaDeDescubrimiento)
{
    EXPECT_EQ(qv::RespuestaDescubrimiento(" QVSAD?\r\n", QStringLiteral("aula"), QStringLiteral("10.0.0.2")),
              QByteArray("QVSAD aula 10.0.0.2"));
    EXPECT_EQ(qv::RespuestaDescubrimiento("QVSAD?", QStringLiteral("aula"), QString()), QByteArray("QVSAD aula "));
    EXPECT_FALSE(qv::RespuestaDescubrimiento("QVSAD", QStringLiteral("aula"), QString()));
    EXPECT_FALSE(qv::RespuestaDescubrimiento("QVSAD?x", QStringLiteral("aula"), QString()));
}

TEST_F(Relay, SaludaAlTitularYALosDemas)
{
    QTcpSocket* a = Conectar();
    EXPECT_EQ(Linea(a), "$\n");
    QTcpSocket* b = Conectar();
    EXPECT_EQ(Linea(b), "$127.0.0.1\n");
    EXPECT_EQ(relay->Titular(), "127.0.0.1");
    EXPECT_EQ(relay->NumClientes(), 2);
}

TEST_F(Relay, ReenviaAlTitularYUneLasLineas)
{
    QTcpSocket* a = Conectar();
    Linea(a);
    Enviar(a, "1#");
    EXPECT_EQ(Linea(a), "&1.21,126974#\n");

    // A capture command longer than two lines reaches the unit once and whole.
    QByteArray cmd = "7,60,2,a,c,1,w,";
    for (int k = 0; k < 60; ++k)
        cmd += QByteArray::number(k - 230) + ",";
    cmd += "0,1,1#";
    ASSERT_GT(cmd.size(), 250);
    Enviar(a, "3,c,0#");
    EXPECT_EQ(Linea(a), "&\n");
    Enviar(a, cmd);
    EXPECT_EQ(Linea(a), "&\n");
    ASSERT_EQ(linea->comandos.size(), 3u);
    EXPECT_EQ(linea->comandos[2], cmd);

    // Data replies come back as one line however long.
    linea->t += 1000000;
    linea->unidad.Avanzar(linea->t);
    Enviar(a, "9#");
    const QByteArray r = Linea(a);
    EXPECT_TRUE(r.startsWith("&60,")) << r.left(40).constData();
    EXPECT_TRUE(r.endsWith("#\n"));
    EXPECT_EQ(r.count(','), 60 * 2);

    // Two commands in one line each get their own reply line.
    Enviar(a, "2#8#");
    EXPECT_EQ(Linea(a), "&3#\n");
    EXPECT_EQ(Linea(a), "&\n");

    // Flow-control bytes never reach the serial line.
    Enviar(a, "1\x13\x11#");
    EXPECT_EQ(Linea(a), "&1.21,126974#\n");
    EXPECT_EQ(linea->comandos.back(), "1#");
}

TEST_F(Relay, RechazaOrdenesDeQuienNoEsTitular)
{
    QTcpSocket* a = Conectar();
    Linea(a);
    QTcpSocket* b = Conectar();
    Linea(b);
    Enviar(b, "8#");
    EXPECT_EQ(Linea(b), "!127.0.0.1\n");
    EXPECT_TRUE(linea->comandos.empty());
    // The holder is unaffected and gets only its own answers.
    Enviar(a, "2#");
    EXPECT_EQ(Linea(a), "&0#\n");
    EXPECT_FALSE(b->canReadLine());
}

TEST_F(Relay, LiberaLaUnidadCuandoElTitularSeVa)
{
    QTcpSocket* a = Conectar();
    Linea(a);
    QTcpSocket* b = Conectar();
    Linea(b);
    Enviar(a, "5,U,255,W,100#");
    EXPECT_EQ(Linea(a), "&\n");
    EXPECT_EQ(linea->unidad.ValorSalida(0), 255);

    a->disconnectFromHost();
    EXPECT_EQ(Linea(b), "$\n"); // free now
    ASSERT_FALSE(linea->comandos.empty());
    EXPECT_EQ(linea->comandos.back(), RelayServer::ComandoLiberar);
    EXPECT_TRUE(Esperar([&] { return linea->unidad.ValorSalida(2) == 0; }));
    EXPECT_EQ(linea->unidad.ValorSalida(0), 0);
    EXPECT_EQ(relay->Titular(), "");

    // The waiting client takes the unit by using it; a newcomer is told who holds it.
    Enviar(b, "1#");
    EXPECT_EQ(Linea(b), "&1.21,126974#\n");
    EXPECT_EQ(relay->Titular(), "127.0.0.1");
    QTcpSocket* c = Conectar();
    EXPECT_EQ(Linea(c), "$127.0.0.1\n");
    Enviar(c, "2#");
    EXPECT_EQ(Linea(c), "!127.0.0.1\n");
}

TEST_F(Relay, ElPrimeroEnLlegarConLaUnidadLibreEsTitular)
{
    QTcpSocket* a = Conectar();
    Linea(a);
    a->disconnectFromHost();
    ASSERT_TRUE(Esperar([&] { return relay->NumClientes() == 0; }));
    QTcpSocket* b = Conectar();
    EXPECT_EQ(Linea(b), "$\n");
    Enviar(b, "2#");
    EXPECT_EQ(Linea(b), "&0#\n");
}

TEST_F(Relay, LimitaLineasYComandos)
{
    QTcpSocket* a = Conectar();
    Linea(a);
    QTcpSocket* b = Conectar();
    Linea(b);
    b->write(QByteArray(RelayServer::MaxLinea + 100, '1'));
    EXPECT_TRUE(Esperar([&] { return b->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_TRUE(linea->comandos.empty());
    // The holder carries on.
    Enviar(a, "2#");
    EXPECT_EQ(Linea(a), "&0#\n");
    // A command that never ends is bounded too, even in short lines.
    Enviar(a, QByteArray(RelayServer::MaxComando + 200000, '1'));
    EXPECT_TRUE(Esperar([&] { return a->state() == QAbstractSocket::UnconnectedState; }, 20000));
    EXPECT_TRUE(Esperar([&] { return linea->comandos.size() == 2u; })); // "2#" and the release
    EXPECT_EQ(linea->comandos.back(), RelayServer::ComandoLiberar);
}

// Idle connections from one machine take its few slots only: the rest of the
// classroom still gets in, and the defaults serve forty stations with a program and
// a companion each.
TEST_F(Relay, UnEquipoNoOcupaLasPlazasDeTodos)
{
    const int porEquipo = relay->Limites().maxPorEquipo;
    for (int i = 0; i < porEquipo; ++i)
        EXPECT_NE(Linea(Conectar("127.0.0.2")), "<none>");
    // One more is refused with a line of its own, not a greeting, and closed.
    QTcpSocket* sobra = Conectar("127.0.0.2");
    EXPECT_EQ(Linea(sobra), "*\n");
    EXPECT_TRUE(Esperar([&] { return sobra->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(relay->NumClientes(), porEquipo);

    for (int puesto = 1; puesto <= 40; ++puesto) {
        const QByteArray desde = "127.0.1." + QByteArray::number(puesto);
        for (int k = 0; k < 2; ++k)
            ASSERT_EQ(Linea(Conectar(desde.constData())), "$127.0.0.2\n") << desde.constData();
    }
    EXPECT_EQ(relay->NumClientes(), porEquipo + 80);

    // The total bound still holds when many machines come.
    qv::TLimitesRelay limites = relay->Limites();
    limites.maxClientes = relay->NumClientes();
    relay->PonerLimites(limites);
    QTcpSocket* otra = Conectar("127.0.2.1");
    EXPECT_EQ(Linea(otra), "*\n");
    EXPECT_TRUE(Esperar([&] { return otra->state() == QAbstractSocket::UnconnectedState; }));

    // A slot freed is a slot for that machine again.
    clientes.front()->disconnectFromHost();
    ASSERT_TRUE(Esperar([&] { return relay->NumClientes() == porEquipo + 79; }));
    EXPECT_NE(Linea(Conectar("127.0.0.2")), "<none>");
}

// No unit: the client hears it at once instead of waiting out its reads, and commands
// during the pause after a search in vain wait for its end and share one search.
TEST_F(Relay, SinUnidadLoDiceAlMomento)
{
    linea->disponible = false;
    QTcpSocket* a = Conectar();
    Linea(a);
    Enviar(a, "1#");
    EXPECT_EQ(Linea(a), "%\n");
    Enviar(a, "2#2#");
    EXPECT_EQ(Linea(a), "%\n");
    EXPECT_EQ(Linea(a), "%\n");
    EXPECT_EQ(linea->consultas, 2);
    EXPECT_TRUE(linea->comandos.empty());

    // The unit is back within the pause: the command waits for it, not told "no unit".
    linea->disponible = true;
    Enviar(a, "2#");
    EXPECT_EQ(Linea(a), "&0#\n");
    EXPECT_EQ(linea->comandos.size(), 1u);
}

// Noise from the holder never reaches the unit, so it holds up nothing: the holder's
// next real command is answered at once.
TEST_F(Relay, BasuraDelTitularNoRetrasaLaSiguienteOrden)
{
    QTcpSocket* a = Conectar();
    Linea(a);
    std::mt19937 azar(7);
    QByteArray basura;
    for (int i = 0; i < 4000; ++i) {
        char c = char(azar() % 256);
        if (c == '\n')
            c = '#';
        basura += c;
        if (i % 90 == 89)
            basura += "\r\n";
    }
    // Its last command is ended: text left open would join the next line's command.
    basura += "#\r\n";
    ASSERT_GT(basura.count('#'), 10);
    a->write(basura);
    QElapsedTimer t;
    t.start();
    Enviar(a, "2#");
    QByteArray r;
    ASSERT_TRUE(Esperar([&] {
        while (a->canReadLine()) {
            r = a->readLine();
            if (r.startsWith('&'))
                return true;
            EXPECT_TRUE(r.startsWith('!')) << r.constData(); // the noise was refused
        }
        return false;
    }));
    EXPECT_EQ(r, "&0#\n");
    // One unit reply wait is 3 s; noise used to cost 3 s for every "#" it held.
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(linea->comandos, std::vector<QByteArray>{"2#"});
}

TEST_F(Relay, RespuestaSinFormaPasaTrasElSilencio)
{
    qv::TOpcionesUnidad op;
    op.fallo = qv::TFalloUnidad::Basura;
    Iniciar(op);
    QTcpSocket* a = Conectar();
    Linea(a);
    Enviar(a, "8#");
    const QByteArray r = Linea(a);
    EXPECT_NE(r, "<none>");
    EXPECT_FALSE(r.startsWith('&'));
    // The next command is framed normally once the unit behaves again.
    linea->unidad = qv::TUnidadSimulada{};
    Enviar(a, "2#");
    EXPECT_EQ(Linea(a), "&0#\n");
}

TEST_F(Relay, Descubrimiento)
{
    QTcpSocket* a = Conectar();
    Linea(a);
    QUdpSocket u;
    ASSERT_TRUE(u.bind(QHostAddress::LocalHost, 0));
    // Noise first: it must not be answered, so the first datagram back is the reply.
    u.writeDatagram("hello", QHostAddress::LocalHost, relay->PuertoUdp());
    u.writeDatagram(RelayServer::PeticionDescubrir, QHostAddress::LocalHost, relay->PuertoUdp());
    ASSERT_TRUE(Esperar([&] { return u.hasPendingDatagrams(); }));
    EXPECT_EQ(u.receiveDatagram().data(), "QVSAD aula-pc 127.0.0.1");
}

namespace {

// A line whose unit answers only when the test says so.
class LineaManual : public qv::TLineaUnidad {
public:
    bool Disponible() override { ++busquedas; return abierta = disponible; }
    bool Abierta() const override { return disponible && abierta; }
    bool Enviar(const QByteArray& comando) override
    {
        if (!Abierta())
            return false;
        comandos.push_back(comando);
        return true;
    }
    void Soltar() override { abierta = false; ++soltadas; }
    void Responder(const QByteArray& r) { Q_EMIT Llegada(r); }
    // The line breaks under the relay.
    void Perder()
    {
        disponible = false;
        Q_EMIT Perdida();
    }
    std::vector<QByteArray> comandos;
    bool disponible = true, abierta = true;
    int busquedas = 0, soltadas = 0;
};

} // namespace

TEST(RelayOrden, UnComandoCadaVezYCadaRespuestaASuDueno)
{
    LineaManual linea;
    RelayServer relay(linea, QStringLiteral("aula"));
    ASSERT_TRUE(relay.Escuchar(QHostAddress::LocalHost, 0));
    QTcpSocket a;
    a.connectToHost(QHostAddress::LocalHost, relay.PuertoTcp());
    ASSERT_TRUE(a.waitForConnected(3000));
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    a.readLine();

    a.write("2#8#\r\n");
    ASSERT_TRUE(Esperar([&] { return !linea.comandos.empty(); }));
    // The second command waits for the answer to the first, which comes in pieces.
    EXPECT_EQ(linea.comandos.size(), 1u);
    linea.Responder("&");
    linea.Responder("1");
    EXPECT_EQ(linea.comandos.size(), 1u);
    // What follows the end of an answer came before "8#" went out: it is not its answer.
    linea.Responder("#&");
    ASSERT_EQ(linea.comandos.size(), 2u);
    EXPECT_EQ(linea.comandos[1], "8#");
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    EXPECT_EQ(a.readLine(), "&1#\n");
    Esperar([] { return false; }, 100);
    EXPECT_FALSE(a.canReadLine());
    linea.Responder("&");
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    EXPECT_EQ(a.readLine(), "&\n");

    // Bytes nobody asked for reach nobody, and never become part of the next answer.
    linea.Responder("zz&0#");
    a.write("1#\r\n");
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == 3; }));
    linea.Responder("&1.21,126974#");
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    EXPECT_EQ(a.readLine(), "&1.21,126974#\n");
    EXPECT_EQ(a.bytesAvailable(), 0);
}

// A read-back takes many seconds on a real serial line, longer than the client waits
// for its next field: its complete fields are passed on while the rest still comes,
// and the next command still waits for the end of the answer.
TEST(RelayOrden, RespuestaLargaPasaEnTrozosDeCamposEnteros)
{
    LineaManual linea;
    RelayServer relay(linea, QStringLiteral("aula"));
    ASSERT_TRUE(relay.Escuchar(QHostAddress::LocalHost, 0));
    QTcpSocket a;
    a.connectToHost(QHostAddress::LocalHost, relay.PuertoTcp());
    ASSERT_TRUE(a.waitForConnected(3000));
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    a.readLine();

    a.write("9#2#\r\n");
    ASSERT_TRUE(Esperar([&] { return !linea.comandos.empty(); }));
    QByteArray respuesta = "&3000";
    for (int k = 0; k < 3000; ++k)
        respuesta += "," + QByteArray::number((k * 37) % 4096 - 2048);
    respuesta += "#";
    // Serial reads of 1000 bytes cut fields anywhere; the last bytes are held back.
    const qsizetype casiTodo = respuesta.size() - 10;
    for (qsizetype i = 0; i < casiTodo; i += 1000)
        linea.Responder(respuesta.mid(i, std::min<qsizetype>(1000, casiTodo - i)));
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    EXPECT_EQ(linea.comandos.size(), 1u);
    linea.Responder(respuesta.mid(casiTodo));
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == 2; }));
    EXPECT_EQ(linea.comandos[1], "2#");

    QByteArray unida;
    int lineas = 0;
    for (;;) {
        ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
        const QByteArray l = a.readLine();
        ASSERT_TRUE(l.endsWith('\n'));
        ++lineas;
        unida += l.chopped(1);
        if (l.endsWith("#\n"))
            break;
        EXPECT_TRUE(l.endsWith(",\n")) << lineas;
    }
    EXPECT_GT(lineas, 1);
    EXPECT_EQ(unida, respuesta);
}

// ---- what a hostile classroom does: the relay's memory and its holder stay safe ----

namespace {

// Sends `total` bytes of `linea` repeated, letting the event loop run so the relay
// reads as it comes; `muestra` runs between pieces.
qint64 Inundar(QTcpSocket* s, const QByteArray& linea, qint64 total, const std::function<void()>& muestra)
{
    QByteArray trozo;
    while (trozo.size() < 256 * 1024)
        trozo += linea;
    qint64 enviado = 0;
    QElapsedTimer t;
    t.start();
    while (enviado < total && s->state() == QAbstractSocket::ConnectedState && t.elapsed() < 60000) {
        if (s->bytesToWrite() < 1024 * 1024) {
            s->write(trozo);
            enviado += trozo.size();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        muestra();
    }
    Esperar([&] {
        muestra();
        return s->bytesToWrite() == 0 || s->state() != QAbstractSocket::ConnectedState;
    }, 30000);
    return enviado;
}

// A client that never reads: the kernel's buffers fill and stay full.
void NoLeer(QTcpSocket* s)
{
    s->setReadBufferSize(4096);
}

struct RelayManual : ::testing::Test {
    LineaManual linea;
    RelayServer relay{linea, QStringLiteral("aula")};
    QTcpSocket a; // the holder
    QTcpSocket b; // another machine
    qint64 maximo = 0;

    void SetUp() override
    {
        ASSERT_TRUE(relay.Escuchar(QHostAddress::LocalHost, 0));
        a.connectToHost(QHostAddress::LocalHost, relay.PuertoTcp());
        ASSERT_TRUE(a.waitForConnected(3000));
        ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
        a.readLine();
        ASSERT_TRUE(b.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        b.connectToHost(QHostAddress::LocalHost, relay.PuertoTcp());
        ASSERT_TRUE(b.waitForConnected(3000));
        ASSERT_TRUE(Esperar([&] { return b.canReadLine(); }));
        b.readLine();
    }
    void Medir() { maximo = std::max(maximo, relay.BytesRetenidos()); }
};

} // namespace

// Lines of 4094 "#" from a client that does not hold the unit and never reads: each
// "#" used to leave a refusal in the relay's send buffer (50 MB took it to 589 MB).
TEST_F(RelayManual, RechazosAQuienNoLeeNoSeAcumulan)
{
    NoLeer(&b);
    const qint64 total = 16 * 1024 * 1024;
    Inundar(&b, QByteArray(4094, '#') + "\r\n", total, [&] { Medir(); });
    EXPECT_LT(maximo, 512 * 1024);
    EXPECT_EQ(relay.ComandosEnCola(), 0);
    EXPECT_TRUE(linea.comandos.empty());

    // The holder is served at once meanwhile.
    QElapsedTimer t;
    t.start();
    a.write("2#\r\n");
    ASSERT_TRUE(Esperar([&] { return !linea.comandos.empty(); }));
    linea.Responder("&0#");
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    EXPECT_EQ(a.readLine(), "&0#\n");
    EXPECT_LT(t.elapsed(), 2000);

    // Refusals came collapsed: a handful of lines for millions of commands.
    b.setReadBufferSize(0);
    Esperar([&] { return false; }, 200);
    const QByteArray recibido = b.readAll();
    EXPECT_GT(recibido.count('\n'), 0);
    EXPECT_LT(recibido.count('\n'), total / 4096 / 4);
    EXPECT_TRUE(recibido.startsWith("!127.0.0.1\n"));
}

// The holder floods commands while the unit is slow: the queue is bounded and the
// holder is told, instead of 4.2 million commands (390 MB) keeping the unit stuck.
TEST_F(RelayManual, ColaDelTitularAcotada)
{
    QByteArray ordenes;
    while (ordenes.size() < 98)
        ordenes += "2#";
    ordenes += "\r\n";
    int maxCola = 0;
    auto medir = [&] {
        Medir();
        maxCola = std::max(maxCola, relay.ComandosEnCola());
    };
    const qint64 enviado = Inundar(&a, ordenes, 4 * 1024 * 1024, medir);
    // Until the relay has read it all.
    ASSERT_TRUE(Esperar([&] {
        medir();
        return relay.BytesRecibidos() == enviado;
    }, 30000));
    EXPECT_LE(maxCola, relay.Limites().maxCola);
    EXPECT_LT(maximo, 512 * 1024);
    EXPECT_EQ(linea.comandos.size(), 1u); // the unit has not answered the first yet
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    EXPECT_EQ(a.readLine(), "!127.0.0.1\n");

    // The unit answers what was queued; then the queue is empty and the holder's next
    // command goes straight out.
    a.readAll();
    for (int i = 0; i < relay.Limites().maxCola + 1 && relay.ComandosEnCola() > 0; ++i) {
        const size_t antes = linea.comandos.size();
        linea.Responder("&0#");
        Esperar([&] { return linea.comandos.size() > antes || relay.ComandosEnCola() == 0; }, 1000);
    }
    EXPECT_EQ(relay.ComandosEnCola(), 0);
    const size_t antes = linea.comandos.size();
    a.write("1#\r\n");
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == antes + 1; }));
    EXPECT_EQ(linea.comandos.back(), "1#");
}

// A holder that asks for data and never reads it is let go once a bounded amount
// waits for it; the unit is then freed as when it leaves.
TEST_F(RelayManual, TitularQueNoLeeEsDesconectado)
{
    qv::TLimitesRelay limites = relay.Limites();
    limites.maxSalida = 1024 * 1024;
    relay.PonerLimites(limites);
    NoLeer(&a);
    a.write("9#\r\n");
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == 1; }));
    QByteArray trozo;
    while (trozo.size() < 64 * 1024)
        trozo += "1234,";
    linea.Responder("&65535,");
    for (int i = 0; i < 1024 && relay.NumClientes() == 2; ++i) {
        linea.Responder(trozo);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        Medir();
    }
    EXPECT_TRUE(Esperar([&] { return relay.NumClientes() == 1; }));
    EXPECT_LT(maximo, limites.maxSalida + 2 * trozo.size());
    // The other client is told the unit is free.
    ASSERT_TRUE(Esperar([&] { return b.canReadLine(); }));
    EXPECT_EQ(b.readLine(), "$\n");
}

// The unit goes away with a command on its line and another waiting: both clients'
// commands are answered "%" at once, not after the 3 s unit wait.
TEST_F(RelayManual, UnidadPerdidaConOrdenesEnCurso)
{
    a.write("9#2#\r\n");
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == 1; }));
    QElapsedTimer t;
    t.start();
    linea.Perder();
    ASSERT_TRUE(Esperar([&] { return a.bytesAvailable() >= 4; }));
    EXPECT_EQ(a.readLine(), "%\n");
    EXPECT_EQ(a.readLine(), "%\n");
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(linea.comandos.size(), 1u);

    // A unit that says nothing at all: given up after the unit wait, with "~".
    linea.disponible = true;
    qv::TLimitesRelay limites = relay.Limites();
    limites.reintentoUnidadMs = 0;
    limites.olvidoMs = 200;
    relay.PonerLimites(limites);
    a.write("2#\r\n");
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    EXPECT_EQ(a.readLine(), "~\n");
    EXPECT_EQ(linea.comandos.size(), 2u);
}

// A command left unanswered past the unit wait gets "~", and its late answer goes to
// nobody; meanwhile commands hear "+"; the next one gets its own answer.
TEST_F(RelayManual, RespuestaTardiaNoLlegaAOtraOrden)
{
    qv::TLimitesRelay limites = relay.Limites();
    limites.olvidoMs = 200;
    relay.PonerLimites(limites);
    auto linea1 = [&] { return Esperar([&] { return a.canReadLine(); }) ? a.readLine() : QByteArray(); };
    a.write("2#\r\n");
    EXPECT_EQ(linea1(), "~\n");
    a.write("1#\r\n");
    EXPECT_EQ(linea1(), "+\n");
    EXPECT_EQ(linea.comandos, std::vector<QByteArray>{"2#"});
    linea.Responder("&3"); // the late answer, in pieces, and bytes after it
    linea.Responder("#zz");
    a.write("1#\r\n");
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == 2; }));
    linea.Responder("&1.21,126974#");
    EXPECT_EQ(linea1(), "&1.21,126974#\n");

    // An answer begun and then stalled is given up after the unit wait too (not after
    // the short silence that ends noise); its rest is thrown away.
    a.write("9#\r\n");
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == 3; }));
    linea.Responder("&2,5");
    EXPECT_EQ(linea1(), "~\n");
    linea.Responder(",6#");
    // An acknowledge-only command: the late "&" is its whole answer.
    a.write("8#\r\n");
    EXPECT_EQ(linea1(), "~\n");
    linea.Responder("&");
    a.write("2#\r\n");
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == 5; }));
    EXPECT_EQ(linea.comandos, (std::vector<QByteArray>{"2#", "1#", "9#", "8#", "2#"}));
    linea.Responder("&0#");
    EXPECT_EQ(linea1(), "&0#\n");
}

// A late answer that does not end within the drain bound: the unit counts as lost and is
// looked for again. The release of a holder that left meanwhile waits for it.
TEST_F(RelayManual, RespuestaTardiaSinFinBuscaLaUnidadDeNuevo)
{
    qv::TLimitesRelay limites = relay.Limites();
    limites.olvidoMs = 100;
    limites.vaciadoMs = 300;
    relay.PonerLimites(limites);
    a.write("2#\r\n");
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    EXPECT_EQ(a.readLine(), "~\n");
    linea.Responder("&12345");
    a.disconnectFromHost();
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == 2; }));
    EXPECT_EQ(linea.soltadas, 1);
    EXPECT_EQ(linea.busquedas, 1);
    EXPECT_EQ(linea.comandos.back(), RelayServer::ComandoLiberar);
}

// The program's TCP port reads the relay's own lines: "~" failed (the unit is there),
// "+" getting ready, "%" no unit; nothing more is waited for until the next command.
TEST(PuertoTcp, DistingueLasLineasDelRelay)
{
    QTcpServer relay;
    ASSERT_TRUE(relay.listen(QHostAddress::LocalHost, 0));
    qv::TTcpPort puerto(relay.serverPort());
    puerto.Configurar(QStringLiteral("127.0.0.1"));
    puerto.Abrir();
    ASSERT_TRUE(relay.waitForNewConnection(3000));
    QTcpSocket* s = relay.nextPendingConnection();
    s->write("~\n+\n%\n&0#\n");
    s->waitForBytesWritten(1000);
    auto leer = [&]() -> QByteArray {
        QByteArray r;
        try {
            puerto.Recibir(r);
        } catch (const qv::ESinUnidad&) {
            return "%";
        } catch (const qv::EPreparando&) {
            return "+";
        } catch (const qv::EComPort&) {
            return "~";
        }
        return r;
    };
    for (const char* marca : {"~", "+", "%", "&0#"}) {
        puerto.Enviar("2#");
        EXPECT_EQ(leer(), marca);
        EXPECT_EQ(puerto.SinUnidad(), *marca == '%');
        if (*marca != '&') {
            EXPECT_EQ(leer(), marca); // at once, not after the read time-out
        }
    }
}

// The real program under the first abuse: its memory stays bounded (it reached
// 589 MB before).
TEST(RelayPrograma, MemoriaAcotadaConUnClienteQueInunda)
{
    const quint16 puerto = qv::test::PuertoLibre();
    qv::test::TProceso relay{QStringLiteral("RelayServer")};
    ASSERT_FALSE(relay.Start({QStringLiteral("--port"), QString::number(puerto), QStringLiteral("--serial"),
                              QStringLiteral("/nonexistent/ttySAD")})
                     .isEmpty());
    const qint64 pid = relay.p.processId();
    QTcpSocket a;
    a.connectToHost(QHostAddress::LocalHost, puerto);
    ASSERT_TRUE(a.waitForConnected(3000));
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    a.readLine();
    QTcpSocket b;
    ASSERT_TRUE(b.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    b.connectToHost(QHostAddress::LocalHost, puerto);
    ASSERT_TRUE(b.waitForConnected(3000));
    NoLeer(&b);

    const qint64 antes = qv::test::MemoriaKb(pid);
    ASSERT_GT(antes, 0);
    qint64 maximo = antes;
    Inundar(&b, QByteArray(4094, '#') + "\r\n", 48 * 1024 * 1024, [&] { maximo = std::max(maximo, qv::test::MemoriaKb(pid)); });
    EXPECT_EQ(b.state(), QAbstractSocket::ConnectedState);
    EXPECT_LT(maximo, 64 * 1024) << "before " << antes << " kB";
    // Without a unit the holder hears so at once.
    a.write("2#\r\n");
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }, 2000));
    EXPECT_EQ(a.readLine(), "%\n");
}

#include "common/esperar.h"
#include "linea_unidad.h"
#include "relay_server.h"
#include "unidad_simulada.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>

#include <functional>
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
        return disponible;
    }
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

    QTcpSocket* Conectar()
    {
        clientes.push_back(std::make_unique<QTcpSocket>());
        QTcpSocket* s = clientes.back().get();
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

TEST_F(Relay, LimitaLineasYClientes)
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

    for (int i = relay->NumClientes(); i < RelayServer::MaxClientes; ++i)
        Linea(Conectar());
    EXPECT_EQ(relay->NumClientes(), RelayServer::MaxClientes);
    QTcpSocket* sobra = Conectar();
    EXPECT_TRUE(Esperar([&] { return sobra->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_FALSE(sobra->canReadLine());
    EXPECT_EQ(relay->NumClientes(), RelayServer::MaxClientes);
}

TEST_F(Relay, SinUnidadNoResponde)
{
    linea->disponible = false;
    QTcpSocket* a = Conectar();
    Linea(a);
    Enviar(a, "1#");
    ASSERT_TRUE(Esperar([&] { return linea->consultas > 0; }));
    linea->disponible = true;
    Enviar(a, "2#");
    // Only the second command got through, and its answer is the only line.
    EXPECT_EQ(Linea(a), "&0#\n");
    EXPECT_EQ(linea->comandos.size(), 1u);
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
    bool Disponible() override { return true; }
    bool Enviar(const QByteArray& comando) override
    {
        comandos.push_back(comando);
        return true;
    }
    void Responder(const QByteArray& r) { Q_EMIT Llegada(r); }
    std::vector<QByteArray> comandos;
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
    linea.Responder("#&");
    ASSERT_EQ(linea.comandos.size(), 2u);
    EXPECT_EQ(linea.comandos[1], "8#");
    ASSERT_TRUE(Esperar([&] { return a.bytesAvailable() >= 6; }));
    EXPECT_EQ(a.readLine(), "&1#\n");
    // The "&" that came early belongs to "8#": answered without further bytes.
    ASSERT_TRUE(Esperar([&] { return a.canReadLine(); }));
    EXPECT_EQ(a.readLine(), "&\n");

    // Bytes nobody asked for reach the holder on their own line, never glued to the
    // next answer.
    linea.Responder("zz");
    a.write("1#\r\n");
    ASSERT_TRUE(Esperar([&] { return linea.comandos.size() == 3; }));
    linea.Responder("&1.21,126974#");
    ASSERT_TRUE(Esperar([&] { return a.bytesAvailable() >= 17; }));
    EXPECT_EQ(a.readLine(), "zz\n");
    EXPECT_EQ(a.readLine(), "&1.21,126974#\n");
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

// The relay's line of stations: order, leaving, the call's bound, the longest turn,
// bad turn lines, and a station that speaks only the documented protocol among them.
#include "common/esperar.h"
#include "e2e/procesos.h"
#include "cola_turnos.h"
#include "linea_unidad.h"
#include "link/tcp_port.h"
#include "link/turno_sad.h"
#include "relay_server.h"

#include <gtest/gtest.h>

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <memory>
#include <vector>

using qv::RelayServer;
using qv::test::Esperar;

namespace {

// A unit that answers at once through the event loop; the read-back ("9#") waits for
// the test when `retenerLectura` is set. It records every command.
class LineaTurnos : public qv::TLineaUnidad {
public:
    bool Disponible() override { return true; }
    bool Abierta() const override { return true; }
    bool Enviar(const QByteArray& comando) override
    {
        comandos.push_back(comando);
        const QByteArray n = qv::NumeroComando(comando);
        QByteArray r;
        if (n == "1")
            r = "&1.21,126974#";
        else if (n == "2")
            r = "&" + QByteArray::number(estado) + "#";
        else if (n == "9" && retenerLectura)
            return true;
        else
            r = qv::RespuestaConDatos(n) ? "&0#" : "&";
        QTimer::singleShot(0, this, [this, r] { Q_EMIT Llegada(r); });
        return true;
    }
    void Responder(const QByteArray& r) { Q_EMIT Llegada(r); }
    int Liberaciones() const
    {
        return int(std::count(comandos.begin(), comandos.end(), QByteArray(RelayServer::ComandoLiberar)));
    }
    std::vector<QByteArray> comandos;
    int estado = 0;
    bool retenerLectura = false;
};

class Turnos : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(relay.Escuchar(QHostAddress::LocalHost, 0));
        qv::TLimitesRelay l = relay.Limites();
        l.llamadaMs = 60000;
        relay.PonerLimites(l);
    }
    void Limites(int llamadaMs, qint64 turnoMs = 0, int avisoMs = 0)
    {
        qv::TLimitesRelay l = relay.Limites();
        l.llamadaMs = llamadaMs;
        l.turnoMaximoMs = turnoMs;
        l.avisoTurnoMs = avisoMs;
        l.graciaLecturaMs = 300;
        relay.PonerLimites(l);
    }

    // A station of its own PC (127.0.0.N), greeted.
    QTcpSocket* Puesto(int n, QByteArray* saludo = nullptr)
    {
        clientes.push_back(std::make_unique<QTcpSocket>());
        QTcpSocket* s = clientes.back().get();
        EXPECT_TRUE(s->bind(QHostAddress(QStringLiteral("127.0.0.%1").arg(n)), 0));
        s->connectToHost(QHostAddress::LocalHost, relay.PuertoTcp());
        EXPECT_TRUE(s->waitForConnected(3000));
        const QByteArray l = Linea(s);
        if (saludo)
            *saludo = l;
        return s;
    }
    static QByteArray Linea(QTcpSocket* s, int ms = 3000)
    {
        if (!Esperar([s] { return s->canReadLine(); }, ms))
            return "<none>";
        return s->readLine();
    }
    // Nothing more comes within a moment.
    static bool Calla(QTcpSocket* s, int ms = 150)
    {
        Esperar([] { return false; }, ms);
        return !s->canReadLine() && s->bytesAvailable() == 0;
    }
    static void Decir(QTcpSocket* s, const QByteArray& t)
    {
        s->write(t + "\r\n");
        s->flush();
    }

    LineaTurnos linea;
    RelayServer relay{linea, QStringLiteral("aula")};
    std::vector<std::unique_ptr<QTcpSocket>> clientes;
};

} // namespace

TEST(ColaTurnos, LineasPlazasYEsperas)
{
    EXPECT_TRUE(qv::EsLineaTurno("\x11@PEDIR"));
    EXPECT_FALSE(qv::EsLineaTurno("2#@PEDIR"));
    EXPECT_EQ(qv::LeerOrdenTurno(" @PEDIR  10.0.0.4 ")->nombre, "10.0.0.4");
    EXPECT_EQ(qv::LeerOrdenTurno("@DEJAR")->tipo, qv::TOrdenTurno::TTipo::Dejar);
    for (const char* malo : {"@", "@pedir", "@PEDIR a b", "@DEJAR x", "@AVISOS 1", "@TURNO 1 2 3", "@VER"})
        EXPECT_FALSE(qv::LeerOrdenTurno(malo)) << malo;

    qv::TColaTurnos c;
    int a, b, d;
    EXPECT_TRUE(c.Pedir(&a, "10.0.0.1", "10.0.0.1", 0));
    EXPECT_TRUE(c.Pedir(&b, "10.0.0.2", "10.0.0.2", 10));
    EXPECT_FALSE(c.Pedir(&d, "10.0.0.1", "10.0.0.1", 20)); // the same PC once
    EXPECT_FALSE(c.Pedir(&b, "10.0.0.3", "10.0.0.3", 20)); // the same connection once
    EXPECT_EQ(c.Lugar(&b), 2);
    EXPECT_FALSE(c.Espera(1, 0)); // no turn has ended yet
    c.TurnoTerminado(60000);
    c.TurnoTerminado(120000);
    EXPECT_EQ(*c.Espera(1, 30000), 60000);
    EXPECT_EQ(*c.Espera(2, 100000), 90000);
    EXPECT_EQ(*c.Espera(2, 0, 30000), 60000); // a longest turn bounds the mean
    EXPECT_EQ(qv::LineaTurno(2, 7, 90500), "@TURNO 2 7 91\n");
    EXPECT_EQ(qv::LineaTurno(0, 7, std::nullopt), "@TURNO 0 7 -\n");
    EXPECT_EQ(qv::LineaAula("10.0.0.9", 61000, std::nullopt, c, 5000),
              "QVSAD TURNOS 10.0.0.9 61 - 10.0.0.1:5 10.0.0.2:5");
    EXPECT_TRUE(c.Dejar(&a));
    EXPECT_FALSE(c.Dejar(&a));
    EXPECT_EQ(c.Lugar(&b), 1);
    EXPECT_EQ(c.Sacar()->clave, &b);
    EXPECT_FALSE(c.Sacar());
}

// Three stations ask in turn; the unit goes to them in that order, each release
// switching the outputs off first, and every place hears when it moves.
TEST_F(Turnos, LaUnidadPasaEnElOrdenPedido)
{
    QByteArray saludo;
    QTcpSocket* a = Puesto(1, &saludo);
    EXPECT_EQ(saludo, "$\n");
    QTcpSocket* b = Puesto(2);
    QTcpSocket* c = Puesto(3);
    QTcpSocket* d = Puesto(4);
    Decir(c, "@PEDIR");
    EXPECT_EQ(Linea(c), "@TURNO 1 1 -\n");
    Decir(b, "@PEDIR 127.0.0.2"); // its own name may be given
    EXPECT_EQ(Linea(b), "@TURNO 2 2 -\n");
    EXPECT_EQ(Linea(c), "@TURNO 1 2 -\n");
    Decir(d, "@PEDIR");
    EXPECT_EQ(Linea(d), "@TURNO 3 3 -\n");
    EXPECT_EQ(Linea(c), "@TURNO 1 3 -\n");
    EXPECT_EQ(Linea(b), "@TURNO 2 3 -\n");
    EXPECT_EQ(relay.EnCola(), 3);

    Decir(a, "5,U,255#");
    EXPECT_EQ(Linea(a), "&\n");
    a->disconnectFromHost();
    // c first: called with the holder's greeting, the others told who holds it.
    EXPECT_EQ(Linea(c), "$\n");
    EXPECT_EQ(Linea(c), "@TURNO 0 2 -\n");
    EXPECT_EQ(Linea(b), "$127.0.0.3\n");
    // A turn has ended: a wait is expected.
    const QByteArray lugarB = Linea(b);
    EXPECT_TRUE(lugarB.startsWith("@TURNO 1 2 ") && !lugarB.endsWith("-\n")) << lugarB.constData();
    EXPECT_EQ(Linea(d), "$127.0.0.3\n");
    EXPECT_TRUE(Linea(d).startsWith("@TURNO 2 2 "));
    EXPECT_EQ(relay.Titular(), "127.0.0.3");
    ASSERT_TRUE(Esperar([&] { return linea.Liberaciones() == 1; }));

    // Nobody out of turn: d cannot use the unit, c can.
    Decir(d, "2#");
    EXPECT_EQ(Linea(d), "!127.0.0.3\n");
    Decir(c, "1#");
    EXPECT_EQ(Linea(c), "&1.21,126974#\n");
    EXPECT_FALSE(relay.Llamando());

    c->disconnectFromHost();
    EXPECT_EQ(Linea(b), "$\n");
    EXPECT_EQ(Linea(d), "$127.0.0.2\n");
    EXPECT_TRUE(Linea(d).startsWith("@TURNO 1 1 "));
    Decir(b, "2#");
    EXPECT_EQ(Linea(b), "@TURNO 0 1 -\n");
    EXPECT_EQ(Linea(b), "&0#\n");
    b->disconnectFromHost();
    EXPECT_EQ(Linea(d), "$\n");
    EXPECT_EQ(Linea(d), "@TURNO 0 0 -\n");
    EXPECT_EQ(relay.EnCola(), 0);
    // Every release went through the outputs off before the next holder's first command.
    ASSERT_TRUE(Esperar([&] { return linea.Liberaciones() == 3; }));
    const auto primero = std::find(linea.comandos.begin(), linea.comandos.end(), QByteArray("1#"));
    ASSERT_NE(primero, linea.comandos.end());
    EXPECT_EQ(*(primero - 1), RelayServer::ComandoLiberar);
}

// Leaving frees the place at once, whether by "@DEJAR" or by the connection going;
// a PC has one place however many connections it has.
TEST_F(Turnos, DejarLaColaYUnaPlazaPorPC)
{
    QTcpSocket* a = Puesto(1);
    QTcpSocket* b = Puesto(2);
    QTcpSocket* b2 = Puesto(2);
    QTcpSocket* c = Puesto(3);
    Decir(b, "@PEDIR");
    EXPECT_EQ(Linea(b), "@TURNO 1 1 -\n");
    Decir(b2, "@PEDIR");
    EXPECT_EQ(Linea(b2), "!127.0.0.1\n"); // that PC already waits
    Decir(c, "@PEDIR");
    EXPECT_EQ(Linea(c), "@TURNO 2 2 -\n");
    Linea(b);
    Decir(b, "@DEJAR");
    EXPECT_EQ(Linea(b), "@FUERA\n");
    EXPECT_EQ(Linea(c), "@TURNO 1 1 -\n");
    Decir(b, "@DEJAR");
    EXPECT_EQ(Linea(b), "!127.0.0.1\n"); // nothing left to leave

    // Now the other connection of that PC may wait, and its going frees the place.
    Decir(b2, "@PEDIR");
    EXPECT_EQ(Linea(b2), "@TURNO 2 2 -\n");
    Linea(c);
    b2->abort();
    EXPECT_EQ(Linea(c), "@TURNO 1 1 -\n");
    EXPECT_EQ(relay.EnCola(), 1);
    a->disconnectFromHost();
    EXPECT_EQ(Linea(c), "$\n");
    EXPECT_TRUE(Esperar([&] { return linea.Liberaciones() == 1; }));
}

// A station called that never takes the unit loses its turn to the next, which may then
// use the unit; one that is called and gives up passes it on at once.
TEST_F(Turnos, QuienNoTomaLaUnidadPierdeElTurno)
{
    Limites(300);
    QTcpSocket* a = Puesto(1);
    QTcpSocket* b = Puesto(2);
    QTcpSocket* c = Puesto(3);
    QTcpSocket* d = Puesto(4);
    Decir(b, "@PEDIR");
    Linea(b);
    Decir(c, "@PEDIR");
    Linea(c);
    Linea(b);
    Decir(d, "@PEDIR");
    Linea(d);
    Linea(b);
    Linea(c);
    a->disconnectFromHost();
    EXPECT_EQ(Linea(b), "$\n");
    EXPECT_TRUE(relay.Llamando());
    QElapsedTimer t;
    t.start();
    Linea(b); // its "@TURNO 0 ..."
    EXPECT_EQ(Linea(b, 2000), "@FUERA\n");
    EXPECT_GE(t.elapsed(), 200);
    EXPECT_EQ(Linea(b), "$127.0.0.3\n");
    EXPECT_EQ(Linea(c), "$127.0.0.2\n");
    Linea(c);
    EXPECT_EQ(Linea(c), "$\n");
    // Too late: b is refused like anyone who does not hold the unit.
    Decir(b, "2#");
    EXPECT_EQ(Linea(b), "!127.0.0.3\n");
    Linea(c);
    Decir(c, "@DEJAR");
    EXPECT_EQ(Linea(c), "@FUERA\n");
    EXPECT_EQ(Linea(c), "$127.0.0.4\n");
    Decir(d, "2#");
    bool tomada = false;
    for (int i = 0; i < 10 && !tomada; ++i)
        tomada = Linea(d) == "&0#\n";
    EXPECT_TRUE(tomada);
    EXPECT_EQ(relay.Titular(), "127.0.0.4");
    EXPECT_FALSE(relay.Llamando());
}

// With a longest turn and someone waiting, the holder is warned, then the unit goes on
// with the outputs off; alone it keeps the unit; a read-back under way is not cut.
TEST_F(Turnos, TurnoMaximo)
{
    Limites(60000, 400, 200);
    QTcpSocket* a = Puesto(1);
    Decir(a, "@AVISOS");
    EXPECT_EQ(Linea(a), "@TURNO 0 0 -\n");
    Esperar([] { return false; }, 500);
    Decir(a, "2#"); // alone past its time: still the holder
    EXPECT_EQ(Linea(a), "&0#\n");

    QTcpSocket* b = Puesto(2);
    QElapsedTimer t;
    t.start();
    Decir(b, "@PEDIR");
    EXPECT_EQ(Linea(a), "@TURNO 0 1 -\n");
    const QByteArray aviso = Linea(a);
    EXPECT_EQ(aviso, "@AVISO 1\n"); // a full warning, however long it has held the unit
    // The capture is read back when the time runs out: the turn ends after it.
    linea.retenerLectura = true;
    linea.estado = 3;
    Decir(a, "2#");
    EXPECT_EQ(Linea(a), "&3#\n");
    Decir(a, "9#");
    ASSERT_TRUE(Esperar([&] { return linea.comandos.back() == "9#"; }));
    Esperar([] { return false; }, 400);
    EXPECT_EQ(relay.Titular(), "127.0.0.1");
    linea.Responder("&2,5,7#");
    EXPECT_EQ(Linea(a), "&2,5,7#\n");
    // A read-back again soon after is still let through; anything else is not.
    linea.retenerLectura = false;
    Decir(a, "9#");
    EXPECT_EQ(Linea(a), "&0#\n");
    Decir(a, "2#");
    EXPECT_EQ(Linea(a), "@FIN\n");
    EXPECT_EQ(Linea(a), "$127.0.0.2\n");
    EXPECT_EQ(Linea(a), "!127.0.0.2\n");
    EXPECT_GE(t.elapsed(), 200);
    QByteArray l;
    do
        l = Linea(b);
    while (l.startsWith("@TURNO"));
    EXPECT_EQ(l, "$\n");
    ASSERT_TRUE(Esperar([&] { return linea.Liberaciones() == 1; }));
    EXPECT_EQ(linea.comandos.back(), RelayServer::ComandoLiberar);

    // An idle holder's turn ends on its own, after its warning.
    Decir(b, "1#");
    while ((l = Linea(b)).startsWith("@"))
        ;
    EXPECT_EQ(l, "&1.21,126974#\n");
    Decir(a, "@PEDIR");
    EXPECT_EQ(Linea(a), "@TURNO 1 1 1\n");
    EXPECT_EQ(Linea(b, 2000), "@TURNO 0 1 -\n");
    EXPECT_EQ(Linea(b, 2000), "@AVISO 1\n");
    EXPECT_EQ(Linea(b, 2000), "@FIN\n");
    EXPECT_EQ(Linea(a), "$\n");
    ASSERT_TRUE(Esperar([&] { return linea.Liberaciones() == 2; }));
}

// A station that knows nothing of turns sees only the greetings and refusals it always
// did, among stations that wait; bad turn lines get a refusal and nothing else.
TEST_F(Turnos, EstacionDelProtocoloEntreLasQueEsperan)
{
    QTcpSocket* a = Puesto(1);
    QTcpSocket* b = Puesto(2);
    Decir(b, "@PEDIR");
    Linea(b);
    QByteArray saludo;
    QTcpSocket* v = Puesto(5, &saludo);
    EXPECT_EQ(saludo, "$127.0.0.1\n");
    Decir(v, "2#");
    EXPECT_EQ(Linea(v), "!127.0.0.1\n");
    // Flooded, unknown, or for another PC: one refusal per piece, no place, nothing sent.
    const std::size_t antes = linea.comandos.size();
    QByteArray mucho;
    for (int i = 0; i < 200; ++i)
        mucho += "@PEDIR\r\n@PEDIR 127.0.0.9\r\n@QUIEN\r\n@\r\n";
    v->write(mucho);
    v->flush();
    EXPECT_EQ(Linea(v), "@TURNO 2 2 -\n"); // the first request, and only that one
    EXPECT_EQ(Linea(v), "!127.0.0.1\n");
    Esperar([] { return false; }, 200);
    EXPECT_LE(v->readAll().count('\n'), 3);
    Decir(v, "@PEDIR 127.0.0.9");
    EXPECT_EQ(Linea(v), "!127.0.0.1\n");
    EXPECT_EQ(relay.EnCola(), 2); // b, and v's first request
    EXPECT_EQ(linea.comandos.size(), antes);

    QTcpSocket* w = Puesto(6);
    a->disconnectFromHost();
    EXPECT_EQ(Linea(w), "$127.0.0.2\n"); // not "$": the unit is not free
    EXPECT_TRUE(Calla(w));
    Decir(w, "1#");
    EXPECT_EQ(Linea(w), "!127.0.0.2\n");
    b->disconnectFromHost();
    EXPECT_EQ(Linea(w), "$127.0.0.5\n");
    v->disconnectFromHost();
    EXPECT_EQ(Linea(w), "$\n");
    Decir(w, "2#");
    EXPECT_EQ(Linea(w), "&0#\n");
    EXPECT_TRUE(Calla(w)); // never a turn line
}

// The room view over UDP: the holder, how long it has held the unit, and the line.
TEST_F(Turnos, VistaDelAula)
{
    Puesto(1);
    QTcpSocket* b = Puesto(2);
    QTcpSocket* c = Puesto(3);
    Decir(b, "@PEDIR");
    Linea(b);
    Decir(c, "@PEDIR");
    Linea(c);
    QUdpSocket u;
    ASSERT_TRUE(u.bind(QHostAddress::LocalHost, 0));
    u.writeDatagram("QVSAD TURNOS?", QHostAddress::LocalHost, relay.PuertoUdp());
    ASSERT_TRUE(Esperar([&] { return u.hasPendingDatagrams(); }));
    const QList<QByteArray> campos = u.receiveDatagram().data().split(' ');
    ASSERT_EQ(campos.size(), 7);
    EXPECT_EQ(campos[2], "127.0.0.1");
    EXPECT_EQ(campos[4], "-");
    EXPECT_TRUE(campos[5].startsWith("127.0.0.2:"));
    EXPECT_TRUE(campos[6].startsWith("127.0.0.3:"));
    // A flood gets a bounded number of answers.
    for (int i = 0; i < 200; ++i)
        u.writeDatagram("QVSAD TURNOS?", QHostAddress::LocalHost, relay.PuertoUdp());
    Esperar([] { return false; }, 300);
    int respuestas = 0;
    while (u.hasPendingDatagrams()) {
        u.receiveDatagram();
        ++respuestas;
    }
    EXPECT_GT(respuestas, 0);
    EXPECT_LE(respuestas, 2 * relay.Limites().maxAulaPorSegundo);
}

// The relay program's own options for turns: bad values are refused before it starts.
TEST(TurnosPrograma, OpcionesDelRelay)
{
    for (const QStringList& malas : {QStringList{"--longest-turn", "1441"}, QStringList{"--longest-turn", "x"},
                                     QStringList{"--call-timeout", "0"}}) {
        qv::test::TProceso relay{QStringLiteral("RelayServer")};
        relay.Start(QStringList{"--port", "0", "--serial", "/nonexistent/ttySAD"} + malas, 3000);
        ASSERT_TRUE(relay.p.state() == QProcess::NotRunning || relay.p.waitForFinished(3000)) << malas.join(' ').toStdString();
        EXPECT_EQ(relay.p.exitCode(), 2);
    }
    qv::test::TProceso relay{QStringLiteral("RelayServer")};
    const QString linea = relay.Start({"--port", "0", "--serial", "/nonexistent/ttySAD", "--longest-turn", "10",
                                       "--call-timeout", "30", "--log-turns"});
    EXPECT_TRUE(linea.startsWith("RelayServer: port ")) << linea.toStdString();
    EXPECT_TRUE(relay.Vivo());
}

// The station's side: turn lines never pass for an answer, and survive the drain before
// a command; what they say, read in order.
TEST(TurnosPuesto, LineasDelRelayApartadasYLeidas)
{
    QTcpServer srv;
    ASSERT_TRUE(srv.listen(QHostAddress::LocalHost, 0));
    qv::TTcpPort p(srv.serverPort());
    p.Configurar(QStringLiteral("127.0.0.1"));
    p.Abrir();
    ASSERT_TRUE(srv.waitForNewConnection(3000));
    QTcpSocket* s = srv.nextPendingConnection();
    s->write("@TURNO 0 2 -\n&0#\n@AVISO 60\n$10.0.0.9\n&1#\n@FIN\n!10.0.0.9\n@TU");
    s->waitForBytesWritten(1000);
    QByteArray t;
    p.Recibir(t);
    EXPECT_EQ(t, "&0#");
    Esperar([] { return false; }, 50);
    p.Descartar(); // before the next command
    s->write("RNO 3 4 75\n");
    s->waitForBytesWritten(1000);
    EXPECT_TRUE(p.LeerLineasRelay(1000));
    const QList<QByteArray> l = p.TomarLineasRelay();
    EXPECT_EQ(l, (QList<QByteArray>{"@TURNO 0 2 -", "@AVISO 60", "$10.0.0.9", "@FIN", "@TURNO 3 4 75"}));
    EXPECT_TRUE(p.TomarLineasRelay().isEmpty());

    qv::TEstadoTurno e;
    qv::AplicarLineasTurno(l, QStringLiteral("pc7"), e);
    EXPECT_EQ(e.lugar, 3);
    EXPECT_EQ(e.esperan, 4);
    EXPECT_EQ(e.espera, 75);
    EXPECT_EQ(e.aviso, 60);
    EXPECT_EQ(e.titular, QStringLiteral("10.0.0.9"));
    EXPECT_TRUE(e.fin);
    EXPECT_FALSE(e.llamado);
    qv::AplicarLineasTurno({"$PC7"}, QStringLiteral("pc7"), e);
    EXPECT_TRUE(e.llamado); // its own name, in any letter case
    qv::AplicarLineasTurno({"@FUERA", "$10.0.0.2", "@TURNO x 1 -"}, QStringLiteral("pc7"), e);
    EXPECT_TRUE(e.fuera);
    EXPECT_FALSE(e.llamado);
    EXPECT_EQ(e.lugar, 3); // an ill-formed line changes nothing

    s->abort();
    EXPECT_FALSE(p.LeerLineasRelay(1000));

    const auto v = qv::LeerVistaAula("QVSAD TURNOS 10.0.0.9 125 240 10.0.0.3:30 pc:b:4");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->titular, "10.0.0.9");
    EXPECT_EQ(v->retenido, 125);
    EXPECT_EQ(v->media, 240);
    ASSERT_EQ(v->cola.size(), 2);
    EXPECT_EQ(v->cola[1].first, "pc:b");
    EXPECT_EQ(qv::LeerVistaAula("QVSAD TURNOS - 0 -")->titular, "");
    EXPECT_FALSE(qv::LeerVistaAula("QVSAD TURNOS 10.0.0.9 x -"));
    EXPECT_FALSE(qv::LeerVistaAula("QVSAD TURNOS 10.0.0.9 1 - 10.0.0.3"));
    EXPECT_EQ(qv::TextoDuracion(65), "1 min 05 s");
    EXPECT_EQ(qv::TextoDuracion(3 * 3600 + 120), "3 h 02 min");
}

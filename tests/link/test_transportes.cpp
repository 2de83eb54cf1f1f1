// The real transports: the serial port against pseudo-terminals played by the test
// (the unit's answers are written while the program sleeps on virtual time), and
// the TCP port against a local server.
#include "common/interaccion_guion.h"
#include "link/com_capvis.h"
#include "link/serie_port.h"
#include "link/tcp_port.h"
#include "reloj_falso.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

// The far end of a pseudo-terminal: what the program writes appears here.
class TPty {
public:
    TPty()
    {
        maestro = posix_openpt(O_RDWR | O_NOCTTY);
        if (maestro >= 0 && grantpt(maestro) == 0 && unlockpt(maestro) == 0)
            esclavo = QString::fromLocal8Bit(ptsname(maestro));
        fcntl(maestro, F_SETFL, fcntl(maestro, F_GETFL) | O_NONBLOCK);
    }
    ~TPty() { Cerrar(); }
    void Cerrar()
    {
        if (maestro >= 0)
            ::close(maestro);
        maestro = -1;
    }
    QByteArray Leer()
    {
        QByteArray r;
        char b[4096];
        for (;;) {
            pollfd p{maestro, POLLIN, 0};
            if (maestro < 0 || poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN))
                break;
            const ssize_t n = ::read(maestro, b, sizeof b);
            if (n <= 0)
                break;
            r.append(b, n);
        }
        return r;
    }
    void Escribir(const QByteArray& d)
    {
        if (maestro >= 0)
            (void)!::write(maestro, d.constData(), size_t(d.size()));
    }

    int maestro = -1;
    QString esclavo;
};

struct Serie : ::testing::Test {
    TRelojFalso reloj;
    TInteraccionGuion inter;
};

TEST_F(Serie, SearchSkipsMissingAndSilentPortsAndKeepsTheUnitOpen)
{
    TPty mudo, unidad, otro;
    ASSERT_FALSE(unidad.esclavo.isEmpty());
    QByteArray vistoMudo, vistoOtro;
    reloj.alDormir = [&](int ms) {
        if (ms != 100)
            return;
        vistoMudo += mudo.Leer();
        vistoOtro += otro.Leer();
        if (unidad.Leer() == "1#")
            unidad.Escribir("&1.10,63487#");
    };
    TSeriePort puerto({"/nonexistent/ttyNADA", mudo.esclavo, unidad.esclavo, otro.esclavo}, inter, reloj);
    ASSERT_NO_THROW(puerto.Configurar(QString()));
    EXPECT_TRUE(puerto.Conectado());
    EXPECT_EQ(puerto.PuertoSeleccionado(), 2);
    EXPECT_EQ(puerto.VersionHallada(), "1.10");
    EXPECT_EQ(puerto.TamBloque, 512);
    EXPECT_EQ(puerto.PausaBloque, 50);
    EXPECT_EQ(vistoMudo, "1#");
    EXPECT_TRUE(vistoOtro.isEmpty());
    // Probe of the silent port (100 ms), its close (10 ms), probe of the unit.
    EXPECT_EQ(reloj.suenos, (std::vector<int>{100, 10, 100}));
    EXPECT_TRUE(inter.mensajes.empty());

    // Commands and replies travel both ways once found.
    QByteArray r;
    unidad.Escribir("&2#");
    for (int i = 0; i < 50 && r.isEmpty(); ++i) {
        puerto.Recibir(r);
        if (r.isEmpty())
            QThread::msleep(2);
    }
    EXPECT_EQ(r, "&2#");
}

TEST_F(Serie, ForeignDeviceStopsTheSearchWithTheConfigurationError)
{
    TPty extrano, unidad;
    reloj.alDormir = [&](int ms) {
        if (ms == 100 && extrano.Leer() == "1#")
            extrano.Escribir("OK\r\n");
    };
    TSeriePort puerto({extrano.esclavo, unidad.esclavo}, inter, reloj);
    try {
        puerto.Configurar(QString());
        FAIL() << "no error";
    } catch (const EEntradaSalida& e) {
        EXPECT_STREQ(e.what(), "Error al configurar el puerto");
    }
    EXPECT_TRUE(unidad.Leer().isEmpty()); // never probed
    EXPECT_FALSE(puerto.Conectado());
}

TEST_F(Serie, NewFirmwareWritesWholeAndOldFirmwareIsPaced)
{
    TPty unidad;
    QString version = "1.21";
    std::vector<qsizetype> piezas;
    qsizetype llegados = 0;
    reloj.alDormir = [&](int ms) {
        QByteArray d = unidad.Leer();
        if (ms == 100 && d == "1#") {
            unidad.Escribir("&" + version.toLatin1() + ",63487#");
        } else if (ms == 50) {
            // Each pause follows one block: wait (bounded) for the whole of it, so that
            // a loaded machine delivering it in two reads cannot split the count.
            const qsizetype esperado = std::min<qsizetype>(5000, 512 * qsizetype(piezas.size() + 1)) - llegados;
            for (int i = 0; i < 100 && d.size() < esperado; ++i)
                d += unidad.Leer();
            llegados += d.size();
            piezas.push_back(d.size());
        }
    };
    {
        TSeriePort puerto({unidad.esclavo}, inter, reloj);
        puerto.Configurar(QString());
        EXPECT_EQ(puerto.TamBloque, 2048);
        EXPECT_EQ(puerto.PausaBloque, 0);
    }
    version = "1.00";
    TSeriePort puerto({unidad.esclavo}, inter, reloj);
    puerto.Configurar(QString());
    reloj.suenos.clear();
    QByteArray largo(5000, 'x');
    largo.back() = '#';
    puerto.Enviar(largo);
    EXPECT_EQ(reloj.suenos, std::vector<int>(10, 50));
    EXPECT_EQ(piezas, (std::vector<qsizetype>{512, 512, 512, 512, 512, 512, 512, 512, 512, 392}));
}

// Cancelling between the pieces of a long send stops it there: the unit gets the
// pieces sent so far closed with "#", which makes it drop the half command.
TEST_F(Serie, CancelledLongSendStopsBetweenPiecesAndEndsTheCommand)
{
    TPty unidad;
    std::atomic<bool> cancelar{false};
    QByteArray llegado;
    int pausas = 0;
    reloj.alDormir = [&](int ms) {
        QByteArray d = unidad.Leer();
        if (ms == 100 && d == "1#") {
            unidad.Escribir("&1.00,63487#");
        } else if (ms == 50) {
            for (int i = 0; i < 100 && llegado.size() + d.size() < 512 * (pausas + 1); ++i)
                d += unidad.Leer();
            llegado += d;
            if (++pausas == 3)
                cancelar = true;
        }
    };
    TSeriePort puerto({unidad.esclavo}, inter, reloj);
    puerto.Configurar(QString());
    puerto.PonerInterrupcion(&cancelar);
    QByteArray largo(5000, '7');
    largo.back() = '#';
    EXPECT_THROW(puerto.Enviar(largo), EInterrumpido);
    llegado += unidad.Leer();
    EXPECT_EQ(llegado, largo.left(3 * 512) + "#");
    // A short command goes out whole whatever the flag says: winding down needs it.
    reloj.alDormir = nullptr;
    EXPECT_NO_THROW(puerto.Enviar("8#"));
    EXPECT_EQ(unidad.Leer(), "8#");
}

TEST_F(Serie, OpenFailureShowsThePlainMessage)
{
    TSeriePort puerto({"/nonexistent/ttyNADA"}, inter, reloj);
    EXPECT_NO_THROW(puerto.Abrir());
    EXPECT_FALSE(puerto.Conectado());
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(inter.mensajes[0].sabor, TInteraccionGuion::Sabor::Plano);
    EXPECT_EQ(inter.mensajes[0].texto, "no se puede abrir el puerto");
    EXPECT_THROW(puerto.Configurar(QString()), EEntradaSalida);
}

TEST_F(Serie, VanishedLineFailsQueriesAndIsLetGo)
{
    auto unidad = std::make_unique<TPty>();
    const QString camino = unidad->esclavo;
    TTextosFijos textos;
    TComCapvis enlace(textos, inter, reloj, {camino});
    enlace.SetTipoConexion(false);
    reloj.alDormir = [&](int ms) {
        if (ms == 100 && unidad && unidad->Leer() == "1#")
            unidad->Escribir("&1.21,63487#");
    };
    ASSERT_TRUE(enlace.Puerto());
    ASSERT_TRUE(enlace.Inicializar());
    ASSERT_TRUE(enlace.Puerto()->Conectado());
    unidad.reset(); // the other end goes away
    int estado = -1;
    EXPECT_FALSE(enlace.LeerEstado(estado));
    EXPECT_FALSE(enlace.LeerVersion());
    EXPECT_FALSE(enlace.Abortar());
    EXPECT_EQ(estado, -1);
    // The dead line was let go, so the next command looks for the unit again.
    EXPECT_FALSE(enlace.Puerto()->Conectado());
}

// ---- TCP ----

struct Tcp : ::testing::Test {
    QTcpServer servidor;
    std::unique_ptr<TTcpPort> p;
    QTcpSocket* otro = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(servidor.listen(QHostAddress::LocalHost, 0));
        p = std::make_unique<TTcpPort>(servidor.serverPort());
    }
    void Conectar()
    {
        TTcpPort& puerto = *p;
        puerto.Configurar("127.0.0.1");
        puerto.Abrir();
        ASSERT_TRUE(servidor.waitForNewConnection(2000));
        otro = servidor.nextPendingConnection();
        ASSERT_NE(otro, nullptr);
    }
    QByteArray LeerServidor(qsizetype cuantos)
    {
        QByteArray r;
        while (r.size() < cuantos && otro->waitForReadyRead(2000))
            r += otro->readAll();
        return r;
    }
};

TEST(TcpConfig, EmptyHostIsThisMachineOnTheRelayPort)
{
    TTcpPort puerto;
    puerto.Configurar(QString());
    EXPECT_FALSE(puerto.Direccion().isNull());
    EXPECT_EQ(puerto.Puerto(), 9099);
    EXPECT_THROW(puerto.Configurar("nombre.que.no.existe.invalid"), EComPort);
}

TEST_F(Tcp, LongTextLeavesAsLinesOfAtMostHundredCharacters)
{
    Conectar();
    TTcpPort& puerto = *p;
    QByteArray texto;
    for (int i = 0; i < 250; ++i)
        texto += char('a' + i % 26);
    puerto.Enviar(texto);
    const QByteArray r = LeerServidor(256);
    EXPECT_EQ(r, texto.left(100) + "\r\n" + texto.mid(100, 100) + "\r\n" + texto.mid(200) + "\r\n");
}

TEST_F(Tcp, LinesAreReadOneAtATimeAndSilenceGivesEmptyText)
{
    Conectar();
    TTcpPort& puerto = *p;
    puerto.TiempoLectura = 150;
    otro->write("&1.21,63487#\r\n&\npar");
    otro->flush();
    otro->waitForBytesWritten(1000);
    QByteArray r;
    puerto.Recibir(r);
    EXPECT_EQ(r, "&1.21,63487#");
    puerto.Recibir(r);
    EXPECT_EQ(r, "&");
    puerto.Recibir(r); // an unended line waits
    EXPECT_TRUE(r.isEmpty());
    otro->write("cial\n");
    otro->waitForBytesWritten(1000);
    puerto.Recibir(r);
    EXPECT_EQ(r, "parcial");

    // The peer closing is an error, after what it sent has been read.
    otro->write("$fin\n");
    otro->waitForBytesWritten(1000);
    otro->disconnectFromHost();
    puerto.Recibir(r);
    EXPECT_EQ(r, "$fin");
    EXPECT_THROW(puerto.Recibir(r), EComPort);
    EXPECT_THROW(puerto.Enviar("2#"), EComPort);
}

TEST_F(Tcp, RefusedConnectionRaisesAndSendingUnconnectedRaises)
{
    const quint16 libre = servidor.serverPort();
    servidor.close();
    TTcpPort puerto(libre);
    puerto.Configurar("127.0.0.1");
    EXPECT_THROW(puerto.Abrir(), EComPort);
    EXPECT_FALSE(puerto.Conectado());
    EXPECT_THROW(puerto.Enviar("1#"), EComPort);
    EXPECT_NO_THROW(puerto.Cerrar());
}

} // namespace

// The client side of the relay's own lines: "%" (no unit) and "!" (refused) end the
// wait at once, and a relay that never greets costs the greeting wait only.
#include "common/esperar_sad.h"
#include "common/interaccion_guion.h"
#include "link/com_capvis.h"
#include "link/servicio_sad.h"
#include "link/tcp_port.h"
#include "puerto_guion.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

using namespace qv;
using namespace qv::test;

namespace {

// A scripted port behind a relay: every receive waits its whole read time-out when
// nothing comes (as TTcpPort does), and the relay may have no unit.
class TPuertoRelay : public TPuertoGuion {
public:
    using TPuertoGuion::TPuertoGuion;
    bool sinUnidad = false;
    int esperaVacia = 1200; // ms a receive with nothing waits

    void Enviar(const QByteArray& t) override
    {
        TPuertoGuion::Enviar(t);
        respondidoSinUnidad = false;
    }
    void Recibir(QByteArray& t) override
    {
        if (sinUnidad && !respondidoSinUnidad) {
            ++recepciones;
            respondidoSinUnidad = true;
            throw ESinUnidad(QStringLiteral("no unit"));
        }
        if (sinUnidad)
            throw ESinUnidad(QStringLiteral("no unit"));
        TPuertoGuion::Recibir(t);
        if (t.isEmpty())
            Reloj.ahora += esperaVacia - 1;
    }

private:
    bool respondidoSinUnidad = false;
};

struct SinUnidad : ::testing::Test {
    TRelojFalso reloj;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TComCapvis enlace{textos, inter, reloj, {}};
    TPuertoRelay* puerto = nullptr;

    void SetUp() override
    {
        auto p = std::make_unique<TPuertoRelay>(reloj, true);
        p->configurarAbre = false;
        puerto = p.get();
        enlace.PonerPuerto(std::move(p), true);
        enlace.PonerPCLocal("MiPC");
    }
};

TEST_F(SinUnidad, CadaEsperaTerminaAlMomento)
{
    puerto->sinUnidad = true;
    int estado = -1;
    EXPECT_FALSE(enlace.LeerEstado(estado));
    EXPECT_TRUE(enlace.Foto().SinUnidad);
    EXPECT_FALSE(enlace.Abortar()); // the acknowledge wait
    EXPECT_TRUE(enlace.Foto().SinUnidad);
    QByteArray campo;
    EXPECT_FALSE(enlace.LeerCampo(campo));
    // No polling pass and no sleep: the transport said nothing is coming.
    EXPECT_EQ(reloj.ahora, 0);
    EXPECT_TRUE(reloj.suenos.empty());

    // The unit is back: the next command clears the mark.
    puerto->sinUnidad = false;
    puerto->Responder({{"2#", "&3#"}});
    ASSERT_TRUE(enlace.LeerEstado(estado));
    EXPECT_EQ(estado, 3);
    EXPECT_FALSE(enlace.Foto().SinUnidad);
}

TEST_F(SinUnidad, ConectarSinUnidadEsTexto273EnSegundos)
{
    puerto->abierto = false;
    puerto->Encolar("$");
    puerto->sinUnidad = false;
    puerto->responder = [this](const QByteArray&) { puerto->sinUnidad = true; };
    try {
        enlace.Conectar("aula");
        FAIL() << "no exception";
    } catch (const ENoHaySAD& e) {
        EXPECT_EQ(e.Mensaje, "T273");
    }
    EXPECT_TRUE(enlace.Foto().SinUnidad);
    EXPECT_LT(reloj.ahora, 100);
}

// Over TCP every receive waits up to 1.2 s on top of the pause between tries: a
// relay that never greets cost 23 s; now the whole wait is bounded.
TEST_F(SinUnidad, SinSaludoCuestaLaEsperaDelSaludo)
{
    puerto->abierto = false;
    EXPECT_THROW(enlace.Conectar("aula"), ENoHaySAD);
    EXPECT_GE(reloj.ahora, TComCapvis::EsperaSaludo);
    EXPECT_LE(reloj.ahora, TComCapvis::EsperaSaludo + puerto->esperaVacia);
    EXPECT_TRUE(enlace.Foto().PCPropietario.isEmpty());

    // A greeting that is an escape sequence and a huge name is shown clean and short.
    SetUp();
    puerto->abierto = false;
    puerto->Encolar("$\x1b[31m" + QByteArray(100000, 'x') + "\x07");
    enlace.Conectar("aula");
    EXPECT_TRUE(enlace.Foto().PCPropietario.startsWith("[31mxxx"));
    EXPECT_LE(enlace.Foto().PCPropietario.size(), 128);
    EXPECT_FALSE(enlace.Foto().PCPropietario.contains(QChar(0x1b)));
}

// The real transport: the relay's own lines, on a real socket.
TEST(TcpRelay, LineasPropiasDelRelay)
{
    QTcpServer servidor;
    ASSERT_TRUE(servidor.listen(QHostAddress::LocalHost, 0));
    TTcpPort puerto(servidor.serverPort());
    puerto.TiempoLectura = 3000;
    puerto.Configurar("127.0.0.1");
    puerto.Abrir();
    ASSERT_TRUE(servidor.waitForNewConnection(2000));
    QTcpSocket* relay = servidor.nextPendingConnection();
    ASSERT_NE(relay, nullptr);

    relay->write("%\n");
    relay->waitForBytesWritten(1000);
    QByteArray r;
    EXPECT_THROW(puerto.Recibir(r), ESinUnidad);
    EXPECT_TRUE(puerto.SinUnidad());
    // Nothing more will come for that command: the next read does not wait.
    QElapsedTimer t;
    t.start();
    EXPECT_THROW(puerto.Recibir(r), ESinUnidad);
    EXPECT_LT(t.elapsed(), 1500);

    // A new command may find the unit again.
    puerto.Enviar("2#");
    EXPECT_FALSE(puerto.SinUnidad());
    relay->write("!10.0.0.5\n&0#\n");
    relay->waitForBytesWritten(1000);
    EXPECT_THROW(puerto.Recibir(r), EComPort);
    EXPECT_FALSE(puerto.SinUnidad());
    puerto.Recibir(r);
    EXPECT_EQ(r, "&0#");
}

} // namespace

// What is not a link failure (no memory here) is not "no unit": it goes through the
// protocol object, and the device thread ends that conversation and serves the next.
TEST(FalloAjeno, NoEsFaltaDeUnidadYElHiloSigue)
{
    struct TSinMemoria : TPuertoGuion {
        using TPuertoGuion::TPuertoGuion;
        void Recibir(QByteArray&) override { throw std::bad_alloc(); }
    };
    TRelojFalso reloj;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TComCapvis enlace{textos, inter, reloj, {}};
    enlace.PonerPuerto(std::make_unique<TSinMemoria>(reloj), true);
    int estado = -1;
    EXPECT_THROW(enlace.LeerEstado(estado), std::bad_alloc);

    TServicioSAD sad(textos, inter, reloj, {});
    sad.Encargar([&reloj](TComCapvis& c) { c.PonerPuerto(std::make_unique<TSinMemoria>(reloj), true); });
    EXPECT_EQ(EnSAD<std::optional<int>>(sad, [](TComCapvis& c) -> std::optional<int> {
                  int e = -1;
                  return c.LeerEstado(e) ? std::optional<int>(e) : std::nullopt;
              }),
              std::nullopt);
    EXPECT_EQ(EnSAD<int>(sad, [](TComCapvis&) { return 5; }), 5);
}

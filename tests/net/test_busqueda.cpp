// The network search: discovery answers read safely, gathered without blocking, each
// PC offered once as an address entry; the configured PCs are asked directly.
#include "common/esperar.h"
#include "net/net_users.h"
#include "net/pcs.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(Entradas, ElNombreEsLoQueVaAntesDelParentesis)
{
    EXPECT_EQ(NombreDeEntrada(QStringLiteral("192.168.1.5 (aula5)")), QStringLiteral("192.168.1.5"));
    EXPECT_EQ(NombreDeEntrada(QStringLiteral("  profesor  ")), QStringLiteral("profesor"));
    EXPECT_EQ(NombreDeEntrada(QStringLiteral("(sin nombre)")), QString());
    EXPECT_EQ(EntradaDireccion("10", "0", "0", "7", "lab"), QStringLiteral("10.0.0.7 (lab)"));
}

TEST(RespuestaDescubrimiento, SoloRespuestasBienFormadas)
{
    QString equipo, titular;
    ASSERT_TRUE(TNetUsers::LeerRespuesta("QVSAD aula-pc 192.168.1.20", equipo, titular));
    EXPECT_EQ(equipo, QStringLiteral("aula-pc"));
    EXPECT_EQ(titular, QStringLiteral("192.168.1.20"));
    ASSERT_TRUE(TNetUsers::LeerRespuesta("QVSAD aula-pc ", equipo, titular));
    EXPECT_EQ(titular, QString());
    ASSERT_TRUE(TNetUsers::LeerRespuesta("QVSAD aula-pc", equipo, titular));

    for (const QByteArray& malo :
         {QByteArray("QVSAD?"), QByteArray("QVSAD "), QByteArray("hello aula 1.2.3.4"),
          QByteArray("QVSAD aula\x1b[2J x"), QByteArray("QVSAD -aula x"), QByteArray("QVSAD aula tit ular"),
          QByteArray("QVSAD ") + QByteArray(70, 'a'), QByteArray("QVSAD a ") + QByteArray(600, '1')})
        EXPECT_FALSE(TNetUsers::LeerRespuesta(malo, equipo, titular)) << malo.constData();
}

// A relay's discovery answerer on this PC: answers each request with `respuestas`.
struct Respondedor {
    QUdpSocket udp;
    QList<QByteArray> respuestas{QByteArrayLiteral("QVSAD aula-pc ")};
    int peticiones = 0;
    explicit Respondedor(const QHostAddress& en = QHostAddress(QHostAddress::LocalHost))
    {
        EXPECT_TRUE(udp.bind(en, 0));
        QObject::connect(&udp, &QUdpSocket::readyRead, [this] {
            while (udp.hasPendingDatagrams()) {
                const QNetworkDatagram d = udp.receiveDatagram();
                if (d.data() != "QVSAD?")
                    continue;
                ++peticiones;
                for (const QByteArray& r : respuestas)
                    udp.writeDatagram(r, d.senderAddress(), static_cast<quint16>(d.senderPort()));
            }
        });
    }
    TOpcionesBusqueda Opciones(QList<QHostAddress> destinos = {QHostAddress(QHostAddress::LocalHost)},
                               int duracion = 1500) const
    {
        return TOpcionesBusqueda{udp.localPort(), duracion, destinos};
    }
};

TEST(NetUsers, CadaPCUnaVezYSinBloquear)
{
    Respondedor r;
    r.respuestas = {"basura", "QVSAD aula-pc 10.0.0.3", "QVSAD AULA-PC ", "QVSAD otro\x07 x"};
    TNetUsers b(r.Opciones());
    QSignalSpy encontrados(&b, &TNetUsers::Encontrado);
    QSignalSpy terminado(&b, &TNetUsers::Terminado);
    b.BuscarPCs();
    // The call returns before any answer: everything arrives through the event loop.
    EXPECT_TRUE(b.Buscando());
    EXPECT_TRUE(b.Nombres.isEmpty());
    ASSERT_TRUE(Esperar([&] { return terminado.count() == 1; }));
    EXPECT_FALSE(b.Buscando());
    // Four datagrams to every request: one PC.
    EXPECT_GE(r.peticiones, 1);
    ASSERT_EQ(encontrados.count(), 1);
    EXPECT_EQ(encontrados[0][0].toString(), QStringLiteral("127.0.0.1 (aula-pc)"));
    EXPECT_EQ(encontrados[0][1].toString(), QStringLiteral("10.0.0.3"));
    EXPECT_EQ(b.Nombres, QStringList{QStringLiteral("127.0.0.1 (aula-pc)")});

    // A new search starts from nothing.
    r.respuestas = {"QVSAD zeta ", "QVSAD alfa "};
    b.BuscarPCs();
    ASSERT_TRUE(Esperar([&] { return b.Nombres.size() == 2; }));
    b.Detener();
    EXPECT_EQ(terminado.count(), 2);
    EXPECT_EQ(b.Nombres, QStringList({"127.0.0.1 (alfa)", "127.0.0.1 (zeta)"}));
}

TEST(NetUsers, DetenerAcabaEnseguida)
{
    Respondedor r;
    TNetUsers b(r.Opciones({QHostAddress(QHostAddress::LocalHost)}, 60000));
    QSignalSpy terminado(&b, &TNetUsers::Terminado);
    b.BuscarPCs();
    ASSERT_TRUE(Esperar([&] { return b.Nombres.size() == 1; }));
    b.Detener();
    EXPECT_FALSE(b.Buscando());
    EXPECT_EQ(terminado.count(), 1);
    b.Detener();
    EXPECT_EQ(terminado.count(), 1);
}

// The configured PCs are asked even where the broadcast does not reach: by address,
// and by name once the name resolves.
TEST(NetUsers, PreguntaALosPCsConfigurados)
{
    Respondedor r;
    // Nobody answers at this destination.
    const QList<QHostAddress> nadie{QHostAddress(QStringLiteral("127.0.0.2"))};
    for (const QString& configurado : {QStringLiteral("127.0.0.1 (lab)"), QStringLiteral("localhost")}) {
        TNetUsers b(r.Opciones(nadie, 3000));
        b.BuscarPCs({QString(), configurado});
        EXPECT_TRUE(Esperar([&] { return !b.Nombres.isEmpty(); }, 4000)) << configurado.toStdString();
        EXPECT_EQ(b.Nombres.value(0), QStringLiteral("127.0.0.1 (aula-pc)"));
    }
}

} // namespace
} // namespace qv::test

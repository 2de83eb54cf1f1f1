// The protocol object against a scripted port on virtual time: framing, queries,
// connecting through the relay, and every failure ending in a bounded false.
#include "common/interaccion_guion.h"
#include "link/com_capvis.h"
#include "puerto_guion.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

struct Protocolo : ::testing::Test {
    TRelojFalso reloj;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TComCapvis enlace{textos, inter, reloj, {}};
    TPuertoGuion* puerto = nullptr;

    void SetUp() override { Usar(false, true); }

    void Usar(bool tcp, bool abierto)
    {
        auto p = std::make_unique<TPuertoGuion>(reloj, abierto);
        p->configurarAbre = !tcp;
        puerto = p.get();
        enlace.PonerPuerto(std::move(p), tcp);
    }
};

TEST_F(Protocolo, VersionReplyFillsVersionAndMemoryAndOldFirmwareGetsCommand4)
{
    puerto->Responder({{"1#", "&1.21,65536#"}});
    ASSERT_TRUE(enlace.LeerVersion());
    EXPECT_EQ(enlace.Foto().Version, "1.21");
    EXPECT_EQ(enlace.Foto().Memoria, 65536);
    EXPECT_EQ(puerto->enviados, QList<QByteArray>{"1#"});

    // Byte-wise order: "1.20" and "1.1" sort before "1.21", "1.3" after it.
    for (const char* v : {"1.20", "1.1"}) {
        puerto->enviados.clear();
        puerto->Responder({{"1#", QByteArray("&") + v + ",63487#"}, {"4,C#", "&C#"}});
        ASSERT_TRUE(enlace.LeerVersion()) << v;
        EXPECT_EQ(puerto->enviados, (QList<QByteArray>{"1#", "4,C#"})) << v;
    }
    puerto->enviados.clear();
    puerto->Responder({{"1#", "&1.3,63487#"}});
    ASSERT_TRUE(enlace.LeerVersion());
    EXPECT_EQ(puerto->enviados.size(), 1);
}

TEST_F(Protocolo, ReplyArrivingInSmallPiecesIsJoined)
{
    puerto->Responder({{"1#", "&1.21,63487#"}}, 3);
    ASSERT_TRUE(enlace.LeerVersion());
    EXPECT_EQ(enlace.Foto().Version, "1.21");
    EXPECT_EQ(enlace.Foto().Memoria, 63487);

    // Pieces separated by empty polls are still within one reading pass.
    puerto->responder = [&](const QByteArray&) {
        puerto->Encolar("&");
        puerto->Encolar("");
        puerto->Encolar("");
        puerto->Encolar("2#");
    };
    int estado = -1;
    ASSERT_TRUE(enlace.LeerEstado(estado));
    EXPECT_EQ(estado, 2);
}

TEST_F(Protocolo, MalformedRepliesAreFailuresAndLeaveFieldsAlone)
{
    puerto->Responder({{"1#", "&previa,7#"}});
    ASSERT_TRUE(enlace.LeerVersion());
    for (QByteArray r : {QByteArray("&1.21#"), QByteArray("&1.21,abc#"), QByteArray("x1.21,5#"),
                         QByteArray("&1.21,65")}) {
        puerto->Responder({{"1#", r}});
        EXPECT_FALSE(enlace.LeerVersion()) << r.constData();
        EXPECT_EQ(enlace.Foto().Version, "previa");
        EXPECT_EQ(enlace.Foto().Memoria, 7);
    }
    int estado = 9;
    puerto->Responder({{"2#", "&x#"}});
    EXPECT_FALSE(enlace.LeerEstado(estado));
    EXPECT_EQ(estado, 9);
}

TEST_F(Protocolo, AcknowledgeMustBeExactlyOneAmpersand)
{
    puerto->Responder({{"3,c,0#", "&&"}});
    EXPECT_FALSE(enlace.ConfigurarEntradas(",c,0"));

    // A late acknowledge within the eleven tries still counts.
    puerto->responder = [&](const QByteArray&) {
        for (int i = 0; i < 8; ++i)
            puerto->Encolar("");
        puerto->Encolar("&");
    };
    EXPECT_TRUE(enlace.ConfigurarEntradas(",c,0"));

    // One empty poll too many: gone.
    puerto->responder = [&](const QByteArray&) {
        for (int i = 0; i < 11; ++i)
            puerto->Encolar("");
        puerto->Encolar("&");
    };
    const qint64 t0 = reloj.ahora;
    EXPECT_FALSE(enlace.ConfigurarEntradas(",c,0"));
    EXPECT_LE(reloj.ahora - t0, 1200);
}

TEST_F(Protocolo, AbortSendsOutputsOffOnlyAfterItsAcknowledge)
{
    puerto->Responder({{"8#", "&"}, {QByteArray(TComCapvis::SalidasACero), "&"}});
    EXPECT_TRUE(enlace.Abortar());
    EXPECT_EQ(puerto->enviados, (QList<QByteArray>{"8#", "5,U,0,V,0,W,0,X,0,Y,0,Z,0#"}));

    puerto->enviados.clear();
    puerto->Responder({});
    EXPECT_FALSE(enlace.Abortar());
    EXPECT_EQ(puerto->enviados, QList<QByteArray>{"8#"});
}

TEST_F(Protocolo, ClosedSerialPortRunsTheSearchFirst)
{
    Usar(false, false);
    puerto->Responder({{"2#", "&0#"}});
    int estado = -1;
    EXPECT_TRUE(enlace.LeerEstado(estado));
    EXPECT_EQ(puerto->configuraciones, 1);
    EXPECT_EQ(puerto->host, QString());

    // A search that fails sends nothing at all.
    Usar(false, false);
    puerto->fallarConfigurar = true;
    EXPECT_FALSE(enlace.LeerEstado(estado));
    EXPECT_FALSE(enlace.LeerVersion());
    EXPECT_TRUE(puerto->enviados.isEmpty());
}

// Silence, noise without an end, a reply cut in the middle and a port that has
// gone: every query answers false, nothing escapes, and virtual time stays bounded.
TEST_F(Protocolo, FaultsEndInBoundedFalse)
{
    struct Caso {
        const char* nombre;
        std::function<void()> preparar;
    };
    const std::vector<Caso> casos = {
        {"silencio", [&] { puerto->Responder({}); }},
        {"ruido", [&] { puerto->responder = [&](const QByteArray&) { puerto->Encolar(QByteArray(20000, 'z'), 7); }; }},
        {"cortada", [&] { puerto->Responder({{"1#", "&1.21,63"}, {"2#", "&"}, {"10#", "&12,4"}}); }},
        {"cerrado", [&] { puerto->abierto = false; puerto->configurarAbre = false; puerto->fallarConfigurar = true; }},
        {"perdido", [&] { puerto->fallarRecibir = true; }},
    };
    for (const auto& c : casos) {
        SetUp();
        c.preparar();
        const qint64 t0 = reloj.ahora;
        int estado = -1;
        bool ok = true;
        EXPECT_NO_THROW({
            ok = enlace.LeerVersion();
            EXPECT_FALSE(ok) << c.nombre;
            ok = enlace.LeerEstado(estado);
            EXPECT_FALSE(ok) << c.nombre;
            EXPECT_FALSE(enlace.Abortar()) << c.nombre;
            EXPECT_FALSE(enlace.LeerMonitor()) << c.nombre;
            EXPECT_FALSE(enlace.ActivarSalidas("1,w")) << c.nombre;
            enlace.Desconectar();
        }) << c.nombre;
        EXPECT_EQ(estado, -1) << c.nombre;
        EXPECT_LT(reloj.ahora - t0, 20000) << c.nombre;
    }
}

TEST_F(Protocolo, SendFailureOverTcpClearsTheStoredCaptureCommand)
{
    Usar(true, false);
    enlace.SetRepetirCaptura(true);
    // Without "#" the text only waits.
    EXPECT_TRUE(enlace.EnviarTexto("7,1,"));
    EXPECT_TRUE(enlace.EnvioPendiente());
    EXPECT_FALSE(enlace.EnviarTexto("0,0,0,1,1#"));
    EXPECT_TRUE(enlace.Guardada().isEmpty());
    EXPECT_FALSE(enlace.EnvioPendiente());
}

TEST_F(Protocolo, FieldReaderSplitsAtCommaOrHashAndRefusesCutFields)
{
    puerto->Encolar("&3,12");
    puerto->Encolar(",-4");
    puerto->Encolar("#");
    QByteArray f;
    ASSERT_TRUE(enlace.LeerCampo(f));
    EXPECT_EQ(f, "&3");
    ASSERT_TRUE(enlace.LeerCampo(f));
    EXPECT_EQ(f, "12");
    ASSERT_TRUE(enlace.LeerCampo(f));
    EXPECT_EQ(f, "-4");
    EXPECT_TRUE(enlace.BufRecepcion().isEmpty());

    puerto->Encolar("12");
    EXPECT_FALSE(enlace.LeerCampo(f)); // never completed
    EXPECT_FALSE(enlace.LeerCampo(f));
    EXPECT_EQ(enlace.BufRecepcion(), "12");
}

struct Relay : Protocolo {
    void SetUp() override
    {
        Usar(true, false);
        enlace.PonerPCLocal("MiPC");
    }
};

TEST_F(Relay, GreetingNamingAnotherPcLeavesTheUnitToItWithoutQuerying)
{
    puerto->Encolar("$OtroPC");
    enlace.Conectar("servidor");
    EXPECT_EQ(enlace.Foto().PCPropietario, "OtroPC");
    EXPECT_EQ(puerto->host, "servidor");
    EXPECT_TRUE(puerto->enviados.isEmpty());
    EXPECT_TRUE(puerto->Conectado());
    EXPECT_TRUE(enlace.Foto().Servidor.isEmpty());

    // Leaving a unit held by another PC touches none of its outputs.
    enlace.Desconectar();
    EXPECT_TRUE(puerto->enviados.isEmpty());
    EXPECT_FALSE(puerto->Conectado());
}

TEST_F(Relay, GreetingNamingThisPcInOtherCaseOrNobodyHoldsTheUnit)
{
    for (QByteArray saludo : {QByteArray("$mipc"), QByteArray("$")}) {
        SetUp();
        puerto->Encolar("");
        puerto->Encolar(saludo);
        puerto->Responder({{"1#", "&1.21,63487#"}});
        enlace.Conectar("aula");
        EXPECT_EQ(enlace.Foto().PCPropietario, "MiPC") << saludo.constData();
        EXPECT_EQ(enlace.Foto().Servidor, "aula");
        EXPECT_EQ(puerto->enviados, QList<QByteArray>{"1#"});
        // The greeting came on the second receive, after one 1000 ms pause.
        EXPECT_EQ(std::count(reloj.suenos.begin(), reloj.suenos.end(), 1000), 1);
        reloj.suenos.clear();
    }
}

TEST_F(Relay, NoGreetingBadHostOrSilentUnitRaiseText273)
{
    // No greeting: one receive and ten more, 1000 ms apart; the holder told before is
    // forgotten.
    puerto->Encolar("$algo");
    enlace.Conectar("aula");
    ASSERT_EQ(enlace.Foto().PCPropietario, "algo");
    puerto->recepciones = 0;
    try {
        enlace.Conectar("aula");
        FAIL() << "no exception";
    } catch (const ENoHaySAD& e) {
        EXPECT_EQ(e.Mensaje, "T273");
    }
    EXPECT_EQ(puerto->recepciones, 11);
    EXPECT_TRUE(enlace.Foto().PCPropietario.isEmpty());

    SetUp();
    puerto->fallarConfigurar = true;
    EXPECT_THROW(enlace.Conectar("nohay"), ENoHaySAD);

    SetUp();
    puerto->fallarAbrir = true;
    EXPECT_THROW(enlace.Conectar("rechaza"), ENoHaySAD);

    // Greeted as holder, but the unit never answers "1#": closed afterwards.
    SetUp();
    puerto->Encolar("$MIPC");
    EXPECT_THROW(enlace.Conectar("aula"), ENoHaySAD);
    EXPECT_FALSE(puerto->Conectado());
    EXPECT_TRUE(enlace.Foto().Servidor.isEmpty());
}

// A relay whose unit is getting ready answers so; the station asks again within the
// greeting's wait, and says that the unit is getting ready when it never was.
TEST_F(Relay, UnitGettingReadyIsAskedAgainWithinTheGreetingWait)
{
    puerto->lineasRelay = true;
    puerto->Encolar("$");
    int veces = 0;
    puerto->responder = [&](const QByteArray& t) {
        if (t == "1#")
            puerto->Encolar(++veces < 3 ? "+" : "&1.21,63487#");
    };
    const qint64 t0 = reloj.ahora;
    enlace.Conectar("aula");
    EXPECT_EQ(veces, 3);
    EXPECT_EQ(enlace.Foto().Version, "1.21");
    EXPECT_LT(reloj.ahora - t0, TComCapvis::EsperaSaludo);

    SetUp();
    puerto->lineasRelay = true;
    puerto->Encolar("$");
    puerto->Responder({{"1#", "+"}, {TComCapvis::SalidasACero, "+"}});
    const qint64 t1 = reloj.ahora;
    try {
        enlace.Conectar("aula");
        FAIL() << "no exception";
    } catch (const ENoHaySAD& e) {
        EXPECT_EQ(e.Clave, TComCapvis::kTextoPreparando);
    }
    EXPECT_GE(reloj.ahora - t1, TComCapvis::EsperaSaludo);
    EXPECT_LT(reloj.ahora - t1, TComCapvis::EsperaSaludo + 2000);
    EXPECT_FALSE(puerto->Conectado());
}

TEST_F(Protocolo, DisconnectTurnsOutputsOffClosesAndNeverThrows)
{
    puerto->Responder({{QByteArray(TComCapvis::SalidasACero), "&"}});
    enlace.Desconectar();
    EXPECT_EQ(puerto->enviados, QList<QByteArray>{TComCapvis::SalidasACero});
    EXPECT_FALSE(puerto->Conectado());

    SetUp();
    puerto->fallarEnviar = true;
    EXPECT_NO_THROW(enlace.Desconectar());
    EXPECT_FALSE(puerto->Conectado());
}

TEST_F(Protocolo, SerialConnectWithSilentUnitRaisesAndCloses)
{
    enlace.PonerPCLocal("MiPC");
    EXPECT_THROW(enlace.Conectar(""), ENoHaySAD);
    EXPECT_FALSE(puerto->Conectado());

    SetUp();
    puerto->Responder({{"1#", "&1.21,63487#"}});
    EXPECT_NO_THROW(enlace.Conectar(""));
    EXPECT_EQ(enlace.Foto().PCPropietario, "MiPC");
}

} // namespace

// Capture commands against a scripted port: the command texts byte for byte, the
// output samples, the command cache, the read-back into signals and the progress poll.
#include "common/interaccion_guion.h"
#include "link/com_capvis.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/senales.h"
#include "puerto_guion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace qv;
using namespace qv::test;

namespace {

struct Progreso : TProgresoCaptura {
    QStringList estados;
    void Esperando() override { estados << "esperando"; }
    void Enviando() override { estados << "enviando"; }
    void Hecho() override { estados << "hecho"; }
    void Leyendo() override { estados << "leyendo"; }
};

struct Captura : ::testing::Test {
    TRelojFalso reloj;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TComCapvis enlace{textos, inter, reloj, {}};
    TPuertoGuion* puerto = nullptr;
    TCjtSenales senales{textos, inter};
    TConfigES config;

    void SetUp() override
    {
        auto p = std::make_unique<TPuertoGuion>(reloj);
        puerto = p.get();
        enlace.PonerPuerto(std::move(p), false);
        // Acknowledge every command; tests that want more set their own responder.
        puerto->responder = [this](const QByteArray&) { puerto->Encolar("&"); };
    }

    std::unique_ptr<TGenTablaAna> TablaAna(std::vector<float> v)
    {
        auto g = std::make_unique<TGenTablaAna>(textos, "t.tba", "microsegundos", 0.0f);
        g->Valores = std::move(v);
        g->NumValores = int(g->Valores.size());
        return g;
    }
    std::unique_ptr<TGenTablaDig> TablaDig(std::vector<std::uint8_t> v)
    {
        auto g = std::make_unique<TGenTablaDig>(textos, "t.tba", "microsegundos", 0.0f);
        g->Valores = std::move(v);
        g->NumValores = int(g->Valores.size());
        return g;
    }
    std::unique_ptr<TGenEscalon> Constante(float voltios)
    {
        return std::make_unique<TGenEscalon>(textos, "microsegundos", "microsegundos", 0.0f, voltios, voltios);
    }
};

TEST_F(Captura, InputListCommandOfTheDocumentsExample)
{
    config.EntAna(1).Activo = true;
    config.EntAna(1).Rango = 0;
    config.EntAna(2).Activo = true;
    config.EntAna(2).Rango = 2;
    EXPECT_TRUE(enlace.ConfigurarEntradas(config.RangosEntAna()));
    EXPECT_EQ(puerto->enviados, QList<QByteArray>{"3,c,0,d,2#"});

    puerto->enviados.clear();
    EXPECT_TRUE(enlace.ConfigurarEntradas(QString()));
    EXPECT_TRUE(puerto->enviados.isEmpty());
}

TEST_F(Captura, TriggeredCaptureOfTheDocumentsExample)
{
    config.NumMuestras = 500;
    config.UnidadPeriodo = 0;
    config.Periodo = 100;
    config.EntAna(1).Activo = true;
    for (int i = 1; i <= 8; ++i)
        config.EntDig(i).Activo = true;
    config.SalAna(1).Activo = true;
    config.SalAna(1).Generador = Constante(2.0f); // 51 counts
    Progreso progreso;
    enlace.PonerVentanaProgreso(&progreso);

    ASSERT_TRUE(enlace.ProgramarTrigger(config, TTrigger{0, 'c', 0, 1024, 0}));

    QByteArray esperado = "6,500,2,a,c,1,w,";
    for (int k = 0; k < 499; ++k)
        esperado += "51,";
    esperado += "0,c,1024,1,0,100#";
    ASSERT_EQ(puerto->enviados.size(), 2);
    EXPECT_EQ(puerto->enviados[0], "3,c,0#");
    EXPECT_EQ(puerto->enviados[1], esperado);
    EXPECT_EQ(progreso.estados, (QStringList{"esperando", "enviando", "hecho"}));
    EXPECT_TRUE(inter.mensajes.empty());
    // The snapshot now follows the programmed inputs.
    EXPECT_EQ(enlace.Foto().Descriptor.GrupoActivo[0], 1);
    EXPECT_EQ(enlace.Foto().Descriptor.GrupoActivo[1], 0);
    EXPECT_EQ(enlace.Foto().Descriptor.GrupoActivo[2], 1);
    EXPECT_EQ(enlace.Foto().Descriptor.EntradaDigital[8], 1);
    EXPECT_EQ(enlace.Foto().Descriptor.EntradaDigital[9], 0);
}

TEST_F(Captura, DigitalTriggerAndEdgesEncodeAsTheUnitExpects)
{
    config.NumMuestras = 1;
    config.UnidadPeriodo = 1;
    config.Periodo = 2;
    config.EntDig(11).Activo = true;
    const std::pair<int, const char*> flancos[] = {{0, "1"}, {1, "0"}, {2, "2"}};
    for (auto [flanco, texto] : flancos) {
        puerto->enviados.clear();
        ASSERT_TRUE(enlace.ProgramarTrigger(config, TTrigger{1, 'b', 2, 0, std::uint8_t(flanco)}));
        // No analog input: no command 3.
        EXPECT_EQ(puerto->enviados, QList<QByteArray>{QByteArray("6,1,1,b,0,b,2,") + texto + ",1,2#"});
    }
}

TEST_F(Captura, OutputSamplesArePackedClampedAndEndAtZero)
{
    config.NumMuestras = 4;
    config.UnidadPeriodo = 1;
    config.Periodo = 1;
    config.Retardo = 5;
    // Digital outputs 1 and 3 of port W, output 9 of port X.
    config.SalDig(1).Activo = true;
    config.SalDig(1).Generador = TablaDig({1, 0, 1, 1});
    config.SalDig(3).Activo = true;
    config.SalDig(3).Generador = TablaDig({1, 1, 0, 1});
    config.SalDig(9).Activo = true;
    config.SalDig(9).Generador = TablaDig({0, 1, 0, 0});
    // Analog output 2 beyond both ends of the converter; output 4 plain.
    config.SalAna(2).Activo = true;
    config.SalAna(2).Generador = TablaAna({12.0f, -12.0f, 1.0f, 9.0f});
    config.SalAna(4).Activo = true;
    config.SalAna(4).Generador = TablaAna({-1.0f, 0.5f, 2.0f, 3.0f});

    ASSERT_TRUE(enlace.ProgramarRetardo(config));
    ASSERT_EQ(puerto->enviados.size(), 1);
    // u: 1+4, 4, 1, last 0 ; v: 0, 1, 0, last 0 ; x: 306 -> 255, -306 -> -255, 25.5 -> 26 (to even),
    // last 0 ; z: -25.5 -> -26, 12.75 -> 13, 51, last 0: every output is off when the capture ends
    EXPECT_EQ(puerto->enviados[0], "7,4,0,4,u,v,x,z,5,4,1,0,0,1,0,0,255,-255,26,0,-26,13,51,0,5,1,1#");
}

TEST_F(Captura, ContinuousMonitoringResendsTheFirstCommandByteForByte)
{
    config.NumMuestras = 3;
    config.Periodo = 10;
    config.EntAna(3).Activo = true;
    config.SalAna(1).Activo = true;
    config.SalAna(1).Generador = Constante(1.0f);
    enlace.SetRepetirCaptura(true);
    ASSERT_TRUE(enlace.ProgramarRetardo(config));
    const QByteArray primero = puerto->enviados.last();
    EXPECT_EQ(enlace.Guardada(), primero);

    config.SalAna(1).Generador = Constante(-3.0f);
    config.NumMuestras = 7;
    Progreso progreso;
    enlace.PonerVentanaProgreso(&progreso);
    puerto->enviados.clear();
    ASSERT_TRUE(enlace.ProgramarRetardo(config));
    EXPECT_EQ(puerto->enviados, (QList<QByteArray>{"3,e,0#", primero}));
    EXPECT_TRUE(progreso.estados.isEmpty());

    // Leaving the mode forgets it.
    enlace.SetRepetirCaptura(false);
    puerto->enviados.clear();
    ASSERT_TRUE(enlace.ProgramarRetardo(config));
    EXPECT_NE(puerto->enviados.last(), primero);
    EXPECT_TRUE(enlace.Guardada().isEmpty());
}

TEST_F(Captura, FailuresOfCommand3AndOfTheFinalAcknowledge)
{
    config.NumMuestras = 2;
    config.Periodo = 1;
    config.EntAna(1).Activo = true;
    config.EntDig(2).Activo = true;

    // Command 3 unanswered: nothing more, no message, snapshot untouched.
    puerto->responder = nullptr;
    EXPECT_FALSE(enlace.ProgramarRetardo(config));
    EXPECT_EQ(puerto->enviados, QList<QByteArray>{"3,c,0#"});
    EXPECT_TRUE(inter.mensajes.empty());
    EXPECT_EQ(enlace.Foto().Descriptor.GrupoActivo[2], 0);

    // Capture command unanswered: warning 142, snapshot taken anyway.
    puerto->enviados.clear();
    puerto->responder = [this](const QByteArray& t) {
        if (t.startsWith('3'))
            puerto->Encolar("&");
    };
    EXPECT_FALSE(enlace.ProgramarRetardo(config));
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(inter.mensajes[0].texto, "T142");
    EXPECT_EQ(inter.mensajes[0].sabor, TInteraccionGuion::Sabor::Aviso);
    EXPECT_EQ(inter.mensajes[0].botones, Botones::Aceptar);
    EXPECT_EQ(enlace.Foto().Descriptor.GrupoActivo[2], 1);
    EXPECT_EQ(enlace.Foto().Descriptor.EntradaDigital[2], 1);
    EXPECT_FALSE(enlace.EnvioPendiente());

    // A send that fails: warning 142 and nothing left half gathered.
    inter.mensajes.clear();
    config.EntAna(1).Activo = false;
    puerto->fallarEnviar = true;
    EXPECT_FALSE(enlace.ProgramarTrigger(config, TTrigger{}));
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(inter.mensajes[0].texto, "T142");
    EXPECT_FALSE(enlace.EnvioPendiente());
}

TEST_F(Captura, RampWithoutTimeIsRefusedBeforeAnythingIsSent)
{
    config.NumMuestras = 3;
    config.Periodo = 1;
    config.SalAna(1).Activo = true;
    config.SalAna(1).Generador =
        std::make_unique<TGenRampa>(textos, "microsegundos", "microsegundos", 0.0f, 0.0f, 0.0f, 5.0f);
    EXPECT_FALSE(enlace.ProgramarRetardo(config));
    EXPECT_TRUE(puerto->enviados.isEmpty());
    EXPECT_FALSE(enlace.EnvioPendiente());
}

// Time-base values the command has no whole number for are refused before any
// byte leaves: nothing undefined, wrapped or oversized may reach the unit.
TEST_F(Captura, TimeBaseOutsideTheCommandsNumbersIsRefusedBeforeSending)
{
    auto base = [this] {
        config = TConfigES();
        config.NumMuestras = 3;
        config.UnidadPeriodo = 1;
        config.Periodo = 10;
        config.EntAna(1).Activo = true;
    };
    const std::vector<std::function<void()>> malas = {
        [this] { config.Periodo = 1e300; },
        [this] { config.Periodo = std::numeric_limits<double>::infinity(); },
        [this] { config.Periodo = std::nan(""); },
        [this] { config.Periodo = 70000; },
        [this] { config.Periodo = 0.2; },
        [this] { config.Retardo = 1e30; },
        [this] { config.Retardo = std::nan(""); },
        [this] { config.Retardo = 70000; },
        [this] { config.NumMuestras = 2000000000; },
    };
    for (std::size_t i = 0; i < malas.size(); ++i) {
        base();
        malas[i]();
        puerto->enviados.clear();
        EXPECT_FALSE(enlace.ProgramarRetardo(config)) << i;
        EXPECT_TRUE(puerto->enviados.isEmpty()) << i;
        EXPECT_FALSE(enlace.EnvioPendiente()) << i;
    }
    // A triggered capture has no delay to check, but the same period.
    base();
    config.Retardo = 1e30;
    ASSERT_TRUE(enlace.ProgramarTrigger(config, TTrigger{}));
    config.Periodo = 1e300;
    puerto->enviados.clear();
    EXPECT_FALSE(enlace.ProgramarTrigger(config, TTrigger{}));
    EXPECT_TRUE(puerto->enviados.isEmpty());
    // The largest values the command carries still go out.
    base();
    config.Periodo = 65535;
    config.Retardo = 65535;
    puerto->enviados.clear();
    ASSERT_TRUE(enlace.ProgramarRetardo(config));
    EXPECT_TRUE(puerto->enviados.last().endsWith(",65535,1,65535#"));
}

// ---- read-back ----

struct Lectura : Captura {
    void Programa(std::initializer_list<int> ana, std::initializer_list<int> dig)
    {
        config = TConfigES();
        config.NumMuestras = 2;
        config.UnidadPeriodo = 1;
        config.Periodo = 1;
        for (int i : ana)
            config.EntAna(i).Activo = true;
        for (int i : dig)
            config.EntDig(i).Activo = true;
        enlace.ActualizarGrupos(config);
    }
    void Responder9(std::vector<QByteArray> respuestas, int trozo = 0)
    {
        auto cola = std::make_shared<std::deque<QByteArray>>(respuestas.begin(), respuestas.end());
        puerto->responder = [this, cola, trozo](const QByteArray& t) {
            if (t == "9#" && !cola->empty()) {
                puerto->Encolar(cola->front(), trozo);
                cola->pop_front();
            }
        };
    }
    int nueves() const { return int(puerto->enviados.count("9#")); }
};

TEST_F(Lectura, NoSamplesMeansDataWithoutSignals)
{
    Programa({1}, {});
    Responder9({"&0#"});
    bool datos = false;
    int n = -1;
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    EXPECT_TRUE(datos);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(senales.Vacio());
}

TEST_F(Lectura, AnalogCountsBecomeVoltsOfTheirRangeAndFactor)
{
    Programa({2}, {});
    config.EntAna(2).Rango = 1; // +-5 V
    config.EntAna(2).Nombre = "Tension";
    config.EntAna(2).Unidad = "mV";
    Responder9({"&2,2047,-1024#"}, 4);
    bool datos = false;
    int n = 0;
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    ASSERT_TRUE(datos);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(enlace.Foto().MuestrasLeidas, 2);
    TSenalAna* s = senales.BuscarAna("Tension");
    ASSERT_NE(s, nullptr);
    EXPECT_NEAR(s->LeerMuestra(0), 2047 * 5.0 / 2048, 1e-6);
    EXPECT_NEAR(s->LeerMuestra(1), -2.5, 1e-6);
    EXPECT_EQ(s->Canal, 2);
    EXPECT_EQ(s->Unidad, "mV");
    EXPECT_FLOAT_EQ(s->FondoEscala, 5.0f);
    EXPECT_DOUBLE_EQ(s->Periodo(), 0.001);
    EXPECT_DOUBLE_EQ(enlace.Foto().EscalaEntrada, 5.0 / 2048);

    // A user factor multiplies the volts.
    senales.Vaciar();
    config.EntAna(2).Factor = 2.0f;
    config.EntAna(2).Rango = 5; // +-0.2 V
    Responder9({"&2,100,-100#"});
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    s = senales.BuscarAna("Tension");
    ASSERT_NE(s, nullptr);
    EXPECT_NEAR(s->LeerMuestra(0), 100 * 0.2 / 2048 * 2, 1e-6);
}

TEST_F(Lectura, DigitalWordsUnpackIntoActiveInputsInOrder)
{
    Programa({1, 4}, {1, 3, 9, 16});
    // sample: A, B, analog 1, analog 4
    Responder9({"&2,5,128,10,-10,2,1,20,-20#"});
    bool datos = false;
    int n = 0;
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    ASSERT_TRUE(datos);
    EXPECT_EQ(senales.NombresDig(), (QStringList{"InDigA1", "InDigA3", "InDigB1", "InDigB8"}));
    EXPECT_EQ(senales.NombresAna(), (QStringList{"InAnaC1", "InAnaD2"}));
    auto bits = [&](const char* nombre) {
        TSenalDig* s = senales.BuscarDig(nombre);
        return s ? QString("%1%2").arg(s->LeerMuestra(0)).arg(s->LeerMuestra(1)) : QString("?");
    };
    EXPECT_EQ(bits("InDigA1"), "10"); // 5 = bits 0 and 2; 2 = bit 1
    EXPECT_EQ(bits("InDigA3"), "10");
    EXPECT_EQ(bits("InDigB1"), "01");
    EXPECT_EQ(bits("InDigB8"), "10");
    EXPECT_EQ(senales.BuscarDig("InDigA2"), nullptr);
    EXPECT_NEAR(senales.BuscarAna("InAnaD2")->LeerMuestra(1), -20 * 10.0 / 2048, 1e-6);
}

// A reply cut in the middle, garbage in a field, a field out of range, more fields
// than the capture has, silence: three requests, no valid data, nothing in the set.
TEST_F(Lectura, BrokenRepliesAreRetriedAndAddNothing)
{
    const std::vector<QByteArray> malas = {
        "&2,5,10,6", "&2,5,1x,6,11#", "&2,300,10,6,11#", "&2,5,10,6,11,7,12#", "", "2,5,10,6,11#",
    };
    for (const QByteArray& mala : malas) {
        SetUp();
        Programa({1}, {2});
        Responder9({mala, mala, mala});
        bool datos = true;
        int n = 0;
        const qint64 t0 = reloj.ahora;
        ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config)) << mala.constData();
        EXPECT_FALSE(datos) << mala.constData();
        EXPECT_EQ(nueves(), 3) << mala.constData();
        EXPECT_TRUE(senales.Vacio()) << mala.constData();
        EXPECT_LT(reloj.ahora - t0, 5000);
    }
}

TEST_F(Lectura, SecondAttemptAfterACutReplyAddsOneSetOfSignals)
{
    Programa({1}, {2});
    Responder9({"&2,2,10,0", "&2,2,10,0,-10#"});
    bool datos = false;
    int n = 0;
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    EXPECT_TRUE(datos);
    EXPECT_EQ(nueves(), 2);
    EXPECT_EQ(senales.NumAna(), 1);
    EXPECT_EQ(senales.NumDig(), 1);
    EXPECT_EQ(senales.BuscarDig("InDigA2")->LeerMuestra(0), 1);
}

TEST_F(Lectura, RequestThatCannotGoOutIsTheOnlyFalse)
{
    Programa({1}, {});
    puerto->fallarEnviar = true;
    bool datos = true;
    int n = 0;
    EXPECT_FALSE(enlace.LeerDatos(datos, n, senales, config));
    EXPECT_FALSE(datos);
    EXPECT_TRUE(senales.Vacio());
}

TEST_F(Lectura, WithoutActiveGroupsOnlyTheCountIsRead)
{
    Programa({}, {});
    Responder9({"&2#"});
    bool datos = false;
    int n = 0;
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    EXPECT_TRUE(datos);
    EXPECT_EQ(n, 2);
    EXPECT_TRUE(senales.Vacio());
}

// A count that is not the programmed one is the answer to some other command (a state
// query answered late, "&3#"), never samples: the attempt fails and the request goes
// out again. A capture still running may have fewer.
TEST_F(Lectura, ACountOtherThanTheProgrammedOneIsNoData)
{
    Programa({}, {});
    Responder9({"&3#", "&3#", "&3#"});
    bool datos = true;
    int n = -1;
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    EXPECT_FALSE(datos);
    EXPECT_EQ(nueves(), 3);

    Programa({1}, {});
    Responder9({"&3#", "&2,10,20#"});
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    EXPECT_TRUE(datos);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(senales.NumAna(), 1);
    EXPECT_EQ(senales.Ana(0)->NumMuestras(), 2);

    // While it runs: fewer samples are what it holds so far, more are not its own.
    Programa({}, {});
    Responder9({"&1#", "&5#", "&5#", "&5#"});
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config, false));
    EXPECT_TRUE(datos);
    EXPECT_EQ(n, 1);
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config, false));
    EXPECT_FALSE(datos);
}

// Whatever waits on the line when a command goes out is a late answer to an earlier
// one: it is thrown away, so the command reads its own answer.
TEST_F(Lectura, EveryCommandDrainsWhatWaitsOnTheLine)
{
    puerto->Encolar("&2#");
    puerto->Responder({{"2#", "&0#"}});
    int estado = -1;
    ASSERT_TRUE(enlace.LeerEstado(estado));
    EXPECT_EQ(estado, 0);
    EXPECT_EQ(puerto->descartados, "&2#");

    Programa({}, {});
    puerto->descartados.clear();
    puerto->Encolar("&3#");
    Responder9({"&2#"});
    bool datos = false;
    int n = 0;
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    EXPECT_EQ(n, 2);
    EXPECT_EQ(puerto->descartados, "&3#");
}

// ---- progress poll and output switching ----

TEST_F(Lectura, MonitorPollFollowsOnlyForwardProgressOfTheRightLayout)
{
    Programa({1}, {5}); // groups A and analog 1
    auto responder = [this](QByteArray r) { puerto->Responder({{"10#", "&" + r + "#"}}); };

    responder("10,7,-30");
    ASSERT_TRUE(enlace.LeerMonitor());
    EXPECT_EQ(enlace.Foto().Descriptor.Progreso, 10);
    EXPECT_EQ(enlace.Foto().UltimoValor[0], 7);
    EXPECT_EQ(enlace.Foto().UltimoValor[2], -30);

    responder("12,7"); // one field short
    EXPECT_TRUE(enlace.LeerMonitor());
    EXPECT_EQ(enlace.Foto().Descriptor.Progreso, 10);

    responder("10,1,1"); // not beyond the last progress
    EXPECT_TRUE(enlace.LeerMonitor());
    EXPECT_EQ(enlace.Foto().UltimoValor[0], 7);

    for (const char* r : {"11,a,1", "11,256,1", "11,-1,1"}) { // not a number, not a byte
        responder(r);
        EXPECT_FALSE(enlace.LeerMonitor()) << r;
        EXPECT_EQ(enlace.Foto().Descriptor.Progreso, 10);
        EXPECT_EQ(enlace.Foto().UltimoValor[0], 7);
    }

    responder("0");
    EXPECT_TRUE(enlace.LeerMonitor());
    EXPECT_EQ(enlace.Foto().Descriptor.Progreso, 0);

    responder("");
    EXPECT_FALSE(enlace.LeerMonitor());

    Programa({}, {});
    responder("33");
    EXPECT_TRUE(enlace.LeerMonitor());
    EXPECT_EQ(enlace.Foto().Descriptor.Progreso, 33);
}

TEST_F(Captura, OutputSwitchingCommands)
{
    EXPECT_TRUE(enlace.ActivarSalidas("2,u,2,0,2,w"));
    EXPECT_TRUE(enlace.DesactivarSalidas("1,y"));
    EXPECT_EQ(puerto->enviados, (QList<QByteArray>{"12,2,u,2,0,2,w#", "13,1,y#"}));
    puerto->responder = nullptr;
    EXPECT_FALSE(enlace.ActivarSalidas("1,w"));
}

} // namespace

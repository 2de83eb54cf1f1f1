// The device link end to end: the real serial and TCP transports against the
// simulated unit and the relay program.
#include "common/interaccion_guion.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "link/serie_port.h"
#include "link/tcp_port.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/senales.h"
#include "procesos.h"

#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace qv;
using namespace qv::test;

namespace {

constexpr double VoltiosCuenta10 = 10.0 / 2048;

struct Enlace : ::testing::Test {
    TRelojReal reloj;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TSadsim sim;

    std::unique_ptr<TComCapvis> NuevoEnlace(const QStringList& puertos)
    {
        auto e = std::make_unique<TComCapvis>(textos, inter, reloj, puertos);
        e->SetTipoConexion(false);
        return e;
    }

    // Polls the state until `final` (or a bounded number of polls), recording each
    // state seen once per change.
    static std::vector<int> EsperarEstado(TComCapvis& e, int final, int veces = 400)
    {
        std::vector<int> vistos;
        for (int i = 0; i < veces; ++i) {
            int estado = -1;
            if (e.LeerEstado(estado) && (vistos.empty() || vistos.back() != estado))
                vistos.push_back(estado);
            if (estado == final)
                break;
            QThread::msleep(10);
        }
        return vistos;
    }

    // 1 s at 1 ms: analog input 1 (+-10 V) and digital inputs 1-8; analog output 1
    // plays a 5 Hz sine of 4 V and digital output 1 a pulse train.
    TConfigES ConfigBucle(int muestras = 1000)
    {
        TConfigES c;
        c.NumMuestras = muestras;
        c.UnidadPeriodo = Unidad::Mili;
        c.Periodo = 1;
        c.UnidadAnalisis = Unidad::Mili;
        c.TiempoAnalisis = muestras;
        c.EntAna(1).Activo = true;
        for (int i = 1; i <= 8; ++i)
            c.EntDig(i).Activo = true;
        c.SalAna(1).Activo = true;
        c.SalAna(1).Generador =
            std::make_unique<TGenSeno>(textos, "microsegundos", "microsegundos", 0.0f, 0.0f, 5.0f, 0.0f, 4.0f);
        c.SalDig(1).Activo = true;
        c.SalDig(1).Generador =
            std::make_unique<TGenTren>(textos, "microsegundos", "milisegundos", 30.0f, 20.0f, 0.0f);
        return c;
    }
};

TEST_F(Enlace, FindsTheUnitAndIdentifiesIt)
{
    ASSERT_TRUE(sim.Arrancar({"--firmware", "1.10"}));
    auto e = NuevoEnlace({sim.dir.filePath("no-hay"), sim.enlace});
    e->PonerPCLocal("Puesto");
    ASSERT_NO_THROW(e->Conectar(QString()));
    EXPECT_EQ(e->Foto().Version, "1.10");
    EXPECT_GT(e->Foto().Memoria, 0);
    EXPECT_EQ(e->Foto().PCPropietario, "Puesto");
    auto* serie = dynamic_cast<TSeriePort*>(e->Puerto());
    ASSERT_NE(serie, nullptr);
    EXPECT_EQ(serie->PuertoSeleccionado(), 1);
    EXPECT_EQ(serie->TamBloque, 512);
    int estado = -1;
    ASSERT_TRUE(e->LeerEstado(estado));
    EXPECT_EQ(estado, 0);
}

TEST_F(Enlace, ImmediateCaptureReadsBackTheLoopedOutputs)
{
    ASSERT_TRUE(sim.Arrancar({"--speed", "100"}));
    auto e = NuevoEnlace({sim.enlace});
    const TConfigES config = ConfigBucle();
    ASSERT_TRUE(e->ProgramarRetardo(config));
    ASSERT_EQ(EsperarEstado(*e, 3).back(), 3);

    TCjtSenales senales(textos, inter);
    bool datos = false;
    int n = 0;
    ASSERT_TRUE(e->LeerDatos(datos, n, senales, config));
    ASSERT_TRUE(datos);
    ASSERT_EQ(n, 1000);
    ASSERT_EQ(senales.NumAna(), 1);
    ASSERT_EQ(senales.NumDig(), 8);

    // What the outputs played, from fresh copies of their generators.
    auto seno = config.SalAna(1).Generador->Copiar();
    auto tren = config.SalDig(1).Generador->Copiar();
    const TSenalAna* ana = senales.BuscarAna("InAnaC1");
    const TSenalDig* dig = senales.BuscarDig("InDigA1");
    ASSERT_TRUE(ana && dig);
    for (int k = 0; k < n; ++k) {
        const double t = k * 0.001;
        const double codigo = k == n - 1 ? 0 : std::clamp<double>(seno->Codigo(t), -255, 255);
        const double dif = std::abs(ana->LeerMuestra(k) - codigo / 25.5) / VoltiosCuenta10;
        ASSERT_LE(dif, 2.0 + 1e-3) << "sample " << k;
        ASSERT_EQ(dig->LeerMuestra(k), tren->Valor(t)) << "sample " << k;
    }
    // The other digital inputs see outputs that were never switched on.
    for (int i = 2; i <= 8; ++i) {
        const TSenalDig* s = senales.BuscarDig(QString("InDigA%1").arg(i));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(std::count(s->Muestras().begin(), s->Muestras().end(), 1), 0) << i;
    }
    EXPECT_TRUE(inter.mensajes.empty());
}

TEST_F(Enlace, DelayedCaptureGoesThroughItsStatesAndAbortEndsIt)
{
    ASSERT_TRUE(sim.Arrancar({"--speed", "5"}));
    auto e = NuevoEnlace({sim.enlace});
    TConfigES config = ConfigBucle(1000);
    config.Retardo = 1; // 200 ms here, then 200 ms of sampling
    ASSERT_TRUE(e->ProgramarRetardo(config));
    EXPECT_EQ(EsperarEstado(*e, 3), (std::vector<int>{1, 2, 3}));

    config.Retardo = 1000;
    ASSERT_TRUE(e->ProgramarRetardo(config));
    int estado = -1;
    ASSERT_TRUE(e->LeerEstado(estado));
    EXPECT_EQ(estado, 1);
    ASSERT_TRUE(e->Abortar());
    ASSERT_TRUE(e->LeerEstado(estado));
    EXPECT_EQ(estado, 0);
}

TEST_F(Enlace, RelaySharesTheUnitWithOneHolderAtATime)
{
    ASSERT_TRUE(sim.Arrancar({"--speed", "100"}));
    const quint16 puerto = PuertoLibre();
    TProceso relay(QStringLiteral("RelayServer"));
    ASSERT_FALSE(relay.Start({"--port", QString::number(puerto), "--serial", sim.enlace}).isEmpty());

    auto cliente = [&](const QString& nombre) {
        auto e = std::make_unique<TComCapvis>(textos, inter, reloj, QStringList{});
        e->PonerPuertoTcp(puerto);
        e->SetTipoConexion(true);
        e->PonerPCLocal(nombre);
        return e;
    };
    auto a = cliente("PuestoA");
    auto b = cliente("PuestoB");
    ASSERT_NO_THROW(a->Conectar("127.0.0.1"));
    EXPECT_EQ(a->Foto().PCPropietario, "PuestoA");
    EXPECT_EQ(a->Foto().Version, "1.21");

    ASSERT_NO_THROW(b->Conectar("127.0.0.1"));
    EXPECT_FALSE(b->Foto().PCPropietario.isEmpty());
    EXPECT_NE(b->Foto().PCPropietario, "PuestoB");
    // Refused commands come back as failures; short reads keep this quick.
    dynamic_cast<TTcpPort*>(b->Puerto())->TiempoLectura = 100;
    int estado = -1;
    EXPECT_FALSE(b->LeerEstado(estado));
    EXPECT_EQ(estado, -1);

    // The holder captures through the relay: command text in 100-character lines, and
    // a read-back long enough to come back in several lines.
    const TConfigES config = ConfigBucle(3000);
    ASSERT_TRUE(a->ProgramarRetardo(config));
    ASSERT_EQ(EsperarEstado(*a, 3).back(), 3);
    TCjtSenales senales(textos, inter);
    bool datos = false;
    int n = 0;
    ASSERT_TRUE(a->LeerDatos(datos, n, senales, config));
    EXPECT_TRUE(datos);
    EXPECT_EQ(n, 3000);
    ASSERT_EQ(senales.NumAna(), 1);
    ASSERT_EQ(senales.NumDig(), 8);
    // The last samples came in the last piece: output 1 ends at 0 V.
    EXPECT_EQ(senales.BuscarAna("InAnaC1")->LeerMuestra(2999), 0.0f);

    // The relay learns of the release when it sees the connection close: ask
    // again, a bounded number of times, as an operator would.
    a->Desconectar();
    for (int i = 0; i < 50 && b->Foto().PCPropietario != "PuestoB"; ++i) {
        QThread::msleep(20);
        ASSERT_NO_THROW(b->Conectar("127.0.0.1"));
    }
    EXPECT_EQ(b->Foto().PCPropietario, "PuestoB");
    ASSERT_TRUE(b->LeerEstado(estado));
    EXPECT_EQ(estado, 3);
}

// A unit that falls silent, talks noise or cuts its replies, and a line whose far
// end goes away: every operation answers false, and no signal enters the set.
TEST_F(Enlace, FaultyUnitsMakeEveryOperationFail)
{
    for (const char* fallo : {"silence", "garbage", "cut", "kill"}) {
        SCOPED_TRACE(fallo);
        TSadsim s;
        const bool matar = QByteArray(fallo) == "kill";
        ASSERT_TRUE(matar ? s.Arrancar({"--speed", "100"}) : s.Arrancar({"--fault", fallo}));
        TInteraccionGuion inter2;
        TComCapvis e(textos, inter2, reloj, {s.enlace});
        // Open the line directly: a faulty unit may not pass the search, and the
        // operations behind it are what is tested here.
        auto serie = std::make_unique<TSeriePort>(QStringList{s.enlace}, inter2, reloj);
        serie->Abrir();
        ASSERT_TRUE(serie->Conectado());
        e.PonerPuerto(std::move(serie), false);
        const TConfigES config = ConfigBucle(50);
        if (matar) {
            ASSERT_TRUE(e.LeerVersion());
            s.Matar();
        }
        int estado = -1;
        bool datos = true;
        int n = 0;
        TCjtSenales senales(textos, inter2);
        e.ActualizarGrupos(config);
        EXPECT_NO_THROW({
            EXPECT_FALSE(e.LeerVersion());
            EXPECT_FALSE(e.LeerEstado(estado));
            EXPECT_FALSE(e.ProgramarRetardo(config));
            e.LeerDatos(datos, n, senales, config);
            EXPECT_FALSE(datos);
            EXPECT_FALSE(e.LeerMonitor());
            EXPECT_FALSE(e.Abortar());
            e.Desconectar();
        });
        EXPECT_EQ(estado, -1);
        EXPECT_TRUE(senales.Vacio());
        EXPECT_THROW(e.Conectar(QString()), ENoHaySAD);
    }
}

} // namespace

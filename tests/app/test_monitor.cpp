// The live watch without its window: what a poll draws, which signals the set-up
// draws, and the end of a capture told from its start.
#include "capture/monitor.h"
#include "common/esperar_sad.h"
#include "common/interaccion_guion.h"
#include "common/reloj_falso.h"
#include "link/com_capvis.h"
#include "model/config_es.h"
#include "model/senales.h"

#include <gtest/gtest.h>

#include <deque>

namespace qv::test {
namespace {

// Answers each command from a queue of replies per command.
class TPuertoRespuestas : public TCOM {
public:
    explicit TPuertoRespuestas(TRelojFalso& r) : reloj(r) {}
    TRelojFalso& reloj;
    std::map<QByteArray, std::deque<QByteArray>> respuestas;
    QByteArray pendiente;
    void Abrir() override {}
    void Cerrar() override {}
    void Configurar(const QString&) override {}
    void Enviar(const QByteArray& t) override
    {
        auto& cola = respuestas[t];
        if (!cola.empty()) {
            pendiente += cola.front();
            if (cola.size() > 1)
                cola.pop_front();
        }
    }
    void Recibir(QByteArray& t) override
    {
        reloj.ahora += 1;
        t = pendiente;
        pendiente.clear();
    }
    bool Conectado() override { return true; }
};

class TDibujoPrueba : public IDibujoMonitor {
public:
    QStringList series;
    std::vector<std::tuple<int, double, double>> puntos;
    std::map<int, int> datos; // serie -> points given at once
    void Empezar(double) override { series.clear(); }
    int NuevaSerie(const QString& n) override
    {
        series << n;
        return int(series.size()) - 1;
    }
    void PonerDatos(int s, const QVector<double>& x, const QVector<double>&) override { datos[s] = int(x.size()); }
    void Extender(int s, double x, double y) override { puntos.emplace_back(s, x, y); }
    void Terminar() override {}
};

struct Monitor : ::testing::Test {
    TRelojFalso reloj;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TServicioSAD enlace{textos, inter, reloj, {}};
    TPuertoRespuestas* puerto = nullptr;
    TDibujoPrueba dibujo;
    TEstadoSalidas salidas;
    TConfigES config;

    void SetUp() override
    {
        auto p = std::make_unique<TPuertoRespuestas>(reloj);
        puerto = p.get();
        enlace.PonerPuerto(std::move(p), false);
        // Analog input 1 on the +-5 V range and digital input 3, 100 samples of 10 ms.
        config.NumMuestras = 100;
        config.UnidadPeriodo = Unidad::Mili;
        config.Periodo = 10;
        config.EntAna(1).Activo = true;
        config.EntAna(1).Rango = 1;
        config.EntDig(3).Activo = true;
    }
};

TEST_F(Monitor, APollDrawsOnePointPerSeriesScaledByTheInputRange)
{
    puerto->respuestas["9#"] = {"&0#"};
    puerto->respuestas["10#"] = {"&5,4,1024#", "&5,4,1024#", "&3,0,0#", "&6,0,-2048#"};
    TMonitor m(enlace, config, textos, inter, dibujo, salidas);
    EXPECT_EQ(Resultado(m.Preparar()), 0);
    ASSERT_EQ(dibujo.series, (QStringList{config.EntAna(1).Nombre, config.EntDig(3).Nombre}));
    dibujo.puntos.clear();

    // Progress 5: input 1 at 1024 counts of +-5 V is 2.5 V; the word 4 has bit 2 up.
    EXPECT_EQ(Resultado(m.Tick()), TMonitor::TTick::Punto);
    ASSERT_EQ(dibujo.puntos.size(), 2u);
    EXPECT_DOUBLE_EQ(std::get<1>(dibujo.puntos[0]), 0.04);
    EXPECT_DOUBLE_EQ(std::get<2>(dibujo.puntos[0]), 2.5);
    EXPECT_DOUBLE_EQ(std::get<2>(dibujo.puntos[1]), TMonitor::AltoDigital);
    // The same progress again, then an older one: nothing drawn.
    EXPECT_EQ(Resultado(m.Tick()), TMonitor::TTick::Nada);
    EXPECT_EQ(Resultado(m.Tick()), TMonitor::TTick::Nada);
    EXPECT_EQ(dibujo.puntos.size(), 2u);
    EXPECT_EQ(Resultado(m.Tick()), TMonitor::TTick::Punto);
    EXPECT_DOUBLE_EQ(std::get<2>(dibujo.puntos.back()), 0.0);
    EXPECT_DOUBLE_EQ(std::get<2>(dibujo.puntos[2]), -5.0);
}

TEST_F(Monitor, AnEmptyPollEndsTheCaptureOnlyWhenTheUnitSaysSo)
{
    puerto->respuestas["9#"] = {"&0#"};
    puerto->respuestas["10#"] = {"&0#"};
    puerto->respuestas["2#"] = {"&2#", "&3#"};
    TMonitor m(enlace, config, textos, inter, dibujo, salidas);
    Resultado(m.Preparar());
    EXPECT_EQ(Resultado(m.Tick()), TMonitor::TTick::Nada);      // not begun yet
    EXPECT_EQ(Resultado(m.Tick()), TMonitor::TTick::Terminada); // finished
    // A unit that stops answering: more than three silent polls.
    puerto->respuestas["10#"] = {};
    for (int i = 0; i < TMonitor::FallosMaximos; ++i)
        EXPECT_EQ(Resultado(m.Tick()), TMonitor::TTick::Nada);
    EXPECT_EQ(Resultado(m.Tick()), TMonitor::TTick::Fallo);
}

TEST(MonitorSenales, AtMostEightOfTheFirstOnesPeriodAreDrawn)
{
    TTextosFijos textos;
    TInteraccionGuion inter;
    TCjtSenales s(textos, inter);
    for (int i = 0; i < 10; ++i)
        s.AnadirAna(std::make_unique<TSenalAna>(textos, QStringLiteral("A%1").arg(i), false, nullptr, nullptr, 0,
                                                i == 4 ? 0.002 : 0.001, 10));
    const auto elegidas = TMonitor::ElegirSenales(s);
    ASSERT_EQ(elegidas.size(), 8u);
    for (const TSenal* e : elegidas)
        EXPECT_DOUBLE_EQ(e->Periodo(), 0.001);
}

} // namespace
} // namespace qv::test

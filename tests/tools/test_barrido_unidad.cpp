// The simulated unit's circuits against their transfer functions, and sweep points run
// against the simulated unit on virtual time: measurement, cancel, a clipped reference,
// the question about a capture the unit holds, and a short sweep of an RC low-pass.
#include "app/unidad_virtual.h"
#include "circuito.h"
#include "common/interaccion_guion.h"
#include "common/reloj_falso.h"
#include "link/barrido_sad.h"
#include "link/com_capvis.h"
#include "unidad_simulada.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

namespace qv {
namespace {

constexpr double Pi = std::numbers::pi;

// ---- the circuit model ------------------------------------------------------------

// Gain and phase of the circuit's steady answer to a sine held in `pasos` steps per
// period, as the unit drives it (each step starting at a sample instant, sampled just
// after it), measured over whole periods after settling; the hold's half-step taken off.
std::pair<double, double> Respuesta(TCircuito& c, double f, int pasos = 4000)
{
    const double h = 1 / (f * pasos);
    const auto escalon = [h](double t) { return std::floor(t / h + 1e-6); };
    const auto valor = [&](double t) { return std::sin(2 * Pi * f * escalon(t) * h); };
    const auto cambio = [&](double t) { return (escalon(t) + 1) * h; };
    std::complex<double> x, y;
    const int periodos = 40, medidos = 10;
    c.Avanzar(0, valor, cambio);
    for (int k = 0; k < periodos * pasos; ++k) {
        c.Avanzar(k * h, valor, cambio);
        if (k >= (periodos - medidos) * pasos) {
            const std::complex<double> e = std::polar(1.0, -2 * Pi * f * k * h);
            x += valor(k * h) * e;
            y += c.Salida() * e;
        }
    }
    const std::complex<double> r = y / x;
    return {std::abs(r), std::arg(r) + Pi * f * h};
}

TEST(Circuito, EachKindFollowsItsTransferFunction)
{
    QString error;
    for (const char* texto : {"rc-low:R=10k,C=100n", "rc-high:R=1k,C=1u", "rlc-band:R=100,L=10m,C=1u"}) {
        auto c = TCircuito::Leer(QString::fromLatin1(texto), error);
        ASSERT_TRUE(c) << texto << ": " << error.toStdString();
        for (double f : {30.0, 159.15, 500.0, 1591.5, 5000.0}) {
            // Drive from rest, but only the settled part counts.
            auto nuevo = TCircuito::Leer(QString::fromLatin1(texto), error);
            const auto [g, fase] = Respuesta(*nuevo, f);
            SCOPED_TRACE(std::string(texto) + " at " + std::to_string(f));
            // A high-pass far below its corner shows the hold's half step most (0.4 %).
            EXPECT_NEAR(g / c->Ganancia(f), 1, 5e-3);
            EXPECT_NEAR(std::remainder(fase - c->Fase(f), 2 * Pi) * 180 / Pi, 0, 0.1);
        }
    }
    // Where the formulas themselves are known: corner and resonance.
    auto bajo = TCircuito::Leer(QStringLiteral("rc-low:R=10k,C=100n"), error);
    EXPECT_NEAR(bajo->Ganancia(1 / (2 * Pi * 1e-3)), 1 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(bajo->Fase(1 / (2 * Pi * 1e-3)), -Pi / 4, 1e-12);
    auto banda = TCircuito::Leer(QStringLiteral("rlc-band:R=100,L=10m,C=1u"), error);
    EXPECT_NEAR(banda->Ganancia(1 / (2 * Pi * std::sqrt(10e-3 * 1e-6))), 1, 1e-12);
}

TEST(Circuito, HeldInputStepsAreExact)
{
    QString error;
    auto c = TCircuito::Leer(QStringLiteral("rc-low:R=1k,C=1u"), error); // tau 1 ms
    c->Paso(1e-3, 1);
    EXPECT_NEAR(c->Salida(), 1 - std::exp(-1.0), 1e-12);
    // One step of 3 ms or a thousand of 3 us: the same state, the hold being exact.
    auto d = TCircuito::Leer(QStringLiteral("rc-low:R=1k,C=1u"), error);
    d->Paso(1e-3, 1);
    for (int i = 0; i < 1000; ++i)
        d->Paso(3e-6, -2);
    c->Paso(3e-3, -2);
    EXPECT_NEAR(c->Salida(), d->Salida(), 1e-12);

    // The RLC settles at the input with no current; its output across R is 0 then.
    auto r = TCircuito::Leer(QStringLiteral("rlc-band:R=10,L=1m,C=1u"), error); // underdamped
    r->Paso(0.5, 3);
    EXPECT_NEAR(r->Salida(), 0, 1e-9);
    // The high-pass passes a step at once and lets it decay.
    auto a = TCircuito::Leer(QStringLiteral("rc-high:R=1k,C=1u"), error);
    const auto uno = [](double) { return 1.0; };
    const auto nunca = [](double) { return std::numeric_limits<double>::infinity(); };
    a->Avanzar(0, [](double) { return 0.0; }, nunca);
    a->Avanzar(1e-9, uno, nunca);
    EXPECT_NEAR(a->Salida(), 1, 1e-5);
    a->Avanzar(1e-3, uno, nunca);
    EXPECT_NEAR(a->Salida(), std::exp(-1.0), 1e-5);
}

TEST(Circuito, OnlyWellFormedDescriptionsAreTaken)
{
    QString error;
    auto c = TCircuito::Leer(QStringLiteral("rlc-band:R=4.7k,L=2m,C=330p"), error);
    ASSERT_TRUE(c);
    EXPECT_DOUBLE_EQ(c->R(), 4700);
    EXPECT_DOUBLE_EQ(c->L(), 2e-3);
    EXPECT_DOUBLE_EQ(c->C(), 330e-12);
    for (const char* mal : {"rc-lo:R=1k,C=1u", "rc-low:R=1k", "rc-low:R=1k,C=1u,L=1m", "rc-low:R=-1k,C=1u",
                            "rc-low:R=1k,C=1x", "rc-low:R=1k,R=2k,C=1u", "rlc-band:R=1,C=1u", "rc-high:R=0,C=1u",
                            "rc-low:R=1k,C=nan"}) {
        error.clear();
        EXPECT_FALSE(TCircuito::Leer(QString::fromLatin1(mal), error)) << mal;
        EXPECT_FALSE(error.isEmpty()) << mal;
    }
}

// ---- sweep points against the simulated unit -------------------------------------

class PuntoUnidad : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QString error;
        unidad.PonerCircuito(TCircuito::Leer(QStringLiteral("rc-low:R=10k,C=100n"), error));
        auto p = std::make_unique<test::TPuertoUnidad>(reloj, unidad);
        puerto = p.get();
        com.PonerPuerto(std::move(p), false);
    }

    std::shared_ptr<TPuntoSAD> Punto(double f, bool preguntar = false)
    {
        return std::make_shared<TPuntoSAD>(ajustes, PlanificarPunto(ajustes, f, textos), textos, dir.path(),
                                           preguntar);
    }

    QTemporaryDir dir;
    test::TTextosFijos textos;
    test::TInteraccionGuion interaccion;
    test::TRelojFalso reloj;
    TUnidadSimulada unidad;
    test::TPuertoUnidad* puerto = nullptr;
    TComCapvis com{textos, interaccion, reloj, {}};
    TAjustesBarrido ajustes;
};

TEST_F(PuntoUnidad, MeasuresTheCircuitAsItsFormulaSays)
{
    const double tau = 10e3 * 100e-9;
    for (double f : {20.0, 159.15, 1500.0}) {
        auto p = Punto(f);
        ASSERT_EQ(HablarAqui(*p, com), TConversacion::TPaso::Terminada) << p->ClaveFallo();
        const TPuntoBarrido& m = p->Punto();
        ASSERT_TRUE(m.Valida()) << int(m.Marca);
        const std::complex<double> h = 1.0 / std::complex<double>(1, 2 * Pi * m.Frecuencia * tau);
        SCOPED_TRACE(f);
        EXPECT_NEAR(m.GananciaDB, 20 * std::log10(std::abs(h)), 0.05);
        EXPECT_NEAR(m.FaseGrados, std::arg(h) * 180 / Pi, 0.5);
        // The record it came from: settling, record and the last sample the unit zeroes.
        const TCapturaPunto& c = p->Captura();
        EXPECT_EQ(int(c.Referencia.size()), p->Plan().Muestras());
        EXPECT_EQ(int(c.Salida.size()), p->Plan().Muestras());
        EXPECT_EQ(c.Desde, p->Plan().Descartadas);
    }
    // Every point replaced the capture before it without a question.
    EXPECT_TRUE(interaccion.mensajes.empty());
    EXPECT_EQ(unidad.ValorSalida(2), 0);
}

TEST_F(PuntoUnidad, CancelAbortsTheCaptureAndZeroesTheOutputs)
{
    auto p = Punto(10); // 0.4 s of capture
    TConversacion::TPaso paso = TConversacion::TPaso::Sigue;
    bool cancelado = false;
    for (int i = 0; i < 100000 && paso == TConversacion::TPaso::Sigue; ++i) {
        paso = p->Paso(com);
        unidad.Avanzar(reloj.ahora * 1000);
        if (!cancelado && unidad.Estado() == 2 && unidad.MuestrasTomadas() > 100) {
            // Mid-capture: the output is playing the sine.
            p->Cancelar();
            cancelado = true;
        }
        reloj.Dormir(std::max(1, p->EsperaSugerida()));
    }
    ASSERT_TRUE(cancelado);
    EXPECT_EQ(paso, TConversacion::TPaso::Cancelada);
    EXPECT_EQ(unidad.Estado(), 0);
    EXPECT_FALSE(puerto->Empiezan("8#").isEmpty());
    EXPECT_EQ(puerto->enviados.back(), TComCapvis::SalidasACero);
    EXPECT_EQ(unidad.ValorSalida(2), 0);
    EXPECT_TRUE(puerto->Empiezan("9#").isEmpty()); // nothing read back
}

TEST_F(PuntoUnidad, AClippedReferenceGivesAMarkedPoint)
{
    ajustes.Amplitud = 8;
    ajustes.RangoReferencia = 1; // +-5 V
    auto p = Punto(100);
    ASSERT_EQ(HablarAqui(*p, com), TConversacion::TPaso::Terminada);
    EXPECT_EQ(p->Punto().Marca, TMarca::ReferenciaRecortada);
    // The response through the low-pass on +-1 V is clipped as well, but the reference
    // is what tells first.
    ajustes.RangoReferencia = 0;
    ajustes.RangoRespuesta = 3;
    auto q = Punto(100);
    ASSERT_EQ(HablarAqui(*q, com), TConversacion::TPaso::Terminada);
    EXPECT_EQ(q->Punto().Marca, TMarca::RespuestaRecortada);
}

TEST_F(PuntoUnidad, TheFirstPointAsksAboutACaptureTheUnitHolds)
{
    // Someone's capture, running.
    TConfigES otra = ConfigPunto(ajustes, PlanificarPunto(ajustes, 1, textos), textos);
    otra.NumMuestras = 5000;
    ASSERT_TRUE(com.ProgramarRetardo(otra));
    unidad.Avanzar(reloj.ahora * 1000);
    ASSERT_EQ(unidad.Estado(), 2);
    puerto->enviados.clear();

    int estado = -1;
    auto p = Punto(100, true);
    EXPECT_EQ(HablarAqui(*p, com, [&] { return estado = p->EstadoUnidad(), Respuesta::No; }),
              TConversacion::TPaso::Cancelada);
    EXPECT_EQ(estado, 2);
    // Left alone: not aborted, its outputs not touched.
    unidad.Avanzar(reloj.ahora * 1000);
    EXPECT_EQ(unidad.Estado(), 2);
    for (const QByteArray& e : puerto->enviados)
        EXPECT_TRUE(e == "2#") << e.toStdString();

    // "Sí" replaces it.
    auto q = Punto(100, true);
    EXPECT_EQ(HablarAqui(*q, com, [] { return Respuesta::Si; }), TConversacion::TPaso::Terminada);
    EXPECT_TRUE(q->Punto().Valida());
}

TEST_F(PuntoUnidad, ASweepFindsTheCornerOfTheLowPass)
{
    ajustes.Desde = 20;
    ajustes.Hasta = 2000;
    ajustes.Puntos = 9;
    TBarridoSAD barrido(ajustes, textos, dir.path());
    EXPECT_GT(barrido.SegundosRestantes(0), 0);
    while (auto p = barrido.Siguiente()) {
        ASSERT_EQ(HablarAqui(*p, com), TConversacion::TPaso::Terminada);
        barrido.Anotar(*p, 0.5);
    }
    ASSERT_TRUE(barrido.Terminado());
    EXPECT_EQ(barrido.SegundosRestantes(0), 0);
    const auto cortes = PuntosMenos3dB(barrido.Resultado());
    ASSERT_EQ(cortes.size(), 1u);
    EXPECT_NEAR(cortes[0].Frecuencia / 159.155, 1, 0.02);
    EXPECT_NEAR(cortes[0].FaseGrados, -45, 2);
    // Phase goes down monotonically along a low-pass once made continuous.
    const auto& puntos = barrido.Resultado().Puntos;
    for (std::size_t i = 1; i < puntos.size(); ++i)
        EXPECT_LT(puntos[i].FaseGrados, puntos[i - 1].FaseGrados);
}

} // namespace
} // namespace qv

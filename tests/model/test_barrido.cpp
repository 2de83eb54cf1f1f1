// The frequency sweep's plan, its measurement of synthetic records, what is read off
// the curve, and its file and CSV.
#include "common/textos_fijos.h"
#include "model/barrido.h"
#include "model/base_tiempos.h"
#include "model/errores.h"
#include "model/fichero_barrido.h"
#include "model/generadores.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace qv {
namespace {

constexpr double Pi = std::numbers::pi;

// ---- plan -------------------------------------------------------------------------

class Plan : public ::testing::Test {
protected:
    test::TTextosFijos textos;
    TAjustesBarrido a;
};

TEST_F(Plan, EveryPointHoldsWholePeriodsWithinTheTimeBaseRules)
{
    for (double f : {0.05, 1.0, 10.0, 159.15, 1000.0, 5000.0, 7000.0}) {
        const TPuntoPlan p = PlanificarPunto(a, f, textos);
        SCOPED_TRACE(f);
        ASSERT_EQ(p.Clave, 0);
        // Whole periods exactly (to the sine's single precision), near the frequency asked.
        const double periodos = p.Frecuencia * p.Medidas * p.PeriodoSegundos();
        EXPECT_NEAR(periodos, p.Periodos, 1e-5 * p.Periodos);
        EXPECT_GE(p.Periodos, Barrido::PeriodosMinimos);
        EXPECT_NEAR(p.Frecuencia / f, 1.0, 0.01);
        // The same validation every capture goes through.
        const TConfigES c = ConfigPunto(a, p, textos);
        EXPECT_EQ(ComprobarCaptura(c), 0);
        EXPECT_EQ(c.NumMuestras, p.Descartadas + p.Medidas + 1);
        EXPECT_GE(p.Descartadas, int(std::floor(a.Estabilizacion * p.MuestrasPorPeriodo())));
        // The sampling period is never shorter than the active channels allow.
        if (p.UnidadPeriodo == Unidad::Micro) {
            EXPECT_GE(p.Periodo, PeriodoMinimoMicro(c));
        }
    }
}

TEST_F(Plan, RangeEndsOfTheTimeBase)
{
    // Low: as many samples per period as the record aims at, the period in ms once it
    // no longer fits the microsecond field.
    const TPuntoPlan lento = PlanificarPunto(a, 0.05, textos);
    EXPECT_EQ(lento.UnidadPeriodo, Unidad::Mili);
    EXPECT_NEAR(lento.MuestrasPorPeriodo(), 256, 2);
    const TPuntoPlan bajo = PlanificarPunto(a, 10, textos);
    EXPECT_EQ(bajo.UnidadPeriodo, Unidad::Micro);
    EXPECT_EQ(bajo.Periodo, 390);
    EXPECT_EQ(bajo.Periodos, 2);

    // High: two inputs and an output make three groups, 7 x 3 + 10 = 31 us at least.
    const TPuntoPlan alto = PlanificarPunto(a, 5000, textos);
    EXPECT_EQ(alto.Periodo, 31);
    EXPECT_LT(alto.MuestrasPorPeriodo(), Barrido::MuestrasPorPeriodoAviso);
    EXPECT_GT(alto.Periodos, 50); // many periods to reach the record's length
    // Beyond 4 samples per period (about 8 kHz here) no point can be measured.
    EXPECT_EQ(PlanificarPunto(a, 9000, textos).Clave, 166);

    a.Desde = 10;
    a.Hasta = 9000;
    const TPlanBarrido plan = PlanificarBarrido(a, textos);
    EXPECT_EQ(plan.PrimerImposible, a.Puntos - 1);
    EXPECT_GT(plan.PuntosEscasos, 0);
    EXPECT_LT(plan.MinMuestrasPorPeriodo, 4);

    // A settling of many periods at a low frequency overflows the memory: text 134.
    a.Estabilizacion = 200;
    EXPECT_EQ(PlanificarPunto(a, 10, textos).Clave, 134);
}

TEST_F(Plan, SettingsAreCheckedBeforeAnything)
{
    EXPECT_EQ(ComprobarAjustes(a), 0);
    auto con = [&](auto cambio) {
        TAjustesBarrido b = a;
        cambio(b);
        return ComprobarAjustes(b);
    };
    EXPECT_EQ(con([](auto& b) { b.Hasta = b.Desde; }), TextoBarrido::FrecuenciasMal);
    EXPECT_EQ(con([](auto& b) { b.Desde = 0; }), TextoBarrido::FrecuenciasMal);
    EXPECT_EQ(con([](auto& b) { b.Puntos = 0; }), TextoBarrido::FrecuenciasMal);
    EXPECT_EQ(con([](auto& b) { b.Hasta = NAN; }), TextoBarrido::FrecuenciasMal);
    EXPECT_EQ(con([](auto& b) { b.Estabilizacion = -1; }), TextoBarrido::FrecuenciasMal);
    EXPECT_EQ(con([](auto& b) { b.Respuesta = b.Referencia; }), TextoBarrido::EntradasIguales);
    EXPECT_EQ(con([](auto& b) { b.Salida = 5; }), TextoBarrido::EntradasIguales);
    EXPECT_EQ(con([](auto& b) { b.RangoRespuesta = 6; }), TextoBarrido::EntradasIguales);
    // The generators' own range check: the sine must stay within +-10 V.
    EXPECT_EQ(con([](auto& b) { b.Amplitud = 8, b.Offset = 2; }), 0);
    EXPECT_EQ(con([](auto& b) { b.Amplitud = 8, b.Offset = 2.1; }), TextoBarrido::Amplitud);
    EXPECT_EQ(con([](auto& b) { b.Amplitud = 0; }), TextoBarrido::Amplitud);
    // One point sits at Desde; Hasta is then not looked at.
    EXPECT_EQ(con([](auto& b) { b.Puntos = 1, b.Hasta = 1; }), 0);
}

TEST_F(Plan, FrequenciesAreSpacedAsAsked)
{
    a.Desde = 10;
    a.Hasta = 1000;
    a.Puntos = 3;
    EXPECT_EQ(FrecuenciasNominales(a), (std::vector<double>{10, 100, 1000}));
    a.Reparto = TReparto::Lineal;
    EXPECT_EQ(FrecuenciasNominales(a), (std::vector<double>{10, 505, 1000}));
    a.Puntos = 1;
    EXPECT_EQ(FrecuenciasNominales(a), (std::vector<double>{10}));
}

TEST_F(Plan, TheCaptureConfigurationDrivesOnlyTheSweepsChannels)
{
    a.Salida = 3;
    a.Referencia = 4;
    a.Respuesta = 7;
    a.RangoRespuesta = 3;
    const TPuntoPlan p = PlanificarPunto(a, 100, textos);
    const TConfigES c = ConfigPunto(a, p, textos);
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(c.EntAna(i).Activo, i == 4 || i == 7) << i;
    EXPECT_EQ(c.EntAna(7).Rango, 3);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(c.SalAna(i).Activo, i == 3) << i;
    ASSERT_NE(c.SalAna(3).Generador, nullptr);
    const auto params = c.SalAna(3).Generador->Parametros();
    EXPECT_FLOAT_EQ(params[0].valor, 5.0f);                 // amplitude
    EXPECT_FLOAT_EQ(params[2].valor, float(p.Frecuencia)); // frequency
    EXPECT_EQ(c.Retardo, 0);
}

// ---- measurement ------------------------------------------------------------------

// A record of A sin(2 pi f t + phase) + offset sampled every `periodo`, quantised to a
// range's counts and clipped there.
std::vector<float> Seno(int n, double periodo, double f, double a, double fase, double offset, int rango = 0)
{
    const double r = ResolucionRango(rango);
    std::vector<float> x(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const double v = a * std::sin(2 * Pi * f * k * periodo + fase) + offset;
        x[std::size_t(k)] = float(std::clamp(std::round(v / r), -2048.0, 2047.0) * r);
    }
    return x;
}

TEST(Medida, KnownGainAndPhaseComeBackWhateverTheLevels)
{
    const double T = 100e-6, f = 250; // 40 samples per period
    const int n = 41 + 400;
    for (const auto& [ganancia, fase] : {std::pair{1.0, 0.0}, std::pair{0.1, -45.0}, std::pair{2.0, 120.0},
                                         std::pair{0.02, -170.0}}) {
        // Offsets on both: a level drops out over whole periods.
        const auto ref = Seno(n, T, f, 4.0, 0.3, 1.5);
        const auto resp = Seno(n, T, f, 4.0 * ganancia, 0.3 + fase * Pi / 180, -0.7);
        TVentanaMedida v{41, 400, T, f, 0};
        const TPuntoBarrido p = MedirPunto({ref, ResolucionRango(0)}, {resp, ResolucionRango(0)}, v);
        SCOPED_TRACE(ganancia);
        ASSERT_TRUE(p.Valida());
        // A response of 16 counts is as exact as its converter.
        EXPECT_NEAR(p.GananciaDB, 20 * std::log10(ganancia), ganancia < 0.05 ? 0.15 : 0.01);
        // The hold correction: half a sample period ahead of the samples' own phase.
        EXPECT_NEAR(p.FaseGrados, std::remainder(fase + 180 * f * T, 360), ganancia < 0.05 ? 0.5 : 0.05);
        EXPECT_NEAR(p.AmplitudReferencia, 4.0, 0.01);
    }
}

TEST(Medida, TheResponsesSamplingDelayIsTakenOff)
{
    const double T = 50e-6, f = 1000, retraso = 7e-6;
    // The response sampled 7 us after the reference sees the same sine 7 us later.
    std::vector<float> ref(500), resp(500);
    for (int k = 0; k < 500; ++k) {
        ref[std::size_t(k)] = float(std::sin(2 * Pi * f * k * T));
        resp[std::size_t(k)] = float(std::sin(2 * Pi * f * (k * T + retraso)));
    }
    const double r = ResolucionRango(0);
    const TPuntoBarrido p = MedirPunto({ref, r}, {resp, r}, {0, 500, T, f, retraso});
    ASSERT_TRUE(p.Valida());
    EXPECT_NEAR(p.GananciaDB, 0, 1e-3);
    EXPECT_NEAR(p.FaseGrados, 180 * f * T, 1e-3);
}

TEST(Medida, ABadReferenceOrAClippedResponseIsMarkedNotMeasured)
{
    const double T = 100e-6, f = 250;
    const auto bien = Seno(400, T, f, 4, 0, 0);
    const TVentanaMedida v{0, 400, T, f, 0};
    // Clipped: 12 V on the 10 V range reaches the converter's end.
    const auto recortada = Seno(400, T, f, 12, 0, 0);
    EXPECT_EQ(MedirPunto({recortada, ResolucionRango(0)}, {bien, ResolucionRango(0)}, v).Marca,
              TMarca::ReferenciaRecortada);
    // A 2 V sine on the 1 V range is clipped too, though the volts look modest.
    const auto enRango1 = Seno(400, T, f, 2, 0, 0, 3);
    EXPECT_EQ(MedirPunto({enRango1, ResolucionRango(3)}, {bien, ResolucionRango(0)}, v).Marca,
              TMarca::ReferenciaRecortada);
    // Five counts of reference is no reference.
    const auto pequena = Seno(400, T, f, 5 * ResolucionRango(0), 0, 0);
    EXPECT_EQ(MedirPunto({pequena, ResolucionRango(0)}, {bien, ResolucionRango(0)}, v).Marca,
              TMarca::ReferenciaPequena);
    // A large offset with a small reference is still too small.
    const auto conNivel = Seno(400, T, f, 5 * ResolucionRango(0), 0, 3);
    EXPECT_EQ(MedirPunto({conNivel, ResolucionRango(0)}, {bien, ResolucionRango(0)}, v).Marca,
              TMarca::ReferenciaPequena);
    EXPECT_EQ(MedirPunto({bien, ResolucionRango(0)}, {recortada, ResolucionRango(0)}, v).Marca,
              TMarca::RespuestaRecortada);
    // Clipping only in the settling part does not count.
    auto inicio = bien;
    inicio[0] = 10.0f;
    EXPECT_TRUE(MedirPunto({inicio, ResolucionRango(0)}, {bien, ResolucionRango(0)}, {40, 360, T, f, 0}).Valida());
    // A record beyond the samples there are is no measure either.
    EXPECT_FALSE(MedirPunto({bien, ResolucionRango(0)}, {bien, ResolucionRango(0)}, {100, 400, T, f, 0}).Valida());
}

// ---- reading the curve ------------------------------------------------------------

// The measured points of a first-order low-pass at these frequencies.
TResultadoBarrido PasoBajo(double fc, const std::vector<double>& frecuencias, TReparto reparto = TReparto::Logaritmico)
{
    TResultadoBarrido r;
    r.Ajustes.Reparto = reparto;
    r.Ajustes.Desde = frecuencias.front();
    r.Ajustes.Hasta = frecuencias.back();
    r.Ajustes.Puntos = int(frecuencias.size());
    for (double f : frecuencias) {
        const double x = f / fc;
        r.Puntos.push_back({f, -10 * std::log10(1 + x * x), -std::atan(x) * 180 / Pi, TMarca::Valida, 1, 1});
    }
    return r;
}

TEST(Curva, MinusThreeDBOfALowPassBetweenSparsePoints)
{
    TAjustesBarrido a;
    std::vector<double> f = FrecuenciasNominales(a); // 20 points, 10 Hz to 5 kHz
    TResultadoBarrido r = PasoBajo(159.155, f);
    const auto cortes = PuntosMenos3dB(r);
    ASSERT_EQ(cortes.size(), 1u);
    EXPECT_NEAR(cortes[0].Frecuencia / 159.155, 1, 0.005);
    EXPECT_NEAR(cortes[0].FaseGrados, -45, 0.5);
    // A decade above: -20 dB.
    const auto d = Interpolar(r, 1591.55);
    ASSERT_TRUE(d);
    EXPECT_NEAR(d->GananciaDB, -20.04, 0.05);
    EXPECT_FALSE(Interpolar(r, 6000)); // outside the sweep

    // A marked point next to the crossing is left out, not read as a value.
    for (TPuntoBarrido& p : r.Puntos)
        if (p.Frecuencia > 150 && p.Frecuencia < 200)
            p.Marca = TMarca::ReferenciaRecortada, p.GananciaDB = 99;
    const auto sinPunto = PuntosMenos3dB(r);
    ASSERT_EQ(sinPunto.size(), 1u);
    EXPECT_NEAR(sinPunto[0].Frecuencia / 159.155, 1, 0.03);
}

TEST(Curva, BandPassHasTwoEdgesAndAFlatCurveNone)
{
    // A series RLC band-pass, f0 = 1 kHz, Q = 2: edges at f0 (sqrt(1 + 1/4Q^2) -+ 1/2Q).
    TResultadoBarrido r;
    r.Ajustes.Desde = 100;
    r.Ajustes.Hasta = 10000;
    r.Ajustes.Puntos = 41;
    const double q = 2;
    for (double f : FrecuenciasNominales(r.Ajustes)) {
        const double x = f / 1000 - 1000 / f;
        r.Puntos.push_back({f, -10 * std::log10(1 + q * q * x * x), -std::atan(q * x) * 180 / Pi, TMarca::Valida, 1, 1});
    }
    const auto cortes = PuntosMenos3dB(r);
    ASSERT_EQ(cortes.size(), 2u);
    const double raiz = std::sqrt(1 + 1 / (4 * q * q));
    EXPECT_NEAR(cortes[0].Frecuencia, 1000 * (raiz - 1 / (2 * q)), 8);
    EXPECT_NEAR(cortes[1].Frecuencia, 1000 * (raiz + 1 / (2 * q)), 8);
    EXPECT_NEAR(cortes[0].FaseGrados, 45, 1.5);
    EXPECT_NEAR(cortes[1].FaseGrados, -45, 1.5);

    EXPECT_TRUE(PuntosMenos3dB(PasoBajo(1e6, {10, 100, 1000})).empty());
}

TEST(Curva, PhaseIsMadeContinuousAndTheCursorSnapsToValidPoints)
{
    std::vector<TPuntoBarrido> p = {{10, 0, -170, TMarca::Valida, 1, 1},
                                    {20, 0, 175, TMarca::Valida, 1, 1}, // -185 really
                                    {30, 0, 0, TMarca::ReferenciaPequena, 0, 0},
                                    {40, 0, 160, TMarca::Valida, 1, 1}}; // -200
    DesenrollarFase(p);
    EXPECT_DOUBLE_EQ(p[0].FaseGrados, -170);
    EXPECT_DOUBLE_EQ(p[1].FaseGrados, -185);
    EXPECT_DOUBLE_EQ(p[2].FaseGrados, 0); // untouched
    EXPECT_DOUBLE_EQ(p[3].FaseGrados, -200);

    TResultadoBarrido r;
    r.Puntos = p;
    EXPECT_EQ(PuntoCercano(r, 25), 1); // nearest on the log scale
    EXPECT_EQ(PuntoCercano(r, 29), 3);
    EXPECT_EQ(PuntoCercano(r, 33), 3);
    r.Ajustes.Reparto = TReparto::Lineal;
    EXPECT_EQ(PuntoCercano(r, 31), 3);
    r.Puntos.clear();
    EXPECT_EQ(PuntoCercano(r, 31), -1);
}

// ---- file and CSV -----------------------------------------------------------------

TResultadoBarrido Ejemplo()
{
    TResultadoBarrido r = PasoBajo(159.155, {10, 100.5, 1000, 5000});
    r.Ajustes.Amplitud = 3.25;
    r.Ajustes.Offset = -0.5;
    r.Ajustes.Salida = 2;
    r.Ajustes.Referencia = 3;
    r.Ajustes.Respuesta = 8;
    r.Ajustes.RangoReferencia = 1;
    r.Ajustes.RangoRespuesta = 5;
    r.Ajustes.Estabilizacion = 3.5;
    r.Ajustes.DesfaseGruposUs = 7;
    r.Puntos[2].Marca = TMarca::RespuestaRecortada;
    return r;
}

TEST(Fichero, RoundTripKeepsEverythingAndTheTextIsLatin1WithCrLf)
{
    const TResultadoBarrido r = Ejemplo();
    const QByteArray texto = TextoFicheroBarrido(r);
    EXPECT_TRUE(texto.startsWith("RespuestaFrecuencia\r\n1\r\nLog\r\n"));
    EXPECT_TRUE(texto.endsWith("FinRespuestaFrecuencia\r\n"));
    EXPECT_EQ(texto.count('\n'), texto.count("\r\n"));
    EXPECT_TRUE(texto.contains("\r\n3 5V\r\n8 02V\r\n"));

    const TResultadoBarrido leido = LeerFicheroBarrido(texto);
    EXPECT_EQ(leido.Ajustes, r.Ajustes);
    ASSERT_EQ(leido.Puntos.size(), r.Puntos.size());
    for (std::size_t i = 0; i < r.Puntos.size(); ++i) {
        EXPECT_NEAR(leido.Puntos[i].Frecuencia, r.Puntos[i].Frecuencia, 1e-12 * r.Puntos[i].Frecuencia);
        EXPECT_NEAR(leido.Puntos[i].GananciaDB, r.Puntos[i].GananciaDB, 1e-12);
        EXPECT_NEAR(leido.Puntos[i].FaseGrados, r.Puntos[i].FaseGrados, 1e-12);
        EXPECT_EQ(leido.Puntos[i].Marca, r.Puntos[i].Marca);
    }
    // What was read writes the same text again.
    EXPECT_EQ(TextoFicheroBarrido(leido), texto);

    // Through the safe writer and back.
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("rc.qvf"));
    ASSERT_TRUE(GuardarFicheroBarrido(ruta, r));
    EXPECT_EQ(TextoFicheroBarrido(AbrirFicheroBarrido(ruta)), texto);
    try {
        AbrirFicheroBarrido(dir.filePath(QStringLiteral("no.qvf")));
        ADD_FAILURE() << "a missing file was read";
    } catch (const EErrorModelo& e) {
        EXPECT_EQ(e.Clave(), 370);
    }
}

TEST(Fichero, AnythingElseIsRefusedWithItsText)
{
    const QByteArray bueno = TextoFicheroBarrido(Ejemplo());
    auto rechazado = [](const QByteArray& t) {
        try {
            LeerFicheroBarrido(t);
        } catch (const EErrorFormato& e) {
            return e.Clave() == TextoBarrido::FicheroMal;
        }
        return false;
    };
    EXPECT_TRUE(rechazado(QByteArray()));
    EXPECT_TRUE(rechazado("ComienzaSe\xF1" "al\r\n"));
    EXPECT_TRUE(rechazado(bueno.left(bueno.size() - 30)));              // cut
    EXPECT_TRUE(rechazado(QByteArray(bueno).replace("\r\n1\r\n", "\r\n2\r\n"))); // another version
    EXPECT_TRUE(rechazado(QByteArray(bueno).replace("3 5V", "3 7V")));   // unknown range
    EXPECT_TRUE(rechazado(QByteArray(bueno).replace("\r\n4\r\n", "\r\n5\r\n"))); // more points than lines
    EXPECT_TRUE(rechazado(QByteArray(bueno).replace(" 3 ", " 9 ")));     // unknown mark
    EXPECT_TRUE(rechazado(bueno + "basura\r\n"));
    // The settings must make a sweep: reference and response the same input.
    EXPECT_TRUE(rechazado(QByteArray(bueno).replace("\r\n8 02V", "\r\n3 02V")));
    // Blank lines at the end and LF-only ends are fine.
    EXPECT_FALSE(rechazado(bueno + "\r\n\r\n"));
    EXPECT_FALSE(rechazado(QByteArray(bueno).replace("\r\n", "\n")));
}

TEST(Fichero, CsvHasTheHeaderAndLeavesMarkedPointsEmpty)
{
    const QByteArray csv = CsvBarrido(Ejemplo());
    const QList<QByteArray> filas = csv.split('\n');
    ASSERT_EQ(filas.size(), 6); // header, four points, the empty rest after the last CR LF
    EXPECT_EQ(filas[0], "frequency_hz,gain_db,phase_deg\r");
    EXPECT_TRUE(filas[1].startsWith("10,-0.0171"));
    EXPECT_EQ(filas[3], "1000,,\r");
    const QList<QByteArray> campos = filas[4].trimmed().split(',');
    ASSERT_EQ(campos.size(), 3);
    EXPECT_NEAR(campos[1].toDouble(), -29.9474, 0.001);
    EXPECT_NEAR(campos[2].toDouble(), -88.177, 0.001);
    EXPECT_TRUE(filas[5].isEmpty());
}

} // namespace
} // namespace qv

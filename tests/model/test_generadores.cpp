#include "common/interaccion_guion.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/generadores.h"
#include "model/lector_campos.h"
#include "model/senales.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

using namespace qv;
using qv::test::TInteraccionGuion;
using qv::test::TTextosFijos;

namespace {

TTextosFijos textos;
const QString us = "microsegundos", ms = "milisegundos", s = "segundos", min = "minutos";

void Escribe(const QString& ruta, const QByteArray& datos)
{
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(datos);
}

} // namespace

TEST(Unidades, WordsToCodes)
{
    EXPECT_EQ(CodigoUnidad(textos, us, 3), 0);
    EXPECT_EQ(CodigoUnidad(textos, ms, 3), 1);
    EXPECT_EQ(CodigoUnidad(textos, s, 3), 2);
    EXPECT_EQ(CodigoUnidad(textos, min, 3), 3);
    EXPECT_EQ(CodigoUnidad(textos, min, 2), 0); // minutes are no delay unit
    EXPECT_EQ(CodigoUnidad(textos, "horas", 3), 0);
    EXPECT_EQ(CodigoUnidad(textos, "parsecs", 3), 0);
    TGenTren t(textos, min, min, 1, 1, 0);
    EXPECT_EQ(t.UnidadRetardo, 0);
    EXPECT_EQ(t.UnidadParametro, 3);
    EXPECT_EQ(PalabraUnidad(textos, 9), "horas");
}

TEST(GenSeno, PhaseRunsFromTheStartOfTheCapture)
{
    TGenSeno g(textos, s, ms, 0.25f, 0, 1, 0.5f, 2);
    EXPECT_EQ(g.Valor(0.2499), 0.5f);
    EXPECT_FLOAT_EQ(g.Valor(0.25), 2.5f);
    EXPECT_NEAR(g.Valor(0.5), 0.5f, 1e-6);
    EXPECT_NEAR(g.Valor(0.75), -1.5f, 1e-6);
    TGenSeno conFase(textos, s, ms, 0, float(M_PI / 2), 1, 0, 1);
    EXPECT_NEAR(conFase.Valor(0), 1.0f, 1e-6);
}

TEST(GenRampa, RisesOverItsTimeAfterTheDelay)
{
    TGenRampa g(textos, s, ms, 500, 1, 0, 5);
    EXPECT_EQ(g.Valor(0.5), 0.0f);
    EXPECT_EQ(g.Valor(1.0), 0.0f);
    EXPECT_FLOAT_EQ(g.Valor(1.25), 2.5f);
    EXPECT_FLOAT_EQ(g.Valor(1.5), 5.0f);
    EXPECT_EQ(g.Valor(3.0), 5.0f);
    // The same ramp in microseconds and in minutes.
    TGenRampa micro(textos, s, us, 500000, 1, 0, 5);
    EXPECT_FLOAT_EQ(micro.Valor(1.25), 2.5f);
    TGenRampa minutos(textos, s, min, 1, 0, -1, 1);
    EXPECT_FLOAT_EQ(minutos.Valor(30), 0.0f);
}

TEST(GenRampa, ZeroTimeFailsOnlyAtItsStart)
{
    TGenRampa g(textos, s, ms, 0, 1, -2, 3);
    EXPECT_EQ(g.Valor(0.5), -2.0f);
    EXPECT_THROW(g.Valor(1.0), EErrorCalculo);
    EXPECT_THROW(g.Codigo(1.0), EErrorCalculo);
    EXPECT_EQ(g.Valor(1.0001), 3.0f);
}

TEST(GenEscalon, LevelsAroundTheDelay)
{
    TGenEscalon g(textos, ms, ms, 0.002f, 4, -1);
    EXPECT_EQ(g.Valor(0.0019), -1.0f);
    EXPECT_EQ(g.Valor(double(0.002f)), 4.0f);
}

TEST(GenAnalogico, CodesRoundHalvesToEven)
{
    // v x 25.5 lands exactly on a half for odd volts.
    const std::pair<float, float> casos[] = {{1, 26}, {3, 76}, {5, 128}, {7, 178}, {-1, -26}, {-3, -76},
                                             {0.1f, 3}, {10, 255}, {12, 306}};
    for (auto [v, codigo] : casos) {
        TGenEscalon g(textos, s, s, 0, v, 0);
        EXPECT_EQ(g.Codigo(0), codigo) << v;
    }
}

TEST(GenAnalogico, CodesOfHugeLevelsStayFiniteBeyondTheRange)
{
    // 1E38 V is a valid float, but times 25.5 it is not: the code must still clamp to +-255.
    TGenEscalon alto(textos, s, s, 0, 1e38f, 0);
    EXPECT_TRUE(std::isfinite(alto.Codigo(0)));
    EXPECT_GT(alto.Codigo(0), 255.0f);
    TGenEscalon bajo(textos, s, s, 0, -1e38f, 0);
    EXPECT_TRUE(std::isfinite(bajo.Codigo(0)));
    EXPECT_LT(bajo.Codigo(0), -255.0f);
    TGenTablaAna tabla(textos, "t.tba", s, 0);
    tabla.Valores = {-3e38f};
    tabla.NumValores = 1;
    const float c = tabla.CodigoTabla(0);
    EXPECT_TRUE(std::isfinite(c));
    EXPECT_LT(c, -255.0f);
}

TEST(GenTren, OnThenOffThenOnAgain)
{
    TGenTren g(textos, s, ms, 3, 2, 0);
    EXPECT_EQ(g.Valor(0), 1);
    EXPECT_EQ(g.Valor(0.001), 1);
    EXPECT_EQ(g.Valor(0.002), 1);
    EXPECT_EQ(g.Valor(0.0021), 0);
    EXPECT_EQ(g.Valor(0.005), 0);
    EXPECT_EQ(g.Valor(0.0051), 1);
    EXPECT_EQ(g.Valor(0.0066), 1);
    EXPECT_EQ(g.Valor(0.0081), 0);
    // Far into the capture the reduction is still exact and quick.
    EXPECT_EQ(g.Valor(1000.0011), 1);
    EXPECT_EQ(g.Valor(1000.0031), 0);
}

TEST(GenTren, EdgesOnSampleInstantsGiveEvenPulses)
{
    // Sampled every millisecond, as the capture does (k x period), a train of 2 ms on
    // and 3 ms off must be high at exactly 2 of every 5 instants after the first one:
    // rounding must not move instants that fall on its edges.
    TGenTren g(textos, s, ms, 3, 2, 0);
    for (int k = 0; k < 2000; ++k) {
        const int fase = k % 5;
        const int esperado = (k == 0 || fase == 1 || fase == 2) ? 1 : 0;
        ASSERT_EQ(g.Valor(k * 0.001), esperado) << "k = " << k;
    }
    // The same with microsecond times sampled every 10 us.
    TGenTren micro(textos, s, us, 70, 30, 0);
    for (int k = 1; k < 5000; ++k) {
        const int fase = k % 10;
        ASSERT_EQ(micro.Valor(k * 1e-5), (fase >= 1 && fase <= 3) ? 1 : 0) << "k = " << k;
    }
}

TEST(GenTren, DelayAndDegenerateTimes)
{
    TGenTren conRetardo(textos, ms, ms, 1, 1, 0.01f);
    EXPECT_EQ(conRetardo.Valor(0.0099), 0);
    EXPECT_EQ(conRetardo.Valor(double(0.01f)), 1);
    // No period: high after the delay, and the computation ends.
    TGenTren cero(textos, ms, ms, 0, 0, 0.001f);
    EXPECT_EQ(cero.Valor(0), 0);
    EXPECT_EQ(cero.Valor(0.5), 1);
    TGenTren negativo(textos, ms, ms, -3, 1, 0);
    EXPECT_EQ(negativo.Valor(0.5), 1);
    // Minutes are taken as minutes.
    TGenTren minutos(textos, s, min, 1, 1, 0);
    EXPECT_EQ(minutos.Valor(59), 1);
    EXPECT_EQ(minutos.Valor(61), 0);
}

TEST(GenPulso, ChangesJustAfterTheDelay)
{
    TGenPulso alto(textos, 0, ms, s, 1);
    EXPECT_EQ(alto.Valor(1.0), 0);
    EXPECT_EQ(alto.Valor(1.0001), 1);
    TGenPulso bajo(textos, 1, ms, s, 1);
    EXPECT_EQ(bajo.Valor(1.0), 1);
    EXPECT_EQ(bajo.Valor(1.0001), 0);
}

TEST(GenTablaAna, CyclesThroughItsValues)
{
    TGenTablaAna g(textos, "t.tba", s, 0);
    g.Valores = {1, 2, 3};
    g.NumValores = 3;
    std::vector<float> vistos;
    for (int k = 1; k <= 7; ++k)
        vistos.push_back(g.Valor(k * 0.001));
    EXPECT_EQ(vistos, std::vector<float>({1, 2, 3, 1, 2, 3, 1}));
}

TEST(GenTablaAna, ValueAtTheDelayIsZeroButCodeAlreadyStarts)
{
    TGenTablaAna g(textos, "t.tba", s, 0.5f);
    g.Valores = {1, 3};
    g.NumValores = 2;
    EXPECT_EQ(g.Valor(0.5), 0.0f);
    EXPECT_EQ(g.Posicion, 0);
    EXPECT_EQ(g.CodigoTabla(0.5), 26.0f);
    EXPECT_EQ(g.CodigoTabla(0.4), 0.0f);
    EXPECT_EQ(g.Codigo(0.6), 76.0f);
    EXPECT_EQ(g.Posicion, 0);

    TGenTablaAna vacia(textos, "v.tba", s, 0);
    EXPECT_EQ(vacia.Valor(1), 0.0f);
    EXPECT_EQ(vacia.CodigoTabla(1), 0.0f);
    vacia.NumValores = 5; // a light copy claims values it does not hold
    EXPECT_EQ(vacia.Valor(1), 0.0f);
}

TEST(GenTablaDig, CyclesAndCopies)
{
    TGenTablaDig g(textos, "d.tba", ms, 0.001f);
    g.Valores = {1, 0, 1, 1};
    g.NumValores = 4;
    EXPECT_EQ(g.ValorTabla(0.0005), 0);
    EXPECT_EQ(g.ValorTabla(double(0.001f)), 1);
    EXPECT_EQ(g.ValorTabla(0.002), 0);
    auto copia = g.Copiar();
    auto* t = dynamic_cast<TGenTablaDig*>(copia.get());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Posicion, 0);
    EXPECT_EQ(t->Valores, g.Valores);
    EXPECT_EQ(t->Valor(1), 1);
    auto ligera = g.CopiaLigera();
    EXPECT_TRUE(ligera->Valores.empty());
    EXPECT_EQ(ligera->NumValores, 4);
    EXPECT_EQ(ligera->ValorTabla(1), 0);
}

TEST(Generadores, CopiesAreIndependent)
{
    TGenSeno g(textos, ms, s, 0.5f, 1, 2, 3, 4);
    auto c = g.Copiar();
    g.Amplitud = 9;
    auto* sc = dynamic_cast<TGenSeno*>(c.get());
    ASSERT_NE(sc, nullptr);
    EXPECT_EQ(sc->Amplitud, 4.0f);
    EXPECT_EQ(sc->Retardo, 0.5f);
    EXPECT_EQ(sc->UnidadRetardo, 1);
    EXPECT_EQ(sc->UnidadParametro, 2);
}

class CargarTablaTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TInteraccionGuion inter;
    TContextoTablas ctx{textos, inter, QString()};
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ctx.carpetaPrograma = dir.path();
    }
};

TEST_F(CargarTablaTest, RelativeNamesComeFromTheProgramFolder)
{
    Escribe(dir.filePath("mi tabla.tba"), "3\r\n1.5\r\n-2\r\n 0.25\r\n");
    TGenTablaAna g(textos, "mi tabla.tba", s, 0);
    EXPECT_TRUE(g.CargarTabla(1, ctx));
    EXPECT_EQ(g.Fichero, dir.filePath("mi tabla.tba"));
    EXPECT_EQ(g.NumValores, 3);
    EXPECT_EQ(g.Valores, std::vector<float>({1.5f, -2.0f, 0.25f}));
    EXPECT_TRUE(inter.mensajes.empty());

    // An absolute name is kept as it is.
    TGenTablaAna abs(textos, dir.filePath("mi tabla.tba"), s, 0);
    ctx.carpetaPrograma = "/no/existe";
    EXPECT_TRUE(abs.CargarTabla(1, ctx));
}

TEST_F(CargarTablaTest, MissingFileShowsTheErrorBox)
{
    TGenTablaAna a(textos, "no.tba", s, 0);
    EXPECT_FALSE(a.CargarTabla(3, ctx));
    TGenTablaDig d(textos, "no.tba", s, 0);
    EXPECT_FALSE(d.CargarTabla(12, ctx));
    ASSERT_EQ(inter.mensajes.size(), 2u);
    EXPECT_EQ(inter.mensajes[0].sabor, TInteraccionGuion::Sabor::Error);
    EXPECT_EQ(inter.mensajes[0].texto, "T1843 T185");
    EXPECT_EQ(inter.mensajes[0].botones, Botones::Aceptar);
    EXPECT_EQ(inter.mensajes[1].texto, "T186 12 T187");
}

TEST_F(CargarTablaTest, BadContentAnswersFalse)
{
    Escribe(dir.filePath("corta.tba"), "4\r\n1\r\n2\r\n");
    TGenTablaAna corta(textos, "corta.tba", s, 0);
    EXPECT_FALSE(corta.CargarTabla(1, ctx));
    EXPECT_EQ(corta.NumValores, 2);

    Escribe(dir.filePath("mala.tba"), "2\r\n1\r\nx\r\n");
    TGenTablaAna mala(textos, "mala.tba", s, 0);
    EXPECT_FALSE(mala.CargarTabla(1, ctx));

    Escribe(dir.filePath("sincuenta.tba"), "tres\r\n");
    TGenTablaAna sinCuenta(textos, "sincuenta.tba", s, 0);
    EXPECT_FALSE(sinCuenta.CargarTabla(1, ctx));

    // A digital value other than 0 or 1 fails but the rest is still loaded.
    Escribe(dir.filePath("dig.tba"), "3\r\n1\r\n2\r\n0\r\n");
    TGenTablaDig dig(textos, "dig.tba", s, 0);
    EXPECT_FALSE(dig.CargarTabla(1, ctx));
    EXPECT_EQ(dig.Valores, std::vector<std::uint8_t>({1, 2, 0}));
    EXPECT_TRUE(inter.mensajes.empty());
}

TEST_F(CargarTablaTest, DevicesAndValuesBeyondSinglePrecisionAreRefused)
{
    // A device would never end (or never answer): it counts as a file that cannot be opened.
    TGenTablaAna dispositivo(textos, "/dev/zero", s, 0);
    EXPECT_FALSE(dispositivo.CargarTabla(2, ctx));
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(inter.mensajes[0].texto, "T1842 T185");

    // 1E39 is infinity as a float and would be written back as text no reader takes.
    Escribe(dir.filePath("enorme.tba"), "2\r\n1E39\r\n1\r\n");
    TGenTablaAna enorme(textos, "enorme.tba", s, 0);
    EXPECT_FALSE(enorme.CargarTabla(1, ctx));
    for (float v : enorme.Valores)
        EXPECT_TRUE(std::isfinite(v));
}

TEST_F(CargarTablaTest, EmptyCountGivesATableWithoutValues)
{
    Escribe(dir.filePath("cero.tba"), "0\r\n");
    TGenTablaAna g(textos, "cero.tba", s, 0);
    EXPECT_TRUE(g.CargarTabla(1, ctx));
    EXPECT_EQ(g.NumValores, 0);
    EXPECT_EQ(g.Valor(1), 0.0f);
    Escribe(dir.filePath("neg.tba"), "-5\r\n");
    TGenTablaDig d(textos, "neg.tba", s, 0);
    EXPECT_TRUE(d.CargarTabla(1, ctx));
    EXPECT_EQ(d.ValorTabla(1), 0);
}

namespace {

// Writes the record, reads it back after its kind word, writes it again.
template <class Base>
std::unique_ptr<Base> IdaYVuelta(const TGenerador& g, QString* texto = nullptr)
{
    const QString rec = g.Escribir(textos);
    if (texto)
        *texto = rec;
    TLectorCampos l(("3 " + rec + "$\r\nsiguiente\r\n").toLatin1());
    EXPECT_EQ(l.LeerCampo(), "3");
    const QByteArray tipo = l.LeerCampo();
    std::unique_ptr<Base> r;
    if constexpr (std::is_same_v<Base, TGenAnalogico>)
        r = LeerGenAnalogico(textos, tipo, l);
    else
        r = LeerGenDigital(textos, tipo, l);
    EXPECT_NE(r, nullptr) << rec.toStdString();
    if (r) {
        EXPECT_EQ(r->Escribir(textos), rec);
    }
    EXPECT_EQ(l.LeerLinea().trimmed(), "");
    EXPECT_EQ(l.LeerLinea(), "siguiente");
    return r;
}

} // namespace

TEST(RegistroGenerador, SineAndItsFieldOrder)
{
    TGenSeno g(textos, us, s, 5e-5f, 0.5f, 50, -1, 0.1f);
    QString rec;
    auto r = IdaYVuelta<TGenAnalogico>(g, &rec);
    EXPECT_EQ(rec, "Seno segundos 0.100000001490116 -1 50 0.5 4.99999987368938E-5 microsegundos");
    auto* sr = dynamic_cast<TGenSeno*>(r.get());
    ASSERT_NE(sr, nullptr);
    EXPECT_EQ(sr->Retardo, 5e-5f);
    EXPECT_EQ(sr->UnidadRetardo, 0);
    EXPECT_EQ(sr->Amplitud, 0.1f);
    EXPECT_EQ(sr->Offset, -1.0f);
    EXPECT_EQ(sr->Frecuencia, 50.0f);
    EXPECT_EQ(sr->Fase, 0.5f);
}

TEST(RegistroGenerador, RampAndStep)
{
    TGenRampa rampa(textos, ms, min, 2.5f, 0.25f, -3, 7);
    QString rec;
    auto r = IdaYVuelta<TGenAnalogico>(rampa, &rec);
    EXPECT_EQ(rec, "Rampa minutos 7 -3 0.25 milisegundos 2.5");
    auto* rr = dynamic_cast<TGenRampa*>(r.get());
    ASSERT_NE(rr, nullptr);
    EXPECT_EQ(rr->TiempoRampa, 2.5f);
    EXPECT_EQ(rr->UnidadParametro, 3);

    TGenEscalon esc(textos, s, ms, 1, 4, -2);
    auto e = IdaYVuelta<TGenAnalogico>(esc, &rec);
    EXPECT_EQ(rec, "Escalon milisegundos -2 4 1 segundos");
    auto* er = dynamic_cast<TGenEscalon*>(e.get());
    ASSERT_NE(er, nullptr);
    EXPECT_EQ(er->Amplitud, 4.0f);
    EXPECT_EQ(er->Offset, -2.0f);
}

TEST(RegistroGenerador, TablesKeepFileNamesWithBlanks)
{
    TGenTablaAna ta(textos, "C:\\mis tablas\\onda 1.tba", ms, 0.002f);
    ta.Valores = {1};
    ta.NumValores = 1;
    QString rec;
    auto a = IdaYVuelta<TGenAnalogico>(ta, &rec);
    EXPECT_EQ(rec, "TablaAnalogica 0.0020000000949949 milisegundos C:\\mis tablas\\onda 1.tba");
    auto* ar = dynamic_cast<TGenTablaAna*>(a.get());
    ASSERT_NE(ar, nullptr);
    EXPECT_EQ(ar->Fichero, "C:\\mis tablas\\onda 1.tba");
    EXPECT_TRUE(ar->Valores.empty()); // not loaded by the reader
    EXPECT_EQ(ar->Tipo(), "Tabla");

    TGenTablaDig td(textos, "/tmp/bits y mas.tba", s, 3);
    auto d = IdaYVuelta<TGenDigital>(td);
    auto* dr = dynamic_cast<TGenTablaDig*>(d.get());
    ASSERT_NE(dr, nullptr);
    EXPECT_EQ(dr->Fichero, "/tmp/bits y mas.tba");
    EXPECT_EQ(dr->Retardo, 3.0f);
    EXPECT_EQ(dr->UnidadRetardo, 2);
}

TEST(RegistroGenerador, TrainAndPulses)
{
    TGenTren tren(textos, us, ms, 3, 2, 5e-5f);
    QString rec;
    auto t = IdaYVuelta<TGenDigital>(tren, &rec);
    EXPECT_EQ(rec, "Tren milisegundos 4.99999987368938E-5 microsegundos 2 3");
    auto* tr = dynamic_cast<TGenTren*>(t.get());
    ASSERT_NE(tr, nullptr);
    EXPECT_EQ(tr->TiempoOn, 2.0f);
    EXPECT_EQ(tr->TiempoOff, 3.0f);
    EXPECT_EQ(tr->Retardo, 5e-5f);

    for (std::uint8_t nivel : {0, 1}) {
        TGenPulso p(textos, nivel, s, ms, 0.5f);
        auto r = IdaYVuelta<TGenDigital>(p, &rec);
        EXPECT_TRUE(rec.contains(nivel ? " bajo " : " alto ")) << rec.toStdString();
        auto* pr = dynamic_cast<TGenPulso*>(r.get());
        ASSERT_NE(pr, nullptr);
        EXPECT_EQ(pr->Nivel, nivel);
        EXPECT_EQ(pr->UnidadParametro, 2);
        EXPECT_EQ(pr->UnidadRetardo, 1);
    }
}

TEST(RegistroGenerador, UnknownKindsAndBadNumbers)
{
    TLectorCampos l("Cuadrada segundos 1$\r\n");
    const QByteArray tipo = l.LeerCampo();
    EXPECT_FALSE(EsTipoAnalogico(tipo));
    EXPECT_FALSE(EsTipoDigital(tipo));
    EXPECT_EQ(LeerGenAnalogico(textos, tipo, l), nullptr);
    EXPECT_EQ(LeerGenDigital(textos, "Seno", l), nullptr);
    EXPECT_TRUE(EsTipoAnalogico("TablaAnalogica"));
    EXPECT_TRUE(EsTipoDigital("TablaDigital"));

    TLectorCampos malo("segundos 1 0,5 50 0 0 segundos$");
    EXPECT_THROW(LeerGenAnalogico(textos, "Seno", malo), EErrorFormato);
    TLectorCampos corto("milisegundos 0");
    EXPECT_THROW(LeerGenDigital(textos, "Tren", corto), EErrorFormato);
    TLectorCampos infinito("segundos 1E39 0 50 0 0 segundos$");
    EXPECT_THROW(LeerGenAnalogico(textos, "Seno", infinito), EErrorFormato);
}

// --- output signals

class SalidasTest : public ::testing::Test {
protected:
    TInteraccionGuion inter;
    TCjtSenales cjt{textos, inter};
    TConfigES cfg;
    void SetUp() override
    {
        cfg.Periodo = 1;
        cfg.UnidadPeriodo = Unidad::Mili;
    }
};

TEST_F(SalidasTest, SineBeyondTheRangeIsClampedToTenVolts)
{
    cfg.SalAna(2).Activo = true;
    cfg.SalAna(2).Generador = std::make_unique<TGenSeno>(textos, s, s, 0, 0, 10, 0, 12);
    const int n = 200;
    SenalesDeSalidas(n, cjt, cfg, textos);
    TSenalAna* sa = cjt.BuscarAna("OutAnY2");
    ASSERT_NE(sa, nullptr);
    EXPECT_EQ(sa->Canal, 2);
    EXPECT_EQ(sa->NumMuestras(), n);
    EXPECT_DOUBLE_EQ(sa->Periodo(), 0.001);
    EXPECT_NE(sa->Generador(), nullptr);
    int recortadas = 0;
    for (int k = 1; k < n; ++k) {
        const double t = (k - 1) * 0.001;
        const float v = float(12 * std::sin(2 * M_PI * 10 * t));
        const float x = sa->LeerMuestra(k - 1);
        if (std::abs(v) * 25.5 > 255.5) {
            EXPECT_EQ(x, v > 0 ? 10.0f : -10.0f) << k;
            ++recortadas;
        } else if (std::abs(v) * 25.5 < 254.5) {
            EXPECT_NEAR(x, v, 1e-5) << k;
        }
    }
    EXPECT_GT(recortadas, 20);
    EXPECT_EQ(sa->LeerMuestra(n - 1), 0.0f);
    EXPECT_EQ(sa->Maximo, 10.0f);
    EXPECT_EQ(sa->Minimo, -10.0f);
}

TEST_F(SalidasTest, OutputsEndUpInAscendingOrderBeforeOlderSignals)
{
    cjt.AnadirAna(std::make_unique<TSenalAna>(textos, "InAnaC1", false, nullptr, nullptr, 1, 0.001, 4));
    for (int i : {1, 3}) {
        cfg.SalAna(i).Activo = true;
        cfg.SalAna(i).Generador = std::make_unique<TGenEscalon>(textos, s, s, 0, float(i), 0);
    }
    cfg.SalAna(4).Generador = std::make_unique<TGenEscalon>(textos, s, s, 0, 1, 0); // inactive
    for (int i : {2, 16}) {
        cfg.SalDig(i).Activo = true;
        cfg.SalDig(i).Generador = std::make_unique<TGenPulso>(textos, 0, s, ms, 0.0015f);
    }
    cfg.SalDig(5).Activo = true; // active without a generator: nothing to compute
    SenalesDeSalidas(4, cjt, cfg, textos);
    EXPECT_EQ(cjt.NombresAna(), QStringList({"OutAnY1", "OutAnZ1", "InAnaC1"}));
    EXPECT_EQ(cjt.NombresDig(), QStringList({"OutDiW2", "OutDiX8"}));
    TSenalAna* z1 = cjt.BuscarAna("OutAnZ1");
    EXPECT_EQ(z1->Muestras(), std::vector<float>({3, 3, 3, 0}));
    TSenalDig* w2 = cjt.BuscarDig("OutDiW2");
    EXPECT_EQ(w2->Muestras(), std::vector<std::uint8_t>({0, 0, 1, 0}));
    EXPECT_EQ(w2->Canal, 2);
    EXPECT_EQ(cjt.BuscarDig("OutDiX8")->Canal, 16);
}

TEST_F(SalidasTest, TablesStartOneSampleLateAndLeaveTheConfigurationAlone)
{
    auto ta = std::make_unique<TGenTablaAna>(textos, "a.tba", s, 0);
    ta->Valores = {1, 2, 3};
    ta->NumValores = 3;
    cfg.SalAna(1).Activo = true;
    cfg.SalAna(1).Generador = std::move(ta);
    auto td = std::make_unique<TGenTablaDig>(textos, "d.tba", s, 0);
    td->Valores = {1, 0};
    td->NumValores = 2;
    cfg.SalDig(1).Activo = true;
    cfg.SalDig(1).Generador = std::move(td);

    SenalesDeSalidas(5, cjt, cfg, textos);
    EXPECT_EQ(cjt.BuscarAna("OutAnY1")->Muestras(), std::vector<float>({1, 2, 3, 1, 2}));
    EXPECT_EQ(cjt.BuscarDig("OutDiW1")->Muestras(), std::vector<std::uint8_t>({1, 0, 1, 0, 1}));
    EXPECT_EQ(dynamic_cast<TGenTablaAna&>(*cfg.SalAna(1).Generador).Posicion, 0);
    // The signal keeps the table's description only.
    auto* copia = dynamic_cast<const TGenTablaAna*>(cjt.BuscarAna("OutAnY1")->Generador());
    ASSERT_NE(copia, nullptr);
    EXPECT_TRUE(copia->Valores.empty());
}

TEST_F(SalidasTest, ZeroTimeRampIsReportedAsAnError)
{
    cfg.SalAna(1).Activo = true;
    cfg.SalAna(1).Generador = std::make_unique<TGenRampa>(textos, ms, ms, 0, 0, 0, 1);
    cfg.SalAna(2).Activo = true;
    cfg.SalAna(2).Generador = std::make_unique<TGenEscalon>(textos, s, s, 0, 1, 0);
    EXPECT_THROW(SenalesDeSalidas(10, cjt, cfg, textos), EErrorCalculo);
    EXPECT_EQ(cjt.BuscarAna("OutAnY1"), nullptr);
    EXPECT_NE(cjt.BuscarAna("OutAnY2"), nullptr); // outputs are computed from the fourth down
}

TEST_F(SalidasTest, EdgeSampleCounts)
{
    cfg.SalDig(1).Activo = true;
    cfg.SalDig(1).Generador = std::make_unique<TGenPulso>(textos, 1, s, s, 100);
    SenalesDeSalidas(0, cjt, cfg, textos);
    EXPECT_EQ(cjt.BuscarDig("OutDiW1")->NumMuestras(), 0);
    cjt.Vaciar();
    SenalesDeSalidas(1, cjt, cfg, textos);
    EXPECT_EQ(cjt.BuscarDig("OutDiW1")->Muestras(), std::vector<std::uint8_t>({0}));
}

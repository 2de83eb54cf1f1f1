#include "common/interaccion_guion.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/fichero_config.h"
#include "model/generadores.h"
#include "model/operaciones.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

using namespace qv;
using qv::test::TInteraccionGuion;
using qv::test::TTextosFijos;

namespace {

// A language file whose time-unit words differ from the default ones.
class TTextosIngles : public TTextosFijos {
public:
    QString BuscarTexto(int clave) const override
    {
        if (clave >= 193 && clave <= 197) {
            static const char* const w[] = {"microseconds", "milliseconds", "seconds", "minutes", "hours"};
            return QString::fromLatin1(w[clave - 193]);
        }
        return TTextosFijos::BuscarTexto(clave);
    }
};

QList<QByteArray> Lineas(const QByteArray& texto)
{
    QList<QByteArray> l = texto.split('\n');
    for (auto& x : l)
        if (x.endsWith('\r'))
            x.chop(1);
    if (!l.isEmpty() && l.back().isEmpty())
        l.pop_back();
    return l;
}

QByteArray Unir(const QList<QByteArray>& l) { return l.join("\r\n") + "\r\n"; }

class FicheroConfigTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString Tabla(const QString& nombre, const QByteArray& contenido)
    {
        const QString ruta = dir.filePath(nombre);
        QFile f(ruta);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenido);
        return ruta;
    }

    // Every kind of channel and generator, and operations of both kinds.
    void Llenar(TConfigES& c, TOperaciones& ops)
    {
        c.Rapida = true;
        c.Retardo = 2.5;
        c.Periodo = 0.1;
        c.UnidadPeriodo = Unidad::Micro;
        c.TiempoAnalisis = 1.5;
        c.UnidadAnalisis = Unidad::Hora;
        c.NumMuestras = 1500;
        c.EntDig(3).Nombre = "Puerta";
        c.EntDig(3).Activo = true;
        c.EntAna(2).Activo = true;
        c.EntAna(2).Diferencial = true;
        c.EntAna(2).Rango = 5;
        c.EntAna(2).Factor = 2.5f;
        c.EntAna(2).Unidad = "mA";
        c.EntAna(3).Rango = 4;
        c.SalDig(1).Activo = true;
        c.SalDig(1).Generador = std::make_unique<TGenTren>(textos, "milisegundos", "microsegundos", 2, 3, 0.5f);
        c.SalDig(2).Generador = std::make_unique<TGenPulso>(textos, 1, "segundos", "milisegundos", 1.25f);
        c.SalDig(3).Activo = true;
        c.SalDig(3).Generador = std::make_unique<TGenTablaDig>(
            textos, Tabla("d.tba", "3\r\n1\r\n0\r\n1\r\n"), "segundos", 0.f);
        c.SalAna(1).Activo = true;
        c.SalAna(1).Generador =
            std::make_unique<TGenSeno>(textos, "milisegundos", "segundos", 0.001f, 0.5f, 50, 1, 2.5f);
        c.SalAna(2).Generador = std::make_unique<TGenRampa>(textos, "segundos", "milisegundos", 20, 0, -1, 4);
        c.SalAna(3).Generador = std::make_unique<TGenEscalon>(textos, "microsegundos", "segundos", 3, 5, -5);
        c.SalAna(4).Activo = true;
        c.SalAna(4).Generador = std::make_unique<TGenTablaAna>(
            textos, Tabla("a.tba", "2\r\n1.5\r\n-2\r\n"), "milisegundos", 0.5f);
        ops.AnadirOpAna(TOperacion("2", 3, false, false, 400, 25.5, "Ana", "V", "Filt", "Filtro", "0"));
        ops.AnadirOpAna(TOperacion("3.14159", 0, false, true, 0, 0, "Ana", "mV", "Prod", "*", "9"));
        ops.AnadirOpDig(TOperacion("1", 0, false, false, 0, 0, "Dig", "Voltios", "Xo", "Xor", "17"));
    }

    bool Leer(const QByteArray& texto, TConfigES& c, TOperaciones& ops)
    {
        return fichero.LeerConfiguracionDatos(texto, c, ops);
    }

    TTextosFijos textos;
    TInteraccionGuion inter;
    QTemporaryDir dir;
    TFicheroConfig fichero{textos, inter, dir.path()};
};

} // namespace

TEST_F(FicheroConfigTest, DefaultLayout)
{
    TConfigES c;
    TOperaciones ops;
    const QByteArray texto = fichero.Texto(c, ops);
    EXPECT_EQ(texto.count("\r\n"), texto.count('\n')); // CR LF everywhere
    const auto l = Lineas(texto);
    ASSERT_EQ(l.size(), 54);
    EXPECT_EQ(l[0], "FALSE");
    EXPECT_EQ(l[1], "0 0 milisegundos 0 milisegundos 0$");
    for (int i : {2, 19, 28, 45})
        EXPECT_EQ(l[i], " ") << i;
    EXPECT_EQ(l[3], "InDigA1 false 1$");
    EXPECT_EQ(l[18], "InDigB8 false 16$");
    EXPECT_EQ(l[20], "InAnaC1 false 1 Normal 10V 1 Voltios$");
    EXPECT_EQ(l[29], "OutDiW1 false 1 nil$");
    EXPECT_EQ(l[49], "OutAnZ2 false 4 nil$");
    EXPECT_EQ(l[50], "");
    EXPECT_EQ(l[51], "0");
    EXPECT_EQ(l[52], "0");
    EXPECT_EQ(l[53], "Fin$");
}

TEST_F(FicheroConfigTest, EveryChannelKindRoundTrips)
{
    TConfigES c;
    TOperaciones ops;
    Llenar(c, ops);
    const QByteArray texto = fichero.Texto(c, ops);
    const auto l = Lineas(texto);
    EXPECT_EQ(l[0], "TRUE");
    EXPECT_EQ(l[1], "2.5 0.1 microsegundos 1.5 horas 1500$");
    EXPECT_EQ(l[21], "InAnaC2 true 2 Diferencial 02V 2.5 mA$");

    TConfigES d;
    TOperaciones ops2;
    ASSERT_TRUE(Leer(texto, d, ops2));
    EXPECT_TRUE(inter.mensajes.empty());
    EXPECT_EQ(fichero.Texto(d, ops2), texto);
    EXPECT_TRUE(d.Rapida);
    EXPECT_EQ(d.UnidadPeriodo, Unidad::Micro);
    EXPECT_EQ(d.UnidadAnalisis, Unidad::Hora);
    EXPECT_EQ(d.EntDig(3).Nombre, "Puerta");
    EXPECT_TRUE(d.EntAna(2).Diferencial);
    EXPECT_EQ(d.EntAna(2).Rango, 5);
    EXPECT_EQ(d.EntAna(3).Rango, 4);
    EXPECT_EQ(d.EntAna(2).Factor, 2.5f);
    ASSERT_TRUE(d.SalDig(1).Generador);
    EXPECT_EQ(d.SalDig(1).Generador->Tipo(), "Tren");
    // Table generators load their tables on the way in.
    auto* ta = dynamic_cast<TGenTablaAna*>(d.SalAna(4).Generador.get());
    ASSERT_NE(ta, nullptr);
    EXPECT_EQ(ta->Valores, (std::vector<float>{1.5f, -2.0f}));
    auto* td = dynamic_cast<TGenTablaDig*>(d.SalDig(3).Generador.get());
    ASSERT_NE(td, nullptr);
    EXPECT_EQ(td->NumValores, 3);
    ASSERT_EQ(ops2.ListaOpAna.size(), 2u);
    EXPECT_EQ(ops2.ListaOpAna[0].FrecAlta, 400);
    EXPECT_EQ(ops2.ListaOpAna[1].Constante1, 3.142f);
    ASSERT_EQ(ops2.ListaOpDig.size(), 1u);
    EXPECT_EQ(ops2.ListaOpDig[0].Operando2, 17);
    EXPECT_GT(inter.ocupado, 0);

    // A sine written elsewhere beyond the +-10 V of its output: read as written, and
    // the user is told the unit would clip it (once, naming the output).
    c.SalAna(1).Nombre = "Fuerte";
    c.SalAna(1).Generador = std::make_unique<TGenSeno>(textos, "milisegundos", "segundos", 0.001f, 0.5f, 50, 9, 4);
    TConfigES e;
    TOperaciones ops3;
    ASSERT_TRUE(Leer(fichero.Texto(c, ops), e, ops3));
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(inter.mensajes[0].texto, "T326 (Fuerte) T325");
    EXPECT_EQ(fichero.Texto(e, ops3), fichero.Texto(c, ops));
}

TEST_F(FicheroConfigTest, LargestSingleFactorReadsBack)
{
    TConfigES c;
    TOperaciones ops;
    c.EntAna(1).Factor = std::numeric_limits<float>::max();
    c.EntAna(2).Factor = -std::numeric_limits<float>::max();
    const QByteArray texto = fichero.Texto(c, ops);
    TConfigES d;
    TOperaciones ops2;
    ASSERT_TRUE(Leer(texto, d, ops2));
    EXPECT_TRUE(inter.mensajes.empty());
    EXPECT_EQ(d.EntAna(1).Factor, std::numeric_limits<float>::max());
    EXPECT_EQ(d.EntAna(2).Factor, -std::numeric_limits<float>::max());
}

TEST_F(FicheroConfigTest, WritesAndReadsFiles)
{
    TConfigES c;
    TOperaciones ops;
    Llenar(c, ops);
    const QString ruta = dir.filePath("c.cfg");
    fichero.EscribirConfiguracion(ruta, c, ops);
    TConfigES d;
    TOperaciones ops2;
    ASSERT_TRUE(fichero.LeerConfiguracion(ruta, d, ops2));
    EXPECT_EQ(fichero.Texto(d, ops2), fichero.Texto(c, ops));
    EXPECT_THROW(fichero.LeerConfiguracion(dir.filePath("no.cfg"), d, ops2), EErrorModelo);
    EXPECT_THROW(fichero.EscribirConfiguracion(dir.filePath("no/c.cfg"), c, ops), EErrorModelo);
}

TEST_F(FicheroConfigTest, UnitWordsOfAnotherLanguageKeepMilliseconds)
{
    TConfigES c;
    TOperaciones ops;
    c.UnidadPeriodo = Unidad::Micro;
    c.UnidadAnalisis = Unidad::Hora;
    const QByteArray texto = fichero.Texto(c, ops);

    TTextosIngles ingles;
    TFicheroConfig otro(ingles, inter, dir.path());
    TConfigES d;
    TOperaciones ops2;
    ASSERT_TRUE(otro.LeerConfiguracionDatos(texto, d, ops2));
    EXPECT_EQ(d.UnidadPeriodo, Unidad::Mili);
    EXPECT_EQ(d.UnidadAnalisis, Unidad::Mili);
    EXPECT_TRUE(inter.mensajes.empty());
    // Written in that language, the words are its own and read back.
    d.UnidadPeriodo = Unidad::Segundo;
    d.UnidadAnalisis = Unidad::Minuto;
    const QByteArray en = otro.Texto(d, ops2);
    EXPECT_TRUE(Lineas(en)[1].contains("seconds"));
    TConfigES e;
    ASSERT_TRUE(otro.LeerConfiguracionDatos(en, e, ops2));
    EXPECT_EQ(e.UnidadPeriodo, Unidad::Segundo);
    EXPECT_EQ(e.UnidadAnalisis, Unidad::Minuto);
}

TEST_F(FicheroConfigTest, EachStageReportsItsOwnText)
{
    TConfigES c;
    TOperaciones ops;
    const auto base = Lineas(fichero.Texto(c, ops));
    struct Caso {
        int linea;
        QByteArray texto;
        QString clave;
    };
    const Caso casos[] = {
        {1, "x 1 milisegundos 1 milisegundos 10$", "T149"},
        {1, "0 1 milisegundos 1 milisegundos diez$", "T149"},
        {4, "In Dig2 false 2$", "T150"},      // a name with a space shifts the fields
        {21, "In AnaC2 false 2 Normal 10V 1 Voltios$", "T152"},
        {22, "InAnaD1 false 3 Normal 10V uno Voltios$", "T152"},
        {30, "Out DiW2 false 2 nil$", "T153"},
        {31, "OutDiW3 false 3 Cuadrada 1$", "T153"}, // unknown generator kind
        {47, "Out AnY2 false 2 nil$", "T154"},
        {48, "OutAnZ1 false 3 Seno segundos uno 0 1 0 0 segundos$", "T154"},
        // Numbers beyond single precision would come back as "INF": refused on the way in.
        {23, "InAnaD2 false 4 Normal 10V 1E300 Voltios$", "T152"},
        {49, "OutAnZ2 false 4 Seno segundos 1E300 0 1 0 0 segundos$", "T154"},
        {51, "1\r\nK * true 1E300 false 1 255 V$", "T155"},
        {51, "x", "T155"},
        {52, "1", "T155"}, // a digital operation announced but missing
    };
    for (const auto& caso : casos) {
        auto l = base;
        l[caso.linea] = caso.texto;
        TInteraccionGuion i;
        TFicheroConfig f(textos, i, dir.path());
        TConfigES d;
        TOperaciones o;
        EXPECT_FALSE(f.LeerConfiguracionDatos(Unir(l), d, o)) << caso.texto.constData();
        ASSERT_EQ(i.mensajes.size(), 1u) << caso.texto.constData();
        EXPECT_EQ(i.mensajes[0].sabor, TInteraccionGuion::Sabor::Aviso);
        EXPECT_EQ(i.mensajes[0].texto, caso.clave) << caso.texto.constData();
        EXPECT_EQ(i.mensajes[0].botones, Botones::Aceptar);
    }
    // A file cut short fails at the stage it stops in.
    TConfigES d;
    TOperaciones o;
    EXPECT_FALSE(Leer(Unir(base.mid(0, 25)), d, o));
    EXPECT_FALSE(Leer(QByteArray(), d, o));
    EXPECT_EQ(inter.Textos(), (QStringList{"T152", "T149"}));
}

TEST_F(FicheroConfigTest, MissingTableLeavesTheOutputInactiveAndReadingGoesOn)
{
    TConfigES c;
    TOperaciones ops;
    c.SalAna(2).Activo = true;
    c.SalAna(2).Generador = std::make_unique<TGenTablaAna>(textos, dir.filePath("falta.tba"), "segundos", 0.f);
    c.SalAna(3).Nombre = "Ultima";
    c.SalDig(5).Activo = true;
    c.SalDig(5).Generador = std::make_unique<TGenTablaDig>(textos, dir.filePath("falta2.tba"), "segundos", 0.f);
    ops.AnadirOpDig(TOperacion("1", 0, false, false, 0, 0, "Dig", "V", "N", "Not", "0"));
    TConfigES d;
    TOperaciones o;
    ASSERT_TRUE(Leer(fichero.Texto(c, ops), d, o));
    EXPECT_FALSE(d.SalAna(2).Activo);
    EXPECT_FALSE(d.SalAna(2).Generador);
    EXPECT_FALSE(d.SalDig(5).Activo);
    EXPECT_FALSE(d.SalDig(5).Generador);
    EXPECT_EQ(d.SalAna(3).Nombre, "Ultima");
    EXPECT_EQ(o.ListaOpDig.size(), 1u);
    ASSERT_EQ(inter.mensajes.size(), 2u);
    EXPECT_TRUE(inter.mensajes[0].texto.startsWith("T186")); // digital outputs come first
    EXPECT_TRUE(inter.mensajes[1].texto.startsWith("T184"));
    EXPECT_EQ(inter.mensajes[1].sabor, TInteraccionGuion::Sabor::Error);
}

TEST_F(FicheroConfigTest, ConfigurationOnlyIgnoresLineOneAndTheOperations)
{
    TConfigES c;
    TOperaciones ops;
    Llenar(c, ops);
    auto l = Lineas(fichero.Texto(c, ops));
    l[51] = "basura";
    auto d = fichero.LeerSoloConfiguracionDatos(Unir(l));
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->Rapida);
    EXPECT_TRUE(d->Igual(c));
    EXPECT_EQ(d->EntAna(2).Unidad, "mA");
    EXPECT_TRUE(inter.mensajes.empty());

    l[30] = "Out DiW2 false 2 nil$";
    EXPECT_EQ(fichero.LeerSoloConfiguracionDatos(Unir(l)), nullptr);
    EXPECT_EQ(inter.Textos(), QStringList{"T153"});
    EXPECT_THROW(fichero.LeerSoloConfiguracion(dir.filePath("no.cfg")), EErrorModelo);
}

#include "common/interaccion_guion.h"
#include "model/calculo.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/fft.h"
#include "model/lector_campos.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qv;
using qv::test::TInteraccionGuion;
using qv::test::TTextosFijos;

namespace {

std::unique_ptr<TSenalAna> Ana(TTextos& t, const QString& nombre, std::vector<float> m, double periodo = 1)
{
    auto s = std::make_unique<TSenalAna>(t, nombre, false, nullptr, nullptr, 0, periodo, std::uint16_t(m.size()));
    for (std::size_t i = 0; i < m.size(); ++i)
        s->PonerMuestra(int(i), m[i]);
    return s;
}

std::unique_ptr<TSenalDig> Dig(const QString& nombre, std::vector<std::uint8_t> m, double periodo = 1)
{
    auto s = std::make_unique<TSenalDig>(nombre, false, nullptr, nullptr, 0, periodo, std::uint16_t(m.size()));
    for (std::size_t i = 0; i < m.size(); ++i)
        s->PonerMuestra(int(i), m[i]);
    return s;
}

std::vector<float> Muestras(const TSenalAna& s) { return s.Muestras(); }
std::vector<std::uint8_t> Muestras(const TSenalDig& s) { return s.Muestras(); }

TOperacion OpAna(const QString& nombre, const QString& op, const QString& a, const QString& b, bool c1 = false,
                 bool c2 = false)
{
    return TOperacion(a, 255, c2, c1, 0, 0, "Ana", "Voltios", nombre, op, b);
}

TOperacion OpDig(const QString& nombre, const QString& op, int a, int b)
{
    return TOperacion(QString::number(a), 255, false, false, 0, 0, "Dig", "Voltios", nombre, op,
                      QString::number(b));
}

class CalculoTest : public ::testing::Test {
protected:
    TTextosFijos textos;
    TInteraccionGuion inter;
    TCalculo calculo{textos, inter};
};

} // namespace

TEST_F(CalculoTest, IntegralAndDerivativeEndWithZero)
{
    auto a = Ana(textos, "a", {0, 1, 2}, 1);
    auto i = calculo.Integral(*a);
    EXPECT_EQ(i->Nombre(), "Integral");
    EXPECT_EQ(Muestras(*i), (std::vector<float>{0.5f, 2.0f, 0.0f}));

    auto b = Ana(textos, "b", {0, 1, 4}, 0.5);
    auto d = calculo.Derivada(*b);
    EXPECT_EQ(d->Nombre(), "Derivada");
    EXPECT_EQ(d->Periodo(), 0.5);
    EXPECT_EQ(Muestras(*d), (std::vector<float>{2.0f, 6.0f, 0.0f}));

    // One sample: nothing to difference or sum, only the closing zero.
    EXPECT_EQ(Muestras(*calculo.Integral(*Ana(textos, "c", {7}))), std::vector<float>{0.0f});
    EXPECT_EQ(calculo.Derivada(*Ana(textos, "c", {}))->NumMuestras(), 0);
    // A zero period has no derivative.
    EXPECT_THROW(calculo.Derivada(*Ana(textos, "z", {1, 2}, 0)), EErrorCalculo);
}

TEST_F(CalculoTest, ArithmeticTakesTheShorterLengthAndTheFirstPeriod)
{
    std::vector<float> diez(10), ocho(8);
    for (int i = 0; i < 10; ++i)
        diez[std::size_t(i)] = float(i);
    for (int i = 0; i < 8; ++i)
        ocho[std::size_t(i)] = float(10 * i);
    auto a = Ana(textos, "a", diez, 0.25);
    auto b = Ana(textos, "b", ocho, 2);
    auto r = calculo.Operar(*a, *b, "+");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Nombre(), "Resultado");
    EXPECT_EQ(r->NumMuestras(), 8);
    EXPECT_EQ(r->Periodo(), 0.25);
    EXPECT_FLOAT_EQ(r->LeerMuestra(7), 77);
    EXPECT_FLOAT_EQ(calculo.Operar(*b, *a, "-")->LeerMuestra(3), 27);
    EXPECT_FLOAT_EQ(calculo.Operar(*a, *b, "*")->LeerMuestra(2), 40);
    EXPECT_EQ(calculo.Operar(*b, *a, "-")->Periodo(), 2);
    EXPECT_THROW(calculo.Operar(*a, *b, "%"), EErrorCalculo);
}

TEST_F(CalculoTest, ConstantsOnEitherSide)
{
    auto a = Ana(textos, "a", {1, 2, 4});
    EXPECT_EQ(Muestras(*calculo.OperarConstante(*a, 10, false, "-")), (std::vector<float>{-9, -8, -6}));
    EXPECT_EQ(Muestras(*calculo.OperarConstante(*a, 10, true, "-")), (std::vector<float>{9, 8, 6}));
    EXPECT_EQ(Muestras(*calculo.OperarConstante(*a, 8, true, "/")), (std::vector<float>{8, 4, 2}));
    EXPECT_EQ(Muestras(*calculo.OperarConstante(*a, 4, false, "/")), (std::vector<float>{0.25f, 0.5f, 1}));
    EXPECT_EQ(Muestras(*calculo.OperarConstante(*a, 0.5f, true, "*")), (std::vector<float>{0.5f, 1, 2}));
    EXPECT_EQ(Muestras(*calculo.OperarConstante(*a, 1, true, "+")), (std::vector<float>{2, 3, 5}));
    EXPECT_TRUE(inter.mensajes.empty());
}

TEST_F(CalculoTest, QuotientFailures)
{
    auto a = Ana(textos, "a", {1, 2, 3});
    auto conCero = Ana(textos, "b", {1, 0, 3});
    EXPECT_EQ(calculo.Operar(*a, *conCero, "/"), nullptr);
    EXPECT_EQ(calculo.OperarConstante(*conCero, 5, true, "/"), nullptr);
    ASSERT_EQ(inter.mensajes.size(), 2u);
    for (const auto& m : inter.mensajes) {
        EXPECT_EQ(m.sabor, TInteraccionGuion::Sabor::Aviso);
        EXPECT_EQ(m.texto, "T180");
        EXPECT_EQ(m.botones, Botones::Aceptar);
    }
    // A zero beyond the common length is never divided by.
    auto corta = Ana(textos, "c", {1, 2});
    auto ceroAlFinal = Ana(textos, "d", {1, 2, 0});
    EXPECT_NE(calculo.Operar(*corta, *ceroAlFinal, "/"), nullptr);
    // A constant divisor of 0 is an error for the caller, not a box.
    EXPECT_THROW(calculo.OperarConstante(*a, 0, false, "/"), EErrorCalculo);
    // So is a result a sample cannot hold.
    auto grande = Ana(textos, "g", {3e38f});
    EXPECT_THROW(calculo.OperarConstante(*grande, 10, false, "*"), EErrorCalculo);
    EXPECT_EQ(inter.mensajes.size(), 2u);
}

TEST_F(CalculoTest, LogicCountsOnlyOneAsTrue)
{
    auto a = Dig("a", {0, 1, 0, 1, 2, 2});
    auto b = Dig("b", {0, 0, 1, 1, 1, 0});
    using V = std::vector<std::uint8_t>;
    EXPECT_EQ(Muestras(*calculo.OperarDig(*a, *b, "Or")), (V{0, 1, 1, 1, 1, 0}));
    EXPECT_EQ(Muestras(*calculo.OperarDig(*a, *b, "And")), (V{0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(Muestras(*calculo.OperarDig(*a, *b, "Xor")), (V{0, 1, 1, 0, 1, 0}));
    EXPECT_EQ(Muestras(*calculo.OperarDig(*a, *b, "Nand")), (V{1, 1, 1, 0, 1, 1}));
    EXPECT_EQ(Muestras(*calculo.OperarDig(*a, *b, "Nor")), (V{1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Muestras(*calculo.OperarDig(*a, *b, "Xnor")), (V{1, 0, 0, 1, 0, 1}));
    EXPECT_EQ(Muestras(*calculo.Not(*a)), (V{1, 0, 1, 0, 1, 1}));
    EXPECT_EQ(calculo.OperarDig(*a, *Dig("c", {1, 1}), "And")->NumMuestras(), 2);
    EXPECT_THROW(calculo.OperarDig(*a, *b, "Not"), EErrorCalculo);
}

TEST_F(CalculoTest, OperationCopiesAndCalculadaFlag)
{
    auto a = Ana(textos, "a", {1, 2});
    a->Canal = 3;
    a->PonerDatosSenal("Amperios", 5, 2);
    const TOperacion op = OpAna("R", "+", "1", "2");
    auto conOp = calculo.Operar(*a, *a, "+", &op);
    ASSERT_NE(conOp->Operacion(), nullptr);
    EXPECT_EQ(conOp->Operacion()->NombreResultado, "R");
    EXPECT_FALSE(conOp->Calculada());
    EXPECT_TRUE(calculo.Operar(*a, *a, "+")->Calculada());

    // The calculator's copy leaves the capture data behind.
    auto copia = calculo.CopiaAna(*a);
    EXPECT_EQ(copia->Muestras(), a->Muestras());
    EXPECT_EQ(copia->Canal, 0);
    EXPECT_EQ(copia->Unidad, "Voltios");
    EXPECT_TRUE(calculo.CopiaDig(*Dig("d", {1, 0}))->Calculada());
}

TEST(RegistroOperacion, WritesAndReadsEveryField)
{
    TOperacion f("3", 2, false, false, 250.5, 12.25, "Ana", "mV", "Filt", "Filtro", "0");
    const QByteArray r = RegistroOperacion(f);
    EXPECT_EQ(r, "Filt Filtro 12.25 250.5 false 3 false 0 2 mV$");
    TLectorCampos l(r + "\r\n");
    const TOperacion g = LeerRegistroOperacion(l, true);
    EXPECT_EQ(g.NombreResultado, "Filt");
    EXPECT_EQ(g.Operador, "Filtro");
    EXPECT_EQ(g.FrecBaja, 12.25);
    EXPECT_EQ(g.FrecAlta, 250.5);
    EXPECT_EQ(g.Operando1, 3);
    EXPECT_EQ(g.TipoFiltro, 2);
    EXPECT_EQ(g.UnidadResultado, "mV");
    EXPECT_EQ(RegistroOperacion(g), r);

    // Constants keep 4 significant digits in the file, and that is what comes back.
    const TOperacion c = OpAna("K", "*", "0.123456", "2", true, false);
    const QByteArray rc = RegistroOperacion(c);
    EXPECT_EQ(rc, "K * true 0.1235 false 2 255 Voltios$");
    TLectorCampos lc(rc);
    const TOperacion k = LeerRegistroOperacion(lc, true);
    EXPECT_TRUE(k.EsConstante1);
    EXPECT_EQ(k.Constante1, 0.1235f);
    EXPECT_EQ(k.Operando2, 2);
}

// The 4-digit form of the largest floats (3.403E38) is beyond single precision; the
// record written for them must still read back, as the nearest 4-digit value below.
TEST(RegistroOperacion, LargestConstantsStayReadable)
{
    const TOperacion c = OpAna("K", "/", "3.4028E38", "-3.4028E38", true, true);
    ASSERT_TRUE(std::isfinite(c.Constante1));
    const QByteArray r = RegistroOperacion(c);
    EXPECT_EQ(r, "K / true 3.402E38 true -3.402E38 255 Voltios$");
    TLectorCampos l(r);
    const TOperacion k = LeerRegistroOperacion(l, true);
    EXPECT_EQ(k.Constante1, 3.402e38f);
    EXPECT_EQ(k.Constante2, -3.402e38f);
}

TEST(RegistroOperacion, DigitalRecordsIgnoreFlagsAndFilter)
{
    TLectorCampos l(QByteArray("X Or true 17 true 3 1 Voltios$"));
    const TOperacion d = LeerRegistroOperacion(l, false);
    EXPECT_FALSE(d.EsConstante1);
    EXPECT_FALSE(d.EsConstante2);
    EXPECT_EQ(d.Operando1, 17);
    EXPECT_EQ(d.Operando2, 3);
    EXPECT_EQ(d.TipoFiltro, TOperacion::SinFiltro);
    EXPECT_EQ(d.TipoSenal, "Dig");
}

TEST(RegistroOperacion, MalformedRecordsRaise)
{
    for (const char* texto : {"R + false x false 2 255 V$", "R + true 1.2.3 false 2 255 V$",
                              "R Filtro abc 1 false 1 false 0 1 V$", "R + false 1 false 2 999 V$",
                              "R + false 1", ""}) {
        TLectorCampos l{QByteArray(texto)};
        EXPECT_THROW(LeerRegistroOperacion(l, true), EErrorModelo) << texto;
    }
}

TEST(Operaciones, ListOperationsAndIndependentCopies)
{
    TOperaciones ops;
    EXPECT_TRUE(ops.Activas);
    ops.AnadirOpAna(OpAna("S", "+", "1", "2"));
    ops.AnadirOpAna(OpAna("S", "-", "1", "2"));
    ops.AnadirOpDig(OpDig("L", "Or", 1, 2));
    EXPECT_TRUE(ops.ExisteResultado("S"));
    EXPECT_TRUE(ops.ExisteResultado("L"));
    EXPECT_FALSE(ops.ExisteResultado("Q"));

    TOperaciones copia = ops;
    EXPECT_TRUE(ops.BorrarOpAna("S"));
    ASSERT_EQ(ops.ListaOpAna.size(), 1u);
    EXPECT_EQ(ops.ListaOpAna[0].Operador, "-"); // the first one went
    EXPECT_FALSE(ops.BorrarOpAna("L"));         // lists are searched separately
    EXPECT_TRUE(ops.BorrarOpDig("L"));
    EXPECT_EQ(copia.ListaOpAna.size(), 2u);
    EXPECT_EQ(copia.ListaOpDig.size(), 1u);

    // The operations part round-trips through its text.
    const QByteArray texto = copia.Escribir();
    EXPECT_EQ(texto, "2\r\nS + false 1 false 2 255 Voltios$\r\nS - false 1 false 2 255 Voltios$\r\n"
                     "1\r\nL Or false 1 false 2 255 Voltios$\r\n");
    TOperaciones leidas;
    TLectorCampos l(texto + "Fin$\r\n");
    leidas.Leer(l);
    EXPECT_EQ(leidas.Escribir(), texto);
}

namespace {

// A capture with analog inputs 1 and 2, and digital inputs 1 and 2.
class RecalcularTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        senales.AnadirAna(Ana(textos, config.EntAna(1).Nombre, {1, 2, 3, 4}, 0.5));
        senales.AnadirAna(Ana(textos, config.EntAna(2).Nombre, {2, 2, 0, 2}, 0.5));
        senales.AnadirDig(Dig(config.EntDig(1).Nombre, {0, 1, 1, 0}));
        senales.AnadirDig(Dig(config.EntDig(2).Nombre, {1, 1, 0, 0}));
    }
    void Recalcular() { ops.Recalcular(senales, config, fft, inter, textos); }

    TTextosFijos textos;
    TInteraccionGuion inter;
    TConfigES config;
    TFFT fft;
    TCjtSenales senales{textos, inter};
    TOperaciones ops;
};

} // namespace

TEST_F(RecalcularTest, ComputesInOrderAndSkipsMissingOperands)
{
    ops.AnadirOpAna(OpAna("Suma", "+", "1", "2"));
    ops.AnadirOpAna(OpAna("Falta", "+", "1", "3")); // input 3 was not captured
    ops.AnadirOpAna(OpAna("Int", "Integral", "1", "5"));  // operand 2 is not needed
    ops.AnadirOpAna(OpAna("Medio", "*", "0.5", "1", true, false));
    ops.AnadirOpDig(OpDig("O", "Or", 1, 2));
    ops.AnadirOpDig(OpDig("N", "Not", 2, 9));
    ops.AnadirOpDig(OpDig("Sin", "And", 1, 20));
    Recalcular();
    EXPECT_TRUE(inter.mensajes.empty());
    EXPECT_EQ(senales.NombresAna(), (QStringList{"Medio", "Int", "Suma", "InAnaC2", "InAnaC1"}));
    EXPECT_EQ(senales.NombresDig(), (QStringList{"N", "O", "InDigA2", "InDigA1"}));
    EXPECT_EQ(Muestras(*senales.BuscarAna("Suma")), (std::vector<float>{3, 4, 3, 6}));
    EXPECT_EQ(Muestras(*senales.BuscarAna("Medio")), (std::vector<float>{0.5f, 1, 1.5f, 2}));
    EXPECT_EQ(Muestras(*senales.BuscarDig("O")), (std::vector<std::uint8_t>{1, 1, 1, 0}));
    EXPECT_EQ(Muestras(*senales.BuscarDig("N")), (std::vector<std::uint8_t>{0, 0, 1, 1}));
    const TSenalAna* suma = senales.BuscarAna("Suma");
    ASSERT_NE(suma->Operacion(), nullptr);
    EXPECT_EQ(suma->Operacion()->Operador, "+");
    EXPECT_EQ(suma->Unidad, "Voltios");
    EXPECT_EQ(ops.ListaOpAna.size(), 4u); // the list itself is untouched
}

TEST_F(RecalcularTest, FailingQuotientStopsEveryLaterOperation)
{
    ops.AnadirOpAna(OpAna("Antes", "-", "1", "2"));
    ops.AnadirOpAna(OpAna("Cociente", "/", "1", "2")); // input 2 has a zero sample
    ops.AnadirOpAna(OpAna("Despues", "+", "1", "2"));
    ops.AnadirOpDig(OpDig("O", "Or", 1, 2));
    Recalcular();
    EXPECT_EQ(inter.Textos(), QStringList{"T180"});
    EXPECT_NE(senales.BuscarAna("Antes"), nullptr);
    EXPECT_EQ(senales.BuscarAna("Cociente"), nullptr);
    EXPECT_EQ(senales.BuscarAna("Despues"), nullptr);
    EXPECT_EQ(senales.BuscarDig("O"), nullptr);
}

TEST_F(RecalcularTest, ErrorsShowText183)
{
    ops.AnadirOpAna(OpAna("Cero", "/", "1", "0", false, true));
    ops.AnadirOpAna(OpAna("Luego", "+", "1", "2"));
    Recalcular();
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(inter.mensajes[0].sabor, TInteraccionGuion::Sabor::Error);
    EXPECT_EQ(inter.mensajes[0].texto, "T183");
    EXPECT_EQ(senales.BuscarAna("Luego"), nullptr);

    // A filter of a single-sample signal cannot be transformed.
    TCjtSenales uno(textos, inter);
    uno.AnadirAna(Ana(textos, config.EntAna(1).Nombre, {5}));
    TOperaciones f;
    f.AnadirOpAna(TOperacion("1", 1, false, false, 1, 0, "Ana", "V", "F", "Filtro", "0"));
    f.Recalcular(uno, config, fft, inter, textos);
    EXPECT_EQ(inter.Textos(), (QStringList{"T183", "T183"}));
    EXPECT_EQ(uno.NumAna(), 1);
}

TEST_F(RecalcularTest, InactiveListDoesNothingAndFilterUsesDurationOverPeriod)
{
    ops.AnadirOpAna(OpAna("Suma", "+", "1", "2"));
    ops.Activas = false;
    Recalcular();
    EXPECT_EQ(senales.NumAna(), 2);

    // Low-pass with the cut at 0 keeps the mean of input 1 (four samples: no padding).
    TOperaciones f;
    f.AnadirOpAna(TOperacion("1", 1, false, false, 0, 0, "Ana", "V", "Media", "Filtro", "0"));
    f.Recalcular(senales, config, fft, inter, textos);
    const TSenalAna* m = senales.BuscarAna("Media");
    ASSERT_NE(m, nullptr);
    for (float x : m->Muestras())
        EXPECT_NEAR(x, 2.5f, 1e-6);
    EXPECT_EQ(m->Operacion()->TipoFiltro, 1);
}

TEST_F(RecalcularTest, ResultNameClashAsksTheUser)
{
    ops.AnadirOpAna(OpAna("InAnaC1", "+", "1", "2"));
    inter.respuestas = {Respuesta::Sobreescribir};
    Recalcular();
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(inter.mensajes[0].botones, Botones::Conflicto);
    ASSERT_NE(senales.BuscarAna("InAnaC1"), nullptr);
    EXPECT_EQ(Muestras(*senales.BuscarAna("InAnaC1")), (std::vector<float>{3, 4, 3, 6}));
}

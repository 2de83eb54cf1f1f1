#include "common/interaccion_guion.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/formatos.h"
#include "model/operacion.h"

#include <gtest/gtest.h>

using namespace qv;
using qv::test::TTextosFijos;

TEST(ConfigES, DefaultChannels)
{
    TConfigES c;
    EXPECT_EQ(c.EntDig(1).Nombre, "InDigA1");
    EXPECT_EQ(c.EntDig(9).Nombre, "InDigB1");
    EXPECT_EQ(c.EntDig(16).Nombre, "InDigB8");
    EXPECT_EQ(c.EntDig(16).Numero, 16);
    EXPECT_EQ(c.EntAna(2).Nombre, "InAnaC2");
    EXPECT_EQ(c.EntAna(4).Nombre, "InAnaD2");
    EXPECT_EQ(c.EntAna(5).Nombre, "InAnE1");
    EXPECT_EQ(c.EntAna(8).Nombre, "InAnF2");
    EXPECT_EQ(c.EntAna(8).Numero, 8);
    EXPECT_EQ(c.SalDig(8).Nombre, "OutDiW8");
    EXPECT_EQ(c.SalDig(9).Nombre, "OutDiX1");
    EXPECT_EQ(c.SalAna(3).Nombre, "OutAnZ1");
    EXPECT_EQ(c.SalAna(4).Numero, 4);
    EXPECT_EQ(c.EntAna(1).Unidad, "Voltios");
    EXPECT_EQ(c.EntAna(1).Factor, 1.0f);
    EXPECT_EQ(c.UnidadPeriodo, 1);
    EXPECT_EQ(c.UnidadAnalisis, 1);
    EXPECT_EQ(c.NumMuestras, 0);
    EXPECT_FALSE(c.Rapida);
    EXPECT_FALSE(c.HaySalidasAna());
    EXPECT_FALSE(c.HaySalidasDig());
    EXPECT_THROW(c.EntAna(9), std::out_of_range);
}

TEST(ConfigES, CopiesOwnTheirGenerators)
{
    TTextosFijos textos;
    TConfigES a;
    a.SalAna(1).Generador = std::make_unique<TGenEscalon>(textos, "segundos", "segundos", 0, 5, 0);
    a.SalDig(3).Generador = std::make_unique<TGenPulso>(textos, 1, "segundos", "segundos", 2);
    a.SalDig(3).Activo = true;
    a.EntAna(2).Rango = 4;
    a.EntAna(2).Diferencial = true;
    a.EntAna(2).Unidad = "mA";
    TConfigES b(a);
    ASSERT_NE(b.SalAna(1).Generador, nullptr);
    EXPECT_NE(b.SalAna(1).Generador.get(), a.SalAna(1).Generador.get());
    dynamic_cast<TGenEscalon&>(*a.SalAna(1).Generador).Amplitud = 1;
    EXPECT_EQ(dynamic_cast<TGenEscalon&>(*b.SalAna(1).Generador).Amplitud, 5.0f);
    EXPECT_TRUE(b.SalDig(3).Activo);
    EXPECT_EQ(b.EntAna(2).Rango, 4);
    EXPECT_TRUE(b.EntAna(2).Diferencial);
    EXPECT_EQ(b.EntAna(2).Unidad, "mA");

    TConfigES c;
    c = a;
    a.SalDig(3).Generador.reset();
    ASSERT_NE(c.SalDig(3).Generador, nullptr);
    EXPECT_EQ(dynamic_cast<TGenPulso&>(*c.SalDig(3).Generador).Nivel, 1);
    c = c; // self-assignment keeps the generator
    EXPECT_NE(c.SalDig(3).Generador, nullptr);
}

TEST(ConfigES, IgualComparesTheTimeBaseOnly)
{
    TConfigES a, b;
    a.Periodo = b.Periodo = 2;
    a.TiempoAnalisis = b.TiempoAnalisis = 100;
    a.NumMuestras = b.NumMuestras = 51;
    b.Retardo = 30;
    b.EntDig(1).Nombre = "Otro";
    b.EntDig(1).Activo = true;
    EXPECT_TRUE(a.Igual(b));
    b.UnidadAnalisis = 2;
    EXPECT_FALSE(a.Igual(b));
    b.UnidadAnalisis = a.UnidadAnalisis;
    b.Periodo = 2.0000001;
    EXPECT_FALSE(a.Igual(b));
}

TEST(ConfigES, PeriodInSeconds)
{
    TConfigES c;
    c.Periodo = 250;
    c.UnidadPeriodo = 0;
    EXPECT_DOUBLE_EQ(c.PeriodoSegundos(), 250e-6);
    c.UnidadPeriodo = 1;
    EXPECT_DOUBLE_EQ(c.PeriodoSegundos(), 0.25);
    c.UnidadPeriodo = 2;
    EXPECT_DOUBLE_EQ(c.PeriodoSegundos(), 250);
    c.UnidadPeriodo = 3;
    EXPECT_DOUBLE_EQ(c.PeriodoSegundos(), 15000);
}

TEST(ConfigES, ChannelNamesByOperandNumber)
{
    TConfigES c;
    c.SalAna(2).Nombre = "Motor";
    EXPECT_EQ(c.NombreCanalAna(10), "Motor");
    EXPECT_EQ(c.NombreCanalAna(8), "InAnF2");
    EXPECT_EQ(c.NombreCanalAna(0), "");
    EXPECT_EQ(c.NombreCanalAna(13), "");
    EXPECT_EQ(c.NombreCanalDig(16), "InDigB8");
    EXPECT_EQ(c.NombreCanalDig(17), "OutDiW1");
    EXPECT_EQ(c.NombreCanalDig(32), "OutDiX8");
    EXPECT_EQ(c.NombreCanalDig(33), "");
    EXPECT_EQ(c.NombreCanalDig(-1), "");
}

TEST(ConfigES, DigitalLetters)
{
    TConfigES c;
    TLetras l = c.LetrasEntDig();
    EXPECT_EQ(l.texto, "");
    EXPECT_EQ(l.cuenta, 0);
    EXPECT_FALSE(l.alguna);
    EXPECT_FALSE(c.LetrasEntAna().alguna);
    c.EntDig(12).Activo = true;
    l = c.LetrasEntDig();
    EXPECT_EQ(l.texto, "b,");
    EXPECT_EQ(l.cuenta, 1);
    c.EntDig(8).Activo = true;
    EXPECT_EQ(c.LetrasEntDig().texto, "a,b,");
    EXPECT_EQ(c.LetrasEntDig().cuenta, 2);
    c.SalDig(1).Activo = true;
    c.SalDig(16).Activo = true;
    EXPECT_EQ(c.LetrasSalDig().texto, "u,v,");
    EXPECT_TRUE(c.HaySalidasDig());
    c.SalAna(2).Activo = true;
    c.SalAna(4).Activo = true;
    l = c.LetrasSalAna();
    EXPECT_EQ(l.texto, "x,z,");
    EXPECT_EQ(l.cuenta, 2);
    EXPECT_TRUE(c.HaySalidasAna());
}

TEST(ConfigES, AnalogLettersAndRanges)
{
    TConfigES c;
    c.EntAna(1).Activo = c.EntAna(2).Activo = true;
    c.EntAna(1).Rango = 3;
    c.EntAna(2).Rango = 5;
    EXPECT_EQ(c.LetrasEntAna().texto, "c,d,");
    EXPECT_EQ(c.RangosEntAna(), ",c,3,d,5");

    c.EntAna(1).Diferencial = true;
    EXPECT_EQ(c.LetrasEntAna().texto, "k,d,");
    EXPECT_EQ(c.RangosEntAna(), ",k,3,d,5");

    c.EntAna(2).Diferencial = true;
    EXPECT_EQ(c.LetrasEntAna().texto, "k,d,");
    EXPECT_EQ(c.RangosEntAna(), ",k,3,5");

    TConfigES d;
    for (int i : {3, 6, 7, 8})
        d.EntAna(i).Activo = true;
    d.EntAna(7).Diferencial = true;
    const TLetras l = d.LetrasEntAna();
    EXPECT_EQ(l.texto, "e,h,n,j,");
    EXPECT_EQ(l.cuenta, 4);
    EXPECT_EQ(d.RangosEntAna(), ",e,0,h,0,n,0,j,0");
}

TEST(ConfigES, RangesResolution)
{
    EXPECT_EQ(ResolucionRango(0), 0.0048828125f);
    EXPECT_EQ(ResolucionRango(1), 0.00244140625f);
    EXPECT_EQ(ResolucionRango(2), 0.0009765625f);
    EXPECT_EQ(ResolucionRango(3), 0.00048828125f);
    EXPECT_EQ(ResolucionRango(4), 0.000244140625f);
    EXPECT_EQ(ResolucionRango(5), float(0.4 / 4096));
    EXPECT_EQ(ResolucionRango(6), 0.0f);
    EXPECT_EQ(ResolucionRango(-1), 0.0f);
    EXPECT_EQ(FondoEscalaRango(4), 0.5f);
    EXPECT_EQ(TokenRango(4), "05V");
    EXPECT_EQ(TokenRango(5), "02V");
    EXPECT_EQ(TokenRango(7), "");
}

TEST(ConfigES, CaptureSnapshot)
{
    TConfigES c;
    c.NumMuestras = 1001;
    c.EntDig(3).Activo = true;
    c.EntAna(1).Activo = true;
    c.EntAna(8).Activo = true;
    TDescriptorCaptura d;
    d.GrupoActivo.fill(1);
    d.EntradaDigital.fill(1);
    c.LlenarDescriptor(d);
    EXPECT_EQ(d.Progreso, 1001);
    EXPECT_EQ(d.GrupoActivo[0], 1);
    EXPECT_EQ(d.GrupoActivo[1], 0);
    EXPECT_EQ(d.GrupoActivo[2], 1);
    for (int i = 3; i <= 8; ++i)
        EXPECT_EQ(d.GrupoActivo[i], 0) << i;
    EXPECT_EQ(d.GrupoActivo[9], 1);
    for (int i = 1; i <= 16; ++i)
        EXPECT_EQ(d.EntradaDigital[i], i == 3 ? 1 : 0) << i;
}

TEST(Operacion, ConstructionFromTextsAndFormula)
{
    TConfigES c;
    c.EntAna(1).Nombre = "V1";
    c.SalAna(1).Nombre = "Gen";
    TOperacion suma("1", 2, false, false, 100, 10, "Ana", "V", "S", "+", "9");
    EXPECT_EQ(suma.Operando1, 1);
    EXPECT_EQ(suma.Operando2, 9);
    EXPECT_EQ(suma.TipoFiltro, TOperacion::SinFiltro); // only filters keep it
    EXPECT_EQ(suma.FrecAlta, 0.0);
    EXPECT_EQ(suma.Formula(c), "(V1 + Gen)");

    TOperacion cte("2.5", 0, false, true, 0, 0, "Ana", "V", "K", "-", "12");
    EXPECT_TRUE(cte.EsConstante1);
    EXPECT_FALSE(cte.EsConstante2);
    EXPECT_EQ(cte.Constante1, 2.5f);
    EXPECT_EQ(cte.Formula(c), "(2.5 - OutAnZ2)");
    TOperacion k("1", 0, true, false, 0, 0, "Ana", "V", "K", "/", "3.14159");
    EXPECT_FLOAT_EQ(k.Constante2, 3.14159f);
    EXPECT_EQ(k.Formula(c), "(V1 / 3.142)");
    EXPECT_EQ(k.TextoOperando1(), "1");
    EXPECT_EQ(float(*LeerReal(k.TextoOperando2())), k.Constante2);

    TOperacion f("1", 1, false, false, 200, 20, "Ana", "V", "F", "Filtro", "0");
    EXPECT_EQ(f.TipoFiltro, 1);
    EXPECT_EQ(f.FrecBaja, 20.0);
    EXPECT_EQ(f.FrecAlta, 200.0);
    EXPECT_EQ(f.Formula(c), "Filtro(V1)");
    EXPECT_EQ(TOperacion("1", 0, false, false, 0, 0, "Ana", "V", "D", "Derivada", "0").Formula(c), "d/(V1)dt");
    EXPECT_EQ(TOperacion("1", 0, false, false, 0, 0, "Ana", "V", "I", "Integral", "0").Formula(c), "f(V1)dx");

    EXPECT_EQ(TOperacion("1", 0, false, false, 0, 0, "Dig", "", "X", "Xnor", "17").Formula(c), "(InDigA1 XNOR OutDiW1)");
    EXPECT_EQ(TOperacion("2", 0, false, false, 0, 0, "Dig", "", "N", "Not", "0").Formula(c), "NOT(InDigA2)");
    EXPECT_EQ(TOperacion("2", 0, false, false, 0, 0, "Dig", "", "N", "Nand", "3").Formula(c), "(InDigA2 NAND InDigA3)");

    EXPECT_THROW(TOperacion("x", 0, false, false, 0, 0, "Ana", "V", "E", "+", "1"), EErrorFormato);
    EXPECT_THROW(TOperacion("1", 0, true, false, 0, 0, "Ana", "V", "E", "+", "1,5"), EErrorFormato);

    TOperacion copia(f);
    EXPECT_EQ(copia.NombreResultado, "F");
    EXPECT_EQ(copia.FrecAlta, 200.0);
}

#include "model/errores.h"
#include "model/lector_campos.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(LectorCampos, SplitsARecordOnSpacesAndDollar)
{
    TLectorCampos l("InAnaC1 false 1 Normal 10V 1 Voltios$\r\nInAnaC2 true 2$\r\n");
    EXPECT_EQ(l.LeerCampo(), "InAnaC1");
    EXPECT_EQ(l.LeerCampo(), "false");
    EXPECT_EQ(l.LeerCampoEntero(), 1);
    EXPECT_EQ(l.LeerCampo(), "Normal");
    EXPECT_EQ(l.LeerCampo(), "10V");
    EXPECT_EQ(l.LeerCampoReal(), 1.0);
    EXPECT_EQ(l.LeerCampo(' ', '$'), "Voltios");
    // The line end after the "$" is skipped before the next field.
    EXPECT_EQ(l.LeerCampo(), "InAnaC2");
    EXPECT_EQ(l.LeerCampo(), "true");
    EXPECT_EQ(l.LeerCampo('$', ' '), "2");
    EXPECT_EQ(l.LeerCampo(), "");
    EXPECT_TRUE(l.Fin());
}

TEST(LectorCampos, FieldEndedByCrConsumesItsLf)
{
    TLectorCampos l("abc\r\ndef");
    EXPECT_EQ(l.LeerCampo(), "abc");
    EXPECT_EQ(l.Posicion(), 5);
    EXPECT_EQ(l.LeerLinea(), "def");
    EXPECT_TRUE(l.Fin());
}

TEST(LectorCampos, LongFieldIsCutButConsumedWhole)
{
    const QByteArray largo(150, 'x');
    TLectorCampos l(largo + " siguiente");
    EXPECT_EQ(l.LeerCampo().size(), TLectorCampos::MaxCampo);
    EXPECT_EQ(l.LeerCampo(), "siguiente");
}

TEST(LectorCampos, LinesWithCrLfLfOrNothing)
{
    TLectorCampos l("uno\r\ndos\ntres\r\n\r\ncuatro");
    EXPECT_EQ(l.LeerLinea(), "uno");
    EXPECT_EQ(l.LeerLinea(), "dos");
    EXPECT_EQ(l.LeerLinea(), "tres");
    EXPECT_EQ(l.LeerLinea(), "");
    EXPECT_FALSE(l.Fin());
    EXPECT_EQ(l.LeerLinea(), "cuatro");
    EXPECT_TRUE(l.Fin());
    EXPECT_EQ(l.LeerLinea(), "");
}

TEST(LectorCampos, LatinOneBytesBecomeTheirCharacters)
{
    TLectorCampos l(QByteArray("Comienza\xF1" "a\r\n"));
    EXPECT_EQ(l.LeerLineaTexto(), QString::fromUtf8("Comienzaña"));
}

TEST(LectorCampos, NumbersOnLinesIgnoreTheRest)
{
    TLectorCampos l(" 1.00000000000000E+0001\r\n3 extra\r\nabc\r\n");
    EXPECT_EQ(l.LeerLineaReal(), 10.0);
    EXPECT_EQ(l.LeerLineaEntero(), 3);
    EXPECT_THROW(l.LeerLineaReal(), EErrorFormato);
    EXPECT_THROW(l.LeerLineaEntero(), EErrorFormato); // no line left
}

TEST(LectorCampos, BadNumericFieldsRaise)
{
    TLectorCampos l("1,5 x");
    EXPECT_THROW(l.LeerCampoReal(), EErrorFormato);
    EXPECT_THROW(l.LeerCampoEntero(), EErrorFormato);
    EXPECT_THROW(l.LeerCampoReal(), EErrorFormato); // at the end
}

TEST(LectorCampos, FileNameRunsToDollarKeepingBlanks)
{
    TLectorCampos l("  C:\\mis tablas\\tabla 1.tba$ resto\r\n$\r\nsiguiente");
    EXPECT_EQ(l.LeerHasta('$'), "C:\\mis tablas\\tabla 1.tba");
    EXPECT_EQ(l.LeerLinea(), " resto");
    // An empty name stays on its own line.
    EXPECT_EQ(l.LeerHasta('$'), "");
    EXPECT_EQ(l.LeerLinea(), "");
    EXPECT_EQ(l.LeerLinea(), "siguiente");
}

TEST(LectorCampos, PositionIsClamped)
{
    TLectorCampos l("abc");
    l.PonerPosicion(10);
    EXPECT_TRUE(l.Fin());
    l.PonerPosicion(-3);
    EXPECT_EQ(l.LeerCampo(), "abc");
}

#include "model/errores.h"
#include "model/formatos.h"

#include <gtest/gtest.h>
#include <cmath>
#include <random>

using namespace qv;

TEST(FormatoGeneral, ShortestFormWithUpTo15Digits)
{
    EXPECT_EQ(FormatoGeneral(0.0), "0");
    EXPECT_EQ(FormatoGeneral(-0.0), "0");
    EXPECT_EQ(FormatoGeneral(0.5), "0.5");
    EXPECT_EQ(FormatoGeneral(123.456), "123.456");
    EXPECT_EQ(FormatoGeneral(-2.5), "-2.5");
    EXPECT_EQ(FormatoGeneral(65535.0), "65535");
    EXPECT_EQ(FormatoGeneral(double(0.1f)), "0.100000001490116");
}

TEST(FormatoGeneral, ScientificBelow1EMinus4AndFrom15IntegerDigits)
{
    EXPECT_EQ(FormatoGeneral(1e-5), "1E-5");
    EXPECT_EQ(FormatoGeneral(5e-5), "5E-5");
    EXPECT_EQ(FormatoGeneral(-1.5e-7), "-1.5E-7");
    EXPECT_EQ(FormatoGeneral(0.0001), "0.0001");
    EXPECT_EQ(FormatoGeneral(1e14), "100000000000000");
    EXPECT_EQ(FormatoGeneral(1e15), "1E15");
    EXPECT_EQ(FormatoGeneral(2.5e20), "2.5E20");
    EXPECT_EQ(FormatoGeneral(double(5e-5f)), "4.99999987368938E-5");
}

TEST(FormatoGeneral, FourSignificantDigits)
{
    EXPECT_EQ(FormatoGeneral4(3.14159), "3.142");
    EXPECT_EQ(FormatoGeneral4(0.123456), "0.1235");
    EXPECT_EQ(FormatoGeneral4(1000), "1000");
    EXPECT_EQ(FormatoGeneral4(12346), "1.235E4");
    EXPECT_EQ(FormatoGeneral4(0.5), "0.5");
    EXPECT_EQ(FormatoGeneral4(9.99999), "10");
}

TEST(FormatoGeneral, NonFiniteValuesAreNotNumbersOnRereading)
{
    EXPECT_FALSE(LeerReal(FormatoGeneral(std::nan(""))));
    EXPECT_FALSE(LeerReal(FormatoGeneral(INFINITY)));
    EXPECT_FALSE(LeerReal(FormatoCientifico(-INFINITY)));
}

TEST(FormatoGeneral, FloatsSurviveTheRoundTrip)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> mantisa(-10.0f, 10.0f);
    std::uniform_int_distribution<int> exponente(-30, 30);
    for (int i = 0; i < 2000; ++i) {
        const float f = std::ldexp(mantisa(rng), exponente(rng));
        const auto g = LeerReal(FormatoGeneral(double(f)));
        ASSERT_TRUE(g) << f;
        EXPECT_EQ(float(*g), f) << FormatoGeneral(double(f)).toStdString();
        const auto c = LeerReal(FormatoCientifico(double(f)));
        ASSERT_TRUE(c);
        EXPECT_EQ(float(*c), f);
    }
}

TEST(FormatoFijo, ExactDecimalsWithoutNegativeZero)
{
    EXPECT_EQ(FormatoFijo(2.5, 2), "2.50");
    EXPECT_EQ(FormatoFijo(-1.25, 1), "-1.2"); // binary 1.25 is exact: ties go to even
    EXPECT_EQ(FormatoFijo(-0.001, 2), "0.00");
    EXPECT_EQ(FormatoFijo(-0.4, 0), "0");
    EXPECT_EQ(FormatoFijo(-10.0, 2), "-10.00");
    EXPECT_EQ(FormatoFijo(1234.5678, 0), "1235");
}

TEST(FormatoCientifico, TwentyThreeCharacterForm)
{
    EXPECT_EQ(FormatoCientifico(double(0.001f)), " 1.00000004749745E-0003");
    EXPECT_EQ(FormatoCientifico(-0.125), "-1.25000000000000E-0001");
    EXPECT_EQ(FormatoCientifico(0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatoCientifico(10.0), " 1.00000000000000E+0001");
    EXPECT_EQ(FormatoCientifico(double(0.1f)), " 1.00000001490116E-0001");
    EXPECT_EQ(FormatoCientifico(-1e-300), "-1.00000000000000E-0300");
    for (double v : {0.0, 1.0, -1.0, 1e300, -1e-300, 123.456, -9.99999999999999e99})
        EXPECT_EQ(FormatoCientifico(v).size(), 23) << v;
}

TEST(FormatoExportacion, EightSignificantDigitsThenFourDecimals)
{
    EXPECT_EQ(FormatoExportacion(0.5), "0.5000");
    EXPECT_EQ(FormatoExportacion(1.0), "1.0000");
    EXPECT_EQ(FormatoExportacion(-2.25), "-2.2500");
    EXPECT_EQ(FormatoExportacion(0.123456789), "0.1235");
    EXPECT_EQ(FormatoExportacion(123456.789), "123456.7900");
    EXPECT_EQ(FormatoExportacion(12345678.9), "12345679.0000");
    EXPECT_EQ(FormatoExportacion(-0.00001), "0.0000");
    EXPECT_EQ(FormatoExportacion(0.0), "0.0000");
    EXPECT_EQ(FormatoExportacion(double(0.1f)), "0.1000");
}

TEST(FormatoExportacion, ScientificBeyondEightIntegerDigits)
{
    EXPECT_EQ(FormatoExportacion(123456789.0), "1.2345679E+8");
    EXPECT_EQ(FormatoExportacion(-2e12), "-2E+12");
    EXPECT_EQ(FormatoExportacion(99999999.0), "99999999.0000");
    // Rounding to 8 digits can carry into a ninth integer digit.
    EXPECT_EQ(FormatoExportacion(99999999.6), "1E+8");
}

TEST(LeerReal, AcceptsDecimalRealsWithPointOnly)
{
    EXPECT_EQ(LeerReal(QByteArrayView("1.5")), 1.5);
    EXPECT_EQ(LeerReal(QByteArrayView("  -1.5  ")), -1.5);
    EXPECT_EQ(LeerReal(QByteArrayView("+2")), 2.0);
    EXPECT_EQ(LeerReal(QByteArrayView(".5")), 0.5);
    EXPECT_EQ(LeerReal(QByteArrayView("5.")), 5.0);
    EXPECT_EQ(LeerReal(QByteArrayView("1E-5")), 1e-5);
    EXPECT_EQ(LeerReal(QByteArrayView("2.5e+3")), 2500.0);
    EXPECT_EQ(LeerReal(QStringLiteral("0.1235")), 0.1235);
    EXPECT_EQ(LeerReal(QByteArrayView("1e-999")), 0.0); // underflow reads as 0
}

TEST(LeerReal, RejectsMalformedText)
{
    for (const char* malo : {"", " ", "-", ".", "1,5", "abc", "1.5x", "1e", "1e+", "inf", "nan", "0x10", "1e999",
                             "--1", "1 2"})
        EXPECT_FALSE(LeerReal(QByteArrayView(malo))) << malo;
    EXPECT_FALSE(LeerReal(QStringLiteral("1\u00e9")));
    EXPECT_THROW(RealOError("1,5"), EErrorFormato);
    EXPECT_EQ(RealOError(" 7.25"), 7.25);
}

TEST(LeerReal, PrefixFormIgnoresTheRest)
{
    EXPECT_EQ(LeerRealInicio("   2.5 V"), 2.5);
    EXPECT_EQ(LeerRealInicio("1e"), 1.0);
    EXPECT_EQ(LeerRealInicio("-3E2xyz"), -300.0);
    EXPECT_EQ(LeerRealInicio(" 1.00000004749745E-0003"), 1.00000004749745e-3);
    EXPECT_FALSE(LeerRealInicio("x1"));
    EXPECT_FALSE(LeerRealInicio(""));
}

TEST(LeerEntero, DecimalIntegersWithinRange)
{
    EXPECT_EQ(LeerEntero(QByteArrayView("42")), 42);
    EXPECT_EQ(LeerEntero(QByteArrayView(" -7 ")), -7);
    EXPECT_EQ(LeerEntero(QByteArrayView("+3")), 3);
    EXPECT_EQ(LeerEntero(QByteArrayView("-9223372036854775808")), std::numeric_limits<qint64>::min());
    for (const char* malo : {"", "-", "1.5", "12a", "9223372036854775808", "1e3", "0x1"})
        EXPECT_FALSE(LeerEntero(QByteArrayView(malo))) << malo;
    EXPECT_EQ(LeerEnteroInicio("12 resto"), 12);
    EXPECT_FALSE(LeerEnteroInicio("a12"));
    EXPECT_THROW(EnteroOError("x"), EErrorFormato);
}

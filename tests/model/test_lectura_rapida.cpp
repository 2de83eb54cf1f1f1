// The fast number reading of large files gives exactly the values of the full
// conversion: every real the signal files hold, and the decimal texts around the
// limits of the shortcut.
#include "model/escritura_segura.h"
#include "model/fichero_senales.h"
#include "model/formatos.h"
#include "model/lector_campos.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <charconv>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace qv {
namespace {

// The reference: the whole text through the standard conversion.
double Referencia(const QByteArray& t)
{
    const char* p = t.constData();
    while (*p == ' ')
        ++p;
    const bool negativo = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    double v = 0;
    std::from_chars(p, t.constData() + t.size(), v);
    return negativo ? -v : v;
}

bool MismosBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(LecturaRapida, LosRealesDeLosFicherosSonExactos)
{
    std::mt19937_64 azar(20240611);
    std::uniform_real_distribution<double> mantisa(-1, 1);
    std::uniform_int_distribution<int> exponente(-36, 36); // within float range
    for (int i = 0; i < 20000; ++i) {
        const double x = mantisa(azar) * std::pow(10.0, exponente(azar));
        const float f = float(x);
        for (double v : {x, double(f)}) {
            QByteArray t;
            AnadirCientifico(t, v);
            const auto leido = LeerReal(QByteArrayView(t));
            ASSERT_TRUE(leido) << t.constData();
            ASSERT_TRUE(MismosBits(*leido, Referencia(t))) << t.constData();
        }
        // A sample written and read back is the same float, by the quick form too.
        QByteArray t;
        AnadirCientifico(t, f);
        ASSERT_EQ(float(*LeerReal(QByteArrayView(t))), f) << t.constData();
        ASSERT_EQ(t.size(), 23);
        if (const auto rapido = LeerCientifico23(t.constData()))
            ASSERT_TRUE(MismosBits(*rapido, *LeerReal(QByteArrayView(t)))) << t.constData();
        else
            ASSERT_GT(std::abs(std::log10(std::abs(double(f)))), 7) << t.constData();
    }
}

TEST(LecturaRapida, LaFormaDe23CaracteresSoloCuandoLoEs)
{
    EXPECT_EQ(LeerCientifico23(" 1.00000004749745E-0003"), 1.00000004749745e-3);
    EXPECT_TRUE(std::signbit(*LeerCientifico23("-0.00000000000000E+0000")));
    EXPECT_EQ(LeerCientifico23(" 2.50000000000000e+0001"), 25.0);
    // Anything else is left to the general reader.
    for (const char* t : {"+1.00000000000000E+0000", "  1.0000000000000E+0000", " 1,00000000000000E+0000",
                          " 1.0000000000000xE+0000", " 1.00000000000000D+0000", " 1.00000000000000E 0000",
                          " 1.00000000000000E+00a0", " 1.00000000000000E+0040", " x.00000000000000E+0000"})
        EXPECT_FALSE(LeerCientifico23(t)) << t;

    // Line by line, the quick way and the general one read the same values and leave
    // the reader on the same next line.
    const QByteArray datos(" 1.25000000000000E+0000\r\n-3.00000000000000E-0002 resto\r\n 7.50000000000000E+0000\n"
                           " 1.00000000000000E+0040\r\n1\r\n12\r\n0");
    TLectorCampos l(datos);
    EXPECT_EQ(l.LeerLineaReal(), 1.25);
    EXPECT_EQ(l.LeerLineaReal(), -0.03);
    EXPECT_EQ(l.LeerLineaReal(), 7.5);
    EXPECT_EQ(l.LeerLineaReal(), 1e40);
    EXPECT_EQ(l.LeerLineaEntero(), 1);
    EXPECT_EQ(l.LeerLineaEntero(), 12);
    EXPECT_EQ(l.LeerLineaEntero(), 0);
    EXPECT_TRUE(l.Fin());
}

TEST(LecturaRapida, TextosEnLosLimitesDelAtajo)
{
    for (const char* t : {"0", "-0", "0.0", "00012.5000", ".5", "5.", "1e22", "1e23", "1e-22", "1e-23",
                          "9007199254740992", "9007199254740993", "9007199254740993e-3", "123456789012345678",
                          "1234567890123456789", "12345678901234567890", "0.000000000000000000000000001",
                          "4.9406564584124654e-324", "1.7976931348623157e308", " 1.00000004749745E-0003",
                          "-1.25000000000000E-0001", "2.2250738585072011e-308", "7e-1", "3.14159265358979E+0000"}) {
        const QByteArray texto(t);
        const auto v = LeerReal(QByteArrayView(texto));
        ASSERT_TRUE(v) << t;
        EXPECT_TRUE(MismosBits(*v, Referencia(texto))) << t;
    }
    EXPECT_TRUE(std::signbit(*LeerReal(QByteArrayView("-0.0"))));
    // Overflow stays refused, underflow reads as zero.
    EXPECT_FALSE(LeerReal(QByteArrayView("1e400")));
    EXPECT_EQ(*LeerReal(QByteArrayView("1e-400")), 0.0);
}

TEST(LecturaRapida, EnterosSinCopiaHastaLosLimites)
{
    EXPECT_EQ(LeerEnteroInicio("9223372036854775807 y mas"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(LeerEntero(QByteArrayView("-9223372036854775808")), std::numeric_limits<qint64>::min());
    EXPECT_FALSE(LeerEntero(QByteArrayView("-9223372036854775809")));
    EXPECT_FALSE(LeerEntero(QByteArrayView("18446744073709551616")));
    EXPECT_EQ(LeerEntero(QByteArrayView("-0")), 0);
    EXPECT_EQ(LeerEntero(QByteArrayView("+0012")), 12);
}

TEST(LecturaRapida, LineasVistasSinCopia)
{
    // CR LF, LF alone and CR alone end lines; the last line may lack its end.
    TLectorCampos l(QByteArray("uno\r\ndos\ntres\rcuatro"));
    EXPECT_EQ(l.LeerLineaVista(), QByteArrayView("uno"));
    EXPECT_EQ(l.LeerLineaVista(), QByteArrayView("dos"));
    EXPECT_EQ(l.LeerLineaVista(), QByteArrayView("tres"));
    EXPECT_EQ(l.LeerLineaVista(), QByteArrayView("cuatro"));
    EXPECT_TRUE(l.Fin());
    EXPECT_TRUE(l.LeerLineaVista().isEmpty());
}

TEST(LecturaRapida, FicheroGrandeEnteroEnMemoria)
{
    // Above a few megabytes the file goes into one buffer of its size.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray datos(5 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < datos.size(); ++i)
        datos[i] = char('a' + (i * 7919) % 26);
    const QString ruta = dir.filePath(QStringLiteral("grande.qvn"));
    ASSERT_TRUE(EscribirSeguro(ruta, datos));
    QByteArray leido;
    ASSERT_TRUE(LeerFicheroEntero(ruta, leido));
    EXPECT_EQ(leido, datos);
}

} // namespace
} // namespace qv

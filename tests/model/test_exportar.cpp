#include "common/interaccion_guion.h"
#include "model/escritura_segura.h"
#include "model/exportar.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace qv;
using qv::test::TInteraccionGuion;
using qv::test::TTextosFijos;

namespace {

class ExportarTest : public ::testing::Test {
protected:
    void Ana(const QString& nombre, std::vector<float> m, double periodo)
    {
        auto a = std::make_unique<TSenalAna>(textos, nombre, false, nullptr, nullptr, 0, periodo,
                                             std::uint16_t(m.size()));
        for (std::size_t i = 0; i < m.size(); ++i)
            a->PonerMuestra(int(i), m[i]);
        ASSERT_TRUE(senales.AnadirAna(std::move(a)));
    }
    void Dig(const QString& nombre, std::vector<std::uint8_t> m, double periodo)
    {
        auto d = std::make_unique<TSenalDig>(nombre, false, nullptr, nullptr, 0, periodo, std::uint16_t(m.size()));
        for (std::size_t i = 0; i < m.size(); ++i)
            d->PonerMuestra(int(i), m[i]);
        ASSERT_TRUE(senales.AnadirDig(std::move(d)));
    }

    TTextosFijos textos;
    TInteraccionGuion inter;
    TCjtSenales senales{textos, inter};
};

const QByteArray Titulo = "\r\n\r\n   T234\r\n\r\n";

} // namespace

TEST_F(ExportarTest, LayoutOfAllSignals)
{
    Dig("D", {1, 0, 1}, 0.5);
    Ana("Corta", {7, -1}, 0.5);
    Ana("V1", {1.5f, -2.25f, 123456789.0f}, 0.5); // newest analog: 3 rows at 0.5 s
    const QByteArray esperado = Titulo +
                                "         T235      T236        V1     Corta         D\r\n"
                                "            1    0.5000    1.5000    7.0000    1.0000\r\n"
                                "            2    1.0000   -2.2500   -1.0000    0.0000\r\n"
                                "            3    1.50001.2345679E+8              1.0000\r\n";
    EXPECT_EQ(ExportarTexto(senales), esperado);
}

TEST_F(ExportarTest, ChosenNamesInTheirOrder)
{
    Ana("Corta", {7, -1}, 0.5);
    Ana("V1", {1.5f, -2.25f, 4}, 0.5);
    Dig("D", {1, 0, 1}, 0.5);
    // Unknown names are left out; a short signal in the last column leaves no trailing blanks.
    const QByteArray esperado = Titulo +
                                "         T235      T236         D        V1     Corta\r\n"
                                "            1    0.5000    1.0000    1.5000    7.0000\r\n"
                                "            2    1.0000    0.0000   -2.2500   -1.0000\r\n"
                                "            3    1.5000    1.0000    4.0000\r\n";
    EXPECT_EQ(ExportarTexto(senales, {"D", "Nada", "V1", "Corta"}), esperado);
}

TEST_F(ExportarTest, WithoutAnalogSignalsTheNewestDigitalSetsTheRows)
{
    Dig("Vieja", {1, 1, 1, 1, 1}, 1);
    Dig("UnNombreLargo", {0, 1}, 0.1);
    const QByteArray esperado = Titulo +
                                "         T235      T236UnNombreLargo     Vieja\r\n"
                                "            1    0.1000    0.0000    1.0000\r\n"
                                "            2    0.2000    1.0000    1.0000\r\n";
    EXPECT_EQ(ExportarTexto(senales), esperado);

    TCjtSenales vacio(textos, inter);
    EXPECT_EQ(ExportarTexto(vacio), Titulo + "         T235      T236\r\n");
}

TEST_F(ExportarTest, WritesTheFile)
{
    Ana("V1", {1}, 2);
    QTemporaryDir dir;
    const QString ruta = dir.filePath("t.txt");
    ASSERT_TRUE(ExportarTextoFichero(senales, ruta));
    QByteArray d;
    ASSERT_TRUE(LeerFicheroEntero(ruta, d));
    EXPECT_EQ(d, ExportarTexto(senales));
    EXPECT_FALSE(ExportarTextoFichero(senales, dir.filePath("no/t.txt")));
}

TEST(FormatoTabla, FastCellMatchesTheFormattingModule)
{
    std::vector<double> v{0,        -0.0,       0.00005,    -0.00005,   0.00004999, -0.00004999, 0.99999995,
                          99999999.5, 99999999.4, 1e8,        -123456785, 123456789,  1.03125,     -1.03125,
                          0.000125, 1e-300,     -1e-300,    1.7e308,    2.5,        1234.56785};
    for (int e = -40; e <= 40; ++e)
        v.push_back(std::ldexp(1.0, e));
    std::uint64_t x = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 20000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        const double d = std::ldexp(double(x >> 11) / double(1ull << 53), int(x % 50) - 20) * ((x & 1) ? -1 : 1);
        v.push_back(double(float(d)));
        v.push_back(std::round(d * 1e5) / 1e5); // decimal values near the 4-decimal ties
    }
    for (double d : v) {
        QByteArray a;
        AnadirExportacion(a, d);
        ASSERT_EQ(a, FormatoExportacion(d).toLatin1()) << d;
    }
}

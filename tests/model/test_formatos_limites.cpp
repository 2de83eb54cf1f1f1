// Number texts at the edges of double precision: what a writer makes reads back.
#include "model/formatos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv {
namespace {

// Found by fuzzing: the largest doubles, rounded to 15, 8 or 4 digits, went past the
// largest double ("1.79769313486232E308") and their own files could not read them.
TEST(FormatosLimites, LosMayoresDoblesSeLeenDeNuevo)
{
    const double max = std::numeric_limits<double>::max();
    for (double v : {max, -max, std::nextafter(max, 0.0), 1.7976931348623e308, 9.9999999999999999e307}) {
        EXPECT_TRUE(LeerReal(FormatoGeneral(v, 1)).has_value()) << v;
        for (const QString& t : {FormatoGeneral(v), FormatoGeneral4(v), FormatoCientifico(v), FormatoExportacion(v)}) {
            const auto leido = LeerReal(t);
            ASSERT_TRUE(leido.has_value()) << t.toStdString();
            EXPECT_LE(std::abs(*leido - v), std::abs(v) * 1e-3) << t.toStdString();
        }
    }
    EXPECT_EQ(FormatoGeneral(max), QStringLiteral("1.79769313486231E308"));
    EXPECT_EQ(FormatoGeneral4(-max), QStringLiteral("-1.797E308"));
    EXPECT_EQ(FormatoCientifico(max), QStringLiteral(" 1.79769313486231E+0308"));
    // Away from the edge rounding stays to nearest.
    EXPECT_EQ(FormatoGeneral4(1.7976e300), QStringLiteral("1.798E300"));
    EXPECT_EQ(FormatoGeneral(max, 17), QStringLiteral("1.7976931348623157E308"));
}

} // namespace
} // namespace qv

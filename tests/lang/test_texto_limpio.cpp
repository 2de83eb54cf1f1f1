// Peer text made safe for a terminal, a window or a log.
#include "lang/texto_limpio.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(TextoLimpio, QuitaLosCaracteresDeControl)
{
    // An escape sequence loses its escape (it can no longer drive a terminal), and
    // so do BEL, CR, LF, DEL, the C1 CSI byte and bidirectional overrides.
    EXPECT_EQ(TextoLimpio(QByteArrayView("\x1b[2Jaula\x07\r\n\x7f")), QStringLiteral("[2Jaula"));
    EXPECT_EQ(TextoLimpio(QByteArrayView("a\x9b" "31mb")), QStringLiteral("a31mb"));
    EXPECT_EQ(TextoLimpio(QStringLiteral("PC\u202Egnp.exe")), QStringLiteral("PCgnp.exe"));
    // What is printable stays, Latin-1 letters included.
    EXPECT_EQ(TextoLimpio(QByteArrayView("Aula \xf1 1.21")), QStringLiteral("Aula \u00f1 1.21"));
    EXPECT_EQ(TextoLimpio(QStringLiteral("\u00e9\u4e2d")), QStringLiteral("\u00e9\u4e2d"));
    // Outside the basic plane too: a tag, a musical format mark, a noncharacter and
    // private use go; a lone surrogate half goes; an emoji stays.
    EXPECT_EQ(TextoLimpio(QStringLiteral("a\U000E0041b\U0001D173c\U0010FFFEd\U000F0000\uE000e")),
              QStringLiteral("abcde"));
    EXPECT_EQ(TextoLimpio(QString(QChar(0xD83D)) + QStringLiteral("x\U0001F600")), QStringLiteral("x\U0001F600"));
}

TEST(TextoLimpio, AcotaElLargo)
{
    const QByteArray largo(5 * 1024 * 1024, 'A');
    const QString r = TextoLimpio(QByteArrayView(largo));
    EXPECT_EQ(r.size(), LargoTextoAjeno);
    EXPECT_TRUE(r.endsWith(QStringLiteral("...")));
    EXPECT_EQ(TextoLimpio(QByteArrayView(largo), 10), QStringLiteral("AAAAAAA..."));
    // Exactly the bound is no cut; control characters do not count.
    EXPECT_EQ(TextoLimpio(QStringLiteral("0123456789"), 10), QStringLiteral("0123456789"));
    EXPECT_EQ(TextoLimpio(QStringLiteral("\x01" "0123456789\x02"), 10), QStringLiteral("0123456789"));
    // A character outside the basic plane is kept or cut whole.
    const QString cara = QStringLiteral("\U0001F600");
    EXPECT_EQ(TextoLimpio(cara + cara, 4), cara + cara);
    const QString cortado = TextoLimpio(QStringLiteral("abcde") + cara, 6);
    EXPECT_EQ(cortado, QStringLiteral("abc..."));
    const QString r2 = TextoLimpio(QStringLiteral("ab") + cara + QStringLiteral("cdef"), 5);
    EXPECT_EQ(r2, QStringLiteral("ab..."));
    EXPECT_TRUE(TextoLimpio(QString()).isEmpty());
    // Found by fuzzing: a pair that does not fit after a character that does left its
    // first half at the cut, and cleaning the result again changed it.
    const QString antes = QStringLiteral(",") + cara + QStringLiteral("?\uFFFD") + cara;
    const QString limpio = TextoLimpio(antes, 5);
    EXPECT_EQ(limpio, QStringLiteral(",..."));
    EXPECT_EQ(TextoLimpio(limpio, 5), limpio);
}

} // namespace
} // namespace qv

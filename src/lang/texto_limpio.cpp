#include "lang/texto_limpio.h"

#include <algorithm>

namespace qv {

namespace {

// By code point, so that a character outside the basic plane (a pair of surrogates)
// is judged by its own category, not by its halves.
bool Visible(char32_t u)
{
    if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
        return false;
    switch (QChar::category(u)) {
    case QChar::Other_Control:
    case QChar::Other_Format:      // bidirectional overrides, tags and other invisible marks
    case QChar::Other_Surrogate:   // never alone in sane text
    case QChar::Other_PrivateUse:  // no meaning outside the program that chose it
    case QChar::Other_NotAssigned: // noncharacters included
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}

} // namespace

QString TextoLimpio(const QString& texto, qsizetype maximo)
{
    static const QString Corte = QStringLiteral("...");
    maximo = std::max<qsizetype>(maximo, Corte.size());
    QString r;
    r.reserve(std::min(texto.size(), maximo));
    auto cortado = [&] {
        r.truncate(maximo - Corte.size());
        // Never leave half of a pair at the cut.
        if (!r.isEmpty() && r.back().isHighSurrogate())
            r.chop(1);
        return r + Corte;
    };
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        // A surrogate pair is one character, kept or dropped whole.
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto.at(i + 1).isLowSurrogate()) {
            const QChar bajo = texto.at(++i);
            if (!Visible(QChar::surrogateToUcs4(c, bajo)))
                continue;
            if (r.size() + 2 > maximo)
                return cortado();
            r += c;
            r += bajo;
            continue;
        }
        if (!Visible(c.unicode()))
            continue;
        if (r.size() == maximo)
            return cortado();
        r += c;
    }
    return r;
}

QString TextoLimpio(QByteArrayView latin1, qsizetype maximo)
{
    // Byte by byte, stopping once the text is known to be too long: a huge peer text
    // costs no huge copy.
    maximo = std::max<qsizetype>(maximo, 3);
    QString r;
    for (const char b : latin1) {
        const QChar c = QChar::fromLatin1(b);
        if (!Visible(c.unicode()))
            continue;
        if (r.size() == maximo) {
            r.truncate(maximo - 3);
            return r + QStringLiteral("...");
        }
        r += c;
    }
    return r;
}

} // namespace qv

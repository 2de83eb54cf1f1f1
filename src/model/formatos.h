#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Every number text of the program (files, screen, export) is made and read here,
// always with "." as the decimal separator whatever the locale.
namespace qv {

// General notation with up to `digitos` significant digits (1..17), shortest form:
// trailing zeros dropped, fixed notation while the decimal exponent is in
// -5 < e < digitos, otherwise d.dddE<exp> with an upper-case E, a "-" only for
// negative exponents and no leading zeros ("0", "0.5", "1E-5", "123.456", "1E15").
// Not-a-number and infinities give "NAN", "INF", "-INF".
QString FormatoGeneral(double valor, int digitos);

// General notation with up to 15 significant digits: records of files. A single
// precision value widened to double shows its exact digits (0.1f -> 0.100000001490116).
QString FormatoGeneral(double valor);

// General notation with 4 significant digits (3.14159 -> 3.142, 0.123456 -> 0.1235).
QString FormatoGeneral4(double valor);

// Fixed notation with exactly `decimales` decimals (0..17).
QString FormatoFijo(double valor, int decimales);

// The 23-character scientific form of signal files: sign position (blank or "-"),
// one digit, ".", 14 digits, "E", exponent sign, 4 exponent digits
// (" 1.00000004749745E-0003", "-1.25000000000000E-0001", " 0.00000000000000E+0000").
QString FormatoCientifico(double valor);

// The text table's notation: rounded to 8 significant digits, then exactly 4
// decimals; a value whose integer part has more than 8 digits is written as
// d.dddddddE+N (8 significant digits). Values that round to zero are "0.0000".
QString FormatoExportacion(double valor);

// Readers. A decimal real is: optional sign, digits with an optional "." and
// decimals (at least one digit in all), optional exponent E/e with optional sign
// and digits. Never throws.

// The whole text must be a real; blanks (space, tab) around it are allowed.
std::optional<double> LeerReal(QByteArrayView texto);
std::optional<double> LeerReal(const QString& texto);
// Leading blanks, then a real; whatever follows it is ignored.
std::optional<double> LeerRealInicio(QByteArrayView texto);

// The whole text must be a decimal integer (optional sign); blanks around it allowed.
// Fails on overflow of 64 bits.
std::optional<qint64> LeerEntero(QByteArrayView texto);
std::optional<qint64> LeerEntero(const QString& texto);
// Leading blanks, then an integer; whatever follows it is ignored.
std::optional<qint64> LeerEnteroInicio(QByteArrayView texto);

// The 23-character form of signal files, exactly ("[ -]d.ddddddddddddddE[+-]dddd"), at
// `p`, which must have 23 bytes: the value the readers above give for that text, or
// nothing when the text is not in that form or its value needs the full conversion.
// The quick way through the million samples of a large file.
std::optional<double> LeerCientifico23(const char* p);

// The same readers for callers that want an exception (EErrorFormato) on bad text.
double RealOError(QByteArrayView texto);
qint64 EnteroOError(QByteArrayView texto);

class TTextos;
// Readouts in the language's units, six significant digits: "1234.5 Hz", and a span of
// time "0.1 s - 0.3 s".
QString TextoFrecuencia(double hz, TTextos& textos);
QString TextoTramoSegundos(double desde, double hasta, TTextos& textos);

} // namespace qv

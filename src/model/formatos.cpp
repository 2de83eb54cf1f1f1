#include "model/formatos.h"

#include "model/errores.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {

// Significant digits and decimal exponent of a finite non-zero value, correctly
// rounded to `digitos` digits by printf (which ignores the locale for %E).
struct TDigitos {
    bool negativo = false;
    QByteArray cifras; // exactly `digitos` digits
    int exponente = 0; // value = d.ddd x 10^exponente
};

// The digits less one unit in the last place ("1798" -> "1797"); never called on zeros.
void RestarUnidad(QByteArray& cifras)
{
    for (qsizetype i = cifras.size() - 1; i >= 0; --i) {
        if (cifras[i] != '0') {
            --cifras[i];
            return;
        }
        cifras[i] = '9';
    }
}

TDigitos Descomponer(double valor, int digitos)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", digitos - 1, valor);
    // Rounding near the largest double can go past it ("1.798E308" of 1.7976931E308),
    // and such a text would not read back: those digits are rounded toward zero.
    const bool desborda = std::isinf(std::strtod(buf, nullptr));
    TDigitos d;
    const char* p = buf;
    if (*p == '-') {
        d.negativo = true;
        ++p;
    }
    for (; *p && *p != 'E'; ++p)
        if (*p >= '0' && *p <= '9')
            d.cifras += *p;
    if (*p == 'E')
        d.exponente = std::atoi(p + 1);
    if (desborda)
        RestarUnidad(d.cifras);
    return d;
}

QByteArray SinCerosFinales(QByteArray s)
{
    while (!s.isEmpty() && s.back() == '0')
        s.chop(1);
    return s;
}

QString NoFinito(double valor)
{
    if (std::isnan(valor))
        return QStringLiteral("NAN");
    return valor < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

bool EsBlanco(char c) { return c == ' ' || c == '\t'; }

// Longest decimal real at the start of [p, fin): returns its end (p when none).
const char* FinReal(const char* p, const char* fin, bool& exponenteNegativo)
{
    const char* q = p;
    exponenteNegativo = false;
    if (q < fin && (*q == '+' || *q == '-'))
        ++q;
    int cifras = 0;
    while (q < fin && *q >= '0' && *q <= '9') {
        ++q;
        ++cifras;
    }
    if (q < fin && *q == '.') {
        ++q;
        while (q < fin && *q >= '0' && *q <= '9') {
            ++q;
            ++cifras;
        }
    }
    if (cifras == 0)
        return p;
    if (q < fin && (*q == 'E' || *q == 'e')) {
        const char* r = q + 1;
        bool neg = false;
        if (r < fin && (*r == '+' || *r == '-')) {
            neg = *r == '-';
            ++r;
        }
        const char* inicio = r;
        while (r < fin && *r >= '0' && *r <= '9')
            ++r;
        if (r > inicio) {
            q = r;
            exponenteNegativo = neg;
        }
    }
    return q;
}

std::optional<double> ConvertirReal(const char* p, const char* fin, bool exponenteNegativo)
{
    bool negativo = false;
    if (*p == '+' || *p == '-') {
        negativo = *p == '-';
        ++p;
    }
    double v = 0;
    auto r = std::from_chars(p, fin, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        if (!exponenteNegativo)
            return std::nullopt;
        v = 0; // underflow
    } else if (r.ec != std::errc() || r.ptr != fin) {
        return std::nullopt;
    }
    return negativo ? -v : v;
}

std::optional<double> Real(QByteArrayView texto, bool entero)
{
    const char* p = texto.data();
    const char* fin = p + texto.size();
    while (p < fin && EsBlanco(*p))
        ++p;
    bool expNeg = false;
    const char* q = FinReal(p, fin, expNeg);
    if (q == p)
        return std::nullopt;
    if (entero) {
        const char* r = q;
        while (r < fin && EsBlanco(*r))
            ++r;
        if (r != fin)
            return std::nullopt;
    }
    return ConvertirReal(p, q, expNeg);
}

std::optional<qint64> Entero(QByteArrayView texto, bool entero)
{
    const char* p = texto.data();
    const char* fin = p + texto.size();
    while (p < fin && EsBlanco(*p))
        ++p;
    const char* q = p;
    bool negativo = false;
    if (q < fin && (*q == '+' || *q == '-')) {
        negativo = *q == '-';
        ++q;
    }
    const char* cifras = q;
    while (q < fin && *q >= '0' && *q <= '9')
        ++q;
    if (q == cifras)
        return std::nullopt;
    if (entero) {
        const char* r = q;
        while (r < fin && EsBlanco(*r))
            ++r;
        if (r != fin)
            return std::nullopt;
    }
    // Parse with the sign attached so that the most negative value fits.
    QByteArray s = (negativo ? QByteArray("-") : QByteArray()) + QByteArray(cifras, q - cifras);
    qint64 v = 0;
    auto r = std::from_chars(s.constData(), s.constData() + s.size(), v);
    if (r.ec != std::errc())
        return std::nullopt;
    return v;
}

} // namespace

QString FormatoGeneral(double valor, int digitos)
{
    if (!std::isfinite(valor))
        return NoFinito(valor);
    if (valor == 0)
        return QStringLiteral("0");
    digitos = std::clamp(digitos, 1, 17);
    const TDigitos d = Descomponer(valor, digitos);
    QByteArray s = d.negativo ? "-" : "";
    const int e = d.exponente;
    if (e > -5 && e < digitos) {
        if (e >= 0) {
            s += d.cifras.left(e + 1);
            const QByteArray decimales = SinCerosFinales(d.cifras.mid(e + 1));
            if (!decimales.isEmpty())
                s += '.' + decimales;
        } else {
            s += "0." + QByteArray(-e - 1, '0') + SinCerosFinales(d.cifras);
        }
    } else {
        s += d.cifras.left(1);
        const QByteArray decimales = SinCerosFinales(d.cifras.mid(1));
        if (!decimales.isEmpty())
            s += '.' + decimales;
        s += 'E' + QByteArray::number(e);
    }
    return QString::fromLatin1(s);
}

QString FormatoGeneral(double valor) { return FormatoGeneral(valor, 15); }

QString FormatoGeneral4(double valor) { return FormatoGeneral(valor, 4); }

QString FormatoFijo(double valor, int decimales)
{
    if (!std::isfinite(valor))
        return NoFinito(valor);
    decimales = std::clamp(decimales, 0, 17);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimales, valor);
    QByteArray s(buf);
    // A negative value that rounds to zero is written without its sign.
    if (s.startsWith('-') && s.count('0') == s.size() - 1 - (decimales > 0 ? 1 : 0))
        s.remove(0, 1);
    return QString::fromLatin1(s);
}

QString FormatoCientifico(double valor)
{
    if (!std::isfinite(valor))
        return NoFinito(valor).rightJustified(23, QLatin1Char(' '));
    if (valor == 0)
        return QStringLiteral(" 0.00000000000000E+0000");
    const TDigitos d = Descomponer(valor, 15);
    QByteArray s;
    s += d.negativo ? '-' : ' ';
    s += d.cifras.left(1) + '.' + d.cifras.mid(1) + 'E';
    s += d.exponente < 0 ? '-' : '+';
    s += QByteArray::number(std::abs(d.exponente)).rightJustified(4, '0');
    return QString::fromLatin1(s);
}

QString FormatoExportacion(double valor)
{
    if (!std::isfinite(valor))
        return NoFinito(valor);
    if (valor == 0)
        return QStringLiteral("0.0000");
    const TDigitos d = Descomponer(valor, 8);
    if (d.exponente >= 8) {
        QByteArray s = d.negativo ? "-" : "";
        s += d.cifras.left(1);
        const QByteArray decimales = SinCerosFinales(d.cifras.mid(1));
        if (!decimales.isEmpty())
            s += '.' + decimales;
        s += "E+" + QByteArray::number(d.exponente);
        return QString::fromLatin1(s);
    }
    // Back to a number with the 8 digits, then 4 decimals.
    QByteArray texto = (d.negativo ? "-" : "") + d.cifras.left(1) + '.' + d.cifras.mid(1) + 'E'
                       + QByteArray::number(d.exponente);
    const double redondeado = Real(texto, true).value_or(valor);
    return FormatoFijo(redondeado, 4);
}

std::optional<double> LeerReal(QByteArrayView texto) { return Real(texto, true); }

std::optional<double> LeerReal(const QString& texto) { return Real(texto.toLatin1(), true); }

std::optional<double> LeerRealInicio(QByteArrayView texto) { return Real(texto, false); }

std::optional<qint64> LeerEntero(QByteArrayView texto) { return Entero(texto, true); }

std::optional<qint64> LeerEntero(const QString& texto) { return Entero(texto.toLatin1(), true); }

std::optional<qint64> LeerEnteroInicio(QByteArrayView texto) { return Entero(texto, false); }

double RealOError(QByteArrayView texto)
{
    if (auto v = LeerReal(texto))
        return *v;
    throw EErrorFormato(QStringLiteral("Numero real no valido: \"%1\"")
                            .arg(QString::fromLatin1(texto.data(), texto.size())));
}

qint64 EnteroOError(QByteArrayView texto)
{
    if (auto v = LeerEntero(texto))
        return *v;
    throw EErrorFormato(QStringLiteral("Numero entero no valido: \"%1\"")
                            .arg(QString::fromLatin1(texto.data(), texto.size())));
}

} // namespace qv

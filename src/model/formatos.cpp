#include "model/formatos.h"

#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/errores.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

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

bool EsCifra(char c) { return c >= '0' && c <= '9'; }

// One pass over the longest decimal real at the start of [p, fin): where it ends
// (p when there is none), whether its exponent is negative, and its value when
// Clinger's fast path applies: a mantissa below 2^53 times or over an exactly
// representable power of ten is one correctly rounded operation, the very result of
// the full conversion. The samples of signal files (15 digits, small exponents) all
// take it; anything else is converted in full.
struct TEscaneoReal {
    const char* fin;
    bool exponenteNegativo = false;
    bool rapido = false;
    double valor = 0;
};

TEscaneoReal EscanearReal(const char* p, const char* fin)
{
    static constexpr double potencias[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    TEscaneoReal r{p};
    const char* q = p;
    bool negativo = false;
    if (q < fin && (*q == '+' || *q == '-'))
        negativo = *q++ == '-';
    std::uint64_t m = 0;
    int tomadas = 0;   // significant digits taken into m
    int exponente = 0; // decimal exponent of m's last digit
    bool exacto = true;
    int cifras = 0;
    auto cifra = [&](int d, bool fraccion) {
        ++cifras;
        if (m == 0 && d == 0) {
            exponente -= fraccion; // a leading zero only moves the point
        } else if (tomadas < 19) {
            m = m * 10 + std::uint64_t(d);
            ++tomadas;
            exponente -= fraccion;
        } else {
            exacto = false; // more digits than the mantissa holds
        }
    };
    for (; q < fin && EsCifra(*q); ++q)
        cifra(*q - '0', false);
    if (q < fin && *q == '.')
        for (++q; q < fin && EsCifra(*q); ++q)
            cifra(*q - '0', true);
    if (cifras == 0)
        return r;
    if (q < fin && (*q == 'E' || *q == 'e')) {
        const char* e = q + 1;
        bool menos = false;
        if (e < fin && (*e == '+' || *e == '-'))
            menos = *e++ == '-';
        const char* inicio = e;
        int valor = 0;
        for (; e < fin && EsCifra(*e); ++e)
            if (valor < 100000)
                valor = valor * 10 + (*e - '0');
        if (e > inicio) {
            q = e;
            r.exponenteNegativo = menos;
            exponente += menos ? -valor : valor;
        }
    }
    r.fin = q;
    if (!exacto)
        return r;
    if (m == 0) {
        r.rapido = true;
        r.valor = negativo ? -0.0 : 0.0;
    } else if (m <= (std::uint64_t(1) << 53) && exponente >= -22 && exponente <= 22) {
        const double x = exponente < 0 ? double(m) / potencias[-exponente] : double(m) * potencias[exponente];
        r.rapido = true;
        r.valor = negativo ? -x : x;
    }
    return r;
}

// Eight ASCII digits in one 64-bit word: all of them digits, and their value.
bool OchoCifras(std::uint64_t v)
{
    return ((v & 0xF0F0F0F0F0F0F0F0) | (((v + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4))
           == 0x3333333333333333;
}

std::uint32_t ValorOchoCifras(std::uint64_t v)
{
    constexpr std::uint64_t mascara = 0x000000FF000000FF;
    constexpr std::uint64_t mul1 = 0x000F424000000064; // 100 + (1000000 << 32)
    constexpr std::uint64_t mul2 = 0x0000271000000001; // 1 + (10000 << 32)
    v -= 0x3030303030303030;
    v = (v * 10) + (v >> 8);
    v = (((v & mascara) * mul1) + (((v >> 16) & mascara) * mul2)) >> 32;
    return std::uint32_t(v);
}

std::uint64_t Palabra(const char* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    return v;
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
    const TEscaneoReal e = EscanearReal(p, fin);
    if (e.fin == p)
        return std::nullopt;
    if (entero) {
        const char* r = e.fin;
        while (r < fin && EsBlanco(*r))
            ++r;
        if (r != fin)
            return std::nullopt;
    }
    if (e.rapido)
        return e.valor;
    return ConvertirReal(p, e.fin, e.exponenteNegativo);
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
    // The magnitude as unsigned, so that the most negative value fits too.
    quint64 m = 0;
    const auto r = std::from_chars(cifras, q, m);
    if (r.ec != std::errc())
        return std::nullopt;
    constexpr quint64 maximo = quint64(std::numeric_limits<qint64>::max());
    if (m > maximo + (negativo ? 1 : 0))
        return std::nullopt;
    return negativo ? qint64(0 - m) : qint64(m);
}

} // namespace

std::optional<double> LeerCientifico23(const char* p)
{
    static constexpr double potencias[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if ((p[0] != ' ' && p[0] != '-') || !EsCifra(p[1]) || p[2] != '.' || (p[17] != 'E' && p[17] != 'e')
        || (p[18] != '+' && p[18] != '-'))
        return std::nullopt;
    // Digits 3..10 and 9..16: the second word's last six are digits 11..16.
    const std::uint64_t a = Palabra(p + 3);
    const std::uint64_t b = Palabra(p + 9);
    if (!OchoCifras(a) || !OchoCifras(b))
        return std::nullopt;
    int e = 0;
    for (int i = 19; i < 23; ++i) {
        if (!EsCifra(p[i]))
            return std::nullopt;
        e = e * 10 + (p[i] - '0');
    }
    const std::uint64_t m = std::uint64_t(p[1] - '0') * 100000000000000 + std::uint64_t(ValorOchoCifras(a)) * 1000000
                            + ValorOchoCifras(b) % 1000000;
    // Clinger's fast path, as in the general reader: m < 2^53, exact power of ten.
    const int exponente = (p[18] == '-' ? -e : e) - 14;
    if (exponente < -22 || exponente > 22)
        return std::nullopt;
    const double x = exponente < 0 ? double(m) / potencias[-exponente] : double(m) * potencias[exponente];
    return p[0] == '-' ? -x : x;
}

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

QString TextoFrecuencia(double hz, TTextos& textos)
{
    return FormatoGeneral(hz, 6) + QLatin1Char(' ') + textos.BuscarTexto(clave::Hercios);
}

QString TextoTramoSegundos(double desde, double hasta, TTextos& textos)
{
    const QString s = QLatin1Char(' ') + textos.BuscarTexto(clave::Segundos);
    return FormatoGeneral(desde, 6) + s + QStringLiteral(" - ") + FormatoGeneral(hasta, 6) + s;
}

} // namespace qv

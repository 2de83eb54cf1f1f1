#include "lang/idioma.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <limits>

namespace qv {

namespace {

bool EsBlanco(char c)
{
    // Reading a number skips every control character and blank, line ends included.
    return static_cast<unsigned char>(c) <= ' ';
}

// A whole decimal number as QByteArray::toInt takes one (an optional sign, then
// digits, within int), read in place: a lookup walks every entry before its own.
bool LeerClave(const char* p, const char* fin, int& clave)
{
    bool negativo = false;
    if (p < fin && (*p == '+' || *p == '-')) {
        negativo = *p == '-';
        ++p;
    }
    if (p == fin)
        return false;
    qint64 v = 0;
    for (; p < fin; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        v = v * 10 + (*p - '0');
        if (v > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negativo)
        v = -v;
    if (v > std::numeric_limits<int>::max())
        return false;
    clave = int(v);
    return true;
}

} // namespace

void TLanguage::setIdiomaFile(const QString& fichero)
{
    if (fichero == fichero_)
        return;
    fichero_ = fichero;
    textos_.clear();
    QFile f(fichero);
    // Only a regular file of a sane size: a device or fifo would hang the start.
    const QFileInfo info(fichero);
    const bool valido = info.isFile() && info.size() <= 64ll * 1024 * 1024;
    if (!fichero.isEmpty() && valido && f.open(QIODevice::ReadOnly)) {
        const QByteArray datos = f.readAll();
        if (f.error() == QFileDevice::NoError)
            Indexar(datos);
    }
}

void TLanguage::Indexar(const QByteArray& datos)
{
    const char* d = datos.constData();
    const qsizetype n = datos.size();
    qsizetype pos = 0;
    for (;;) {
        while (pos < n && EsBlanco(d[pos]))
            ++pos;
        if (pos >= n)
            return;
        // The key: a run of non-blank bytes that must be a whole decimal number. A line
        // that is not one ends the file for every lookup, as it ends reading it.
        const qsizetype inicio = pos;
        while (pos < n && !EsBlanco(d[pos]))
            ++pos;
        int clave = 0;
        if (!LeerClave(d + inicio, d + pos, clave))
            return;
        // Rest of the line; its first byte is the separator.
        const qsizetype resto = pos;
        const auto* lf = static_cast<const char*>(std::memchr(d + pos, '\n', size_t(n - pos)));
        const qsizetype limite = lf ? lf - d : n;
        const auto* cr = static_cast<const char*>(std::memchr(d + pos, '\r', size_t(limite - pos)));
        pos = cr ? cr - d : limite;
        const qsizetype finTexto = pos;
        if (pos < n && d[pos] == '\r')
            ++pos;
        if (pos < n && d[pos] == '\n')
            ++pos;
        const qsizetype desde = resto < finTexto ? resto + 1 : resto;
        if (!textos_.contains(clave))
            textos_.insert(clave, QString::fromLatin1(d + desde, finTexto - desde));
    }
}

QString TLanguage::BuscarTexto(int clave) const
{
    return textos_.value(clave, Nada);
}

QString TLanguage::LeerTexto(int clave) const
{
    return BuscarTexto(clave);
}

TDMIdioma::TDMIdioma(const QString& carpetaPrograma)
{
    Idioma.setIdiomaFile(QDir(carpetaPrograma).filePath(QStringLiteral("idioma.lng")));
}

} // namespace qv

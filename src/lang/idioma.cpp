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
    datos_.clear();
    abierto_ = false;
    QFile f(fichero);
    // Only a regular file of a sane size: a device or fifo would hang the lookups.
    const QFileInfo info(fichero);
    const bool valido = info.isFile() && info.size() <= 64ll * 1024 * 1024;
    if (!fichero.isEmpty() && valido && f.open(QIODevice::ReadOnly)) {
        datos_ = f.readAll();
        abierto_ = f.error() == QFileDevice::NoError;
        if (!abierto_)
            datos_.clear();
    }
    ultimaClave_ = 0;
    Rebobinar();
}

void TLanguage::Rebobinar()
{
    pos_ = 0;
    posicionValida_ = true;
}

bool TLanguage::AlFinal() const
{
    const char* d = datos_.constData();
    qsizetype p = pos_;
    while (p < datos_.size() && EsBlanco(d[p]))
        ++p;
    return p >= datos_.size();
}

bool TLanguage::LeerEntrada(int& clave, qsizetype& desde, qsizetype& hasta)
{
    const char* d = datos_.constData();
    const qsizetype n = datos_.size();
    while (pos_ < n && EsBlanco(d[pos_]))
        ++pos_;
    if (pos_ >= n)
        return false;

    // The key: a run of non-blank bytes that must be a whole decimal number.
    const qsizetype inicio = pos_;
    while (pos_ < n && !EsBlanco(d[pos_]))
        ++pos_;
    int leida = 0;
    if (!LeerClave(d + inicio, d + pos_, leida)) {
        posicionValida_ = false;
        return false;
    }
    clave = leida;
    ultimaClave_ = leida;

    // Rest of the line; its first byte is the separator. Its end is found by the C
    // library, which a lookup that walks the whole file is made of.
    const qsizetype resto = pos_;
    const auto* lf = static_cast<const char*>(std::memchr(d + pos_, '\n', size_t(n - pos_)));
    const qsizetype limite = lf ? lf - d : n;
    const auto* cr = static_cast<const char*>(std::memchr(d + pos_, '\r', size_t(limite - pos_)));
    pos_ = cr ? cr - d : limite;
    const qsizetype finTexto = pos_;
    if (pos_ < n && d[pos_] == '\r')
        ++pos_;
    if (pos_ < n && d[pos_] == '\n')
        ++pos_;

    desde = resto < finTexto ? resto + 1 : resto;
    hasta = finTexto;
    return true;
}

QString TLanguage::Buscar(int clave)
{
    if (!abierto_)
        return Nada;
    int leida = 0;
    qsizetype desde = 0, hasta = 0;
    while (LeerEntrada(leida, desde, hasta)) {
        // Only the entry asked for becomes a string.
        if (leida == clave)
            return QString::fromLatin1(datos_.constData() + desde, hasta - desde);
    }
    return Nada;
}

QString TLanguage::BuscarTexto(int clave)
{
    Rebobinar();
    return Buscar(clave);
}

QString TLanguage::LeerTexto(int clave)
{
    if (!(posicionValida_ && clave > ultimaClave_ && !AlFinal()))
        Rebobinar();
    return Buscar(clave);
}

TDMIdioma::TDMIdioma(const QString& carpetaPrograma)
{
    Idioma.setIdiomaFile(QDir(carpetaPrograma).filePath(QStringLiteral("idioma.lng")));
}

} // namespace qv

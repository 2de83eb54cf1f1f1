#include "lang/idioma.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qv {

namespace {

bool EsBlanco(char c)
{
    // Reading a number skips every control character and blank, line ends included.
    return static_cast<unsigned char>(c) <= ' ';
}

bool EsFinDeLinea(char c)
{
    return c == '\r' || c == '\n';
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
    qsizetype p = pos_;
    while (p < datos_.size() && EsBlanco(datos_[p]))
        ++p;
    return p >= datos_.size();
}

bool TLanguage::LeerEntrada(int& clave, QString& texto)
{
    const qsizetype n = datos_.size();
    while (pos_ < n && EsBlanco(datos_[pos_]))
        ++pos_;
    if (pos_ >= n)
        return false;

    // The key: a run of non-blank bytes that must be a whole decimal number.
    const qsizetype inicio = pos_;
    while (pos_ < n && !EsBlanco(datos_[pos_]))
        ++pos_;
    bool ok = false;
    const int leida = datos_.mid(inicio, pos_ - inicio).toInt(&ok, 10);
    if (!ok) {
        posicionValida_ = false;
        return false;
    }
    clave = leida;
    ultimaClave_ = leida;

    // Rest of the line; its first byte is the separator.
    const qsizetype resto = pos_;
    while (pos_ < n && !EsFinDeLinea(datos_[pos_]))
        ++pos_;
    const qsizetype finTexto = pos_;
    if (pos_ < n && datos_[pos_] == '\r')
        ++pos_;
    if (pos_ < n && datos_[pos_] == '\n')
        ++pos_;

    const qsizetype desde = resto < finTexto ? resto + 1 : resto;
    texto = QString::fromLatin1(datos_.constData() + desde, finTexto - desde);
    return true;
}

QString TLanguage::Buscar(int clave)
{
    if (!abierto_)
        return Nada;
    int leida = 0;
    QString texto;
    while (LeerEntrada(leida, texto)) {
        if (leida == clave)
            return texto;
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

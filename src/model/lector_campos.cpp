#include "model/lector_campos.h"

#include "model/errores.h"
#include "model/formatos.h"

#include <algorithm>

namespace qv {

TLectorCampos::TLectorCampos(QByteArray datos) : datos_(std::move(datos)) {}

void TLectorCampos::PonerPosicion(qsizetype p) { pos_ = std::clamp<qsizetype>(p, 0, datos_.size()); }

QByteArray TLectorCampos::LeerCampo(char sep1, char sep2)
{
    const qsizetype n = datos_.size();
    const char* d = datos_.constData();
    while (pos_ < n) {
        const char c = d[pos_];
        if (c == ' ' || c == '\r' || c == '\n' || c == sep1 || c == sep2)
            ++pos_;
        else
            break;
    }
    QByteArray campo;
    while (pos_ < n) {
        const char c = d[pos_++];
        if (c == '\r') {
            if (pos_ < n && d[pos_] == '\n')
                ++pos_;
            break;
        }
        if (c == '\n' || c == sep1 || c == sep2)
            break;
        if (campo.size() < MaxCampo)
            campo += c;
    }
    return campo;
}

QByteArray TLectorCampos::LeerHasta(char fin)
{
    const qsizetype n = datos_.size();
    const char* d = datos_.constData();
    while (pos_ < n && (d[pos_] == ' ' || d[pos_] == '\t'))
        ++pos_;
    const qsizetype inicio = pos_;
    while (pos_ < n && d[pos_] != fin && d[pos_] != '\r' && d[pos_] != '\n')
        ++pos_;
    QByteArray campo = datos_.mid(inicio, pos_ - inicio);
    if (pos_ < n && d[pos_] == fin)
        ++pos_;
    return campo;
}

QString TLectorCampos::LeerCampoTexto(char sep1, char sep2)
{
    return QString::fromLatin1(LeerCampo(sep1, sep2));
}

QByteArrayView TLectorCampos::LeerLineaVista()
{
    const qsizetype n = datos_.size();
    const char* d = datos_.constData();
    const qsizetype inicio = pos_;
    while (pos_ < n && d[pos_] != '\r' && d[pos_] != '\n')
        ++pos_;
    const QByteArrayView linea(d + inicio, pos_ - inicio);
    SaltarFinDeLinea();
    return linea;
}

QByteArray TLectorCampos::LeerLinea()
{
    return LeerLineaVista().toByteArray();
}

QString TLectorCampos::LeerLineaTexto() { return QString::fromLatin1(LeerLinea()); }

void TLectorCampos::SaltarLinea() { LeerLineaVista(); }

void TLectorCampos::SaltarResto()
{
    if (pos_ > 0 && (datos_.at(pos_ - 1) == '\n' || datos_.at(pos_ - 1) == '\r'))
        return;
    SaltarLinea();
}

double TLectorCampos::LeerCampoReal(char sep1, char sep2)
{
    if (Fin())
        throw EErrorFormato(QStringLiteral("Fin de fichero inesperado"));
    return RealOError(LeerCampo(sep1, sep2));
}

qint64 TLectorCampos::LeerCampoEntero(char sep1, char sep2)
{
    if (Fin())
        throw EErrorFormato(QStringLiteral("Fin de fichero inesperado"));
    return EnteroOError(LeerCampo(sep1, sep2));
}

bool TLectorCampos::FinDeLinea(qsizetype p) const
{
    return p == datos_.size() || datos_.at(p) == '\r' || datos_.at(p) == '\n';
}

void TLectorCampos::SaltarFinDeLinea()
{
    const qsizetype n = datos_.size();
    const char* d = datos_.constData();
    if (pos_ < n && d[pos_] == '\r')
        ++pos_;
    if (pos_ < n && d[pos_] == '\n')
        ++pos_;
}

double TLectorCampos::LeerLineaReal()
{
    if (Fin())
        throw EErrorFormato(QStringLiteral("Fin de fichero inesperado"));
    // A line that is exactly the signal files' 23-character real takes the quick way.
    if (datos_.size() - pos_ >= 23 && FinDeLinea(pos_ + 23))
        if (const auto v = LeerCientifico23(datos_.constData() + pos_)) {
            pos_ += 23;
            SaltarFinDeLinea();
            return *v;
        }
    const QByteArrayView linea = LeerLineaVista();
    if (auto v = LeerRealInicio(linea))
        return *v;
    throw EErrorFormato(QStringLiteral("Numero real no valido: \"%1\"").arg(QString::fromLatin1(linea)));
}

qint64 TLectorCampos::LeerLineaEntero()
{
    if (Fin())
        throw EErrorFormato(QStringLiteral("Fin de fichero inesperado"));
    // A line of one digit (every digital sample) takes the quick way.
    if (const char c = datos_.at(pos_); c >= '0' && c <= '9' && FinDeLinea(pos_ + 1)) {
        ++pos_;
        SaltarFinDeLinea();
        return c - '0';
    }
    const QByteArrayView linea = LeerLineaVista();
    if (auto v = LeerEnteroInicio(linea))
        return *v;
    throw EErrorFormato(QStringLiteral("Numero entero no valido: \"%1\"").arg(QString::fromLatin1(linea)));
}

} // namespace qv

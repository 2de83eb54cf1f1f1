#include "model/escritura_segura.h"

#include <QFile>
#include <QSaveFile>

namespace qv {

bool EscribirSeguro(const QString& ruta, const std::function<void(QIODevice&)>& escribir, QString* error)
{
    QSaveFile f(ruta);
    // Never fall back to writing in place: that is what loses the old file.
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    try {
        escribir(f);
    } catch (...) {
        f.cancelWriting();
        throw;
    }
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

bool EscribirSeguro(const QString& ruta, const QByteArray& datos, QString* error)
{
    QSaveFile f(ruta);
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly) || f.write(datos) != datos.size()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

bool LeerFicheroEntero(const QString& ruta, QByteArray& datos)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    datos = f.readAll();
    return f.error() == QFileDevice::NoError;
}

} // namespace qv

#include "model/escritura_segura.h"

#include <QFile>
#include <QFileInfo>
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
    // A short write leaves the save file in error, which the general form refuses.
    return EscribirSeguro(ruta, [&datos](QIODevice& d) { d.write(datos); }, error);
}

bool LeerFicheroEntero(const QString& ruta, QByteArray& datos)
{
    // Only regular files of a sane size: a name such as /dev/zero or a fifo would
    // otherwise hang the program or exhaust its memory.
    const QFileInfo info(ruta);
    if (!info.isFile() || info.size() > TamanoMaximoFichero)
        return false;
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    datos = f.readAll();
    return f.error() == QFileDevice::NoError;
}

} // namespace qv

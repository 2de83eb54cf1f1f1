#include "model/escritura_segura.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#endif

namespace qv {

bool DestinoReemplazable(const QString& ruta)
{
    if (ruta.isEmpty())
        return false;
#ifdef Q_OS_UNIX
    const QByteArray nativa = QFile::encodeName(ruta);
    // Nothing there (or no such folder, which the save itself reports) is no refusal.
    auto nadaAhi = [] { return errno == ENOENT || errno == ENOTDIR; };
    struct stat st {};
    // lstat: the name itself is judged before anything it may point to.
    if (::lstat(nativa.constData(), &st) != 0)
        return nadaAhi();
    if (S_ISREG(st.st_mode))
        return true;
    if (!S_ISLNK(st.st_mode))
        return false;
    // A link to a regular file (or to nothing yet) is saved the way the save file does it.
    if (::stat(nativa.constData(), &st) != 0)
        return nadaAhi();
    return S_ISREG(st.st_mode);
#else
    const QFileInfo info(ruta);
    if (info.isSymLink())
        return !QFileInfo::exists(info.symLinkTarget()) || QFileInfo(info.symLinkTarget()).isFile();
    return !info.exists() || info.isFile();
#endif
}

bool EscribirSeguro(const QString& ruta, const std::function<void(QIODevice&)>& escribir, QString* error)
{
    if (!DestinoReemplazable(ruta)) {
        if (error)
            *error = QStringLiteral("not a regular file");
        return false;
    }
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

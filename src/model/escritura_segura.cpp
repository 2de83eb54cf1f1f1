#include "model/escritura_segura.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#endif

#ifdef __linux__
#include <sys/mman.h>
#endif

#include <cstdint>

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

namespace {

constexpr qint64 kTamanoGrande = 4 * 1024 * 1024;

// Asks for huge pages under the whole pages of [p, p + n); only a hint.
void PaginasGrandes(char* p, qint64 n)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t pagina = 4096;
    const std::uintptr_t a = (reinterpret_cast<std::uintptr_t>(p) + pagina - 1) & ~(pagina - 1);
    const std::uintptr_t b = (reinterpret_cast<std::uintptr_t>(p) + std::uintptr_t(n)) & ~(pagina - 1);
    if (b > a)
        madvise(reinterpret_cast<void*>(a), b - a, MADV_HUGEPAGE);
#else
    (void)p;
    (void)n;
#endif
}

} // namespace

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
    const qint64 tamano = f.size();
    if (tamano < kTamanoGrande) {
        datos = f.readAll();
        return f.error() == QFileDevice::NoError;
    }
    // A large file goes straight into one buffer of its size, backed by huge pages
    // where the system offers them: filled page by page, a fresh 15 MB buffer costs
    // thousands of page faults, which take longer than reading and parsing it.
    datos = QByteArray(tamano, Qt::Uninitialized);
    PaginasGrandes(datos.data(), tamano);
    qint64 leidos = 0;
    while (leidos < tamano) {
        const qint64 r = f.read(datos.data() + leidos, tamano - leidos);
        if (r <= 0)
            break;
        leidos += r;
    }
    datos.truncate(leidos);
    datos += f.readAll(); // whatever was appended since the size was taken
    return f.error() == QFileDevice::NoError;
}

} // namespace qv

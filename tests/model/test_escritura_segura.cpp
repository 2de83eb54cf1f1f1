// Safe saving never replaces what is not a regular file.
#include "model/escritura_segura.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace qv {
namespace {

mode_t Tipo(const QString& ruta)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(ruta).constData(), &st) != 0)
        return 0;
    return st.st_mode & S_IFMT;
}

TEST(EscrituraSegura, NoReemplazaLoQueNoEsUnFichero)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("tubo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString carpeta = dir.filePath(QStringLiteral("carpeta"));
    ASSERT_TRUE(QDir().mkdir(carpeta));
    const QString enlaceFifo = dir.filePath(QStringLiteral("enlace-tubo"));
    ASSERT_TRUE(QFile::link(fifo, enlaceFifo));
    const QString conector = dir.filePath(QStringLiteral("conector"));
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(s, 0);
    sockaddr_un dirUnix{};
    dirUnix.sun_family = AF_UNIX;
    const QByteArray nativo = QFile::encodeName(conector);
    ASSERT_LT(size_t(nativo.size()), sizeof dirUnix.sun_path);
    std::memcpy(dirUnix.sun_path, nativo.constData(), size_t(nativo.size()));
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&dirUnix), sizeof dirUnix), 0);

    for (const QString& r : {fifo, carpeta, enlaceFifo, conector}) {
        const mode_t antes = Tipo(r);
        EXPECT_FALSE(DestinoReemplazable(r)) << r.toStdString();
        QString error;
        EXPECT_FALSE(EscribirSeguro(r, QByteArray("x"), &error)) << r.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(Tipo(r), antes) << r.toStdString();
    }
    ::close(s);
    // Only the check: a broken save must never be tried on the real device.
    EXPECT_FALSE(DestinoReemplazable(QStringLiteral("/dev/null")));
    EXPECT_FALSE(DestinoReemplazable(QString()));
}

TEST(EscrituraSegura, ReemplazaFicherosYCreaLosQueNoHay)
{
    QTemporaryDir dir;
    const QString nuevo = dir.filePath(QStringLiteral("nuevo.txt"));
    EXPECT_TRUE(DestinoReemplazable(nuevo));
    ASSERT_TRUE(EscribirSeguro(nuevo, QByteArray("uno")));
    EXPECT_TRUE(DestinoReemplazable(nuevo));
    ASSERT_TRUE(EscribirSeguro(nuevo, QByteArray("dos")));
    QByteArray d;
    ASSERT_TRUE(LeerFicheroEntero(nuevo, d));
    EXPECT_EQ(d, "dos");
    // A link to a file, or to nothing yet, is saved as before.
    const QString enlace = dir.filePath(QStringLiteral("enlace"));
    ASSERT_TRUE(QFile::link(nuevo, enlace));
    EXPECT_TRUE(DestinoReemplazable(enlace));
    EXPECT_TRUE(DestinoReemplazable(dir.filePath(QStringLiteral("no/hay/carpeta.txt"))));
}

} // namespace
} // namespace qv

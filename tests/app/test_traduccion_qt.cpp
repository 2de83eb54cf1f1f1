// Qt's own dialogs and buttons speak the language of the language file.
#include "principal_prueba.h"

#include "app/aplicacion.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>

namespace qv::test {
namespace {

const QString kCarpetaDatos = QStringLiteral(QV_SOURCE_DIR "/data");

TEST(TraduccionQt, IdiomaDelFichero)
{
    TTextosFijos sinCodigo; // text 4 is "T4": not a language code
    EXPECT_EQ(IdiomaDelFichero(sinCodigo, QStringLiteral("/p/idioma.lng")), QStringLiteral("es"));
    EXPECT_EQ(IdiomaDelFichero(sinCodigo, QStringLiteral("/p/idioma-en.lng")), QStringLiteral("en"));
    EXPECT_EQ(IdiomaDelFichero(sinCodigo, QStringLiteral("/p/idioma-xyz.lng")), QStringLiteral("es"));

    TLanguage ingles;
    ingles.setIdiomaFile(kCarpetaDatos + QStringLiteral("/idioma-en.lng"));
    EXPECT_EQ(IdiomaDelFichero(ingles, QStringLiteral("/p/idioma.lng")), QStringLiteral("en"));
}

TEST(TraduccionQt, ArranqueEnEspanolTraduceLosDialogosDeQt)
{
    const QString carpeta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(carpeta + QStringLiteral("/qtbase_es.qm")))
        GTEST_SKIP() << "Qt's Spanish translations are not installed";
    const QString cancelar = QCoreApplication::translate("QPlatformTheme", "Cancel");
    ASSERT_EQ(cancelar, QStringLiteral("Cancel"));
    {
        TModalPrueba modal;
        TPuestoPrueba puesto;
        TAplicacion app(kCarpetaDatos, modal, puesto);
        ASSERT_NE(app.TraduccionQt, nullptr);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
        EXPECT_NE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Open"));
        EXPECT_NE(QCoreApplication::translate("QDialogButtonBox", "OK"), QStringLiteral("OK"));
    }
    // The program's end takes its translations away with it.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

} // namespace
} // namespace qv::test

// The manual page of the command-line companion, in each language, names every command
// and option its own usage text gives.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

namespace {

// The page as a reader sees its words: roff's "\-" is a hyphen, font changes vanish.
QString TextoPagina(const QString& ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString t = QString::fromUtf8(f.readAll());
    t.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    t.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")));
    return t;
}

TEST(PaginasManual, CliNombraCadaOrdenYOpcionDeSuAyuda)
{
    QProcess cli;
    cli.start(QStringLiteral(QV_BIN_DIR "/quorvane-cli"), {QStringLiteral("help")});
    ASSERT_TRUE(cli.waitForFinished(30000));
    ASSERT_EQ(cli.exitCode(), 0);
    const QString ayuda = QString::fromLocal8Bit(cli.readAllStandardOutput());

    QSet<QString> palabras;
    static const QRegularExpression orden(QStringLiteral("quorvane-cli (\\w+)"));
    static const QRegularExpression opcion(QStringLiteral("(?<![\\w-])(--?[a-z][a-z0-9-]*)"));
    for (auto it = orden.globalMatch(ayuda); it.hasNext();)
        palabras.insert(QStringLiteral("quorvane-cli ") + it.next().captured(1));
    for (auto it = opcion.globalMatch(ayuda); it.hasNext();)
        palabras.insert(it.next().captured(1));
    // What the usage text itself holds: five commands and their options.
    ASSERT_TRUE(palabras.contains(QStringLiteral("quorvane-cli render")));
    ASSERT_TRUE(palabras.contains(QStringLiteral("--overwrite")));
    ASSERT_TRUE(palabras.contains(QStringLiteral("-o")));

    for (const char* pagina : {"man/quorvane-cli.1", "man/es/quorvane-cli.1"}) {
        const QString texto = TextoPagina(QStringLiteral(QV_SOURCE_DIR "/packaging/") + QLatin1String(pagina));
        ASSERT_FALSE(texto.isEmpty()) << pagina;
        for (const QString& p : palabras) {
            // A whole word of the page, not a part of a longer option.
            const QRegularExpression palabra(QStringLiteral("(?<![\\w-])") + QRegularExpression::escape(p) +
                                             QStringLiteral("(?![\\w-])"));
            EXPECT_TRUE(palabra.match(texto).hasMatch()) << pagina << ": " << p.toStdString();
        }
    }
}

} // namespace

// The folders' layering: a source file includes headers of its own layer and the
// layers below it only, and the non-visual libraries include no widget header. The
// link order of the libraries catches a wrong call only when it is linked; this
// catches the include itself, with its file and line.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// What each folder may include besides itself. The graph library sits on the model alone;
// channels and display are siblings over the program state (display borrows the filter
// dialog of the operations); the companion draws with the graph library, never a window.
const std::map<QString, std::set<QString>> kPermitidas = {
    {QStringLiteral("lang"), {}},
    {QStringLiteral("lang/ui"), {"lang"}},
    {QStringLiteral("model"), {"lang"}},
    {QStringLiteral("link"), {"lang", "model"}},
    {QStringLiteral("plot"), {"lang", "model"}},
    {QStringLiteral("app/api"), {"lang", "lang/ui", "model", "link"}},
    {QStringLiteral("channels"), {"lang", "lang/ui", "model", "link", "app/api", "plot"}},
    {QStringLiteral("display"), {"lang", "lang/ui", "model", "link", "app/api", "plot", "channels"}},
    {QStringLiteral("capture"), {"lang", "lang/ui", "model", "link", "app/api", "plot", "display", "channels"}},
    {QStringLiteral("net"), {"lang", "lang/ui", "model", "link", "app/api", "plot", "display", "channels"}},
    {QStringLiteral("app"),
     {"lang", "lang/ui", "model", "link", "app/api", "plot", "display", "channels", "capture", "net"}},
    {QStringLiteral("tools/sadsim"), {"lang", "model", "link"}},
    {QStringLiteral("tools/relay"), {"lang", "model", "link"}},
    {QStringLiteral("tools/cli"), {"lang", "model", "link", "plot"}},
};

// Folders that must build without QtWidgets.
const std::set<QString> kSinWidgets = {"lang", "model", "link", "tools/sadsim", "tools/relay"};

// Widget headers a folder may not use: the graph library draws, it opens no window or dialog.
const std::map<QString, std::set<QString>> kVentanas = {
    {QStringLiteral("plot"), {"QDialog", "QMainWindow", "QMdiArea", "QMdiSubWindow", "QMessageBox"}},
};

// The folder of a file relative to the tree's root ("src/lang/ui/x.h" -> "lang/ui",
// "tools/relay/y.cpp" -> "tools/relay"); empty for a file outside every folder.
QString Capa(const QString& relativa)
{
    const QStringList partes = relativa.split(QLatin1Char('/'));
    if (partes.size() < 3)
        return {};
    if (partes[0] == QLatin1String("tools"))
        return partes[0] + QLatin1Char('/') + partes[1];
    if (partes[0] != QLatin1String("src"))
        return {};
    if (partes.size() > 3 && ((partes[1] == QLatin1String("lang") && partes[2] == QLatin1String("ui"))
                              || (partes[1] == QLatin1String("app") && partes[2] == QLatin1String("api"))))
        return partes[1] + QLatin1Char('/') + partes[2];
    return partes[1];
}

bool EsCabeceraWidgets(const QString& incluida, const QString& carpetaWidgets)
{
    if (incluida.startsWith(QLatin1String("QtWidgets/")))
        return true;
    return !incluida.contains(QLatin1Char('/')) && QFileInfo::exists(carpetaWidgets + QLatin1Char('/') + incluida);
}

// Every offending include of the tree under `raiz` (its src/ and tools/), as
// "file:line: text".
QStringList Infracciones(const QString& raiz, const QString& carpetaWidgets)
{
    static const QRegularExpression inclusion(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"));
    const QDir base(raiz);
    QStringList r;
    for (const char* arbol : {"src", "tools"}) {
        QDirIterator it(base.filePath(QLatin1String(arbol)), {QStringLiteral("*.h"), QStringLiteral("*.cpp")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString ruta = it.next();
            const QString relativa = base.relativeFilePath(ruta);
            const QString capa = Capa(relativa);
            const auto permitidas = kPermitidas.find(capa);
            if (permitidas == kPermitidas.end())
                continue;
            QFile f(ruta);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            int linea = 0;
            while (!f.atEnd()) {
                ++linea;
                const QString texto = QString::fromLatin1(f.readLine()).trimmed();
                const auto m = inclusion.match(texto);
                if (!m.hasMatch())
                    continue;
                const QString incluida = m.captured(2);
                const QString donde = QStringLiteral("%1:%2: %3").arg(relativa).arg(linea).arg(texto);
                if (m.captured(1) == QLatin1String("<")) {
                    const auto ventanas = kVentanas.find(capa);
                    if (kSinWidgets.count(capa) && EsCabeceraWidgets(incluida, carpetaWidgets))
                        r << donde + QStringLiteral(" (a widget header in ") + capa + QLatin1Char(')');
                    else if (ventanas != kVentanas.end() && ventanas->second.count(QFileInfo(incluida).fileName()))
                        r << donde + QStringLiteral(" (a window in ") + capa + QLatin1Char(')');
                    continue;
                }
                // Beside the file first, then from src/ as the build's include path.
                QString destino = QFileInfo(ruta).dir().filePath(incluida);
                if (!QFileInfo::exists(destino))
                    destino = base.filePath(QStringLiteral("src/") + incluida);
                if (!QFileInfo::exists(destino))
                    continue; // generated (moc) or not in the tree
                const QString otra = Capa(base.relativeFilePath(QDir::cleanPath(destino)));
                if (otra != capa && !permitidas->second.count(otra))
                    r << donde + QStringLiteral(" (%1 may not use %2)").arg(capa, otra.isEmpty() ? incluida : otra);
            }
        }
    }
    return r;
}

QString CarpetaWidgets()
{
    return QLibraryInfo::path(QLibraryInfo::HeadersPath) + QStringLiteral("/QtWidgets");
}

TEST(Capas, NingunFicheroIncluyeUnaCapaSuperior)
{
    ASSERT_TRUE(QFileInfo::exists(CarpetaWidgets() + QStringLiteral("/QWidget")));
    const QStringList r = Infracciones(QStringLiteral(QV_SOURCE_DIR), CarpetaWidgets());
    EXPECT_TRUE(r.isEmpty()) << r.join(QLatin1Char('\n')).toStdString();
}

// The check itself on a small tree with one fault of each kind and their allowed
// neighbours.
TEST(Capas, LaComprobacionSenalaCadaInclusionIndebida)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir raiz(dir.path());
    auto escribir = [&](const QString& relativa, const QByteArray& texto) {
        ASSERT_TRUE(raiz.mkpath(QFileInfo(relativa).path()));
        QFile f(raiz.filePath(relativa));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto);
    };
    for (const char* h : {"lang/textos.h", "lang/ui/formulario.h", "model/senales.h", "link/com.h",
                          "app/api/principal.h", "plot/grf.h", "display/datos.h", "channels/filtro.h",
                          "capture/trigger.h", "net/remoto.h"})
        escribir(QStringLiteral("src/") + QLatin1String(h), "#pragma once\n");
    escribir(QStringLiteral("src/model/bien.cpp"), "#include \"lang/textos.h\"\n#include \"model/senales.h\"\n");
    escribir(QStringLiteral("src/model/mal.cpp"),
             "#include \"model/senales.h\"\n\n#include \"display/datos.h\"\n  #  include <QDialog>\n#include <QString>\n");
    escribir(QStringLiteral("src/link/ui.cpp"), "#include \"lang/ui/formulario.h\"\n");
    escribir(QStringLiteral("src/app/api/ui.cpp"), "#include \"lang/ui/formulario.h\"\n");
    escribir(QStringLiteral("src/net/hermana.cpp"), "#include \"capture/trigger.h\"\n#include \"plot/grf.h\"\n");
    escribir(QStringLiteral("tools/relay/r.cpp"), "#include \"app/api/principal.h\"\n#include \"link/com.h\"\n");
    escribir(QStringLiteral("tools/relay/junto.h"), "#pragma once\n");
    escribir(QStringLiteral("tools/relay/s.cpp"), "#include \"junto.h\"\n#include \"moc_s.cpp\"\n");
    escribir(QStringLiteral("tools/cli/c.cpp"), "#include \"plot/grf.h\"\n#include \"net/remoto.h\"\n"
                                                "#include \"display/datos.h\"\n#include \"channels/filtro.h\"\n");
    escribir(QStringLiteral("src/plot/p.cpp"), "#include \"model/senales.h\"\n#include \"app/api/principal.h\"\n"
                                               "#include \"lang/ui/formulario.h\"\n#include <QtWidgets/QDialog>\n"
                                               "#include <QWidget>\n#include \"plot/grf.h\"\n");
    escribir(QStringLiteral("src/channels/o.cpp"), "#include \"plot/grf.h\"\n#include \"display/datos.h\"\n");
    escribir(QStringLiteral("src/display/v.cpp"), "#include \"channels/filtro.h\"\n#include \"plot/grf.h\"\n");

    QStringList r = Infracciones(dir.path(), CarpetaWidgets());
    r.sort();
    const QStringList esperadas = {
        QStringLiteral("src/channels/o.cpp:2: #include \"display/datos.h\" (channels may not use display)"),
        QStringLiteral("src/link/ui.cpp:1: #include \"lang/ui/formulario.h\" (link may not use lang/ui)"),
        QStringLiteral("src/model/mal.cpp:3: #include \"display/datos.h\" (model may not use display)"),
        QStringLiteral("src/model/mal.cpp:4: #  include <QDialog> (a widget header in model)"),
        QStringLiteral("src/net/hermana.cpp:1: #include \"capture/trigger.h\" (net may not use capture)"),
        QStringLiteral("src/plot/p.cpp:2: #include \"app/api/principal.h\" (plot may not use app/api)"),
        QStringLiteral("src/plot/p.cpp:3: #include \"lang/ui/formulario.h\" (plot may not use lang/ui)"),
        QStringLiteral("src/plot/p.cpp:4: #include <QtWidgets/QDialog> (a window in plot)"),
        QStringLiteral("tools/cli/c.cpp:2: #include \"net/remoto.h\" (tools/cli may not use net)"),
        QStringLiteral("tools/cli/c.cpp:3: #include \"display/datos.h\" (tools/cli may not use display)"),
        QStringLiteral("tools/cli/c.cpp:4: #include \"channels/filtro.h\" (tools/cli may not use channels)"),
        QStringLiteral("tools/relay/r.cpp:1: #include \"app/api/principal.h\" (tools/relay may not use app/api)"),
    };
    EXPECT_EQ(r, esperadas) << r.join(QLatin1Char('\n')).toStdString();
}

} // namespace

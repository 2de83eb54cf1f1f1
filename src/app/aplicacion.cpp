#include "app/aplicacion.h"

#include "app/comandos_archivo.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QUrl>
#include <clocale>

namespace qv {

TAplicacion::TAplicacion(const QString& carpetaPrograma, TModal& modal, IServiciosPuesto& puesto)
    : DMIdioma(carpetaPrograma),
      TraduccionQt(InstalarTraduccionQt(IdiomaDelFichero(DMIdioma.Idioma, DMIdioma.Idioma.IdiomaFile()))),
      Interaccion(DMIdioma.Idioma, modal),
      DialogosArchivo(modal),
      Principal(DMIdioma.Idioma, Interaccion, modal, puesto, Reloj, carpetaPrograma, &DialogosArchivo)
{
    Interaccion.setPadre(&Principal);
    DialogosArchivo.setPadre(&Principal);
    // The demo beside the programs is the first thing a new user can open.
    DialogosArchivo.PonerCarpetaInicial(QDir(carpetaPrograma).filePath(QStringLiteral("ejemplos")));
}

void TAplicacion::AbrirArgumentos(const QStringList& argumentos)
{
    const QString ruta = FicheroDeArgumentos(argumentos);
    if (!ruta.isEmpty())
        Principal.ComandosArchivo().AbrirFichero(ruta);
}

QString FicheroDeArgumentos(const QStringList& argumentos)
{
    QString fichero;
    for (qsizetype i = 1; i < argumentos.size(); ++i) {
        if (argumentos[i] == QLatin1String("--")) {
            fichero = argumentos.value(i + 1);
            break;
        }
        if (!argumentos[i].startsWith(QLatin1Char('-'))) {
            fichero = argumentos[i];
            break;
        }
    }
    if (fichero.startsWith(QLatin1String("file:")))
        fichero = QUrl(fichero).toLocalFile();
    // Window titles show the full path, as for a file chosen in the dialog.
    return fichero.isEmpty() ? QString() : QFileInfo(fichero).absoluteFilePath();
}

TAplicacion::~TAplicacion()
{
    // Message boxes must not centre on a window that is going away.
    Interaccion.setPadre(nullptr);
    DialogosArchivo.setPadre(nullptr);
}

namespace {
constexpr int kTextoIdioma = 4;
} // namespace

QString IdiomaDelFichero(TTextos& textos, const QString& fichero)
{
    static const QRegularExpression codigo(QStringLiteral("^[a-z]{2}(_[A-Z]{2})?$"));
    const QString texto = textos.BuscarTexto(kTextoIdioma).trimmed();
    if (codigo.match(texto).hasMatch())
        return texto;
    const QString nombre = QFileInfo(fichero).completeBaseName();
    const QString prefijo = QStringLiteral("idioma-");
    if (nombre.startsWith(prefijo, Qt::CaseInsensitive) && codigo.match(nombre.mid(prefijo.size())).hasMatch())
        return nombre.mid(prefijo.size());
    return QStringLiteral("es");
}

std::unique_ptr<QTranslator> InstalarTraduccionQt(const QString& idioma)
{
    auto t = std::make_unique<QTranslator>();
    if (!t->load(QStringLiteral("qtbase_") + idioma, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(t.get()))
        return nullptr;
    // The translator leaves the application when it is destroyed.
    return t;
}

void PrepararProceso()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("QUORVANE"));
    // "." is the decimal separator of every number text whatever the user's locale:
    // Qt's default locale and the C library's numeric locale (which QCoreApplication
    // sets from the environment on Unix) are both pinned to C.
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace qv

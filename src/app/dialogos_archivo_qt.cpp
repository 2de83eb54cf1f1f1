#include "app/dialogos_archivo_qt.h"

#include "lang/ui/modal.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace qv {

TDialogosArchivoQt::TDialogosArchivoQt(TModal& modal, QWidget* padre) : modal_(modal), padre_(padre) {}

void TDialogosArchivoQt::PonerCarpetaInicial(const QString& carpeta)
{
    // Resolved, so that the dialog shows where the files really are (the installed
    // program folder holds a link to the shared examples).
    const QFileInfo info(carpeta);
    carpetaInicial_ = info.isDir() ? info.canonicalFilePath() : QString();
}

QStringList TDialogosArchivoQt::FiltrosQt(const QString& filtro)
{
    QStringList r;
    const QStringList partes = filtro.split(QLatin1Char('|'));
    for (int i = 0; i < partes.size(); i += 2) {
        const QString descripcion = partes[i].trimmed();
        const QString patron = i + 1 < partes.size() ? partes[i + 1].trimmed() : QString();
        if (descripcion.isEmpty() && patron.isEmpty())
            continue;
        if (patron.isEmpty()) {
            r << descripcion;
            continue;
        }
        // Qt separates the patterns of one entry by blanks, the language file by ";".
        QString patrones = patron;
        patrones.replace(QLatin1Char(';'), QLatin1Char(' '));
        r << QStringLiteral("%1 (%2)").arg(descripcion.isEmpty() ? patron : descripcion, patrones);
    }
    return r;
}

QString TDialogosArchivoQt::AbrirFichero(const QString& filtro, const QString& titulo, const QString& inicial)
{
    return Ejecutar(false, filtro, titulo, inicial, QString());
}

QString TDialogosArchivoQt::GuardarFichero(const QString& filtro, const QString& titulo, const QString& inicial,
                                           const QString& extension)
{
    return Ejecutar(true, filtro, titulo, inicial, extension);
}

QString TDialogosArchivoQt::Ejecutar(bool guardar, const QString& filtro, const QString& titulo,
                                     const QString& inicial, const QString& extension)
{
    QFileDialog dialogo(padre_.data(), titulo);
    dialogo.setObjectName(guardar ? QStringLiteral("DialogoGuardar") : QStringLiteral("DialogoAbrir"));
    dialogo.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialogo.setFileMode(guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filtros = FiltrosQt(filtro);
    if (!filtros.isEmpty())
        dialogo.setNameFilters(filtros);
    if (!extension.isEmpty()) {
        dialogo.setDefaultSuffix(extension);
        // A name typed without extension takes that of the file type chosen (a picture
        // saved as "PNG" is a PNG file).
        QObject::connect(&dialogo, &QFileDialog::filterSelected, &dialogo, [&dialogo, extension](const QString& f) {
            static const QRegularExpression patron(QStringLiteral("\\*\\.(\\w+)"));
            const QRegularExpressionMatch m = patron.match(f);
            dialogo.setDefaultSuffix(m.hasMatch() ? m.captured(1) : extension);
        });
    }

    // A name with "*" is the pattern shown while nothing was chosen: start in the last
    // folder. A real name starts in its own folder, selected.
    const QFileInfo info(inicial);
    if (!inicial.isEmpty() && !inicial.contains(QLatin1Char('*'))) {
        if (info.isAbsolute() || info.exists())
            dialogo.setDirectory(info.absolutePath());
        else if (!carpeta_.isEmpty())
            dialogo.setDirectory(carpeta_);
        dialogo.selectFile(info.fileName());
    } else if (!carpeta_.isEmpty()) {
        dialogo.setDirectory(carpeta_);
    } else if (!guardar && !carpetaInicial_.isEmpty()) {
        dialogo.setDirectory(carpetaInicial_);
    }

    if (modal_.Ejecutar(dialogo) != QDialog::Accepted)
        return {};
    const QStringList elegidos = dialogo.selectedFiles();
    if (elegidos.isEmpty() || elegidos.first().isEmpty() || QFileInfo(elegidos.first()).isDir())
        return {};
    carpeta_ = QFileInfo(elegidos.first()).absolutePath();
    return elegidos.first();
}

} // namespace qv

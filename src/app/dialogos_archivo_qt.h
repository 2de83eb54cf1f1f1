#pragma once

#include "app/api/dialogos_archivo.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace qv {

class TModal;

// The program's file dialogs: QFileDialog run through the modal seam. Remembers the
// folder of the last choice, so a dialog that starts from a bare pattern ("*.qvn")
// opens where the user last was.
class TDialogosArchivoQt : public TDialogosArchivo {
public:
    explicit TDialogosArchivoQt(TModal& modal, QWidget* padre = nullptr);

    void setPadre(QWidget* padre) { padre_ = padre; }
    // Where open dialogs start while nothing was chosen yet (an existing folder only).
    // Save dialogs never start there: it may be a folder the user cannot write.
    void PonerCarpetaInicial(const QString& carpeta);

    QString AbrirFichero(const QString& filtro, const QString& titulo, const QString& inicial) override;
    QString GuardarFichero(const QString& filtro, const QString& titulo, const QString& inicial,
                           const QString& extension) override;

    // "Ficheros de señales|*.qvn|Todos|*.*" -> {"Ficheros de señales (*.qvn)", "Todos (*.*)"}.
    // A description without its pattern is kept as it stands.
    static QStringList FiltrosQt(const QString& filtro);

private:
    QString Ejecutar(bool guardar, const QString& filtro, const QString& titulo, const QString& inicial,
                     const QString& extension);

    TModal& modal_;
    QPointer<QWidget> padre_;
    QString carpeta_;
    QString carpetaInicial_;
};

} // namespace qv

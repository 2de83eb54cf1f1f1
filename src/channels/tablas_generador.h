#pragma once

#include "channels/dialogo_generador.h"

class QObject;

namespace qv {

// The table generator dialogs: a delay and the table file (*.tba) whose values the
// output plays one per sample. "Aceptar" hangs the table generator on the output and
// loads its file; when the file cannot be loaded the output is left inactive and
// without generator, and the dialog stays open. The table editor opens from here.
class TDialogoTabla : public TDialogoGenerador {
    Q_OBJECT
public:
    // "...": chooses the table file; the box shows its name without folder.
    void SBrowseClick();
    // "Editor de tablas": the table editor, modally.
    void SpbEditorClick();

    // Full path of the table file the dialog would use.
    QString Ruta() const { return ruta_; }

protected:
    TDialogoTabla(IPrincipal& principal, TConfigES& trabajo, int salida, const TDatos& datos,
                  const char* nombreBrowse, QWidget* parent);
    bool Validar() override;

    QLineEdit* NombreFichEdit;
    QPushButton* SBrowse;
    QPushButton* SpbEditor;
    QObject* OpenDialog1; // filter and title of the file box (language texts)

private:
    QString ruta_;
};

// "Configurar Tabla Analógica" (values in volts).
class TfrmGridAna : public TDialogoTabla {
    Q_OBJECT
public:
    static constexpr int Numero = 20;
    TfrmGridAna(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent = nullptr);
};

// "Configurar Tabla Digital" (values 0 and 1).
class TfrmGridDigi : public TDialogoTabla {
    Q_OBJECT
public:
    static constexpr int Numero = 22;
    TfrmGridDigi(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent = nullptr);
};

} // namespace qv

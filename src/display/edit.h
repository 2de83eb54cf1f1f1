#pragma once

#include "lang/ui/formulario.h"

class QAction;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace qv {

class IPrincipal;

// "* Comentario sobre la captación": the editor of the current set's comment. "Guardar"
// puts the memo's lines into the set and marks it modified; closing with unsaved
// changes asks text 114 (yes saves and closes, no closes, cancel keeps it open).
class TfrmEdit : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 43;

    explicit TfrmEdit(IPrincipal& principal, QWidget* parent = nullptr);

    void Nuevo1Click();   // empties the memo
    void Abrir1Click();   // the set's comment again
    void Guardar1Click(); // the memo becomes the set's comment
    void Salir1Click();   // closes, asking first when there are unsaved changes

    bool Cambiado() const { return cambiado_; }

    // Every way out (Salir, the title bar, Escape) asks first.
    void reject() override;

protected:
    void AlMostrar() override;

private:
    void Cargar();

    IPrincipal& principal_;
    bool cambiado_ = false;
    bool cargando_ = false;

    QMenuBar* MainMenu1;
    QMenu* Editor1;
    QAction* Nuevo1;
    QAction* Abrir1;
    QAction* Guardar1;
    QAction* Salir1;
    QAction* Ayuda1;
    QPlainTextEdit* Memo1;
};

} // namespace qv

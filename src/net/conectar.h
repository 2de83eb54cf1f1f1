#pragma once

#include "lang/ui/formulario.h"
#include "net/contexto_red.h"

#include <QStringList>

class QLabel;
class QLineEdit;

namespace qv {

class TPanelBusqueda;

// "Conectar usuario a mi PC": the PCs this screen is pushed to, chosen in the search
// tree (several at once) or typed in the free box.
class TForm_Conectar : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 51;
    static constexpr int ContextoAyuda = 261;

    explicit TForm_Conectar(TContextoRed& red, QWidget* parent = nullptr);

    // The chosen PCs after "Aceptar": the selected nodes, then the typed name unless
    // it names one of them.
    const QStringList& Nombres() const { return nombres_; }
    TPanelBusqueda& Busqueda() const { return *panel_; }

protected:
    bool Validar() override;
    void TextosAplicados() override;

private:
    void SeleccionCambiada();

    TContextoRed& red_;
    QStringList nombres_;
    TPanelBusqueda* panel_;
    QLabel* L_PC;
    QLineEdit* edClient1;
};

} // namespace qv

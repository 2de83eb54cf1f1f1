#pragma once

#include "lang/ui/formulario.h"

class QLabel;

namespace qv {

// A plain message without icon or flavour, with one accept button. It has no table
// of texts: its button takes the shared "Aceptar" (text 2).
class TfrmMensajePlano : public TFormulario {
    Q_OBJECT
public:
    TfrmMensajePlano(const TContextoFormulario& contexto, const QString& mensaje, QWidget* parent = nullptr);

protected:
    void TextosAplicados() override;

private:
    QLabel* texto;
};

} // namespace qv

#pragma once

#include "lang/ui/formulario.h"

namespace qv {

// The about box: product picture, name, version and description. Created once and
// kept for the whole run; its texts are applied every time it is shown.
class TAboutBox : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 38;

    explicit TAboutBox(const TContextoFormulario& contexto, QWidget* parent = nullptr);
};

} // namespace qv

#pragma once

#include "lang/ui/formulario.h"

#include <QString>

namespace qv {

class TDialogosArchivo;
class TReloj;

// Everything of one run of the program that windows, dialogs and command files are
// built from, besides the program state: the form context (texts, interaction, modal
// seam, help), the clock of the device waits, the file dialogs and the program folder.
struct TContextoPrograma {
    TContextoFormulario Formulario;
    TReloj& Reloj;
    TDialogosArchivo& Dialogos;
    QString CarpetaPrograma;

    TTextos& Textos() const { return Formulario.Textos; }
    TInteraccion& Interaccion() const { return Formulario.Interaccion; }
    TModal& Modal() const { return Formulario.Modal; }
};

} // namespace qv

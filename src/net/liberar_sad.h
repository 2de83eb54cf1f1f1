#pragma once

#include "lang/ui/formulario.h"
#include "link/tarea.h"
#include "net/contexto_red.h"

class QPushButton;

namespace qv {

class TPanelEstadoSAD;

// "Liberar el SAD": checks the unit this station holds and gives it back ("Liberar
// SAD": outputs to zero, connection closed). The dialog keeps the held-unit flag it was
// opened with and clears it when the unit turns out to be unreachable or held by
// another PC, so the main window never believes it holds a unit it does not.
class Tform_LiberarSAD : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 49;
    static constexpr int ContextoAyuda = 259;

    Tform_LiberarSAD(TContextoRed& red, bool ocupado, QWidget* parent = nullptr);

    // The check of the unit; runs once, right after the dialog is first shown.
    TTarea Comprobar();

    // Whether the station still holds the unit (the kept flag).
    bool Ocupado() const { return ocupado_; }

protected:
    void AlMostrar() override;
    bool Validar() override;

private:
    TContextoRed& red_;
    bool ocupado_;
    bool comprobado_ = false;
    TPanelEstadoSAD* panel_;
    QPushButton* BtnLiberar;
};

} // namespace qv

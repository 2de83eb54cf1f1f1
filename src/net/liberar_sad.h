#pragma once

#include "lang/ui/formulario.h"
#include "link/tarea.h"
#include "net/contexto_red.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace qv {

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
    // "Liberar SAD".
    void BtnLiberarClick();

    // Whether the station still holds the unit (the kept flag).
    bool Ocupado() const { return ocupado_; }

protected:
    void AlMostrar() override;
    bool Validar() override;

private:
    enum class TAviso { Comprobando, Localizado, NoLocalizado };
    void Mostrar(TAviso aviso);

    TContextoRed& red_;
    bool ocupado_;
    bool comprobado_ = false;
    QLabel* Label_PCon;
    QLabel* L_Comprobando;
    QProgressBar* AniComprobando;
    QLabel* L_Localizado;
    QLabel* L_Nolocalizado;
    QWidget* PanelDetalles;
    QLabel* L_OcupadoPor;
    QLabel* L_Estado;
    QLabel* L_Version;
    QLabel* L_Memoria;
    QPushButton* BtnLiberar;
};

} // namespace qv

#pragma once

#include "lang/ui/formulario.h"
#include "model/base_tiempos.h"

namespace qv {

class IPrincipal;
class TConfigES;
class TEstadoPrograma;
class TPanelTiemposCaptura;

// What the delay and trigger dialogs share: the working configuration of the main
// window (Trabajo; a copy of Config when the opener left none), the
// time-base panel, the checks of "Aceptar" on the time base and the question about
// signals of another time base. The command that opens the dialog programs the unit
// once it is accepted.
class TDialogoCaptura : public TFormulario {
    Q_OBJECT
public:
    TDialogoCaptura(IPrincipal& principal, int numero, int ayuda, TVentanaRapida ventana, QWidget* parent);

    TConfigES& ConfigTrabajo() { return *trabajo_; }
    TPanelTiemposCaptura& Panel() { return *panel_; }

protected:
    void AlMostrar() override;
    void TextosAplicados() override;

    // Step 1 of "Aceptar": the analysis box's exit handling unless the boxes are confirmed.
    void Confirmar();
    // Text 143 when a box is empty or "0" (`faltaOtra` adds another empty box of the
    // dialog), then the rules of every capture (171, 166, 134), with the focus as the
    // dialogs put it.
    bool ComprobarCaptura(bool faltaOtra = false, QWidget* focoOtra = nullptr);
    // Question 198 when the current signals do not match the new time base. False: stay.
    bool PreguntarCompatible();

    IPrincipal& principal_;
    TEstadoPrograma& estado_;

private:
    TConfigES* trabajo_;
    TPanelTiemposCaptura* panel_;
};

} // namespace qv

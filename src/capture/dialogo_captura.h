#pragma once

#include "lang/ui/formulario.h"
#include "model/base_tiempos.h"

namespace qv {

class IPrincipal;
class TComCapvis;
class TConfigES;
class TEstadoPrograma;
class TInteraccion;
class TPanelTiemposCaptura;
class TTextos;

// The presence loop of every capture sequence: "1#" until the unit answers, the presence
// dialog between tries. True to go on (the unit answered, or "Ignorar"); false when the
// user chose "Abortar".
bool PresenciaSAD(TComCapvis& enlace, TInteraccion& interaccion);

// Writes "Programa.cfg" for the capture just accepted by the unit (the configuration and
// the current operations). Answers the path written, empty when it could not be.
QString GuardarProgramaCfg(IPrincipal& principal, const TConfigES& config);

// What the delay and trigger dialogs share: the working configuration of the main
// window (ConfigTrabajo; a copy of ConfigActual when the opener left none), the
// time-base panel, the checks of "Aceptar" on the time base, the question about signals
// of another time base, and the programming of the unit with the progress window.
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
    // Texts 171 (no group), 143 (a box empty or "0", `faltaOtra` adds another empty box
    // of the dialog), 166 (period), with the focus as the dialogs put it.
    bool ComprobarGrupos();
    bool ComprobarCajas(bool faltaOtra = false, QWidget* focoOtra = nullptr);
    bool ComprobarPeriodo();
    bool ComprobarMemoria();
    // Question 198 when the current signals do not match the new time base. False: stay.
    bool PreguntarCompatible();
    // ConfigActual becomes the working copy (which goes); the unit is programmed with the
    // progress window up; "Programa.cfg" is written on success, text 135 shown on failure.
    bool Programar(bool trigger);

    IPrincipal& principal_;
    TEstadoPrograma& estado_;

private:
    TConfigES* trabajo_;
    TPanelTiemposCaptura* panel_;
};

} // namespace qv

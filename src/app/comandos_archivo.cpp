// File commands of the main window. Only what the close sequence needs lives here now;
// opening, saving and the configuration commands are added here by the file commands.
#include "app/ventana_principal.h"

#include "lang/interaccion.h"
#include "lang/textos.h"

namespace qv {

void TfrmPrincipal::CerrarClick()
{
    if (estado_.Modificado) {
        const int r = interaccion_.MostrarPregunta(textos_.BuscarTexto(210), Botones::SiNoCancelar);
        if (r == Respuesta::Si) {
            GuardarArchivoClick();
            if (estado_.Modificado)
                return; // the save did not happen: nothing is discarded
        } else if (r == Respuesta::No) {
            MarcarGuardado();
            Guardarcomo1->setEnabled(false);
        } else {
            // "Cancelar", the title-bar close, or no box shown: keep everything.
            return;
        }
    }
    CerrarVentanas();
    estado_.SenalesActuales.reset();
    estado_.ConfigActual.reset();
    estado_.OperacionesActuales.reset();
    ActualizarMenus();
    estado_.FicheroAbierto = TEstadoPrograma::SinFicheroSenales;
    estado_.FicheroGuardarComo = TEstadoPrograma::SinFicheroSenales;
    setWindowTitle(textos_.LeerTexto(1000));
}

// Writing the signal file belongs to the file commands, which replace this body. Until
// then nothing is written and Modificado stays set, so no caller discards unsaved data.
void TfrmPrincipal::GuardarArchivoClick()
{
}

} // namespace qv

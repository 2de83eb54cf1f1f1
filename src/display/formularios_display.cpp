#include "display/formularios_display.h"

#include "app/api/registro_formularios.h"
#include "display/escoger_senales_fichero.h"

namespace qv {

void RegistrarFormulariosDisplay(TRegistroFormularios& registro)
{
    registro.Registrar<TfrmEscSenFich>();
}

} // namespace qv

#include "display/formularios_display.h"

#include "app/api/registro_formularios.h"
#include "display/config_grafica.h"
#include "display/escoger_senales_fichero.h"
#include "display/senales_digitales.h"
#include "display/visualiza_senales.h"

namespace qv {

void RegistrarFormulariosDisplay(TRegistroFormularios& registro)
{
    registro.Registrar<TfrmEscSenFich>();
    registro.Registrar<TfrmVisualizaSenales>();
    registro.Registrar<TfrmSenalesDigitales>();
    registro.Registrar<TfrmConfig>();
}

} // namespace qv

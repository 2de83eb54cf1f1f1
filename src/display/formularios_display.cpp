#include "display/formularios_display.h"

#include "app/api/registro_formularios.h"
#include "display/datos.h"
#include "display/datos_senal.h"
#include "display/edit.h"
#include "display/elegir.h"
#include "display/escoger_senales_fichero.h"
#include "display/ins_texto.h"
#include "display/pedir_nombre.h"

namespace qv {

void RegistrarFormulariosDisplay(TRegistroFormularios& registro)
{
    registro.Registrar<TfrmEscSenFich>();
    registro.Registrar<TfrmDatosSenal>();
    registro.Registrar<TfrmDatos>();
    registro.Registrar<TfrmElegir>();
    registro.Registrar<TfrmPedirNombre>();
    registro.Registrar<TfrmElegirIni>();
    registro.Registrar<TfrmInsTexto>();
    registro.Registrar<TfrmEdit>();
}

} // namespace qv

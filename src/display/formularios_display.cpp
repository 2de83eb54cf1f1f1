#include "display/formularios_display.h"

#include "app/api/estado.h"
#include "app/api/registro_formularios.h"
#include "display/ajuste_curva.h"
#include "display/calculadora_analogica.h"
#include "display/calculadora_digital.h"
#include "display/config_grafica.h"
#include "display/datos.h"
#include "display/datos_senal.h"
#include "display/edit.h"
#include "display/elegir.h"
#include "display/escoger_senales_fichero.h"
#include "display/ins_texto.h"
#include "display/pedir_nombre.h"
#include "display/preview.h"
#include "display/senales_digitales.h"
#include "display/superponer.h"
#include "display/visualiza_senales.h"

namespace qv {

void RegistrarFormulariosDisplay(TRegistroFormularios& registro)
{
    registro.Registrar<TfrmEscSenFich>();
    registro.Registrar<TfrmVisualizaSenales>();
    registro.Registrar<TfrmSenalesDigitales>();
    registro.Registrar<TfrmConfig>();
    registro.Registrar<TfrmDatosSenal>();
    registro.Registrar<TfrmDatos>();
    registro.Registrar<TfrmElegir>();
    registro.Registrar<TfrmPedirNombre>();
    registro.Registrar<TfrmElegirIni>();
    registro.Registrar<TfrmInsTexto>();
    registro.Registrar<TfrmEdit>();
    registro.Registrar<TfrmPreview>();
    registro.Registrar<TfrmCalcuAna>();
    registro.Registrar<TfrmCalcuDig>();
    registro.Registrar<TfrmAjusteCurva>();
    registro.Registrar<TfrmSuperponer>();
}

} // namespace qv

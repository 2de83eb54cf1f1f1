#include "capture/formularios_capture.h"

#include "app/api/registro_formularios.h"
#include "capture/espera_ack.h"
#include "capture/monitorizacion.h"
#include "capture/prog_retardo.h"
#include "capture/respuesta_frecuencia.h"
#include "capture/test_interface.h"
#include "capture/trigger.h"

namespace qv {

void RegistrarFormulariosCapture(TRegistroFormularios& registro)
{
    registro.Registrar<TfrmTestInterface>();
    registro.Registrar<TfrmProgRetardo>();
    registro.Registrar<TfrmEsperaAck>();
    registro.Registrar<TfrmTrigdig>();
    registro.Registrar<TfrmTrigAna>();
    registro.Registrar<TfrmMonitorizacion>();
    registro.Registrar<TfrmRespuestaFrecuencia>();
}

} // namespace qv

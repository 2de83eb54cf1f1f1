#include "channels/formularios_channels.h"

#include "app/api/registro_formularios.h"
#include "channels/act_des_senales.h"

namespace qv {

void RegistrarFormulariosChannels(TRegistroFormularios& registro)
{
    registro.Registrar<TfrmActDesSenales>();
}

} // namespace qv

#include "channels/formularios_channels.h"

#include "app/api/registro_formularios.h"

namespace qv {

void RegistrarFormulariosChannels(TRegistroFormularios& registro)
{
    // One line per form of this folder, e.g. registro.Registrar<TfrmX>();
    (void)registro;
}

} // namespace qv

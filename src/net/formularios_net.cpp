#include "net/formularios_net.h"

#include "app/api/registro_formularios.h"

namespace qv {

void RegistrarFormulariosNet(TRegistroFormularios& registro)
{
    // One line per form of this folder, e.g. registro.Registrar<TfrmX>();
    (void)registro;
}

} // namespace qv

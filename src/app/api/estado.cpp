#include "app/api/estado.h"

namespace qv {

void TEstadoPrograma::Notificar()
{
    Q_EMIT Cambiado();
}

void TEstadoPrograma::MarcarModificado()
{
    Modificado = true;
    Notificar();
}

void TEstadoPrograma::MarcarGuardado()
{
    Modificado = false;
    Notificar();
}

} // namespace qv

#include "app/api/estado.h"

#include <algorithm>

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

void TEstadoPrograma::PonerOcupado(bool ocupado)
{
    const bool antes = Ocupado();
    ocupado_ = std::max(0, ocupado_ + (ocupado ? 1 : -1));
    if (Ocupado() != antes) {
        Q_EMIT OcupadoCambiado(Ocupado());
        Notificar();
    }
}

} // namespace qv

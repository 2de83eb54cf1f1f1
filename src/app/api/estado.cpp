#include "app/api/estado.h"

#include <algorithm>

namespace qv {

void TEstadoPrograma::PonerConjunto(std::unique_ptr<TCjtSenales> senales)
{
    SenalesActuales = std::move(senales);
    Q_EMIT ConjuntoSustituido();
    Notificar();
}

void TEstadoPrograma::PonerConfig(std::unique_ptr<TConfigES> config)
{
    ConfigActual = std::move(config);
    Q_EMIT ConfigCambiada();
    Notificar();
}

void TEstadoPrograma::AvisarQuitadas(const QStringList& nombres)
{
    Q_EMIT SenalesQuitadas(nombres);
    Notificar();
}

void TEstadoPrograma::AvisarRenombrada(const QString& anterior, const QString& nuevo)
{
    Q_EMIT SenalRenombrada(anterior, nuevo);
    Notificar();
}

void TEstadoPrograma::PonerMultipuesto(bool multipuesto)
{
    multipuesto_ = multipuesto;
    Q_EMIT PuestoCambiado(multipuesto_, unidadTomada_);
    Notificar();
}

void TEstadoPrograma::PonerUnidadTomada(bool tomada)
{
    unidadTomada_ = tomada;
    Q_EMIT PuestoCambiado(multipuesto_, unidadTomada_);
    Notificar();
}

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

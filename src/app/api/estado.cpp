#include "app/api/estado.h"

#include <algorithm>

namespace qv {

void TEstadoPrograma::PonerConjunto(std::unique_ptr<TCjtSenales> senales, QString fichero)
{
    senales_ = std::move(senales);
    if (fichero != FicheroGuardarComo)
        FicheroGuardarComo = SinFicheroSenales;
    FicheroAbierto = fichero;
    Q_EMIT ConjuntoSustituido();
    Notificar();
}

void TEstadoPrograma::PonerConfig(std::unique_ptr<TConfigES> config)
{
    config_ = std::move(config);
    Q_EMIT ConfigCambiada();
    Notificar();
}

void TEstadoPrograma::Vaciar()
{
    senales_.reset();
    config_.reset();
    operaciones_.reset();
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

void TEstadoPrograma::Cambiar(bool& flag, bool valor, void (TEstadoPrograma::*senal)(bool))
{
    if (flag != valor) {
        flag = valor;
        Q_EMIT(this->*senal)(valor);
    }
    Notificar();
}

void TEstadoPrograma::PonerMonitorizando(bool on)
{
    Cambiar(monitorizando_, on, &TEstadoPrograma::MonitorizacionCambiada);
}

TOperaciones& TEstadoPrograma::Operaciones()
{
    if (!operaciones_)
        operaciones_ = std::make_unique<TOperaciones>();
    return *operaciones_;
}

void TEstadoPrograma::PonerOperaciones(std::unique_ptr<TOperaciones> operaciones)
{
    operaciones_ = std::move(operaciones);
    Q_EMIT OperacionesCambiadas();
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
    Cambiar(modificado_, true, &TEstadoPrograma::ModificadoCambiado);
}

void TEstadoPrograma::MarcarGuardado()
{
    Cambiar(modificado_, false, &TEstadoPrograma::ModificadoCambiado);
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

#include "capture/conductor_secuencia.h"

#include "capture/espera_ack.h"
#include "link/reloj.h"
#include "link/reloj_eventos.h"

#include <QEventLoop>

#include <algorithm>

namespace qv {

TConductorSecuencia::TConductorSecuencia(TSecuenciaCaptura& secuencia, TReloj& reloj, TfrmEsperaAck* espera)
    : secuencia_(secuencia), reloj_(reloj), espera_(espera),
      tiempoReal_(dynamic_cast<TRelojEventos*>(&reloj) != nullptr || dynamic_cast<TRelojReal*>(&reloj) != nullptr)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TConductorSecuencia::Disparo);
}

TConductorSecuencia::~TConductorSecuencia() = default;

TSecuenciaCaptura::TPaso TConductorSecuencia::Ejecutar()
{
    QEventLoop bucle;
    bucle_ = &bucle;
    resultado_ = TSecuenciaCaptura::TPaso::Sigue;
    Armar(0);
    bucle.exec();
    bucle_ = nullptr;
    timer_.stop();
    return resultado_;
}

void TConductorSecuencia::Armar(int ms)
{
    if (!tiempoReal_ && ms > 0) {
        // Virtual time: the pause passes on the clock itself.
        reloj_.Dormir(ms);
        ms = 0;
    }
    timer_.start(std::max(0, ms));
}

void TConductorSecuencia::Disparo()
{
    if (enPaso_ || !bucle_)
        return;
    enPaso_ = true;
    ++pasos_;
    const TSecuenciaCaptura::TPaso r = secuencia_.Paso();
    enPaso_ = false;
    Progreso();
    if (r != TSecuenciaCaptura::TPaso::Sigue) {
        resultado_ = r;
        bucle_->quit();
        return;
    }
    Armar(secuencia_.EsperaSugerida());
}

void TConductorSecuencia::Progreso()
{
    if (!espera_)
        return;
    using F = TSecuenciaCaptura::TFase;
    const F f = secuencia_.Fase();
    if (f == F::Leer || f == F::Derivar) {
        if (espera_->EstadoEspera() != TfrmEsperaAck::TEstadoEspera::Leyendo)
            espera_->Leyendo();
        espera_->PonerProgreso(secuencia_.Recibidos(), secuencia_.Esperados());
    }
}

} // namespace qv

#include "capture/monitor.h"

#include "link/monitor_sad.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/generadores.h"
#include "model/senales.h"

#include <cmath>

namespace qv {

TMonitor::TMonitor(TServicioSAD& sad, const TConfigES& config, TTextos& textos, TInteraccion& interaccion,
                   IDibujoMonitor& dibujo, TEstadoSalidas& salidas)
    : sad_(sad), config_(config), textos_(textos), interaccion_(interaccion), dibujo_(dibujo), salidas_(salidas),
      senales_(std::make_unique<TCjtSenales>(textos, interaccion))
{
}

TMonitor::~TMonitor() = default;

TAsincrono<int> TMonitor::LeerConjunto(bool terminada)
{
    auto lectura = std::make_shared<TLecturaMonitor>(config_, textos_, terminada);
    co_await sad_.Hablar(lectura);
    senales_ = lectura->TomarSenales();
    if (!senales_)
        senales_ = std::make_unique<TCjtSenales>(textos_, interaccion_);
    // The outputs are known for the whole capture, whatever was read; one whose
    // waveform has no value somewhere is drawn as far as it goes.
    try {
        SenalesDeSalidas(std::max(0, config_.NumMuestras), *senales_, config_, textos_);
    } catch (const EErrorCalculo&) {
    }
    co_return lectura->Muestras();
}

std::vector<const TSenal*> TMonitor::ElegirSenales(const TCjtSenales& senales)
{
    std::vector<const TSenal*> todas;
    for (int i = 0; i < senales.NumAna(); ++i)
        todas.push_back(senales.Ana(i));
    for (int i = 0; i < senales.NumDig(); ++i)
        todas.push_back(senales.Dig(i));
    std::vector<const TSenal*> r;
    if (todas.empty())
        return r;
    const double primero = std::round(todas.front()->Periodo() * 1e6);
    for (const TSenal* s : todas) {
        if (std::round(s->Periodo() * 1e6) != primero)
            continue;
        if (int(r.size()) < MaxSenalesDibujadas)
            r.push_back(s);
    }
    return r;
}

void TMonitor::DibujarElegidas(int n, bool enSeries)
{
    for (const TSenal* s : ElegirSenales(*senales_)) {
        const int cuantas = std::min(n, s->NumMuestras());
        QVector<double> x(cuantas), y(cuantas);
        for (int k = 0; k < cuantas; ++k) {
            x[k] = k * s->Periodo();
            y[k] = s->EsDigital() ? (static_cast<const TSenalDig*>(s)->LeerMuestra(k) ? AltoDigital : 0.0)
                                  : double(static_cast<const TSenalAna*>(s)->LeerMuestra(k));
        }
        int indice = -1;
        if (enSeries) {
            // The live series of the same channel carries on from these samples.
            for (const TSerie& serie : series_) {
                const bool digital = serie.tipo == TTipoSerie::SalDig || serie.tipo == TTipoSerie::EntDig;
                const QString nombre = serie.tipo == TTipoSerie::SalAna   ? config_.SalAna(serie.canal).Nombre
                                       : serie.tipo == TTipoSerie::EntAna ? config_.EntAna(serie.canal).Nombre
                                       : serie.tipo == TTipoSerie::SalDig ? config_.SalDig(serie.canal).Nombre
                                                                          : config_.EntDig(serie.canal).Nombre;
                if (digital == s->EsDigital() && nombre == s->Nombre())
                    indice = serie.indice;
            }
        }
        if (indice < 0)
            indice = dibujo_.NuevaSerie(s->Nombre());
        dibujo_.PonerDatos(indice, x, y);
    }
}

TAsincrono<int> TMonitor::Preparar()
{
    periodo_ = config_.PeriodoSegundos();
    dibujo_.Empezar(std::max(0, config_.NumMuestras - 1) * periodo_);
    salidas_ = TEstadoSalidas::Desde(config_);
    const int n = std::max(0, co_await LeerConjunto(false));

    // One live series per output and input of the capture, each starting where the
    // samples read end.
    series_.clear();
    const TDescriptorCaptura& descriptor = sad_.Info().Descriptor;
    const auto& grupos = descriptor.GrupoActivo;
    auto serie = [&](TTipoSerie tipo, int canal, const QString& nombre) {
        series_.push_back({tipo, canal, dibujo_.NuevaSerie(nombre), 0.0});
    };
    for (int i = 1; i <= 4; ++i)
        if (salidas_.Ana[i - 1])
            serie(TTipoSerie::SalAna, i, config_.SalAna(i).Nombre);
    for (int i = 1; i <= 8; ++i)
        if (grupos[1 + i])
            serie(TTipoSerie::EntAna, i, config_.EntAna(i).Nombre);
    for (int i = 1; i <= 16; ++i)
        if (salidas_.Dig[i - 1])
            serie(TTipoSerie::SalDig, i, config_.SalDig(i).Nombre);
    for (int i = 1; i <= 16; ++i)
        if (descriptor.EntradaDigital[i])
            serie(TTipoSerie::EntDig, i, config_.EntDig(i).Nombre);

    DibujarElegidas(n, true);
    ultimoIndice_ = n;
    ultimoTiempo_ = n * periodo_;
    ultimoProgreso_ = n;
    for (TSerie& s : series_) {
        s.ultimo = 0;
        // Inputs carry on from the last sample read.
        if (n > 0 && config_.NumMuestras > 0 && (s.tipo == TTipoSerie::EntAna || s.tipo == TTipoSerie::EntDig)) {
            if (s.tipo == TTipoSerie::EntAna) {
                if (const TSenalAna* a = senales_->BuscarAna(config_.EntAna(s.canal).Nombre); a && a->NumMuestras() >= n)
                    s.ultimo = a->LeerMuestra(n - 1);
            } else if (const TSenalDig* d = senales_->BuscarDig(config_.EntDig(s.canal).Nombre);
                       d && d->NumMuestras() >= n) {
                s.ultimo = d->LeerMuestra(n - 1) ? AltoDigital : 0.0;
            }
        }
        dibujo_.Extender(s.indice, ultimoTiempo_, s.ultimo);
    }
    fallos_ = 0;
    dibujo_.Terminar();
    co_return n;
}

double TMonitor::Valor(const TSerie& s, int k) const
{
    switch (s.tipo) {
    case TTipoSerie::SalAna: {
        if (!salidas_.Ana[s.canal - 1])
            return 0;
        const TSenalAna* a = senales_->BuscarAna(config_.SalAna(s.canal).Nombre);
        return a && k >= 0 && k < a->NumMuestras() ? a->LeerMuestra(k) : 0.0;
    }
    case TTipoSerie::EntAna:
        return ultimoValor_[1 + s.canal] * double(ResolucionRango(config_.EntAna(s.canal).Rango));
    case TTipoSerie::SalDig: {
        if (!salidas_.Dig[s.canal - 1])
            return 0;
        const TSenalDig* d = senales_->BuscarDig(config_.SalDig(s.canal).Nombre);
        return d && k >= 0 && k < d->NumMuestras() && d->LeerMuestra(k) ? AltoDigital : 0.0;
    }
    case TTipoSerie::EntDig: {
        const int grupo = s.canal <= 8 ? 0 : 1;
        const int bit = (s.canal - 1) % 8;
        return (ultimoValor_[grupo] >> bit) & 1 ? AltoDigital : 0.0;
    }
    }
    return 0;
}

TAsincrono<TMonitor::TTick> TMonitor::Tick()
{
    auto sondeo = TOrdenMonitor::Sondear(ultimoProgreso_);
    co_await sad_.Hablar(sondeo);
    if (sondeo->Respondio())
        fallos_ = 0;
    else
        co_return ++fallos_ > FallosMaximos ? TTick::Fallo : TTick::Nada;
    if (sondeo->Progreso() == 0)
        co_return sondeo->EnMarcha() ? TTick::Nada : TTick::Terminada;
    const int progreso = sondeo->Progreso();
    if (progreso == ultimoProgreso_)
        co_return TTick::Nada;
    ultimoValor_ = sondeo->UltimoValor();
    const double t = (progreso - 1) * periodo_;
    for (TSerie& s : series_) {
        s.ultimo = Valor(s, progreso - 1);
        dibujo_.Extender(s.indice, t, s.ultimo);
    }
    ultimoTiempo_ = t;
    ultimoIndice_ = progreso;
    ultimoProgreso_ = progreso;
    co_return TTick::Punto;
}

TAsincrono<bool> TMonitor::Reprogramar()
{
    auto orden = TOrdenMonitor::Reprogramar(config_);
    if (co_await sad_.Hablar(orden) != TConversacion::TPaso::Terminada)
        co_return false;
    co_await Preparar();
    co_return true;
}

TAsincrono<bool> TMonitor::LecturaFinal()
{
    const int n = co_await LeerConjunto(true);
    if (n < 0)
        co_return false;
    dibujo_.Empezar(std::max(0, config_.NumMuestras - 1) * periodo_);
    series_.clear();
    DibujarElegidas(n, false);
    dibujo_.Terminar();
    co_return true;
}

} // namespace qv

#include "link/barrido_sad.h"

#include "lang/interaccion.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <algorithm>

namespace qv {

namespace {

// Where an analog input stands among the groups sampled in one instant (the read-back's
// order: digital A, B, then analog inputs 1 to 8); only inputs matter here.
int Turno(const TConfigES& c, int entrada)
{
    int turno = 0;
    for (int i = 1; i < entrada; ++i)
        turno += c.EntAna(i).Activo ? 1 : 0;
    return turno;
}

std::vector<float> Muestras(const TCjtSenales& s, const QString& nombre)
{
    const TSenalAna* a = s.BuscarAna(nombre);
    return a ? a->Muestras() : std::vector<float>{};
}

} // namespace

TPuntoSAD::TPuntoSAD(const TAjustesBarrido& ajustes, const TPuntoPlan& plan, TTextos& textos,
                     QString carpetaPrograma, bool preguntarEstado)
    : ajustes_(ajustes), plan_(plan), config_(ConfigPunto(ajustes, plan, textos)),
      secuencia_(config_, TOperaciones(), textos, std::move(carpetaPrograma), TSecuenciaCaptura::TModo::Completa,
                 TSecuenciaCaptura::TTipo::Inmediata),
      preguntar_(preguntarEstado)
{
}

TPuntoSAD::~TPuntoSAD() = default;

TConversacion::TPaso TPuntoSAD::Paso(TComCapvis& com)
{
    switch (fase_) {
    case TFase::Hecha:
        return final_;
    case TFase::Ceros: {
        // Whatever the capture left behind, nothing drives the circuit any more.
        QByteArray respuesta;
        com.EnviarComando(TComCapvis::SalidasACero, respuesta, false);
        fase_ = TFase::Hecha;
        return final_ = TPaso::Cancelada;
    }
    case TFase::Captura:
        break;
    }
    const TPaso paso = secuencia_.Paso(com);
    const TSecuenciaCaptura::TFase f = secuencia_.Fase();
    programado_ = programado_ || f == TSecuenciaCaptura::TFase::Esperar || f == TSecuenciaCaptura::TFase::Leer
                  || f == TSecuenciaCaptura::TFase::Terminada;
    switch (paso) {
    case TPaso::Sigue:
        return paso;
    case TPaso::Decidir:
        if (preguntar_ && !cancelar_)
            return paso;
        // The capture found is the previous point's (or a stray one): replaced, a
        // programmed one aborted first.
        if (cancelar_)
            secuencia_.Cancelar();
        else
            secuencia_.Seguir(secuencia_.EstadoUnidad() == SadProgramada);
        return TPaso::Sigue;
    case TPaso::Terminada:
        Medir();
        fase_ = TFase::Hecha;
        return final_ = TPaso::Terminada;
    case TPaso::Cancelada:
        // A capture of someone else's that the question left alone keeps its outputs;
        // ours (this point's or an earlier point's) must not drive the circuit on.
        if (programado_ || !preguntar_) {
            fase_ = TFase::Ceros;
            return TPaso::Sigue;
        }
        fase_ = TFase::Hecha;
        return final_ = TPaso::Cancelada;
    case TPaso::Fallida:
        clave_ = secuencia_.ClaveFallo();
        fase_ = TFase::Hecha;
        return final_ = TPaso::Fallida;
    }
    return paso;
}

int TPuntoSAD::EsperaSugerida() const
{
    return fase_ == TFase::Captura ? secuencia_.EsperaSugerida() : 0;
}

void TPuntoSAD::Responder(int respuesta)
{
    // "Sí" goes on (aborting a programmed capture); anything else cancels the point.
    if (respuesta != Respuesta::Si)
        cancelar_ = true;
    secuencia_.Responder(respuesta);
}

void TPuntoSAD::Cancelar()
{
    cancelar_ = true;
    secuencia_.Cancelar();
}

TConversacion::TAvance TPuntoSAD::Avance() const
{
    const double captura = plan_.DuracionSegundos() * 1000;
    const double lectura = plan_.Muestras() * 2 * 5.5 / Barrido::BytesPorSegundo * 1000;
    TAvance a;
    a.esperados = qint64(captura + lectura) + 1;
    switch (secuencia_.Fase()) {
    case TSecuenciaCaptura::TFase::Esperar:
        a.recibidos = std::min<qint64>(secuencia_.TiempoEsperando(), qint64(captura));
        break;
    case TSecuenciaCaptura::TFase::Leer:
    case TSecuenciaCaptura::TFase::Cancelando:
    case TSecuenciaCaptura::TFase::Derivar:
    case TSecuenciaCaptura::TFase::Terminada: {
        a.leyendo = true;
        const qint64 esperados = secuencia_.Esperados();
        const double parte = esperados > 0 ? double(secuencia_.Recibidos()) / double(esperados) : 0.0;
        a.recibidos = qint64(captura + std::clamp(parte, 0.0, 1.0) * lectura);
        break;
    }
    default:
        a.recibidos = 0;
        break;
    }
    if (fase_ == TFase::Hecha)
        a.recibidos = a.esperados;
    return a;
}

void TPuntoSAD::Medir()
{
    std::unique_ptr<TCjtSenales> s = secuencia_.TomarSenales();
    const TEntAna& ref = config_.EntAna(ajustes_.Referencia);
    const TEntAna& resp = config_.EntAna(ajustes_.Respuesta);
    captura_.Periodo = plan_.PeriodoSegundos();
    captura_.Desde = plan_.Descartadas;
    captura_.Medidas = plan_.Medidas;
    captura_.Frecuencia = plan_.Frecuencia;
    if (s) {
        captura_.Referencia = Muestras(*s, ref.Nombre);
        captura_.Respuesta = Muestras(*s, resp.Nombre);
        captura_.Salida = Muestras(*s, config_.SalAna(ajustes_.Salida).Nombre);
    }
    TVentanaMedida v;
    v.Desde = plan_.Descartadas;
    v.Medidas = plan_.Medidas;
    v.Periodo = plan_.PeriodoSegundos();
    v.Frecuencia = plan_.Frecuencia;
    v.RetrasoRespuesta = (Turno(config_, ajustes_.Respuesta) - Turno(config_, ajustes_.Referencia))
                         * ajustes_.DesfaseGruposUs * 1e-6;
    punto_ = MedirPunto({captura_.Referencia, ResolucionRango(ref.Rango)},
                        {captura_.Respuesta, ResolucionRango(resp.Rango)}, v);
}

TConversacion::TPaso HablarAqui(TConversacion& c, TComCapvis& com, const std::function<int()>& decidir,
                                const std::function<void()>& cadaPaso)
{
    for (;;) {
        const TConversacion::TPaso paso = c.Paso(com);
        if (cadaPaso)
            cadaPaso();
        switch (paso) {
        case TConversacion::TPaso::Sigue:
            com.Tiempo().Dormir(c.EsperaSugerida());
            break;
        case TConversacion::TPaso::Decidir:
            c.Responder(decidir ? decidir() : Respuesta::Cancelar);
            break;
        default:
            return paso;
        }
    }
}

// ---- the whole sweep ----

TBarridoSAD::TBarridoSAD(TAjustesBarrido ajustes, TTextos& textos, QString carpetaPrograma)
    : textos_(textos), carpeta_(std::move(carpetaPrograma)), plan_(PlanificarBarrido(ajustes, textos))
{
    resultado_.Ajustes = std::move(ajustes);
}

std::shared_ptr<TPuntoSAD> TBarridoSAD::Siguiente()
{
    if (Terminado())
        return nullptr;
    return std::make_shared<TPuntoSAD>(resultado_.Ajustes, plan_.Puntos[std::size_t(Hechos())], textos_, carpeta_,
                                       Hechos() == 0);
}

void TBarridoSAD::Anotar(const TPuntoSAD& punto, double segundos)
{
    if (Terminado())
        return;
    resultado_.Puntos.push_back(punto.Punto());
    DesenrollarFase(resultado_.Puntos);
    estimados_ += punto.Plan().SegundosEstimados();
    medidos_ += std::max(0.0, segundos);
}

double TBarridoSAD::SegundosRestantes(double fraccion) const
{
    double resto = 0;
    for (int i = Hechos(); i < Total(); ++i) {
        const double s = plan_.Puntos[std::size_t(i)].SegundosEstimados();
        resto += i == Hechos() ? s * (1 - std::clamp(fraccion, 0.0, 1.0)) : s;
    }
    // Learn from the points done how far off the estimates are (within reason).
    const double factor = estimados_ > 0 && medidos_ > 0 ? std::clamp(medidos_ / estimados_, 0.25, 4.0) : 1.0;
    return resto * factor;
}

} // namespace qv

#include "link/monitor_sad.h"

#include "link/com_capvis.h"
#include "model/senales.h"

#include <QStringList>

#include <algorithm>

namespace qv {

namespace {

constexpr int kTextoNoActivadas = 144;
constexpr int kTextoNoDesactivadas = 145;

} // namespace

TEstadoSalidas TEstadoSalidas::Desde(const TConfigES& config)
{
    TEstadoSalidas e;
    for (int i = 1; i <= 16; ++i) {
        const TSalDig& s = config.SalDig(i);
        e.Dig[i - 1] = s.Activo;
        e.NombreDig[i - 1] = s.Activo ? s.Nombre : NoHay;
    }
    for (int i = 1; i <= 4; ++i) {
        const TSalAna& s = config.SalAna(i);
        e.Ana[i - 1] = s.Activo;
        e.NombreAna[i - 1] = s.Activo ? s.Nombre : NoHay;
    }
    return e;
}

QString CuerpoSalidas(const std::array<bool, 16>& dig, const std::array<bool, 4>& ana)
{
    QStringList piezas;
    int grupos = 0;
    for (int g = 0; g < 2; ++g) {
        QStringList bits;
        for (int b = 0; b < 8; ++b)
            if (dig[g * 8 + b])
                bits << QString::number(b);
        if (bits.isEmpty())
            continue;
        ++grupos;
        piezas << QString(QLatin1Char(g == 0 ? 'u' : 'v')) << QString::number(bits.size()) << bits;
    }
    for (int a = 0; a < 4; ++a)
        if (ana[a]) {
            ++grupos;
            piezas << QString(QLatin1Char(char('w' + a)));
        }
    if (grupos == 0)
        return QString();
    return QString::number(grupos) + QLatin1Char(',') + piezas.join(QLatin1Char(','));
}

// ---- the samples so far ----

TLecturaMonitor::TLecturaMonitor(TConfigES config, TTextos& textos, bool terminada)
    : config_(std::move(config)), textos_(textos), terminada_(terminada)
{
}

TLecturaMonitor::~TLecturaMonitor() = default;

TConversacion::TPaso TLecturaMonitor::Paso(TComCapvis& com)
{
    if (!lectura_) {
        if (cancelar_)
            return TPaso::Cancelada;
        com.ActualizarGrupos(config_);
        lectura_ = std::make_unique<TLecturaDatos>(com, config_, terminada_);
    }
    const TLecturaDatos::TResultado r = lectura_->Paso();
    if (r == TLecturaDatos::TResultado::Sigue)
        return TPaso::Sigue;
    if (r == TLecturaDatos::TResultado::Cancelada)
        return TPaso::Cancelada;
    muestras_ = r == TLecturaDatos::TResultado::Hecha && lectura_->Datos() ? lectura_->Muestras() : -1;
    senales_ = std::make_unique<TCjtSenales>(textos_, com.Usuario());
    lectura_->Entregar(*senales_);
    // The polls carry on from the samples read.
    com.PonerProgreso(static_cast<std::uint16_t>(std::clamp(muestras_, 0, 65535)));
    return TPaso::Terminada;
}

std::unique_ptr<TCjtSenales> TLecturaMonitor::TomarSenales()
{
    return std::move(senales_);
}

int TLecturaMonitor::EsperaSugerida() const
{
    return lectura_ ? lectura_->EsperaSugerida() : 0;
}

void TLecturaMonitor::Cancelar()
{
    cancelar_ = true;
    if (lectura_)
        lectura_->Cancelar();
}

TConversacion::TAvance TLecturaMonitor::Avance() const
{
    return {true, lectura_ ? lectura_->Recibidos() : 0, lectura_ ? lectura_->Esperados() : 0};
}

// ---- one exchange ----

std::shared_ptr<TOrdenMonitor> TOrdenMonitor::Sondear(int ultimo)
{
    std::shared_ptr<TOrdenMonitor> o(new TOrdenMonitor(TTipo::Sondear));
    o->ultimo_ = ultimo;
    return o;
}

std::shared_ptr<TOrdenMonitor> TOrdenMonitor::Reprogramar(TConfigES config)
{
    std::shared_ptr<TOrdenMonitor> o(new TOrdenMonitor(TTipo::Reprogramar));
    o->config_ = std::move(config);
    return o;
}

std::shared_ptr<TOrdenMonitor> TOrdenMonitor::Conmutar(QString encender, QString apagar)
{
    std::shared_ptr<TOrdenMonitor> o(new TOrdenMonitor(TTipo::Conmutar));
    o->encender_ = std::move(encender);
    o->apagar_ = std::move(apagar);
    return o;
}

TConversacion::TPaso TOrdenMonitor::Paso(TComCapvis& com)
{
    switch (tipo_) {
    case TTipo::Sondear: {
        respondio_ = com.LeerMonitor();
        const TInfoSAD info = com.Foto();
        progreso_ = info.Descriptor.Progreso;
        ultimoValor_ = info.UltimoValor;
        // "&0" also comes before the first sample of a capture: only the state tells
        // an end from a start.
        int estado = -1;
        if (respondio_ && progreso_ == 0 && com.LeerEstado(estado)
            && (estado == SadProgramada || estado == SadCapturando)) {
            enMarcha_ = true;
            com.PonerProgreso(static_cast<std::uint16_t>(std::clamp(ultimo_, 0, 65535)));
        }
        return respondio_ ? TPaso::Terminada : TPaso::Fallida;
    }
    case TTipo::Reprogramar:
        if (com.ProgramarRetardo(config_))
            return TPaso::Terminada;
        clave_ = com.ClaveFallo(135);
        return TPaso::Fallida;
    case TTipo::Conmutar:
        if (!encender_.isEmpty() && !com.ActivarSalidas(encender_)) {
            clave_ = com.ClaveFallo(kTextoNoActivadas);
            return TPaso::Fallida;
        }
        if (!apagar_.isEmpty() && !com.DesactivarSalidas(apagar_)) {
            clave_ = com.ClaveFallo(kTextoNoDesactivadas);
            return TPaso::Fallida;
        }
        return TPaso::Terminada;
    }
    return TPaso::Fallida;
}

} // namespace qv

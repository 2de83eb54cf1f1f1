#include "capture/dialogo_captura.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "capture/espera_ack.h"
#include "capture/panel_tiempos_captura.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/secuencia_captura.h"

#include <QComboBox>
#include <QLineEdit>

namespace qv {

namespace {

constexpr int kTextoSinGrupos = 171;
constexpr int kTextoFaltanTiempos = 143;
constexpr int kTextoPeriodo = 166;
constexpr int kTextoMemoria = 134;
constexpr int kTextoIncompatible = 198;
constexpr int kTextoNoProgramada = 135;

bool VacioOCero(const QLineEdit& e)
{
    const QString t = e.text().trimmed();
    return t.isEmpty() || t == QLatin1String("0");
}

// Busy cursor for a scope, however it ends.
struct TOcupado {
    TInteraccion& i;
    explicit TOcupado(TInteraccion& x) : i(x) { i.CursorOcupado(true); }
    ~TOcupado() { i.CursorOcupado(false); }
};

} // namespace

bool PresenciaSAD(TComCapvis& enlace, TInteraccion& interaccion)
{
    for (;;) {
        interaccion.CursorOcupado(true);
        const bool ok = enlace.LeerVersion();
        interaccion.CursorOcupado(false);
        if (ok)
            return true;
        const int r = interaccion.PreguntarPresencia();
        if (r == Respuesta::Ignorar)
            return true;
        if (r != Respuesta::Reintentar)
            return false; // "Abortar", or the dialog closed
    }
}

QString GuardarProgramaCfg(IPrincipal& principal, const TConfigES& config)
{
    const TContextoPrograma& c = principal.Contexto();
    TEstadoPrograma& e = principal.Estado();
    const TOperaciones ninguna;
    return TSecuenciaCaptura::GuardarPrograma(config, e.OperacionesActuales ? *e.OperacionesActuales : ninguna,
                                              c.Textos(), c.Interaccion(), c.CarpetaPrograma);
}

TDialogoCaptura::TDialogoCaptura(IPrincipal& principal, int numero, int ayuda, TVentanaRapida ventana,
                                 QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, numero, ayuda, parent), principal_(principal),
      estado_(principal.Estado())
{
    if (!estado_.ConfigTrabajo)
        estado_.ConfigTrabajo = estado_.ConfigActual ? std::make_unique<TConfigES>(*estado_.ConfigActual)
                                                     : std::make_unique<TConfigES>();
    trabajo_ = estado_.ConfigTrabajo.get();
    panel_ = new TPanelTiemposCaptura(*this, *trabajo_, Textos(), ventana);
    panel_->Llenar();
}

void TDialogoCaptura::AlMostrar()
{
    panel_->PonerConfirmado(false);
}

void TDialogoCaptura::TextosAplicados()
{
    panel_->NombrarUnidades();
}

void TDialogoCaptura::Confirmar()
{
    if (!panel_->Confirmado())
        panel_->SalirAnalisis();
}

bool TDialogoCaptura::ComprobarGrupos()
{
    if (GruposActivos(*trabajo_).grupos == 0) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoSinGrupos), Botones::Aceptar);
        return false;
    }
    return true;
}

bool TDialogoCaptura::ComprobarCajas(bool faltaOtra, QWidget* focoOtra)
{
    if (VacioOCero(*panel_->tMuesEdit) || VacioOCero(*panel_->tAnaEdit) || VacioOCero(*panel_->MuestrasEdit)
        || faltaOtra) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoFaltanTiempos), Botones::Aceptar);
        (faltaOtra && focoOtra ? focoOtra : static_cast<QWidget*>(panel_->tMuesEdit))->setFocus();
        return false;
    }
    return true;
}

bool TDialogoCaptura::ComprobarPeriodo()
{
    if (!PeriodoValido(*trabajo_)) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoPeriodo), Botones::Aceptar);
        panel_->tMuesEdit->setFocus();
        return false;
    }
    return true;
}

bool TDialogoCaptura::ComprobarMemoria()
{
    if (!CabeEnMemoria(*trabajo_)) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoMemoria), Botones::Aceptar);
        return false;
    }
    return true;
}

bool TDialogoCaptura::PreguntarCompatible()
{
    if (!estado_.SenalesActuales || estado_.SenalesActuales->CompatibleCon(*trabajo_))
        return true;
    if (!principal_.GuardarAntesDeDescartar(kTextoIncompatible))
        return false;
    principal_.SustituirConjunto(nullptr);
    estado_.MarcarModificado();
    return true;
}

bool TDialogoCaptura::Programar(bool trigger)
{
    // The working copy itself becomes current; the panel's reference stays valid.
    estado_.ConfigActual = std::move(estado_.ConfigTrabajo);
    const TConfigES& config = *estado_.ConfigActual;
    TComCapvis* enlace = estado_.EnlaceSAD.get();

    TOcupado ocupado(Interaccion());
    TfrmEsperaAck espera(Contexto, &principal_.Ventana());
    espera.Mostrar();
    bool ok = false;
    if (enlace) {
        enlace->PonerVentanaProgreso(&espera);
        ok = trigger ? enlace->ProgramarTrigger(config) : enlace->ProgramarRetardo(config);
        enlace->PonerVentanaProgreso(nullptr);
    }
    if (ok)
        GuardarProgramaCfg(principal_, config);
    espera.hide();
    if (!ok)
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoNoProgramada), Botones::Aceptar);
    estado_.Notificar();
    return ok;
}

} // namespace qv

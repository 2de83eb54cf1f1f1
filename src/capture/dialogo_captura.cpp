#include "capture/dialogo_captura.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "capture/panel_tiempos_captura.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"

#include <QLineEdit>

namespace qv {

namespace {

constexpr int kTextoIncompatible = 198;

bool VacioOCero(const QLineEdit& e)
{
    const QString t = e.text().trimmed();
    return t.isEmpty() || t == QLatin1String("0");
}

} // namespace

TDialogoCaptura::TDialogoCaptura(IPrincipal& principal, int numero, int ayuda, TVentanaRapida ventana,
                                 QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, numero, ayuda, parent), principal_(principal),
      estado_(principal.Estado())
{
    if (!estado_.Trabajo())
        estado_.PonerTrabajo(estado_.Config() ? std::make_unique<TConfigES>(*estado_.Config())
                                                     : std::make_unique<TConfigES>());
    trabajo_ = estado_.Trabajo();
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

bool TDialogoCaptura::ComprobarCaptura(bool faltaOtra, QWidget* focoOtra)
{
    QWidget* foco = panel_->tMuesEdit;
    int fallo = 0;
    if (VacioOCero(*panel_->tMuesEdit) || VacioOCero(*panel_->tAnaEdit) || VacioOCero(*panel_->MuestrasEdit)
        || faltaOtra) {
        fallo = clave::FaltanTiempos;
        if (faltaOtra && focoOtra)
            foco = focoOtra;
    } else {
        fallo = qv::ComprobarCaptura(*trabajo_);
    }
    if (!fallo)
        return true;
    Interaccion().MostrarAviso(Textos().BuscarTexto(fallo), Botones::Aceptar);
    foco->setFocus();
    return false;
}

bool TDialogoCaptura::PreguntarCompatible()
{
    if (!estado_.Senales() || estado_.Senales()->CompatibleCon(*trabajo_))
        return true;
    if (!principal_.GuardarAntesDeDescartar(kTextoIncompatible))
        return false;
    estado_.PonerConjunto(nullptr);
    estado_.MarcarModificado();
    return true;
}

} // namespace qv

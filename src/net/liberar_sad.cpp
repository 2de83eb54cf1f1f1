#include "net/liberar_sad.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/servicio_sad.h"
#include "net/estado_unidad.h"
#include "net/pcs.h"

#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {

Tform_LiberarSAD::Tform_LiberarSAD(TContextoRed& red, bool ocupado, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, Numero, ContextoAyuda, parent), red_(red), ocupado_(ocupado)
{
    setObjectName(QStringLiteral("form_LiberarSAD"));
    setWindowTitle(QStringLiteral("Liberar el SAD"));

    panel_ = new TPanelEstadoSAD(Textos(), this);

    // "Liberar SAD" in the place of "Aceptar": the standard row with that name.
    QHBoxLayout* botones = CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "BtnLiberar");
    BtnLiberar = BotonAceptar();
    BtnLiberar->setText(QStringLiteral("Liberar SAD"));
    BtnLiberar->setEnabled(false);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(panel_);
    columna->addStretch();
    columna->addLayout(botones);
    setMinimumWidth(420);

    if (const TServicioSAD* e = red_.Principal.Estado().Enlace())
        panel_->Comprobando(e->Info().Servidor);
}

void Tform_LiberarSAD::AlMostrar()
{
    // The dialog is on screen, saying it checks, while the check waits for the relay.
    if (!comprobado_)
        QTimer::singleShot(0, this, &Tform_LiberarSAD::Comprobar);
}

TTarea Tform_LiberarSAD::Comprobar()
{
    if (comprobado_)
        co_return;
    comprobado_ = true;
    TServicioSAD* e = red_.Principal.Estado().Enlace();
    TEnCurso curso(*this);
    const std::optional<int> estado = e ? co_await e->LeerEstado() : std::nullopt;
    if (!estado) {
        // Unreachable: the station no longer holds anything, and the link is closed.
        ocupado_ = false;
        panel_->NoLocalizado();
        BtnLiberar->setEnabled(false);
        if (e)
            e->Encargar([](TComCapvis& c) { c.Desconectar(); });
    } else {
        const bool tiene = e->Info().EsteEquipoLaTiene();
        if (!tiene)
            ocupado_ = false;
        BtnLiberar->setEnabled(tiene);
        panel_->Localizado(e->Info(), estado, true);
    }
    if (e)
        e->PonerPCLocal(NombreEsteEquipo());
}

bool Tform_LiberarSAD::Validar()
{
    if (!BtnLiberar->isEnabled())
        return false;
    // Outputs to zero and the connection closed; a failure changes nothing of that.
    if (TServicioSAD* e = red_.Principal.Estado().Enlace())
        e->Encargar([](TComCapvis& c) { c.Desconectar(); });
    ocupado_ = false;
    return true;
}

} // namespace qv

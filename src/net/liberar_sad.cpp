#include "net/liberar_sad.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/servicio_sad.h"
#include "net/estado_unidad.h"
#include "net/pcs.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kTextoComprobando = 266;

} // namespace

Tform_LiberarSAD::Tform_LiberarSAD(TContextoRed& red, bool ocupado, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, Numero, ContextoAyuda, parent), red_(red), ocupado_(ocupado)
{
    setObjectName(QStringLiteral("form_LiberarSAD"));
    setWindowTitle(QStringLiteral("Liberar el SAD"));

    Label_PCon = Etiqueta("Label_PCon", QString(), this);
    L_Comprobando = Etiqueta("L_Comprobando", QStringLiteral("Comprobando..."), this);
    AniComprobando = new QProgressBar(this);
    AniComprobando->setObjectName(QStringLiteral("AniComprobando"));
    AniComprobando->setRange(0, 0);
    AniComprobando->setTextVisible(false);
    AniComprobando->setFixedSize(80, L_Comprobando->sizeHint().height());
    L_Localizado = Etiqueta("L_Localizado", QStringLiteral("SAD localizado"), this);
    L_Nolocalizado = Etiqueta("L_Nolocalizado", QStringLiteral("SAD no localizado"), this);
    QFont negrita = L_Localizado->font();
    negrita.setBold(true);
    L_Localizado->setFont(negrita);
    L_Nolocalizado->setFont(negrita);
    L_Localizado->setStyleSheet(QStringLiteral("color: #1e7b34;"));
    L_Nolocalizado->setStyleSheet(QStringLiteral("color: #b0261b;"));
    auto* aviso = new QHBoxLayout;
    aviso->addWidget(Label_PCon, 1);
    aviso->addWidget(L_Comprobando);
    aviso->addWidget(AniComprobando);
    aviso->addWidget(L_Localizado);
    aviso->addWidget(L_Nolocalizado);

    auto* marco = new QFrame(this);
    marco->setObjectName(QStringLiteral("PanelDetalles"));
    marco->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    PanelDetalles = marco;
    L_OcupadoPor = Etiqueta("L_OcupadoPor", QString(), marco);
    L_Estado = Etiqueta("L_Estado", QString(), marco);
    L_Version = Etiqueta("L_Version", QString(), marco);
    L_Memoria = Etiqueta("L_Memoria", QString(), marco);
    auto* detalles = new QVBoxLayout(marco);
    for (QLabel* l : {L_OcupadoPor, L_Estado, L_Version, L_Memoria})
        detalles->addWidget(l);
    PanelDetalles->hide();

    // "Liberar SAD" in the place of "Aceptar": the standard row with that name.
    QHBoxLayout* botones = CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "BtnLiberar");
    BtnLiberar = BotonAceptar();
    BtnLiberar->setText(QStringLiteral("Liberar SAD"));
    BtnLiberar->setEnabled(false);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(aviso);
    columna->addWidget(PanelDetalles);
    columna->addStretch();
    columna->addLayout(botones);
    setMinimumWidth(420);

    Mostrar(TAviso::Comprobando);
    if (const TServicioSAD* e = red_.Principal.Estado().EnlaceSAD.get())
        Label_PCon->setText(Textos().BuscarTexto(kTextoComprobando) + e->Info().Servidor);
}

void Tform_LiberarSAD::AlMostrar()
{
    // The dialog is on screen, saying it checks, while the check waits for the relay.
    if (!comprobado_)
        QTimer::singleShot(0, this, &Tform_LiberarSAD::Comprobar);
}

void Tform_LiberarSAD::Mostrar(TAviso aviso)
{
    L_Comprobando->setVisible(aviso == TAviso::Comprobando);
    AniComprobando->setVisible(aviso == TAviso::Comprobando);
    L_Localizado->setVisible(aviso == TAviso::Localizado);
    L_Nolocalizado->setVisible(aviso == TAviso::NoLocalizado);
}

TTarea Tform_LiberarSAD::Comprobar()
{
    if (comprobado_)
        co_return;
    comprobado_ = true;
    TServicioSAD* e = red_.Principal.Estado().EnlaceSAD.get();
    TEnCurso curso(*this);
    const std::optional<int> estado = e ? co_await e->LeerEstado() : std::nullopt;
    if (!estado) {
        // Unreachable: the station no longer holds anything, and the link is closed.
        ocupado_ = false;
        Mostrar(TAviso::NoLocalizado);
        BtnLiberar->setEnabled(false);
        if (e)
            e->Encargar([](TComCapvis& c) { c.Desconectar(); });
    } else {
        const TInfoSAD& i = e->Info();
        L_Estado->setText(LineaEstado(true, *estado, Textos()));
        if (!i.EsteEquipoLaTiene()) {
            ocupado_ = false;
            BtnLiberar->setEnabled(false);
        } else {
            Label_PCon->setText(LineaServidor(i, Textos()));
            BtnLiberar->setEnabled(true);
        }
        Mostrar(TAviso::Localizado);
        L_OcupadoPor->setText(LineaOcupadoPor(i, Textos()));
        L_Version->setText(LineaVersion(i, Textos()));
        L_Memoria->setText(LineaMemoria(i, Textos()));
        PanelDetalles->show();
    }
    if (e)
        e->PonerPCLocal(NombreEsteEquipo());
}

void Tform_LiberarSAD::BtnLiberarClick()
{
    AceptarClick();
}

bool Tform_LiberarSAD::Validar()
{
    if (!BtnLiberar->isEnabled())
        return false;
    // Outputs to zero and the connection closed; a failure changes nothing of that.
    if (TServicioSAD* e = red_.Principal.Estado().EnlaceSAD.get())
        e->Encargar([](TComCapvis& c) { c.Desconectar(); });
    ocupado_ = false;
    return true;
}

} // namespace qv

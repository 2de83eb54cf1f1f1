#include "net/estado_unidad.h"

#include "lang/textos.h"
#include "lang/ui/formulario.h"
#include "link/servicio_sad.h"
#include "model/claves_texto.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace qv {

namespace {
constexpr int kTextoProgramada = 128;
constexpr int kTextoEnCurso = 129;
constexpr int kTextoConDatos = 216;
constexpr int kTextoNada = 217;
constexpr int kTextoComprobando = 266;
constexpr int kTextoEstado = 270;
constexpr int kTextoVersion = 271;
constexpr int kTextoMemoria = 272;
constexpr int kTextoPCSAD = 48008;    // "   PC - SAD: "
constexpr int kTextoSinEstado = 48009; // "No se ha podido leer su estado"
constexpr int kTextoBytes = 48010;    // " bytes"

// Language text of a unit capture state (0 to 3); 0 for any other value.
int TextoEstadoUnidad(int estado)
{
    switch (estado) {
    case SadLibre: return kTextoNada;
    case SadProgramada: return kTextoProgramada;
    case SadCapturando: return kTextoEnCurso;
    case SadConDatos: return kTextoConDatos;
    default: return 0;
    }
}

// "Estado: " and the text of a state read, or the text saying it could not be.
QString LineaEstado(std::optional<int> estado, TTextos& textos)
{
    const int clave = estado ? TextoEstadoUnidad(*estado) : 0;
    return textos.BuscarTexto(kTextoEstado) + textos.BuscarTexto(clave > 0 ? clave : kTextoSinEstado);
}

} // namespace

TPanelEstadoSAD::TPanelEstadoSAD(TTextos& textos, QWidget* parent) : QWidget(parent), textos_(textos)
{
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

    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->addLayout(aviso);
    columna->addWidget(PanelDetalles);
    Nada();
}

void TPanelEstadoSAD::Mostrar(TAviso aviso)
{
    L_Comprobando->setVisible(aviso == TAviso::Comprobando);
    AniComprobando->setVisible(aviso == TAviso::Comprobando);
    L_Localizado->setVisible(aviso == TAviso::Localizado);
    L_Nolocalizado->setVisible(aviso == TAviso::NoLocalizado);
    Label_PCon->setVisible(aviso != TAviso::Nada);
}

void TPanelEstadoSAD::Nada()
{
    Mostrar(TAviso::Nada);
    PanelDetalles->hide();
}

void TPanelEstadoSAD::OcultarDetalles()
{
    PanelDetalles->hide();
}

void TPanelEstadoSAD::Comprobando(const QString& pc)
{
    Label_PCon->setText(textos_.BuscarTexto(kTextoComprobando) + pc);
    Mostrar(TAviso::Comprobando);
    PanelDetalles->hide();
}

void TPanelEstadoSAD::NoLocalizado()
{
    Mostrar(TAviso::NoLocalizado);
}

void TPanelEstadoSAD::Localizado(const TInfoSAD& info, std::optional<int> estado, bool completo)
{
    if (info.EsteEquipoLaTiene())
        Label_PCon->setText(textos_.BuscarTexto(kTextoPCSAD) + info.Servidor);
    L_OcupadoPor->setText(textos_.BuscarTexto(clave::OcupadoPor) + info.PCPropietario);
    L_Estado->setText(LineaEstado(estado, textos_));
    L_Version->setText(textos_.BuscarTexto(kTextoVersion) + info.Version);
    L_Memoria->setText(textos_.BuscarTexto(kTextoMemoria) + QString::number(info.Memoria) +
                       textos_.BuscarTexto(kTextoBytes));
    for (QLabel* l : {L_Estado, L_Version, L_Memoria})
        l->setVisible(completo);
    Mostrar(TAviso::Localizado);
    PanelDetalles->show();
}

} // namespace qv

#include "net/pcs_sad.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/ajustes_estacion.h"
#include "net/panel_busqueda.h"
#include "net/pcs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kTextoDireccionIncompleta = 279;

QToolButton* BotonPequeno(const char* nombre, const QString& texto, QWidget* padre)
{
    auto* b = new QToolButton(padre);
    b->setObjectName(QLatin1String(nombre));
    b->setText(texto);
    b->setFixedSize(28, 26);
    return b;
}

// One number of an IPv4 address: digits only, at most three.
QLineEdit* CajaOcteto(const char* nombre, QWidget* padre)
{
    QLineEdit* e = CajaNumero(nombre, padre, 3);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    e->setAlignment(Qt::AlignCenter);
    return e;
}

} // namespace

Tform_PcsSAD::Tform_PcsSAD(TContextoRed& red, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, Numero, ContextoAyuda, parent), red_(red)
{
    setObjectName(QStringLiteral("form_PcsSAD"));
    setWindowTitle(QStringLiteral("Lista de PCs con SAD"));

    L_Explicacion = new QLabel(
        QStringLiteral("Cree una lista con los PCs que tienen un SAD en su aula. De esta manera los tendr\u00e1 "
                       "disponibles en la ventana de conexi\u00f3n al SAD."),
        this);
    L_Explicacion->setObjectName(QStringLiteral("L_Explicacion"));
    L_Explicacion->setWordWrap(true);

    panel_ = new TPanelBusqueda(red.Principal.Contexto().Textos(), red.Busqueda, false, this);
    panel_->Configurados = [this] { return Lista(); };
    SB_Anadir = BotonPequeno("SB_Anadir", QStringLiteral(">"), this);

    L_IP = new QLabel(QStringLiteral("Direcci\u00f3n IP :"), this);
    L_IP->setObjectName(QStringLiteral("L_IP"));
    ED_IPa = CajaOcteto("ED_IPa", this);
    ED_IPb = CajaOcteto("ED_IPb", this);
    Ed_IPc = CajaOcteto("Ed_IPc", this);
    ED_IPd = CajaOcteto("ED_IPd", this);
    L_IP->setBuddy(ED_IPa);
    L_Nombre = new QLabel(QStringLiteral("Nombre :"), this);
    L_Nombre->setObjectName(QStringLiteral("L_Nombre"));
    ED_IPNombre = new QLineEdit(this);
    ED_IPNombre->setObjectName(QStringLiteral("ED_IPNombre"));
    L_Nombre->setBuddy(ED_IPNombre);
    SB_AnadirIP = BotonPequeno("SB_AnadirIP", QStringLiteral(">"), this);

    ListaPcsSAD = new QListWidget(this);
    ListaPcsSAD->setObjectName(QStringLiteral("ListaPcsSAD"));
    ListaPcsSAD->setMinimumWidth(200);
    SB_Quitar = BotonPequeno("SB_Quitar", QStringLiteral("X"), this);
    SB_Quitar->setToolTip(QStringLiteral("Quitar el PC de la lista"));

    connect(SB_Anadir, &QToolButton::clicked, this, &Tform_PcsSAD::SB_AnadirClick);
    connect(SB_AnadirIP, &QToolButton::clicked, this, &Tform_PcsSAD::SB_AnadirIPClick);
    connect(SB_Quitar, &QToolButton::clicked, this, &Tform_PcsSAD::SB_QuitarClick);
    connect(panel_->Arbol(), &QTreeWidget::itemDoubleClicked, this, &Tform_PcsSAD::SB_AnadirClick);

    // Left: the search and the typed address; middle: the ">" buttons; right: the list.
    auto* direccion = new QHBoxLayout;
    direccion->setSpacing(2);
    auto punto = [this] { return new QLabel(QStringLiteral("."), this); };
    direccion->addWidget(ED_IPa);
    direccion->addWidget(punto());
    direccion->addWidget(ED_IPb);
    direccion->addWidget(punto());
    direccion->addWidget(Ed_IPc);
    direccion->addWidget(punto());
    direccion->addWidget(ED_IPd);
    direccion->addStretch();

    auto* rejilla = new QGridLayout;
    rejilla->addWidget(panel_, 0, 0, 1, 2);
    rejilla->addWidget(SB_Anadir, 0, 2, Qt::AlignVCenter);
    rejilla->addWidget(L_IP, 1, 0);
    rejilla->addLayout(direccion, 1, 1);
    rejilla->addWidget(L_Nombre, 2, 0);
    rejilla->addWidget(ED_IPNombre, 2, 1);
    rejilla->addWidget(SB_AnadirIP, 1, 2, 2, 1, Qt::AlignVCenter);
    auto* lista = new QVBoxLayout;
    // The list starts level with the tree, below the search row.
    lista->addSpacing(panel_->BotonBuscar()->sizeHint().height() + panel_->layout()->spacing());
    lista->addWidget(ListaPcsSAD, 1);
    lista->addWidget(SB_Quitar, 0, Qt::AlignRight);
    rejilla->addLayout(lista, 0, 3, 3, 1);
    rejilla->setColumnStretch(1, 1);
    rejilla->setColumnStretch(3, 1);
    rejilla->setRowStretch(0, 1);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(L_Explicacion);
    columna->addLayout(rejilla, 1);
    columna->addLayout(CrearBotones());
    resize(560, 360);

    setTabOrder(panel_->BotonBuscar(), panel_->Arbol());
    setTabOrder(panel_->Arbol(), SB_Anadir);
    setTabOrder(SB_Anadir, ED_IPa);
    setTabOrder(ED_IPa, ED_IPb);
    setTabOrder(ED_IPb, Ed_IPc);
    setTabOrder(Ed_IPc, ED_IPd);
    setTabOrder(ED_IPd, ED_IPNombre);
    setTabOrder(ED_IPNombre, SB_AnadirIP);
    setTabOrder(SB_AnadirIP, ListaPcsSAD);
    setTabOrder(ListaPcsSAD, SB_Quitar);
}

void Tform_PcsSAD::AlMostrar()
{
    ListaPcsSAD->clear();
    ListaPcsSAD->addItems(red_.Ajustes.PCsServer());
}

QStringList Tform_PcsSAD::Lista() const
{
    QStringList r;
    for (int i = 0; i < ListaPcsSAD->count(); ++i)
        r << ListaPcsSAD->item(i)->text();
    return r;
}

bool Tform_PcsSAD::Anadir(const QString& entrada)
{
    if (entrada.trimmed().isEmpty() || Lista().contains(entrada))
        return false;
    ListaPcsSAD->addItem(entrada);
    ListaPcsSAD->setCurrentRow(ListaPcsSAD->count() - 1);
    return true;
}

void Tform_PcsSAD::SB_AnadirClick()
{
    const QStringList elegidos = panel_->Seleccionados();
    if (!elegidos.isEmpty())
        Anadir(elegidos.first());
}

void Tform_PcsSAD::SB_AnadirIPClick()
{
    for (QLineEdit* e : {ED_IPa, ED_IPb, Ed_IPc, ED_IPd})
        if (e->text().isEmpty()) {
            Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoDireccionIncompleta), Botones::Aceptar);
            e->setFocus();
            return;
        }
    // The list is written as names each followed by ",": a comma in a name would split it.
    const QString nombre = ED_IPNombre->text().trimmed().remove(QLatin1Char(','));
    Anadir(EntradaDireccion(ED_IPa->text(), ED_IPb->text(), Ed_IPc->text(), ED_IPd->text(), nombre));
}

void Tform_PcsSAD::SB_QuitarClick()
{
    delete ListaPcsSAD->currentItem();
}

bool Tform_PcsSAD::Validar()
{
    red_.Ajustes.EscribirPCsServer(Lista());
    return true;
}

} // namespace qv

#include "net/panel_busqueda.h"

#include "lang/textos.h"
#include "model/claves_texto.h"
#include "net/net_users.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {

namespace {
}

TPanelBusqueda::TPanelBusqueda(TTextos& textos, TOpcionesBusqueda opciones, bool multiple, QWidget* parent)
    : QWidget(parent), textos_(textos), opciones_(std::move(opciones))
{
    setObjectName(QStringLiteral("PanelBusqueda"));
    SB_Buscar = new QPushButton(QStringLiteral("Buscar PCs en la red"), this);
    SB_Buscar->setObjectName(QStringLiteral("SB_Buscar"));
    SB_Buscar->setAutoDefault(false);
    SB_Buscar->setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    L_Buscando = new QLabel(QStringLiteral("Buscando PCs en la red..."), this);
    L_Buscando->setObjectName(QStringLiteral("L_Buscando"));
    AniBuscando = new QProgressBar(this);
    AniBuscando->setObjectName(QStringLiteral("AniBuscando"));
    AniBuscando->setRange(0, 0); // moves for as long as it is shown
    AniBuscando->setTextVisible(false);
    AniBuscando->setFixedHeight(L_Buscando->sizeHint().height());
    L_Buscando->hide();
    AniBuscando->hide();

    TVListaPCs = new QTreeWidget(this);
    TVListaPCs->setObjectName(QStringLiteral("TVListaPCs"));
    TVListaPCs->setHeaderHidden(true);
    TVListaPCs->setRootIsDecorated(false);
    TVListaPCs->setColumnCount(1);
    TVListaPCs->setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection
                                          : QAbstractItemView::SingleSelection);
    TVListaPCs->setMinimumHeight(90);

    // The row keeps its height whether it shows the button or the searching line, so
    // the tree below does not jump.
    auto* barra = new QWidget(this);
    barra->setFixedHeight(SB_Buscar->sizeHint().height());
    auto* fila = new QHBoxLayout(barra);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->addWidget(SB_Buscar);
    fila->addWidget(L_Buscando);
    fila->addWidget(AniBuscando, 1);
    fila->addStretch();
    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->addWidget(barra);
    columna->addWidget(TVListaPCs, 1);

    connect(SB_Buscar, &QPushButton::clicked, this,
            [this] { Buscar(Configurados ? Configurados() : QStringList{}); });
    connect(TVListaPCs, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QStringList t = Seleccionados();
        if (!t.isEmpty())
            Q_EMIT SeleccionCambiada(t);
    });
}

bool TPanelBusqueda::Buscando() const
{
    return busqueda_ && busqueda_->Buscando();
}

QStringList TPanelBusqueda::Seleccionados() const
{
    QStringList r;
    for (int i = 0; i < TVListaPCs->topLevelItemCount(); ++i)
        if (TVListaPCs->topLevelItem(i)->isSelected())
            r << TVListaPCs->topLevelItem(i)->text(0);
    return r;
}

void TPanelBusqueda::AnadirNodo(const QString& entrada, const QString& titular)
{
    for (int i = 0; i < TVListaPCs->topLevelItemCount(); ++i)
        if (TVListaPCs->topLevelItem(i)->text(0) == entrada)
            return;
    auto* item = new QTreeWidgetItem(QStringList{entrada});
    item->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
    if (!titular.isEmpty())
        item->setToolTip(0, textos_.BuscarTexto(clave::OcupadoPor) + titular);
    TVListaPCs->addTopLevelItem(item);
    TVListaPCs->sortItems(0, Qt::AscendingOrder);
}

void TPanelBusqueda::Buscar(const QStringList& configurados)
{
    if (!busqueda_) {
        busqueda_ = new TNetUsers(opciones_, this);
        connect(busqueda_, &TNetUsers::Encontrado, this,
                [this](const QString& entrada, const QString& titular) { AnadirNodo(entrada, titular); });
        connect(busqueda_, &TNetUsers::Terminado, this, &TPanelBusqueda::Acabar);
    }
    TVListaPCs->clear();
    Empezar();
    busqueda_->BuscarPCs(configurados);
}

void TPanelBusqueda::Detener()
{
    if (busqueda_)
        busqueda_->Detener();
}

void TPanelBusqueda::hideEvent(QHideEvent* e)
{
    Detener();
    QWidget::hideEvent(e);
}

void TPanelBusqueda::Empezar()
{
    TVListaPCs->show();
    SB_Buscar->hide();
    L_Buscando->show();
    AniBuscando->show();
}

void TPanelBusqueda::Acabar()
{
    L_Buscando->hide();
    AniBuscando->hide();
    SB_Buscar->show();
    Q_EMIT Terminada();
}

} // namespace qv

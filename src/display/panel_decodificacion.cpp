#include "display/panel_decodificacion.h"

#include "lang/textos.h"
#include "lang/ui/formulario.h"
#include "model/claves_texto.h"
#include "model/formatos.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

constexpr int kTextoFila = 602;
constexpr int kTextoTexto = 603;
constexpr int kTextoExportar = 604;
constexpr int kTextoOcultar = 607;
constexpr int kTextoProgreso = 616;
constexpr int kTextoCuantas = 617;

} // namespace

// ---- the table -------------------------------------------------------------------------

void TModeloAnotaciones::Poner(std::vector<TDecodificada> decodificadas)
{
    beginResetModel();
    decodificadas_ = std::move(decodificadas);
    filas_.clear();
    for (int k = 0; k < int(decodificadas_.size()); ++k)
        if (const TResultadoDecod* r = decodificadas_[std::size_t(k)].Resultado.get())
            for (int i = 0; i < int(r->Anotaciones.size()); ++i)
                filas_.emplace_back(k, i);
    const auto inicio = [this](const std::pair<int, int>& f) {
        const TResultadoDecod& r = *decodificadas_[std::size_t(f.first)].Resultado;
        return double(r.Anotaciones[std::size_t(f.second)].Desde) * r.Periodo;
    };
    std::stable_sort(filas_.begin(), filas_.end(),
                     [&](const auto& a, const auto& b) { return inicio(a) < inicio(b); });
    endResetModel();
}

void TModeloAnotaciones::PonerCabecera(QStringList cabecera)
{
    cabecera_ = std::move(cabecera);
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, 2);
}

int TModeloAnotaciones::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : int(filas_.size());
}

int TModeloAnotaciones::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : 3;
}

const TAnotacionDecod* TModeloAnotaciones::Anotacion(int fila, const TResultadoDecod** resultado) const
{
    if (fila < 0 || fila >= int(filas_.size()))
        return nullptr;
    const auto [k, i] = filas_[std::size_t(fila)];
    const TResultadoDecod* r = decodificadas_[std::size_t(k)].Resultado.get();
    if (resultado)
        *resultado = r;
    return &r->Anotaciones[std::size_t(i)];
}

QVariant TModeloAnotaciones::data(const QModelIndex& i, int rol) const
{
    const TResultadoDecod* r = nullptr;
    const TAnotacionDecod* a = Anotacion(i.row(), &r);
    if (!a || (rol != Qt::DisplayRole && rol != Qt::ToolTipRole))
        return {};
    switch (i.column()) {
    case 0:
        return FormatoGeneral(double(a->Desde) * r->Periodo, 8);
    case 1:
        return decodificadas_[std::size_t(filas_[std::size_t(i.row())].first)].Prefijo
               + r->Filas[std::size_t(a->Fila)].Descripcion;
    default:
        return a->Textos.value(0);
    }
}

QVariant TModeloAnotaciones::headerData(int seccion, Qt::Orientation o, int rol) const
{
    if (rol != Qt::DisplayRole)
        return {};
    if (o == Qt::Vertical)
        return seccion + 1;
    return cabecera_.value(seccion);
}

TResultadoDecod TModeloAnotaciones::Todo() const
{
    TResultadoDecod todo;
    std::vector<int> primeraFila;
    for (const TDecodificada& d : decodificadas_) {
        primeraFila.push_back(int(todo.Filas.size()));
        if (d.Resultado)
            todo.Filas.insert(todo.Filas.end(), d.Resultado->Filas.begin(), d.Resultado->Filas.end());
    }
    // A window shows signals of one sampling period, so its decodings share it.
    for (const TDecodificada& d : decodificadas_)
        if (d.Resultado) {
            todo.Periodo = d.Resultado->Periodo;
            break;
        }
    for (const auto& [k, i] : filas_) {
        TAnotacionDecod a = decodificadas_[std::size_t(k)].Resultado->Anotaciones[std::size_t(i)];
        a.Fila += primeraFila[std::size_t(k)];
        todo.Anotaciones.push_back(std::move(a));
    }
    return todo;
}

// ---- the panel -------------------------------------------------------------------------

TPanelDecodificacion::TPanelDecodificacion(TTextos& textos, QWidget* parent) : QWidget(parent), textos_(textos)
{
    setObjectName(QStringLiteral("PDecodificacion"));
    setFixedHeight(Alto);
    modelo_ = new TModeloAnotaciones(this);

    LDecodificacion = Etiqueta("LDecodificacion", QString(), this);
    QFont negrita = LDecodificacion->font();
    negrita.setBold(true);
    LDecodificacion->setFont(negrita);

    TablaDecod = new QTableView(this);
    TablaDecod->setObjectName(QStringLiteral("TablaDecod"));
    TablaDecod->setModel(modelo_);
    TablaDecod->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TablaDecod->setSelectionBehavior(QAbstractItemView::SelectRows);
    TablaDecod->setSelectionMode(QAbstractItemView::SingleSelection);
    // The arrow keys belong to the cursors; rows are chosen with the mouse.
    TablaDecod->setFocusPolicy(Qt::NoFocus);
    TablaDecod->verticalHeader()->hide();
    TablaDecod->verticalHeader()->setDefaultSectionSize(TablaDecod->fontMetrics().height() + 4);
    TablaDecod->horizontalHeader()->setStretchLastSection(true);
    TablaDecod->horizontalHeader()->setHighlightSections(false);
    TablaDecod->setWordWrap(false);
    LDecodificacion->setBuddy(TablaDecod);
    connect(TablaDecod, &QTableView::clicked, this, [this](const QModelIndex& i) {
        const TResultadoDecod* r = nullptr;
        if (const TAnotacionDecod* a = modelo_->Anotacion(i.row(), &r))
            Q_EMIT Elegida(double(a->Desde) * r->Periodo, double(a->Hasta) * r->Periodo);
    });

    BtnExportarCSV = new QToolButton(this);
    BtnExportarCSV->setObjectName(QStringLiteral("BtnExportarCSV"));
    BtnExportarCSV->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BtnExportarCSV->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    BtnExportarCSV->setAutoRaise(true);
    BtnExportarCSV->setFocusPolicy(Qt::TabFocus);
    connect(BtnExportarCSV, &QToolButton::clicked, this, &TPanelDecodificacion::ExportarCsv);

    SBcerrarDecod = new QToolButton(this);
    SBcerrarDecod->setObjectName(QStringLiteral("SBcerrarDecod"));
    SBcerrarDecod->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    SBcerrarDecod->setAutoRaise(true);
    SBcerrarDecod->setFocusPolicy(Qt::TabFocus);
    connect(SBcerrarDecod, &QToolButton::clicked, this, &TPanelDecodificacion::Cerrar);

    auto* cabecera = new QHBoxLayout;
    cabecera->setContentsMargins(4, 0, 0, 0);
    cabecera->addWidget(LDecodificacion, 1);
    cabecera->addWidget(BtnExportarCSV);
    cabecera->addWidget(SBcerrarDecod);
    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 2, 0, 0);
    columna->setSpacing(2);
    columna->addLayout(cabecera);
    columna->addWidget(TablaDecod, 1);
    AplicarTextos();
    hide();
}

void TPanelDecodificacion::Mostrar(std::vector<TModeloAnotaciones::TDecodificada> decodificadas)
{
    modelo_->Poner(std::move(decodificadas));
    TablaDecod->resizeColumnToContents(0);
    TablaDecod->resizeColumnToContents(1);
    BtnExportarCSV->setEnabled(modelo_->rowCount() > 0);
    PonerTitulo();
}

void TPanelDecodificacion::PonerProgreso(int porcentaje)
{
    progreso_ = porcentaje;
    PonerTitulo();
}

void TPanelDecodificacion::PonerTitulo()
{
    LDecodificacion->setText(progreso_ >= 0
                                 ? textos_.BuscarTexto(kTextoProgreso).replace(QStringLiteral("%1"), QString::number(progreso_))
                                 : textos_.BuscarTexto(kTextoCuantas).replace(QStringLiteral("%1"),
                                                                              QString::number(modelo_->rowCount())));
}

void TPanelDecodificacion::AplicarTextos()
{
    modelo_->PonerCabecera(
        {textos_.BuscarTexto(clave::EjeTiempo), textos_.BuscarTexto(kTextoFila), textos_.BuscarTexto(kTextoTexto)});
    BtnExportarCSV->setText(textos_.BuscarTexto(kTextoExportar));
    SBcerrarDecod->setToolTip(textos_.BuscarTexto(kTextoOcultar));
    PonerTitulo();
}

} // namespace qv

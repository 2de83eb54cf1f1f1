#include "display/panel_medidas.h"

#include "lang/textos.h"
#include "lang/ui/formulario.h"
#include "model/claves_texto.h"
#include "model/formatos.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

constexpr int kTextoMedidas = 430;
constexpr int kTextoCopiar = 436;
constexpr int kTextoOcultar = 437;
constexpr int kTextoTodaLaSenal = 438;
constexpr int kTextoEntreCursores = 439;

constexpr int kDigitos = 6;
constexpr int kAyuda = 430;

} // namespace

TPanelMedidas::TPanelMedidas(TTextos& textos, QWidget* parent) : QWidget(parent), textos_(textos)
{
    setObjectName(QStringLiteral("PMedidas"));
    setProperty(kPropiedadAyuda, kAyuda);
    setFixedHeight(Alto);

    LMedidas = Etiqueta("LMedidas", QString(), this);
    QFont negrita = LMedidas->font();
    negrita.setBold(true);
    LMedidas->setFont(negrita);
    LRTramo = Etiqueta("LRTramo", QString(), this);

    SGMedidas = new QTableWidget(0, 0, this);
    SGMedidas->setObjectName(QStringLiteral("SGMedidas"));
    SGMedidas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGMedidas->setSelectionMode(QAbstractItemView::NoSelection);
    // The arrow keys belong to the cursors; the grid scrolls with the mouse.
    SGMedidas->setFocusPolicy(Qt::NoFocus);
    SGMedidas->verticalHeader()->hide();
    SGMedidas->verticalHeader()->setDefaultSectionSize(SGMedidas->fontMetrics().height() + 6);
    SGMedidas->horizontalHeader()->setHighlightSections(false);
    SGMedidas->setWordWrap(false);
    LMedidas->setBuddy(SGMedidas);

    SBcopiar = new QToolButton(this);
    SBcopiar->setObjectName(QStringLiteral("SBcopiar"));
    SBcopiar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SBcopiar->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    SBcopiar->setAutoRaise(true);
    SBcopiar->setFocusPolicy(Qt::TabFocus);
    connect(SBcopiar, &QToolButton::clicked, this, &TPanelMedidas::Copiar);

    SBcerrarMedidas = new QToolButton(this);
    SBcerrarMedidas->setObjectName(QStringLiteral("SBcerrarMedidas"));
    SBcerrarMedidas->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    SBcerrarMedidas->setAutoRaise(true);
    SBcerrarMedidas->setFocusPolicy(Qt::TabFocus);
    connect(SBcerrarMedidas, &QToolButton::clicked, this, &TPanelMedidas::Cerrar);

    auto* cabecera = new QHBoxLayout;
    cabecera->setContentsMargins(4, 0, 0, 0);
    cabecera->addWidget(LMedidas);
    cabecera->addSpacing(8);
    cabecera->addWidget(LRTramo, 1);
    cabecera->addWidget(SBcopiar);
    cabecera->addWidget(SBcerrarMedidas);
    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 2, 0, 0);
    columna->setSpacing(1);
    columna->addLayout(cabecera);
    columna->addWidget(SGMedidas, 1);
    AplicarTextos();
    hide();
}

void TPanelMedidas::AplicarTextos()
{
    LMedidas->setText(textos_.BuscarTexto(kTextoMedidas));
    SBcopiar->setText(textos_.BuscarTexto(kTextoCopiar));
    SBcerrarMedidas->setToolTip(textos_.BuscarTexto(kTextoOcultar));
    SBcerrarMedidas->setAccessibleName(SBcerrarMedidas->toolTip());
    PonerTramo();
    cabecera_ = tabla_.Cabecera(textos_);
    SGMedidas->setHorizontalHeaderLabels(cabecera_);
    SGMedidas->resizeColumnsToContents();
}

void TPanelMedidas::PonerTramo()
{
    LRTramo->setText(entreCursores_ ? textos_.BuscarTexto(kTextoEntreCursores) + QLatin1Char(' ')
                                          + TextoTramoSegundos(desde_, hasta_, textos_)
                                    : textos_.BuscarTexto(kTextoTodaLaSenal));
}

// Called at every cursor step: the grid is laid out anew only when its rows or columns
// changed; otherwise only the cells whose text changed are set, and a column only ever
// widens for them (measuring every cell at every step would cost more than the
// measurements themselves).
void TPanelMedidas::Mostrar(TTablaMedidas tabla, bool entreCursores, double desde, double hasta)
{
    tabla_ = std::move(tabla);
    entreCursores_ = entreCursores;
    desde_ = desde;
    hasta_ = hasta;
    PonerTramo();
    const int filas = int(tabla_.filas.size());
    const int columnas = int(tabla_.columnas.size()) + 2;
    const QStringList cabecera = tabla_.Cabecera(textos_);
    const bool nueva = cabecera != cabecera_ || filas != SGMedidas->rowCount();
    if (nueva) {
        SGMedidas->setRowCount(filas);
        SGMedidas->setColumnCount(columnas);
    }
    const QFontMetrics fm(SGMedidas->font());
    for (int f = 0; f < filas; ++f) {
        const TFilaMedidas& fila = tabla_.filas[std::size_t(f)];
        for (int c = 0; c < columnas; ++c) {
            const QString texto = c == 0   ? fila.senal
                                  : c == 1 ? fila.unidad
                                           : tabla_.Celda(fila, std::size_t(c - 2), kDigitos);
            QTableWidgetItem* item = SGMedidas->item(f, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(int((c < 2 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter));
                SGMedidas->setItem(f, c, item);
            }
            if (item->text() == texto)
                continue;
            item->setText(texto);
            if (!nueva)
                if (const int ancho = fm.horizontalAdvance(texto) + 12; ancho > SGMedidas->columnWidth(c))
                    SGMedidas->setColumnWidth(c, ancho);
        }
    }
    if (nueva) {
        // Digital signals have no unit: a window of them only goes without the column.
        SGMedidas->setColumnHidden(1, std::all_of(tabla_.filas.begin(), tabla_.filas.end(),
                                                  [](const TFilaMedidas& f) { return f.digital; }));
        AplicarTextos();
    }
}

QString TPanelMedidas::Texto() const
{
    return LRTramo->text() + QLatin1Char('\n') + tabla_.Texto(textos_, kDigitos);
}

void TPanelMedidas::Copiar()
{
    if (QClipboard* c = QGuiApplication::clipboard())
        c->setText(Texto());
}

} // namespace qv

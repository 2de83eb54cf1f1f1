#include "display/datos.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "display/impresion.h"
#include "model/claves_texto.h"
#include "model/exportar.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

constexpr int kTextoCabecera = 239;
constexpr int kTextoNoImpreso = 238;
constexpr int kTextoTitulo = 14003;
constexpr int kAyudaTabla = 181;
constexpr int kAnchoMinimo = 170;

// The corner of the grid (cell 0, 0) shows a caption like the headers beside it.
class TEsquina : public QObject {
public:
    TEsquina(QAbstractButton* boton, QString texto) : QObject(boton), texto_(std::move(texto)) {}
    void PonerTexto(const QString& t)
    {
        texto_ = t;
        static_cast<QWidget*>(parent())->update();
    }
    const QString& Texto() const { return texto_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::Paint)
            return false;
        auto* boton = static_cast<QAbstractButton*>(o);
        QStylePainter p(boton);
        QStyleOptionHeader op;
        op.initFrom(boton);
        op.rect = boton->rect();
        op.text = texto_;
        op.textAlignment = Qt::AlignCenter;
        op.position = QStyleOptionHeader::OnlyOneSection;
        p.drawControl(QStyle::CE_Header, op);
        return true;
    }

private:
    QString texto_;
};

const TSenal* Buscar(const TEstadoPrograma& e, const QString& nombre)
{
    if (!e.Senales())
        return nullptr;
    if (const TSenal* s = e.Senales()->BuscarAna(nombre))
        return s;
    return e.Senales()->BuscarDig(nombre);
}

} // namespace

// ---- model ---------------------------------------------------------------------------

TModeloDatos::TModeloDatos(TEstadoPrograma& estado, const QStringList& nombres, QObject* parent)
    : QAbstractTableModel(parent), estado_(estado), nombres_(nombres)
{
    filas_ = Filas();
}

int TModeloDatos::Filas() const
{
    int n = 0;
    for (const QString& nombre : nombres_)
        if (const TSenal* s = Buscar(estado_, nombre))
            n = std::max(n, s->NumMuestras());
    return n;
}

void TModeloDatos::Actualizar()
{
    beginResetModel();
    filas_ = Filas();
    endResetModel();
}

int TModeloDatos::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : filas_;
}

int TModeloDatos::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(nombres_.size());
}

QVariant TModeloDatos::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const TSenal* s = Buscar(estado_, nombres_.value(index.column()));
    const int i = index.row();
    // No sample beyond a signal's end is read.
    if (!s || i >= s->NumMuestras())
        return {};
    if (const auto* a = dynamic_cast<const TSenalAna*>(s))
        return FormatoExportacion(a->LeerMuestra(i));
    return QString::number(static_cast<const TSenalDig*>(s)->LeerMuestra(i) ? 1 : 0);
}

QVariant TModeloDatos::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole && orientation == Qt::Vertical)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return nombres_.value(section);
    return section + 1;
}

void TModeloDatos::Renombrar(const QString& anterior, const QString& nuevo)
{
    for (int c = 0; c < nombres_.size(); ++c)
        if (nombres_[c] == anterior) {
            nombres_[c] = nuevo;
            Q_EMIT headerDataChanged(Qt::Horizontal, c, c);
        }
}

void TModeloDatos::Quitar(const QString& nombre)
{
    beginResetModel();
    nombres_.removeAll(nombre);
    filas_ = Filas();
    endResetModel();
}

// ---- window --------------------------------------------------------------------------

TfrmDatos::TfrmDatos(IPrincipal& principal, const QStringList& elegidas, const QStringList& otras,
                     QWidget* parent)
    : TVentanaFormulario(principal.Contexto().Formulario, Numero, kAyudaTabla, parent),
      principal_(principal),
      otras_(otras)
{
    setObjectName(QStringLiteral("frmDatos"));
    setWindowTitle(QStringLiteral("Datos de las Se\u00f1ales"));

    modelo_ = new TModeloDatos(principal.Estado(), elegidas, this);
    StringGrid = new QTableView(this);
    StringGrid->setObjectName(QStringLiteral("StringGrid"));
    StringGrid->setModel(modelo_);
    StringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid->setWordWrap(false);
    StringGrid->horizontalHeader()->setDefaultSectionSize(AnchoColumna);
    StringGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid->horizontalHeader()->setHighlightSections(false);
    // Fixed row heights: no per-row measuring over 65535 rows.
    QHeaderView* vertical = StringGrid->verticalHeader();
    vertical->setSectionResizeMode(QHeaderView::Fixed);
    vertical->setDefaultSectionSize(vertical->minimumSectionSize() + 2);
    vertical->setHighlightSections(false);
    if (auto* esquina = StringGrid->findChild<QAbstractButton*>()) {
        auto* filtro = new TEsquina(esquina, QStringLiteral("Muestra"));
        esquina->installEventFilter(filtro);
        esquina->setObjectName(QStringLiteral("Esquina"));
    }

    auto boton = [this](const char* nombre, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(nombre));
        b->setFixedHeight(30);
        return b;
    };
    SBExport = boton("SBExport", QStringLiteral("Exportar"));
    SBPrint = boton("SBPrint", QStringLiteral("Imprimir"));
    BtnHelp = boton("BtnHelp", QStringLiteral("Ayuda"));
    connect(SBExport, &QPushButton::clicked, this, &TfrmDatos::SBExportClick);
    connect(SBPrint, &QPushButton::clicked, this, &TfrmDatos::SBPrintClick);
    connect(BtnHelp, &QPushButton::clicked, this, [this] { MostrarAyuda(*this); });

    // The save dialog's filter and title come with the form's texts.
    ExportarTxtSaveDialog = new QObject(this);
    ExportarTxtSaveDialog->setObjectName(QStringLiteral("ExportarTxtSaveDialog"));
    ExportarTxtSaveDialog->setProperty("filter", QStringLiteral("Ficheros de texto|*.txt"));
    ExportarTxtSaveDialog->setProperty("windowTitle", QStringLiteral("Exportar a fichero TXT"));

    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    columna->addWidget(StringGrid, 1);
    columna->addWidget(SBExport);
    columna->addWidget(SBPrint);
    columna->addWidget(BtnHelp);
    setMinimumWidth(kAnchoMinimo);

    // Five columns at most on creation; the user widens the window for more.
    const int columnas = ColCount();
    resize((columnas > 4 ? 5 : columnas) * AnchoColumna + 30, 420);

    connect(&principal.Estado(), &TEstadoPrograma::Cambiado, modelo_, &TModeloDatos::Actualizar);
    SBPrint->setEnabled(Admite(TComando::Imprimir));
}

TfrmDatos* TfrmDatos::Abrir(IPrincipal& principal, const QStringList& elegidas, const QStringList& otras)
{
    auto* datos = new TfrmDatos(principal, elegidas, otras);
    const QSize tamano = datos->size();
    QMdiSubWindow* sub = principal.AreaVentanas().addSubWindow(datos);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    // The frame around the window's own size on creation.
    sub->resize(sub->size() - datos->size() + tamano);
    principal.AreaVentanas().setActiveSubWindow(sub);
    return datos;
}

void TfrmDatos::TextosAplicados()
{
    setWindowTitle(Contexto.Textos.LeerTexto(kTextoTitulo));
    const QString cabecera = Contexto.Textos.BuscarTexto(kTextoCabecera);
    if (auto* esquina = StringGrid->findChild<QAbstractButton*>(QStringLiteral("Esquina")))
        if (auto* filtro = esquina->findChild<TEsquina*>())
            filtro->PonerTexto(cabecera);
    // The column of sample numbers is as wide as its caption.
    StringGrid->verticalHeader()->setMinimumWidth(StringGrid->fontMetrics().horizontalAdvance(cabecera) + 12);
}

void TfrmDatos::AlMostrar()
{
    SBPrint->setEnabled(Admite(TComando::Imprimir));
}

bool TfrmDatos::Admite(TComando comando) const
{
    return comando == TComando::Imprimir && principal_.Estado().Senales() && !modelo_->Nombres().isEmpty();
}

void TfrmDatos::Ejecutar(TComando comando)
{
    if (comando == TComando::Imprimir)
        Imprimir();
}

void TfrmDatos::QuitarSenal(const QString& nombre)
{
    otras_.removeAll(nombre);
    modelo_->Quitar(nombre);
}

void TfrmDatos::RenombrarSenal(const QString& anterior, const QString& nuevo)
{
    for (QString& n : otras_)
        if (n == anterior)
            n = nuevo;
    modelo_->Renombrar(anterior, nuevo);
}

int TfrmDatos::ColCount() const { return modelo_->columnCount() + 1; }

int TfrmDatos::RowCount() const { return modelo_->rowCount() + 1; }

QString TfrmDatos::Celda(int columna, int fila) const
{
    if (columna == 0 && fila == 0) {
        auto* esquina = StringGrid->findChild<QAbstractButton*>(QStringLiteral("Esquina"));
        auto* filtro = esquina ? esquina->findChild<TEsquina*>() : nullptr;
        return filtro ? filtro->Texto() : QString();
    }
    if (fila == 0)
        return modelo_->headerData(columna - 1, Qt::Horizontal).toString();
    if (columna == 0)
        return fila < RowCount() ? modelo_->headerData(fila - 1, Qt::Vertical).toString() : QString();
    return modelo_->data(modelo_->index(fila - 1, columna - 1)).toString();
}

void TfrmDatos::SBExportClick()
{
    TEstadoPrograma& estado = principal_.Estado();
    // No names would mean every signal to the export.
    if (!estado.Senales() || modelo_->Nombres().isEmpty())
        return;
    const TContextoPrograma& c = principal_.Contexto();
    const QString ruta = c.Dialogos.GuardarFichero(
        ExportarTxtSaveDialog->property("filter").toString(),
        ExportarTxtSaveDialog->property("windowTitle").toString(),
        ficheroExportado_.isEmpty() ? QStringLiteral("*.txt") : ficheroExportado_, QStringLiteral("txt"));
    if (ruta.isEmpty())
        return;
    ficheroExportado_ = ruta;
    bool escrito = false;
    {
        TCursorOcupado cursor(c.Interaccion());
        escrito = ExportarTextoFichero(*estado.Senales(), ruta, modelo_->Nombres());
    }
    if (!escrito)
        c.Interaccion().MostrarInformacion(
            c.Textos().BuscarTexto(clave::NoExportado) + QLatin1Char(' ') + ruta, Botones::Aceptar);
}

void TfrmDatos::SBPrintClick()
{
    if (Admite(TComando::Imprimir))
        Ejecutar(TComando::Imprimir);
}

bool TfrmDatos::Imprimir()
{
    const TEstadoPrograma& estado = principal_.Estado();
    if (!estado.Senales() || modelo_->Nombres().isEmpty())
        return false;
    const TContextoPrograma& c = principal_.Contexto();
    QPrinter impresora(QPrinter::HighResolution);
    if (!PrepararImpresora(impresora, c, this, false))
        return false;
    bool impreso = false;
    {
        TCursorOcupado cursor(c.Interaccion());
        impreso = ImprimirTabla(impresora, *this, *estado.Senales(), modelo_->Nombres(), c.Textos());
    }
    if (!impreso)
        c.Interaccion().MostrarError(c.Textos().BuscarTexto(kTextoNoImpreso), Botones::Aceptar);
    return impreso;
}

} // namespace qv

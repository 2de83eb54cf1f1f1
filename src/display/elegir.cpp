#include "display/elegir.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

constexpr int kTextoPeriodosDistintos = 161;
constexpr int kTextoConfirmarBorrado = 172;
constexpr int kTextoNoBorrada = 213;

int NumSeleccionados(const QListWidget& l)
{
    int n = 0;
    for (int i = 0; i < l.count(); ++i)
        n += l.item(i)->isSelected() ? 1 : 0;
    return n;
}

} // namespace

QString TextoPeriodo(TTextos& textos, double t)
{
    if (t >= 0.99)
        return FormatoGeneral4(t) + textos.BuscarTexto(clave::Segundos);
    if (t >= 0.0009999)
        return FormatoGeneral4(t * 1000) + QLatin1Char(' ') + textos.BuscarTexto(clave::Mili);
    if (t >= 9.999e-7)
        return FormatoGeneral4(t * 1e6) + QLatin1Char(' ') + textos.BuscarTexto(clave::Micro);
    return FormatoGeneral4(t);
}

bool PeriodosIguales(const QStringList& periodos)
{
    return std::all_of(periodos.begin(), periodos.end(),
                       [&](const QString& p) { return p == periodos.first(); });
}

// ---- common part of both choosers ----------------------------------------------------

TElegirBase::TElegirBase(IPrincipal& principal, int formulario, int ayuda, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, formulario, ayuda, parent), principal_(principal)
{
    setWindowTitle(QStringLiteral("Seleccionar se\u00f1ales"));

    LabelSrc = new QLabel(QStringLiteral("Se\u00f1ales no Visualizadas"), this);
    LabelSrc->setObjectName(QStringLiteral("LabelSrc"));
    LabelDst = new QLabel(QStringLiteral("Se\u00f1ales Visualizadas"), this);
    LabelDst->setObjectName(QStringLiteral("LabelDst"));

    SrcList = CrearLista("SrcList", this);
    SrcList->setSortingEnabled(true);
    DstList = CrearLista("DstList", this);
    LabelSrc->setBuddy(SrcList);
    LabelDst->setBuddy(DstList);
    // One period text per line of the list beside them; never shown.
    SrcMuesList = CrearLista("SrcMuesList", this);
    DstMuesList = CrearLista("DstMuesList", this);
    SrcMuesList->hide();
    DstMuesList->hide();

    IncludeBtn = Boton("IncludeBtn", QStringLiteral(">"), this);
    IncAllBtn = Boton("IncAllBtn", QStringLiteral(">>"), this);
    ExcludeBtn = Boton("ExcludeBtn", QStringLiteral("<"), this);
    ExAllBtn = Boton("ExAllBtn", QStringLiteral("<<"), this);
    DestroyBtn = Boton("DestroyBtn", QStringLiteral("Eliminar "), this);

    connect(IncludeBtn, &QPushButton::clicked, this, &TElegirBase::IncludeBtnClick);
    connect(IncAllBtn, &QPushButton::clicked, this, &TElegirBase::IncAllBtnClick);
    connect(ExcludeBtn, &QPushButton::clicked, this, &TElegirBase::ExcludeBtnClick);
    connect(ExAllBtn, &QPushButton::clicked, this, &TElegirBase::ExAllBtnClick);
    connect(DestroyBtn, &QPushButton::clicked, this, &TElegirBase::DestroyBtnClick);
    connect(SrcList, &QListWidget::itemSelectionChanged, this, &TElegirBase::SetButtons);
    connect(DstList, &QListWidget::itemSelectionChanged, this, &TElegirBase::SetButtons);
    connect(SrcList, &QListWidget::itemDoubleClicked, this, [this] {
        if (IncludeBtn->isEnabled())
            IncludeBtnClick();
    });
    connect(DstList, &QListWidget::itemDoubleClicked, this, &TElegirBase::ExcludeBtnClick);

    QGridLayout* rejilla =
        DosListas(LabelSrc, SrcList, LabelDst, DstList, {IncludeBtn, IncAllBtn, ExcludeBtn, ExAllBtn});

    columna_ = new QVBoxLayout(this);
    columna_->addLayout(rejilla);
    resize(430, 330);
}

TCjtSenales* TElegirBase::Senales() const
{
    return principal_.Estado().Senales();
}

void TElegirBase::Llenar(const QStringList& visibles, const QStringList& ocultas, int maxSenales)
{
    maxSenales_ = maxSenales;
    borradas_.clear();
    SrcList->clear();
    DstList->clear();
    SrcList->addItems(ocultas);
    DstList->addItems(visibles);
    CalcularPeriodos();
    SetButtons();
}

void TElegirBase::CalcularPeriodos()
{
    TCjtSenales* senales = Senales();
    auto periodos = [&](const QListWidget& nombres, QListWidget& destino) {
        destino.clear();
        for (const QString& n : NombresDe(nombres)) {
            const TSenal* s = nullptr;
            if (senales) {
                s = senales->BuscarAna(n);
                if (!s)
                    s = senales->BuscarDig(n);
            }
            // A name the set lacks has no period: it matches no other.
            destino.addItem(s ? TextoPeriodo(Textos(), s->Periodo()) : QString());
        }
    };
    periodos(*SrcList, *SrcMuesList);
    periodos(*DstList, *DstMuesList);
}

bool TElegirBase::PeriodosVisiblesIguales() const
{
    return PeriodosIguales(NombresDe(*DstMuesList));
}

void TElegirBase::SetButtons()
{
    const int ocultas = SrcList->count();
    const int visibles = DstList->count();
    const int seleccionadas = std::max(1, NumSeleccionados(*SrcList));
    IncludeBtn->setEnabled(ocultas > 0 && (sinLimite_ || maxSenales_ >= visibles + seleccionadas));
    IncAllBtn->setEnabled(ocultas > 0 && (sinLimite_ || maxSenales_ >= visibles + ocultas));
    ExcludeBtn->setEnabled(visibles > 0);
    ExAllBtn->setEnabled(visibles > 0);
    DestroyBtn->setEnabled(HaySeleccion());
}

bool TElegirBase::HaySeleccion() const
{
    return NumSeleccionados(*SrcList) > 0 || NumSeleccionados(*DstList) > 0;
}

QStringList TElegirBase::SeleccionadosDesdeElFinal(const QListWidget& lista)
{
    QStringList r;
    for (int i = lista.count() - 1; i >= 0; --i)
        if (lista.item(i)->isSelected())
            r << lista.item(i)->text();
    return r;
}

void TElegirBase::QuitarDeLista(QListWidget& lista, const QString& nombre)
{
    for (int i = 0; i < lista.count(); ++i)
        if (lista.item(i)->text() == nombre) {
            delete lista.takeItem(i);
            return;
        }
}

void TElegirBase::Mover(QListWidget& origen, QListWidget& destino, bool todo)
{
    const bool hacia = &destino == DstList;
    // The limit holds whatever way the move was asked for (a double click, a key).
    if (hacia && !sinLimite_) {
        const int llegan = todo ? origen.count() : NumSeleccionados(origen);
        if (DstList->count() + llegan > maxSenales_)
            return;
    }
    MoverNombres(origen, destino, todo);
    CalcularPeriodos();
    SetButtons();
}

void TElegirBase::IncludeBtnClick() { Mover(*SrcList, *DstList, false); }
void TElegirBase::IncAllBtnClick() { Mover(*SrcList, *DstList, true); }
void TElegirBase::ExcludeBtnClick() { Mover(*DstList, *SrcList, false); }
void TElegirBase::ExAllBtnClick() { Mover(*DstList, *SrcList, true); }

QStringList TElegirBase::Visibles() const { return NombresDe(*DstList); }
QStringList TElegirBase::Ocultas() const { return NombresDe(*SrcList); }

// ---- analog window's chooser ---------------------------------------------------------

TfrmElegir::TfrmElegir(IPrincipal& principal, QWidget* parent) : TElegirBase(principal, Numero, 154, parent)
{
    setObjectName(QStringLiteral("frmElegir"));
    LabelEjeX = new QLabel(QStringLiteral("Se\u00f1al en Eje X :"), this);
    LabelEjeX->setObjectName(QStringLiteral("LabelEjeX"));
    cmBoxEjeX = new QComboBox(this);
    cmBoxEjeX->setObjectName(QStringLiteral("cmBoxEjeX"));
    LabelEjeX->setBuddy(cmBoxEjeX);
    connect(cmBoxEjeX, &QComboBox::activated, this, &TfrmElegir::cmBoxEjeXChange);

    auto* eje = new QHBoxLayout;
    eje->addWidget(LabelEjeX);
    eje->addWidget(cmBoxEjeX, 1);
    columna_->addLayout(eje);

    QHBoxLayout* botones = CrearBotones(BtnAceptar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp");
    botones->insertWidget(1, DestroyBtn);
    columna_->addLayout(botones);
}

void TfrmElegir::Inicializar(const QStringList& visibles, const QStringList& ocultas, int maxSenales,
                             const QString& ejeX)
{
    cmBoxEjeX->clear();
    if (TCjtSenales* s = Senales())
        cmBoxEjeX->addItems(s->NombresAna());
    cmBoxEjeX->addItem(Textos().BuscarTexto(clave::Tiempo));
    ejeXElegido_ = ejeX;
    const int i = cmBoxEjeX->findText(ejeX);
    cmBoxEjeX->setCurrentIndex(i >= 0 ? i : cmBoxEjeX->count() - 1);
    Llenar(visibles, ocultas, maxSenales);
}

void TfrmElegir::cmBoxEjeXChange(int indice)
{
    if (indice < 0)
        return;
    ejeXElegido_ = cmBoxEjeX->itemText(indice);
    // A signal is not plotted against itself.
    for (int i = 0; i < DstList->count(); ++i)
        if (DstList->item(i)->text() == ejeXElegido_) {
            QListWidgetItem* item = DstList->takeItem(i);
            SrcList->addItem(item->text());
            delete item;
            break;
        }
    CalcularPeriodos();
    SetButtons();
}

void TfrmElegir::NombreBorrado(const QString& nombre)
{
    const int i = cmBoxEjeX->findText(nombre);
    if (i >= 0)
        cmBoxEjeX->removeItem(i);
    // The X axis cannot stay on a signal that is gone: back to time.
    if (ejeXElegido_ == nombre) {
        ejeXElegido_ = Textos().BuscarTexto(clave::Tiempo);
        cmBoxEjeX->setCurrentIndex(cmBoxEjeX->count() - 1);
    }
}

void TfrmElegir::DestroyBtnClick()
{
    if (Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoConfirmarBorrado), Botones::SiNoCancelar)
        != Respuesta::Si)
        return;
    TCjtSenales* senales = Senales();
    if (!senales)
        return;
    for (QListWidget* lista : {SrcList, DstList})
        for (const QString& nombre : SeleccionadosDesdeElFinal(*lista)) {
            if (!senales->Existe(nombre))
                continue;
            senales->BorrarAna(nombre);
            senales->BorrarDig(nombre);
            NombreBorrado(nombre);
            QuitarDeLista(*lista, nombre);
            borradas_ << nombre;
        }
    CalcularPeriodos();
    SetButtons();
}

bool TfrmElegir::Validar()
{
    if (PeriodosVisiblesIguales())
        return true;
    Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoPeriodosDistintos), Botones::Aceptar);
    return false;
}

// ---- digital window's and data table's chooser ---------------------------------------

TfrmElegirIni::TfrmElegirIni(IPrincipal& principal, QWidget* parent)
    : TElegirBase(principal, Numero, 154, parent)
{
    setObjectName(QStringLiteral("frmElegirIni"));
    QHBoxLayout* botones = CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp");
    botones->insertWidget(1, DestroyBtn);
    columna_->addLayout(botones);
}

void TfrmElegirIni::Inicializar(const QStringList& visibles, const QStringList& ocultas, int maxSenales,
                                bool sinLimite)
{
    sinLimite_ = sinLimite;
    huboBorrado_ = false;
    Llenar(visibles, ocultas, maxSenales);
}

void TfrmElegirIni::DestroyBtnClick()
{
    if (Interaccion().MostrarPregunta(Textos().BuscarTexto(kTextoConfirmarBorrado), Botones::SiNoCancelar)
        != Respuesta::Si)
        return;
    TCjtSenales* senales = Senales();
    for (QListWidget* lista : {SrcList, DstList})
        for (const QString& nombre : SeleccionadosDesdeElFinal(*lista)) {
            const bool borrada = senales && (senales->BorrarDig(nombre) || senales->BorrarAna(nombre));
            if (!borrada) {
                Interaccion().MostrarError(Textos().BuscarTexto(kTextoNoBorrada), Botones::Aceptar);
                continue;
            }
            QuitarDeLista(*lista, nombre);
            borradas_ << nombre;
            huboBorrado_ = true;
        }
    CalcularPeriodos();
    SetButtons();
}

bool TfrmElegirIni::Validar()
{
    if (sinLimite_ || DstList->count() == 0 || PeriodosVisiblesIguales())
        return true;
    Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoPeriodosDistintos), Botones::Aceptar);
    return false;
}

} // namespace qv

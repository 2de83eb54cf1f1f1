#include "display/superponer.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/senales.h"
#include "plot/grf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kTextoTitulo = 580;
constexpr int kTextoSenales = 581;
constexpr int kTextoAlinear = 582;
constexpr int kTextoAlineaciones = 583;
constexpr int kTextoConservar = 584;
constexpr int kTextoElija = 588;

// Dark colours apart from the series' own, so that a dashed line reads as "the other
// capture" beside the window's traces.
QColor ColorCapa(int i)
{
    static const QColor colores[] = {{70, 70, 70}, {170, 80, 0}, {0, 80, 170}, {130, 0, 130}, {0, 120, 90}};
    return colores[i % 5];
}

} // namespace

QString NombreSuperpuesta(const QString& fichero, const QString& senal, const QStringList& ocupados)
{
    const QString base = QFileInfo(fichero).completeBaseName() + QLatin1Char('_') + senal;
    QString nombre = base;
    for (int k = 2; ocupados.contains(nombre); ++k)
        nombre = base + QLatin1Char('_') + QString::number(k);
    return nombre;
}

std::unique_ptr<TSenalAna> CopiaSimple(const TSenal& s, const QString& nombre)
{
    const auto* a = dynamic_cast<const TSenalAna*>(&s);
    auto c = std::make_unique<TSenalAna>(a ? a->Unidad : QStringLiteral("V"), nombre, true, nullptr, nullptr, 0,
                                         s.Periodo(), std::uint16_t(s.NumMuestras()));
    const auto* d = dynamic_cast<const TSenalDig*>(&s);
    for (int i = 0; i < s.NumMuestras(); ++i)
        c->PonerMuestra(i, a ? a->LeerMuestra(i) : (d->LeerMuestra(i) == 1 ? 5.0f : 0.0f));
    return c;
}

// ---- the overlays ------------------------------------------------------------------------

struct TSuperposiciones::TCapa {
    std::unique_ptr<TSenalAna> senal;
    double inicio = 0;
    QPointer<QCPGraph> grafico;
    QPointer<QCPItemText> rotulo;
};

TSuperposiciones::TSuperposiciones(TGrf& grafica, QObject* parent) : QObject(parent), grafica_(&grafica) {}

// The graph frees its own plottables; a window going away must not be redrawn.
TSuperposiciones::~TSuperposiciones() = default;

void TSuperposiciones::Anadir(std::unique_ptr<TSenalAna> senal, double inicio)
{
    auto c = std::make_unique<TCapa>();
    c->senal = std::move(senal);
    c->inicio = inicio;
    if (!grafica_)
        return;
    Dibujar(*c, int(capas_.size()));
    capas_.push_back(std::move(c));
    grafica_->Redibujar();
}

void TSuperposiciones::Dibujar(TCapa& c, int indice)
{
    // Plain graphs of the plot, beside the control's own series: a rebuild of the
    // window's series leaves them alone, and the axes stay the window's.
    TGrf& grafica = *grafica_;
    QCPGraph* g = grafica.addGraph(grafica.xAxis, grafica.yAxis);
    QPen lapiz(ColorCapa(indice), 1, Qt::DashLine);
    g->setPen(lapiz);
    g->setLineStyle(grafica.StepPlot() ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
    const TSenalAna& s = *c.senal;
    QVector<double> x(s.NumMuestras()), y(s.NumMuestras());
    for (int i = 0; i < s.NumMuestras(); ++i) {
        x[i] = c.inicio + i * s.Periodo();
        y[i] = s.LeerMuestra(i);
    }
    g->setData(x, y, true);
    c.grafico = g;
    auto* r = new QCPItemText(&grafica);
    r->setClipToAxisRect(true);
    r->position->setType(QCPItemPosition::ptAxisRectRatio);
    r->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    r->position->setCoords(0.01, 0.01 + 0.06 * indice);
    r->setColor(lapiz.color());
    r->setText(QStringLiteral("- - ") + s.Nombre());
    c.rotulo = r;
}

void TSuperposiciones::Borrar(TCapa& c)
{
    if (!grafica_)
        return;
    if (c.grafico)
        grafica_->removeGraph(c.grafico);
    if (c.rotulo)
        grafica_->removeItem(c.rotulo);
}

void TSuperposiciones::Quitar()
{
    for (auto& c : capas_)
        Borrar(*c);
    const bool habia = !capas_.empty();
    capas_.clear();
    if (habia && grafica_)
        grafica_->Redibujar();
}

std::vector<std::unique_ptr<TSenalAna>> TSuperposiciones::Sacar()
{
    std::vector<std::unique_ptr<TSenalAna>> r;
    for (auto& c : capas_) {
        Borrar(*c);
        r.push_back(std::move(c->senal));
    }
    capas_.clear();
    if (grafica_)
        grafica_->Redibujar();
    return r;
}

QStringList TSuperposiciones::Nombres() const
{
    QStringList r;
    for (const auto& c : capas_)
        r << c->senal->Nombre();
    return r;
}

const TSenalAna* TSuperposiciones::Senal(int i) const
{
    return capas_[std::size_t(i)]->senal.get();
}

double TSuperposiciones::Inicio(int i) const
{
    return capas_[std::size_t(i)]->inicio;
}

QCPGraph* TSuperposiciones::Grafico(int i) const
{
    return capas_[std::size_t(i)]->grafico;
}

void TSuperposiciones::PonerVisibles(bool on)
{
    for (auto& c : capas_) {
        if (c->grafico)
            c->grafico->setVisible(on);
        if (c->rotulo)
            c->rotulo->setVisible(on);
    }
}

// ---- the dialog --------------------------------------------------------------------------

TfrmSuperponer::TfrmSuperponer(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, 0, parent)
{
    setObjectName(QStringLiteral("frmSuperponer"));
    LRFichero = Etiqueta("LRFichero", QString(), this);
    LSenalesFichero = Etiqueta("LSenalesFichero", QString(), this);
    LBSenales = CrearLista("LBSenales", this);
    LSenalesFichero->setBuddy(LBSenales);
    LAlinear = Etiqueta("LAlinear", QString(), this);
    // Its text comes with the language texts: the row must not squeeze it meanwhile.
    LAlinear->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    CBAlinear = new QComboBox(this);
    CBAlinear->setObjectName(QStringLiteral("CBAlinear"));
    CBAlinear->addItems({QString(), QString()});
    LAlinear->setBuddy(CBAlinear);
    CBConservar = new QCheckBox(this);
    CBConservar->setObjectName(QStringLiteral("CBConservar"));

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(LRFichero);
    columna->addWidget(LSenalesFichero);
    columna->addWidget(LBSenales, 1);
    auto* alinear = new QHBoxLayout;
    alinear->addWidget(LAlinear);
    alinear->addWidget(CBAlinear, 1);
    columna->addLayout(alinear);
    columna->addWidget(CBConservar);
    columna->addLayout(CrearBotones(BtnAceptar | BtnCancelar));
    resize(380, 360);
}

void TfrmSuperponer::TextosAplicados()
{
    TTextos& t = Textos();
    setWindowTitle(t.BuscarTexto(kTextoTitulo));
    LSenalesFichero->setText(t.BuscarTexto(kTextoSenales));
    LAlinear->setText(t.BuscarTexto(kTextoAlinear));
    const QStringList partes = t.BuscarTexto(kTextoAlineaciones).split(QLatin1Char('|'));
    for (int i = 0; i < 2; ++i)
        CBAlinear->setItemText(i, partes.value(i, QString::number(i + 1)));
    CBConservar->setText(t.BuscarTexto(kTextoConservar));
}

void TfrmSuperponer::Inicializar(const QString& fichero, const QStringList& nombres, bool cursorAzul)
{
    LRFichero->setText(fichero);
    LBSenales->clear();
    LBSenales->addItems(nombres);
    LBSenales->selectAll();
    if (auto* m = qobject_cast<QStandardItemModel*>(CBAlinear->model()))
        m->item(1)->setEnabled(cursorAzul);
    CBAlinear->setCurrentIndex(0);
}

QStringList TfrmSuperponer::Elegidas() const
{
    QStringList r;
    for (int i = 0; i < LBSenales->count(); ++i)
        if (LBSenales->item(i)->isSelected())
            r << LBSenales->item(i)->text();
    return r;
}

bool TfrmSuperponer::EnCursorAzul() const
{
    return CBAlinear->currentIndex() == 1;
}

bool TfrmSuperponer::Conservar() const
{
    return CBConservar->isChecked();
}

bool TfrmSuperponer::Validar()
{
    if (!Elegidas().isEmpty())
        return true;
    Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoElija), Botones::Aceptar);
    LBSenales->setFocus();
    return false;
}

} // namespace qv

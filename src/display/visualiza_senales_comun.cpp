#include "display/visualiza_senales_comun.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/acciones_ajuste.h"
#include "display/config_grafica.h"
#include "display/datos_senal.h"
#include "display/ins_texto.h"
#include "display/panel_medidas.h"
#include "display/visualiza_senales_cursores.h"
#include "model/senales.h"
#include "plot/grafica_senales.h"
#include "plot/grf.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace qv {

TVentanaSenales::TVentanaSenales(IPrincipal& principal, bool digital, const char* zoomMas, const char* zoomMenos,
                                 QWidget* parent)
    : TVentanaFormulario(principal.Contexto().Formulario, Numero, 0, parent), principal_(principal), digital_(digital)
{
    numeroVentana_ = principal.NuevoNumeroVentana();
    setFocusPolicy(Qt::StrongFocus);
    // Small enough for three windows tiled on a 1024 x 768 screen.
    setMinimumSize(240, 150);
    resize(640, 400);

    auto* Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    graficas_ = new QStackedLayout(Panel1);
    graficas_->setContentsMargins(0, 0, 0, 0);
    xygraph = new TGrf(Panel1);
    xygraph->setObjectName(QStringLiteral("xygraph"));
    xygraphatras = new TGrf(Panel1);
    xygraphatras->setObjectName(QStringLiteral("xygraphatras"));
    graficas_->addWidget(xygraph);
    graficas_->addWidget(xygraphatras);
    graficas_->setCurrentWidget(xygraph);
    for (TGrf* g : {xygraph, xygraphatras}) {
        g->setFocusPolicy(Qt::NoFocus);
        g->setContextMenuPolicy(Qt::PreventContextMenu);
    }

    PCursor = new TPanelCursores(Contexto.Textos, digital, this);
    connect(PCursor, &TPanelCursores::Cerrar, this, [this] { ActivarCursores(false); });
    // The window sees the arrow keys before the panel's controls do.
    for (QWidget* w : PCursor->findChildren<QWidget*>())
        w->installEventFilter(this);

    PMedidas = new TPanelMedidas(Contexto.Textos, this);
    dominante_ = new QTimer(this);
    dominante_->setSingleShot(true);
    dominante_->setInterval(EsperaDominante);
    connect(dominante_, &QTimer::timeout, this, &TVentanaSenales::MedirDominantes);
    connect(PMedidas, &TPanelMedidas::Cerrar, this, [this] { ActivarMedidas(false); });

    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    columna->addWidget(Panel1, 1);
    columna->addWidget(PMedidas);
    columna->addWidget(PCursor);

    Popup = new QMenu(this);
    Popup->setObjectName(QStringLiteral("Popup"));
    ZoomMas = Popup->addAction(QStringLiteral("Zoom +"), this, &TVentanaSenales::ArmarZoom);
    ZoomMas->setObjectName(QLatin1String(zoomMas));
    ZoomMenos = Popup->addAction(QStringLiteral("Zoom -"), this, [this] { xygraph->DeshacerZoom(); });
    ZoomMenos->setObjectName(QLatin1String(zoomMenos));
    Cursores2 = Popup->addAction(QStringLiteral("Cursores"), this, [this] { ActivarCursores(!cursoresActivos_); });
    Cursores2->setObjectName(QStringLiteral("Cursores2"));
    Medidas2 = Popup->addAction(QStringLiteral("Medidas"), this, [this] { ActivarMedidas(!medidasActivas_); });
    Medidas2->setObjectName(QStringLiteral("Medidas2"));
    Medidas2->setCheckable(true);
    // The analog window's curve fits and captures laid over it.
    if (!digital)
        new TAccionesAjuste(*this, principal, *Popup);

    connect(xygraph, &TGrf::RatonAbajo, this, &TVentanaSenales::RatonAbajo);
    connect(xygraph, &TGrf::RatonMovido, this, &TVentanaSenales::RatonMovido);
    connect(xygraph, &TGrf::RatonArriba, this, &TVentanaSenales::RatonArriba);
    connect(xygraph, &TGrf::TextoMovido, this, &TVentanaSenales::NotaMovida);
    connect(xygraph, &TGrf::Redimensionado, this, [this] {
        if (destruyendo_)
            return;
        // A time plot keeps its origin; a zoomed range stays as the student chose it.
        if (xygraph->StepPlot() && !xygraph->Ampliada())
            OrigenCero();
        // The graph's own size, whatever changed it (maximise, restore, tile, the cursor
        // panel): the window's resize comes before its layout has passed the size on.
        ColocarLeyenda(*xygraph, int(SenalesVisibles.size()));
    });
}

TVentanaSenales::~TVentanaSenales()
{
    destruyendo_ = true;
}

TCjtSenales* TVentanaSenales::Senales() const
{
    return principal_.Estado().Senales();
}

const TSenal* TVentanaSenales::Buscar(const QString& nombre) const
{
    const TCjtSenales* s = Senales();
    if (!s)
        return nullptr;
    if (const TSenal* a = s->BuscarAna(nombre))
        return a;
    return s->BuscarDig(nombre);
}

// ---- lists -----------------------------------------------------------------------------

void TVentanaSenales::QuitarDesconocidas()
{
    SenalesVisibles.removeIf([this](const QString& n) { return Buscar(n) == nullptr; });
}

void TVentanaSenales::CalcularOcultas(const QStringList& nombres)
{
    SenalesOcultas.clear();
    for (const QString& n : nombres)
        if (!SenalesVisibles.contains(n))
            SenalesOcultas << n;
}

bool TVentanaSenales::RenombrarSenales(const QStringList& viejos, const QStringList& nuevos)
{
    bool visible = false;
    const qsizetype n = std::min(viejos.size(), nuevos.size());
    for (qsizetype i = 0; i < n; ++i) {
        for (QString& s : SenalesVisibles)
            if (s == viejos[i]) {
                s = nuevos[i];
                visible = true;
            }
        for (QString& s : SenalesOcultas)
            if (s == viejos[i])
                s = nuevos[i];
    }
    return visible;
}

void TVentanaSenales::QuitarSenal(const QString& nombre)
{
    if (SenalesVisibles.removeAll(nombre) > 0)
        Refrescar();
    else
        SenalesOcultas.removeAll(nombre);
}

// A rename keeps the samples: the window relabels what it shows and keeps its zoom,
// cursors and readouts instead of rebuilding.
void TVentanaSenales::RenombrarSenal(const QString& anterior, const QString& nuevo)
{
    if (RenombrarSenales({anterior}, {nuevo}))
        ActualizarNombres();
}

void TVentanaSenales::ActualizarNombres()
{
    const int n = std::min(xygraph->NumSeries(), int(SenalesVisibles.size()));
    for (int k = 0; k < n; ++k)
        xygraph->Serie(k).PonerNombre(SenalesVisibles[k]);
    PCursor->PonerNombres(SenalesVisibles);
    ActualizarMedidas();
}

void TVentanaSenales::FicheroGuardado(const QString& ruta)
{
    setWindowTitle(ruta);
}

// ---- rebuilding ------------------------------------------------------------------------

void TVentanaSenales::EmpezarRecarga()
{
    graficas_->setCurrentWidget(xygraphatras);
    // New series start from the axes in force before any zoom.
    xygraph->DeshacerZoom();
    xygraph->PonerPlotting(false);
    xygraph->LiberarSeries();
}

void TVentanaSenales::TerminarRecarga()
{
    if (xygraph->StepPlot())
        OrigenCero();
    xygraph->PonerPlotting(true);
    graficas_->setCurrentWidget(xygraph);
    CargarTextos();
    if (cursoresActivos_)
        ReiniciarCursores();
    else
        ActualizarMedidas();
}

bool TVentanaSenales::CerrarSiVacia()
{
    if (!SenalesVisibles.isEmpty()) {
        PonerHaySenales(true);
        return false;
    }
    PonerHaySenales(false);
    CerrarVentana();
    return true;
}

void TVentanaSenales::PonerHaySenales(bool hay)
{
    if (hay == haySenales_)
        return;
    haySenales_ = hay;
    // "Datos" follows what the window shows.
    Q_EMIT OfertaCambiada();
}

void TVentanaSenales::OrigenCero()
{
    xygraph->XAxis().PonerMin(0);
    xygraphatras->XAxis().PonerMin(0);
}

// ---- showing, resizing -----------------------------------------------------------------

void TVentanaSenales::TextosAplicados()
{
    PCursor->AplicarTextos();
    PMedidas->AplicarTextos();
}

void TVentanaSenales::AlMostrar()
{
    setFocus(Qt::OtherFocusReason);
}

// ---- cursors ---------------------------------------------------------------------------

void TVentanaSenales::ActivarCursores(bool on)
{
    if (on == cursoresActivos_)
        return;
    cursoresActivos_ = on;
    if (on) {
        ReiniciarCursores();
    } else {
        xygraph->QuitarCursor(1);
        xygraph->QuitarCursor(2);
        arrastrandoAzul_ = arrastrandoRojo_ = false;
        ActualizarMedidas();
    }
    MostrarPanel(*PCursor, TPanelCursores::Alto, on, crecido_);
    setFocus(Qt::OtherFocusReason);
}

void TVentanaSenales::MostrarPanel(QWidget& panel, int alto, bool on, int& crecido)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* marco = sub ? static_cast<QWidget*>(sub) : this;
    const bool maximizada = marco->isMaximized();
    if (maximizada)
        marco->showNormal();
    if (on) {
        panel.show();
        // The window grows by the panel as far as the document area (which never scrolls)
        // allows; past that the plot gives up the room, so the readouts stay in sight.
        int nuevo = marco->height() + alto;
        if (sub && sub->mdiArea()) {
            const int hueco = sub->mdiArea()->viewport()->height();
            nuevo = std::max(std::min(nuevo, hueco - sub->y()), sub->minimumSizeHint().height());
            // A window that cannot be that small any more moves up instead.
            if (sub->y() + nuevo > hueco)
                sub->move(sub->x(), std::max(0, hueco - nuevo));
        }
        crecido = nuevo - marco->height();
        marco->resize(marco->width(), nuevo);
    } else {
        panel.hide();
        marco->resize(marco->width(), std::max(marco->minimumHeight(), marco->height() - crecido));
        crecido = 0;
    }
    if (maximizada)
        marco->showMaximized();
}

// ---- measurements ----------------------------------------------------------------------

void TVentanaSenales::ActivarMedidas(bool on)
{
    Medidas2->setChecked(on);
    if (on == medidasActivas_)
        return;
    medidasActivas_ = on;
    ActualizarMedidas();
    MostrarPanel(*PMedidas, TPanelMedidas::Alto, on, crecidoMedidas_);
    setFocus(Qt::OtherFocusReason);
    // The tool button shows the panel's state.
    Q_EMIT OfertaCambiada();
}

TTramo TVentanaSenales::TramoCursores() const
{
    if (!cursoresActivos_ || !PCursor->Colocado(1) || !PCursor->Colocado(2))
        return {};
    // Cursors stand on sample numbers counted from 1.
    const auto [a, b] = std::minmax(muestras_[0], muestras_[1]);
    return {a - 1, b - 1};
}

std::vector<TMedida> TVentanaSenales::ColumnasMedidas() const
{
    if (digital_)
        return ColumnasDig();
    std::vector<TMedida> columnas = ColumnasAna();
    const TCjtSenales* set = Senales();
    const bool hayDigitales = set && std::any_of(SenalesVisibles.begin(), SenalesVisibles.end(),
                                                 [set](const QString& n) { return set->BuscarDig(n) != nullptr; });
    if (hayDigitales)
        columnas.insert(columnas.end(), {TMedida::Ciclo, TMedida::Flancos});
    return columnas;
}

void TVentanaSenales::ActualizarMedidas(bool soloSiCambia)
{
    if (!medidasActivas_ || destruyendo_)
        return;
    const TTramo tramo = TramoCursores();
    // One cursor moving alone leaves the whole signal measured.
    if (soloSiCambia && tramo.desde == tramoMedido_.desde && tramo.hasta == tramoMedido_.hasta)
        return;
    tramoMedido_ = tramo;
    const TCjtSenales* set = Senales();
    const bool entreCursores = tramo.hasta >= 0;
    const double desde = entreCursores ? tramo.desde * periodoMuestreo_ : 0;
    const double hasta = entreCursores ? tramo.hasta * periodoMuestreo_ : std::numeric_limits<double>::infinity();
    TTablaMedidas tabla;
    if (set && !SenalesVisibles.isEmpty())
        tabla = TablaMedidas(*set, SenalesVisibles, ColumnasMedidas(), desde, hasta);
    const auto& c = tabla.columnas;
    const bool conDominante = std::find(c.begin(), c.end(), TMedida::FrecDominante) != c.end();
    PMedidas->Mostrar(std::move(tabla), entreCursores, desde, hasta);
    // Eight transforms at every cursor step would cost more than all the rest: the
    // column stays blank while the span moves and is filled when it stops.
    if (conDominante)
        dominante_->start();
    else
        dominante_->stop();
}

void TVentanaSenales::MedirDominantes()
{
    const TCjtSenales* set = Senales();
    if (!medidasActivas_ || destruyendo_ || !set || SenalesVisibles.isEmpty())
        return;
    if (!espectro_)
        espectro_ = std::make_unique<TAnalizadorEspectro>();
    const TTramo tramo = tramoMedido_;
    const bool entreCursores = tramo.hasta >= 0;
    const double desde = entreCursores ? tramo.desde * periodoMuestreo_ : 0;
    const double hasta = entreCursores ? tramo.hasta * periodoMuestreo_ : std::numeric_limits<double>::infinity();
    PMedidas->Mostrar(TablaMedidas(*set, SenalesVisibles, ColumnasMedidas(), desde, hasta, espectro_.get()),
                      entreCursores, desde, hasta);
}

// Fresh readouts for what is shown now: neither cursor on screen, every value "0".
// A difference is only ever taken between two cursors the student can see.
void TVentanaSenales::ReiniciarCursores()
{
    xygraph->QuitarCursor(1);
    xygraph->QuitarCursor(2);
    muestraActual_ = 0;
    cursorTeclas_ = 0;
    muestras_ = {};
    PCursor->Preparar(SenalesVisibles, periodoMuestreo_);
    PCursor->PonerEjeTiempo(EjeTiempo());
    ActualizarMedidas();
}

// ---- commands --------------------------------------------------------------------------

bool TVentanaSenales::Admite(TComando comando) const
{
    switch (comando) {
    case TComando::Datos:
        return haySenales_;
    case TComando::Elegir:
    case TComando::ZoomMas:
    case TComando::ZoomMenos:
    case TComando::Cursores:
    case TComando::Medidas:
    case TComando::DefinirRepresentacion:
    case TComando::InsertarTexto:
    case TComando::BorrarUltimoTexto:
    case TComando::BorrarTextos:
        return true;
    default:
        return false;
    }
}

bool TVentanaSenales::Marcado(TComando comando) const
{
    return comando == TComando::Medidas && medidasActivas_;
}

void TVentanaSenales::Ejecutar(TComando comando)
{
    switch (comando) {
    case TComando::Elegir:
        ElegirSenales();
        break;
    case TComando::Datos:
        DatosSenales();
        break;
    case TComando::ZoomMas:
        ArmarZoom();
        break;
    case TComando::ZoomMenos:
        xygraph->DeshacerZoom();
        break;
    case TComando::Cursores:
        ActivarCursores(!cursoresActivos_);
        break;
    case TComando::Medidas:
        ActivarMedidas(!medidasActivas_);
        break;
    case TComando::DefinirRepresentacion:
        DefinirRepresentacion();
        break;
    case TComando::InsertarTexto:
        InsertarTexto();
        break;
    case TComando::BorrarUltimoTexto:
        BorrarNotas(false);
        break;
    case TComando::BorrarTextos:
        BorrarNotas(true);
        break;
    default:
        break;
    }
}

void TVentanaSenales::ArmarZoom()
{
    xygraph->PonerZoomPreparado(true);
    xygraph->setCursor(Qt::CrossCursor);
    zoomArmado_ = true;
}

void TVentanaSenales::DefinirRepresentacion()
{
    TfrmConfig dialogo(Contexto, &principal_.Ventana());
    dialogo.Configurar(*xygraph, *xygraphatras, SenalesVisibles);
    dialogo.Ejecutar();
}

void TVentanaSenales::InsertarTexto()
{
    QString texto;
    // An empty label could be neither seen nor dragged away.
    if (!TfrmInsTexto::Pedir(Contexto, &principal_.Ventana(), texto) || texto.trimmed().isEmpty())
        return;
    xygraph->InsertarTexto(50, 50, texto);
    if (TCjtSenales* set = Senales()) {
        const TextoGrafica& t = xygraph->Textos().back();
        set->Anotaciones.push_back({digital_, EjeNotas(), t.X, t.Y, texto});
        TextosCambiados(true);
    }
}

bool TVentanaSenales::EsNota(const TAnotacion& a) const
{
    return a.Digital == digital_ && a.EjeX == EjeNotas();
}

void TVentanaSenales::CargarTextos()
{
    xygraph->BorrarTextos();
    if (const TCjtSenales* set = Senales())
        for (const TAnotacion& a : set->Anotaciones)
            if (EsNota(a))
                xygraph->InsertarTextoEn(a.X, a.Y, a.Texto);
}

void TVentanaSenales::TextosCambiados(bool tambienEsta)
{
    for (QMdiSubWindow* s : principal_.AreaVentanas().subWindowList())
        if (auto* v = qobject_cast<TVentanaSenales*>(s->widget()); v && (tambienEsta || v != this))
            v->CargarTextos();
    principal_.Estado().MarcarModificado();
}

// "Borrar último texto" and "Borrar todos los textos": the notes of this window's kind and X.
void TVentanaSenales::BorrarNotas(bool todas)
{
    TCjtSenales* set = Senales();
    if (!set)
        return;
    auto& notas = set->Anotaciones;
    bool borrada = false;
    for (auto i = notas.size(); i-- > 0;) {
        if (!EsNota(notas[i]))
            continue;
        notas.erase(notas.begin() + qsizetype(i));
        borrada = true;
        if (!todas)
            break;
    }
    if (borrada)
        TextosCambiados(true);
}

// The label already stands at its new place here; the other windows follow.
void TVentanaSenales::NotaMovida(int indice)
{
    TCjtSenales* set = Senales();
    if (!set || indice < 0 || indice >= int(xygraph->Textos().size()))
        return;
    int k = 0;
    for (TAnotacion& a : set->Anotaciones) {
        if (!EsNota(a))
            continue;
        if (k++ == indice) {
            a.X = xygraph->Textos()[indice].X;
            a.Y = xygraph->Textos()[indice].Y;
            TextosCambiados(false);
            return;
        }
    }
}

void TVentanaSenales::DatosSenales()
{
    TfrmDatosSenal::Mostrar(principal_, SenalesVisibles);
}

void TVentanaSenales::TrasElegir(bool aceptado, const QStringList& borradas, bool conCursores)
{
    QPointer<TVentanaSenales> yo(this);
    if (aceptado)
        Refrescar();
    // The chooser deleted these from the set: every window lets them go (this one
    // already has, when its lists were taken).
    if (!borradas.isEmpty())
        principal_.Estado().AvisarQuitadas(borradas);
    if (aceptado || !borradas.isEmpty())
        principal_.Estado().MarcarModificado();
    if (yo && conCursores && !SenalesVisibles.isEmpty() && !isHidden())
        ActivarCursores(true);
}

// ---- keys and pop-up -------------------------------------------------------------------

void TVentanaSenales::keyPressEvent(QKeyEvent* e)
{
    if (cursoresActivos_ && e->modifiers() == Qt::NoModifier
        && (e->key() == Qt::Key_Right || e->key() == Qt::Key_Left)) {
        Paso(e->key() == Qt::Key_Right ? 1 : -1);
        return;
    }
    TVentanaFormulario::keyPressEvent(e);
}

bool TVentanaSenales::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (cursoresActivos_ && k->modifiers() == Qt::NoModifier
            && (k->key() == Qt::Key_Right || k->key() == Qt::Key_Left)) {
            keyPressEvent(k);
            return true;
        }
    }
    return TVentanaFormulario::eventFilter(o, e);
}

void TVentanaSenales::contextMenuEvent(QContextMenuEvent* e)
{
    // The menu key opens the pop-up over the graph, as the right button does.
    if (e->reason() == QContextMenuEvent::Keyboard) {
        Popup->popup(xygraph->mapToGlobal(xygraph->rect().center()));
        e->accept();
        return;
    }
    TVentanaFormulario::contextMenuEvent(e);
}

} // namespace qv

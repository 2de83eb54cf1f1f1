#include "plot/grafica_bode.h"

#include "lang/textos.h"
#include "model/formatos.h"

#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr int kTextoEjeFrecuencia = 445;
constexpr int kTextoGanancia = 547;
constexpr int kTextoFase = 548;
constexpr int kTextoTiempo = 236;
constexpr int kTextoVoltios = 199;

const QString kCapaCursor = QStringLiteral("cursor");
const QColor kColorCorte(200, 0, 0);
const QColor kColorMarca(150, 150, 150);

void Rejilla(QCPAxis* eje)
{
    eje->grid()->setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));
    eje->grid()->setSubGridVisible(eje->scaleType() == QCPAxis::stLogarithmic);
    eje->grid()->setSubGridPen(QPen(QColor(230, 230, 230), 0, Qt::DotLine));
}

void EjeFrecuencia(QCPAxis* eje, bool log)
{
    eje->setScaleType(log ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    if (log) {
        auto t = QSharedPointer<QCPAxisTickerLog>::create();
        t->setSubTickCount(8);
        eje->setTicker(t);
        eje->setNumberFormat(QStringLiteral("g"));
    } else {
        eje->setTicker(QSharedPointer<QCPAxisTicker>::create());
    }
    Rejilla(eje);
}

QCPItemStraightLine* Vertical(QCustomPlot* p, QCPAxisRect* rect, double x, const QPen& pen)
{
    auto* l = new QCPItemStraightLine(p);
    l->setClipAxisRect(rect);
    for (QCPItemPosition* pos : {l->point1, l->point2})
        pos->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
    l->point1->setCoords(x, 0);
    l->point2->setCoords(x, 1);
    l->setPen(pen);
    return l;
}

} // namespace

TGraficaBode::TGraficaBode(TTextos& textos, QWidget* parent) : QCustomPlot(parent), textos_(textos)
{
    setObjectName(QStringLiteral("GBode"));
    setFocusPolicy(Qt::StrongFocus);
    setBackground(Qt::white);
    plotLayout()->setRowSpacing(4);

    QCPAxisRect* g = axisRect(0);
    rectFase_ = new QCPAxisRect(this);
    plotLayout()->addElement(1, 0, rectFase_);
    // Both rects keep their plotting areas aligned, whatever their tick labels' widths.
    auto* margenes = new QCPMarginGroup(this);
    g->setMarginGroup(QCP::msLeft | QCP::msRight, margenes);
    rectFase_->setMarginGroup(QCP::msLeft | QCP::msRight, margenes);
    for (QCPAxisRect* r : {g, rectFase_})
        for (QCPAxis* a : r->axes())
            a->setLayer(QStringLiteral("axes"));

    g->axis(QCPAxis::atBottom)->setTickLabels(false);
    g->axis(QCPAxis::atLeft)->setLabel(textos.BuscarTexto(kTextoGanancia));
    rectFase_->axis(QCPAxis::atLeft)->setLabel(textos.BuscarTexto(kTextoFase));
    rectFase_->axis(QCPAxis::atBottom)->setLabel(textos.BuscarTexto(kTextoEjeFrecuencia));
    // One frequency axis for both.
    connect(g->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
            rectFase_->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::setRange));

    auto curva = [&](QCPAxisRect* r, const QColor& color) {
        QCPGraph* c = addGraph(r->axis(QCPAxis::atBottom), r->axis(QCPAxis::atLeft));
        c->setPen(QPen(color, 1.5));
        c->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, color, Qt::white, 6));
        return c;
    };
    ganancia_ = curva(g, QColor(0, 0, 160));
    fase_ = curva(rectFase_, QColor(0, 110, 0));

    // The cursor on a buffered layer of its own: moving it never redraws the curves.
    addLayer(kCapaCursor, layer(QStringLiteral("main")), QCustomPlot::limAbove);
    layer(kCapaCursor)->setMode(QCPLayer::lmBuffered);
    const QPen lapiz(QColor(0, 140, 140), 1);
    cursorGanancia_ = Vertical(this, g, 1, lapiz);
    cursorFase_ = Vertical(this, rectFase_, 1, lapiz);
    for (QCPItemStraightLine* l : {cursorGanancia_, cursorFase_}) {
        l->setLayer(kCapaCursor);
        l->setVisible(false);
    }
    connect(this, &QCustomPlot::beforeReplot, this, [this] { ++dibujos_; });
    Cargar(r_);
}

QString TGraficaBode::TextoLectura(const TLectura& l, TTextos& textos)
{
    return TextoFrecuencia(l.Frecuencia, textos) + QStringLiteral(", ") + FormatoFijo(l.GananciaDB, 2)
           + QStringLiteral(" dB, ") + FormatoFijo(l.FaseGrados, 1) + QChar(0x00B0);
}

QStringList TGraficaBode::TextosCortes() const
{
    QStringList t;
    for (const TLectura& c : cortes_)
        t << QStringLiteral("-3 dB: ") + TextoLectura(c, textos_);
    return t;
}

void TGraficaBode::Rango(QCPAxis* eje, const std::vector<double>& v, double paso, double minimo)
{
    if (v.empty()) {
        eje->setRange(-minimo, minimo);
        return;
    }
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    double a = std::floor(*lo / paso) * paso, b = std::ceil(*hi / paso) * paso;
    if (b - a < minimo) {
        const double c = 0.5 * (a + b);
        a = c - minimo / 2;
        b = c + minimo / 2;
    }
    eje->setRange(a - paso * 0.25, b + paso * 0.25);
}

void TGraficaBode::Cargar(const TResultadoBarrido& r)
{
    const int cursorAntes = cursor_;
    r_ = r;
    for (QCPAbstractItem* i : marcas_)
        removeItem(i);
    marcas_.clear();

    const TAjustesBarrido& a = r_.Ajustes;
    const bool log = a.Reparto == TReparto::Logaritmico;
    QCPAxisRect* g = RectGanancia();
    for (QCPAxisRect* rect : {g, rectFase_}) {
        EjeFrecuencia(rect->axis(QCPAxis::atBottom), log);
        Rejilla(rect->axis(QCPAxis::atLeft));
    }
    QVector<QCPGraphData> dg, dp;
    std::vector<double> gs, ps;
    const QPen gris(kColorMarca, 1, Qt::DashLine);
    for (const TPuntoBarrido& p : r_.Puntos) {
        if (p.Valida()) {
            dg.push_back(QCPGraphData(p.Frecuencia, p.GananciaDB));
            dp.push_back(QCPGraphData(p.Frecuencia, p.FaseGrados));
            gs.push_back(p.GananciaDB);
            ps.push_back(p.FaseGrados);
        } else {
            // A point without a measure is shown where it is, never as a value.
            marcas_.push_back(Vertical(this, g, p.Frecuencia, gris));
            marcas_.push_back(Vertical(this, rectFase_, p.Frecuencia, gris));
        }
    }
    ganancia_->data()->set(dg, false);
    fase_->data()->set(dp, false);

    double desde = std::min(a.Desde, a.Hasta), hasta = std::max(a.Desde, a.Hasta);
    for (const TPuntoBarrido& p : r_.Puntos) {
        desde = std::min(desde, p.Frecuencia);
        hasta = std::max(hasta, p.Frecuencia);
    }
    if (!(hasta > desde)) {
        desde = log ? desde / 2 : desde - 1;
        hasta = log ? hasta * 2 : hasta + 1;
    }
    const double margen = log ? std::pow(hasta / desde, 0.02) : (hasta - desde) * 0.02;
    g->axis(QCPAxis::atBottom)->setRange(log ? desde / margen : desde - margen, log ? hasta * margen : hasta + margen);
    Rango(g->axis(QCPAxis::atLeft), gs, 5, 10);
    Rango(rectFase_->axis(QCPAxis::atLeft), ps, 45, 90);

    // The -3 dB points: a dashed level across the gain, a mark and its reading at each.
    cortes_ = PuntosMenos3dB(r_);
    if (!cortes_.empty()) {
        auto* nivel = new QCPItemStraightLine(this);
        nivel->setClipAxisRect(g);
        for (QCPItemPosition* pos : {nivel->point1, nivel->point2})
            pos->setAxes(g->axis(QCPAxis::atBottom), g->axis(QCPAxis::atLeft));
        nivel->point1->setCoords(desde, cortes_.front().GananciaDB);
        nivel->point2->setCoords(hasta, cortes_.front().GananciaDB);
        nivel->setPen(QPen(kColorCorte, 1, Qt::DotLine));
        marcas_.push_back(nivel);
    }
    const QStringList textos = TextosCortes();
    for (std::size_t i = 0; i < cortes_.size(); ++i) {
        const TLectura& c = cortes_[i];
        for (auto [rect, y] : {std::pair{g, c.GananciaDB}, std::pair{rectFase_, c.FaseGrados}}) {
            auto* t = new QCPItemTracer(this);
            t->setClipAxisRect(rect);
            t->position->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            t->position->setCoords(c.Frecuencia, y);
            t->setStyle(QCPItemTracer::tsCircle);
            t->setSize(10);
            t->setPen(QPen(kColorCorte, 2));
            marcas_.push_back(t);
        }
        auto* rotulo = new QCPItemText(this);
        rotulo->setClipAxisRect(g);
        rotulo->position->setAxes(g->axis(QCPAxis::atBottom), g->axis(QCPAxis::atLeft));
        rotulo->position->setCoords(c.Frecuencia, c.GananciaDB);
        // Labels of a band's two edges lean away from each other.
        const bool izquierda = cortes_.size() > 1 && i == 0;
        rotulo->setPositionAlignment(Qt::AlignTop | (izquierda ? Qt::AlignRight : Qt::AlignLeft));
        rotulo->setPadding(QMargins(6, 6, 6, 2));
        rotulo->setText(textos.value(qsizetype(i)));
        rotulo->setColor(kColorCorte);
        rotulo->setBrush(QBrush(QColor(255, 255, 255, 210)));
        marcas_.push_back(rotulo);
    }

    cursor_ = -1;
    replot();
    if (cursorAntes >= 0 && cursorAntes < int(r_.Puntos.size()) && r_.Puntos[std::size_t(cursorAntes)].Valida())
        PonerCursor(cursorAntes);
    else {
        cursorGanancia_->setVisible(false);
        cursorFase_->setVisible(false);
        layer(kCapaCursor)->replot();
    }
}

int TGraficaBode::PuntoEnPixel(double px) const
{
    const double f = RectGanancia()->axis(QCPAxis::atBottom)->pixelToCoord(px);
    return PuntoCercano(r_, f);
}

void TGraficaBode::PonerCursor(int i)
{
    const bool valido = i >= 0 && i < int(r_.Puntos.size()) && r_.Puntos[std::size_t(i)].Valida();
    if (!valido)
        i = -1;
    if (i == cursor_)
        return;
    cursor_ = i;
    cursorGanancia_->setVisible(valido);
    cursorFase_->setVisible(valido);
    if (valido) {
        const double f = r_.Puntos[std::size_t(i)].Frecuencia;
        for (QCPItemStraightLine* l : {cursorGanancia_, cursorFase_}) {
            l->point1->setCoords(f, 0);
            l->point2->setCoords(f, 1);
        }
    }
    layer(kCapaCursor)->replot();
    Q_EMIT CursorMovido(cursor_);
}

void TGraficaBode::CursorEnPixel(double px)
{
    const QRect area = RectGanancia()->rect();
    const int i = PuntoEnPixel(std::clamp(px, double(area.left()), double(area.right())));
    if (i >= 0)
        PonerCursor(i);
}

void TGraficaBode::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        CursorEnPixel(e->position().x());
    QCustomPlot::mousePressEvent(e);
}

void TGraficaBode::mouseMoveEvent(QMouseEvent* e)
{
    if (e->buttons() & Qt::LeftButton)
        CursorEnPixel(e->position().x());
    QCustomPlot::mouseMoveEvent(e);
}

// ---- one capture ----

TGraficaCaptura::TGraficaCaptura(TTextos& textos, QWidget* parent) : QCustomPlot(parent)
{
    setObjectName(QStringLiteral("GCaptura"));
    setBackground(Qt::white);
    xAxis->setLabel(textos.BuscarTexto(kTextoTiempo));
    yAxis->setLabel(textos.BuscarTexto(kTextoVoltios));
    Rejilla(xAxis);
    Rejilla(yAxis);
    legend->setVisible(true);
    legend->setBrush(QBrush(QColor(255, 255, 255, 220)));
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
    const QColor colores[] = {QColor(0, 0, 160), QColor(0, 110, 0), QColor(160, 160, 160)};
    for (const QColor& c : colores) {
        QCPGraph* g = addGraph();
        g->setPen(QPen(c, 1));
        g->setLineStyle(QCPGraph::lsStepLeft);
        g->setAdaptiveSampling(true);
    }
    estabilizacion_ = new QCPItemRect(this);
    estabilizacion_->setClipToAxisRect(true);
    estabilizacion_->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
    estabilizacion_->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
    estabilizacion_->setPen(Qt::NoPen);
    estabilizacion_->setBrush(QBrush(QColor(235, 235, 235)));
    estabilizacion_->setLayer(QStringLiteral("background"));
    estabilizacion_->setVisible(false);
}

void TGraficaCaptura::Cargar(const std::vector<float>& referencia, const std::vector<float>& respuesta,
                             const std::vector<float>& salida, double periodo, int desde, int medidas,
                             const QStringList& nombres)
{
    const std::vector<float>* series[] = {&salida, &referencia, &respuesta};
    const int nombre[] = {2, 0, 1};
    std::size_t n = 0;
    for (int i = 0; i < 3; ++i) {
        QVector<QCPGraphData> d(qsizetype(series[i]->size()));
        for (std::size_t k = 0; k < series[i]->size(); ++k)
            d[qsizetype(k)] = QCPGraphData(double(k) * periodo, double((*series[i])[k]));
        graph(i)->data()->set(d, true);
        graph(i)->setName(nombres.value(nombre[i]));
        n = std::max(n, series[i]->size());
    }
    // The output is drawn first, so that the inputs stay on top of it.
    graph(0)->setPen(QPen(QColor(170, 170, 170), 1));
    graph(1)->setPen(QPen(QColor(0, 0, 160), 1));
    graph(2)->setPen(QPen(QColor(0, 110, 0), 1));
    estabilizacion_->setVisible(desde > 0);
    estabilizacion_->topLeft->setCoords(0, 0);
    estabilizacion_->bottomRight->setCoords(desde * periodo, 1);
    (void)medidas;
    rescaleAxes();
    xAxis->setRange(0, std::max<double>(1, double(n)) * periodo);
    const QCPRange y = yAxis->range();
    yAxis->setRange(y.lower - 0.05 * y.size() - 1e-3, y.upper + 0.05 * y.size() + 1e-3);
    replot();
}

} // namespace qv

#include "plot/grf.h"

#include "plot/grf_capas.h"

#include <QLabel>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv {

namespace {

constexpr double LimitePixel = 20000;

int AcotarPixel(double p)
{
    if (std::isnan(p))
        return 0;
    return int(std::lround(std::clamp(p, -LimitePixel, LimitePixel)));
}

bool EjeValido(const TAxis& e, double lo, double hi)
{
    return std::isfinite(lo) && std::isfinite(hi) && lo < hi && (!e.LogScale() || lo > 0)
           && std::fabs(lo) < 1e250 && std::fabs(hi) < 1e250;
}

} // namespace

TGrf::TGrf(QWidget* parent)
    : QCustomPlot(parent), ejeX_(*this, TAxis::Tipo::X), ejeY_(*this, TAxis::Tipo::Y),
      ejeY2_(*this, TAxis::Tipo::Y2), dimensiones_(*this), apariencia_(*this), leyenda_(*this)
{
    // Tick labels with "." whatever the desktop's locale.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    setLocale(c);
    setAutoAddPlottableToLegend(false);
    legend->setVisible(false);
    setNotAntialiasedElements(QCP::aeAll);
    setPlottingHint(QCP::phFastPolylines, true);
    axisRect()->setAutoMargins(QCP::msNone);

    // Live segments and cursors get buffered layers of their own on top of everything, so
    // that drawing them repaints those buffers only. The library's overlay layer is not
    // used and joins the others' buffer.
    layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);
    capaTrazos_ = new TCapaGrf(this, QStringLiteral("trazos"));
    capaCursores_ = new TCapaGrf(this, QStringLiteral("cursores"));
    mLayers.append(capaTrazos_);
    mLayers.append(capaCursores_);
    updateLayerIndices();
    capaTrazos_->setMode(QCPLayer::lmBuffered);
    capaCursores_->setMode(QCPLayer::lmBuffered);
    dibujoCursores_ = new TDibujoCursores(*this, QStringLiteral("cursores"));
    dibujoRotulos_ = new TDibujoRotulos(*this, QStringLiteral("legend"));

    for (auto& m : marcas_)
        m = QSharedPointer<TMarcasGrf>::create();
    marcasLog_ = QSharedPointer<QCPAxisTickerLog>::create();

    azul_.Color = QColor(0, 0, 255);
    azul_.Numero = 1;
    azul_.Grafica = this;
    rojo_.Color = QColor(255, 0, 0);
    rojo_.Numero = 2;
    rojo_.Grafica = this;

    connect(this, &QCustomPlot::beforeReplot, this, &TGrf::PrepararDibujo);
    connect(this, &QCustomPlot::afterReplot, this, &TGrf::RecolocarTextos);
    Cambiado();
}

TGrf::~TGrf()
{
    BorrarTextos();
    // The drawings leave their layers before the library deletes the layers.
    delete dibujoCursores_;
    delete dibujoRotulos_;
}

void TGrf::Cambiado()
{
    if (plotting_)
        replot(rpQueuedReplot);
}

void TGrf::DatosCambiados()
{
    escalasSucias_ = true;
    Cambiado();
}

void TGrf::Redibujar()
{
    replot(rpQueuedRefresh);
}

void TGrf::PonerPlotting(bool on)
{
    plotting_ = on;
    if (on)
        DatosCambiados();
}

void TGrf::PonerStepPlot(bool on)
{
    stepPlot_ = on;
    for (auto& s : series_)
        s->AplicarEstilo();
    Cambiado();
}

void TGrf::PonerMismaEscala(bool on)
{
    if (mismaEscala_ == on)
        return;
    mismaEscala_ = on;
    DatosCambiados();
}

void TGrf::PonerEjesComparables(bool on)
{
    if (comparables_ == on)
        return;
    comparables_ = on;
    DatosCambiados();
}

void TGrf::PonerDigitalLabels(bool on)
{
    digitalLabels_ = on;
    Cambiado();
}

// ---- series ----------------------------------------------------------------------------

TSeries& TGrf::Serie(int indice)
{
    indice = std::max(0, indice);
    while (int(series_.size()) <= indice) {
        auto* grafico = new TGraficoSerie(xAxis, yAxis, dibujosSeries_);
        series_.push_back(std::unique_ptr<TSeries>(new TSeries(*this, grafico, int(series_.size()))));
    }
    return *series_[indice];
}

void TGrf::LiberarSeries()
{
    for (auto& s : series_) {
        removeGraph(s->grafico_);
        if (s->curva_)
            removePlottable(s->curva_);
    }
    series_.clear();
    DatosCambiados();
}

QColor TGrf::ColorSerie(int indice)
{
    static const QColor colores[] = {
        {0, 255, 0},   {0, 128, 0},     {0, 0, 255},     {255, 0, 0},  {128, 128, 128}, {128, 0, 0},
        {255, 0, 255}, {255, 255, 0},   {128, 0, 128},   {0, 255, 255}, {0, 128, 128},  {255, 128, 0},
        {142, 85, 170}, {128, 128, 255}, {255, 183, 111}, {175, 200, 2}};
    if (indice >= 0 && indice < int(std::size(colores)))
        return colores[indice];
    return QColor(0, 0, 255);
}

// ---- scales ----------------------------------------------------------------------------

void TGrf::AsegurarEscalas() const
{
    // Equal scales depend on the plot area's shape (the window's size, the legend's margin).
    if (mismaEscala_ && comparables_ && AreaGrafica() != areaIgualada_)
        escalasSucias_ = true;
    if (!escalasSucias_ || !plotting_)
        return;
    escalasSucias_ = false;
    for (const TAxis* e : {&ejeX_, &ejeY_, &ejeY2_})
        if (e->autoSizing_)
            AutoEscalar(*e);
    IgualarEscalas();
}

void TGrf::IgualarEscalas() const
{
    const QRect area = AreaGrafica();
    areaIgualada_ = area;
    if (!mismaEscala_ || !comparables_ || !ejeX_.autoSizing_ || !ejeY_.autoSizing_ || ejeX_.log_ || ejeY_.log_ || area.width() <= 0
        || area.height() <= 0)
        return;
    // The axis with fewer units per pixel widens about its centre to the other's.
    const double porPixel = std::max((ejeX_.max_ - ejeX_.min_) / area.width(), (ejeY_.max_ - ejeY_.min_) / area.height());
    if (!(porPixel > 0) || !std::isfinite(porPixel))
        return;
    for (const auto& [eje, pixeles] : {std::pair{&ejeX_, area.width()}, std::pair{&ejeY_, area.height()}}) {
        const double centro = (eje->min_ + eje->max_) / 2;
        eje->min_ = centro - porPixel * pixeles / 2;
        eje->max_ = centro + porPixel * pixeles / 2;
    }
    if (ejeY2_.autoSizing_ && ejeY2_.log_ == ejeY_.log_) {
        ejeY2_.min_ = ejeY_.min_;
        ejeY2_.max_ = ejeY_.max_;
    }
}

void TGrf::AutoEscalar(const TAxis& eje) const
{
    if (eje.tipo_ == TAxis::Tipo::Y2 && ejeY_.autoSizing_ && ejeY_.log_ == eje.log_) {
        // No series is drawn against the second axis; it follows the first one.
        eje.min_ = ejeY_.min_;
        eje.max_ = ejeY_.max_;
        return;
    }
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    bool curvas = false;
    for (const auto& s : series_) {
        if (s->NumPuntos() == 0)
            continue;
        if (eje.tipo_ == TAxis::Tipo::X) {
            s->RangoX(lo, hi, eje.log_);
            curvas = curvas || s->parametrica_;
        } else {
            s->RangoY(lo, hi, eje.log_);
        }
    }
    if (!(lo <= hi)) {
        lo = eje.log_ ? 1 : 0;
        hi = eje.log_ ? 10 : 1;
    } else if (lo == hi) {
        if (eje.log_) {
            lo /= 10;
            hi *= 10;
        } else {
            const double d = lo == 0 ? 1 : std::fabs(lo) * 0.1;
            lo -= d;
            hi += d;
        }
    } else if ((eje.tipo_ != TAxis::Tipo::X || curvas) && !eje.log_) {
        // Room around the curves, so that a trace at its extreme stays visible (time
        // plots keep their X range from the first sample to the last).
        const double d = (hi - lo) * 0.05;
        lo -= d;
        hi += d;
    }
    eje.min_ = lo;
    eje.max_ = hi;
}

bool TGrf::EscalasValidas() const
{
    AsegurarEscalas();
    return EjeValido(ejeX_, ejeX_.min_, ejeX_.max_) && EjeValido(ejeY_, ejeY_.min_, ejeY_.max_)
           && (!ejeY2_.visible_ || EjeValido(ejeY2_, ejeY2_.min_, ejeY2_.max_));
}

QCPAxis* TGrf::EjeQcp(const TAxis& eje) const
{
    switch (eje.tipo_) {
    case TAxis::Tipo::X:
        return xAxis;
    case TAxis::Tipo::Y:
        return yAxis;
    default:
        return yAxis2;
    }
}

void TGrf::AplicarEje(TAxis& eje)
{
    QCPAxis* a = EjeQcp(eje);
    a->setVisible(eje.visible_);
    a->setLabel(eje.titulo_);
    a->setLabelFont(apariencia_.fTitulos_);
    a->setTickLabelFont(apariencia_.fEtiquetas_);
    a->setLabelPadding(eje.tipo_ == TAxis::Tipo::X ? dimensiones_.tituloX_ : dimensiones_.tituloY_);
    a->setRangeReversed(eje.invertido_);
    a->setScaleType(eje.log_ ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    if (EjeValido(eje, eje.min_, eje.max_))
        a->setRange(eje.min_, eje.max_);
    if (eje.log_) {
        if (a->ticker() != marcasLog_)
            a->setTicker(marcasLog_);
    } else {
        const auto& m = marcas_[int(eje.tipo_)];
        m->paso = eje.autoStepping_ ? 0 : eje.paso_;
        m->digital = digitalLabels_ && eje.tipo_ == TAxis::Tipo::Y;
        m->setTickOrigin(m->digital ? eje.min_ : 0);
        if (a->ticker().data() != m.data())
            a->setTicker(m);
    }
    a->setNumberFormat(eje.autoDecimales_ ? QStringLiteral("g") : QStringLiteral("f"));
    a->setNumberPrecision(eje.autoDecimales_ ? 6 : eje.decimales_);
    // The grid stays on so that its zero line can show without the other lines.
    a->grid()->setVisible(true);
    a->grid()->setSubGridVisible(false);
    a->grid()->setPen(eje.rejilla_ ? QPen(apariencia_.rejilla_, 0, Qt::DotLine) : QPen(Qt::NoPen));
    a->grid()->setZeroLinePen(apariencia_.cruce_ && eje.tipo_ != TAxis::Tipo::Y2 ? QPen(Qt::black, 0)
                                                                               : QPen(Qt::NoPen));
}

void TGrf::PrepararDibujo()
{
    AsegurarEscalas();
    const bool validas = EscalasValidas();
    axisRect()->setMargins(QMargins(dimensiones_.izq_, dimensiones_.sup_, dimensiones_.der_, dimensiones_.inf_));
    mBackgroundBrush = QBrush(apariencia_.margen_);
    axisRect()->setBackground(QBrush(apariencia_.fondo_));
    for (TAxis* e : {&ejeX_, &ejeY_, &ejeY2_})
        AplicarEje(*e);
    const auto visible = [](QCPLayer* capa, bool on) {
        if (capa->visible() != on)
            capa->setVisible(on);
    };
    visible(layer(QStringLiteral("grid")), validas);
    visible(layer(QStringLiteral("axes")), validas);
    visible(layer(QStringLiteral("main")), validas && plotting_);
    visible(capaTrazos_, validas && plotting_);
}

// ---- mapping ---------------------------------------------------------------------------

QRect TGrf::AreaGrafica() const
{
    return QRect(dimensiones_.izq_, dimensiones_.sup_, std::max(0, width() - dimensiones_.izq_ - dimensiones_.der_),
                 std::max(0, height() - dimensiones_.sup_ - dimensiones_.inf_));
}

// The library's own formulas (QCPAxis::coordToPixel), so that cursors and annotations
// land on the drawn curves.
double TGrf::Pixel(const TAxis& eje, double v) const
{
    const double lo = eje.Min(), hi = eje.Max();
    double f = 0;
    if (eje.log_ && lo > 0 && hi > 0 && hi != lo)
        f = v > 0 ? std::log(v / lo) / std::log(hi / lo) : -std::numeric_limits<double>::infinity();
    else if (hi != lo)
        f = (v - lo) / (hi - lo);
    if (eje.invertido_)
        f = 1 - f;
    const QRect r = AreaGrafica();
    return eje.tipo_ == TAxis::Tipo::X ? r.left() + f * r.width() : r.bottom() - f * r.height();
}

double TGrf::Valor(const TAxis& eje, double px) const
{
    const QRect r = AreaGrafica();
    double f = 0;
    if (eje.tipo_ == TAxis::Tipo::X) {
        if (r.width() > 0)
            f = (px - r.left()) / r.width();
    } else if (r.height() > 0) {
        f = (r.bottom() - px) / r.height();
    }
    if (eje.invertido_)
        f = 1 - f;
    const double lo = eje.Min(), hi = eje.Max();
    if (eje.log_ && lo > 0 && hi > 0)
        return lo * std::pow(hi / lo, f);
    return lo + f * (hi - lo);
}

int TGrf::PixelX(double x) const
{
    return AcotarPixel(Pixel(ejeX_, x));
}

int TGrf::PixelY(double y) const
{
    return AcotarPixel(Pixel(ejeY_, y));
}

double TGrf::ValorX(int px) const
{
    return Valor(ejeX_, px);
}

double TGrf::ValorY(int py) const
{
    return Valor(ejeY_, py);
}

double TGrf::ValorY2(int py) const
{
    return Valor(ejeY2_, py);
}

QPoint TGrf::AcotarAlArea(QPoint p) const
{
    const int izq = dimensiones_.izq_, sup = dimensiones_.sup_;
    const int der = std::max(izq, width() - dimensiones_.der_);
    const int inf = std::max(sup, height() - dimensiones_.inf_);
    return QPoint(std::clamp(p.x(), izq, der), std::clamp(p.y(), sup, inf));
}

bool TGrf::PuntoMasCercano(int serie, int pixelX, TPuntoGrf& punto) const
{
    if (serie < 0 || serie >= NumSeries())
        return false;
    const TSeries& s = *series_[serie];
    const auto datos = s.grafico_->data();
    const int n = s.NumPuntos();
    if (n == 0)
        return false;
    const double v = ValorX(pixelX);
    const double lo = ejeX_.Min(), hi = ejeX_.Max();
    if (v < std::min(lo, hi) || v > std::max(lo, hi))
        return false;
    if (s.parametrica_) {
        // Sample order says nothing of X: every point is looked at, the first of equals wins.
        int mejor = 0;
        for (int k = 1; k < n; ++k)
            if (std::fabs(s.ClaveEn(k) - v) < std::fabs(s.ClaveEn(mejor) - v))
                mejor = k;
        punto = {s.Secuencia(mejor), s.ClaveEn(mejor), s.ValorEn(mejor)};
        return true;
    }
    const auto inicio = datos->constBegin();
    int i = int(std::lower_bound(inicio, datos->constEnd(), v,
                                 [](const QCPGraphData& d, double x) { return d.key < x; })
                - inicio);
    if (i == n)
        i = n - 1;
    else if (i > 0 && v <= ((inicio + i - 1)->key + (inicio + i)->key) / 2)
        --i;
    punto.Secuencia = s.Secuencia(i);
    punto.X = (inicio + i)->key;
    punto.Y = (inicio + i)->value;
    return true;
}

bool TGrf::PuntoMasCercanoEnPantalla(int serie, QPoint pixel, TPuntoGrf& punto) const
{
    if (serie < 0 || serie >= NumSeries() || !EscalasValidas())
        return false;
    const TSeries& s = *series_[serie];
    const double xlo = std::min(ejeX_.Min(), ejeX_.Max()), xhi = std::max(ejeX_.Min(), ejeX_.Max());
    const double ylo = std::min(ejeY_.Min(), ejeY_.Max()), yhi = std::max(ejeY_.Min(), ejeY_.Max());
    double mejor = std::numeric_limits<double>::infinity();
    for (int k = 0; k < s.NumPuntos(); ++k) {
        const double x = s.ClaveEn(k), y = s.ValorEn(k);
        if (!(x >= xlo && x <= xhi && y >= ylo && y <= yhi))
            continue; // out of view (zoomed)
        const double dx = Pixel(ejeX_, x) - pixel.x(), dy = Pixel(ejeY_, y) - pixel.y();
        const double d = dx * dx + dy * dy;
        if (d < mejor) {
            mejor = d;
            punto = {s.Secuencia(k), x, y};
        }
    }
    return std::isfinite(mejor);
}

// ---- events ----------------------------------------------------------------------------

void TGrf::paintEvent(QPaintEvent* e)
{
    QCustomPlot::paintEvent(e);
    Q_EMIT PinturaTerminada();
}

void TGrf::resizeEvent(QResizeEvent*)
{
    // The new size is drawn once the events of the moment are through: a window that
    // opens, is placed and laid out resizes its graph several times in one event, and
    // a million points drawn at each size would hold the window thread that long.
    setViewport(rect());
    replot(rpQueuedReplot);
    Q_EMIT Redimensionado();
}

} // namespace qv

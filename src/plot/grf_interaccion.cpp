// Cursors, zoom, mouse and text annotations of the graph control.

#include "plot/grf.h"

#include "plot/grf_capas.h"

#include <QLabel>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// The outline of a rectangle as four strips, so that a large zoom rectangle repaints its
// edges only.
QRegion Marco(const QRect& r)
{
    if (r.isEmpty())
        return {};
    QRegion z;
    z += QRect(r.left(), r.top(), r.width(), 3);
    z += QRect(r.left(), r.bottom() - 2, r.width(), 3);
    z += QRect(r.left(), r.top(), 3, r.height());
    z += QRect(r.right() - 2, r.top(), 3, r.height());
    return z;
}

} // namespace

// ---- cursors ---------------------------------------------------------------------------

// Where the cursor is drawn, or an empty rectangle when it is not (hidden, out of the X
// range, or inconsistent scales).
QRect TGrf::ZonaCursor(const TCursores& c) const
{
    if (!c.Visible || !EscalasValidas())
        return {};
    const int px = PixelX(c.X);
    if (px < dimensiones_.izq_ || px > width() - dimensiones_.der_)
        return {};
    const int y1 = PixelY(ejeY_.Min()), y2 = PixelY(ejeY_.Max());
    QRect z(QPoint(px, std::min(y1, y2)), QPoint(px, std::max(y1, y2)));
    if (c.ConMarca) {
        const int py = PixelY(c.YMarca);
        z |= QRect(px - 3, py - 3, 7, 7);
    }
    return z.adjusted(-1, -1, 1, 1);
}

QRect TGrf::ZonaZoom() const
{
    if (!rectangulo_)
        return {};
    return QRect(inicioZoom_, finZoom_).normalized().adjusted(-1, -1, 1, 1);
}

void TDibujoCursores::Dibujar(QCPPainter* p)
{
    g_.zonaAzul_ = g_.zonaRoja_ = g_.zonaZoom_ = QRect();
    if (g_.pintando_)
        return;
    for (const TCursores* c : {&g_.azul_, &g_.rojo_}) {
        const QRect z = g_.ZonaCursor(*c);
        (c->Numero == 1 ? g_.zonaAzul_ : g_.zonaRoja_) = z;
        if (z.isEmpty())
            continue;
        const int px = g_.PixelX(c->X);
        p->setPen(QPen(c->Color, 0));
        p->setBrush(Qt::NoBrush);
        p->drawLine(QLineF(px, g_.PixelY(g_.ejeY_.Min()), px, g_.PixelY(g_.ejeY_.Max())));
        if (c->ConMarca) {
            const int py = g_.PixelY(c->YMarca);
            p->drawEllipse(QRect(px - 3, py - 3, 6, 6));
        }
    }
    if (g_.rectangulo_) {
        p->setPen(QPen(Qt::black, 0, Qt::DotLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(QRect(g_.inicioZoom_, g_.finZoom_).normalized());
        g_.zonaZoom_ = g_.ZonaZoom();
    }
}

// Redraws part of a buffered layer straight into its buffer and repaints that part of the
// control; the other layers keep their pixels. Without a usable buffer (nothing drawn yet
// at this size) the whole graph is redrawn instead.
void TGrf::RepintarCapa(TCapaGrf* capa, const QRegion& zona, bool borrar,
                        const std::function<void(QCPPainter*)>& dibujo)
{
    if (zona.isEmpty())
        return;
    const auto buffer = capa->Buffer();
    if (!buffer || buffer->size() != viewport().size() || buffer->size().isEmpty() || hasInvalidatedPaintBuffers()) {
        replot(rpQueuedReplot);
        return;
    }
    QCPPainter* p = buffer->startPainting();
    if (p && p->isActive()) {
        p->setClipRegion(zona);
        if (borrar) {
            p->setCompositionMode(QPainter::CompositionMode_Source);
            p->fillRect(zona.boundingRect(), Qt::transparent);
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        p->setAntialiasing(false);
        dibujo(p);
    }
    delete p;
    buffer->donePainting();
    update(zona);
}

void TGrf::RepintarCursores(const QRegion& zona)
{
    RepintarCapa(capaCursores_, zona, true, [this](QCPPainter* p) { dibujoCursores_->Dibujar(p); });
}

void TGrf::PonerCursor(int numero, bool conMarca, double yMarca, double x)
{
    TCursores& c = Cursor(numero);
    QRegion zona(numero == 1 ? zonaAzul_ : zonaRoja_);
    c.X = x;
    c.Visible = true;
    c.ConMarca = conMarca;
    c.YMarca = yMarca;
    zona += ZonaCursor(c);
    RepintarCursores(zona);
}

void TGrf::QuitarCursor(int numero)
{
    TCursores& c = Cursor(numero);
    if (!c.Visible)
        return;
    c.Visible = false;
    RepintarCursores(QRegion(numero == 1 ? zonaAzul_ : zonaRoja_));
}

// ---- zoom ------------------------------------------------------------------------------

void TGrf::IniciarZoom(QPoint p)
{
    if (!ampliada_) {
        // One saved state for the whole zoom sequence.
        const TAxis* ejes[] = {&ejeX_, &ejeY_, &ejeY2_};
        for (int i = 0; i < 3; ++i)
            guardados_[i] = {ejes[i]->AutoSizing(), ejes[i]->Min(), ejes[i]->Max()};
        ampliada_ = true;
    }
    rectangulo_ = true;
    inicioZoom_ = finZoom_ = AcotarAlArea(p);
    RepintarCursores(Marco(ZonaZoom()));
}

namespace {

// The zoomed range, widened around its centre to a thousandth of the saved one.
void Ampliar(TAxis& eje, double a, double b, double guardadoMin, double guardadoMax)
{
    double lo = std::min(a, b), hi = std::max(a, b);
    if (eje.LogScale() && lo > 0 && guardadoMin > 0 && guardadoMax > 0) {
        double llo = std::log10(lo), lhi = std::log10(hi);
        const double minimo = std::fabs(std::log10(guardadoMax / guardadoMin)) / 1000;
        if (lhi - llo < minimo) {
            const double c = (llo + lhi) / 2;
            llo = c - minimo / 2;
            lhi = c + minimo / 2;
        }
        lo = std::pow(10.0, llo);
        hi = std::pow(10.0, lhi);
    } else {
        const double minimo = std::fabs(guardadoMax - guardadoMin) / 1000;
        if (hi - lo < minimo) {
            const double c = (lo + hi) / 2;
            lo = c - minimo / 2;
            hi = c + minimo / 2;
        }
    }
    eje.PonerMin(lo);
    eje.PonerMax(hi);
}

} // namespace

void TGrf::TerminarZoom()
{
    const QRegion banda = Marco(zonaZoom_);
    rectangulo_ = false;
    RepintarCursores(banda);
    const int x1 = std::min(inicioZoom_.x(), finZoom_.x()), x2 = std::max(inicioZoom_.x(), finZoom_.x());
    const int y1 = std::min(inicioZoom_.y(), finZoom_.y()), y2 = std::max(inicioZoom_.y(), finZoom_.y());
    if (x2 - x1 > 4 && y2 - y1 > 4) {
        // Values first: the mapping changes as soon as a limit does.
        const double vx1 = ValorX(x1), vx2 = ValorX(x2);
        const double vy1 = ValorY(y2), vy2 = ValorY(y1);
        const double wy1 = ValorY2(y2), wy2 = ValorY2(y1);
        Ampliar(ejeX_, vx1, vx2, guardados_[0].min, guardados_[0].max);
        Ampliar(ejeY_, vy1, vy2, guardados_[1].min, guardados_[1].max);
        Ampliar(ejeY2_, wy1, wy2, guardados_[2].min, guardados_[2].max);
    } else {
        RestaurarEjes();
    }
}

void TGrf::RestaurarEjes()
{
    if (!ampliada_)
        return;
    const bool antes = plotting_;
    plotting_ = false;
    TAxis* ejes[] = {&ejeX_, &ejeY_, &ejeY2_};
    for (int i = 0; i < 3; ++i) {
        ejes[i]->PonerAutoSizing(guardados_[i].autoSizing);
        if (!guardados_[i].autoSizing) {
            ejes[i]->PonerMin(guardados_[i].min);
            ejes[i]->PonerMax(guardados_[i].max);
        }
    }
    ampliada_ = false;
    PonerPlotting(antes);
}

void TGrf::AmpliarX(double desde, double hasta)
{
    if (!(desde < hasta) || !std::isfinite(desde) || !std::isfinite(hasta))
        return;
    if (!ampliada_) {
        const TAxis* ejes[] = {&ejeX_, &ejeY_, &ejeY2_};
        for (int i = 0; i < 3; ++i)
            guardados_[i] = {ejes[i]->AutoSizing(), ejes[i]->Min(), ejes[i]->Max()};
        ampliada_ = true;
    }
    ejeX_.PonerMin(desde);
    ejeX_.PonerMax(hasta);
}

void TGrf::DeshacerZoom()
{
    if (rectangulo_) {
        rectangulo_ = false;
        RepintarCursores(Marco(zonaZoom_));
    }
    RestaurarEjes();
}

// ---- mouse -----------------------------------------------------------------------------

TRatonGrf TGrf::Raton(const QMouseEvent* e, bool zoom) const
{
    TRatonGrf r;
    r.Pixel = e->position().toPoint();
    r.EnArea = AcotarAlArea(r.Pixel);
    r.X = ValorX(r.EnArea.x());
    r.Y = ValorY(r.EnArea.y());
    r.Boton = e->button();
    r.Botones = e->buttons();
    r.Teclas = e->modifiers();
    r.DentroDelArea = r.EnArea == r.Pixel;
    r.Zoom = zoom;
    return r;
}

void TGrf::mousePressEvent(QMouseEvent* e)
{
    bool zoom = false;
    if (e->button() == Qt::LeftButton && (zoomPreparado_ || e->modifiers().testFlag(Qt::ShiftModifier))
        && EscalasValidas()) {
        IniciarZoom(e->position().toPoint());
        zoom = true;
    }
    QCustomPlot::mousePressEvent(e);
    zoomPreparado_ = false; // armed for one press only, whatever the button
    Q_EMIT RatonAbajo(Raton(e, zoom));
}

void TGrf::mouseMoveEvent(QMouseEvent* e)
{
    if (rectangulo_) {
        const QRegion antes = Marco(zonaZoom_);
        finZoom_ = AcotarAlArea(e->position().toPoint());
        RepintarCursores(antes + Marco(ZonaZoom()));
    }
    QCustomPlot::mouseMoveEvent(e);
    Q_EMIT RatonMovido(Raton(e, rectangulo_));
}

void TGrf::mouseReleaseEvent(QMouseEvent* e)
{
    bool zoom = false;
    if (rectangulo_ && e->button() == Qt::LeftButton) {
        finZoom_ = AcotarAlArea(e->position().toPoint());
        TerminarZoom();
        zoom = true;
    }
    QCustomPlot::mouseReleaseEvent(e);
    Q_EMIT RatonArriba(Raton(e, zoom));
}

// ---- annotations -----------------------------------------------------------------------

void TGrf::InsertarTexto(int left, int top, const QString& texto)
{
    InsertarTextoEn(float(ValorX(left)), float(ValorY(top)), texto);
    textos_.back().Etiqueta->move(left, top);
}

void TGrf::InsertarTextoEn(float x, float y, const QString& texto)
{
    TextoGrafica t;
    t.X = x;
    t.Y = y;
    auto* etiqueta = new QLabel(texto, this);
    QFont f = etiqueta->font();
    f.setPointSize(10);
    etiqueta->setFont(f);
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::Window, Qt::white);
    etiqueta->setPalette(paleta);
    etiqueta->setAutoFillBackground(false); // transparent until dragged
    etiqueta->setCursor(Qt::ArrowCursor);
    etiqueta->setProperty("Tag", int(textos_.size()));
    etiqueta->adjustSize();
    etiqueta->move(PixelX(x), PixelY(y));
    etiqueta->installEventFilter(this);
    t.Etiqueta = etiqueta;
    textos_.push_back(t);
    etiqueta->setVisible(EscalasValidas());
    etiqueta->raise();
}

void TGrf::BorrarUltimoTexto()
{
    if (textos_.empty())
        return;
    QLabel* etiqueta = textos_.back().Etiqueta;
    textos_.pop_back();
    if (arrastrada_ == etiqueta)
        arrastrada_ = nullptr;
    delete etiqueta;
}

void TGrf::BorrarTextos()
{
    while (!textos_.empty())
        BorrarUltimoTexto();
}

void TGrf::RecolocarTextos()
{
    const bool validas = EscalasValidas();
    for (const TextoGrafica& t : textos_) {
        if (!validas) {
            t.Etiqueta->hide();
            continue;
        }
        if (t.Etiqueta != arrastrada_)
            t.Etiqueta->move(PixelX(t.X), PixelY(t.Y));
        t.Etiqueta->show();
    }
}

// The whole label stays inside the plot area.
void TGrf::ColocarEtiqueta(int indice, QPoint esquina)
{
    QLabel* etiqueta = textos_[indice].Etiqueta;
    const int izq = dimensiones_.izq_, sup = dimensiones_.sup_;
    const int x = std::clamp(esquina.x(), izq, std::max(izq, width() - dimensiones_.der_ - etiqueta->width()));
    const int y = std::clamp(esquina.y(), sup, std::max(sup, height() - dimensiones_.inf_ - etiqueta->height()));
    etiqueta->move(x, y);
    AnclarEtiqueta(indice);
}

void TGrf::AnclarEtiqueta(int indice)
{
    TextoGrafica& t = textos_[indice];
    t.X = float(ValorX(t.Etiqueta->x()));
    t.Y = float(ValorY(t.Etiqueta->y()));
}

bool TGrf::eventFilter(QObject* o, QEvent* e)
{
    const auto t = std::find_if(textos_.begin(), textos_.end(), [o](const TextoGrafica& t) { return t.Etiqueta == o; });
    if (t == textos_.end())
        return QCustomPlot::eventFilter(o, e);
    const int indice = int(t - textos_.begin());
    QLabel* etiqueta = t->Etiqueta;
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() != Qt::LeftButton)
            return false;
        arrastrada_ = etiqueta;
        inicioArrastre_ = etiqueta->pos();
        ArrastreX = me->position().toPoint().x();
        ArrastreY = me->position().toPoint().y();
        etiqueta->setAutoFillBackground(true); // opaque white while dragged
        etiqueta->setCursor(Qt::DragMoveCursor);
        etiqueta->raise();
        return true;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (arrastrada_ != etiqueta)
            return false;
        if (e->type() == QEvent::MouseButtonRelease && me->button() != Qt::LeftButton)
            return true;
        const QPoint puntero = etiqueta->mapToParent(me->position().toPoint());
        // A label that did not move keeps its anchor exactly (a click is no move).
        if (puntero - QPoint(ArrastreX, ArrastreY) != etiqueta->pos())
            ColocarEtiqueta(indice, puntero - QPoint(ArrastreX, ArrastreY));
        if (e->type() == QEvent::MouseButtonRelease) {
            etiqueta->setAutoFillBackground(false);
            etiqueta->setCursor(Qt::ArrowCursor);
            arrastrada_ = nullptr;
            if (etiqueta->pos() != inicioArrastre_)
                Q_EMIT TextoMovido(indice);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace qv

// Drawing of the graph control: its own layers (title, legend, error caption), ticks, live
// segments for monitoring, pictures and prints.

#include "plot/grf.h"

#include "plot/grf_capas.h"
#include "plot/grf_reenvio.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace qv {

TDibujoCursores::TDibujoCursores(TGrf& g, const QString& capa) : QCPLayerable(&g, capa), g_(g) {}

TDibujoRotulos::TDibujoRotulos(TGrf& g, const QString& capa) : QCPLayerable(&g, capa), g_(g) {}

// ---- ticks -----------------------------------------------------------------------------

double TMarcasGrf::getTickStep(const QCPRange& rango)
{
    // A fixed step that would give thousands of ticks (a step typed for another range)
    // falls back to the automatic one.
    if (paso > 0 && rango.size() / paso <= 1000)
        pasoUsado = paso;
    else
        pasoUsado = QCPAxisTicker::getTickStep(rango);
    return pasoUsado;
}

QString TMarcasGrf::getTickLabel(double tick, const QLocale& locale, QChar formato, int precision)
{
    if (!digital || pasoUsado <= 0)
        return QCPAxisTicker::getTickLabel(tick, locale, formato, precision);
    const long k = std::lround((tick - tickOrigin()) / pasoUsado);
    if (k <= 0)
        return QString();
    return k % 2 ? QStringLiteral("0") : QStringLiteral("1");
}

// ---- title, legend, error caption ------------------------------------------------------

void TDibujoRotulos::draw(QCPPainter* p)
{
    const QRect area = g_.AreaGrafica();
    const TAppearance& a = g_.Appearance();
    p->setBrush(Qt::NoBrush);
    if (!a.GraphTitle().trimmed().isEmpty()) {
        p->setFont(a.TitleFont());
        p->setPen(Qt::black);
        p->drawText(QRect(area.left(), 0, area.width(), g_.Dimensions().TopMargin()), Qt::AlignCenter, a.GraphTitle());
    }
    const bool validas = g_.EscalasValidas();
    if (!validas) {
        p->setFont(a.CaptionFont());
        p->setPen(Qt::black);
        p->drawText(area, Qt::AlignCenter | Qt::TextWordWrap, a.ErrorCaption());
    }
    if (g_.Legend().Visible())
        DibujarLeyenda(p);
    if (g_.pintando_ && validas)
        g_.DibujarTextos(p);
}

void TDibujoRotulos::DibujarLeyenda(QCPPainter* p)
{
    const TLegend& l = g_.Legend();
    const int sup = l.Top() < 0 ? g_.Dimensions().TopMargin() : l.Top();
    const QRect caja(l.Left(), sup, l.Width(), l.Height());
    if (caja.isEmpty())
        return;
    p->save();
    p->setPen(l.BorderStyle() == TLegend::Borde::Simple ? QPen(Qt::black, 0) : QPen(Qt::NoPen));
    p->setBrush(Qt::white);
    p->drawRect(caja.adjusted(0, 0, -1, -1));
    p->setClipRect(caja, Qt::IntersectClip);
    p->setFont(l.Font());
    const QFontMetrics fm(l.Font());
    const int linea = 20;
    const int yMargen = l.YMargin();
    const int paso = yMargen > 0 ? yMargen : fm.height() + 4;
    int x = caja.left() + 4;
    int k = 0;
    std::vector<const TSeries*> entradas;
    for (const auto& s : g_.series_)
        if (!s->Nombre().isEmpty())
            entradas.push_back(s.get());
    if (l.Invertida())
        std::reverse(entradas.begin(), entradas.end());
    for (const TSeries* s : entradas) {
        int y;
        if (l.Layout() == TLegend::Disposicion::HaciaAbajo) {
            // Entries one YMargin apart, the first one YMargin below the top.
            y = yMargen > 0 ? sup + paso * (k + 1) : sup + paso * k + paso / 2 + 2;
            x = caja.left() + 4;
        } else {
            y = sup + (yMargen > 0 ? paso : paso / 2 + 2);
        }
        p->setPen(QPen(s->Color(), 1));
        p->setBrush(Qt::NoBrush);
        if (s->Lineas())
            p->drawLine(QLineF(x, y, x + linea, y));
        if (s->Puntos()) {
            const QCPScatterStyle estilo = s->Grafico()->scatterStyle();
            estilo.applyTo(p, QPen(s->Color(), 1));
            estilo.drawShape(p, QPointF(x + linea / 2.0, y));
        }
        const int xt = x + linea + l.SymbolSpace();
        p->setPen(Qt::black);
        p->drawText(QRect(xt, y - fm.height() / 2, std::max(0, caja.right() - xt), fm.height()),
                    Qt::AlignLeft | Qt::AlignVCenter, s->Nombre());
        x = xt + fm.horizontalAdvance(s->Nombre()) + 10;
        ++k;
    }
    p->restore();
}

// Annotations as text, for pictures and prints (on screen they are labels).
void TGrf::DibujarTextos(QCPPainter* p) const
{
    p->setPen(Qt::black);
    for (const TextoGrafica& t : textos_) {
        const QLabel* e = t.Etiqueta;
        p->setFont(TAppearance::EnPixeles(e->font()));
        const QRect caja(PixelX(t.X), PixelY(t.Y), e->width(), e->height());
        p->drawText(caja, Qt::AlignLeft | Qt::AlignVCenter, e->text());
    }
}

// ---- live drawing ----------------------------------------------------------------------

void TGrf::DibujarTramo(const QPen& lapiz, const QPolygonF& pixeles, bool punto)
{
    const QRect area = AreaGrafica().adjusted(0, 0, 1, 1);
    const int w = int(std::ceil(std::max(1.0, lapiz.widthF()))) + 3;
    const QRect zona = pixeles.boundingRect().toAlignedRect().adjusted(-w, -w, w, w) & area;
    RepintarCapa(capaTrazos_, zona, false, [&](QCPPainter* p) {
        p->setPen(lapiz);
        if (punto) {
            p->setBrush(lapiz.color());
            const QPoint c = pixeles.first().toPoint();
            p->drawRect(QRect(c.x() - 2, c.y() - 2, 4, 4));
        } else {
            p->drawPolyline(pixeles);
        }
    });
}

void TGrf::DibujarSegmento(double x1, double y1, double x2, double y2)
{
    if (!plotting_ || !EscalasValidas())
        return;
    DibujarTramo(lapiz_, QPolygonF({QPointF(PixelX(x1), PixelY(y1)), QPointF(PixelX(x2), PixelY(y2))}), false);
}

void TGrf::DibujarPunto(double x, double y)
{
    if (!plotting_ || !EscalasValidas())
        return;
    DibujarTramo(lapiz_, QPolygonF({QPointF(PixelX(x), PixelY(y))}), true);
}

void TGrf::ExtenderSerie(int indice, double x, double y)
{
    TSeries& s = Serie(indice);
    const int n = s.NumPuntos();
    const bool hayAnterior = n > 0;
    const double x0 = hayAnterior ? s.ClaveEn(n - 1) : x;
    const double y0 = hayAnterior ? s.ValorEn(n - 1) : y;
    // A curve goes on from its last point wherever the next one lies.
    if (hayAnterior && x < x0 && !s.parametrica_) {
        s.AnadirPunto(x, y); // not an extension: redraw the whole graph
        return;
    }
    s.Insertar(x, y);
    const bool fuera = (ejeX_.autoSizing_ && (x < ejeX_.min_ || x > ejeX_.max_))
                       || (ejeY_.autoSizing_ && (y < ejeY_.min_ || y > ejeY_.max_));
    if (fuera || !plotting_) {
        DatosCambiados(); // rescale and redraw (or wait for Plotting)
        return;
    }
    if (!EscalasValidas())
        return;
    const QPen lapiz(s.color_, 1);
    if (s.lineas_ && hayAnterior) {
        QPolygonF linea{QPointF(PixelX(x0), PixelY(y0))};
        if (stepPlot_ && !s.parametrica_)
            linea << QPointF(PixelX(x), PixelY(y0));
        linea << QPointF(PixelX(x), PixelY(y));
        DibujarTramo(lapiz, linea, false);
    }
    if (s.puntos_) {
        const QCPScatterStyle estilo = s.grafico_->scatterStyle();
        const QPointF centro(PixelX(x), PixelY(y));
        const double r = estilo.size() / 2 + 2;
        const QRect zona = QRectF(centro - QPointF(r, r), QSizeF(2 * r, 2 * r)).toAlignedRect()
                           & AreaGrafica().adjusted(0, 0, 1, 1);
        RepintarCapa(capaTrazos_, zona, false, [&](QCPPainter* p) {
            estilo.applyTo(p, lapiz);
            estilo.drawShape(p, centro);
        });
    }
}

// ---- pictures and prints ---------------------------------------------------------------

void TGrf::PintarEn(QCPPainter* p, bool impresion)
{
    PrepararDibujo();
    pintando_ = true;
    const QBrush fondo = mBackgroundBrush;
    if (impresion)
        mBackgroundBrush = QBrush(Qt::white); // pictures and prints have a white margin
    toPainter(p, width(), height());
    mBackgroundBrush = fondo;
    pintando_ = false;
}

// Drawn at screen size and scaled: fonts are in pixels, so a high-resolution printer gets
// the proportions of the screen.
void TGrf::PintarEscalado(QPainter& p, const QRectF& destino, bool impresion)
{
    if (width() <= 0 || height() <= 0 || destino.isEmpty() || !p.isActive())
        return;
    p.save();
    p.translate(destino.topLeft());
    p.scale(destino.width() / width(), destino.height() / height());
    {
        TDispositivoReenvio dispositivo(p, size());
        QCPPainter pintor(&dispositivo);
        pintor.setMode(QCPPainter::pmVectorized);
        PintarEn(&pintor, impresion);
        pintor.end();
    }
    p.restore();
}

void TGrf::Pintar(QPainter& p, const QRectF& destino)
{
    PintarEscalado(p, destino, false);
}

QImage TGrf::Imagen()
{
    QImage imagen(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    imagen.fill(apariencia_.margen_);
    QCPPainter p(&imagen);
    PintarEn(&p, false);
    p.end();
    return imagen;
}

bool TGrf::GuardarBMP(const QString& fichero)
{
    return Imagen().save(fichero, "BMP");
}

int TGrf::ImprimirGrafica(QPainter& p, const QRect& pagina)
{
    if (width() <= 0 || height() <= 0)
        return 0;
    const double ancho = pagina.width() * dimensiones_.escala_ / 100.0;
    const double alto = ancho * height() / width();
    const QPointF origen(pagina.left() + pagina.width() * dimensiones_.despX_ / 100.0,
                         pagina.top() + pagina.height() * dimensiones_.despY_ / 100.0);
    PintarEscalado(p, QRectF(origen, QSizeF(ancho, alto)), true);
    return int(std::lround(alto * 1.35));
}

} // namespace qv

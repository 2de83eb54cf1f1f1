#include "plot/grf_reenvio.h"

#include <climits>

namespace qv {

TMotorReenvio::TMotorReenvio(QPainter& destino)
    : QPaintEngine(QPaintEngine::AllFeatures), destino_(destino), base_(destino.transform())
{
}

bool TMotorReenvio::begin(QPaintDevice*)
{
    destino_.save();
    return true;
}

bool TMotorReenvio::end()
{
    destino_.restore();
    return true;
}

void TMotorReenvio::updateState(const QPaintEngineState& estado)
{
    const QPaintEngine::DirtyFlags f = estado.state();
    // The transform first: a clip is given in the coordinates in force when it was set.
    if (f & DirtyTransform)
        destino_.setTransform(estado.transform() * base_);
    if (f & DirtyPen)
        destino_.setPen(estado.pen());
    if (f & DirtyBrush)
        destino_.setBrush(estado.brush());
    if (f & DirtyBrushOrigin)
        destino_.setBrushOrigin(estado.brushOrigin());
    if (f & DirtyBackground)
        destino_.setBackground(estado.backgroundBrush());
    if (f & DirtyBackgroundMode)
        destino_.setBackgroundMode(estado.backgroundMode());
    if (f & DirtyFont)
        destino_.setFont(estado.font());
    if (f & DirtyHints) {
        destino_.setRenderHints(destino_.renderHints(), false);
        destino_.setRenderHints(estado.renderHints(), true);
    }
    if (f & DirtyCompositionMode)
        destino_.setCompositionMode(estado.compositionMode());
    if (f & DirtyOpacity)
        destino_.setOpacity(estado.opacity());
    if (f & DirtyClipRegion)
        destino_.setClipRegion(estado.clipRegion(), estado.clipOperation());
    if (f & DirtyClipPath)
        destino_.setClipPath(estado.clipPath(), estado.clipOperation());
    if (f & DirtyClipEnabled)
        destino_.setClipping(estado.isClipEnabled());
}

void TMotorReenvio::drawPolygon(const QPointF* p, int n, PolygonDrawMode modo)
{
    switch (modo) {
    case PolylineMode:
        destino_.drawPolyline(p, n);
        break;
    case ConvexMode:
        destino_.drawConvexPolygon(p, n);
        break;
    case OddEvenMode:
        destino_.drawPolygon(p, n, Qt::OddEvenFill);
        break;
    case WindingMode:
        destino_.drawPolygon(p, n, Qt::WindingFill);
        break;
    }
}

void TMotorReenvio::drawPolygon(const QPoint* p, int n, PolygonDrawMode modo)
{
    QPolygonF v;
    v.reserve(n);
    for (int i = 0; i < n; ++i)
        v << QPointF(p[i]);
    drawPolygon(v.constData(), n, modo);
}

void TMotorReenvio::drawTextItem(const QPointF& p, const QTextItem& texto)
{
    destino_.setFont(texto.font());
    destino_.drawText(p, texto.text());
}

TDispositivoReenvio::~TDispositivoReenvio() = default;

int TDispositivoReenvio::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth:
        return tamano_.width();
    case PdmHeight:
        return tamano_.height();
    case PdmWidthMM:
        return tamano_.width() * 254 / 960;
    case PdmHeightMM:
        return tamano_.height() * 254 / 960;
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace qv

#pragma once

// A paint device that hands every drawing call on to a painter that is already painting
// elsewhere (a printer page, a PDF, a metafile). The plotting library needs a painter of
// its own to draw; this lets it draw into the caller's page. Unlike a recorded QPicture,
// fonts are passed on as they are: a pixel-sized font stays that many pixels in the
// caller's coordinates, so a graph scaled onto a 1200 dpi printer keeps the proportions of
// the screen instead of getting text a dozen times too large.

#include <QPaintDevice>
#include <QPainterPath>
#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

namespace qv {

class TMotorReenvio : public QPaintEngine {
public:
    explicit TMotorReenvio(QPainter& destino);

    bool begin(QPaintDevice*) override;
    bool end() override;
    void updateState(const QPaintEngineState& estado) override;
    Type type() const override { return QPaintEngine::User; }

    void drawRects(const QRect* r, int n) override { destino_.drawRects(r, n); }
    void drawRects(const QRectF* r, int n) override { destino_.drawRects(r, n); }
    void drawLines(const QLine* l, int n) override { destino_.drawLines(l, n); }
    void drawLines(const QLineF* l, int n) override { destino_.drawLines(l, n); }
    void drawEllipse(const QRectF& r) override { destino_.drawEllipse(r); }
    void drawEllipse(const QRect& r) override { destino_.drawEllipse(r); }
    void drawPath(const QPainterPath& c) override { destino_.drawPath(c); }
    void drawPoints(const QPointF* p, int n) override { destino_.drawPoints(p, n); }
    void drawPoints(const QPoint* p, int n) override { destino_.drawPoints(p, n); }
    void drawPolygon(const QPointF* p, int n, PolygonDrawMode modo) override;
    void drawPolygon(const QPoint* p, int n, PolygonDrawMode modo) override;
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override { destino_.drawPixmap(r, pm, sr); }
    void drawTiledPixmap(const QRectF& r, const QPixmap& pm, const QPointF& p) override
    {
        destino_.drawTiledPixmap(r, pm, p);
    }
    void drawImage(const QRectF& r, const QImage& im, const QRectF& sr, Qt::ImageConversionFlags f) override
    {
        destino_.drawImage(r, im, sr, f);
    }
    void drawTextItem(const QPointF& p, const QTextItem& texto) override;

private:
    QPainter& destino_;
    QTransform base_;
};

// Screen-like metrics (96 dpi, the graph's size in pixels) for the library's layout.
class TDispositivoReenvio : public QPaintDevice {
public:
    TDispositivoReenvio(QPainter& destino, QSize tamano) : motor_(destino), tamano_(tamano) {}
    ~TDispositivoReenvio() override;
    QPaintEngine* paintEngine() const override { return &motor_; }

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    mutable TMotorReenvio motor_;
    QSize tamano_;
};

} // namespace qv

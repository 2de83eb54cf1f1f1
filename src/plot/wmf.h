#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QSize>
#include <memory>

namespace qv {

// Paint engine that turns what a QPainter draws into a placeable Windows metafile:
// the picture's header with its checksum, the 16-bit metafile header and its records,
// little-endian, ended by an end-of-file record. Drawing happens in pixels of the
// picture; the file uses a finer logical unit (up to 15 per pixel, so that 1440 make
// an inch at 96 pixels per inch) to keep sub-pixel positions, and its header states
// the units per inch so the picture comes out at the size it was painted at.
//
// It writes what a graph paints: lines and polylines (long ones in pieces), rectangles,
// ellipses, polygons and paths, text with its font, colour and angle (Windows-1252
// bytes), pens, brushes, rectangular clipping and images (24-bit bitmaps). What a
// metafile cannot hold is approximated: gradients and textures become their mean
// colour, translucent colours are blended over white, clipping regions and paths
// become their bounding rectangle, rotated images their bounding rectangle.
class TMotorWMF : public QPaintEngine {
public:
    // `tamano` in pixels, `ppp` pixels per inch of the picture.
    TMotorWMF(const QSize& tamano, int ppp);
    ~TMotorWMF() override;

    bool begin(QPaintDevice* dispositivo) override;
    bool end() override;
    void updateState(const QPaintEngineState& estado) override;

    using QPaintEngine::drawEllipse;
    using QPaintEngine::drawLines;
    using QPaintEngine::drawPoints;
    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;
    void drawRects(const QRectF* rects, int n) override;
    void drawLines(const QLineF* lineas, int n) override;
    void drawEllipse(const QRectF& r) override;
    void drawPath(const QPainterPath& camino) override;
    void drawPoints(const QPointF* puntos, int n) override;
    void drawPolygon(const QPointF* puntos, int n, PolygonDrawMode modo) override;
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override;
    void drawImage(const QRectF& r, const QImage& imagen, const QRectF& sr,
                   Qt::ImageConversionFlags flags = Qt::AutoColor) override;
    void drawTextItem(const QPointF& p, const QTextItem& texto) override;
    Type type() const override { return QPaintEngine::User; }

    // The whole file of the last painting that ended; empty before.
    const QByteArray& Datos() const;
    // Logical units of the file per pixel of the picture, and per inch.
    double UnidadesPorPixel() const;
    int UnidadesPorPulgada() const;

private:
    struct TPrivado;
    std::unique_ptr<TPrivado> d_;
};

// Paint device of a placeable Windows metafile of `tamano` pixels. Every painting
// (begin to end) makes a new file, available from Datos() once the painter ended.
class TDispositivoWMF : public QPaintDevice {
public:
    explicit TDispositivoWMF(const QSize& tamano, int ppp = 96);
    ~TDispositivoWMF() override;

    QPaintEngine* paintEngine() const override;
    const QByteArray& Datos() const { return motor_->Datos(); }
    double UnidadesPorPixel() const { return motor_->UnidadesPorPixel(); }
    int UnidadesPorPulgada() const { return motor_->UnidadesPorPulgada(); }

protected:
    int metric(PaintDeviceMetric metrica) const override;

private:
    QSize tamano_;
    int ppp_;
    std::unique_ptr<TMotorWMF> motor_;
};

// Windows-1252 bytes of a text: Latin-1 as it is, the typographic signs of 0x80-0x9F
// by their codes, the minus sign as "-", anything else as "?".
QByteArray TextoWindows1252(const QString& texto);

} // namespace qv

#pragma once

// Pieces of the graph control that live inside the plotting library: a layer whose paint
// buffer can be drawn into directly, the drawings of the cursor layer and of the title and
// legend, the tick generator and a series that counts its own redraws.

#include "plot/qcp.h"

namespace qv {

class TGrf;

// A buffered layer whose pixels the graph updates itself: the cursors are erased and
// redrawn inside their own strips, and live segments accumulate, without touching the
// other layers.
class TCapaGrf : public QCPLayer {
public:
    TCapaGrf(QCustomPlot* plot, const QString& nombre) : QCPLayer(plot, nombre) {}
    QSharedPointer<QCPAbstractPaintBuffer> Buffer() const { return mPaintBuffer.toStrongRef(); }
};

// Both cursors and the zoom rectangle, on the cursor layer.
class TDibujoCursores : public QCPLayerable {
public:
    TDibujoCursores(TGrf& g, const QString& capa);
    void Dibujar(QCPPainter* p);

protected:
    void applyDefaultAntialiasingHint(QCPPainter* p) const override { p->setAntialiasing(false); }
    void draw(QCPPainter* p) override { Dibujar(p); }

private:
    TGrf& g_;
};

// Title, legend, error caption and (in pictures and prints) the annotations.
class TDibujoRotulos : public QCPLayerable {
public:
    TDibujoRotulos(TGrf& g, const QString& capa);

protected:
    void applyDefaultAntialiasingHint(QCPPainter* p) const override { p->setAntialiasing(false); }
    void draw(QCPPainter* p) override;

private:
    void DibujarLeyenda(QCPPainter* p);
    TGrf& g_;
};

// Ticks at a fixed step or the library's automatic one; with digital labels the tick at the
// axis minimum is blank and the next ones read "0" and "1" alternately.
class TMarcasGrf : public QCPAxisTicker {
public:
    double paso = 0; // 0: automatic
    bool digital = false;
    double pasoUsado = 0;

protected:
    double getTickStep(const QCPRange& rango) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formato, int precision) override;
};

// A QCPGraph that counts how many times it was drawn (the graph reports the total).
class TGraficoSerie : public QCPGraph {
public:
    TGraficoSerie(QCPAxis* x, QCPAxis* y, int& contador) : QCPGraph(x, y), contador_(contador) {}

protected:
    void draw(QCPPainter* p) override
    {
        ++contador_;
        QCPGraph::draw(p);
    }

private:
    int& contador_;
};

// The same for the curve of an XY plot.
class TCurvaSerie : public QCPCurve {
public:
    TCurvaSerie(QCPAxis* x, QCPAxis* y, int& contador) : QCPCurve(x, y), contador_(contador) {}

protected:
    void draw(QCPPainter* p) override
    {
        ++contador_;
        QCPCurve::draw(p);
    }

private:
    int& contador_;
};

} // namespace qv

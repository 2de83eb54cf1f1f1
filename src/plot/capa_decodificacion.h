#pragma once

// The rows of decoded annotations under the traces of a digital graph: a drawing of the
// graph on a layer of its own above the axes, so that the rows follow every zoom of the
// graph, the cursors cross them, and pictures and prints show them. Each row is a band of
// the Y axis below the traces (the window lowers the axis minimum to make room) with one
// labelled box per annotation, from its first sample to its last.

#include "model/decodificacion.h"
#include "plot/qcp.h"

#include <QColor>
#include <QRect>

#include <memory>
#include <vector>

namespace qv {

class TGrf;

struct TFilaDibujoDecod {
    std::shared_ptr<const TResultadoDecod> Resultado;
    int Fila = 0;       // row of the result
    QString Rotulo;     // drawn in the margin at the row's left
    double YBajo = 0;   // the row's band, Y-axis units
    double YAlto = 0;
};

class TDibujoDecodificacion : public QCPLayerable {
public:
    static constexpr const char* Capa = "decodificacion";

    // Makes the layer of the drawing on `g` (above the axes, under the legend). The
    // owner deletes the drawing before the graph.
    explicit TDibujoDecodificacion(TGrf& g);

    void PonerFilas(std::vector<TFilaDibujoDecod> filas);
    const std::vector<TFilaDibujoDecod>& Filas() const { return filas_; }

    // Where annotation `a` of row `f` is drawn, in control pixels: from the X of its
    // first sample to the X of its last, inside the row's band.
    QRect Caja(const TFilaDibujoDecod& f, const TAnotacionDecod& a) const;
    // The fill of a box of that annotation class.
    static QColor Color(int clase);
    // A box narrower than this is drawn as part of a solid run with its neighbours.
    static constexpr int AnchoMinimo = 3;
    // Pixels the rows' names need in the left margin.
    int AnchoRotulos() const;

protected:
    void applyDefaultAntialiasingHint(QCPPainter* p) const override { p->setAntialiasing(false); }
    void draw(QCPPainter* p) override;

private:
    void DibujarFila(QCPPainter* p, std::size_t k, const QRect& area);
    void DibujarRotulos(QCPPainter* p, const QRect& area);
    static QFont Letra(const TGrf& g);

    TGrf& g_;
    std::vector<TFilaDibujoDecod> filas_;
    std::vector<std::vector<int>> orden_;   // per row: its annotations, by first sample
    std::vector<std::int64_t> masLarga_;    // per row: its longest annotation, samples
};

} // namespace qv

#pragma once

// The frequency response drawn as a plot: gain above phase against a shared frequency
// axis (logarithmic for a log sweep), the -3 dB points marked and written, the points
// that could not be measured marked apart, and a cursor that reads a measured point. Also
// the raw capture of one point (reference, response and output against time).

#include "model/barrido.h"
#include "plot/qcp.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

class TTextos;

class TGraficaBode : public QCustomPlot {
    Q_OBJECT
public:
    explicit TGraficaBode(TTextos& textos, QWidget* parent = nullptr);

    // The sweep as measured so far; the frequency axis spans the whole sweep asked for,
    // so points fill it in as they come. The cursor stays on its point when it is still
    // there.
    void Cargar(const TResultadoBarrido& r);
    const TResultadoBarrido& Resultado() const { return r_; }

    // Cursor on point `i` of the result (a valid one); -1 hides it.
    void PonerCursor(int i);
    int Cursor() const { return cursor_; }
    // The valid point nearest to pixel column `px`, -1 when none.
    int PuntoEnPixel(double px) const;

    QCPAxisRect* RectGanancia() const { return axisRect(0); }
    QCPAxisRect* RectFase() const { return rectFase_; }
    // The -3 dB points drawn, and their label texts.
    const std::vector<TLectura>& Cortes() const { return cortes_; }
    QStringList TextosCortes() const;
    int MarcasDibujadas() const { return int(marcas_.size()); }
    // How many times the curves were drawn (moving the cursor must not change it).
    int DibujosCurvas() const { return dibujos_; }

    // "158.7 Hz, -3.01 dB, -44.9°": a reading as the window and the labels write it.
    static QString TextoLectura(const TLectura& l, TTextos& textos);

Q_SIGNALS:
    void CursorMovido(int punto);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void CursorEnPixel(double px);
    void Rango(QCPAxis* eje, const std::vector<double>& v, double paso, double minimo);

    TTextos& textos_;
    TResultadoBarrido r_;
    QCPAxisRect* rectFase_;
    QCPGraph* ganancia_;
    QCPGraph* fase_;
    std::vector<QCPAbstractItem*> marcas_; // points not measured, -3 dB marks
    std::vector<TLectura> cortes_;
    QCPItemStraightLine* cursorGanancia_;
    QCPItemStraightLine* cursorFase_;
    int cursor_ = -1;
    int dibujos_ = 0;
};

// One capture of the sweep against time: reference, response and output, the settling
// part shaded, so that what was analysed can be seen.
class TGraficaCaptura : public QCustomPlot {
    Q_OBJECT
public:
    explicit TGraficaCaptura(TTextos& textos, QWidget* parent = nullptr);

    // `nombres`: reference, response, output; samples in volts every `periodo` s, the
    // record from `desde` for `medidas` samples.
    void Cargar(const std::vector<float>& referencia, const std::vector<float>& respuesta,
                const std::vector<float>& salida, double periodo, int desde, int medidas, const QStringList& nombres);
    int Series() const { return graphCount(); }

private:
    QCPItemRect* estabilizacion_;
};

} // namespace qv

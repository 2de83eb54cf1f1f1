#pragma once

// The objects of the graph control that the windows set: axes, dimensions, appearance,
// legend, series, cursors and annotations. Every setter only records the value and asks
// the graph for a (coalesced) redraw; the graph applies them all before it draws.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

class QCPCurve;
class QCPGraph;
class QLabel;

namespace qv {

class TGrf;

// What every part shares: the graph it belongs to, asked for a redraw on each change.
class TParteGrf {
protected:
    explicit TParteGrf(TGrf& g) : g_(g) {}
    template <class T, class V>
    void Poner(T& campo, V&& valor)
    {
        campo = std::forward<V>(valor);
        Redibujar();
    }
    void Redibujar();
    TGrf& g_;
};

// XAxis, YAxis and YAxis_Second.
class TAxis : public TParteGrf {
public:
    enum class Tipo { X, Y, Y2 };

    const QString& Title() const { return titulo_; }
    void PonerTitle(const QString& t) { Poner(titulo_, t); }

    // Effective limits: while AutoSizing they come from the data of the series.
    double Min() const;
    double Max() const;
    // Assigning either limit switches AutoSizing off for this axis.
    void PonerMin(double v);
    void PonerMax(double v);

    // The step between ticks; while AutoStepping, the one chosen at the last redraw.
    double StepSize() const;
    // Also switches AutoStepping off, so that the step typed in the options dialog shows.
    void PonerStepSize(double v);

    bool AutoSizing() const { return autoSizing_; }
    void PonerAutoSizing(bool on);
    bool AutoStepping() const { return autoStepping_; }
    void PonerAutoStepping(bool on);
    void PonerLabelDecimals(int n) { Poner(decimales_, std::clamp(n, 0, 15)); }
    void PonerAutoLabelDecimals(bool on) { Poner(autoDecimales_, on); }
    bool LogScale() const { return log_; }
    void PonerLogScale(bool on);
    bool Gridlines() const { return rejilla_; }
    void PonerGridlines(bool on) { Poner(rejilla_, on); }
    void PonerShowAxis(bool on) { Poner(visible_, on); }
    void PonerReversed(bool on) { Poner(invertido_, on); }

private:
    friend class TGrf;
    TAxis(TGrf& g, Tipo t);

    Tipo tipo_;
    QString titulo_;
    mutable double min_ = 0, max_ = 1; // recomputed from the data while AutoSizing
    double paso_ = 0.2;
    bool autoSizing_ = true;
    bool autoStepping_ = true;
    int decimales_ = 2;
    bool autoDecimales_ = true;
    bool log_ = false;
    bool rejilla_ = true;
    bool visible_ = true;
    bool invertido_ = false;
};

// Margins between the control's edge and the plot area, title offsets and print layout.
class TDimensions : public TParteGrf {
public:
    void PonerLeftMargin(int v) { Poner(izq_, std::max(0, v)); }
    int RightMargin() const { return der_; }
    void PonerRightMargin(int v) { Poner(der_, std::max(0, v)); }
    int TopMargin() const { return sup_; }
    void PonerTopMargin(int v) { Poner(sup_, std::max(0, v)); }
    void PonerBottomMargin(int v) { Poner(inf_, std::max(0, v)); }
    // Gap between the tick labels and the axis title, in pixels.
    void PonerXAxisTitleOffset(int v) { Poner(tituloX_, v); }
    void PonerYAxisTitleOffset(int v) { Poner(tituloY_, v); }
    // Printed width and position in percent of the printable page (ImprimirGrafica).
    int PrintScalePct() const { return escala_; }
    void PonerPrintScalePct(int v) { escala_ = v; }
    int PrintXOffsetPct() const { return despX_; }
    void PonerPrintXOffsetPct(int v) { despX_ = v; }
    int PrintYOffsetPct() const { return despY_; }
    void PonerPrintYOffsetPct(int v) { despY_ = v; }

private:
    friend class TGrf;
    explicit TDimensions(TGrf& g) : TParteGrf(g) {}
    int izq_ = 50, der_ = 20, sup_ = 30, inf_ = 45;
    int tituloX_ = 5, tituloY_ = 5;
    int escala_ = 100, despX_ = 0, despY_ = 0;
};

// Title, fonts, colours and the drawing rules that are not per axis.
class TAppearance : public TParteGrf {
public:
    const QString& GraphTitle() const { return titulo_; }
    void PonerGraphTitle(const QString& t) { Poner(titulo_, t); }
    // Fonts are kept in pixels, so that a print scaled from the screen keeps their size.
    const QFont& TitleFont() const { return fTitulo_; }
    void PonerTitleFont(const QFont& f) { Poner(fTitulo_, EnPixeles(f)); }
    // Axis titles.
    const QFont& CaptionFont() const { return fTitulos_; }
    void PonerCaptionFont(const QFont& f) { Poner(fTitulos_, EnPixeles(f)); }
    // Tick labels.
    const QFont& LabelFont() const { return fEtiquetas_; }
    void PonerLabelFont(const QFont& f) { Poner(fEtiquetas_, EnPixeles(f)); }
    // Plot area.
    void PonerBackgroundColor(const QColor& c) { Poner(fondo_, c); }
    // Around the plot area.
    void PonerMarginColor(const QColor& c) { Poner(margen_, c); }
    void PonerGridColor(const QColor& c) { Poner(rejilla_, c); }
    // Lines through the value 0 of both axes, when 0 is in range.
    void PonerCrossAtZero(bool on) { Poner(cruce_, on); }
    // When false, a point added at the X of a point already present replaces its Y.
    bool AllowDuplicates() const { return duplicados_; }
    void PonerAllowDuplicates(bool on) { duplicados_ = on; }
    // Drawn instead of the plot while the axis limits are inconsistent.
    const QString& ErrorCaption() const { return error_; }
    void PonerErrorCaption(const QString& t) { Poner(error_, t); }

    // A font in pixels with the size it has on this screen.
    static QFont EnPixeles(const QFont& f);

private:
    friend class TGrf;
    explicit TAppearance(TGrf& g);
    QString titulo_;
    QFont fTitulo_, fTitulos_, fEtiquetas_;
    QColor fondo_ = Qt::white, margen_ = Qt::white, rejilla_ = QColor(192, 192, 192);
    bool cruce_ = false;
    bool duplicados_ = true;
    QString error_;
};

// The series' legend: a box in control pixels with one entry (a short line in the series
// colour and its name) per named series.
class TLegend : public TParteGrf {
public:
    enum class Borde { Ninguno, Simple };
    enum class Disposicion { HaciaAbajo, HaciaLaDerecha };

    bool Visible() const { return visible_; }
    void PonerVisible(bool on) { Poner(visible_, on); }
    int Left() const { return izq_; }
    void PonerLeft(int v) { Poner(izq_, v); }
    // -1 places the box at the top margin.
    int Top() const { return sup_; }
    void PonerTop(int v) { Poner(sup_, v); }
    int Width() const { return ancho_; }
    void PonerWidth(int v) { Poner(ancho_, std::max(0, v)); }
    int Height() const { return alto_; }
    void PonerHeight(int v) { Poner(alto_, std::max(0, v)); }
    Borde BorderStyle() const { return borde_; }
    void PonerBorderStyle(Borde b) { Poner(borde_, b); }
    Disposicion Layout() const { return disposicion_; }
    void PonerLayout(Disposicion d) { Poner(disposicion_, d); }
    // Distance between the centres of two entries; 0 fits them to the font.
    int YMargin() const { return yMargen_; }
    void PonerYMargin(int v) { Poner(yMargen_, std::max(0, v)); }
    // Gap between an entry's line sample and its name.
    int SymbolSpace() const { return hueco_; }
    void PonerSymbolSpace(int v) { Poner(hueco_, std::max(0, v)); }
    // Entries from the last series to the first: for traces stacked from the bottom up,
    // so that each name stands level with its own trace.
    bool Invertida() const { return invertida_; }
    void PonerInvertida(bool on) { Poner(invertida_, on); }
    const QFont& Font() const { return fuente_; }
    void PonerFont(const QFont& f) { Poner(fuente_, TAppearance::EnPixeles(f)); }

private:
    friend class TGrf;
    explicit TLegend(TGrf& g);
    bool visible_ = false;
    int izq_ = 0, sup_ = -1, ancho_ = 100, alto_ = 100;
    Borde borde_ = Borde::Simple;
    Disposicion disposicion_ = Disposicion::HaciaAbajo;
    int yMargen_ = 0, hueco_ = 10;
    bool invertida_ = false;
    QFont fuente_;
};

// One series of the graph: a QCPGraph with its points in X order (time plots), or a
// QCPCurve with its points in sample order (XY plots, CargarCurva). Every point carries a
// sequence number: 1 for the first point added, one more for each later insertion.
class TSeries {
public:
    const QString& Nombre() const { return nombre_; }
    void PonerNombre(const QString& n) { Estilo(nombre_, n); }
    // Line drawing on/off (steps while the graph's StepPlot is on).
    bool Lineas() const { return lineas_; }
    void PonerLineas(bool on) { Estilo(lineas_, on); }
    // Point markers on/off.
    bool Puntos() const { return puntos_; }
    void PonerPuntos(bool on) { Estilo(puntos_, on); }
    // 1 to 20; a marker is 2 x size + 1 pixels wide.
    int TamanoPunto() const { return tamano_; }
    void PonerTamanoPunto(int t) { Estilo(tamano_, std::clamp(t, 1, 20)); }
    // 0 square, 1 circle, 2 triangle, 3 inverted triangle, 4 cross, 5 plus, 6 star, 7 diamond.
    void PonerFormaPunto(int f) { Estilo(forma_, std::clamp(f, 0, 7)); }
    QColor Color() const { return color_; }
    void PonerColor(const QColor& c) { Estilo(color_, c); }

    int NumPuntos() const;
    void Vaciar();

    // Ordered insertion by X. Unless AllowDuplicates, a point at the X of one already present
    // (relative tolerance 1e-9) replaces that point's Y, and that point takes the new
    // sequence number. Returns the sequence number.
    int AnadirPunto(double x, double y);
    // The point with that sequence number; false when the series has none.
    bool LeerPunto(int secuencia, double& x, double& y) const;
    // Point index in X order -> sequence number.
    int Secuencia(int indice) const;

    // Whole signals in one call: point k at (k x periodo, sample k), sequence k + 1.
    void CargarMuestras(double periodo, std::span<const float> muestras);
    // Bits drawn at two levels (bajo for 0, alto for 1).
    void CargarMuestras(double periodo, std::span<const std::uint8_t> bits, double bajo, double alto);
    void CargarMuestras(double periodo, int n, const std::function<double(int)>& muestra);
    // Points at explicit, mostly rising X (monitoring): point k at (x[k], y[k]), as if
    // inserted one by one in order k; n pairs.
    void CargarXY(int n, const std::function<double(int)>& x, const std::function<double(int)>& y);
    // An XY plot, parametric: point k at (x[k], y[k]) with sequence number k + 1, joined to
    // the next one in sample order; every pair kept, whatever its X. Points added later
    // follow the last one.
    void CargarCurva(int n, const std::function<double(int)>& x, const std::function<double(int)>& y);

    QCPGraph* Grafico() const { return grafico_; }

private:
    friend class TGrf;
    TSeries(TGrf& g, QCPGraph* grafico, int indice);
    void AplicarEstilo();
    template <class T, class V>
    void Estilo(T& campo, V&& valor)
    {
        campo = std::forward<V>(valor);
        AplicarEstilo();
    }
    // AnadirPunto without asking for a redraw.
    int Insertar(double x, double y);
    void CargarOrdenados(int n, const std::function<double(int)>& y, double periodo);
    void Explicitar();
    // Back to X-ordered points: the curve's points go.
    void DejarCurva();
    void RangoX(double& lo, double& hi, bool soloPositivos) const;
    void RangoY(double& lo, double& hi, bool soloPositivos) const;
    // Point by index in the series' own order (X order, or sample order for a curve).
    double ClaveEn(int i) const;
    double ValorEn(int i) const;

    TGrf& g_;
    QCPGraph* grafico_;
    QCPCurve* curva_ = nullptr;
    bool parametrica_ = false;
    QString nombre_;
    bool lineas_ = true, puntos_ = false;
    int tamano_ = 2, forma_ = 0;
    QColor color_;
    // Sequence number of each point in X order; empty while it is simply index + 1.
    std::vector<int> secuencia_;
    int contador_ = 0;
};

// A measurement cursor: a vertical line at X, with an optional circle at (X, YMarca).
struct TCursores {
    double X = 0;
    double YMarca = 0;
    QColor Color;
    TGrf* Grafica = nullptr;
    int Numero = 0;
    bool Visible = false;
    bool ConMarca = false;
};

// A text annotation anchored to data coordinates (single precision, as stored).
struct TextoGrafica {
    float X = 0;
    float Y = 0;
    QLabel* Etiqueta = nullptr;
};

// A point found in a series.
struct TPuntoGrf {
    int Secuencia = 0;
    double X = 0;
    double Y = 0;
};

// A mouse event on the graph, in pixels and data units. EnArea is the pointer kept inside
// the plot area (what the windows use while dragging a cursor); X and Y are its values.
struct TRatonGrf {
    QPoint Pixel;
    QPoint EnArea;
    double X = 0;
    double Y = 0;
    Qt::MouseButton Boton = Qt::NoButton;
    Qt::MouseButtons Botones;
    Qt::KeyboardModifiers Teclas;
    bool DentroDelArea = false;
    bool Zoom = false; // this press started a zoom rectangle
};

} // namespace qv

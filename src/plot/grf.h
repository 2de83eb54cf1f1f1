#pragma once

// TGrf: the graph control of the signal windows, the monitoring window and the print
// preview. A QCustomPlot with
//  - the plotting-control objects: XAxis(), YAxis(), YAxis_Second(), Dimensions(),
//    Appearance(), Legend(), series by index, Plotting, StepPlot, DigitalLabels;
//  - pixel/value mapping and the nearest point of a series;
//  - two cursors on a buffered layer of their own: moving one redraws its strip only,
//    never the series;
//  - text annotations anchored to data coordinates, dragged with the mouse;
//  - the zoom rectangle (Shift + left press, or armed with PonerZoomPreparado) and unzoom;
//  - live drawing for monitoring (segments and points added without a redraw);
//  - pictures and prints through a QPainter.
// Setters queue one redraw for the next pass of the event loop; Redibujar() draws at once.

#include "plot/grf_partes.h"
#include "plot/qcp.h"

#include <QImage>
#include <QPen>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace qv {

class TCapaGrf;
class TDibujoCursores;
class TDibujoRotulos;
class TMarcasGrf;

class TGrf : public QCustomPlot {
    Q_OBJECT
public:
    explicit TGrf(QWidget* parent = nullptr);
    ~TGrf() override;

    // Plotting-control objects.
    TAxis& XAxis() { return ejeX_; }
    const TAxis& XAxis() const { return ejeX_; }
    TAxis& YAxis() { return ejeY_; }
    const TAxis& YAxis() const { return ejeY_; }
    TAxis& YAxis_Second() { return ejeY2_; }
    const TAxis& YAxis_Second() const { return ejeY2_; }
    TDimensions& Dimensions() { return dimensiones_; }
    const TDimensions& Dimensions() const { return dimensiones_; }
    TAppearance& Appearance() { return apariencia_; }
    const TAppearance& Appearance() const { return apariencia_; }
    TLegend& Legend() { return leyenda_; }
    const TLegend& Legend() const { return leyenda_; }

    // While false the graph neither rescales nor draws its series; true redraws.
    bool Plotting() const { return plotting_; }
    void PonerPlotting(bool on);
    // Lines as a staircase (sample and hold); true at creation.
    bool StepPlot() const { return stepPlot_; }
    void PonerStepPlot(bool on);
    // X and Y take the same units per pixel while both size themselves to the data and
    // measure the same quantity (an XY plot of two signals of one unit): a circle stays
    // round at any window size. MismaEscala is the user's option, on at creation;
    // EjesComparables says what the axes hold, off at creation.
    bool MismaEscala() const { return mismaEscala_; }
    void PonerMismaEscala(bool on);
    bool EjesComparables() const { return comparables_; }
    void PonerEjesComparables(bool on);
    // Y tick labels blank, "0", "1", "0", ... from the axis minimum up.
    bool DigitalLabels() const { return digitalLabels_; }
    void PonerDigitalLabels(bool on);

    // Series by 0-based index, created (with those before it) on first access.
    TSeries& Serie(int indice);
    int NumSeries() const { return int(series_.size()); }
    void LiberarSeries();
    // Default colour of series `indice`.
    static QColor ColorSerie(int indice);

    // Plot area in control pixels: the control minus the four margins.
    QRect AreaGrafica() const;
    // Value -> pixel (logarithmic on a LogScale axis), clamped to +-20000.
    int PixelX(double x) const;
    int PixelY(double y) const;
    // Pixel -> value.
    double ValorX(int px) const;
    double ValorY(int py) const;
    // A point moved to the nearest one inside the plot area.
    QPoint AcotarAlArea(QPoint p) const;
    // False when an axis has Min >= Max, or Min <= 0 on a log scale: then ErrorCaption is
    // drawn instead of the plot, and neither cursors nor annotations.
    bool EscalasValidas() const;
    // The point of series `serie` nearest in X to the value under pixel column `pixelX`:
    // the first point not below the value, or the one before it when the value lies at or
    // before their midpoint. False for an empty series or a value outside [Min, Max] of X.
    bool PuntoMasCercano(int serie, int pixelX, TPuntoGrf& punto) const;
    // The point of series `serie` nearest on screen to `pixel` among those in view: how an
    // XY plot, whose X values repeat along the curve, is pointed at. False when none is.
    bool PuntoMasCercanoEnPantalla(int serie, QPoint pixel, TPuntoGrf& punto) const;

    // Cursors: 1 blue, 2 red.
    const TCursores& CursorAzul() const { return azul_; }
    const TCursores& CursorRojo() const { return rojo_; }
    // Moves cursor `numero` to X (with a circle at (X, yMarca) when conMarca) and makes it
    // Visible. It is drawn only while X is inside the plot area.
    void PonerCursor(int numero, bool conMarca, double yMarca, double x);
    void QuitarCursor(int numero);

    // Annotations: a label whose top-left corner is anchored at the data point under the
    // given pixel; it follows the anchor on every redraw and can be dragged inside the plot.
    void InsertarTexto(int left, int top, const QString& texto);
    // The same anchored at data point (x, y).
    void InsertarTextoEn(float x, float y, const QString& texto);
    void BorrarUltimoTexto();
    void BorrarTextos();
    void RecolocarTextos();
    const std::vector<TextoGrafica>& Textos() const { return textos_; }

    // Zoom: the next left press on the graph draws a zoom rectangle; any press disarms it.
    bool ZoomPreparado() const { return zoomPreparado_; }
    void PonerZoomPreparado(bool on) { zoomPreparado_ = on; }
    // True from the first zoom rectangle until the axes are restored.
    bool Ampliada() const { return ampliada_; }
    // Back to the axes in force before the first zoom (AutoSizing, and Min/Max if fixed).
    void DeshacerZoom();
    // X from `desde` to `hasta` (Y as it is) as a zoom rectangle would: DeshacerZoom goes back.
    void AmpliarX(double desde, double hasta);

    // Live drawing for monitoring. These draw on top of the finished plot at once, without
    // redrawing anything else; what DibujarSegmento and DibujarPunto draw lasts until the
    // next full redraw, while ExtenderSerie also keeps the point in the series.
    const QPen& Lapiz() const { return lapiz_; }
    void PonerLapiz(const QPen& p) { lapiz_ = p; }
    void DibujarSegmento(double x1, double y1, double x2, double y2);
    void DibujarPunto(double x, double y);
    // Appends (x, y) to series `indice` (x not below its last X) and draws the new piece of
    // its line in the series colour.
    void ExtenderSerie(int indice, double x, double y);

    // The graph at its on-screen size, scaled into `destino` (pictures, SVG, PDF, metafiles,
    // prints). Annotations are included; cursors and the zoom rectangle are not.
    void Pintar(QPainter& p, const QRectF& destino);
    // The graph as a picture of its size (BMP files, the clipboard).
    QImage Imagen();
    bool GuardarBMP(const QString& fichero);
    // Prints on `p` inside the printable rectangle `pagina` (device pixels) at PrintScalePct
    // of its width, offset by PrintXOffsetPct/PrintYOffsetPct of its size. Returns the
    // printed height x 1.35, rounded.
    int ImprimirGrafica(QPainter& p, const QRect& pagina);

    // Full redraw now (setters only queue one).
    void Redibujar();
    // How many times series were drawn so far (a cursor move must not change it).
    int DibujosSeries() const { return dibujosSeries_; }

Q_SIGNALS:
    // Mouse on the graph (not on an annotation), after the graph's own zoom handling.
    void RatonAbajo(const qv::TRatonGrf& r);
    void RatonMovido(const qv::TRatonGrf& r);
    void RatonArriba(const qv::TRatonGrf& r);
    void Redimensionado();
    // An annotation was dragged to a new anchor (its index in Textos()).
    void TextoMovido(int indice);
    // After each paint of the control.
    void PinturaTerminada();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    friend class TParteGrf;
    friend class TAxis;
    friend class TDimensions;
    friend class TAppearance;
    friend class TLegend;
    friend class TSeries;
    friend class TDibujoCursores;
    friend class TDibujoRotulos;

    struct TEjeGuardado {
        bool autoSizing = true;
        double min = 0, max = 1;
    };

    void Cambiado();
    void DatosCambiados();
    void AsegurarEscalas() const;
    void AutoEscalar(const TAxis& eje) const;
    void IgualarEscalas() const;
    void PrepararDibujo();
    void AplicarEje(TAxis& eje);
    QCPAxis* EjeQcp(const TAxis& eje) const;

    double Pixel(const TAxis& eje, double v) const;
    double Valor(const TAxis& eje, double px) const;
    double ValorY2(int py) const;

    TCursores& Cursor(int numero) { return numero == 1 ? azul_ : rojo_; }
    QRect ZonaCursor(const TCursores& c) const;
    QRect ZonaZoom() const;
    void RepintarCapa(TCapaGrf* capa, const QRegion& zona, bool borrar,
                      const std::function<void(QCPPainter*)>& dibujo);
    void RepintarCursores(const QRegion& zona);

    void IniciarZoom(QPoint p);
    void TerminarZoom();
    void RestaurarEjes();
    TRatonGrf Raton(const QMouseEvent* e, bool zoom) const;

    void ColocarEtiqueta(int indice, QPoint esquina);
    void AnclarEtiqueta(int indice);
    void DibujarTextos(QCPPainter* p) const;
    void PintarEn(QCPPainter* p, bool impresion);
    void PintarEscalado(QPainter& p, const QRectF& destino, bool impresion);
    void DibujarTramo(const QPen& lapiz, const QPolygonF& pixeles, bool punto);

    TAxis ejeX_, ejeY_, ejeY2_;
    TDimensions dimensiones_;
    TAppearance apariencia_;
    TLegend leyenda_;
    bool plotting_ = true;
    bool stepPlot_ = true;
    bool digitalLabels_ = false;
    bool mismaEscala_ = true;
    bool comparables_ = false;
    mutable QRect areaIgualada_; // the plot area the equal scales were made for
    mutable bool escalasSucias_ = true;

    std::vector<std::unique_ptr<TSeries>> series_;
    int dibujosSeries_ = 0;

    TCursores azul_, rojo_;
    QRect zonaAzul_, zonaRoja_, zonaZoom_; // where each was drawn last

    std::vector<TextoGrafica> textos_;
    int ArrastreX = 0, ArrastreY = 0;
    QLabel* arrastrada_ = nullptr;
    QPoint inicioArrastre_;

    bool zoomPreparado_ = false;
    bool ampliada_ = false;
    bool rectangulo_ = false;
    QPoint inicioZoom_, finZoom_;
    std::array<TEjeGuardado, 3> guardados_;

    QPen lapiz_;
    bool pintando_ = false; // drawing a picture or print: no cursors, annotations as text

    TCapaGrf* capaTrazos_ = nullptr;
    TCapaGrf* capaCursores_ = nullptr;
    TDibujoCursores* dibujoCursores_ = nullptr;
    TDibujoRotulos* dibujoRotulos_ = nullptr;
    std::array<QSharedPointer<TMarcasGrf>, 3> marcas_; // X, Y, Y2
    QSharedPointer<QCPAxisTicker> marcasLog_;
};

} // namespace qv

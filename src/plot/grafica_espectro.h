#pragma once

// The spectrum of an analog signal drawn as a plot: what the spectrum window shows and
// the picture the companion draws without a window.

#include "model/espectro.h"
#include "model/formatos.h"
#include "plot/qcp.h"

#include <QSize>
#include <QString>

#include <optional>

namespace qv {

class TCjtSenales;
class TSenalAna;
class TTextos;

enum class TEscalaEspectro { DB, Lineal };

// A spectrum with its strongest component above DC. The peak comes from the same
// samples with their mean taken off, so that a large DC level never hides a tone.
struct TEspectroMarcado {
    TEspectro espectro;
    std::optional<TPicoEspectro> pico;
};
TEspectroMarcado CalcularEspectro(TAnalizadorEspectro& analizador, const TSenalAna& s, TTramo tramo,
                                  TVentanaFFT ventana);

// The names of the windows in TVentanaFFT order and of the scales in TEscalaEspectro
// order, from their language texts.
QStringList NombresVentanas(TTextos& textos);
QStringList NombresEscalas(TTextos& textos);

// "-6.02 dB" / "0.5 V": the readout of a level (linear) in a scale; the frequency's is
// TextoFrecuencia.
QString TextoNivel(double lineal, TEscalaEspectro escala, const QString& unidad);

// Magnitude against frequency (0 to half the sampling frequency), the peak marked with
// its label, and a cursor. The cursor lives on a buffered layer of its own: moving it
// redraws that layer only, never the curve.
class TGraficaEspectro : public QCustomPlot {
    Q_OBJECT
public:
    explicit TGraficaEspectro(TTextos& textos, QWidget* parent = nullptr);

    // A new spectrum of a signal in `unidad`; the cursor goes.
    void Cargar(TEspectroMarcado espectro, const QString& unidad);
    void PonerEscala(TEscalaEspectro escala);
    TEscalaEspectro Escala() const { return escala_; }
    const TEspectro& Espectro() const { return datos_.espectro; }
    const std::optional<TPicoEspectro>& Pico() const { return datos_.pico; }
    const QString& Unidad() const { return unidad_; }
    // What the peak's label reads.
    QString TextoPico() const;

    // Cursor on bin `bin` (clamped to the spectrum); -1 when there is none.
    void PonerCursor(int bin);
    int Cursor() const { return cursor_; }
    // The bin nearest to pixel column `px`.
    int BinEnPixel(double px) const;
    // How many times the curve was drawn (a cursor move must not change it).
    int DibujosCurva() const { return dibujos_; }

    // Zoom as in the signal windows: armed, the next left press draws the rectangle to
    // show (so does a left press with Shift); the wheel zooms the frequency axis about
    // the pointer, Shift + wheel or a right drag moves along it; Deshacer shows it all.
    // A new spectrum of the same bins keeps the frequencies in view.
    void ArmarZoom();
    bool ZoomArmado() const { return zoomArmado_; }
    void DeshacerZoom();
    bool Ampliada() const { return rangoX_.has_value(); }
    // Frequency axis on a logarithmic scale (from the first bin above 0 Hz).
    void PonerFrecuenciaLog(bool on);
    bool FrecuenciaLog() const { return log_; }
    // The peak's label on the plot (a window that reads the peak elsewhere hides it).
    void PonerRotuloPico(bool on);

Q_SIGNALS:
    void CursorMovido(int bin);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Dibujar();
    void CursorEnPixel(double px);
    // The frequencies that can be shown: 0 (the first bin above it on a log axis) to
    // half the sampling frequency.
    QCPRange RangoCompleto() const;
    // Shows [desde, hasta] Hz, kept within RangoCompleto and at least a few bins wide.
    void MostrarFrecuencias(double desde, double hasta);

    TTextos& textos_;
    TEspectroMarcado datos_;
    QString unidad_;
    TEscalaEspectro escala_ = TEscalaEspectro::DB;
    int cursor_ = -1;
    int dibujos_ = 0;
    bool zoomArmado_ = false;
    bool log_ = false;
    bool rotulo_ = true;
    std::optional<QCPRange> rangoX_; // frequencies in view while zoomed
    std::optional<double> arrastre_; // pixel column of a right drag's last step
    QCPGraph* curva_;
    QCPItemTracer* marcaPico_;
    QCPItemText* rotuloPico_;
    QCPItemStraightLine* lineaCursor_;
};

// A picture file of the spectrum of analog signal `nombre` of the set (whole signal),
// in the format of the file's extension. False with the reason in `error`. Needs a
// QApplication.
bool GuardarGraficaEspectro(const TCjtSenales& set, TTextos& textos, const QString& nombre, TVentanaFFT ventana,
                            TEscalaEspectro escala, QSize tamano, const QString& salida, QString& error);

} // namespace qv

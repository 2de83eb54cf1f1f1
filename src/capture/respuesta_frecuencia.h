#pragma once

#include "lang/ui/formulario.h"
#include "link/barrido_sad.h"
#include "link/tarea.h"
#include "model/barrido.h"

#include <QElapsedTimer>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace qv {

class IPrincipal;
class TGraficaBode;
class TGraficaCaptura;
class TServicioSAD;

// "Respuesta en frecuencia": a swept-sine measurement of the gain and phase between two
// analog inputs while an analog output plays the sine, one capture per frequency on the
// device thread; the points are plotted as they come, with the progress of the point and
// of the sweep and the time left, and "Cancelar" stops it at any moment (the outputs go
// to zero). The -3 dB points are marked and written, a cursor reads a point, the last
// point's capture can be seen. The result is opened and saved as a file of its own,
// exported as CSV, as a picture, or printed.
class TfrmRespuestaFrecuencia : public TFormulario {
    Q_OBJECT
public:
    // Its texts are language texts 530-559, applied on every show (no form table).
    static constexpr int Numero = 0;

    explicit TfrmRespuestaFrecuencia(IPrincipal& principal, QWidget* parent = nullptr);
    ~TfrmRespuestaFrecuencia() override;

    // Handlers.
    TTarea IniciarBtnClick();
    void CancelarBtnClick();
    void AbrirBtnClick();
    void GuardarBtnClick();
    void CsvBtnClick();
    void ImagenBtnClick();
    void ImprimirBtnClick();
    void CapturaBtnClick();

    // The settings as typed: the text of the first box that does not hold a number (556)
    // with the focus there, or the values.
    std::optional<TAjustesBarrido> LeerAjustes(int* clave = nullptr, QWidget** foco = nullptr) const;
    void MostrarAjustes(const TAjustesBarrido& a);
    // The result shown (being measured, or opened).
    const TResultadoBarrido& Resultado() const { return resultado_; }
    void PonerResultado(const TResultadoBarrido& r);
    bool Barriendo() const { return barriendo_; }
    TGraficaBode& Grafica() const { return *GBode; }
    TGraficaCaptura& GraficaCaptura() const { return *GCaptura; }

protected:
    void TextosAplicados() override;
    void AlMostrar() override;
    void done(int r) override;

private:
    TServicioSAD* SAD() const;
    void EnMarcha(bool on);
    // The warnings of the settings: what the time base gives, the time it will take.
    void Avisar();
    void Mostrar();
    void MostrarCursor(int punto);
    void MostrarAvance(const TConversacion::TAvance& a);
    void Aviso(int clave, const QString& detalle = {});
    QString Filtro(int clave) const;

    IPrincipal& principal_;
    TResultadoBarrido resultado_;
    std::unique_ptr<TBarridoSAD> barrido_;
    std::shared_ptr<TPuntoSAD> punto_; // the point on its way, for its progress
    std::optional<TCapturaPunto> captura_;
    QElapsedTimer reloj_;
    bool barriendo_ = false;
    bool cancelado_ = false;

    QLabel *LDesde, *LHasta, *LPuntos, *LReparto, *LSalida, *LAmplitud, *LOffset, *LReferencia,
        *LRangoReferencia, *LRespuesta, *LRangoRespuesta, *LEstabilizacion;
    QLineEdit *DesdeEdit, *HastaEdit, *PuntosEdit, *AmplitudEdit, *OffsetEdit, *EstabilizacionEdit;
    QComboBox *RepartoComboBox, *SalidaComboBox, *ReferenciaComboBox, *RangoReferenciaComboBox, *RespuestaComboBox,
        *RangoRespuestaComboBox;
    QLabel* LabelAviso;
    QLabel *LPunto, *LTotal, *LCortes, *LCursor, *LMarcas;
    QProgressBar *PBPunto, *PBTotal;
    QPushButton *IniciarBtn, *CancelarBtn, *AbrirBtn, *GuardarBtn, *CsvBtn, *ImagenBtn, *ImprimirBtn, *CapturaBtn;
    QStackedWidget* Vistas;
    TGraficaBode* GBode;
    TGraficaCaptura* GCaptura;
};

// The main window's "Captación" > "Respuesta en frecuencia...": the window, modally.
void AbrirRespuestaFrecuencia(IPrincipal& principal);

} // namespace qv

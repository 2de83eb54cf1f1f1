#pragma once

#include "app/api/ventana_hija.h"
#include "lang/ui/formulario.h"
#include "model/espectro.h"
#include "model/medidas.h"

#include <QPoint>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QTimer;
class QMenu;
class QStackedLayout;

namespace qv {

class IPrincipal;
class TCjtSenales;
class TGrf;
class TPanelCursores;
class TPanelMedidas;
class TSenal;
struct TAnotacion;
struct TRatonGrf;

// What the analog and the digital signal windows share: the two graphs (xygraph, shown,
// and xygraphatras, shown in its place while xygraph is rebuilt), the cursor panel,
// cursors placed and dragged with the mouse and stepped with the arrow keys, the
// measurement panel, the pop-up menu, zoom, text notes and the representation commands
// of the main window. A window holds signal names only and looks the signals up in the
// current set at every refresh.
class TVentanaSenales : public TVentanaFormulario, public IVentanaHija {
    Q_OBJECT
public:
    static constexpr int Numero = 37;

    ~TVentanaSenales() override;

    // Shown signals, in plotting order, and the others of the set.
    QStringList SenalesVisibles;
    QStringList SenalesOcultas;

    // Fills both lists from the current set, at most `max` shown.
    virtual void CargarSenales(int max) = 0;
    // Rebuilds the graph from SenalesVisibles; closes the window when nothing is left.
    virtual void Refrescar() = 0;
    // SenalesOcultas := the names of `nombres` that are not shown, in that order.
    void CalcularOcultas(const QStringList& nombres);
    // Renames pairwise in both lists; answers whether a shown name changed.
    virtual bool RenombrarSenales(const QStringList& viejos, const QStringList& nuevos);
    // Cursor panel and mouse cursors on or off.
    void ActivarCursores(bool on);
    bool CursoresActivos() const { return cursoresActivos_; }
    // Measurement panel on or off. Its table is made anew only when the span or the
    // shown signals change (a cursor moved, a reload, a rename), never on a repaint.
    void ActivarMedidas(bool on);
    TPanelMedidas& Medidas() const { return *PMedidas; }
    // The samples between the two cursors, when both are placed; else every sample.
    TTramo TramoCursores() const;

    TGrf& Grafica() const { return *xygraph; }
    TPanelCursores& Panel() const { return *PCursor; }
    QMenu& MenuEmergente() const { return *Popup; }
    int NumeroVentana() const { return numeroVentana_; }
    int MuestraActual() const { return muestraActual_; }

    // IVentanaHija
    bool Admite(TComando comando) const override;
    bool Marcado(TComando comando) const override;
    void Ejecutar(TComando comando) override;
    void QuitarSenal(const QString& nombre) override;
    void RenombrarSenal(const QString& anterior, const QString& nuevo) override;
    void FicheroGuardado(const QString& ruta) override;

Q_SIGNALS:
    // What the window offers the commands changed: it shows signals or none, its
    // measurements panel was shown or hidden.
    void OfertaCambiada();

protected:
    // `zoomMas`, `zoomMenos`: object names of the pop-up's zoom entries.
    TVentanaSenales(IPrincipal& principal, bool digital, const char* zoomMas, const char* zoomMenos,
                    QWidget* parent);

    // The window's kind of plot.
    virtual bool EjeTiempo() const { return true; }
    // The X of the notes this window shows: empty for time, else the X signal's name.
    virtual QString EjeNotas() const { return {}; }
    virtual bool ConMarca() const { return false; }
    // The value a readout shows for a point of series `serie` at height `y`.
    virtual double ValorLeido(int serie, double y) const
    {
        (void)serie;
        return y;
    }
    // "Elegir" and "Datos" with the dialogs of the current set.
    virtual void ElegirSenales() = 0;
    void DatosSenales();
    // After the chooser: the window redrawn when its lists were taken, the signals the
    // chooser deleted removed from every window, the cursors back as they were.
    void TrasElegir(bool aceptado, const QStringList& borradas, bool conCursores);

    TCjtSenales* Senales() const;
    const TSenal* Buscar(const QString& nombre) const;
    IPrincipal& Principal() const { return principal_; }

    // The names of the series, the legend and the readout columns after a rename.
    virtual void ActualizarNombres();
    // The measurements the panel shows for the shown signals.
    virtual std::vector<TMedida> ColumnasMedidas() const;
    // The panel's table anew; after a cursor move (`soloSiCambia`) only when the span did.
    // The dominant frequencies follow once the span has stood still for EsperaDominante ms.
    void ActualizarMedidas(bool soloSiCambia = false);
    static constexpr int EsperaDominante = 150;
    void MedirDominantes();
    // Drops the shown names the set no longer holds.
    void QuitarDesconocidas();

    // The rebuild bracket: the backing graph in view, no zoom, Plotting off, no series;
    // then Plotting on and xygraph back in view.
    void EmpezarRecarga();
    void TerminarRecarga();
    // Closes the window when nothing is shown; answers whether it did.
    bool CerrarSiVacia();
    void PonerPeriodo(double periodo) { periodoMuestreo_ = periodo; }
    // X-axis Min := 0 on both graphs (a fixed origin for time plots).
    void OrigenCero();

    void TextosAplicados() override;
    void AlMostrar() override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

    TGrf* xygraph;
    TGrf* xygraphatras;
    TPanelCursores* PCursor;
    TPanelMedidas* PMedidas;
    QMenu* Popup;
    QAction* ZoomMas;
    QAction* ZoomMenos;
    QAction* Cursores2;
    QAction* Medidas2;

private:
    void PonerHaySenales(bool hay);
    // Shows or hides a panel of fixed height `alto` under the graph; `crecido` keeps
    // what the window grew by for it.
    void MostrarPanel(QWidget& panel, int alto, bool on, int& crecido);
    void ArmarZoom();
    // "Insertar texto": asks the text and puts it at pixel (50, 50) of the graph.
    void InsertarTexto();
    // Text notes live in the set (and so in its file); the graph shows those of this
    // window's kind and X. Every window of the set shows them again after a change.
    bool EsNota(const TAnotacion& a) const;
    void CargarTextos();
    void TextosCambiados(bool tambienEsta);
    void BorrarNotas(bool todas);
    void NotaMovida(int indice);
    void DefinirRepresentacion();
    void ReiniciarCursores();

    // Mouse cursors and keyboard stepping (visualiza_senales_teclado.cpp).
    void RatonAbajo(const TRatonGrf& r);
    void RatonMovido(const TRatonGrf& r);
    void RatonArriba(const TRatonGrf& r);
    void Colocar(int numero, QPoint pixel);
    bool Paso(int sentido);
    bool IrAlBorde(int numero, bool derecho);
    bool IrAMuestra(int numero, int muestra);
    void Mover(int numero, int muestra, double x, double yMarca, const std::vector<double>& valores);

    IPrincipal& principal_;
    const bool digital_;
    QStackedLayout* graficas_;
    bool cursoresActivos_ = false;
    bool medidasActivas_ = false;
    int crecido_ = 0; // what the window grew by when the cursor panel came
    int crecidoMedidas_ = 0;
    TTramo tramoMedido_;
    // The spectrum behind the panel's dominant frequencies, made when first needed.
    std::unique_ptr<TAnalizadorEspectro> espectro_;
    QTimer* dominante_;
    bool arrastrandoAzul_ = false;
    bool arrastrandoRojo_ = false;
    bool destruyendo_ = false;
    bool haySenales_ = false;
    bool zoomArmado_ = false;
    int muestraActual_ = 0;
    int cursorTeclas_ = 0;             // the cursor the arrow keys move: the last one placed
    std::array<int, 2> muestras_{};    // sample of each cursor
    int numeroVentana_ = 0;
    double periodoMuestreo_ = 0;
};

} // namespace qv

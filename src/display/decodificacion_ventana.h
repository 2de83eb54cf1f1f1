#pragma once

// The decodings a digital signal window shows: those of the set whose signals the window
// shows, decoded on the program's decoding thread whenever their signals or settings
// change, drawn as rows under the traces and listed in the window's annotation panel.

#include "model/servicio_decodificacion.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

namespace qv {

class IPrincipal;
class TDibujoDecodificacion;
class TGrf;
class TPanelDecodificacion;
struct TContextoFormulario;

class TDecodificacionesVentana : public QObject {
    Q_OBJECT
public:
    // `panel` is placed by the window; the rows go on `grafica`.
    TDecodificacionesVentana(IPrincipal& principal, TGrf& grafica, TPanelDecodificacion& panel, QObject* parent);
    ~TDecodificacionesVentana() override;

    // After each rebuild of the graph, with the names it shows in trace order: the
    // decodings of those signals, decoded anew where something changed, and their rows.
    void Actualizar(const QStringList& visibles);
    // "Decodificar...": the dialog on the library's decoders (asked for from the
    // decoding thread the first time); on "Aceptar" the set's decodings of these signals
    // are replaced and every digital window shows them.
    void Dialogo();
    // The panel's row clicked: the graph shows that span, as a zoom.
    void IrA(double desde, double hasta);
    void ExportarCsv();
    void AplicarTextos();

    // What is shown now: the decodings and their results (null while one is decoded).
    struct TEstadoDecod {
        TDecodificacion Decodificacion;
        QByteArray Huella; // of the settings and the samples decoded
        int Peticion = 0;  // the decoding thread's number while it decodes
        TResultadoCompartido Resultado;
    };
    const std::vector<TEstadoDecod>& Estado() const { return estado_; }
    bool Decodificando() const;
    TDibujoDecodificacion& Dibujo() const { return *dibujo_; }

    // The program's decoding thread: one for the main window, made when first needed.
    static TServicioDecodificacion& Servicio(IPrincipal& principal);

Q_SIGNALS:
    // Every decoding shown has its result (or failed).
    void Listas();

private:
    void Decodificado(int numero, TResultadoCompartido resultado);
    void Catalogo(TCatalogoCompartido catalogo, int clave);
    void AbrirDialogo();
    void Colocar();
    void Conectar();
    static QByteArray Huella(const TDecodificacion& d, const class TCjtSenales& set);

    IPrincipal& principal_;
    TGrf& g_;
    TPanelDecodificacion& panel_;
    std::unique_ptr<TDibujoDecodificacion> dibujo_;
    TServicioDecodificacion* servicio_ = nullptr;
    TCatalogoCompartido catalogo_;
    bool dialogoPedido_ = false;
    bool panelCerrado_ = false;
    QStringList visibles_;
    std::vector<TEstadoDecod> estado_;
    double minimoY_ = 0; // the Y minimum the rows last asked for
    int margenIzquierdo_ = -1; // the window's own left margin while the rows' names widen it
};

} // namespace qv

#pragma once

#include <QStringList>

class QMdiArea;
class QWidget;

namespace qv {

class TEstadoPrograma;
class TSenalAna;

// The main window as the dialogs, signal windows and capture sequences see it. They get
// a reference in their constructors; the main window (TfrmPrincipal) implements it.
class IPrincipal {
public:
    virtual ~IPrincipal() = default;

    // The program state: current signals, configuration, operations, device link, flags.
    virtual TEstadoPrograma& Estado() = 0;

    // Parent for dialogs and the MDI area for new child windows.
    virtual QWidget& Ventana() = 0;
    virtual QMdiArea& AreaVentanas() = 0;

    // Command enabling.
    virtual void ActualizarMenus() = 0;
    virtual void EstadoInicial() = 0;   // the last signal window is being destroyed
    virtual void DesactivaBarra() = 0;  // the data-table window became active
    virtual void ActualizarComentario() = 0;
    virtual void DesactivarCaptacion() = 0;

    // Unsaved-changes state: "Guardar" follows it.
    virtual void MarcarModificado() = 0;
    virtual void MarcarGuardado() = 0;

    // Child windows.
    virtual void CerrarVentanas() = 0;
    virtual void CerrarVentanaActiva() = 0;
    virtual void QuitarSenalesDeVentanas(const QStringList& nombres) = 0;

    // File commands that other parts run before they discard a set.
    virtual void CerrarClick() = 0;
    virtual void GuardarArchivoClick() = 0;

    // Asks the unit whether a capture is running or finished (state 2 or 3); the answer
    // is kept in HayDatos. False without a device link or when the query fails.
    virtual bool GetHAyDatos() = 0;

    // Frequency filter of an analog signal, in place (kinds: 0 high-pass, 1 low-pass,
    // 2 band-pass, 3 band-stop; `referencia` is the reference frequency). A signal too
    // short to transform raises EErrorCalculo for the caller to report.
    virtual void FiltrarFFT(TSenalAna& senal, int tipoFiltro, double frecBaja, double frecAlta,
                            double referencia) = 0;

    // Window numbering: each new signal window takes the next number; the active
    // window reports its number and whether it shows any signal when it activates.
    virtual int NuevoNumeroVentana() = 0;
    virtual int ContadorVentanas() const = 0;
    virtual void SetVentanaActiva(int numero) = 0;
    virtual int VentanaActiva() const = 0;
    virtual void SetHaySenalesVisibles(bool hay) = 0;
    virtual bool HaySenalesVisibles() const = 0;
    virtual int MaxSenalesAna() const = 0;
    virtual int MaxSenalesDig() const = 0;

    // The five-minute reminder while a shared unit is held is paused during every device
    // sequence: DetenerRecordatorio answers whether it was running.
    virtual bool DetenerRecordatorio() = 0;
    virtual void RestaurarRecordatorio(bool activo) = 0;

    // Progress and hint texts of the status bar.
    virtual void MostrarEstado(const QString& texto) = 0;
};

// Pauses the reminder for the lifetime of a device command, however it ends.
class TPausaRecordatorio {
public:
    explicit TPausaRecordatorio(IPrincipal& principal)
        : principal_(principal), activo_(principal.DetenerRecordatorio())
    {
    }
    ~TPausaRecordatorio() { principal_.RestaurarRecordatorio(activo_); }
    TPausaRecordatorio(const TPausaRecordatorio&) = delete;
    TPausaRecordatorio& operator=(const TPausaRecordatorio&) = delete;

private:
    IPrincipal& principal_;
    bool activo_;
};

} // namespace qv

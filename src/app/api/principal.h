#pragma once

#include "app/api/estado.h"

#include <QStringList>

class QMdiArea;
class QWidget;

namespace qv {

class IVentanaHija;
class TEstadoPrograma;
struct TContextoPrograma;

// The main window as the dialogs, signal windows, command files and capture sequences
// see it. They get a reference in their constructors; the main window (TfrmPrincipal)
// implements it. Changes of the program state are announced through the state itself
// (its setters, MarcarModificado), never through this interface.
class IPrincipal {
public:
    virtual ~IPrincipal() = default;

    // The program state: current signals, configuration, operations, device link, flags.
    virtual TEstadoPrograma& Estado() = 0;
    // Texts, interaction, modal seam, help, clock, file dialogs, program folder.
    virtual const TContextoPrograma& Contexto() const = 0;

    // Parent for dialogs and the MDI area for new child windows.
    virtual QWidget& Ventana() = 0;
    virtual QMdiArea& AreaVentanas() = 0;
    // The active child window ("Child": not the ZD801 configuration window), or null.
    virtual IVentanaHija* HijaActiva() const = 0;

    // The signal windows follow the state's set on their own; this closes the active one.
    virtual void CerrarVentanaActiva() = 0;

    // File commands that other parts run before they discard a set.
    virtual void CerrarClick() = 0;
    virtual void GuardarArchivoClick() = 0;

    // The one guard of every "save before discarding?" question: asks text `pregunta`
    // with Si/No/Cancelar; "Si" saves the set (asking for a name when it has none).
    // True when the caller may go on and discard: "No", or a save that left nothing
    // unsaved. "Cancelar", a closed box, a cancelled or failed save: false, and the
    // caller must leave the set, its windows, the configuration and the unit alone.
    virtual bool GuardarAntesDeDescartar(int pregunta) = 0;

    // Window numbering: each new signal window takes the next number; the counter goes
    // back to 0 when every window is closed.
    virtual int NuevoNumeroVentana() = 0;
    virtual int ContadorVentanas() const = 0;
    virtual int MaxSenalesAna() const = 0;
    virtual int MaxSenalesDig() const = 0;

    // The five-minute reminder while a shared unit is held is paused during every device
    // sequence: DetenerRecordatorio answers whether it was running.
    virtual bool DetenerRecordatorio() = 0;
    virtual void RestaurarRecordatorio(bool activo) = 0;

    // Progress and hint texts of the status bar.
    virtual void MostrarEstado(const QString& texto) = 0;
};

// A command that talks to the unit, for its whole length however it ends: the program
// is busy (the commands that would start another conversation are off) and the
// five-minute reminder is paused.
class TOrdenSAD {
public:
    explicit TOrdenSAD(IPrincipal& principal)
        : principal_(principal), activo_(principal.DetenerRecordatorio())
    {
        principal_.Estado().PonerOcupado(true);
    }
    ~TOrdenSAD()
    {
        principal_.Estado().PonerOcupado(false);
        principal_.RestaurarRecordatorio(activo_);
    }
    TOrdenSAD(const TOrdenSAD&) = delete;
    TOrdenSAD& operator=(const TOrdenSAD&) = delete;

private:
    IPrincipal& principal_;
    bool activo_;
};

} // namespace qv

#pragma once

#include "app/api/comandos.h"

#include <QString>

namespace qv {

// Kinds of the main window's child windows, as the command-enabling rules name them.
enum class TTipoVentana {
    Analogica,      // analog signal window
    Digital,        // digital signal window
    TablaDatos,     // data-table window
    ConfigZD801,    // the ZD801 configuration window when it lives in the MDI area
    Otra,
};

// What the main window needs of a child window. Signal windows, the data table and any
// other MDI child implement it next to their QWidget base; the main window asks the
// active one which commands it takes and hands them over, without knowing its class.
class IVentanaHija {
public:
    virtual ~IVentanaHija() = default;

    virtual TTipoVentana TipoVentana() const = 0;

    // The window carries out this command itself while it is the active child (zoom,
    // cursors, texts, choosing signals, pictures, ...). The answer may change with what
    // the window shows ("Datos" needs a shown signal); the window then notifies the
    // program state so that the commands are enabled again.
    virtual bool Admite(TComando comando) const { (void)comando; return false; }
    virtual void Ejecutar(TComando comando) { (void)comando; }
    // A command that switches something of the window on and off: whether it is on, so
    // that its menu item and tool button show a check.
    virtual bool Marcado(TComando comando) const { (void)comando; return false; }

    // A signal deleted from the set: drop the name from the shown list (and refresh) or,
    // when it is not shown, from the not-shown list. Windows without signals ignore it.
    virtual void QuitarSenal(const QString& nombre) { (void)nombre; }
    // A signal of the set renamed: the window shows it under its new name.
    virtual void RenombrarSenal(const QString& anterior, const QString& nuevo)
    {
        (void)anterior;
        (void)nuevo;
    }
    // The signal file was saved under this name (signal windows take it as title).
    virtual void FicheroGuardado(const QString& ruta) { (void)ruta; }

    bool EsVentanaSenales() const
    {
        return TipoVentana() == TTipoVentana::Analogica || TipoVentana() == TTipoVentana::Digital;
    }
};

} // namespace qv

#pragma once

#include <QString>

namespace qv {

// Kinds of the main window's child windows; the command-enabling rules depend on them.
enum class TTipoVentana {
    Analogica,      // analog signal window
    Digital,        // digital signal window
    TablaDatos,     // data-table window
    ConfigZD801,    // the ZD801 configuration window when it lives in the MDI area
    Otra,
};

// What the main window needs of a child window. Signal windows, the data table and any
// other MDI child implement it next to their QWidget base, so the main window can loop
// over its children without knowing their classes.
class IVentanaHija {
public:
    virtual ~IVentanaHija() = default;

    virtual TTipoVentana TipoVentana() const = 0;

    // A signal deleted from the set: drop the name from the shown list (and refresh) or,
    // when it is not shown, from the not-shown list. Windows without signals ignore it.
    virtual void QuitarSenal(const QString& nombre) { (void)nombre; }

    bool EsVentanaSenales() const
    {
        return TipoVentana() == TTipoVentana::Analogica || TipoVentana() == TTipoVentana::Digital;
    }
};

} // namespace qv

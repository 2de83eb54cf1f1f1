#pragma once

#include "app/api/comandos.h"

#include <QString>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace qv {

class IVentanaHija;
class TEstadoPrograma;
class TTextos;
struct TTextoControl;

// What the enabling rules look at: the program state, the active child window and the
// station. "Child" (`hija`): at least one child window, and the active one is not the
// ZD801 configuration window.
struct TContextoReglas {
    const TEstadoPrograma& estado;
    bool hija = false;
    const IVentanaHija* activa = nullptr;
    bool mostrado = false;      // the main window was shown: the station mode is applied
    bool multipuesto = false;
    bool sadOcupado = false;
    bool remotoVisible = false;

    bool HaySenales() const;    // the set exists
    bool Conjunto() const;      // the set exists and holds a signal
    bool HayConfig() const;
    bool Modificado() const;
    bool Admite(TComando c) const; // the active child carries the command out
    bool Marcado(TComando c) const; // the active child has it switched on
    bool VentanaSenales() const;   // the active child is a signal window
    bool TablaDatos() const;       // the active child is the data table
    bool Captura() const;          // capture commands: not multi-station, or the unit held
};

using TRegla = bool (*)(const TContextoReglas&);

// One command of the main window: its action (shared by its menu item and its tool
// button), caption, icon, help number, handler and rules. A command without handler
// is carried out by the active child window when it admits it.
struct TFilaComando {
    TComando comando;
    const char* accion;          // object name of the QAction (its menu item's name)
    const char* boton = nullptr; // object name of its tool button, when it has one
    int clave = 0;               // language text of the caption
    const char* icono = nullptr; // ":/iconos/<icono>.svg"
    int ayuda = 0;               // help number, 0 when none
    TRegla habilitado = nullptr; // null: always enabled
    TRegla visible = nullptr;    // null: always visible
    std::function<void()> manejador = {};
    bool marcable = false;       // an on/off command: item and button show the active child's state
};

// A menu: its title key and help number, the rule that enables (or shows) it and its
// entries in order: action names, "-" for a separator, ">" + name for a submenu.
struct TFilaMenu {
    const char* nombre;
    int clave;
    int ayuda;
    TRegla habilitado;
    TRegla visible;
    std::vector<const char*> entradas;
};

// A toolbar: its buttons by action name, "-" + name for a named separator, which is
// shown exactly when the button before it is.
struct TFilaBarra {
    const char* nombre;
    std::vector<const char*> entradas;
};

// The handlers the table binds; each area of commands lives in its own file.
class TfrmPrincipal;
class TComandosArchivo;
class TComandosCaptura;
class TComandosVentanas;
class TComandosRepresentacion;
class TComandosPuesto;
struct TAreasComandos {
    TfrmPrincipal& principal;
    TComandosArchivo& archivo;
    TComandosVentanas& ventanas;
    TComandosRepresentacion& representacion;
    TComandosCaptura& captura;
    TComandosPuesto& puesto;
};

std::vector<TFilaComando> TablaComandos(TAreasComandos& areas);
const std::vector<TFilaMenu>& TablaMenus();
const std::vector<TFilaBarra>& TablaBarras();

// The actions, menus and toolbars of a main window, built from the tables: one QAction
// per command row, shared by its menu item and its tool button (the button carries
// the row's `boton` name). A triggered command runs its handler or, without one, is
// handed to the active child window when that admits it.
class TComandosPrincipal {
public:
    // `hijaActiva`: the active child ("Child"), or null.
    TComandosPrincipal(QMainWindow& ventana, TTextos& textos, std::vector<TFilaComando> filas,
                       std::function<IVentanaHija*()> hijaActiva);

    // Enables and shows every action, menu and toolbar separator by the rules.
    void Actualizar(const TContextoReglas& c);
    // Runs the first row of that command as its menu item would.
    void Ejecutar(TComando comando);

    // Captions of the actions and menus, as entries of a form text table.
    std::vector<TTextoControl> Textos() const;
    const std::vector<QToolBar*>& Barras() const { return barras_; }

private:
    void CrearMenus(QMainWindow& ventana, TTextos& textos);
    void CrearBarras(QMainWindow& ventana);

    std::vector<TFilaComando> filas_;
    std::vector<QAction*> acciones_; // one per row
    std::map<QString, QAction*> porNombre_;
    std::function<IVentanaHija*()> hijaActiva_;
    struct TMenuCreado {
        QMenu* menu;
        TRegla habilitado;
        TRegla visible;
    };
    std::vector<TMenuCreado> menus_;
    std::vector<std::pair<QAction*, QAction*>> separadores_; // separator, the button before it
    std::vector<QToolBar*> barras_;
};

} // namespace qv

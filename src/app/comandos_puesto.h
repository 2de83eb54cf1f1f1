#pragma once

#include "link/ajustes_estacion.h"
#include "net/contexto_red.h"

#include <QPointer>

#include <memory>

namespace qv {

class IServiciosPuesto;
class TfrmPrincipal;
class TTurnoPuesto;
class TfrmTurnosAula;

// The station commands of the main window: the station options, taking and releasing
// the classroom's unit, the list of PCs with a unit, remote monitoring and its user
// profile. Each runs its dialog and applies the result to the main window's station
// state.
class TComandosPuesto {
public:
    TComandosPuesto(TfrmPrincipal& principal, IServiciosPuesto& puesto);
    ~TComandosPuesto();

    void OpcionesQUORVANEClick();
    void Btn_OcuparClick();
    // "Liberar" and the "Liberar SAD" menu item (one command).
    void Btn_LiberarClick();
    void PCsEnRedClick();
    // "Turnos del aula": the room's line, one window for the whole run.
    void TurnosAulaClick();
    void PerfilRemotaClick();
    void Btn_RemotoClick();

    const TAjustesEstacion& Ajustes() const { return ajustes_; }
    // The station's place in the relay's line.
    TTurnoPuesto& Turno() { return *turno_; }
    // How the dialogs search the network (tests point it at their own relays).
    TOpcionesBusqueda Busqueda;

private:
    TContextoRed Red();

    TfrmPrincipal& principal_;
    IServiciosPuesto& puesto_;
    TAjustesEstacion ajustes_;
    std::unique_ptr<TTurnoPuesto> turno_;
    QPointer<TfrmTurnosAula> aula_;
};

} // namespace qv

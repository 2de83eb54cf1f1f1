#pragma once

#include <QHostAddress>
#include <QList>

namespace qv {

class IPrincipal;
class IServiciosPuesto;
class TAjustesEstacion;

// How the network search asks for relays: the discovery port (the relay's port) and
// how long answers are awaited. Without destinations the request is broadcast on every
// network of this PC; tests and unusual set-ups name the addresses to ask.
struct TOpcionesBusqueda {
    quint16 Puerto = 9099;
    int DuracionMs = 2000;
    QList<QHostAddress> Destinos;
};

// What every dialog of the classroom works with: the main window (texts, modal seam,
// the device link in the program state), the station (launcher of the remote-desktop
// programs), the station settings and the search options.
struct TContextoRed {
    IPrincipal& Principal;
    IServiciosPuesto& Puesto;
    const TAjustesEstacion& Ajustes;
    TOpcionesBusqueda Busqueda = {};
};

} // namespace qv

#pragma once

#include "app/dialogos_archivo_qt.h"
#include "app/ventana_principal.h"
#include "lang/idioma.h"
#include "lang/ui/interaccion_qt.h"
#include "link/reloj_eventos.h"

#include <QString>

namespace qv {

class IServiciosPuesto;
class TModal;

// The objects of one run of the program, created once and wired by reference: the
// language module, the interaction seam, the clock and the main window (which owns the
// program state and the about box). The program passes the real modal seam and station;
// tests build the same graph with their own.
class TAplicacion {
public:
    TAplicacion(const QString& carpetaPrograma, TModal& modal, IServiciosPuesto& puesto);
    ~TAplicacion();
    TAplicacion(const TAplicacion&) = delete;
    TAplicacion& operator=(const TAplicacion&) = delete;

    TDMIdioma DMIdioma;
    TInteraccionQt Interaccion;
    // Waits for the unit keep the windows painting and hold user input back.
    TRelojEventos Reloj;
    TDialogosArchivoQt DialogosArchivo;
    TfrmPrincipal Principal;
};

// Process-wide settings of the program entry: names and the "." decimal separator for
// Qt and for the C library alike.
void PrepararProceso();

} // namespace qv

#include "channels/ventanas_canal.h"

namespace qv {

// Placeholders until the output and input windows land: nothing is edited.
bool EditarSalidaAnalogica(IPrincipal&, TConfigES&, int, QWidget*) { return false; }
bool EditarSalidaDigital(IPrincipal&, TConfigES&, int, QWidget*) { return false; }
bool EditarEntradaAnalogica(IPrincipal&, TConfigES&, int, QWidget*) { return false; }

} // namespace qv

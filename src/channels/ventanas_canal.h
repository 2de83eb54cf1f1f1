#pragma once

class QWidget;

namespace qv {

class IPrincipal;
class TConfigES;

// The channel windows the configuration window opens, each run modally through the
// modal seam on the working configuration. They answer whether the window ended
// accepted (the window's accepted flag).
//
// Analog output `indice` 1..4 ("Activación de Salida Analogica"): name and generator.
bool EditarSalidaAnalogica(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* padre);
// Digital output `indice` 1..16 ("Activación de Salida Dgital"): name and generator.
bool EditarSalidaDigital(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* padre);
// Analog input `indice` 1..8 ("Datos entrada analógica"): name, range, unit, factor.
bool EditarEntradaAnalogica(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* padre);

} // namespace qv

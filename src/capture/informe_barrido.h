#pragma once

// The printed report of a frequency response: its title, the settings, the plot and
// the -3 dB readings on the first page, then the table of the points.

#include "model/barrido.h"

class QPrinter;
class QWidget;

namespace qv {

class TGraficaBode;
class TTextos;

// One print job on `impresora`, with the font of `ventana` (which also gives the
// screen's pixels per inch the plot is laid out at). False when the job could not be
// opened or a page could not be started; the job is aborted then.
bool ImprimirBarrido(QPrinter& impresora, const QWidget& ventana, TGraficaBode& grafica, const TResultadoBarrido& r,
                     TTextos& textos);

} // namespace qv

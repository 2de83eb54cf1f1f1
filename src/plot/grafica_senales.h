#pragma once

// A set of signals drawn into a graph control: what the analog and the digital signal
// windows show, and the pictures the companion draws without a window.

#include "plot/imagenes.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

class TCjtSenales;
class TGrf;
class TSenalAna;
class TTextos;

// The shown names cut to one sampling period (that of the first, to the microsecond) and
// to `max`; the others go to the end of `ocultas`, in their order.
void FiltrarVisibles(const TCjtSenales& set, QStringList& visibles, QStringList& ocultas, int max);

// Axes, margins, titles and legend of the analog and of the digital graph.
void PrepararGraficaAnalogica(TGrf& g, TTextos& textos);
void PrepararGraficaDigital(TGrf& g, TTextos& textos);

// `nombres` (all in the set) against time, digital ones as 0 V / 5 V staircases, X from 0
// to the end of the longest; or, given `ejeX`, the first of them against it as a curve.
void CargarAnalogicas(TGrf& g, const TCjtSenales& set, const QStringList& nombres, const TSenalAna* ejeX,
                      TTextos& textos);
// The digital `nombres` stacked in bands of the fixed 0 ... 100 axis, the first at the
// bottom. Answers the high level of each trace.
std::vector<double> CargarDigitales(TGrf& g, const TCjtSenales& set, const QStringList& nombres);

// An analog series' legend entry: its name and unit.
QString NombreSerie(const TSenalAna& s);
// The legend at the right of the graph's present size, for `senales` entries.
void ColocarLeyenda(TGrf& g, int senales);

// The format of a picture file to draw; Desconocido, with the reason in `error`, for a
// name without a picture extension or where there is no QApplication to draw with.
TFormatoImagen FormatoParaDibujar(const QString& salida, QString& error);

// A picture file of the signals as their window shows them (`nombres` empty: the window's
// own choice), in the format of the file's extension, the graph `tamano` in size. False
// with the reason in `error`. Needs a QApplication.
bool GuardarGraficaSenales(const TCjtSenales& set, TTextos& textos, const QStringList& nombres, bool digital,
                           const QString& ejeX, QSize tamano, const QString& salida, QString& error);

} // namespace qv

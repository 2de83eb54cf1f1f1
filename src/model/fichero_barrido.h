#pragma once

// The frequency response file (extension qvf) and its CSV export.

#include "model/barrido.h"

#include <QByteArray>
#include <QString>

namespace qv {

// The whole file, Latin-1 text with CR LF line ends, one value per line as in the
// signal files (reals in the 23-character scientific form):
//
//   RespuestaFrecuencia
//   1                                  format version
//   Log | Lineal                       spacing of the sweep
//   Desde, Hasta (Hz), Puntos          the frequencies asked for
//   Salida, Amplitud, Offset           the stimulus
//   Referencia rango, Respuesta rango  input numbers and range tokens (10V ... 02V)
//   Estabilizacion, DesfaseGruposUs
//   number of points measured, then one line per point:
//     frequency gain_db phase_deg mark amplitude_reference amplitude_response
//   FinRespuestaFrecuencia
QByteArray TextoFicheroBarrido(const TResultadoBarrido& r);

// Reads a file written by TextoFicheroBarrido. Anything else (another file, a cut or
// edited one, numbers out of range) raises EErrorFormato with text 555.
TResultadoBarrido LeerFicheroBarrido(const QByteArray& datos);

// Through the safe writer (a temporary file renamed over the old one); false with the
// reason in `error` when it could not be written, the old file kept.
bool GuardarFicheroBarrido(const QString& ruta, const TResultadoBarrido& r, QString* error = nullptr);
// Reads the whole file; raises EErrorFormato (555) when it is not one, EErrorModelo
// (370) when it cannot be read.
TResultadoBarrido AbrirFicheroBarrido(const QString& ruta);

// RFC 4180 text: the header "frequency_hz,gain_db,phase_deg", then one row per point in
// sweep order; a marked point keeps its frequency and leaves gain and phase empty. CR LF.
QByteArray CsvBarrido(const TResultadoBarrido& r);

} // namespace qv

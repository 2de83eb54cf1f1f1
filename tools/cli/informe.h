#pragma once

#include <QString>

namespace qv {

class TCjtSenales;
class TConfigES;
class TOperaciones;
class TTextos;

// The text of the `info` command: the time base, the active channels, the
// operations and, per signal, its kind, samples, period, origin and statistics.
// One item per line, "key: value", so that scripts can pick lines out.
QString InformeFichero(const QString& ruta, const TConfigES& config, const TOperaciones& operaciones,
                       const TCjtSenales& senales, TTextos& textos);

// Short unit names of the time codes: us, ms, s, min, h.
QString AbreviaturaUnidad(int codigo);

} // namespace qv

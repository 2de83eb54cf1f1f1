#pragma once

#include <QString>

namespace qv {

class TConfigES;
class TEstadoPrograma;

// One channel of a configuration, by kind and index within its kind (from 1).
struct TCanal {
    enum class Tipo { EntDig, SalDig, EntAna, SalAna };
    Tipo tipo;
    int indice;
};

// The channel's present name in `config`.
QString NombreActual(const TConfigES& config, TCanal canal);

// Whether `nombre` may be given to `canal`; answers 0 when it may, else the number of
// the text that says why:
// - 175: another of the 44 channels bears it;
// - 158: a signal of the current set bears it; the signal that was captured or
//   generated on this very channel is no clash, since it is the channel's own;
// - 176: an operation gives a result of that name.
// Signals and operations count only while a set exists with automatic naming off,
// unless `siempre` (the naming dialog's rule).
// The channel's present name is always accepted; an empty name is the caller's check.
int ComprobarNombreCanal(const TEstadoPrograma& estado, const TConfigES& config, TCanal canal,
                         const QString& nombre, bool siempre = false);

} // namespace qv

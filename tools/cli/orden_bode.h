#pragma once

// quorvane-cli bode: a frequency response measured with the unit, written as CSV.

#include "model/barrido.h"

#include <QString>
#include <QStringList>

namespace qv {

// The options of "bode" that no other command has, taken out of its argument list:
// --from F1 --to F2 --points N [--output K] [--reference I] [--response J]
// [--amplitude V] [--offset V] [--settle PERIODS] [--linear]. `resto` keeps the
// others (-o, --port, --relay, --overwrite, --force) for the common reader.
// False with the reason (English, for the usage message) in `error`.
bool LeerOpcionesBode(const QStringList& args, TAjustesBarrido& ajustes, QStringList& resto, QString& error);

// The usage lines of "bode", and what it does (after the common notes).
QString UsoBode();
QString NotasBode();

} // namespace qv

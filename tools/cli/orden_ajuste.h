#pragma once

#include "model/ajuste.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace qv {

// The model a "fit" command line names: linear, poly2 to poly5, exp, rc, sine,
// damped-sine, or expr:FORMULA (the formula in t and its named parameters). Nothing for
// any other name.
std::optional<TPeticionAjuste> PeticionDeNombre(const QString& nombre);

// The parameters and statistics of a fit of signal `senal` as the companion prints
// them: as a text table, or as CSV (header "parameter,value,standard_error", one row per
// parameter, then the rows r2 and rms with no error), CR LF line ends.
QByteArray TextoAjuste(const TResultadoAjuste& r, const QString& senal, bool csv);

} // namespace qv

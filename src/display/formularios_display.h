#pragma once

namespace qv {

class TRegistroFormularios;

// Registers every form of src/display: one line per form.
void RegistrarFormulariosDisplay(TRegistroFormularios& registro);

} // namespace qv

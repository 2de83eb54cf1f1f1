#pragma once

namespace qv {

class TRegistroFormularios;

// Registers every form of src/capture: one line per form.
void RegistrarFormulariosCapture(TRegistroFormularios& registro);

} // namespace qv

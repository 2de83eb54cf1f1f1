#pragma once

namespace qv {

class TRegistroFormularios;

// Registers every form of src/net: one line per form.
void RegistrarFormulariosNet(TRegistroFormularios& registro);

} // namespace qv

#pragma once

namespace qv {

class TRegistroFormularios;

// Registers every form of src/channels: one line per form.
void RegistrarFormulariosChannels(TRegistroFormularios& registro);

} // namespace qv

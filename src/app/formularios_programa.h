#pragma once

namespace qv {

class TRegistroFormularios;

// Every form of the program: those of each library and the program's own. The main
// window is not among them: the others are created for it.
void RegistrarFormulariosPrograma(TRegistroFormularios& registro);

} // namespace qv

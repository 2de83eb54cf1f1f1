#pragma once

#include <QString>

namespace qv {

struct TInfoSAD;
class TTextos;

// Language text of a unit capture state (0 to 3); 0 for any other value.
int TextoEstadoUnidad(int estado);

// "Estado: " and the text of a state read (`leido`), or the text saying it could not be.
QString LineaEstado(bool leido, int estado, TTextos& textos);

// The details of a unit shown by the take and release dialogs.
QString LineaOcupadoPor(const TInfoSAD& enlace, TTextos& textos);
QString LineaVersion(const TInfoSAD& enlace, TTextos& textos);
QString LineaMemoria(const TInfoSAD& enlace, TTextos& textos);
QString LineaServidor(const TInfoSAD& enlace, TTextos& textos);

} // namespace qv

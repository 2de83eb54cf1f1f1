#pragma once

#include <QString>

namespace qv {

class TComCapvis;
class TTextos;

// Language text of a unit capture state (0 to 3); 0 for any other value.
int TextoEstadoUnidad(int estado);

// "Estado: " and the text of a state read (`leido`), or the text saying it could not be.
QString LineaEstado(bool leido, int estado, TTextos& textos);
// "Estado: " and the unit's state read now, or the text saying it could not be read.
QString LineaEstadoUnidad(TComCapvis& enlace, TTextos& textos);

// The details of a unit shown by the take and release dialogs.
QString LineaOcupadoPor(const TComCapvis& enlace, TTextos& textos);
QString LineaVersion(const TComCapvis& enlace, TTextos& textos);
QString LineaMemoria(const TComCapvis& enlace, TTextos& textos);
QString LineaServidor(const TComCapvis& enlace, TTextos& textos);

} // namespace qv

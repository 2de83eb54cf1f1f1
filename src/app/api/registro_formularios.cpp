#include "app/api/registro_formularios.h"

namespace qv {

void TRegistroFormularios::Registrar(int numero, const QString& clase, TFabricaFormulario fabrica)
{
    formularios_.push_back({numero, clase, std::move(fabrica)});
}

QString NombreClase(const QMetaObject& meta)
{
    const QString nombre = QString::fromLatin1(meta.className());
    return nombre.mid(nombre.lastIndexOf(QLatin1Char(':')) + 1);
}

} // namespace qv

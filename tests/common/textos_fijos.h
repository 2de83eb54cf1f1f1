#pragma once

#include "lang/textos.h"

#include <QString>

namespace qv::test {

// Texts for tests that do not read a language file: "T<key>" for every key, except the
// unit words and the few keys whose value the file formats depend on. A test sees which
// text went where without knowing the language file.
class TTextosFijos : public TTextos {
public:
    QString BuscarTexto(int clave) const override
    {
        switch (clave) {
        case 193: return QStringLiteral("microsegundos");
        case 194: return QStringLiteral("milisegundos");
        case 195: return QStringLiteral("segundos");
        case 196: return QStringLiteral("minutos");
        case 197: return QStringLiteral("horas");
        case 199: return QStringLiteral("Voltios");
        default: return QStringLiteral("T%1").arg(clave);
        }
    }
    QString LeerTexto(int clave) const override { return BuscarTexto(clave); }
};

} // namespace qv::test

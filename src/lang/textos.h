#pragma once

#include <QString>

namespace qv {

// Numbered texts of the language file. Every user-visible text of the program is
// fetched through this interface, so that the whole program can be translated and
// non-visual code never reads files of its own for its words. Lookups change nothing:
// the window thread and the device thread look texts up at the same time.
class TTextos {
public:
    virtual ~TTextos() = default;
    // The text of the key.
    virtual QString BuscarTexto(int clave) const = 0;
    // The same; the name of the lookups that fill a form's controls in key order.
    virtual QString LeerTexto(int clave) const = 0;
};

} // namespace qv

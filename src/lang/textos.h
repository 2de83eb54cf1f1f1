#pragma once

#include <QString>

namespace qv {

// Numbered texts of the language file. Every user-visible text of the program is
// fetched through this interface, so that the whole program can be translated and
// non-visual code never reads files of its own for its words.
class TTextos {
public:
    virtual ~TTextos() = default;
    // The text of the key, reading the file from its first line.
    virtual QString BuscarTexto(int clave) = 0;
    // The same result, reading forward from the last line read when possible.
    virtual QString LeerTexto(int clave) = 0;
};

} // namespace qv

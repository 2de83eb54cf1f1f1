#pragma once

#include <QString>

namespace qv {

// Entries of the PC lists: a computer name, or an address entry "a.b.c.d (name)".
// The name used to reach a PC is the text before the "(", without the blanks around it.
QString NombreDeEntrada(const QString& entrada);

// "a.b.c.d (name)" from the four numbers of an IPv4 address and a name.
QString EntradaDireccion(const QString& a, const QString& b, const QString& c, const QString& d,
                         const QString& nombre);

// This PC's computer name as the operating system reports it.
QString NombreEsteEquipo();

} // namespace qv

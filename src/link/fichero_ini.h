#pragma once

#include <QByteArray>
#include <QString>

namespace qv {

// Initialisation-file text ("[Section]" lines, "key=value" lines) read and edited in
// memory, one key at a time. Sections and keys match without regard to case; lines
// starting with ";" are comments. The first occurrence of a key, in file order over
// every section of that name, is the one read and the one replaced, so reading and
// writing always agree on which line holds a value. Text is single-byte Latin-1.
namespace FicheroIni {

// The value of the key with blanks around it removed and one pair of enclosing quotes
// taken off; `hallado` false (and an empty result) when the file has no such key.
QString Leer(const QByteArray& texto, const QString& seccion, const QString& clave,
             bool* hallado = nullptr);

// The text with the key set to `valor`. Every other byte of the text stays as it is:
// the key's own line keeps its spelling, blanks and line end; a missing key goes
// after the last value line of the section's first occurrence, a missing section at
// the end of the text, both with the line end the text already uses (CR LF when it
// has none). Line breaks inside names or value are dropped so that a value can never
// add lines to the file.
QByteArray Escribir(const QByteArray& texto, const QString& seccion, const QString& clave,
                    const QString& valor);

} // namespace FicheroIni

} // namespace qv

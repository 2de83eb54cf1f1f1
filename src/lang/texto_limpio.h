#pragma once

#include <QByteArrayView>
#include <QString>

namespace qv {

// Longest text from a peer (a relay's greeting, a unit's version) that is shown.
inline constexpr qsizetype LargoTextoAjeno = 128;

// Text that came from the network or a device, made safe for a terminal, a window or
// a log: control characters (C0, DEL, C1, and the invisible format and line-separator
// characters), private-use characters, unassigned code points and lone surrogates are
// dropped, in every plane, and a text longer than `maximo` is cut and ends in "...".
// Every consumer of peer text goes through here, so an escape sequence or a
// megabyte-long name never reaches a screen.
QString TextoLimpio(const QString& texto, qsizetype maximo = LargoTextoAjeno);
// The same for Latin-1 bytes as they come off the wire.
QString TextoLimpio(QByteArrayView latin1, qsizetype maximo = LargoTextoAjeno);

} // namespace qv

#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

namespace qv {

class TInteraccion;
class TTextos;

// The companion's protocol commands:
//   decode FILE    the annotations of a decoding of the file's digital signals (the file's
//                  own decodings when no --decoder is given)
//   decoders [ID]  the library's decoders, or one decoder's channels, options and rows
//   protocol OUT.cfg   a capture that plays a UART message or an I2C write on the
//                  digital outputs and reads it back on the inputs (with its table files)
bool EsOrdenDecodificacion(const QString& orden);
// `args` with the command word first; answers the exit status (0, 1 after a numbered
// text on standard error, 2 for a bad command line).
int OrdenDecodificacion(const QStringList& args, TTextos& textos, TInteraccion& interaccion,
                        const QString& carpetaPrograma, std::FILE* salida, std::FILE* error);
QString UsoDecodificacion();

} // namespace qv

#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

namespace qv {

// Whole-file input and output of every file of the program.
//
// Writing goes to a temporary file in the target's folder that replaces the old
// file only when everything was written: a write that fails half-way (disk full,
// an error while producing the text) leaves the old file as it was.

// A save replaces only a regular file. A device, a named pipe, a socket or a folder at
// the target (or a symbolic link to one) is refused, never opened or written through:
// as root, replacing /dev/null by a file would break the whole machine.
//
// Whether `ruta` may be written by a save: nothing is there yet, or a regular file is
// (directly or as the target of a symbolic link).
bool DestinoReemplazable(const QString& ruta);
// Number of the text that tells the user a target was refused for not being a file.
inline constexpr int kTextoNoEsFichero = 286;

// Writes `datos` as the whole new content of `ruta`. False (and the reason in
// `error` when given) when the file could not be written; the old file is kept.
bool EscribirSeguro(const QString& ruta, const QByteArray& datos, QString* error = nullptr);

// The same with the content produced by `escribir` on the temporary file; an
// exception thrown by it cancels the write (old file kept) and is passed on.
bool EscribirSeguro(const QString& ruta, const std::function<void(QIODevice&)>& escribir,
                    QString* error = nullptr);

// Largest file any reader of the program accepts (a full signal file is about 15 MB).
inline constexpr qint64 TamanoMaximoFichero = 256ll * 1024 * 1024;

// Reads the whole file; false when it is not a regular file, is larger than
// TamanoMaximoFichero, or cannot be opened or read.
bool LeerFicheroEntero(const QString& ruta, QByteArray& datos);

} // namespace qv

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qv {

class TCjtSenales;
class TConfigES;
class TFicheroConfig;
class TOperaciones;

// The signal part of signal files (qvn): one block per signal, analog list first,
// each list from its head, then the closing lines with the set's comment.
// Samples and reals in the 23-character form, Latin-1, CR LF.

// Appends the 23-character real of signal files to `destino`: the same text as
// FormatoCientifico (formatos.h), made without allocations because a file holds up
// to a million of them.
void AnadirCientifico(QByteArray& destino, double valor);

// Appends the signal part of `senales` to `destino` (which holds the configuration
// part already). An empty set appends nothing.
void EscribirFichero(const TCjtSenales& senales, QByteArray& destino);

// Reads the signal part of a whole file into the set: each signal is inserted at the
// head of its list (so each list comes out reversed) through the set's name check,
// and the comment is replaced. A file without any signal block leaves the set as it
// is. Malformed text raises EErrorModelo (an unknown generator kind with key 122 or
// 123); the signals added before the error stay in the set for the caller to discard.
void LeerFichero(TCjtSenales& senales, const QByteArray& datos);

// Loads the first signal called `nombre` from a file, as `nuevoNombre`, into the set.
// False when the file holds no such signal. A file that cannot be read or a
// malformed block raises EErrorModelo.
bool LeerSenalDeFichero(TCjtSenales& senales, const QString& ruta, const QString& nombre,
                        const QString& nuevoNombre);
bool LeerSenalDeDatos(TCjtSenales& senales, const QByteArray& datos, const QString& nombre,
                      const QString& nuevoNombre);

// The complete signal file: the configuration part followed by the signal part,
// written safely (a failed write keeps the old file). EErrorModelo on failure.
void GuardarFicheroSenales(const QString& ruta, TFicheroConfig& ficheroConfig, const TConfigES& config,
                           const TOperaciones& operaciones, const TCjtSenales& senales);

// Opens a signal file: the configuration part with its operations, then, on a second
// pass over the same text, the signal part. The signals are read even when the
// configuration part cannot be: its reader has shown why and the answer is false, and
// what it filled of `config` and `operaciones` is the caller's to discard. A file that
// cannot be read and errors of the signal part raise EErrorModelo.
bool AbrirFicheroSenales(const QString& ruta, TFicheroConfig& ficheroConfig, TConfigES& config,
                         TOperaciones& operaciones, TCjtSenales& senales);

// The names of the signal blocks of a signal file's text, in file order, each once.
QStringList NombresSenales(const QByteArray& datos);

} // namespace qv

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qv {

class TCjtSenales;

// The text table of signal values ("Exportar TXT"): a title, a header with the
// sample number, the time and the signal names, then one row per sample of the
// newest analog signal (or of the newest digital one when there is no analog
// signal), every cell right-aligned in 10 characters with 4 decimals.
//
// `nombres` are the signals to export; empty means every analog signal followed by
// every digital one, in list order. Names the set does not hold are left out. A
// signal shorter than the table leaves its cells of the later rows blank (spaces,
// so the columns after it stay aligned); trailing blanks of a row are cut.
QByteArray ExportarTexto(const TCjtSenales& senales, const QStringList& nombres = {});

// Appends the table's notation of a value: the same text as FormatoExportacion
// (formatos.h), made without allocations for the million cells of a large table.
void AnadirExportacion(QByteArray& destino, double valor);

// A CSV field as it stands, or quoted (inner quotes doubled) when it holds a comma, a
// quote or a line end, or begins or ends with a blank.
QByteArray CitarCsv(const QByteArray& campo);

// Writes the table to a file, safely; false when it could not be written.
bool ExportarTextoFichero(const TCjtSenales& senales, const QString& ruta, const QStringList& nombres = {});

} // namespace qv

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qv {

class TCjtSenales;
class TTextos;
struct TTablaMedidas;

// Signal values as comma-separated text (RFC 4180): a header row "time" plus the
// signal names, then one row per sample of the longest exported signal, CR LF line
// ends. Times run from 0 as i x the first exported signal's period. Times and analog
// values are single precision in their shortest round-trip text with "." decimals;
// digital values are the stored bytes (0 or 1). A shorter signal leaves its later
// cells empty.
//
// `nombres` are the signals to write; empty means every analog signal followed by
// every digital one, in list order. Names the set does not hold are left out.
QByteArray ExportarCsv(const TCjtSenales& senales, const QStringList& nombres = {});

// The measurement table as CSV: its header row, then one row per signal with every
// value in full (15 significant digits), empty where a value is missing; CR LF ends.
QByteArray TablaMedidasCsv(const TTablaMedidas& tabla, TTextos& textos);

// One CSV field: quoted (inner quotes doubled) when it holds a comma, a quote, a
// line break or blanks at either end.
QByteArray CampoCsv(const QString& texto);

// Shortest text that reads back as the same float ("0.1", "-2.5", "1e-05").
QByteArray TextoFloat(float x);

} // namespace qv

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

class TCjtSenales;

// Value change dump (IEEE 1364) of signals, for waveform viewers and logic-analyser
// tools: a digital signal is a 1-bit wire, an analog one a real variable, under their
// names made into identifiers. Sample i of a signal is at time i x its period; after
// the header only the changes are written, and a last time stamp closes the last sample.
// Plain ASCII text with CR LF line ends like every file of the program (the format
// reads any blank as a separator).
struct TOpcionesVcd {
    QDateTime fecha = QDateTime::currentDateTime();
    QString version = QStringLiteral("Quorvane");
    QString modulo = QStringLiteral("senales");
};

// `nombres` are the signals to write, in that order; empty means every digital signal,
// then every analog one, in list order. Names the set does not hold and signals without
// samples are left out.
QByteArray ExportarVcd(const TCjtSenales& senales, const QStringList& nombres = {}, const TOpcionesVcd& opciones = {});

// Written safely (the old file stays when the write fails); false with the reason in
// `error` when given.
bool ExportarVcdFichero(const TCjtSenales& senales, const QString& ruta, const QStringList& nombres = {},
                        const TOpcionesVcd& opciones = {}, QString* error = nullptr);

// The time unit of the dump: 1, 10 or 100 of s, ms, us, ns, ps or fs. The largest one of
// which every period is a whole multiple; when there is none, the largest that still
// puts a million units into the shortest period (times then rounded to it).
struct TEscalaVcd {
    int multiplo = 1;  // 1, 10 or 100
    int exponente = 0; // 0, -3, -6, -9, -12 or -15
    double Segundos() const;
    QByteArray Texto() const; // "100 us"
};
TEscalaVcd EscalaVcd(const std::vector<double>& periodos);

} // namespace qv

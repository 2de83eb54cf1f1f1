#pragma once

// Serial protocols played by the digital outputs: the values of a digital table (one per
// sample, as the table generator gives them) that send a message as UART frames or as an
// I2C write, and a capture configuration that plays such tables on digital outputs and
// reads them back on the digital inputs they are wired to (the simulated unit loops each
// digital output back to the input of its number).

#include "model/config_es.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace qv {

class TTextos;

struct TTramaUart {
    double Baudios = 9600;
    int BitsDatos = 8;     // 5 to 9
    char Paridad = 'n';    // 'n' none, 'o' odd, 'e' even
    int BitsParada = 1;    // 1 or 2
};

// The line at each sample instant i x `periodo` (idle high): `reposo` idle bits, then
// one frame per byte (start bit, data bits from the least significant, parity, stop
// bits), then `reposo` idle bits. Empty for a period or a baud rate that is not positive.
std::vector<std::uint8_t> TablaUart(const QByteArray& datos, const TTramaUart& trama, double periodo,
                                    int reposo = 10);

// An I2C write as the master drives it: START, the 7-bit address with the write bit,
// every byte, STOP, each byte followed by a low acknowledge bit that stands for the
// device's (nothing else on the lines pulls them down). Each bit takes four quarters
// of at least one sample: data set while SCL is low, SCL high for two, SCL low again.
struct TTablasI2C {
    std::vector<std::uint8_t> Scl, Sda;
};
TTablasI2C TablaI2CEscritura(int direccion, const QByteArray& datos, double frecuenciaReloj, double periodo);

// The text of a digital table file: the count, then one value per line, CR LF.
QByteArray TextoTablaDigital(const std::vector<std::uint8_t>& valores);

// Sample count of a capture by the program's time-base rule for a period and an
// analysis time in milliseconds.
int MuestrasDeTiempos(double periodoMs, double analisisMs);

// One table on one digital output, read back on the digital input of the same number.
struct TSalidaTabla {
    int Numero = 1;          // 1 to 16
    QString Fichero;         // as the configuration names it (relative: the program folder)
    QString NombreSalida;    // channel names
    QString NombreEntrada;
};

// An immediate capture every `periodoUs` microseconds, long enough for `muestras`
// samples (whole milliseconds of analysis), that plays each table on its output and
// reads it back on its input; everything else inactive. NumMuestras follows the
// time-base rule (at least `muestras`).
TConfigES ConfiguracionTablas(TTextos& textos, const std::vector<TSalidaTabla>& salidas, int periodoUs,
                              int muestras);

// Pads a table with its last value (the idle level) to `n` values, so that it does not
// start again within a capture of `n` samples.
void CompletarTabla(std::vector<std::uint8_t>& valores, int n);

} // namespace qv

#pragma once

// Protocol decoding of digital signals, as data: what a decoding is made of (a decoder,
// the signals on its channels, its options, the decoders stacked on it), what a decoder
// offers (its channels, options and annotation rows, as the decoding library describes
// them), what a decoding gives (annotations by sample), and the signal file's block that
// keeps the decodings of a set. Nothing here talks to the library (decodificador.h does).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

class TCjtSenales;
class TLectorCampos;
class TTextos;

// Texts of the decoding's messages.
namespace clave_decod {
inline constexpr int kTextoSinBiblioteca = 608;   // the decoding library is not available
inline constexpr int kTextoFallo = 609;           // %1 decoder id, %2 the library's message
inline constexpr int kTextoSinCanal = 610;        // %1 channel, %2 decoder id
inline constexpr int kTextoFrecuenciaBaja = 611;  // %1 rate, %2 baud, %3 rate needed, %4 period (us)
inline constexpr int kTextoOpcionNoValida = 612;  // %1 option, %2 value
inline constexpr int kTextoPeriodosDistintos = 613;
inline constexpr int kTextoDemasiadosCanales = 614; // %1 the limit
inline constexpr int kTextoCanalDesconocido = 615;  // %1 channel, %2 decoder id
inline constexpr int kTextoDesconocido = 618;     // %1 decoder id
inline constexpr int kTextoSinSenal = 619;        // %1 signal name
} // namespace clave_decod

// One setting: an option id or a decoder channel id, and its value or signal name.
struct TAjusteDecod {
    QString Id;
    QString Valor;
    bool operator==(const TAjusteDecod&) const = default;
};

// A decoder stacked on the one below it, with its options.
struct TCapaDecod {
    QString Decodificador;
    std::vector<TAjusteDecod> Opciones;
    bool operator==(const TCapaDecod&) const = default;
};

// A decoding kept with the set: the decoder that reads the samples, the digital signal
// on each of its channels, its options (those not given take the library's default),
// and the decoders stacked on its output, bottom first.
struct TDecodificacion {
    QString Decodificador;
    std::vector<TAjusteDecod> Canales; // channel id -> signal name
    std::vector<TAjusteDecod> Opciones;
    std::vector<TCapaDecod> Apilados;

    bool operator==(const TDecodificacion&) const = default;
    // The signal on a channel; empty when none.
    QString SenalDe(const QString& canal) const;
    // The value of an option; empty when not given.
    QString Opcion(const QString& id) const;
    QStringList Senales() const;
    // "uart (rx=InDigA1, tx=InDigA2)": what lists and messages call it.
    QString Descripcion() const;
};

// ---- what the library offers -------------------------------------------------------

struct TCanalDecodificador {
    QString Id, Nombre, Descripcion;
    bool Obligatorio = false;
};

// Option kinds as the library types their defaults.
enum class TTipoOpcion { Entero, Real, Texto };

struct TOpcionDecodificador {
    QString Id, Descripcion;
    TTipoOpcion Tipo = TTipoOpcion::Texto;
    QString Defecto;
    QStringList Valores; // the only values allowed; empty: any of its kind
};

struct TFilaDecodificador {
    QString Id, Descripcion;
    std::vector<int> Clases;
};

struct TInfoDecodificador {
    QString Id, Nombre, NombreLargo, Descripcion;
    QStringList Entradas, Salidas;
    std::vector<TCanalDecodificador> Canales; // required first, then optional
    std::vector<TOpcionDecodificador> Opciones;
    std::vector<TFilaDecodificador> Filas;
    QStringList Clases, DescripcionClases; // annotation classes by index

    bool LeeMuestras() const { return Entradas.contains(QStringLiteral("logic")); }
    const TOpcionDecodificador* Opcion(const QString& id) const;
    const TCanalDecodificador* Canal(const QString& id) const;
};

using TCatalogoDecod = std::vector<TInfoDecodificador>;

const TInfoDecodificador* BuscarDecodificador(const TCatalogoDecod& catalogo, const QString& id);
// The decoders that read what `base` puts out, by name.
std::vector<const TInfoDecodificador*> Apilables(const TCatalogoDecod& catalogo, const TInfoDecodificador& base);
// Whether `valor` is a value of that option (a number of its kind, one of its list).
bool ValorValido(const TOpcionDecodificador& o, const QString& valor);

// ---- the samples a decoding reads ----------------------------------------------------

// The assigned signals packed one bit each into one byte per sample (bit k: Senales[k]).
struct TEntradaDecod {
    std::vector<std::uint8_t> Muestras;
    double Periodo = 0;
    QStringList Senales;
    std::vector<std::pair<QString, int>> Canales; // channel id -> bit
};

// A failure: the text and its arguments.
struct TFalloDecod {
    int Clave = 0;
    QStringList Argumentos;
    explicit operator bool() const { return Clave != 0; }
};
QString TextoFallo(const TFalloDecod& f, TTextos& textos);

inline constexpr int MaxCanalesDecod = 8;

// Packs the decoding's signals out of the set: every assigned name must be a digital
// signal of the set (SinSenal), at most eight of them (DemasiadosCanales), all of one
// sampling period (PeriodosDistintos); the samples run to the end of the shortest.
TFalloDecod PrepararEntrada(const TDecodificacion& d, const TCjtSenales& set, TEntradaDecod& entrada);

// The lowest sample rate that decodes `d`: three samples per bit for a decoder with a
// "baudrate" option (its value, or the library's default), else 0 (no rule).
inline constexpr int MuestrasPorBit = 3;
double FrecuenciaNecesaria(const TDecodificacion& d, const TInfoDecodificador& info);

// ---- what a decoding gives ------------------------------------------------------------

struct TFilaDecod {
    QString Decodificador; // the decoder of the stack it belongs to
    int Capa = 0;          // its place in the stack, 0 the bottom
    QString Id;            // the library's row id ("rx-data")
    QString Descripcion;   // ("RX")
    bool Apilada = false;  // of a stacked decoder
};

struct TAnotacionDecod {
    std::int64_t Desde = 0, Hasta = 0; // samples
    int Fila = 0;                       // index into TResultadoDecod::Filas
    int Clase = 0;                      // annotation class of its decoder
    QStringList Textos;                 // longest first
};

struct TResultadoDecod {
    std::vector<TFilaDecod> Filas;
    std::vector<TAnotacionDecod> Anotaciones; // by start sample
    double Periodo = 0;
    std::int64_t Muestras = 0;
    TFalloDecod Fallo;
    bool Cancelado = false;

    // Annotation class names of each decoder of the stack, bottom first.
    std::vector<QStringList> Clases;

    // Row id as the companion's CSV prints it: the row's own for the bottom decoder,
    // "decoder:row" for a stacked one.
    QString IdFila(int fila) const;
    // The library's name of the annotation's class ("rx-start", "rx-data").
    QString Clase(const TAnotacionDecod& a) const;
};

// The annotations as CSV (RFC 4180, CR LF): "start_s,end_s,row,text", times in seconds.
QByteArray CsvAnotaciones(const TResultadoDecod& r);

// ---- the signal file ------------------------------------------------------------------

// Appends the decodings' block (nothing when there are none). It goes after every other
// part of the file, so readers that do not know it never reach it.
void EscribirDecodificaciones(const std::vector<TDecodificacion>& d, QByteArray& destino);
// The decodings of a signal file's text, looked for from `desde` on; a damaged one is
// left out, never the signals.
std::vector<TDecodificacion> LeerDecodificaciones(const QByteArray& datos, qsizetype desde);

} // namespace qv

#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

class TTextos;
class TInteraccion;
class TLectorCampos;
class TCjtSenales;
class TConfigES;

// Analog output converter: codes -255..255 span -10..10 V.
inline constexpr double CuentasPorVoltio = 25.5;
inline constexpr int CodigoMaximo = 255;
// What the analog outputs can play: -10 V to +10 V.
inline constexpr double VoltiosSalida = CodigoMaximo / CuentasPorVoltio;

// Lowest and highest volts a generator drives its output to.
struct TPicos {
    double minimo = 0;
    double maximo = 0;
    // The one of the two farther from 0 (the level the user is told about).
    double Mayor() const;
};
// Whether a level, or both peaks, lie within the output's range; the unit clips
// anything beyond it.
bool DentroDeSalida(double voltios);
bool DentroDeSalida(const TPicos& picos);

// Unit codes of time values: 0 microseconds, 1 milliseconds, 2 seconds, 3 minutes
// (texts 193..196 of the language file).
namespace Unidad {
inline constexpr int Micro = 0;
inline constexpr int Mili = 1;
inline constexpr int Segundo = 2;
inline constexpr int Minuto = 3;
inline constexpr int Hora = 4;
} // namespace Unidad

// Unit word -> code: text 193 -> 0 ... text (193 + maximo) -> maximo; any other word 0.
int CodigoUnidad(TTextos& textos, const QString& palabra, int maximo);
// Code -> unit word (codes above 4 take the word of 4, below 0 that of 0).
QString PalabraUnidad(TTextos& textos, int codigo);
// A time value in the unit of `codigo` -> seconds; codes above 3 are taken as minutes.
double ASegundos(double valor, int codigo);

// Where table files without a folder are looked for, and where their load errors go.
struct TContextoTablas {
    TTextos& textos;
    TInteraccion& interaccion;
    QString carpetaPrograma;
};

// The kinds of generator, for whoever must tell them apart (the generator dialogs).
enum class TClaseGenerador { Seno, Rampa, Escalon, TablaAnalogica, Tren, Pulso, TablaDigital };

// One number a generator is made of, by the name of its field.
struct TParametroGenerador {
    const char* nombre;
    float valor;
};

class TGenerador {
public:
    virtual ~TGenerador() = default;

    // Kind name shown by the configuration window: "Seno", "Rampa", "Escalon",
    // "Tabla" (both table kinds), "Tren", "Pulso".
    virtual QString Tipo() const = 0;
    virtual TClaseGenerador Clase() const = 0;
    // Its own numbers besides the delay (a table has none: its values are its file's).
    virtual std::vector<TParametroGenerador> Parametros() const = 0;
    // Loads what the generator needs from files (a table's values): false after its
    // error box. Generators without files have nothing to load.
    virtual bool CargarTabla(int salida, const TContextoTablas& contexto)
    {
        (void)salida;
        (void)contexto;
        return true;
    }
    // The text record (kind word first, fields separated by one space, no "$").
    virtual QString Escribir(TTextos& textos) const = 0;

    std::uint8_t UnidadParametro = Unidad::Micro; // unit of the own time parameter
    float Retardo = 0;                            // seconds
    std::uint8_t UnidadRetardo = Unidad::Micro;   // unit the delay was entered in

protected:
    TGenerador() = default;
    TGenerador(const TGenerador&) = default;
    TGenerador& operator=(const TGenerador&) = default;
    void PonerUnidades(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro);
};

// Values are computed in extended precision and delivered as float. A value that
// is not finite raises EErrorCalculo.
class TGenAnalogico : public TGenerador {
public:
    virtual std::unique_ptr<TGenAnalogico> Copiar() const = 0;
    // The copy a signal keeps (a table without its values).
    virtual std::unique_ptr<TGenAnalogico> CopiaParaSenal() const { return Copiar(); }
    // Volts at time t (seconds from the start of the capture).
    virtual float Valor(double t) = 0;
    // Converter code at t: nearest integer to Valor(t) x 25.5, halves to even.
    virtual float Codigo(double t);
    virtual bool EsTabla() const { return false; }
    // The extreme levels at any instant of a capture, however long, the resting level
    // before the delay included.
    virtual TPicos Picos() const = 0;
};

class TGenDigital : public TGenerador {
public:
    virtual std::unique_ptr<TGenDigital> Copiar() const = 0;
    // The copy a signal keeps (a table without its values).
    virtual std::unique_ptr<TGenDigital> CopiaParaSenal() const { return Copiar(); }
    // Bit at time t.
    virtual std::uint8_t Valor(double t) = 0;
    virtual bool EsTabla() const { return false; }
};

class TGenSeno : public TGenAnalogico {
public:
    TGenSeno(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro,
             float retardo, float fase, float frecuencia, float offset, float amplitud);
    QString Tipo() const override { return QStringLiteral("Seno"); }
    TClaseGenerador Clase() const override { return TClaseGenerador::Seno; }
    std::vector<TParametroGenerador> Parametros() const override { return {{"Amplitud", Amplitud}, {"Offset", Offset}, {"Frecuencia", Frecuencia}, {"Fase", Fase}}; }
    QString Escribir(TTextos& textos) const override;
    std::unique_ptr<TGenAnalogico> Copiar() const override;
    float Valor(double t) override;
    TPicos Picos() const override;

    float Amplitud = 0, Offset = 0, Frecuencia = 0, Fase = 0;
};

class TGenRampa : public TGenAnalogico {
public:
    TGenRampa(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro,
              float tiempoRampa, float retardo, float offset, float amplitud);
    QString Tipo() const override { return QStringLiteral("Rampa"); }
    TClaseGenerador Clase() const override { return TClaseGenerador::Rampa; }
    std::vector<TParametroGenerador> Parametros() const override { return {{"Amplitud", Amplitud}, {"Offset", Offset}, {"TiempoRampa", TiempoRampa}}; }
    QString Escribir(TTextos& textos) const override;
    std::unique_ptr<TGenAnalogico> Copiar() const override;
    // Raises EErrorCalculo at t = Retardo when TiempoRampa is 0 (0/0).
    float Valor(double t) override;
    TPicos Picos() const override;

    float Amplitud = 0;    // final level
    float Offset = 0;      // initial level
    float TiempoRampa = 0; // in UnidadParametro
};

class TGenEscalon : public TGenAnalogico {
public:
    TGenEscalon(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro,
                float retardo, float amplitud, float offset);
    QString Tipo() const override { return QStringLiteral("Escalon"); }
    TClaseGenerador Clase() const override { return TClaseGenerador::Escalon; }
    std::vector<TParametroGenerador> Parametros() const override { return {{"Amplitud", Amplitud}, {"Offset", Offset}}; }
    QString Escribir(TTextos& textos) const override;
    std::unique_ptr<TGenAnalogico> Copiar() const override;
    float Valor(double t) override;
    TPicos Picos() const override;

    float Amplitud = 0, Offset = 0;
};

// Table kinds: `Posicion` is a cursor; each value request after the delay gives the
// next value and the table repeats. A table without values gives 0.
class TGenTablaAna : public TGenAnalogico {
public:
    TGenTablaAna(TTextos& textos, const QString& fichero, const QString& unidadRetardo, float retardo);
    QString Tipo() const override { return QStringLiteral("Tabla"); }
    TClaseGenerador Clase() const override { return TClaseGenerador::TablaAnalogica; }
    std::vector<TParametroGenerador> Parametros() const override { return {}; }
    QString Escribir(TTextos& textos) const override;
    std::unique_ptr<TGenAnalogico> Copiar() const override; // with the values, Posicion 0
    std::unique_ptr<TGenTablaAna> CopiaLigera() const;      // without the values
    std::unique_ptr<TGenAnalogico> CopiaParaSenal() const override { return CopiaLigera(); }
    bool EsTabla() const override { return true; }
    // 0 unless t > Retardo; then the next value.
    float Valor(double t) override;
    // Same as CodigoTabla.
    float Codigo(double t) override;
    // 0 when t < Retardo; then the next value x 25.5 rounded (halves to even).
    float CodigoTabla(double t);
    // Over the values loaded (none yet: the resting 0).
    TPicos Picos() const override;
    // Reads `Fichero` (a relative path is taken from the program folder and Fichero
    // becomes the full path); error box 184/185 when it cannot be opened.
    bool CargarTabla(int salida, const TContextoTablas& contexto) override;

    QString Fichero;
    int NumValores = 0;
    std::vector<float> Valores;
    int Posicion = 0;
};

class TGenTren : public TGenDigital {
public:
    TGenTren(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro,
             float tiempoOff, float tiempoOn, float retardo);
    QString Tipo() const override { return QStringLiteral("Tren"); }
    TClaseGenerador Clase() const override { return TClaseGenerador::Tren; }
    std::vector<TParametroGenerador> Parametros() const override { return {{"TiempoOn", TiempoOn}, {"TiempoOff", TiempoOff}}; }
    QString Escribir(TTextos& textos) const override;
    std::unique_ptr<TGenDigital> Copiar() const override;
    // A train whose period is 0 gives 1 after the delay.
    std::uint8_t Valor(double t) override;

    float TiempoOn = 0, TiempoOff = 0; // in UnidadParametro
};

class TGenPulso : public TGenDigital {
public:
    TGenPulso(TTextos& textos, std::uint8_t nivel, const QString& unidadParametro,
              const QString& unidadRetardo, float retardo);
    QString Tipo() const override { return QStringLiteral("Pulso"); }
    TClaseGenerador Clase() const override { return TClaseGenerador::Pulso; }
    std::vector<TParametroGenerador> Parametros() const override { return {{"Nivel", float(Nivel)}}; }
    QString Escribir(TTextos& textos) const override;
    std::unique_ptr<TGenDigital> Copiar() const override;
    std::uint8_t Valor(double t) override;

    std::uint8_t Nivel = 0; // 0 rising ("alto"), 1 falling ("bajo")
};

class TGenTablaDig : public TGenDigital {
public:
    TGenTablaDig(TTextos& textos, const QString& fichero, const QString& unidadRetardo, float retardo);
    QString Tipo() const override { return QStringLiteral("Tabla"); }
    TClaseGenerador Clase() const override { return TClaseGenerador::TablaDigital; }
    std::vector<TParametroGenerador> Parametros() const override { return {}; }
    QString Escribir(TTextos& textos) const override;
    std::unique_ptr<TGenDigital> Copiar() const override;
    std::unique_ptr<TGenTablaDig> CopiaLigera() const;
    std::unique_ptr<TGenDigital> CopiaParaSenal() const override { return CopiaLigera(); }
    bool EsTabla() const override { return true; }
    // Same as ValorTabla.
    std::uint8_t Valor(double t) override;
    // 0 when t < Retardo; then the next value.
    std::uint8_t ValorTabla(double t);
    // Error box 186/187 when the file cannot be opened; a value other than 0 or 1
    // answers false but loading goes on.
    bool CargarTabla(int salida, const TContextoTablas& contexto) override;

    QString Fichero;
    int NumValores = 0;
    std::vector<std::uint8_t> Valores;
    int Posicion = 0;
};

// Record readers: `tipo` is the kind word already read, the lector stands on the
// first field after it. The last field ends at "$" (consumed) or a space; a
// table's `Fichero` runs to "$" or the line end and may hold blanks. Tables are
// not loaded. An unknown kind answers nullptr (the caller reports text 122/123);
// a malformed number raises EErrorFormato.
bool EsTipoAnalogico(const QByteArray& tipo);
bool EsTipoDigital(const QByteArray& tipo);
std::unique_ptr<TGenAnalogico> LeerGenAnalogico(TTextos& textos, const QByteArray& tipo, TLectorCampos& lector);
std::unique_ptr<TGenDigital> LeerGenDigital(TTextos& textos, const QByteArray& tipo, TLectorCampos& lector);

// Adds one signal per active output of `config` with `n` samples computed from its
// generator: analog outputs 4..1, then digital outputs 16..1, each with AnadirAna /
// AnadirDig (so they end up in ascending order at the heads of the lists). Table
// values come from a fresh copy of the output's table (cursor at 0). Analog codes
// beyond +-255 are shown as +-10 V; the last sample is 0. Raises EErrorCalculo when
// a generator has no value at some instant (the signals added so far stay).
void SenalesDeSalidas(int n, TCjtSenales& senales, const TConfigES& config, TTextos& textos);

} // namespace qv

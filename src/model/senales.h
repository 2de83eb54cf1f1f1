#pragma once

#include "model/decodificacion.h"
#include "model/registro_ajuste.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

class TTextos;
class TInteraccion;
class TOperacion;
class TGenAnalogico;
class TGenDigital;
class TConfigES;

inline constexpr int MaxMuestras = 65535;

// Origin of a signal (Origen).
namespace OrigenSenal {
inline constexpr int Generador = 0;
inline constexpr int Operacion = 1;
inline constexpr int Calculada = 2;
inline constexpr int Captada = 3;
} // namespace OrigenSenal

// A named series of equally spaced samples; samples are allocated once at creation.
class TSenal {
public:
    virtual ~TSenal();
    TSenal(const TSenal&) = delete;
    TSenal& operator=(const TSenal&) = delete;

    // 0 generator, 1 operation, 2 calculated, 3 captured or loaded.
    virtual int Origen() const = 0;

    const QString& Nombre() const { return nombre_; }
    void PonerNombre(const QString& nombre) { nombre_ = nombre; }
    double Periodo() const { return periodo_; }
    int NumMuestras() const { return numMuestras_; }
    bool EsDigital() const { return esDigital_; }
    // Time of the last sample: NumMuestras x Periodo - Periodo.
    double Duracion() const;

    const TOperacion* Operacion() const { return operacion_.get(); }
    bool Calculada() const { return calculada_; }
    void PonerCalculada(bool c) { calculada_ = c; }

    int Canal = 0; // channel number in the unit, 0 when none

protected:
    TSenal(const QString& nombre, bool calculada, const TOperacion* operacion, bool tieneGenerador,
           int canal, double periodo, std::uint16_t numMuestras, bool digital);

    QString nombre_;
    double periodo_;
    std::uint16_t numMuestras_;
    bool esDigital_;
    bool calculada_;
    std::unique_ptr<TOperacion> operacion_;
};

class TSenalAna : public TSenal {
public:
    // A generator is kept as its own copy (a table without its values) and then
    // Calculada is false; otherwise an operation is copied and Calculada is false;
    // otherwise Calculada takes the given value. Unidad starts as text 199.
    TSenalAna(TTextos& textos, const QString& nombre, bool calculada, const TOperacion* operacion,
              const TGenAnalogico* generador, int canal, double periodo, std::uint16_t numMuestras);
    // The same with the unit name given.
    TSenalAna(const QString& unidad, const QString& nombre, bool calculada, const TOperacion* operacion,
              const TGenAnalogico* generador, int canal, double periodo, std::uint16_t numMuestras);
    ~TSenalAna() override;

    int Origen() const override;

    // Stores the sample and follows it with Minimo and Maximo.
    void PonerMuestra(int i, float x);
    float LeerMuestra(int i) const { return muestras_[i]; }
    const std::vector<float>& Muestras() const { return muestras_; }

    void PonerDatosSenal(const QString& unidad, float fondoEscala, float factor);
    struct TDatos {
        float fondoEscala;
        float factor;
        QString unidad;
    };
    TDatos DatosSenal() const { return {FondoEscala, Factor, Unidad}; }

    struct TEstadisticas {
        float maximo;
        float minimo;
        float media; // single-precision sum / NumMuestras (0 without samples)
    };
    TEstadisticas Estadisticas() const;
    // Trapezoid rule; one sample counts as both ends.
    float Area() const;

    const TGenAnalogico* Generador() const { return generador_.get(); }

    float Maximo = -10;
    float Minimo = 10;
    float FondoEscala = 0;
    float Factor = 1.0f;
    QString Unidad;

private:
    std::vector<float> muestras_;
    std::unique_ptr<TGenAnalogico> generador_;
};

class TSenalDig : public TSenal {
public:
    TSenalDig(const QString& nombre, bool calculada, const TOperacion* operacion,
              const TGenDigital* generador, int canal, double periodo, std::uint16_t numMuestras);
    ~TSenalDig() override;

    int Origen() const override;

    void PonerMuestra(int i, std::uint8_t x) { muestras_[i] = x; }
    std::uint8_t LeerMuestra(int i) const { return muestras_[i]; }
    const std::vector<std::uint8_t>& Muestras() const { return muestras_; }

    // Runs of 1 (or of 0) followed by a different sample; an open last run does not count.
    int NumPulsosAlto() const;
    int NumPulsosBajo() const;

    const TGenDigital* Generador() const { return generador_.get(); }

private:
    std::vector<std::uint8_t> muestras_;
    std::unique_ptr<TGenDigital> generador_;
};

// A text note put on a signal window's graph, anchored to data coordinates. It belongs to
// the windows of one kind (analog or digital) that plot against the same X: time (EjeX
// empty) or the analog signal named EjeX.
struct TAnotacion {
    bool Digital = false;
    QString EjeX;
    float X = 0;
    float Y = 0;
    QString Texto;
};

// All signals of one capture or file: analog and digital lists, newest first,
// names unique across both, a comment and automatic naming.
class TCjtSenales {
public:
    TCjtSenales(TTextos& textos, TInteraccion& interaccion);
    ~TCjtSenales();
    TCjtSenales(const TCjtSenales&) = delete;
    TCjtSenales& operator=(const TCjtSenales&) = delete;

    // Frees every signal and clears the comment and the notes.
    void Vaciar();

    // Checks the name (ComprobarNombre, which may change it) and inserts the signal
    // at the head of its list; answers whether it was added (when not, it is freed).
    bool AnadirAna(std::unique_ptr<TSenalAna> senal);
    bool AnadirDig(std::unique_ptr<TSenalDig> senal);
    // Moves every signal of `otro` in, oldest first, each through AnadirAna/AnadirDig
    // (so this set's naming and clash questions apply); `otro` is left empty.
    void AnadirDe(TCjtSenales& otro);

    // Automatic naming suffix, then the clash question while the name exists:
    // "Sobreescribir" removes both signals of that name (true), "Cambiar Nombre" asks
    // for a new name and checks again, "No incluir la señal" answers false; any other
    // answer repeats the question, except that two answers of Respuesta::Ninguna in a
    // row (a seam that cannot ask) count as "No incluir la señal". A cancelled
    // rename ("Omitir") asks the question again with the name unchanged.
    bool ComprobarNombre(QString& nombre);

    // Whether the name exists in either list; leaves that list's cursor on it.
    bool Existe(const QString& nombre);
    TSenalAna* BuscarAna(const QString& nombre) const;
    TSenalDig* BuscarDig(const QString& nombre) const;
    int PosicionAna(const QString& nombre) const; // 1-based, 0 when absent
    int PosicionDig(const QString& nombre) const;
    bool BorrarAna(const QString& nombre);
    bool BorrarDig(const QString& nombre);
    bool RenombrarAna(const QString& viejo, const QString& nuevo);
    bool RenombrarDig(const QString& viejo, const QString& nuevo);
    void NombresAna(QStringList& lista) const;
    void NombresDig(QStringList& lista) const;
    QStringList NombresAna() const;
    QStringList NombresDig() const;
    int NumAna() const { return int(ana_.size()); }
    int NumDig() const { return int(dig_.size()); }
    bool Vacio() const { return ana_.empty() && dig_.empty(); }

    // Cursor iteration: Primero* put the cursor at the head; Siguiente* give the
    // signal under it and advance, or nullptr at the end.
    void PrimeroAna() { cursorAna_ = 0; }
    void PrimeroDig() { cursorDig_ = 0; }
    TSenalAna* SiguienteAna();
    TSenalDig* SiguienteDig();
    // Signal under the cursor without advancing (nullptr at the end).
    TSenalAna* ActualAna() const;

    // Direct access in list order (0 = newest).
    TSenalAna* Ana(int i) const { return ana_[i].get(); }
    TSenalDig* Dig(int i) const { return dig_[i].get(); }

    bool NombradoAuto() const { return nombradoAuto_; }
    void PonerNombradoAuto(bool b) { nombradoAuto_ = b; }
    int NumCaptura = 0;
    // Protocol decodings of the digital windows, kept in the file with the signals.
    std::vector<TDecodificacion> Decodificaciones;

    // Whether the newest signal matches the configuration's time base. True for a
    // set without signals.
    bool CompatibleCon(const TConfigES& config) const;

    QStringList Comentario;
    // Text notes of the windows, kept with the signals in their file.
    std::vector<TAnotacion> Anotaciones;
    // Curve fits of signals of the set, kept in its file with them.
    std::vector<TRegistroAjuste> Ajustes;

    TTextos& Textos() const { return textos_; }
    TInteraccion& Interaccion() const { return interaccion_; }

private:
    TTextos& textos_;
    TInteraccion& interaccion_;
    std::vector<std::unique_ptr<TSenalAna>> ana_; // newest first
    std::vector<std::unique_ptr<TSenalDig>> dig_;
    std::size_t cursorAna_ = 0;
    std::size_t cursorDig_ = 0;
    bool nombradoAuto_ = false;
};

} // namespace qv

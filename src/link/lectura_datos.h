#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

class TCjtSenales;
class TComCapvis;
class TConfigES;
class TSenalAna;
class TSenalDig;

// The read-back of a capture ("9#") as an incremental parser. Each Paso sends the
// request when one is due, or takes once what the port has received (never waiting)
// and parses the whole fields among it. The layout is the protocol object's snapshot
// (GrupoActivo, EntradaDigital); names, ranges and factors come from the
// configuration, which must outlive the parser.
//
// Rules of a reply: the first field is "&" and the sample count N (at most 65535);
// "&0", no active group or N = 0 end it there with data. N is checked against the
// capture programmed (the snapshot's count, else the configuration's): a finished
// capture has exactly that many samples, one still running at most that many. Any
// other count is an answer to some other command, not samples: the attempt breaks. Then N x (active groups)
// numbers: digital words 0 to 255, analog counts; the last one ends in "#". A cut,
// a field that is not a number, a word out of range, an early "#", more fields than
// expected or a silence breaks the attempt: nothing of it is kept, the rest of the
// reply is drained, and "9#" goes out again, three attempts in all.
//
// Silence is measured on the link's clock: an attempt fails when nothing has arrived
// for the polling passes of the field reader (TComCapvis::Intentos passes of 10 ms)
// and as many receives in a row came back empty (over TCP each may wait up to the
// port's read time).
class TLecturaDatos {
public:
    enum class TResultado {
        Sigue,     // call Paso again (after EsperaSugerida)
        Hecha,     // ended: Datos tells whether a valid reply came
        SinEnvio,  // the request could not go out
        Cancelada, // Cancelar; the protocol object drains what the unit still sends
    };
    static constexpr int NumIntentos = 3;
    static constexpr int MaxCampo = 32;           // longer text without separator is no field
    static constexpr int PausaSinDatos = 10;      // ms between receives that find nothing

    // `terminada`: the capture has ended (state 3), so every programmed sample is there.
    TLecturaDatos(TComCapvis& com, const TConfigES& config, bool terminada = true);
    ~TLecturaDatos();
    TLecturaDatos(const TLecturaDatos&) = delete;
    TLecturaDatos& operator=(const TLecturaDatos&) = delete;

    TResultado Paso();
    // Milliseconds until the next Paso is useful: 0 while bytes are coming.
    int EsperaSugerida() const;
    // Stops reading: the next step answers Cancelada, and the rest of the reply is left
    // to the protocol object to drain (TComCapvis::PorDrenar).
    void Cancelar();

    bool Datos() const { return Datos_; }
    int Muestras() const { return Muestras_; }
    // Sample fields of the current attempt: received, and expected once the count
    // has come (0 before).
    qint64 Recibidos() const { return Recibidos_; }
    qint64 Esperados() const { return Esperados_; }
    int Intento() const { return Intento_; }

    // Moves the signals of the complete reply into the set: digital inputs of a group
    // from the highest number down, group B before group A, then analog inputs 8 to 1.
    void Entregar(TCjtSenales& senales);

private:
    enum class TEstado { Pedir, Cabecera, Campos, Drenar, Hecha, SinEnvio, Cancelada };

    TResultado Resultado() const;
    void Pedir();
    void Recibir();
    // One receive: true when something came; `perdido`: the port closed under it.
    bool Trozo(QByteArray& rec, bool& perdido);
    void Drenar();
    void Analizar();
    void Cabecera(const char* campo, qsizetype largo, char separador);
    void Romper(bool hastaFin);
    void FinIntento();
    void Completar();
    bool Silencio() const;

    TComCapvis& Com;
    const TConfigES& Config;
    bool Terminada;
    TEstado Estado = TEstado::Pedir;
    int Intento_ = 0;
    bool SinPausa = false;    // the next receive is worth making at once
    int Vacios = 0;           // empty receives in a row
    qint64 UltimoDato = 0;    // tick of the last bytes received

    bool Datos_ = false;
    int Muestras_ = 0;
    qint64 Recibidos_ = 0;
    qint64 Esperados_ = 0;

    // Layout and samples of the attempt.
    std::vector<int> Grupos;  // active groups in reply order
    std::size_t Grupo = 0;    // position in Grupos of the next field
    int Muestra = 0;          // sample of the next field
    std::array<std::unique_ptr<TSenalAna>, 8> Ana;
    std::array<double, 8> Escala{};
    std::array<double, 8> Factor{};
    std::array<std::vector<std::uint8_t>, 2> Palabras;
    std::vector<std::unique_ptr<TSenalDig>> Dig;
};

} // namespace qv

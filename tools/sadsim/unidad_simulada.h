#pragma once

#include "circuito.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <vector>

namespace qv {

// Faults the simulated unit can pose for tests of the program's error paths.
enum class TFalloUnidad {
    Ninguno,
    Silencio, // consumes commands, never answers
    Basura,   // answers noise instead of each reply
    Corte,    // every reply is cut in the middle
    Lento,    // every reply leaves late (longer than the program's ack wait)
    Atasco    // once, in the middle of its capture, the unit stops talking for a while
};

bool LeerFallo(const QString& texto, TFalloUnidad& fallo);

// Levels some outputs take whenever a capture is programmed, held until the capture
// plays them (or all through it, for an output it does not play).
struct TReposoSalidas {
    std::array<bool, 4> analogica{};          // analog outputs 1-4 given
    std::array<int, 4> cuentas{};             // their levels, counts (25.5 a volt)
    std::array<std::uint8_t, 2> mascara{};    // digital outputs 1-8, 9-16 given, one bit each
    std::array<std::uint8_t, 2> nivel{};      // their levels
};

// "a1=5,d1=1,d9=0": analog output N (1-4) in volts (-10 .. 10, to the outputs' step),
// digital output N (1-16) at 0 or 1. Adds to `reposo`; false with the reason in `error`
// (and `reposo` untouched) for anything else.
bool LeerReposo(const QString& texto, TReposoSalidas& reposo, QString& error);

struct TOpcionesUnidad {
    QByteArray version = "1.21";
    double velocidad = 1.0;                    // unit seconds per real second
    TFalloUnidad fallo = TFalloUnidad::Ninguno;
    std::int64_t retrasoLentoUs = 1500000;     // real time, for TFalloUnidad::Lento
    std::int64_t atascoUs = 3500000;           // real time, for TFalloUnidad::Atasco
    std::uint32_t semilla = 1;                 // noise of TFalloUnidad::Basura
    TReposoSalidas reposo;                     // none: outputs keep their level when armed
};

// The unit's side of the command protocol. It consumes bytes as they arrive from
// the line and produces reply bytes, on a clock the caller supplies (real-time
// microseconds; the unit's own time runs `velocidad` times faster). Nothing here
// touches a terminal or a timer, so it runs the same under a pseudo-terminal
// driver and under tests that feed it bytes one by one.
//
// Inputs wired inside the unit:
//   analog inputs 1-4   <- analog outputs 1-4 (counts c -> c / 25.5 V)
//   analog input 5      <- sine, 2 V amplitude, 1 Hz
//   analog input 6      <- triangle, -4 V .. 4 V, 0.5 Hz (rising from -4 V at t = 0)
//   analog input 7      <- square, 3 V for the first half of each 0.5 s, else 0 V
//   analog input 8      <- constant 1 V
//   digital inputs 1-8  <- digital outputs 1-8
//   digital inputs 9-16 <- digital outputs 9-16 while port v drives them, else a count:
//                          binary, one step every 10 ms from 0 at t = 0; input 9 is its
//                          lowest bit, a 50 Hz square wave high in the second 10 ms of each
//                          20 ms; input 10 at 25 Hz; ... input 16 at 0.39 Hz
// Waveform time is the unit's time since power-on.
// Port v drives its inputs from the first command 5 that names it or the first capture
// programmed that plays it, and always when TOpcionesUnidad::reposo gives one of its
// outputs a level. The command 5 that turns every output off (all six groups at 0, as a
// program does when it lets the unit go) leaves it undriven again, as at power-on.
//
// Answers: "1#" -> "&" version "," 126974 "#" (memory in bytes, two per word);
// "2#" -> "&" state "#"; "4,...#" -> "&0#"; "9#" -> "&" n "," values "#" with the
// samples taken so far (states 2 and 3; values per sample in the order A, B, analog
// 1..8 of the programmed groups; "&" n "#" when no input group is programmed), else
// "&0#"; "10#" -> "&" k "," latest value per group "#" while capturing, else "&0#".
// Commands 3, 5, 6, 7, 8, 12, 13 answer "&". A command the unit cannot take
// (malformed, unknown, or a capture that does not fit the memory) gets no answer
// and changes nothing. Replies leave in the order of their commands: one that is late
// holds back those behind it, as on a serial line. Outputs play from the first sample of a capture; outside a
// capture they hold the levels of command 5 or the last sample played. When a capture is
// programmed, the outputs given in TOpcionesUnidad::reposo step to those levels, and a
// trigger watches from the levels held just before: a step that crosses it fires it there.
class TUnidadSimulada {
public:
    static constexpr int Capacidad = 63487;       // sample memory, words
    static constexpr int BufferAntiguo = 512;     // input buffer of old firmware, bytes
    static constexpr std::int64_t PausaAntiguoUs = 20000; // a gap that lets old firmware drain it
    static constexpr int MaxComando = 4 * 1024 * 1024;

    explicit TUnidadSimulada(TOpcionesUnidad opciones = {});

    // Bytes arrived from the line at real time `ahoraUs` (never decreasing).
    void Recibir(const QByteArray& datos, std::int64_t ahoraUs);
    // Lets the unit's time reach `ahoraUs`: delays, triggers and sampling.
    void Avanzar(std::int64_t ahoraUs);
    // Reply bytes due by `ahoraUs`.
    QByteArray TomarSalida(std::int64_t ahoraUs);
    bool HaySalidaPendiente() const { return !salida_.empty(); }

    // Observation for drivers and tests.
    int Estado() const { return estado_; }
    int MuestrasTomadas() const { return tomadas_; }
    int BytesPerdidos() const { return perdidos_; }
    int ComandosRechazados() const { return rechazados_; }
    bool FirmwareAntiguo() const;
    // Current value of an output group (0 u, 1 v, 2..5 w..z) as played now.
    int ValorSalida(int grupo) const;

    // A circuit between analog output 1 and analog input 2, which then reads the
    // circuit's output instead of the loop-back of output 2 (input 1 keeps its loop-back).
    void PonerCircuito(std::unique_ptr<TCircuito> circuito);

private:
    // Input groups, in the order of the read-back: A, B, analog 1..8.
    static constexpr int NumGrupos = 10;
    // Output groups u, v, w, x, y, z.
    static constexpr int NumSalidas = 6;

    struct TPrograma {
        bool disparo = false;     // command 6, otherwise 7
        int n = 0;
        std::array<bool, NumGrupos> grupo{};
        std::array<bool, 4> diferencial{}; // pairs 1-2, 3-4, 5-6, 7-8 as listed by k..n
        std::array<bool, NumSalidas> salida{};
        std::array<std::vector<int>, NumSalidas> muestras;
        // trigger: canal 0 A, 1 B, 2..9 analog 1..8, 10..13 pairs
        int canal = 0;
        int nivel = 0;
        int bit = 0;
        int flanco = 1;           // wire code: 1 rising, 0 falling, 2 both
        double retardoUs = 0;     // unit time
        double periodoUs = 0;     // unit time
    };

    void ProcesarByte(char c, std::int64_t ahoraUs);
    void Ejecutar(const QByteArray& comando, std::int64_t ahoraUs);
    void Responder(QByteArray texto, std::int64_t ahoraUs);

    bool ComandoEntradas(const QList<QByteArray>& campos);
    bool ComandoSalidasFijas(const QList<QByteArray>& campos);
    bool ComandoPrograma(const QList<QByteArray>& campos);
    bool ComandoConmutar(const QList<QByteArray>& campos, bool encender);
    QByteArray RespuestaDatos() const;
    QByteArray RespuestaMonitor() const;

    void Empezar(double tInicio);
    void TomarMuestra(int k);
    void Terminar();
    void VigilarDisparo(double hasta);

    double TiempoUnidad(std::int64_t ahoraUs) const;
    int SalidaEn(int g, int k) const;       // programmed value k with the switch mask
    int SalidaAhora(int g, double t) const; // what output g plays at unit time t
    double VoltiosEntrada(int entrada, double t) const; // analog input 1..8
    int CuentasCanal(int canal, double t) const;        // canal 2..13 as in TPrograma
    int PalabraDigital(int grupo, double t) const;      // 0 A, 1 B
    bool Conduce(int puerto) const;                     // digital input port 0 A, 1 B
    int ValorDisparo(double t) const;                   // what the trigger watches, at t

    // The circuit brought up to unit time t, the output as it was played until then.
    void AvanzarCircuito(double t) const;

    TOpcionesUnidad op_;
    std::mt19937 azar_;
    std::unique_ptr<TCircuito> circuito_;

    // line and framing
    QByteArray comando_;
    bool descartando_ = false;
    std::int64_t ultimaLlegada_ = -1;
    int enRafaga_ = 0;
    bool desbordado_ = false;
    int perdidos_ = 0;
    int rechazados_ = 0;
    bool atascada_ = false;
    std::int64_t ahoraReal_ = 0;
    std::int64_t origenReal_ = -1;

    struct TEnvio {
        std::int64_t cuando;
        QByteArray texto;
    };
    std::deque<TEnvio> salida_;

    // analog input range digits (0..5) from command 3
    std::array<int, 8> rango_{};
    // levels of outputs outside a capture
    std::array<int, NumSalidas> fijo_{};
    // switch state of outputs during a capture (commands 12/13)
    std::array<std::uint8_t, 2> mascaraDig_{{0xFF, 0xFF}};
    std::array<bool, 4> analogicaOn_{{true, true, true, true}};
    // port v given a level since power-on or the last all-off command 5
    bool conducidaV_ = false;

    int estado_ = 0;
    TPrograma prog_;
    double tProgramado_ = 0;
    double tInicio_ = 0;
    double tEvaluado_ = 0;
    bool hayPrevio_ = false;
    int previo_ = 0;
    int tomadas_ = 0;
    std::vector<std::int16_t> datos_; // tomadas_ x active groups
    int gruposActivos_ = 0;
};

} // namespace qv

#pragma once

#include "link/lectura_datos.h"
#include "link/servicio_sad.h"
#include "model/config_es.h"
#include "model/operaciones.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

namespace qv {

class TCjtSenales;
class TComCapvis;
class TInteraccion;
class TTextos;

// One capture on the unit as a step object: check the state, program the capture,
// write "Programa.cfg", wait for the end, read the samples back, add the output
// signals and recompute the operations, into a set of its own. The caller drives it:
// Paso does a bounded slice of work (at most one protocol exchange with its bounded
// wait, or the bytes of the read-back that have arrived) and never sleeps;
// EsperaSugerida says when the next step is useful. The program runs it on the device
// thread (TServicioSAD); the companion calls it in a loop, sleeping in between.
class TSecuenciaCaptura : public TConversacion {
public:
    enum class TModo {
        Completa,       // state, programming, Programa.cfg, wait, read-back, signals
        EsperaYLectura, // a capture programmed earlier: wait for its end and read it
        SoloEspera,     // wait for the end only
        SoloLectura,    // the read-back of the program's "Leer": state 3, then read
        Comprobar,      // the state, the decision about a capture the unit holds, the abort
        SoloProgramar,  // programming and Programa.cfg only
    };
    enum class TTipo {
        Inmediata, // command 7 with no delay
        Retardada, // command 7 with the configuration's Retardo
        Trigger,   // command 6 with the protocol object's trigger record
    };
    enum class TFase {
        Estado,     // asking the unit's state
        Decision,   // the unit holds a capture: the caller decides (Seguir, Cancelar)
        Abortar,    // aborting the capture the unit holds
        Programar,  // sending the capture
        Esperar,    // polling the state until the end
        Leer,       // reading the samples back
        Cancelando, // draining the rest of a reply after Cancelar
        Derivar,    // adding the input, output and derived signals
        Terminada,
        Fallida,
        Cancelada,
    };
    // Polling the unit while a capture runs: never busier than every 50 ms, never
    // lazier than every half second; a hundred polls over the capture in between.
    static constexpr int PausaMinima = 50;
    static constexpr int PausaMaxima = 500;
    // How long past its own duration a capture may take before we give up on it.
    static constexpr double HolguraSegundos = 10;
    static constexpr double HolguraRelativa = 0.1;
    // Failed state queries in a row that end the wait.
    static constexpr int FallosEstado = 3;
    static constexpr int PausaPreparando = 500; // ms between queries to a relay getting ready

    // `config` and `operaciones` are copied: the capture keeps what was programmed.
    // `carpetaPrograma` holds "Programa.cfg" (and the tables of generators named
    // without a folder).
    TSecuenciaCaptura(TConfigES config, TOperaciones operaciones, TTextos& textos, QString carpetaPrograma,
                      TModo modo = TModo::Completa, TTipo tipo = TTipo::Inmediata);
    ~TSecuenciaCaptura();
    TSecuenciaCaptura(const TSecuenciaCaptura&) = delete;
    TSecuenciaCaptura& operator=(const TSecuenciaCaptura&) = delete;

    // Before the first step of a read-back after a restart: the reply's layout is
    // restored from the configuration last programmed (read from "Programa.cfg").
    void PonerPrograma(const TConfigES& programa) { Programa_ = programa; }
    // Before a triggered capture is programmed.
    void PonerTrigger(const TTrigger& trigger) { Trigger = trigger; }

    TPaso Paso(TComCapvis& com) override;
    int EsperaSugerida() const override;
    // Stops at the next step; the set is left as it was. A read-back drains the rest of
    // the reply first, and the unit keeps its data; a wait for the end aborts the
    // capture first (command 8, outputs to zero), so the unit is left free.
    void Cancelar() override;
    // At TPaso::Decidir: go on, aborting the unit's capture first when asked.
    void Seguir(bool abortarAntes);
    // At TPaso::Decidir: "Sí" goes on (aborting a programmed capture first), anything
    // else cancels.
    void Responder(int respuesta) override;
    TAvance Avance() const override;

    TFase Fase() const { return Fase_; }
    int EstadoUnidad() const { return Estado; } // last state read, -1 before
    int ClaveFallo() const override { return Clave; }
    // Read-back progress (sample fields) and the unit's sample progress while it captures.
    qint64 Recibidos() const;
    qint64 Esperados() const;
    int ProgresoUnidad() const { return Progreso; }
    int MuestrasCaptura() const { return Config.NumMuestras; }
    qint64 TiempoEsperando() const; // ms since the wait began
    int Muestras() const { return N; }  // samples read back
    const TConfigES& Configuracion() const { return Config; }
    // Where "Programa.cfg" was written, empty when it was not.
    const QString& RutaPrograma() const { return Programa; }
    // The signals read back, once Terminada: a set of their own, named as configured
    // (the caller moves them into its set with TCjtSenales::AnadirDe).
    std::unique_ptr<TCjtSenales> TomarSenales();

    // Writes the configuration last programmed as "Programa.cfg": in the program
    // folder, or in the per-user configuration folder when that cannot be written.
    // Answers the path written, empty when neither could be.
    static QString GuardarPrograma(const TConfigES& config, const TOperaciones& operaciones, TTextos& textos,
                                   TInteraccion& interaccion, const QString& carpetaPrograma);
    // The "Programa.cfg" a read-back should use: the newer of the two folders' files,
    // empty when there is none.
    static QString BuscarPrograma(const QString& carpetaPrograma);

private:
    void PasoEstado();
    void PasoAbortar();
    void PasoProgramar();
    void EmpezarEspera();
    void PasoEsperar();
    void PasoLeer();
    void PasoDerivar();
    void Fallar(int clave);
    TPaso Resultado() const;

    TComCapvis* Com = nullptr; // of the step being made
    TConfigES Config;
    TOperaciones Operaciones;
    TTextos& Textos;
    QString Carpeta;
    TModo Modo;
    TTipo Tipo;

    TFase Fase_;
    bool Cancelar_ = false;
    int Estado = -1;
    int Clave = 0;
    int N = 0;
    QString Programa;
    std::optional<TConfigES> Programa_;
    TTrigger Trigger;
    int Progreso = 0;
    std::unique_ptr<TCjtSenales> Nuevas;
    // Give-up limit of the wait in ms from its start (0: none), set when the wait starts:
    // the capture's duration plus a margin; none for a triggered capture, whose start is
    // the unit's to wait for.
    std::optional<qint64> LimiteEspera;
    bool EsperaEmpezada = false;
    qint64 InicioEspera = 0;
    qint64 ProximaConsulta = 0;
    int Pausa = PausaMinima;
    int Fallos = 0;
    int ClaveFallos = 125; // the most telling reason of the current run of failed reads
    qint64 InicioPreparando = -1; // since when the relay has been getting ready, -1 when not
    std::unique_ptr<TLecturaDatos> Lectura;
};

} // namespace qv

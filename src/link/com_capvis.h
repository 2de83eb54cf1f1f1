#pragma once

#include "link/com.h"
#include "model/config_es.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace qv {

class TTextos;
class TInteraccion;
class TReloj;
class TCjtSenales;
class TConfigES;

// The unit's capture state, as it answers "2#" (an int on the wire and in replies).
enum TEstadoSAD : int { SadLibre = 0, SadProgramada = 1, SadCapturando = 2, SadConDatos = 3 };

// Connecting to the unit failed: no greeting, no answer, unknown host (language text
// 273), or the relay has no slot left for this PC (304).
class ENoHaySAD : public std::runtime_error {
public:
    ENoHaySAD(int clave, const QString& mensaje)
        : std::runtime_error(mensaje.toStdString()), Clave(clave), Mensaje(mensaje) {}
    int Clave;
    QString Mensaje;
};

// What a triggered capture starts on: an analog level on an input, or an edge of a
// digital input.
struct TTrigger {
    std::uint8_t Tipo = 0;   // 0 analog, 1 digital
    char Canal = 'c';        // input letter; 'a' or 'b' for a digital group
    std::uint8_t Bit = 0;    // digital input within its group
    std::int32_t Nivel = 0;  // analog level in converter counts
    std::uint8_t Flanco = 0; // 0 rising, 1 falling, 2 both
};

// The progress window of programming and read-back; capture windows implement it.
class TProgresoCaptura {
public:
    virtual ~TProgresoCaptura() = default;
    virtual void Esperando() = 0; // waiting for the unit
    virtual void Enviando() = 0;  // sending a command
    virtual void Hecho() = 0;     // command accepted
    virtual void Leyendo() = 0;   // reading samples back
};

// What the protocol object knows of the unit and of the link, as one copy: all that the
// rest of the program reads of it (the window thread gets one from the device thread
// when each conversation ends).
struct TInfoSAD {
    bool EsTcp = false;
    QString Version;
    int Memoria = 0;
    int Capacidad = 63487;
    QString Servidor;
    QString PCPropietario;
    QString PCLocal;
    bool CapturaLeida = false;
    TDescriptorCaptura Descriptor;
    std::array<std::int32_t, 10> UltimoValor{};
    std::int32_t MuestrasLeidas = 0;
    bool SinUnidad = false;
    bool SinPlazas = false;
    double EscalaEntrada = 10.0 / 2048;

    bool EsteEquipoLaTiene() const { return PCPropietario == PCLocal; }
};

// The one object through which the program talks to the unit: the unit's ASCII
// command language over the current port. Every operation that talks to the unit
// answers false on any failure of the port (EComPort) or of a reply; only Conectar
// raises one (ENoHaySAD). Whatever else is thrown is no link failure and goes through.
class TComCapvis {
public:
    static constexpr char MarcaNada = char(216);   // LeerCaracter: nothing received
    static constexpr int Intentos = 11;            // tries of every polling wait
    static constexpr int MaxRespuesta = 4096;      // longest reply of a query
    static inline const QByteArray SalidasACero = QByteArrayLiteral("5,U,0,V,0,W,0,X,0,Y,0,Z,0#");
    // ms the relay's greeting is waited for: ten pauses of a second after the first receive.
    static constexpr int EsperaSaludo = 10000;
    // Text for a command that failed because the unit was lost (SinUnidad).
    static constexpr int kTextoSADPerdido = 284;
    // Text for a relay that has no slot left for this PC.
    static constexpr int kTextoSinPlazas = 304;
    // Texts for a connection to the relay lost during a command, and for a relay whose
    // unit was still getting ready when the greeting wait ended.
    static constexpr int kTextoConexionPerdida = 460;
    static constexpr int kTextoPreparando = 461;
    static constexpr int kTextoNoHaySAD = 273;

    // puertosSerie: the serial device list (station setting PuertosSerie).
    TComCapvis(TTextos& textos, TInteraccion& interaccion, TReloj& reloj, QStringList puertosSerie);
    ~TComCapvis();
    TComCapvis(const TComCapvis&) = delete;
    TComCapvis& operator=(const TComCapvis&) = delete;

    // Replaces the port by a new serial (false) or TCP (true) one.
    void SetTipoConexion(bool esTcp);
    // Replaces the port by the given one (tests, other transports).
    void PonerPuerto(std::unique_ptr<TCOM> puerto, bool esTcp);
    TCOM* Puerto() const { return Puerto_.get(); }
    // Settings used by the next SetTipoConexion.
    void PonerPuertosSerie(const QStringList& puertos) { PuertosSerie = puertos; }
    void PonerPuertoTcp(int puerto) { PuertoTcp = puerto; }
    // Progress window of the running sequence, or null.
    void PonerVentanaProgreso(TProgresoCaptura* v) { VentanaProgreso = v; }
    // The flag the user's cancel sets, which a long send looks at between its pieces
    // (this port and the next ones); null: sends always go out whole.
    void PonerInterrupcion(const std::atomic<bool>* i);
    // The last command was cut short by that flag, before its end went out.
    bool EnvioInterrumpido() const { return Interrumpido_; }

    void Conectar(const QString& servidor);
    // The relay called this station from its line (its connection to `servidor` got the
    // holder's greeting): the unit is taken as Conectar takes a free one. Raises
    // ENoHaySAD as Conectar does.
    void TomarLlamada(const QString& servidor);
    // The relay ended this station's turn and gave the unit to `titular`: it holds it no
    // more, and leaving sends nothing the relay would refuse.
    void Ceder(const QString& titular);
    void Desconectar();
    bool LeerVersion();
    bool LeerEstado(int& estado);
    bool Abortar();

    // Capture commands.
    bool ConfigurarEntradas(const QString& lista);
    bool ProgramarTrigger(const TConfigES& config, const TTrigger& trigger);
    bool ProgramarRetardo(const TConfigES& config);
    // The read-back, waiting on the clock between the steps of TLecturaDatos; of a
    // capture that has ended (`terminada`) or of the samples taken so far.
    bool LeerDatos(bool& datos, int& n, TCjtSenales& senales, const TConfigES& config, bool terminada = true);
    bool LeerMonitor();
    bool ActivarSalidas(const QString& cuerpo);
    bool DesactivarSalidas(const QString& cuerpo);
    void ActualizarGrupos(const TConfigES& config);
    void SetRepetirCaptura(bool on);

    // Framing and polling (used by the commands above; public for the link's tests).
    bool Inicializar();
    bool EnviarTexto(const QByteArray& texto);
    bool EnviarComando(const QByteArray& comando, QByteArray& respuesta, bool conRespuesta);
    bool EsperarAck();
    bool LeerRespuesta(QByteArray& respuesta);
    bool LeerCampo(QByteArray& campo);
    char LeerCaracter();
    void VaciarRecepcion();
    // VaciarRecepcion, and what the port holds unread: before every command. A reply
    // left to drain is waited out first, on the clock.
    void Drenar();
    // A reply the unit goes on sending that nobody reads any more (a read-back given
    // up): it comes off the line in steps (PasoDrenaje) while nothing else is said, or
    // all at once before the next command. `hastaFin`: it ends with its "#"; otherwise
    // at the first silence.
    void DejarPorDrenar(bool hastaFin);
    bool PorDrenar() const { return PorDrenar_; }
    // One receive of it, never waiting: true once it is over (its end, a silence of the
    // field reader's polling passes, the link gone, or MaxDrenaje bytes).
    bool PasoDrenaje();
    static constexpr qint64 MaxDrenaje = 4 << 20;
    static constexpr int PausaDrenaje = 10; // ms between the steps of a drain
    bool EsperarSaludo(QString& nombre);
    // Nothing will answer the command sent last: the relay said so, or the link is gone.
    bool NadaVendra() const { return SinUnidad || Preparando; }
    // The relay answered the command sent last that it is getting ready.
    bool RelayPreparando() const { return Preparando; }
    // The key of the message for a command that failed: the unit lost, the connection to
    // the relay lost, or `clave` when neither.
    int ClaveFallo(int clave) const;
    // Text not yet consumed by the readers.
    QByteArray BufRecepcion() const { return Recepcion.mid(PosRecepcion); }

    // The command that continuous monitoring replays, and what is gathered to be sent.
    const QByteArray& Guardada() const { return CapturaGuardada; }
    bool Repitiendo() const { return RepetirCaptura; }
    bool EnvioPendiente() const { return !BufEnvio.isEmpty(); }
    // Who the protocol object tells the user through, and the clock it waits on.
    TInteraccion& Usuario() const { return Interaccion; }
    TReloj& Tiempo() const { return Reloj; }

    // The state of the link and of the unit, read only.
    TInfoSAD Foto() const;
    static constexpr std::int32_t Capacidad = 63487;
    static constexpr double CuentasPorVoltio = 25.5;

    void PonerPCLocal(const QString& nombre) { PCLocal = nombre; }
    // The samples of a capture about to be waited for are counted from 0.
    void ReiniciarProgreso() { Descriptor.Progreso = 0; }
    // Monitoring goes on from the samples it has read.
    void PonerProgreso(std::uint16_t progreso) { Descriptor.Progreso = progreso; }
    // The capture the unit holds was read back by this program (its state stays 3).
    void MarcarCapturaLeida() { CapturaLeida = true; }
    // The layout of the replies restored from the configuration last programmed.
    void RestaurarGrupos(const TConfigES& programa) { programa.LlenarDescriptor(Descriptor); }

private:
    // The read-back parser works on the receive buffer and the port directly.
    friend class TLecturaDatos;

    bool ProgramarCaptura(const TConfigES& config, const TTrigger* trigger);
    bool EnviarCaptura(const TConfigES& config, const TTrigger* trigger);
    bool Ack(const QByteArray& comando);
    void Recibir(QByteArray& texto);
    void AnadirRecibido(const QByteArray& texto);
    qsizetype Separador(qsizetype desde) const;
    void Aviso142();
    [[noreturn]] void SinSAD();
    // After the greeting that names this station: the version, and the server kept.
    void Presentarse(const QString& servidor);

    TTextos& Textos;
    TInteraccion& Interaccion;
    TReloj& Reloj;
    bool EsTcp = false;
    int Memoria = 0;
    QString Version;
    QString Servidor;
    TDescriptorCaptura Descriptor; // Progreso, GrupoActivo, EntradaDigital
    std::array<std::int32_t, 10> UltimoValor{};
    std::int32_t MuestrasLeidas = 0;
    QString PCPropietario;
    QString PCLocal;
    // The transport said, while the last command was waited for, that no unit is behind
    // it (the relay has none, or lost it); cleared when the next command goes out.
    bool SinUnidad = false;
    // Likewise, that the relay's unit is getting ready: the command never reached it.
    bool Preparando = false;
    // The user stopped the last send between its pieces (EInterrumpido).
    bool Interrumpido_ = false;
    const std::atomic<bool>* Interrupcion = nullptr;
    // This program has read back the finished capture the unit holds (state 3), so its
    // state is a capture already read, not data waiting. Set by the read-back; cleared
    // whenever a capture is programmed or aborted and whenever the link connects anew.
    bool CapturaLeida = false;
    // The last greeting wait ended on the relay's refusal for lack of slots.
    bool SinPlazas = false;

    double EscalaEntrada = 10.0 / 2048;

    QStringList PuertosSerie;
    int PuertoTcp = 9099;
    std::unique_ptr<TCOM> Puerto_;
    TProgresoCaptura* VentanaProgreso = nullptr;
    bool RepetirCaptura = false;
    QByteArray CapturaGuardada;
    QByteArray BufEnvio;
    QByteArray Recepcion;       // received text; consumed up to PosRecepcion
    qsizetype PosRecepcion = 0;
    // The reply being drained (DejarPorDrenar).
    bool PorDrenar_ = false;
    bool DrenarHastaFin = false;
    qint64 Drenados = 0;
    int VaciosDrenaje = 0;      // empty receives in a row
    qint64 UltimoDrenado = 0;   // tick of the last bytes drained
};

} // namespace qv

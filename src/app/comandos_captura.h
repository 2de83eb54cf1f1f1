#pragma once

#include "link/servicio_sad.h"

#include <QString>

#include <exception>
#include <memory>
#include <optional>

namespace qv {

class IPrincipal;
class TEstadoPrograma;
struct TContextoPrograma;

// The capture commands of the main window ("&Captación" and the toolbar's "Prog.",
// "Leer", "Test", "Abortar"): presence and state checks, the programming dialogs,
// abort, read-back into the set with its display, the unit test and monitoring. Each
// command is a coroutine: its conversations run on the device thread and it goes on
// when their answer comes; for its whole length the program is busy and the
// five-minute reminder paused. After every wait a command looks again at what it
// needs (the link, the configuration) and stops when the program is closing; a command
// ended by an exception tells the user with the text of the operation it was on.
class TComandosCaptura : public IReceptorFallos {
public:
    // Rounds of presence check and state query that a unit answering "1#" but never
    // "2#" gets before the command gives up with text 125.
    static constexpr int RondasEstado = 3;

    explicit TComandosCaptura(IPrincipal& principal);

    TTarea InmediataClick();
    TTarea RetardadaClick();
    TTarea analgico1Click();
    TTarea digital1Click();
    TTarea AbortarCaptacion1Click();
    TTarea LecturaDatos1Click();
    TTarea TestPresencia1Click();
    TTarea Monitorizar1Click();
    TTarea MonitorContinuaClick();

    // IReceptorFallos
    void FalloTarea(std::exception_ptr fallo) noexcept override;

private:
    using TPaso = TConversacion::TPaso;
    enum class TProgramacion { Inmediata, Retardada, TriggerAnalogico, TriggerDigital };

    TEstadoPrograma& Estado() const;
    const TContextoPrograma& Contexto() const;
    TServicioSAD& SAD() const;
    // The command may go on after a wait: the program is not closing and has its link.
    bool Sigue() const;
    // The text FalloTarea shows for the command that starts now.
    void Operacion(int clave) { operacion_ = clave; }
    void Aviso(int clave);
    void Aviso(const QString& texto);
    bool HayConfig();
    // "1#" until the unit answers, the presence dialog between tries: Respuesta::Si
    // (it answered), Ignorar, or Abortar.
    TAsincrono<int> Presencia();
    // Presence and state check before programming; `separador` joins the question to
    // text 215. False: stop.
    TAsincrono<bool> ComprobarEstado(QString separador);
    TTarea Programar(TProgramacion tipo);
    enum class TProgramada { Si, No, Cancelada };
    // The current configuration into the unit, with the progress window; the
    // protocol's text when it was not accepted (135 unless the link says more). Stopped
    // by "Cancelar" or by the program closing, a capture that got in is aborted.
    TAsincrono<TProgramada> ProgramarUnidad(std::optional<TTrigger> trigger, int pausa);
    // A conversation with the progress window up; its "Cancelar" stops it
    // (cancelado_).
    TAsincrono<TPaso> ConProgreso(std::shared_ptr<TConversacion> c, bool leyendo);
    // The analysis time is at least 5 s (else the warning 226 + 227).
    bool CincoSegundos();
    QString TituloVentana() const;

    IPrincipal& principal_;
    int operacion_ = 0;
    bool cancelado_ = false; // "Cancelar" of the last progress window
};

} // namespace qv

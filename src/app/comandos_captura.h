#pragma once

#include "link/servicio_sad.h"

#include <QString>

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
// five-minute reminder paused.
class TComandosCaptura {
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

private:
    using TPaso = TConversacion::TPaso;
    enum class TProgramacion { Inmediata, Retardada, TriggerAnalogico, TriggerDigital };

    TEstadoPrograma& Estado() const;
    const TContextoPrograma& Contexto() const;
    TServicioSAD& SAD() const;
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
    // The current configuration into the unit, with the progress window; text 135 when
    // it was not accepted.
    TAsincrono<bool> ProgramarUnidad(std::optional<TTrigger> trigger, int pausa);
    // A conversation with the progress window up.
    TAsincrono<TPaso> ConProgreso(std::shared_ptr<TConversacion> c, bool leyendo);
    // The analysis time is at least 5 s (else the warning 226 + 227).
    bool CincoSegundos();
    QString TituloVentana() const;

    IPrincipal& principal_;
};

} // namespace qv

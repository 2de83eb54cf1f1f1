#pragma once

#include <QString>

namespace qv {

class IPrincipal;
class TComCapvis;
class TEstadoPrograma;
struct TContextoPrograma;

// The capture commands of the main window ("&Captación" and the toolbar's "Prog.",
// "Leer", "Test", "Abortar"): presence and state checks, the programming dialogs,
// abort, read-back into the set with its display, the unit test and monitoring. Each
// command pauses the five-minute reminder for its whole length, however it ends.
class TComandosCaptura {
public:
    // Rounds of presence check and state query that a unit answering "1#" but never
    // "2#" gets before the command gives up with text 125.
    static constexpr int RondasEstado = 3;

    explicit TComandosCaptura(IPrincipal& principal);

    void InmediataClick();
    void RetardadaClick();
    void analgico1Click();
    void digital1Click();
    void AbortarCaptacion1Click();
    void LecturaDatos1Click();
    void TestPresencia1Click();
    void Monitorizar1Click();
    void MonitorContinuaClick();

private:
    enum class TProgramacion { Inmediata, Retardada, TriggerAnalogico, TriggerDigital };

    TEstadoPrograma& Estado() const;
    const TContextoPrograma& Contexto() const;
    void Aviso(int clave);
    void Aviso(const QString& texto);
    bool HayConfig();
    // The unit answers (or "Ignorar"); false on "Abortar".
    bool Presencia();
    // Presence and state check before programming; `separador` joins the question to
    // text 215. False: stop.
    bool ComprobarEstado(const QString& separador);
    void Programar(TProgramacion tipo);
    // The analysis time is at least 5 s (else the warning 226 + 227).
    bool CincoSegundos();
    QString TituloVentana() const;

    IPrincipal& principal_;
};

} // namespace qv

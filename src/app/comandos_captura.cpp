// Capture commands of the main window: the device-side sequences of "&Captación".
#include "app/comandos_captura.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "capture/dialogo_captura.h"
#include "capture/espera_ack.h"
#include "capture/monitorizacion.h"
#include "capture/prog_retardo.h"
#include "capture/test_interface.h"
#include "capture/trigger.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "link/secuencia_captura.h"
#include "model/base_tiempos.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/fichero_config.h"
#include "model/senales.h"

#include <QDialog>
#include <QMdiArea>
#include <QTimer>

#include <QtGlobal>

#include <algorithm>
#include <functional>

namespace qv {

namespace {

constexpr int kTextoSinEstado = 125;
constexpr int kTextoNoLeida = 101;
constexpr int kTextoEstado0 = 127;
constexpr int kTextoEstado1 = 128;
constexpr int kTextoEstado2 = 129;
constexpr int kTextoEstado3 = 130;
constexpr int kTextoNoAbortada = 131;
constexpr int kTextoAbortar = 132;
constexpr int kTextoMemoria = 134;
constexpr int kTextoSinDatos = 140;
constexpr int kTextoSinConfig = 156;
constexpr int kTextoSinPedido = 157;
constexpr int kTextoPeriodo = 166;
constexpr int kTextoNoMonitorizable = 170;
constexpr int kTextoSinGrupos = 171;
constexpr int kTextoNadaQueAbortar = 204;
constexpr int kTextoEstadoAbortar = 205;
constexpr int kTextoOtraBase = 206;
constexpr int kTextoAnadir = 207;
constexpr int kTextoGuardarAntes = 208;
constexpr int kTextoContinuar = 215;
constexpr int kTextoDatosSinLeer = 216;
constexpr int kTextoNadaQueLeer = 217;
constexpr int kTextoCorta = 226;
constexpr int kTextoAumentar = 227;
constexpr int kTextoComprobando = 231;
constexpr int kTextoProgramandoContinua = 241;
constexpr int kTextoContinuaEnMarcha = 242;
// A read-back needs the configuration the signals are named and scaled by.
constexpr int kTextoLeerSinConfig = 13010;
constexpr int kTextoProgramada = 13011;
// State 3 once this program has read the capture back.
constexpr int kTextoLeidaSeBorrara = 301;

// The end of a conversation as a command awaits it: when the conversation ends, or
// earlier when the command lets it go (a read-back stopped by the user, whose reply the
// device thread drains on its own while whatever comes next waits its turn).
class TFinConversacion {
public:
    using TPaso = TConversacion::TPaso;
    void Acabar(TPaso paso)
    {
        if (paso_)
            return;
        paso_ = paso;
        if (auto sigue = std::exchange(sigue_, nullptr))
            sigue(paso);
    }
    static TEspera<TPaso> Esperar(std::shared_ptr<TFinConversacion> fin)
    {
        return TEspera<TPaso>([fin](std::function<void(TPaso)> sigue) {
            if (fin->paso_)
                sigue(*fin->paso_);
            else
                fin->sigue_ = std::move(sigue);
        });
    }

private:
    std::optional<TPaso> paso_;
    std::function<void(TPaso)> sigue_;
};

// Nobody's command: it only hears the conversation end.
TTarea Acompanar(TServicioSAD& sad, std::shared_ptr<TConversacion> c, std::shared_ptr<TFinConversacion> fin)
{
    const TConversacion::TPaso paso = co_await sad.Hablar(std::move(c));
    fin->Acabar(paso);
}

} // namespace

TComandosCaptura::TComandosCaptura(IPrincipal& principal) : principal_(principal) {}

TEstadoPrograma& TComandosCaptura::Estado() const
{
    return principal_.Estado();
}

const TContextoPrograma& TComandosCaptura::Contexto() const
{
    return principal_.Contexto();
}

void TComandosCaptura::Aviso(int clave)
{
    Aviso(Contexto().Textos().BuscarTexto(clave));
}

void TComandosCaptura::Aviso(const QString& texto)
{
    Contexto().Interaccion().MostrarAviso(texto, Botones::Aceptar);
}

bool TComandosCaptura::HayConfig()
{
    if (Estado().Config())
        return true;
    Aviso(kTextoSinConfig);
    return false;
}

QString TComandosCaptura::TituloVentana() const
{
    const TEstadoPrograma& e = Estado();
    return e.FicheroAbierto != TEstadoPrograma::SinFicheroSenales ? e.FicheroAbierto : e.FicheroGuardarComo;
}


TServicioSAD& TComandosCaptura::SAD() const
{
    return *Estado().Enlace();
}

bool TComandosCaptura::Sigue() const
{
    return !Estado().Cerrando && Estado().Enlace();
}

void TComandosCaptura::FalloTarea(std::exception_ptr fallo) noexcept
{
    try {
        std::rethrow_exception(fallo);
    } catch (const std::exception& e) {
        qWarning("Quorvane: a capture command ended by %s", e.what());
    } catch (...) {
        qWarning("Quorvane: a capture command ended by an exception");
    }
    // Its locals are gone: the program is no longer busy. A program on its way out
    // says nothing.
    if (Estado().Cerrando)
        return;
    try {
        Aviso(operacion_ > 0 ? operacion_ : clave::NoProgramada);
    } catch (...) {
    }
}

TAsincrono<TConversacion::TPaso> TComandosCaptura::ConProgreso(std::shared_ptr<TConversacion> c, bool leyendo)
{
    TfrmEsperaAck espera(Contexto().Formulario, &principal_.Ventana());
    espera.Vigilar(SAD());
    cancelado_ = false;
    auto fin = std::make_shared<TFinConversacion>();
    // A read-back stopped is over for the command at once: the rest of its reply may
    // take the line's time to drain. A programming is over when the unit has answered,
    // so that a capture that got in can be aborted.
    espera.PonerCancelar([this, fin, leyendo] {
        cancelado_ = true;
        if (Estado().Enlace())
            SAD().Cancelar();
        if (leyendo)
            QTimer::singleShot(0, &principal_.Ventana(), [fin] { fin->Acabar(TPaso::Cancelada); });
    });
    espera.Mostrar();
    if (leyendo)
        espera.Leyendo();
    Acompanar(SAD(), std::move(c), fin);
    TEspera<TPaso> terminada = TFinConversacion::Esperar(fin);
    co_return co_await terminada;
}

TAsincrono<int> TComandosCaptura::Presencia()
{
    for (;;) {
        if (!Sigue())
            co_return Respuesta::Abortar;
        if (co_await SAD().LeerVersion())
            co_return Respuesta::Si;
        if (!Sigue())
            co_return Respuesta::Abortar;
        const int r = Contexto().Interaccion().PreguntarPresencia();
        if (r != Respuesta::Reintentar)
            co_return r == Respuesta::Ignorar ? r : Respuesta::Abortar;
    }
}

TAsincrono<bool> TComandosCaptura::ComprobarEstado(QString separador)
{
    TTextos& t = Contexto().Textos();
    const TOperaciones ninguna;
    for (int ronda = 0; ronda < RondasEstado; ++ronda) {
        // "Ignorar" in the presence dialog means going on as if the unit had answered;
        // its silence to the state query then counts as nothing programmed.
        const int presencia = co_await Presencia();
        if (presencia == Respuesta::Abortar || !Sigue() || !Estado().Config())
            co_return false;
        auto s = std::make_shared<TSecuenciaCaptura>(*Estado().Config(), ninguna, t, Contexto().CarpetaPrograma,
                                                     TSecuenciaCaptura::TModo::Comprobar);
        const TPaso paso = co_await SAD().Hablar(s);
        if (!Estado().Enlace())
            co_return false;
        if (paso == TPaso::Decidir && Estado().Cerrando) {
            // The conversation keeps its turn until it is answered.
            co_await SAD().Responder(s, Respuesta::Cancelar);
            co_return false;
        }
        if (Estado().Cerrando)
            co_return false;
        if (paso == TPaso::Fallida) {
            if (presencia == Respuesta::Ignorar)
                co_return true;
            continue; // a unit that answers "1#" but not "2#": a bounded number of rounds
        }
        if (paso != TPaso::Decidir)
            co_return paso == TPaso::Terminada;
        const int estado = s->EstadoUnidad();
        const int clave = estado == SadProgramada   ? kTextoEstado1
                          : estado == SadCapturando ? kTextoEstado2
                                        : (SAD().Info().CapturaLeida ? kTextoLeidaSeBorrara : kTextoDatosSinLeer);
        int r = Contexto().Interaccion().MostrarPregunta(
            t.BuscarTexto(clave) + separador + t.BuscarTexto(kTextoContinuar), Botones::SiNoCancelar);
        if (!Estado().Enlace())
            co_return false;
        if (Estado().Cerrando)
            r = Respuesta::Cancelar;
        // "Sí" aborts a programmed capture first (whether that worked, programming
        // says); anything else ends the conversation.
        co_await SAD().Responder(s, r);
        co_return r == Respuesta::Si && Sigue();
    }
    Aviso(kTextoSinEstado);
    co_return false;
}

// ---- programming -------------------------------------------------------------------

TTarea TComandosCaptura::InmediataClick() { return Programar(TProgramacion::Inmediata); }
TTarea TComandosCaptura::RetardadaClick() { return Programar(TProgramacion::Retardada); }
TTarea TComandosCaptura::analgico1Click() { return Programar(TProgramacion::TriggerAnalogico); }
TTarea TComandosCaptura::digital1Click() { return Programar(TProgramacion::TriggerDigital); }

TTarea TComandosCaptura::Programar(TProgramacion tipo)
{
    TOrdenSAD orden(principal_);
    Operacion(clave::NoProgramada);
    if (!HayConfig() || !Estado().Enlace())
        co_return;
    const bool inmediata = tipo == TProgramacion::Inmediata;
    const bool trigger = tipo == TProgramacion::TriggerAnalogico || tipo == TProgramacion::TriggerDigital;
    if (!co_await ComprobarEstado(inmediata ? QStringLiteral(".") : QStringLiteral(" ")))
        co_return;
    TEstadoPrograma& e = Estado();
    if (!e.Config() || !Sigue())
        co_return; // a save asked during the checks may have closed it
    e.PonerTrabajo(std::make_unique<TConfigES>(*e.Config()));
    if (inmediata)
        e.Trabajo()->Retardo = 0;
    int resultado = QDialog::Rejected;
    std::optional<TTrigger> disparo;
    int pausa = 0;
    QWidget* padre = &principal_.Ventana();
    if (!trigger) {
        TfrmProgRetardo d(principal_, padre);
        d.PonerRetardoVisible(!inmediata);
        resultado = d.Ejecutar();
    } else if (tipo == TProgramacion::TriggerAnalogico) {
        // The trigger record exists only once the dialog was accepted: a cancelled one
        // may have no input chosen.
        TfrmTrigAna d(principal_, padre);
        resultado = d.Ejecutar();
        if (resultado == QDialog::Accepted)
            disparo = d.Trigger();
        pausa = TfrmTrigAna::PausaTrasProgramar;
    } else {
        TfrmTrigdig d(principal_, padre);
        resultado = d.Ejecutar();
        if (resultado == QDialog::Accepted)
            disparo = d.Trigger();
    }
    if (!Sigue()) { // the program began to close while the dialog was open
        e.PonerTrabajo(nullptr);
        co_return;
    }
    bool programada = false;
    if (resultado == QDialog::Accepted) {
        // The working copy itself becomes current, whether the unit takes it or not.
        e.PonerConfig(e.TomarTrabajo());
        if (!trigger)
            e.MarcarModificado();
        const TProgramada r = co_await ProgramarUnidad(disparo, pausa);
        // Stopped: the set and its windows stay as they were.
        if (r == TProgramada::Cancelada || !Sigue()) {
            principal_.MostrarEstado(QString());
            co_return;
        }
        programada = r == TProgramada::Si;
        if (programada && !trigger && !e.Senales())
            e.PonerConjunto(std::make_unique<TCjtSenales>(Contexto().Textos(), Contexto().Interaccion()));
    }
    // The progress window is gone in a blink: the status line says what comes next.
    principal_.MostrarEstado(programada ? Contexto().Textos().BuscarTexto(kTextoProgramada) : QString());
    e.PonerTrabajo(nullptr);
    const bool vacio = !e.Senales() || e.Senales()->Vacio();
    if ((inmediata && resultado == QDialog::Accepted) || (!inmediata && vacio))
        principal_.AreaVentanas().closeAllSubWindows();
}

TAsincrono<TComandosCaptura::TProgramada> TComandosCaptura::ProgramarUnidad(std::optional<TTrigger> trigger,
                                                                            int pausa)
{
    const TEstadoPrograma& e = Estado();
    const TOperaciones ninguna;
    auto s = std::make_shared<TSecuenciaCaptura>(
        *e.Config(), e.OperacionesSiHay() ? *e.OperacionesSiHay() : ninguna, Contexto().Textos(),
        Contexto().CarpetaPrograma, TSecuenciaCaptura::TModo::SoloProgramar,
        trigger ? TSecuenciaCaptura::TTipo::Trigger : TSecuenciaCaptura::TTipo::Retardada);
    if (trigger)
        s->PonerTrigger(*trigger);
    const TPaso paso = co_await ConProgreso(s, false);
    if (!Estado().Enlace())
        co_return TProgramada::Cancelada;
    if (cancelado_ || Estado().Cerrando) {
        // The capture was sent before the stop came: nobody will wait for it or read
        // it, so the unit is left free (and its outputs at zero).
        if (paso == TPaso::Terminada) {
            const bool abortada = co_await SAD().Abortar();
            if (!abortada && !Estado().Cerrando)
                Aviso(kTextoNoAbortada);
        }
        co_return TProgramada::Cancelada;
    }
    if (paso != TPaso::Terminada) {
        // The link's own account (the unit or the relay lost) says more than 135.
        const int clave = s->ClaveFallo();
        Aviso(clave > 0 ? clave : clave::NoProgramada);
        co_return TProgramada::No;
    }
    if (pausa > 0)
        co_await SAD().Hacer<bool>([pausa](TComCapvis& c) { return c.Tiempo().Dormir(pausa), true; });
    co_return Sigue() ? TProgramada::Si : TProgramada::Cancelada;
}

// ---- abort --------------------------------------------------------------------------

TTarea TComandosCaptura::AbortarCaptacion1Click()
{
    TOrdenSAD orden(principal_);
    Operacion(kTextoNoAbortada);
    TInteraccion& inter = Contexto().Interaccion();
    TTextos& t = Contexto().Textos();
    std::optional<int> estado;
    if (Estado().Enlace())
        estado = co_await SAD().LeerEstado();
    if (Estado().Cerrando)
        co_return;
    if (!estado) {
        inter.MostrarInformacion(t.BuscarTexto(kTextoEstadoAbortar), Botones::Aceptar);
        co_return;
    }
    if (*estado != SadProgramada && *estado != SadCapturando) {
        Aviso(kTextoNadaQueAbortar);
        co_return;
    }
    const QString pregunta = t.BuscarTexto(kTextoAbortar).arg(TituloVentana());
    if (inter.MostrarPregunta(pregunta, Botones::AceptarCancelar) != Respuesta::Aceptar || !Sigue())
        co_return;
    const bool abortada = co_await SAD().Abortar();
    if (Estado().Cerrando)
        co_return;
    if (!abortada)
        Aviso(kTextoNoAbortada);
    else
        principal_.MostrarEstado(QString());
}

// ---- read-back ----------------------------------------------------------------------

TTarea TComandosCaptura::LecturaDatos1Click()
{
    TOrdenSAD orden(principal_);
    Operacion(kTextoNoLeida);
    TEstadoPrograma& e = Estado();
    const TContextoPrograma& c = Contexto();
    TInteraccion& inter = c.Interaccion();
    TTextos& t = c.Textos();
    if (!e.Config()) {
        Aviso(kTextoLeerSinConfig);
        co_return;
    }
    if (!e.Enlace())
        co_return;

    const std::optional<int> estado = co_await SAD().LeerEstado();
    if (!Sigue() || !e.Config())
        co_return;
    // The layout of the unit's data is that of the capture last programmed, which may
    // have been programmed before the program was restarted.
    std::unique_ptr<TConfigES> programa;
    if (estado && (*estado == SadCapturando || *estado == SadConDatos)) {
        const QString ruta = TSecuenciaCaptura::BuscarPrograma(c.CarpetaPrograma);
        if (!ruta.isEmpty()) {
            try {
                TFicheroConfig fichero(t, inter, c.CarpetaPrograma);
                programa = fichero.LeerSoloConfiguracion(ruta);
            } catch (const std::exception&) {
                programa.reset();
            }
            if (!programa)
                co_return; // its reader said why
            if (!programa->Igual(*e.Config())) {
                Aviso(kTextoOtraBase);
                co_return;
            }
        }
    }
    if (!estado) {
        Aviso(kTextoSinEstado);
        co_return;
    }
    switch (*estado) {
    case 0: inter.MostrarInformacion(t.BuscarTexto(kTextoNadaQueLeer), Botones::Aceptar); co_return;
    case 1: inter.MostrarInformacion(t.BuscarTexto(kTextoEstado1), Botones::Aceptar); co_return;
    case 2: inter.MostrarInformacion(t.BuscarTexto(kTextoEstado2), Botones::Aceptar); co_return;
    case 3: break;
    default: e.MarcarModificado(); co_return;
    }

    // Where the samples go: a new set, or the current one when it holds signals and the
    // user wants them added. The old set and its windows go only once the new samples
    // are in: a read-back that fails leaves them as they were.
    bool anadir = false;
    bool automatico = e.Senales() && e.Senales()->NombradoAuto();
    int numCaptura = e.Senales() && e.Senales()->Vacio() ? e.Senales()->NumCaptura : 0;
    if (e.HayConjunto()) {
        const int r = inter.MostrarPregunta(t.BuscarTexto(kTextoAnadir), Botones::SiNoCancelar);
        if (r == Respuesta::Si) {
            anadir = true;
            numCaptura = e.Senales()->NumCaptura;
        } else if (r != Respuesta::No || !principal_.GuardarAntesDeDescartar(kTextoGuardarAntes)) {
            co_return;
        }
    }
    if (automatico)
        ++numCaptura;
    // The questions above let the program run meanwhile.
    if (!Sigue() || !e.Config())
        co_return;

    const TOperaciones ninguna;
    auto s = std::make_shared<TSecuenciaCaptura>(*e.Config(),
                                                 e.OperacionesSiHay() ? *e.OperacionesSiHay() : ninguna, t,
                                                 c.CarpetaPrograma, TSecuenciaCaptura::TModo::SoloLectura);
    const auto& grupos = SAD().Info().Descriptor.GrupoActivo;
    if (programa)
        s->PonerPrograma(*programa);
    else if (std::none_of(grupos.begin(), grupos.end(), [](std::uint8_t g) { return g != 0; }))
        s->PonerPrograma(*e.Config()); // nothing better known
    const TPaso paso = co_await ConProgreso(s, true);
    // Stopped, or the program closing: nothing read is handed over or told (a stopped
    // read-back may still be draining its reply).
    if (!Sigue() || paso == TPaso::Cancelada)
        co_return;

    if (paso == TPaso::Terminada) {
        principal_.MostrarEstado(QString());
        std::unique_ptr<TCjtSenales> leidas = s->TomarSenales();
        // Added to, the set stays the file it was; a new one is no longer the file that
        // held the old one. The state takes the finished set, and the windows follow.
        const bool extender = anadir && e.Senales();
        auto nuevo = extender ? nullptr : std::make_unique<TCjtSenales>(t, inter);
        if (nuevo)
            nuevo->PonerNombradoAuto(automatico);
        TCjtSenales& destino = extender ? *e.Senales() : *nuevo;
        destino.NumCaptura = numCaptura;
        destino.AnadirDe(*leidas);
        e.PonerConjunto(extender ? e.TomarConjunto() : std::move(nuevo),
                        extender ? TituloVentana() : TEstadoPrograma::SinFicheroSenales);
        e.MarcarModificado();
        co_return;
    }
    switch (s->ClaveFallo()) {
    case 0: break;
    case kTextoEstado1:
    case kTextoEstado2:
    case kTextoNadaQueLeer:
        inter.MostrarInformacion(t.BuscarTexto(s->ClaveFallo()), Botones::Aceptar);
        break;
    default: Aviso(s->ClaveFallo()); break;
    }
}

// ---- unit test ------------------------------------------------------------------------

TTarea TComandosCaptura::TestPresencia1Click()
{
    TOrdenSAD orden(principal_);
    Operacion(kTextoSinEstado);
    if (!Estado().Enlace())
        co_return;
    principal_.MostrarEstado(Contexto().Textos().BuscarTexto(kTextoComprobando));
    struct TLimpiar {
        IPrincipal& p;
        ~TLimpiar() { p.MostrarEstado(QString()); }
    } limpiar{principal_};
    TInteraccion& inter = Contexto().Interaccion();
    while (!co_await SAD().LeerVersion())
        if (!Sigue() || inter.PreguntarPresencia() != Respuesta::Reintentar || !Sigue())
            co_return;
    if (!Sigue())
        co_return;
    std::optional<int> estado;
    while (!(estado = co_await SAD().LeerEstado()))
        if (!Sigue() || inter.PreguntarPresencia() != Respuesta::Reintentar || !Sigue())
            co_return;
    if (!Sigue())
        co_return;
    const TInfoSAD& info = SAD().Info();
    TfrmTestInterface ventana(Contexto().Formulario, &principal_.Ventana());
    ventana.Llenar(info.Version, *estado, info.Capacidad, info.CapturaLeida);
    ventana.Ejecutar();
}

// ---- monitoring -----------------------------------------------------------------------

bool TComandosCaptura::CincoSegundos()
{
    const TConfigES& c = *Estado().Config();
    const bool basta = (c.UnidadAnalisis == Unidad::Mili && c.TiempoAnalisis >= 5000)
                       || (c.UnidadAnalisis == Unidad::Segundo && c.TiempoAnalisis >= 5)
                       || c.UnidadAnalisis == Unidad::Minuto || c.UnidadAnalisis == Unidad::Hora;
    if (!basta) {
        TTextos& t = Contexto().Textos();
        Contexto().Interaccion().MostrarAviso(t.BuscarTexto(kTextoCorta) + t.BuscarTexto(kTextoAumentar),
                                              Botones::Si);
    }
    return basta;
}

TTarea TComandosCaptura::Monitorizar1Click()
{
    TOrdenSAD orden(principal_);
    Operacion(kTextoSinEstado);
    if (!HayConfig() || !CincoSegundos() || !Estado().Enlace())
        co_return;
    TEstadoPrograma& e = Estado();
    e.PonerMonitorizando(false);
    if (co_await Presencia() == Respuesta::Abortar || !Sigue())
        co_return;
    const std::optional<int> estado = co_await SAD().LeerEstado();
    if (!Sigue() || !e.Config())
        co_return;
    if (!estado) {
        Aviso(kTextoSinEstado);
        co_return;
    }
    if (*estado == SadLibre || *estado == SadProgramada || *estado == SadConDatos) {
        TTextos& t = Contexto().Textos();
        const int clave = *estado == SadLibre        ? kTextoEstado0
                          : *estado == SadProgramada ? kTextoEstado1
                                         : (SAD().Info().CapturaLeida ? clave::Estado3Leida : kTextoEstado3);
        Aviso(t.BuscarTexto(clave) + t.BuscarTexto(kTextoNoMonitorizable));
        co_return;
    }
    TfrmMonitorizacion ventana(principal_, &principal_.Ventana());
    ventana.Ejecutar();
}

TTarea TComandosCaptura::MonitorContinuaClick()
{
    TOrdenSAD orden(principal_);
    Operacion(clave::NoProgramada);
    if (!HayConfig() || !CincoSegundos() || !Estado().Enlace())
        co_return;
    if (!co_await ComprobarEstado(QStringLiteral(".")))
        co_return;
    TEstadoPrograma& e = Estado();
    if (!e.Config() || !Sigue())
        co_return;
    e.Config()->Retardo = 0;
    if (const int clave = ComprobarCaptura(*e.Config())) {
        Aviso(clave);
        co_return;
    }
    principal_.MostrarEstado(Contexto().Textos().BuscarTexto(kTextoProgramandoContinua));
    co_await SAD().Hacer<bool>([](TComCapvis& c) { return c.SetRepetirCaptura(true), true; });
    // Only a capture the unit took is watched and repeated.
    TProgramada programada = TProgramada::Cancelada;
    if (Sigue() && e.Config())
        programada = co_await ProgramarUnidad(std::nullopt, 0);
    if (programada == TProgramada::Si && Sigue() && e.Config()) {
        principal_.MostrarEstado(Contexto().Textos().BuscarTexto(kTextoContinuaEnMarcha));
        e.PonerMonitorizando(true);
        {
            TfrmMonitorizacion ventana(principal_, &principal_.Ventana());
            ventana.Ejecutar();
        }
        e.PonerMonitorizando(false);
    } else {
        principal_.MostrarEstado(QString());
    }
    if (Estado().Enlace())
        co_await SAD().Hacer<bool>([](TComCapvis& c) { return c.SetRepetirCaptura(false), true; });
}

} // namespace qv

// Capture commands of the main window: the device-side sequences of "&Captación".
#include "app/comandos_captura.h"
#include "app/comandos_ventanas.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "capture/conductor_secuencia.h"
#include "capture/dialogo_captura.h"
#include "capture/espera_ack.h"
#include "capture/monitorizacion.h"
#include "capture/prog_retardo.h"
#include "capture/test_interface.h"
#include "capture/trigger.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/com_capvis.h"
#include "link/secuencia_captura.h"
#include "model/base_tiempos.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/fichero_config.h"
#include "model/senales.h"

#include <QDialog>

#include <algorithm>
#include <functional>

namespace qv {

namespace {

constexpr int kTextoNoCargado = 101;
constexpr int kTextoSinEstado = 125;
constexpr int kTextoEstado0 = 127;
constexpr int kTextoEstado1 = 128;
constexpr int kTextoEstado2 = 129;
constexpr int kTextoEstado3 = 130;
constexpr int kTextoNoAbortada = 131;
constexpr int kTextoAbortar = 132;
constexpr int kTextoMemoria = 134;
constexpr int kTextoNoProgramada = 135;
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
constexpr int kTextoEstado3Leida = 300;
constexpr int kTextoLeidaSeBorrara = 301;

// Busy cursor for a scope, however it ends.
class TOcupado {
public:
    explicit TOcupado(TInteraccion& i) : i_(i) { i_.CursorOcupado(true); }
    ~TOcupado() { i_.CursorOcupado(false); }
    TOcupado(const TOcupado&) = delete;
    TOcupado& operator=(const TOcupado&) = delete;

private:
    TInteraccion& i_;
};

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
    if (Estado().ConfigActual)
        return true;
    Aviso(kTextoSinConfig);
    return false;
}

QString TComandosCaptura::TituloVentana() const
{
    const TEstadoPrograma& e = Estado();
    return e.FicheroAbierto != TEstadoPrograma::SinFicheroSenales ? e.FicheroAbierto : e.FicheroGuardarComo;
}

bool TComandosCaptura::Presencia()
{
    TComCapvis* enlace = Estado().EnlaceSAD.get();
    return enlace && PresenciaSAD(*enlace, Contexto().Interaccion());
}

bool TComandosCaptura::ComprobarEstado(const QString& separador)
{
    TComCapvis* enlace = Estado().EnlaceSAD.get();
    if (!enlace)
        return false;
    TTextos& t = Contexto().Textos();
    TInteraccion& inter = Contexto().Interaccion();
    for (int ronda = 0; ronda < RondasEstado; ++ronda) {
        // "Ignorar" in the presence dialog means going on as if the unit had answered;
        // its silence to the state query then counts as nothing programmed.
        const bool respondio = enlace->LeerVersion();
        if (!respondio) {
            const int r = inter.PreguntarPresencia();
            if (r == Respuesta::Reintentar) {
                --ronda;
                continue;
            }
            if (r != Respuesta::Ignorar)
                return false;
        }
        int estado = -1;
        bool leido;
        {
            TOcupado ocupado(inter);
            leido = enlace->LeerEstado(estado);
        }
        if (!leido) {
            if (!respondio)
                return true;
            continue; // a unit that answers "1#" but not "2#": a bounded number of rounds
        }
        int clave = 0;
        switch (estado) {
        case 1: clave = kTextoEstado1; break;
        case 2: clave = kTextoEstado2; break;
        case 3: clave = enlace->CapturaLeida ? kTextoLeidaSeBorrara : kTextoDatosSinLeer; break;
        default: return true;
        }
        const int r = inter.MostrarPregunta(t.BuscarTexto(clave) + separador + t.BuscarTexto(kTextoContinuar),
                                            Botones::SiNoCancelar);
        if (r != Respuesta::Si)
            return false;
        if (estado == 1) {
            TOcupado ocupado(inter);
            enlace->Abortar();
        }
        return true;
    }
    Aviso(kTextoSinEstado);
    return false;
}

// ---- programming -------------------------------------------------------------------

void TComandosCaptura::InmediataClick() { Programar(TProgramacion::Inmediata); }
void TComandosCaptura::RetardadaClick() { Programar(TProgramacion::Retardada); }
void TComandosCaptura::analgico1Click() { Programar(TProgramacion::TriggerAnalogico); }
void TComandosCaptura::digital1Click() { Programar(TProgramacion::TriggerDigital); }

void TComandosCaptura::Programar(TProgramacion tipo)
{
    TPausaRecordatorio pausa(principal_);
    if (!HayConfig())
        return;
    const bool inmediata = tipo == TProgramacion::Inmediata;
    if (!ComprobarEstado(inmediata ? QStringLiteral(".") : QStringLiteral(" ")))
        return;
    TEstadoPrograma& e = Estado();
    if (!e.ConfigActual)
        return; // a save asked during the checks may have closed it
    e.ConfigTrabajo = std::make_unique<TConfigES>(*e.ConfigActual);
    if (inmediata)
        e.ConfigTrabajo->Retardo = 0;
    int resultado = QDialog::Rejected;
    bool programada = false;
    QWidget* padre = &principal_.Ventana();
    switch (tipo) {
    case TProgramacion::Inmediata:
    case TProgramacion::Retardada: {
        TfrmProgRetardo d(principal_, padre);
        d.PonerRetardoVisible(!inmediata);
        resultado = d.Ejecutar();
        programada = d.Programada();
        break;
    }
    case TProgramacion::TriggerAnalogico: {
        TfrmTrigAna d(principal_, padre);
        resultado = d.Ejecutar();
        programada = d.Programada();
        break;
    }
    case TProgramacion::TriggerDigital: {
        TfrmTrigdig d(principal_, padre);
        resultado = d.Ejecutar();
        programada = d.Programada();
        break;
    }
    }
    // The progress window is gone in a blink: the status line says what comes next.
    principal_.MostrarEstado(programada ? Contexto().Textos().BuscarTexto(kTextoProgramada) : QString());
    e.ConfigTrabajo.reset();
    const bool vacio = !e.SenalesActuales || e.SenalesActuales->Vacio();
    if ((inmediata && resultado == QDialog::Accepted) || (!inmediata && vacio))
        principal_.CerrarVentanas();
    e.Notificar();
}

// ---- abort --------------------------------------------------------------------------

void TComandosCaptura::AbortarCaptacion1Click()
{
    TPausaRecordatorio pausa(principal_);
    TComCapvis* enlace = Estado().EnlaceSAD.get();
    TInteraccion& inter = Contexto().Interaccion();
    TTextos& t = Contexto().Textos();
    int estado = -1;
    bool leido = false;
    if (enlace) {
        TOcupado ocupado(inter);
        leido = enlace->LeerEstado(estado);
    }
    if (!leido) {
        inter.MostrarInformacion(t.BuscarTexto(kTextoEstadoAbortar), Botones::Aceptar);
        return;
    }
    if (estado != 1 && estado != 2) {
        Aviso(kTextoNadaQueAbortar);
        return;
    }
    const QString pregunta = t.BuscarTexto(kTextoAbortar).arg(TituloVentana());
    if (inter.MostrarPregunta(pregunta, Botones::AceptarCancelar) != Respuesta::Aceptar)
        return;
    bool ok;
    {
        TOcupado ocupado(inter);
        ok = enlace->Abortar();
    }
    if (!ok)
        Aviso(kTextoNoAbortada);
    else
        principal_.MostrarEstado(QString());
}

// ---- read-back ----------------------------------------------------------------------

void TComandosCaptura::LecturaDatos1Click()
{
    TPausaRecordatorio pausa(principal_);
    TEstadoPrograma& e = Estado();
    const TContextoPrograma& c = Contexto();
    TInteraccion& inter = c.Interaccion();
    TTextos& t = c.Textos();
    TComCapvis* enlace = e.EnlaceSAD.get();
    if (!e.ConfigActual) {
        Aviso(kTextoLeerSinConfig);
        return;
    }
    if (!enlace)
        return;

    // The layout of the unit's data is that of the capture last programmed, which may
    // have been programmed before the program was restarted.
    std::unique_ptr<TConfigES> programa;
    if (principal_.GetHAyDatos()) {
        const QString ruta = TSecuenciaCaptura::BuscarPrograma(c.CarpetaPrograma);
        if (!ruta.isEmpty()) {
            try {
                TFicheroConfig fichero(t, inter, c.CarpetaPrograma);
                programa = fichero.LeerSoloConfiguracion(ruta);
            } catch (const std::exception&) {
                programa.reset();
            }
            if (!programa)
                return; // its reader said why
            if (!programa->Igual(*e.ConfigActual)) {
                Aviso(kTextoOtraBase);
                return;
            }
        }
    }

    int estado = -1;
    bool leido;
    {
        TOcupado ocupado(inter);
        leido = enlace->LeerEstado(estado);
    }
    if (!leido) {
        Aviso(kTextoSinEstado);
        return;
    }
    switch (estado) {
    case 0: inter.MostrarInformacion(t.BuscarTexto(kTextoNadaQueLeer), Botones::Aceptar); return;
    case 1: inter.MostrarInformacion(t.BuscarTexto(kTextoEstado1), Botones::Aceptar); return;
    case 2: inter.MostrarInformacion(t.BuscarTexto(kTextoEstado2), Botones::Aceptar); return;
    case 3: break;
    default: e.MarcarModificado(); return;
    }

    // Where the samples go: a new set, or the current one when it holds signals and the
    // user wants them added.
    std::unique_ptr<TCjtSenales> nuevo;
    TCjtSenales* destino = nullptr;
    if (!e.SenalesActuales || e.SenalesActuales->Vacio()) {
        nuevo = std::make_unique<TCjtSenales>(t, inter);
        nuevo->PonerNombradoAuto(e.SenalesActuales && e.SenalesActuales->NombradoAuto());
        nuevo->NumCaptura = e.SenalesActuales ? e.SenalesActuales->NumCaptura : 0;
        destino = nuevo.get();
    } else {
        const bool automatico = e.SenalesActuales->NombradoAuto();
        const int r = inter.MostrarPregunta(t.BuscarTexto(kTextoAnadir), Botones::SiNoCancelar);
        if (r == Respuesta::Si) {
            destino = e.SenalesActuales.get();
        } else if (r == Respuesta::No) {
            if (!principal_.GuardarAntesDeDescartar(kTextoGuardarAntes))
                return;
            // The old set and its windows go only once the new samples are in: a
            // read-back that fails leaves them as they were.
            nuevo = std::make_unique<TCjtSenales>(t, inter);
            nuevo->PonerNombradoAuto(automatico);
            destino = nuevo.get();
        } else {
            return;
        }
    }
    const int capturaAntes = destino->NumCaptura;
    if (destino->NombradoAuto())
        ++destino->NumCaptura;

    const TOperaciones ninguna;
    TSecuenciaCaptura secuencia(*enlace, *e.ConfigActual, e.OperacionesActuales ? *e.OperacionesActuales : ninguna,
                                t, inter, c.Reloj, c.CarpetaPrograma, TSecuenciaCaptura::TModo::SoloLectura);
    secuencia.PonerDestino(destino);
    if (programa)
        secuencia.PonerPrograma(*programa);
    else if (std::none_of(enlace->Descriptor.GrupoActivo.begin(), enlace->Descriptor.GrupoActivo.end(),
                          [](std::uint8_t g) { return g != 0; }))
        secuencia.PonerPrograma(*e.ConfigActual); // nothing better known
    TSecuenciaCaptura::TPaso paso;
    {
        TOcupado ocupado(inter);
        TfrmEsperaAck espera(c.Formulario, &principal_.Ventana());
        espera.Mostrar();
        espera.Leyendo();
        TConductorSecuencia conductor(secuencia, c.Reloj, &espera);
        paso = conductor.Ejecutar();
        espera.hide();
    }

    if (paso == TSecuenciaCaptura::TPaso::Terminada) {
        enlace->CapturaLeida = true;
        principal_.MostrarEstado(QString());
        // A new set is no longer the file that held the old one.
        if (nuevo)
            principal_.SustituirConjunto(std::move(nuevo));
        else
            principal_.CerrarVentanas();
        try {
            AbrirVentanasDelConjunto(principal_, TituloVentana());
        } catch (const std::exception&) {
            Aviso(kTextoNoCargado);
        }
        e.MarcarModificado();
        return;
    }
    // Nothing came: the set stays as it was, and so does its capture count.
    destino->NumCaptura = capturaAntes;
    switch (secuencia.ClaveFallo()) {
    case 0: break;
    case kTextoEstado1:
    case kTextoEstado2:
    case kTextoNadaQueLeer:
        inter.MostrarInformacion(t.BuscarTexto(secuencia.ClaveFallo()), Botones::Aceptar);
        break;
    default: Aviso(secuencia.ClaveFallo()); break;
    }
    e.Notificar();
}

// ---- unit test ------------------------------------------------------------------------

void TComandosCaptura::TestPresencia1Click()
{
    TPausaRecordatorio pausa(principal_);
    TComCapvis* enlace = Estado().EnlaceSAD.get();
    TInteraccion& inter = Contexto().Interaccion();
    if (!enlace)
        return;
    principal_.MostrarEstado(Contexto().Textos().BuscarTexto(kTextoComprobando));
    struct TLimpiar {
        IPrincipal& p;
        ~TLimpiar() { p.MostrarEstado(QString()); }
    } limpiar{principal_};
    auto intentar = [&](const std::function<bool()>& consulta) {
        for (;;) {
            bool ok;
            {
                TOcupado ocupado(inter);
                ok = consulta();
            }
            if (ok)
                return true;
            if (inter.PreguntarPresencia() != Respuesta::Reintentar)
                return false;
        }
    };
    if (!intentar([&] { return enlace->LeerVersion(); }))
        return;
    int estado = -1;
    if (!intentar([&] { return enlace->LeerEstado(estado); }))
        return;
    TfrmTestInterface ventana(Contexto().Formulario, &principal_.Ventana());
    ventana.Llenar(enlace->Version, estado, enlace->Capacidad, enlace->CapturaLeida);
    ventana.Ejecutar();
}

// ---- monitoring -----------------------------------------------------------------------

bool TComandosCaptura::CincoSegundos()
{
    const TConfigES& c = *Estado().ConfigActual;
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

void TComandosCaptura::Monitorizar1Click()
{
    TPausaRecordatorio pausa(principal_);
    if (!HayConfig() || !CincoSegundos())
        return;
    TEstadoPrograma& e = Estado();
    e.Monitorizando = false;
    if (!Presencia())
        return;
    int estado = -1;
    bool leido;
    {
        TOcupado ocupado(Contexto().Interaccion());
        leido = e.EnlaceSAD->LeerEstado(estado);
    }
    if (!leido) {
        Aviso(kTextoSinEstado);
        return;
    }
    if (estado == 0 || estado == 1 || estado == 3) {
        TTextos& t = Contexto().Textos();
        const int clave = estado == 0   ? kTextoEstado0
                          : estado == 1 ? kTextoEstado1
                                        : (e.EnlaceSAD->CapturaLeida ? kTextoEstado3Leida : kTextoEstado3);
        Aviso(t.BuscarTexto(clave) + t.BuscarTexto(kTextoNoMonitorizable));
        return;
    }
    TfrmMonitorizacion ventana(principal_, &principal_.Ventana());
    ventana.Ejecutar();
    e.Notificar();
}

void TComandosCaptura::MonitorContinuaClick()
{
    TPausaRecordatorio pausa(principal_);
    if (!HayConfig() || !CincoSegundos())
        return;
    if (!ComprobarEstado(QStringLiteral(".")))
        return;
    TEstadoPrograma& e = Estado();
    if (!e.ConfigActual || !e.EnlaceSAD)
        return;
    TConfigES& config = *e.ConfigActual;
    config.Retardo = 0;
    if (GruposActivos(config).grupos == 0) {
        Aviso(kTextoSinGrupos);
        return;
    }
    if (!PeriodoValido(config)) {
        Aviso(kTextoPeriodo);
        return;
    }
    if (!CabeEnMemoria(config)) {
        Aviso(kTextoMemoria);
        return;
    }
    TComCapvis& enlace = *e.EnlaceSAD;
    TInteraccion& inter = Contexto().Interaccion();
    principal_.MostrarEstado(Contexto().Textos().BuscarTexto(kTextoProgramandoContinua));
    enlace.SetRepetirCaptura(true);
    bool ok;
    {
        TOcupado ocupado(inter);
        TfrmEsperaAck espera(Contexto().Formulario, &principal_.Ventana());
        espera.Mostrar();
        enlace.PonerVentanaProgreso(&espera);
        ok = enlace.ProgramarRetardo(config);
        enlace.PonerVentanaProgreso(nullptr);
        if (ok)
            GuardarProgramaCfg(principal_, config);
        espera.hide();
    }
    if (!ok)
        Aviso(kTextoNoProgramada);
    e.Notificar();
    principal_.MostrarEstado(Contexto().Textos().BuscarTexto(kTextoContinuaEnMarcha));
    e.Monitorizando = true;
    {
        TfrmMonitorizacion ventana(principal_, &principal_.Ventana());
        ventana.Ejecutar();
    }
    e.Monitorizando = false;
    enlace.SetRepetirCaptura(false);
    e.Notificar();
}

} // namespace qv

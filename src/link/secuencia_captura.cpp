#include "link/secuencia_captura.h"

#include "link/ajustes_estacion.h"
#include "link/com_capvis.h"
#include "lang/interaccion.h"
#include "link/reloj.h"
#include "model/fft.h"
#include "model/fichero_config.h"
#include "model/generadores.h"
#include "model/senales.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <exception>

namespace qv {

namespace {

const QString NombrePrograma = QStringLiteral("Programa.cfg");

QString CarpetaUsuario()
{
    return CarpetaConfiguracionUsuario();
}

} // namespace

TSecuenciaCaptura::TSecuenciaCaptura(TConfigES config, TOperaciones operaciones, TTextos& textos,
                                     QString carpetaPrograma, TModo modo, TTipo tipo)
    : Config(std::move(config)), Operaciones(std::move(operaciones)), Textos(textos),
      Carpeta(std::move(carpetaPrograma)), Modo(modo), Tipo(tipo), Fase_(TFase::Estado)
{
    if (Tipo == TTipo::Inmediata)
        Config.Retardo = 0;
    if (Modo == TModo::EsperaYLectura || Modo == TModo::SoloEspera)
        Fase_ = TFase::Esperar;
    if (Modo == TModo::SoloProgramar)
        Fase_ = TFase::Programar;
}

TSecuenciaCaptura::~TSecuenciaCaptura() = default;


TSecuenciaCaptura::TPaso TSecuenciaCaptura::Resultado() const
{
    switch (Fase_) {
    case TFase::Decision:
        return TPaso::Decidir;
    case TFase::Terminada:
        return TPaso::Terminada;
    case TFase::Fallida:
        return TPaso::Fallida;
    case TFase::Cancelada:
        return TPaso::Cancelada;
    default:
        return TPaso::Sigue;
    }
}

TSecuenciaCaptura::TPaso TSecuenciaCaptura::Paso(TComCapvis& com)
{
    Com = &com;
    if (Programa_) {
        com.RestaurarGrupos(*Programa_);
        Programa_.reset();
    }
    if (Fase_ == TFase::Terminada || Fase_ == TFase::Fallida || Fase_ == TFase::Cancelada)
        return Resultado();
    if (Cancelar_) {
        switch (Fase_) {
        case TFase::Leer:
        case TFase::Cancelando:
            break; // a read-back in progress ends by draining its reply
        case TFase::Esperar:
            // The unit must not go on with a capture nobody waits for: it is aborted,
            // and its outputs go to zero, before the conversation ends.
            Fase_ = TFase::Abortar;
            break;
        case TFase::Abortar:
            break;
        default:
            Fase_ = TFase::Cancelada;
            return Resultado();
        }
    }
    switch (Fase_) {
    case TFase::Estado:
        PasoEstado();
        break;
    case TFase::Abortar:
        PasoAbortar();
        break;
    case TFase::Programar:
        PasoProgramar();
        break;
    case TFase::Esperar:
        PasoEsperar();
        break;
    case TFase::Leer:
    case TFase::Cancelando:
        PasoLeer();
        break;
    case TFase::Derivar:
        PasoDerivar();
        break;
    default:
        break;
    }
    return Resultado();
}

int TSecuenciaCaptura::EsperaSugerida() const
{
    switch (Fase_) {
    case TFase::Esperar:
        if (!EsperaEmpezada)
            return 0;
        return static_cast<int>(std::clamp<qint64>(ProximaConsulta - Com->Tiempo().Tick(), 0, PausaMaxima));
    case TFase::Leer:
    case TFase::Cancelando:
        return Lectura ? Lectura->EsperaSugerida() : 0;
    default:
        return 0;
    }
}

void TSecuenciaCaptura::Cancelar()
{
    Cancelar_ = true;
}

void TSecuenciaCaptura::Seguir(bool abortarAntes)
{
    if (Fase_ != TFase::Decision)
        return;
    if (abortarAntes)
        Fase_ = TFase::Abortar;
    else
        Fase_ = Modo == TModo::Comprobar ? TFase::Terminada : TFase::Programar;
}

void TSecuenciaCaptura::Responder(int respuesta)
{
    if (respuesta == Respuesta::Si)
        Seguir(Estado == SadProgramada);
    else
        Cancelar();
}

TConversacion::TAvance TSecuenciaCaptura::Avance() const
{
    return {Fase_ == TFase::Leer || Fase_ == TFase::Derivar, Recibidos(), Esperados()};
}

void TSecuenciaCaptura::Fallar(int clave)
{
    Clave = clave;
    Fase_ = TFase::Fallida;
}

void TSecuenciaCaptura::PasoEstado()
{
    int e = -1;
    if (!Com->LeerEstado(e)) {
        Fallar(Com->ClaveFallo(125));
        return;
    }
    Estado = e;
    if (Modo == TModo::SoloLectura) {
        // Only a finished capture has data to read; the key tells the caller why not.
        switch (e) {
        case 3:
            Fase_ = TFase::Leer;
            break;
        case 0:
            Fallar(217);
            break;
        case 1:
            Fallar(128);
            break;
        case 2:
            Fallar(129);
            break;
        default:
            Fallar(0);
            break;
        }
        return;
    }
    if (e >= 1 && e <= 3)
        Fase_ = TFase::Decision;
    else
        Fase_ = Modo == TModo::Comprobar ? TFase::Terminada : TFase::Programar;
}

void TSecuenciaCaptura::PasoAbortar()
{
    if (!Com->Abortar())
        Fallar(Com->ClaveFallo(131));
    else if (Cancelar_)
        Fase_ = TFase::Cancelada;
    else
        Fase_ = Modo == TModo::Comprobar ? TFase::Terminada : TFase::Programar;
}

void TSecuenciaCaptura::PasoProgramar()
{
    const bool ok = Tipo == TTipo::Trigger ? Com->ProgramarTrigger(Config, Trigger) : Com->ProgramarRetardo(Config);
    if (!ok && Com->EnvioInterrumpido()) {
        Fase_ = TFase::Cancelada; // the unit dropped the half command: nothing programmed
        return;
    }
    if (!ok) {
        Fallar(Com->ClaveFallo(135));
        return;
    }
    // Only now: the read-back rebuilds the reply's layout from this file, so it must
    // never describe a capture the unit did not take.
    Programa = GuardarPrograma(Config, Operaciones, Textos, Com->Usuario(), Carpeta);
    Fase_ = Modo == TModo::SoloProgramar ? TFase::Terminada : TFase::Esperar;
}

void TSecuenciaCaptura::EmpezarEspera()
{
    const double retardo = Tipo == TTipo::Trigger ? 0.0 : std::max(0.0, Config.Retardo);
    const double duracion = retardo + std::max(0, Config.NumMuestras) * Config.PeriodoSegundos();
    Pausa = std::clamp(static_cast<int>(std::min(duracion * 10, double(PausaMaxima))), PausaMinima, PausaMaxima);
    if (!LimiteEspera) {
        // A triggered capture starts when the unit sees its trigger: no limit of ours.
        LimiteEspera = Tipo == TTipo::Trigger
                           ? 0
                           : qint64(std::ceil((duracion * (1 + HolguraRelativa) + HolguraSegundos) * 1000));
    }
    InicioEspera = Com->Tiempo().Tick();
    ProximaConsulta = InicioEspera;
    Fallos = 0;
    ClaveFallos = 125;
    InicioPreparando = -1;
    Com->ReiniciarProgreso();
    EsperaEmpezada = true;
}

void TSecuenciaCaptura::PasoEsperar()
{
    if (!EsperaEmpezada)
        EmpezarEspera();
    if (Com->Tiempo().Tick() < ProximaConsulta)
        return;
    int e = -1;
    if (!Com->LeerEstado(e)) {
        // A relay getting ready (throwing a late answer away) is asked again shortly,
        // within the greeting's wait: not a failed read. After the unit was lost it is
        // only looking for it, and the capture is gone all the same.
        const qint64 ahora = Com->Tiempo().Tick();
        if (Com->RelayPreparando() && ClaveFallos == 125) {
            if (InicioPreparando < 0)
                InicioPreparando = ahora;
            if (ahora - InicioPreparando < TComCapvis::EsperaSaludo) {
                ProximaConsulta = ahora + std::max(Pausa, PausaPreparando);
                return;
            }
        }
        // A unit lost behind the relay may show as an unanswered read first and as a
        // relay getting ready after: the run of failures is told by its loss.
        if (const int clave = Com->ClaveFallo(125); clave != 125)
            ClaveFallos = clave;
        if (++Fallos >= FallosEstado) {
            Fallar(ClaveFallos);
            return;
        }
    } else {
        Fallos = 0;
        ClaveFallos = 125;
        InicioPreparando = -1;
        Estado = e;
        if (e == SadConDatos) {
            Fase_ = Modo == TModo::SoloEspera ? TFase::Terminada : TFase::Leer;
            return;
        }
        if (e == SadLibre) {
            Fallar(127); // the capture is gone
            return;
        }
        if (e == SadCapturando && Com->LeerMonitor())
            Progreso = Com->Foto().Descriptor.Progreso;
    }
    if (*LimiteEspera > 0 && Com->Tiempo().Tick() - InicioEspera > *LimiteEspera) {
        Fallar(129);
        return;
    }
    ProximaConsulta = Com->Tiempo().Tick() + Pausa;
}

void TSecuenciaCaptura::PasoLeer()
{
    if (!Lectura)
        Lectura = std::make_unique<TLecturaDatos>(*Com, Config);
    if (Cancelar_ && Fase_ == TFase::Leer) {
        Lectura->Cancelar();
        Fase_ = TFase::Cancelando;
    }
    switch (Lectura->Paso()) {
    case TLecturaDatos::TResultado::Sigue:
        break;
    case TLecturaDatos::TResultado::SinEnvio:
        Fallar(Com->ClaveFallo(157));
        break;
    case TLecturaDatos::TResultado::Cancelada:
        Fase_ = TFase::Cancelada;
        break;
    case TLecturaDatos::TResultado::Hecha:
        if (!Lectura->Datos() || Lectura->Muestras() <= 0) {
            Fallar(Com->ClaveFallo(140));
            break;
        }
        N = Lectura->Muestras();
        // The unit still reports state 3, but this capture is read now.
        Com->MarcarCapturaLeida();
        Fase_ = TFase::Derivar;
        break;
    }
}

void TSecuenciaCaptura::PasoDerivar()
{
    Nuevas = std::make_unique<TCjtSenales>(Textos, Com->Usuario());
    try {
        Lectura->Entregar(*Nuevas);
        SenalesDeSalidas(N, *Nuevas, Config, Textos);
        TFFT fft;
        Operaciones.Recalcular(*Nuevas, Config, fft, Com->Usuario(), Textos);
    } catch (const std::exception&) {
        // Half a capture is no capture.
        Nuevas.reset();
        Fallar(101);
        return;
    }
    Fase_ = TFase::Terminada;
}

qint64 TSecuenciaCaptura::Recibidos() const
{
    return Lectura ? Lectura->Recibidos() : 0;
}

qint64 TSecuenciaCaptura::Esperados() const
{
    return Lectura ? Lectura->Esperados() : 0;
}

qint64 TSecuenciaCaptura::TiempoEsperando() const
{
    return EsperaEmpezada && Com ? Com->Tiempo().Tick() - InicioEspera : 0;
}

std::unique_ptr<TCjtSenales> TSecuenciaCaptura::TomarSenales()
{
    return Fase_ == TFase::Terminada ? std::move(Nuevas) : nullptr;
}

QString TSecuenciaCaptura::GuardarPrograma(const TConfigES& config, const TOperaciones& operaciones,
                                           TTextos& textos, TInteraccion& interaccion,
                                           const QString& carpetaPrograma)
{
    TFicheroConfig fichero(textos, interaccion, carpetaPrograma);
    for (const QString& c : {carpetaPrograma, CarpetaUsuario()}) {
        if (c.isEmpty() || !QDir().mkpath(c))
            continue;
        const QString ruta = QDir(c).filePath(NombrePrograma);
        try {
            fichero.EscribirConfiguracion(ruta, config, operaciones);
            return ruta;
        } catch (const std::exception&) {
        }
    }
    return {};
}

QString TSecuenciaCaptura::BuscarPrograma(const QString& carpetaPrograma)
{
    QString mejor;
    QDateTime fecha;
    for (const QString& c : {carpetaPrograma, CarpetaUsuario()}) {
        if (c.isEmpty())
            continue;
        const QFileInfo f(QDir(c).filePath(NombrePrograma));
        if (f.isFile() && (mejor.isEmpty() || f.lastModified() > fecha)) {
            mejor = f.filePath();
            fecha = f.lastModified();
        }
    }
    return mejor;
}

} // namespace qv

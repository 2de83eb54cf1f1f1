#include "ordenes_cli.h"

#include "exportar_csv.h"
#include "informe.h"
#include "interrupcion.h"
#include "orden_bode.h"
#include "orden_decodificar.h"

#include "lang/texto_limpio.h"
#include "link/com_capvis.h"
#include "link/secuencia_captura.h"
#include "link/serie_port.h"
#include "link/tcp_port.h"
#include "model/base_tiempos.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/escritura_segura.h"
#include "model/espectro.h"
#include "model/exportar.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/formatos.h"
#include "model/generadores.h"
#include "model/medidas.h"
#include "model/operaciones.h"
#include "model/senales.h"
#include "model/vcd.h"
#include "plot/grafica_espectro.h"
#include "plot/grafica_senales.h"
#include "plot/imagenes.h"

#include <QDir>
#include <QFileInfo>
#include <QHostInfo>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace qv {

namespace {

// Texts of the companion's own checks.
constexpr int kTextoRespuestaNoValida = 285;
constexpr int kTextoNoExiste = 287;
constexpr int kTextoTerminada = 302; // state 3, read or not
constexpr int kTextoForzar = 303;    // how to replace the unit's capture
constexpr int kTextoSinMuestras = 425;
constexpr int kTextoInterrumpida = 470; // Ctrl+C: the capture wound down

QString Nativo(const QString& ruta)
{
    return QDir::toNativeSeparators(ruta);
}

} // namespace

void TSoltarEnlace::operator()(TComCapvis* com) const
{
    if (!com)
        return;
    // Over TCP the relay frees the unit itself when the connection closes.
    com->PonerPuerto(nullptr, com->Foto().EsTcp);
    delete com;
}

TOrdenesCli::TOrdenesCli(QString carpetaPrograma, std::FILE* salida, std::FILE* error)
    : carpeta_(std::move(carpetaPrograma)), salida_(salida), error_(error), interaccion_(error),
      ajustes_(carpeta_)
{
}

TOrdenesCli::~TOrdenesCli() = default;

QString TOrdenesCli::Uso()
{
    return QStringLiteral(
        "usage: quorvane-cli info FILE\n"
        "       quorvane-cli export FILE [-o OUT] [--signals A,B,...] [--csv | --vcd] [--overwrite]\n"
        "       quorvane-cli measure FILE [--signals A,B,...] [--from S] [--to S] [--csv] [-o OUT]\n"
        "                    [--overwrite]\n"
        "       quorvane-cli fit FILE --signals A --model MODEL [--from S] [--to S] [--csv]\n"
        "       quorvane-cli test [--port DEVICE | --relay HOST[:PORT]]\n"
        "       quorvane-cli capture CONFIG.cfg -o OUT.qvn [--delay S] [--force] [--overwrite]\n"
        "                    [--port DEVICE | --relay HOST[:PORT] [--wait] [--source ADDR]]\n"
        "       quorvane-cli turns --relay HOST[:PORT]\n"
        "       quorvane-cli render FILE [--signals A,B,...] [--digital | --x NAME] -o OUT [--size WxH]\n"
        "                    [--overwrite]\n"
        "       quorvane-cli render FILE --spectrum [--signals A] -o OUT [--size WxH] [--overwrite]\n")
        + UsoBode() + QStringLiteral(
        "OUT ends in .png, .svg, .pdf, .wmf or .bmp; the graph is drawn as the analog (or, with\n"
        "--digital, the digital) signal window draws it, 625x400 pixels unless --size says otherwise.\n"
        "--x NAME plots the first signal of --signals (or of the file) against the analog signal\n"
        "NAME, every sample pair joined in time order (an XY plot).\n"
        "--spectrum draws the magnitude spectrum (dB, Hann window, 0 to half the sampling\n"
        "frequency, the peak marked) of the analog signal A, or of the file's first one.\n"
        "--vcd writes a value change dump for waveform viewers: digital signals as wires,\n"
        "analog ones as real variables.\n"
        "measure prints per signal its minimum, maximum, mean, RMS, peak-to-peak, standard\n"
        "deviation, frequency, period, 10-90 % rise and fall times and dominant frequency\n"
        "(analog), or frequency, period, duty cycle and edges (digital), over the samples\n"
        "between --from and --to seconds (the whole signal by default).\n"
        "fit prints the parameters of MODEL fitted to A (linear, poly2 to poly5, exp, rc, sine,\n"
        "damped-sine, or expr:FORMULA in t and named parameters, each starting at 1) with their\n"
        "standard errors, r2 and the rms residual; t counts from the first sample fitted.\n"
        "FILE is a signal file (qvn) or a configuration file (cfg). Without --port or --relay\n"
        "the unit is found as the program finds it (Quorvane.ini in the program folder); a\n"
        "relative DEVICE (\"ttySAD\") is taken from the program folder, as the entries of\n"
        "PuertosSerie are.\n"
        "--force lets capture replace a capture the unit holds; --overwrite replaces OUT.\n"
        "capture switches the unit's outputs off when it ends, however it ends; Ctrl+C stops it\n"
        "(a capture under way is aborted first) with exit status 130.\n"
        "--wait makes capture wait in the relay's line when another PC holds the unit, its\n"
        "place on standard error; --source connects from that local address. turns prints\n"
        "who holds the relay's unit and the line of PCs waiting for it.\n")
        + NotasBode();
}

int TOrdenesCli::Ejecutar(const QStringList& args)
{
    if (args.isEmpty())
        return ErrorUso(QString());
    const QString orden = args.front();
    if (orden == QLatin1String("help") || orden == QLatin1String("--help") || orden == QLatin1String("-h")) {
        std::fputs((Uso() + UsoDecodificacion()).toLocal8Bit().constData(), salida_);
        return Salida::Bien;
    }
    if (orden == QLatin1String("bode"))
        return Bode(args.mid(1)); // its own options first
    if (EsOrdenDecodificacion(orden))
        return CargarIdioma() ? OrdenDecodificacion(args, idioma_, interaccion_, carpeta_, salida_, error_) : Salida::Fallo;
    TOpciones op;
    QString error;
    if (!LeerOpcionesCli(args.mid(1), op, error))
        return ErrorUso(error);
    if (!CargarIdioma())
        return Salida::Fallo;
    const bool leeFichero = orden == QLatin1String("info") || orden == QLatin1String("export") ||
                            orden == QLatin1String("capture") || orden == QLatin1String("render") ||
                            orden == QLatin1String("measure") || orden == QLatin1String("fit");
    if (leeFichero && op.posicionales.size() == 1 && !QFileInfo::exists(op.posicionales.front()))
        return Error(kTextoNoExiste, Nativo(op.posicionales.front()));

    if (orden == QLatin1String("info"))
        return Info(op);
    if (orden == QLatin1String("export"))
        return Exportar(op);
    if (orden == QLatin1String("test"))
        return Test(op);
    if (orden == QLatin1String("capture"))
        return Captura(op);
    if (orden == QLatin1String("render"))
        return Render(op);
    if (orden == QLatin1String("measure"))
        return Medir(op);
    if (orden == QLatin1String("fit"))
        return Ajustar(op);
    if (orden == QLatin1String("turns"))
        return Turnos(op);
    return ErrorUso(QStringLiteral("unknown command %1").arg(orden));
}

bool TOrdenesCli::CargarIdioma()
{
    // Without the language file every message would read "nada" and, worse, the unit
    // words of configuration files would not be recognised (times read as ms).
    const QString fichero = QDir(carpeta_).filePath(QStringLiteral("idioma.lng"));
    if (!QFileInfo(fichero).isReadable()) {
        interaccion_.Escribir(QStringLiteral("cannot read the language file %1").arg(Nativo(fichero)));
        return false;
    }
    idioma_.setIdiomaFile(fichero);
    return true;
}

int TOrdenesCli::Error(int clave, const QString& detalle)
{
    if (lineaAbierta_) {
        std::fputc('\n', error_);
        lineaAbierta_ = false;
    }
    QString t = idioma_.BuscarTexto(clave);
    if (!detalle.isEmpty())
        t += QLatin1Char(' ') + detalle;
    interaccion_.Escribir(t);
    return Salida::Fallo;
}

int TOrdenesCli::ErrorUnidad(const TComCapvis& com, int clave)
{
    return Error(com.ClaveFallo(clave));
}

int TOrdenesCli::ErrorUso(const QString& texto)
{
    if (!texto.isEmpty())
        interaccion_.Escribir(texto);
    std::fputs(Uso().toLocal8Bit().constData(), error_);
    return Salida::Uso;
}

void TOrdenesCli::Progreso(const QString& texto)
{
    // One line rewritten in place; padded so that a shorter text covers a longer one.
    std::fprintf(error_, "\r%-72s", texto.toLocal8Bit().constData());
    std::fflush(error_);
    lineaAbierta_ = true;
}

bool TOrdenesCli::AbrirFichero(const QString& ruta, TConfigES& config, TOperaciones& operaciones,
                               TCjtSenales& senales)
{
    TFicheroConfig fichero(idioma_, interaccion_, carpeta_);
    try {
        // A failed configuration part has shown its own stage text already.
        return AbrirFicheroSenales(ruta, fichero, config, operaciones, senales);
    } catch (const EErrorModelo& e) {
        if (e.Clave() != 0 && e.Clave() != 101)
            interaccion_.Escribir(idioma_.BuscarTexto(e.Clave()));
    } catch (const std::exception&) {
    }
    Error(101, QStringLiteral("(%1)").arg(Nativo(ruta)));
    return false;
}

bool TOrdenesCli::SalidaLibre(const QString& ruta, bool sobreescribir)
{
    // A device, pipe, socket or folder is never replaced, --overwrite or not.
    if (!DestinoReemplazable(ruta)) {
        Error(kTextoNoEsFichero, Nativo(ruta));
        return false;
    }
    const QFileInfo info(ruta);
    if (info.exists() && !sobreescribir) {
        interaccion_.Escribir(QStringLiteral("%1 exists; add --overwrite to replace it").arg(Nativo(ruta)));
        return false;
    }
    if (info.isDir() || !info.absoluteDir().exists() || !QFileInfo(info.absolutePath()).isWritable()) {
        Error(240, Nativo(ruta));
        return false;
    }
    return true;
}

bool TOrdenesCli::Escribir(const QString& ruta, const QByteArray& datos)
{
    if (ruta.isEmpty() || ruta == QLatin1String("-")) {
        return std::fwrite(datos.constData(), 1, size_t(datos.size()), salida_) == size_t(datos.size()) &&
               std::fflush(salida_) == 0;
    }
    if (!EscribirSeguro(ruta, datos)) {
        Error(DestinoReemplazable(ruta) ? 240 : kTextoNoEsFichero, Nativo(ruta));
        return false;
    }
    return true;
}

// ---- info and export ----

int TOrdenesCli::Info(const TOpciones& op)
{
    if (op.posicionales.size() != 1)
        return ErrorUso(QStringLiteral("info takes one file"));
    const QString ruta = op.posicionales.front();
    TConfigES config;
    TOperaciones operaciones;
    TCjtSenales senales(idioma_, interaccion_);
    if (!AbrirFichero(ruta, config, operaciones, senales))
        return Salida::Fallo;
    const QByteArray texto = InformeFichero(Nativo(ruta), config, operaciones, senales, idioma_).toLocal8Bit();
    return Escribir(QString(), texto) ? Salida::Bien : Salida::Fallo;
}

std::optional<int> TOrdenesCli::AbrirConSenales(const QString& ruta, const QStringList& nombres, TConfigES& config,
                                                TOperaciones& operaciones, TCjtSenales& senales)
{
    if (!AbrirFichero(ruta, config, operaciones, senales))
        return Salida::Fallo;
    if (senales.Vacio())
        return Error(218, QStringLiteral("(%1)").arg(Nativo(ruta)));
    for (const QString& n : nombres)
        if (!senales.BuscarAna(n) && !senales.BuscarDig(n)) {
            interaccion_.Escribir(QStringLiteral("%1 holds no signal named %2").arg(Nativo(ruta), n));
            return Salida::Fallo;
        }
    return std::nullopt;
}

int TOrdenesCli::Exportar(const TOpciones& op)
{
    if (op.posicionales.size() != 1)
        return ErrorUso(QStringLiteral("export takes one file"));
    if (op.csv && op.vcd)
        return ErrorUso(QStringLiteral("--csv and --vcd exclude each other"));
    const QString ruta = op.posicionales.front();
    const bool aFichero = !op.salida.isEmpty() && op.salida != QLatin1String("-");
    if (aFichero && !SalidaLibre(op.salida, op.sobreescribir))
        return Salida::Fallo;

    TConfigES config;
    TOperaciones operaciones;
    TCjtSenales senales(idioma_, interaccion_);
    if (const std::optional<int> fallo = AbrirConSenales(ruta, op.senales, config, operaciones, senales))
        return *fallo;

    const QByteArray datos = op.vcd   ? ExportarVcd(senales, op.senales)
                             : op.csv ? ExportarCsv(senales, op.senales)
                                      : ExportarTexto(senales, op.senales);
    return Escribir(aFichero ? op.salida : QString(), datos) ? Salida::Bien : Salida::Fallo;
}

int TOrdenesCli::Render(const TOpciones& op)
{
    if (op.posicionales.size() != 1)
        return ErrorUso(QStringLiteral("render takes one file"));
    if (op.salida.isEmpty() || op.salida == QLatin1String("-"))
        return ErrorUso(QStringLiteral("render needs -o OUT"));
    QSize tamano(625, 400);
    if (!op.tamano.isEmpty() && !LeerTamano(op.tamano, tamano))
        return ErrorUso(QStringLiteral("--size takes WxH, 16 to 10000 pixels each"));
    if (op.espectro && (op.digital || !op.ejeX.isEmpty() || op.senales.size() > 1))
        return ErrorUso(QStringLiteral("--spectrum draws one analog signal: at most one name in --signals, "
                                       "no --digital or --x"));
    if (!SalidaLibre(op.salida, op.sobreescribir))
        return Salida::Fallo;

    const QString ruta = op.posicionales.front();
    TCjtSenales senales(idioma_, interaccion_);
    TConfigES config;
    TOperaciones operaciones;
    if (!AbrirFichero(ruta, config, operaciones, senales))
        return Salida::Fallo;
    if (senales.Vacio())
        return Error(218, QStringLiteral("(%1)").arg(Nativo(ruta)));
    if (op.espectro) {
        const QString nombre = op.senales.isEmpty() ? senales.NombresAna().value(0) : op.senales.front();
        if (!senales.BuscarAna(nombre)) {
            interaccion_.Escribir(QStringLiteral("%1 holds no analog signal %2").arg(Nativo(ruta), nombre).trimmed());
            return Salida::Fallo;
        }
        QString error;
        if (!GuardarGraficaEspectro(senales, idioma_, nombre, TVentanaFFT::Hann, TEscalaEspectro::DB, tamano,
                                    op.salida, error)) {
            interaccion_.Escribir(QStringLiteral("%1: %2").arg(Nativo(op.salida), error));
            return Salida::Fallo;
        }
        return Salida::Bien;
    }
    if (!op.ejeX.isEmpty()) {
        if (op.digital)
            return ErrorUso(QStringLiteral("--x and --digital exclude each other"));
        if (!senales.BuscarAna(op.ejeX)) {
            interaccion_.Escribir(QStringLiteral("%1 holds no analog signal named %2").arg(Nativo(ruta), op.ejeX));
            return Salida::Fallo;
        }
    }
    for (const QString& n : op.senales) {
        // A digital window shows digital signals only.
        const bool existe = op.digital ? senales.BuscarDig(n) != nullptr : senales.BuscarAna(n) || senales.BuscarDig(n);
        if (!existe) {
            interaccion_.Escribir(QStringLiteral("%1 holds no %2signal named %3")
                                      .arg(Nativo(ruta), op.digital ? QStringLiteral("digital ") : QString(), n));
            return Salida::Fallo;
        }
    }
    QString error;
    if (!GuardarGraficaSenales(senales, idioma_, op.senales, op.digital, op.ejeX, tamano, op.salida, error)) {
        interaccion_.Escribir(QStringLiteral("%1: %2").arg(Nativo(op.salida), error));
        return Salida::Fallo;
    }
    return Salida::Bien;
}

std::optional<int> TOrdenesCli::LeerIntervalo(const TOpciones& op, double& desde, double& hasta)
{
    desde = 0;
    hasta = std::numeric_limits<double>::infinity();
    for (auto [texto, destino] : {std::pair{&op.desde, &desde}, std::pair{&op.hasta, &hasta}}) {
        if (texto->isEmpty())
            continue;
        const auto t = LeerReal(*texto);
        if (!t || !std::isfinite(*t) || *t < 0)
            return ErrorUso(QStringLiteral("--from and --to take seconds from the start, 0 or more"));
        *destino = *t;
    }
    if (desde > hasta)
        return ErrorUso(QStringLiteral("--from is after --to"));
    return std::nullopt;
}

int TOrdenesCli::Medir(const TOpciones& op)
{
    if (op.posicionales.size() != 1)
        return ErrorUso(QStringLiteral("measure takes one file"));
    double desde = 0, hasta = 0;
    if (const std::optional<int> fallo = LeerIntervalo(op, desde, hasta))
        return *fallo;
    const QString ruta = op.posicionales.front();
    const bool aFichero = !op.salida.isEmpty() && op.salida != QLatin1String("-");
    if (aFichero && !SalidaLibre(op.salida, op.sobreescribir))
        return Salida::Fallo;

    TConfigES config;
    TOperaciones operaciones;
    TCjtSenales senales(idioma_, interaccion_);
    if (const std::optional<int> fallo = AbrirConSenales(ruta, op.senales, config, operaciones, senales))
        return *fallo;

    TAnalizadorEspectro espectro;
    const TTablaMedidas tabla = TablaMedidas(senales, op.senales, ColumnasTodas(), desde, hasta, &espectro);
    if (std::none_of(tabla.filas.begin(), tabla.filas.end(), [](const TFilaMedidas& f) { return f.muestras > 0; }))
        return Error(kTextoSinMuestras);
    const QByteArray datos = op.csv ? TablaMedidasCsv(tabla, idioma_) : tabla.Texto(idioma_).toLocal8Bit();
    return Escribir(aFichero ? op.salida : QString(), datos) ? Salida::Bien : Salida::Fallo;
}

// ---- the unit ----

TEnlace TOrdenesCli::Conectar(const TOpciones& op, QString& donde, TInterrupcion* interrupcion)
{
    bool tcp = false;
    QString host;
    int puertoTcp = TTcpPort::PuertoRelay;
    QStringList puertos;
    QString relay = op.relay;
    if (relay.isEmpty() && op.puerto.isEmpty() && ajustes_.Multipuesto()) {
        // A classroom station reaches its unit through the relay of the PC it used last
        // (this PC when none is named).
        relay = ajustes_.UltimoPCSAD();
        tcp = true;
    }
    if (!op.relay.isEmpty()) {
        tcp = true;
        const auto destino = LeerDestinoRelay(relay, puertoTcp);
        if (!destino) {
            ErrorUso(QStringLiteral("bad relay port in %1").arg(relay));
            return nullptr;
        }
        relay = destino->host;
        puertoTcp = destino->puerto;
    }
    if (tcp)
        host = relay;
    else if (!op.puerto.isEmpty())
        puertos = QStringList{ajustes_.RutaPuertoSerie(op.puerto)};
    else
        puertos = ajustes_.PuertosSerie();

    TEnlace com(new TComCapvis(idioma_, interaccion_, reloj_, puertos));
    com->PonerPCLocal(QHostInfo::localHostName());
    com->PonerPuertoTcp(puertoTcp);
    com->SetTipoConexion(tcp);
    if (auto* p = dynamic_cast<TTcpPort*>(com->Puerto()); p && !op.origen.isEmpty())
        p->PonerOrigen(QHostAddress(op.origen));
    try {
        com->Conectar(host);
    } catch (const ENoHaySAD& e) {
        interaccion_.Escribir(e.Mensaje);
        return nullptr;
    } catch (const std::exception&) {
        Error(273);
        return nullptr;
    }
    if (const TInfoSAD info = com->Foto(); info.PCPropietario.compare(info.PCLocal, Qt::CaseInsensitive) != 0) {
        if (!tcp || !op.esperar) {
            Error(269, info.PCPropietario);
            return nullptr;
        }
        if (!EsperarTurno(*com, host, interrupcion))
            return nullptr;
    }
    if (tcp) {
        donde = QStringLiteral("relay %1:%2").arg(host.isEmpty() ? QStringLiteral("localhost") : host).arg(puertoTcp);
    } else if (auto* serie = dynamic_cast<TSeriePort*>(com->Puerto())) {
        donde = serie->NombrePuerto();
    }
    return com;
}

int TOrdenesCli::Test(const TOpciones& op)
{
    if (!op.posicionales.isEmpty())
        return ErrorUso(QStringLiteral("test takes no file"));
    QString donde;
    auto com = Conectar(op, donde);
    if (!com)
        return Salida::Fallo;
    int estado = 0;
    if (!com->LeerEstado(estado))
        return ErrorUnidad(*com, 125);
    // A unit that talks nonsense is no working unit, whatever the exit status says.
    if (estado < 0 || estado > 3)
        return Error(kTextoRespuestaNoValida, QStringLiteral("(state %1)").arg(estado));
    const TInfoSAD info = com->Foto();
    if (!VersionValida(info.Version) || info.Memoria <= 0)
        return Error(kTextoRespuestaNoValida,
                     QStringLiteral("(version %1, memory %2)").arg(TextoLimpio(info.Version, 32)).arg(info.Memoria));
    // The companion cannot know whether anyone has read a finished capture: it says
    // only what is sure, that the data stay until the next capture.
    const QString textoEstado = idioma_.BuscarTexto(estado == SadConDatos ? kTextoTerminada : 127 + estado);
    const QString t = QStringLiteral("unit: %1\nversion: %2\nmemory: %3\ncapacity: %4\nstate: %5 %6\n")
                          .arg(donde, info.Version)
                          .arg(info.Memoria)
                          .arg(info.Capacidad)
                          .arg(estado)
                          .arg(textoEstado);
    return Escribir(QString(), t.toLocal8Bit()) ? Salida::Bien : Salida::Fallo;
}

int TOrdenesCli::Captura(const TOpciones& op)
{
    if (op.posicionales.size() != 1)
        return ErrorUso(QStringLiteral("capture takes one configuration file"));
    if (op.salida.isEmpty() || op.salida == QLatin1String("-"))
        return ErrorUso(QStringLiteral("capture needs -o OUT.qvn"));
    int retardo = 0;
    if (op.hayRetardo) {
        const auto n = LeerEntero(op.retardo);
        if (!n || *n < 0)
            return ErrorUso(QStringLiteral("--delay takes whole seconds"));
        if (*n > 65535)
            return Error(133);
        retardo = int(*n);
    }
    // Everything that can be checked without the unit is checked before it is touched.
    if (!SalidaLibre(op.salida, op.sobreescribir))
        return Salida::Fallo;

    TConfigES config;
    TOperaciones operaciones;
    {
        TFicheroConfig fichero(idioma_, interaccion_, carpeta_);
        try {
            if (!fichero.LeerConfiguracion(op.posicionales.front(), config, operaciones))
                return Salida::Fallo;
        } catch (const std::exception&) {
            return Error(101, QStringLiteral("(%1)").arg(Nativo(op.posicionales.front())));
        }
    }
    config.Retardo = retardo;
    if (const int fallo = ComprobarCaptura(config, 167))
        return Error(fallo);

    // From here on Ctrl+C winds the capture down instead of leaving the unit driving
    // its outputs.
    TInterrupcion interrupcion;
    QString donde;
    auto com = Conectar(op, donde, &interrupcion);
    if (!com)
        return interrupcion.Veces() > 0 ? Interrumpida() : Salida::Fallo;

    // Ctrl+C stops a capture command that takes minutes on a slow line in its middle.
    com->PonerInterrupcion(interrupcion.Bandera());
    TSecuenciaCaptura secuencia(config, operaciones, idioma_, carpeta_, TSecuenciaCaptura::TModo::Completa,
                                retardo > 0 ? TSecuenciaCaptura::TTipo::Retardada : TSecuenciaCaptura::TTipo::Inmediata);
    // The progress line, rewritten at most ten times a second.
    qint64 mostrado = -1;
    TSecuenciaCaptura::TFase faseMostrada = TSecuenciaCaptura::TFase::Estado;
    auto mostrar = [&] {
        const TSecuenciaCaptura::TFase fase = secuencia.Fase();
        if (fase == faseMostrada && mostrado >= 0 && reloj_.Tick() - mostrado < 100)
            return;
        if (fase == TSecuenciaCaptura::TFase::Esperar && secuencia.EstadoUnidad() == 2) {
            Progreso(QStringLiteral("%1 %2/%3")
                         .arg(idioma_.BuscarTexto(251))
                         .arg(secuencia.ProgresoUnidad())
                         .arg(secuencia.MuestrasCaptura()));
        } else if (fase == TSecuenciaCaptura::TFase::Esperar) {
            Progreso(QStringLiteral("%1 (%2 s)").arg(idioma_.BuscarTexto(255)).arg(secuencia.TiempoEsperando() / 1000));
        } else if (fase == TSecuenciaCaptura::TFase::Leer || fase == TSecuenciaCaptura::TFase::Terminada) {
            Progreso(QStringLiteral("%1 %2/%3")
                         .arg(idioma_.BuscarTexto(249))
                         .arg(secuencia.Recibidos())
                         .arg(secuencia.Esperados()));
        } else {
            return;
        }
        mostrado = reloj_.Tick();
        faseMostrada = fase;
    };
    // The unit's outputs are switched off (command 5, all groups at 0) before it is let
    // go, however the capture ends: only a capture of someone else's that the unit is
    // still running is left alone, as the message about it says.
    bool apagar = true;
    std::optional<int> fallo;
    bool avisoEnvio = false;
    bool cancelada = false;
    for (;;) {
        const int veces = interrupcion.Veces();
        if (veces > 1)
            break; // asked twice: no more waiting for the unit
        if (veces == 1 && !cancelada) {
            // A capture being waited for is aborted, a read-back drains its reply.
            secuencia.Cancelar();
            cancelada = true;
        }
        if (secuencia.Fase() == TSecuenciaCaptura::TFase::Programar && !avisoEnvio) {
            interaccion_.Escribir(idioma_.BuscarTexto(257));
            avisoEnvio = true;
        }
        const TSecuenciaCaptura::TPaso paso = secuencia.Paso(*com);
        if (paso == TSecuenciaCaptura::TPaso::Terminada) {
            mostrado = -1; // the read-back's last count, whatever the pace
            mostrar();
            break;
        }
        if (paso == TSecuenciaCaptura::TPaso::Fallida || paso == TSecuenciaCaptura::TPaso::Cancelada) {
            if (!cancelada && interrupcion.Veces() == 0)
                fallo = ErrorUnidad(*com, secuencia.ClaveFallo() != 0 ? secuencia.ClaveFallo() : 101);
            break;
        }
        if (paso == TSecuenciaCaptura::TPaso::Decidir) {
            const int estado = secuencia.EstadoUnidad();
            if (!op.forzar) {
                // The unit holds another capture (or the data of one): leave it alone.
                const int clave = estado == SadConDatos ? kTextoTerminada : 127 + estado;
                apagar = estado != SadProgramada && estado != SadCapturando;
                fallo = Error(clave, QStringLiteral("(%1)").arg(idioma_.BuscarTexto(kTextoForzar)));
                break;
            }
            secuencia.Seguir(estado == SadProgramada);
            continue;
        }
        mostrar();
        interrupcion.Esperar(secuencia.EsperaSugerida());
    }
    if (lineaAbierta_) {
        std::fputc('\n', error_);
        lineaAbierta_ = false;
    }
    // A read-back given up runs out first: the unit takes no command while it sends.
    // Asked twice, the companion waits for it no more.
    while (com->PorDrenar() && interrupcion.Veces() <= 1 && !com->PasoDrenaje())
        interrupcion.Esperar(TComCapvis::PausaDrenaje);
    if (apagar)
        com->Desconectar();
    if (interrupcion.Veces() > 0)
        return Interrumpida();
    if (fallo)
        return *fallo;

    std::unique_ptr<TCjtSenales> senales = secuencia.TomarSenales();
    TFicheroConfig fichero(idioma_, interaccion_, carpeta_);
    try {
        GuardarFicheroSenales(op.salida, fichero, secuencia.Configuracion(), operaciones, *senales);
    } catch (const std::exception&) {
        // The unit keeps the data until the next capture is programmed.
        return Error(240, Nativo(op.salida));
    }
    interaccion_.Escribir(idioma_.BuscarTexto(250) + QStringLiteral(": ") + Nativo(op.salida));
    return Salida::Bien;
}

int TOrdenesCli::Interrumpida()
{
    Error(kTextoInterrumpida);
    return Salida::Interrumpida;
}

} // namespace qv

// File and configuration commands of the main window: open, save, save as, close and
// extend signal files; open, save and edit channel configurations; text export.
#include "app/comandos_archivo.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "app/api/ventana_hija.h"
#include "channels/menu_es.h"
#include "display/escoger_senales_fichero.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/errores.h"
#include "model/exportar.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/vcd.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace qv {

namespace {

constexpr int kTextoOtraConfiguracion = 209;
constexpr int kTextoNoExportadoVcd = 435;
constexpr int kTextoNoExiste = 287;
constexpr int kTextoIlegible = 370;
const QString kCaptionPrograma = QStringLiteral("QUORVANE");

QString SinCarpeta(const QString& ruta)
{
    return QFileInfo(ruta).fileName();
}

// The configuration dialogs' name after a signal file was opened: the file's name with
// its last three characters replaced by the configuration extension. It stays in the
// signal file's folder, so "Guardar archivo configuración" never writes to wherever the
// program happens to run.
QString NombreConfigDe(const QString& rutaSenales)
{
    const QFileInfo info(rutaSenales);
    QString nombre = info.fileName();
    nombre.chop(std::min<qsizetype>(3, nombre.size()));
    nombre += QStringLiteral("cfg");
    return info.dir().filePath(nombre);
}

} // namespace

TDialogoFichero::TDialogoFichero(const QString& nombreObjeto, const QString& filtro,
                                 const QString& extension, const QString& nombreInicial,
                                 QObject* parent)
    : QObject(parent), Nombre(nombreInicial), extension_(extension)
{
    setObjectName(nombreObjeto);
    setProperty("filter", filtro);
    setProperty("windowTitle", QString());
}

TComandosArchivo::TComandosArchivo(IPrincipal& principal) : principal_(principal)
{
    QWidget* v = &principal.Ventana();
    const QString senales = TEstadoPrograma::SinFicheroSenales;
    const QString config = TEstadoPrograma::SinFicheroConfig;
    auto dlg = [v](const char* nombre, const char* filtro, const char* ext, const QString& inicial) {
        return new TDialogoFichero(QLatin1String(nombre), QString::fromUtf8(filtro), QLatin1String(ext), inicial, v);
    };
    DlgAbrirSenales = dlg("DlgAbrirSenales", "Ficheros de señales|*.qvn", "qvn", senales);
    DlgGuardarSenales = dlg("DlgGuardarSenales", "Ficheros de señales|*.qvn", "qvn", senales);
    DlgAbrirConfig = dlg("DlgAbrirConfig", "Configuraciones|*.cfg", "cfg", config);
    DlgGuardarConfig = dlg("DlgGuardarConfig", "Configuraciones|*.cfg", "cfg", config);
    DlgGuardarBMP = dlg("DlgGuardarBMP", "Mapa de bits|*.bmp|Imagen PNG|*.png|Imagen SVG|*.svg|Documento PDF|*.pdf", "bmp", QString());
    DlgGuardarWMF = dlg("DlgGuardarWMF", "Windows Metafile|*.wmf", "wmf", QString());
    DlgExportarTXT = dlg("DlgExportarTXT", "Ficheros de texto|*.txt", "txt", QString());
    DlgExportarVCD = dlg("DlgExportarVCD", "Volcado de cambios de valor|*.vcd", "vcd", QString());
    connect(&Estado(), &TEstadoPrograma::ConjuntoSustituido, this, [this] {
        if (Estado().FicheroAbierto != TEstadoPrograma::SinFicheroSenales)
            return;
        DlgAbrirSenales->Nombre = TEstadoPrograma::SinFicheroSenales;
        DlgGuardarSenales->Nombre = TEstadoPrograma::SinFicheroSenales;
        PonerTitulo(Contexto().Textos().LeerTexto(1000));
    });
}

TEstadoPrograma& TComandosArchivo::Estado() const
{
    return principal_.Estado();
}

const TContextoPrograma& TComandosArchivo::Contexto() const
{
    return principal_.Contexto();
}

void TComandosArchivo::PonerTitulo(const QString& titulo)
{
    principal_.Ventana().setWindowTitle(titulo);
}

bool TComandosArchivo::HayAlgoAbierto() const
{
    return Estado().Config() || Estado().Senales();
}

// ---- signal files ----------------------------------------------------------------

void TComandosArchivo::SpBtnAbrirClick()
{
    const QString ruta = Contexto().Dialogos.AbrirFichero(DlgAbrirSenales->Filtro(), DlgAbrirSenales->Titulo(),
                                                          DlgAbrirSenales->Nombre);
    if (!ruta.isEmpty())
        AbrirSenalesElegidas(ruta);
}

void TComandosArchivo::AbrirFichero(const QString& ruta)
{
    // A dialog offers only files that are there; a file that is not is refused before
    // the open file is closed for it.
    const QFileInfo info(ruta);
    if (!info.isFile() || !info.isReadable()) {
        const int texto = info.exists() ? kTextoIlegible : kTextoNoExiste;
        Contexto().Interaccion().MostrarAviso(
            Contexto().Textos().BuscarTexto(texto) + QLatin1Char(' ') + QDir::toNativeSeparators(ruta), Botones::Aceptar);
        return;
    }
    if (info.suffix().compare(QLatin1String("cfg"), Qt::CaseInsensitive) == 0)
        CargarConfiguracionElegida(ruta);
    else
        AbrirSenalesElegidas(ruta);
}

void TComandosArchivo::AbrirSenalesElegidas(const QString& ruta)
{
    // Not closed (the save question was cancelled, or the save failed): the file that
    // is open stays open, and so does a set whose file had no readable configuration.
    if (!Cerrar())
        return;
    DlgAbrirSenales->Nombre = ruta;
    AbrirFicheroSenales(ruta);
}

bool TComandosArchivo::AbrirFicheroSenales(const QString& ruta)
{
    TEstadoPrograma& e = Estado();
    TTextos& textos = Contexto().Textos();
    TInteraccion& interaccion = Contexto().Interaccion();
    const QString captionPrevio = principal_.Ventana().windowTitle();
    try {
        auto senales = std::make_unique<TCjtSenales>(textos, interaccion);
        auto config = std::make_unique<TConfigES>();
        auto operaciones = std::make_unique<TOperaciones>();
        bool configLeida = false;
        {
            TCursorOcupado cursor(interaccion);
            TFicheroConfig ficheroConfig(textos, interaccion, Contexto().CarpetaPrograma);
            // Without a readable configuration part its reader has shown why; the
            // signals are still read and the file stays open without a configuration.
            configLeida = qv::AbrirFicheroSenales(ruta, ficheroConfig, *config, *operaciones, *senales);
        }
        e.PonerOperaciones(configLeida ? std::move(operaciones) : std::make_unique<TOperaciones>());
        e.PonerConfig(configLeida ? std::move(config) : nullptr);
        e.FicheroConfig = NombreConfigDe(ruta);
        DlgAbrirConfig->Nombre = e.FicheroConfig;
        DlgGuardarConfig->Nombre = e.FicheroConfig;
        PonerTitulo(captionPrevio + QStringLiteral(" - ") + SinCarpeta(ruta));
        e.PonerConjunto(std::move(senales), ruta);
        return true;
    } catch (const std::exception&) {
        interaccion.MostrarAviso(textos.BuscarTexto(clave::NoCargado), Botones::Aceptar);
        e.PonerOperaciones(nullptr);
        e.PonerConfig(nullptr);
        // Nothing is open, so no later "Guardar" may write to the file that failed.
        e.PonerConjunto(nullptr);
        PonerTitulo(captionPrevio);
        return false;
    }
}

void TComandosArchivo::GuardarArchivoClick()
{
    Guardar();
}

bool TComandosArchivo::Guardar()
{
    TEstadoPrograma& e = Estado();
    if (!HayAlgoAbierto())
        return true; // nothing that could be lost
    if (e.FicheroGuardarComo == TEstadoPrograma::SinFicheroSenales
        && e.FicheroAbierto == TEstadoPrograma::SinFicheroSenales)
        return GuardarComo();
    // A file chosen in "Añadir señales de fichero" never becomes the open file, so the
    // save goes back to the file opened with "Abrir".
    if (e.FicheroGuardarComo == TEstadoPrograma::SinFicheroSenales)
        e.FicheroGuardarComo = e.FicheroAbierto;
    return EscribirSenales(e.FicheroGuardarComo);
}

bool TComandosArchivo::EscribirSenales(const QString& ruta)
{
    TEstadoPrograma& e = Estado();
    try {
        TCursorOcupado cursor(Contexto().Interaccion());
        TFicheroConfig ficheroConfig(Contexto().Textos(), Contexto().Interaccion(), Contexto().CarpetaPrograma);
        // A set read from a file without a readable configuration is kept with a default
        // one, so that its signals can still be saved and read back.
        const TConfigES porDefecto;
        const TOperaciones sinOperaciones;
        const TCjtSenales vacio(Contexto().Textos(), Contexto().Interaccion());
        GuardarFicheroSenales(ruta, ficheroConfig, e.Config() ? *e.Config() : porDefecto,
                              e.OperacionesSiHay() ? *e.OperacionesSiHay() : sinOperaciones,
                              e.Senales() ? *e.Senales() : vacio);
    } catch (const std::exception&) {
        // The old file is intact and the changes are still unsaved.
        FallaEscritura(ruta);
        return false;
    }
    DlgGuardarSenales->Nombre = ruta;
    for (QMdiSubWindow* s : principal_.AreaVentanas().subWindowList())
        if (auto* h = dynamic_cast<IVentanaHija*>(s->widget()))
            h->FicheroGuardado(ruta);
    PonerTitulo(kCaptionPrograma + QStringLiteral(" - ") + SinCarpeta(ruta));
    e.MarcarGuardado();
    return true;
}

void TComandosArchivo::FallaEscritura(const QString& ruta)
{
    Contexto().Interaccion().MostrarError(Contexto().Textos().BuscarTexto(clave::NoGuardado) + QLatin1Char(' ') + ruta,
                                          Botones::Aceptar);
}

void TComandosArchivo::Guardarcomo1Click()
{
    GuardarComo();
}

bool TComandosArchivo::GuardarComo()
{
    const QString ruta = Contexto().Dialogos.GuardarFichero(DlgGuardarSenales->Filtro(), DlgGuardarSenales->Titulo(),
                                                            DlgGuardarSenales->Nombre, DlgGuardarSenales->Extension());
    // A pattern is no answer: it would send the save back here.
    if (ruta.isEmpty() || ruta == TEstadoPrograma::SinFicheroSenales)
        return false;
    DlgGuardarSenales->Nombre = ruta;
    // The names change only once the file is written: after a failure "Guardar" still
    // goes where it went before.
    if (!EscribirSenales(ruta))
        return false;
    Estado().FicheroGuardarComo = ruta;
    Estado().FicheroAbierto = TEstadoPrograma::SinFicheroSenales;
    return true;
}

bool TComandosArchivo::GuardarAntesDeDescartar(int pregunta)
{
    const int r = Contexto().Interaccion().MostrarPregunta(Contexto().Textos().BuscarTexto(pregunta),
                                                           Botones::SiNoCancelar);
    if (r == Respuesta::No)
        return true;
    // "Cancelar", the title-bar close, or no box shown: keep everything.
    if (r != Respuesta::Si)
        return false;
    return Guardar() && !Estado().Modificado();
}

void TComandosArchivo::CerrarClick()
{
    Cerrar();
}

bool TComandosArchivo::Cerrar()
{
    if (Estado().Modificado() && !GuardarAntesDeDescartar(clave::Cambios))
        return false;
    Descartar();
    return true;
}

void TComandosArchivo::Descartar()
{
    TEstadoPrograma& e = Estado();
    e.PonerConjunto(nullptr);
    e.PonerOperaciones(nullptr);
    e.PonerConfig(nullptr);
    e.MarcarGuardado();
}

void TComandosArchivo::AnadirClick()
{
    TEstadoPrograma& e = Estado();
    if (!e.Senales())
        return;
    // The file chosen here is read only; it never becomes the open file.
    const QString ruta = Contexto().Dialogos.AbrirFichero(DlgAbrirSenales->Filtro(), DlgAbrirSenales->Titulo(),
                                                          DlgAbrirSenales->Nombre);
    if (ruta.isEmpty())
        return;
    TTextos& textos = Contexto().Textos();
    TInteraccion& interaccion = Contexto().Interaccion();
    std::unique_ptr<TConfigES> temporal;
    try {
        TFicheroConfig ficheroConfig(textos, interaccion, Contexto().CarpetaPrograma);
        temporal = ficheroConfig.LeerSoloConfiguracion(ruta);
    } catch (const std::exception&) {
        interaccion.MostrarAviso(textos.BuscarTexto(clave::NoCargado), Botones::Aceptar);
        return;
    }
    if (!temporal)
        return; // the reader has shown which part was not valid
    if (!e.Config() || !temporal->Igual(*e.Config())) {
        interaccion.MostrarAviso(textos.BuscarTexto(kTextoOtraConfiguracion), Botones::Aceptar);
        return;
    }
    TfrmEscSenFich escoger(principal_, &principal_.Ventana());
    escoger.InicializarListaSenales(ruta);
    escoger.Ejecutar();
}

// ---- configurations ----------------------------------------------------------------

void TComandosArchivo::VerConfig1Click()
{
    TEstadoPrograma& e = Estado();
    e.PonerTrabajo(e.Config() ? std::make_unique<TConfigES>(*e.Config()) : std::make_unique<TConfigES>());
    e.Operaciones();
    AbrirVentanaConfiguracion();
}

void TComandosArchivo::CargarConfES1Click()
{
    const QString ruta = Contexto().Dialogos.AbrirFichero(DlgAbrirConfig->Filtro(), DlgAbrirConfig->Titulo(),
                                                          DlgAbrirConfig->Nombre);
    if (!ruta.isEmpty())
        CargarConfiguracionElegida(ruta);
}

void TComandosArchivo::CargarConfiguracionElegida(const QString& ruta)
{
    TEstadoPrograma& e = Estado();
    TTextos& textos = Contexto().Textos();
    TInteraccion& interaccion = Contexto().Interaccion();
    TFicheroConfig ficheroConfig(textos, interaccion, Contexto().CarpetaPrograma);
    try {
        std::unique_ptr<TConfigES> temporal = ficheroConfig.LeerSoloConfiguracion(ruta);
        if (!temporal)
            return; // the reader has shown which part was not valid
        // Another time base: the current signals do not belong to it.
        if (e.Config() && !e.Config()->Igual(*temporal) && !Cerrar())
            return;
        auto config = std::make_unique<TConfigES>();
        auto operaciones = std::make_unique<TOperaciones>();
        if (!ficheroConfig.LeerConfiguracion(ruta, *config, *operaciones))
            return; // a half-read file replaces neither the configuration nor its operations
        e.PonerOperaciones(std::move(operaciones));
        e.FicheroConfig = ruta;
        e.PonerConfig(std::move(config));
    } catch (const std::exception&) {
        interaccion.MostrarAviso(textos.BuscarTexto(clave::NoCargado), Botones::Aceptar);
        return;
    }
    DlgAbrirConfig->Nombre = ruta;
    DlgGuardarConfig->Nombre = ruta;
    VerConfig1Click();
}

bool TComandosArchivo::EscribirConfig(const QString& ruta)
{
    TEstadoPrograma& e = Estado();
    if (!e.Config())
        return false;
    try {
        TCursorOcupado cursor(Contexto().Interaccion());
        const TOperaciones sinOperaciones;
        TFicheroConfig ficheroConfig(Contexto().Textos(), Contexto().Interaccion(), Contexto().CarpetaPrograma);
        ficheroConfig.EscribirConfiguracion(ruta, *e.Config(),
                                            e.OperacionesSiHay() ? *e.OperacionesSiHay() : sinOperaciones);
    } catch (const std::exception&) {
        FallaEscritura(ruta);
        return false;
    }
    return true;
}

void TComandosArchivo::GrabarConES1Click()
{
    if (!Estado().Config())
        return;
    const QString nombre = Estado().FicheroConfig;
    if (nombre.isEmpty() || nombre.contains(QLatin1Char('*'))) {
        Gurardarcomo1Click();
        return;
    }
    EscribirConfig(nombre);
}

void TComandosArchivo::Gurardarcomo1Click()
{
    if (!Estado().Config())
        return;
    const QString ruta = Contexto().Dialogos.GuardarFichero(DlgGuardarConfig->Filtro(), DlgGuardarConfig->Titulo(),
                                                            DlgGuardarConfig->Nombre, DlgGuardarConfig->Extension());
    if (ruta.isEmpty() || ruta.contains(QLatin1Char('*')))
        return;
    if (EscribirConfig(ruta)) {
        Estado().FicheroConfig = ruta;
        DlgAbrirConfig->Nombre = ruta;
        DlgGuardarConfig->Nombre = ruta;
    }
}

// ---- text export ---------------------------------------------------------------------

std::pair<QString, bool> TComandosArchivo::Exportar(TDialogoFichero& d,
                                                    const std::function<bool(const QString&)>& escribir)
{
    if (!Estado().HayConjunto())
        return {};
    const QString ruta = Contexto().Dialogos.GuardarFichero(d.Filtro(), d.Titulo(), d.Nombre, d.Extension());
    if (ruta.isEmpty())
        return {};
    d.Nombre = ruta;
    TCursorOcupado cursor(Contexto().Interaccion());
    return {ruta, escribir(ruta)};
}

void TComandosArchivo::ExportarTXT1Click()
{
    const auto [ruta, escrito] =
        Exportar(*DlgExportarTXT, [this](const QString& r) { return ExportarTextoFichero(*Estado().Senales(), r); });
    if (!ruta.isEmpty() && !escrito)
        Contexto().Interaccion().MostrarInformacion(
            Contexto().Textos().BuscarTexto(clave::NoExportado) + QLatin1Char(' ') + ruta, Botones::Aceptar);
}

void TComandosArchivo::ExportarVCD1Click()
{
    QString error;
    const auto [ruta, escrito] = Exportar(*DlgExportarVCD, [this, &error](const QString& r) {
        return ExportarVcdFichero(*Estado().Senales(), r, {}, {}, &error);
    });
    if (!ruta.isEmpty() && !escrito)
        Contexto().Interaccion().MostrarError(Contexto().Textos().BuscarTexto(kTextoNoExportadoVcd) + QLatin1Char(' ')
                                                  + ruta + QStringLiteral("\n") + error,
                                              Botones::Aceptar);
}

// ---- windows of other parts ----------------------------------------------------------

void TComandosArchivo::AbrirVentanaConfiguracion()
{
    TEstadoPrograma& e = Estado();
    if (!e.Trabajo())
        e.PonerTrabajo(std::make_unique<TConfigES>());
    {
        // Accepted, the window has made a copy of the working configuration current.
        std::unique_ptr<TMenuESBase> ventana = CrearMenuES(principal_, &principal_.Ventana());
        ventana->Ejecutar();
    }
    e.PonerTrabajo(nullptr);
}

} // namespace qv

// File and configuration commands of the main window: open, save, save as, close and
// extend signal files; open, save and edit channel configurations; text export.
#include "app/ventana_principal.h"

#include "app/api/ventana_hija.h"
#include "display/escoger_senales_fichero.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/modal.h"
#include "model/errores.h"
#include "model/escritura_segura.h"
#include "model/exportar.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace qv {

namespace {

constexpr int kTextoNoCargado = 101;
constexpr int kTextoOtraConfiguracion = 209;
constexpr int kTextoCambios = 210;
constexpr int kTextoNoExportado = 240;
constexpr int kTextoNoGuardado = 243;
const QString kCaptionPrograma = QStringLiteral("QUORVANE");

// Busy cursor for the length of a file operation, however it ends.
class TCursorOcupado {
public:
    explicit TCursorOcupado(TInteraccion& i) : i_(i) { i_.CursorOcupado(true); }
    ~TCursorOcupado() { i_.CursorOcupado(false); }
    TCursorOcupado(const TCursorOcupado&) = delete;
    TCursorOcupado& operator=(const TCursorOcupado&) = delete;

private:
    TInteraccion& i_;
};

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

void TfrmPrincipal::ConectarComandosArchivo()
{
    connect(SpBtnAbrir, &QAction::triggered, this, &TfrmPrincipal::SpBtnAbrirClick);
    connect(Abrir1, &QAction::triggered, this, &TfrmPrincipal::SpBtnAbrirClick);
    connect(Guardarcomo1, &QAction::triggered, this, &TfrmPrincipal::Guardarcomo1Click);
    connect(Anadir, &QAction::triggered, this, &TfrmPrincipal::AnadirClick);
    connect(VerConfig1, &QAction::triggered, this, &TfrmPrincipal::VerConfig1Click);
    connect(SpBtnES, &QAction::triggered, this, &TfrmPrincipal::VerConfig1Click);
    connect(CargarConfES1, &QAction::triggered, this, &TfrmPrincipal::CargarConfES1Click);
    connect(GrabarConES1, &QAction::triggered, this, &TfrmPrincipal::GrabarConES1Click);
    connect(Gurardarcomo1, &QAction::triggered, this, &TfrmPrincipal::Gurardarcomo1Click);
    connect(ExportarTXT1, &QAction::triggered, this, &TfrmPrincipal::ExportarTXT1Click);
}

bool TfrmPrincipal::HayAlgoAbierto() const
{
    return estado_.ConfigActual || estado_.SenalesActuales;
}

// ---- signal files ----------------------------------------------------------------

void TfrmPrincipal::SpBtnAbrirClick()
{
    const QString ruta = dialogos_->AbrirFichero(DlgAbrirSenales->Filtro(), DlgAbrirSenales->Titulo(),
                                                 DlgAbrirSenales->Nombre);
    if (ruta.isEmpty())
        return;
    CerrarClick();
    // The save question was cancelled: the file that is open stays open, and so does
    // a set whose file had no readable configuration.
    if (HayAlgoAbierto())
        return;
    estado_.FicheroAbierto = ruta;
    DlgAbrirSenales->Nombre = ruta;
    const bool abierto = AbrirFicheroSenales(ruta);
    ActualizarMenus();
    if (abierto)
        Guardarcomo1->setEnabled(true);
}

bool TfrmPrincipal::AbrirFicheroSenales(const QString& ruta)
{
    const QString captionPrevio = windowTitle();
    try {
        estado_.SenalesActuales = std::make_unique<TCjtSenales>(textos_, interaccion_);
        QByteArray datos;
        {
            TCursorOcupado cursor(interaccion_);
            if (!LeerFicheroEntero(ruta, datos))
                throw EErrorModelo(QStringLiteral("No se puede leer %1").arg(ruta));
        }

        // The configuration part: when it cannot be read its reader has shown why, and
        // the signals are still read, without a configuration.
        estado_.ConfigActual.reset();
        estado_.OperacionesActuales.reset();
        auto config = std::make_unique<TConfigES>();
        auto operaciones = std::make_unique<TOperaciones>();
        TFicheroConfig ficheroConfig(textos_, interaccion_, carpetaPrograma_);
        if (ficheroConfig.LeerConfiguracionDatos(datos, *config, *operaciones)) {
            estado_.ConfigActual = std::move(config);
            estado_.OperacionesActuales = std::move(operaciones);
        } else {
            estado_.OperacionesActuales = std::make_unique<TOperaciones>();
        }
        estado_.FicheroConfig = NombreConfigDe(ruta);
        DlgAbrirConfig->Nombre = estado_.FicheroConfig;
        DlgGuardarConfig->Nombre = estado_.FicheroConfig;

        {
            TCursorOcupado cursor(interaccion_);
            LeerFichero(*estado_.SenalesActuales, datos);
        }
        setWindowTitle(captionPrevio + QStringLiteral(" - ") + SinCarpeta(ruta));
        if (estado_.HayConjunto())
            AbrirVentanaAnalogica(ruta);
        return true;
    } catch (const std::exception&) {
        interaccion_.MostrarAviso(textos_.BuscarTexto(kTextoNoCargado), Botones::Aceptar);
        CerrarVentanas();
        estado_.SenalesActuales.reset();
        estado_.ConfigActual.reset();
        estado_.OperacionesActuales.reset();
        // Nothing is open, so no later "Guardar" may write to the file that failed.
        estado_.FicheroAbierto = TEstadoPrograma::SinFicheroSenales;
        DlgAbrirSenales->Nombre = TEstadoPrograma::SinFicheroSenales;
        setWindowTitle(captionPrevio);
        ActualizarMenus();
        return false;
    }
}

void TfrmPrincipal::GuardarArchivoClick()
{
    if (estado_.FicheroGuardarComo == TEstadoPrograma::SinFicheroSenales
        && estado_.FicheroAbierto == TEstadoPrograma::SinFicheroSenales) {
        Guardarcomo1Click();
        return;
    }
    if (!HayAlgoAbierto())
        return;
    // A file chosen in "Añadir señales de fichero" never becomes the open file, so the
    // save goes back to the file opened with "Abrir".
    if (estado_.FicheroGuardarComo == TEstadoPrograma::SinFicheroSenales)
        estado_.FicheroGuardarComo = estado_.FicheroAbierto;
    const QString ruta = estado_.FicheroGuardarComo;
    try {
        EscribirSenales(ruta);
    } catch (const std::exception&) {
        // The old file is intact and the changes are still unsaved.
        FallaEscritura(ruta);
        return;
    }
    DlgGuardarSenales->Nombre = ruta;
    for (QMdiSubWindow* s : Area->subWindowList())
        if (auto* h = dynamic_cast<IVentanaHija*>(s->widget()); h && h->EsVentanaSenales())
            s->widget()->setWindowTitle(ruta);
    MarcarGuardado();
    setWindowTitle(kCaptionPrograma + QStringLiteral(" - ") + SinCarpeta(ruta));
}

void TfrmPrincipal::EscribirSenales(const QString& ruta)
{
    TCursorOcupado cursor(interaccion_);
    TFicheroConfig ficheroConfig(textos_, interaccion_, carpetaPrograma_);
    // A set read from a file without a readable configuration is kept with a default
    // one, so that its signals can still be saved and read back.
    const TConfigES porDefecto;
    const TOperaciones sinOperaciones;
    const TConfigES& config = estado_.ConfigActual ? *estado_.ConfigActual : porDefecto;
    const TOperaciones& operaciones = estado_.OperacionesActuales ? *estado_.OperacionesActuales : sinOperaciones;
    QByteArray datos = ficheroConfig.Texto(config, operaciones);
    if (estado_.SenalesActuales)
        EscribirFichero(*estado_.SenalesActuales, datos);
    QString error;
    if (!EscribirSeguro(ruta, datos, &error))
        throw EErrorModelo(error);
}

void TfrmPrincipal::FallaEscritura(const QString& ruta)
{
    interaccion_.MostrarError(textos_.BuscarTexto(kTextoNoGuardado) + QLatin1Char(' ') + ruta, Botones::Aceptar);
}

void TfrmPrincipal::Guardarcomo1Click()
{
    const QString ruta = dialogos_->GuardarFichero(DlgGuardarSenales->Filtro(), DlgGuardarSenales->Titulo(),
                                                   DlgGuardarSenales->Nombre, DlgGuardarSenales->Extension());
    // A pattern is no answer: it would send the save back here.
    if (ruta.isEmpty() || ruta == TEstadoPrograma::SinFicheroSenales)
        return;
    estado_.FicheroGuardarComo = ruta;
    DlgGuardarSenales->Nombre = ruta;
    estado_.FicheroAbierto = TEstadoPrograma::SinFicheroSenales;
    GuardarArchivoClick();
}

void TfrmPrincipal::CerrarClick()
{
    if (estado_.Modificado) {
        const int r = interaccion_.MostrarPregunta(textos_.BuscarTexto(kTextoCambios), Botones::SiNoCancelar);
        if (r == Respuesta::Si) {
            GuardarArchivoClick();
            if (estado_.Modificado)
                return; // the save did not happen: nothing is discarded
        } else if (r == Respuesta::No) {
            MarcarGuardado();
            Guardarcomo1->setEnabled(false);
        } else {
            // "Cancelar", the title-bar close, or no box shown: keep everything.
            return;
        }
    }
    CerrarVentanas();
    estado_.SenalesActuales.reset();
    estado_.ConfigActual.reset();
    estado_.OperacionesActuales.reset();
    ActualizarMenus();
    estado_.FicheroAbierto = TEstadoPrograma::SinFicheroSenales;
    estado_.FicheroGuardarComo = TEstadoPrograma::SinFicheroSenales;
    DlgAbrirSenales->Nombre = TEstadoPrograma::SinFicheroSenales;
    DlgGuardarSenales->Nombre = TEstadoPrograma::SinFicheroSenales;
    setWindowTitle(textos_.LeerTexto(1000));
}

void TfrmPrincipal::AnadirClick()
{
    if (!estado_.SenalesActuales)
        return;
    // The file chosen here is read only; it never becomes the open file.
    const QString ruta = dialogos_->AbrirFichero(DlgAbrirSenales->Filtro(), DlgAbrirSenales->Titulo(),
                                                 DlgAbrirSenales->Nombre);
    if (ruta.isEmpty())
        return;
    std::unique_ptr<TConfigES> temporal;
    try {
        TFicheroConfig ficheroConfig(textos_, interaccion_, carpetaPrograma_);
        temporal = ficheroConfig.LeerSoloConfiguracion(ruta);
    } catch (const std::exception&) {
        interaccion_.MostrarAviso(textos_.BuscarTexto(kTextoNoCargado), Botones::Aceptar);
        return;
    }
    if (!temporal)
        return; // the reader has shown which part was not valid
    if (!estado_.ConfigActual || !temporal->Igual(*estado_.ConfigActual)) {
        interaccion_.MostrarAviso(textos_.BuscarTexto(kTextoOtraConfiguracion), Botones::Aceptar);
        return;
    }
    TfrmEscSenFich escoger(textos_, interaccion_, *this, this);
    escoger.InicializarListaSenales(ruta);
    modal_.Ejecutar(escoger);
    ActualizarMenus();
}

// ---- configurations ----------------------------------------------------------------

void TfrmPrincipal::VerConfig1Click()
{
    estado_.ConfigTrabajo = estado_.ConfigActual ? std::make_unique<TConfigES>(*estado_.ConfigActual)
                                                 : std::make_unique<TConfigES>();
    if (!estado_.OperacionesActuales)
        estado_.OperacionesActuales = std::make_unique<TOperaciones>();
    AbrirVentanaConfiguracion();
    if (!estado_.SenalesActuales)
        CerrarVentanas();
    ActualizarMenus();
}

void TfrmPrincipal::CargarConfES1Click()
{
    const QString ruta = dialogos_->AbrirFichero(DlgAbrirConfig->Filtro(), DlgAbrirConfig->Titulo(),
                                                 DlgAbrirConfig->Nombre);
    if (ruta.isEmpty())
        return;
    TFicheroConfig ficheroConfig(textos_, interaccion_, carpetaPrograma_);
    try {
        std::unique_ptr<TConfigES> temporal = ficheroConfig.LeerSoloConfiguracion(ruta);
        if (!temporal)
            return; // the reader has shown which part was not valid
        if (estado_.ConfigActual && !estado_.ConfigActual->Igual(*temporal)) {
            // Another time base: the current signals do not belong to it.
            CerrarClick();
            if (HayAlgoAbierto())
                return;
        }
        auto config = std::make_unique<TConfigES>();
        auto operaciones = std::make_unique<TOperaciones>();
        if (!ficheroConfig.LeerConfiguracion(ruta, *config, *operaciones))
            return; // a half-read file replaces neither the configuration nor its operations
        estado_.OperacionesActuales = std::move(operaciones);
        estado_.ConfigActual = std::move(config);
    } catch (const std::exception&) {
        interaccion_.MostrarAviso(textos_.BuscarTexto(kTextoNoCargado), Botones::Aceptar);
        return;
    }
    estado_.FicheroConfig = ruta;
    DlgAbrirConfig->Nombre = ruta;
    DlgGuardarConfig->Nombre = ruta;
    ActualizarMenus();
    VerConfig1Click();
}

bool TfrmPrincipal::EscribirConfig(const QString& ruta)
{
    if (!estado_.ConfigActual)
        return false;
    try {
        TCursorOcupado cursor(interaccion_);
        const TOperaciones sinOperaciones;
        TFicheroConfig ficheroConfig(textos_, interaccion_, carpetaPrograma_);
        ficheroConfig.EscribirConfiguracion(
            ruta, *estado_.ConfigActual,
            estado_.OperacionesActuales ? *estado_.OperacionesActuales : sinOperaciones);
    } catch (const std::exception&) {
        FallaEscritura(ruta);
        return false;
    }
    return true;
}

void TfrmPrincipal::GrabarConES1Click()
{
    if (!estado_.ConfigActual)
        return;
    const QString nombre = estado_.FicheroConfig;
    if (nombre.isEmpty() || nombre.contains(QLatin1Char('*'))) {
        Gurardarcomo1Click();
        return;
    }
    EscribirConfig(nombre);
}

void TfrmPrincipal::Gurardarcomo1Click()
{
    if (!estado_.ConfigActual)
        return;
    const QString ruta = dialogos_->GuardarFichero(DlgGuardarConfig->Filtro(), DlgGuardarConfig->Titulo(),
                                                   DlgGuardarConfig->Nombre, DlgGuardarConfig->Extension());
    if (ruta.isEmpty() || ruta.contains(QLatin1Char('*')))
        return;
    if (EscribirConfig(ruta)) {
        estado_.FicheroConfig = ruta;
        DlgAbrirConfig->Nombre = ruta;
        DlgGuardarConfig->Nombre = ruta;
    }
}

// ---- text export ---------------------------------------------------------------------

void TfrmPrincipal::ExportarTXT1Click()
{
    if (!estado_.HayConjunto())
        return;
    const QString ruta = dialogos_->GuardarFichero(DlgExportarTXT->Filtro(), DlgExportarTXT->Titulo(),
                                                   DlgExportarTXT->Nombre, DlgExportarTXT->Extension());
    if (ruta.isEmpty())
        return;
    DlgExportarTXT->Nombre = ruta;
    bool escrito = false;
    {
        TCursorOcupado cursor(interaccion_);
        escrito = ExportarTextoFichero(*estado_.SenalesActuales, ruta);
    }
    if (!escrito)
        interaccion_.MostrarInformacion(textos_.BuscarTexto(kTextoNoExportado) + QLatin1Char(' ') + ruta,
                                        Botones::Aceptar);
}

// ---- windows of other parts ----------------------------------------------------------

void TfrmPrincipal::AbrirVentanaAnalogica(const QString& titulo)
{
    // The analog signal window will open here, titled `titulo`, with the first
    // MaxSenalesAna signals of the set.
    (void)titulo;
}

void TfrmPrincipal::AbrirVentanaConfiguracion()
{
    // The ZD800M (ModeloM) or ZD801 configuration window will run here, modally, on
    // ConfigTrabajo, and copy it into ConfigActual when accepted.
}

} // namespace qv

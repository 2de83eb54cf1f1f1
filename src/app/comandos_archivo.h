#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <utility>

namespace qv {

class IPrincipal;
class TEstadoPrograma;
struct TContextoPrograma;

// Holder of one file dialog's settings: its filter and title (language texts of the
// main window), default extension and the name last chosen. A child of the main
// window, so that the window's texts reach it by its object name.
class TDialogoFichero : public QObject {
    Q_OBJECT
public:
    TDialogoFichero(const QString& nombreObjeto, const QString& filtro, const QString& extension,
                    const QString& nombreInicial, QObject* parent);
    QString Filtro() const { return property("filter").toString(); }
    QString Titulo() const { return property("windowTitle").toString(); }
    QString Extension() const { return extension_; }
    QString Nombre;

private:
    QString extension_;
};

// The file and configuration commands of the main window: open, save, save as, close
// and extend signal files; open, save and edit channel configurations; text export.
// A set that is no file's (the state's open file name is none) makes the dialogs
// forget the old set's names and gives the caption back to the program.
class TComandosArchivo : public QObject {
public:
    explicit TComandosArchivo(IPrincipal& principal);

    void SpBtnAbrirClick();
    // Opens a file chosen outside the dialogs (the program's command line) as the
    // commands open a chosen one: a configuration file (".cfg") as "Abrir archivo
    // configuración", any other as "Abrir".
    void AbrirFichero(const QString& ruta);
    // Opens a signal file into the state. False: text 101 shown, nothing open.
    bool AbrirFicheroSenales(const QString& ruta);
    void GuardarArchivoClick();
    void Guardarcomo1Click();
    void CerrarClick();
    // "Guardar" and "Guardar como ...": true when the file was written (or nothing is
    // open); false when the name dialog was cancelled or the file could not be written.
    bool Guardar();
    bool GuardarComo();
    // "Cerrar": the save question when the set is modified, then everything goes.
    // False when the user kept it (cancelled, or the save did not happen).
    bool Cerrar();
    // Closes the set, its windows and the configuration without a question.
    void Descartar();
    // IPrincipal's guard (see there).
    bool GuardarAntesDeDescartar(int pregunta);
    void AnadirClick();
    void VerConfig1Click();
    void CargarConfES1Click();
    void GrabarConES1Click();
    void Gurardarcomo1Click();
    void ExportarTXT1Click();
    // "Exportar VCD": the whole set as a value change dump.
    void ExportarVCD1Click();

    // A configuration or a signal set is open.
    bool HayAlgoAbierto() const;

    // Runs the configuration window on the working copy (Trabajo), modally: the ZD800M window when
    // ModeloM, the ZD801 window otherwise. Accepted, a copy of the working configuration
    // has become the configuration (Config); either way the working copy is freed afterwards.
    void AbrirVentanaConfiguracion();

    // The file dialogs' holders (their names and texts are the main window's).
    TDialogoFichero* DlgAbrirSenales;
    TDialogoFichero* DlgGuardarSenales;
    TDialogoFichero* DlgAbrirConfig;
    TDialogoFichero* DlgGuardarConfig;
    TDialogoFichero* DlgGuardarBMP;
    TDialogoFichero* DlgGuardarWMF;
    TDialogoFichero* DlgExportarTXT;
    TDialogoFichero* DlgExportarVCD;

private:
    TEstadoPrograma& Estado() const;
    const TContextoPrograma& Contexto() const;
    void AbrirSenalesElegidas(const QString& ruta);
    void CargarConfiguracionElegida(const QString& ruta);
    bool EscribirConfig(const QString& ruta);
    bool EscribirSenales(const QString& ruta);
    void FallaEscritura(const QString& ruta);
    // An export of the set: `d` asks where, `escribir` writes there under the busy
    // cursor. The path chosen (empty: none, or no set) and whether it was written.
    std::pair<QString, bool> Exportar(TDialogoFichero& d, const std::function<bool(const QString&)>& escribir);
    void PonerTitulo(const QString& titulo);

    IPrincipal& principal_;
};

} // namespace qv

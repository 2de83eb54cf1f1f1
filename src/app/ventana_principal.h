#pragma once

#include "app/api/estado.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/principal.h"

#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace qv {

class IServiciosPuesto;
class IVentanaHija;
class TAboutBox;
class TInteraccion;
class TModal;
class TReloj;
class TTextos;

// Holder of one file dialog's settings: its filter and title (language texts), default
// extension and the name last chosen. The file commands run the real dialog from it.
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

// The multiple-document main window: owns the program state, the menus, both toolbars
// and the status bar, enables commands by the state and runs the close sequence.
class TfrmPrincipal : public QMainWindow, public IPrincipal {
    Q_OBJECT
public:
    static constexpr int Formulario = 1;
    static constexpr int ContextoAyuda = 255;
    static constexpr int IntervaloOcupado = 300000;

    // `dialogos`: the open and save dialogs of the file commands; without them every
    // file dialog counts as cancelled.
    TfrmPrincipal(TTextos& textos, TInteraccion& interaccion, TModal& modal,
                  IServiciosPuesto& puesto, TReloj& reloj, const QString& carpetaPrograma,
                  TDialogosArchivo* dialogos = nullptr, QWidget* parent = nullptr);
    ~TfrmPrincipal() override;

    // IPrincipal
    TEstadoPrograma& Estado() override { return estado_; }
    QWidget& Ventana() override { return *this; }
    QMdiArea& AreaVentanas() override { return *Area; }
    void ActualizarMenus() override;
    void EstadoInicial() override;
    void DesactivaBarra() override;
    void ActualizarComentario() override;
    void DesactivarCaptacion() override;
    void MarcarModificado() override;
    void MarcarGuardado() override;
    void CerrarVentanas() override;
    void CerrarVentanaActiva() override;
    void QuitarSenalesDeVentanas(const QStringList& nombres) override;
    void CerrarClick() override;
    void GuardarArchivoClick() override;
    bool GetHAyDatos() override;
    void FiltrarFFT(TSenalAna& senal, int tipoFiltro, double frecBaja, double frecAlta,
                    double referencia) override;
    int NuevoNumeroVentana() override { return ++contadorVentanas_; }
    int ContadorVentanas() const override { return contadorVentanas_; }
    void SetVentanaActiva(int numero) override { ventanaActiva_ = numero; }
    int VentanaActiva() const override { return ventanaActiva_; }
    void SetHaySenalesVisibles(bool hay) override { haySenalesVisibles_ = hay; }
    bool HaySenalesVisibles() const override { return haySenalesVisibles_; }
    int MaxSenalesAna() const override { return maxSenalesAna_; }
    int MaxSenalesDig() const override { return maxSenalesDig_; }
    bool DetenerRecordatorio() override;
    void RestaurarRecordatorio(bool activo) override;
    void MostrarEstado(const QString& texto) override;

    // Station rules, each applied from its inputs.
    void AplicarModoPuesto(bool multipuesto);
    void PonerSADOcupado(bool ocupado);
    void AplicarRemoto(bool habilitado);
    void PonerPerfilRemoto(bool perfil);

    bool SADOcupado() const { return sadOcupado_; }
    bool HayDatos() const { return hayDatos_; }
    bool RemotoPermitido() const { return remotoPermitido_; }
    bool RemotoVisible() const { return remotoVisible_; }
    bool PerfilRemoto() const { return perfilRemoto_; }
    bool Multipuesto() const { return multipuesto_; }
    QTimer& TimerOcupado() { return Timer_Ocupado; }

    // Help file of the context numbers ("contextoAyuda" of each command).
    QString FicheroAyuda;

    // Close sequence: the query answers whether the window may close.
    bool FormCloseQuery();
    void FormClose();

    // Command handlers. Commands whose work lies in windows and dialogs still to come
    // (capture, representation, print and export, station options, shared unit, remote,
    // help) are present and follow the enabling rules but have no handler yet.
    void NuevaVentana1Click();
    void VentanaDigital1Click(); // refused with text 102 when the set has no digital signal
    void CerrarVentana1Click();
    void CerrarTodas1Click();
    void Cascada1Click();
    void TileHorizontal1Click();
    void TileVertical1Click();
    void AcercadeClick();
    void Salir1Click();
    void Timer_OcupadoTimer();

    // File and configuration commands (comandos_archivo.cpp).
    void SpBtnAbrirClick();
    bool AbrirFicheroSenales(const QString& ruta); // false: text 101 shown, nothing open
    void Guardarcomo1Click();
    void AnadirClick();
    void VerConfig1Click();
    void CargarConfES1Click();
    void GrabarConES1Click();
    void Gurardarcomo1Click();
    void ExportarTXT1Click();

    // Opens an analog signal window titled `titulo` on the current set, showing at most
    // MaxSenalesAna signals. The analog window is not part of the program yet: until it
    // is, this opens nothing.
    void AbrirVentanaAnalogica(const QString& titulo);
    // The same for a digital signal window showing at most MaxSenalesDig signals; until
    // the digital window is part of the program, this opens nothing.
    void AbrirVentanaDigital(const QString& titulo);
    // Runs the configuration window on ConfigTrabajo, modally: the ZD800M window when
    // ModeloM, the ZD801 window otherwise. The configuration windows are not part of the
    // program yet: until they are, this shows nothing and ConfigTrabajo stays as it is.
    void AbrirVentanaConfiguracion();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void CrearControles();
    void CrearBarras();
    void CrearMenus();
    void CrearBarraEstado();
    void CrearDialogos();
    void FormCreate();
    void FormShow();
    void CrearEnlace();

    // "Child": at least one child window and the active one is not the ZD801 configuration.
    bool HayHija() const;
    IVentanaHija* HijaActiva() const;
    bool HaySenales() const;     // the set exists
    bool ConjuntoLleno() const;  // the set exists and is not empty
    void SeguirBotones();        // menu items that follow their buttons
    void MenuVentanas();         // the window list of "&Ventana"
    void Mosaico(Qt::Orientation orientacion);
    QString TituloVentanaNueva() const; // the open file, else the save-as name
    void EnlazarCaptacion(bool habilitado);
    void ConectarComandosArchivo();
    bool HayAlgoAbierto() const; // a configuration or a signal set
    void EscribirSenales(const QString& ruta);
    bool EscribirConfig(const QString& ruta);
    void FallaEscritura(const QString& ruta);

    TTextos& textos_;
    TInteraccion& interaccion_;
    TModal& modal_;
    IServiciosPuesto& puesto_;
    TReloj& reloj_;
    QString carpetaPrograma_;
    TEstadoPrograma estado_;
    TDialogosArchivoNulos dialogosNulos_;
    TDialogosArchivo* dialogos_ = nullptr;

    bool hayDatos_ = false;
    bool sadOcupado_ = false;
    bool multipuesto_ = false;
    bool remotoPermitido_ = false;
    bool remotoVisible_ = false;
    bool perfilRemoto_ = false;
    bool haySenalesVisibles_ = false;
    bool mostrado_ = false;
    int contadorVentanas_ = 0;
    int ventanaActiva_ = 0;
    int maxSenalesAna_ = 8;
    int maxSenalesDig_ = 16;

    QMdiArea* Area = nullptr;
    QTimer Timer_Ocupado;
    TAboutBox* AboutBox = nullptr;

    // Top toolbar.
    QToolBar* BarraHerramientas = nullptr;
    QAction* SpBtnAbrir = nullptr;
    QAction* GuardarArchivo = nullptr;
    QAction* SpBtnImprimir = nullptr;
    QAction* SpBtnES = nullptr;
    QAction* SpBtnProgramar = nullptr;
    QAction* SpBtnLeer = nullptr;
    QAction* SpBtnTest = nullptr;
    QAction* SpBtnAbortar = nullptr;
    QAction* Btn_Ocupar = nullptr;
    QAction* Btn_Liberar = nullptr;
    QAction* SepOcupar = nullptr;
    QAction* Btn_Remoto = nullptr;
    QAction* SepRemoto = nullptr;
    QAction* SpBtnAyuda = nullptr;

    // Left toolbar.
    QToolBar* BarraRepresentacion = nullptr;
    QAction* SpBtnElegir = nullptr;
    QAction* SpBtnDatos = nullptr;
    QAction* SpBtnTabla = nullptr;
    QAction* spBtnCalculadora = nullptr;
    QAction* SpBtnZoomIn = nullptr;
    QAction* SpBtnZoomOut = nullptr;
    QAction* SpBtnCursores = nullptr;
    QAction* SpBtnAnalogica = nullptr;
    QAction* SpBtnDigital = nullptr;

    // Menus and their items.
    QMenu* Archivo1 = nullptr;
    QAction* Abrir1 = nullptr;
    QAction* GuardarArchivo1 = nullptr;
    QAction* Guardarcomo1 = nullptr;
    QAction* Cerrar = nullptr;
    QAction* Anadir = nullptr;
    QAction* Comentario2 = nullptr;
    QMenu* ExportarBMP1 = nullptr;
    QAction* ExportarPantalla1 = nullptr;
    QAction* aportapapeles1 = nullptr;
    QAction* ExportarWMF = nullptr;
    QAction* ExportarTXT1 = nullptr;
    QAction* Presentacinpreliminar1 = nullptr;
    QAction* Salir1 = nullptr;

    QMenu* Configuracion1 = nullptr;
    QAction* VerConfig1 = nullptr;
    QAction* CargarConfES1 = nullptr;
    QAction* GrabarConES1 = nullptr;
    QAction* Gurardarcomo1 = nullptr;
    QAction* OpcionesQUORVANE = nullptr;

    QMenu* Captacion1 = nullptr;
    QMenu* ProgramarCaptacion1 = nullptr;
    QAction* Inmediata = nullptr;
    QAction* Retardada = nullptr;
    QMenu* Trigger1 = nullptr;
    QAction* analgico1 = nullptr;
    QAction* digital1 = nullptr;
    QAction* LecturaDatos1 = nullptr;
    QAction* AbortarCaptacion1 = nullptr;
    QAction* TestPresencia1 = nullptr;
    QAction* Monitorizar1 = nullptr;
    QAction* MonitorContinua = nullptr;

    QMenu* Representacion1 = nullptr;
    QAction* Elegir1 = nullptr;
    QAction* Datossingulares1 = nullptr;
    QAction* VentanadeDatos1 = nullptr;
    QAction* Calculadora1 = nullptr;
    QAction* ZoomIn1 = nullptr;
    QAction* ZoomOut1 = nullptr;
    QAction* Cursores1 = nullptr;
    QAction* DefinirRepresentacin1 = nullptr;
    QAction* Insertartexto1 = nullptr;
    QAction* Borrarltimotexto1 = nullptr;
    QAction* Borrartodoslostextos1 = nullptr;

    QMenu* Ventana1 = nullptr;
    QAction* NuevaVentana1 = nullptr;
    QAction* VentanaDigital1 = nullptr;
    QAction* CerrarVentana1 = nullptr;
    QAction* CerrarTodas1 = nullptr;
    QAction* Cascada1 = nullptr;
    QAction* TileHorizontal1 = nullptr;
    QAction* TileVertical1 = nullptr;
    QAction* SepListaVentanas = nullptr;

    QMenu* SAD1 = nullptr;
    QAction* Ocupar1 = nullptr;
    QAction* Liberar1 = nullptr;
    QAction* PCsEnRed = nullptr;

    QMenu* MonRemota1 = nullptr;
    QAction* Remoto1 = nullptr;
    QAction* PerfilRemota = nullptr;

    QMenu* Ayuda1 = nullptr;
    QAction* Temasdeayuda1 = nullptr;
    QAction* Acercade = nullptr;

    // Status bar.
    QLabel* PE = nullptr;
    QLabel* I_RemotoSi = nullptr;
    QLabel* I_RemotoNo = nullptr;
    QLabel* I_Mono = nullptr;
    QLabel* I_Multi = nullptr;
    QWidget* PanelSAD = nullptr;
    QLabel* I_SADSi = nullptr;
    QLabel* I_SADNo = nullptr;

    // File dialogs.
    TDialogoFichero* DlgAbrirSenales = nullptr;
    TDialogoFichero* DlgGuardarSenales = nullptr;
    TDialogoFichero* DlgAbrirConfig = nullptr;
    TDialogoFichero* DlgGuardarConfig = nullptr;
    TDialogoFichero* DlgGuardarBMP = nullptr;
    TDialogoFichero* DlgGuardarWMF = nullptr;
    TDialogoFichero* DlgExportarTXT = nullptr;
};

} // namespace qv

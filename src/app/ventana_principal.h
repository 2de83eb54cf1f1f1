#pragma once

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "app/tabla_comandos.h"

#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QToolBar;

namespace qv {

class IServiciosPuesto;
class TAboutBox;
class TfrmAyuda;
class TComandosArchivo;
class TComandosRepresentacion;
class TComandosCaptura;
class TComandosPuesto;
class TComandosVentanas;
struct TTextoControl;

// The multiple-document main window: owns the program state, builds its menus and
// toolbars from the command table, enables every command by the table's rules
// whenever the state or the active child window changes, applies the station mode and
// runs the close sequence. The work of the commands lies in the command files.
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
    const TContextoPrograma& Contexto() const override { return contexto_; }
    QWidget& Ventana() override { return *this; }
    QMdiArea& AreaVentanas() override { return *Area; }
    IVentanaHija* HijaActiva() const override;
    void CerrarVentanaActiva() override;
    void CerrarClick() override;
    void GuardarArchivoClick() override;
    bool GuardarAntesDeDescartar(int pregunta) override;
    int NuevoNumeroVentana() override;
    int ContadorVentanas() const override;
    int MaxSenalesAna() const override { return maxSenalesAna_; }
    int MaxSenalesDig() const override { return maxSenalesDig_; }
    bool DetenerRecordatorio() override;
    void RestaurarRecordatorio(bool activo) override;
    void MostrarEstado(const QString& texto) override;

    // Enables and shows every command, menu and toolbar separator by the table's
    // rules. Runs whenever the state announces a change and whenever another child
    // window becomes active.
    void ActualizarMenus();
    // The active child shows at least one signal ("Datos").
    bool HaySenalesVisibles() const;

    // Runs a command as its menu item or button would.
    void Ejecutar(TComando comando);

    // Station rules, each applied from its inputs.
    void AplicarModoPuesto(bool multipuesto);
    void PonerSADOcupado(bool ocupado);
    // The station's panel and icons, as the state says.
    void MostrarPuesto(bool multipuesto, bool unidadTomada);
    void AplicarRemoto(bool habilitado);
    void PonerPerfilRemoto(bool perfil);

    bool SADOcupado() const { return estado_.UnidadTomada(); }
    bool RemotoPermitido() const { return remotoPermitido_; }
    bool RemotoVisible() const { return remotoVisible_; }
    bool PerfilRemoto() const { return perfilRemoto_; }
    bool Multipuesto() const { return estado_.Multipuesto(); }
    QTimer& TimerOcupado() { return Timer_Ocupado; }

    // Folder of the help pages of the context numbers.
    QString FicheroAyuda;

    // Close sequence: the query answers whether the window may close.
    bool FormCloseQuery();
    void FormClose();

    void AcercadeClick();
    // "Temas de Ayuda" and the "Ayuda" button: the help window on the main window's page.
    void Temasdeayuda1Click();
    TfrmAyuda& VentanaAyuda() { return *ayuda_; }
    void Timer_OcupadoTimer();

    // The command areas (for the parts that run them directly).
    TComandosArchivo& ComandosArchivo() { return *archivo_; }
    TComandosVentanas& ComandosVentanas() { return *ventanas_; }
    TComandosCaptura& ComandosCaptura() { return *captura_; }
    TComandosPuesto& ComandosPuesto() { return *puestoComandos_; }
    TComandosRepresentacion& ComandosRepresentacion() { return *representacion_; }

    // The language texts of the window: its form table and the captions of the
    // command and menu tables.
    std::vector<TTextoControl> TablaTextos() const;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void CrearComandos();
    void CrearBarraEstado();
    void FormCreate();
    void FormShow();
    void CrearEnlace();
    void CerrarVentanas();
    bool HayHija() const;
    void ParaCadaHija(const std::function<void(IVentanaHija&)>& f);
    IVentanaHija* HijaActivaCualquiera() const;

    IServiciosPuesto& puesto_;
    TDialogosArchivoNulos dialogosNulos_;
    TContextoPrograma contexto_;
    TEstadoPrograma estado_;

    bool cerrarAlTerminar_ = false;
    bool remotoPermitido_ = false;
    bool remotoVisible_ = false;
    QMetaObject::Connection ofertaActiva_;
    bool perfilRemoto_ = false;
    bool mostrado_ = false;
    int maxSenalesAna_ = 8;
    int maxSenalesDig_ = 16;

    QMdiArea* Area = nullptr;
    QTimer Timer_Ocupado;
    TAboutBox* AboutBox = nullptr;
    TfrmAyuda* ayuda_ = nullptr; // one help window for the whole run
    std::unique_ptr<TComandosArchivo> archivo_;
    std::unique_ptr<TComandosVentanas> ventanas_;
    std::unique_ptr<TComandosRepresentacion> representacion_;
    std::unique_ptr<TComandosCaptura> captura_;
    std::unique_ptr<TComandosPuesto> puestoComandos_;

    std::unique_ptr<TComandosPrincipal> comandos_; // actions, menus, toolbars

    // Status bar.
    QLabel* PE = nullptr;
    QLabel* I_RemotoSi = nullptr;
    QLabel* I_RemotoNo = nullptr;
    QLabel* I_Mono = nullptr;
    QLabel* I_Multi = nullptr;
    QWidget* PanelSAD = nullptr;
    QLabel* I_SADSi = nullptr;
    QLabel* I_SADNo = nullptr;
};

} // namespace qv

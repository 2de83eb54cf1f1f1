#pragma once

#include "lang/ui/formulario.h"
#include "net/contexto_red.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace qv {

class TPanelBusqueda;

// "Monitorización remota": watch another PC, take control of it (advanced profile
// only), offer this PC's screen to watchers, push it to other PCs, or cut every
// watcher off. The work is done by the remote-desktop programs through the station's
// launcher. The dialog remembers whether this PC is offered for watching; the main
// window applies it when the dialog closes.
class TForm_Remoto : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 50;
    static constexpr int ContextoAyuda = 260;

    // `perfil`: whether this PC is offered for watching now (PerfilRemoto).
    TForm_Remoto(TContextoRed& red, bool perfil, QWidget* parent = nullptr);

    void SB_StartMonitorizacionClick();
    void SB_ControlPCClick();
    void CBoxMonitoMiPCClick();
    void SB_ConectarOtrousuarioClick();

    // The state to apply: this PC offered for watching.
    bool Perfil() const { return perfil_; }
    bool Avanzado() const { return avanzado_; }

protected:
    void AlMostrar() override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void reject() override;

private:
    void HabilitarServidor(bool activo);
    QString NombrePC() const;

    TContextoRed& red_;
    bool perfil_;
    bool avanzado_ = false;
    TPanelBusqueda* panel_;
    QLabel* L_PC;
    QComboBox* CB_Client;
    QPushButton* SB_StartMonitorizacion;
    QPushButton* SB_ControlPC;
    QCheckBox* CBoxMonitoMiPC;
    QPushButton* SB_OpcionesViewer;
    QPushButton* SB_OpcionesServer;
    QPushButton* SB_CortarMonitorizaciones;
    QPushButton* SB_ConectarOtrousuario;
    QPushButton* BtnCerrar;
};

} // namespace qv

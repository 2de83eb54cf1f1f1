// Station commands of the main window: options, the shared unit, remote monitoring.
#include "app/comandos_puesto.h"

#include "app/api/estado.h"
#include "app/turno_puesto.h"
#include "app/ventana_principal.h"
#include "link/servicio_sad.h"
#include "link/servicios_puesto.h"
#include "net/configuracion.h"
#include "net/escoger_pc_sad.h"
#include "net/liberar_sad.h"
#include "net/pcs_sad.h"
#include "net/remoto.h"
#include "net/turnos_aula.h"
#include "net/user_monitor.h"

namespace qv {

TComandosPuesto::TComandosPuesto(TfrmPrincipal& principal, IServiciosPuesto& puesto)
    : principal_(principal), puesto_(puesto), ajustes_(principal.Contexto().CarpetaPrograma),
      turno_(std::make_unique<TTurnoPuesto>(principal))
{
}

TComandosPuesto::~TComandosPuesto() = default;

TContextoRed TComandosPuesto::Red()
{
    return TContextoRed{principal_, puesto_, ajustes_, Busqueda};
}

void TComandosPuesto::OpcionesQUORVANEClick()
{
    TContextoRed red = Red();
    TServicioSAD* enlace = principal_.Estado().Enlace();
    const bool esTcp = enlace ? enlace->Info().EsTcp : principal_.Multipuesto();
    TForm_Configuracion dialogo(red, esTcp, principal_.RemotoPermitido(), &principal_);
    if (dialogo.Ejecutar() != QDialog::Accepted)
        return;
    const bool multipuesto = dialogo.Multipuesto();
    const bool ocupado = principal_.SADOcupado();
    // A new transport closes the connection that holds the unit: give the unit back
    // first (outputs to zero) so that nobody believes it is still held. The same mode
    // keeps its transport, and with it a unit that is held.
    if (enlace && multipuesto != esTcp) {
        turno_->Olvidar(); // the connection it waits on goes
        if (ocupado) {
            enlace->Encargar([](TComCapvis& c) { c.Desconectar(); });
            principal_.PonerSADOcupado(false);
        }
        enlace->SetTipoConexion(multipuesto);
    }
    principal_.AplicarModoPuesto(multipuesto);
    if (principal_.SADOcupado())
        principal_.PonerSADOcupado(true); // its reminder runs on
    principal_.AplicarRemoto(puesto_.LeerRemotoHabilitado());
}

void TComandosPuesto::Btn_OcuparClick()
{
    // A new check starts a new connection: a place in line would be lost unsaid.
    if (turno_->Fase() == TTurnoPuesto::TFase::Esperando)
        turno_->Dejar();
    TContextoRed red = Red();
    Tform_EscogerPCSAD dialogo(red, &principal_);
    const bool tomada = dialogo.Ejecutar() == QDialog::Accepted;
    principal_.PonerSADOcupado(tomada);
    if (tomada)
        turno_->Tomada();
    else if (dialogo.PidioTurno())
        turno_->Pedir(dialogo.ServidorTurno());
}

void TComandosPuesto::Btn_LiberarClick()
{
    TContextoRed red = Red();
    Tform_LiberarSAD dialogo(red, principal_.SADOcupado(), &principal_);
    bool liberado = false;
    {
        TOrdenSAD orden(principal_);
        liberado = dialogo.Ejecutar() == QDialog::Accepted;
    }
    principal_.PonerSADOcupado(liberado ? false : dialogo.Ocupado());
    if (!principal_.SADOcupado())
        turno_->Olvidar();
}

void TComandosPuesto::PCsEnRedClick()
{
    TContextoRed red = Red();
    Tform_PcsSAD dialogo(red, &principal_);
    dialogo.Ejecutar();
}

void TComandosPuesto::TurnosAulaClick()
{
    if (!aula_)
        aula_ = new TfrmTurnosAula(Red(), &principal_);
    aula_->show();
    aula_->raise();
    aula_->activateWindow();
}

void TComandosPuesto::PerfilRemotaClick()
{
    TContextoRed red = Red();
    TForm_UserMonitor dialogo(red, &principal_);
    dialogo.Ejecutar();
}

void TComandosPuesto::Btn_RemotoClick()
{
    TContextoRed red = Red();
    TForm_Remoto dialogo(red, principal_.PerfilRemoto(), &principal_);
    if (dialogo.Ejecutar() == QDialog::Accepted)
        principal_.PonerPerfilRemoto(dialogo.Perfil());
}

} // namespace qv

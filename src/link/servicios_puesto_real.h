#pragma once

#include "link/ajustes_estacion.h"
#include "link/relay_local.h"
#include "link/servicios_puesto.h"
#include "link/vnc.h"

#include <QString>
#include <QStringList>

namespace qv {

class TInteraccion;
class TTextos;

// The station as the program runs it: the settings of "Quorvane.ini", the relay of
// the program folder and the remote-desktop launcher. Its operations have the names
// the main window asks the station for. A remote-desktop program that cannot be
// started, or whose launcher refuses, is reported as a warning with text 274; a failure
// before the texts and the interaction seam are given (PonerAvisos: the main window
// starts listening while it is being built) is reported once they are. A server that
// may not start for want of its password is reported with text 350 the same way.
class TServiciosPuestoReal : public IServiciosPuesto {
public:
    explicit TServiciosPuestoReal(const QString& carpetaPrograma);

    void PonerAvisos(TTextos* textos, TInteraccion* interaccion);

    bool LeerHayRed() override;
    bool LeerRemotoHabilitado() override;
    bool LeerRemotoActivo() override;
    bool LeerMultipuesto() override;
    bool LeerModeloM() override;
    QStringList LeerPuertosSerie() override;

    void IniciarRelay() override;
    void DetenerRelay() override;

    void EscucharRemoto() override;
    void DetenerRemoto() override;
    void SetServidorRemoto(bool perfil) override;

    // The launcher's other operations for the remote dialogs, with the same warning.
    void VerRemoto(const QString& nombre) override;
    void ControlarRemoto(const QString& nombre) override;
    void ConectarUsuarioRemoto(const QString& nombre) override;
    void CortarTodoRemoto() override;
    void OpcionesServidorRemoto() override;
    void OpcionesVisorRemoto() override;

    // Every key of the station settings, read and written (the dialogs' writes).
    TAjustesEstacion& Ajustes() { return ajustes_; }
    TRelayLocal& Relay() { return relay_; }
    TVNC& VNC() { return vnc_; }

private:
    void Avisar(bool ok);
    void AvisarTexto(int texto);

    TAjustesEstacion ajustes_;
    TRelayLocal relay_;
    TVNC vnc_;
    TTextos* textos_ = nullptr;
    TInteraccion* interaccion_ = nullptr;
    int pendiente_ = 0; // the text to show once the seam is there
};

} // namespace qv

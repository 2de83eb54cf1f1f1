#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// What the main window needs of the station: the few settings it reads at start from
// "Quorvane.ini", the relay program and the remote-desktop launcher. The settings file,
// the relay control and the launcher plug in here; tests give their own answers.
class IServiciosPuesto {
public:
    virtual ~IServiciosPuesto() = default;

    virtual bool LeerHayRed() = 0;            // "PC" / "HayRed"
    virtual bool LeerRemotoHabilitado() = 0;  // "ServerVNC" / "Habilitado"
    virtual bool LeerRemotoActivo() = 0;      // "ServerVNC" / "Activo"
    virtual bool LeerMultipuesto() = 0;       // "ConfiguracionSAD" / "TipoConAula" not "Monopuesto"
    virtual bool LeerModeloM() = 0;           // "ConfiguracionSAD" / "Aspecto" is "ZD800M"
    virtual QStringList LeerPuertosSerie() = 0; // "ConfiguracionSAD" / "PuertosSerie"

    virtual void IniciarRelay() = 0;
    virtual void DetenerRelay() = 0;

    virtual void EscucharRemoto() = 0;             // launcher starts listening
    virtual void DetenerRemoto() = 0;              // remote-desktop programs stopped
    virtual void SetServidorRemoto(bool perfil) = 0;

    // The remote dialogs' requests to the launcher. A program that cannot start is
    // reported to the user here, never raised to the caller.
    virtual void VerRemoto(const QString& nombre) = 0;
    virtual void ControlarRemoto(const QString& nombre) = 0;
    virtual void ConectarUsuarioRemoto(const QString& nombre) = 0;
    virtual void CortarTodoRemoto() = 0;
    virtual void OpcionesServidorRemoto() = 0;
    virtual void OpcionesVisorRemoto() = 0;
};

} // namespace qv

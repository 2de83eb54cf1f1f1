#pragma once

#include "link/servicios_puesto.h"

#include <QStringList>

namespace qv::test {

// A station whose settings are fixed and whose services do nothing: no serial port is
// probed, no relay or remote screen is started.
class TPuestoFijo : public IServiciosPuesto {
public:
    TPuestoFijo(bool hayRed, bool multipuesto) : hayRed_(hayRed), multipuesto_(multipuesto) {}
    bool LeerHayRed() override { return hayRed_; }
    bool LeerRemotoHabilitado() override { return false; }
    bool LeerRemotoActivo() override { return false; }
    bool LeerMultipuesto() override { return multipuesto_; }
    bool LeerModeloM() override { return false; }
    QStringList LeerPuertosSerie() override { return {}; }
    void IniciarRelay() override {}
    void DetenerRelay() override {}
    void EscucharRemoto() override {}
    void DetenerRemoto() override {}
    void SetServidorRemoto(bool) override {}
    void VerRemoto(const QString&) override {}
    void ControlarRemoto(const QString&) override {}
    void ConectarUsuarioRemoto(const QString&) override {}
    void CortarTodoRemoto() override {}
    void OpcionesServidorRemoto() override {}
    void OpcionesVisorRemoto() override {}

private:
    bool hayRed_;
    bool multipuesto_;
};

} // namespace qv::test

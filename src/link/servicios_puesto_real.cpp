#include "link/servicios_puesto_real.h"

#include "lang/interaccion.h"
#include "lang/textos.h"

namespace qv {

namespace {
constexpr int kTextoNoSeInicia = 274; // "No se puede inicializar la aplicacion"
constexpr int kTextoSinPassword = 350;
}

TServiciosPuestoReal::TServiciosPuestoReal(const QString& carpetaPrograma)
    : ajustes_(carpetaPrograma), relay_(carpetaPrograma), vnc_(carpetaPrograma)
{
    vnc_.AlFallar = [this](const QString&) { Avisar(false); };
    vnc_.AlFaltarPassword = [this] { AvisarTexto(kTextoSinPassword); };
}

void TServiciosPuestoReal::PonerAvisos(TTextos* textos, TInteraccion* interaccion)
{
    textos_ = textos;
    interaccion_ = interaccion;
    if (pendiente_) {
        const int texto = pendiente_;
        pendiente_ = 0;
        AvisarTexto(texto);
    }
}

void TServiciosPuestoReal::Avisar(bool ok)
{
    if (!ok)
        AvisarTexto(kTextoNoSeInicia);
}

void TServiciosPuestoReal::AvisarTexto(int texto)
{
    if (textos_ && interaccion_)
        interaccion_->MostrarAviso(textos_->BuscarTexto(texto), Botones::Aceptar);
    else
        pendiente_ = texto;
}

bool TServiciosPuestoReal::LeerHayRed() { return ajustes_.HayRed(); }
bool TServiciosPuestoReal::LeerRemotoHabilitado() { return ajustes_.RemotoHabilitado(); }
bool TServiciosPuestoReal::LeerRemotoActivo() { return ajustes_.RemotoActivo(); }
bool TServiciosPuestoReal::LeerMultipuesto() { return ajustes_.Multipuesto(); }
bool TServiciosPuestoReal::LeerModeloM() { return ajustes_.ModeloM(); }
QStringList TServiciosPuestoReal::LeerPuertosSerie() { return ajustes_.PuertosSerie(); }

// A relay that cannot start shows later as a failed connection: no message here.
void TServiciosPuestoReal::IniciarRelay() { relay_.Iniciar(); }
void TServiciosPuestoReal::DetenerRelay() { relay_.Detener(); }

void TServiciosPuestoReal::EscucharRemoto() { Avisar(vnc_.Escuchar()); }
void TServiciosPuestoReal::DetenerRemoto() { Avisar(vnc_.Detener()); }
void TServiciosPuestoReal::SetServidorRemoto(bool perfil) { Avisar(vnc_.SetServidor(perfil)); }
void TServiciosPuestoReal::VerRemoto(const QString& nombre) { Avisar(vnc_.Ver(nombre)); }
void TServiciosPuestoReal::ControlarRemoto(const QString& nombre) { Avisar(vnc_.Controlar(nombre)); }
void TServiciosPuestoReal::ConectarUsuarioRemoto(const QString& nombre) { Avisar(vnc_.ConectarUsuario(nombre)); }
void TServiciosPuestoReal::CortarTodoRemoto() { Avisar(vnc_.CortarTodo()); }
void TServiciosPuestoReal::OpcionesServidorRemoto() { Avisar(vnc_.OpcionesServidor()); }
void TServiciosPuestoReal::OpcionesVisorRemoto() { Avisar(vnc_.OpcionesVisor()); }

} // namespace qv

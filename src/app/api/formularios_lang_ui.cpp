// The forms of src/lang/ui, registered here because that library sits below the
// main-window interface. Sample arguments stand for what the program passes.
#include "app/api/registro_formularios.h"
#include "lang/ui/cambiar_nombre.h"
#include "lang/ui/conexion.h"
#include "lang/ui/mensaje.h"
#include "lang/ui/mensaje_plano.h"

namespace qv {

void RegistrarFormulariosLangUi(TRegistroFormularios& registro)
{
    registro.Registrar<TfrmConexion>();
    registro.Registrar<TfrmMensaje>();
    registro.Registrar(TfrmCambiarNombre::Numero, NombreClase(TfrmCambiarNombre::staticMetaObject), [](IPrincipal& p) {
        return std::make_unique<TfrmCambiarNombre>(p.Contexto().Formulario, QStringLiteral("Senal"), &p.Ventana());
    });
    registro.Registrar(0, NombreClase(TfrmMensajePlano::staticMetaObject), [](IPrincipal& p) {
        return std::make_unique<TfrmMensajePlano>(p.Contexto().Formulario, QStringLiteral("Mensaje"), &p.Ventana());
    });
}

} // namespace qv

#include "net/formularios_net.h"

#include "app/api/contexto.h"
#include "app/api/registro_formularios.h"
#include "link/ajustes_estacion.h"
#include "link/servicios_puesto_real.h"
#include "net/cambiar_password.h"
#include "net/conectar.h"
#include "net/configuracion.h"
#include "net/escoger_pc_sad.h"
#include "net/liberar_sad.h"
#include "net/pcs_sad.h"
#include "net/remoto.h"
#include "net/user_monitor.h"

#include <QObject>

namespace qv {

namespace {

// What a classroom form works with when it is made from the main window alone: the
// station of the program folder. It belongs to the form and goes with it.
class TEntornoRed : public QObject {
public:
    explicit TEntornoRed(IPrincipal& p)
        : ajustes(p.Contexto().CarpetaPrograma), puesto(p.Contexto().CarpetaPrograma), red{p, puesto, ajustes}
    {
    }
    TAjustesEstacion ajustes;
    TServiciosPuestoReal puesto;
    TContextoRed red;
};

template <class T, class... A>
void RegistrarRed(TRegistroFormularios& registro, A... argumentos)
{
    registro.Registrar(T::Numero, NombreClase(T::staticMetaObject),
                       [=](IPrincipal& p) -> std::unique_ptr<QWidget> {
                           auto* entorno = new TEntornoRed(p);
                           auto f = std::make_unique<T>(entorno->red, argumentos..., &p.Ventana());
                           entorno->setParent(f.get());
                           return f;
                       });
}

} // namespace

void RegistrarFormulariosNet(TRegistroFormularios& registro)
{
    RegistrarRed<TForm_CambiarPassword>(registro);
    RegistrarRed<TForm_Configuracion>(registro, false, true);
    RegistrarRed<Tform_EscogerPCSAD>(registro);
    RegistrarRed<Tform_LiberarSAD>(registro, false);
    RegistrarRed<TForm_Remoto>(registro, false);
    RegistrarRed<TForm_Conectar>(registro);
    RegistrarRed<TForm_UserMonitor>(registro);
    RegistrarRed<Tform_PcsSAD>(registro);
}

} // namespace qv

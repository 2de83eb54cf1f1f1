#include "display/formularios_display.h"

#include "app/api/estado.h"
#include "app/api/registro_formularios.h"
#include "display/escoger_senales_fichero.h"
#include "display/filtro.h"
#include "display/operaciones_ana.h"
#include "display/operaciones_dig.h"

namespace qv {

void RegistrarFormulariosDisplay(TRegistroFormularios& registro)
{
    registro.Registrar<TfrmEscSenFich>();
    registro.Registrar<TfrmFiltro>();
    registro.Registrar(TfrmOperacionesAna::Numero, QStringLiteral("TfrmOperacionesAna"), [](IPrincipal& p) {
        return std::make_unique<TfrmOperacionesAna>(p, TOperaciones(), &p.Ventana());
    });
    registro.Registrar(TfrmOperacionesDig::Numero, QStringLiteral("TfrmOperacionesDig"), [](IPrincipal& p) {
        return std::make_unique<TfrmOperacionesDig>(p, TOperaciones(), &p.Ventana());
    });
}

} // namespace qv

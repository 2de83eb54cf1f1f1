#include "channels/formularios_channels.h"

#include "app/api/estado.h"
#include "app/api/registro_formularios.h"
#include "channels/menu_es.h"
#include "channels/nombre_ed.h"

namespace qv {

void RegistrarFormulariosChannels(TRegistroFormularios& registro)
{
    // The ZD800M window (TfrmMenuES2) shares form 2 but has no controls for lines 9 to
    // 16 nor the rotated titles: the ZD801 window stands for the table.
    registro.Registrar<TfrmMenuES>();
    registro.Registrar(TfrmNomED::Numero, QStringLiteral("TfrmNomED"), [](IPrincipal& p) {
        auto& e = p.Estado();
        if (!e.ConfigTrabajo)
            e.ConfigTrabajo = std::make_unique<TConfigES>();
        return std::make_unique<TfrmNomED>(p, *e.ConfigTrabajo, 1, &p.Ventana());
    });
}

} // namespace qv

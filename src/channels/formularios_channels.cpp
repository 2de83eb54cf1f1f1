#include "channels/formularios_channels.h"

#include "app/api/estado.h"
#include "app/api/registro_formularios.h"
#include "channels/act_des_senales.h"
#include "channels/activacion_entrada.h"
#include "channels/activacion_salidas.h"
#include "channels/editor_tablas.h"
#include "channels/filtro.h"
#include "channels/generadores_analogicos.h"
#include "channels/generadores_digitales.h"
#include "channels/menu_es.h"
#include "channels/nombre_ed.h"
#include "channels/operaciones_ana.h"
#include "channels/operaciones_dig.h"
#include "channels/tablas_generador.h"

namespace qv {

namespace {

// The channel windows work on the working configuration, on its first channel of
// their kind, as the configuration window opens them.
template <class T>
void RegistrarDeCanal(TRegistroFormularios& registro)
{
    registro.Registrar(T::Numero, NombreClase(T::staticMetaObject), [](IPrincipal& p) -> std::unique_ptr<QWidget> {
        if (!p.Estado().Trabajo())
            p.Estado().PonerTrabajo(std::make_unique<TConfigES>());
        return std::make_unique<T>(p, *p.Estado().Trabajo(), 1, &p.Ventana());
    });
}

} // namespace

void RegistrarFormulariosChannels(TRegistroFormularios& registro)
{
    RegistrarDeCanal<TfrmActivaEA>(registro);
    RegistrarDeCanal<TfrmActiveSA>(registro);
    RegistrarDeCanal<TfrmActiveSD>(registro);
    RegistrarDeCanal<TfrmGenEscalon>(registro);
    RegistrarDeCanal<TfrmGenPulso>(registro);
    RegistrarDeCanal<TfrmGenRampa>(registro);
    RegistrarDeCanal<TfrmGenSeno>(registro);
    RegistrarDeCanal<TfrmGridAna>(registro);
    RegistrarDeCanal<TfrmGenTren>(registro);
    RegistrarDeCanal<TfrmGridDigi>(registro);
    registro.Registrar<TfrmEditTab>();
    // The ZD800M window (TfrmMenuES2) shares form 2 but has no controls for lines 9 to
    // 16 nor the rotated titles: the ZD801 window stands for the table.
    registro.Registrar<TfrmMenuES>();
    RegistrarDeCanal<TfrmNomED>(registro);
    registro.Registrar<TfrmActDesSenales>();
    registro.Registrar<TfrmFiltro>();
    registro.Registrar(TfrmOperacionesAna::Numero, QStringLiteral("TfrmOperacionesAna"), [](IPrincipal& p) {
        return std::make_unique<TfrmOperacionesAna>(p, TOperaciones(), &p.Ventana());
    });
    registro.Registrar(TfrmOperacionesDig::Numero, QStringLiteral("TfrmOperacionesDig"), [](IPrincipal& p) {
        return std::make_unique<TfrmOperacionesDig>(p, TOperaciones(), &p.Ventana());
    });
}

} // namespace qv

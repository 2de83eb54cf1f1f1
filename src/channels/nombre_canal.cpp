#include "channels/nombre_canal.h"

#include "app/api/estado.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/operaciones.h"
#include "model/senales.h"

namespace qv {

namespace {


// The set's signal of that name came from this very channel: a captured input signal
// or a generated output signal of the channel's kind carrying the channel's number.
bool EsSenalPropia(const TCjtSenales& senales, TCanal canal, const QString& nombre)
{
    const TSenal* s = nullptr;
    if (canal.tipo == TCanal::Tipo::EntAna || canal.tipo == TCanal::Tipo::SalAna)
        s = senales.BuscarAna(nombre);
    else
        s = senales.BuscarDig(nombre);
    if (!s || s->Canal != canal.indice)
        return false;
    const bool salida = canal.tipo == TCanal::Tipo::SalAna || canal.tipo == TCanal::Tipo::SalDig;
    return s->Origen() == (salida ? OrigenSenal::Generador : OrigenSenal::Captada);
}

bool EsCanal(TCanal a, TCanal::Tipo tipo, int indice)
{
    return a.tipo == tipo && a.indice == indice;
}

bool NombreDeOtroCanal(const TConfigES& c, TCanal canal, const QString& nombre)
{
    using T = TCanal::Tipo;
    for (int i = 1; i <= TConfigES::NumEntDig; ++i)
        if (!EsCanal(canal, T::EntDig, i) && c.EntDig(i).Nombre == nombre)
            return true;
    for (int i = 1; i <= TConfigES::NumSalDig; ++i)
        if (!EsCanal(canal, T::SalDig, i) && c.SalDig(i).Nombre == nombre)
            return true;
    for (int i = 1; i <= TConfigES::NumEntAna; ++i)
        if (!EsCanal(canal, T::EntAna, i) && c.EntAna(i).Nombre == nombre)
            return true;
    for (int i = 1; i <= TConfigES::NumSalAna; ++i)
        if (!EsCanal(canal, T::SalAna, i) && c.SalAna(i).Nombre == nombre)
            return true;
    return false;
}

} // namespace

QString NombreActual(const TConfigES& config, TCanal canal)
{
    switch (canal.tipo) {
    case TCanal::Tipo::EntDig: return config.EntDig(canal.indice).Nombre;
    case TCanal::Tipo::SalDig: return config.SalDig(canal.indice).Nombre;
    case TCanal::Tipo::EntAna: return config.EntAna(canal.indice).Nombre;
    case TCanal::Tipo::SalAna: return config.SalAna(canal.indice).Nombre;
    }
    return {};
}

int ComprobarNombreCanal(const TEstadoPrograma& estado, const TConfigES& config, TCanal canal,
                         const QString& nombre, bool siempre)
{
    if (nombre == NombreActual(config, canal))
        return 0;
    if (NombreDeOtroCanal(config, canal, nombre))
        return clave::NombreCanal;
    // The windows of one channel look at signals and operations only while the set
    // names its signals itself; the naming dialog always does.
    const TCjtSenales* senales = estado.Senales();
    if (!siempre && (!senales || senales->NombradoAuto()))
        return 0;
    if (senales && (senales->BuscarAna(nombre) || senales->BuscarDig(nombre))
        && !EsSenalPropia(*senales, canal, nombre))
        return clave::NombreSenal;
    if (estado.OperacionesSiHay() && estado.OperacionesSiHay()->ExisteResultado(nombre))
        return clave::NombreOperacion;
    return 0;
}

} // namespace qv

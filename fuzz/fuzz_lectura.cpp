// The read-back parser ("9#") on its own, as the program drives it: step by step, the
// reply arriving in arbitrary pieces on virtual time, any layout of active groups and
// ranges, and a cancellation at an arbitrary step.
#include "fuzz_comun.h"
#include "fuzz_puerto.h"
#include "link/com_capvis.h"
#include "link/lectura_datos.h"
#include "model/config_es.h"
#include "model/senales.h"

#include <cmath>
#include <cstdint>

using namespace qv;
using fuzz::Comprobar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    static fuzz::TTextosFuzz textos;
    static fuzz::TInteraccionMuda inter;
    if (n < 6)
        return 0;
    const unsigned control = datos[0];
    const unsigned grupos = datos[1] | (unsigned(datos[2]) << 8);
    const unsigned rangos = datos[3] | (unsigned(datos[4]) << 8);
    const unsigned cancelar = datos[5];
    const QByteArray resto(reinterpret_cast<const char*>(datos + 6), qsizetype(n - 6));

    test::TRelojFalso reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    auto p = std::make_unique<fuzz::TPuertoTrozos>(reloj, resto, 1 + (control >> 3) * 7, control & 7);
    fuzz::TPuertoTrozos* puerto = p.get();
    enlace.PonerPuerto(std::move(p), true);

    TConfigES config;
    config.NumMuestras = 10;
    config.Periodo = 1;
    for (int i = 1; i <= 16; ++i)
        config.EntDig(i).Activo = (grupos >> ((i - 1) % 10)) & 1;
    for (int i = 1; i <= 8; ++i) {
        config.EntAna(i).Activo = (grupos >> (8 + i)) & 1;
        config.EntAna(i).Rango = int((rangos >> (2 * (i - 1))) & 3) + (i % 3 == 0 ? 2 : 0);
    }
    enlace.ActualizarGrupos(config);
    int activos = 0;
    for (std::uint8_t g : enlace.Foto().Descriptor.GrupoActivo)
        activos += g != 0;

    TLecturaDatos lectura(enlace, config);
    TLecturaDatos::TResultado r;
    int pasos = 0;
    while ((r = lectura.Paso()) == TLecturaDatos::TResultado::Sigue) {
        ++pasos;
        if (cancelar && pasos == int(cancelar))
            lectura.Cancelar();
        // Every step ends: the whole reply is taken in far fewer steps than it has
        // bytes, silence ends an attempt, and there are three attempts.
        Comprobar(pasos < 4 * (resto.size() + 200));
        Comprobar(lectura.Esperados() == 0 || lectura.Recibidos() <= lectura.Esperados());
        Comprobar(lectura.Intento() <= TLecturaDatos::NumIntentos);
        reloj.Dormir(lectura.EsperaSugerida());
    }
    // Never more requests than attempts.
    Comprobar(puerto->enviados.count("9#") <= TLecturaDatos::NumIntentos);
    if (r == TLecturaDatos::TResultado::Cancelada)
        Comprobar(!lectura.Datos());

    TCjtSenales senales(textos, inter);
    lectura.Entregar(senales);
    if (!lectura.Datos()) {
        // Only a complete reply reaches the set.
        Comprobar(senales.NumAna() == 0 && senales.NumDig() == 0);
        return 0;
    }
    const int muestras = lectura.Muestras();
    Comprobar(muestras >= 0 && muestras <= MaxMuestras);
    if (muestras == 0 || activos == 0) {
        Comprobar(senales.NumAna() == 0 && senales.NumDig() == 0);
        return 0;
    }
    int ana = 0, dig = 0;
    for (int i = 1; i <= 8; ++i)
        ana += config.EntAna(i).Activo;
    for (int i = 1; i <= 16; ++i)
        dig += config.EntDig(i).Activo;
    Comprobar(senales.NumAna() == ana && senales.NumDig() == dig);
    for (int i = 0; i < senales.NumAna(); ++i) {
        const TSenalAna* s = senales.Ana(i);
        Comprobar(s->NumMuestras() == muestras);
        for (int k = 0; k < muestras; ++k)
            Comprobar(std::isfinite(s->LeerMuestra(k)));
    }
    for (int i = 0; i < senales.NumDig(); ++i) {
        const TSenalDig* s = senales.Dig(i);
        Comprobar(s->NumMuestras() == muestras);
        for (int k = 0; k < muestras; ++k)
            Comprobar(s->LeerMuestra(k) <= 1);
    }
    return 0;
}

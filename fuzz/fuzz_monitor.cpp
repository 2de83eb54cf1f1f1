// The progress poll ("10#") as monitoring runs it: poll after poll against a stream of
// arbitrary replies in arbitrary pieces, for any layout of active groups.
#include "fuzz_comun.h"
#include "fuzz_puerto.h"
#include "link/com_capvis.h"
#include "model/config_es.h"

#include <cstdint>

using namespace qv;
using fuzz::Comprobar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    static fuzz::TTextosFuzz textos;
    static fuzz::TInteraccionMuda inter;
    if (n < 4)
        return 0;
    const unsigned control = datos[0];
    const unsigned grupos = datos[1] | (unsigned(datos[2]) << 8);
    const unsigned inicio = datos[3];
    const QByteArray resto(reinterpret_cast<const char*>(datos + 4), qsizetype(n - 4));

    test::TRelojFalso reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    auto p = std::make_unique<fuzz::TPuertoTrozos>(reloj, resto, 1 + (control >> 3) * 5, control & 7);
    fuzz::TPuertoTrozos* puerto = p.get();
    enlace.PonerPuerto(std::move(p), true);
    TConfigES config;
    for (int i = 1; i <= 16; ++i)
        config.EntDig(i).Activo = (grupos >> ((i - 1) % 10)) & 1;
    for (int i = 1; i <= 8; ++i)
        config.EntAna(i).Activo = (grupos >> (8 + i)) & 1;
    enlace.ActualizarGrupos(config);
    enlace.PonerProgreso(static_cast<std::uint16_t>(inicio * 100));

    // Each poll consumes at least one receive, so the stream runs out.
    for (int poll = 0; poll < 64; ++poll) {
        const int antes = enlace.Foto().Descriptor.Progreso;
        const auto valores = enlace.Foto().UltimoValor;
        const bool ok = enlace.LeerMonitor();
        const int despues = enlace.Foto().Descriptor.Progreso;
        // Progress only grows, or drops to 0 at the end of a capture; the last values
        // change only with a new progress.
        Comprobar(despues == 0 || despues >= antes);
        Comprobar(despues <= 65535);
        if (despues == antes || despues == 0)
            Comprobar(valores == enlace.Foto().UltimoValor);
        if (!ok)
            Comprobar(despues == antes && valores == enlace.Foto().UltimoValor);
        for (int g = 0; g < 2; ++g)
            Comprobar(enlace.Foto().UltimoValor[g] >= 0 && enlace.Foto().UltimoValor[g] <= 255);
        // Once the stream is spent, every further poll is the same silence.
        if (puerto->Agotado() && !ok)
            break;
    }
    return 0;
}

// The identification ("1#") and state ("2#") replies: arbitrary bytes in arbitrary
// pieces; what reaches the program is bounded and printable.
#include "fuzz_comun.h"
#include "fuzz_puerto.h"
#include "link/com_capvis.h"

#include <cstdint>

using namespace qv;
using fuzz::Comprobar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    static fuzz::TTextosFuzz textos;
    static fuzz::TInteraccionMuda inter;
    if (n < 2)
        return 0;
    const unsigned control = datos[0];
    const unsigned orden = datos[1];
    const QByteArray resto(reinterpret_cast<const char*>(datos + 2), qsizetype(n - 2));

    test::TRelojFalso reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    auto p = std::make_unique<fuzz::TPuertoTrozos>(reloj, resto, 1 + (control >> 3) * 3, control & 7);
    fuzz::TPuertoTrozos* puerto = p.get();
    enlace.PonerPuerto(std::move(p), true);

    for (int i = 0; i < 8; ++i) {
        const qint64 antes = puerto->recepciones;
        if ((orden >> i) & 1) {
            const QString version = enlace.Foto().Version;
            const int memoria = enlace.Foto().Memoria;
            if (enlace.LeerVersion()) {
                Comprobar(enlace.Foto().Version.size() <= TComCapvis::MaxRespuesta);
                for (QChar c : enlace.Foto().Version)
                    Comprobar(c.unicode() >= 0x20 && !(c.unicode() >= 0x7F && c.unicode() <= 0x9F));
            } else {
                Comprobar(enlace.Foto().Version == version && enlace.Foto().Memoria == memoria);
            }
        } else {
            int estado = -12345;
            if (!enlace.LeerEstado(estado))
                Comprobar(estado == -12345);
        }
        // Every query waits a bounded number of receives.
        Comprobar(puerto->recepciones - antes <= 4 * (TComCapvis::MaxRespuesta + 2000));
    }
    return 0;
}

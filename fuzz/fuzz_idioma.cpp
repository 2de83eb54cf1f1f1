// Language-file reader: lookups from the start and forward lookups on arbitrary bytes.
#include "fuzz_comun.h"
#include "lang/idioma.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    const QString ruta = fuzz::FicheroTemporal("lng", datos, n);
    TLanguage idioma;
    idioma.setIdiomaFile(ruta);
    // Keys in and out of order, absent ones, and the extremes of an int.
    static const int claves[] = {1, 101, 100, 193, 199, 2, 1000, 0, -1, 2147483647, 150, 149, 5};
    for (int k : claves) {
        idioma.BuscarTexto(k);
        idioma.LeerTexto(k);
    }
    return 0;
}

// Language-file reader: forward lookups, rewinds and fresh searches on arbitrary bytes.
// Every lookup of a key the data lack walks all of it, so the runs keep to a few such
// walks: one forward pass in ascending order, one rewind, and four fresh searches.
#include "fuzz_comun.h"
#include "lang/idioma.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    const QString ruta = fuzz::FicheroTemporal("lng", datos, n);
    TLanguage idioma;
    idioma.setIdiomaFile(ruta);
    static const int adelante[] = {1, 2, 5, 100, 101, 149, 150, 193, 199};
    for (int k : adelante)
        idioma.LeerTexto(k);
    idioma.LeerTexto(5); // a smaller key rewinds
    // Absent keys and the extremes of an int.
    for (int k : {0, -1, 2147483647, 1000})
        idioma.BuscarTexto(k);
    return 0;
}

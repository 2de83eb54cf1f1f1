// Configuration reader: full read (channels, generators, operations) and the
// configuration-only read, on arbitrary bytes.
#include "fuzz_comun.h"
#include "model/config_es.h"
#include "model/fichero_config.h"
#include "model/operaciones.h"

#include <QDir>

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    static fuzz::TTextosFuzz textos;
    static fuzz::TInteraccionMuda inter;
    // Table files named without a folder are looked for in an empty folder.
    static const QString carpeta = QDir::temp().filePath(QStringLiteral("qv_fuzz_vacia"));
    static const bool creada = QDir().mkpath(carpeta);
    (void)creada;

    const QByteArray texto(reinterpret_cast<const char*>(datos), qsizetype(n));
    TFicheroConfig fichero(textos, inter, carpeta);
    TConfigES config;
    TOperaciones ops;
    if (fichero.LeerConfiguracionDatos(texto, config, ops)) {
        // What was read must write again and read back to the same text.
        const QByteArray otra = fichero.Texto(config, ops);
        TConfigES c2;
        TOperaciones o2;
        if (!fichero.LeerConfiguracionDatos(otra, c2, o2) || fichero.Texto(c2, o2) != otra)
            __builtin_trap();
    }
    fichero.LeerSoloConfiguracionDatos(texto);
    return 0;
}

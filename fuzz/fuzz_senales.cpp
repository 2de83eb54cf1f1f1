// Signal-file reader: the configuration pass, the signal pass and the single-signal
// reader, on arbitrary bytes.
#include "fuzz_comun.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/exportar.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QDir>

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    static fuzz::TTextosFuzz textos;
    static fuzz::TInteraccionMuda inter;
    static const QString carpeta = fuzz::CarpetaTemporal("vacia");

    const QByteArray texto(reinterpret_cast<const char*>(datos), qsizetype(n));
    TFicheroConfig fichero(textos, inter, carpeta);
    TConfigES config;
    TOperaciones ops;
    fichero.LeerConfiguracionDatos(texto, config, ops);

    TCjtSenales senales(textos, inter);
    bool leido = false;
    try {
        LeerFichero(senales, texto);
        leido = true;
    } catch (const EErrorModelo&) {
    }
    if (leido) {
        // A set that was read writes a signal part that reads back to the same set.
        QByteArray parte;
        EscribirFichero(senales, parte);
        TCjtSenales otra(textos, inter);
        LeerFichero(otra, parte);
        QByteArray de_nuevo;
        EscribirFichero(otra, de_nuevo);
        TCjtSenales tercera(textos, inter);
        LeerFichero(tercera, de_nuevo);
        QByteArray final_;
        EscribirFichero(tercera, final_);
        if (final_ != parte)
            __builtin_trap();
        const QByteArray tabla = ExportarTexto(senales);
        if (!tabla.startsWith("\r\n\r\n   "))
            __builtin_trap();
    }

    TCjtSenales una(textos, inter);
    try {
        LeerSenalDeDatos(una, texto, QStringLiteral("A"), QStringLiteral("B"));
    } catch (const EErrorModelo&) {
    }
    return 0;
}

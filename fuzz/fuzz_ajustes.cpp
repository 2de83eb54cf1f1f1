// Station settings reader on arbitrary bytes as "Quorvane.ini". Only the public
// reading API is used (a folder, PuertosSerie and the generic key read), so the
// target follows the reader through rewrites.
#include "fuzz_comun.h"
#include "link/ajustes_estacion.h"

#include <QDir>
#include <QFile>
#include <cstdint>

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    static const QString carpeta = fuzz::CarpetaTemporal("ajustes");
    const QByteArray texto(reinterpret_cast<const char*>(datos), qsizetype(n));
    fuzz::EscribirFichero(QDir(carpeta).filePath(QStringLiteral("Quorvane.ini")), texto);

    const TAjustesEstacion ajustes(carpeta);
    const QStringList puertos = ajustes.PuertosSerie();
    // Never an empty list or an empty device name: the unit search needs both.
    if (puertos.isEmpty())
        __builtin_trap();
    for (const QString& p : puertos)
        if (p.trimmed().isEmpty())
            __builtin_trap();
    ajustes.Leer(QStringLiteral("ConfiguracionSAD"), QStringLiteral("TipoConAula"));
    ajustes.Leer(QStringLiteral("ConfiguracionSAD"), QStringLiteral("UltimoPCSAD"), QStringLiteral("x"));
    // A section and a key named by the input itself: its first line, cut at "=".
    const qsizetype fin = texto.indexOf('\n');
    const QByteArray primera = texto.left(fin < 0 ? 64 : std::min<qsizetype>(fin, 64));
    const qsizetype igual = primera.indexOf('=');
    ajustes.Leer(QString::fromLatin1(primera.left(igual < 0 ? primera.size() : igual)),
                 QString::fromLatin1(igual < 0 ? QByteArray() : primera.mid(igual + 1)), QStringLiteral("d"));
    return 0;
}

#pragma once

// What the file readers need around them when driven by a fuzzer: fixed texts, an
// interaction that never asks anybody, and a scratch file for readers that take paths.

#include "common/entorno_mudo.h"

#include <QDir>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace qv::fuzz {

using TTextosFuzz = test::TTextosMudos;
using test::TInteraccionMuda;

// A file of this process holding the input, for readers that open paths.
inline QString FicheroTemporal(const char* extension, const std::uint8_t* datos, std::size_t n)
{
    const QString ruta = QDir::temp().filePath(
        QStringLiteral("qv_fuzz_%1.%2").arg(::getpid()).arg(QLatin1String(extension)));
    if (FILE* f = std::fopen(ruta.toLocal8Bit().constData(), "wb")) {
        if (n)
            std::fwrite(datos, 1, n, f);
        std::fclose(f);
    }
    return ruta;
}

} // namespace qv::fuzz

#pragma once

// What the file readers need around them when driven by a fuzzer: fixed texts, an
// interaction that never asks anybody, and scratch files for readers that take paths.

#include "common/entorno_mudo.h"

#include <QDir>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace qv::fuzz {

using TTextosFuzz = test::TTextosMudos;
using test::TInteraccionMuda;

// A property of the code under test that must hold: a broken one is a finding.
inline void Comprobar(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// A folder of this process for scratch files: in memory (/dev/shm) where there is
// one, since a reader that takes paths opens its file on every run. It is made here
// and removed when the run ends.
inline QString CarpetaTemporal(const char* nombre)
{
    struct TCarpetas {
        std::vector<std::string> rutas;
        ~TCarpetas()
        {
            std::error_code e;
            for (const std::string& r : rutas)
                std::filesystem::remove_all(r, e);
        }
    };
    static TCarpetas carpetas;
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    const QString ruta = QDir(base).filePath(QStringLiteral("qv_fuzz_%1_%2").arg(::getpid()).arg(QLatin1String(nombre)));
    QDir().mkpath(ruta);
    carpetas.rutas.push_back(ruta.toStdString());
    return ruta;
}

inline void EscribirFichero(const QString& ruta, const QByteArray& datos)
{
    if (FILE* f = std::fopen(ruta.toLocal8Bit().constData(), "wb")) {
        if (!datos.isEmpty())
            std::fwrite(datos.constData(), 1, size_t(datos.size()), f);
        std::fclose(f);
    }
}

// A file of this process holding the input, for readers that open paths.
inline QString FicheroTemporal(const char* extension, const std::uint8_t* datos, std::size_t n)
{
    static const QString carpeta = CarpetaTemporal("ficheros");
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("entrada.%1").arg(QLatin1String(extension)));
    EscribirFichero(ruta, QByteArray(reinterpret_cast<const char*>(datos), qsizetype(n)));
    return ruta;
}

} // namespace qv::fuzz

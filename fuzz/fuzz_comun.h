#pragma once

// What the file readers need around them when driven by a fuzzer: fixed texts, an
// interaction that never asks anybody, and a scratch file for readers that take paths.

#include "lang/interaccion.h"
#include "lang/textos.h"

#include <QDir>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace qv::fuzz {

class TTextosFuzz : public TTextos {
public:
    QString BuscarTexto(int clave) override
    {
        static const char* const unidades[] = {"microsegundos", "milisegundos", "segundos", "minutos", "horas"};
        if (clave >= 193 && clave <= 197)
            return QString::fromLatin1(unidades[clave - 193]);
        return QStringLiteral("T%1").arg(clave);
    }
    QString LeerTexto(int clave) override { return BuscarTexto(clave); }
};

// Every box is closed without a choice; renames are cancelled.
class TInteraccionMuda : public TInteraccion {
public:
    int MostrarError(const QString&, int) override { return Respuesta::Ninguna; }
    int MostrarAviso(const QString&, int) override { return Respuesta::Ninguna; }
    int MostrarPregunta(const QString&, int) override { return Respuesta::Ninguna; }
    int MostrarInformacion(const QString&, int) override { return Respuesta::Ninguna; }
    void MensajePlano(const QString&) override {}
    QString PedirNombreNuevo(const QString&) override { return QStringLiteral("Omitir"); }
    int PreguntarPresencia() override { return Respuesta::Abortar; }
    void CursorOcupado(bool) override {}
};

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

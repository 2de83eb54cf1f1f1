#pragma once

// Texts and an interaction for code driven without anybody to answer: benchmarks and
// fuzzers. Nothing is recorded, so long runs do not grow.

#include "lang/interaccion.h"
#include "lang/textos.h"

#include <QString>

namespace qv::test {

// The unit words the file formats depend on; "T<key>" for every other key.
class TTextosMudos : public TTextos {
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

} // namespace qv::test

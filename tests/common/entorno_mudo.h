#pragma once

// Texts and an interaction for code driven without anybody to answer: benchmarks and
// fuzzers. Nothing is recorded, so long runs do not grow.

#include "common/textos_fijos.h"
#include "lang/interaccion.h"

#include <QString>

namespace qv::test {

// The same texts as every test; nothing of them is recorded.
using TTextosMudos = TTextosFijos;

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

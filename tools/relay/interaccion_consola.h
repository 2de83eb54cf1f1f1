#pragma once

#include "lang/interaccion.h"

#include <cstdio>

namespace qv {

// The relay has no window: whatever the link library wants to tell a user goes to
// standard error, and questions get their safe answer.
class TInteraccionConsola : public TInteraccion {
public:
    int MostrarError(const QString& t, int) override { return Escribir(t, Respuesta::Aceptar); }
    int MostrarAviso(const QString& t, int) override { return Escribir(t, Respuesta::Aceptar); }
    int MostrarPregunta(const QString& t, int) override { return Escribir(t, Respuesta::Cancelar); }
    int MostrarInformacion(const QString& t, int) override { return Escribir(t, Respuesta::Aceptar); }
    void MensajePlano(const QString& t) override { Escribir(t, 0); }
    QString PedirNombreNuevo(const QString&) override { return QStringLiteral("Omitir"); }
    int PreguntarPresencia() override { return Respuesta::Abortar; }
    void CursorOcupado(bool) override {}

private:
    int Escribir(const QString& t, int r)
    {
        std::fprintf(stderr, "RelayServer: %s\n", t.toLocal8Bit().constData());
        return r;
    }
};

} // namespace qv

#pragma once

#include "common/textos_fijos.h"
#include "lang/interaccion.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace qv::test {

// Scripted interaction for tests: records every message and answers from queues.
// An empty answer queue answers Respuesta::Ninguna (0), which no caller treats as a
// choice, so a test that forgets an answer shows up as a wrong path, never as a hang
// (except where the caller loops on "any other close", which tests must script).
class TInteraccionGuion : public TInteraccion {
public:
    enum class Sabor { Error, Aviso, Pregunta, Informacion, Plano };
    struct Mensaje {
        Sabor sabor;
        QString texto;
        int botones;
    };

    std::vector<Mensaje> mensajes;
    std::deque<int> respuestas;         // answers of the four message boxes
    std::deque<QString> nombresNuevos;  // answers of the name-clash dialog
    std::deque<int> presencia;          // answers of the presence dialog
    int ocupado = 0;                    // busy-cursor nesting seen

    int MostrarError(const QString& t, int b) override { return Registrar(Sabor::Error, t, b); }
    int MostrarAviso(const QString& t, int b) override { return Registrar(Sabor::Aviso, t, b); }
    int MostrarPregunta(const QString& t, int b) override { return Registrar(Sabor::Pregunta, t, b); }
    int MostrarInformacion(const QString& t, int b) override { return Registrar(Sabor::Informacion, t, b); }
    void MensajePlano(const QString& t) override { Registrar(Sabor::Plano, t, -1); }

    QString PedirNombreNuevo(const QString& nombre) override
    {
        pedidos.push_back(nombre);
        if (nombresNuevos.empty())
            return QStringLiteral("Omitir");
        QString r = nombresNuevos.front();
        nombresNuevos.pop_front();
        return r.isEmpty() ? nombre : r;
    }
    QStringList pedidos; // names the name-clash dialog was opened with

    int PreguntarPresencia() override
    {
        ++preguntasPresencia;
        if (presencia.empty())
            return Respuesta::Abortar;
        int r = presencia.front();
        presencia.pop_front();
        return r;
    }
    int preguntasPresencia = 0;

    void CursorOcupado(bool o) override { ocupado += o ? 1 : 0; }

    QStringList Textos() const
    {
        QStringList l;
        for (const auto& m : mensajes)
            l << m.texto;
        return l;
    }

private:
    int Registrar(Sabor s, const QString& t, int b)
    {
        mensajes.push_back({s, t, b});
        if (respuestas.empty())
            return Respuesta::Ninguna;
        int r = respuestas.front();
        respuestas.pop_front();
        return r;
    }
};

} // namespace qv::test

#pragma once

#include "link/com.h"
#include "link/reloj.h"
#include "unidad_simulada.h"

#include <QByteArray>
#include <QList>
#include <functional>

namespace qv::test {

// The simulated unit behind a port on virtual time: what the program sends reaches the
// unit at the clock's time, and every receive costs a millisecond of it, as a real poll
// of the line does. Commands can be dropped (a unit that stops answering one kind) and
// replies replaced (noise).
class TPuertoUnidad : public TCOM {
public:
    TPuertoUnidad(TReloj& reloj, TUnidadSimulada& unidad) : reloj_(reloj), unidad_(unidad) {}

    QList<QByteArray> enviados;
    // Answers whether the unit gets this command at all.
    std::function<bool(const QByteArray&)> filtro;
    bool mudo = false;   // the unit says nothing
    bool abierto = true;

    void Abrir() override { abierto = true; }
    void Cerrar() override { abierto = false; }
    void Configurar(const QString&) override { abierto = true; }
    void Enviar(const QByteArray& t) override
    {
        if (!abierto)
            throw EComPort(QStringLiteral("closed"));
        enviados << t;
        if (filtro && !filtro(t))
            return;
        unidad_.Recibir(t, Us());
    }
    void Recibir(QByteArray& t) override
    {
        reloj_.Dormir(1);
        t.clear();
        if (!abierto)
            throw EComPort(QStringLiteral("closed"));
        const QByteArray r = unidad_.TomarSalida(Us());
        if (!mudo)
            t = r;
    }
    bool Conectado() override { return abierto; }

    // The commands sent whose text starts so.
    QList<QByteArray> Empiezan(const QByteArray& inicio) const
    {
        QList<QByteArray> r;
        for (const QByteArray& e : enviados)
            if (e.startsWith(inicio))
                r << e;
        return r;
    }

private:
    std::int64_t Us() { return reloj_.Tick() * 1000; }

    TReloj& reloj_;
    TUnidadSimulada& unidad_;
};

} // namespace qv::test

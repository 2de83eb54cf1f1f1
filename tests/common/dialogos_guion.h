#pragma once

#include "app/api/dialogos_archivo.h"

#include <QString>
#include <deque>
#include <vector>

namespace qv::test {

// File dialogs answered from queues; an empty queue is a cancelled dialog.
class TDialogosGuion : public TDialogosArchivo {
public:
    struct Llamada {
        bool guardar;
        QString filtro, titulo, inicial, extension;
    };
    std::deque<QString> abrir, guardar;
    std::vector<Llamada> llamadas;

    QString AbrirFichero(const QString& f, const QString& t, const QString& i) override
    {
        llamadas.push_back({false, f, t, i, {}});
        return Sacar(abrir);
    }
    QString GuardarFichero(const QString& f, const QString& t, const QString& i, const QString& e) override
    {
        llamadas.push_back({true, f, t, i, e});
        return Sacar(guardar);
    }

private:
    static QString Sacar(std::deque<QString>& q)
    {
        if (q.empty())
            return {};
        QString r = q.front();
        q.pop_front();
        return r;
    }
};

} // namespace qv::test

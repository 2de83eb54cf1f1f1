#pragma once

#include "common/esperar.h"
#include "lang/ui/modal.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>

namespace qv::test {

// The modal seam of every test. A run shows the dialog (so that it applies its texts
// as on screen), hands it to a handler and answers the dialog's result; nothing waits
// on a person or an event loop. The handler is the first one queued for the dialog's
// object name ("when frmX is run, do this"), else `accion`; without either the dialog
// is rejected. A handler that leaves the dialog open has it rejected too, so a test
// never hangs.
class TModalPrueba : public TModal {
public:
    using TManejador = std::function<void(QDialog&)>;

    // Handler for any dialog that has none queued under its name.
    TManejador accion;
    // Object names of the dialogs run, in order.
    QStringList vistos;

    // Queues a handler for the next run of the dialog of that object name.
    void Cuando(const QString& nombre, TManejador manejador)
    {
        porNombre_[nombre].push_back(std::move(manejador));
    }
    // Handlers queued that no dialog has used yet.
    int Pendientes() const
    {
        int n = 0;
        for (const auto& [nombre, cola] : porNombre_)
            n += static_cast<int>(cola.size());
        return n;
    }
    int Ejecuciones() const { return static_cast<int>(vistos.size()); }

    int Ejecutar(QDialog& dialogo) override
    {
        vistos << dialogo.objectName();
        dialogo.setResult(0);
        dialogo.show();
        TManejador manejador = accion;
        if (auto it = porNombre_.find(dialogo.objectName()); it != porNombre_.end() && !it->second.empty()) {
            manejador = std::move(it->second.front());
            it->second.pop_front();
        }
        if (manejador)
            manejador(dialogo);
        if (dialogo.isVisible())
            dialogo.reject();
        // A dialog whose work is still on its way closes when it is back: wait for
        // that, as the dialog's own event loop would, before it is destroyed.
        Esperar([&] { return !dialogo.isVisible(); }, 30000);
        return dialogo.result();
    }

private:
    std::map<QString, std::deque<TManejador>> porNombre_;
};

} // namespace qv::test

#pragma once

#include "lang/ui/modal.h"

#include <QDialog>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

namespace qv::test {

// Runs a dialog without an event loop: shows it (so its texts are applied as they
// are on screen), lets the test act on it, and answers the dialog's result.
class TModalGuion : public TModal {
public:
    std::function<void(QDialog&)> accion;
    int ejecuciones = 0;

    int Ejecutar(QDialog& dialogo) override
    {
        ++ejecuciones;
        dialogo.setResult(0);
        dialogo.show();
        if (accion)
            accion(dialogo);
        if (dialogo.isVisible())
            dialogo.reject(); // a script that forgot to close it: never hang
        return dialogo.result();
    }
};

// Clicks the button of that object name, failing the test when it is missing or hidden.
inline void Pulsar(QDialog& d, const char* nombre)
{
    auto* b = d.findChild<QPushButton*>(QString::fromLatin1(nombre));
    ASSERT_NE(b, nullptr) << nombre;
    ASSERT_TRUE(b->isVisible()) << nombre;
    b->click();
}

} // namespace qv::test

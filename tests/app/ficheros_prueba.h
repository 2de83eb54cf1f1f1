#pragma once

#include "principal_prueba.h"

#include "common/dialogos_guion.h"
#include "common/ficheros_prueba.h"

namespace qv::test {

// The main window with scripted file dialogs and real files in a temporary folder.
class ArchivosPrueba : public PrincipalPrueba, public TFicherosPrueba {
protected:
    ArchivosPrueba() : TFicherosPrueba(textos, interaccion) {}

    TDialogosGuion dialogos;

    TfrmPrincipal& CrearConDialogos()
    {
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj,
                                                  QStringLiteral("."), &dialogos);
        ventana->show();
        return *ventana;
    }

    QStringList Textos() const { return interaccion.Textos(); }
};

} // namespace qv::test

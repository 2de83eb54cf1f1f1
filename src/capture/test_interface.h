#pragma once

#include "lang/ui/formulario.h"

class QLabel;

namespace qv {

// "-Datos del Interface": the unit's version, capture state (text and lamp) and data
// capacity, filled by the "Test" command before it is shown.
class TfrmTestInterface : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 4;

    explicit TfrmTestInterface(const TContextoFormulario& contexto, QWidget* parent = nullptr);

    // State 0 to 3 chooses text 127 to 130 and the white, yellow, red or green lamp;
    // `leida`: state 3 is a capture this program has read back already (text 300).
    void Llenar(const QString& version, int estado, int capacidad, bool leida = false);

protected:
    void TextosAplicados() override;

private:
    QString version_, estadoTexto_, capacidad_;
    QLabel* LVersion;
    QLabel* LEstado;
    QLabel* LCapacidad;
    QLabel* Version;
    QLabel* Estado;
    QLabel* Capacidad;
    QLabel* LuzBlanca;
    QLabel* LuzAmarilla;
    QLabel* LuzRoja;
    QLabel* LuzVerde;
};

} // namespace qv

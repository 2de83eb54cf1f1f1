#pragma once

#include "lang/ui/formulario.h"

class QLabel;
class QPushButton;

namespace qv {

// Presence dialog shown when the unit does not answer: "Reintentar" (4),
// "Abortar" (3), "Ignorar" (5). Closing it any other way answers "Abortar", the
// choice that stops the sequence.
class TfrmConexion : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 6;

    explicit TfrmConexion(const TContextoFormulario& contexto, QWidget* parent = nullptr);

    void reject() override;

protected:
    // The language text may be longer or shorter than the built-in one: the window
    // widens to show it whole.
    void TextosAplicados() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void CentrarMensaje();

    static constexpr int AnchoBoton = 96;
    static constexpr int HuecoBotones = 12;

    QLabel* Label1 = nullptr;
    QPushButton* BtnReintentar = nullptr;
    QPushButton* BtnAbortar = nullptr;
    QPushButton* BtnIgnorar = nullptr;
};

} // namespace qv

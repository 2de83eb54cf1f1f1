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
    // The language text may be longer or shorter than the built-in one.
    void TextosAplicados() override { CentrarMensaje(); }
    void resizeEvent(QResizeEvent* e) override;

private:
    void CentrarMensaje();

    QLabel* Label1;
    QPushButton* BtnReintentar;
    QPushButton* BtnAbortar;
    QPushButton* BtnIgnorar;
};

} // namespace qv

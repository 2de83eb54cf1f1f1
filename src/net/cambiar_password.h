#pragma once

#include "lang/ui/formulario.h"
#include "net/contexto_red.h"

class QLabel;
class QLineEdit;

namespace qv {

// "Cambiar contraseña": the new password of the advanced profile, typed twice.
class TForm_CambiarPassword : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 46;
    static constexpr int ContextoAyuda = 263;

    explicit TForm_CambiarPassword(TContextoRed& red, QWidget* parent = nullptr);

protected:
    bool Validar() override;

private:
    TContextoRed& red_;
    QLabel* Label1;
    QLineEdit* Ed_Password;
    QLabel* Label2;
    QLineEdit* ed_PasswordRe;
};

} // namespace qv

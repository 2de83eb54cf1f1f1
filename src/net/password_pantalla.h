#pragma once

#include "lang/ui/formulario.h"
#include "net/contexto_red.h"

class QLabel;
class QLineEdit;

namespace qv {

// "Contraseñas de la pantalla": the watch password (required before this PC's screen
// is ever shared) and the optional control password, each typed twice. Reached from
// the advanced profile, so that the teacher sets them.
class TForm_PasswordPantalla : public TFormulario {
    Q_OBJECT
public:
    static constexpr int ContextoAyuda = 263;

    // `carpetaPrivada`: where the password files go (the user's private folder).
    TForm_PasswordPantalla(TContextoRed& red, QString carpetaPrivada, QWidget* parent = nullptr);

protected:
    void TextosAplicados() override;
    bool Validar() override;

private:
    TContextoRed& red_;
    QString carpeta_;
    QLabel* L_Explicacion;
    QLabel* L_Ver;
    QLineEdit* Ed_PasswordVer;
    QLabel* L_VerRe;
    QLineEdit* Ed_PasswordVerRe;
    QLabel* L_Control;
    QLineEdit* Ed_PasswordControl;
    QLabel* L_ControlRe;
    QLineEdit* Ed_PasswordControlRe;
};

} // namespace qv

#pragma once

#include "lang/ui/formulario.h"
#include "net/contexto_red.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

// "Perfil de usuario": the profile of remote monitoring. The advanced profile (taking
// control of other PCs, offering this PC, the passwords of this PC's screen) is
// unlocked with the password; "Aceptar" keeps the profile in the station settings.
class TForm_UserMonitor : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 52;
    static constexpr int ContextoAyuda = 262;

    explicit TForm_UserMonitor(TContextoRed& red, QWidget* parent = nullptr);

    void BtnActivarClick();
    void BtnDesactivarClick();
    void BtnCambiarPasswordClick();
    // The passwords of this PC's screen (watch and control).
    void BtnPasswordPantallaClick();

    bool Avanzado() const { return avanzado_; }

protected:
    void AlMostrar() override;
    void TextosAplicados() override;
    bool Validar() override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void MostrarPerfil();

    TContextoRed& red_;
    bool avanzado_ = false;
    QLabel* L_Perfil;
    QWidget* PanelNormal;
    QLabel* L_Password;
    QLineEdit* Ed_Password;
    QPushButton* BtnActivar;
    QWidget* PanelAvanzado;
    QPushButton* BtnDesactivar;
    QPushButton* BtnCambiarPassword;
    QPushButton* BtnPasswordPantalla;
};

} // namespace qv

#include "net/user_monitor.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/ajustes_estacion.h"
#include "link/ajustes_estacion.h"
#include "net/cambiar_password.h"
#include "net/password_pantalla.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {
constexpr int kTextoAvanzado = 264;
constexpr int kTextoNormal = 265;
constexpr int kTextoPasswordMal = 278;
constexpr int kTextoPasswordPantalla = 354;

} // namespace

TForm_UserMonitor::TForm_UserMonitor(TContextoRed& red, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, Numero, ContextoAyuda, parent), red_(red)
{
    setObjectName(QStringLiteral("Form_UserMonitor"));
    setWindowTitle(QStringLiteral("Perfil de usuario"));

    L_Perfil = new QLabel(this);
    L_Perfil->setObjectName(QStringLiteral("L_Perfil"));
    QFont negrita = L_Perfil->font();
    negrita.setBold(true);
    L_Perfil->setFont(negrita);

    PanelNormal = new QWidget(this);
    PanelNormal->setObjectName(QStringLiteral("PanelNormal"));
    L_Password = new QLabel(QStringLiteral("Contrase\u00f1a :"), PanelNormal);
    L_Password->setObjectName(QStringLiteral("L_Password"));
    Ed_Password = new QLineEdit(PanelNormal);
    Ed_Password->setObjectName(QStringLiteral("Ed_Password"));
    Ed_Password->setEchoMode(QLineEdit::Password);
    Ed_Password->installEventFilter(this);
    L_Password->setBuddy(Ed_Password);
    BtnActivar = Boton("BtnActivar", QStringLiteral("Activar modo avanzado"), PanelNormal);
    auto* normal = new QHBoxLayout(PanelNormal);
    normal->setContentsMargins(0, 0, 0, 0);
    normal->addWidget(L_Password);
    normal->addWidget(Ed_Password, 1);
    normal->addWidget(BtnActivar);

    PanelAvanzado = new QWidget(this);
    PanelAvanzado->setObjectName(QStringLiteral("PanelAvanzado"));
    BtnDesactivar = Boton("BtnDesactivar", QStringLiteral("Desactivar modo avanzado"), PanelAvanzado);
    BtnCambiarPassword =
        Boton("BtnCambiarPassword", QStringLiteral("Cambiar contrase\u00f1a modo avanzado"), PanelAvanzado);
    BtnPasswordPantalla = Boton("BtnPasswordPantalla", QString(), PanelAvanzado);
    auto* avanzado = new QGridLayout(PanelAvanzado);
    avanzado->setContentsMargins(0, 0, 0, 0);
    avanzado->addWidget(BtnDesactivar, 0, 0);
    avanzado->addWidget(BtnCambiarPassword, 0, 1);
    avanzado->addWidget(BtnPasswordPantalla, 1, 0, 1, 2);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(L_Perfil);
    columna->addWidget(PanelNormal);
    columna->addWidget(PanelAvanzado);
    columna->addStretch();
    columna->addLayout(CrearBotones());
    setMinimumWidth(500);

    connect(BtnActivar, &QPushButton::clicked, this, &TForm_UserMonitor::BtnActivarClick);
    connect(BtnDesactivar, &QPushButton::clicked, this, &TForm_UserMonitor::BtnDesactivarClick);
    connect(BtnCambiarPassword, &QPushButton::clicked, this, &TForm_UserMonitor::BtnCambiarPasswordClick);
    connect(BtnPasswordPantalla, &QPushButton::clicked, this, &TForm_UserMonitor::BtnPasswordPantallaClick);
}

void TForm_UserMonitor::TextosAplicados()
{
    BtnPasswordPantalla->setText(Textos().BuscarTexto(kTextoPasswordPantalla));
}

void TForm_UserMonitor::AlMostrar()
{
    avanzado_ = red_.Ajustes.UsuarioAvanzado();
    MostrarPerfil();
}

void TForm_UserMonitor::MostrarPerfil()
{
    PanelAvanzado->setVisible(avanzado_);
    PanelNormal->setVisible(!avanzado_);
    L_Perfil->setText(Textos().BuscarTexto(avanzado_ ? kTextoAvanzado : kTextoNormal));
    if (!avanzado_)
        Ed_Password->setFocus();
}

bool TForm_UserMonitor::eventFilter(QObject* objeto, QEvent* evento)
{
    // Enter in the password box tries the password; it does not close the dialog.
    if (objeto == Ed_Password && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            BtnActivarClick();
            return true;
        }
    }
    return TFormulario::eventFilter(objeto, evento);
}

void TForm_UserMonitor::BtnActivarClick()
{
    const QString texto = Ed_Password->text();
    Ed_Password->clear();
    if (red_.Ajustes.ComprobarPassword(texto)) {
        avanzado_ = true;
        MostrarPerfil();
        return;
    }
    avanzado_ = false;
    Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoPasswordMal), Botones::Aceptar);
    Ed_Password->setFocus();
}

void TForm_UserMonitor::BtnDesactivarClick()
{
    avanzado_ = false;
    MostrarPerfil();
}

void TForm_UserMonitor::BtnCambiarPasswordClick()
{
    TForm_CambiarPassword dialogo(red_, this);
    dialogo.Ejecutar();
}

void TForm_UserMonitor::BtnPasswordPantallaClick()
{
    TForm_PasswordPantalla dialogo(red_, CarpetaConfiguracionUsuario(), this);
    dialogo.Ejecutar();
}

bool TForm_UserMonitor::Validar()
{
    red_.Ajustes.EscribirUsuarioAvanzado(avanzado_);
    return true;
}

} // namespace qv

#include "net/cambiar_password.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/ajustes_estacion.h"
#include "model/claves_texto.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qv {

TForm_CambiarPassword::TForm_CambiarPassword(TContextoRed& red, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, Numero, ContextoAyuda, parent), red_(red)
{
    setObjectName(QStringLiteral("Form_CambiarPassword"));
    setWindowTitle(QStringLiteral("Cambiar contrase\u00f1a"));

    auto caja = [this](const char* nombre) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(nombre));
        e->setEchoMode(QLineEdit::Password);
        e->setMinimumWidth(180);
        return e;
    };
    Label1 = new QLabel(QStringLiteral("Nueva contrase\u00f1a :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Ed_Password = caja("Ed_Password");
    Label2 = new QLabel(QStringLiteral("Repita la contrase\u00f1a :"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ed_PasswordRe = caja("ed_PasswordRe");
    Label1->setBuddy(Ed_Password);
    Label2->setBuddy(ed_PasswordRe);

    auto* campos = new QFormLayout;
    campos->addRow(Label1, Ed_Password);
    campos->addRow(Label2, ed_PasswordRe);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(campos);
    columna->addLayout(CrearBotones());
}

bool TForm_CambiarPassword::Validar()
{
    const int clave = TAjustesEstacion::ValidarPasswordNueva(Ed_Password->text(), ed_PasswordRe->text());
    if (clave != 0) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(clave), Botones::Aceptar);
        if (clave == clave::NoCoinciden) {
            Ed_Password->clear();
            ed_PasswordRe->clear();
        }
        Ed_Password->setFocus();
        return false;
    }
    // A password the user believes changed must be the one that works.
    if (!red_.Ajustes.CambiarPassword(Ed_Password->text())) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(clave::NoGuardada), Botones::Aceptar);
        return false;
    }
    return true;
}

} // namespace qv

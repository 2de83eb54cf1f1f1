#include "net/password_pantalla.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/vnc_clave.h"
#include "model/claves_texto.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qv {

namespace {
constexpr int kTextoTitulo = 354;
} // namespace

TForm_PasswordPantalla::TForm_PasswordPantalla(TContextoRed& red, QString carpetaPrivada, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, 0, ContextoAyuda, parent), red_(red),
      carpeta_(std::move(carpetaPrivada))
{
    setObjectName(QStringLiteral("Form_PasswordPantalla"));
    L_Explicacion = Etiqueta("L_Explicacion", QString(), this);
    L_Explicacion->setWordWrap(true);
    auto* campos = new QFormLayout;
    auto fila = [&](const char* etiqueta, QLabel*& l, const char* nombre, QLineEdit*& e) {
        l = Etiqueta(etiqueta, QString(), this);
        e = new QLineEdit(this);
        e->setObjectName(QLatin1String(nombre));
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(TClavesPantalla::LargoMaximo);
        e->setMinimumWidth(140);
        l->setBuddy(e);
        campos->addRow(l, e);
    };
    fila("L_Ver", L_Ver, "Ed_PasswordVer", Ed_PasswordVer);
    fila("L_VerRe", L_VerRe, "Ed_PasswordVerRe", Ed_PasswordVerRe);
    fila("L_Control", L_Control, "Ed_PasswordControl", Ed_PasswordControl);
    fila("L_ControlRe", L_ControlRe, "Ed_PasswordControlRe", Ed_PasswordControlRe);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(L_Explicacion);
    columna->addLayout(campos);
    columna->addLayout(CrearBotones());
    setMinimumWidth(440);
}

void TForm_PasswordPantalla::TextosAplicados()
{
    TTextos& t = Textos();
    setWindowTitle(t.BuscarTexto(kTextoTitulo));
    L_Ver->setText(t.BuscarTexto(355));
    L_VerRe->setText(t.BuscarTexto(356));
    L_Control->setText(t.BuscarTexto(357));
    L_ControlRe->setText(t.BuscarTexto(358));
    L_Explicacion->setText(t.BuscarTexto(359));
}

bool TForm_PasswordPantalla::Validar()
{
    const int clave = TClavesPantalla::Validar(Ed_PasswordVer->text(), Ed_PasswordVerRe->text(),
                                               Ed_PasswordControl->text(), Ed_PasswordControlRe->text());
    if (clave != 0) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(clave), Botones::Aceptar);
        for (QLineEdit* e : {Ed_PasswordVer, Ed_PasswordVerRe, Ed_PasswordControl, Ed_PasswordControlRe})
            e->clear();
        Ed_PasswordVer->setFocus();
        return false;
    }
    if (!TClavesPantalla(red_.Ajustes, carpeta_).Poner(Ed_PasswordVer->text(), Ed_PasswordControl->text())) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(clave::NoGuardada), Botones::Aceptar);
        return false;
    }
    return true;
}

} // namespace qv

#include "display/ins_texto.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qv {

TfrmInsTexto::TfrmInsTexto(const TContextoFormulario& contexto, QWidget* parent)
    : TFormulario(contexto, Numero, 232, parent)
{
    setObjectName(QStringLiteral("frmInsTexto"));
    setWindowTitle(QStringLiteral("Insertar texto"));
    Label1 = new QLabel(QStringLiteral("Texto a insertar"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    EdTexto = new QLineEdit(this);
    EdTexto->setObjectName(QStringLiteral("EdTexto"));
    Label1->setBuddy(EdTexto);
    connect(EdTexto, &QLineEdit::returnPressed, this, &TfrmInsTexto::AceptarClick);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Label1);
    columna->addWidget(EdTexto);
    columna->addLayout(CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp"));
    resize(320, 110);
}

QString TfrmInsTexto::Texto() const { return EdTexto->text(); }

void TfrmInsTexto::AlMostrar() { EdTexto->setFocus(); }

bool TfrmInsTexto::Pedir(const TContextoFormulario& contexto, QWidget* parent, QString& texto)
{
    TfrmInsTexto dlg(contexto, parent);
    if (dlg.Ejecutar() != QDialog::Accepted)
        return false;
    texto = dlg.Texto();
    return true;
}

} // namespace qv

#include "lang/ui/cambiar_nombre.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qv {

TfrmCambiarNombre::TfrmCambiarNombre(const TContextoFormulario& contexto, const QString& nombre, QWidget* parent)
    : TFormulario(contexto, Numero, 0, parent)
    , nombre_(nombre)
{
    setObjectName(QStringLiteral("frmCambiarNombre"));
    setWindowTitle(QStringLiteral("Cambiar Nombre de Se\u00f1al"));

    Label1 = new QLabel(QStringLiteral("El conjunto de se\u00f1ales ya contiene una se\u00f1al  "), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    // Beside the label whatever the length of the translated text.
    LNombre = new QLabel(nombre, this);
    LNombre->setObjectName(QStringLiteral("LNombre"));
    LNombre->setTextFormat(Qt::PlainText);
    QFont negrita = LNombre->font();
    negrita.setBold(true);
    LNombre->setFont(negrita);

    Edit1 = new QLineEdit(nombre, this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->selectAll();

    auto* linea = new QHBoxLayout;
    linea->addWidget(Label1);
    linea->addWidget(LNombre);
    linea->addStretch();
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(linea);
    columna->addWidget(Edit1);
    columna->addLayout(CrearBotones());
    setMinimumWidth(400);

    Edit1->setFocus();
}

QString TfrmCambiarNombre::Resultado() const
{
    if (result() != QDialog::Accepted)
        return QStringLiteral("Omitir");
    const QString t = Edit1->text();
    return t.isEmpty() ? nombre_ : t;
}

} // namespace qv

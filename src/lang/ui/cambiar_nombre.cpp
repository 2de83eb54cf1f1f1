#include "lang/ui/cambiar_nombre.h"

#include "lang/ui/textos_formularios.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qv {

namespace {
constexpr int kFormulario = 42;
}

TfrmCambiarNombre::TfrmCambiarNombre(TTextos& textos, const QString& nombre, QWidget* parent)
    : QDialog(parent)
    , textos_(textos)
    , nombre_(nombre)
{
    setObjectName(QStringLiteral("frmCambiarNombre"));
    setWindowTitle(QStringLiteral("Cambiar Nombre de Se\u00f1al"));
    setFixedSize(400, 120);

    Label1 = new QLabel(QStringLiteral("El conjunto de se\u00f1ales ya contiene una se\u00f1al  "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 14, 270, 20);

    LNombre = new QLabel(nombre, this);
    LNombre->setObjectName(QStringLiteral("LNombre"));
    LNombre->setGeometry(282, 14, 110, 20);
    QFont negrita = LNombre->font();
    negrita.setBold(true);
    LNombre->setFont(negrita);

    Edit1 = new QLineEdit(nombre, this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 42, 376, 24);
    Edit1->selectAll();

    OKBtn = new QPushButton(QStringLiteral("Aceptar"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(68, 80, 85, 28);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    CancelBtn = new QPushButton(QStringLiteral("Cancelar"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(158, 80, 85, 28);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    // Context help has no viewer in this program yet; the button is kept for the layout
    // and its language text.
    HelpBtn = new QPushButton(QStringLiteral("Ayuda"), this);
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    HelpBtn->setGeometry(248, 80, 85, 28);
    HelpBtn->setAutoDefault(false);

    Edit1->setFocus();
}

QString TfrmCambiarNombre::Resultado() const
{
    if (result() != QDialog::Accepted)
        return QStringLiteral("Omitir");
    const QString t = Edit1->text();
    return t.isEmpty() ? nombre_ : t;
}

void TfrmCambiarNombre::showEvent(QShowEvent* e)
{
    AplicarTextosFormulario(*this, kFormulario, textos_);
    QDialog::showEvent(e);
}

} // namespace qv

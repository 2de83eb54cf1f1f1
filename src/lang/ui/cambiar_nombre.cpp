#include "lang/ui/cambiar_nombre.h"

#include "lang/ui/textos_formularios.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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

    OKBtn = new QPushButton(QStringLiteral("Aceptar"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    CancelBtn = new QPushButton(QStringLiteral("Cancelar"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    // Context help has no viewer in this program yet; the button is kept for the layout
    // and its language text.
    HelpBtn = new QPushButton(QStringLiteral("Ayuda"), this);
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    HelpBtn->setAutoDefault(false);

    auto* linea = new QHBoxLayout;
    linea->addWidget(Label1);
    linea->addWidget(LNombre);
    linea->addStretch();
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    for (QPushButton* b : {OKBtn, CancelBtn, HelpBtn}) {
        b->setMinimumWidth(85);
        botones->addWidget(b);
    }
    botones->addStretch();
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(linea);
    columna->addWidget(Edit1);
    columna->addLayout(botones);
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

void TfrmCambiarNombre::showEvent(QShowEvent* e)
{
    AplicarTextosFormulario(*this, kFormulario, textos_);
    QDialog::showEvent(e);
}

} // namespace qv

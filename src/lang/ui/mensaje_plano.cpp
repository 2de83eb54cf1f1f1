#include "lang/ui/mensaje_plano.h"

#include "lang/textos.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

TfrmMensajePlano::TfrmMensajePlano(TTextos& textos, const QString& mensaje, QWidget* parent)
    : QDialog(parent)
    , textos_(textos)
{
    setObjectName(QStringLiteral("frmMensajePlano"));
    setWindowTitle(QGuiApplication::applicationDisplayName());

    texto = new QLabel(mensaje, this);
    texto->setObjectName(QStringLiteral("texto"));
    texto->setWordWrap(true);
    texto->setTextFormat(Qt::PlainText);

    OKBtn = new QPushButton(QStringLiteral("Aceptar"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* fila = new QHBoxLayout;
    fila->addStretch();
    fila->addWidget(OKBtn);
    fila->addStretch();
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(texto);
    columna->addLayout(fila);
    columna->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmMensajePlano::showEvent(QShowEvent* e)
{
    OKBtn->setText(textos_.LeerTexto(2));
    QDialog::showEvent(e);
}

} // namespace qv

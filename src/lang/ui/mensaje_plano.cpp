#include "lang/ui/mensaje_plano.h"

#include "lang/textos.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

TfrmMensajePlano::TfrmMensajePlano(const TContextoFormulario& contexto, const QString& mensaje, QWidget* parent)
    : TFormulario(contexto, 0, 0, parent)
{
    setObjectName(QStringLiteral("frmMensajePlano"));
    setWindowTitle(QGuiApplication::applicationDisplayName());

    texto = new QLabel(mensaje, this);
    texto->setObjectName(QStringLiteral("texto"));
    texto->setWordWrap(true);
    texto->setTextFormat(Qt::PlainText);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(texto);
    columna->addLayout(CrearBotones(BtnAceptar));
    columna->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmMensajePlano::TextosAplicados()
{
    BotonAceptar()->setText(Textos().LeerTexto(2));
}

} // namespace qv

#include "lang/ui/conexion.h"

#include "lang/interaccion.h"

#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>

namespace qv {

TfrmConexion::TfrmConexion(const TContextoFormulario& contexto, QWidget* parent)
    : TFormulario(contexto, Numero, 0, parent)
{
    setObjectName(QStringLiteral("frmConexion"));
    setWindowTitle(QStringLiteral("-Testeo de presencia "));
    resize(360, 110);

    Label1 = new QLabel(QStringLiteral("El SAD no responde"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);

    auto boton = [this](const char* nombre, const QString& caption, int x, int respuesta) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(nombre));
        b->setGeometry(x, 64, AnchoBoton, 28);
        connect(b, &QPushButton::clicked, this, [this, respuesta] { done(respuesta); });
        return b;
    };
    BtnReintentar = boton("BtnReintentar", QStringLiteral("Reintentar"), 24, Respuesta::Reintentar);
    BtnAbortar = boton("BtnAbortar", QStringLiteral("Abortar"), 132, Respuesta::Abortar);
    BtnIgnorar = boton("BtnIgnorar", QStringLiteral("Ignorar"), 240, Respuesta::Ignorar);
    BtnReintentar->setDefault(true);
    CentrarMensaje();
}

void TfrmConexion::TextosAplicados()
{
    Label1->adjustSize();
    const int ancho = std::max(width(), Label1->width() + 48);
    if (ancho != width())
        resize(ancho, height());
    CentrarMensaje();
}

void TfrmConexion::CentrarMensaje()
{
    if (!BtnIgnorar)
        return; // still being built
    Label1->adjustSize();
    Label1->move((width() - Label1->width()) / 2, 22);
    // The buttons stay centred under it.
    int x = (width() - 3 * AnchoBoton - 2 * HuecoBotones) / 2;
    for (QPushButton* b : {BtnReintentar, BtnAbortar, BtnIgnorar}) {
        b->move(x, b->y());
        x += AnchoBoton + HuecoBotones;
    }
}

void TfrmConexion::reject()
{
    done(Respuesta::Abortar);
}

void TfrmConexion::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    CentrarMensaje();
}

} // namespace qv

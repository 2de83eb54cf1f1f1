#include "app/acerca.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace qv {

TAboutBox::TAboutBox(const TContextoFormulario& contexto, QWidget* parent)
    : TFormulario(contexto, Numero, 0, parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Acerca de Quorvane"));
    setFixedSize(380, 230);

    auto* icono = new QLabel(this);
    icono->setObjectName(QStringLiteral("ProgramIcon"));
    icono->setPixmap(QIcon(QStringLiteral(":/iconos/producto.svg")).pixmap(120, 90));

    auto* nombre = new QLabel(QStringLiteral("QUORVANE"), this);
    nombre->setObjectName(QStringLiteral("ProductName"));
    QFont f = nombre->font();
    f.setPointSize(16);
    f.setBold(true);
    nombre->setFont(f);
    auto* version = new QLabel(QStringLiteral("V 4.0"), this);
    version->setObjectName(QStringLiteral("Version"));
    auto* comentario = new QLabel(QString::fromUtf8("Sistema de Adquisición de Datos"), this);
    comentario->setObjectName(QStringLiteral("Comments"));
    comentario->setWordWrap(true);

    auto* textos_col = new QVBoxLayout;
    textos_col->addWidget(nombre);
    textos_col->addWidget(version);
    textos_col->addWidget(comentario);
    textos_col->addStretch(1);
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(icono, 0, Qt::AlignTop);
    arriba->addLayout(textos_col, 1);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(arriba, 1);
    capa->addLayout(CrearBotones(BtnAceptar, "OKButton"));
}

} // namespace qv

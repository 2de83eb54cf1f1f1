#include "capture/test_interface.h"

#include "capture/dibujos.h"
#include "lang/textos.h"
#include "link/com_capvis.h"
#include "model/claves_texto.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

QLabel* Luz(const char* nombre, const QColor& color, QWidget* padre)
{
    auto* l = new QLabel(padre);
    l->setObjectName(QLatin1String(nombre));
    l->setPixmap(DibujoLuz(color, 22));
    l->hide();
    return l;
}

} // namespace

TfrmTestInterface::TfrmTestInterface(const TContextoFormulario& contexto, QWidget* parent)
    : TFormulario(contexto, Numero, 146, parent)
{
    setObjectName(QStringLiteral("frmTestInterface"));
    setWindowTitle(QStringLiteral("-Datos del Interface"));

    LVersion = Etiqueta("LVersion", QStringLiteral("Versi\u00f3n :"), this);
    LEstado = Etiqueta("LEstado", QStringLiteral("Estado del Interface :"), this);
    LCapacidad = Etiqueta("LCapacidad", QStringLiteral("Capacidad para datos :"), this);
    Version = Etiqueta("Version", QString(), this);
    Estado = Etiqueta("Estado", QString(), this);
    Capacidad = Etiqueta("Capacidad", QString(), this);
    LuzBlanca = Luz("LuzBlanca", Qt::white, this);
    LuzAmarilla = Luz("LuzAmarilla", QColor(0xf0, 0xd0, 0x20), this);
    LuzRoja = Luz("LuzRoja", QColor(0xe0, 0x30, 0x20), this);
    LuzVerde = Luz("LuzVerde", QColor(0x30, 0xc0, 0x40), this);

    auto* rejilla = new QGridLayout;
    rejilla->addWidget(LVersion, 0, 0);
    rejilla->addWidget(Version, 0, 1);
    rejilla->addWidget(LEstado, 1, 0);
    // The lamp leads its state text, apart from it.
    auto* estado = new QHBoxLayout;
    estado->setSpacing(8);
    for (QLabel* l : {LuzBlanca, LuzAmarilla, LuzRoja, LuzVerde})
        estado->addWidget(l);
    estado->addWidget(Estado);
    estado->addStretch(1);
    rejilla->addLayout(estado, 1, 1);
    rejilla->addWidget(LCapacidad, 2, 0);
    rejilla->addWidget(Capacidad, 2, 1);
    rejilla->setColumnStretch(1, 1);
    rejilla->setHorizontalSpacing(12);
    rejilla->setVerticalSpacing(10);

    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(18, 16, 18, 12);
    capa->addLayout(rejilla);
    capa->addSpacing(12);
    capa->addLayout(CrearBotones(BtnAceptar));
    setMinimumWidth(380);
}

void TfrmTestInterface::Llenar(const QString& version, int estado, int capacidad, bool leida)
{
    version_ = QStringLiteral(" ") + version;
    capacidad_ = QStringLiteral(" ") + QString::number(capacidad);
    const int e = std::clamp(estado, 0, 3);
    estadoTexto_ = QStringLiteral(" ") + Textos().BuscarTexto(e == SadConDatos && leida ? clave::Estado3Leida : 127 + e);
    QLabel* luces[] = {LuzBlanca, LuzAmarilla, LuzRoja, LuzVerde};
    for (int i = 0; i < 4; ++i)
        luces[i]->setVisible(i == e && estado >= 0 && estado <= 3);
    TextosAplicados();
}

void TfrmTestInterface::TextosAplicados()
{
    Version->setText(version_);
    Estado->setText(estadoTexto_);
    Capacidad->setText(capacidad_);
}

} // namespace qv

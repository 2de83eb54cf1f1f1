#include "net/configuracion.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "link/ajustes_estacion.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <tuple>

namespace qv {

namespace {

// A drawing of the unit's front: the ZD801 has two rows of sixteen digital terminals,
// the ZD800M two rows of eight.
QPixmap DibujoUnidad(bool modeloM)
{
    const qreal escala = 2; // sharp on high-density screens too
    QPixmap p(QSize(132, 84) * escala);
    p.setDevicePixelRatio(escala);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0x30, 0x3a, 0x48), 1.5));
    g.setBrush(QColor(0xd8, 0xde, 0xe6));
    g.drawRoundedRect(QRectF(4, 8, 124, 70), 6, 6);
    g.setBrush(QColor(0x2c, 0x4a, 0x6e));
    g.drawRect(QRectF(12, 16, 36, 18));
    g.setPen(Qt::white);
    QFont f = g.font();
    f.setPixelSize(11);
    f.setBold(true);
    g.setFont(f);
    g.drawText(QRectF(12, 16, 36, 18), Qt::AlignCenter, QStringLiteral("SAD"));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0x3c, 0xb0, 0x4c));
    g.drawEllipse(QPointF(116, 24), 4, 4);
    const int terminales = modeloM ? 8 : 16;
    const qreal paso = 104.0 / terminales;
    for (int fila = 0; fila < 2; ++fila)
        for (int i = 0; i < terminales; ++i) {
            g.setBrush(fila == 0 ? QColor(0xc0, 0x39, 0x2b) : QColor(0x40, 0x40, 0x40));
            g.drawEllipse(QPointF(14 + paso * (i + 0.5), 52 + fila * 14), std::min(3.0, paso / 3), 3);
        }
    return p;
}

} // namespace

TForm_Configuracion::TForm_Configuracion(TContextoRed& red, bool esTcp, bool remotoPermitido, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, Numero, ContextoAyuda, parent),
      red_(red),
      esTcp_(esTcp),
      remotoPermitido_(remotoPermitido),
      modeloAnterior_(red.Principal.Estado().ModeloM)
{
    setObjectName(QStringLiteral("Form_Configuracion"));
    setWindowTitle(QStringLiteral("Opciones QUORVANE"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabModelo = new QWidget;
    TabModelo->setObjectName(QStringLiteral("TabModelo"));
    TabRed = new QWidget;
    TabRed->setObjectName(QStringLiteral("TabRed"));
    PageControl1->addTab(TabModelo, QStringLiteral("Modelo de SAD"));
    PageControl1->addTab(TabRed, QStringLiteral("Red"));

    auto modelo = [this](bool m, const char* marco, const char* imagen, const char* etiqueta, QFrame*& f,
                         QToolButton*& b, QLabel*& l) {
        f = new QFrame(TabModelo);
        f->setObjectName(QLatin1String(marco));
        b = new QToolButton(f);
        b->setObjectName(QLatin1String(imagen));
        b->setIcon(QIcon(DibujoUnidad(m)));
        b->setIconSize(QSize(132, 84));
        b->setAutoRaise(true);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        l = new QLabel(m ? QStringLiteral("ZD800M") : QStringLiteral("ZD801"), f);
        l->setObjectName(QLatin1String(etiqueta));
        l->setAlignment(Qt::AlignCenter);
        l->setBuddy(b);
        auto* c = new QVBoxLayout(f);
        c->addWidget(b, 0, Qt::AlignHCenter);
        c->addWidget(l);
        connect(b, &QToolButton::clicked, this, [this, m] { ElegirModelo(m); });
    };
    modelo(true, "MarcoModeloM", "ImgModeloM", "LModeloM", MarcoModeloM, ImgModeloM, LModeloM);
    modelo(false, "MarcoModelo801", "ImgModelo801", "LModelo801", MarcoModelo801, ImgModelo801, LModelo801);
    auto* modelos = new QHBoxLayout(TabModelo);
    modelos->addStretch();
    modelos->addWidget(MarcoModeloM);
    modelos->addSpacing(16);
    modelos->addWidget(MarcoModelo801);
    modelos->addStretch();

    CBRed = new QCheckBox(QStringLiteral("Utilizar SADs en red"), TabRed);
    CBRed->setObjectName(QStringLiteral("CBRed"));
    CBRed->setChecked(esTcp);
    CBRemoto = new QCheckBox(QStringLiteral("Activar la monitorizaci\u00f3n remota"), TabRed);
    CBRemoto->setObjectName(QStringLiteral("CBRemoto"));
    auto* red2 = new QVBoxLayout(TabRed);
    red2->addWidget(CBRed);
    red2->addWidget(CBRemoto);
    red2->addStretch();
    PageControl1->setTabVisible(1, remotoPermitido);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(PageControl1);
    columna->addLayout(CrearBotones());
    setTabOrder(ImgModeloM, ImgModelo801);
}

bool TForm_Configuracion::Multipuesto() const
{
    return remotoPermitido_ ? CBRed->isChecked() : esTcp_;
}

void TForm_Configuracion::AlMostrar()
{
    modeloAnterior_ = red_.Principal.Estado().ModeloM;
    CBRemoto->setChecked(red_.Ajustes.RemotoHabilitado());
    PageControl1->setCurrentIndex(0);
    Resaltar();
}

void TForm_Configuracion::TextosAplicados()
{
    // Tab pages carry their captions as "title"; the tab bar shows them.
    for (int i = 0; i < PageControl1->count(); ++i) {
        const QVariant t = PageControl1->widget(i)->property("title");
        if (t.isValid())
            PageControl1->setTabText(i, t.toString());
    }
}

void TForm_Configuracion::ElegirModelo(bool modeloM)
{
    red_.Principal.Estado().ModeloM = modeloM;
    Resaltar();
}

void TForm_Configuracion::Resaltar()
{
    const bool m = red_.Principal.Estado().ModeloM;
    for (auto [marco, boton, etiqueta, actual] :
         {std::tuple{MarcoModeloM, ImgModeloM, LModeloM, m}, std::tuple{MarcoModelo801, ImgModelo801, LModelo801, !m}}) {
        marco->setFrameStyle(actual ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        marco->setLineWidth(actual ? 2 : 0);
        boton->setChecked(actual);
        QFont f = etiqueta->font();
        f.setBold(actual);
        etiqueta->setFont(f);
    }
}

bool TForm_Configuracion::Validar()
{
    if (remotoPermitido_) {
        red_.Ajustes.EscribirMultipuesto(CBRed->isChecked());
        red_.Ajustes.EscribirRemotoHabilitado(CBRemoto->isChecked());
    }
    red_.Ajustes.EscribirModeloM(red_.Principal.Estado().ModeloM);
    return true;
}

void TForm_Configuracion::reject()
{
    red_.Principal.Estado().ModeloM = modeloAnterior_;
    TFormulario::reject();
}

} // namespace qv

#include "app/splash.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(393, 225);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);

    auto* marco = new QFrame(this);
    marco->setObjectName(QStringLiteral("Panel1"));
    marco->setFrameStyle(QFrame::Box | QFrame::Plain);
    marco->setLineWidth(2);
    marco->setGeometry(0, 0, 393, 225);

    auto* capa = new QVBoxLayout(marco);
    capa->setContentsMargins(16, 16, 16, 16);
    auto* imagen = new QLabel(marco);
    imagen->setObjectName(QStringLiteral("ProgramIcon"));
    imagen->setPixmap(QIcon(QStringLiteral(":/iconos/producto.svg")).pixmap(160, 120));
    imagen->setAlignment(Qt::AlignCenter);
    auto* nombre = new QLabel(QStringLiteral("QUORVANE"), marco);
    nombre->setObjectName(QStringLiteral("ProductName"));
    QFont f = nombre->font();
    f.setPointSize(28);
    f.setBold(true);
    nombre->setFont(f);
    nombre->setStyleSheet(QStringLiteral("color: #2d4f86"));
    nombre->setAlignment(Qt::AlignCenter);
    capa->addWidget(imagen, 1);
    capa->addWidget(nombre);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(Duracion);
    connect(&Timer1, &QTimer::timeout, this, &TfrmSplash::Timer1Timer);

    if (QScreen* pantalla = QGuiApplication::primaryScreen()) {
        const QRect r = pantalla->availableGeometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
}

void TfrmSplash::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    Timer1.start();
}

void TfrmSplash::Timer1Timer()
{
    Timer1.stop();
    close(); // WA_DeleteOnClose releases it
}

} // namespace qv

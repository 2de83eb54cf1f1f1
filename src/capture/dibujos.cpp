#include "capture/dibujos.h"

#include <QPainter>
#include <QRadialGradient>

namespace qv {

namespace {

QPixmap Lienzo(int lado)
{
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    return p;
}

} // namespace

QPixmap DibujoReloj(int lado)
{
    QPixmap p = Lienzo(lado);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QRectF r(2, 2, lado - 4, lado - 4);
    g.setPen(QPen(QColor(0x20, 0x30, 0x60), 2));
    g.setBrush(QColor(0xff, 0xf4, 0xd0));
    g.drawEllipse(r);
    const QPointF c = r.center();
    g.drawLine(c, QPointF(c.x(), r.top() + lado * 0.18));
    g.drawLine(c, QPointF(c.x() + lado * 0.22, c.y()));
    for (int i = 0; i < 12; ++i) {
        g.save();
        g.translate(c);
        g.rotate(30.0 * i);
        g.drawLine(QPointF(0, -r.height() / 2 + 2), QPointF(0, -r.height() / 2 + 5));
        g.restore();
    }
    return p;
}

QPixmap DibujoCompu(int lado)
{
    QPixmap p = Lienzo(lado);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0x20, 0x30, 0x60), 2));
    g.setBrush(QColor(0xd8, 0xd8, 0xd8));
    const QRectF pantalla(lado * 0.1, lado * 0.1, lado * 0.8, lado * 0.55);
    g.drawRoundedRect(pantalla, 3, 3);
    g.setBrush(QColor(0x40, 0x80, 0xc0));
    g.drawRect(pantalla.adjusted(5, 5, -5, -5));
    g.setBrush(QColor(0xb0, 0xb0, 0xb0));
    g.drawRect(QRectF(lado * 0.4, lado * 0.66, lado * 0.2, lado * 0.1));
    g.drawRoundedRect(QRectF(lado * 0.15, lado * 0.78, lado * 0.7, lado * 0.12), 2, 2);
    return p;
}

QPixmap DibujoLuz(const QColor& color, int lado)
{
    QPixmap p = Lienzo(lado);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QRadialGradient brillo(lado * 0.35, lado * 0.35, lado * 0.6);
    brillo.setColorAt(0, Qt::white);
    brillo.setColorAt(1, color);
    g.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    g.setBrush(brillo);
    g.drawEllipse(QRectF(1, 1, lado - 2, lado - 2));
    return p;
}

} // namespace qv

#include "channels/dibujo_onda.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace qv {

TDibujoOnda::TDibujoOnda(TForma forma, QWidget* parent) : QWidget(parent), forma_(forma)
{
    setObjectName(QStringLiteral("ImagenOnda"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void TDibujoOnda::PonerBajada(bool bajada)
{
    if (bajada_ == bajada)
        return;
    bajada_ = bajada;
    update();
}

void TDibujoOnda::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const QFontMetrics fm(font());
    // Plot area: room on the left for the level symbols and below for the times.
    const int izq = fm.horizontalAdvance(QStringLiteral("A1")) + 12;
    const QRectF a(izq, 10, width() - izq - 10, height() - fm.height() - 22);
    const double x0 = a.left(), x1 = a.right();
    const double yBase = a.bottom();
    const double yBajo = a.top() + a.height() * 0.70; // offset / low level
    const double yAlto = a.top() + a.height() * 0.12; // amplitude / high level
    const double xT0 = x0 + a.width() * 0.28;          // delay

    // Axes.
    p.setPen(QPen(pal.color(QPalette::Text), 1));
    p.drawLine(QPointF(x0, a.top() - 4), QPointF(x0, yBase));
    p.drawLine(QPointF(x0, yBase), QPointF(x1, yBase));
    p.drawText(QPointF(x1 - fm.horizontalAdvance(QLatin1Char('t')), yBase + fm.ascent() + 3), QStringLiteral("t"));

    auto simboloX = [&](double x, const QString& s) {
        QPen guia(pal.color(QPalette::Mid), 1, Qt::DashLine);
        p.setPen(guia);
        p.drawLine(QPointF(x, a.top()), QPointF(x, yBase));
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QPointF(x - fm.horizontalAdvance(s) / 2.0, yBase + fm.ascent() + 3), s);
    };
    auto simboloY = [&](double y, const QString& s) {
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QPointF(x0 - fm.horizontalAdvance(s) - 4, y + fm.ascent() / 2.0 - 1), s);
    };

    QPainterPath onda;
    const QString To = QStringLiteral("To");
    switch (forma_) {
    case TForma::Escalon:
        onda.moveTo(x0, yBajo);
        onda.lineTo(xT0, yBajo);
        onda.lineTo(xT0, yAlto);
        onda.lineTo(x1, yAlto);
        simboloX(xT0, To);
        simboloY(yBajo, QStringLiteral("Ao"));
        simboloY(yAlto, QStringLiteral("A1"));
        break;
    case TForma::Rampa: {
        const double xFin = xT0 + a.width() * 0.4;
        onda.moveTo(x0, yBajo);
        onda.lineTo(xT0, yBajo);
        onda.lineTo(xFin, yAlto);
        onda.lineTo(x1, yAlto);
        simboloX(xT0, To);
        simboloX(xFin, QStringLiteral("To+Tr"));
        simboloY(yBajo, QStringLiteral("Ao"));
        simboloY(yAlto, QStringLiteral("A1"));
        break;
    }
    case TForma::Seno: {
        const double medio = (yBajo + yAlto) / 2.0 + a.height() * 0.05;
        const double amp = (yBajo - yAlto) / 2.0;
        onda.moveTo(x0, medio);
        onda.lineTo(xT0, medio);
        for (double x = xT0; x <= x1; x += 1.0)
            onda.lineTo(x, medio - amp * std::sin((x - xT0) / (x1 - xT0) * 4 * std::numbers::pi));
        simboloX(xT0, To);
        simboloY(medio, QStringLiteral("Ao"));
        simboloY(medio - amp, QStringLiteral("A1"));
        p.setPen(QPen(pal.color(QPalette::Mid), 1, Qt::DotLine));
        p.drawLine(QPointF(x0, medio), QPointF(x1, medio));
        break;
    }
    case TForma::TablaAna: {
        static const double niveles[] = {0.5, 0.2, 0.35, 0.05, 0.6, 0.3, 0.15};
        onda.moveTo(x0, yBase);
        onda.lineTo(xT0, yBase);
        const double paso = (x1 - xT0) / 7;
        double x = xT0;
        for (double n : niveles) {
            const double y = a.top() + a.height() * n;
            onda.lineTo(x, y);
            onda.lineTo(x + paso, y);
            x += paso;
        }
        simboloX(xT0, To);
        break;
    }
    case TForma::TablaDig: {
        static const int bits[] = {1, 0, 0, 1, 1, 0, 1};
        onda.moveTo(x0, yBase);
        onda.lineTo(xT0, yBase);
        const double paso = (x1 - xT0) / 7;
        double x = xT0;
        for (int b : bits) {
            const double y = b ? yAlto : yBase;
            onda.lineTo(x, y);
            onda.lineTo(x + paso, y);
            x += paso;
        }
        simboloX(xT0, To);
        simboloY(yAlto, QStringLiteral("1"));
        break;
    }
    case TForma::Tren: {
        const double on = a.width() * 0.14, off = a.width() * 0.22;
        onda.moveTo(x0, yBase);
        onda.lineTo(xT0, yBase);
        double x = xT0;
        bool primero = true;
        while (x < x1) {
            const double fin = std::min(x + on, x1);
            onda.lineTo(x, yAlto);
            onda.lineTo(fin, yAlto);
            onda.lineTo(fin, yBase);
            if (primero) {
                p.setPen(pal.color(QPalette::Text));
                const QString ton = QStringLiteral("Ton"), toff = QStringLiteral("Toff");
                p.drawText(QPointF(x + (on - fm.horizontalAdvance(ton)) / 2, yAlto - 3), ton);
                p.drawText(QPointF(fin + (off - fm.horizontalAdvance(toff)) / 2, yBase - 4), toff);
                primero = false;
            }
            x = std::min(fin + off, x1);
            onda.lineTo(x, yBase);
        }
        simboloX(xT0, To);
        simboloY(yAlto, QStringLiteral("1"));
        break;
    }
    case TForma::Pulso: {
        const double antes = bajada_ ? yAlto : yBase, despues = bajada_ ? yBase : yAlto;
        onda.moveTo(x0, antes);
        onda.lineTo(xT0, antes);
        onda.lineTo(xT0, despues);
        onda.lineTo(x1, despues);
        simboloX(xT0, To);
        simboloY(yAlto, QStringLiteral("1"));
        break;
    }
    }
    p.setPen(QPen(pal.color(QPalette::Highlight), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(onda);
}

} // namespace qv

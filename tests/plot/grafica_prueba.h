#pragma once

#include "plot/grf.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace qv::test {

// A shown graph whose plot area is 640 x 320 pixels from (50, 30): with X fixed to
// 0 ... 640 one pixel is one X unit, so expected values can be written down exactly.
class Grafica : public ::testing::Test {
protected:
    static constexpr int Ancho = 50 + 640 + 20;
    static constexpr int Alto = 30 + 320 + 45;

    std::unique_ptr<TGrf> g = std::make_unique<TGrf>();

    void SetUp() override
    {
        g->resize(Ancho, Alto);
        g->XAxis().PonerMin(0);
        g->XAxis().PonerMax(640);
        g->YAxis().PonerMin(-10);
        g->YAxis().PonerMax(10);
        g->show();
        Procesar();
    }

    // Queued redraws and paints.
    static void Procesar()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    void Dibujar()
    {
        Procesar();
        g->Redibujar();
        Procesar();
    }

    QImage Captura() { return g->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Columns of row y that hold exactly colour c.
    static std::vector<int> Columnas(const QImage& im, int y, QColor c)
    {
        std::vector<int> r;
        for (int x = 0; x < im.width(); ++x)
            if (im.pixelColor(x, y) == c)
                r.push_back(x);
        return r;
    }

    static int Contar(const QImage& im, const QRect& zona, QColor c)
    {
        int n = 0;
        for (int y = zona.top(); y <= zona.bottom(); ++y)
            for (int x = zona.left(); x <= zona.right(); ++x)
                n += im.pixelColor(x, y) == c;
        return n;
    }

    // Pixels darker than mid grey (text, whatever its antialiasing).
    static int Oscuros(const QImage& im, const QRect& zona)
    {
        int n = 0;
        for (int y = zona.top(); y <= zona.bottom(); ++y)
            for (int x = zona.left(); x <= zona.right(); ++x)
                n += im.pixelColor(x, y).lightness() < 128;
        return n;
    }

    void Pulsar(Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mousePress(g.get(), b, m, p); }
    void Mover(QPoint p) { QTest::mouseMove(g.get(), p); }
    void Soltar(Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mouseRelease(g.get(), b, m, p); }

    void Rectangulo(QPoint a, QPoint b)
    {
        Pulsar(Qt::LeftButton, a, Qt::ShiftModifier);
        Mover((a + b) / 2);
        Mover(b);
        Soltar(Qt::LeftButton, b, Qt::ShiftModifier);
    }
};

} // namespace qv::test

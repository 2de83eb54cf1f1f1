// The window thread's clock: timers run during a wait, user input waits for its end.
#include "link/reloj_eventos.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qv;

namespace {

struct Receptor : QObject {
    QList<QEvent::Type> recibidos;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::MouseButtonPress || e->type() == QEvent::User)
            recibidos << e->type();
        return QObject::event(e);
    }
};

TEST(RelojEventos, LosTemporizadoresCorrenYLaEntradaEsperaAlFinal)
{
    TRelojEventos reloj;
    Receptor r;
    int disparos = 0;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        // Input that arrives while the protocol waits, among other events.
        if (++disparos == 1) {
            QCoreApplication::postEvent(&r, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
            QCoreApplication::postEvent(&r, new QEvent(QEvent::User));
        }
    });
    t.start(10);
    QCoreApplication::postEvent(&r, new QMouseEvent(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1),
                                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QElapsedTimer medido;
    medido.start();
    const qint64 antes = reloj.Tick();
    reloj.Dormir(120);
    EXPECT_GE(medido.elapsed(), 120);
    EXPECT_GE(reloj.Tick() - antes, 120);
    t.stop();
    EXPECT_GE(disparos, 2); // generous: a loaded machine still fires a 10 ms timer twice in 120 ms
    EXPECT_EQ(r.recibidos, QList<QEvent::Type>{QEvent::User});

    // Afterwards the held input is delivered, once, in its order.
    QCoreApplication::sendPostedEvents(&r);
    EXPECT_EQ(r.recibidos, (QList<QEvent::Type>{QEvent::User, QEvent::MouseButtonPress, QEvent::KeyPress}));
    QCoreApplication::sendPostedEvents(&r);
    EXPECT_EQ(r.recibidos.size(), 3);
}

TEST(RelojEventos, UnaEsperaNulaSoloAtiendeLoPendiente)
{
    TRelojEventos reloj;
    Receptor r;
    QCoreApplication::postEvent(&r, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&r, new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b"));
    reloj.Dormir(0);
    EXPECT_EQ(r.recibidos, QList<QEvent::Type>{QEvent::User});
    QCoreApplication::sendPostedEvents(&r);
    EXPECT_EQ(r.recibidos, (QList<QEvent::Type>{QEvent::User, QEvent::KeyPress}));
}

} // namespace

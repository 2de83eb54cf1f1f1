#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace qv::test {

// Runs the event loop until the condition holds or the bound passes; for tests that
// talk to real sockets, terminals and processes.
inline bool Esperar(const std::function<bool()>& cond, int maxMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > maxMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs a real event loop, as a dialog's or the program's would (idle between events,
// not spinning), until `cond` holds or `maxMs` pass.
inline bool Girar(const std::function<bool()>& cond, int maxMs)
{
    if (cond())
        return true;
    QEventLoop bucle;
    QTimer mira;
    QObject::connect(&mira, &QTimer::timeout, &bucle, [&] {
        if (cond())
            bucle.quit();
    });
    mira.start(20);
    QTimer::singleShot(maxMs, &bucle, &QEventLoop::quit);
    bucle.exec();
    return cond();
}

} // namespace qv::test

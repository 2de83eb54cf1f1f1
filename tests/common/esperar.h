#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
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

} // namespace qv::test

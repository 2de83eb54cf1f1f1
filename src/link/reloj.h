#pragma once

#include <QElapsedTimer>
#include <QThread>
#include <QtGlobal>

namespace qv {

// Millisecond tick and sleep. Every wait of the device link goes through this object,
// so that tests against a scripted port run on virtual time.
class TReloj {
public:
    virtual ~TReloj() = default;
    virtual qint64 Tick() = 0;
    virtual void Dormir(int ms) = 0;
    // Time passes by itself (not a test's virtual clock that only Dormir moves on).
    virtual bool Real() const { return false; }
};

// The real clock: a monotonic timer and a blocking sleep of the calling thread.
class TRelojReal : public TReloj {
public:
    TRelojReal() { Inicio.start(); }
    qint64 Tick() override { return Inicio.elapsed(); }
    bool Real() const override { return true; }
    void Dormir(int ms) override
    {
        if (ms > 0)
            QThread::msleep(static_cast<unsigned long>(ms));
    }

private:
    QElapsedTimer Inicio;
};

} // namespace qv

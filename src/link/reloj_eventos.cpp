#include "link/reloj_eventos.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace qv {

namespace {

bool EsEntradaUsuario(QEvent::Type t)
{
    switch (t) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

// Holds back user input that reaches objects while the wait runs (input posted by
// code or tools rather than by the window system) and posts it again afterwards.
class TRetenerEntrada : public QObject {
public:
    TRetenerEntrada() { QCoreApplication::instance()->installEventFilter(this); }
    ~TRetenerEntrada() override
    {
        QCoreApplication::instance()->removeEventFilter(this);
        for (auto& [destino, evento] : Retenidos) {
            if (destino)
                QCoreApplication::postEvent(destino, evento.release());
        }
    }

    bool eventFilter(QObject* destino, QEvent* evento) override
    {
        if (!EsEntradaUsuario(evento->type()))
            return false;
        Retenidos.emplace_back(destino, std::unique_ptr<QEvent>(evento->clone()));
        return true;
    }

private:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> Retenidos;
};

} // namespace

void TRelojEventos::Dormir(int ms)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        // No event loop to keep alive here: a plain sleep.
        if (ms > 0)
            QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }
    TRetenerEntrada retener;
    if (ms <= 0) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    const QDeadlineTimer fin(ms, Qt::PreciseTimer);
    // A coarse or early timer must not cut the wait short: loop until the deadline.
    while (!fin.hasExpired()) {
        QEventLoop bucle;
        QTimer reloj;
        reloj.setSingleShot(true);
        reloj.setTimerType(Qt::PreciseTimer);
        QObject::connect(&reloj, &QTimer::timeout, &bucle, &QEventLoop::quit);
        reloj.start(static_cast<int>(std::max<qint64>(1, fin.remainingTime())));
        bucle.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

} // namespace qv

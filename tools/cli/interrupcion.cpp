#include "interrupcion.h"

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#endif

namespace qv {

namespace {

// The one thing a signal handler can reach: where it leaves its note. Set only while a
// TInterrupcion lives.
std::atomic<std::atomic<bool>*> bandera{nullptr}; // the flag a long send looks at

#ifdef Q_OS_UNIX
std::atomic<int> aviso{-1};

extern "C" void AlInterrumpir(int)
{
    if (std::atomic<bool>* b = bandera.load())
        b->store(true);
    const int fd = aviso.load();
    if (fd >= 0) {
        const char c = 1;
        [[maybe_unused]] const ssize_t r = ::write(fd, &c, 1);
    }
}
#else
std::atomic<int> pendientes{0};

extern "C" void AlInterrumpir(int)
{
    if (std::atomic<bool>* b = bandera.load())
        b->store(true);
    pendientes.fetch_add(1);
    std::signal(SIGINT, AlInterrumpir); // some platforms reset the handler
}
#endif

} // namespace

struct TInterrupcion::TAnterior {
#ifdef Q_OS_UNIX
    struct sigaction accion {};
#else
    void (*manejador)(int) = SIG_DFL;
#endif
};

TInterrupcion::TInterrupcion() : anterior_(std::make_unique<TAnterior>())
{
    bandera.store(&pedida_);
#ifdef Q_OS_UNIX
    if (::pipe2(tubo_, O_CLOEXEC | O_NONBLOCK) != 0) {
        tubo_[0] = tubo_[1] = -1;
        return; // Ctrl+C keeps ending the process as it always did
    }
    aviso.store(tubo_[1]);
    struct sigaction sa {};
    sa.sa_handler = AlInterrumpir;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    instalada_ = ::sigaction(SIGINT, &sa, &anterior_->accion) == 0;
#else
    pendientes.store(0);
    anterior_->manejador = std::signal(SIGINT, AlInterrumpir);
    instalada_ = anterior_->manejador != SIG_ERR;
#endif
}

TInterrupcion::~TInterrupcion()
{
    bandera.store(nullptr);
#ifdef Q_OS_UNIX
    if (instalada_)
        ::sigaction(SIGINT, &anterior_->accion, nullptr);
    aviso.store(-1);
    for (int fd : tubo_)
        if (fd >= 0)
            ::close(fd);
#else
    if (instalada_)
        std::signal(SIGINT, anterior_->manejador);
#endif
}

void TInterrupcion::Recoger(int esperaMs)
{
#ifdef Q_OS_UNIX
    if (tubo_[0] < 0) {
        if (esperaMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(esperaMs));
        return;
    }
    // A signal during the wait ends it early (EINTR), its byte already in the pipe.
    pollfd f{tubo_[0], POLLIN, 0};
    ::poll(&f, 1, esperaMs);
    char buf[16];
    ssize_t n;
    while ((n = ::read(tubo_[0], buf, sizeof buf)) > 0)
        veces_ += static_cast<int>(n);
#else
    for (int resto = esperaMs; resto > 0 && pendientes.load() == 0; resto -= 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(resto, 20)));
    veces_ += pendientes.exchange(0);
#endif
}

int TInterrupcion::Veces()
{
    Recoger(0);
    return veces_;
}

int TInterrupcion::Esperar(int ms)
{
    Recoger(std::max(0, ms));
    return veces_;
}

} // namespace qv

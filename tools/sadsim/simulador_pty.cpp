#include "simulador_pty.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace qv {

TSimuladorPty::TSimuladorPty(TUnidadSimulada& unidad, QObject* padre)
    : QObject(padre), unidad_(unidad)
{
    latido_.setInterval(5);
    connect(&latido_, &QTimer::timeout, this, &TSimuladorPty::Latido);
}

TSimuladorPty::~TSimuladorPty()
{
    Cerrar();
}

std::int64_t TSimuladorPty::Ahora() const
{
    return reloj_.nsecsElapsed() / 1000;
}

bool TSimuladorPty::Abrir(QString* error)
{
    auto fallo = [&](const char* paso) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(paso), QString::fromLocal8Bit(std::strerror(errno)));
        Cerrar();
        return false;
    };
    Cerrar();
    maestro_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (maestro_ < 0)
        return fallo("posix_openpt");
    if (::grantpt(maestro_) != 0)
        return fallo("grantpt");
    if (::unlockpt(maestro_) != 0)
        return fallo("unlockpt");
    const char* nombre = ::ptsname(maestro_);
    if (!nombre)
        return fallo("ptsname");
    ruta_ = QString::fromLocal8Bit(nombre);
    esclavo_ = ::open(nombre, O_RDWR | O_NOCTTY);
    if (esclavo_ < 0)
        return fallo("open");
    termios modo{};
    if (::tcgetattr(esclavo_, &modo) != 0)
        return fallo("tcgetattr");
    ::cfmakeraw(&modo);
    ::cfsetispeed(&modo, B115200);
    ::cfsetospeed(&modo, B115200);
    if (::tcsetattr(esclavo_, TCSANOW, &modo) != 0)
        return fallo("tcsetattr");
    const int banderas = ::fcntl(maestro_, F_GETFL);
    if (banderas < 0 || ::fcntl(maestro_, F_SETFL, banderas | O_NONBLOCK) != 0)
        return fallo("fcntl");

    reloj_.start();
    lectura_ = new QSocketNotifier(maestro_, QSocketNotifier::Read, this);
    connect(lectura_, &QSocketNotifier::activated, this, &TSimuladorPty::Leer);
    escritura_ = new QSocketNotifier(maestro_, QSocketNotifier::Write, this);
    escritura_->setEnabled(false);
    connect(escritura_, &QSocketNotifier::activated, this, &TSimuladorPty::Escribir);
    latido_.start();
    return true;
}

void TSimuladorPty::Cerrar()
{
    latido_.stop();
    delete lectura_;
    lectura_ = nullptr;
    delete escritura_;
    escritura_ = nullptr;
    if (maestro_ >= 0)
        ::close(maestro_);
    if (esclavo_ >= 0)
        ::close(esclavo_);
    maestro_ = esclavo_ = -1;
    pendiente_.clear();
}

void TSimuladorPty::Leer()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(maestro_, buf, sizeof buf);
        if (n > 0) {
            unidad_.Recibir(QByteArray(buf, static_cast<qsizetype>(n)), Ahora());
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN, or nothing more
    }
    Latido();
}

void TSimuladorPty::Latido()
{
    if (maestro_ < 0)
        return;
    const bool enPausa = pendiente_.isEmpty();
    pendiente_ += unidad_.TomarSalida(Ahora());
    if (enPausa && !pendiente_.isEmpty()) {
        // The line was idle: its pace starts again now.
        marcaUs_ = Ahora();
        enviadosMarca_ = 0;
    }
    if (!pendiente_.isEmpty())
        Escribir();
}

qsizetype TSimuladorPty::Permitidos() const
{
    if (baudios_ <= 0)
        return pendiente_.size();
    // The first byte leaves at once; each further one after its ten bits' time.
    const std::int64_t debidos = 1 + (Ahora() - marcaUs_) * baudios_ / 10 / 1000000;
    return static_cast<qsizetype>(std::clamp<std::int64_t>(debidos - enviadosMarca_, 0, pendiente_.size()));
}

void TSimuladorPty::Escribir()
{
    while (!pendiente_.isEmpty()) {
        const qsizetype cuantos = Permitidos();
        if (cuantos == 0) {
            // Paced: the heartbeat sends the next bytes when their time has come.
            if (escritura_)
                escritura_->setEnabled(false);
            return;
        }
        const ssize_t n = ::write(maestro_, pendiente_.constData(), static_cast<size_t>(cuantos));
        if (n > 0) {
            pendiente_.remove(0, static_cast<qsizetype>(n));
            enviadosMarca_ += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // the terminal's queue is full: wait until the program reads
    }
    if (escritura_)
        escritura_->setEnabled(!pendiente_.isEmpty());
}

} // namespace qv

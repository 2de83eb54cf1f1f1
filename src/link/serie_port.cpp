#include "link/serie_port.h"

#include "lang/interaccion.h"
#include "link/reloj.h"

#include <QElapsedTimer>
#ifdef Q_OS_UNIX
#include <poll.h>
#endif
#include <QSerialPort>

namespace qv {

namespace {

// Qt reports a poll without data as a time-out; that is not a line failure.
bool ErrorGrave(QSerialPort::SerialPortError e)
{
    return e != QSerialPort::NoError && e != QSerialPort::TimeoutError;
}

// Whether the line has hung up (device unplugged, far end of a pseudo-terminal
// gone); such a line reads as silence forever.
bool Colgado(QSerialPort& p)
{
#ifdef Q_OS_UNIX
    pollfd f{static_cast<int>(p.handle()), POLLIN, 0};
    return f.fd >= 0 && ::poll(&f, 1, 0) > 0 && (f.revents & (POLLHUP | POLLERR | POLLNVAL));
#else
    Q_UNUSED(p);
    return false;
#endif
}

} // namespace

TSeriePort::TSeriePort(QStringList puertos, TInteraccion& interaccion, TReloj& reloj)
    : ComPort(std::make_unique<QSerialPort>()), ListaPuertos(std::move(puertos)),
      Interaccion(interaccion), Reloj(reloj)
{
    ComPort->setPortName(NombrePuerto());
}

TSeriePort::~TSeriePort()
{
    if (ComPort->isOpen())
        ComPort->close();
}

QString TSeriePort::NombrePuerto() const
{
    if (Indice < 0 || Indice >= ListaPuertos.size())
        return QString();
    return ListaPuertos.at(Indice).trimmed();
}

bool TSeriePort::AbrirComponente()
{
    if (ComPort->isOpen())
        return true;
    if (NombrePuerto().isEmpty())
        return false;
    ComPort->setPortName(NombrePuerto());
    if (!ComPort->open(QIODevice::ReadWrite)) {
        ComPort->clearError();
        return false;
    }
    return true;
}

void TSeriePort::Abrir()
{
    if (!AbrirComponente())
        Interaccion.MensajePlano(QStringLiteral("no se puede abrir el puerto"));
}

void TSeriePort::Cerrar()
{
    if (ComPort->isOpen())
        ComPort->close();
    ComPort->clearError();
    Reloj.Dormir(10);
}

bool TSeriePort::Conectado()
{
    return ComPort->isOpen();
}

void TSeriePort::Configurar(const QString&)
{
    // Settings are kept by the component and applied at every open. The line buffers
    // are left unlimited: a bigger buffer than the unit's 2048 bytes only helps.
    if (!ComPort->setBaudRate(Baudios) || !ComPort->setDataBits(QSerialPort::Data8)
        || !ComPort->setStopBits(QSerialPort::OneStop) || !ComPort->setParity(QSerialPort::NoParity)
        || !ComPort->setFlowControl(QSerialPort::SoftwareControl)) {
        const QString e = ComPort->errorString();
        ComPort->clearError();
        throw EComPort(QStringLiteral("Unable to set com state: ") + e);
    }
    BuscarSAD();
}

void TSeriePort::AjustarRitmo(const QString& version)
{
    // Old firmware loses input that arrives faster than it can store it.
    if (version == QLatin1String("1.10") || version == QLatin1String("1.00")) {
        TamBloque = 512;
        PausaBloque = 50;
    } else {
        TamBloque = 2048;
        PausaBloque = 0;
    }
}

void TSeriePort::BuscarSAD()
{
    Version.clear();
    const int total = static_cast<int>(std::min<qsizetype>(PuertosBuscados, ListaPuertos.size()));
    for (int i = 0; i < total; ++i) {
        if (ComPort->isOpen())
            ComPort->close();
        Indice = i;
        if (!AbrirComponente())
            continue;
        QByteArray respuesta;
        try {
            ComPort->clear(QSerialPort::Input); // stale bytes would spoil the probe
            EscribirTodo(QByteArrayLiteral("1#"));
            Reloj.Dormir(100);
            Recibir(respuesta);
        } catch (const std::exception&) {
            respuesta.clear();
        }
        if (respuesta.isEmpty()) {
            Cerrar();
            continue;
        }
        if (respuesta.startsWith('&')) {
            int coma = respuesta.indexOf(',');
            QByteArray v = coma < 0 ? respuesta.mid(1) : respuesta.mid(1, coma - 1);
            Version = QString::fromLatin1(v);
            AjustarRitmo(Version);
            return;
        }
        // Something else answers here. Stop the search, but do not keep talking to a
        // foreign device: the next command searches again.
        Cerrar();
        break;
    }
    throw EEntradaSalida(QStringLiteral("Error al configurar el puerto"));
}

void TSeriePort::EscribirTodo(const QByteArray& datos)
{
    if (!ComPort->isOpen())
        throw EComPort(QStringLiteral("Operation failed: port not open"));
    if (ComPort->write(datos) != datos.size()) {
        const QString e = ComPort->errorString();
        ComPort->clearError();
        throw EComPort(QStringLiteral("Operation failed: ") + e);
    }
    // Bounded completion wait: far above the line's own 87 us per byte, far below the
    // component's nominal 100 ms per byte, which would block for minutes.
    const int limite = 1000 + static_cast<int>(datos.size());
    QElapsedTimer t;
    t.start();
    while (ComPort->bytesToWrite() > 0) {
        const int resto = limite - static_cast<int>(t.elapsed());
        if (resto <= 0 || !ComPort->waitForBytesWritten(resto)) {
            if (ComPort->bytesToWrite() == 0)
                break;
            const QString e = ComPort->errorString();
            const bool perdido = ComPort->error() == QSerialPort::ResourceError || Colgado(*ComPort);
            ComPort->clearError();
            if (perdido)
                ComPort->close();
            throw EComPort(QStringLiteral("Operation failed: ") + e);
        }
    }
}

void TSeriePort::Enviar(const QByteArray& texto)
{
    const int pieza = TamBloque > 0 ? TamBloque : 2048;
    for (qsizetype desde = 0; desde < texto.size(); desde += pieza) {
        if (desde > 0 && Interrumpido()) {
            // A capture command takes minutes on a slow line: stopped here, its end
            // makes the unit drop what it got (the numbers cut short spoil no command).
            EscribirTodo(QByteArrayLiteral("#"));
            throw EInterrumpido();
        }
        EscribirTodo(texto.mid(desde, pieza));
        Reloj.Dormir(PausaBloque);
    }
}

void TSeriePort::Descartar()
{
    if (!ComPort->isOpen())
        return;
    QByteArray resto;
    Recibir(resto);
}

void TSeriePort::Recibir(QByteArray& texto)
{
    texto.clear();
    if (!ComPort->isOpen())
        throw EComPort(QStringLiteral("Unable to read com status: port not open"));
    // Pull what the system holds for the line into the component, without waiting;
    // bounded so a flooding line cannot keep us here.
    for (int i = 0; i < 64 && ComPort->waitForReadyRead(0); ++i) {
    }
    const QSerialPort::SerialPortError e = ComPort->error();
    texto = ComPort->readAll();
    if (e != QSerialPort::NoError && !ErrorGrave(e))
        ComPort->clearError();
    if (!texto.isEmpty())
        return; // an error shows again on the next read
    const bool colgado = Colgado(*ComPort);
    if (ErrorGrave(e) || colgado) {
        const QString msg = colgado ? QStringLiteral("line hung up") : ComPort->errorString();
        ComPort->clearError();
        // A vanished device (unplugged, far end of a pseudo-terminal gone): close, so
        // the next command runs the search again.
        if (colgado || e == QSerialPort::ResourceError)
            ComPort->close();
        throw EComPort(QStringLiteral("Operation aborted: ") + msg);
    }
}

} // namespace qv

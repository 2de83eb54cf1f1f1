#include "linea_unidad.h"

#include "link/serie_port.h"

#include <QSerialPort>

#include <algorithm>

namespace qv {

TLineaSerie::TLineaSerie(QStringList puertos, TInteraccion& interaccion, TReloj& reloj, QObject* padre)
    : TLineaUnidad(padre), Puerto(std::make_unique<TSeriePort>(puertos, interaccion, reloj)),
      Puertos(std::move(puertos))
{
    connect(Puerto->Componente(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError)
            Perder();
    });
    Vigilancia.setInterval(50);
    connect(&Vigilancia, &QTimer::timeout, this, &TLineaSerie::Vigilar);
}

TLineaSerie::~TLineaSerie()
{
    Vigilancia.stop();
    Escuchadas.clear();
}

bool TLineaSerie::Abierta() const
{
    return Puerto->Conectado();
}

bool TLineaSerie::Disponible()
{
    if (Puerto->Conectado())
        return true;
    DejarDeEscuchar(); // a search never runs beside the lines it listens to
    // The search reads the probe's answer itself: nobody else may take bytes meanwhile.
    if (Escuchando) {
        disconnect(Puerto->Componente(), &QSerialPort::readyRead, this, &TLineaSerie::Leer);
        Escuchando = false;
    }
    try {
        Puerto->Configurar(QString());
    } catch (const std::exception&) {
        return false;
    }
    connect(Puerto->Componente(), &QSerialPort::readyRead, this, &TLineaSerie::Leer);
    Escuchando = true;
    Leer();
    return Puerto->Conectado();
}

bool TLineaSerie::Enviar(const QByteArray& comando)
{
    if (!Puerto->Conectado())
        return false;
    try {
        Puerto->Enviar(comando);
    } catch (const std::exception&) {
        Perder();
        return false;
    }
    return true;
}

bool TLineaSerie::Acallar()
{
    if (Puerto->Conectado())
        return false;
    if (!Escuchadas.empty())
        return true; // already listening: Callada comes once
    // The lines the search probes, opened as it opens them.
    const qsizetype total = std::min<qsizetype>(TSeriePort::PuertosBuscados, Puertos.size());
    for (qsizetype i = 0; i < total; ++i) {
        const QString nombre = Puertos.at(i).trimmed();
        if (nombre.isEmpty())
            continue;
        auto p = std::make_unique<QSerialPort>();
        p->setPortName(nombre);
        p->setBaudRate(TSeriePort::Baudios);
        p->setDataBits(QSerialPort::Data8);
        p->setStopBits(QSerialPort::OneStop);
        p->setParity(QSerialPort::NoParity);
        p->setFlowControl(QSerialPort::SoftwareControl);
        if (!p->open(QIODevice::ReadOnly))
            continue;
        QSerialPort* q = p.get();
        connect(q, &QSerialPort::readyRead, this, [this, q] {
            if (!q->readAll().isEmpty())
                UltimoByte.restart();
        });
        connect(q, &QSerialPort::errorOccurred, this, [q](QSerialPort::SerialPortError e) {
            // A line that went away says nothing more.
            if (e == QSerialPort::ResourceError)
                q->close();
        });
        Escuchadas.push_back(std::move(p));
    }
    if (Escuchadas.empty())
        return false;
    Desde.start();
    UltimoByte.start();
    Vigilancia.start();
    return true;
}

void TLineaSerie::Vigilar()
{
    if (UltimoByte.elapsed() < QuietoMs && Desde.elapsed() < MaxAcallarMs)
        return;
    DejarDeEscuchar();
    Q_EMIT Callada();
}

void TLineaSerie::DejarDeEscuchar()
{
    Vigilancia.stop();
    for (auto& p : Escuchadas) {
        disconnect(p.get(), nullptr, this, nullptr);
        if (p->isOpen())
            p->close();
    }
    Escuchadas.clear();
}

void TLineaSerie::Soltar()
{
    Cerrar();
}

QString TLineaSerie::Dispositivo() const
{
    return Puerto->Conectado() ? Puerto->NombrePuerto() : QString();
}

QString TLineaSerie::Version() const
{
    return Puerto->VersionHallada();
}

void TLineaSerie::Leer()
{
    QSerialPort* p = Puerto->Componente();
    if (!p->isOpen())
        return;
    const QByteArray d = p->readAll();
    if (!d.isEmpty())
        Q_EMIT Llegada(d);
}

void TLineaSerie::Cerrar()
{
    if (Escuchando) {
        disconnect(Puerto->Componente(), &QSerialPort::readyRead, this, &TLineaSerie::Leer);
        Escuchando = false;
    }
    Puerto->Cerrar();
}

void TLineaSerie::Perder()
{
    const bool estaba = Puerto->Conectado();
    Cerrar();
    if (estaba)
        Q_EMIT Perdida();
}

} // namespace qv

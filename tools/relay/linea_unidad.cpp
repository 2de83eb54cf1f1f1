#include "linea_unidad.h"

#include "link/serie_port.h"

#include <QSerialPort>

namespace qv {

TLineaSerie::TLineaSerie(QStringList puertos, TInteraccion& interaccion, TReloj& reloj, QObject* padre)
    : TLineaUnidad(padre), Puerto(std::make_unique<TSeriePort>(std::move(puertos), interaccion, reloj))
{
    connect(Puerto->Componente(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError)
            Perder();
    });
}

TLineaSerie::~TLineaSerie() = default;

bool TLineaSerie::Disponible()
{
    if (Puerto->Conectado())
        return true;
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
    if (!Disponible())
        return false;
    try {
        Puerto->Enviar(comando);
    } catch (const std::exception&) {
        Perder();
        return false;
    }
    return true;
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

void TLineaSerie::Perder()
{
    if (Escuchando) {
        disconnect(Puerto->Componente(), &QSerialPort::readyRead, this, &TLineaSerie::Leer);
        Escuchando = false;
    }
    const bool estaba = Puerto->Conectado();
    Puerto->Cerrar();
    if (estaba)
        Q_EMIT Perdida();
}

} // namespace qv

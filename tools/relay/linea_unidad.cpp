#include "linea_unidad.h"

#include "link/serie_port.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    Puerto->Cerrar();
}

QStringList PuertosSerieEstacion(const QString& carpeta)
{
    QStringList lista;
    QFile f(QDir(carpeta).filePath(QStringLiteral("Quorvane.ini")));
    if (f.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lineas = f.readAll().split('\n');
        bool enSeccion = false;
        for (QByteArray l : lineas) {
            l = l.trimmed();
            if (l.startsWith('[')) {
                enSeccion = l.compare("[ConfiguracionSAD]", Qt::CaseInsensitive) == 0;
                continue;
            }
            const int igual = l.indexOf('=');
            if (!enSeccion || igual < 0)
                continue;
            if (l.left(igual).trimmed().compare("PuertosSerie", Qt::CaseInsensitive) != 0)
                continue;
            for (const QByteArray& p : l.mid(igual + 1).split(','))
                if (!p.trimmed().isEmpty())
                    lista << QString::fromLatin1(p.trimmed());
        }
    }
    if (lista.isEmpty())
        lista = QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1"),
                            QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyACM1"),
                            QStringLiteral("/dev/ttyS0"),   QStringLiteral("/dev/ttyS1"),
                            QStringLiteral("/dev/ttyS2"),   QStringLiteral("/dev/ttyS3")};
    for (QString& p : lista) {
        if (!p.contains(QLatin1Char('/'))) {
            const QString local = QDir(carpeta).filePath(p);
            if (QFileInfo(local).exists() || QFileInfo(local).isSymLink())
                p = local;
        }
    }
    return lista;
}

} // namespace qv

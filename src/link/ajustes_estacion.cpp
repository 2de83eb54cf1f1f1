#include "link/ajustes_estacion.h"

#include "model/escritura_segura.h"

#include <QDir>

namespace qv {

namespace {

const QString Seccion = QStringLiteral("ConfiguracionSAD");

} // namespace

TAjustesEstacion::TAjustesEstacion(QString carpetaPrograma) : carpeta_(std::move(carpetaPrograma)) {}

QString TAjustesEstacion::Fichero() const
{
    return QDir(carpeta_).filePath(QStringLiteral("Quorvane.ini"));
}

QString TAjustesEstacion::Leer(const QString& seccion, const QString& clave, const QString& defecto) const
{
    QByteArray datos;
    if (!LeerFicheroEntero(Fichero(), datos))
        return defecto;
    bool enSeccion = false;
    for (const QByteArray& linea : datos.split('\n')) {
        const QString l = QString::fromLatin1(linea).trimmed();
        if (l.isEmpty() || l.startsWith(QLatin1Char(';')))
            continue;
        if (l.startsWith(QLatin1Char('['))) {
            const qsizetype fin = l.indexOf(QLatin1Char(']'));
            enSeccion = fin > 0 && l.mid(1, fin - 1).trimmed().compare(seccion, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!enSeccion)
            continue;
        const qsizetype igual = l.indexOf(QLatin1Char('='));
        if (igual <= 0 || l.left(igual).trimmed().compare(clave, Qt::CaseInsensitive) != 0)
            continue;
        // The first value line of the key wins, as with the system's profile reader.
        return l.mid(igual + 1).trimmed();
    }
    return defecto;
}

bool TAjustesEstacion::ModeloM() const
{
    return Leer(Seccion, QStringLiteral("Aspecto"), QStringLiteral("ZD800M")) == QLatin1String("ZD800M");
}

bool TAjustesEstacion::Multipuesto() const
{
    return Leer(Seccion, QStringLiteral("TipoConAula"), QStringLiteral("Monopuesto")) != QLatin1String("Monopuesto");
}

QString TAjustesEstacion::UltimoPCSAD() const
{
    return Leer(Seccion, QStringLiteral("UltimoPCSAD"));
}

QStringList TAjustesEstacion::PuertosSerie() const
{
    QStringList lista;
    const QDir carpeta(carpeta_);
    for (const QString& p : Leer(Seccion, QStringLiteral("PuertosSerie")).split(QLatin1Char(','))) {
        const QString nombre = p.trimmed();
        if (nombre.isEmpty())
            continue;
        lista << (QDir::isAbsolutePath(nombre) ? nombre : carpeta.absoluteFilePath(nombre));
    }
    return lista.isEmpty() ? PuertosSeriePorDefecto() : lista;
}

QStringList TAjustesEstacion::PuertosSeriePorDefecto()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4"),
            QStringLiteral("COM5"), QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8")};
#else
    return {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyACM0"),
            QStringLiteral("/dev/ttyACM1"), QStringLiteral("/dev/ttyS0"),   QStringLiteral("/dev/ttyS1"),
            QStringLiteral("/dev/ttyS2"),   QStringLiteral("/dev/ttyS3")};
#endif
}

} // namespace qv

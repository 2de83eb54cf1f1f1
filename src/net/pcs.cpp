#include "net/pcs.h"

#include <QHostInfo>

namespace qv {

QString NombreDeEntrada(const QString& entrada)
{
    const qsizetype parentesis = entrada.indexOf(QLatin1Char('('));
    return (parentesis < 0 ? entrada : entrada.left(parentesis)).trimmed();
}

QString EntradaDireccion(const QString& a, const QString& b, const QString& c, const QString& d,
                         const QString& nombre)
{
    return QStringLiteral("%1.%2.%3.%4 (%5)").arg(a, b, c, d, nombre);
}

QString NombreEsteEquipo()
{
    return QHostInfo::localHostName();
}

} // namespace qv

#include "opciones_cli.h"

#include "model/formatos.h"

namespace qv {

bool LeerOpcionesCli(const QStringList& args, TOpcionesCli& op, QString& error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto valor = [&](QString& destino) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            destino = args[++i];
            return true;
        };
        if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
            if (!valor(op.salida))
                return false;
        } else if (a == QLatin1String("--signals")) {
            QString lista;
            if (!valor(lista))
                return false;
            for (const QString& n : lista.split(QLatin1Char(',')))
                if (!n.trimmed().isEmpty())
                    op.senales << n.trimmed();
            if (op.senales.isEmpty()) {
                error = QStringLiteral("--signals needs at least one name");
                return false;
            }
        } else if (a == QLatin1String("--csv")) {
            op.csv = true;
        } else if (a == QLatin1String("--overwrite")) {
            op.sobreescribir = true;
        } else if (a == QLatin1String("--force")) {
            op.forzar = true;
        } else if (a == QLatin1String("--digital")) {
            op.digital = true;
        } else if (a == QLatin1String("--x")) {
            if (!valor(op.ejeX))
                return false;
        } else if (a == QLatin1String("--vcd")) {
            op.vcd = true;
        } else if (a == QLatin1String("--spectrum")) {
            op.espectro = true;
        } else if (a == QLatin1String("--model")) {
            if (!valor(op.modelo))
                return false;
        } else if (a == QLatin1String("--from")) {
            if (!valor(op.desde))
                return false;
        } else if (a == QLatin1String("--to")) {
            if (!valor(op.hasta))
                return false;
        } else if (a == QLatin1String("--size")) {
            if (!valor(op.tamano))
                return false;
        } else if (a == QLatin1String("--port")) {
            if (!valor(op.puerto))
                return false;
        } else if (a == QLatin1String("--relay")) {
            if (!valor(op.relay))
                return false;
        } else if (a == QLatin1String("--wait")) {
            op.esperar = true;
        } else if (a == QLatin1String("--source")) {
            if (!valor(op.origen))
                return false;
        } else if (a == QLatin1String("--delay")) {
            if (!valor(op.retardo))
                return false;
            op.hayRetardo = true;
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            op.posicionales << a;
        }
    }
    if (!op.puerto.isEmpty() && !op.relay.isEmpty()) {
        error = QStringLiteral("--port and --relay exclude each other");
        return false;
    }
    return true;
}

std::optional<TDestinoRelay> LeerDestinoRelay(const QString& texto, int puertoPorDefecto)
{
    TDestinoRelay d{texto, puertoPorDefecto};
    auto puerto = [&](const QString& numero) {
        const auto n = LeerEntero(numero);
        if (!n || *n < 1 || *n > 65535)
            return false;
        d.puerto = int(*n);
        return true;
    };
    if (texto.startsWith(QLatin1Char('['))) {
        const qsizetype cierre = texto.indexOf(QLatin1Char(']'));
        if (cierre < 0)
            return std::nullopt;
        d.host = texto.mid(1, cierre - 1);
        const QString resto = texto.mid(cierre + 1);
        if (resto.isEmpty())
            return d;
        if (!resto.startsWith(QLatin1Char(':')) || !puerto(resto.mid(1)))
            return std::nullopt;
        return d;
    }
    if (texto.count(QLatin1Char(':')) > 1)
        return d; // a bare IPv6 address
    const qsizetype dos = texto.indexOf(QLatin1Char(':'));
    if (dos < 0)
        return d;
    if (!puerto(texto.mid(dos + 1)))
        return std::nullopt;
    d.host = texto.left(dos);
    return d;
}

bool VersionValida(const QString& version)
{
    if (version.isEmpty() || version.size() > 16)
        return false;
    for (const QChar c : version) {
        const char16_t u = c.unicode();
        const bool ascii = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
        if (!ascii && u != '.' && u != '-' && u != '_')
            return false;
    }
    return true;
}

} // namespace qv

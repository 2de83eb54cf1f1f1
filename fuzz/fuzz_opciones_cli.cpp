// The companion's command line: option parsing, the relay destination and the check
// of a unit's version text, on arguments cut from arbitrary bytes at NUL.
#include "fuzz_comun.h"
#include "opciones_cli.h"

#include <QByteArray>
#include <QStringList>
#include <cstdint>

using namespace qv;
using fuzz::Comprobar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    const QByteArray texto(reinterpret_cast<const char*>(datos), qsizetype(n));
    QStringList args;
    for (const QByteArray& a : texto.split('\0')) {
        if (args.size() == 64)
            break;
        args << QString::fromLocal8Bit(a);
    }

    TOpcionesCli op;
    QString error;
    if (LeerOpcionesCli(args, op, error)) {
        Comprobar(error.isEmpty());
        Comprobar(op.posicionales.size() <= args.size());
        Comprobar(op.puerto.isEmpty() || op.relay.isEmpty());
        for (const QString& s : op.senales)
            Comprobar(!s.isEmpty() && s == s.trimmed());
        Comprobar(op.hayRetardo || op.retardo.isEmpty());
    } else {
        Comprobar(!error.isEmpty());
    }

    for (const QString& a : args) {
        if (const auto d = LeerDestinoRelay(a, 9099)) {
            Comprobar(d->puerto >= 1 && d->puerto <= 65535);
            Comprobar(d->host.size() <= a.size());
        }
        if (VersionValida(a))
            Comprobar(!a.isEmpty() && a.size() <= 16);
    }
    return 0;
}

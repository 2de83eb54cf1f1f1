#include "link/procesos.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace qv::Procesos {

#ifdef Q_OS_LINUX

namespace {

QString Enlace(const QString& ruta)
{
    char buf[4096];
    const ssize_t n = ::readlink(QFile::encodeName(ruta).constData(), buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return QFile::decodeName(QByteArray(buf, n));
}

QByteArray LeerPequeno(const QString& ruta, qint64 max = 65536)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    return f.read(max);
}

// The canonical path of a file; for a file that is gone, its cleaned absolute path
// (a running program whose file was replaced still names the old path).
QString Canonica(const QString& ruta)
{
    const QFileInfo fi(ruta);
    const QString c = fi.canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : c;
}

// The interpreter named by the "#!" line of a script, or empty for anything else.
QString Interprete(const QString& programa)
{
    QByteArray cabecera = LeerPequeno(programa, 256);
    if (!cabecera.startsWith("#!"))
        return {};
    cabecera = cabecera.mid(2);
    cabecera.truncate(cabecera.indexOf('\n') < 0 ? cabecera.size() : cabecera.indexOf('\n'));
    const QStringList partes = QString::fromLocal8Bit(cabecera).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (partes.isEmpty())
        return {};
    QString interprete = partes[0];
    if (QFileInfo(interprete).fileName() == QLatin1String("env") && partes.size() > 1)
        interprete = QStandardPaths::findExecutable(partes[1]);
    return interprete.isEmpty() ? QString() : Canonica(interprete);
}

struct TEstado {
    bool existe = false;
    char estado = '?';
    qint64 padre = 0;
    quint64 inicio = 0;
};

TEstado Estado(qint64 pid)
{
    TEstado e;
    const QByteArray stat = LeerPequeno(QStringLiteral("/proc/%1/stat").arg(pid));
    // The command name in brackets may hold blanks and brackets: fields follow the last ")".
    const qsizetype cierre = stat.lastIndexOf(')');
    if (cierre < 0)
        return e;
    const QList<QByteArray> campos = stat.mid(cierre + 1).simplified().split(' ');
    if (campos.size() < 20)
        return e;
    e.existe = true;
    e.estado = campos[0].isEmpty() ? '?' : campos[0][0];
    e.padre = campos[1].toLongLong();
    e.inicio = campos[19].toULongLong();
    return e;
}

bool Vivo(const TProceso& p)
{
    const TEstado e = Estado(p.pid);
    return e.existe && e.inicio == p.inicio && e.estado != 'Z' && e.estado != 'X';
}

bool DeEsteUsuario(qint64 pid)
{
    const QByteArray status = LeerPequeno(QStringLiteral("/proc/%1/status").arg(pid));
    for (const QByteArray& linea : status.split('\n'))
        if (linea.startsWith("Uid:")) {
            const QList<QByteArray> ids = linea.mid(4).simplified().split(' ');
            bool ok = false;
            const uint uid = ids.value(0).toUInt(&ok);
            return ok && uid == ::getuid();
        }
    return false;
}

} // namespace

QList<TProceso> DelPrograma(const QString& programa, bool soloSinArgumentos)
{
    QList<TProceso> r;
    QList<qint64> padres;
    const QString objetivo = Canonica(programa);
    const QString interprete = Interprete(programa);
    const qint64 propio = ::getpid();
    const QStringList entradas = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& nombre : entradas) {
        bool ok = false;
        const qint64 pid = nombre.toLongLong(&ok);
        if (!ok || pid == propio || !DeEsteUsuario(pid))
            continue;
        const QString base = QStringLiteral("/proc/") + nombre;
        QString exe = Enlace(base + QStringLiteral("/exe"));
        if (exe.endsWith(QLatin1String(" (deleted)")))
            exe.chop(10);
        if (exe.isEmpty())
            continue;
        QStringList linea;
        for (const QByteArray& a : LeerPequeno(base + QStringLiteral("/cmdline")).split('\0'))
            linea << QFile::decodeName(a);
        if (!linea.isEmpty() && linea.back().isEmpty())
            linea.removeLast();

        TProceso p;
        p.pid = pid;
        if (exe == objetivo) {
            p.argumentos = linea.mid(1);
        } else if (!interprete.isEmpty() && exe == interprete && linea.size() >= 2) {
            QString guion = linea[1];
            if (QDir::isRelativePath(guion))
                guion = QDir(Enlace(base + QStringLiteral("/cwd"))).filePath(guion);
            if (Canonica(guion) != objetivo)
                continue;
            p.argumentos = linea.mid(2);
        } else {
            continue;
        }
        const TEstado e = Estado(pid);
        if (!e.existe || e.estado == 'Z' || e.estado == 'X')
            continue;
        p.inicio = e.inicio;
        if (!soloSinArgumentos || p.argumentos.isEmpty()) {
            r << p;
            padres << e.padre;
        }
    }
    // A copy of an instance caught between fork and exec looks like the program
    // itself; it is part of its parent's instance, not one more.
    QList<TProceso> instancias;
    for (qsizetype i = 0; i < r.size(); ++i) {
        const bool hijo = std::any_of(r.cbegin(), r.cend(),
                                      [&](const TProceso& o) { return o.pid == padres[i]; });
        if (!hijo)
            instancias << r[i];
    }
    return instancias;
}

int Terminar(const QList<TProceso>& procesos, int esperaMs)
{
    const auto esperar = [&procesos](int ms) {
        QElapsedTimer t;
        t.start();
        for (;;) {
            bool alguno = false;
            for (const TProceso& p : procesos)
                alguno = alguno || Vivo(p);
            if (!alguno || t.elapsed() >= ms)
                return;
            QThread::msleep(10);
        }
    };
    for (const TProceso& p : procesos)
        if (Vivo(p))
            ::kill(pid_t(p.pid), SIGTERM);
    esperar(esperaMs);
    bool matados = false;
    for (const TProceso& p : procesos)
        if (Vivo(p)) {
            ::kill(pid_t(p.pid), SIGKILL);
            matados = true;
        }
    if (matados)
        esperar(1000); // SIGKILL cannot be refused; this only lets the kernel finish
    int fuera = 0;
    for (const TProceso& p : procesos)
        fuera += Vivo(p) ? 0 : 1;
    return fuera;
}

#else

QList<TProceso> DelPrograma(const QString&, bool)
{
    return {};
}

int Terminar(const QList<TProceso>&, int)
{
    return 0;
}

#endif

} // namespace qv::Procesos

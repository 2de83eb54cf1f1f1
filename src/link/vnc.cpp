#include "link/vnc.h"

#include "link/procesos.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <memory>

namespace qv {

namespace {

QString Ejecutable(const QString& carpeta, const QString& nombre)
{
#ifdef Q_OS_WIN
    return QDir(carpeta).filePath(nombre + QStringLiteral(".exe"));
#else
    return QDir(carpeta).filePath(nombre);
#endif
}

QStringList Lista(std::initializer_list<const char*> args)
{
    QStringList l;
    for (const char* a : args)
        l << QString::fromLatin1(a);
    return l;
}

// How a launch ended, shared between the launch and its finished handler.
struct TFin {
    bool terminado = false;
    bool fallo = false;
    bool esperado = false;
};

} // namespace

TVNC::TVNC(const QString& carpetaPrograma)
    : carpeta_(carpetaPrograma),
      visor_(Ejecutable(carpetaPrograma, QStringLiteral("MirrorViewer"))),
      servidor_(Ejecutable(carpetaPrograma, QStringLiteral("MirrorServer")))
{
}

TVNC::~TVNC()
{
    // Nothing is reported any more from a launch still running now.
    for (QObject* p : lanzados_.children())
        QObject::disconnect(p, nullptr, nullptr, nullptr);
}

int TVNC::EnCurso() const
{
    int n = 0;
    for (const QObject* o : lanzados_.children())
        if (auto* p = qobject_cast<const QProcess*>(o); p && p->state() != QProcess::NotRunning)
            ++n;
    return n;
}

bool TVNC::Lanzar(const QString& programa, const QStringList& argumentos, bool esperar)
{
    auto* p = new QProcess(&lanzados_);
    p->setProgram(programa);
    p->setArguments(argumentos);
    p->setWorkingDirectory(carpeta_);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->setStandardInputFile(QProcess::nullDevice());
    auto fin = std::make_shared<TFin>();
    fin->esperado = esperar;
    QObject::connect(p, &QProcess::finished, p, [this, p, fin, programa](int codigo, QProcess::ExitStatus estado) {
        fin->terminado = true;
        fin->fallo = estado != QProcess::NormalExit || codigo != 0;
        p->deleteLater();
        // A launch ended by a signal was stopped on purpose; only a refusal is a failure.
        if (!fin->esperado && estado == QProcess::NormalExit && codigo != 0 && AlFallar)
            AlFallar(programa);
    });
    p->start();
    if (!p->waitForStarted(10000)) {
        delete p;
        return false;
    }
    if (!esperar)
        return true;

    QEventLoop bucle;
    QTimer sondeo;
    QElapsedTimer t;
    t.start();
    QObject::connect(&sondeo, &QTimer::timeout, &bucle, [&] {
        if (fin->terminado || (Cerrando && Cerrando()) || t.elapsed() >= EsperaMaximaMs)
            bucle.quit();
    });
    QObject::connect(p, &QProcess::finished, &bucle, &QEventLoop::quit);
    sondeo.start(100);
    if (!fin->terminado)
        bucle.exec();
    // A wait cut short (closing, or the bound) leaves the program to itself.
    return !fin->terminado || !fin->fallo;
}

bool TVNC::Ver(const QString& nombre)
{
    return Lanzar(visor_, QStringList{nombre} + Lista({"-shared", "-viewonly", "-restricted"}), false);
}

bool TVNC::Controlar(const QString& nombre)
{
    return Lanzar(visor_, QStringList{nombre, QStringLiteral("-shared")}, false);
}

bool TVNC::Escuchar()
{
    bool ok = true;
    if (!ServidorEnMarcha())
        ok = Lanzar(servidor_, {}, false);
    ok = Lanzar(visor_, Lista({"-hidden", "-listen", "-shared", "-viewonly", "-restricted"}), false) && ok;
    servidorActivo_ = true;
    return ok;
}

bool TVNC::ConectarUsuario(const QString& nombre)
{
    return Lanzar(servidor_, {QStringLiteral("-connect"), nombre}, true);
}

bool TVNC::CortarTodo()
{
    return Lanzar(servidor_, {QStringLiteral("-killall")}, false);
}

bool TVNC::Detener()
{
    const bool ok = Lanzar(servidor_, {QStringLiteral("-kill")}, false);
    // The server was asked to stop: that is the state requested now.
    servidorActivo_ = false;
    return Lanzar(visor_, {QStringLiteral("-kill")}, false) && ok;
}

bool TVNC::OpcionesServidor()
{
    return Lanzar(servidor_, {QStringLiteral("-settings")}, false);
}

bool TVNC::OpcionesVisor()
{
    return Lanzar(visor_, {QStringLiteral("-settings")}, false);
}

bool TVNC::SetServidor(bool activo)
{
    if (activo == servidorActivo_)
        return true;
    servidorActivo_ = activo;
    if (!activo)
        return Lanzar(servidor_, {QStringLiteral("-kill")}, false);
    if (ServidorEnMarcha())
        return true;
    return Lanzar(servidor_, {}, false);
}

bool TVNC::ServidorEnMarcha() const
{
    return !Procesos::DelPrograma(servidor_, true).isEmpty();
}

} // namespace qv

#include "link/vnc.h"

#include "link/procesos.h"
#include "link/vnc_escucha.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
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

} // namespace

TVNC::TVNC(const QString& carpetaPrograma, const QString& carpetaPrivada)
    : carpeta_(carpetaPrograma),
      visor_(Ejecutable(carpetaPrograma, QStringLiteral("MirrorViewer"))),
      servidor_(Ejecutable(carpetaPrograma, QStringLiteral("MirrorServer"))),
      ajustes_(carpetaPrograma),
      claves_(ajustes_, carpetaPrivada)
{
}

TVNC::~TVNC()
{
    // Nothing is reported any more from a launch still running now.
    for (QObject* p : lanzados_.children())
        QObject::disconnect(p, nullptr, nullptr, nullptr);
    escucha_.reset();
    // Leaving stops what this launcher started; the requests outlive the program.
    if (servidorActivo_)
        Parar(servidor_);
    if (visoresLanzados_)
        Parar(visor_);
}

int TVNC::EnCurso() const
{
    int n = 0;
    for (const QObject* o : lanzados_.children())
        if (auto* p = qobject_cast<const QProcess*>(o); p && p->state() != QProcess::NotRunning)
            ++n;
    return n;
}

// What every launch is told: the program to watch (the server ends with it) and
// what the caller adds (password files).
QProcessEnvironment TVNC::EntornoDe(const QProcessEnvironment& extra) const
{
    QProcessEnvironment e = Entorno;
    e.insert(QStringLiteral("QUORVANE_PID"), QString::number(QCoreApplication::applicationPid()));
    e.insert(extra);
    return e;
}

// The file of the password a viewer answers with.
QProcessEnvironment TVNC::Password(const QString& fichero)
{
    QProcessEnvironment e;
    e.insert(QStringLiteral("QUORVANE_PASSWD"), fichero);
    return e;
}

bool TVNC::Lanzar(const QString& programa, const QStringList& argumentos, const QProcessEnvironment& extra)
{
    if (!QFileInfo(programa).isExecutable())
        return false;
    auto* p = new QProcess(&lanzados_);
    p->setProgram(programa);
    p->setArguments(argumentos);
    p->setWorkingDirectory(carpeta_);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->setStandardInputFile(QProcess::nullDevice());
    p->setProcessEnvironment(EntornoDe(extra));
    QObject::connect(p, &QProcess::finished, p, [this, p, programa](int codigo, QProcess::ExitStatus estado) {
        p->deleteLater();
        // A launch ended by a signal was stopped on purpose; only a refusal is a failure.
        if (estado == QProcess::NormalExit && codigo != 0 && AlFallar)
            AlFallar(programa);
    });
    QObject::connect(p, &QProcess::errorOccurred, p, [this, p, programa](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        p->deleteLater();
        if (AlFallar)
            AlFallar(programa);
    });
    p->start();
    return true;
}

// A stop request is detached: it must reach the program even when this one is leaving.
bool TVNC::Parar(const QString& programa)
{
    if (!QFileInfo(programa).isExecutable())
        return false;
    QProcess p;
    p.setProgram(programa);
    p.setArguments({QStringLiteral("-kill")});
    p.setWorkingDirectory(carpeta_);
    p.setProcessEnvironment(EntornoDe({}));
    p.setStandardInputFile(QProcess::nullDevice());
    return p.startDetached();
}

bool TVNC::Ver(const QString& nombre)
{
    visoresLanzados_ = true;
    return Lanzar(visor_, QStringList{nombre} + Lista({"-shared", "-viewonly", "-restricted"}),
                  Password(claves_.FicheroVer()));
}

bool TVNC::Controlar(const QString& nombre)
{
    visoresLanzados_ = true;
    return Lanzar(visor_, QStringList{nombre, QStringLiteral("-shared")}, Password(claves_.FicheroControl()));
}

bool TVNC::Escuchar()
{
    if (escucha_)
        return true;
    escucha_ = std::make_unique<TEscuchaFiltrada>(ajustes_, PuertoEscucha);
    escucha_->AlAceptar = [this](const QString& destino) {
        visoresLanzados_ = true;
        if (!Lanzar(visor_, QStringList{destino} + Lista({"-shared", "-viewonly", "-restricted"}),
                    Password(claves_.FicheroVer()))
            && AlFallar)
            AlFallar(visor_);
    };
    return escucha_->Escuchando();
}

bool TVNC::ConectarUsuario(const QString& nombre)
{
    return Lanzar(servidor_, {QStringLiteral("-connect"), nombre});
}

bool TVNC::CortarTodo()
{
    return Lanzar(servidor_, {QStringLiteral("-killall")});
}

bool TVNC::Detener()
{
    escucha_.reset();
    // The server was asked to stop: that is the state requested now.
    servidorActivo_ = faltaAvisada_ = false;
    visoresLanzados_ = false;
    const bool ok = Parar(servidor_);
    return Parar(visor_) && ok;
}

bool TVNC::OpcionesServidor()
{
    return Lanzar(servidor_, {QStringLiteral("-settings")});
}

bool TVNC::OpcionesVisor()
{
    return Lanzar(visor_, {QStringLiteral("-settings")});
}

bool TVNC::SetServidor(bool activo)
{
    if (activo == servidorActivo_)
        return true;
    if (!activo) {
        servidorActivo_ = faltaAvisada_ = false;
        return Parar(servidor_);
    }
    // No screen without its password: the request stays unmet, and a later one
    // (after the password was set) starts the server.
    if (!claves_.HayPassword()) {
        if (!faltaAvisada_ && AlFaltarPassword)
            AlFaltarPassword();
        faltaAvisada_ = true; // once per request, not at every repeat of it
        return true;
    }
    faltaAvisada_ = false;
    servidorActivo_ = true;
    if (ServidorEnMarcha())
        return true;
    QProcessEnvironment claves;
    claves.insert(QStringLiteral("QUORVANE_RFBAUTH"), claves_.FicheroVer());
    claves.insert(QStringLiteral("QUORVANE_RFBAUTH_CONTROL"), claves_.FicheroControl());
    return Lanzar(servidor_, {}, claves);
}

bool TVNC::ServidorEnMarcha() const
{
    return !Procesos::DelPrograma(servidor_, true).isEmpty();
}

} // namespace qv

#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace qv {

// The remote-desktop launcher: it starts the viewer "MirrorViewer" and the server
// "MirrorServer" of the program folder with their fixed command lines, and asks them
// to stop with "-kill" or "-killall"; it never ends them itself. Programs are started
// with an argument list, never through a shell.
//
// Every operation answers false when its program cannot be started at all. The
// programs are expected to return at once (the shipped ones put the long-running
// part in the background and end with a non-zero status when the remote-desktop
// software is missing): a launch that was not waited for and ends in failure is
// reported afterwards through `AlFallar`.
class TVNC {
public:
    explicit TVNC(const QString& carpetaPrograma);
    ~TVNC();
    TVNC(const TVNC&) = delete;
    TVNC& operator=(const TVNC&) = delete;

    QString Visor() const { return visor_; }
    QString Servidor() const { return servidor_; }

    // The last server state requested (not the server's real state).
    bool ServidorActivo() const { return servidorActivo_; }

    bool Ver(const QString& nombre);
    bool Controlar(const QString& nombre);
    // Starts the server when it is not running, then the listening viewer.
    bool Escuchar();
    // Pushes this screen to a listening viewer on `nombre` and waits for the server
    // command to end, servicing events every 100 ms.
    bool ConectarUsuario(const QString& nombre);
    bool CortarTodo();
    bool Detener();
    bool OpcionesServidor();
    bool OpcionesVisor();
    // Nothing happens when `activo` is the state last requested.
    bool SetServidor(bool activo);
    // A server of this folder and user runs now (the instance started without arguments).
    bool ServidorEnMarcha() const;

    // Told the program's path when a launch not waited for ends in failure.
    std::function<void(const QString& programa)> AlFallar;
    // Asked while waiting: true ends the wait (the program is closing).
    std::function<bool()> Cerrando;
    // Longest wait for a program that is waited for.
    int EsperaMaximaMs = 60000;

    // Launches still running.
    int EnCurso() const;

private:
    bool Lanzar(const QString& programa, const QStringList& argumentos, bool esperar);

    QString carpeta_;
    QString visor_;
    QString servidor_;
    bool servidorActivo_ = false;
    QObject lanzados_; // parent of the launches still running
};

} // namespace qv

#pragma once

#include "link/ajustes_estacion.h"
#include "link/vnc_clave.h"

#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace qv {

class TEscuchaFiltrada;

// The remote-desktop launcher: it starts the viewer "MirrorViewer" and the server
// "MirrorServer" of the program folder with their fixed command lines, and asks them
// to stop with "-kill" or "-killall"; it never ends them itself. Programs are started
// with an argument list, never through a shell, and never waited for.
//
// The screen is never shared without its password (TClavesPantalla): the server is
// only started while this PC may be watched and the password files are usable, and
// it is handed them through its environment (never on a command line others can
// read). Without them `AlFaltarPassword` is told and nothing starts. Whatever this
// launcher started is asked to stop when it goes, and the server also stops by itself
// when the program that started it is gone.
//
// Every operation answers false when its program cannot be started at all; a launch
// that ends in failure is reported afterwards through `AlFallar`.
class TVNC {
public:
    // `carpetaPrivada`: the user's private folder of the password files.
    explicit TVNC(const QString& carpetaPrograma, const QString& carpetaPrivada = CarpetaConfiguracionUsuario());
    ~TVNC();
    TVNC(const TVNC&) = delete;
    TVNC& operator=(const TVNC&) = delete;

    QString Servidor() const { return servidor_; }
    const TClavesPantalla& Claves() const { return claves_; }

    // The last server state requested and granted (not the server's real state).
    bool ServidorActivo() const { return servidorActivo_; }

    // Watches with the watch password; controls with the control password (the
    // viewer asks for a password it is not given).
    bool Ver(const QString& nombre);
    bool Controlar(const QString& nombre);
    // Waits for screens pushed from the PCs of the station's list (see TEscuchaFiltrada).
    bool Escuchar();
    // Pushes this screen to a listening viewer on `nombre`.
    bool ConectarUsuario(const QString& nombre);
    bool CortarTodo();
    // Stops the server and every viewer of the program folder.
    bool Detener();
    bool OpcionesServidor();
    bool OpcionesVisor();
    // Starts or stops the server; nothing happens when `activo` is the state last set.
    bool SetServidor(bool activo);
    // A server of this folder and user runs now (the instance started without arguments).
    bool ServidorEnMarcha() const;

    // Told the program's path when a launch ends in failure.
    std::function<void(const QString& programa)> AlFallar;
    // Told when the server should start but no password is set.
    std::function<void()> AlFaltarPassword;
    // Port of the listening viewer (VNC's own 5500; tests choose a free one).
    quint16 PuertoEscucha = 5500;
    // Extra environment of every launch (tests point the scripts elsewhere).
    QProcessEnvironment Entorno = QProcessEnvironment::systemEnvironment();

    // Launches still running.
    int EnCurso() const;
    // The listener of pushed screens, while it listens.
    TEscuchaFiltrada* Escucha() const { return escucha_.get(); }

private:
    bool Lanzar(const QString& programa, const QStringList& argumentos, const QProcessEnvironment& extra = {});
    bool Parar(const QString& programa);
    QProcessEnvironment EntornoDe(const QProcessEnvironment& extra) const;
    static QProcessEnvironment Password(const QString& fichero);

    QString carpeta_;
    QString visor_;
    QString servidor_;
    TAjustesEstacion ajustes_;
    TClavesPantalla claves_;
    bool servidorActivo_ = false;
    bool visoresLanzados_ = false;
    bool faltaAvisada_ = false;
    QObject lanzados_; // parent of the launches still running
    std::unique_ptr<TEscuchaFiltrada> escucha_;
};

} // namespace qv

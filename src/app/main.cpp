#include "app/aplicacion.h"
#include "link/servicios_puesto_real.h"
#include "app/splash.h"
#include "lang/ui/modal.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    qv::PrepararProceso();

    // The splash goes on its own after two seconds and waits for nothing.
    auto* splash = new qv::TfrmSplash;
    splash->show();

    const QString carpeta = QCoreApplication::applicationDirPath();
    qv::TModal modal;
    qv::TServiciosPuestoReal puesto(carpeta);
    qv::TAplicacion aplicacion(carpeta, modal, puesto);
    // The station's warnings (a remote-desktop program that cannot start) need the
    // texts and the message box, which exist only now.
    puesto.PonerAvisos(&aplicacion.DMIdioma.Idioma, &aplicacion.Interaccion);
    // Fill the screen first, so that it is full-size even where no window manager
    // honours the maximized state.
    if (QScreen* pantalla = QGuiApplication::primaryScreen())
        aplicacion.Principal.setGeometry(pantalla->availableGeometry());
    aplicacion.Principal.showMaximized();
    splash->raise();
    // A file named on the command line (a file opened from the desktop) opens once the
    // window has applied the station mode on showing.
    QTimer::singleShot(0, &aplicacion.Principal,
                       [&aplicacion, argumentos = app.arguments()] { aplicacion.AbrirArgumentos(argumentos); });
    return app.exec();
}

#include "app/aplicacion.h"
#include "app/servicios_puesto.h"
#include "app/splash.h"
#include "lang/ui/modal.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    qv::PrepararProceso();

    // The splash goes on its own after two seconds and waits for nothing.
    auto* splash = new qv::TfrmSplash;
    splash->show();

    const QString carpeta = QCoreApplication::applicationDirPath();
    qv::TModal modal;
    qv::TPuestoPorDefecto puesto(carpeta);
    qv::TAplicacion aplicacion(carpeta, modal, puesto);
    // Fill the screen first, so that it is full-size even where no window manager
    // honours the maximized state.
    if (QScreen* pantalla = QGuiApplication::primaryScreen())
        aplicacion.Principal.setGeometry(pantalla->availableGeometry());
    aplicacion.Principal.showMaximized();
    splash->raise();
    return app.exec();
}

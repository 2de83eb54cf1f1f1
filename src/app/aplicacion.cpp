#include "app/aplicacion.h"

#include <QApplication>
#include <QLocale>
#include <clocale>

namespace qv {

TAplicacion::TAplicacion(const QString& carpetaPrograma, TModal& modal, IServiciosPuesto& puesto)
    : DMIdioma(carpetaPrograma),
      Interaccion(DMIdioma.Idioma, modal),
      DialogosArchivo(modal),
      Principal(DMIdioma.Idioma, Interaccion, modal, puesto, Reloj, carpetaPrograma, &DialogosArchivo)
{
    Interaccion.setPadre(&Principal);
    DialogosArchivo.setPadre(&Principal);
}

TAplicacion::~TAplicacion()
{
    // Message boxes must not centre on a window that is going away.
    Interaccion.setPadre(nullptr);
    DialogosArchivo.setPadre(nullptr);
}

void PrepararProceso()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("QUORVANE"));
    // "." is the decimal separator of every number text whatever the user's locale:
    // Qt's default locale and the C library's numeric locale (which QCoreApplication
    // sets from the environment on Unix) are both pinned to C.
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace qv

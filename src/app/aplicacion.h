#pragma once

#include "app/dialogos_archivo_qt.h"
#include "app/ventana_principal.h"
#include "lang/idioma.h"
#include "lang/ui/interaccion_qt.h"
#include "link/reloj.h"

#include <QString>
#include <QStringList>
#include <QTranslator>
#include <memory>

namespace qv {

class IServiciosPuesto;
class TModal;

// The objects of one run of the program, created once and wired by reference: the
// language module, the interaction seam, the clock and the main window (which owns the
// program state and the about box). The program passes the real modal seam and station;
// tests build the same graph with their own.
class TAplicacion {
public:
    TAplicacion(const QString& carpetaPrograma, TModal& modal, IServiciosPuesto& puesto);
    ~TAplicacion();
    TAplicacion(const TAplicacion&) = delete;
    TAplicacion& operator=(const TAplicacion&) = delete;

    TDMIdioma DMIdioma;
    // Qt's own texts (standard dialogs and buttons) in the language of the language
    // file, installed for the life of the program; none when Qt lacks that language.
    std::unique_ptr<QTranslator> TraduccionQt;
    TInteraccionQt Interaccion;
    // Waits for the unit keep the windows painting and hold user input back.
    TRelojReal Reloj;
    TDialogosArchivoQt DialogosArchivo;
    TfrmPrincipal Principal;

    // Opens the file named by the program's arguments, as "Abrir" or "Abrir archivo
    // configuración" would; nothing without one. Run once the main window is shown.
    void AbrirArgumentos(const QStringList& argumentos);
};

// The file of the program's arguments (the program itself first): the first one that
// is not an option, or the one after "--"; a "file:" URL gives its local path. Empty
// when there is none.
QString FicheroDeArgumentos(const QStringList& argumentos);

// The language of the language file: its text 4 (a code such as "es" or "en"), or,
// in a file without it, the part of the file name after "idioma-" ("idioma-en.lng");
// otherwise Spanish, the language of "idioma.lng".
QString IdiomaDelFichero(TTextos& textos, const QString& fichero);

// Loads Qt's translations of that language ("qtbase_<idioma>" from Qt's translations
// folder) and installs them in the application. Null when Qt has none.
std::unique_ptr<QTranslator> InstalarTraduccionQt(const QString& idioma);

// Process-wide settings of the program entry: names and the "." decimal separator for
// Qt and for the C library alike.
void PrepararProceso();

} // namespace qv

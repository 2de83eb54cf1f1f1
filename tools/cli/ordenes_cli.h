#pragma once

#include "link/ajustes_estacion.h"
#include "interaccion_terminal.h"
#include "opciones_cli.h"

#include "lang/idioma.h"
#include "link/reloj.h"

#include <QString>
#include <QStringList>
#include <cstdio>
#include <memory>
#include <optional>

namespace qv {

class TComCapvis;
class TCjtSenales;
class TConfigES;
class TOperaciones;
class TInterrupcion;

// Exit statuses of quorvane-cli.
namespace Salida {
inline constexpr int Bien = 0;
inline constexpr int Fallo = 1; // the numbered text was written to standard error
inline constexpr int Uso = 2;   // bad command line
inline constexpr int Interrumpida = 130; // Ctrl+C: the capture was wound down
} // namespace Salida

// Lets go of the unit's line without the link's farewell (all outputs to zero):
// a unit test or a capture left running must not be disturbed on the way out.
struct TSoltarEnlace {
    void operator()(TComCapvis* com) const;
};
using TEnlace = std::unique_ptr<TComCapvis, TSoltarEnlace>;

// The commands of quorvane-cli. The program folder holds idioma.lng (every message
// is one of its numbered texts) and Quorvane.ini (where the unit is found).
class TOrdenesCli {
public:
    TOrdenesCli(QString carpetaPrograma, std::FILE* salida = stdout, std::FILE* error = stderr);
    ~TOrdenesCli();

    // `args` without the program's name; answers the exit status.
    int Ejecutar(const QStringList& args);

    static QString Uso();

private:
    using TOpciones = TOpcionesCli;

    int Info(const TOpciones& op);
    int Exportar(const TOpciones& op);
    int Test(const TOpciones& op);
    int Captura(const TOpciones& op);
    int Render(const TOpciones& op);
    int Medir(const TOpciones& op);
    int Bode(const QStringList& args); // orden_bode.cpp
    int Ajustar(const TOpciones& op); // orden_ajuste.cpp

    bool CargarIdioma();
    // Reads a signal or configuration file; false after its message was written.
    bool AbrirFichero(const QString& ruta, TConfigES& config, TOperaciones& operaciones, TCjtSenales& senales);
    // The protocol object on the transport the options or the station settings give,
    // connected; null after the message was written.
    // With --wait a busy unit is waited for in line (Ctrl+C through `interrupcion`).
    TEnlace Conectar(const TOpciones& op, QString& donde, TInterrupcion* interrupcion = nullptr);
    // orden_turnos.cpp: the wait in line, and the "turns" command.
    bool EsperarTurno(TComCapvis& com, const QString& host, TInterrupcion* interrupcion);
    int Turnos(const TOpciones& op);
    bool SalidaLibre(const QString& ruta, bool sobreescribir);
    // A signal file that holds signals, every one of `nombres` among them; otherwise the
    // message is out and the exit code is the answer.
    std::optional<int> AbrirConSenales(const QString& ruta, const QStringList& nombres, TConfigES& config,
                                       TOperaciones& operaciones, TCjtSenales& senales);
    bool Escribir(const QString& ruta, const QByteArray& datos);
    // --from and --to in seconds from the start (0 and no end when absent); otherwise
    // the usage message is out and the exit code is the answer.
    std::optional<int> LeerIntervalo(const TOpciones& op, double& desde, double& hasta);

    int Error(int clave, const QString& detalle = {});
    // A failed unit command: the lost-unit text when the link says the unit is gone.
    int ErrorUnidad(const TComCapvis& com, int clave);
    int ErrorUso(const QString& texto);
    // Ctrl+C ended the command: its text, and the status the shell gives such a command.
    int Interrumpida();
    void Progreso(const QString& texto);

    QString carpeta_;
    std::FILE* salida_;
    std::FILE* error_;
    TLanguage idioma_;
    TInteraccionTerminal interaccion_;
    TRelojReal reloj_;
    TAjustesEstacion ajustes_;
    bool lineaAbierta_ = false; // a progress line waits for its end
};

} // namespace qv

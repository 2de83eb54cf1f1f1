#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

namespace qv {

class TConfigES;
class TInteraccion;
class TLectorCampos;
class TOperaciones;
class TTextos;
struct TContextoTablas;
struct TEntAna;
struct TEntDig;
struct TSalAna;
struct TSalDig;

// Channel records of the configuration file (one line each, no line end); unit
// words in generator records come from the current texts.
QByteArray RegistroCanal(const TEntDig& c);
QByteArray RegistroCanal(const TEntAna& c);
QByteArray RegistroCanal(const TSalDig& c, TTextos& textos);
QByteArray RegistroCanal(const TSalAna& c, TTextos& textos);

// Readers of the same records. EErrorFormato on malformed text, EErrorModelo with
// key 122/123 on an unknown generator kind. An output's table generator loads its
// table (`salida` is the output's number for the error box); a table that cannot
// be loaded leaves the output inactive and without generator.
void LeerCanal(TLectorCampos& l, TEntDig& c);
void LeerCanal(TLectorCampos& l, TEntAna& c);
void LeerCanal(TLectorCampos& l, TSalDig& c, int salida, const TContextoTablas& contexto);
void LeerCanal(TLectorCampos& l, TSalAna& c, int salida, const TContextoTablas& contexto);

// A generator read from a file must hold only finite values: a number beyond single
// precision would be written back as "INF", which no reader accepts. EErrorFormato.
class TGenerador;
void ComprobarGenerador(const TGenerador& g);

// Configuration files (and the first part of every signal file).
class TFicheroConfig {
public:
    // `carpetaPrograma`: where table files named without a folder are found.
    TFicheroConfig(TTextos& textos, TInteraccion& interaccion, QString carpetaPrograma);

    // The whole text of a configuration file, ending with the "Fin$" line.
    QByteArray Texto(const TConfigES& config, const TOperaciones& operaciones);

    // Writes the file (safely: a failure keeps the old file). EErrorModelo when it
    // cannot be written.
    void EscribirConfiguracion(const QString& ruta, const TConfigES& config, const TOperaciones& operaciones);

    // Full read into a new default configuration and an empty operations list. The
    // first stage that fails shows its warning (texts 149-155) and answers false;
    // the partly filled objects are the caller's to discard. A file that cannot be
    // opened raises EErrorModelo (nothing shown).
    bool LeerConfiguracion(const QString& ruta, TConfigES& config, TOperaciones& operaciones);
    bool LeerConfiguracionDatos(const QByteArray& datos, TConfigES& config, TOperaciones& operaciones);

    // Time base and channels only; nullptr after the failing stage's warning. A file
    // that cannot be opened raises EErrorModelo.
    std::unique_ptr<TConfigES> LeerSoloConfiguracion(const QString& ruta);
    std::unique_ptr<TConfigES> LeerSoloConfiguracionDatos(const QByteArray& datos);

private:
    bool Leer(TLectorCampos& l, TConfigES& config, TOperaciones* operaciones);

    TTextos& textos_;
    TInteraccion& interaccion_;
    QString carpeta_;
};

} // namespace qv

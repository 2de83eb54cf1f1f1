#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// The user's configuration folder of the program: "Quorvane" in the user's
// configuration location. The same for the program, the relay and the companion (an
// application-named location would differ between them, and the relay would not see
// the station's settings). Empty when there is no such location.
QString CarpetaConfiguracionUsuario();

// Where a file that the program writes beside itself ("Quorvane.ini", "Programa.cfg")
// lives: in the program folder when the program may write there, otherwise in the
// user's configuration folder, which is not created here.
QString RutaFicheroEscribible(const QString& carpetaPrograma, const QString& nombre);

// Station settings in "Quorvane.ini" of the program folder. Every access opens the
// file again, reads or writes one key and closes it, so other stations and editors
// may change it at any time; nothing is cached. A missing or unreadable file,
// section or key reads as the key's default, and a failed write is silent. Section
// and key names are matched without regard to case, as initialisation files are;
// values are compared exactly. A write keeps every other line of a hand-edited file
// as it is, and goes through a temporary file renamed over the old one, so a crash
// never leaves the station without its settings.
//
// Where the program folder is not writable (an installed program), the writes go to
// "Quorvane.ini" in the user's configuration folder, which holds only the keys the
// user changed: a key is read from there when it is there, otherwise from the
// folder's file, so what the administrator sets later in the folder's file still
// reaches every key the user never changed.
class TAjustesEstacion {
public:
    explicit TAjustesEstacion(QString carpetaPrograma);

    // The file the writes go to: the folder's, or the user's where the folder is not writable.
    QString Fichero() const;
    // The folder's own file.
    QString FicheroCarpeta() const;
    const QString& Carpeta() const { return carpeta_; }

    // Value of the key (blanks around it removed), or `defecto` when it is missing.
    QString Leer(const QString& seccion, const QString& clave, const QString& defecto = {}) const;
    // Sets one key; false when the file could not be written (nothing is shown).
    bool Escribir(const QString& seccion, const QString& clave, const QString& valor) const;

    // ---- "ConfiguracionSAD" ----
    // "Aspecto" is exactly "ZD800M" (also when missing); writes "ZD800M" or "ZD801".
    bool ModeloM() const;
    void EscribirModeloM(bool modeloM) const;
    // "TipoConAula" is anything but exactly "Monopuesto"; writes "Multipuesto" or "Monopuesto".
    bool Multipuesto() const;
    void EscribirMultipuesto(bool multipuesto) const;
    // "PCsServer": names each followed by ","; a last name without its "," counts too,
    // blanks around names and empty names are dropped.
    QStringList PCsServer() const;
    void EscribirPCsServer(const QStringList& pcs) const;
    // "UltimoPCSAD": the PC whose unit this station used last.
    QString UltimoPCSAD() const;
    void EscribirUltimoPCSAD(const QString& pc) const;
    // "PuertosSerie": comma-separated device names in "COM1" onwards order; empty
    // entries are dropped and relative names are taken from the program folder.
    // Missing or empty: the platform's default list.
    QStringList PuertosSerie() const;
    static QStringList PuertosSeriePorDefecto();
    // One device name as PuertosSerie takes it: blanks around it dropped, and a relative
    // name (a bare "ttySAD" too) taken from the program folder.
    QString RutaPuertoSerie(const QString& nombre) const;
    // "TurnoMaximo": minutes a holder keeps the unit while others wait, 0 (also when
    // missing or not a whole number from 0 to 1440) for no limit. Read by the relay.
    int TurnoMaximo() const;

    // ---- "ServerVNC" ----
    // "Activo": this PC may be watched.
    bool RemotoActivo() const;
    void EscribirRemotoActivo(bool activo) const;
    // "Habilitado": remote monitoring enabled on this station.
    bool RemotoHabilitado() const;
    void EscribirRemotoHabilitado(bool habilitado) const;
    // "UltimoPC": the PC last watched or controlled.
    QString UltimoPC() const;
    void EscribirUltimoPC(const QString& pc) const;
    // "Usuario" is exactly "avanzado"; writes "avanzado" or "normal".
    bool UsuarioAvanzado() const;
    void EscribirUsuarioAvanzado(bool avanzado) const;

    // "Password": the password of the advanced profile. The typed text unlocks it when
    // it is the built-in password or the stored one (letter case matters). A stored
    // plain value (a hand-edited or older file) still works; CambiarPassword stores a
    // salted hash, never the text. An empty typed text never unlocks.
    bool ComprobarPassword(const QString& texto) const;
    // False (nothing written) for an empty password or a failed write.
    bool CambiarPassword(const QString& nuevo) const;
    // The check of the password-change dialog: 0 when `nuevo` may be stored, else the
    // language text to show (267 the two differ, also only in letter case; 268 empty).
    static int ValidarPasswordNueva(const QString& nuevo, const QString& repetido);
    static const QString PasswordIncorporada;

    // ---- "PC" ----
    // "HayRed": the station is networked. Only read.
    bool HayRed() const;

private:
    bool LeerBool(const QString& seccion, const QString& clave) const;
    void EscribirBool(const QString& seccion, const QString& clave, bool valor) const;

    QString carpeta_;
};

} // namespace qv

#pragma once

#include <QByteArray>
#include <QString>

namespace qv {

class TAjustesEstacion;

// The passwords that guard this station's screen. The server never runs without the
// watch password; the control password is optional, and only a session opened with
// it may type and click (every other session is view-only).
//
// Each password is kept twice: its salted hash in the station settings ("ServerVNC",
// "PasswordVer" / "PasswordControl"), and the VNC password file the server and the
// viewer read ("rfbauth" / "rfbauth-control", mode 0600, in the user's private
// configuration folder). A file only counts while it is private and still holds the
// password of the hash: one copied in by hand, left from another account or made
// readable by others is not used, and the screen stays unshared.
class TClavesPantalla {
public:
    // The VNC protocol uses the first 8 characters; only printable ASCII is
    // accepted, which every viewer types the same way.
    static constexpr int LargoMaximo = 8;

    TClavesPantalla(const TAjustesEstacion& ajustes, QString carpetaPrivada);

    // 0 when the pair may be stored, otherwise the language text to show.
    static int Validar(const QString& ver, const QString& verRepetida, const QString& control,
                       const QString& controlRepetida);
    // Stores both (an empty control password removes it). False when a file or the
    // settings could not be written; nothing half-written is left in use.
    bool Poner(const QString& ver, const QString& control) const;

    // The password files when they are usable (see above), else empty.
    QString FicheroVer() const;
    QString FicheroControl() const;
    bool HayPassword() const { return !FicheroVer().isEmpty(); }

    // The 8 obfuscated bytes of a VNC password file (DES under the fixed VNC key).
    static QByteArray Ofuscar(const QString& password);
    static QString Desofuscar(const QByteArray& fichero);
    // The 16-byte answer of VNC authentication to a server's challenge.
    static QByteArray Respuesta(const QString& password, const QByteArray& reto);

private:
    QString Fichero(const char* nombre, const QString& clave) const;
    bool Guardar(const char* nombre, const QString& clave, const QString& password) const;

    const TAjustesEstacion& ajustes_;
    QString carpeta_;
};

} // namespace qv

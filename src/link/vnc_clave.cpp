#include "link/vnc_clave.h"

#include "link/ajustes_estacion.h"
#include "model/claves_texto.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QTemporaryFile>

#include <nettle/des.h>

#include <cstdio>
#include <unistd.h>

namespace qv {

namespace {

const QString SeccionVNC = QStringLiteral("ServerVNC");
const QString PrefijoHash = QStringLiteral("pbkdf2-sha256");
constexpr int Iteraciones = 20000;
constexpr int LargoHash = 32;

constexpr int kTextoVacia = 351;
constexpr int kTextoCaracteres = 352;
constexpr int kTextoIguales = 353;

// VNC takes DES keys with the bits of every byte in the opposite order.
quint8 Invertir(quint8 b)
{
    quint8 r = 0;
    for (int i = 0; i < 8; ++i)
        r = quint8((r << 1) | ((b >> i) & 1));
    return r;
}

QByteArray Des(const QByteArray& clave8, const QByteArray& datos, bool cifrar)
{
    quint8 k[DES_KEY_SIZE];
    for (int i = 0; i < DES_KEY_SIZE; ++i)
        k[i] = Invertir(i < clave8.size() ? quint8(clave8[i]) : quint8(0));
    des_ctx ctx;
    des_set_key(&ctx, k); // a weak key only makes a weak password; it still works
    QByteArray salida(datos.size(), '\0');
    auto* d = reinterpret_cast<quint8*>(salida.data());
    const auto* s = reinterpret_cast<const quint8*>(datos.constData());
    if (cifrar)
        des_encrypt(&ctx, size_t(datos.size()), d, s);
    else
        des_decrypt(&ctx, size_t(datos.size()), d, s);
    return salida;
}

// The fixed key every VNC program obfuscates its password files with.
const QByteArray ClaveFija("\x17\x52\x6b\x06\x23\x4e\x58\x07", 8);

QByteArray Bloque(const QString& password)
{
    QByteArray b = password.toLatin1().left(TClavesPantalla::LargoMaximo);
    b.resize(TClavesPantalla::LargoMaximo, '\0');
    return b;
}

QByteArray Derivar(const QString& texto, const QByteArray& sal, int iteraciones)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, texto.toUtf8(), sal, iteraciones,
                                              LargoHash);
}

QString Hash(const QString& password)
{
    QByteArray sal(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(sal.data()), 4);
    return PrefijoHash + QLatin1Char('$') + QString::number(Iteraciones) + QLatin1Char('$')
           + QString::fromLatin1(sal.toHex()) + QLatin1Char('$')
           + QString::fromLatin1(Derivar(password, sal, Iteraciones).toHex());
}

bool Coincide(const QString& password, const QString& guardado)
{
    const QStringList p = guardado.split(QLatin1Char('$'));
    if (p.size() != 4 || p[0] != PrefijoHash)
        return false;
    bool ok = false;
    const int iteraciones = p[1].toInt(&ok);
    const QByteArray sal = QByteArray::fromHex(p[2].toLatin1());
    const QByteArray hash = QByteArray::fromHex(p[3].toLatin1());
    if (!ok || iteraciones <= 0 || iteraciones > 1000000 || sal.isEmpty() || hash.size() != LargoHash)
        return false;
    const QByteArray calculado = Derivar(password, sal, iteraciones);
    quint8 diferencia = 0;
    for (int i = 0; i < LargoHash; ++i)
        diferencia |= quint8(calculado[i] ^ hash[i]);
    return diferencia == 0;
}

bool Valida(const QString& password)
{
    if (password.size() > TClavesPantalla::LargoMaximo)
        return false;
    for (const QChar c : password)
        if (c.unicode() < 0x21 || c.unicode() > 0x7e)
            return false;
    return true;
}

} // namespace

TClavesPantalla::TClavesPantalla(const TAjustesEstacion& ajustes, QString carpetaPrivada)
    : ajustes_(ajustes), carpeta_(std::move(carpetaPrivada))
{
}

QByteArray TClavesPantalla::Ofuscar(const QString& password)
{
    return Des(ClaveFija, Bloque(password), true);
}

QString TClavesPantalla::Desofuscar(const QByteArray& fichero)
{
    if (fichero.size() < LargoMaximo)
        return {};
    QByteArray b = Des(ClaveFija, fichero.left(LargoMaximo), false);
    const qsizetype fin = b.indexOf('\0');
    if (fin >= 0)
        b.truncate(fin);
    return QString::fromLatin1(b);
}

QByteArray TClavesPantalla::Respuesta(const QString& password, const QByteArray& reto)
{
    return Des(Bloque(password), reto, true);
}

int TClavesPantalla::Validar(const QString& ver, const QString& verRepetida, const QString& control,
                             const QString& controlRepetida)
{
    if (ver.isEmpty())
        return kTextoVacia;
    if (ver != verRepetida || control != controlRepetida)
        return clave::NoCoinciden;
    if (!Valida(ver) || !Valida(control))
        return kTextoCaracteres;
    // Watchers know the watch password: it must not also open control.
    if (control == ver)
        return kTextoIguales;
    return 0;
}

bool TClavesPantalla::Guardar(const char* nombre, const QString& clave, const QString& password) const
{
    const QString ruta = QDir(carpeta_).filePath(QLatin1String(nombre));
    if (password.isEmpty()) {
        ajustes_.Escribir(SeccionVNC, clave, QString());
        return !QFile::exists(ruta) || QFile::remove(ruta);
    }
    // Created private (QTemporaryFile makes it 0600) and renamed over the old one, so
    // the password is never readable by others, not even for a moment.
    QTemporaryFile t(ruta + QStringLiteral(".XXXXXX"));
    const QByteArray datos = Ofuscar(password);
    if (!t.open() || t.write(datos) != datos.size() || !t.flush()
        || !t.setPermissions(QFile::ReadOwner | QFile::WriteOwner) || ::fsync(t.handle()) != 0)
        return false;
    if (std::rename(QFile::encodeName(t.fileName()).constData(), QFile::encodeName(ruta).constData()) != 0)
        return false;
    t.setAutoRemove(false);
    return ajustes_.Escribir(SeccionVNC, clave, Hash(password));
}

bool TClavesPantalla::Poner(const QString& ver, const QString& control) const
{
    if (carpeta_.isEmpty() || !QDir().mkpath(carpeta_))
        return false;
    QFile::setPermissions(carpeta_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The control password goes first: a failure leaves no control file that the
    // old watch password's holders could meet.
    return Guardar("rfbauth-control", QStringLiteral("PasswordControl"), control)
           && Guardar("rfbauth", QStringLiteral("PasswordVer"), ver);
}

QString TClavesPantalla::Fichero(const char* nombre, const QString& clave) const
{
    if (carpeta_.isEmpty())
        return {};
    const QString ruta = QDir(carpeta_).filePath(QLatin1String(nombre));
    const QFileInfo fi(ruta);
    const auto ajenos = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    if (!fi.isFile() || fi.isSymLink() || fi.ownerId() != ::getuid() || (fi.permissions() & ajenos)
        || fi.size() != LargoMaximo)
        return {};
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString password = Desofuscar(f.readAll());
    if (password.isEmpty() || !Coincide(password, ajustes_.Leer(SeccionVNC, clave)))
        return {};
    return fi.absoluteFilePath();
}

QString TClavesPantalla::FicheroVer() const
{
    return Fichero("rfbauth", QStringLiteral("PasswordVer"));
}

QString TClavesPantalla::FicheroControl() const
{
    return Fichero("rfbauth-control", QStringLiteral("PasswordControl"));
}

} // namespace qv

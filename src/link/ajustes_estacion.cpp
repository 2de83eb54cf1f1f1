#include "link/ajustes_estacion.h"

#include "link/fichero_ini.h"
#include "model/claves_texto.h"
#include "model/escritura_segura.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStandardPaths>

namespace qv {

namespace {

const QString Nombre = QStringLiteral("Quorvane.ini");
const QString SeccionSAD = QStringLiteral("ConfiguracionSAD");
const QString SeccionVNC = QStringLiteral("ServerVNC");
const QString SeccionPC = QStringLiteral("PC");
const QString ClavePassword = QStringLiteral("Password");

// Stored passwords: "pbkdf2-sha256$iterations$salt$hash", salt and hash in hex.
const QString PrefijoHash = QStringLiteral("pbkdf2-sha256");
constexpr int Iteraciones = 20000;
constexpr int MaxIteraciones = 1000000; // a hand-edited count must not hang the check
constexpr int LargoHash = 32;

constexpr int kTextoVacia = 268;

QByteArray Derivar(const QString& texto, const QByteArray& sal, int iteraciones)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, texto.toUtf8(), sal, iteraciones,
                                              LargoHash);
}

// Compares without stopping at the first difference.
bool IgualesEnTiempoFijo(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char d = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        d |= static_cast<unsigned char>(a[i] ^ b[i]);
    return d == 0;
}

struct THash {
    bool valido = false;
    int iteraciones = 0;
    QByteArray sal, hash;
};

THash LeerHash(const QString& guardado)
{
    THash h;
    const QStringList partes = guardado.split(QLatin1Char('$'));
    if (partes.size() != 4 || partes[0] != PrefijoHash)
        return h;
    bool ok = false;
    h.iteraciones = partes[1].toInt(&ok);
    h.sal = QByteArray::fromHex(partes[2].toLatin1());
    h.hash = QByteArray::fromHex(partes[3].toLatin1());
    h.valido = ok && h.iteraciones > 0 && h.iteraciones <= MaxIteraciones && !h.sal.isEmpty()
               && h.hash.size() == LargoHash && partes[3].size() == 2 * LargoHash;
    return h;
}

} // namespace

const QString TAjustesEstacion::PasswordIncorporada = QStringLiteral("morvaniske");

QString RutaFicheroEscribible(const QString& carpetaPrograma, const QString& nombre)
{
    const QString ruta = QDir(carpetaPrograma).filePath(nombre);
    const QFileInfo carpeta(carpetaPrograma);
    const QFileInfo fichero(ruta);
    if (carpeta.isDir() && carpeta.isWritable() && (!fichero.exists() || fichero.isWritable()))
        return ruta;
    const QString config = CarpetaConfiguracionUsuario();
    return config.isEmpty() ? ruta : QDir(config).filePath(nombre);
}

QString CarpetaConfiguracionUsuario()
{
    const QString general = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return general.isEmpty() ? QString() : QDir(general).filePath(QStringLiteral("Quorvane"));
}

TAjustesEstacion::TAjustesEstacion(QString carpetaPrograma) : carpeta_(std::move(carpetaPrograma)) {}

QString TAjustesEstacion::Fichero() const
{
    return RutaFicheroEscribible(carpeta_, Nombre);
}

QString TAjustesEstacion::FicheroCarpeta() const
{
    return QDir(carpeta_).filePath(Nombre);
}

QString TAjustesEstacion::Leer(const QString& seccion, const QString& clave, const QString& defecto) const
{
    const auto buscar = [&](const QString& ruta, QString& valor) {
        QByteArray datos;
        bool hallado = false;
        if (LeerFicheroEntero(ruta, datos))
            valor = FicheroIni::Leer(datos, seccion, clave, &hallado);
        return hallado;
    };
    // The user's own changes first, where the folder keeps them apart; then the folder's.
    const QString propio = FicheroCarpeta();
    const QString usuario = Fichero();
    QString valor;
    if ((usuario != propio && buscar(usuario, valor)) || buscar(propio, valor))
        return valor;
    return defecto;
}

bool TAjustesEstacion::Escribir(const QString& seccion, const QString& clave, const QString& valor) const
{
    const QString destino = Fichero();
    QByteArray datos;
    // A file that exists but cannot be read is never replaced by one holding a single key.
    if (QFileInfo::exists(destino) && !LeerFicheroEntero(destino, datos))
        return false;
    if (destino != FicheroCarpeta())
        QDir().mkpath(QFileInfo(destino).absolutePath());
    return EscribirSeguro(destino, FicheroIni::Escribir(datos, seccion, clave, valor));
}

bool TAjustesEstacion::LeerBool(const QString& seccion, const QString& clave) const
{
    return Leer(seccion, clave, QStringLiteral("FALSE")) == QLatin1String("TRUE");
}

void TAjustesEstacion::EscribirBool(const QString& seccion, const QString& clave, bool valor) const
{
    Escribir(seccion, clave, valor ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

// ---- "ConfiguracionSAD" ----

bool TAjustesEstacion::ModeloM() const
{
    return Leer(SeccionSAD, QStringLiteral("Aspecto"), QStringLiteral("ZD800M")) == QLatin1String("ZD800M");
}

void TAjustesEstacion::EscribirModeloM(bool modeloM) const
{
    Escribir(SeccionSAD, QStringLiteral("Aspecto"), modeloM ? QStringLiteral("ZD800M") : QStringLiteral("ZD801"));
}

bool TAjustesEstacion::Multipuesto() const
{
    return Leer(SeccionSAD, QStringLiteral("TipoConAula"), QStringLiteral("Monopuesto"))
           != QLatin1String("Monopuesto");
}

void TAjustesEstacion::EscribirMultipuesto(bool multipuesto) const
{
    Escribir(SeccionSAD, QStringLiteral("TipoConAula"),
             multipuesto ? QStringLiteral("Multipuesto") : QStringLiteral("Monopuesto"));
}

QStringList TAjustesEstacion::PCsServer() const
{
    QStringList lista;
    QString resto = Leer(SeccionSAD, QStringLiteral("PCsServer"));
    const auto anadir = [&lista](const QString& nombre) {
        const QString n = nombre.trimmed();
        if (!n.isEmpty())
            lista << n;
    };
    while (resto.size() > 1) {
        const qsizetype coma = resto.indexOf(QLatin1Char(','));
        if (coma < 0)
            break;
        anadir(resto.left(coma));
        resto.remove(0, coma + 1);
    }
    // The last name without its ",".
    if (resto != QLatin1String(","))
        anadir(resto);
    return lista;
}

void TAjustesEstacion::EscribirPCsServer(const QStringList& pcs) const
{
    QString valor;
    for (const QString& pc : pcs)
        if (!pc.trimmed().isEmpty())
            valor += pc.trimmed() + QLatin1Char(',');
    Escribir(SeccionSAD, QStringLiteral("PCsServer"), valor);
}

QString TAjustesEstacion::UltimoPCSAD() const
{
    return Leer(SeccionSAD, QStringLiteral("UltimoPCSAD"));
}

void TAjustesEstacion::EscribirUltimoPCSAD(const QString& pc) const
{
    Escribir(SeccionSAD, QStringLiteral("UltimoPCSAD"), pc);
}

int TAjustesEstacion::TurnoMaximo() const
{
    bool ok = false;
    const int n = Leer(SeccionSAD, QStringLiteral("TurnoMaximo")).toInt(&ok);
    return ok && n >= 0 && n <= 1440 ? n : 0;
}

QStringList TAjustesEstacion::PuertosSerie() const
{
    QStringList lista;
    for (const QString& p : Leer(SeccionSAD, QStringLiteral("PuertosSerie")).split(QLatin1Char(','))) {
        if (!p.trimmed().isEmpty())
            lista << RutaPuertoSerie(p);
    }
    return lista.isEmpty() ? PuertosSeriePorDefecto() : lista;
}

QString TAjustesEstacion::RutaPuertoSerie(const QString& nombre) const
{
    const QString n = nombre.trimmed();
    return QDir::isAbsolutePath(n) ? n : QDir(carpeta_).absoluteFilePath(n);
}

QStringList TAjustesEstacion::PuertosSeriePorDefecto()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4"),
            QStringLiteral("COM5"), QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8")};
#else
    return {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyACM0"),
            QStringLiteral("/dev/ttyACM1"), QStringLiteral("/dev/ttyS0"),   QStringLiteral("/dev/ttyS1"),
            QStringLiteral("/dev/ttyS2"),   QStringLiteral("/dev/ttyS3")};
#endif
}

// ---- "ServerVNC" ----

bool TAjustesEstacion::RemotoActivo() const
{
    return LeerBool(SeccionVNC, QStringLiteral("Activo"));
}

void TAjustesEstacion::EscribirRemotoActivo(bool activo) const
{
    EscribirBool(SeccionVNC, QStringLiteral("Activo"), activo);
}

bool TAjustesEstacion::RemotoHabilitado() const
{
    return LeerBool(SeccionVNC, QStringLiteral("Habilitado"));
}

void TAjustesEstacion::EscribirRemotoHabilitado(bool habilitado) const
{
    EscribirBool(SeccionVNC, QStringLiteral("Habilitado"), habilitado);
}

QString TAjustesEstacion::UltimoPC() const
{
    return Leer(SeccionVNC, QStringLiteral("UltimoPC"));
}

void TAjustesEstacion::EscribirUltimoPC(const QString& pc) const
{
    Escribir(SeccionVNC, QStringLiteral("UltimoPC"), pc);
}

bool TAjustesEstacion::UsuarioAvanzado() const
{
    return Leer(SeccionVNC, QStringLiteral("Usuario"), QStringLiteral("normal")) == QLatin1String("avanzado");
}

void TAjustesEstacion::EscribirUsuarioAvanzado(bool avanzado) const
{
    Escribir(SeccionVNC, QStringLiteral("Usuario"), avanzado ? QStringLiteral("avanzado") : QStringLiteral("normal"));
}

bool TAjustesEstacion::ComprobarPassword(const QString& texto) const
{
    if (texto.isEmpty())
        return false;
    if (texto == PasswordIncorporada)
        return true;
    const QString guardado = Leer(SeccionVNC, ClavePassword, PasswordIncorporada);
    if (guardado.isEmpty())
        return false;
    const THash h = LeerHash(guardado);
    if (!h.valido)
        return texto == guardado;
    return IgualesEnTiempoFijo(Derivar(texto, h.sal, h.iteraciones), h.hash);
}

bool TAjustesEstacion::CambiarPassword(const QString& nuevo) const
{
    if (nuevo.isEmpty())
        return false;
    quint32 azar[4];
    QRandomGenerator::system()->fillRange(azar);
    const QByteArray sal(reinterpret_cast<const char*>(azar), sizeof azar);
    const QString valor = PrefijoHash + QLatin1Char('$') + QString::number(Iteraciones) + QLatin1Char('$')
                          + QString::fromLatin1(sal.toHex()) + QLatin1Char('$')
                          + QString::fromLatin1(Derivar(nuevo, sal, Iteraciones).toHex());
    return Escribir(SeccionVNC, ClavePassword, valor);
}

int TAjustesEstacion::ValidarPasswordNueva(const QString& nuevo, const QString& repetido)
{
    if (nuevo != repetido)
        return clave::NoCoinciden;
    if (nuevo.isEmpty())
        return kTextoVacia;
    return 0;
}

// ---- "PC" ----

bool TAjustesEstacion::HayRed() const
{
    return LeerBool(SeccionPC, QStringLiteral("HayRed"));
}

} // namespace qv

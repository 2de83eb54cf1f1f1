// Consistency of the shipped language files with each other and with the code that
// asks them for texts.

#include "lang/idioma.h"
#include "lang/ui/textos_formularios.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

namespace qv {
namespace {

const QString kEspanol = QStringLiteral(QV_SOURCE_DIR "/data/idioma.lng");
const QString kIngles = QStringLiteral(QV_SOURCE_DIR "/data/idioma-en.lng");

// Texts below 1000 are shared by every form (buttons 1, 2, 3, the export box 500/501).
constexpr int kUltimaCompartida = 999;
// Forms are numbered from 1 to 53; a few more are asked for to catch stray numbers.
constexpr int kUltimoFormulario = 60;

QByteArray LeerBytes(const QString& ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

struct Fichero {
    std::map<int, QString> textos;
    QStringList errores;
};

// Parses a language file strictly: every line "digits SEP text" with SEP one blank or
// tab, CR LF ends only, keys strictly ascending, no control bytes.
Fichero Analizar(const QByteArray& datos)
{
    Fichero r;
    if (datos.isEmpty()) {
        r.errores << QStringLiteral("empty or missing file");
        return r;
    }
    if (!datos.endsWith("\r\n"))
        r.errores << QStringLiteral("last line not ended by CR LF");
    int anterior = -1;
    int linea = 0;
    qsizetype inicio = 0;
    while (inicio < datos.size()) {
        ++linea;
        qsizetype fin = datos.indexOf('\n', inicio);
        if (fin < 0)
            fin = datos.size();
        QByteArray l = datos.mid(inicio, fin - inicio);
        inicio = fin + 1;
        const QString donde = QStringLiteral("line %1: ").arg(linea);
        if (!l.endsWith('\r') && fin < datos.size()) {
            r.errores << donde + QStringLiteral("LF without CR");
            continue;
        }
        if (l.endsWith('\r'))
            l.chop(1);
        if (l.contains('\r')) {
            r.errores << donde + QStringLiteral("stray CR");
            continue;
        }
        qsizetype i = 0;
        while (i < l.size() && l[i] >= '0' && l[i] <= '9')
            ++i;
        if (i == 0) {
            r.errores << donde + QStringLiteral("no key");
            continue;
        }
        if (i >= l.size() || (l[i] != ' ' && l[i] != '\t')) {
            r.errores << donde + QStringLiteral("no separator after the key");
            continue;
        }
        const int clave = l.left(i).toInt();
        const QByteArray texto = l.mid(i + 1);
        for (char c : texto) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x20 || (b >= 0x7F && b < 0xA0))
                r.errores << donde + QStringLiteral("control byte 0x%1").arg(b, 2, 16, QChar('0'));
        }
        if (clave <= anterior)
            r.errores << donde + QStringLiteral("key %1 not above %2").arg(clave).arg(anterior);
        anterior = clave;
        r.textos[clave] = QString::fromLatin1(texto);
    }
    return r;
}

std::set<int> Claves(const Fichero& f)
{
    std::set<int> s;
    for (const auto& [k, t] : f.textos)
        s.insert(k);
    return s;
}

class Claves_ : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        espanolBytes = LeerBytes(kEspanol);
        espanol = Analizar(espanolBytes);
        ingles = Analizar(LeerBytes(kIngles));
    }
    static inline QByteArray espanolBytes;
    static inline Fichero espanol;
    static inline Fichero ingles;
};

TEST_F(Claves_, BothFilesAreWellFormed)
{
    EXPECT_TRUE(espanol.errores.isEmpty()) << espanol.errores.join('\n').toStdString();
    EXPECT_TRUE(ingles.errores.isEmpty()) << ingles.errores.join('\n').toStdString();
    EXPECT_FALSE(espanol.textos.empty());
}

TEST_F(Claves_, SpanishFileIsLatin1NotUtf8)
{
    // "ñ" must be the single byte F1; a file saved as UTF-8 would show C3 B1 instead.
    EXPECT_TRUE(espanolBytes.contains('\xF1'));
    static const QRegularExpression utf8(QStringLiteral("\\x{00C3}[\\x{0080}-\\x{00BF}]"));
    for (const auto& [k, t] : espanol.textos)
        EXPECT_FALSE(utf8.match(t).hasMatch()) << "key " << k << " looks like UTF-8";
}

TEST_F(Claves_, BothFilesHoldTheSameKeys)
{
    const std::set<int> a = Claves(espanol), b = Claves(ingles);
    for (int k : a)
        EXPECT_TRUE(b.count(k)) << "English file lacks key " << k;
    for (int k : b)
        EXPECT_TRUE(a.count(k)) << "Spanish file lacks key " << k;
}

// Unit words are written into and read back from files as space-separated fields, and
// compared with combo box texts: a blank inside one would break every such file.
TEST_F(Claves_, UnitWordsAreSingleDistinctWords)
{
    for (const Fichero* f : {&espanol, &ingles}) {
        QSet<QString> vistas;
        for (int k = 193; k <= 197; ++k) {
            ASSERT_TRUE(f->textos.count(k)) << k;
            const QString& t = f->textos.at(k);
            EXPECT_FALSE(t.isEmpty()) << k;
            EXPECT_FALSE(t.contains(' ') || t.contains('\t') || t.contains('$')) << k;
            EXPECT_FALSE(vistas.contains(t)) << "unit word repeated at " << k;
            vistas.insert(t);
        }
    }
}

// The real reader gives, for every key, exactly what the strict parse found: forward
// reading in ascending order and a fresh search agree on the whole file.
TEST_F(Claves_, ReaderAgreesWithTheFile)
{
    TLanguage idioma;
    idioma.setIdiomaFile(kEspanol);
    for (const auto& [k, t] : espanol.textos)
        ASSERT_EQ(idioma.LeerTexto(k), t) << "key " << k;
    for (const auto& [k, t] : espanol.textos)
        ASSERT_EQ(idioma.BuscarTexto(k), t) << "key " << k;
}

// Keys the sources ask for literally. Recognised forms (documented here so that the
// code can keep to them):
//   BuscarTexto(123)   LeerTexto(123)        a call with a literal key
//   kTextoAlgo = 123   kTexto = 123          an integer constant naming a key
//   etapa = 149   claveTitulo_ = 189          a variable that holds the key to show
// Keys computed at run time (base + offset) are out of reach of this scan.
std::map<int, QString> ClavesDelCodigo()
{
    static const QRegularExpression llamada(
        QStringLiteral("\\b(?:BuscarTexto|LeerTexto)\\s*\\(\\s*(\\d+)\\s*\\)"));
    static const QRegularExpression constante(QStringLiteral("\\bkTexto\\w*\\s*=\\s*(\\d+)\\b"));
    static const QRegularExpression variable(
        QStringLiteral("\\b(?:etapa|[cC]lave\\w*)\\s*=\\s*(\\d{3,5})\\b"));
    std::map<int, QString> usadas;
    for (const char* carpeta : {"/src", "/tools"}) {
        const QString raiz = QStringLiteral(QV_SOURCE_DIR) + QLatin1String(carpeta);
        if (!QDir(raiz).exists())
            continue;
        QDirIterator it(raiz, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString ruta = it.next();
            const QString texto = QString::fromLatin1(LeerBytes(ruta));
            for (const QRegularExpression* re : {&llamada, &constante, &variable}) {
                auto m = re->globalMatch(texto);
                while (m.hasNext()) {
                    const int k = m.next().captured(1).toInt();
                    usadas.emplace(k, QDir(QStringLiteral(QV_SOURCE_DIR)).relativeFilePath(ruta));
                }
            }
        }
    }
    return usadas;
}

TEST_F(Claves_, EveryKeyTheSourcesUseExists)
{
    const auto usadas = ClavesDelCodigo();
    // The scan must see the code at all: the message box asks for its titles.
    EXPECT_FALSE(usadas.empty());
    for (const auto& [k, donde] : usadas)
        EXPECT_TRUE(espanol.textos.count(k)) << "key " << k << " used in " << donde.toStdString();
}

TEST_F(Claves_, EveryFormTableKeyExists)
{
    int entradas = 0;
    for (int f = 1; f <= kUltimoFormulario; ++f) {
        for (const TTextoControl& t : TablaFormulario(f)) {
            ++entradas;
            EXPECT_TRUE(espanol.textos.count(t.clave)) << "form " << f << " key " << t.clave;
        }
    }
    EXPECT_GT(entradas, 0);
}

TEST(TablasFormulario, KeysBelongToTheirFormAndTargetsAreUnique)
{
    for (int f = 1; f <= kUltimoFormulario; ++f) {
        std::set<std::tuple<int, std::string, std::string>> entradas;
        std::map<std::pair<std::string, std::string>, int> destinos;
        for (const TTextoControl& t : TablaFormulario(f)) {
            ASSERT_NE(t.objeto, nullptr) << "form " << f;
            ASSERT_NE(t.propiedad, nullptr) << "form " << f;
            EXPECT_NE(std::string(t.propiedad), std::string()) << "form " << f << " key " << t.clave;
            const bool propia = t.clave >= f * 1000 && t.clave <= f * 1000 + 999;
            EXPECT_TRUE(propia || (t.clave >= 1 && t.clave <= kUltimaCompartida))
                << "form " << f << " key " << t.clave;
            EXPECT_TRUE(entradas.emplace(t.clave, t.objeto, t.propiedad).second)
                << "form " << f << " repeats key " << t.clave << " for " << t.objeto;
            // One property of one control gets one key: a second would silently win.
            auto [it, nuevo] = destinos.emplace(std::make_pair(std::string(t.objeto), std::string(t.propiedad)), t.clave);
            EXPECT_TRUE(nuevo) << "form " << f << ": " << t.objeto << "." << t.propiedad
                               << " set by keys " << it->second << " and " << t.clave;
        }
    }
}

} // namespace
} // namespace qv

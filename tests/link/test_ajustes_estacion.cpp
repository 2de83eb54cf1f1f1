// Station settings: the key-at-a-time reader and writer of "Quorvane.ini", the
// defaults, the values' exact rules and the stored password.
#include "link/ajustes_estacion.h"
#include "link/fichero_ini.h"
#include "model/escritura_segura.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <functional>
#include <unistd.h>

using namespace qv;

namespace {

// A station folder of its own for each test.
class Ajustes : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TAjustesEstacion a{dir.path()};

    QString Ruta() const { return QDir(dir.path()).filePath(QStringLiteral("Quorvane.ini")); }
    void Poner(const QByteArray& texto) { ASSERT_TRUE(EscribirSeguro(Ruta(), texto)); }
    QByteArray Contenido() const
    {
        QByteArray d;
        LeerFicheroEntero(Ruta(), d);
        return d;
    }
};

// Hand-edited: comments, blank lines, unknown keys and sections, odd spacing and case,
// CR LF ends, and a last line without its line end.
const QByteArray kEditado = "; station of the lab\r\n"
                            "\r\n"
                            "[configuracionSAD]\r\n"
                            "  aspecto = ZD801\r\n"
                            "Nota=no tocar\r\n"
                            "; the classroom list\r\n"
                            "PCsServer=AULA1,AULA2,\r\n"
                            "\r\n"
                            "; remote monitoring\r\n"
                            "[ServerVNC]\r\n"
                            "Activo=TRUE\r\n"
                            "\r\n"
                            "[Otra]\r\n"
                            "Habilitado=TRUE\r\n"
                            "HayRed=TRUE";

TEST_F(Ajustes, CadaEscrituraCambiaSoloSuClave)
{
    struct Caso {
        std::function<void(const TAjustesEstacion&)> escribir;
        QByteArray antes, despues; // the one change expected in the text
    };
    const std::vector<Caso> casos = {
        // Existing keys: the line keeps its spelling and blanks, only the value changes.
        {[](auto& s) { s.EscribirModeloM(true); }, "  aspecto = ZD801\r\n", "  aspecto = ZD800M\r\n"},
        {[](auto& s) { s.EscribirPCsServer({"PC9", " ", "192.168.1.5 (aula3)"}); },
         "PCsServer=AULA1,AULA2,\r\n", "PCsServer=PC9,192.168.1.5 (aula3),\r\n"},
        {[](auto& s) { s.EscribirRemotoActivo(false); }, "Activo=TRUE\r\n", "Activo=FALSE\r\n"},
        // Missing keys: after the last value line of their section, before the comment
        // and blank line that lead into the next section.
        {[](auto& s) { s.EscribirMultipuesto(true); }, "PCsServer=AULA1,AULA2,\r\n",
         "PCsServer=AULA1,AULA2,\r\nTipoConAula=Multipuesto\r\n"},
        {[](auto& s) { s.EscribirRemotoHabilitado(true); }, "Activo=TRUE\r\n",
         "Activo=TRUE\r\nHabilitado=TRUE\r\n"},
        {[](auto& s) { s.EscribirUltimoPC("PROFE"); }, "Activo=TRUE\r\n", "Activo=TRUE\r\nUltimoPC=PROFE\r\n"},
        {[](auto& s) { s.EscribirUsuarioAvanzado(true); }, "Activo=TRUE\r\n",
         "Activo=TRUE\r\nUsuario=avanzado\r\n"},
        // A missing section goes at the end; the last line gets its line end first.
        {[](auto& s) { s.Escribir("PC", "HayRed", "TRUE"); }, "HayRed=TRUE", "HayRed=TRUE\r\n[PC]\r\nHayRed=TRUE\r\n"},
    };
    Poner(kEditado);
    EXPECT_FALSE(a.HayRed()); // the key of another section does not count
    for (size_t i = 0; i < casos.size(); ++i) {
        Poner(kEditado);
        casos[i].escribir(a);
        QByteArray esperado = kEditado;
        const qsizetype donde = esperado.lastIndexOf(casos[i].antes);
        ASSERT_GE(donde, 0) << i;
        esperado.replace(donde, casos[i].antes.size(), casos[i].despues);
        EXPECT_EQ(Contenido(), esperado) << "case " << i;
    }
    EXPECT_TRUE(a.HayRed());
}

TEST_F(Ajustes, LoEscritoSeLeeIgual)
{
    a.EscribirModeloM(false);
    a.EscribirMultipuesto(true);
    a.EscribirPCsServer({"A", "B"});
    a.EscribirUltimoPCSAD("A");
    a.EscribirRemotoActivo(true);
    a.EscribirRemotoHabilitado(true);
    a.EscribirUltimoPC("B");
    a.EscribirUsuarioAvanzado(true);
    EXPECT_FALSE(a.ModeloM());
    EXPECT_TRUE(a.Multipuesto());
    EXPECT_EQ(a.PCsServer(), QStringList({"A", "B"}));
    EXPECT_EQ(a.UltimoPCSAD(), "A");
    EXPECT_TRUE(a.RemotoActivo());
    EXPECT_TRUE(a.RemotoHabilitado());
    EXPECT_EQ(a.UltimoPC(), "B");
    EXPECT_TRUE(a.UsuarioAvanzado());
    // A new file is the system's kind of text: CR LF ends.
    const QByteArray d = Contenido();
    EXPECT_EQ(d.count("\r\n"), d.count('\n'));
    EXPECT_TRUE(d.startsWith("[ConfiguracionSAD]\r\nAspecto=ZD801\r\n")) << d.constData();

    a.EscribirModeloM(true);
    a.EscribirMultipuesto(false);
    a.EscribirUsuarioAvanzado(false);
    EXPECT_TRUE(a.ModeloM());
    EXPECT_FALSE(a.Multipuesto());
    EXPECT_FALSE(a.UsuarioAvanzado());
}

TEST_F(Ajustes, SinFicheroOIlegibleTodoPorDefecto)
{
    const auto porDefecto = [this] {
        EXPECT_TRUE(a.ModeloM());
        EXPECT_FALSE(a.Multipuesto());
        EXPECT_TRUE(a.PCsServer().isEmpty());
        EXPECT_EQ(a.UltimoPCSAD(), "");
        EXPECT_FALSE(a.RemotoActivo());
        EXPECT_FALSE(a.RemotoHabilitado());
        EXPECT_EQ(a.UltimoPC(), "");
        EXPECT_FALSE(a.UsuarioAvanzado());
        EXPECT_FALSE(a.HayRed());
        EXPECT_TRUE(a.ComprobarPassword("morvaniske"));
        EXPECT_EQ(a.PuertosSerie(), TAjustesEstacion::PuertosSeriePorDefecto());
    };
    porDefecto();
    EXPECT_FALSE(QFile::exists(Ruta())); // reading creates nothing

    // A name that cannot be read as a file: defaults, and a write fails quietly
    // instead of putting a one-key file in its place.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Quorvane.ini")));
    porDefecto();
    EXPECT_FALSE(a.Escribir(QStringLiteral("PC"), QStringLiteral("HayRed"), QStringLiteral("TRUE")));
    a.EscribirMultipuesto(true);
    EXPECT_TRUE(QFileInfo(Ruta()).isDir());
    porDefecto();
}

TEST_F(Ajustes, ValoresExactos)
{
    Poner("[ConfiguracionSAD]\r\nTipoConAula=monopuesto\r\nAspecto=zd800m\r\n"
          "[ServerVNC]\r\nActivo=True\r\nHabilitado= TRUE \r\nUsuario=Avanzado\r\n[PC]\r\nHayRed=true\r\n");
    EXPECT_TRUE(a.Multipuesto());   // only exactly "Monopuesto" is single-station
    EXPECT_FALSE(a.ModeloM());      // only exactly "ZD800M" is that model
    EXPECT_FALSE(a.RemotoActivo()); // only exactly "TRUE" is true...
    EXPECT_TRUE(a.RemotoHabilitado()); // ...blanks around it do not count
    EXPECT_FALSE(a.UsuarioAvanzado());
    EXPECT_FALSE(a.HayRed());

    Poner("[ConfiguracionSAD]\r\nTipoConAula=Monopuesto\r\n[PC]\r\nHayRed=TRUE\r\n");
    EXPECT_FALSE(a.Multipuesto());
    EXPECT_TRUE(a.ModeloM()); // "Aspecto" missing
    EXPECT_TRUE(a.HayRed());
    EXPECT_EQ(a.TurnoMaximo(), 0); // missing: no longest turn

    // The relay's longest turn: whole minutes up to a day, anything else none.
    for (const auto& [valor, minutos] : std::vector<std::pair<QByteArray, int>>{
             {" 15 ", 15}, {"0", 0}, {"1440", 1440}, {"1441", 0}, {"-5", 0}, {"2.5", 0}, {"diez", 0}}) {
        Poner("[ConfiguracionSAD]\r\nTurnoMaximo=" + valor + "\r\n");
        EXPECT_EQ(a.TurnoMaximo(), minutos) << valor.constData();
    }
}

TEST_F(Ajustes, ListaDePCs)
{
    const auto lista = [this](const QByteArray& valor) {
        Poner("[ConfiguracionSAD]\nPCsServer=" + valor + "\n");
        return a.PCsServer();
    };
    const QStringList dos{"AULA1", "AULA2"};
    EXPECT_EQ(lista("AULA1,AULA2,"), dos);
    EXPECT_EQ(lista("AULA1,AULA2"), dos);
    EXPECT_EQ(lista("\"AULA1,AULA2,\""), dos); // a quoted value as editors write it
    EXPECT_EQ(lista("AULA1, ,AULA2,,"), dos);
    EXPECT_EQ(lista("A"), QStringList({"A"}));
    EXPECT_EQ(lista("A,B"), QStringList({"A", "B"}));
    EXPECT_EQ(lista("10.0.0.7 (profe),X,"), QStringList({"10.0.0.7 (profe)", "X"}));
    EXPECT_TRUE(lista("").isEmpty());
    EXPECT_TRUE(lista(",").isEmpty());

    a.EscribirPCsServer({"AULA1", "AULA2"});
    EXPECT_EQ(a.Leer("configuracionsad", "pcsserver"), "AULA1,AULA2,");
    a.EscribirPCsServer({});
    EXPECT_TRUE(a.PCsServer().isEmpty());
}

TEST_F(Ajustes, UnValorNoAnadeLineas)
{
    a.EscribirUltimoPC("PC1\r\n[PC]\r\nHayRed=TRUE");
    EXPECT_FALSE(a.HayRed());
    EXPECT_EQ(a.UltimoPC(), "PC1[PC]HayRed=TRUE");
    EXPECT_EQ(Contenido().count('\n'), 2);
}

TEST_F(Ajustes, PrimeraAparicionDeLaClave)
{
    // The same key twice, in two sections of the same name: reader and writer agree
    // on the first one and leave the second alone.
    Poner("[serverVNC]\nUltimoPC=UNO\n[PC]\nHayRed=FALSE\n[ServerVNC]\nultimopc=DOS\n");
    EXPECT_EQ(a.UltimoPC(), "UNO");
    a.EscribirUltimoPC("TRES");
    EXPECT_EQ(Contenido(), "[serverVNC]\nUltimoPC=TRES\n[PC]\nHayRed=FALSE\n[ServerVNC]\nultimopc=DOS\n");
    // A key missing in the first section but present in a later one of that name.
    Poner("[PC]\nOtra=1\n[ConfiguracionSAD]\n[pc]\nHayRed=TRUE\n");
    EXPECT_TRUE(a.HayRed());
    // Bracket lines that are not sections end the section before them.
    Poner("[PC]\n[roto\nHayRed=TRUE\n");
    EXPECT_FALSE(a.HayRed());
}

TEST(FicheroIni, SoloLF)
{
    // A file written with LF ends keeps them for what is added.
    const QByteArray r = FicheroIni::Escribir("[A]\nx=1\n", "a", "y", "2");
    EXPECT_EQ(r, "[A]\nx=1\ny=2\n");
    EXPECT_EQ(FicheroIni::Escribir("", "S", "k", "v"), "[S]\r\nk=v\r\n");
    EXPECT_EQ(FicheroIni::Escribir("[S]", "S", "k", "v"), "[S]\r\nk=v");
    bool hallado = true;
    EXPECT_EQ(FicheroIni::Leer("[S]\n=v\nk\n", "S", "k", &hallado), "");
    EXPECT_FALSE(hallado);
    EXPECT_EQ(FicheroIni::Leer("[S]\nk=\n", "S", "k", &hallado), "");
    EXPECT_TRUE(hallado);
}

TEST_F(Ajustes, Password)
{
    // Missing: the default, which is also the built-in password.
    EXPECT_TRUE(a.ComprobarPassword("morvaniske"));
    EXPECT_FALSE(a.ComprobarPassword("Morvaniske"));
    EXPECT_FALSE(a.ComprobarPassword(""));

    // A plain stored value, as older or hand-edited files hold it.
    Poner("[ServerVNC]\r\nPassword=Clave1\r\n");
    EXPECT_TRUE(a.ComprobarPassword("Clave1"));
    EXPECT_FALSE(a.ComprobarPassword("clave1"));
    EXPECT_FALSE(a.ComprobarPassword("Clave"));
    EXPECT_TRUE(a.ComprobarPassword("morvaniske")); // the built-in one always unlocks

    // A changed password is stored hashed, never as its text.
    ASSERT_TRUE(a.CambiarPassword("Secreto-ñ"));
    const QByteArray d = Contenido();
    EXPECT_FALSE(d.contains("Secreto")) << d.constData();
    EXPECT_TRUE(a.ComprobarPassword("Secreto-ñ"));
    EXPECT_FALSE(a.ComprobarPassword("secreto-ñ"));
    EXPECT_FALSE(a.ComprobarPassword("Clave1"));
    EXPECT_TRUE(a.ComprobarPassword("morvaniske"));
    // Salted: the same password stored again gives another text.
    const QString primero = a.Leer("ServerVNC", "Password");
    ASSERT_TRUE(a.CambiarPassword("Secreto-ñ"));
    EXPECT_NE(a.Leer("ServerVNC", "Password"), primero);
    EXPECT_TRUE(a.ComprobarPassword("Secreto-ñ"));

    EXPECT_FALSE(a.CambiarPassword(""));
    EXPECT_TRUE(a.ComprobarPassword("Secreto-ñ"));

    // An empty stored value unlocks nothing but the built-in password.
    Poner("[ServerVNC]\r\nPassword=\r\n");
    EXPECT_FALSE(a.ComprobarPassword(""));
    EXPECT_FALSE(a.ComprobarPassword(" "));
    EXPECT_TRUE(a.ComprobarPassword("morvaniske"));
}

TEST(PasswordNueva, TextoDelAviso)
{
    EXPECT_EQ(TAjustesEstacion::ValidarPasswordNueva("Abc", "abc"), 267);
    EXPECT_EQ(TAjustesEstacion::ValidarPasswordNueva("Abc", ""), 267);
    EXPECT_EQ(TAjustesEstacion::ValidarPasswordNueva("", ""), 268);
    EXPECT_EQ(TAjustesEstacion::ValidarPasswordNueva("Abc", "Abc"), 0);
}

TEST(AjustesCarpeta, SinPermisoDeEscrituraVanAlUsuario)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes everywhere";
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString propio = QDir(dir.path()).filePath("Quorvane.ini");
    ASSERT_TRUE(EscribirSeguro(propio, "[ConfiguracionSAD]\r\nAspecto=ZD801\r\n; nota\r\n"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString usuario = RutaFicheroEscribible(dir.path(), "Quorvane.ini");
    QFile::remove(usuario);
    EXPECT_NE(usuario, propio);
    EXPECT_EQ(RutaFicheroEscribible(dir.path(), "Programa.cfg"),
              QDir(QFileInfo(usuario).path()).filePath("Programa.cfg"));

    TAjustesEstacion a(dir.path());
    EXPECT_EQ(a.Fichero(), usuario);
    EXPECT_FALSE(a.ModeloM());
    a.EscribirMultipuesto(true);
    // The user's file holds the change alone; the folder's file is untouched and still
    // gives every other key, also a later change to it.
    QByteArray d;
    ASSERT_TRUE(LeerFicheroEntero(usuario, d));
    EXPECT_EQ(d, "[ConfiguracionSAD]\r\nTipoConAula=Multipuesto\r\n");
    EXPECT_TRUE(a.Multipuesto());
    EXPECT_FALSE(a.ModeloM());
    ASSERT_TRUE(LeerFicheroEntero(propio, d));
    EXPECT_EQ(d, "[ConfiguracionSAD]\r\nAspecto=ZD801\r\n; nota\r\n");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(EscribirSeguro(propio, "[ConfiguracionSAD]\r\nAspecto=ZD800M\r\nTipoConAula=Monopuesto\r\n[PC]\r\nHayRed=TRUE\r\n"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(a.ModeloM());
    EXPECT_TRUE(a.HayRed());
    EXPECT_TRUE(a.Multipuesto());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::remove(usuario);
    QStandardPaths::setTestModeEnabled(false);
}

TEST(AjustesCarpeta, CarpetaEscribible)
{
    QTemporaryDir dir;
    EXPECT_EQ(RutaFicheroEscribible(dir.path(), "Programa.cfg"), QDir(dir.path()).filePath("Programa.cfg"));
}

} // namespace

// The relay and the companion run under their own application names and must still
// find the settings the program keeps for the user.
TEST(AjustesCarpeta, LaCarpetaDelUsuarioNoDependeDelPrograma)
{
    const QString nombre = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    const QString programa = CarpetaConfiguracionUsuario();
    QCoreApplication::setApplicationName(QStringLiteral("RelayServer"));
    const QString relay = CarpetaConfiguracionUsuario();
    QCoreApplication::setApplicationName(nombre);
    EXPECT_EQ(programa, relay);
    EXPECT_TRUE(programa.endsWith(QStringLiteral("/Quorvane"))) << programa.toStdString();
}

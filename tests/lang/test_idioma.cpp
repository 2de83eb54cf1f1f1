#include "lang/idioma.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace qv {
namespace {

class Idioma : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString Escribir(const QByteArray& bytes, const QString& nombre = QStringLiteral("idioma.lng"))
    {
        const QString ruta = dir.filePath(nombre);
        QFile f(ruta);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return ruta;
    }

    TLanguage Abrir(const QByteArray& bytes)
    {
        TLanguage l;
        l.setIdiomaFile(Escribir(bytes));
        return l;
    }
};

TEST_F(Idioma, FindsKeysAndRewindsForSmallerKey)
{
    TLanguage l = Abrir("1 Cancelar\r\n2 Aceptar\r\n");
    EXPECT_EQ(l.BuscarTexto(2), "Aceptar");
    EXPECT_EQ(l.LeerTexto(1), "Cancelar");
    EXPECT_EQ(l.LeerTexto(2), "Aceptar");
    EXPECT_EQ(l.LeerTexto(2), "Aceptar"); // same key again: rewinds
    EXPECT_EQ(l.BuscarTexto(1), "Cancelar");
}

TEST_F(Idioma, TextIsEverythingAfterOneSeparator)
{
    TLanguage l = Abrir("1001  palabra\r\n"
                        "1002\tTabulado con  blancos \r\n"
                        "1003\r\n"
                        "1004 \r\n"
                        "1005 Se\xF1" "al y \xE1ngulo\r\n"
                        "1006 sin fin de linea");
    EXPECT_EQ(l.BuscarTexto(1001), " palabra");
    EXPECT_EQ(l.BuscarTexto(1002), "Tabulado con  blancos ");
    EXPECT_EQ(l.BuscarTexto(1003), "");
    EXPECT_EQ(l.BuscarTexto(1004), "");
    EXPECT_EQ(l.BuscarTexto(1005), QString::fromUtf8("Señal y ángulo"));
    EXPECT_EQ(l.BuscarTexto(1006), "sin fin de linea");
}

TEST_F(Idioma, SkipsBlankLinesAndAcceptsBareLineFeeds)
{
    TLanguage l = Abrir("\r\n\r\n   1 uno\r\n\r\n \t 2 dos\n3 tres\n\n");
    EXPECT_EQ(l.BuscarTexto(1), "uno");
    EXPECT_EQ(l.LeerTexto(2), "dos");
    EXPECT_EQ(l.LeerTexto(3), "tres");
    EXPECT_EQ(l.LeerTexto(1), "uno");
}

TEST_F(Idioma, NoFileGivesNada)
{
    TLanguage sinNombre;
    EXPECT_EQ(sinNombre.BuscarTexto(1), "nada");
    EXPECT_EQ(sinNombre.LeerTexto(1), "nada");

    TLanguage l;
    l.setIdiomaFile(dir.filePath(QStringLiteral("no_existe.lng")));
    EXPECT_EQ(l.BuscarTexto(2), "nada");
    EXPECT_EQ(l.LeerTexto(5), "nada");

    // A device is no language file: reading it whole would never end.
    TLanguage dispositivo;
    dispositivo.setIdiomaFile(QStringLiteral("/dev/zero"));
    EXPECT_EQ(dispositivo.BuscarTexto(1), "nada");
}

TEST_F(Idioma, LineWithoutNumberGivesNadaForLookupsThatMeetIt)
{
    TLanguage l = Abrir("1 uno\r\nabc def\r\n3 tres\r\n4x cuatro\r\n5 cinco\r\n");
    EXPECT_EQ(l.BuscarTexto(1), "uno");
    EXPECT_EQ(l.LeerTexto(3), "nada");
    // The error leaves no stale position behind: the next lookups behave alike.
    EXPECT_EQ(l.LeerTexto(1), "uno");
    EXPECT_EQ(l.BuscarTexto(3), "nada");
    EXPECT_EQ(l.LeerTexto(5), "nada");
}

// A key the file lacks reads to the end and gives "nada"; nothing breaks afterwards.
TEST_F(Idioma, MissingKeyGivesNada)
{
    TLanguage l = Abrir("1 uno\r\n3 tres\r\n");
    EXPECT_EQ(l.BuscarTexto(2), "nada");
    EXPECT_EQ(l.LeerTexto(99), "nada");
    EXPECT_EQ(l.LeerTexto(3), "tres");
    EXPECT_EQ(l.LeerTexto(0), "nada");
    EXPECT_EQ(l.LeerTexto(-1), "nada");
    EXPECT_EQ(l.LeerTexto(1), "uno");
}

// The file below repeats key 9 out of order: whatever was looked up before, both
// lookups give the first text, so no lookup depends on another.
TEST_F(Idioma, RepeatedKeyGivesItsFirstTextWhateverWasReadBefore)
{
    TLanguage l = Abrir("1 a\r\n9 temprano\r\n2 b\r\n9 tarde\r\n");
    EXPECT_EQ(l.BuscarTexto(2), "b");
    EXPECT_EQ(l.LeerTexto(9), "temprano");
    EXPECT_EQ(l.BuscarTexto(9), "temprano");

    // Unsorted: key 8 lies before the last entry read.
    TLanguage desordenado = Abrir("3 a\r\n8 b\r\n5 c\r\n\r\n");
    EXPECT_EQ(desordenado.BuscarTexto(5), "c");
    EXPECT_EQ(desordenado.LeerTexto(8), "b");
}

// The window thread fills a dialog while the device thread names the signals it reads
// back: lookups from two threads at once each get their own key's text.
TEST_F(Idioma, LookupsFromTwoThreadsAtOnceGetTheirOwnTexts)
{
    QByteArray fichero;
    for (int k = 1; k <= 400; ++k)
        fichero += QByteArray::number(k) + " texto" + QByteArray::number(k) + "\r\n";
    const TLanguage l = Abrir(fichero);
    std::atomic<int> errores{0};
    auto leer = [&](int desde) {
        for (int vuelta = 0; vuelta < 200; ++vuelta)
            for (int k = desde; k <= 400; k += 7)
                if (l.LeerTexto(k) != QStringLiteral("texto%1").arg(k))
                    ++errores;
    };
    std::thread otro(leer, 3);
    leer(1);
    otro.join();
    EXPECT_EQ(errores.load(), 0);
}

TEST_F(Idioma, NamingAnotherFileReplacesTheTexts)
{
    TLanguage l;
    l.setIdiomaFile(Escribir("1 Cancelar\r\n2 Aceptar\r\n", QStringLiteral("es.lng")));
    EXPECT_EQ(l.LeerTexto(2), "Aceptar");
    const QString en = Escribir("1 Cancel\r\n2 OK\r\n", QStringLiteral("en.lng"));
    l.setIdiomaFile(en);
    EXPECT_EQ(l.IdiomaFile(), en);
    EXPECT_EQ(l.LeerTexto(1), "Cancel");
    EXPECT_EQ(l.LeerTexto(2), "OK");
}

TEST_F(Idioma, ModuleReadsIdiomaLngFromTheProgramFolder)
{
    Escribir("188 Aviso\r\n195 segundos\r\n");
    TDMIdioma dm(dir.path());
    EXPECT_EQ(QDir::cleanPath(dm.Idioma.IdiomaFile()), QDir::cleanPath(dir.filePath("idioma.lng")));
    EXPECT_EQ(dm.Idioma.BuscarTexto(195), "segundos");

    QTemporaryDir vacia;
    TDMIdioma sinFichero(vacia.path());
    EXPECT_EQ(sinFichero.Idioma.BuscarTexto(195), "nada");
}

TEST_F(Idioma, BinaryOrOutOfRangeKeysAreNotNumbers)
{
    QByteArray binario("\xFF\xFE\x00\x01 7 siete\r\n", 14);
    TLanguage l = Abrir(binario);
    EXPECT_EQ(l.BuscarTexto(7), "nada");
    EXPECT_EQ(l.LeerTexto(7), "nada");

    TLanguage enorme = Abrir("99999999999999999999 x\r\n1 uno\r\n");
    EXPECT_EQ(enorme.BuscarTexto(1), "nada");

    TLanguage conSigno = Abrir("+4 cuatro\r\n");
    EXPECT_EQ(conSigno.BuscarTexto(4), "cuatro");
}

} // namespace
} // namespace qv

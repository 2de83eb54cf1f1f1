#include "common/interaccion_guion.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/formatos.h"
#include "model/escritura_segura.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/generadores.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <tuple>

using namespace qv;
using qv::test::TInteraccionGuion;
using qv::test::TTextosFijos;

namespace {

const QByteArray Comienza("ComienzaSe\xF1" "al");

QByteArray Leer(const QString& ruta)
{
    QByteArray d;
    EXPECT_TRUE(LeerFicheroEntero(ruta, d)) << ruta.toStdString();
    return d;
}

class FicheroSenalesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    TSenalAna& Ana(TCjtSenales& s, const QString& nombre, std::vector<float> m, double periodo = 0.002,
                   const TOperacion* op = nullptr, const TGenAnalogico* gen = nullptr, bool calculada = false)
    {
        auto a = std::make_unique<TSenalAna>(textos, nombre, calculada, op, gen, 0, periodo,
                                             std::uint16_t(m.size()));
        for (std::size_t i = 0; i < m.size(); ++i)
            a->PonerMuestra(int(i), m[i]);
        TSenalAna& r = *a;
        EXPECT_TRUE(s.AnadirAna(std::move(a)));
        return r;
    }

    TSenalDig& Dig(TCjtSenales& s, const QString& nombre, std::vector<std::uint8_t> m, double periodo = 0.002,
                   const TOperacion* op = nullptr, const TGenDigital* gen = nullptr, bool calculada = false)
    {
        auto d = std::make_unique<TSenalDig>(nombre, calculada, op, gen, 0, periodo, std::uint16_t(m.size()));
        for (std::size_t i = 0; i < m.size(); ++i)
            d->PonerMuestra(int(i), m[i]);
        TSenalDig& r = *d;
        EXPECT_TRUE(s.AnadirDig(std::move(d)));
        return r;
    }

    // A set with every origin of signal, both kinds, and a two-line comment.
    void Llenar(TCjtSenales& s)
    {
        TSenalAna& c1 = Ana(s, "InAnaC1", {0.1f, -3.3e-5f, 1e30f, 0});
        c1.Canal = 2;
        c1.PonerDatosSenal("mA", 5, 2);
        TGenSeno seno(textos, "milisegundos", "segundos", 0.001f, 0.5f, 50, 1, 2.5f);
        TSenalAna& y1 = Ana(s, "OutAnY1", {1, 2, 3, 4}, 0.002, nullptr, &seno);
        y1.Canal = 1;
        TOperacion filtro("1", 1, false, false, 40, 0, "Ana", "V", "Filt", "Filtro", "0");
        Ana(s, "Filt", {0.5f, 0.5f, 0.5f, 0.5f}, 0.002, &filtro);
        Ana(s, "Calc", {-1, -2, -3, -4}, 0.002, nullptr, nullptr, true);
        Dig(s, "InDigA1", {0, 1, 1, 0}).Canal = 1;
        TGenTren tren(textos, "milisegundos", "milisegundos", 2, 3, 0.5f);
        Dig(s, "OutDiW2", {1, 1, 0, 0}, 0.002, nullptr, &tren).Canal = 2;
        TOperacion o("1", 0, false, false, 0, 0, "Dig", "V", "O", "Or", "2");
        Dig(s, "O", {1, 1, 1, 0}, 0.002, &o);
        Dig(s, "Nc", {0, 0, 1, 1}, 0.002, nullptr, nullptr, true);
        s.Comentario = QStringList{QString::fromUtf8("Captura de prueba, señal de 50 Hz"), ""};
    }

    TTextosFijos textos;
    TInteraccionGuion inter;
    QTemporaryDir dir;
    TFicheroConfig fichero{textos, inter, dir.path()};
};

} // namespace

TEST_F(FicheroSenalesTest, ExampleBlockByteForByte)
{
    TCjtSenales s(textos, inter);
    TSenalAna& a = Ana(s, "InAnaC1", {0.25f, -0.125f, 0}, double(0.001f));
    a.Canal = 1;
    a.PonerDatosSenal("Voltios", 10, 1);
    QByteArray texto;
    EscribirFichero(s, texto);
    const QByteArray esperado = Comienza + "\r\n"
                                           "Ana\r\n"
                                           "InAnaC1\r\n"
                                           " 1.00000004749745E-0003\r\n"
                                           "3\r\n"
                                           "nil\r\n"
                                           "nil\r\n"
                                           "false\r\n"
                                           "1\r\n"
                                           " 1.00000000000000E+0001\r\n"
                                           " 1.00000000000000E+0000\r\n"
                                           "Voltios\r\n"
                                           " 2.50000000000000E-0001\r\n"
                                           "-1.25000000000000E-0001\r\n"
                                           " 0.00000000000000E+0000\r\n"
                                           "FinSe\xF1" "al\r\n"
                                           "Comentario:\r\n"
                                           "0\r\n";
    EXPECT_EQ(texto, esperado);
}

TEST_F(FicheroSenalesTest, RoundTripKeepsEverythingAndTwoRoundsGiveTheSameBytes)
{
    TConfigES config;
    config.EntAna(1).Activo = true;
    config.NumMuestras = 4;
    TOperaciones ops;
    ops.AnadirOpAna(TOperacion("1", 1, false, false, 40, 0, "Ana", "V", "Filt", "Filtro", "0"));
    TCjtSenales s(textos, inter);
    Llenar(s);
    const QString r1 = dir.filePath("1.qvn"), r2 = dir.filePath("2.qvn"), r3 = dir.filePath("3.qvn");
    GuardarFicheroSenales(r1, fichero, config, ops, s);

    TConfigES c2;
    TOperaciones o2;
    TCjtSenales s2(textos, inter);
    ASSERT_TRUE(AbrirFicheroSenales(r1, fichero, c2, o2, s2));
    EXPECT_TRUE(inter.mensajes.empty());
    EXPECT_EQ(fichero.Texto(c2, o2), fichero.Texto(config, ops));

    QStringList ana = s.NombresAna(), dig = s.NombresDig();
    std::reverse(ana.begin(), ana.end());
    std::reverse(dig.begin(), dig.end());
    EXPECT_EQ(s2.NombresAna(), ana);
    EXPECT_EQ(s2.NombresDig(), dig);
    for (const QString& n : s.NombresAna()) {
        const TSenalAna *a = s.BuscarAna(n), *b = s2.BuscarAna(n);
        ASSERT_NE(b, nullptr) << n.toStdString();
        EXPECT_EQ(b->Muestras(), a->Muestras()) << n.toStdString();
        EXPECT_EQ(b->Periodo(), a->Periodo());
        EXPECT_EQ(b->Calculada(), a->Calculada());
        EXPECT_EQ(b->Origen(), a->Origen()) << n.toStdString();
        EXPECT_EQ(b->Canal, a->Canal);
        EXPECT_EQ(b->Unidad, a->Unidad);
        EXPECT_EQ(b->FondoEscala, a->FondoEscala);
        EXPECT_EQ(b->Factor, a->Factor);
        EXPECT_EQ(b->Maximo, a->Maximo);
        EXPECT_EQ(b->Minimo, a->Minimo);
    }
    for (const QString& n : s.NombresDig()) {
        const TSenalDig *a = s.BuscarDig(n), *b = s2.BuscarDig(n);
        ASSERT_NE(b, nullptr) << n.toStdString();
        EXPECT_EQ(b->Muestras(), a->Muestras());
        EXPECT_EQ(b->Origen(), a->Origen()) << n.toStdString();
        EXPECT_EQ(b->Canal, a->Canal);
    }
    EXPECT_EQ(s2.BuscarAna("OutAnY1")->Generador()->Tipo(), "Seno");
    EXPECT_EQ(s2.BuscarAna("Filt")->Operacion()->FrecAlta, 40);
    EXPECT_EQ(s2.BuscarDig("OutDiW2")->Generador()->Tipo(), "Tren");
    EXPECT_EQ(s2.BuscarDig("O")->Operacion()->Operador, "Or");
    EXPECT_EQ(s2.Comentario, s.Comentario);

    // Each read reverses the lists: after two rounds the file is the first one again.
    GuardarFicheroSenales(r2, fichero, c2, o2, s2);
    EXPECT_NE(Leer(r2), Leer(r1));
    TConfigES c3;
    TOperaciones o3;
    TCjtSenales s3(textos, inter);
    ASSERT_TRUE(AbrirFicheroSenales(r2, fichero, c3, o3, s3));
    GuardarFicheroSenales(r3, fichero, c3, o3, s3);
    EXPECT_EQ(Leer(r3), Leer(r1));
}

TEST_F(FicheroSenalesTest, DigitalOnlyAndEmptyComment)
{
    TCjtSenales s(textos, inter);
    Dig(s, "A", {1, 0});
    Dig(s, "B", {0, 1, 1});
    QByteArray texto;
    EscribirFichero(s, texto);
    EXPECT_FALSE(texto.contains("\r\nAna\r\n"));
    EXPECT_TRUE(texto.endsWith("Comentario:\r\n0\r\n"));
    TCjtSenales s2(textos, inter);
    s2.Comentario = QStringList{"viejo"};
    LeerFichero(s2, texto);
    EXPECT_EQ(s2.NombresDig(), (QStringList{"A", "B"}));
    EXPECT_EQ(s2.NumAna(), 0);
    EXPECT_TRUE(s2.Comentario.isEmpty());

    // An empty set writes no signal part at all.
    TCjtSenales vacio(textos, inter);
    QByteArray nada = "x";
    EscribirFichero(vacio, nada);
    EXPECT_EQ(nada, "x");
}

TEST_F(FicheroSenalesTest, FileWithoutSignalsLeavesTheSetAlone)
{
    TCjtSenales s(textos, inter);
    Ana(s, "Queda", {1});
    s.Comentario = QStringList{"sigue"};
    TConfigES c;
    TOperaciones o;
    LeerFichero(s, fichero.Texto(c, o));
    LeerFichero(s, QByteArray());
    EXPECT_EQ(s.NombresAna(), QStringList{"Queda"});
    EXPECT_EQ(s.Comentario, QStringList{"sigue"});
}

TEST_F(FicheroSenalesTest, ClashingNamesAskTheUser)
{
    TCjtSenales s(textos, inter);
    Ana(s, "X", {1, 2});
    Dig(s, "Y", {1});
    QByteArray texto;
    EscribirFichero(s, texto);
    texto.replace("\r\nY\r\n", "\r\nX\r\n");
    TCjtSenales s2(textos, inter);
    inter.respuestas = {Respuesta::Omitir};
    LeerFichero(s2, texto);
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(inter.mensajes[0].botones, Botones::Conflicto);
    EXPECT_EQ(s2.NombresAna(), QStringList{"X"});
    EXPECT_EQ(s2.NumDig(), 0);
}

TEST_F(FicheroSenalesTest, LenientNumbersCountModuloAndLowByte)
{
    const QByteArray texto = Comienza + "\r\nAna\r\nA\r\n  1.5E-3 resto\r\n65538\r\nnil\r\nnil\r\ntrue\r\n"
                                        "  0.5 voltios\r\n-2\r\n" +
                             Comienza + "\r\nDig\r\nD\r\n1\r\n2\r\nnil\r\nnil\r\nfalse\r\n7\r\n257\r\n2\r\n"
                                        "FinSe\xF1" "al\r\nComentario:\r\n2\r\nuno\r\n\r\n";
    TCjtSenales s(textos, inter);
    LeerFichero(s, texto);
    const TSenalAna* a = s.BuscarAna("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Periodo(), 1.5e-3);
    EXPECT_EQ(a->Muestras(), (std::vector<float>{0.5f, -2.0f}));
    EXPECT_EQ(a->Maximo, 0.5f);
    EXPECT_EQ(a->Minimo, -2.0f);
    EXPECT_TRUE(a->Calculada());
    const TSenalDig* d = s.BuscarDig("D");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Canal, 7);
    EXPECT_EQ(d->Muestras(), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(s.Comentario, (QStringList{"uno", ""}));
}

TEST_F(FicheroSenalesTest, MalformedBlocksRaise)
{
    TCjtSenales s(textos, inter);
    Ana(s, "A", {1, 2, 3});
    Dig(s, "D", {1, 0});
    QByteArray texto;
    EscribirFichero(s, texto);

    auto clave = [&](QByteArray t) {
        TCjtSenales x(textos, inter);
        try {
            LeerFichero(x, t);
        } catch (const EErrorModelo& e) {
            return e.Clave();
        }
        return -1;
    };
    QByteArray ana = texto;
    ana.replace("Ana\r\nA\r\n 2.00000000000000E-0003\r\n3\r\nnil",
                "Ana\r\nA\r\n 2.00000000000000E-0003\r\n3\r\n1 Cuadrada 1 2$");
    EXPECT_EQ(clave(ana), 122);
    QByteArray dig = texto;
    dig.replace("Dig\r\nD\r\n 2.00000000000000E-0003\r\n2\r\nnil",
                "Dig\r\nD\r\n 2.00000000000000E-0003\r\n2\r\n1 Seno 1 2$");
    EXPECT_EQ(clave(dig), 123);
    QByteArray infinito = texto;
    infinito.replace("Ana\r\nA\r\n 2.00000000000000E-0003\r\n3\r\nnil",
                     "Ana\r\nA\r\n 2.00000000000000E-0003\r\n3\r\n1 Seno segundos 1E300 0 1 0 0 segundos$");
    EXPECT_EQ(clave(infinito), 0);
    // Cut inside the samples, a bad number, a bad comment count, a sample no float holds.
    EXPECT_EQ(clave(texto.left(texto.indexOf("FinSe") - 30)), 0);
    QByteArray malo = texto;
    malo.replace(" 3.00000000000000E+0000", "tres");
    EXPECT_EQ(clave(malo), 0);
    QByteArray comentario = texto;
    comentario.replace("Comentario:\r\n0", "Comentario:\r\n5");
    EXPECT_EQ(clave(comentario), 0);
    QByteArray enorme = texto;
    enorme.replace(" 3.00000000000000E+0000", " 1E+0300");
    EXPECT_EQ(clave(enorme), 0);
}

// The largest single-precision values are written with 15 digits, which round just
// above them: the file the program wrote must still read back.
TEST_F(FicheroSenalesTest, LargestSingleValuesReadBack)
{
    const float tope = std::numeric_limits<float>::max();
    TCjtSenales s(textos, inter);
    TSenalAna& a = Ana(s, "A", {tope, -tope, 1});
    a.PonerDatosSenal("V", tope, -tope);
    QByteArray texto;
    EscribirFichero(s, texto);
    TCjtSenales x(textos, inter);
    LeerFichero(x, texto);
    const TSenalAna* b = x.BuscarAna("A");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Muestras(), (std::vector<float>{tope, -tope, 1}));
    EXPECT_EQ(b->FondoEscala, tope);
    EXPECT_EQ(b->Factor, -tope);
}

// Notes go after the comment, where readers stop, and no reader searching a signal sees them.
TEST_F(FicheroSenalesTest, NotesFollowTheCommentWhereEveryReaderHasStopped)
{
    TCjtSenales s(textos, inter);
    Ana(s, "A", {1, 2});
    Dig(s, "D", {0, 1});
    QByteArray sinNotas, texto;
    EscribirFichero(s, sinNotas);
    s.Anotaciones = {{false, "", 0.5f, -2.25f, "pico"}, {true, "", 1, 2, "Ana"}, {false, "A", 3e-7f, 4, "Dig $ x "}};
    EscribirFichero(s, texto);
    ASSERT_TRUE(texto.startsWith(sinNotas)); // the same file up to the comment's end
    for (const QByteArray& linea : texto.mid(sinNotas.size()).split('\n'))
        for (const QByteArray& clave : {QByteArray("Ana"), QByteArray("Dig"), Comienza})
            EXPECT_NE(linea.trimmed(), clave);
    EXPECT_FALSE(LeerSenalDeDatos(s, texto, "pico", "pico"));
    // Read back whole; a damaged note is left out, never the signals.
    texto.replace("Nota Dig  1.0", "Nota Dig xx1.0");
    TCjtSenales leido(textos, inter);
    LeerFichero(leido, texto);
    EXPECT_EQ(leido.NumDig(), 1);
    ASSERT_EQ(leido.Anotaciones.size(), 2u);
    for (int i : {0, 1}) {
        const TAnotacion &a = leido.Anotaciones[i], &b = s.Anotaciones[2 * i];
        EXPECT_EQ(std::tie(a.Digital, a.EjeX, a.X, a.Y, a.Texto), std::tie(b.Digital, b.EjeX, b.X, b.Y, b.Texto));
    }
}

TEST_F(FicheroSenalesTest, SingleSignalFromAFile)
{
    TConfigES c;
    TOperaciones o;
    TCjtSenales s(textos, inter);
    Ana(s, "B", {9, 8});
    Ana(s, "A", {1});
    const QString ruta = dir.filePath("s.qvn");
    GuardarFicheroSenales(ruta, fichero, c, o, s);
    TCjtSenales d(textos, inter);
    Dig(d, "Dd", {1, 0, 1});

    TCjtSenales destino(textos, inter);
    EXPECT_TRUE(LeerSenalDeFichero(destino, ruta, "B", "Nuevo"));
    ASSERT_NE(destino.BuscarAna("Nuevo"), nullptr);
    EXPECT_EQ(destino.BuscarAna("Nuevo")->Muestras(), (std::vector<float>{9, 8}));
    EXPECT_TRUE(LeerSenalDeFichero(destino, ruta, "A", "A"));
    EXPECT_NE(destino.BuscarAna("A"), nullptr);
    EXPECT_FALSE(LeerSenalDeFichero(destino, ruta, "Z", "Z"));
    EXPECT_EQ(destino.NumAna(), 2);

    QByteArray conDig;
    EscribirFichero(d, conDig);
    EXPECT_TRUE(LeerSenalDeDatos(destino, conDig, "Dd", "Otra"));
    ASSERT_NE(destino.BuscarDig("Otra"), nullptr);
    EXPECT_EQ(destino.BuscarDig("Otra")->Muestras(), (std::vector<std::uint8_t>{1, 0, 1}));
    EXPECT_THROW(LeerSenalDeFichero(destino, dir.filePath("falta.qvn"), "A", "A"), EErrorModelo);
}

TEST_F(FicheroSenalesTest, FailedWritesKeepTheOldFile)
{
    const QString ruta = dir.filePath("viejo.qvn");
    ASSERT_TRUE(EscribirSeguro(ruta, QByteArray("contenido viejo\r\n")));
    // The writer fails half-way through: the old content stays, no temporary file is left.
    EXPECT_THROW(EscribirSeguro(ruta,
                                [](QIODevice& d) {
                                    d.write("medio fichero nuevo");
                                    throw std::runtime_error("disco lleno");
                                }),
                 std::runtime_error);
    EXPECT_EQ(Leer(ruta), "contenido viejo\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"viejo.qvn"});

    // A folder that does not exist: reported, nothing written.
    QString error;
    EXPECT_FALSE(EscribirSeguro(dir.filePath("no/hay/f.qvn"), QByteArray("x"), &error));
    EXPECT_FALSE(error.isEmpty());
    TCjtSenales s(textos, inter);
    TConfigES c;
    TOperaciones o;
    EXPECT_THROW(GuardarFicheroSenales(dir.filePath("no/f.qvn"), fichero, c, o, s), EErrorModelo);

    // A successful write replaces the whole file.
    Ana(s, "A", {1});
    GuardarFicheroSenales(ruta, fichero, c, o, s);
    EXPECT_TRUE(Leer(ruta).startsWith("FALSE\r\n"));
    EXPECT_TRUE(Leer(ruta).contains(Comienza));
}

TEST_F(FicheroSenalesTest, StoredFileWrittenByHandReads)
{
    TFicheroConfig datos(textos, inter, QStringLiteral(QV_TEST_DATA));
    TConfigES c;
    TOperaciones o;
    TCjtSenales s(textos, inter);
    ASSERT_TRUE(AbrirFicheroSenales(QStringLiteral(QV_TEST_DATA "/f_senales.qvn"), datos, c, o, s));
    EXPECT_TRUE(inter.mensajes.empty());
    EXPECT_EQ(c.NumMuestras, 25000);
    EXPECT_EQ(c.UnidadAnalisis, Unidad::Segundo);
    EXPECT_EQ(o.ListaOpAna.size(), 3u);
    EXPECT_EQ(o.ListaOpDig.size(), 2u);
    EXPECT_EQ(s.NombresAna(), (QStringList{"Filt", "OutAnY1", "InAnaC1"}));
    EXPECT_EQ(s.NombresDig(), (QStringList{"Xo", "OutDiW1", "InDigA1"}));
    EXPECT_EQ(s.BuscarAna("InAnaC1")->Muestras(), (std::vector<float>{0.25f, -0.125f, 0}));
    EXPECT_EQ(float(s.BuscarAna("InAnaC1")->Periodo()), 0.001f);
    EXPECT_EQ(s.BuscarAna("OutAnY1")->Canal, 1);
    EXPECT_EQ(s.Comentario, (QStringList{QString::fromUtf8("Prueba con señales"), QString::fromUtf8("segunda línea")}));
    auto* tabla = dynamic_cast<const TGenTablaAna*>(c.SalAna(4).Generador.get());
    ASSERT_NE(tabla, nullptr);
    EXPECT_EQ(tabla->NumValores, 4);
}

// One reading path for every caller: a configuration part that cannot be read is
// reported (its stage text) and the answer is false, but the signals are read all the
// same; and the names the signal chooser offers are those of the blocks, once each.
TEST_F(FicheroSenalesTest, UnreadableConfigurationStillGivesTheSignals)
{
    QByteArray d = Leer(QStringLiteral(QV_TEST_DATA "/f_senales.qvn"));
    const qsizetype i = d.indexOf("\r\n") + 2;
    d.replace(i, d.indexOf("\r\n", i) - i, "abc def ghi jkl mno$");
    const QString ruta = dir.filePath("roto.qvn");
    ASSERT_TRUE(EscribirSeguro(ruta, d));

    TFicheroConfig fichero(textos, inter, QStringLiteral(QV_TEST_DATA));
    TConfigES c;
    TOperaciones o;
    TCjtSenales s(textos, inter);
    EXPECT_FALSE(AbrirFicheroSenales(ruta, fichero, c, o, s));
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(s.NombresAna(), (QStringList{"Filt", "OutAnY1", "InAnaC1"}));
    EXPECT_EQ(s.NombresDig(), (QStringList{"Xo", "OutDiW1", "InDigA1"}));

    // A name that only appears inside another part ("Ana" as a comment line) is no block.
    d += "Ana\r\nFalsa\r\n";
    EXPECT_EQ(NombresSenales(d), (QStringList{"InAnaC1", "OutAnY1", "Filt", "InDigA1", "OutDiW1", "Xo"}));
    EXPECT_TRUE(NombresSenales(QByteArray()).isEmpty());
}

namespace {
// Values where rounding is hard: powers of two (exact ties at the last digit),
// single-precision values of every size, and doubles of a fixed pseudo-random walk.
std::vector<double> ValoresDificiles()
{
    std::vector<double> v{0.1, -0.1, 1, -1, 9.999999999999995, 0.5, 1e-300, -4.9e-324, 1.7e308, 123456789012345678.0};
    for (int e = -160; e <= 160; ++e)
        v.push_back(std::ldexp(1.0, e));
    std::uint64_t x = 88172645463325252ull;
    for (int i = 0; i < 20000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        const double m = double(x >> 11) / double(1ull << 53);
        const double d = std::ldexp(m, int(x % 120) - 60) * ((x & 1) ? -1 : 1);
        v.push_back(d);
        v.push_back(double(float(d)));
    }
    return v;
}
} // namespace

TEST(FormatoFichero, FastRealMatchesTheFormattingModule)
{
    for (double v : ValoresDificiles()) {
        QByteArray a;
        AnadirCientifico(a, v);
        ASSERT_EQ(a, FormatoCientifico(v).toLatin1()) << v;
    }
    QByteArray a;
    AnadirCientifico(a, -0.0);
    AnadirCientifico(a, std::numeric_limits<double>::infinity());
    EXPECT_EQ(a, FormatoCientifico(-0.0).toLatin1() + FormatoCientifico(HUGE_VAL).toLatin1());
}

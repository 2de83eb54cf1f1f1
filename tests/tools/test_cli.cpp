// quorvane-cli as a user runs it: a copy of the built program in a folder of its own
// (so that its Quorvane.ini and Programa.cfg are the test's), on files written by the
// model code, and against the simulated unit.
#include "link/ajustes_estacion.h"
#include "exportar_csv.h"
#include "interaccion_terminal.h"

#include "common/esperar.h"
#include "common/interaccion_guion.h"
#include "e2e/procesos.h"

#include "lang/idioma.h"
#include "model/config_es.h"
#include "model/escritura_segura.h"
#include "model/exportar.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/generadores.h"
#include "model/operaciones.h"
#include "model/senales.h"
#include "model/vcd.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QSet>
#include <QStandardPaths>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <memory>
#include <utility>

using namespace qv;

namespace {

struct TResultado {
    int estado = -1;
    QByteArray salida;
    QString error;
};

// The program copied with its language file into a temporary program folder.
class TCli {
public:
    TCli()
    {
        const QDir bin(QStringLiteral(QV_BIN_DIR));
        ok = QFile::copy(bin.filePath(QStringLiteral("quorvane-cli")), Ruta(QStringLiteral("quorvane-cli"))) &&
             QFile::copy(bin.filePath(QStringLiteral("idioma.lng")), Ruta(QStringLiteral("idioma.lng")));
        textos.setIdiomaFile(bin.filePath(QStringLiteral("idioma.lng")));
    }
    QString Ruta(const QString& nombre) const { return dir.filePath(nombre); }

    // With `mientras`, the event loop runs while the program does (for peers served by
    // the test itself), and `mientras` is called on every turn.
    TResultado Correr(const QStringList& args, int esperaMs = 30000,
                      const std::function<void(QProcess&)>& mientras = {})
    {
        QProcess p;
        p.start(Ruta(QStringLiteral("quorvane-cli")), args);
        TResultado r;
        if (!p.waitForStarted(5000))
            return r;
        p.closeWriteChannel();
        const bool acabado = mientras ? test::Esperar([&] {
            mientras(p);
            return p.state() == QProcess::NotRunning;
        }, esperaMs)
                                      : p.waitForFinished(esperaMs);
        if (!acabado) {
            p.kill();
            p.waitForFinished(2000);
            return r;
        }
        r.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.salida = p.readAllStandardOutput();
        r.error = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    void Ini(const QByteArray& texto) { EscribirSeguro(Ruta(QStringLiteral("Quorvane.ini")), texto); }

    QTemporaryDir dir;
    bool ok = false;
    TLanguage textos;
};

// A set written through the model: two analog signals (one shorter), one digital,
// names that CSV must quote.
class CliFicheros : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(cli.ok);
        TCjtSenales s(cli.textos, interaccion);
        auto corta = std::make_unique<TSenalAna>(cli.textos, QStringLiteral("q\"z"), true, nullptr, nullptr, 0, 0.5, 2);
        corta->PonerMuestra(0, 7.0f);
        corta->PonerMuestra(1, 8.0f);
        s.AnadirAna(std::move(corta));
        auto va = std::make_unique<TSenalAna>(cli.textos, QStringLiteral("x,y"), false, nullptr, nullptr, 1, 0.5, 3);
        va->PonerDatosSenal(QStringLiteral("Voltios"), 10, 1);
        va->PonerMuestra(0, 0.1f);
        va->PonerMuestra(1, -2.5f);
        va->PonerMuestra(2, 3.0f);
        s.AnadirAna(std::move(va));
        auto db = std::make_unique<TSenalDig>(QStringLiteral("Db"), true, nullptr, nullptr, 0, 0.5, 3);
        db->PonerMuestra(1, 1);
        s.AnadirDig(std::move(db));
        s.Comentario << QStringLiteral("primera linea");

        config.NumMuestras = 3;
        config.Periodo = 500;
        config.TiempoAnalisis = 1500;
        config.EntAna(1).Activo = true;
        config.EntDig(2).Activo = true;
        ops.AnadirOpAna(TOperacion("1", 0, false, false, 0, 0, "Ana", "V", "Doble", "+", "1"));

        TFicheroConfig fc(cli.textos, interaccion, cli.dir.path());
        qvn = cli.Ruta(QStringLiteral("datos.qvn"));
        GuardarFicheroSenales(qvn, fc, config, ops, s);
        cfg = cli.Ruta(QStringLiteral("conf.cfg"));
        fc.EscribirConfiguracion(cfg, config, ops);
    }

    // The set as the program reads the file back (lists reversed).
    std::unique_ptr<TCjtSenales> Leido()
    {
        auto s = std::make_unique<TCjtSenales>(cli.textos, interaccion);
        TFicheroConfig fc(cli.textos, interaccion, cli.dir.path());
        TConfigES c;
        TOperaciones o;
        EXPECT_TRUE(AbrirFicheroSenales(qvn, fc, c, o, *s));
        return s;
    }

    TCli cli;
    test::TInteraccionGuion interaccion;
    TConfigES config;
    TOperaciones ops;
    QString qvn, cfg;
};

QList<QByteArray> Lineas(const QByteArray& texto)
{
    QList<QByteArray> l = texto.split('\n');
    for (QByteArray& x : l)
        if (x.endsWith('\r'))
            x.chop(1);
    if (!l.isEmpty() && l.back().isEmpty())
        l.pop_back();
    return l;
}

QByteArray Linea(const QByteArray& texto, const QByteArray& inicio)
{
    for (const QByteArray& l : Lineas(texto))
        if (l.startsWith(inicio))
            return l;
    return {};
}

} // namespace

// ---- pieces of the library ----

TEST(CliAjustes, PuertosSerieDeLaEstacion)
{
    QTemporaryDir dir;
    TAjustesEstacion a(dir.path());
    // No file: defaults, single-station, the ZD800M.
    EXPECT_EQ(a.PuertosSerie(), TAjustesEstacion::PuertosSeriePorDefecto());
    EXPECT_FALSE(a.Multipuesto());
    EXPECT_TRUE(a.ModeloM());

    EscribirSeguro(QDir(dir.path()).filePath(QStringLiteral("Quorvane.ini")),
                   "[Otra]\r\nPuertosSerie=/dev/nada\r\n; comment\r\n[configuracionsad]\r\n"
                   "puertosserie = ttySAD, /dev/ttyS9,,sub/x\r\nTipoConAula=monopuesto\r\nAspecto=ZD801\r\n");
    const QStringList l = a.PuertosSerie();
    ASSERT_EQ(l.size(), 3);
    EXPECT_EQ(l[0], QDir(dir.path()).filePath(QStringLiteral("ttySAD")));
    EXPECT_EQ(l[1], QStringLiteral("/dev/ttyS9"));
    EXPECT_EQ(l[2], QDir(dir.path()).filePath(QStringLiteral("sub/x")));
    // Case matters in values: "monopuesto" is multi-station.
    EXPECT_TRUE(a.Multipuesto());
    EXPECT_FALSE(a.ModeloM());

    EscribirSeguro(a.Fichero(), "[ConfiguracionSAD]\r\nPuertosSerie= , \r\n");
    EXPECT_EQ(a.PuertosSerie(), TAjustesEstacion::PuertosSeriePorDefecto());
}

TEST(CliAjustes, FicheroDeDemostracion)
{
    const QString carpeta = QStringLiteral(QV_SOURCE_DIR "/data");
    QByteArray datos;
    ASSERT_TRUE(LeerFicheroEntero(QDir(carpeta).filePath(QStringLiteral("Quorvane.ini")), datos));
    EXPECT_EQ(datos.count("\r\n"), datos.count('\n')); // CR LF throughout
    TAjustesEstacion a(carpeta);
    const QStringList l = a.PuertosSerie();
    ASSERT_EQ(l.size(), 9);
    EXPECT_EQ(l.front(), QDir(carpeta).filePath(QStringLiteral("ttySAD")));
    EXPECT_EQ(l.mid(1), TAjustesEstacion::PuertosSeriePorDefecto());
    EXPECT_FALSE(a.Multipuesto());
    EXPECT_FALSE(a.ModeloM());
}

TEST(CliPiezas, NombresCsvYFloat)
{
    EXPECT_EQ(CampoCsv(QStringLiteral("abc")), "abc");
    EXPECT_EQ(CampoCsv(QStringLiteral("a,b")), "\"a,b\"");
    EXPECT_EQ(CampoCsv(QStringLiteral("q\"z")), "\"q\"\"z\"");
    EXPECT_EQ(CampoCsv(QStringLiteral(" a")), "\" a\"");
    // Shortest text that reads back as the same float, "." whatever the locale.
    for (float x : {0.1f, -2.5f, 1e-5f, 4.99755859375f, 123456.789f, -0.0048828125f}) {
        const QByteArray t = TextoFloat(x);
        EXPECT_FALSE(t.contains(',')) << t.constData();
        EXPECT_EQ(std::strtof(t.constData(), nullptr), x) << t.constData();
    }
    EXPECT_EQ(TextoFloat(0.1f), "0.1");

    EXPECT_EQ(TInteraccionTerminal::NombreSiguiente(QStringLiteral("Va")), QStringLiteral("Va_2"));
    EXPECT_EQ(TInteraccionTerminal::NombreSiguiente(QStringLiteral("Va_2")), QStringLiteral("Va_3"));
    EXPECT_EQ(TInteraccionTerminal::NombreSiguiente(QStringLiteral("_7")), QStringLiteral("_7_2"));
}

// ---- info and export ----

TEST_F(CliFicheros, InfoDeFicheroDeSenales)
{
    const TResultado r = cli.Correr({QStringLiteral("info"), qvn});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_EQ(Linea(r.salida, "content:"), "content: signals");
    EXPECT_EQ(Linea(r.salida, "time base:"), "time base: period 500 ms, analysis time 1500 ms, 3 samples, delay 0 s");
    EXPECT_EQ(Linea(r.salida, "analog inputs:"), "analog inputs: InAnaC1 (1, 10V, factor 1, Voltios)");
    EXPECT_EQ(Linea(r.salida, "digital inputs:"), "digital inputs: InDigA2 (2)");
    EXPECT_EQ(Linea(r.salida, "operation Doble"), "operation Doble = (InAnaC1 + InAnaC1)");
    EXPECT_EQ(Linea(r.salida, "signals:"), "signals: 2 analog, 1 digital");
    const QByteArray va = Linea(r.salida, "signal x,y:");
    EXPECT_TRUE(va.contains("analog, 3 samples, period 0.5 s, captured on channel 1")) << va.constData();
    EXPECT_TRUE(va.contains("max 3, min -2.5")) << va.constData();
    const QByteArray db = Linea(r.salida, "signal Db:");
    EXPECT_TRUE(db.contains("digital, 3 samples, period 0.5 s, calculated; ones 1")) << db.constData();
    EXPECT_EQ(Linea(r.salida, "comment:"), "comment: 1 lines");
}

TEST_F(CliFicheros, InfoDeConfiguracion)
{
    const TResultado r = cli.Correr({QStringLiteral("info"), cfg});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_EQ(Linea(r.salida, "content:"), "content: configuration");
    EXPECT_EQ(Linea(r.salida, "signals:"), "signals: 0 analog, 0 digital");
    EXPECT_EQ(Linea(r.salida, "operations:"), "operations: 1 analog, 0 digital");
}

TEST_F(CliFicheros, ExportarTablaDeTexto)
{
    auto leido = Leido();
    // Standard output carries the model's table byte for byte.
    TResultado r = cli.Correr({QStringLiteral("export"), qvn});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_EQ(r.salida, ExportarTexto(*leido));

    const QString out = cli.Ruta(QStringLiteral("t.txt"));
    r = cli.Correr({QStringLiteral("export"), qvn, QStringLiteral("-o"), out, QStringLiteral("--signals"),
                    QStringLiteral("Db")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_TRUE(r.salida.isEmpty());
    QByteArray datos;
    ASSERT_TRUE(LeerFicheroEntero(out, datos));
    EXPECT_EQ(datos, ExportarTexto(*leido, {QStringLiteral("Db")}));

    // An existing file is kept unless the command says otherwise.
    r = cli.Correr({QStringLiteral("export"), qvn, QStringLiteral("-o"), out});
    EXPECT_EQ(r.estado, 1);
    QByteArray despues;
    ASSERT_TRUE(LeerFicheroEntero(out, despues));
    EXPECT_EQ(despues, datos);
    r = cli.Correr({QStringLiteral("export"), qvn, QStringLiteral("-o"), out, QStringLiteral("--overwrite")});
    EXPECT_EQ(r.estado, 0);
    ASSERT_TRUE(LeerFicheroEntero(out, despues));
    EXPECT_EQ(despues, ExportarTexto(*leido));
}

TEST_F(CliFicheros, ExportarCsv)
{
    TResultado r = cli.Correr({QStringLiteral("export"), qvn, QStringLiteral("--csv")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_TRUE(r.salida.endsWith("\r\n"));
    const QList<QByteArray> l = Lineas(r.salida);
    // Read back, each list is reversed: analog "q\"z" then "x,y".
    ASSERT_EQ(l.size(), 4);
    EXPECT_EQ(l[0], "time,\"q\"\"z\",\"x,y\",Db");
    EXPECT_EQ(l[1], "0,7,0.1,0");
    EXPECT_EQ(l[2], "0.5,8,-2.5,1");
    // The first column is the short signal: its missing sample stays empty and no
    // sample of the longer ones is lost.
    EXPECT_EQ(l[3], "1,,3,0");

    r = cli.Correr({QStringLiteral("export"), qvn, QStringLiteral("--csv"), QStringLiteral("--signals"),
                    QStringLiteral("Db,x,y")});
    EXPECT_EQ(r.estado, 1); // "x" and "y" are no signals: nothing is written
    EXPECT_TRUE(r.salida.isEmpty());
    r = cli.Correr({QStringLiteral("export"), qvn, QStringLiteral("--csv"), QStringLiteral("--signals"),
                    QStringLiteral("Db")});
    ASSERT_EQ(r.estado, 0);
    EXPECT_EQ(Lineas(r.salida), (QList<QByteArray>{"time,Db", "0,0", "0.5,1", "1,0"}));
}

TEST_F(CliFicheros, MedidasYVolcadoDeCambios)
{
    TResultado r = cli.Correr({QStringLiteral("measure"), qvn});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    const QStringList texto = QString::fromLocal8Bit(r.salida).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(texto.size(), 4);
    EXPECT_TRUE(texto[0].startsWith(cli.textos.BuscarTexto(410)));

    // Samples at 0.5 s and 1 s: x,y -2.5 and 3; q"z 8 alone; Db 1 then 0.
    r = cli.Correr({QStringLiteral("measure"), qvn, QStringLiteral("--csv"), QStringLiteral("--from"),
                    QStringLiteral("0.5"), QStringLiteral("--to"), QStringLiteral("1")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    const QList<QByteArray> l = Lineas(r.salida);
    ASSERT_EQ(l.size(), 4);
    EXPECT_TRUE(l[0].startsWith(cli.textos.BuscarTexto(410).toLatin1() + ',' + cli.textos.BuscarTexto(411).toLatin1()));
    EXPECT_TRUE(l[1].startsWith("\"q\"\"z\",Voltios,8,8,8,8,0,0,")) << l[1].constData();
    EXPECT_TRUE(l[2].startsWith("\"x,y\",Voltios,-2.5,3,0.25,")) << l[2].constData();
    EXPECT_EQ(l[3], "Db,,,,,,,,,,,,50,1,");

    r = cli.Correr({QStringLiteral("measure"), qvn, QStringLiteral("--from"), QStringLiteral("1.5")});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(425))) << r.error.toStdString();

    // The dump is the model's, digital signals first.
    const QString vcd = cli.Ruta(QStringLiteral("s.vcd"));
    r = cli.Correr({QStringLiteral("export"), qvn, QStringLiteral("--vcd"), QStringLiteral("-o"), vcd});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    QByteArray datos;
    ASSERT_TRUE(LeerFicheroEntero(vcd, datos));
    const QByteArray modelo = ExportarVcd(*Leido());
    const qsizetype tras = datos.indexOf("$version");
    ASSERT_GT(tras, 0);
    EXPECT_EQ(datos.mid(tras), modelo.mid(modelo.indexOf("$version")));
    EXPECT_TRUE(datos.contains("$timescale 100 ms $end\r\n$scope module senales $end\r\n$var wire 1 ! Db $end\r\n"));
}

TEST_F(CliFicheros, NombresRepetidosSeConservanAmbos)
{
    QByteArray datos;
    ASSERT_TRUE(LeerFicheroEntero(qvn, datos));
    // The digital block renamed to the analog signal's name.
    datos.replace("Dig\r\nDb\r\n", "Dig\r\nx,y\r\n");
    ASSERT_TRUE(EscribirSeguro(qvn, datos));
    const TResultado r = cli.Correr({QStringLiteral("info"), qvn});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_EQ(Linea(r.salida, "signals:"), "signals: 2 analog, 1 digital");
    EXPECT_FALSE(Linea(r.salida, "signal x,y:").isEmpty());
    EXPECT_TRUE(Linea(r.salida, "signal x,y_2:").contains("digital")) << r.salida.constData();
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(233))) << r.error.toStdString();
}

TEST_F(CliFicheros, FicherosMalosDanElTextoNumerado)
{
    const QString t101 = cli.textos.BuscarTexto(101);
    // A file that is not there says so, not that its data are bad.
    for (const char* orden : {"info", "export", "capture"}) {
        TResultado r = cli.Correr({QString::fromLatin1(orden), cli.Ruta(QStringLiteral("no-existe.qvn")),
                                   QStringLiteral("-o"), cli.Ruta(QStringLiteral("x.qvn"))});
        EXPECT_EQ(r.estado, 1) << orden;
        EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(287) + " " + cli.Ruta(QStringLiteral("no-existe.qvn"))))
            << r.error.toStdString();
        EXPECT_FALSE(r.error.contains(t101)) << r.error.toStdString();
    }
    TResultado r;

    // An unknown generator kind in the signal part.
    QByteArray datos;
    ASSERT_TRUE(LeerFicheroEntero(qvn, datos));
    const qsizetype senales = datos.indexOf("ComienzaSe");
    ASSERT_GT(senales, 0);
    QByteArray malo = datos;
    malo.replace(malo.indexOf("nil\r\n", senales), 5, "1 Cuadrada 1 2 3$\r\n");
    const QString ruta = cli.Ruta(QStringLiteral("malo.qvn"));
    ASSERT_TRUE(EscribirSeguro(ruta, malo));
    for (const char* orden : {"info", "export"}) {
        r = cli.Correr({QString::fromLatin1(orden), ruta});
        EXPECT_EQ(r.estado, 1) << orden;
        EXPECT_TRUE(r.salida.isEmpty()) << orden;
        EXPECT_TRUE(r.error.contains(t101)) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(122))) << r.error.toStdString();
    }

    // A sample that is no number.
    malo = datos;
    malo.replace(" 3.00000000000000E+0000", "tres");
    ASSERT_TRUE(EscribirSeguro(ruta, malo));
    r = cli.Correr({QStringLiteral("export"), ruta, QStringLiteral("--csv")});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(t101)) << r.error.toStdString();

    // Not a configuration at all: the time-base stage fails.
    ASSERT_TRUE(EscribirSeguro(ruta, "hola\r\nesto no es\r\n"));
    r = cli.Correr({QStringLiteral("info"), ruta});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(149))) << r.error.toStdString();

    // A configuration file holds nothing to export.
    r = cli.Correr({QStringLiteral("export"), cfg});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(218))) << r.error.toStdString();
}

TEST_F(CliFicheros, LineaDeOrdenesMala)
{
    for (const QStringList& a : {QStringList{}, QStringList{QStringLiteral("borrar")},
                                 QStringList{QStringLiteral("info")},
                                 QStringList{QStringLiteral("export"), qvn, QStringLiteral("--nada")},
                                 QStringList{QStringLiteral("export"), qvn, QStringLiteral("-o")},
                                 QStringList{QStringLiteral("capture"), cfg},
                                 QStringList{QStringLiteral("capture"), cfg, QStringLiteral("-o"),
                                             QStringLiteral("x.qvn"), QStringLiteral("--delay"),
                                             QStringLiteral("dos")},
                                 QStringList{QStringLiteral("test"), QStringLiteral("--port"), QStringLiteral("a"),
                                             QStringLiteral("--relay"), QStringLiteral("b")},
                                 QStringList{QStringLiteral("export"), qvn, QStringLiteral("--csv"),
                                             QStringLiteral("--vcd")},
                                 QStringList{QStringLiteral("measure"), qvn, QStringLiteral("--from"),
                                             QStringLiteral("-1")},
                                 QStringList{QStringLiteral("measure"), qvn, QStringLiteral("--from"),
                                             QStringLiteral("1"), QStringLiteral("--to"), QStringLiteral("0.5")}}) {
        const TResultado r = cli.Correr(a);
        EXPECT_EQ(r.estado, 2) << a.join(' ').toStdString();
        EXPECT_TRUE(r.error.contains(QStringLiteral("usage:"))) << a.join(' ').toStdString();
    }
    // Without its language file the program would misread unit words: it refuses.
    ASSERT_TRUE(QFile::remove(cli.Ruta(QStringLiteral("idioma.lng"))));
    const TResultado r = cli.Correr({QStringLiteral("info"), qvn});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(QStringLiteral("idioma.lng")));
}

namespace {

bool EsFifo(const QString& ruta)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(ruta).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

} // namespace

// "-o PATH --overwrite" replaced a named pipe or a device node by a regular file (as
// root, "-o /dev/null --overwrite" would have replaced /dev/null).
TEST_F(CliFicheros, NuncaReemplazaLoQueNoEsUnFichero)
{
    const QString fifo = cli.Ruta(QStringLiteral("tubo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString enlace = cli.Ruta(QStringLiteral("enlace"));
    ASSERT_TRUE(QFile::link(fifo, enlace));
    const QString carpeta = cli.Ruta(QStringLiteral("carpeta"));
    ASSERT_TRUE(QDir().mkdir(carpeta));
    const QString t286 = cli.textos.BuscarTexto(286);
    for (const QString& destino : {fifo, enlace, carpeta}) {
        for (bool sobre : {false, true}) {
            QStringList args{QStringLiteral("export"), qvn, QStringLiteral("-o"), destino};
            if (sobre)
                args << QStringLiteral("--overwrite");
            const TResultado r = cli.Correr(args);
            EXPECT_EQ(r.estado, 1) << destino.toStdString();
            EXPECT_TRUE(r.error.contains(t286 + " " + destino)) << r.error.toStdString();
        }
    }
    EXPECT_TRUE(EsFifo(fifo));
    EXPECT_TRUE(QFileInfo(enlace).isSymLink());
    EXPECT_TRUE(QFileInfo(carpeta).isDir());
    // A capture is refused before any unit is looked for.
    const TResultado r = cli.Correr({QStringLiteral("capture"), cfg, QStringLiteral("-o"), fifo,
                                     QStringLiteral("--overwrite")});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(t286)) << r.error.toStdString();
    EXPECT_FALSE(r.error.contains(cli.textos.BuscarTexto(273))) << r.error.toStdString();
    EXPECT_TRUE(EsFifo(fifo));
}

namespace {

// A relay played by the test: it greets with the given line and answers commands
// from a table, so the companion can be shown what a hostile or broken peer sends.
class TRelayFalso {
public:
    explicit TRelayFalso(QByteArray saludo) : saludo_(std::move(saludo))
    {
        EXPECT_TRUE(servidor_.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&servidor_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = servidor_.nextPendingConnection()) {
                s->write(saludo_ + "\n");
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { Leer(s); });
            }
        });
    }
    QString Direccion() const { return QStringLiteral("127.0.0.1:%1").arg(servidor_.serverPort()); }

    std::map<QByteArray, QByteArray> respuestas;

private:
    void Leer(QTcpSocket* s)
    {
        pendiente_ += s->readAll();
        pendiente_.replace("\r\n", "");
        qsizetype fin;
        while ((fin = pendiente_.indexOf('#')) >= 0) {
            const QByteArray orden = pendiente_.left(fin + 1);
            pendiente_.remove(0, fin + 1);
            auto it = respuestas.find(orden);
            if (it != respuestas.end())
                s->write(it->second + "\n");
        }
    }

    QByteArray saludo_;
    QTcpServer servidor_;
    QByteArray pendiente_;
};

} // namespace

// Text from the network reaches the terminal without control characters and cut short:
// no escape sequence drives it and a huge name is not printed whole.
TEST_F(CliFicheros, TextoDeLaRedLimpioYAcotado)
{
    TRelayFalso relay("$\x1b[2J\x1b]0;pwned\x07" + QByteArray(100000, 'A') + "\x9b" + "31m");
    const TResultado r = cli.Correr({QStringLiteral("test"), QStringLiteral("--relay"), relay.Direccion()}, 30000,
                                    [](QProcess&) {});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(269))) << r.error.left(200).toStdString();
    EXPECT_TRUE(r.error.contains(QStringLiteral("[2J]0;pwnedAAA"))) << r.error.left(200).toStdString();
    for (QChar c : r.error)
        EXPECT_FALSE(c.unicode() < 0x20 && c != QLatin1Char('\n')) << int(c.unicode());
    EXPECT_FALSE(r.error.contains(QChar(0x9b)));
    EXPECT_LT(r.error.size(), 1000);
}

// A unit that reports nonsense is no success.
TEST_F(CliFicheros, RespuestasSinSentidoFallan)
{
    const QString t285 = cli.textos.BuscarTexto(285);
    struct Caso {
        QByteArray version, estado;
        int salida;
    };
    for (const Caso& c : {Caso{"&1.21,126974#", "&0#", 0}, Caso{"&1.21,126974#", "&-7#", 1},
                          Caso{"&1.21,126974#", "&4#", 1}, Caso{"&" + QByteArray(3000, '9') + ",126974#", "&0#", 1},
                          Caso{"&1.2\x1b[1m,126974#", "&0#", 1}, Caso{"&1.21,-5#", "&0#", 1}}) {
        TRelayFalso relay("$");
        relay.respuestas = {{"1#", c.version}, {"2#", c.estado}, {"4,C#", "&0#"}};
        const TResultado r =
            cli.Correr({QStringLiteral("test"), QStringLiteral("--relay"), relay.Direccion()}, 30000, [](QProcess&) {});
        EXPECT_EQ(r.estado, c.salida) << c.version.left(20).constData() << " " << c.estado.constData();
        EXPECT_EQ(r.error.contains(t285), c.salida != 0) << r.error.toStdString();
        EXPECT_LT(r.error.size() + r.salida.size(), 1000);
    }
}

// ---- render ----

namespace {

// What an outside tool prints for a file; empty when the tool is missing or fails.
QString Herramienta(const QString& programa, const QStringList& args)
{
    const QString ruta = QStandardPaths::findExecutable(programa);
    if (ruta.isEmpty())
        return {};
    QProcess p;
    p.start(ruta, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST_F(CliFicheros, RenderEnCadaFormatoLoAceptanSusHerramientas)
{
    auto render = [&](const char* nombre, QStringList mas = {}) {
        const QString salida = cli.Ruta(QLatin1String(nombre));
        const TResultado r = cli.Correr(QStringList{QStringLiteral("render"), qvn, QStringLiteral("-o"), salida} + mas, 60000);
        EXPECT_EQ(r.estado, 0) << nombre << ": " << r.error.toStdString();
        return salida;
    };
    const QImage png(render("g.png"));
    EXPECT_EQ(png.size(), QSize(625, 400));
    const QImage bmp(render("g.bmp", {QStringLiteral("--size"), QStringLiteral("300x200")}));
    EXPECT_EQ(bmp.size(), QSize(300, 200));
    // The curves are drawn: the picture is not one or two colours.
    QSet<QRgb> colores;
    for (int y = 0; y < png.height(); y += 3)
        for (int x = 0; x < png.width(); x += 3)
            colores.insert(png.pixel(x, y));
    EXPECT_GT(colores.size(), 3);

    const QString svg = render("g.svg", {QStringLiteral("--signals"), QStringLiteral("q\"z")});
    const QString pdf = render("g.pdf");
    const QString wmf = render("g.wmf", {QStringLiteral("--digital")});
    if (QStandardPaths::findExecutable(QStringLiteral("file")).isEmpty())
        GTEST_SKIP() << "file is not installed";
    EXPECT_TRUE(Herramienta(QStringLiteral("file"), {svg}).contains(QStringLiteral("SVG")));
    EXPECT_TRUE(Herramienta(QStringLiteral("file"), {pdf}).contains(QStringLiteral("PDF document")));
    EXPECT_TRUE(Herramienta(QStringLiteral("file"), {wmf}).contains(QStringLiteral("metafile"), Qt::CaseInsensitive));
    if (!QStandardPaths::findExecutable(QStringLiteral("identify")).isEmpty()) {
        EXPECT_TRUE(Herramienta(QStringLiteral("identify"), {cli.Ruta(QStringLiteral("g.png"))})
                        .contains(QStringLiteral("PNG 625x400")));
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        const QString texto = Herramienta(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        EXPECT_TRUE(texto.contains(QStringLiteral("x,y"))) << texto.toStdString();
        EXPECT_TRUE(texto.contains(QStringLiteral("Db"))) << "the analog window shows digital signals too";
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("wmf2svg")).isEmpty()) {
        const QString deWmf = cli.Ruta(QStringLiteral("de_wmf.svg"));
        Herramienta(QStringLiteral("wmf2svg"), {QStringLiteral("-o"), deWmf, wmf});
        QFile f(deWmf);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "wmf2svg refused the metafile";
        const QByteArray leido = f.readAll();
        EXPECT_TRUE(leido.contains("<svg"));
        EXPECT_GT(leido.count("<path") + leido.count("<polyline") + leido.count("<line"), 10) << "the traces";
    }
}

// An XY circle: its centre column meets it above and below, never between (a single-valued line would).
TEST_F(CliFicheros, RenderDeUnaCurvaXY)
{
    TCjtSenales s(cli.textos, interaccion);
    for (int eje : {1, 0}) {
        auto a = std::make_unique<TSenalAna>(cli.textos, eje ? "Cy" : "Cx", true, nullptr, nullptr, 0, 0.001, 200);
        for (int i = 0; i < 200; ++i)
            a->PonerMuestra(i, float(eje ? std::sin(M_PI * i / 100) : std::cos(M_PI * i / 100)));
        s.AnadirAna(std::move(a));
    }
    TFicheroConfig fc(cli.textos, interaccion, cli.dir.path());
    const QString circulo = cli.Ruta(QStringLiteral("circulo.qvn")), png = cli.Ruta(QStringLiteral("xy.png"));
    GuardarFicheroSenales(circulo, fc, config, ops, s);
    const TResultado r = cli.Correr({"render", circulo, "--x", "Cx", "-o", png, "--size", "600x400"}, 60000);
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    const QImage im = QImage(png).convertToFormat(QImage::Format_RGB32);
    QRect caja; // of the first series' green, left of the legend
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < 460; ++x)
            if (im.pixel(x, y) == qRgb(0, 255, 0))
                caja |= QRect(x, y, 1, 1);
    ASSERT_GT(caja.height(), 100);
    int arriba = 0, abajo = 0, medio = 0;
    for (int y = caja.top(); y <= caja.bottom(); ++y)
        if (im.pixel(caja.center().x(), y) == qRgb(0, 255, 0))
            (std::abs(y - caja.center().y()) < caja.height() / 4 ? medio : y < caja.center().y() ? arriba : abajo)++;
    EXPECT_GT(arriba, 0);
    EXPECT_GT(abajo, 0);
    EXPECT_EQ(medio, 0);
}

TEST_F(CliFicheros, RenderMalPedido)
{
    auto correr = [&](QStringList args) { return cli.Correr(QStringList{QStringLiteral("render"), qvn} + args); };
    const QString png = cli.Ruta(QStringLiteral("r.png"));
    EXPECT_EQ(correr({}).estado, 2) << "no output";
    EXPECT_EQ(correr({QStringLiteral("-o"), png, QStringLiteral("--size"), QStringLiteral("10x10")}).estado, 2);
    EXPECT_EQ(correr({QStringLiteral("-o"), png, QStringLiteral("--size"), QStringLiteral("ancho")}).estado, 2);
    const TResultado ext = correr({QStringLiteral("-o"), cli.Ruta(QStringLiteral("r.jpg"))});
    EXPECT_EQ(ext.estado, 1);
    EXPECT_TRUE(ext.error.contains(QStringLiteral(".png"))) << ext.error.toStdString();
    const TResultado dig = correr({QStringLiteral("-o"), png, QStringLiteral("--digital"), QStringLiteral("--signals"),
                                   QStringLiteral("q\"z")});
    EXPECT_EQ(dig.estado, 1);
    EXPECT_TRUE(dig.error.contains(QStringLiteral("digital signal named q\"z"))) << dig.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(png));
    // An existing picture is kept unless --overwrite.
    ASSERT_EQ(correr({QStringLiteral("-o"), png}).estado, 0);
    EXPECT_EQ(correr({QStringLiteral("-o"), png}).estado, 1);
    EXPECT_EQ(correr({QStringLiteral("-o"), png, QStringLiteral("--overwrite")}).estado, 0);
}

// The spectrum of a tone: drawn, its peak labelled with the tone's frequency.
TEST_F(CliFicheros, RenderDelEspectro)
{
    TCjtSenales s(cli.textos, interaccion);
    for (int hz : {125, 375}) {
        auto a = std::make_unique<TSenalAna>(cli.textos, QStringLiteral("T%1").arg(hz), true, nullptr, nullptr, 0, 0.001, 1024);
        for (int i = 0; i < 1024; ++i)
            a->PonerMuestra(i, float(3 + std::sin(2 * M_PI * hz * i / 1000)));
        s.AnadirAna(std::move(a));
    }
    TFicheroConfig fc(cli.textos, interaccion, cli.dir.path());
    const QString tonos = cli.Ruta(QStringLiteral("tonos.qvn"));
    GuardarFicheroSenales(tonos, fc, config, ops, s);
    for (const char* tono : {"T125", "T375"}) {
        const QString svg = cli.Ruta(QLatin1String(tono) + QStringLiteral(".svg"));
        const TResultado r = cli.Correr({"render", tonos, "--spectrum", "--signals", tono, "-o", svg}, 60000);
        ASSERT_EQ(r.estado, 0) << r.error.toStdString();
        // The peak above the DC level of 3, at 0 dB for an amplitude of 1.
        QFile f(svg);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().contains(QStringLiteral("Pico: %1 Hz, 0.00 dB").arg(tono + 1).toUtf8())) << tono;
    }
    const QString png = cli.Ruta(QStringLiteral("e.png"));
    ASSERT_EQ(cli.Correr({"render", tonos, "--spectrum", "-o", png, "--size", "800x500"}, 60000).estado, 0);
    EXPECT_EQ(QImage(png).size(), QSize(800, 500));
    EXPECT_EQ(cli.Correr({"render", tonos, "--spectrum", "--digital", "-o", png}).estado, 2);
    EXPECT_EQ(cli.Correr({"render", qvn, "--spectrum", "--signals", "Db", "-o", cli.Ruta(QStringLiteral("d.png"))}).estado, 1);
}

// ---- against the simulated unit ----

namespace {

// The simulator publishes its line as "ttySAD" in the program folder, where the
// station setting of the test finds it by its bare name.
class CliUnidad : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(cli.ok);
        enlace = cli.Ruta(QStringLiteral("ttySAD"));
        ASSERT_FALSE(sim.Start({QStringLiteral("--link"), enlace, QStringLiteral("--speed"), QStringLiteral("100")})
                         .isEmpty());
        cli.Ini("[ConfiguracionSAD]\r\nTipoConAula=Monopuesto\r\nPuertosSerie=ttySAD\r\n");
    }

    // Loop-back configuration: analog output 1 (sine) into analog input 1, digital
    // output 1 (train) into digital input 1, 200 samples at 1 ms, and an operation
    // on the captured input.
    QString Configuracion()
    {
        TConfigES c;
        c.NumMuestras = 200;
        c.Periodo = 1;
        c.TiempoAnalisis = 200;
        c.UnidadPeriodo = Unidad::Mili;
        c.UnidadAnalisis = Unidad::Mili;
        c.EntAna(1).Activo = true;
        c.EntDig(1).Activo = true;
        const QString s = cli.textos.BuscarTexto(195), ms = cli.textos.BuscarTexto(194);
        c.SalAna(1).Activo = true;
        c.SalAna(1).Generador = std::make_unique<TGenSeno>(cli.textos, s, ms, 0, 0, 5, 1, 7);
        c.SalDig(1).Activo = true;
        c.SalDig(1).Generador = std::make_unique<TGenTren>(cli.textos, s, ms, 7, 13, 0);
        TOperaciones o;
        o.AnadirOpAna(TOperacion("1", 0, false, false, 0, 0, "Ana", "V", "Resta", "-", "9"));
        TFicheroConfig fc(cli.textos, interaccion, cli.dir.path());
        const QString ruta = cli.Ruta(QStringLiteral("bucle.cfg"));
        fc.EscribirConfiguracion(ruta, c, o);
        return ruta;
    }

    // `n` samples `periodoMs` apart of digital input 1 and, unless `soloDigital`, analog
    // input 1; with `conSalida`, analog output 1 plays 3 V to 5 V into analog input 1.
    QString ConfiguracionSimple(const QString& nombre, int n, int periodoMs, bool conSalida, bool soloDigital = false)
    {
        TConfigES c;
        c.NumMuestras = n;
        c.Periodo = periodoMs;
        c.TiempoAnalisis = (n - 1) * periodoMs;
        c.UnidadPeriodo = c.UnidadAnalisis = Unidad::Mili;
        c.EntDig(1).Activo = true;
        c.EntAna(1).Activo = !soloDigital;
        c.SalAna(1).Activo = conSalida;
        if (conSalida)
            c.SalAna(1).Generador = std::make_unique<TGenSeno>(cli.textos, cli.textos.BuscarTexto(195),
                                                               cli.textos.BuscarTexto(194), 0, 0, 1, 4, 1);
        TFicheroConfig(cli.textos, interaccion, cli.dir.path()).EscribirConfiguracion(cli.Ruta(nombre), c, TOperaciones{});
        return cli.Ruta(nombre);
    }

    // A signal file's samples of analog input 1 (volts) and of digital input 1.
    std::pair<QList<float>, QList<int>> Entradas(const QString& ruta)
    {
        TCjtSenales s(cli.textos, interaccion);
        TConfigES c;
        TOperaciones o;
        TFicheroConfig fc(cli.textos, interaccion, cli.dir.path());
        std::pair<QList<float>, QList<int>> r;
        const TSenalAna* a = AbrirFicheroSenales(ruta, fc, c, o, s) ? s.BuscarAna(QStringLiteral("InAnaC1")) : nullptr;
        for (int i = 0; a && i < a->NumMuestras(); ++i)
            r.first << a->LeerMuestra(i);
        const TSenalDig* d = s.BuscarDig(QStringLiteral("InDigA1"));
        for (int i = 0; d && i < d->NumMuestras(); ++i)
            r.second << d->LeerMuestra(i);
        return r;
    }

    // Whether the unit's outputs are all at zero now, as its looped-back inputs read them.
    bool SalidasACero(const QStringList& donde = {})
    {
        const QString out = cli.Ruta(QStringLiteral("entradas.qvn"));
        const QString cfg = ConfiguracionSimple(QStringLiteral("entradas.cfg"), 10, 1, false);
        EXPECT_EQ(cli.Correr(QStringList{"capture", cfg, "-o", out, "--force", "--overwrite"} + donde).estado, 0);
        const auto [a, d] = Entradas(out);
        return a.size() == 10 && d.size() == 10 && !d.contains(1) &&
               std::all_of(a.begin(), a.end(), [](float v) { return std::fabs(v) < 0.05f; });
    }

    TCli cli;
    test::TInteraccionGuion interaccion;
    test::TProceso sim{QStringLiteral("sadsim")};
    QString enlace;
};

} // namespace

TEST_F(CliUnidad, TestIdentificaLaUnidad)
{
    TResultado r = cli.Correr({QStringLiteral("test")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_EQ(Linea(r.salida, "unit:"), "unit: " + enlace.toLocal8Bit());
    EXPECT_EQ(Linea(r.salida, "version:"), "version: 1.21");
    EXPECT_EQ(Linea(r.salida, "capacity:"), "capacity: 63487");
    EXPECT_EQ(Linea(r.salida, "state:"), "state: 0 " + cli.textos.BuscarTexto(127).toLocal8Bit());

    // No unit on the named line: text 273.
    r = cli.Correr({QStringLiteral("test"), QStringLiteral("--port"), cli.Ruta(QStringLiteral("nada"))});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(273))) << r.error.toStdString();

    // A bare name is a device of the program folder, as in the station settings.
    r = cli.Correr({QStringLiteral("test"), QStringLiteral("--port"), QStringLiteral("ttySAD")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_EQ(Linea(r.salida, "unit:"), "unit: " + enlace.toLocal8Bit());
}

TEST_F(CliUnidad, CapturaConBucleDeSalidas)
{
    const QString cfg = Configuracion();
    const QString out = cli.Ruta(QStringLiteral("captura.qvn"));
    TResultado r = cli.Correr({QStringLiteral("capture"), cfg, QStringLiteral("-o"), out});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(249))) << r.error.toStdString();
    // The program's read-back finds what was programmed.
    EXPECT_TRUE(QFileInfo::exists(cli.Ruta(QStringLiteral("Programa.cfg"))));

    TCjtSenales s(cli.textos, interaccion);
    TConfigES c;
    TOperaciones o;
    TFicheroConfig fc(cli.textos, interaccion, cli.dir.path());
    ASSERT_TRUE(AbrirFicheroSenales(out, fc, c, o, s));
    const TSenalAna* in = s.BuscarAna(QStringLiteral("InAnaC1"));
    const TSenalAna* salida = s.BuscarAna(QStringLiteral("OutAnY1"));
    const TSenalAna* resta = s.BuscarAna(QStringLiteral("Resta"));
    const TSenalDig* din = s.BuscarDig(QStringLiteral("InDigA1"));
    const TSenalDig* dout = s.BuscarDig(QStringLiteral("OutDiW1"));
    ASSERT_TRUE(in && salida && resta && din && dout) << s.NombresAna().join(' ').toStdString();
    ASSERT_EQ(in->NumMuestras(), 200);
    ASSERT_EQ(salida->NumMuestras(), 200);
    // The output signal holds the generator's volts; the unit played them quantised
    // to output counts and read them back with the input converter.
    float maximo = 0;
    for (int i = 0; i < 200; ++i) {
        EXPECT_NEAR(in->LeerMuestra(i) * CuentasPorVoltio, salida->LeerMuestra(i) * CuentasPorVoltio, 2.0)
            << "sample " << i;
        EXPECT_NEAR(resta->LeerMuestra(i), in->LeerMuestra(i) - salida->LeerMuestra(i), 1e-5f);
        EXPECT_EQ(din->LeerMuestra(i), dout->LeerMuestra(i)) << "sample " << i;
        maximo = std::max(maximo, in->LeerMuestra(i));
    }
    EXPECT_GT(maximo, 7.5f); // the sine really went through: 1 V offset + 7 V

    r = cli.Correr({QStringLiteral("info"), out});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_EQ(Linea(r.salida, "content:"), "content: signals");
    EXPECT_TRUE(Linea(r.salida, "signal InAnaC1:").contains("200 samples, period 0.001 s, captured on channel 1"));
    EXPECT_TRUE(Linea(r.salida, "signal OutAnY1:").contains("generator of output 1"));

    // The unit now holds a finished capture: it is not replaced unasked, and the
    // existing file is not overwritten.
    const QString otro = cli.Ruta(QStringLiteral("otra.qvn"));
    r = cli.Correr({QStringLiteral("capture"), cfg, QStringLiteral("-o"), otro});
    EXPECT_EQ(r.estado, 1);
    // It says what the unit holds, whoever read it, and how to replace it.
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(302) + " (" + cli.textos.BuscarTexto(303) + ")"))
        << r.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(otro));
    r = cli.Correr({QStringLiteral("test")});
    EXPECT_EQ(Linea(r.salida, "state:"), "state: 3 " + cli.textos.BuscarTexto(302).toLocal8Bit());
    r = cli.Correr({QStringLiteral("capture"), cfg, QStringLiteral("-o"), out, QStringLiteral("--force")});
    EXPECT_EQ(r.estado, 1);
    EXPECT_FALSE(r.error.contains(cli.textos.BuscarTexto(302)));

    r = cli.Correr({QStringLiteral("capture"), cfg, QStringLiteral("-o"), otro, QStringLiteral("--force"),
                    QStringLiteral("--delay"), QStringLiteral("1")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    TCjtSenales s2(cli.textos, interaccion);
    TConfigES c2;
    TOperaciones o2;
    ASSERT_TRUE(AbrirFicheroSenales(otro, fc, c2, o2, s2));
    EXPECT_EQ(c2.Retardo, 1);
    EXPECT_EQ(s2.NumAna(), 3);
}

TEST_F(CliUnidad, CapturaQueNoCabeNoTocaLaUnidad)
{
    TConfigES c;
    c.NumMuestras = 70000;
    c.Periodo = 1;
    c.TiempoAnalisis = 70000;
    c.EntAna(1).Activo = true;
    c.EntAna(2).Activo = true;
    TFicheroConfig fc(cli.textos, interaccion, cli.dir.path());
    const QString cfg = cli.Ruta(QStringLiteral("grande.cfg"));
    fc.EscribirConfiguracion(cfg, c, TOperaciones{});
    TResultado r = cli.Correr({QStringLiteral("capture"), cfg, QStringLiteral("-o"), cli.Ruta(QStringLiteral("g.qvn"))});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(134))) << r.error.toStdString();
    r = cli.Correr({QStringLiteral("test")});
    EXPECT_EQ(Linea(r.salida, "state:"), "state: 0 " + cli.textos.BuscarTexto(127).toLocal8Bit());
}

TEST_F(CliUnidad, TestPorElRelay)
{
    const quint16 puerto = test::PuertoLibre();
    test::TProceso relay{QStringLiteral("RelayServer")};
    if (!QFileInfo::exists(QStringLiteral(QV_BIN_DIR "/RelayServer")))
        GTEST_SKIP() << "RelayServer not built";
    ASSERT_FALSE(relay.Start({QStringLiteral("--port"), QString::number(puerto), QStringLiteral("--serial"), enlace})
                     .isEmpty());
    const TResultado r = cli.Correr({QStringLiteral("test"), QStringLiteral("--relay"),
                                     QStringLiteral("127.0.0.1:%1").arg(puerto)});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_EQ(Linea(r.salida, "unit:"), QStringLiteral("unit: relay 127.0.0.1:%1").arg(puerto).toLocal8Bit());
    EXPECT_EQ(Linea(r.salida, "version:"), "version: 1.21");

    // This PC's slots taken: the companion says so (through the link's own message,
    // once), not that there is no unit.
    std::vector<std::unique_ptr<QTcpSocket>> abiertas(4);
    for (auto& s : abiertas) {
        s = std::make_unique<QTcpSocket>();
        s->connectToHost(QHostAddress::LocalHost, puerto);
        ASSERT_TRUE(s->waitForReadyRead(5000));
    }
    const TResultado lleno = cli.Correr({QStringLiteral("test"), QStringLiteral("--relay"),
                                         QStringLiteral("127.0.0.1:%1").arg(puerto)});
    EXPECT_EQ(lleno.estado, 1);
    EXPECT_EQ(lleno.error.count(cli.textos.BuscarTexto(304)), 1) << lleno.error.toStdString();
}

// A relay without a unit says so at once: the companion fails in seconds, not after
// eleven reads of 1.2 s each.
TEST_F(CliUnidad, RelaySinUnidadFallaEnSegundos)
{
    const quint16 puerto = test::PuertoLibre();
    test::TProceso relay{QStringLiteral("RelayServer")};
    ASSERT_FALSE(relay.Start({QStringLiteral("--port"), QString::number(puerto), QStringLiteral("--serial"),
                              cli.Ruta(QStringLiteral("no-hay-unidad"))})
                     .isEmpty());
    QElapsedTimer t;
    t.start();
    const TResultado r = cli.Correr({QStringLiteral("test"), QStringLiteral("--relay"),
                                     QStringLiteral("127.0.0.1:%1").arg(puerto)});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(273))) << r.error.toStdString();
    EXPECT_LT(t.elapsed(), 5000);
}

// The unit dies while a capture waits through the relay: the companion ends within
// seconds with the lost-unit text (it took 23 to 42 s and said 129).
TEST_F(CliUnidad, UnidadPerdidaDuranteLaCaptura)
{
    test::TSadsim lenta;
    ASSERT_TRUE(lenta.Arrancar({QStringLiteral("--speed"), QStringLiteral("1")}));
    const quint16 puerto = test::PuertoLibre();
    test::TProceso relay{QStringLiteral("RelayServer")};
    ASSERT_FALSE(relay.Start({QStringLiteral("--port"), QString::number(puerto), QStringLiteral("--serial"),
                              lenta.enlace})
                     .isEmpty());
    const QString out = cli.Ruta(QStringLiteral("perdida.qvn"));
    const QString esperando = cli.textos.BuscarTexto(255);
    QElapsedTimer desdeMuerte;
    QString error;
    const TResultado r = cli.Correr(
        {QStringLiteral("capture"), Configuracion(), QStringLiteral("-o"), out, QStringLiteral("--delay"),
         QStringLiteral("30"), QStringLiteral("--relay"), QStringLiteral("127.0.0.1:%1").arg(puerto)},
        60000, [&](QProcess& p) {
            error += QString::fromLocal8Bit(p.readAllStandardError());
            if (!desdeMuerte.isValid() && error.contains(esperando)) {
                lenta.Matar();
                desdeMuerte.start();
            }
        });
    error += r.error;
    ASSERT_TRUE(desdeMuerte.isValid()) << error.toStdString();
    // The relay's 3 s bound on the read in flight, its search and the next read.
    EXPECT_LT(desdeMuerte.elapsed(), 8000);
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(error.contains(cli.textos.BuscarTexto(284))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
}

// Outputs set by hand (command 5) are not left driven once a capture has ended.
TEST_F(CliUnidad, CapturaDejaLasSalidasACero)
{
    {
        QSerialPort p;
        p.setPortName(enlace);
        ASSERT_TRUE(p.open(QIODevice::ReadWrite));
        p.write("5,U,255,W,100#");
        ASSERT_TRUE(test::Esperar([&] { return p.waitForReadyRead(10) && p.readAll() == "&"; }));
    }
    const QString out = cli.Ruta(QStringLiteral("fijas.qvn"));
    const TResultado r = cli.Correr({"capture", ConfiguracionSimple(QStringLiteral("fijas.cfg"), 20, 1, false), "-o", out});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    // The capture saw the levels set by hand; they are gone once it has ended.
    const auto [a, d] = Entradas(out);
    ASSERT_EQ(a.size(), 20);
    EXPECT_NEAR(a.back(), 100 / 25.5, 0.05);
    EXPECT_EQ(d.back(), 1);
    EXPECT_TRUE(SalidasACero());
}

// Ctrl+C while the unit captures: it is aborted, its outputs go to zero, status 130.
TEST_F(CliUnidad, CtrlCAbortaYDejaLasSalidasACero)
{
    test::TSadsim lenta;
    ASSERT_TRUE(lenta.Arrancar({QStringLiteral("--speed"), QStringLiteral("1")}));
    const QString out = cli.Ruta(QStringLiteral("interrumpida.qvn"));
    QString error;
    QElapsedTimer desde; // set when Ctrl+C is sent
    const TResultado r = cli.Correr(
        {"capture", ConfiguracionSimple(QStringLiteral("larga.cfg"), 10000, 2, true), "-o", out, "--port", lenta.enlace},
        60000, [&](QProcess& p) {
            error += QString::fromLocal8Bit(p.readAllStandardError());
            if (!desde.isValid() && error.contains(cli.textos.BuscarTexto(251))) {
                ::kill(static_cast<pid_t>(p.processId()), SIGINT);
                desde.start();
            }
        });
    error += r.error;
    ASSERT_TRUE(desde.isValid()) << error.toStdString();
    EXPECT_EQ(r.estado, 130) << error.toStdString();
    EXPECT_TRUE(error.contains(cli.textos.BuscarTexto(470))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
    // Aborted, not left running for its 20 s, and its outputs do not play on.
    EXPECT_TRUE(Linea(cli.Correr({"test", "--port", lenta.enlace}).salida, "state:").startsWith("state: 0"));
    EXPECT_TRUE(SalidasACero({QStringLiteral("--port"), lenta.enlace}));
}

// The unit stalls for 3.5 s in the middle of a capture through the relay, which gives
// the command up: the companion fails with a numbered text and no file, or reads every
// sample; never a short file (a late answer once made 3 samples out of 60001).
TEST_F(CliUnidad, UnidadAtascadaPorElRelayNuncaDaUnFicheroCorto)
{
    test::TSadsim atascada;
    ASSERT_TRUE(atascada.Arrancar({"--speed", "100", "--fault", "atasco"}));
    test::TProceso relay{QStringLiteral("RelayServer")};
    const QString inicio = relay.Start({"--port", "0", "--serial", atascada.enlace}); // it names the port it took
    const QString puerto = QRegularExpression(QStringLiteral("port (\\d+)")).match(inicio).captured(1);
    ASSERT_FALSE(puerto.isEmpty()) << inicio.toStdString();
    const QString out = cli.Ruta(QStringLiteral("atasco.qvn"));
    const TResultado r = cli.Correr({"capture", ConfiguracionSimple(QStringLiteral("atasco.cfg"), 60001, 1, false, true), "-o",
                                     out, "--relay", "127.0.0.1:" + puerto},
                                    120000);
    if (r.estado == 1) {
        EXPECT_FALSE(QFileInfo::exists(out));
        EXPECT_TRUE(r.error.contains(cli.textos.BuscarTexto(125)) || r.error.contains(cli.textos.BuscarTexto(140)) ||
                    r.error.contains(cli.textos.BuscarTexto(157)))
            << r.error.toStdString();
    } else {
        EXPECT_EQ(r.estado, 0) << r.error.toStdString();
        EXPECT_EQ(Entradas(out).second.size(), 60001);
    }
}

// Two companions wait in the relay's line for a unit another station holds: each hears
// its place, "turns" shows the line in order, Ctrl+C leaves it at once, and the one
// left captures as soon as the holder goes.
TEST_F(CliUnidad, CapturaEsperaSuTurno)
{
    test::TProceso relay{QStringLiteral("RelayServer")};
    const QString inicio = relay.Start({"--port", "0", "--serial", enlace});
    const QString puerto = inicio.section(QLatin1Char(' '), 2, 2).remove(QLatin1Char(','));
    ASSERT_FALSE(puerto.isEmpty()) << inicio.toStdString();
    const QString destino = QStringLiteral("127.0.0.1:") + puerto;
    QTcpSocket titular;
    titular.connectToHost(QHostAddress::LocalHost, puerto.toUShort());
    ASSERT_TRUE(titular.waitForReadyRead(5000));
    ASSERT_EQ(titular.readLine(), "$\n");

    const QString cfg = ConfiguracionSimple(QStringLiteral("turno.cfg"), 40, 1, true);
    auto esperar = [&](QProcess& p, const char* desde, const QString& salida) {
        p.start(cli.Ruta(QStringLiteral("quorvane-cli")),
                {"capture", cfg, "-o", salida, "--relay", destino, "--wait", "--source", desde});
        return p.waitForStarted(5000);
    };
    QProcess a, b;
    QString errA, errB;
    const QString lugarA = cli.textos.BuscarTexto(511).arg(1).arg(1);
    const QString lugarB = cli.textos.BuscarTexto(511).arg(2).arg(2);
    ASSERT_TRUE(esperar(a, "127.0.0.2", cli.Ruta(QStringLiteral("a.qvn"))));
    ASSERT_TRUE(test::Esperar([&] { return (errA += QString::fromLocal8Bit(a.readAllStandardError())).contains(lugarA); }, 15000))
        << errA.toStdString();
    ASSERT_TRUE(esperar(b, "127.0.0.3", cli.Ruta(QStringLiteral("b.qvn"))));
    ASSERT_TRUE(test::Esperar([&] { return (errB += QString::fromLocal8Bit(b.readAllStandardError())).contains(lugarB); }, 15000))
        << errB.toStdString();

    const TResultado vista = cli.Correr({"turns", "--relay", destino});
    ASSERT_EQ(vista.estado, 0) << vista.error.toStdString();
    EXPECT_TRUE(vista.salida.startsWith("holder: 127.0.0.1 (")) << vista.salida.constData();
    EXPECT_TRUE(vista.salida.contains("waiting: 2\n"));
    EXPECT_LT(vista.salida.indexOf("127.0.0.2"), vista.salida.indexOf("127.0.0.3"));

    // Ctrl+C in line: out of it at once, with the interrupted status.
    ::kill(static_cast<pid_t>(b.processId()), SIGINT);
    ASSERT_TRUE(b.waitForFinished(5000));
    EXPECT_EQ(b.exitCode(), 130);
    const QByteArray despues = cli.Correr({"turns", "--relay", destino}).salida;
    EXPECT_TRUE(despues.contains("waiting: 1\n") && !despues.contains("127.0.0.3")) << despues.constData();
    EXPECT_FALSE(QFileInfo::exists(cli.Ruta(QStringLiteral("b.qvn"))));

    // The holder goes: the first in line is called and captures.
    EXPECT_EQ(a.state(), QProcess::Running);
    titular.disconnectFromHost();
    ASSERT_TRUE(a.waitForFinished(30000));
    errA += QString::fromLocal8Bit(a.readAllStandardError());
    EXPECT_EQ(a.exitCode(), 0) << errA.toStdString();
    EXPECT_TRUE(errA.contains(cli.textos.BuscarTexto(514).arg(QStringLiteral("127.0.0.1"))));
    EXPECT_EQ(Entradas(cli.Ruta(QStringLiteral("a.qvn"))).second.size(), 40);
}

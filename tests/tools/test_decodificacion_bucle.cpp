// Protocols played by the simulated unit and decoded again: a UART table on a digital
// output looped back to its input, programmed and read back by the program's own link,
// and the companion's protocol, capture and decode commands against the running sadsim.
#include "app/unidad_virtual.h"
#include "common/interaccion_guion.h"
#include "common/reloj_falso.h"
#include "common/textos_fijos.h"
#include "e2e/procesos.h"
#include "lang/idioma.h"
#include "model/base_tiempos.h"
#include "link/com_capvis.h"
#include "model/decodificador.h"
#include "model/escritura_segura.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/operaciones.h"
#include "model/senales.h"
#include "model/tablas_protocolo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qv;

namespace {

// The bytes of a UART decoding's data annotations, and how many frames it found wrong.
struct TBytes {
    QByteArray bytes;
    int errores = 0;
};
TBytes Bytes(const TResultadoDecod& r)
{
    TBytes b;
    for (const TAnotacionDecod& a : r.Anotaciones) {
        const QString clase = r.Clase(a);
        if (clase == QLatin1String("rx-data"))
            b.bytes += char(a.Textos.value(0).toInt(nullptr, 16));
        else if (clase.contains(QLatin1String("warning")) || clase.contains(QLatin1String("err"))
                 || clase.contains(QLatin1String("break")))
            ++b.errores;
    }
    return b;
}

TEST(BucleProtocolo, EveryByteValueAt9600BaudComesBackThroughTheUnit)
{
    test::TRelojFalso reloj;
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TUnidadSimulada unidad;
    TComCapvis enlace{textos, inter, reloj, {}};
    enlace.PonerPuerto(std::make_unique<test::TPuertoUnidad>(reloj, unidad), false);

    // 256 bytes, every value once, as frames on digital output 1 read by input 1.
    QByteArray mensaje;
    for (int v = 0; v < 256; ++v)
        mensaje += char(v);
    const int periodoUs = 26;
    std::vector<std::uint8_t> tabla = TablaUart(mensaje, TTramaUart{}, periodoUs * 1e-6);
    TConfigES config = ConfiguracionTablas(textos, {{1, QStringLiteral("uart.tba"), {}, QStringLiteral("Rx")}}, periodoUs,
                                           int(tabla.size()));
    ASSERT_EQ(ComprobarCaptura(config), 0);
    ASSERT_GE(config.NumMuestras, int(tabla.size()));
    CompletarTabla(tabla, config.NumMuestras);
    auto* gen = static_cast<TGenTablaDig*>(config.SalDig(1).Generador.get());
    gen->Valores = tabla;
    gen->NumValores = int(tabla.size());

    ASSERT_TRUE(enlace.ProgramarRetardo(config));
    // The capture runs on the unit's clock to its end.
    const double duracionMs = config.NumMuestras * periodoUs / 1000.0;
    reloj.ahora += qint64(duracionMs) + 50;
    unidad.Avanzar(reloj.ahora * 1000);
    ASSERT_EQ(unidad.Estado(), 3);
    bool datos = false;
    int n = 0;
    TCjtSenales senales(textos, inter);
    ASSERT_TRUE(enlace.LeerDatos(datos, n, senales, config));
    ASSERT_TRUE(datos);
    ASSERT_EQ(n, config.NumMuestras);
    const TSenalDig* rx = senales.BuscarDig(QStringLiteral("Rx"));
    ASSERT_NE(rx, nullptr);

    TDecodificador motor;
    if (!motor.Disponible())
        GTEST_SKIP() << "built without the decoding library";
    const TDecodificacion d{QStringLiteral("uart"), {{"rx", "Rx"}}, {{"baudrate", "9600"}}, {}};
    TEntradaDecod e;
    ASSERT_FALSE(PrepararEntrada(d, senales, e));
    EXPECT_NEAR(1.0 / e.Periodo, 1e6 / periodoUs, 1);
    const TResultadoDecod r = motor.Decodificar(d, e);
    ASSERT_FALSE(r.Fallo) << r.Fallo.Argumentos.join(' ').toStdString();
    const TBytes b = Bytes(r);
    EXPECT_EQ(b.bytes, mensaje);
    EXPECT_EQ(b.errores, 0);
}

// ---- the companion ----------------------------------------------------------------------

// quorvane-cli copied with its language file into a program folder of its own.
struct TCompanero {
    QTemporaryDir dir;
    bool ok = false;
    TCompanero()
    {
        const QDir bin(QStringLiteral(QV_BIN_DIR));
        ok = QFile::copy(bin.filePath(QStringLiteral("quorvane-cli")), Ruta(QStringLiteral("quorvane-cli")))
             && QFile::copy(bin.filePath(QStringLiteral("idioma.lng")), Ruta(QStringLiteral("idioma.lng")));
        idioma.setIdiomaFile(bin.filePath(QStringLiteral("idioma.lng")));
    }
    QString Ruta(const QString& n) const { return dir.filePath(n); }
    struct TSalida {
        int estado = -1;
        QByteArray salida;
        QString error;
    };
    TSalida Correr(const QStringList& args)
    {
        QProcess p;
        p.start(Ruta(QStringLiteral("quorvane-cli")), args);
        TSalida r;
        if (!p.waitForStarted(5000))
            return r;
        p.closeWriteChannel();
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished(2000);
            return r;
        }
        r.estado = p.exitCode();
        r.salida = p.readAllStandardOutput();
        r.error = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
    TLanguage idioma;
};

TEST(CliDecodificacion, ConfigurationCaptureAndCsvOfAUartMessageAndAnI2cWrite)
{
    TCompanero cli;
    ASSERT_TRUE(cli.ok);
    test::TSadsim sim;
    ASSERT_TRUE(sim.Arrancar());
    const QString mensaje = QStringLiteral("Hola, SAD: 0123456789 abcdefghijklmnopqrstuvwxyz!");

    // A configuration that plays the message on output 1 and reads it on input 1.
    const QString cfg = cli.Ruta(QStringLiteral("hola.cfg"));
    auto r = cli.Correr({QStringLiteral("protocol"), cfg, QStringLiteral("--uart"), mensaje});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_TRUE(QFileInfo::exists(cli.Ruta(QStringLiteral("hola-tx.tba"))));
    EXPECT_TRUE(r.salida.contains("every 26 us")) << r.salida.constData();
    // It is not written over unasked.
    r = cli.Correr({QStringLiteral("protocol"), cfg, QStringLiteral("--uart"), QStringLiteral("x")});
    EXPECT_EQ(r.estado, 1);

    const QString qvn = cli.Ruta(QStringLiteral("hola.qvn"));
    r = cli.Correr({QStringLiteral("capture"), cfg, QStringLiteral("-o"), qvn, QStringLiteral("--port"), sim.enlace});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();

    r = cli.Correr({QStringLiteral("decode"), qvn, QStringLiteral("--decoder"), QStringLiteral("uart"),
                    QStringLiteral("--channels"), QStringLiteral("rx=Rx"), QStringLiteral("--option"),
                    QStringLiteral("baudrate=9600"), QStringLiteral("--option"), QStringLiteral("format=ascii"),
                    QStringLiteral("--csv")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    const QList<QByteArray> lineas = r.salida.split('\n');
    ASSERT_GT(lineas.size(), 2);
    EXPECT_EQ(lineas.front(), "start_s,end_s,row,text\r");
    QString leido;
    double anterior = -1;
    int errores = 0;
    for (qsizetype i = 1; i < lineas.size(); ++i) {
        const QByteArray l = lineas[i].trimmed();
        if (l.isEmpty())
            continue;
        const qsizetype c1 = l.indexOf(','), c2 = l.indexOf(',', c1 + 1), c3 = l.indexOf(',', c2 + 1);
        ASSERT_GT(c3, 0) << l.constData();
        const double desde = l.left(c1).toDouble();
        EXPECT_GE(desde, anterior) << l.constData(); // by time
        EXPECT_LT(desde, l.mid(c1 + 1, c2 - c1 - 1).toDouble()) << l.constData();
        anterior = desde;
        const QByteArray fila = l.mid(c2 + 1, c3 - c2 - 1);
        QByteArray texto = l.mid(c3 + 1);
        if (texto.startsWith('"'))
            texto = texto.mid(1, texto.size() - 2).replace("\"\"", "\"");
        if (fila == "rx-data" && texto != "Start bit" && texto != "Stop bit")
            leido += QString::fromUtf8(texto);
        errores += fila == "rx-warnings";
    }
    EXPECT_EQ(leido, mensaje);
    EXPECT_EQ(errores, 0);

    // The plain table names the same rows; an unknown decoder is a numbered text.
    r = cli.Correr({QStringLiteral("decode"), qvn, QStringLiteral("--decoder"), QStringLiteral("uart"),
                    QStringLiteral("--channels"), QStringLiteral("rx=Rx"), QStringLiteral("--option"),
                    QStringLiteral("baudrate=9600")});
    ASSERT_EQ(r.estado, 0);
    EXPECT_TRUE(r.salida.startsWith("start_s"));
    EXPECT_TRUE(r.salida.contains("rx-data              48\n")) << r.salida.left(400).constData();
    r = cli.Correr({QStringLiteral("decode"), qvn, QStringLiteral("--decoder"), QStringLiteral("nohay"),
                    QStringLiteral("--channels"), QStringLiteral("rx=Rx")});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(cli.idioma.BuscarTexto(618).replace(QStringLiteral("%1"), QStringLiteral("nohay"))))
        << r.error.toStdString();
    // Decoding at the library's default of 115200 baud cannot be read at 26 us: the rate
    // it needs is said.
    r = cli.Correr({QStringLiteral("decode"), qvn, QStringLiteral("--decoder"), QStringLiteral("uart"),
                    QStringLiteral("--channels"), QStringLiteral("rx=Rx")});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(QStringLiteral("345600"))) << r.error.toStdString();

    // A file that keeps its decoding decodes without being told how.
    {
        TConfigES c;
        TOperaciones o;
        test::TInteraccionGuion inter;
        TCjtSenales set(cli.idioma, inter);
        TFicheroConfig fc(cli.idioma, inter, cli.dir.path());
        ASSERT_TRUE(AbrirFicheroSenales(qvn, fc, c, o, set));
        set.Decodificaciones = {{QStringLiteral("uart"), {{"rx", "Rx"}}, {{"baudrate", "9600"}}, {}}};
        GuardarFicheroSenales(cli.Ruta(QStringLiteral("guardada.qvn")), fc, c, o, set);
    }
    r = cli.Correr({QStringLiteral("decode"), cli.Ruta(QStringLiteral("guardada.qvn")), QStringLiteral("--csv"),
                    QStringLiteral("-o"), cli.Ruta(QStringLiteral("a.csv"))});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    QByteArray csv;
    ASSERT_TRUE(LeerFicheroEntero(cli.Ruta(QStringLiteral("a.csv")), csv));
    EXPECT_TRUE(csv.contains(",rx-data,48\r\n"));
    EXPECT_EQ(csv.count("rx-data,Start bit"), mensaje.size());
    r = cli.Correr({QStringLiteral("decode"), qvn});
    EXPECT_EQ(r.estado, 2); // keeps none: say which

    // An I2C write on outputs 1 and 2, with an EEPROM decoder stacked on the bus.
    const QString i2c = cli.Ruta(QStringLiteral("i2c.cfg"));
    r = cli.Correr({QStringLiteral("protocol"), i2c, QStringLiteral("--i2c"), QStringLiteral("0x50:00,2A")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    const QString i2cQvn = cli.Ruta(QStringLiteral("i2c.qvn"));
    r = cli.Correr({QStringLiteral("capture"), i2c, QStringLiteral("-o"), i2cQvn, QStringLiteral("--port"), sim.enlace,
                    QStringLiteral("--force")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    r = cli.Correr({QStringLiteral("decode"), i2cQvn, QStringLiteral("--decoder"), QStringLiteral("i2c"),
                    QStringLiteral("--channels"), QStringLiteral("scl=SCL,sda=SDA"), QStringLiteral("--stack"),
                    QStringLiteral("eeprom24xx"), QStringLiteral("--csv")});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_TRUE(r.salida.contains(",addr-data,Address write: 50\r\n")) << r.salida.constData();
    EXPECT_TRUE(r.salida.contains(",addr-data,Data write: 2A\r\n"));
    EXPECT_TRUE(r.salida.contains(",eeprom24xx:ops,\"Byte write (addr=00, 1 byte): 2A\"\r\n")) << r.salida.constData();

    // What the library offers, as the dialog reads it.
    r = cli.Correr({QStringLiteral("decoders"), QStringLiteral("spi")});
    ASSERT_EQ(r.estado, 0);
    EXPECT_TRUE(r.salida.contains("option cpol=0: Clock polarity [0, 1]")) << r.salida.constData();
    EXPECT_TRUE(r.salida.contains("channel clk (CLK, required)"));
}

} // namespace

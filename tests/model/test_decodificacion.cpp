// Protocol decoding through the decoding library: UART, I2C and SPI signals made sample by
// sample, what the library says its decoders offer, decoders that cannot run or that fail,
// the decoding thread, and the decodings kept in the signal file.
#include "common/interaccion_guion.h"
#include "common/textos_fijos.h"
#include "lang/textos.h"
#include "model/decodificador.h"
#include "model/fichero_senales.h"
#include "model/senales.h"
#include "model/servicio_decodificacion.h"
#include "model/tablas_protocolo.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace qv;
using qv::test::TInteraccionGuion;
using qv::test::TTextosFijos;

namespace {

// A decoder whose code raises once it sees a falling edge, in a folder of its own.
const char* const kDecodificadorRoto = R"(import sigrokdecode as srd

class Decoder(srd.Decoder):
    api_version = 3
    id = 'roto'
    name = 'Roto'
    longname = 'Roto a proposito'
    desc = 'Raises on the first falling edge.'
    license = 'gplv2+'
    inputs = ['logic']
    outputs = []
    channels = ({'id': 'd', 'name': 'D', 'desc': 'Data'},)
    annotations = (('x', 'X'),)

    def reset(self):
        pass

    def start(self):
        self.out_ann = self.register(srd.OUTPUT_ANN)

    def decode(self):
        self.wait({0: 'f'})
        raise ValueError('provocado en la muestra %d' % self.samplenum)
)";

class Decodificacion : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        carpeta = std::make_unique<QTemporaryDir>();
        QDir(carpeta->path()).mkpath(QStringLiteral("roto"));
        QFile pd(carpeta->filePath(QStringLiteral("roto/pd.py")));
        QFile ini(carpeta->filePath(QStringLiteral("roto/__init__.py")));
        ASSERT_TRUE(pd.open(QIODevice::WriteOnly) && ini.open(QIODevice::WriteOnly));
        pd.write(kDecodificadorRoto);
        ini.write("from .pd import Decoder\n");
        pd.close();
        ini.close();
        motor = std::make_unique<TDecodificador>(carpeta->path());
    }
    static void TearDownTestSuite()
    {
        motor.reset();
        carpeta.reset();
    }
    void SetUp() override
    {
        if (!motor->Disponible())
            GTEST_SKIP() << "built without the decoding library";
    }

    TSenalDig& Dig(const QString& nombre, const std::vector<std::uint8_t>& m, double periodo)
    {
        auto d = std::make_unique<TSenalDig>(nombre, false, nullptr, nullptr, 0, periodo, std::uint16_t(m.size()));
        for (std::size_t i = 0; i < m.size(); ++i)
            d->PonerMuestra(int(i), m[i]);
        TSenalDig& r = *d;
        EXPECT_TRUE(set.AnadirDig(std::move(d)));
        return r;
    }

    TResultadoDecod Decodificar(const TDecodificacion& d)
    {
        TEntradaDecod e;
        const TFalloDecod f = PrepararEntrada(d, set, e);
        EXPECT_FALSE(f) << f.Clave;
        return motor->Decodificar(d, e);
    }

    // The texts of one row, in order; with `clase`, of that annotation class only.
    static QStringList Fila(const TResultadoDecod& r, const QString& fila, const QString& clase = {})
    {
        QStringList t;
        for (const TAnotacionDecod& a : r.Anotaciones)
            if (r.IdFila(a.Fila) == fila && (clase.isEmpty() || r.Clase(a) == clase))
                t << a.Textos.value(0);
        return t;
    }
    static std::vector<const TAnotacionDecod*> De(const TResultadoDecod& r, const QString& fila)
    {
        std::vector<const TAnotacionDecod*> v;
        for (const TAnotacionDecod& a : r.Anotaciones)
            if (r.IdFila(a.Fila) == fila)
                v.push_back(&a);
        return v;
    }

    static inline std::unique_ptr<QTemporaryDir> carpeta;
    static inline std::unique_ptr<TDecodificador> motor;
    TTextosFijos textos;
    TInteraccionGuion interaccion;
    TCjtSenales set{textos, interaccion};
};

TDecodificacion Uart(const QString& senal, const QString& baudios)
{
    return {QStringLiteral("uart"), {{QStringLiteral("rx"), senal}}, {{QStringLiteral("baudrate"), baudios}}, {}};
}

TEST_F(Decodificacion, UartFramesComeBackByteForByteAtTheirSamples)
{
    // 9600 baud sampled every 26 us: four samples and a bit per bit, as the unit captures it.
    const double P = 26e-6;
    TTramaUart trama;
    Dig(QStringLiteral("Rx"), TablaUart("Hola", trama, P), P);
    TResultadoDecod r = Decodificar(Uart(QStringLiteral("Rx"), QStringLiteral("9600")));
    ASSERT_FALSE(r.Fallo) << r.Fallo.Clave << " " << r.Fallo.Argumentos.join(' ').toStdString();
    // The data row holds each frame's start bit, data and stop bit.
    EXPECT_EQ(Fila(r, QStringLiteral("rx-data"), QStringLiteral("rx-data")), (QStringList{"48", "6F", "6C", "61"}));
    EXPECT_EQ(Fila(r, QStringLiteral("rx-data")).mid(0, 3), (QStringList{"Start bit", "48", "Stop bit"}));
    EXPECT_TRUE(Fila(r, QStringLiteral("rx-warnings")).isEmpty());
    // Each frame starts at its start bit: after 10 idle bits, 10 bits a frame.
    std::vector<const TAnotacionDecod*> inicios;
    for (const TAnotacionDecod* a : De(r, QStringLiteral("rx-data")))
        if (r.Clase(*a) == QLatin1String("rx-start"))
            inicios.push_back(a);
    ASSERT_EQ(inicios.size(), 4u);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(double(inicios[std::size_t(k)]->Desde), (10 + 10 * k) / 9600.0 / P, 1.0) << k;
    EXPECT_EQ(r.Muestras, std::int64_t(TablaUart("Hola", trama, P).size()));
    EXPECT_DOUBLE_EQ(r.Periodo, P);

    // The options change what the library reads: seven bits, even parity, ASCII.
    TTramaUart siete;
    siete.BitsDatos = 7;
    siete.Paridad = 'e';
    Dig(QStringLiteral("Rx7"), TablaUart("Hi!", siete, P), P);
    TDecodificacion d = Uart(QStringLiteral("Rx7"), QStringLiteral("9600"));
    d.Opciones.push_back({QStringLiteral("data_bits"), QStringLiteral("7")});
    d.Opciones.push_back({QStringLiteral("parity"), QStringLiteral("even")});
    d.Opciones.push_back({QStringLiteral("format"), QStringLiteral("ascii")});
    r = Decodificar(d);
    EXPECT_EQ(Fila(r, QStringLiteral("rx-data"), QStringLiteral("rx-data")), (QStringList{"H", "i", "!"}));
    EXPECT_TRUE(Fila(r, QStringLiteral("rx-warnings")).isEmpty());
    // Read as odd parity, every frame has a parity error.
    d.Opciones[2].Valor = QStringLiteral("odd");
    r = Decodificar(d);
    EXPECT_EQ(Fila(r, QStringLiteral("rx-data"), QStringLiteral("rx-data")).size(), 3);
    EXPECT_EQ(Fila(r, QStringLiteral("rx-data"), QStringLiteral("rx-parity-err")).size(), 3);
}

TEST_F(Decodificacion, I2cWriteGivesAddressDataAndAcknowledges)
{
    const double P = 26e-6;
    const TTablasI2C t = TablaI2CEscritura(0x50, QByteArray("\x12\xA5", 2), 9000, P);
    ASSERT_EQ(t.Scl.size(), t.Sda.size());
    Dig(QStringLiteral("SCL"), t.Scl, P);
    Dig(QStringLiteral("SDA"), t.Sda, P);
    TDecodificacion d{QStringLiteral("i2c"), {{"scl", "SCL"}, {"sda", "SDA"}}, {}, {}};
    TResultadoDecod r = Decodificar(d);
    ASSERT_FALSE(r.Fallo) << r.Fallo.Argumentos.join(' ').toStdString();
    const QStringList fila = Fila(r, QStringLiteral("addr-data"));
    EXPECT_EQ(fila, (QStringList{"Start", "Address write: 50", "Write", "ACK", "Data write: 12", "ACK", "Data write: A5",
                                 "ACK", "Stop"}));
    EXPECT_EQ(Fila(r, QStringLiteral("bits")).size(), 8u * 3);

    // A decoder stacked on it reads the bus transfer: a byte write to an EEPROM.
    d.Apilados.push_back({QStringLiteral("eeprom24xx"), {}});
    r = Decodificar(d);
    ASSERT_FALSE(r.Fallo) << r.Fallo.Argumentos.join(' ').toStdString();
    EXPECT_FALSE(Fila(r, QStringLiteral("addr-data")).isEmpty());
    const QStringList ops = Fila(r, QStringLiteral("eeprom24xx:ops"));
    ASSERT_EQ(ops.size(), 1);
    EXPECT_TRUE(ops.front().startsWith(QStringLiteral("Byte write (addr=12, 1 byte): A5"))) << ops.front().toStdString();
    EXPECT_TRUE(r.Filas[std::size_t(De(r, "eeprom24xx:ops").front()->Fila)].Apilada);
}

TEST_F(Decodificacion, SpiModesAndBitOrder)
{
    // Two bytes with CS low, four samples a bit: MOSI A5 3C, MISO 0F F0.
    const QByteArray mosi("\xA5\x3C", 2), miso("\x0F\xF0", 2);
    const auto construir = [&](int cpol, bool lsb) {
        std::vector<std::uint8_t> clk, mo, mi, cs;
        const auto poner = [&](int c, int a, int b, int s, int n) {
            clk.insert(clk.end(), std::size_t(n), std::uint8_t(c));
            mo.insert(mo.end(), std::size_t(n), std::uint8_t(a));
            mi.insert(mi.end(), std::size_t(n), std::uint8_t(b));
            cs.insert(cs.end(), std::size_t(n), std::uint8_t(s));
        };
        poner(cpol, 0, 0, 1, 8);
        poner(cpol, 0, 0, 0, 4);
        for (int k = 0; k < 2; ++k)
            for (int b = 0; b < 8; ++b) {
                const int bit = lsb ? b : 7 - b;
                const int a = (static_cast<unsigned char>(mosi[k]) >> bit) & 1;
                const int c = (static_cast<unsigned char>(miso[k]) >> bit) & 1;
                // Data settles in the first half, sampled on the leading edge (mode 0 / 2).
                poner(cpol, a, c, 0, 2);
                poner(1 - cpol, a, c, 0, 2);
            }
        poner(cpol, 0, 0, 0, 4);
        poner(cpol, 0, 0, 1, 8);
        set.Vaciar();
        Dig(QStringLiteral("CLK"), clk, 1e-6);
        Dig(QStringLiteral("MOSI"), mo, 1e-6);
        Dig(QStringLiteral("MISO"), mi, 1e-6);
        Dig(QStringLiteral("CS"), cs, 1e-6);
    };
    TDecodificacion d{QStringLiteral("spi"),
                      {{"clk", "CLK"}, {"mosi", "MOSI"}, {"miso", "MISO"}, {"cs", "CS"}},
                      {},
                      {}};
    construir(0, false);
    TResultadoDecod r = Decodificar(d);
    ASSERT_FALSE(r.Fallo) << r.Fallo.Argumentos.join(' ').toStdString();
    EXPECT_EQ(Fila(r, QStringLiteral("mosi-data")), (QStringList{"A5", "3C"}));
    EXPECT_EQ(Fila(r, QStringLiteral("miso-data")), (QStringList{"0F", "F0"}));

    // Mode 2 (clock idle high), least significant bit first.
    construir(1, true);
    d.Opciones = {{QStringLiteral("cpol"), QStringLiteral("1")}, {QStringLiteral("bitorder"), QStringLiteral("lsb-first")}};
    r = Decodificar(d);
    EXPECT_EQ(Fila(r, QStringLiteral("mosi-data")), (QStringList{"A5", "3C"}));
    // The same lines read in mode 0 give other bytes.
    d.Opciones = {{QStringLiteral("bitorder"), QStringLiteral("lsb-first")}};
    r = Decodificar(d);
    EXPECT_NE(Fila(r, QStringLiteral("mosi-data")), (QStringList{"A5", "3C"}));
}

TEST_F(Decodificacion, TheLibraryDescribesItsDecoders)
{
    const TCatalogoDecod& c = motor->Catalogo();
    ASSERT_GT(c.size(), 50u);
    const TInfoDecodificador* uart = BuscarDecodificador(c, QStringLiteral("uart"));
    ASSERT_NE(uart, nullptr);
    EXPECT_TRUE(uart->LeeMuestras());
    const TOpcionDecodificador* baud = uart->Opcion(QStringLiteral("baudrate"));
    ASSERT_NE(baud, nullptr);
    EXPECT_EQ(baud->Tipo, TTipoOpcion::Entero);
    EXPECT_EQ(baud->Defecto, QStringLiteral("115200"));
    const TOpcionDecodificador* paridad = uart->Opcion(QStringLiteral("parity"));
    ASSERT_NE(paridad, nullptr);
    EXPECT_EQ(paridad->Tipo, TTipoOpcion::Texto);
    EXPECT_TRUE(paridad->Valores.contains("odd") && paridad->Valores.contains("even"));
    EXPECT_EQ(uart->Opcion(QStringLiteral("stop_bits"))->Tipo, TTipoOpcion::Real);
    EXPECT_TRUE(ValorValido(*uart->Opcion("stop_bits"), QStringLiteral("1.5")));
    EXPECT_FALSE(ValorValido(*uart->Opcion("stop_bits"), QStringLiteral("3")));
    EXPECT_FALSE(ValorValido(*baud, QStringLiteral("96OO")));
    EXPECT_FALSE(ValorValido(*paridad, QStringLiteral("mark")));
    // RX and TX are both optional; the rows name RX data "rx-data".
    ASSERT_NE(uart->Canal(QStringLiteral("rx")), nullptr);
    EXPECT_FALSE(uart->Canal(QStringLiteral("rx"))->Obligatorio);
    EXPECT_TRUE(std::any_of(uart->Filas.begin(), uart->Filas.end(), [](const auto& f) { return f.Id == "rx-data"; }));

    const TInfoDecodificador* i2c = BuscarDecodificador(c, QStringLiteral("i2c"));
    ASSERT_NE(i2c, nullptr);
    EXPECT_TRUE(i2c->Canal("scl")->Obligatorio && i2c->Canal("sda")->Obligatorio);
    const auto sobreI2c = Apilables(c, *i2c);
    EXPECT_TRUE(std::any_of(sobreI2c.begin(), sobreI2c.end(), [](auto* i) { return i->Id == "eeprom24xx"; }));
    EXPECT_FALSE(std::any_of(sobreI2c.begin(), sobreI2c.end(), [](auto* i) { return i->Id == "spiflash"; }));
    const TInfoDecodificador* spi = BuscarDecodificador(c, QStringLiteral("spi"));
    ASSERT_NE(spi, nullptr);
    EXPECT_EQ(spi->Opcion(QStringLiteral("cpol"))->Valores, (QStringList{"0", "1"}));
    EXPECT_TRUE(spi->Canal("clk")->Obligatorio);
    EXPECT_FALSE(spi->Canal("cs")->Obligatorio);
    // The folder given besides the library's own is read too.
    EXPECT_NE(BuscarDecodificador(c, QStringLiteral("roto")), nullptr);
}

TEST_F(Decodificacion, WhatCannotRunOrFailsSaysWhy)
{
    const double P = 26e-6;
    Dig(QStringLiteral("Rx"), TablaUart("Hola", TTramaUart{}, P), P);
    Dig(QStringLiteral("Lento"), TablaUart("x", TTramaUart{}, P), 200e-6);

    // A decoder's own code raising: its message, and what came before it stays.
    TDecodificacion roto{QStringLiteral("roto"), {{"d", "Rx"}}, {}, {}};
    TResultadoDecod r = Decodificar(roto);
    EXPECT_EQ(r.Fallo.Clave, clave_decod::kTextoFallo);
    ASSERT_EQ(r.Fallo.Argumentos.size(), 2);
    EXPECT_EQ(r.Fallo.Argumentos[0], QStringLiteral("roto"));
    EXPECT_TRUE(r.Fallo.Argumentos[1].contains(QStringLiteral("provocado en la muestra"))) << r.Fallo.Argumentos[1].toStdString();
    EXPECT_EQ(TextoFallo(r.Fallo, textos), QStringLiteral("T609"));
    // A second object while this one holds the library is not available, and leaves this
    // one decoding and hearing the library's messages.
    {
        TDecodificador otro;
        EXPECT_FALSE(otro.Disponible());
        EXPECT_EQ(otro.Decodificar(roto, TEntradaDecod{}).Fallo.Clave, clave_decod::kTextoSinBiblioteca);
    }
    r = Decodificar(roto);
    ASSERT_EQ(r.Fallo.Argumentos.size(), 2);
    EXPECT_TRUE(r.Fallo.Argumentos[1].contains(QStringLiteral("provocado"))) << r.Fallo.Argumentos[1].toStdString();

    r = Decodificar({QStringLiteral("nohay"), {{"d", "Rx"}}, {}, {}});
    EXPECT_EQ(r.Fallo.Clave, clave_decod::kTextoDesconocido);
    EXPECT_EQ(r.Fallo.Argumentos, QStringList{"nohay"});
    EXPECT_EQ(motor->Info(QStringLiteral("../uart")), nullptr);

    // I2C without its data line, UART with no line at all, a channel the decoder lacks.
    r = Decodificar({QStringLiteral("i2c"), {{"scl", "Rx"}}, {}, {}});
    EXPECT_EQ(r.Fallo.Clave, clave_decod::kTextoSinCanal);
    EXPECT_EQ(r.Fallo.Argumentos, (QStringList{"SDA", "i2c"}));
    r = Decodificar({QStringLiteral("uart"), {}, {}, {}});
    EXPECT_EQ(r.Fallo.Clave, clave_decod::kTextoSinCanal);
    r = Decodificar({QStringLiteral("uart"), {{"rxd", "Rx"}}, {}, {}});
    EXPECT_EQ(r.Fallo.Clave, clave_decod::kTextoCanalDesconocido);

    // 5 kHz cannot read 9600 baud: at least three samples a bit, 28800 Hz, 34.72 us.
    r = Decodificar(Uart(QStringLiteral("Lento"), QStringLiteral("9600")));
    EXPECT_EQ(r.Fallo.Clave, clave_decod::kTextoFrecuenciaBaja);
    EXPECT_EQ(r.Fallo.Argumentos, (QStringList{"5000", "9600", "28800", "34.72"}));
    EXPECT_TRUE(r.Anotaciones.empty());
    // Without a baud rate the library's default (115200) is what must be read.
    r = Decodificar({QStringLiteral("uart"), {{"rx", "Rx"}}, {}, {}});
    EXPECT_EQ(r.Fallo.Clave, clave_decod::kTextoFrecuenciaBaja);

    // Options of the wrong kind or unknown, before anything runs.
    r = Decodificar(Uart(QStringLiteral("Rx"), QStringLiteral("rapido")));
    EXPECT_EQ(r.Fallo.Clave, clave_decod::kTextoOpcionNoValida);
    EXPECT_EQ(r.Fallo.Argumentos, (QStringList{"baudrate", "rapido"}));
    TDecodificacion d = Uart(QStringLiteral("Rx"), QStringLiteral("9600"));
    d.Opciones.push_back({QStringLiteral("paridad"), QStringLiteral("none")});
    EXPECT_EQ(Decodificar(d).Fallo.Clave, clave_decod::kTextoOpcionNoValida);

    // The signals themselves: a name the set lacks, periods that differ, too many.
    TEntradaDecod e;
    EXPECT_EQ(PrepararEntrada(Uart(QStringLiteral("Otra"), "9600"), set, e).Clave, clave_decod::kTextoSinSenal);
    TDecodificacion dos{QStringLiteral("uart"), {{"rx", "Rx"}, {"tx", "Lento"}}, {}, {}};
    EXPECT_EQ(PrepararEntrada(dos, set, e).Clave, clave_decod::kTextoPeriodosDistintos);
    TDecodificacion muchos{QStringLiteral("parallel"), {}, {}, {}};
    for (int k = 0; k < 9; ++k) {
        Dig(QStringLiteral("D%1").arg(k), {0, 1, 0}, P);
        muchos.Canales.push_back({QStringLiteral("d%1").arg(k), QStringLiteral("D%1").arg(k)});
    }
    EXPECT_EQ(PrepararEntrada(muchos, set, e).Clave, clave_decod::kTextoDemasiadosCanales);
}

TEST_F(Decodificacion, PackingCancellationAndProgress)
{
    const double P = 26e-6;
    Dig(QStringLiteral("A"), {1, 0, 1, 1, 0}, P);
    Dig(QStringLiteral("B"), {0, 0, 1, 0, 1, 1, 1}, P);
    TEntradaDecod e;
    ASSERT_FALSE(PrepararEntrada({QStringLiteral("uart"), {{"rx", "B"}, {"tx", "A"}}, {}, {}}, set, e));
    // B is bit 0, A bit 1; the shortest signal sets the length.
    EXPECT_EQ(e.Muestras, (std::vector<std::uint8_t>{2, 0, 3, 2, 1}));
    EXPECT_EQ(e.Senales, (QStringList{"B", "A"}));

    // A full memory in pieces: progress after each, cancellation between two.
    set.Vaciar();
    std::vector<std::uint8_t> m = TablaUart(QByteArray(300, 'U'), TTramaUart{}, P);
    m.resize(63487, 1);
    Dig(QStringLiteral("Rx"), m, P);
    ASSERT_FALSE(PrepararEntrada(Uart(QStringLiteral("Rx"), "9600"), set, e));
    std::vector<std::int64_t> hechas;
    std::atomic<bool> cancelar(false);
    TResultadoDecod r = motor->Decodificar(Uart(QStringLiteral("Rx"), "9600"), e, &cancelar,
                                           [&](std::int64_t h, std::int64_t total) {
                                               EXPECT_EQ(total, 63487);
                                               hechas.push_back(h);
                                               if (hechas.size() == 2)
                                                   cancelar = true;
                                           });
    EXPECT_TRUE(r.Cancelado);
    EXPECT_FALSE(r.Fallo);
    EXPECT_EQ(hechas, (std::vector<std::int64_t>{TDecodificador::Trozo, 2 * TDecodificador::Trozo}));
    hechas.clear();
    cancelar = false;
    r = motor->Decodificar(Uart(QStringLiteral("Rx"), "9600"), e, &cancelar,
                           [&](std::int64_t h, std::int64_t) { hechas.push_back(h); });
    EXPECT_FALSE(r.Cancelado);
    EXPECT_EQ(hechas.back(), 63487);
    EXPECT_EQ(Fila(r, QStringLiteral("rx-data"), QStringLiteral("rx-data")), QStringList(300, QStringLiteral("55")));
}

// The program's decoding thread answers through queued signals.
TEST(ServicioDecodificacion, DecodesOnItsOwnThreadAndCancels)
{
    TServicioDecodificacion servicio;
    QSignalSpy catalogo(&servicio, &TServicioDecodificacion::CatalogoListo);
    QSignalSpy hecho(&servicio, &TServicioDecodificacion::Decodificado);
    servicio.PedirCatalogo();
    ASSERT_TRUE(catalogo.wait(20000));
    const auto c = catalogo.front().at(0).value<TCatalogoCompartido>();
    if (catalogo.front().at(1).toInt() != 0)
        GTEST_SKIP() << "built without the decoding library";
    EXPECT_NE(BuscarDecodificador(*c, QStringLiteral("uart")), nullptr);

    // A full memory cancelled as soon as it is queued stops (before or while it runs);
    // the one after it runs to the end.
    auto largo = std::make_shared<TEntradaDecod>();
    largo->Periodo = 26e-6;
    largo->Muestras = TablaUart(QByteArray(1500, 'U'), TTramaUart{}, largo->Periodo);
    largo->Canales = {{QStringLiteral("rx"), 0}};
    auto e = std::make_shared<TEntradaDecod>(*largo);
    e->Muestras = TablaUart("Hola", TTramaUart{}, e->Periodo);
    const TDecodificacion d = Uart(QString(), QStringLiteral("9600"));
    const int primero = servicio.Decodificar(d, largo);
    servicio.Cancelar(primero);
    const int segundo = servicio.Decodificar(d, e);
    ASSERT_TRUE(hecho.wait(20000));
    if (hecho.size() < 2) {
        ASSERT_TRUE(hecho.wait(20000));
    }
    ASSERT_EQ(hecho.size(), 2);
    EXPECT_EQ(hecho[0].at(0).toInt(), primero);
    const auto cancelado = hecho[0].at(1).value<TResultadoCompartido>();
    EXPECT_TRUE(cancelado->Cancelado);
    int bytes = 0;
    for (const TAnotacionDecod& a : cancelado->Anotaciones)
        bytes += cancelado->Clase(a) == QLatin1String("rx-data");
    EXPECT_LT(bytes, 1500);
    EXPECT_EQ(hecho[1].at(0).toInt(), segundo);
    const auto r = hecho[1].at(1).value<TResultadoCompartido>();
    EXPECT_FALSE(r->Cancelado);
    QStringList datos;
    for (const TAnotacionDecod& a : r->Anotaciones)
        if (r->Clase(a) == QLatin1String("rx-data"))
            datos << a.Textos.value(0);
    EXPECT_EQ(datos, (QStringList{"48", "6F", "6C", "61"}));
}

// ---- the signal file ----------------------------------------------------------------------

class DecodificacionFichero : public ::testing::Test {
protected:
    TTextosFijos textos;
    TInteraccionGuion interaccion;

    std::unique_ptr<TCjtSenales> Conjunto()
    {
        auto s = std::make_unique<TCjtSenales>(textos, interaccion);
        for (const char* n : {"Rx", "SCL", "SDA"}) {
            auto d = std::make_unique<TSenalDig>(QString::fromLatin1(n), false, nullptr, nullptr, 0, 26e-6, 3);
            d->PonerMuestra(1, 1);
            s->AnadirDig(std::move(d));
        }
        return s;
    }
};

TEST_F(DecodificacionFichero, DecodingsSurviveTheFileAndOldReadersIgnoreThem)
{
    auto s = Conjunto();
    s->Comentario = QStringList{"Decodificaciones:", "una prueba"};
    s->Anotaciones.push_back({true, {}, 0.5f, 40.0f, QStringLiteral("nota")});
    TDecodificacion uart{QStringLiteral("uart"),
                         {{"rx", "Rx"}},
                         {{"baudrate", "9600"}, {"format", "ascii"}, {"rx_packet_delim", "-1"}},
                         {}};
    TDecodificacion i2c{QStringLiteral("i2c"),
                        {{"scl", "SCL"}, {"sda", "SDA"}},
                        {{"address_format", "unshifted"}},
                        {{QStringLiteral("eeprom24xx"), {{"chip", "generic"}, {"addr_counter", "3"}}}}};
    s->Decodificaciones = {uart, i2c};
    QByteArray datos;
    EscribirFichero(*s, datos);

    TCjtSenales leido(textos, interaccion);
    LeerFichero(leido, datos);
    EXPECT_EQ(leido.NumDig(), 3);
    EXPECT_EQ(leido.Comentario, s->Comentario);
    ASSERT_EQ(leido.Anotaciones.size(), 1u);
    EXPECT_EQ(leido.Anotaciones[0].Texto, QStringLiteral("nota"));
    ASSERT_EQ(leido.Decodificaciones.size(), 2u);
    EXPECT_EQ(leido.Decodificaciones[0], uart);
    EXPECT_EQ(leido.Decodificaciones[1], i2c);

    // A reader of single signals and the list of names walk past the block.
    EXPECT_EQ(NombresSenales(datos), (QStringList{"SDA", "SCL", "Rx"}));
    TCjtSenales uno(textos, interaccion);
    EXPECT_TRUE(LeerSenalDeDatos(uno, datos, QStringLiteral("Rx"), QStringLiteral("Rx")));
    EXPECT_TRUE(uno.Decodificaciones.empty());

    // Without notes the block still follows the comment; without the block, nothing.
    s->Anotaciones.clear();
    datos.clear();
    EscribirFichero(*s, datos);
    TCjtSenales sinNotas(textos, interaccion);
    LeerFichero(sinNotas, datos);
    EXPECT_EQ(sinNotas.Decodificaciones.size(), 2u);
    s->Decodificaciones.clear();
    datos.clear();
    EscribirFichero(*s, datos);
    EXPECT_FALSE(datos.contains("\r\nDecodificacion uart$"));
    TCjtSenales sinBloque(textos, interaccion);
    LeerFichero(sinBloque, datos);
    EXPECT_TRUE(sinBloque.Decodificaciones.empty());
    sinBloque.Decodificaciones = {uart};
    sinBloque.Vaciar();
    EXPECT_TRUE(sinBloque.Decodificaciones.empty());
}

TEST_F(DecodificacionFichero, ADamagedDecodingIsLeftOutAndTheRestKept)
{
    auto s = Conjunto();
    QByteArray datos;
    EscribirFichero(*s, datos);
    datos += "Decodificaciones:\r\n3\r\n"
             "Decodificacion uart$\r\nCanal rx$Rx\r\nOpcion baudrate$9600\r\n"          // no end line
             "Decodificacion i2c$\r\nCanal scl$SCL\r\nBasura\r\nFinDecodificacion$\r\n" // a line it cannot read
             "Decodificacion spi$\r\nCanal clk$SCL\r\nOpcion wordsize$8\r\nFinDecodificacion$\r\n";
    TCjtSenales leido(textos, interaccion);
    LeerFichero(leido, datos);
    EXPECT_EQ(leido.NumDig(), 3);
    ASSERT_EQ(leido.Decodificaciones.size(), 1u);
    EXPECT_EQ(leido.Decodificaciones[0].Decodificador, QStringLiteral("spi"));
    EXPECT_EQ(leido.Decodificaciones[0].SenalDe(QStringLiteral("clk")), QStringLiteral("SCL"));
    EXPECT_EQ(leido.Decodificaciones[0].Opcion(QStringLiteral("wordsize")), QStringLiteral("8"));
    // A count that is not a number: no decodings, the signals all there.
    datos.replace("Decodificaciones:\r\n3", "Decodificaciones:\r\nx");
    TCjtSenales otro(textos, interaccion);
    LeerFichero(otro, datos);
    EXPECT_EQ(otro.NumDig(), 3);
    EXPECT_TRUE(otro.Decodificaciones.empty());
}

// A message's arguments go each to its own place, whatever they hold themselves.
TEST(Decodificacion_, MessagesTakeTheirArgumentsOnce)
{
    class TTextosPrueba : public TTextos {
    public:
        QString BuscarTexto(int) const override { return QStringLiteral("Canal %1 de %2 (%3)"); }
        QString LeerTexto(int c) const override { return BuscarTexto(c); }
    } textos;
    EXPECT_EQ(TextoFallo({610, {QStringLiteral("%2"), QStringLiteral("i2c")}}, textos), QStringLiteral("Canal %2 de i2c (%3)"));
}

TEST(Decodificacion_, CsvOfAnnotations)
{
    TResultadoDecod r;
    r.Periodo = 0.5;
    r.Filas = {{"i2c", 0, "addr-data", "Address/Data", false}, {"eeprom24xx", 1, "ops", "Operations", true}};
    r.Anotaciones = {{2, 3, 0, 7, {"Address write: 50", "AW: 50"}}, {1, 5, 1, 9, {"Byte, \"w\"", "BW"}}};
    EXPECT_EQ(CsvAnotaciones(r), QByteArray("start_s,end_s,row,text\r\n"
                                            "1,1.5,addr-data,Address write: 50\r\n"
                                            "0.5,2.5,eeprom24xx:ops,\"Byte, \"\"w\"\"\"\r\n"));
}

} // namespace

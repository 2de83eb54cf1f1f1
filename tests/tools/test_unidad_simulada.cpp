#include "unidad_simulada.h"

#include <gtest/gtest.h>

#include <QList>
#include <cmath>
#include <iterator>
#include <random>

using qv::TFalloUnidad;
using qv::TOpcionesUnidad;
using qv::TUnidadSimulada;

namespace {

// Drives the unit on a virtual clock (microseconds), one command at a time.
struct Banco {
    explicit Banco(TOpcionesUnidad op = {}) : u(std::move(op)) {}

    QByteArray Pedir(const QByteArray& comando)
    {
        u.Recibir(comando, t);
        return u.TomarSalida(t);
    }
    void Pasar(std::int64_t us)
    {
        t += us;
        u.Avanzar(t);
    }
    int Estado()
    {
        const QByteArray r = Pedir("2#");
        EXPECT_TRUE(r.startsWith('&') && r.endsWith('#')) << r.constData();
        return r.mid(1, r.size() - 2).toInt();
    }
    // The "9#" reply as numbers: first the sample count, then every value.
    QList<int> Datos()
    {
        const QByteArray r = Pedir("9#");
        EXPECT_TRUE(r.startsWith('&') && r.endsWith('#')) << r.left(60).constData();
        QList<int> v;
        for (const QByteArray& c : r.mid(1, r.size() - 2).split(','))
            v << c.toInt();
        return v;
    }

    TUnidadSimulada u;
    std::int64_t t = 0;
};

QByteArray Repetir(int valor, int n)
{
    QByteArray r;
    for (int i = 0; i < n; ++i)
        r += QByteArray::number(valor) + ",";
    return r;
}

// Input counts of an analog output level looped back: counts -> volts -> input range.
int Bucle(int cuentasSalida, double fondo)
{
    const double v = cuentasSalida / 25.5;
    return static_cast<int>(std::clamp(std::round(v / fondo * 2048.0), -2048.0, 2047.0));
}

} // namespace

TEST(UnidadSimulada, IdentificaEstadoYComando4)
{
    Banco b;
    EXPECT_EQ(b.Pedir("1#"), "&1.21,126974#");
    EXPECT_EQ(b.Estado(), 0);
    const QByteArray r4 = b.Pedir("4,C#");
    EXPECT_TRUE(r4.startsWith('&') && r4.endsWith('#'));

    TOpcionesUnidad op;
    op.version = "1.10";
    Banco viejo(op);
    EXPECT_EQ(viejo.Pedir("1#"), "&1.10,126974#");
    EXPECT_TRUE(viejo.u.FirmwareAntiguo());

    // Unknown or malformed commands get no answer at all, and nothing changes.
    EXPECT_TRUE(b.Pedir("11#").isEmpty());
    EXPECT_TRUE(b.Pedir("3,q,0#").isEmpty());
    EXPECT_TRUE(b.Pedir("5,U,256#").isEmpty());
    EXPECT_EQ(b.u.ComandosRechazados(), 3);
    EXPECT_EQ(b.Pedir("8#"), "&");
}

TEST(UnidadSimulada, CapturaInmediataConBucleDeSalidas)
{
    Banco b;
    EXPECT_EQ(b.Pedir("3,c,0#"), "&");
    // 4 samples at 1 ms: digital group A and analog input 1, outputs u and w.
    EXPECT_EQ(b.Pedir("7,4,2,a,c,2,u,w,1,2,255,0,10,-100,255,0,0,1,1#"), "&");
    EXPECT_EQ(b.Estado(), 2);
    b.Pasar(2500);
    EXPECT_EQ(b.Estado(), 2);
    b.Pasar(1000);
    EXPECT_EQ(b.Estado(), 3);
    const QList<int> d = b.Datos();
    // count, then per sample A and analog 1
    const QList<int> esperado{4, 1, 80, 2, -803, 255, 2047, 0, 0};
    EXPECT_EQ(d, esperado);
    // Reading does not consume the data.
    EXPECT_EQ(b.Datos(), esperado);
    EXPECT_EQ(b.Estado(), 3);
}

TEST(UnidadSimulada, RangosYParDiferencial)
{
    Banco b;
    // Pair 1-2 differential on +-5 V, input 2 on its own range digit +-5 V too.
    EXPECT_EQ(b.Pedir("3,k,1,1#"), "&");
    // Outputs 1 and 2 at +2 V and -2 V for all 3 samples.
    const QByteArray cmd = "7,3,2,k,d,2,w,x," + Repetir(51, 3) + Repetir(-51, 3) + "0,1,1#";
    EXPECT_EQ(b.Pedir(cmd), "&");
    b.Pasar(5000);
    const QList<int> d = b.Datos();
    ASSERT_EQ(d.size(), 1 + 3 * 2);
    EXPECT_EQ(d[0], 3);
    EXPECT_EQ(d[1], 1638);  // 4 V on +-5 V
    EXPECT_EQ(d[2], -819);  // -2 V on +-5 V, single-ended
    // Ranges persist: input 3 on +-2 V (range 2) sees output 3 at 1 V.
    EXPECT_EQ(b.Pedir("3,e,2#"), "&");
    EXPECT_EQ(b.Pedir("7,2,1,e,1,y,26,26,0,1,1#"), "&");
    b.Pasar(5000);
    EXPECT_EQ(b.Datos(), (QList<int>{2, Bucle(26, 2.0), Bucle(26, 2.0)}));
}

TEST(UnidadSimulada, OrdenDeGruposEnLaLectura)
{
    Banco b;
    // Groups listed out of order are still read back as A, B, analog 1..8.
    b.Pedir("5,U,5,V,9#");
    const QByteArray cmd = "7,2,4,j,e,b,a,0,0,1,1#";
    EXPECT_EQ(b.Pedir(cmd), "&");
    b.Pasar(2000);
    const QList<int> d = b.Datos();
    ASSERT_EQ(d.size(), 1 + 2 * 4);
    EXPECT_EQ(d[1], 5);                  // A from output group u
    EXPECT_EQ(d[2], 9);                  // B from output group v
    EXPECT_EQ(d[3], 0);                  // analog 3 follows output 3, at 0
    EXPECT_EQ(d[4], 205);                // analog 8: constant 1 V on +-10 V
    // A capture of outputs only answers with its count alone.
    EXPECT_EQ(b.Pedir("7,3,0,1,u,1,2,0,0,1,1#"), "&");
    b.Pasar(5000);
    EXPECT_EQ(b.Pedir("9#"), "&3#");
}

TEST(UnidadSimulada, CapturaRetardadaPasaPorLosEstados)
{
    TOpcionesUnidad op;
    op.velocidad = 1000; // a 2 s delay passes in 2 ms of line time
    Banco b(op);
    EXPECT_EQ(b.Pedir("7,100,1,h,0,2,1,10#"), "&");
    EXPECT_EQ(b.Estado(), 1);
    EXPECT_EQ(b.Pedir("10#"), "&0#");
    EXPECT_EQ(b.Pedir("9#"), "&0#");
    b.Pasar(1990);
    EXPECT_EQ(b.Estado(), 1);
    b.Pasar(20); // 2.01 s of unit time: two samples of 10 ms taken
    EXPECT_EQ(b.Estado(), 2);
    const QByteArray m = b.Pedir("10#");
    EXPECT_TRUE(m.startsWith("&2,")) << m.constData();
    // Samples read while capturing are those taken so far.
    EXPECT_EQ(b.Datos().front(), 2);
    b.Pasar(1000);
    EXPECT_EQ(b.Estado(), 3);
    EXPECT_EQ(b.Pedir("10#"), "&0#");
    EXPECT_EQ(b.Datos().size(), 101);
}

TEST(UnidadSimulada, MonitorDaElUltimoValorDeCadaGrupo)
{
    Banco b;
    const QByteArray cmd = "7,5,2,a,c,2,u,w,1,2,3,4,0,51,102,153,204,0,0,1,1#";
    EXPECT_EQ(b.Pedir(cmd), "&");
    b.Pasar(2000); // samples 0, 1, 2 taken
    EXPECT_EQ(b.Pedir("10#"), "&3,3," + QByteArray::number(Bucle(153, 10)) + "#");
    b.Pasar(1000);
    EXPECT_EQ(b.Pedir("10#"), "&4,4," + QByteArray::number(Bucle(204, 10)) + "#");
}

TEST(UnidadSimulada, AbortarVuelveAlEstadoCero)
{
    Banco b;
    EXPECT_EQ(b.Pedir("7,1000,1,a,0,0,1,1#"), "&");
    b.Pasar(10000);
    EXPECT_EQ(b.Estado(), 2);
    EXPECT_EQ(b.Pedir("8#"), "&");
    EXPECT_EQ(b.Estado(), 0);
    EXPECT_EQ(b.Pedir("9#"), "&0#");
    b.Pasar(2000000);
    EXPECT_EQ(b.Estado(), 0);
}

TEST(UnidadSimulada, RechazaLoQueNoCabeEnMemoria)
{
    Banco b;
    // One analog input takes two words per sample: 31743 fit, 31744 do not.
    EXPECT_TRUE(b.Pedir("7,31744,1,c,0,0,1,1#").isEmpty());
    EXPECT_EQ(b.Estado(), 0);
    EXPECT_EQ(b.Pedir("7,31743,1,c,0,0,1,1#"), "&");
    EXPECT_EQ(b.Estado(), 2);
    // Outputs count too: analog in + analog out = 4 words.
    EXPECT_TRUE(b.Pedir("7,15872,1,c,1,w," + Repetir(0, 15872) + "0,1,1#").isEmpty());
    EXPECT_EQ(b.Pedir("7,15871,1,c,1,w," + Repetir(0, 15871) + "0,1,1#"), "&");
    // A refused program leaves the one before it running.
    EXPECT_TRUE(b.Pedir("7,63488,1,a,0,0,1,1#").isEmpty());
    EXPECT_EQ(b.Estado(), 2);
    // Sample count mismatch, bad period: refused as well.
    EXPECT_TRUE(b.Pedir("7,3,0,1,w,1,2,0,1,1#").isEmpty());
    EXPECT_TRUE(b.Pedir("7,3,1,a,0,0,1,0#").isEmpty());
}

TEST(UnidadSimulada, DisparoAnalogicoPorNivelYFlanco)
{
    // Input 5 carries a 2 V, 1 Hz sine starting upward at t = 0.
    {
        Banco b;
        b.Pasar(250000); // at the crest
        EXPECT_EQ(b.Pedir("6,100,1,g,0,g,0,1,1,1#"), "&");
        b.Pasar(740000); // 0.99 s: still falling/negative
        EXPECT_EQ(b.Estado(), 1);
        b.Pasar(20000); // past 1.0 s: crossed upward
        EXPECT_EQ(b.Estado(), 2);
        const QList<int> d = b.Datos();
        ASSERT_GE(d.size(), 2);
        EXPECT_GE(d[1], 0);
        EXPECT_LE(d[1], 10);
    }
    {
        Banco b;
        EXPECT_EQ(b.Pedir("6,100,1,g,0,g,0,0,1,1#"), "&"); // falling through 0
        b.Pasar(490000);
        EXPECT_EQ(b.Estado(), 1);
        b.Pasar(20000);
        EXPECT_EQ(b.Estado(), 2);
        const QList<int> d = b.Datos();
        EXPECT_LE(d[1], 0);
        EXPECT_GE(d[1], -10);
    }
    {
        // 1024 counts is 5 V on +-10 V: a 2 V sine never gets there.
        Banco b;
        EXPECT_EQ(b.Pedir("6,10,1,g,0,g,1024,2,1,1#"), "&");
        b.Pasar(5000000);
        EXPECT_EQ(b.Estado(), 1);
    }
    {
        // A level reached by a looped-back output: input 1 follows output 1 (w).
        Banco b;
        EXPECT_EQ(b.Pedir("6,5,1,c,0,c,-400,0,1,1#"), "&");
        b.Pasar(10000);
        EXPECT_EQ(b.Estado(), 1);
        EXPECT_EQ(b.Pedir("5,W,-100#"), "&"); // -3.92 V = -803 counts
        b.Pasar(1000);
        EXPECT_EQ(b.Estado(), 2);
    }
}

TEST(UnidadSimulada, DisparoDigitalPorFlanco)
{
    Banco b;
    // Input 3 of group A (bit 2), rising.
    EXPECT_EQ(b.Pedir("6,4,1,a,0,a,2,1,1,1#"), "&");
    b.Pasar(5000);
    EXPECT_EQ(b.Pedir("5,U,3#"), "&"); // bits 0 and 1: not ours
    b.Pasar(5000);
    EXPECT_EQ(b.Estado(), 1);
    EXPECT_EQ(b.Pedir("5,U,4#"), "&");
    b.Pasar(1000);
    EXPECT_EQ(b.Estado(), 2);
    b.Pasar(10000);
    const QList<int> d = b.Datos();
    EXPECT_EQ(d, (QList<int>{4, 4, 4, 4, 4}));

    // Falling edge on group B, input 9 (bit 0).
    Banco c;
    c.Pedir("5,V,1#");
    EXPECT_EQ(c.Pedir("6,2,1,b,0,b,0,0,1,1#"), "&");
    c.Pasar(5000);
    EXPECT_EQ(c.Estado(), 1);
    c.Pedir("5,V,0#");
    c.Pasar(5000);
    EXPECT_EQ(c.Estado(), 3);
}

TEST(UnidadSimulada, DisparoDigitalEnEntradaSinSalida)
{
    // No output drives port B: input 9 carries the count's lowest bit, rising at 10 ms.
    Banco b;
    EXPECT_EQ(b.Pedir("6,25,1,b,0,b,0,1,1,1#"), "&");
    b.Pasar(49000);
    EXPECT_EQ(b.Datos(), (QList<int>{25, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3}));
    Banco c; // input 10 falls at 40 ms, past its rise at 20 ms; watched from 12.345 ms
    c.Pasar(12345);
    EXPECT_EQ(c.Pedir("6,4,1,b,0,b,1,0,0,500#"), "&");
    c.Pasar(37655);
    EXPECT_EQ(c.Datos(), (QList<int>{4, 4, 4, 4, 4})); // count 4, not 2
    // Driven inputs keep their loop-back: port A always, port B once command 5 sets it.
    Banco d;
    EXPECT_EQ(d.Pedir("6,2,1,a,1,u,1,1,a,0,1,1,1#"), "&");
    d.Pedir("5,V,8#");
    d.Pasar(100000);
    EXPECT_EQ(d.Estado(), 1);
    EXPECT_EQ(d.Pedir("6,2,1,b,0,b,0,2,1,1#"), "&");
    d.Pasar(100000);
    EXPECT_EQ(d.Estado(), 1);
    // Every output off lets both ports go: the count reaches input 9 again.
    EXPECT_EQ(d.Pedir("5,U,0,V,0,W,0,X,0,Y,0,Z,0#"), "&");
    d.Pasar(20000);
    EXPECT_EQ(d.Estado(), 3);
}

TEST(UnidadSimulada, NivelesAlProgramarDisparanEntradasConBucle)
{
    TOpcionesUnidad op;
    QString error;
    ASSERT_TRUE(qv::LeerReposo(QStringLiteral("a1=5, d1=1"), op.reposo, error)) << qPrintable(error);
    // Output 1 steps from 0 V to 5.02 V when armed: input 1 crosses 1024 upward, not downward.
    Banco b(op), f(op);
    EXPECT_EQ(b.Pedir("6,3,1,c,0,c,1024,1,1,1#"), "&");
    EXPECT_EQ(f.Pedir("6,3,1,c,0,c,1024,0,1,1#"), "&");
    b.Pasar(100000);
    f.Pasar(100000);
    EXPECT_EQ(b.Datos(), (QList<int>{3, Bucle(128, 10), Bucle(128, 10), Bucle(128, 10)}));
    EXPECT_EQ(f.Estado(), 1);
    Banco c(op); // digital output 1 rises as well; u and w play from the trigger
    EXPECT_EQ(c.Pedir("6,2,2,a,c,2,u,w,6,7,10,20,a,0,1,1,1#"), "&");
    c.Pasar(3000);
    EXPECT_EQ(c.Datos(), (QList<int>{2, 6, Bucle(10, 10), 7, Bucle(20, 10)}));
    for (const char* malo : {"", "a5=1", "a1=10.5", "a1=x", "d0=1", "d17=1", "d1=2", "w=1", "a1"})
        EXPECT_FALSE(qv::LeerReposo(QLatin1String(malo), op.reposo, error)) << malo;
    ASSERT_TRUE(qv::LeerReposo(QStringLiteral("d10=1,d9=0,a4=-10"), op.reposo, error));
    EXPECT_EQ(op.reposo.mascara, (std::array<std::uint8_t, 2>{1, 3}));
    EXPECT_EQ(op.reposo.cuentas, (std::array<int, 4>{128, 0, 0, -255})); // earlier levels stay
}

TEST(UnidadSimulada, ConmutarSalidasDuranteLaCaptura)
{
    Banco b;
    const int n = 10;
    const QByteArray cmd = "7,10,2,a,c,2,u,w," + Repetir(255, n) + Repetir(100, n) + "0,1,1#";
    EXPECT_EQ(b.Pedir(cmd), "&");
    b.Pasar(1500); // samples 0, 1
    EXPECT_EQ(b.Pedir("13,2,u,2,0,7,w#"), "&");
    b.Pasar(3000); // samples 2, 3, 4
    EXPECT_EQ(b.Pedir("12,1,w#"), "&");
    b.Pasar(10000);
    const QList<int> d = b.Datos();
    ASSERT_EQ(d.size(), 1 + 2 * n);
    EXPECT_EQ(d[1], 255);
    EXPECT_EQ(d[2], Bucle(100, 10));
    EXPECT_EQ(d[1 + 2 * 2], 126);        // bits 0 and 7 off
    EXPECT_EQ(d[2 + 2 * 2], 0);          // analog output off
    EXPECT_EQ(d[1 + 2 * 6], 126);        // digital still off
    EXPECT_EQ(d[2 + 2 * 6], Bucle(100, 10)); // analog back on
    // Bodies that do not add up are refused.
    EXPECT_TRUE(b.Pedir("12,2,u,1,0#").isEmpty());
    EXPECT_TRUE(b.Pedir("12,1,u,1,8#").isEmpty());
}

TEST(UnidadSimulada, ComandoLargoEnMuchasLecturas)
{
    Banco b;
    const int n = 2000;
    QByteArray cmd = "7,2000,1,c,1,w,";
    for (int k = 0; k < n; ++k)
        cmd += QByteArray::number((k % 511) - 255) + ",";
    cmd += "0,1,1#";
    // One byte at a time, with no reply before the terminator.
    for (qsizetype i = 0; i + 1 < cmd.size(); ++i) {
        b.u.Recibir(cmd.mid(i, 1), b.t);
        ASSERT_TRUE(b.u.TomarSalida(b.t).isEmpty()) << "early reply at byte " << i;
    }
    EXPECT_EQ(b.Pedir("#"), "&");
    b.Pasar(3000000);
    const QList<int> d = b.Datos();
    ASSERT_EQ(d.size(), 1 + n);
    EXPECT_EQ(d[1 + 7], Bucle(7 - 255, 10));

    // A broken command does not spoil the one after it; CR LF between them is harmless.
    EXPECT_TRUE(b.Pedir("7,xx,1,c#").isEmpty());
    EXPECT_EQ(b.Pedir("\r\n2#"), "&3#");
}

TEST(UnidadSimulada, FirmwareAntiguoNecesitaPausas)
{
    QByteArray cmd = "7,600,1,a,1,u," + Repetir(1, 600) + "0,1,1#"; // about 1.2 kB
    ASSERT_GT(cmd.size(), 1024);
    TOpcionesUnidad op;
    op.version = "1.00";
    {
        Banco b(op);
        EXPECT_TRUE(b.Pedir(cmd).isEmpty());
        EXPECT_GT(b.u.BytesPerdidos(), 0);
        // After a pause the unit drops the spoilt command and listens again.
        b.Pasar(50000);
        EXPECT_EQ(b.Estado(), 0);
    }
    {
        Banco b(op);
        QByteArray r;
        for (qsizetype i = 0; i < cmd.size(); i += 512) {
            b.u.Recibir(cmd.mid(i, 512), b.t);
            r += b.u.TomarSalida(b.t);
            b.Pasar(50000);
        }
        EXPECT_EQ(r, "&");
        EXPECT_EQ(b.u.BytesPerdidos(), 0);
    }
    {
        Banco b; // current firmware takes it in one go
        EXPECT_EQ(b.Pedir(cmd), "&");
    }
}

TEST(UnidadSimulada, Fallos)
{
    auto con = [](TFalloUnidad f) {
        TOpcionesUnidad op;
        op.fallo = f;
        op.retrasoLentoUs = 1500000;
        return op;
    };
    {
        Banco b(con(TFalloUnidad::Silencio));
        EXPECT_TRUE(b.Pedir("1#").isEmpty());
        // Still a working unit inside: the command took effect.
        EXPECT_TRUE(b.Pedir("7,5,1,a,0,0,1,1#").isEmpty());
        EXPECT_EQ(b.u.Estado(), 2);
    }
    {
        Banco b(con(TFalloUnidad::Basura));
        for (const char* c : {"1#", "2#", "8#", "10#"}) {
            const QByteArray r = b.Pedir(c);
            EXPECT_FALSE(r.isEmpty());
            EXPECT_FALSE(r.contains('&')) << r.constData();
            EXPECT_FALSE(r.contains('#')) << r.constData();
            EXPECT_FALSE(r.contains('\x11') || r.contains('\x13'));
        }
    }
    {
        Banco b(con(TFalloUnidad::Corte));
        const QByteArray r = b.Pedir("1#");
        EXPECT_TRUE(r.startsWith('&'));
        EXPECT_FALSE(r.contains('#'));
        EXPECT_LT(r.size(), QByteArray("&1.21,126974#").size());
        EXPECT_TRUE(b.Pedir("8#").isEmpty()); // half an acknowledge is nothing
    }
    {
        Banco b(con(TFalloUnidad::Lento));
        EXPECT_TRUE(b.Pedir("1#").isEmpty());
        b.Pasar(1400000);
        EXPECT_TRUE(b.u.TomarSalida(b.t).isEmpty());
        b.Pasar(200000);
        EXPECT_EQ(b.u.TomarSalida(b.t), "&1.21,126974#");
    }
    {
        // Stalls once, when half its capture is in: that answer leaves 3.5 s late, whole,
        // the one behind it waits, and then all is normal.
        Banco b(con(TFalloUnidad::Atasco));
        EXPECT_EQ(b.Pedir("7,100,1,a,0,0,1,1#"), "&"); // 100 samples, 1 ms apart
        b.Pasar(30000);
        EXPECT_EQ(b.Pedir("2#"), "&2#");
        b.Pasar(30000);
        EXPECT_TRUE(b.Pedir("2#").isEmpty());
        b.Pasar(3400000);
        EXPECT_TRUE(b.Pedir("2#").isEmpty());
        b.Pasar(100000);
        EXPECT_EQ(b.u.TomarSalida(b.t), "&2#&3#");
        EXPECT_EQ(b.Pedir("2#"), "&3#");
    }
    TFalloUnidad f;
    EXPECT_TRUE(qv::LeerFallo(QStringLiteral("cut"), f));
    EXPECT_EQ(f, TFalloUnidad::Corte);
    EXPECT_FALSE(qv::LeerFallo(QStringLiteral("smoke"), f));
}

TEST(UnidadSimulada, GranSaltoDeRelojEsperandoDisparoEsAcotado)
{
    // A 1 us period watched over 100 s of clock must neither hang nor miss the sine.
    Banco b;
    EXPECT_EQ(b.Pedir("6,100,1,g,0,g,0,1,0,1#"), "&");
    b.Pasar(100000000);
    EXPECT_EQ(b.Estado(), 3);
}

TEST(UnidadSimulada, EntradaAlAzarNoLaRompe)
{
    // Commands made of the protocol's own pieces reach every branch of the parser.
    static const char* Piezas[] = {"1", "2", "3", "5", "6", "7", "8", "9", "10", "12", "13", "0", "-1",
                                   "255", "65535", "99999999999", "a", "c", "k", "n", "u", "z", "U",
                                   "W", "", "-", "q", "\x13", "\r\n"};
    std::mt19937 azar(7);
    std::uniform_int_distribution<int> pieza(0, static_cast<int>(std::size(Piezas)) - 1);
    std::uniform_int_distribution<int> largo(0, 40);
    Banco b;
    for (int i = 0; i < 3000; ++i) {
        QByteArray cmd;
        const int n = largo(azar);
        for (int k = 0; k < n; ++k)
            cmd += QByteArray(Piezas[pieza(azar)]) + (k + 1 < n ? "," : "");
        b.u.Recibir(cmd + "#", b.t);
        b.u.TomarSalida(b.t);
        b.Pasar(1000);
    }
    // Still a working unit afterwards.
    EXPECT_EQ(b.Pedir("8#"), "&");
    EXPECT_EQ(b.Estado(), 0);
}

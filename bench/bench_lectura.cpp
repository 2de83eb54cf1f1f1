// Read-back and capture-command costs of the device link.
//   BM_Lectura9/1     full-memory "9#" reply, one analog input (63486 samples)
//   BM_Lectura9/3     full-memory "9#" reply, three groups (21162 samples)
//   BM_LecturaIncremental/1, /3   the same replies through the step parser alone,
//                     handed over in 4 KB pieces, one piece per step
//   BM_Comando7       command 7 with 4 analog and 2 digital output groups, largest N
//   BM_LecturaSadsim  full-memory read-back of one analog input through the
//                     simulated unit's pseudo-terminal (needs bin/sadsim); the
//                     counter ms_115200 is the time its bytes need at 115200 baud
#include "common/interaccion_guion.h"
#include "link/com_capvis.h"
#include "link/lectura_datos.h"
#include "link/reloj.h"
#include "link/serie_port.h"
#include "model/base_tiempos.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/senales.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

#include <random>

using namespace qv;

namespace {

// Hands out a stored reply in 32 KB reads (or `pieza`), as the serial port does with
// what the line has queued; acknowledges every other command.
class TPuertoMemoria : public TCOM {
public:
    QByteArray respuesta;
    qsizetype pieza = 32768;
    qsizetype pos = 0;
    qsizetype enviados = 0;
    bool ack = false;

    void Abrir() override {}
    void Cerrar() override {}
    void Configurar(const QString&) override {}
    void Enviar(const QByteArray& t) override
    {
        enviados += t.size();
        if (t == "9#")
            pos = 0;
        else
            ack = true;
    }
    void Recibir(QByteArray& t) override
    {
        if (ack) {
            t = "&";
            ack = false;
            return;
        }
        t = respuesta.mid(pos, pieza);
        pos += t.size();
    }
    bool Conectado() override { return true; }
};

// Counts the bytes a real port receives.
class TContador : public TCOM {
public:
    explicit TContador(std::unique_ptr<TCOM> p) : puerto(std::move(p)) {}
    std::unique_ptr<TCOM> puerto;
    qint64 recibidos = 0;
    void Abrir() override { puerto->Abrir(); }
    void Cerrar() override { puerto->Cerrar(); }
    void Configurar(const QString& h) override { puerto->Configurar(h); }
    void Enviar(const QByteArray& t) override { puerto->Enviar(t); }
    void Recibir(QByteArray& t) override
    {
        puerto->Recibir(t);
        recibidos += t.size();
    }
    bool Conectado() override { return puerto->Conectado(); }
};

TConfigES ConfigEntradas(int grupos, int n)
{
    TConfigES c;
    c.NumMuestras = n;
    c.UnidadPeriodo = Unidad::Mili;
    c.Periodo = 1;
    c.EntAna(1).Activo = true;
    if (grupos == 3) {
        c.EntAna(2).Activo = true;
        c.EntDig(1).Activo = true;
    }
    return c;
}

// A full-memory reply of random counts (and words for the digital group).
QByteArray Respuesta9(int grupos, int n)
{
    std::mt19937 azar(7);
    std::uniform_int_distribution<int> cuenta(-2048, 2047), palabra(0, 255);
    QByteArray r = "&" + QByteArray::number(n);
    for (int k = 0; k < n; ++k) {
        for (int g = 0; g < grupos; ++g) {
            r += ',';
            r += QByteArray::number(grupos == 3 && g == 0 ? palabra(azar) : cuenta(azar));
        }
    }
    r += '#';
    return r;
}

void BM_Lectura9(benchmark::State& st)
{
    const int grupos = int(st.range(0));
    const int n = grupos == 1 ? 63486 : 21162;
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TRelojReal reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    auto p = std::make_unique<TPuertoMemoria>();
    TPuertoMemoria* puerto = p.get();
    enlace.PonerPuerto(std::move(p), false);
    const TConfigES config = ConfigEntradas(grupos, n);
    enlace.ActualizarGrupos(config);
    const QByteArray r = Respuesta9(grupos, n);
    puerto->respuesta = r;

    for (auto _ : st) {
        TCjtSenales senales(textos, inter);
        bool datos = false;
        int m = 0;
        if (!enlace.LeerDatos(datos, m, senales, config) || !datos || m != n)
            st.SkipWithError("read-back failed");
        benchmark::DoNotOptimize(senales.NumAna());
    }
    st.counters["bytes"] = double(r.size());
    st.counters["muestras"] = n;
}
BENCHMARK(BM_Lectura9)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_LecturaIncremental(benchmark::State& st)
{
    const int grupos = int(st.range(0));
    const int n = grupos == 1 ? 63486 : 21162;
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TRelojReal reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    auto p = std::make_unique<TPuertoMemoria>();
    TPuertoMemoria* puerto = p.get();
    enlace.PonerPuerto(std::move(p), false);
    const TConfigES config = ConfigEntradas(grupos, n);
    enlace.ActualizarGrupos(config);
    const QByteArray r = Respuesta9(grupos, n);
    puerto->respuesta = r;
    puerto->pieza = 4096;

    int pasos = 0;
    for (auto _ : st) {
        TCjtSenales senales(textos, inter);
        TLecturaDatos lectura(enlace, config);
        pasos = 0;
        while (lectura.Paso() == TLecturaDatos::TResultado::Sigue)
            ++pasos;
        if (!lectura.Datos() || lectura.Muestras() != n)
            st.SkipWithError("read-back failed");
        lectura.Entregar(senales);
        benchmark::DoNotOptimize(senales.NumAna());
    }
    st.counters["bytes"] = double(r.size());
    st.counters["pasos"] = pasos;
}
BENCHMARK(BM_LecturaIncremental)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_Comando7(benchmark::State& st)
{
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TRelojReal reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    auto p = std::make_unique<TPuertoMemoria>();
    TPuertoMemoria* puerto = p.get();
    enlace.PonerPuerto(std::move(p), false);

    TConfigES c;
    c.UnidadPeriodo = Unidad::Mili;
    c.Periodo = 1;
    for (int i = 1; i <= 4; ++i)
        c.SalAna(i).Activo = true;
    c.SalAna(1).Generador = std::make_unique<TGenSeno>(textos, "microsegundos", "microsegundos", 0.0f, 0.0f, 5.0f, 1.0f, 4.0f);
    c.SalAna(2).Generador = std::make_unique<TGenRampa>(textos, "microsegundos", "segundos", 2.0f, 0.0f, -5.0f, 5.0f);
    c.SalAna(3).Generador = std::make_unique<TGenEscalon>(textos, "segundos", "segundos", 1.0f, 3.0f, -1.0f);
    auto tabla = std::make_unique<TGenTablaAna>(textos, "t.tba", "microsegundos", 0.0f);
    for (int i = 0; i < 1000; ++i)
        tabla->Valores.push_back(float(i % 200) / 20.0f - 5.0f);
    tabla->NumValores = int(tabla->Valores.size());
    c.SalAna(4).Generador = std::move(tabla);
    for (int i = 1; i <= 16; ++i) {
        c.SalDig(i).Activo = true;
        c.SalDig(i).Generador = std::make_unique<TGenTren>(textos, "microsegundos", "milisegundos", float(i), float(2 * i), 0.0f);
    }
    c.NumMuestras = Capacidad / std::max(1, PalabrasPorMuestra(c));

    for (auto _ : st) {
        puerto->enviados = 0;
        if (!enlace.ProgramarRetardo(c))
            st.SkipWithError("command 7 failed");
    }
    st.counters["N"] = c.NumMuestras;
    st.counters["bytes"] = double(puerto->enviados);
}
BENCHMARK(BM_Comando7)->Unit(benchmark::kMillisecond);

// One full-memory capture of analog input 1 is taken by the simulated unit once;
// every iteration reads it back over the pseudo-terminal.
void BM_LecturaSadsim(benchmark::State& st)
{
    const QString sadsim = QCoreApplication::applicationDirPath() + "/../bin/sadsim";
    if (!QFileInfo::exists(sadsim)) {
        st.SkipWithError("bin/sadsim not built");
        return;
    }
    QTemporaryDir dir;
    QProcess proc;
    const QString enlaceSim = dir.filePath("ttySAD");
    proc.start(sadsim, {"--link", enlaceSim, "--speed", "100000"});
    QByteArray linea;
    while (proc.waitForReadyRead(5000) && !(linea += proc.readAllStandardOutput()).contains('\n')) {
    }

    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TRelojReal reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    auto contador = std::make_unique<TContador>(std::make_unique<TSeriePort>(QStringList{enlaceSim}, inter, reloj));
    TContador* cuenta = contador.get();
    enlace.PonerPuerto(std::move(contador), false);
    // Full memory: an analog sample takes two words of the unit's memory.
    const int lleno = Capacidad / std::max(1, PalabrasPorMuestra(ConfigEntradas(1, 1)));
    // Input 5 carries the unit's built-in sine, so the reply holds real numbers.
    TConfigES config = ConfigEntradas(1, lleno);
    config.EntAna(1).Activo = false;
    config.EntAna(5).Activo = true;
    int estado = -1;
    bool listo = enlace.ProgramarRetardo(config);
    for (int i = 0; listo && i < 500 && estado != 3; ++i) {
        enlace.LeerEstado(estado);
        QThread::msleep(10);
    }
    if (estado != 3) {
        st.SkipWithError("the simulated unit did not capture");
        proc.kill();
        proc.waitForFinished();
        return;
    }
    qint64 bytes = 0;
    for (auto _ : st) {
        TCjtSenales senales(textos, inter);
        bool datos = false;
        int n = 0;
        cuenta->recibidos = 0;
        if (!enlace.LeerDatos(datos, n, senales, config) || !datos || n != lleno)
            st.SkipWithError("read-back failed");
        bytes = cuenta->recibidos;
    }
    st.counters["muestras"] = lleno;
    st.counters["bytes"] = double(bytes);
    st.counters["ms_115200"] = double(bytes) * 10.0 / 115200.0 * 1000.0;
    enlace.PonerPuerto(nullptr, false);
    proc.terminate();
    proc.waitForFinished(5000);
}
BENCHMARK(BM_LecturaSadsim)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

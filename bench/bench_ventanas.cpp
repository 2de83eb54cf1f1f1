// Signal windows at the largest capture size (8 analog + 8 digital signals of 65535
// samples): opening the file through the main window until both windows are painted,
// the memory each window adds, and moving a cursor with the mouse and with the keys.
#include "app/comandos_ventanas.h"
#include "app/ventana_principal.h"
#include "common/dialogos_guion.h"
#include "common/entorno_mudo.h"
#include "common/puesto_fijo.h"
#include "common/reloj_falso.h"
#include "display/panel_medidas.h"
#include "display/visualiza_senales.h"
#include "lang/ui/modal.h"
#include "link/servicios_puesto.h"
#include "model/config_es.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/operaciones.h"
#include "model/senales.h"
#include "plot/grf.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace qv;

namespace {

constexpr int N = 65535;

struct TEntorno {
    test::TTextosMudos textos;
    test::TInteraccionMuda inter;
    TModal modal;
    test::TPuestoFijo puesto{false, false};
    test::TRelojFalso reloj;
    test::TDialogosGuion dialogos;
    QString ruta = QDir::temp().filePath(QStringLiteral("qv_bench_ventanas.qvn"));
    std::unique_ptr<TfrmPrincipal> ventana;

    TEntorno()
    {
        EscribirCaptura();
        ventana = std::make_unique<TfrmPrincipal>(textos, inter, modal, puesto, reloj, QDir::tempPath(), &dialogos);
        ventana->resize(1280, 900);
        ventana->show();
        QApplication::processEvents();
    }
    ~TEntorno() { QFile::remove(ruta); }

    // The capture of the file benchmarks: 8 analog inputs (12-bit codes of +-10 V) and 8
    // digital ones.
    void EscribirCaptura()
    {
        TConfigES config;
        TOperaciones ops;
        TCjtSenales senales{textos, inter};
        config.NumMuestras = N;
        config.Periodo = 0.1;
        const float resolucion = ResolucionRango(0);
        for (int c = 1; c <= 8; ++c) {
            config.EntAna(c).Activo = true;
            auto s = std::make_unique<TSenalAna>(textos, config.EntAna(c).Nombre, false, nullptr, nullptr, c,
                                                 float(config.PeriodoSegundos()), std::uint16_t(N));
            for (int i = 0; i < N; ++i) {
                const double v = 9.5 * std::sin(0.001 * (i + 1) * c) + 0.3 * std::sin(0.37 * i);
                s->PonerMuestra(i, float(std::lround(v / resolucion)) * resolucion);
            }
            s->PonerDatosSenal(QStringLiteral("Voltios"), 10, 1);
            senales.AnadirAna(std::move(s));
        }
        for (int c = 1; c <= 8; ++c) {
            config.EntDig(c).Activo = true;
            auto s = std::make_unique<TSenalDig>(config.EntDig(c).Nombre, false, nullptr, nullptr, c,
                                                 float(config.PeriodoSegundos()), std::uint16_t(N));
            for (int i = 0; i < N; ++i)
                s->PonerMuestra(i, std::uint8_t((i / (c * 7)) & 1));
            senales.AnadirDig(std::move(s));
        }
        TFicheroConfig fichero{textos, inter, QDir::tempPath()};
        GuardarFicheroSenales(ruta, fichero, config, ops, senales);
    }

    QList<QMdiSubWindow*> Hijas() const { return ventana->AreaVentanas().subWindowList(QMdiArea::CreationOrder); }
    TVentanaSenales* Hija(int i) const { return dynamic_cast<TVentanaSenales*>(Hijas().at(i)->widget()); }

    // Runs the event loop until every signal window's graph has been painted once.
    // The signal windows, but those in 'salvo'.
    std::vector<TVentanaSenales*> Ventanas(const QList<QMdiSubWindow*>& salvo = {})
    {
        std::vector<TVentanaSenales*> r;
        for (QMdiSubWindow* s : Hijas())
            if (!salvo.contains(s))
                if (auto* w = dynamic_cast<TVentanaSenales*>(s->widget()))
                    r.push_back(w);
        return r;
    }

    // Until each of these windows has painted; an unchanged window never repaints, so
    // the wait gives up after two seconds instead of hanging the run.
    void EsperarPintura(const std::vector<TVentanaSenales*>& ventanas)
    {
        int pendientes = int(ventanas.size());
        std::vector<QMetaObject::Connection> c;
        for (TVentanaSenales* w : ventanas)
            c.push_back(QObject::connect(&w->Grafica(), &TGrf::PinturaTerminada, [&pendientes] { --pendientes; }));
        QElapsedTimer reloj;
        reloj.start();
        while (pendientes > 0 && reloj.elapsed() < 2000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        for (auto& k : c)
            QObject::disconnect(k);
    }

    void Abrir()
    {
        dialogos.abrir.push_back(ruta);
        // "Abrir" shows the analog and the digital window.
        ventana->Ejecutar(TComando::Abrir);
        EsperarPintura(Ventanas());
    }
    // The file's analog window, painted, with its cursors on.
    TVentanaSenales* AbrirConCursores()
    {
        Abrir();
        TVentanaSenales* w = Hija(0);
        w->ActivarCursores(true);
        EsperarPintura({w});
        return w;
    }
    void Cerrar()
    {
        ventana->Ejecutar(TComando::Cerrar);
        QApplication::processEvents();
    }
};

TEntorno& Entorno();
void SoltarVentana() { Entorno().ventana.reset(); }

TEntorno& Entorno()
{
    static TEntorno e;
    // The main window goes before the application that drew it.
    static const bool soltar = (qAddPostRoutine(SoltarVentana), true);
    Q_UNUSED(soltar);
    return e;
}

double RssMB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// "Abrir" of the file, until both its windows are painted.
void BM_AbrirFicheroYVentanas(benchmark::State& state)
{
    TEntorno& e = Entorno();
    for (auto _ : state) {
        e.Abrir();
        state.PauseTiming();
        if (e.Hijas().size() != 2)
            state.SkipWithError("the file did not open two windows");
        e.Cerrar();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AbrirFicheroYVentanas)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true);

// Memory one more analog or digital window adds, the file being open.
void BM_MemoriaPorVentana(benchmark::State& state)
{
    TEntorno& e = Entorno();
    const TComando comando = state.range(0) ? TComando::NuevaDigital : TComando::NuevaAnalogica;
    e.dialogos.abrir.push_back(e.ruta);
    e.ventana->Ejecutar(TComando::Abrir);
    e.EsperarPintura(e.Ventanas());
    double suma = 0;
    int n = 0;
    for (auto _ : state) {
        const double antes = RssMB();
        const QList<QMdiSubWindow*> abiertas = e.Hijas();
        e.ventana->Ejecutar(comando);
        e.EsperarPintura(e.Ventanas(abiertas));
        suma += RssMB() - antes;
        ++n;
    }
    state.counters["MB_por_ventana"] = suma / std::max(1, n);
    e.Cerrar();
}
BENCHMARK(BM_MemoriaPorVentana)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(4);

// One step of a cursor dragged with the mouse across the analog window (8 series), with
// its readouts and the paint of its strip; the series are never redrawn.
void BM_ArrastrarCursor(benchmark::State& state)
{
    TEntorno& e = Entorno();
    TVentanaSenales* w = e.AbrirConCursores();
    TGrf& g = w->Grafica();
    const QRect a = g.AreaGrafica();
    QTest::mousePress(&g, Qt::LeftButton, {}, a.center());
    QApplication::processEvents();
    const int antes = g.DibujosSeries();
    int x = a.left();
    for (auto _ : state) {
        x = x >= a.right() ? a.left() : x + 3;
        QTest::mouseMove(&g, QPoint(x, a.center().y()));
        QApplication::processEvents();
    }
    QTest::mouseRelease(&g, Qt::LeftButton, {}, QPoint(x, a.center().y()));
    state.counters["redibujos_series"] = g.DibujosSeries() - antes;
    e.Cerrar();
}
BENCHMARK(BM_ArrastrarCursor)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One arrow-key step of the blue cursor, readouts and paint included.
void BM_PasoConTecla(benchmark::State& state)
{
    TEntorno& e = Entorno();
    TVentanaSenales* w = e.AbrirConCursores();
    TGrf& g = w->Grafica();
    QTest::keyClick(w, Qt::Key_Right);
    QApplication::processEvents();
    const int antes = g.DibujosSeries();
    int paso = 0;
    for (auto _ : state) {
        // Back and forth over 1000 samples.
        QTest::keyClick(w, (paso++ / 1000) % 2 ? Qt::Key_Left : Qt::Key_Right);
        QApplication::processEvents();
    }
    state.counters["redibujos_series"] = g.DibujosSeries() - antes;
    e.Cerrar();
}
BENCHMARK(BM_PasoConTecla)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same step with the measurement panel on and both cursors placed over nearly the
// whole capture: eight analog signals of 65535 samples measured again at every step.
void BM_PasoConTeclaYMedidas(benchmark::State& state)
{
    TEntorno& e = Entorno();
    TVentanaSenales* w = e.AbrirConCursores();
    w->ActivarMedidas(true);
    e.EsperarPintura({w});
    TGrf& g = w->Grafica();
    const QRect a = g.AreaGrafica();
    QTest::mouseClick(&g, Qt::LeftButton, {}, QPoint(a.left() + 2, a.center().y()));
    QTest::mouseClick(&g, Qt::RightButton, {}, QPoint(a.right() - 40, a.center().y()));
    QApplication::processEvents();
    if (w->TramoCursores().hasta - w->TramoCursores().desde < N * 9 / 10)
        state.SkipWithError("the cursors do not span the capture");
    int paso = 0;
    for (auto _ : state) {
        QTest::keyClick(w, (paso++ / 1000) % 2 ? Qt::Key_Left : Qt::Key_Right);
        QApplication::processEvents();
    }
    state.counters["filas"] = double(w->Medidas().Tabla().filas.size());
    w->ActivarMedidas(false);
    e.Cerrar();
}
// The measurements alone of the same eight signals, as the model makes them.
void BM_MedidasSolas(benchmark::State& state)
{
    TEntorno& e = Entorno();
    e.dialogos.abrir.push_back(e.ruta);
    e.ventana->Ejecutar(TComando::Abrir);
    const TCjtSenales& s = *e.ventana->Estado().Senales();
    for (auto _ : state)
        benchmark::DoNotOptimize(TablaMedidas(s, s.NombresAna(), ColumnasAna(), 0, 0.1 * N * 0.9));
    e.Cerrar();
}
BENCHMARK(BM_MedidasSolas)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK(BM_PasoConTeclaYMedidas)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

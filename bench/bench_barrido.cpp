// The frequency sweep against the simulated unit at the line's real speed.
//   BM_BarridoRC   20 points from 10 Hz to 5 kHz of an RC low-pass (R = 10k, C = 100n,
//                  fc = 159.15 Hz) between analog output 1 and analog input 2 of sadsim at
//                  115200 baud, driven as the companion drives it (step objects, real
//                  clock, the suggested sleep between steps). Counters:
//                    s_total     wall time of the sweep
//                    s_capture   the captures' own time, sum of samples x period
//                    s_wire      every byte both ways at 10 bits per byte
//                    s_replies   the unit's bytes alone (sadsim paces only those)
//                    ratio       s_total / (s_capture + s_wire)
//                    ratio_rx    s_total / (s_capture + s_replies)
//                    fc_err_pct  the -3 dB frequency found against 1/(2 pi RC)
//                    phase_fc    the phase there (ideal -45)
//                    gain_10fc   the gain at 10 fc, interpolated (ideal -20.04 dB)
//                  (needs bin/sadsim).
#include "common/interaccion_guion.h"
#include "e2e/procesos.h"
#include "link/barrido_sad.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "link/serie_port.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace qv;

namespace {

// A transport that counts what goes through it.
class TPuertoContado : public TCOM {
public:
    explicit TPuertoContado(std::unique_ptr<TCOM> p) : p_(std::move(p)) {}
    qint64 enviados = 0, recibidos = 0;
    void Abrir() override { p_->Abrir(); }
    void Cerrar() override { p_->Cerrar(); }
    void Configurar(const QString& h) override { p_->Configurar(h); }
    void Enviar(const QByteArray& t) override
    {
        p_->Enviar(t);
        enviados += t.size();
    }
    void Recibir(QByteArray& t) override
    {
        p_->Recibir(t);
        recibidos += t.size();
    }
    bool Conectado() override { return p_->Conectado(); }
    void Descartar() override
    {
        // What is thrown away came over the line too.
        QByteArray t;
        Recibir(t);
    }

private:
    std::unique_ptr<TCOM> p_;
};

void BM_BarridoRC(benchmark::State& st)
{
    test::TSadsim sim;
    if (!sim.Arrancar({"--baud", "115200", "--circuit", "rc-low:R=10k,C=100n"})) {
        st.SkipWithError("bin/sadsim did not start");
        return;
    }
    QTemporaryDir dir;
    const QString enlaceSim = sim.enlace;
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TRelojReal reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    auto contado = std::make_unique<TPuertoContado>(std::make_unique<TSeriePort>(QStringList{enlaceSim}, inter, reloj));
    TPuertoContado* puerto = contado.get();
    enlace.PonerPuerto(std::move(contado), false);
    if (!enlace.LeerVersion()) {
        st.SkipWithError("no unit");
        return;
    }
    TAjustesBarrido a;
    a.Desde = 10;
    a.Hasta = 5000;
    a.Puntos = 20;
    const double fc = 1 / (2 * 3.14159265358979 * 10e3 * 100e-9);
    double total = 0, captura = 0, hilo = 0, respuestas = 0;
    TResultadoBarrido r;
    for (auto _ : st) {
        TBarridoSAD barrido(a, textos, dir.path());
        puerto->enviados = puerto->recibidos = 0;
        captura = 0;
        QElapsedTimer t;
        t.start();
        while (auto p = barrido.Siguiente()) {
            const qint64 inicio = t.elapsed();
            if (HablarAqui(*p, enlace, [] { return Respuesta::Si; }) != TConversacion::TPaso::Terminada) {
                st.SkipWithError("point failed");
                return;
            }
            barrido.Anotar(*p, (t.elapsed() - inicio) / 1000.0);
            captura += p->Plan().DuracionSegundos();
        }
        total = t.nsecsElapsed() / 1e9;
        st.SetIterationTime(total);
        hilo = (puerto->enviados + puerto->recibidos) * 10.0 / 115200;
        respuestas = puerto->recibidos * 10.0 / 115200;
        r = barrido.Resultado();
    }
    st.counters["s_total"] = total;
    st.counters["s_capture"] = captura;
    st.counters["s_wire"] = hilo;
    st.counters["s_replies"] = respuestas;
    st.counters["ratio"] = total / (captura + hilo);
    st.counters["ratio_rx"] = total / (captura + respuestas);
    const auto cortes = PuntosMenos3dB(r);
    st.counters["fc_err_pct"] = cortes.empty() ? NAN : (cortes[0].Frecuencia / fc - 1) * 100;
    st.counters["phase_fc"] = cortes.empty() ? NAN : cortes[0].FaseGrados;
    const auto decada = Interpolar(r, 10 * fc);
    st.counters["gain_10fc"] = decada ? decada->GananciaDB : NAN;
}
BENCHMARK(BM_BarridoRC)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

} // namespace

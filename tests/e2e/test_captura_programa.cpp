// The program's own capture commands end to end: the main window with its dialogs
// driven through the modal seam, the real serial and TCP transports, the simulated
// unit (sped up) and the relay.
#include "app/principal_prueba.h"
#include "common/esperar_sad.h"
#include "capture/monitorizacion.h"
#include "common/esperar.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "model/generadores.h"
#include "procesos.h"

#include <QElapsedTimer>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace qv::test {
namespace {

constexpr double VoltiosCuenta10 = 10.0 / 2048;

class PuestoSim : public TPuestoPrueba {
public:
    QStringList puertos;
    QStringList LeerPuertosSerie() override { return puertos; }
};

class CapturaPrograma : public ::testing::Test {
protected:
    TTextosFijos textos;
    TInteraccionGuion interaccion;
    TModalPrueba modal;
    PuestoSim puesto;
    TRelojReal reloj;
    QTemporaryDir carpeta;
    TSadsim sim;
    std::unique_ptr<TfrmPrincipal> ventana;

    void SetUp() override { QStandardPaths::setTestModeEnabled(true); }
    void TearDown() override { ventana.reset(); }

    bool Arrancar(const QStringList& args)
    {
        if (!sim.Arrancar(args))
            return false;
        puesto.puertos = {sim.enlace};
        puesto.modeloM = false;
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj, carpeta.path());
        ventana->show();
        return true;
    }
    TEstadoPrograma& E() { return ventana->Estado(); }
    // The unit's state, asked on the link's own thread.
    int EstadoUnidad()
    {
        return EnSAD<int>(*E().Enlace(), [](TComCapvis& c) {
            int e = -1;
            return c.LeerEstado(e) ? e : -1;
        });
    }

    void Configurar(int muestras, int periodoMs, bool salidas = true)
    {
        auto c = std::make_unique<TConfigES>();
        c->NumMuestras = muestras;
        c->UnidadPeriodo = Unidad::Mili;
        c->Periodo = periodoMs;
        c->UnidadAnalisis = Unidad::Mili;
        c->TiempoAnalisis = double(muestras - 1) * periodoMs;
        c->EntAna(1).Activo = true;
        for (int i = 1; i <= 8; ++i)
            c->EntDig(i).Activo = true;
        if (salidas) {
            c->SalAna(1).Activo = true;
            c->SalAna(1).Generador = std::make_unique<TGenSeno>(textos, "microsegundos", "microsegundos", 0.0f,
                                                                0.0f, 5.0f, 0.0f, 4.0f);
            c->SalDig(1).Activo = true;
            c->SalDig(1).Generador =
                std::make_unique<TGenTren>(textos, "microsegundos", "milisegundos", 30.0f, 20.0f, 0.0f);
        }
        E().PonerConfig(std::move(c));
    }

    static void Pulsar(QDialog& d, const char* nombre)
    {
        auto* b = d.findChild<QAbstractButton*>(QLatin1String(nombre));
        ASSERT_NE(b, nullptr) << nombre;
        b->click();
    }

    void Programar(int retardo = -1)
    {
        modal.accion = [retardo](QDialog& d) {
            d.show();
            if (retardo >= 0)
                d.findChild<QLineEdit*>("RetardoEdit")->setText(QString::number(retardo));
            Pulsar(d, "OKBtn");
        };
        ventana->Ejecutar(retardo >= 0 ? TComando::Retardada : TComando::Inmediata);
        EsperarSAD(E());
        modal.accion = nullptr;
    }

    // The states the unit goes through until `final` (bounded, generous).
    std::vector<int> EsperarEstado(int final, int maxMs = 20000)
    {
        std::vector<int> vistos;
        Esperar(
            [&] {
                const int e = EstadoUnidad();
                if (e >= 0 && (vistos.empty() || vistos.back() != e))
                    vistos.push_back(e);
                return e == final;
            },
            maxMs);
        return vistos;
    }

    QStringList Textos() const { return interaccion.Textos(); }

    void ComprobarBucle(int n)
    {
        ASSERT_TRUE(E().Senales());
        const TCjtSenales& s = *E().Senales();
        const TConfigES& c = *E().Config();
        const TSenalAna* entrada = s.BuscarAna(c.EntAna(1).Nombre);
        const TSenalAna* salida = s.BuscarAna(c.SalAna(1).Nombre);
        const TSenalDig* dEntrada = s.BuscarDig(c.EntDig(1).Nombre);
        const TSenalDig* dSalida = s.BuscarDig(c.SalDig(1).Nombre);
        ASSERT_TRUE(entrada && salida && dEntrada && dSalida);
        ASSERT_EQ(entrada->NumMuestras(), n);
        for (int k = 0; k < n; ++k) {
            const double jugado = std::nearbyint(salida->LeerMuestra(k) * 25.5) / 25.5;
            ASSERT_LE(std::abs(entrada->LeerMuestra(k) - jugado) / VoltiosCuenta10, 2.0 + 1e-3) << k;
            ASSERT_EQ(dEntrada->LeerMuestra(k), dSalida->LeerMuestra(k)) << k;
        }
    }
};

TEST_F(CapturaPrograma, TestProgramAndReadBackOverTheSerialLine)
{
    ASSERT_TRUE(Arrancar({"--speed", "20"}));
    QString version, capacidad;
    modal.accion = [&](QDialog& d) {
        d.show();
        version = d.findChild<QLabel*>("Version")->text();
        capacidad = d.findChild<QLabel*>("Capacidad")->text();
        d.accept();
    };
    ventana->Ejecutar(TComando::Test);
    EsperarSAD(ventana->Estado());
    EXPECT_EQ(version, " 1.21");
    EXPECT_EQ(capacidad, " 63487");

    Configurar(1000, 1);
    Programar();
    EXPECT_EQ(EsperarEstado(3).back(), 3);
    ventana->Ejecutar(TComando::LeerDatos);
    EsperarSAD(ventana->Estado());
    EXPECT_TRUE(interaccion.mensajes.empty()) << Textos().join('|').toStdString();
    ComprobarBucle(1000);
    EXPECT_EQ(E().Senales()->NumAna(), 2);
    EXPECT_EQ(E().Senales()->NumDig(), 9);
}

// A read-back at the wire's speed: the progress window, modal to the program, shows a
// bar that follows the fields received, and the event loop keeps running meanwhile.
TEST_F(CapturaPrograma, LongReadBackShowsItsProgressWhileTheProgramWaits)
{
    ASSERT_TRUE(Arrancar({"--speed", "200", "--baud", "115200"}));
    auto c = std::make_unique<TConfigES>();
    c->NumMuestras = 6000;
    c->UnidadPeriodo = Unidad::Micro;
    c->Periodo = 50;
    c->UnidadAnalisis = Unidad::Mili;
    c->TiempoAnalisis = 300;
    c->EntAna(1).Activo = true;
    E().PonerConfig(std::move(c));
    Programar();
    ASSERT_EQ(EsperarEstado(3).back(), 3);

    std::vector<int> valores;
    bool modal = true;
    QTimer muestreo;
    QObject::connect(&muestreo, &QTimer::timeout, [&] {
        auto* espera = qobject_cast<QWidget*>(QApplication::activeModalWidget());
        if (!espera || espera->objectName() != "frmEsperaAck")
            return;
        modal = modal && espera->isVisible();
        if (auto* bar = espera->findChild<QProgressBar*>("Progreso"); bar && bar->maximum() > 0)
            if (valores.empty() || valores.back() != bar->value())
                valores.push_back(bar->value());
    });
    muestreo.start(50);
    ventana->Ejecutar(TComando::LeerDatos);
    EsperarSAD(ventana->Estado());
    muestreo.stop();
    EXPECT_TRUE(interaccion.mensajes.empty()) << Textos().join('|').toStdString();
    ASSERT_TRUE(E().Senales());
    EXPECT_EQ(E().Senales()->NumAna(), 1);
    // Several readings of a bar that only grows.
    ASSERT_GE(valores.size(), 3u);
    EXPECT_TRUE(std::is_sorted(valores.begin(), valores.end()));
    EXPECT_TRUE(modal);
    // The window is gone once the signals are shown.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(CapturaPrograma, DelayedCaptureStatesAndAbort)
{
    ASSERT_TRUE(Arrancar({"--speed", "5"}));
    Configurar(1000, 1);
    // 1 s of delay here (state 1), then 200 ms of sampling (state 2): a delay long
    // enough that a loaded machine still polls the unit before it ends.
    Programar(5);
    EXPECT_EQ(EsperarEstado(3), (std::vector<int>{1, 2, 3}));

    interaccion.respuestas = {Respuesta::Si}; // over the finished capture
    Programar(1000);
    EXPECT_EQ(EstadoUnidad(), 1);
    interaccion.respuestas = {Respuesta::Aceptar};
    ventana->Ejecutar(TComando::Abortar);
    EsperarSAD(ventana->Estado());
    EXPECT_EQ(EstadoUnidad(), 0);
}

TEST_F(CapturaPrograma, TriggersStartWhereTheyShould)
{
    ASSERT_TRUE(Arrancar({"--speed", "5"}));
    // Analog: input 5 is the unit's 2 V, 1 Hz sine; 1 V rising.
    Configurar(200, 1, false);
    E().Config()->EntAna(5).Activo = true;
    modal.accion = [](QDialog& d) {
        d.show();
        Pulsar(d, "E1");
        d.findChild<QLineEdit*>("Edit1")->setText("1");
        Pulsar(d, "OKBtn");
    };
    ventana->Ejecutar(TComando::TriggerAnalogico);
    EsperarSAD(ventana->Estado());
    ASSERT_EQ(EsperarEstado(3).back(), 3);
    modal.accion = nullptr;
    ventana->Ejecutar(TComando::LeerDatos);
    EsperarSAD(ventana->Estado());
    ASSERT_TRUE(E().Senales());
    const TSenalAna* e5 = E().Senales()->BuscarAna(E().Config()->EntAna(5).Nombre);
    ASSERT_NE(e5, nullptr);
    EXPECT_NEAR(e5->LeerMuestra(0), 1.0, 0.05);
    EXPECT_GT(e5->LeerMuestra(100), e5->LeerMuestra(0));

    // Digital: a rising edge on input 1, made by switching output 1 on.
    E().PonerConjunto(nullptr);
    interaccion.respuestas = {Respuesta::Si}; // over the capture just read
    modal.accion = [](QDialog& d) {
        d.show();
        Pulsar(d, "RD1");
        Pulsar(d, "OKBtn");
    };
    ventana->Ejecutar(TComando::TriggerDigital);
    EsperarSAD(ventana->Estado());
    QThread::msleep(100);
    EXPECT_EQ(EstadoUnidad(), 1);
    ASSERT_TRUE(EnSAD<bool>(*E().Enlace(), [](TComCapvis& c) {
        QByteArray r;
        return c.EnviarComando("5,U,1,V,0,W,0,X,0,Y,0,Z,0#", r, false);
    }));
    ASSERT_EQ(EsperarEstado(3).back(), 3);
    modal.accion = nullptr;
    ventana->Ejecutar(TComando::LeerDatos);
    EsperarSAD(ventana->Estado());
    const TSenalDig* d1 = E().Senales()->BuscarDig(E().Config()->EntDig(1).Nombre);
    ASSERT_NE(d1, nullptr);
    EXPECT_EQ(d1->LeerMuestra(0), 1);
}

TEST_F(CapturaPrograma, ContinuousMonitoringRearmsAndClosesCleanly)
{
    ASSERT_TRUE(Arrancar({"--speed", "20"}));
    Configurar(501, 10); // 5 s, 250 ms here
    int reprogramaciones = 0;
    modal.accion = [&](QDialog& d) {
        auto* w = dynamic_cast<TfrmMonitorizacion*>(&d);
        d.show();
        Esperar([&] { return w->Reprogramaciones() >= 2; }, 30000);
        reprogramaciones = w->Reprogramaciones();
        Pulsar(d, "CerrarMonitorizacionBtn");
    };
    ventana->Ejecutar(TComando::MonitorContinua);
    EsperarSAD(ventana->Estado());
    EXPECT_GE(reprogramaciones, 2);
    EXPECT_FALSE(E().Monitorizando());
    EXPECT_TRUE(interaccion.mensajes.empty()) << Textos().join('|').toStdString();
}

TEST_F(CapturaPrograma, CaptureThroughTheRelay)
{
    ASSERT_TRUE(sim.Arrancar({"--speed", "20"}));
    const quint16 puertoTcp = PuertoLibre();
    TProceso relay(QStringLiteral("RelayServer"));
    ASSERT_FALSE(relay.Start({"--port", QString::number(puertoTcp), "--serial", sim.enlace}).isEmpty());
    ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj, carpeta.path());
    ventana->show();
    E().Enlace()->PonerPuertoTcp(puertoTcp);
    E().Enlace()->SetTipoConexion(true);
    E().Enlace()->PonerPCLocal("Puesto");
    ASSERT_EQ(EnSAD<int>(*E().Enlace(), [](TComCapvis& c) {
                  try {
                      c.Conectar("127.0.0.1");
                      return 0;
                  } catch (const ENoHaySAD& e) {
                      return e.Clave;
                  }
              }),
              0);
    ventana->PonerSADOcupado(true);

    Configurar(3000, 1);
    Programar();
    ASSERT_EQ(EsperarEstado(3).back(), 3);
    ventana->Ejecutar(TComando::LeerDatos);
    EsperarSAD(ventana->Estado());
    EXPECT_TRUE(interaccion.mensajes.empty()) << Textos().join('|').toStdString();
    ComprobarBucle(3000);
    // The reminder of the held unit came back after every command.
    EXPECT_TRUE(ventana->TimerOcupado().isActive());
}

TEST_F(CapturaPrograma, FaultsGiveTheirTextsWithinTheBoundedWaits)
{
    // The unit killed in the middle of a long read-back at the wire's speed.
    {
        ASSERT_TRUE(Arrancar({"--speed", "200", "--baud", "115200"}));
        auto c = std::make_unique<TConfigES>();
        c->NumMuestras = 20000;
        c->UnidadPeriodo = Unidad::Micro;
        c->Periodo = 50;
        c->UnidadAnalisis = Unidad::Mili;
        c->TiempoAnalisis = 1000;
        c->EntAna(1).Activo = true;
        E().PonerConfig(std::move(c));
        Programar();
        ASSERT_EQ(EsperarEstado(3).back(), 3);
        QTimer::singleShot(500, [this] { sim.Matar(); });
        QElapsedTimer t;
        t.start();
        ventana->Ejecutar(TComando::LeerDatos);
        EsperarSAD(ventana->Estado());
        EXPECT_LT(t.elapsed(), 15000);
        ASSERT_FALSE(interaccion.mensajes.empty());
        const QString texto = interaccion.mensajes.back().texto;
        EXPECT_TRUE(texto == "T157" || texto == "T140") << texto.toStdString();
        // A set that did not exist before does not appear, nor any signal.
        EXPECT_TRUE(!E().Senales() || E().Senales()->Vacio());
        ventana.reset();
    }
    for (const char* fallo : {"silence", "garbage"}) {
        SCOPED_TRACE(fallo);
        TSadsim s;
        ASSERT_TRUE(s.Arrancar({"--fault", fallo}));
        TInteraccionGuion inter;
        PuestoSim p;
        p.puertos = {s.enlace};
        TfrmPrincipal v(textos, inter, modal, p, reloj, carpeta.path());
        v.show();
        v.Estado().PonerConfig(std::make_unique<TConfigES>());
        v.Estado().PonerConjunto(std::make_unique<TCjtSenales>(textos, inter));
        QElapsedTimer t;
        t.start();
        v.Ejecutar(TComando::LeerDatos);
        EsperarSAD(v.Estado());
        inter.presencia = {Respuesta::Abortar};
        v.Ejecutar(TComando::Test);
        EsperarSAD(v.Estado());
        EXPECT_LT(t.elapsed(), 30000);
        EXPECT_EQ(inter.Textos(), QStringList{"T125"});
        EXPECT_EQ(inter.preguntasPresencia, 1);
        EXPECT_TRUE(v.Estado().Senales()->Vacio());
    }
}

} // namespace
} // namespace qv::test

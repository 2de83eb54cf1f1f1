// What comes through the relay whole, with the real main window, its dialogs through
// the modal seam, the relay and the simulated unit at 115200 baud: a full memory of
// samples read back, and continuous monitoring that rearms. (How the window thread
// keeps its pace meanwhile is measured in bench/bench_fluidez.cpp.)
#include "app/principal_prueba.h"
#include "capture/monitorizacion.h"
#include "common/esperar_sad.h"
#include "link/com_capvis.h"
#include "link/reloj.h"
#include "model/generadores.h"
#include "procesos.h"

#include <QComboBox>
#include <QEventLoop>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace qv::test {
namespace {

class Fluidez : public ::testing::Test {
protected:
    TTextosFijos textos;
    TInteraccionGuion interaccion;
    TModalPrueba modal;
    TPuestoPrueba puesto;
    TRelojReal reloj;
    QTemporaryDir carpeta;
    TSadsim sim;
    TProceso relay{QStringLiteral("RelayServer")};
    std::unique_ptr<TfrmPrincipal> ventana;

    void SetUp() override { QStandardPaths::setTestModeEnabled(true); }
    void TearDown() override { ventana.reset(); }

    TEstadoPrograma& E() { return ventana->Estado(); }
    bool Libre() { return !E().Ocupado() && !E().Enlace()->Hablando(); }
    int EstadoUnidad()
    {
        return EnSAD<int>(*E().Enlace(), [](TComCapvis& c) {
            int e = -1;
            return c.LeerEstado(e) ? e : -1;
        });
    }
    // "Ocupar" through the relay on `puertoTcp` of this PC, this PC typed in and checked.
    bool Ocupar(quint16 puertoTcp)
    {
        E().Enlace()->PonerPuertoTcp(puertoTcp);
        E().Enlace()->SetTipoConexion(true);
        EsperarSAD(E());
        modal.Cuando("form_EscogerPCSAD", [&](QDialog& d) {
            d.findChild<QComboBox*>("Ed_PC")->setEditText("127.0.0.1");
            auto* comprobar = d.findChild<QPushButton*>("SB_TestBE");
            comprobar->click();
            EXPECT_TRUE(Girar([&] { return comprobar->isEnabled(); }, 30000));
            d.findChild<QPushButton*>("OKBtn")->click();
        });
        ventana->Ejecutar(TComando::Ocupar);
        EsperarSAD(E());
        return ventana->SADOcupado();
    }
};

TEST_F(Fluidez, AFullMemoryReadBackAndContinuousMonitoringComeThroughTheRelayWhole)
{
    ASSERT_TRUE(sim.Arrancar({"--speed", "200", "--baud", "115200"}));
    const quint16 puertoRelay = PuertoLibre();
    ASSERT_FALSE(relay.Start({"--port", QString::number(puertoRelay), "--serial", sim.enlace}).isEmpty());
    puesto.hayRed = puesto.multipuesto = true;
    puesto.modeloM = false;
    ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj, carpeta.path());
    ventana->show();
    ASSERT_TRUE(ventana->Multipuesto());
    ASSERT_TRUE(Ocupar(puertoRelay));

    // A capture that fills the unit's memory (a word a sample: digital inputs 1-8,
    // which loop back idle outputs, two characters a sample on the wire), read back
    // through the relay at 115200 baud, which passes it on in pieces.
    constexpr int llena = 63487;
    {
        auto c = std::make_unique<TConfigES>();
        c->NumMuestras = llena;
        c->UnidadPeriodo = Unidad::Mili;
        c->Periodo = 1;
        c->UnidadAnalisis = Unidad::Mili;
        c->TiempoAnalisis = llena - 1;
        for (int i = 1; i <= 8; ++i)
            c->EntDig(i).Activo = true;
        E().PonerConfig(std::move(c));
    }
    modal.Cuando("frmProgRetardo", [](QDialog& d) { d.findChild<QPushButton*>("OKBtn")->click(); });
    ventana->Ejecutar(TComando::Inmediata);
    EsperarSAD(E());
    ASSERT_TRUE(Esperar([&] { return EstadoUnidad() == 3; }, 20000)) << interaccion.Textos().join('|').toStdString();
    ventana->Ejecutar(TComando::LeerDatos);
    EXPECT_TRUE(Girar([&] { return Libre(); }, 60000));
    EXPECT_TRUE(interaccion.mensajes.empty()) << interaccion.Textos().join('|').toStdString();
    ASSERT_TRUE(E().Senales());
    ASSERT_EQ(E().Senales()->NumDig(), 8);
    EXPECT_EQ(E().Senales()->BuscarDig(E().Config()->EntDig(8).Nombre)->NumMuestras(), llena);

    // Continuous monitoring: 500 s captures at 200 times the unit's pace (a point every
    // poll, a rearm every 2.5 s), with loop-backs and test waveforms, until it has
    // rearmed twice.
    {
        auto c = std::make_unique<TConfigES>();
        c->NumMuestras = 1001;
        c->UnidadPeriodo = Unidad::Mili;
        c->Periodo = 500;
        c->UnidadAnalisis = Unidad::Mili;
        c->TiempoAnalisis = 500000;
        for (int i : {1, 5, 6})
            c->EntAna(i).Activo = true;
        for (int i = 1; i <= 8; ++i)
            c->EntDig(i).Activo = true;
        c->SalAna(1).Activo = true;
        c->SalAna(1).Generador =
            std::make_unique<TGenSeno>(textos, "microsegundos", "microsegundos", 0.0f, 0.0f, 5.0f, 0.0f, 4.0f);
        E().PonerConfig(std::move(c));
    }
    interaccion.respuestas = {Respuesta::Si}; // over the capture just read
    int reprogramaciones = 0;
    modal.Cuando("frmMonitorizacion", [&](QDialog& d) {
        auto& w = dynamic_cast<TfrmMonitorizacion&>(d);
        Girar([&] { return w.Reprogramaciones() >= 2; }, 30000);
        reprogramaciones = w.Reprogramaciones();
        // As the dialog's own loop would, until a poll on its way is back.
        d.findChild<QPushButton*>("CerrarMonitorizacionBtn")->click();
        EXPECT_TRUE(Girar([&] { return !d.isVisible(); }, 10000));
    });
    ventana->Ejecutar(TComando::MonitorContinua);
    EsperarSAD(E());
    EXPECT_EQ(modal.Pendientes(), 0);
    EXPECT_GE(reprogramaciones, 2);
    EXPECT_FALSE(E().Monitorizando());
    // The question over the capture just read, and nothing else.
    ASSERT_EQ(interaccion.mensajes.size(), 1u) << interaccion.Textos().join('|').toStdString();
    EXPECT_EQ(interaccion.mensajes[0].sabor, TInteraccionGuion::Sabor::Pregunta);
}

} // namespace
} // namespace qv::test

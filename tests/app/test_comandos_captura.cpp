// The capture commands of the main window against the simulated unit on virtual time:
// unit test, immediate, delayed and triggered programming, read-back into the set,
// abort, monitoring, and the failures with their texts.
#include "principal_prueba.h"
#include "unidad_virtual.h"

#include "app/comandos_captura.h"
#include "common/dialogos_guion.h"
#include "common/esperar_sad.h"
#include "capture/monitorizacion.h"
#include "channels/act_des_senales.h"
#include "display/senales_digitales.h"
#include "display/visualiza_senales.h"
#include "link/com_capvis.h"
#include "link/secuencia_captura.h"
#include "model/generadores.h"
#include "plot/grf.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace qv::test {
namespace {

using Sabor = TInteraccionGuion::Sabor;

constexpr double VoltiosCuenta10 = 10.0 / 2048;

class Captura : public PrincipalPrueba {
protected:
    QTemporaryDir dir;
    TDialogosGuion dialogos;
    TUnidadSimulada unidad;
    TPuertoUnidad* puerto = nullptr;

    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj, dir.path(), &dialogos);
        ventana->show();
        auto p = std::make_unique<TPuertoUnidad>(reloj, unidad);
        puerto = p.get();
        E().Enlace()->PonerPuerto(std::move(p), false);
    }

    // The window's link talks to the unit while it goes: it must go first.
    void TearDown() override { ventana.reset(); }

    TEstadoPrograma& E() { return ventana->Estado(); }
    // A command, and whatever it asked of the unit, to its end.
    void Ejecutar(TComando c)
    {
        ventana->Ejecutar(c);
        ASSERT_TRUE(EsperarSAD(E()));
    }
    // Time passes on the unit's virtual clock once nothing is on its way to the unit.
    void Pasar(int ms)
    {
        ASSERT_TRUE(EsperarSAD(E().Enlace()));
        reloj.ahora += ms;
        unidad.Avanzar(reloj.ahora * 1000);
    }
    int EstadoUnidad()
    {
        EsperarSAD(E().Enlace());
        unidad.Avanzar(reloj.ahora * 1000);
        return unidad.Estado();
    }

    // `muestras` samples of `periodoMs`: analog input 1 and digital inputs 1 to 8, with
    // (when `salidas`) analog output 1 playing a 5 Hz sine of 4 V and digital output 1 a
    // pulse train, looped back by the unit.
    void Configurar(int muestras = 1000, int periodoMs = 1, bool salidas = true)
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

    template <class T>
    static T* Hijo(QDialog& d, const char* nombre)
    {
        auto* w = d.findChild<T*>(QLatin1String(nombre));
        EXPECT_NE(w, nullptr) << nombre;
        return w;
    }
    static void Pulsar(QDialog& d, const char* nombre)
    {
        if (auto* b = Hijo<QAbstractButton>(d, nombre))
            b->click();
    }

    // Programs through "Prog." (or "Retardada" with a delay) accepting the dialog.
    void Programar(int retardo = -1)
    {
        modal.accion = [retardo](QDialog& d) {
            d.show();
            if (retardo >= 0)
                Hijo<QLineEdit>(d, "RetardoEdit")->setText(QString::number(retardo));
            Pulsar(d, "OKBtn");
        };
        Ejecutar(retardo >= 0 ? TComando::Retardada : TComando::Inmediata);
        modal.accion = nullptr;
    }

    // The configuration programmed straight into the unit, as another program would.
    bool Programada(const TConfigES& c)
    {
        return EnSAD<bool>(*E().Enlace(), [c](TComCapvis& com) { return com.ProgramarRetardo(c); });
    }

    // Exactly the set's windows: its analog one, active, and a digital one when it has
    // digital signals, each titled `titulo`.
    QList<QPointer<QWidget>> VentanasDelConjunto(const QString& titulo)
    {
        QList<QPointer<QWidget>> v;
        for (QMdiSubWindow* s : ventana->AreaVentanas().subWindowList(QMdiArea::CreationOrder))
            v << s->widget();
        EXPECT_TRUE(v.size() == (E().Senales()->NumDig() > 0 ? 2 : 1) && qobject_cast<TfrmVisualizaSenales*>(v[0])
                    && ventana->AreaVentanas().activeSubWindow()->widget() == v[0]
                    && (v.size() == 1 || qobject_cast<TfrmSenalesDigitales*>(v[1])));
        for (const auto& w : v)
            EXPECT_EQ(w->windowTitle(), titulo);
        return v;
    }
    static bool Cerradas(const QList<QPointer<QWidget>>& v)
    {
        return std::none_of(v.begin(), v.end(), [](const QPointer<QWidget>& w) { return bool(w); });
    }

    QStringList Avisos() const
    {
        QStringList l;
        for (const auto& m : interaccion.mensajes)
            l << m.texto;
        return l;
    }
};

TEST_F(Captura, TestShowsVersionStateLampAndCapacity)
{
    QString version, estado, capacidad;
    bool blanca = false, verde = true;
    modal.accion = [&](QDialog& d) {
        d.show();
        version = Hijo<QLabel>(d, "Version")->text();
        estado = Hijo<QLabel>(d, "Estado")->text();
        capacidad = Hijo<QLabel>(d, "Capacidad")->text();
        blanca = Hijo<QLabel>(d, "LuzBlanca")->isVisible();
        verde = Hijo<QLabel>(d, "LuzVerde")->isVisible();
        Pulsar(d, "OKBtn");
    };
    Ejecutar(TComando::Test);
    EXPECT_EQ(modal.vistos, QStringList{"frmTestInterface"});
    EXPECT_EQ(version, " 1.21");
    EXPECT_EQ(estado, " T127");
    EXPECT_EQ(capacidad, " 63487");
    EXPECT_TRUE(blanca);
    EXPECT_FALSE(verde);
    EXPECT_TRUE(ventana->findChild<QLabel*>("PE")->text().isEmpty());

    // A silent unit: the presence dialog, and "Abortar" ends the test without a window.
    puerto->mudo = true;
    modal.vistos.clear();
    interaccion.presencia = {Respuesta::Reintentar, Respuesta::Abortar};
    Ejecutar(TComando::Test);
    EXPECT_EQ(interaccion.preguntasPresencia, 2);
    EXPECT_TRUE(modal.vistos.isEmpty());
}

TEST_F(Captura, ImmediateCaptureReadBackHoldsTheLoopedOutputsAndTheOutputSignals)
{
    Configurar();
    QString titulo;
    bool retardoOculto = false;
    modal.accion = [&](QDialog& d) {
        d.show();
        titulo = d.windowTitle();
        retardoOculto = !Hijo<QLineEdit>(d, "RetardoEdit")->isVisible();
        Pulsar(d, "OKBtn");
    };
    // The reminder is paused for the whole command and comes back afterwards.
    ventana->TimerOcupado().start();
    bool recordatorioDurante = true;
    interaccion.respuestas.clear();
    auto accion = modal.accion;
    modal.accion = [&, accion](QDialog& d) {
        recordatorioDurante = ventana->TimerOcupado().isActive();
        accion(d);
    };
    Ejecutar(TComando::Inmediata);
    EXPECT_FALSE(recordatorioDurante);
    EXPECT_TRUE(ventana->TimerOcupado().isActive());
    EXPECT_EQ(titulo, "T228");
    EXPECT_TRUE(retardoOculto);
    ASSERT_EQ(puerto->Empiezan("7,").size(), 1);
    // Immediate: the delay field of the command is 0.
    EXPECT_TRUE(puerto->Empiezan("7,").front().endsWith(",0,1,1#"));
    EXPECT_TRUE(QFile::exists(dir.filePath("Programa.cfg")));
    ASSERT_TRUE(E().Senales());
    EXPECT_TRUE(E().Senales()->Vacio());
    // The status line tells what to do next, until the capture is read.
    EXPECT_EQ(ventana->findChild<QLabel*>("PE")->text(), "T13011");

    Pasar(1100);
    modal.accion = nullptr;
    Ejecutar(TComando::LeerDatos);
    EXPECT_TRUE(interaccion.mensajes.empty()) << Avisos().join('|').toStdString();
    const TCjtSenales& s = *E().Senales();
    const TConfigES& c = *E().Config();
    ASSERT_EQ(s.NumAna(), 2);
    ASSERT_EQ(s.NumDig(), 9);
    const TSenalAna* entrada = s.BuscarAna(c.EntAna(1).Nombre);
    const TSenalAna* salida = s.BuscarAna(c.SalAna(1).Nombre);
    const TSenalDig* dEntrada = s.BuscarDig(c.EntDig(1).Nombre);
    const TSenalDig* dSalida = s.BuscarDig(c.SalDig(1).Nombre);
    ASSERT_TRUE(entrada && salida && dEntrada && dSalida);
    ASSERT_EQ(entrada->NumMuestras(), 1000);
    for (int k = 0; k < 1000; ++k) {
        // What the output played: its value in converter counts.
        const double jugado = std::nearbyint(salida->LeerMuestra(k) * 25.5) / 25.5;
        ASSERT_LE(std::abs(entrada->LeerMuestra(k) - jugado) / VoltiosCuenta10, 2.0 + 1e-3) << k;
        ASSERT_EQ(dEntrada->LeerMuestra(k), dSalida->LeerMuestra(k)) << k;
    }
    EXPECT_TRUE(E().Modificado());
    EXPECT_TRUE(Activo("Guardarcomo1"));
    EXPECT_TRUE(ventana->findChild<QLabel*>("PE")->text().isEmpty());
}

// The shipped demo, opened and programmed again unchanged ("Prog." -> "Aceptar"), asks nothing.
TEST_F(Captura, TheDemoProgrammedUnchangedAsksNothing)
{
    ASSERT_TRUE(ventana->ComandosArchivo().AbrirFicheroSenales(QStringLiteral(QV_SOURCE_DIR "/data/ejemplos/demo.qvn")));
    const TCjtSenales* abierto = E().Senales();
    interaccion.mensajes.clear();
    Programar();
    EXPECT_TRUE(Avisos().isEmpty()) << Avisos().join('|').toStdString();
    EXPECT_EQ(puerto->Empiezan("7,").size(), 1);
    EXPECT_EQ(E().Senales(), abierto);
    EXPECT_EQ(abierto->Ana(0)->NumMuestras(), E().Config()->NumMuestras); // the dialog's count
}

TEST_F(Captura, DelayedCapturePassesThroughItsStatesAndAbortReturnsTheUnitToRest)
{
    Configurar(200, 1);
    Programar(1);
    ASSERT_EQ(puerto->Empiezan("7,").size(), 1);
    EXPECT_TRUE(puerto->Empiezan("7,").front().endsWith(",1,1,1#"));
    EXPECT_EQ(E().Config()->Retardo, 1);
    EXPECT_EQ(EstadoUnidad(), 1);
    Pasar(1000);
    EXPECT_EQ(EstadoUnidad(), 2);
    Pasar(250);
    EXPECT_EQ(EstadoUnidad(), 3);

    // A long delay, aborted: the question names the capture, the unit goes to state 0.
    interaccion.respuestas = {Respuesta::Si}; // over the finished capture
    Programar(1000);
    EXPECT_EQ(EstadoUnidad(), 1);
    interaccion.mensajes.clear();
    interaccion.respuestas = {Respuesta::Aceptar};
    Ejecutar(TComando::Abortar);
    ASSERT_EQ(interaccion.mensajes.size(), 1u);
    EXPECT_EQ(interaccion.mensajes[0].botones, Botones::AceptarCancelar);
    EXPECT_EQ(EstadoUnidad(), 0);
    EXPECT_EQ(puerto->enviados.back(), "5,U,0,V,0,W,0,X,0,Y,0,Z,0#");
    // Nothing left to abort.
    Ejecutar(TComando::Abortar);
    EXPECT_EQ(interaccion.mensajes.back().texto, "T204");
}

TEST_F(Captura, ProgrammingOverAProgrammedCaptureAsksAndAbortsFirst)
{
    Configurar(200, 1);
    Programar(1000);
    // State 1: question 128 + "." + 215; "No" ends the command.
    interaccion.respuestas = {Respuesta::No};
    Ejecutar(TComando::Inmediata);
    ASSERT_EQ(interaccion.mensajes.size(), 1u);
    EXPECT_EQ(interaccion.mensajes[0].texto, "T128.T215");
    EXPECT_TRUE(modal.vistos.size() == 1);
    // "Si": abort ("8#" then outputs to zero), then the dialog.
    interaccion.respuestas = {Respuesta::Si};
    const int antes = puerto->enviados.size();
    Programar();
    const QList<QByteArray> despues = puerto->enviados.mid(antes);
    const int aborto = despues.indexOf("8#");
    ASSERT_GE(aborto, 0);
    EXPECT_EQ(despues.value(aborto + 1), "5,U,0,V,0,W,0,X,0,Y,0,Z,0#");
    EXPECT_GT(despues.indexOf(puerto->Empiezan("7,").back()), aborto);
}

TEST_F(Captura, CommandsRefuseWithoutConfigurationAndBoundASilentStateQuery)
{
    Ejecutar(TComando::Inmediata);
    Ejecutar(TComando::LeerDatos);
    Ejecutar(TComando::MonitorContinua);
    EXPECT_EQ(Avisos(), (QStringList{"T156", "T13010", "T156"}));
    EXPECT_TRUE(modal.vistos.isEmpty());

    // A unit that answers "1#" but never "2#": three rounds, then text 125.
    Configurar();
    interaccion.mensajes.clear();
    puerto->filtro = [](const QByteArray& t) { return t != "2#"; };
    Ejecutar(TComando::Inmediata);
    EXPECT_EQ(Avisos(), QStringList{"T125"});
    EXPECT_EQ(puerto->Empiezan("2#").size(), TComandosCaptura::RondasEstado);
    EXPECT_TRUE(modal.vistos.isEmpty());

    // A silent unit ignored in the presence dialog: the dialog opens all the same and
    // its own transfer fails with its own text.
    puerto->filtro = nullptr;
    puerto->mudo = true;
    interaccion.mensajes.clear();
    interaccion.presencia = {Respuesta::Ignorar};
    Programar();
    EXPECT_EQ(modal.vistos, QStringList{"frmProgRetardo"});
    EXPECT_TRUE(Avisos().contains("T135"));
    EXPECT_FALSE(QFile::exists(dir.filePath("Programa.cfg")));
}

TEST_F(Captura, ReadBackRefusalsLeaveTheSetAsItWas)
{
    Configurar(200, 1);
    Programar();
    // While the unit captures: information 129, nothing read.
    Ejecutar(TComando::LeerDatos);
    ASSERT_FALSE(interaccion.mensajes.empty());
    EXPECT_EQ(interaccion.mensajes.back().sabor, Sabor::Informacion);
    EXPECT_EQ(interaccion.mensajes.back().texto, "T129");
    EXPECT_TRUE(puerto->Empiezan("9#").isEmpty());
    Pasar(300);

    // Another time base than the one programmed: warning 206, the unit's data untouched.
    E().Config()->Periodo = 2;
    Ejecutar(TComando::LeerDatos);
    EXPECT_EQ(interaccion.mensajes.back().texto, "T206");
    EXPECT_TRUE(puerto->Empiezan("9#").isEmpty());
    E().Config()->Periodo = 1;

    // A set with signals, added to ("Si"), and a reply that is noise: three attempts,
    // text 140, the set and its capture count unchanged.
    AbrirConjunto(2);
    E().Senales()->PonerNombradoAuto(true);
    E().Senales()->NumCaptura = 4;
    puerto->filtro = [this](const QByteArray& t) {
        if (t == "9#")
            unidad.Recibir("2#", reloj.Tick() * 1000); // a wrong reply instead of the data
        return t != "9#";
    };
    interaccion.respuestas = {Respuesta::Si};
    Ejecutar(TComando::LeerDatos);
    EXPECT_EQ(interaccion.mensajes.back().texto, "T140");
    EXPECT_EQ(puerto->Empiezan("9#").size(), 3);
    EXPECT_EQ(E().Senales()->NumAna(), 2);
    EXPECT_EQ(E().Senales()->NumDig(), 0);
    EXPECT_EQ(E().Senales()->NumCaptura, 4);

    // "No" (a new set), not saved, and the noise again: the old set and its windows stay.
    NuevaHija(TTipoVentana::Analogica);
    const TCjtSenales* viejo = E().Senales();
    interaccion.respuestas = {Respuesta::No, Respuesta::No};
    Ejecutar(TComando::LeerDatos);
    EXPECT_EQ(interaccion.mensajes.back().texto, "T140");
    EXPECT_EQ(E().Senales(), viejo);
    EXPECT_EQ(E().Senales()->NumAna(), 2);
    EXPECT_EQ(ventana->AreaVentanas().subWindowList().size(), 1);

    // The same set read for real: the new signals join it and the count moves on.
    puerto->filtro = nullptr;
    interaccion.respuestas = {Respuesta::Si};
    Ejecutar(TComando::LeerDatos);
    EXPECT_EQ(E().Senales()->NumAna(), 2 + 2);
    EXPECT_EQ(E().Senales()->NumDig(), 9);
    EXPECT_EQ(E().Senales()->NumCaptura, 5);
}

TEST_F(Captura, AnalogTriggerStartsWhereTheTestWaveformCrossesTheLevel)
{
    // Input 5 is the unit's 2 V, 1 Hz sine.
    Configurar(400, 1, false);
    E().Config()->EntAna(5).Activo = true;
    modal.accion = [](QDialog& d) {
        d.show();
        Pulsar(d, "E1");
        Hijo<QLineEdit>(d, "Edit1")->setText("1");
        Pulsar(d, "RB1");
        Pulsar(d, "OKBtn");
    };
    Ejecutar(TComando::TriggerAnalogico);
    ASSERT_EQ(puerto->Empiezan("6,").size(), 1);
    // 1 V over 10/2048 V per count, rising.
    EXPECT_TRUE(puerto->Empiezan("6,").front().contains(",g,205,1,1,1#"));
    for (int i = 0; i < 40 && EstadoUnidad() != 3; ++i)
        Pasar(100);
    ASSERT_EQ(EstadoUnidad(), 3);
    modal.accion = nullptr;
    Ejecutar(TComando::LeerDatos);
    const TSenalAna* e5 = E().Senales()->BuscarAna(E().Config()->EntAna(5).Nombre);
    ASSERT_NE(e5, nullptr);
    EXPECT_NEAR(e5->LeerMuestra(0), 1.0, 0.02);
    EXPECT_GT(e5->LeerMuestra(50), e5->LeerMuestra(0));
}

TEST_F(Captura, DigitalTriggerStartsOnTheEdgeOfItsInput)
{
    Configurar(100, 1, false);
    modal.accion = [](QDialog& d) {
        d.show();
        Pulsar(d, "SpinButton1Arriba");
        Pulsar(d, "SpinButton1Abajo");
        Pulsar(d, "RD1");
        Pulsar(d, "OKBtn");
    };
    Ejecutar(TComando::TriggerDigital);
    ASSERT_EQ(puerto->Empiezan("6,").size(), 1);
    EXPECT_TRUE(puerto->Empiezan("6,").front().contains(",a,0,1,1,1#")) << puerto->Empiezan("6,").front().constData();
    Pasar(500);
    EXPECT_EQ(EstadoUnidad(), 1); // no edge yet
    // Digital output 1, looped to input 1, goes high.
    unidad.Recibir("5,U,1,V,0,W,0,X,0,Y,0,Z,0#", reloj.Tick() * 1000);
    unidad.TomarSalida(reloj.Tick() * 1000); // its acknowledge is not the program's
    Pasar(5);
    EXPECT_EQ(EstadoUnidad(), 2);
    Pasar(200);
    ASSERT_EQ(EstadoUnidad(), 3);
    modal.accion = nullptr;
    Ejecutar(TComando::LeerDatos);
    const TSenalDig* d1 = E().Senales()->BuscarDig(E().Config()->EntDig(1).Nombre);
    ASSERT_NE(d1, nullptr);
    EXPECT_EQ(d1->LeerMuestra(0), 1);
}

TEST_F(Captura, ContinuousMonitoringReprogramsTheSameCommandUntilClosed)
{
    Configurar(501, 10); // 5 s
    int reprogramaciones = 0;
    int puntos = 0;
    modal.accion = [&](QDialog& d) {
        auto* w = dynamic_cast<TfrmMonitorizacion*>(&d);
        EXPECT_NE(w, nullptr);
        if (!w)
            return;
        d.show();
        EXPECT_TRUE(w->MonitorizacionTimer().isActive());
        for (int i = 0; i < 400 && w->Reprogramaciones() < 2; ++i) {
            const int antes = w->Monitor()->UltimoIndice();
            Pasar(100);
            w->MonitorizacionTimerTimer();
            EsperarSAD(E().Enlace());
            puntos += w->Monitor()->UltimoIndice() != antes;
        }
        reprogramaciones = w->Reprogramaciones();
        Pulsar(d, "CerrarMonitorizacionBtn");
    };
    QSignalSpy monitorizando(&E(), &TEstadoPrograma::MonitorizacionCambiada);
    Ejecutar(TComando::MonitorContinua);
    EXPECT_GE(reprogramaciones, 2);
    EXPECT_GT(puntos, 20);
    const QList<QByteArray> comandos = puerto->Empiezan("7,");
    ASSERT_GE(comandos.size(), 3);
    for (const QByteArray& c : comandos)
        EXPECT_EQ(c, comandos.front());
    // On while the window ran, off once it closed.
    ASSERT_EQ(monitorizando.size(), 2);
    EXPECT_TRUE(monitorizando[0][0].toBool());
    EXPECT_FALSE(monitorizando[1][0].toBool());
    EXPECT_FALSE(E().Monitorizando());
    EXPECT_FALSE(EnSAD<bool>(*E().Enlace(), [](TComCapvis& c) { return c.Repitiendo(); }));
    EXPECT_TRUE(interaccion.mensajes.empty()) << Avisos().join('|').toStdString();
}

TEST_F(Captura, WatchingARunningCaptureReadsItBackWhenItEnds)
{
    Configurar(501, 10);
    // Too short a capture is refused before anything is asked of the unit.
    E().Config()->TiempoAnalisis = 4999;
    Ejecutar(TComando::Monitorizar);
    EXPECT_EQ(Avisos(), QStringList{"T226T227"});
    E().Config()->TiempoAnalisis = 5000;
    // Nothing running: 127 + 170.
    Ejecutar(TComando::Monitorizar);
    EXPECT_EQ(Avisos().back(), "T127T170");

    Programar();
    Pasar(1000);
    bool detenido = false;
    int leidas = 0;
    modal.accion = [&](QDialog& d) {
        auto* w = dynamic_cast<TfrmMonitorizacion*>(&d);
        d.show();
        for (int i = 0; i < 100 && !w->Detenido(); ++i) {
            Pasar(100);
            w->MonitorizacionTimerTimer();
            EsperarSAD(E().Enlace());
        }
        detenido = w->Detenido();
        leidas = w->Monitor()->Senales().NumAna() ? w->Monitor()->Senales().Ana(0)->NumMuestras() : 0;
        EXPECT_EQ(w->findChild<QLabel*>("Label1")->text(), "T250");
        // Time in seconds along the graph; the window over the document area, clear of the toolbars.
        EXPECT_EQ(w->findChild<TGrf*>("xygraph")->XAxis().Title(), "T37001");
        EXPECT_EQ(d.pos(), ventana->AreaVentanas().mapToGlobal(QPoint(0, 0)));
        Pulsar(d, "CerrarMonitorizacionBtn");
    };
    Ejecutar(TComando::Monitorizar);
    EXPECT_TRUE(detenido);
    EXPECT_EQ(leidas, 501);
}

TEST_F(Captura, DialogChecksKeepTheDialogOpenWithTheirTexts)
{
    Configurar(200, 1);
    std::vector<QString> retardos;
    modal.accion = [&](QDialog& d) {
        d.show();
        auto* retardo = Hijo<QLineEdit>(d, "RetardoEdit");
        // The delay, first on screen, takes the keys first, and Tab goes on to the period.
        EXPECT_EQ(d.focusWidget(), retardo);
        EXPECT_EQ(retardo->nextInFocusChain(), Hijo<QLineEdit>(d, "tMuesEdit"));
        retardo->setText("70000");
        EXPECT_EQ(retardo->text(), "70000");
        Pulsar(d, "OKBtn");
        retardos.push_back(retardo->text());
        retardo->clear();
        Pulsar(d, "OKBtn");
        Hijo<QLineEdit>(d, "tMuesEdit")->setText("0");
        retardo->setText("3");
        Pulsar(d, "OKBtn");
        EXPECT_TRUE(d.isVisible());
        d.reject();
    };
    Ejecutar(TComando::Retardada);
    EXPECT_EQ(retardos, std::vector<QString>{"65535"});
    EXPECT_EQ(Avisos(), (QStringList{"T133", "T143", "T143"}));
    EXPECT_TRUE(puerto->Empiezan("7,").isEmpty());

    // Analog trigger cancelled before any input was chosen: nothing is programmed.
    modal.accion = [](QDialog& d) { d.reject(); };
    Ejecutar(TComando::TriggerAnalogico);
    EXPECT_TRUE(puerto->Empiezan("6,").isEmpty());

    // Analog trigger: the level box keeps within +-10 V, a differential pair's second
    // input cannot be chosen and the first is sent as "k".
    E().Config()->EntAna(1).Diferencial = true;
    E().Config()->EntAna(2).Activo = true;
    interaccion.mensajes.clear();
    QString nivel;
    bool c2 = true;
    modal.accion = [&](QDialog& d) {
        d.show();
        Pulsar(d, "OKBtn"); // no input chosen
        auto* edit = Hijo<QLineEdit>(d, "Edit1");
        edit->setText("12");
        nivel = edit->text();
        c2 = Hijo<QToolButton>(d, "C2")->isEnabled();
        Pulsar(d, "C1");
        Pulsar(d, "RB2");
        Pulsar(d, "OKBtn");
    };
    Ejecutar(TComando::TriggerAnalogico);
    EXPECT_EQ(Avisos().value(0), "T137");
    EXPECT_EQ(nivel, "10");
    EXPECT_FALSE(c2);
    ASSERT_EQ(puerto->Empiezan("6,").size(), 1);
    EXPECT_TRUE(puerto->Empiezan("6,").front().contains(",k,2048,0,1,1#"));
}

TEST_F(Captura, DigitalTriggerOnGroupBAndOutputSwitchingBodies)
{
    Configurar(100, 1, false);
    E().Config()->EntDig(13).Activo = true;
    modal.accion = [](QDialog& d) {
        d.show();
        Pulsar(d, "RGCanalDigitalB");
        for (int i = 0; i < 9; ++i)
            Pulsar(d, "SpinButton1Arriba"); // stops at 8
        for (int i = 0; i < 3; ++i)
            Pulsar(d, "SpinButton1Abajo");
        Pulsar(d, "RD2");
        Pulsar(d, "OKBtn");
    };
    E().ModeloM = false;
    Ejecutar(TComando::TriggerDigital);
    ASSERT_EQ(puerto->Empiezan("6,").size(), 1);
    EXPECT_TRUE(puerto->Empiezan("6,").front().contains(",b,4,0,1,1#")) << puerto->Empiezan("6,").front().constData();

    std::array<bool, 16> dig{};
    std::array<bool, 4> ana{};
    dig[0] = dig[2] = true;
    ana[0] = true;
    EXPECT_EQ(CuerpoSalidas(dig, ana), "2,u,2,0,2,w");
    dig = {};
    ana = {};
    dig[9] = true;
    EXPECT_EQ(CuerpoSalidas(dig, ana), "1,v,1,1");
    EXPECT_EQ(CuerpoSalidas({}, {}), "");
}

// Every place that offers to save before discarding, with the save cancelled and with
// it failing (below a plain file, where not even root can write): the set, its window,
// the configuration and the unit stay as they were. On the way, every box of the
// capture dialogs must be named by a label tied to it (unit boxes by their row).
TEST_F(Captura, ACancelledOrFailedSaveDiscardsNothing)
{
    Configurar(100, 1, false);
    AbrirConjunto(1); // 10 samples: no time base of 100 takes them
    NuevaHija(TTipoVentana::Analogica);
    E().MarcarModificado();
    const TCjtSenales* conjunto = E().Senales();
    const TConfigES* config = E().Config();
    QFile(dir.filePath("f")).open(QIODevice::WriteOnly);
    const QString malo = dir.filePath("f/x.qvn"), otro = dir.filePath("otro.qvn");
    QFile::copy(QStringLiteral(QV_SOURCE_DIR "/data/ejemplos/demo.qvn"), otro);
    QStringList sinNombre;
    modal.accion = [&](QDialog& d) {
        const QList<QLabel*> etiquetas = d.findChildren<QLabel*>();
        for (QWidget* w : d.findChildren<QWidget*>())
            if (!d.objectName().startsWith("frmMenuES") && w->isVisible()
                && (qobject_cast<QLineEdit*>(w) ? std::none_of(etiquetas.cbegin(), etiquetas.cend(),
                                                               [w](QLabel* l) { return l->buddy() == w; })
                                                : qobject_cast<QComboBox*>(w) && w->accessibleName().isEmpty()))
                sinNombre << d.objectName() + "." + w->objectName();
        if (auto* c1 = d.findChild<QToolButton*>("C1")) {
            c1->click();
            Hijo<QLineEdit>(d, "Edit1")->setText("1");
        }
        Pulsar(d, "OKBtn");
    };
    struct TSitio {
        TComando comando;
        int pregunta;
        QString abrir = {};   // the file chosen first
        bool lectura = false; // "No" to 207 first, the unit holding a finished capture
    };
    for (const TSitio& s : std::vector<TSitio>{{TComando::Inmediata, 198}, {TComando::Retardada, 198},
                                               {TComando::TriggerAnalogico, 198}, {TComando::TriggerDigital, 198},
                                               {TComando::VerConfig, 198}, {TComando::Abrir, 210, otro},
                                               {TComando::AbrirConfig, 210, otro}, {TComando::Cerrar, 210},
                                               {TComando::Salir, 210}, {TComando::LeerDatos, 208, {}, true}}) {
        if (s.lectura && EstadoUnidad() != 3) {
            ASSERT_TRUE(Programada(*config));
            TSecuenciaCaptura::GuardarPrograma(*config, TOperaciones(), textos, interaccion, dir.path());
            Pasar(200);
        }
        for (const bool falla : {false, true}) {
            SCOPED_TRACE(QString("%1 %2").arg(int(s.comando)).arg(falla).toStdString());
            interaccion.mensajes.clear();
            interaccion.respuestas = {s.lectura ? Respuesta::No : Respuesta::Si, Respuesta::Si};
            dialogos.llamadas.clear();
            dialogos.abrir = {s.abrir};
            dialogos.guardar = {falla ? malo : QString()};
            puerto->enviados.clear();
            Ejecutar(s.comando);
            EXPECT_TRUE(Avisos().contains(QString("T%1").arg(s.pregunta))
                        && Avisos().contains("T243 " + malo) == falla && dialogos.llamadas.back().guardar)
                << Avisos().join('|').toStdString();
            ASSERT_EQ(E().Senales(), conjunto);
            ASSERT_EQ(E().Config(), config);
            EXPECT_TRUE(E().Modificado() && conjunto->NumAna() == 1 && config->NumMuestras == 100 && ventana->isVisible()
                        && ventana->AreaVentanas().subWindowList().size() == 1);
            EXPECT_TRUE(puerto->Empiezan("7,").isEmpty() && puerto->Empiezan("6,").isEmpty()
                        && puerto->Empiezan("9#").isEmpty());
            EXPECT_EQ(EstadoUnidad(), s.lectura ? 3 : 0);
        }
    }
    EXPECT_TRUE(sinNombre.isEmpty()) << sinNombre.join(' ').toStdString();
}

// Open a file, read a capture into a new set ("No", "No"): "Guardar" asks for a name and
// the opened file stays as it is. State 3 is then a capture already read, for "Test" and
// "Prog.", until another capture is programmed.
TEST_F(Captura, ANewSetReadBackIsNoLongerTheOpenedFileAndKnowsItWasRead)
{
    const QString a = dir.filePath("a.qvn");
    QFile f(a);
    ASSERT_TRUE(QFile::copy(QStringLiteral(QV_SOURCE_DIR "/data/ejemplos/demo.qvn"), a) && f.open(QIODevice::ReadOnly));
    const QByteArray original = f.readAll();
    dialogos.abrir = {a};
    Ejecutar(TComando::Abrir);
    const auto delFichero = VentanasDelConjunto(a);
    ASSERT_TRUE(Programada(*E().Config()));
    Pasar(1200);
    // Added to, the set is still the file: its windows open anew under its name.
    E().Senales()->PonerNombradoAuto(true);
    interaccion.respuestas = {Respuesta::Si};
    Ejecutar(TComando::LeerDatos);
    const auto anadidas = VentanasDelConjunto(a);
    EXPECT_TRUE(Cerradas(delFichero) && E().FicheroAbierto == a && Avisos() == QStringList{"T207"});
    interaccion.mensajes.clear();
    interaccion.respuestas = {Respuesta::No, Respuesta::No};
    Ejecutar(TComando::LeerDatos);
    ASSERT_EQ(Avisos(), (QStringList{"T207", "T208"}));
    EXPECT_EQ(E().FicheroAbierto, TEstadoPrograma::SinFicheroSenales);
    VentanasDelConjunto("*.qvn");
    EXPECT_TRUE(Cerradas(anadidas) && ventana->windowTitle() == "T1000");
    Ejecutar(TComando::Guardar);
    EXPECT_TRUE(dialogos.llamadas.size() == 2 && dialogos.llamadas.back().guardar);
    EXPECT_EQ(f.seek(0) ? f.readAll() : QByteArray(), original);

    QStringList estados;
    modal.accion = [&](QDialog& d) { estados << Hijo<QLabel>(d, "Estado")->text(); };
    Ejecutar(TComando::Test);
    interaccion.respuestas = {Respuesta::No};
    Ejecutar(TComando::Inmediata);
    EXPECT_EQ(Avisos().last(), "T301.T215");
    ASSERT_TRUE(Programada(*E().Config()));
    Pasar(1200);
    Ejecutar(TComando::Test);
    EXPECT_EQ(estados, (QStringList{" T300", " T130"}));
}

} // namespace
} // namespace qv::test

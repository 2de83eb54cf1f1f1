// Conversations with the unit that do not end as planned. Stopped: "Cancelar" of the
// progress window (and Escape) during a long read-back and during the programming of a
// delayed or triggered capture, and closing the main window in the middle of either;
// the unit is left in a known state, the set and its windows as they were, the
// commands come back at once, and a closing program ends with its device thread joined
// and no complaint from Qt. Failed: the link's own account of a lost unit, and a
// command ended by an exception, each told with its text.
#include "principal_prueba.h"
#include "unidad_virtual.h"

#include "capture/espera_ack.h"
#include "capture/monitorizacion.h"
#include "common/esperar_sad.h"
#include "link/com_capvis.h"
#include "model/config_es.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <functional>
#include <mutex>

namespace qv::test {
namespace {

// The unit behind a line that passes at most `trozo` bytes a receive, as a serial line
// does, and that can hold the device thread in the middle of a conversation: once
// `retenerTras` bytes have come in, or when a command that `retenerEnvio` picks goes
// out (held before the unit gets it), until the test lets it go. After a command that
// `perderTras` picks, the far end says the unit is gone.
class TPuertoRetenido : public TPuertoUnidad {
public:
    using TPuertoUnidad::TPuertoUnidad;

    int trozo = 2000;
    std::atomic<qint64> retenerTras{-1};
    std::function<bool(const QByteArray&)> retenerEnvio; // set before the command runs
    std::function<bool(const QByteArray&)> perderTras;
    std::atomic<bool> retenido{false};
    QSemaphore soltar;

    void Enviar(const QByteArray& t) override
    {
        if (retenerEnvio && retenerEnvio(t)) {
            retenerEnvio = nullptr;
            Retener();
        }
        if (perderTras && perderTras(t))
            perdido_ = true;
        TPuertoUnidad::Enviar(t);
    }
    void Recibir(QByteArray& t) override
    {
        if (perdido_)
            throw ESinUnidad(QStringLiteral("no unit"));
        QByteArray nuevo;
        TPuertoUnidad::Recibir(nuevo);
        pendiente_ += nuevo;
        t = pendiente_.left(trozo);
        pendiente_.remove(0, t.size());
        recibidos_ += t.size();
        if (retenerTras >= 0 && recibidos_ >= retenerTras) {
            retenerTras = -1;
            Retener();
        }
    }
    void Descartar() override { pendiente_.clear(); }

private:
    void Retener()
    {
        retenido = true;
        // Bounded: a test that forgets to let go fails instead of hanging.
        soltar.tryAcquire(1, 30000);
        retenido = false;
    }

    QByteArray pendiente_;
    qint64 recibidos_ = 0;
    bool perdido_ = false;
};

// Qt's complaints about timers, notifiers and threads, which a close that does not wait
// for the device thread (or frees its objects from the wrong one) brings.
class TQuejasQt {
public:
    TQuejasQt() : anterior_(qInstallMessageHandler(&Manejar)) { Actual() = this; }
    ~TQuejasQt()
    {
        qInstallMessageHandler(anterior_);
        Actual() = nullptr;
    }
    QStringList Quejas() const
    {
        std::lock_guard<std::mutex> l(m_);
        return quejas_;
    }

private:
    static TQuejasQt*& Actual()
    {
        static TQuejasQt* actual = nullptr;
        return actual;
    }
    static void Manejar(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
    {
        static const QRegularExpression queja(QStringLiteral("QObject::killTimer|QSocketNotifier|Timers cannot|thread"),
                                              QRegularExpression::CaseInsensitiveOption);
        TQuejasQt* q = Actual();
        if (q && tipo != QtDebugMsg && tipo != QtInfoMsg && queja.match(texto).hasMatch()) {
            std::lock_guard<std::mutex> l(q->m_);
            q->quejas_ << texto;
        }
        if (q && q->anterior_)
            q->anterior_(tipo, contexto, texto);
    }

    QtMessageHandler anterior_;
    mutable std::mutex m_;
    QStringList quejas_;
};

class Conversacion : public PrincipalPrueba {
protected:
    static constexpr int Muestras = 30001;
    static constexpr int UnSegundo = 1000;

    TQuejasQt quejas;
    QTemporaryDir dir;
    TUnidadSimulada unidad;
    TPuertoRetenido* puerto = nullptr;

    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj, dir.path());
        ventana->show();
        auto p = std::make_unique<TPuertoRetenido>(reloj, unidad);
        puerto = p.get();
        E().Enlace()->PonerPuerto(std::move(p), false);
    }
    void TearDown() override
    {
        // Never leave the device thread held, whatever failed.
        if (puerto && puerto->retenido)
            puerto->soltar.release();
        ventana.reset();
    }

    TEstadoPrograma& E() { return ventana->Estado(); }
    bool Libre() const
    {
        const TEstadoPrograma& e = ventana->Estado();
        return !e.Ocupado() && (!e.Enlace() || !e.Enlace()->Hablando());
    }
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
    // Analog input 1, a sample a millisecond.
    void Configurar(int muestras)
    {
        auto c = std::make_unique<TConfigES>();
        c->NumMuestras = muestras;
        c->UnidadPeriodo = Unidad::Mili;
        c->Periodo = 1;
        c->UnidadAnalisis = Unidad::Mili;
        c->TiempoAnalisis = muestras - 1;
        c->EntAna(1).Activo = true;
        E().PonerConfig(std::move(c));
    }
    // The unit holding a finished capture of `Muestras` samples, programmed with "Prog.".
    void CapturaTerminada()
    {
        Configurar(Muestras);
        modal.Cuando(QStringLiteral("frmProgRetardo"), [](QDialog& d) { Pulsar(d, "OKBtn"); });
        ventana->Ejecutar(TComando::Inmediata);
        ASSERT_TRUE(EsperarSAD(E()));
        Pasar(Muestras + 1000);
        ASSERT_EQ(EstadoUnidad(), 3);
        interaccion.mensajes.clear();
    }
    // A previous set of two signals with its window, which a read-back would replace.
    void ConjuntoAnterior()
    {
        AbrirConjunto(2);
        NuevaHija(TTipoVentana::Analogica);
    }
    TfrmEsperaAck* Espera() const { return ventana->findChild<TfrmEsperaAck*>(); }
    // Runs the command until the device thread is held in the middle of it.
    void HastaRetenido(TComando c)
    {
        ventana->Ejecutar(c);
        ASSERT_TRUE(Esperar([&] { return puerto->retenido.load(); }, 20000));
        // What the device thread reported so far reaches the window.
        Esperar([] { return false; }, 50);
    }
    // Lets the device thread go and measures how long until the commands are back.
    qint64 SoltarYEsperar(int maxMs = 10000)
    {
        QElapsedTimer t;
        t.start();
        puerto->soltar.release();
        EXPECT_TRUE(Esperar([&] { return Libre(); }, maxMs));
        return t.elapsed();
    }
    QStringList Avisos() const { return interaccion.Textos(); }
};

TEST_F(Conversacion, EscapeStopsALongReadBackAndLeavesTheSetTheWindowsAndTheUnitsDataAsTheyWere)
{
    CapturaTerminada();
    ConjuntoAnterior();
    const TCjtSenales* anterior = E().Senales();
    // A new set, the old one not saved: it would go once the samples are in.
    interaccion.respuestas = {Respuesta::No, Respuesta::No};
    puerto->retenerTras = 60000;
    HastaRetenido(TComando::LeerDatos);

    TfrmEsperaAck* espera = Espera();
    ASSERT_NE(espera, nullptr);
    EXPECT_TRUE(espera->isVisible());
    auto* boton = espera->findChild<QPushButton*>(QStringLiteral("CancelarBtn"));
    ASSERT_NE(boton, nullptr);
    EXPECT_TRUE(boton->isVisible() && boton->isEnabled());
    EXPECT_EQ(boton->text(), QStringLiteral("T1"));
    EXPECT_EQ(boton->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    // Part of the samples in: the bar stands between its ends.
    auto* barra = espera->findChild<QProgressBar*>(QStringLiteral("Progreso"));
    ASSERT_NE(barra, nullptr);
    EXPECT_TRUE(barra->isVisible());
    EXPECT_GT(barra->value(), 0);
    EXPECT_LT(barra->value(), 1000);
    // Nothing else talks to the unit, nor replaces the set, meanwhile.
    for (const char* n : {"SpBtnLeer", "SpBtnProgramar", "SpBtnTest", "SpBtnAbrir", "Cerrar", "VerConfig1"})
        EXPECT_FALSE(Activo(n)) << n;
    EXPECT_TRUE(Activo("SpBtnZoomIn"));

    QTest::keyClick(espera, Qt::Key_Escape);
    EXPECT_TRUE(espera->Cancelado());
    EXPECT_FALSE(boton->isEnabled());
    EXPECT_EQ(espera->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("T480"));
    // The command is over at once, while the device thread is still in the middle of
    // the reply (on a slow line the rest takes the line's time to drain).
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(Esperar([&] { return !E().Ocupado(); }, 5000));
    EXPECT_LT(t.elapsed(), UnSegundo);
    EXPECT_TRUE(puerto->retenido);
    EXPECT_EQ(Espera(), nullptr);
    EXPECT_TRUE(Activo("SpBtnLeer"));
    SoltarYEsperar();

    EXPECT_EQ(Avisos(), (QStringList{"T207", "T208"}));
    EXPECT_EQ(E().Senales(), anterior);
    EXPECT_EQ(anterior->NumAna(), 2);
    EXPECT_EQ(anterior->NumDig(), 0);
    EXPECT_EQ(ventana->AreaVentanas().subWindowList().size(), 1);
    EXPECT_TRUE(Activo("SpBtnLeer"));
    EXPECT_EQ(EstadoUnidad(), 3);

    // The rest of the reply went nowhere: the next read-back gets the whole capture.
    interaccion.mensajes.clear();
    interaccion.respuestas = {Respuesta::No, Respuesta::No};
    ventana->Ejecutar(TComando::LeerDatos);
    ASSERT_TRUE(EsperarSAD(E()));
    EXPECT_EQ(Avisos(), (QStringList{"T207", "T208"}));
    ASSERT_NE(E().Senales(), nullptr);
    ASSERT_EQ(E().Senales()->NumAna(), 1);
    EXPECT_EQ(E().Senales()->Ana(0)->NumMuestras(), Muestras);
    EXPECT_TRUE(quejas.Quejas().isEmpty()) << quejas.Quejas().join('|').toStdString();
}

// The programming of a delayed and of a digitally triggered capture, stopped while the
// command goes out: the unit takes it all the same (a command cannot be called back
// half-way), so it is aborted, and the unit is free again; nothing else changes.
TEST_F(Conversacion, CancelarDuringTheProgrammingOfADelayedOrTriggeredCaptureLeavesTheUnitFree)
{
    Configurar(200);
    for (const TComando c : {TComando::Retardada, TComando::TriggerDigital}) {
        SCOPED_TRACE(int(c));
        interaccion.mensajes.clear();
        puerto->enviados.clear();
        if (c == TComando::Retardada)
            modal.Cuando(QStringLiteral("frmProgRetardo"), [](QDialog& d) {
                Control<QLineEdit>(d, "RetardoEdit")->setText(QStringLiteral("1000"));
                Pulsar(d, "OKBtn");
            });
        else
            modal.Cuando(QStringLiteral("frmTrigdig"), [](QDialog& d) {
                Pulsar(d, "RD1");
                Pulsar(d, "OKBtn");
            });
        puerto->retenerEnvio = [](const QByteArray& t) { return t.startsWith("7,") || t.startsWith("6,"); };
        HastaRetenido(c);
        TfrmEsperaAck* espera = Espera();
        ASSERT_NE(espera, nullptr);
        auto* boton = espera->findChild<QPushButton*>(QStringLiteral("CancelarBtn"));
        ASSERT_TRUE(boton && boton->isVisible());
        EXPECT_FALSE(Activo("SpBtnProgramar"));
        boton->click();
        EXPECT_LT(SoltarYEsperar(), UnSegundo);

        const int programa = int(puerto->enviados.indexOf(puerto->Empiezan(c == TComando::Retardada ? "7," : "6,").value(0)));
        ASSERT_GE(programa, 0);
        EXPECT_EQ(puerto->enviados.indexOf("8#", programa), programa + 1);
        EXPECT_EQ(EstadoUnidad(), 0);
        EXPECT_TRUE(Avisos().isEmpty()) << Avisos().join('|').toStdString();
        EXPECT_EQ(ventana->findChild<QLabel*>(QStringLiteral("PE"))->text(), QString());
        EXPECT_TRUE(Activo("SpBtnProgramar"));
        EXPECT_EQ(Espera(), nullptr);
    }
    EXPECT_EQ(modal.Pendientes(), 0);
}

TEST_F(Conversacion, ClosingDuringAReadBackStopsItAndThenCloses)
{
    CapturaTerminada();
    ConjuntoAnterior();
    E().MarcarGuardado();
    interaccion.respuestas = {Respuesta::No, Respuesta::No};
    puerto->retenerTras = 60000;
    HastaRetenido(TComando::LeerDatos);

    // The window waits for the command, which is told to stop.
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(ventana->close());
    EXPECT_TRUE(ventana->isVisible());
    EXPECT_TRUE(E().Cerrando);
    // The receive in course ends within its bounded wait, as a real port's does.
    puerto->soltar.release();
    ASSERT_TRUE(Esperar([&] { return !ventana->isVisible(); }, 10000));
    EXPECT_LT(t.elapsed(), UnSegundo);
    puerto = nullptr; // gone with the link
    // Closed for good: the link (and its thread) is gone, nothing read was handed over
    // and nothing more was asked.
    EXPECT_EQ(E().Enlace(), nullptr);
    EXPECT_EQ(E().Senales(), nullptr);
    EXPECT_TRUE(ventana->AreaVentanas().subWindowList().isEmpty());
    EXPECT_EQ(Avisos(), (QStringList{"T207", "T208"}));
    EXPECT_TRUE(modal.vistos.size() == 1); // the programming dialog of the set-up only
    unidad.Avanzar(reloj.ahora * 1000);
    EXPECT_EQ(unidad.Estado(), 3); // the unit keeps its data for another run
    EXPECT_TRUE(quejas.Quejas().isEmpty()) << quejas.Quejas().join('|').toStdString();
}

TEST_F(Conversacion, ClosingWhileADelayedCaptureIsProgrammedAbortsItAndThenCloses)
{
    Configurar(200);
    modal.Cuando(QStringLiteral("frmProgRetardo"), [](QDialog& d) {
        Control<QLineEdit>(d, "RetardoEdit")->setText(QStringLiteral("1000"));
        Pulsar(d, "OKBtn");
    });
    puerto->retenerEnvio = [](const QByteArray& t) { return t.startsWith("7,"); };
    HastaRetenido(TComando::Retardada);
    EXPECT_FALSE(ventana->close());
    // The accepted dialog changed the configuration: the save question comes once the
    // capture is stopped, and "No" closes.
    interaccion.respuestas = {Respuesta::No};
    puerto->soltar.release();
    ASSERT_TRUE(Esperar([&] { return !ventana->isVisible(); }, 10000));
    EXPECT_EQ(E().Enlace(), nullptr);
    puerto = nullptr; // gone with the link
    EXPECT_EQ(Avisos(), QStringList{"T210"});
    unidad.Avanzar(reloj.ahora * 1000);
    EXPECT_EQ(unidad.Estado(), 0);
    EXPECT_TRUE(quejas.Quejas().isEmpty()) << quejas.Quejas().join('|').toStdString();
}

// Closing while a programming dialog is open: once it is accepted, the command sees the
// program closing and programs nothing.
TEST_F(Conversacion, ClosingWhileTheDialogIsOpenProgramsNothing)
{
    Configurar(200);
    modal.Cuando(QStringLiteral("frmProgRetardo"), [this](QDialog& d) {
        EXPECT_FALSE(ventana->close());
        Pulsar(d, "OKBtn");
    });
    ventana->Ejecutar(TComando::Inmediata);
    ASSERT_TRUE(Esperar([&] { return !ventana->isVisible(); }, 10000));
    puerto = nullptr; // gone with the link
    EXPECT_EQ(modal.Pendientes(), 0);
    EXPECT_TRUE(Avisos().isEmpty()) << Avisos().join('|').toStdString();
    unidad.Avanzar(reloj.ahora * 1000);
    EXPECT_EQ(unidad.Estado(), 0);
}

// The unit lost while the capture goes out: the link says so (284), rather than the
// unit refusing the programming (135).
TEST_F(Conversacion, AUnitLostWhileTheCaptureGoesOutIsToldAsSuch)
{
    Configurar(200);
    modal.Cuando(QStringLiteral("frmProgRetardo"), [](QDialog& d) { Pulsar(d, "OKBtn"); });
    puerto->perderTras = [](const QByteArray& t) { return t.startsWith("7,"); };
    ventana->Ejecutar(TComando::Inmediata);
    ASSERT_TRUE(EsperarSAD(E()));
    EXPECT_EQ(Avisos(), QStringList{"T284"});
    EXPECT_TRUE(Activo("SpBtnProgramar"));
}

// A command ended by an exception: the user hears of it with the text of what the
// command was doing, and the commands come back.
TEST_F(Conversacion, ACommandEndedByAnExceptionIsToldWithTheTextOfItsOperation)
{
    Configurar(200);
    const std::pair<TComando, const char*> casos[] = {{TComando::Inmediata, "frmProgRetardo"},
                                                      {TComando::Test, "frmTestInterface"}};
    for (const auto& [comando, dialogo] : casos) {
        SCOPED_TRACE(dialogo);
        interaccion.mensajes.clear();
        modal.Cuando(QLatin1String(dialogo), [](QDialog&) { throw std::runtime_error("fault in a dialog"); });
        ventana->Ejecutar(comando);
        ASSERT_TRUE(EsperarSAD(E()));
        EXPECT_EQ(modal.Pendientes(), 0);
        EXPECT_EQ(Avisos(), QStringList{comando == TComando::Test ? "T125" : "T135"});
        EXPECT_FALSE(E().Ocupado());
        EXPECT_TRUE(Activo("SpBtnLeer"));
    }
    EXPECT_EQ(EstadoUnidad(), 0);
}

// Continuous monitoring, its window closed while a poll is on its way: the capture that
// the poll finds ended is not programmed again behind the user's back.
TEST_F(Conversacion, ClosingTheMonitoringWindowMidPollProgramsNothingMore)
{
    Configurar(5001); // 5 s
    int antes = -1, despues = -1;
    modal.Cuando(QStringLiteral("frmMonitorizacion"), [&](QDialog& d) {
        auto& w = dynamic_cast<TfrmMonitorizacion&>(d);
        Pasar(6000); // the capture has ended in the unit
        antes = int(puerto->Empiezan("7,").size());
        w.MonitorizacionTimerTimer();
        Pulsar(d, "CerrarMonitorizacionBtn");
        EXPECT_TRUE(Esperar([&] { return !d.isVisible(); }, 5000));
        despues = int(puerto->Empiezan("7,").size());
    });
    ventana->Ejecutar(TComando::MonitorContinua);
    ASSERT_TRUE(EsperarSAD(E()));
    EXPECT_EQ(modal.Pendientes(), 0);
    EXPECT_EQ(antes, 1);
    EXPECT_EQ(despues, antes);
    EXPECT_EQ(int(puerto->Empiezan("7,").size()), antes);
    EXPECT_EQ(EstadoUnidad(), 3);
    EXPECT_FALSE(E().Monitorizando());
    EXPECT_TRUE(Avisos().isEmpty()) << Avisos().join('|').toStdString();
}

} // namespace
} // namespace qv::test

// The device service: one conversation at a time in the order asked, a decision keeps
// the turn, cancelling stops the running one at its next step, and the service may go
// away in the middle of a step without hanging or calling back into the window.
#include "common/esperar.h"
#include "common/interaccion_guion.h"
#include "link/servicio_sad.h"
#include "puerto_guion.h"
#include "reloj_falso.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMutex>
#include <QSemaphore>

#include <atomic>
#include <optional>

using namespace qv;
using namespace qv::test;

namespace {

using TPaso = TConversacion::TPaso;

// What the device thread did, in its order, read by the window thread.
class TDiario {
public:
    void Anotar(const QString& s)
    {
        QMutexLocker l(&m_);
        lineas_ << s;
    }
    QStringList Lineas() const
    {
        QMutexLocker l(&m_);
        return lineas_;
    }

private:
    mutable QMutex m_;
    QStringList lineas_;
};

// A conversation of `pasos` steps that notes each one, and may ask a decision, fail by
// an exception or go on until it is cancelled.
class TCharla : public TConversacion {
public:
    TCharla(TDiario& d, QString nombre, int pasos) : d_(d), nombre_(std::move(nombre)), pasos_(pasos) {}

    bool decidir = false;   // the first step asks a decision
    bool lanzar = false;    // the first step throws
    bool sinFin = false;    // steps until cancelled
    std::atomic<int> respuesta{-1};

    TPaso Paso(TComCapvis&) override
    {
        ++hechos_;
        d_.Anotar(QStringLiteral("%1%2").arg(nombre_).arg(hechos_));
        if (cancelada_)
            return TPaso::Cancelada;
        if (lanzar)
            throw std::runtime_error("step fault");
        if (decidir && hechos_ == 1)
            return TPaso::Decidir;
        if (sinFin || hechos_ < pasos_)
            return TPaso::Sigue;
        return TPaso::Terminada;
    }
    int EsperaSugerida() const override { return 100; }
    void Responder(int r) override { respuesta = r; }
    void Cancelar() override { cancelada_ = true; }

private:
    TDiario& d_;
    QString nombre_;
    int pasos_;
    int hechos_ = 0;
    bool cancelada_ = false;
};

TTarea Hablar(TServicioSAD& sad, std::shared_ptr<TConversacion> c, std::optional<TPaso>& fin)
{
    fin = co_await sad.Hablar(std::move(c));
}

TTarea Responder(TServicioSAD& sad, std::shared_ptr<TConversacion> c, int r, std::optional<TPaso>& fin)
{
    fin = co_await sad.Responder(std::move(c), r);
}

class ServicioSAD : public ::testing::Test {
protected:
    TRelojFalso reloj;
    TTextosFijos textos;
    TInteraccionGuion inter;
    TDiario diario;

    std::shared_ptr<TCharla> Charla(const QString& nombre, int pasos)
    {
        return std::make_shared<TCharla>(diario, nombre, pasos);
    }
};

} // namespace

// Conversations asked for one after another run one after another, each step of one
// before the first of the next, and each awaiting command gets its own answer; one
// that fails by an exception ends failed and the next runs.
TEST_F(ServicioSAD, UnaConversacionALaVezCadaUnaConSuRespuesta)
{
    TServicioSAD sad(textos, inter, reloj, {});
    auto a = Charla(QStringLiteral("A"), 3);
    auto b = Charla(QStringLiteral("B"), 1);
    b->lanzar = true;
    auto c = Charla(QStringLiteral("C"), 2);
    std::optional<TPaso> fa, fb, fc;
    Hablar(sad, a, fa);
    Hablar(sad, b, fb);
    Hablar(sad, c, fc);
    EXPECT_TRUE(sad.Hablando());
    ASSERT_TRUE(Esperar([&] { return fc.has_value(); }));
    EXPECT_EQ(diario.Lineas(), (QStringList{"A1", "A2", "A3", "B1", "C1", "C2"}));
    EXPECT_EQ(fa, TPaso::Terminada);
    EXPECT_EQ(fb, TPaso::Fallida);
    EXPECT_EQ(fc, TPaso::Terminada);
    EXPECT_FALSE(sad.Hablando());
    // The pauses between steps pass on the virtual clock, one per step that goes on.
    EXPECT_EQ(reloj.ahora, 3 * 100);
}

// A conversation that waits for the user's decision keeps the unit: the one asked for
// meanwhile starts only after the answer has reached the first and it has ended.
TEST_F(ServicioSAD, UnaDecisionGuardaElTurno)
{
    TServicioSAD sad(textos, inter, reloj, {});
    auto a = Charla(QStringLiteral("A"), 2);
    a->decidir = true;
    auto b = Charla(QStringLiteral("B"), 1);
    std::optional<TPaso> fa, fb, fr;
    Hablar(sad, a, fa);
    ASSERT_TRUE(Esperar([&] { return fa.has_value(); }));
    EXPECT_EQ(fa, TPaso::Decidir);
    Hablar(sad, b, fb);
    // B waits however long the decision takes.
    Esperar([] { return false; }, 100);
    EXPECT_FALSE(fb.has_value());
    EXPECT_EQ(diario.Lineas(), QStringList{"A1"});
    EXPECT_TRUE(sad.Hablando());

    Responder(sad, a, 7, fr);
    ASSERT_TRUE(Esperar([&] { return fb.has_value(); }));
    EXPECT_EQ(a->respuesta, 7);
    EXPECT_EQ(fr, TPaso::Terminada);
    EXPECT_EQ(fb, TPaso::Terminada);
    EXPECT_EQ(diario.Lineas(), (QStringList{"A1", "A2", "B1"}));
}

// Cancelling reaches the conversation that runs, which ends at its next step as
// cancelled; what was asked after it still runs.
TEST_F(ServicioSAD, CancelarParaLaQueHablaEnSuPasoSiguiente)
{
    TServicioSAD sad(textos, inter, reloj, {});
    auto a = Charla(QStringLiteral("A"), 1);
    a->sinFin = true;
    auto b = Charla(QStringLiteral("B"), 1);
    std::optional<TPaso> fa, fb;
    Hablar(sad, a, fa);
    Hablar(sad, b, fb);
    ASSERT_TRUE(Esperar([&] { return diario.Lineas().size() >= 5; }));
    EXPECT_FALSE(fa.has_value());
    sad.Cancelar();
    ASSERT_TRUE(Esperar([&] { return fb.has_value(); }));
    EXPECT_EQ(fa, TPaso::Cancelada);
    EXPECT_EQ(fb, TPaso::Terminada);
    const QStringList l = diario.Lineas();
    EXPECT_EQ(l.last(), "B1");
    EXPECT_EQ(l.filter(QStringLiteral("B")).size(), 1);
}

// The service goes away (the main window closes) while a step waits for the window
// thread to show a message: the step gives up, the thread ends within a bound, and
// nothing calls back into the window or the awaiter.
TEST_F(ServicioSAD, DestruidoEnMitadDeUnPasoNoCuelgaNiLlamaALaVentana)
{
    struct TMensaje : TConversacion {
        QSemaphore dentro;
        std::atomic<int> respuesta{-99};
        TPaso Paso(TComCapvis& com) override
        {
            dentro.release();
            respuesta = com.Usuario().MostrarError(QStringLiteral("mid-step"), 0);
            return TPaso::Terminada;
        }
    };
    auto c = std::make_shared<TMensaje>();
    std::optional<TPaso> fin;
    QElapsedTimer t;
    {
        auto sad = std::make_unique<TServicioSAD>(textos, inter, reloj, QStringList{});
        Hablar(*sad, c, fin);
        ASSERT_TRUE(c->dentro.tryAcquire(1, 5000));
        // The step now waits for the window thread, which is here and does not answer.
        t.start();
        sad.reset();
    }
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(c->respuesta, 0);
    Esperar([] { return false; }, 100);
    EXPECT_TRUE(inter.mensajes.empty());
    EXPECT_FALSE(fin.has_value());
}

// The same while a conversation goes on step after step: the close is not held up
// behind its steps.
TEST_F(ServicioSAD, DestruidoMientrasUnaConversacionSigue)
{
    auto a = Charla(QStringLiteral("A"), 1);
    a->sinFin = true;
    std::optional<TPaso> fa;
    QElapsedTimer t;
    {
        TServicioSAD sad(textos, inter, reloj, {});
        Hablar(sad, a, fa);
        ASSERT_TRUE(Esperar([&] { return diario.Lineas().size() >= 3; }));
        t.start();
    }
    EXPECT_LT(t.elapsed(), 2000);
    const qsizetype pasos = diario.Lineas().size();
    Esperar([] { return false; }, 100);
    EXPECT_EQ(diario.Lineas().size(), pasos);
    EXPECT_FALSE(fa.has_value());
}

// A read-back given up while the unit still sends: its conversation is answered at
// once, the rest of the reply comes off the line between conversations, and the next
// one talks only once it is gone, reading its own answer.
TEST_F(ServicioSAD, LoQueQuedaDeUnaLecturaDejadaSeDrenaEntreConversaciones)
{
    auto puerto = std::make_unique<TPuertoGuion>(reloj);
    TPuertoGuion* p = puerto.get();
    for (int i = 0; i < 200; ++i) {
        p->entrada.push_back("12,34,56,");
        p->entrada.push_back({}); // the slow line between its bytes
    }
    p->entrada.push_back("78#");
    TServicioSAD sad(textos, inter, reloj, {});
    sad.Encargar([&puerto](TComCapvis& c) {
        c.PonerPuerto(std::move(puerto), false);
        c.DejarPorDrenar(true);
    });
    struct TEstado : TConversacion {
        std::atomic<int> estado{-1};
        std::atomic<bool> porDrenar{true};
        std::atomic<bool> lineaVacia{false};
        TPuertoGuion* p = nullptr;
        TPaso Paso(TComCapvis& com) override
        {
            porDrenar = com.PorDrenar();
            lineaVacia = p->entrada.empty();
            p->responder = [q = p](const QByteArray&) { q->entrada.push_back("&0#"); };
            int e = -1;
            if (com.LeerEstado(e))
                estado = e;
            p->responder = nullptr;
            return TPaso::Terminada;
        }
    };
    auto e = std::make_shared<TEstado>();
    e->p = p;
    std::optional<TPaso> fin;
    Hablar(sad, e, fin);
    ASSERT_TRUE(Esperar([&] { return fin.has_value(); }));
    EXPECT_FALSE(e->porDrenar);
    EXPECT_TRUE(e->lineaVacia);
    EXPECT_EQ(e->estado, 0);
    EXPECT_EQ(p->enviados, QList<QByteArray>{"2#"});
}

// Cancelling reaches a send that is on its way inside a step (a capture command takes
// minutes on a slow line): the step ends at once, cancelled.
TEST_F(ServicioSAD, CancelarCortaUnEnvioEnCurso)
{
    auto puerto = std::make_unique<TPuertoGuion>(reloj);
    TPuertoGuion* p = puerto.get();
    p->cortarCaptura = true;
    TServicioSAD sad(textos, inter, reloj, {});
    sad.PonerPuerto(std::move(puerto), false);
    struct TEnvio : TConversacion {
        TPaso Paso(TComCapvis& com) override
        {
            const bool ok = com.EnviarTexto(QByteArray(5000, '7') + "#");
            return !ok && com.EnvioInterrumpido() ? TPaso::Cancelada : TPaso::Terminada;
        }
    };
    std::optional<TPaso> fin;
    Hablar(sad, std::make_shared<TEnvio>(), fin);
    ASSERT_TRUE(Esperar([&] { return p->enviando.tryAcquire(); }));
    QElapsedTimer t;
    t.start();
    sad.Cancelar();
    ASSERT_TRUE(Esperar([&] { return fin.has_value(); }));
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_EQ(fin, TPaso::Cancelada);
}

#include "link/servicio_sad.h"

#include "lang/interaccion.h"
#include "link/reloj.h"

#include <QSemaphore>
#include <QTimer>

#include <atomic>

namespace qv {

namespace {

// The interaction as the device thread sees it: every call is carried out on the window
// thread, and the device thread waits for its answer. While the service closes, nobody
// answers any more: the calls give up with no answer instead of waiting for ever.
class TInteraccionHilo : public TInteraccion {
public:
    TInteraccionHilo(TInteraccion& destino, QObject& ventana) : destino_(destino), ventana_(ventana) {}

    std::atomic<bool> cerrando{false};

    int MostrarError(const QString& t, int b) override
    {
        return Pasar([=, this] { return destino_.MostrarError(t, b); });
    }
    int MostrarAviso(const QString& t, int b) override
    {
        return Pasar([=, this] { return destino_.MostrarAviso(t, b); });
    }
    int MostrarPregunta(const QString& t, int b) override
    {
        return Pasar([=, this] { return destino_.MostrarPregunta(t, b); });
    }
    int MostrarInformacion(const QString& t, int b) override
    {
        return Pasar([=, this] { return destino_.MostrarInformacion(t, b); });
    }
    void MensajePlano(const QString& t) override
    {
        Pasar([=, this] { return destino_.MensajePlano(t), 0; });
    }
    QString PedirNombreNuevo(const QString& nombre) override
    {
        QString r = QString::number(Respuesta::Omitir);
        Pasar([&, this] { return r = destino_.PedirNombreNuevo(nombre), 0; });
        return r;
    }
    int PreguntarPresencia() override
    {
        return Pasar([this] { return destino_.PreguntarPresencia(); });
    }
    // The window thread shows a conversation's progress itself.
    void CursorOcupado(bool ocupado) override
    {
        if (EnVentana())
            destino_.CursorOcupado(ocupado);
    }

private:
    bool EnVentana() const { return QThread::currentThread() == ventana_.thread(); }

    int Pasar(const std::function<int()>& f)
    {
        if (EnVentana())
            return f();
        struct TLlamada {
            QSemaphore hecha;
            int r = Respuesta::Ninguna;
        };
        auto l = std::make_shared<TLlamada>();
        // `f` may refer to the caller's locals: it runs only while the caller waits.
        auto abandonada = std::make_shared<std::atomic<bool>>(false);
        QMetaObject::invokeMethod(
            &ventana_,
            [l, f, abandonada] {
                if (!*abandonada)
                    l->r = f();
                l->hecha.release();
            },
            Qt::QueuedConnection);
        while (!l->hecha.tryAcquire(1, 50)) {
            if (cerrando) {
                *abandonada = true;
                return Respuesta::Ninguna;
            }
        }
        return l->r;
    }

    TInteraccion& destino_;
    QObject& ventana_;
};

// One call as a conversation of a single step.
class TConversacionUnica : public TConversacion {
public:
    explicit TConversacionUnica(std::function<void(TComCapvis&)> f) : f_(std::move(f)) {}
    TPaso Paso(TComCapvis& com) override
    {
        f_(com);
        return TPaso::Terminada;
    }

private:
    std::function<void(TComCapvis&)> f_;
};

} // namespace

// The device thread's side: the protocol object, its transport, and the conversation
// being driven, a step per timer shot so that answers and cancellation come in between.
class TServicioSAD::TTrabajador : public QObject, public TProgresoCaptura {
public:
    TTrabajador(TServicioSAD& s, TTextos& textos, TInteraccion& interaccion, TReloj& reloj, QStringList puertos)
        : servicio_(s), interaccion_(interaccion, s),
          com_(textos, interaccion_, reloj, std::move(puertos)), reloj_(reloj)
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Paso(); });
        com_.PonerVentanaProgreso(this);
        com_.PonerInterrupcion(&s.cancelado_);
    }

    TComCapvis& Com() { return com_; }
    TInteraccionHilo& Interaccion() { return interaccion_; }

    void Empezar(std::shared_ptr<TConversacion> c)
    {
        servicio_.cancelado_ = false;
        decidiendo_ = false;
        actual_ = std::move(c);
        Armar(0);
    }
    void Responder(int respuesta)
    {
        if (!actual_)
            return;
        decidiendo_ = false;
        actual_->Responder(respuesta);
        Armar(0);
    }
    void Cancelar()
    {
        if (actual_)
            actual_->Cancelar();
    }

    // TProgresoCaptura: the protocol's own progress while it sends a capture.
    void Esperando() override { Fase(0); }
    void Enviando() override { Fase(1); }
    void Hecho() override { Fase(2); }
    void Leyendo() override { Fase(3); }

private:
    void Fase(int f)
    {
        QMetaObject::invokeMethod(&servicio_, [s = &servicio_, f] { Q_EMIT s->ProgresoEnvio(f); },
                                  Qt::QueuedConnection);
    }

    void Armar(int ms)
    {
        // On a virtual clock the pause passes on the clock itself.
        if (!reloj_.Real() && ms > 0) {
            reloj_.Dormir(ms);
            ms = 0;
        }
        timer_.start(std::max(0, ms));
    }

    void Paso()
    {
        // The rest of a reply given up comes off the line first, between conversations:
        // the one that ended has been answered already, the next one waits for it.
        if (com_.PorDrenar() && !com_.PasoDrenaje()) {
            Armar(TComCapvis::PausaDrenaje);
            return;
        }
        if (!actual_ || decidiendo_)
            return; // a conversation waiting for its decision goes on with the answer
        TPaso r = TPaso::Fallida;
        try {
            r = actual_->Paso(com_);
        } catch (const std::exception& e) {
            // Not a link failure (those are answers of the protocol object): the
            // conversation ends failed and the thread lives on.
            qCritical("Quorvane: conversation with the unit ended by %s", e.what());
        }
        const TConversacion::TAvance avance = actual_->Avance();
        QMetaObject::invokeMethod(&servicio_, [s = &servicio_, avance] { Q_EMIT s->Avance(avance); },
                                  Qt::QueuedConnection);
        if (r == TPaso::Sigue) {
            Armar(actual_->EsperaSugerida());
            return;
        }
        decidiendo_ = r == TPaso::Decidir;
        if (!decidiendo_)
            actual_.reset();
        const TInfoSAD info = com_.Foto();
        QMetaObject::invokeMethod(&servicio_, [s = &servicio_, r, info] { s->Terminada(r, info); },
                                  Qt::QueuedConnection);
        if (com_.PorDrenar())
            Armar(TComCapvis::PausaDrenaje);
    }

    TServicioSAD& servicio_;
    TInteraccionHilo interaccion_;
    TComCapvis com_;
    TReloj& reloj_;
    QTimer timer_{this};
    std::shared_ptr<TConversacion> actual_;
    bool decidiendo_ = false;
};

TServicioSAD::TServicioSAD(TTextos& textos, TInteraccion& interaccion, TReloj& reloj, QStringList puertosSerie)
    : trabajador_(new TTrabajador(*this, textos, interaccion, reloj, std::move(puertosSerie)))
{
    hilo_.setObjectName(QStringLiteral("SAD"));
    trabajador_->moveToThread(&hilo_);
    hilo_.start();
}

TServicioSAD::~TServicioSAD()
{
    trabajador_->Interaccion().cerrando = true;
    // The worker goes on its own thread, where its transport lives; the outputs go to
    // zero on the way when this station holds the unit.
    QMetaObject::invokeMethod(
        trabajador_,
        [t = trabajador_] {
            delete t;
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    hilo_.wait();
}

void TServicioSAD::EnHilo(std::function<void(TTrabajador&)> f)
{
    QMetaObject::invokeMethod(trabajador_, [t = trabajador_, f = std::move(f)] { f(*t); }, Qt::QueuedConnection);
}

std::shared_ptr<TConversacion> TServicioSAD::Unica(std::function<void(TComCapvis&)> f)
{
    return std::make_shared<TConversacionUnica>(std::move(f));
}

void TServicioSAD::Ejecutar(std::shared_ptr<TConversacion> c, std::function<void(TPaso)> fin)
{
    if (enCurso_) {
        cola_.emplace_back(std::move(c), std::move(fin));
        return;
    }
    enCurso_ = true;
    fin_ = std::move(fin);
    EnHilo([c = std::move(c)](TTrabajador& t) { t.Empezar(c); });
}

void TServicioSAD::Terminada(TPaso paso, const TInfoSAD& info)
{
    info_ = info;
    std::function<void(TPaso)> fin = std::exchange(fin_, nullptr);
    // A conversation waiting for its decision keeps its turn.
    enCurso_ = paso == TPaso::Decidir;
    if (!enCurso_ && !cola_.empty()) {
        auto [c, f] = std::move(cola_.front());
        cola_.pop_front();
        Ejecutar(std::move(c), std::move(f));
    }
    if (fin)
        fin(paso);
}

void TServicioSAD::Encargar(std::function<void(TComCapvis&)> f)
{
    Ejecutar(Unica(std::move(f)), {});
}

TEspera<TServicioSAD::TPaso> TServicioSAD::Hablar(std::shared_ptr<TConversacion> c)
{
    return TEspera<TPaso>([this, c](std::function<void(TPaso)> sigue) { Ejecutar(c, std::move(sigue)); });
}

TEspera<TServicioSAD::TPaso> TServicioSAD::Responder(std::shared_ptr<TConversacion>, int respuesta)
{
    return TEspera<TPaso>([this, respuesta](std::function<void(TPaso)> sigue) {
        fin_ = std::move(sigue);
        EnHilo([respuesta](TTrabajador& t) { t.Responder(respuesta); });
    });
}

void TServicioSAD::Cancelar()
{
    cancelado_ = true;
    EnHilo([](TTrabajador& t) { t.Cancelar(); });
}

TEspera<bool> TServicioSAD::LeerVersion()
{
    return Hacer<bool>([](TComCapvis& c) { return c.LeerVersion(); });
}

TEspera<std::optional<int>> TServicioSAD::LeerEstado()
{
    return Hacer<std::optional<int>>([](TComCapvis& c) -> std::optional<int> {
        int e = -1;
        return c.LeerEstado(e) ? std::optional<int>(e) : std::nullopt;
    });
}

TEspera<bool> TServicioSAD::Abortar()
{
    return Hacer<bool>([](TComCapvis& c) { return c.Abortar(); });
}

TEspera<int> TServicioSAD::Conectar(const QString& servidor)
{
    return Hacer<int>(
        [servidor](TComCapvis& c) {
            try {
                c.Conectar(servidor);
                return 0;
            } catch (const ENoHaySAD& e) {
                return e.Clave;
            }
        },
        TComCapvis::kTextoNoHaySAD);
}

TEspera<bool> TServicioSAD::Desconectar()
{
    return Hacer<bool>([](TComCapvis& c) { return c.Desconectar(), true; });
}

void TServicioSAD::PonerPuertosSerie(const QStringList& puertos)
{
    Encargar([puertos](TComCapvis& c) { c.PonerPuertosSerie(puertos); });
}

void TServicioSAD::PonerPuertoTcp(int puerto)
{
    Encargar([puerto](TComCapvis& c) { c.PonerPuertoTcp(puerto); });
}

void TServicioSAD::PonerPCLocal(const QString& nombre)
{
    info_.PCLocal = nombre;
    Encargar([nombre](TComCapvis& c) { c.PonerPCLocal(nombre); });
}

void TServicioSAD::SetTipoConexion(bool esTcp)
{
    info_.EsTcp = esTcp;
    Encargar([esTcp](TComCapvis& c) { c.SetTipoConexion(esTcp); });
}

void TServicioSAD::PonerPuerto(std::unique_ptr<TCOM> puerto, bool esTcp)
{
    info_.EsTcp = esTcp;
    auto p = std::make_shared<std::unique_ptr<TCOM>>(std::move(puerto));
    Encargar([p, esTcp](TComCapvis& c) { c.PonerPuerto(std::move(*p), esTcp); });
}

} // namespace qv

#pragma once

#include "link/com_capvis.h"
#include "link/tarea.h"

#include <QObject>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <deque>

#include <functional>
#include <memory>
#include <optional>

namespace qv {

class TInteraccion;
class TReloj;
class TTextos;

// One conversation with the unit as a step object. The device thread calls Paso until
// it answers anything but Sigue, waiting EsperaSugerida ms in between; each Paso is a
// bounded slice of work (one exchange with its bounded waits). Decidir hands a
// question to the window thread; the answer comes back through Responder.
class TConversacion {
public:
    enum class TPaso { Sigue, Decidir, Terminada, Fallida, Cancelada };
    // What the progress window shows of a conversation.
    struct TAvance {
        bool leyendo = false; // samples coming back
        qint64 recibidos = 0;
        qint64 esperados = 0;
    };

    virtual ~TConversacion() = default;
    virtual TPaso Paso(TComCapvis& com) = 0;
    virtual int EsperaSugerida() const { return 0; }
    virtual void Responder(int /*respuesta*/) {}
    // Stops at the next step.
    virtual void Cancelar() {}
    virtual int ClaveFallo() const { return 0; }
    virtual TAvance Avance() const { return {}; }
};

// The unit's link on its own thread. It owns the protocol object and its transport,
// which live and talk there; the window thread starts conversations and hears of them
// through queued calls. One conversation at a time: one started while another runs
// (or waits for its decision) waits its turn. The program's busy state keeps commands
// from starting a second one.
//
// Messages that code on the device thread shows (the protocol's, the operations') go
// to the window thread's interaction and wait for it there.
class TServicioSAD : public QObject {
    Q_OBJECT
public:
    using TPaso = TConversacion::TPaso;

    TServicioSAD(TTextos& textos, TInteraccion& interaccion, TReloj& reloj, QStringList puertosSerie);
    ~TServicioSAD() override;
    TServicioSAD(const TServicioSAD&) = delete;
    TServicioSAD& operator=(const TServicioSAD&) = delete;

    // Runs the step object; the awaiting command goes on with its last answer.
    TEspera<TPaso> Hablar(std::shared_ptr<TConversacion> c);
    // After Decidir: the answer reaches the step object and the conversation goes on.
    TEspera<TPaso> Responder(std::shared_ptr<TConversacion> c, int respuesta);
    // The running conversation stops at its next step, a long send between its pieces;
    // what the unit still sends of a read-back is drained before the next one talks.
    void Cancelar();

    // One call on the protocol object, on its thread. `f` must capture only copies.
    // `siFalla` is the answer when the call ends in something that is not a link failure.
    template <class T>
    TEspera<T> Hacer(std::function<T(TComCapvis&)> f, T siFalla = T{})
    {
        auto falla = std::make_shared<T>(std::move(siFalla));
        return TEspera<T>([this, f = std::move(f), falla](std::function<void(T)> sigue) {
            auto r = std::make_shared<std::optional<T>>();
            Ejecutar(Unica([f, r](TComCapvis& c) { r->emplace(f(c)); }),
                     [r, falla, sigue = std::move(sigue)](TPaso) { sigue(*r ? std::move(**r) : std::move(*falla)); });
        });
    }

    // The usual single calls.
    TEspera<bool> LeerVersion();
    TEspera<std::optional<int>> LeerEstado();
    TEspera<bool> Abortar();
    // Connects to the unit through `servidor` (TCP: the relay's PC); answers 0 or the
    // text of the failure.
    TEspera<int> Conectar(const QString& servidor);
    TEspera<bool> Desconectar();

    // Work on the protocol object that nobody awaits, in its turn among the
    // conversations. `f` must capture only copies.
    void Encargar(std::function<void(TComCapvis&)> f);
    // Settings of the next transport, and the transport itself: serial or TCP, made on
    // the device thread, or one given (a port without a thread of its own: tests).
    void PonerPuertosSerie(const QStringList& puertos);
    void PonerPuertoTcp(int puerto);
    void PonerPCLocal(const QString& nombre);
    void SetTipoConexion(bool esTcp);
    void PonerPuerto(std::unique_ptr<TCOM> puerto, bool esTcp);

    // The link as it was when the last conversation ended.
    const TInfoSAD& Info() const { return info_; }
    bool Hablando() const { return enCurso_ || !cola_.empty(); }

Q_SIGNALS:
    // Progress of the running conversation, after each of its steps.
    void Avance(const TConversacion::TAvance& avance);
    // The protocol object's own progress while it sends a capture command.
    void ProgresoEnvio(int fase);

private:
    class TTrabajador;
    friend class TTrabajador;

    static std::shared_ptr<TConversacion> Unica(std::function<void(TComCapvis&)> f);
    void Ejecutar(std::shared_ptr<TConversacion> c, std::function<void(TPaso)> fin);
    void Terminada(TPaso paso, const TInfoSAD& info);
    void EnHilo(std::function<void(TTrabajador&)> f);

    // Set by Cancelar on this thread, read by a send on the device thread; cleared when
    // the next conversation starts.
    std::atomic<bool> cancelado_{false};
    QThread hilo_;
    TTrabajador* trabajador_;
    TInfoSAD info_;
    bool enCurso_ = false;    // a conversation runs, or waits for its decision
    std::function<void(TPaso)> fin_;
    std::deque<std::pair<std::shared_ptr<TConversacion>, std::function<void(TPaso)>>> cola_;
};

} // namespace qv

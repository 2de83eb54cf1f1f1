#include "model/servicio_decodificacion.h"

#include "model/decodificador.h"

#include <QMetaObject>

namespace qv {

TServicioDecodificacion::TServicioDecodificacion(QString carpetaExtra, QObject* parent) : QObject(parent)
{
    qRegisterMetaType<TCatalogoCompartido>();
    qRegisterMetaType<TResultadoCompartido>();
    hilo_.setObjectName(QStringLiteral("decodificacion"));
    trabajador_ = new TTrabajadorDecod(std::move(carpetaExtra));
    trabajador_->moveToThread(&hilo_);
    connect(&hilo_, &QThread::finished, trabajador_, &QObject::deleteLater);
    connect(trabajador_, &TTrabajadorDecod::CatalogoListo, this, &TServicioDecodificacion::CatalogoListo);
    connect(trabajador_, &TTrabajadorDecod::Progreso, this, &TServicioDecodificacion::Progreso);
    connect(trabajador_, &TTrabajadorDecod::Decodificado, this, [this](int numero, TResultadoCompartido r) {
        enCurso_.erase(numero);
        Q_EMIT Decodificado(numero, std::move(r));
    });
    hilo_.start();
}

TServicioDecodificacion::~TServicioDecodificacion()
{
    for (auto& [numero, cancelar] : enCurso_)
        cancelar->store(true);
    // The library is stopped on its own thread, after whatever runs there now.
    QMetaObject::invokeMethod(trabajador_, &TTrabajadorDecod::Terminar, Qt::QueuedConnection);
    hilo_.quit();
    hilo_.wait();
}

void TServicioDecodificacion::PedirCatalogo()
{
    QMetaObject::invokeMethod(trabajador_, &TTrabajadorDecod::Catalogo, Qt::QueuedConnection);
}

int TServicioDecodificacion::Decodificar(const TDecodificacion& d, TEntradaCompartida entrada)
{
    const int numero = ++ultimo_;
    auto cancelar = std::make_shared<std::atomic<bool>>(false);
    enCurso_[numero] = cancelar;
    TTrabajadorDecod* t = trabajador_;
    QMetaObject::invokeMethod(
        t, [t, numero, d, entrada = std::move(entrada), cancelar] { t->Decodificar(numero, d, entrada, cancelar); },
        Qt::QueuedConnection);
    return numero;
}

void TServicioDecodificacion::Cancelar(int numero)
{
    if (auto it = enCurso_.find(numero); it != enCurso_.end())
        it->second->store(true);
}

// ---- the decoding thread ------------------------------------------------------------

TTrabajadorDecod::TTrabajadorDecod(QString carpetaExtra) : carpeta_(std::move(carpetaExtra)) {}

TTrabajadorDecod::~TTrabajadorDecod() = default;

TDecodificador& TTrabajadorDecod::Motor()
{
    if (!motor_)
        motor_ = std::make_unique<TDecodificador>(carpeta_);
    return *motor_;
}

void TTrabajadorDecod::Terminar()
{
    motor_.reset();
}

void TTrabajadorDecod::Catalogo()
{
    TDecodificador& m = Motor();
    auto catalogo = std::make_shared<const TCatalogoDecod>(m.Catalogo());
    Q_EMIT CatalogoListo(std::move(catalogo), m.Disponible() ? 0 : clave_decod::kTextoSinBiblioteca);
}

void TTrabajadorDecod::Decodificar(int numero, const TDecodificacion& d, TEntradaCompartida entrada,
                                   std::shared_ptr<std::atomic<bool>> cancelar)
{
    auto r = std::make_shared<TResultadoDecod>();
    if (cancelar->load()) {
        r->Periodo = entrada->Periodo;
        r->Cancelado = true;
    } else {
        int ultimo = -1;
        *r = Motor().Decodificar(d, *entrada, cancelar.get(), [&](std::int64_t hechas, std::int64_t total) {
            const int pct = total > 0 ? int(hechas * 100 / total) : 100;
            if (pct != ultimo)
                Q_EMIT Progreso(numero, ultimo = pct);
        });
    }
    Q_EMIT Decodificado(numero, std::move(r));
}

} // namespace qv

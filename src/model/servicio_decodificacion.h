#pragma once

// The program's decoding thread: one TDecodificador that lives on a thread of its own
// and decodes there, one request after another, so that the window thread never runs
// the library (nor waits for it). Requests and answers cross as queued signals carrying
// data that no one changes once it is sent.

#include "model/decodificacion.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <map>
#include <memory>

namespace qv {

class TDecodificador;
class TTrabajadorDecod;

using TCatalogoCompartido = std::shared_ptr<const TCatalogoDecod>;
using TEntradaCompartida = std::shared_ptr<const TEntradaDecod>;
using TResultadoCompartido = std::shared_ptr<const TResultadoDecod>;

class TServicioDecodificacion : public QObject {
    Q_OBJECT
public:
    // `carpetaExtra`: a folder of decoders besides the library's own.
    explicit TServicioDecodificacion(QString carpetaExtra = {}, QObject* parent = nullptr);
    // Cancels what is under way and lets the thread end (after at most one piece of
    // samples, TDecodificador::Trozo).
    ~TServicioDecodificacion() override;

    // Answered by CatalogoListo.
    void PedirCatalogo();
    // Queues a decoding; answered by Decodificado with the number given here.
    int Decodificar(const TDecodificacion& d, TEntradaCompartida entrada);
    // The decoding stops at its next piece and answers as cancelled.
    void Cancelar(int numero);

Q_SIGNALS:
    // Every decoder of the library; `clave` is not 0 (and the list empty) without it.
    void CatalogoListo(qv::TCatalogoCompartido catalogo, int clave);
    void Progreso(int numero, int porcentaje);
    void Decodificado(int numero, qv::TResultadoCompartido resultado);

private:
    QThread hilo_;
    TTrabajadorDecod* trabajador_ = nullptr;
    int ultimo_ = 0;
    std::map<int, std::shared_ptr<std::atomic<bool>>> enCurso_;
};

// The object that lives on the decoding thread; it makes the library's object on its
// first request and frees it there when the thread ends.
class TTrabajadorDecod : public QObject {
    Q_OBJECT
public:
    explicit TTrabajadorDecod(QString carpetaExtra);
    ~TTrabajadorDecod() override;

    void Catalogo();
    void Decodificar(int numero, const qv::TDecodificacion& d, qv::TEntradaCompartida entrada,
                     std::shared_ptr<std::atomic<bool>> cancelar);
    // Frees the library's object on this thread, before the thread ends.
    void Terminar();

Q_SIGNALS:
    void CatalogoListo(qv::TCatalogoCompartido catalogo, int clave);
    void Progreso(int numero, int porcentaje);
    void Decodificado(int numero, qv::TResultadoCompartido resultado);

private:
    TDecodificador& Motor();
    QString carpeta_;
    std::unique_ptr<TDecodificador> motor_;
};

} // namespace qv

Q_DECLARE_METATYPE(qv::TCatalogoCompartido)
Q_DECLARE_METATYPE(qv::TResultadoCompartido)

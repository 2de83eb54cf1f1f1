#pragma once

// The protocol decoding library behind one object. The library keeps global state and
// runs an embedded Python that is not for concurrent use: a process has at most one
// TDecodificador at a time, and every call on it comes from the thread that made it (the
// program's decoding thread, or the companion's only thread). Built without the library,
// the object exists and answers that it is not available.

#include "model/decodificacion.h"

#include <QString>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

namespace qv {

class TDecodificador {
public:
    // `carpetaExtra`: a folder of decoders besides the library's own.
    explicit TDecodificador(const QString& carpetaExtra = {});
    ~TDecodificador();
    TDecodificador(const TDecodificador&) = delete;
    TDecodificador& operator=(const TDecodificador&) = delete;

    // Whether the program was built with the library and the library started.
    bool Disponible() const;
    // Every decoder the library offers, by name (all are loaded on the first call).
    const TCatalogoDecod& Catalogo();
    // One decoder (loaded alone when the catalogue was not); null when there is none.
    const TInfoDecodificador* Info(const QString& id);

    // Samples sent to the library per call: cancellation and progress are looked at
    // between two of them.
    static constexpr std::int64_t Trozo = 8192;
    using TProgreso = std::function<void(std::int64_t hechas, std::int64_t total)>;

    // Decodes the packed samples with `d`'s decoders. A decoding that cannot run (no
    // library, an unknown decoder, a channel not assigned, an option of the wrong kind, a
    // sample rate too low for the baud rate) or that fails in the library (an error of a
    // decoder's code) answers its failure; whatever was decoded before a failure stays.
    TResultadoDecod Decodificar(const TDecodificacion& d, const TEntradaDecod& entrada,
                                const std::atomic<bool>* cancelar = nullptr, const TProgreso& progreso = {});

private:
    struct TEstado;
    std::unique_ptr<TEstado> e_;
    std::map<QString, TInfoDecodificador> infos_;
    TCatalogoDecod catalogo_;
    bool todos_ = false;
};

} // namespace qv

#pragma once

#include <atomic>
#include <memory>

namespace qv {

// Ctrl+C (SIGINT) while a command talks to the unit. For the lifetime of the object the
// signal no longer ends the process: its handler only notes it (it writes one byte to a
// pipe), and the command looks between its steps and while it waits, winds down (the
// capture stopped, the unit's outputs switched off) and ends as interrupted. Only one
// may exist at a time; the previous handling comes back when it goes.
class TInterrupcion {
public:
    TInterrupcion();
    ~TInterrupcion();
    TInterrupcion(const TInterrupcion&) = delete;
    TInterrupcion& operator=(const TInterrupcion&) = delete;

    // How many times Ctrl+C came so far.
    int Veces();
    // Waits up to `ms`, less when Ctrl+C comes again meanwhile; answers Veces().
    int Esperar(int ms);
    // Set by the first Ctrl+C, at once: what a send of many pieces looks at.
    const std::atomic<bool>* Bandera() const { return &pedida_; }

private:
    void Recoger(int esperaMs);

    struct TAnterior; // the handling the signal had before
    std::unique_ptr<TAnterior> anterior_;
    int veces_ = 0;
    std::atomic<bool> pedida_{false};
    int tubo_[2] = {-1, -1};
    bool instalada_ = false;
};

} // namespace qv

#pragma once

#include "app/api/estado.h"
#include "common/esperar.h"
#include "link/servicio_sad.h"

#include <functional>
#include <optional>

namespace qv::test {

// Runs the event loop until the device service has nothing on its way: what was asked
// of the unit has come back and been handled.
inline bool EsperarSAD(const TServicioSAD* sad, int maxMs = 60000)
{
    return Esperar([&] { return !sad || !sad->Hablando(); }, maxMs);
}

// The same, and no command is talking to the unit any more.
inline bool EsperarSAD(const TEstadoPrograma& e, int maxMs = 60000)
{
    return Esperar([&] { return !e.Ocupado() && (!e.Enlace() || !e.Enlace()->Hablando()); }, maxMs);
}

namespace detalle {
template <class T>
TTarea Pedir(TServicioSAD& sad, std::function<T(TComCapvis&)> f, std::optional<T>& r)
{
    r.emplace(co_await sad.Hacer<T>(std::move(f)));
}
template <class T>
TTarea Llevar(TAsincrono<T> a, std::optional<T>& r)
{
    r.emplace(co_await std::move(a));
}
} // namespace detalle

// What a part of a command answers, once it has run to its end.
template <class T>
T Resultado(TAsincrono<T> a)
{
    std::optional<T> r;
    detalle::Llevar<T>(std::move(a), r);
    Esperar([&] { return r.has_value(); }, 60000);
    return r.value();
}

// One call on the protocol object on its own thread, waited for.
template <class T>
T EnSAD(TServicioSAD& sad, std::function<T(TComCapvis&)> f)
{
    std::optional<T> r;
    detalle::Pedir<T>(sad, std::move(f), r);
    Esperar([&] { return r.has_value(); }, 60000);
    return r.value();
}

} // namespace qv::test

#pragma once

#include <QtGlobal>

#include <coroutine>
#include <exception>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace qv {

// The object whose commands are coroutines hears of an exception that ended one, and
// tells the user with the numbered message of the operation that was under way.
class IReceptorFallos {
public:
    virtual void FalloTarea(std::exception_ptr fallo) noexcept = 0;

protected:
    ~IReceptorFallos() = default;
};

// g++ 12 destroys a closure twice when it is made inside a co_await expression: a
// lambda that captures anything with a destructor goes into a named variable first,
// and only the variable is handed to the awaited call.
//
// A command of the window thread that talks to the unit is a coroutine of this type:
// it runs until its first co_await on the device service and goes on from the event
// loop when the answer comes, so the window never waits. Nobody awaits it, so an
// exception that ends it goes to its object (the first parameter of a member
// coroutine) when that is an IReceptorFallos; its locals are unwound either way, so a
// busy mark or a progress window goes with it.
struct TTarea {
    struct promise_type {
        IReceptorFallos* receptor = nullptr;

        promise_type() = default;
        template <class O, class... A>
        explicit promise_type(O& objeto, A&...) noexcept
        {
            // g++ 12 deduces O as a reference type for the object of a member coroutine.
            using TObjeto = std::remove_reference_t<O>;
            if constexpr (std::is_base_of_v<IReceptorFallos, TObjeto> && !std::is_const_v<TObjeto>)
                receptor = &objeto;
        }

        TTarea get_return_object() noexcept { return {}; }
        std::suspend_never initial_suspend() noexcept { return {}; }
        std::suspend_never final_suspend() noexcept { return {}; }
        void return_void() noexcept {}
        void unhandled_exception() noexcept
        {
            if (receptor)
                receptor->FalloTarea(std::current_exception());
            else
                qCritical("Quorvane: a command ended by an exception nobody takes");
        }
    };
};

// A part of such a command that answers a value: it starts when awaited and hands
// the value to its awaiter when it ends.
template <class T>
class TAsincrono {
public:
    struct promise_type;
    using TMano = std::coroutine_handle<promise_type>;

    struct promise_type {
        std::optional<T> valor;
        std::exception_ptr fallo;
        std::coroutine_handle<> continuacion;

        TAsincrono get_return_object() noexcept { return TAsincrono(TMano::from_promise(*this)); }
        std::suspend_always initial_suspend() noexcept { return {}; }
        struct TFinal {
            bool await_ready() noexcept { return false; }
            std::coroutine_handle<> await_suspend(TMano h) noexcept
            {
                const std::coroutine_handle<> c = h.promise().continuacion;
                return c ? c : std::noop_coroutine();
            }
            void await_resume() noexcept {}
        };
        TFinal final_suspend() noexcept { return {}; }
        void return_value(T v) { valor.emplace(std::move(v)); }
        // The awaiter meets it where it awaited.
        void unhandled_exception() noexcept { fallo = std::current_exception(); }
    };

    explicit TAsincrono(TMano h) : h_(h) {}
    TAsincrono(TAsincrono&& o) noexcept : h_(std::exchange(o.h_, {})) {}
    TAsincrono(const TAsincrono&) = delete;
    TAsincrono& operator=(const TAsincrono&) = delete;
    TAsincrono& operator=(TAsincrono&&) = delete;
    ~TAsincrono()
    {
        if (h_)
            h_.destroy();
    }

    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> c) noexcept
    {
        h_.promise().continuacion = c;
        return h_;
    }
    T await_resume()
    {
        if (h_.promise().fallo)
            std::rethrow_exception(h_.promise().fallo);
        return std::move(*h_.promise().valor);
    }

private:
    TMano h_;
};

// The answer of work started elsewhere, awaited by a command. `arranque` starts the
// work and is given the continuation, to be called on the window thread.
template <class T>
class TEspera {
public:
    using TArranque = std::function<void(std::function<void(T)>)>;
    explicit TEspera(TArranque arranque) : arranque_(std::move(arranque)) {}
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> h)
    {
        arranque_([this, h](T r) {
            resultado_.emplace(std::move(r));
            h.resume();
        });
    }
    T await_resume() { return std::move(*resultado_); }

private:
    TArranque arranque_;
    std::optional<T> resultado_;
};

} // namespace qv

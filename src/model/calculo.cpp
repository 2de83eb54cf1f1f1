#include "model/calculo.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/errores.h"
#include "model/senales.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

float Finito(long double v)
{
    const float f = float(v);
    if (!std::isfinite(f))
        throw EErrorCalculo(QStringLiteral("Resultado no representable"));
    return f;
}

long double Aplicar(QChar op, long double x, long double y)
{
    switch (op.unicode()) {
    case '+': return x + y;
    case '-': return x - y;
    case '*': return x * y;
    case '/': return x / y;
    default: break;
    }
    throw EErrorCalculo(QStringLiteral("Operador desconocido: %1").arg(op));
}

QChar Operador(const QString& op)
{
    if (op.size() != 1 || !QStringLiteral("+-*/").contains(op[0]))
        throw EErrorCalculo(QStringLiteral("Operador desconocido: %1").arg(op));
    return op[0];
}

bool HayCero(const TSenalAna& s, int n)
{
    for (int i = 0; i < n; ++i)
        if (s.LeerMuestra(i) == 0)
            return true;
    return false;
}

} // namespace

TCalculo::TCalculo(TTextos& textos, TInteraccion& interaccion) : textos_(textos), interaccion_(interaccion) {}

std::unique_ptr<TSenalAna> TCalculo::Nueva(const QString& nombre, const TSenalAna& modelo, int n,
                                           const TOperacion* operacion)
{
    return std::make_unique<TSenalAna>(textos_, nombre, true, operacion, nullptr, 0, modelo.Periodo(),
                                       std::uint16_t(n));
}

void TCalculo::AvisoDivision() { interaccion_.MostrarAviso(textos_.BuscarTexto(180), Botones::Aceptar); }

std::unique_ptr<TSenalAna> TCalculo::Operar(const TSenalAna& a, const TSenalAna& b, const QString& op,
                                            const TOperacion* operacion)
{
    const QChar o = Operador(op);
    const int n = std::min(a.NumMuestras(), b.NumMuestras());
    if (o == QLatin1Char('/') && HayCero(b, n)) {
        AvisoDivision();
        return nullptr;
    }
    auto r = Nueva(QStringLiteral("Resultado"), a, n, operacion);
    for (int i = 0; i < n; ++i)
        r->PonerMuestra(i, Finito(Aplicar(o, a.LeerMuestra(i), b.LeerMuestra(i))));
    return r;
}

std::unique_ptr<TSenalAna> TCalculo::OperarConstante(const TSenalAna& a, float c, bool constanteDelante,
                                                     const QString& op, const TOperacion* operacion)
{
    const QChar o = Operador(op);
    const int n = a.NumMuestras();
    if (o == QLatin1Char('/')) {
        if (constanteDelante && HayCero(a, n)) {
            AvisoDivision();
            return nullptr;
        }
        if (!constanteDelante && c == 0)
            throw EErrorCalculo(QStringLiteral("Division por la constante 0"));
    }
    auto r = Nueva(QStringLiteral("Resultado"), a, n, operacion);
    for (int i = 0; i < n; ++i) {
        const long double x = a.LeerMuestra(i);
        r->PonerMuestra(i, Finito(constanteDelante ? Aplicar(o, c, x) : Aplicar(o, x, c)));
    }
    return r;
}

std::unique_ptr<TSenalAna> TCalculo::Derivada(const TSenalAna& a, const TOperacion* operacion)
{
    const int n = a.NumMuestras();
    auto r = Nueva(QStringLiteral("Derivada"), a, n, operacion);
    const long double P = a.Periodo();
    for (int i = 0; i + 1 < n; ++i)
        r->PonerMuestra(i, Finito((static_cast<long double>(a.LeerMuestra(i + 1)) - a.LeerMuestra(i)) / P));
    if (n > 0)
        r->PonerMuestra(n - 1, 0);
    return r;
}

std::unique_ptr<TSenalAna> TCalculo::Integral(const TSenalAna& a, const TOperacion* operacion)
{
    const int n = a.NumMuestras();
    auto r = Nueva(QStringLiteral("Integral"), a, n, operacion);
    const long double P = a.Periodo();
    long double s = 0;
    for (int i = 0; i + 1 < n; ++i) {
        s += (static_cast<long double>(a.LeerMuestra(i)) + a.LeerMuestra(i + 1)) * P / 2;
        r->PonerMuestra(i, Finito(s));
    }
    if (n > 0)
        r->PonerMuestra(n - 1, 0);
    return r;
}

std::unique_ptr<TSenalDig> TCalculo::OperarDig(const TSenalDig& a, const TSenalDig& b, const QString& op,
                                               const TOperacion* operacion)
{
    bool (*f)(bool, bool) = nullptr;
    if (op == QLatin1String("Or"))
        f = [](bool x, bool y) { return x || y; };
    else if (op == QLatin1String("And"))
        f = [](bool x, bool y) { return x && y; };
    else if (op == QLatin1String("Xor"))
        f = [](bool x, bool y) { return x != y; };
    else if (op == QLatin1String("Nand"))
        f = [](bool x, bool y) { return !(x && y); };
    else if (op == QLatin1String("Nor"))
        f = [](bool x, bool y) { return !x && !y; };
    else if (op == QLatin1String("Xnor"))
        f = [](bool x, bool y) { return x == y; };
    else
        throw EErrorCalculo(QStringLiteral("Operador logico desconocido: %1").arg(op));
    const int n = std::min(a.NumMuestras(), b.NumMuestras());
    auto r = std::make_unique<TSenalDig>(QStringLiteral("Resultado"), true, operacion, nullptr, 0, a.Periodo(),
                                         std::uint16_t(n));
    for (int i = 0; i < n; ++i)
        r->PonerMuestra(i, f(a.LeerMuestra(i) == 1, b.LeerMuestra(i) == 1) ? 1 : 0);
    return r;
}

std::unique_ptr<TSenalDig> TCalculo::Not(const TSenalDig& a, const TOperacion* operacion)
{
    const int n = a.NumMuestras();
    auto r = std::make_unique<TSenalDig>(QStringLiteral("Resultado"), true, operacion, nullptr, 0, a.Periodo(),
                                         std::uint16_t(n));
    for (int i = 0; i < n; ++i)
        r->PonerMuestra(i, a.LeerMuestra(i) == 1 ? 0 : 1);
    return r;
}

std::unique_ptr<TSenalAna> TCalculo::CopiaAna(const TSenalAna& a, const TOperacion* operacion)
{
    const int n = a.NumMuestras();
    auto r = Nueva(a.Nombre(), a, n, operacion);
    for (int i = 0; i < n; ++i)
        r->PonerMuestra(i, a.LeerMuestra(i));
    return r;
}

std::unique_ptr<TSenalDig> TCalculo::CopiaDig(const TSenalDig& a)
{
    const int n = a.NumMuestras();
    auto r = std::make_unique<TSenalDig>(a.Nombre(), true, nullptr, nullptr, 0, a.Periodo(), std::uint16_t(n));
    for (int i = 0; i < n; ++i)
        r->PonerMuestra(i, a.LeerMuestra(i));
    return r;
}

} // namespace qv

// Curve fits: the formula reader, every model on clean and noisy data, the standard
// errors against the truth over many noisy trials, fits that must fail, and the fitted
// and residual signals.
#include "common/textos_fijos.h"
#include "model/ajuste.h"
#include "model/expresion.h"
#include "model/senales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <random>

using namespace qv;

namespace {

constexpr double Pi = std::numbers::pi;

double Evaluar(const QString& texto, std::vector<double> valores = {}, QStringList variables = {})
{
    return TExpresion(texto, variables, true).Evaluar(valores.data());
}

TEST(Expresion, PrecedenceSignsAndFunctionsAsOnPaper)
{
    EXPECT_DOUBLE_EQ(Evaluar("1 + 2 * 3"), 7);
    EXPECT_DOUBLE_EQ(Evaluar("(1 + 2) * 3"), 9);
    EXPECT_DOUBLE_EQ(Evaluar("8 / 4 / 2"), 1);
    EXPECT_DOUBLE_EQ(Evaluar("10 - 4 - 3"), 3);
    EXPECT_DOUBLE_EQ(Evaluar("-2^2"), -4);
    EXPECT_DOUBLE_EQ(Evaluar("2^-1"), 0.5);
    EXPECT_DOUBLE_EQ(Evaluar("2^3^2"), 512);
    EXPECT_DOUBLE_EQ(Evaluar("--3"), 3);
    EXPECT_DOUBLE_EQ(Evaluar("1.5e2 + .5 + 2E-1"), 150.7);
    EXPECT_NEAR(Evaluar("sin(pi/2) + cos(0) + sen(0)"), 2, 1e-15);
    EXPECT_NEAR(Evaluar("exp(ln(3)) * log(1000)"), 9, 1e-12);
    EXPECT_DOUBLE_EQ(Evaluar("sqrt(16) + abs(-2) + pow(2, 10)"), 1030);
    EXPECT_DOUBLE_EQ(Evaluar("atan2(1, 1) * 4"), Pi);
    EXPECT_DOUBLE_EQ(Evaluar("min(3, -1) + max(3, -1)"), 2);
    EXPECT_DOUBLE_EQ(Evaluar("e"), std::numbers::e);
    EXPECT_TRUE(std::isnan(Evaluar("sqrt(-1)")));
}

TEST(Expresion, VariablesThenParametersInOrderOfAppearance)
{
    const TExpresion e(QStringLiteral("B*t + A*t^2 + B"), {QStringLiteral("t")}, true);
    EXPECT_EQ(e.Parametros(), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
    const double v[] = {2, 10, 3}; // t, B, A
    EXPECT_DOUBLE_EQ(e.Evaluar(v), 10 * 2 + 3 * 4 + 10);
    // Names are case-sensitive: a and A are two parameters.
    EXPECT_EQ(TExpresion(QStringLiteral("a + A"), {}, true).Parametros().size(), 2);
}

TEST(Expresion, ErrorsSayWhereAndWhat)
{
    struct Caso {
        const char* texto;
        int posicion;
        const char* fragmento;
    };
    const Caso casos[] = {
        {"1 +", 3, ""},           {"2 * (3 + 4", 10, ""},  {"foo(2)", 0, "foo"}, {"sin 2", 4, "2"},
        {"3t", 1, "t"},           {"1 $ 2", 2, "$"},       {"", 0, ""},          {"(1))", 3, ")"},
        {"pow(2)", 5, ")"},       {"1..2", 2, "."},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto);
        try {
            TExpresion(QLatin1String(c.texto), {QStringLiteral("t")}, true);
            ADD_FAILURE() << "compiled";
        } catch (const TExpresion::EError& e) {
            EXPECT_EQ(e.Posicion(), c.posicion);
            EXPECT_EQ(e.Fragmento(), QLatin1String(c.fragmento));
        }
    }
    // Without parameters an unknown name is an error, not a parameter.
    EXPECT_THROW(TExpresion(QStringLiteral("t + k"), {QStringLiteral("t")}, false), TExpresion::EError);
    // Nesting beyond the stack is refused, not overrun; parentheses alone take no room.
    QString hondo = QStringLiteral("1");
    for (int k = 0; k < TExpresion::MaxPila; ++k)
        hondo = QStringLiteral("1+(") + hondo + QLatin1Char(')');
    EXPECT_THROW(TExpresion(hondo, {}, false), TExpresion::EError);
    EXPECT_DOUBLE_EQ(TExpresion(QString(200, QLatin1Char('(')) + QLatin1Char('2') + QString(200, QLatin1Char(')')), {},
                                false)
                         .Evaluar(nullptr),
                     2);
}

// ---- models ------------------------------------------------------------------------------

struct TVerdad {
    TModeloAjuste modelo;
    std::map<QString, double> p;
    std::function<double(const std::map<QString, double>&, double)> f;
};

const std::vector<TVerdad>& Verdades()
{
    using P = std::map<QString, double>;
    static const std::vector<TVerdad> v = {
        {TModeloAjuste::Lineal, {{"a0", 0.5}, {"a1", -2}}, [](const P& p, double t) { return p.at("a0") + p.at("a1") * t; }},
        {TModeloAjuste::Polinomio2,
         {{"a0", 1}, {"a1", -0.5}, {"a2", 0.3}},
         [](const P& p, double t) { return p.at("a0") + p.at("a1") * t + p.at("a2") * t * t; }},
        {TModeloAjuste::Polinomio3,
         {{"a0", -1}, {"a1", 2}, {"a2", -1.5}, {"a3", 0.4}},
         [](const P& p, double t) { return p.at("a0") + t * (p.at("a1") + t * (p.at("a2") + t * p.at("a3"))); }},
        {TModeloAjuste::Polinomio4,
         {{"a0", 0.2}, {"a1", 1}, {"a2", -1}, {"a3", 0.5}, {"a4", -0.08}},
         [](const P& p, double t) {
             return p.at("a0") + t * (p.at("a1") + t * (p.at("a2") + t * (p.at("a3") + t * p.at("a4"))));
         }},
        {TModeloAjuste::Polinomio5,
         {{"a0", 0.1}, {"a1", -1}, {"a2", 2}, {"a3", -1}, {"a4", 0.2}, {"a5", -0.01}},
         [](const P& p, double t) {
             return p.at("a0") +
                    t * (p.at("a1") + t * (p.at("a2") + t * (p.at("a3") + t * (p.at("a4") + t * p.at("a5")))));
         }},
        {TModeloAjuste::Exponencial,
         {{"A", 2}, {"tau", 0.5}, {"C", 0.3}},
         [](const P& p, double t) { return p.at("A") * std::exp(-t / p.at("tau")) + p.at("C"); }},
        {TModeloAjuste::CargaRC,
         {{"A", 3}, {"tau", 0.4}, {"C", -0.5}},
         [](const P& p, double t) { return p.at("A") * (1 - std::exp(-t / p.at("tau"))) + p.at("C"); }},
        {TModeloAjuste::Seno,
         {{"A", 1.5}, {"f", 2.3}, {"phi", 0.7}, {"C", 0.2}},
         [](const P& p, double t) { return p.at("A") * std::sin(2 * Pi * p.at("f") * t + p.at("phi")) + p.at("C"); }},
        {TModeloAjuste::SenoAmortiguado,
         {{"A", 2}, {"tau", 1.2}, {"f", 3.1}, {"phi", -1.0}, {"C", 0.1}},
         [](const P& p, double t) {
             return p.at("A") * std::exp(-t / p.at("tau")) * std::sin(2 * Pi * p.at("f") * t + p.at("phi")) + p.at("C");
         }},
    };
    return v;
}

constexpr double Periodo = 0.01;
constexpr int Muestras = 300;

std::vector<float> Datos(const TVerdad& v, double sigma, std::mt19937* azar, int n = Muestras, double t0 = 0)
{
    std::normal_distribution<double> ruido(0, sigma);
    std::vector<float> y(std::size_t(n), 0);
    for (int i = 0; i < n; ++i)
        y[std::size_t(i)] = float(v.f(v.p, t0 + i * Periodo) + (azar ? ruido(*azar) : 0));
    return y;
}

TResultadoAjuste Ajuste(TModeloAjuste m, const std::vector<float>& y, const QString& expresion = {},
                        std::vector<double> iniciales = {})
{
    TPeticionAjuste p;
    p.Modelo = m;
    p.Expresion = expresion;
    p.Iniciales = std::move(iniciales);
    return Ajustar(p, y.data(), int(y.size()), Periodo);
}

TEST(Ajuste, EveryModelRecoversCleanDataExactly)
{
    for (const TVerdad& v : Verdades()) {
        SCOPED_TRACE(ClaveModelo(v.modelo).toStdString());
        const TResultadoAjuste r = Ajuste(v.modelo, Datos(v, 0, nullptr));
        ASSERT_TRUE(r.Converge()) << int(r.Fallo);
        ASSERT_EQ(r.Parametros.size(), v.p.size());
        EXPECT_EQ(r.Muestras(), Muestras);
        for (const TParametroAjuste& q : r.Parametros) {
            ASSERT_TRUE(v.p.count(q.Nombre)) << q.Nombre.toStdString();
            // The samples are single precision: the fit is as exact as they are.
            EXPECT_NEAR(q.Valor, v.p.at(q.Nombre), 2e-4 * std::max(1.0, std::fabs(v.p.at(q.Nombre))))
                << q.Nombre.toStdString();
        }
        EXPECT_GT(r.R2, 0.999999);
        EXPECT_LT(r.Rms, 1e-5);
    }
}

// The real check of the standard errors: over 200 noisy trials of each model, each
// parameter lies within two of its standard errors of the truth about 95 % of the time
// (at least 90 % here); errors that were too small, or estimates that were biased,
// would fall well short.
TEST(Ajuste, StandardErrorsCoverTheTruthOverNoisyTrials)
{
    std::mt19937 azar(20240529);
    for (const TVerdad& v : Verdades()) {
        SCOPED_TRACE(ClaveModelo(v.modelo).toStdString());
        std::map<QString, int> dentro;
        std::map<QString, double> sumaErrores;
        constexpr int Pruebas = 200;
        for (int k = 0; k < Pruebas; ++k) {
            const TResultadoAjuste r = Ajuste(v.modelo, Datos(v, 0.05, &azar));
            ASSERT_TRUE(r.Converge()) << "trial " << k << ": " << int(r.Fallo);
            EXPECT_GT(r.R2, 0.5);
            EXPECT_NEAR(r.Rms, 0.05, 0.01);
            for (const TParametroAjuste& q : r.Parametros) {
                double d = q.Valor - v.p.at(q.Nombre);
                if (q.Nombre == QLatin1String("phi"))
                    d = std::remainder(d, 2 * Pi);
                dentro[q.Nombre] += std::fabs(d) <= 2 * q.Error;
                sumaErrores[q.Nombre] += q.Error;
            }
        }
        for (const auto& [nombre, n] : dentro) {
            EXPECT_GE(n, Pruebas * 9 / 10) << nombre.toStdString();
            // Errors that cover everything because they are huge would pass the line above.
            EXPECT_LT(n, Pruebas) << nombre.toStdString() << " mean error " << sumaErrores[nombre] / Pruebas;
        }
    }
}

TEST(Ajuste, FormulaWithNamedParametersFitsLikeTheBuiltInModel)
{
    const TVerdad& exp = Verdades()[5];
    std::mt19937 azar(7);
    const std::vector<float> y = Datos(exp, 0.05, &azar);
    const TResultadoAjuste propio = Ajuste(TModeloAjuste::Exponencial, y);
    // Starting values of 1 reach the same minimum from a formula written the user's way.
    const TResultadoAjuste formula = Ajuste(TModeloAjuste::Expresion, y, QStringLiteral("y = Amp*exp(-t/tau) + C"));
    ASSERT_TRUE(propio.Converge());
    ASSERT_TRUE(formula.Converge());
    EXPECT_EQ(formula.Expresion, QStringLiteral("Amp*exp(-t/tau) + C"));
    ASSERT_EQ(formula.Parametros.size(), 3u);
    EXPECT_EQ(formula.Parametros[0].Nombre, QStringLiteral("Amp"));
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(formula.Parametros[std::size_t(k)].Valor, propio.Parametros[std::size_t(k)].Valor, 1e-5);
        EXPECT_NEAR(formula.Parametros[std::size_t(k)].Error, propio.Parametros[std::size_t(k)].Error, 1e-4);
    }
    EXPECT_NEAR(formula.R2, propio.R2, 1e-9);
    // Starting values given in order are used: from far away the sine's frequency is
    // not found, near it, it is.
    const TVerdad& seno = Verdades()[7];
    const std::vector<float> s = Datos(seno, 0.01, &azar);
    const QString senoFormula = QStringLiteral("A*sin(2*pi*f*t + phi) + C");
    const TResultadoAjuste cerca = Ajuste(TModeloAjuste::Expresion, s, senoFormula, {1.4, 2.25, 0.6, 0.1});
    ASSERT_TRUE(cerca.Converge());
    EXPECT_NEAR(cerca.Parametro(QStringLiteral("f"))->Valor, 2.3, 1e-3);
    const TResultadoAjuste lejos = Ajuste(TModeloAjuste::Expresion, s, senoFormula);
    EXPECT_FALSE(lejos.Converge() && std::fabs(lejos.Parametro(QStringLiteral("f"))->Valor - 2.3) < 1e-2);
}

TEST(Ajuste, TimeCountsFromTheStartOfTheSpan)
{
    // A discharge that starts 1 s into the capture: its amplitude where the span starts.
    auto s = std::make_unique<TSenalAna>(QStringLiteral("V"), QStringLiteral("C1"), false, nullptr, nullptr, 0, Periodo,
                                         std::uint16_t(500));
    for (int i = 0; i < 500; ++i) {
        const double t = i * Periodo;
        s->PonerMuestra(i, float(t < 1 ? 5.0 : 5.0 * std::exp(-(t - 1) / 0.3)));
    }
    TPeticionAjuste p;
    p.Modelo = TModeloAjuste::Exponencial;
    const TResultadoAjuste r = AjustarSenal(p, *s, {100, 499});
    ASSERT_TRUE(r.Converge());
    EXPECT_EQ(r.Muestras(), 400);
    EXPECT_DOUBLE_EQ(r.Origen(), 1.0);
    EXPECT_NEAR(r.Parametro(QStringLiteral("A"))->Valor, 5, 1e-3);
    EXPECT_NEAR(r.Parametro(QStringLiteral("tau"))->Valor, 0.3, 1e-4);
    EXPECT_NEAR(r.Parametro(QStringLiteral("C"))->Valor, 0, 1e-3);

    // The fitted signal: the model over the span, held within the data's range before it
    // (where the exponential would reach 5 e^(1/0.3) = 140); the residual is zero
    // outside the span.
    const auto aj = SenalAjustada(r, *s, NombreAjuste(r.Modelo, QStringLiteral("C1")));
    EXPECT_EQ(aj->Nombre(), QStringLiteral("Aj_exp_C1"));
    EXPECT_EQ(aj->NumMuestras(), 500);
    EXPECT_EQ(aj->Unidad, QStringLiteral("V"));
    EXPECT_TRUE(aj->Calculada());
    EXPECT_NEAR(aj->LeerMuestra(100), 5, 1e-3);
    EXPECT_NEAR(aj->LeerMuestra(200), 5 * std::exp(-1 / 0.3), 1e-3);
    EXPECT_LE(aj->Maximo, 5.0f);
    EXPECT_NEAR(aj->LeerMuestra(0), 5, 1e-5);
    EXPECT_NEAR(aj->LeerMuestra(499), 5 * std::exp(-3.99 / 0.3), 1e-4);
    const auto res = SenalResiduo(r, *s, NombreResiduo(r.Modelo, QStringLiteral("C1")));
    EXPECT_EQ(res->Nombre(), QStringLiteral("Res_exp_C1"));
    EXPECT_EQ(res->LeerMuestra(50), 0.0f);
    EXPECT_NEAR(res->LeerMuestra(300), 0, 1e-4);
}

TEST(Ajuste, FitsThatCannotSucceedSaySoAndGiveNoParameters)
{
    const std::vector<float> rampa = Datos(Verdades()[0], 0.01, nullptr);
    // The formula has no value anywhere.
    TResultadoAjuste r = Ajuste(TModeloAjuste::Expresion, rampa, QStringLiteral("A*sqrt(-1 - t*t)"));
    EXPECT_EQ(r.Fallo, TFalloAjuste::NoConverge);
    EXPECT_TRUE(r.Parametros.empty());
    // Two parameters that only ever appear as their product.
    r = Ajuste(TModeloAjuste::Expresion, rampa, QStringLiteral("A*B*t + C"));
    EXPECT_EQ(r.Fallo, TFalloAjuste::Indeterminado);
    // Not a formula, or one without parameters.
    r = Ajuste(TModeloAjuste::Expresion, rampa, QStringLiteral("A*exp(-t/"));
    EXPECT_EQ(r.Fallo, TFalloAjuste::Expresion);
    EXPECT_EQ(r.PosicionError, 9);
    r = Ajuste(TModeloAjuste::Expresion, rampa, QStringLiteral("2*t"));
    EXPECT_EQ(r.Fallo, TFalloAjuste::Expresion);
    // A constant has no frequency to start a sine from.
    r = Ajuste(TModeloAjuste::Seno, std::vector<float>(200, 1.5f));
    EXPECT_EQ(r.Fallo, TFalloAjuste::NoConverge);
    // As many samples as parameters leave no error to estimate.
    r = Ajuste(TModeloAjuste::Polinomio3, std::vector<float>{1, 2, 3, 4});
    EXPECT_EQ(r.Fallo, TFalloAjuste::PocasMuestras);
    r = Ajuste(TModeloAjuste::Exponencial, std::vector<float>{});
    EXPECT_EQ(r.Fallo, TFalloAjuste::PocasMuestras);
    // A line through a constant is exact, with zero errors, not a failure.
    r = Ajuste(TModeloAjuste::Lineal, std::vector<float>(50, 2.0f));
    ASSERT_TRUE(r.Converge());
    EXPECT_DOUBLE_EQ(r.R2, 1);
    EXPECT_NEAR(r.Parametros[0].Valor, 2, 1e-12);
}

TEST(Ajuste, SineParametersComeInOneForm)
{
    // The same curve written with a negative amplitude and a phase past pi.
    TVerdad v = Verdades()[7];
    v.p = {{"A", -1.5}, {"f", 2.3}, {"phi", 0.7 + 3 * Pi}, {"C", 0.2}};
    const TResultadoAjuste r = Ajuste(TModeloAjuste::Seno, Datos(v, 0, nullptr));
    ASSERT_TRUE(r.Converge());
    EXPECT_NEAR(r.Parametro(QStringLiteral("A"))->Valor, 1.5, 1e-4);
    EXPECT_NEAR(r.Parametro(QStringLiteral("phi"))->Valor, 0.7, 1e-4);
    EXPECT_GT(r.Parametro(QStringLiteral("f"))->Valor, 0);
}

TEST(Ajuste, ModelKeysNamesAndEquations)
{
    for (int i = 0; i < NumModelosAjuste; ++i) {
        const auto m = TModeloAjuste(i);
        EXPECT_EQ(ModeloDeClave(ClaveModelo(m)), m);
    }
    EXPECT_EQ(ClaveModelo(TModeloAjuste::SenoAmortiguado), QStringLiteral("damped-sine"));
    EXPECT_FALSE(ModeloDeClave(QStringLiteral("poly6")));
    EXPECT_EQ(ParametrosModelo(TModeloAjuste::SenoAmortiguado),
              (QStringList{"A", "tau", "f", "phi", "C"}));
    EXPECT_EQ(EcuacionModelo(TModeloAjuste::Expresion, QStringLiteral(" y = k*t ")), QStringLiteral("y = k*t"));
    // Every built-in equation is a formula of the reader, in t and its own parameters.
    for (int i = 0; i < NumModelosAjuste - 1; ++i) {
        const auto m = TModeloAjuste(i);
        const TExpresion e(EcuacionModelo(m).mid(4), {QStringLiteral("t")}, true);
        QStringList esperados = ParametrosModelo(m);
        QStringList vistos = e.Parametros();
        std::sort(esperados.begin(), esperados.end());
        std::sort(vistos.begin(), vistos.end());
        EXPECT_EQ(vistos, esperados) << ClaveModelo(m).toStdString();
    }
}

} // namespace

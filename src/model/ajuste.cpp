#include "model/ajuste.h"

#include "model/espectro.h"
#include "model/senales.h"

#include <gsl/gsl_blas.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace qv {

namespace {

constexpr double DosPi = 2 * std::numbers::pi;

struct TInfoModelo {
    const char* clave;
    const char* abreviatura;
    const char* ecuacion;
    std::initializer_list<const char*> parametros;
};

const TInfoModelo& Info(TModeloAjuste m)
{
    static const TInfoModelo info[NumModelosAjuste] = {
        {"linear", "lin", "y = a0 + a1*t", {"a0", "a1"}},
        {"poly2", "pol2", "y = a0 + a1*t + a2*t^2", {"a0", "a1", "a2"}},
        {"poly3", "pol3", "y = a0 + a1*t + a2*t^2 + a3*t^3", {"a0", "a1", "a2", "a3"}},
        {"poly4", "pol4", "y = a0 + a1*t + a2*t^2 + a3*t^3 + a4*t^4", {"a0", "a1", "a2", "a3", "a4"}},
        {"poly5", "pol5", "y = a0 + a1*t + a2*t^2 + a3*t^3 + a4*t^4 + a5*t^5", {"a0", "a1", "a2", "a3", "a4", "a5"}},
        {"exp", "exp", "y = A*exp(-t/tau) + C", {"A", "tau", "C"}},
        {"rc", "rc", "y = A*(1 - exp(-t/tau)) + C", {"A", "tau", "C"}},
        {"sine", "seno", "y = A*sin(2*pi*f*t + phi) + C", {"A", "f", "phi", "C"}},
        {"damped-sine", "senoam", "y = A*exp(-t/tau)*sin(2*pi*f*t + phi) + C", {"A", "tau", "f", "phi", "C"}},
        {"expr", "expr", "", {}},
    };
    return info[std::clamp(int(m), 0, NumModelosAjuste - 1)];
}

int Grado(TModeloAjuste m)
{
    return m == TModeloAjuste::Lineal ? 1 : int(m) - int(TModeloAjuste::Polinomio2) + 2;
}

// GSL's default handler aborts the process; every failure is a return code here.
void SinAbortos()
{
    static const bool hecho = (gsl_set_error_handler_off(), true);
    (void)hecho;
}

QString SinIgual(const QString& texto)
{
    QString t = texto.trimmed();
    if (t.startsWith(QLatin1Char('y'))) {
        const QString resto = t.mid(1).trimmed();
        if (resto.startsWith(QLatin1Char('=')))
            return resto.mid(1).trimmed();
    }
    return t;
}

// ---- linear least squares ------------------------------------------------------------

// Least squares of y on the p columns of the n x p matrix `a` (column j at a[j n]) by
// Householder QR: the coefficients, the unscaled covariance (R^T R)^-1 and the residual
// sum of squares. False when the columns are (numerically) dependent. `a` is overwritten.
//
// The reflections run over columns held one after the other in memory: a capture is a
// tall, narrow matrix (65535 x at most 6), and a library QR over its rows walks memory
// with a stride of a row for every element, several times slower for the same flops.
struct TLineal {
    std::vector<double> coef;
    std::vector<double> cov; // p x p
    double ssr = 0;
};

bool MinimosCuadrados(double* a, const double* y, int n, int p, TLineal& r)
{
    if (n < p || p < 1)
        return false;
    const auto N = std::size_t(n);
    std::vector<double> b(y, y + n);
    std::vector<double> R(std::size_t(p * p), 0.0);
    double mayor = 0;
    for (int k = 0; k < p; ++k) {
        double* v = &a[std::size_t(k) * N];
        double norma = 0;
        for (std::size_t i = std::size_t(k); i < N; ++i)
            norma += v[i] * v[i];
        norma = std::sqrt(norma);
        const double alfa = v[k] > 0 ? -norma : norma;
        // v := x - alfa e_k; H = I - 2 v v^T / (v^T v), with v^T v = 2 (norma^2 - alfa x_k).
        const double vv = 2 * (norma * norma - alfa * v[k]);
        R[std::size_t(k * p + k)] = alfa;
        mayor = std::max(mayor, std::fabs(alfa));
        if (!(vv > 0) || std::fabs(alfa) <= 1e-13 * mayor)
            return false;
        v[k] -= alfa;
        auto reflejar = [&](double* c) {
            double s = 0;
            for (std::size_t i = std::size_t(k); i < N; ++i)
                s += v[i] * c[i];
            s *= 2 / vv;
            for (std::size_t i = std::size_t(k); i < N; ++i)
                c[i] -= s * v[i];
        };
        for (int j = k + 1; j < p; ++j) {
            double* c = &a[std::size_t(j) * N];
            reflejar(c);
            R[std::size_t(k * p + j)] = c[k];
        }
        reflejar(b.data());
    }
    // R c = (Q^T b)[0, p); what is left of Q^T b is the residual.
    r.coef.assign(std::size_t(p), 0);
    for (int k = p - 1; k >= 0; --k) {
        double s = b[std::size_t(k)];
        for (int j = k + 1; j < p; ++j)
            s -= R[std::size_t(k * p + j)] * r.coef[std::size_t(j)];
        r.coef[std::size_t(k)] = s / R[std::size_t(k * p + k)];
    }
    r.ssr = 0;
    for (std::size_t i = std::size_t(p); i < N; ++i)
        r.ssr += b[i] * b[i];
    // R^-1 (upper triangular), then (R^T R)^-1 = R^-1 R^-T.
    std::vector<double> inv(std::size_t(p * p), 0.0);
    for (int j = 0; j < p; ++j) {
        inv[std::size_t(j * p + j)] = 1 / R[std::size_t(j * p + j)];
        for (int i = j - 1; i >= 0; --i) {
            double s = 0;
            for (int k = i + 1; k <= j; ++k)
                s += R[std::size_t(i * p + k)] * inv[std::size_t(k * p + j)];
            inv[std::size_t(i * p + j)] = -s / R[std::size_t(i * p + i)];
        }
    }
    r.cov.assign(std::size_t(p * p), 0);
    for (int i = 0; i < p; ++i)
        for (int j = 0; j < p; ++j) {
            double s = 0;
            for (int k = std::max(i, j); k < p; ++k)
                s += inv[std::size_t(i * p + k)] * inv[std::size_t(j * p + k)];
            r.cov[std::size_t(i * p + j)] = s;
        }
    return std::all_of(r.cov.begin(), r.cov.end(), [](double c) { return std::isfinite(c); });
}

// Coefficients of y on the columns that `fila` writes for each sample (no covariance
// wanted): the starting estimates.
template <class F>
bool Regresion(int n, int p, const double* y, F&& fila, std::vector<double>& coef)
{
    std::unique_ptr<double[]> X(new double[std::size_t(n) * std::size_t(p)]);
    double f[8];
    for (int i = 0; i < n; ++i) {
        fila(i, f);
        for (int k = 0; k < p; ++k)
            X[std::size_t(k) * std::size_t(n) + std::size_t(i)] = f[k];
    }
    TLineal r;
    if (!MinimosCuadrados(X.get(), y, n, p, r))
        return false;
    coef = r.coef;
    return std::all_of(coef.begin(), coef.end(), [](double c) { return std::isfinite(c); });
}

// ---- the models as functions ----------------------------------------------------------

// The value of a built-in non-linear model at t and, when `g` is given, its gradient.
inline double Valor(TModeloAjuste m, const double* p, double t, double* g)
{
    switch (m) {
    case TModeloAjuste::Exponencial: {
        const double e = std::exp(-t / p[1]);
        if (g) {
            g[0] = e;
            g[1] = p[0] * e * t / (p[1] * p[1]);
            g[2] = 1;
        }
        return p[0] * e + p[2];
    }
    case TModeloAjuste::CargaRC: {
        const double e = std::exp(-t / p[1]);
        if (g) {
            g[0] = 1 - e;
            g[1] = -p[0] * e * t / (p[1] * p[1]);
            g[2] = 1;
        }
        return p[0] * (1 - e) + p[2];
    }
    case TModeloAjuste::Seno: {
        double s, c;
        ::sincos(DosPi * p[1] * t + p[2], &s, &c);
        if (g) {
            g[0] = s;
            g[1] = p[0] * c * DosPi * t;
            g[2] = p[0] * c;
            g[3] = 1;
        }
        return p[0] * s + p[3];
    }
    case TModeloAjuste::SenoAmortiguado: {
        double s, c;
        ::sincos(DosPi * p[2] * t + p[3], &s, &c);
        const double e = std::exp(-t / p[1]);
        if (g) {
            g[0] = e * s;
            g[1] = p[0] * e * s * t / (p[1] * p[1]);
            g[2] = p[0] * e * c * DosPi * t;
            g[3] = p[0] * e * c;
            g[4] = 1;
        }
        return p[0] * e * s + p[4];
    }
    default: {
        // Polynomials: a0 + a1 t + ...
        const int grado = Grado(m);
        double v = 0;
        for (int k = grado; k >= 0; --k)
            v = v * t + p[k];
        if (g) {
            double tk = 1;
            for (int k = 0; k <= grado; ++k, tk *= t)
                g[k] = tk;
        }
        return v;
    }
    }
}

// ---- non-linear least squares -----------------------------------------------------------

// The residuals (model - y, every `paso` doubles from `f`) and the rows of the Jacobian
// of a built-in non-linear model at the n sample times. The exponential and the rotation
// of the sine advance from sample to sample by one multiplication each, and are taken
// afresh from exp and sincos every Bloque samples, which keeps their error at a few
// units in the last place where a call per sample would cost ten times as much.
void Serie(TModeloAjuste m, const double* p, int n, double T, const double* y, double* f, std::size_t paso,
           double* J)
{
    constexpr int Bloque = 256;
    const bool seno = m == TModeloAjuste::Seno || m == TModeloAjuste::SenoAmortiguado;
    const bool decae = m != TModeloAjuste::Seno;
    const double tau = decae ? p[1] : 1;
    const double omega = seno ? DosPi * p[m == TModeloAjuste::Seno ? 1 : 2] : 0;
    const double fase = seno ? p[m == TModeloAjuste::Seno ? 2 : 3] : 0;
    const double r = decae ? std::exp(-T / tau) : 1;
    double ws = 0, wc = 1;
    if (seno)
        ::sincos(omega * T, &ws, &wc);
    const int np = m == TModeloAjuste::SenoAmortiguado ? 5 : m == TModeloAjuste::Seno ? 4 : 3;
    for (int b = 0; b < n; b += Bloque) {
        const double tb = b * T;
        double e = decae ? std::exp(-tb / tau) : 1;
        double sn = 0, cs = 1;
        if (seno)
            ::sincos(omega * tb + fase, &sn, &cs);
        const int fin = std::min(n, b + Bloque);
        for (int i = b; i < fin; ++i) {
            const double t = i * T;
            double* g = J + std::size_t(i) * std::size_t(np);
            double v;
            switch (m) {
            case TModeloAjuste::Exponencial:
                g[0] = e;
                g[1] = p[0] * e * t / (tau * tau);
                g[2] = 1;
                v = p[0] * e + p[2];
                break;
            case TModeloAjuste::CargaRC:
                g[0] = 1 - e;
                g[1] = -p[0] * e * t / (tau * tau);
                g[2] = 1;
                v = p[0] * (1 - e) + p[2];
                break;
            case TModeloAjuste::Seno:
                g[0] = sn;
                g[1] = p[0] * cs * DosPi * t;
                g[2] = p[0] * cs;
                g[3] = 1;
                v = p[0] * sn + p[3];
                break;
            default: {
                const double es = e * sn, ec = e * cs;
                g[0] = es;
                g[1] = p[0] * es * t / (tau * tau);
                g[2] = p[0] * ec * DosPi * t;
                g[3] = p[0] * ec;
                g[4] = 1;
                v = p[0] * es + p[4];
                break;
            }
            }
            f[std::size_t(i) * paso] = v - y[i];
            e *= r;
            const double s2 = sn * wc + cs * ws;
            cs = cs * wc - sn * ws;
            sn = s2;
        }
    }
}



struct TProblema {
    TModeloAjuste modelo;
    const double* y;
    int n;
    int p;
    double periodo;
    const TExpresion* expresion;
    // The Jacobian is made with the residuals (one pass over the transcendental
    // functions) and handed over when the solver asks for it at the same point.
    std::vector<double> xCache;
    std::vector<double> jCache;
    bool cacheValida = false;
};

int Residuos(const gsl_vector* x, void* datos, gsl_vector* f)
{
    auto& d = *static_cast<TProblema*>(datos);
    std::vector<double> p(std::size_t(d.p), 0);
    for (int k = 0; k < d.p; ++k)
        p[std::size_t(k)] = gsl_vector_get(x, std::size_t(k));
    if (d.expresion) {
        std::vector<double> v(std::size_t(d.p) + 1);
        std::copy(p.begin(), p.end(), v.begin() + 1);
        for (int i = 0; i < d.n; ++i) {
            v[0] = i * d.periodo;
            gsl_vector_set(f, std::size_t(i), d.expresion->Evaluar(v.data()) - d.y[i]);
        }
        return GSL_SUCCESS;
    }
    d.jCache.resize(std::size_t(d.n) * std::size_t(d.p));
    Serie(d.modelo, p.data(), d.n, d.periodo, d.y, f->data, f->stride, d.jCache.data());
    d.xCache = std::move(p);
    d.cacheValida = true;
    return GSL_SUCCESS;
}

int Jacobiana(const gsl_vector* x, void* datos, gsl_matrix* J)
{
    auto& d = *static_cast<TProblema*>(datos);
    bool igual = d.cacheValida;
    for (int k = 0; igual && k < d.p; ++k)
        igual = d.xCache[std::size_t(k)] == gsl_vector_get(x, std::size_t(k));
    if (!igual) {
        gsl_vector* f = gsl_vector_alloc(std::size_t(d.n));
        Residuos(x, datos, f);
        gsl_vector_free(f);
    }
    for (int i = 0; i < d.n; ++i)
        std::memcpy(gsl_matrix_ptr(J, std::size_t(i), 0), &d.jCache[std::size_t(i) * std::size_t(d.p)],
                    sizeof(double) * std::size_t(d.p));
    return GSL_SUCCESS;
}

struct TNoLineal {
    std::vector<double> x;
    std::vector<double> cov; // unscaled (J^T J)^-1
    double ssr = 0;
    int iteraciones = 0;
    TFalloAjuste fallo = TFalloAjuste::NoConverge;
};

TNoLineal LevenbergMarquardt(TProblema& d, const std::vector<double>& inicio, int maxIter)
{
    TNoLineal r;
    const auto n = std::size_t(d.n);
    const auto p = std::size_t(d.p);
    gsl_multifit_nlinear_parameters par = gsl_multifit_nlinear_default_parameters();
    par.trs = gsl_multifit_nlinear_trs_lm;
    // The step from J^T J (p x p, one pass over the n rows of J) rather than a QR of J at
    // every damping tried: the damping keeps the small system well conditioned, and the
    // standard errors still come from a QR of the final J (gsl_multifit_nlinear_covar).
    par.solver = gsl_multifit_nlinear_solver_cholesky;
    gsl_multifit_nlinear_workspace* w = gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &par, n, p);
    if (!w)
        return r;
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = Residuos;
    fdf.df = d.expresion ? nullptr : Jacobiana; // a formula: finite differences
    fdf.fvv = nullptr;
    fdf.n = n;
    fdf.p = p;
    fdf.params = &d;
    std::vector<double> x0 = inicio;
    gsl_vector_view v0 = gsl_vector_view_array(x0.data(), p);
    int info = 0;
    int estado = gsl_multifit_nlinear_init(&v0.vector, &fdf, w);
    // A start where the model gives no number cannot be improved on.
    const gsl_vector* f = gsl_multifit_nlinear_residual(w);
    double ssr0 = 0;
    gsl_blas_ddot(f, f, &ssr0);
    if (estado == GSL_SUCCESS && std::isfinite(ssr0))
        estado = gsl_multifit_nlinear_driver(std::size_t(std::max(1, maxIter)), 1e-9, 1e-9, 0.0, nullptr, nullptr,
                                             &info, w);
    else
        estado = GSL_EDOM;
    r.iteraciones = int(gsl_multifit_nlinear_niter(w));
    const gsl_vector* x = gsl_multifit_nlinear_position(w);
    f = gsl_multifit_nlinear_residual(w);
    gsl_blas_ddot(f, f, &r.ssr);
    r.x.assign(x->data, x->data + p);
    const bool numeros = std::isfinite(r.ssr) && std::all_of(r.x.begin(), r.x.end(), [](double c) { return std::isfinite(c); });
    // "No progress" where nothing is left to gain (an exact fit, noise-free data) is a
    // minimum too: the gradient says so.
    bool minimo = estado == GSL_SUCCESS;
    if (estado == GSL_ENOPROG && numeros) {
        const gsl_matrix* J = gsl_multifit_nlinear_jac(w);
        gsl_vector* g = gsl_vector_alloc(p);
        gsl_blas_dgemv(CblasTrans, 1.0, J, f, 0.0, g);
        double gmax = 0, jmax = 0;
        for (std::size_t k = 0; k < p; ++k)
            gmax = std::max(gmax, std::fabs(gsl_vector_get(g, k)) * std::max(1.0, std::fabs(r.x[k])));
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t k = 0; k < p; ++k)
                jmax = std::max(jmax, std::fabs(gsl_matrix_get(J, i, k)) * std::max(1.0, std::fabs(r.x[k])));
        minimo = gmax <= 1e-8 * std::max(1e-300, jmax * std::sqrt(r.ssr)) || r.ssr <= 1e-24 * std::max(1.0, ssr0);
        gsl_vector_free(g);
    }
    if (minimo && numeros) {
        gsl_matrix* covar = gsl_matrix_alloc(p, p);
        gsl_multifit_nlinear_covar(gsl_multifit_nlinear_jac(w), 1e-12, covar);
        r.cov.assign(covar->data, covar->data + p * p);
        gsl_matrix_free(covar);
        r.fallo = TFalloAjuste::Ninguno;
        for (std::size_t k = 0; k < p; ++k)
            if (!(r.cov[k * p + k] > 0) || !std::isfinite(r.cov[k * p + k]))
                r.fallo = TFalloAjuste::Indeterminado;
    }
    gsl_multifit_nlinear_free(w);
    return r;
}

// ---- starting estimates -----------------------------------------------------------------

// tau and the constant of y = K e^(-t/tau) + C0 from the integral equation of the
// decay: y(t) - y(0) = -(1/tau) S(t) + (C0/tau) t, S the running integral of y. A linear
// regression of y on 1, t and S gives both without knowing where the decay ends (the
// logarithm of y - C0 needs C0 first) and smooths the noise by integrating it.
bool EstimarDecaimiento(const double* y, int n, double T, double& tau)
{
    std::vector<double> S(std::size_t(n), 0);
    for (int i = 1; i < n; ++i)
        S[std::size_t(i)] = S[std::size_t(i - 1)] + (y[i - 1] + y[i]) * T / 2;
    std::vector<double> c;
    if (!Regresion(n, 3, y, [&](int i, double* f) { f[0] = 1, f[1] = i * T, f[2] = S[std::size_t(i)]; }, c))
        return false;
    if (c[2] == 0)
        return false;
    tau = -1 / c[2];
    return std::isfinite(tau);
}

bool EstimarExponencial(TModeloAjuste m, const double* y, int n, double T, std::vector<double>& p)
{
    const double duracion = std::max(T, (n - 1) * T);
    double tau = duracion / 3;
    if (!EstimarDecaimiento(y, n, T, tau) || std::fabs(tau) > 1e6 * duracion || std::fabs(tau) < T / 100)
        tau = duracion / 3;
    // Amplitude and constant for that tau: a linear fit again.
    std::vector<double> c;
    const bool rc = m == TModeloAjuste::CargaRC;
    if (!Regresion(n, 2, y,
                   [&](int i, double* f) {
                       const double e = std::exp(-i * T / tau);
                       f[0] = rc ? 1 - e : e;
                       f[1] = 1;
                   },
                   c))
        return false;
    p = {c[0], tau, c[1]};
    return true;
}

// A, phi and C of A e^(-t/tau) sin(2 pi f t + phi) + C for known f and tau (tau
// infinite: no decay): y on e sin, e cos and 1.
bool EstimarFase(const double* y, int n, double T, double f, double tau, double& A, double& fase, double& C)
{
    std::vector<double> c;
    if (!Regresion(n, 3, y,
                   [&](int i, double* fila) {
                       const double t = i * T;
                       const double e = std::isinf(tau) ? 1.0 : std::exp(-t / tau);
                       double s, co;
                       ::sincos(DosPi * f * t, &s, &co);
                       fila[0] = e * s, fila[1] = e * co, fila[2] = 1;
                   },
                   c))
        return false;
    A = std::hypot(c[0], c[1]);
    fase = std::atan2(c[1], c[0]);
    C = c[2];
    return A > 0;
}

std::optional<double> FrecuenciaInicial(const double* y, int n, double T)
{
    std::vector<float> x(y, y + n);
    TAnalizadorEspectro analizador;
    return FrecuenciaDominante(analizador, x.data(), n, T);
}

bool EstimarSeno(const double* y, int n, double T, std::vector<double>& p)
{
    const std::optional<double> f = FrecuenciaInicial(y, n, T);
    double A, fase, C;
    if (!f || !(*f > 0) || !EstimarFase(y, n, T, *f, std::numeric_limits<double>::infinity(), A, fase, C))
        return false;
    p = {A, *f, fase, C};
    return true;
}

// tau from the logarithm of the envelope: the largest deviation from the mean in each
// whole period, against the period's middle.
bool EstimarSenoAmortiguado(const double* y, int n, double T, std::vector<double>& p)
{
    const std::optional<double> f = FrecuenciaInicial(y, n, T);
    if (!f || !(*f > 0))
        return false;
    double media = 0;
    for (int i = 0; i < n; ++i)
        media += y[i];
    media /= n;
    const int ancho = std::max(2, int(std::lround(1 / (*f * T))));
    std::vector<double> tiempos, logs;
    double mayor = 0;
    std::vector<double> picos;
    for (int a = 0; a + ancho <= n; a += ancho) {
        double m = 0;
        for (int i = a; i < a + ancho; ++i)
            m = std::max(m, std::fabs(y[i] - media));
        picos.push_back(m);
        mayor = std::max(mayor, m);
    }
    for (std::size_t k = 0; k < picos.size(); ++k)
        if (picos[k] > 0.05 * mayor) { // below that the envelope is the noise's
            tiempos.push_back((double(k) + 0.5) * ancho * T);
            logs.push_back(std::log(picos[k]));
        }
    const double duracion = std::max(T, (n - 1) * T);
    double tau = std::numeric_limits<double>::infinity();
    std::vector<double> c;
    if (tiempos.size() >= 2 &&
        Regresion(int(tiempos.size()), 2, logs.data(),
                  [&](int k, double* fila) { fila[0] = 1, fila[1] = tiempos[std::size_t(k)]; }, c) &&
        c[1] < 0)
        tau = -1 / c[1];
    if (!std::isfinite(tau) || tau > 1e3 * duracion)
        tau = 1e3 * duracion; // hardly damped: a large tau, which the fit may still move
    double A, fase, C;
    if (!EstimarFase(y, n, T, *f, tau, A, fase, C))
        return false;
    p = {A, tau, *f, fase, C};
    return true;
}

// One sign for A and f, phi in (-pi, pi]: the same curve has several parameter sets.
void NormalizarSeno(std::vector<TParametroAjuste>& par, int iA, int iF, int iFase)
{
    double& A = par[std::size_t(iA)].Valor;
    double& f = par[std::size_t(iF)].Valor;
    double& fase = par[std::size_t(iFase)].Valor;
    if (f < 0) {
        f = -f;
        fase = -fase;
        A = -A;
    }
    if (A < 0) {
        A = -A;
        fase += std::numbers::pi;
    }
    fase = std::remainder(fase, DosPi);
    if (fase <= -std::numbers::pi)
        fase += DosPi;
}

void Estadisticas(TResultadoAjuste& r, const double* y, int n, double ssr)
{
    double media = 0;
    for (int i = 0; i < n; ++i)
        media += y[i];
    media /= n;
    double sst = 0;
    for (int i = 0; i < n; ++i)
        sst += (y[i] - media) * (y[i] - media);
    // Data that do not vary are explained wholly by a model that meets them.
    r.R2 = sst > 0 ? 1 - ssr / sst : (ssr <= 1e-24 * n * std::max(1.0, media * media) ? 1 : 0);
    r.Rms = std::sqrt(ssr / n);
}

void PonerParametros(TResultadoAjuste& r, const QStringList& nombres, const std::vector<double>& x,
                     const std::vector<double>& cov, double s2)
{
    const std::size_t p = x.size();
    r.Parametros.clear();
    for (std::size_t k = 0; k < p; ++k)
        r.Parametros.push_back({nombres.value(qsizetype(k)), x[k], std::sqrt(s2 * cov[k * p + k])});
}

TResultadoAjuste AjustarLineal(TResultadoAjuste r, const double* y, int n, double T)
{
    const int grado = Grado(r.Modelo);
    const int p = grado + 1;
    // Columns of u = t / duration in [0, 1]: t^5 of a long capture next to 1 would
    // spoil the conditioning. The scale comes off the coefficients (and their errors)
    // exactly, as it is a scaling of each column.
    const double escala = n > 1 ? (n - 1) * T : 1;
    const auto N = std::size_t(n);
    std::unique_ptr<double[]> X(new double[N * std::size_t(p)]);
    for (std::size_t i = 0; i < N; ++i)
        X[i] = 1;
    for (int k = 1; k < p; ++k) {
        double* c = &X[std::size_t(k) * N];
        const double* antes = c - N;
        for (std::size_t i = 0; i < N; ++i)
            c[i] = antes[i] * (double(i) / std::max(1, n - 1));
    }
    TLineal l;
    if (!MinimosCuadrados(X.get(), y, n, p, l)) {
        r.Fallo = TFalloAjuste::Indeterminado;
        return r;
    }
    const double ssr = l.ssr;
    std::vector<double> x(std::size_t(p), 0);
    std::vector<double> cov(std::size_t(p * p));
    for (int i = 0; i < p; ++i) {
        x[std::size_t(i)] = l.coef[std::size_t(i)] / std::pow(escala, i);
        for (int j = 0; j < p; ++j)
            cov[std::size_t(i * p + j)] = l.cov[std::size_t(i * p + j)] / (std::pow(escala, i) * std::pow(escala, j));
    }
    PonerParametros(r, ParametrosModelo(r.Modelo), x, cov, ssr / (n - p));
    Estadisticas(r, y, n, ssr);
    r.Fallo = TFalloAjuste::Ninguno;
    return r;
}

} // namespace

// ---- names ------------------------------------------------------------------------------

QString ClaveModelo(TModeloAjuste m)
{
    return QLatin1String(Info(m).clave);
}

std::optional<TModeloAjuste> ModeloDeClave(const QString& clave)
{
    for (int i = 0; i < NumModelosAjuste; ++i)
        if (clave == QLatin1String(Info(TModeloAjuste(i)).clave))
            return TModeloAjuste(i);
    return std::nullopt;
}

QString AbreviaturaModelo(TModeloAjuste m)
{
    return QLatin1String(Info(m).abreviatura);
}

QStringList ParametrosModelo(TModeloAjuste m)
{
    QStringList r;
    for (const char* p : Info(m).parametros)
        r << QLatin1String(p);
    return r;
}

QString EcuacionModelo(TModeloAjuste m, const QString& expresion)
{
    if (m == TModeloAjuste::Expresion)
        return QStringLiteral("y = ") + SinIgual(expresion);
    return QLatin1String(Info(m).ecuacion);
}

bool ModeloLineal(TModeloAjuste m)
{
    return int(m) <= int(TModeloAjuste::Polinomio5);
}

QString NombreAjuste(TModeloAjuste m, const QString& datos)
{
    return QStringLiteral("Aj_%1_%2").arg(AbreviaturaModelo(m), datos);
}

QString NombreResiduo(TModeloAjuste m, const QString& datos)
{
    return QStringLiteral("Res_%1_%2").arg(AbreviaturaModelo(m), datos);
}

const TParametroAjuste* TResultadoAjuste::Parametro(const QString& nombre) const
{
    for (const TParametroAjuste& p : Parametros)
        if (p.Nombre == nombre)
            return &p;
    return nullptr;
}

// ---- fitting ----------------------------------------------------------------------------

TResultadoAjuste Ajustar(const TPeticionAjuste& peticion, const float* datos, int n, double periodo)
{
    SinAbortos();
    TResultadoAjuste r;
    r.Modelo = peticion.Modelo;
    r.Periodo = periodo;
    r.Tramo = {0, n - 1};
    std::optional<TExpresion> expresion;
    QStringList nombres = ParametrosModelo(peticion.Modelo);
    if (peticion.Modelo == TModeloAjuste::Expresion) {
        r.Expresion = SinIgual(peticion.Expresion);
        try {
            expresion.emplace(r.Expresion, QStringList{QStringLiteral("t")}, true);
        } catch (const TExpresion::EError& e) {
            r.Fallo = TFalloAjuste::Expresion;
            r.PosicionError = e.Posicion();
            r.FragmentoError = e.Fragmento();
            return r;
        }
        nombres = expresion->Parametros();
        if (nombres.isEmpty()) {
            r.Fallo = TFalloAjuste::Expresion;
            r.PosicionError = int(r.Expresion.size());
            return r;
        }
    }
    const int p = int(nombres.size());
    if (n <= p || !(periodo > 0)) {
        r.Fallo = TFalloAjuste::PocasMuestras;
        return r;
    }
    const std::vector<double> y(datos, datos + n);
    if (ModeloLineal(peticion.Modelo))
        return AjustarLineal(r, y.data(), n, periodo);

    std::vector<double> inicio;
    bool estimado = true;
    switch (peticion.Modelo) {
    case TModeloAjuste::Exponencial:
    case TModeloAjuste::CargaRC:
        estimado = EstimarExponencial(peticion.Modelo, y.data(), n, periodo, inicio);
        break;
    case TModeloAjuste::Seno:
        estimado = EstimarSeno(y.data(), n, periodo, inicio);
        break;
    case TModeloAjuste::SenoAmortiguado:
        estimado = EstimarSenoAmortiguado(y.data(), n, periodo, inicio);
        break;
    default:
        inicio.assign(std::size_t(p), 1.0);
        for (std::size_t k = 0; k < inicio.size() && k < peticion.Iniciales.size(); ++k)
            inicio[k] = peticion.Iniciales[k];
        break;
    }
    if (!estimado) {
        r.Fallo = TFalloAjuste::NoConverge;
        return r;
    }
    TProblema problema{peticion.Modelo, y.data(), n, p, periodo, expresion ? &*expresion : nullptr, {}, {}, false};
    const TNoLineal nl = LevenbergMarquardt(problema, inicio, peticion.MaxIteraciones);
    r.Iteraciones = nl.iteraciones;
    r.Fallo = nl.fallo;
    if (!r.Converge())
        return r;
    PonerParametros(r, nombres, nl.x, nl.cov, nl.ssr / (n - p));
    if (peticion.Modelo == TModeloAjuste::Seno)
        NormalizarSeno(r.Parametros, 0, 1, 2);
    else if (peticion.Modelo == TModeloAjuste::SenoAmortiguado)
        NormalizarSeno(r.Parametros, 0, 2, 3);
    Estadisticas(r, y.data(), n, nl.ssr);
    for (const TParametroAjuste& q : r.Parametros)
        if (!std::isfinite(q.Valor) || !std::isfinite(q.Error))
            r.Fallo = TFalloAjuste::Indeterminado;
    return r;
}

TResultadoAjuste AjustarSenal(const TPeticionAjuste& peticion, const TSenalAna& senal, TTramo tramo)
{
    tramo = AcotarTramo(tramo, senal.NumMuestras());
    const int n = std::max(0, tramo.hasta - tramo.desde + 1);
    TResultadoAjuste r = Ajustar(peticion, senal.Muestras().data() + std::min(tramo.desde, senal.NumMuestras()), n,
                                 senal.Periodo());
    r.Tramo = tramo;
    return r;
}

// ---- the fitted curve --------------------------------------------------------------------

TCurvaAjuste::TCurvaAjuste(const TResultadoAjuste& r) : modelo_(r.Modelo)
{
    for (const TParametroAjuste& p : r.Parametros)
        p_.push_back(p.Valor);
    if (modelo_ == TModeloAjuste::Expresion) {
        expresion_.emplace(r.Expresion, QStringList{QStringLiteral("t")}, true);
        p_.insert(p_.begin(), 0.0);
    }
}

double TCurvaAjuste::operator()(double t) const
{
    if (expresion_) {
        std::vector<double> v = p_;
        v[0] = t;
        return expresion_->Evaluar(v.data());
    }
    return Valor(modelo_, p_.data(), t, nullptr);
}

std::unique_ptr<TSenalAna> SenalAjustada(const TResultadoAjuste& r, const TSenalAna& datos, const QString& nombre)
{
    const int n = datos.NumMuestras();
    auto s = std::make_unique<TSenalAna>(datos.Unidad, nombre, true, nullptr, nullptr, 0, datos.Periodo(),
                                         std::uint16_t(n));
    const TTramo tramo = AcotarTramo(r.Tramo, n);
    if (tramo.hasta < tramo.desde || n == 0)
        return s;
    const auto [bajo, alto] = std::minmax_element(datos.Muestras().begin(), datos.Muestras().end());
    const TCurvaAjuste curva(r);
    double anterior = datos.LeerMuestra(tramo.desde);
    for (int i = 0; i < n; ++i) {
        double v = curva((i - tramo.desde) * datos.Periodo());
        if (i < tramo.desde || i > tramo.hasta)
            v = std::clamp(v, double(*bajo), double(*alto));
        // A formula may have no value outside the span (sqrt of a negative): the last one holds.
        if (std::isfinite(v) && std::fabs(v) < 1e30)
            anterior = v;
        s->PonerMuestra(i, float(anterior));
    }
    return s;
}

std::unique_ptr<TSenalAna> SenalResiduo(const TResultadoAjuste& r, const TSenalAna& datos, const QString& nombre)
{
    const int n = datos.NumMuestras();
    auto s = std::make_unique<TSenalAna>(datos.Unidad, nombre, true, nullptr, nullptr, 0, datos.Periodo(),
                                         std::uint16_t(n));
    const TTramo tramo = AcotarTramo(r.Tramo, n);
    const TCurvaAjuste curva(r);
    for (int i = 0; i < n; ++i) {
        double v = 0;
        if (i >= tramo.desde && i <= tramo.hasta)
            v = datos.LeerMuestra(i) - curva((i - tramo.desde) * datos.Periodo());
        s->PonerMuestra(i, std::isfinite(v) ? float(v) : 0.0f);
    }
    return s;
}

TRegistroAjuste RegistroDe(const TResultadoAjuste& r, const QString& senal, const QString& datos)
{
    TRegistroAjuste g;
    g.Senal = senal;
    g.Datos = datos;
    g.Modelo = ClaveModelo(r.Modelo);
    g.Expresion = r.Expresion;
    g.Desde = r.Tramo.desde;
    g.Hasta = r.Tramo.hasta;
    g.R2 = r.R2;
    g.Rms = r.Rms;
    g.Parametros = r.Parametros;
    return g;
}

} // namespace qv

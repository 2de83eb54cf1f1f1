#include "model/barrido.h"

#include "lang/textos.h"
#include "model/base_tiempos.h"
#include "model/generadores.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qv {

namespace {

constexpr double Pi = std::numbers::pi;
// Half power: 10 log10(1/2).
constexpr double MenosTresDB = -3.0102999566398120;
// Converter codes of the inputs.
constexpr int CuentaMaxima = 2047;
constexpr int CuentaMinima = -2048;
// The longest sampling period a capture command carries in either unit.
constexpr double MaxNumeroPeriodo = 65535;

bool Finito(double v)
{
    return std::isfinite(v);
}

// The axis the sweep is spaced on.
double Eje(TReparto r, double f)
{
    return r == TReparto::Logaritmico ? std::log(f) : f;
}

// Whether one of the samples reaches either end of the converter's range.
bool Recortada(std::span<const float> x, int desde, int medidas, double resolucion)
{
    for (int k = desde; k < desde + medidas; ++k) {
        const double c = std::round(double(x[std::size_t(k)]) / resolucion);
        if (c >= CuentaMaxima || c <= CuentaMinima)
            return true;
    }
    return false;
}

// Lagrange interpolation through the points (xs, ys) at x.
double Lagrange(const std::vector<double>& xs, const std::vector<double>& ys, double x)
{
    double s = 0;
    for (std::size_t a = 0; a < xs.size(); ++a) {
        double t = ys[a];
        for (std::size_t b = 0; b < xs.size(); ++b)
            if (b != a)
                t *= (x - xs[b]) / (xs[a] - xs[b]);
        s += t;
    }
    return s;
}

// The valid points on the sweep's axis, in ascending order of frequency.
struct TCurva {
    std::vector<double> x, g, p, f;
};

TCurva Curva(const TResultadoBarrido& r)
{
    std::vector<const TPuntoBarrido*> v;
    for (const TPuntoBarrido& p : r.Puntos)
        if (p.Valida() && p.Frecuencia > 0 && Finito(p.GananciaDB) && Finito(p.FaseGrados))
            v.push_back(&p);
    std::stable_sort(v.begin(), v.end(), [](auto* a, auto* b) { return a->Frecuencia < b->Frecuencia; });
    TCurva c;
    for (const TPuntoBarrido* p : v) {
        const double x = Eje(r.Ajustes.Reparto, p->Frecuencia);
        if (!c.x.empty() && !(x > c.x.back()))
            continue; // two points at one frequency: the first one stands
        c.x.push_back(x);
        c.g.push_back(p->GananciaDB);
        c.p.push_back(p->FaseGrados);
        c.f.push_back(p->Frecuencia);
    }
    return c;
}

// Indices of the (up to) four points around the interval [i, i + 1].
std::pair<std::size_t, std::size_t> Vecinos(const TCurva& c, std::size_t i)
{
    const std::size_t n = c.x.size();
    if (n < 4)
        return {i, i + 2};
    const std::size_t desde = std::min(i > 0 ? i - 1 : 0, n - 4);
    return {desde, desde + 4};
}

double EnTramo(const TCurva& c, const std::vector<double>& y, std::size_t i, double x)
{
    const auto [a, b] = Vecinos(c, i);
    const std::vector<double> xs(c.x.begin() + long(a), c.x.begin() + long(b));
    const std::vector<double> ys(y.begin() + long(a), y.begin() + long(b));
    return Lagrange(xs, ys, x);
}

double DesdeEje(TReparto r, double x)
{
    return r == TReparto::Logaritmico ? std::exp(x) : x;
}

} // namespace

int ComprobarAjustes(const TAjustesBarrido& a)
{
    using namespace Barrido;
    if (!Finito(a.Desde) || !Finito(a.Hasta) || a.Desde < MinFrecuencia || a.Hasta < MinFrecuencia
        || a.Puntos < 1 || a.Puntos > MaxPuntos || (a.Puntos > 1 && !(a.Hasta > a.Desde)))
        return TextoBarrido::FrecuenciasMal;
    if (!Finito(a.Estabilizacion) || a.Estabilizacion < 0 || a.Estabilizacion > MaxEstabilizacion
        || !Finito(a.DesfaseGruposUs) || std::abs(a.DesfaseGruposUs) > 1e6)
        return TextoBarrido::FrecuenciasMal;
    if (a.Salida < 1 || a.Salida > TConfigES::NumSalAna || a.Referencia < 1 || a.Referencia > TConfigES::NumEntAna
        || a.Respuesta < 1 || a.Respuesta > TConfigES::NumEntAna || a.Referencia == a.Respuesta
        || FondoEscalaRango(a.RangoReferencia) <= 0 || FondoEscalaRango(a.RangoRespuesta) <= 0)
        return TextoBarrido::EntradasIguales;
    if (!Finito(a.Amplitud) || !Finito(a.Offset) || !(a.Amplitud > 0)
        || !DentroDeSalida(TPicos{a.Offset - a.Amplitud, a.Offset + a.Amplitud}))
        return TextoBarrido::Amplitud;
    return 0;
}

std::vector<double> FrecuenciasNominales(const TAjustesBarrido& a)
{
    std::vector<double> f;
    if (a.Puntos < 1)
        return f;
    f.reserve(std::size_t(a.Puntos));
    for (int i = 0; i < a.Puntos; ++i) {
        const double u = a.Puntos == 1 ? 0.0 : double(i) / (a.Puntos - 1);
        f.push_back(a.Reparto == TReparto::Logaritmico ? a.Desde * std::pow(a.Hasta / a.Desde, u)
                                                       : a.Desde + (a.Hasta - a.Desde) * u);
    }
    if (a.Puntos > 1)
        f.back() = a.Hasta; // exactly what was asked, whatever the rounding
    return f;
}

double TPuntoPlan::PeriodoSegundos() const
{
    return Periodo * (UnidadPeriodo == Unidad::Mili ? 1e-3 : 1e-6);
}

double TPuntoPlan::MuestrasPorPeriodo() const
{
    return Frecuencia > 0 ? 1.0 / (Frecuencia * PeriodoSegundos()) : 0;
}

double TPuntoPlan::BytesLinea() const
{
    // About 4.5 characters per output count with its comma, 5.5 per input count.
    return 60 + Muestras() * (4.5 + 2 * 5.5);
}

double TPuntoPlan::SegundosEstimados() const
{
    return DuracionSegundos() + BytesLinea() / Barrido::BytesPorSegundo + Barrido::SegundosPorCaptura;
}

double TPlanBarrido::SegundosEstimados() const
{
    double s = 0;
    for (const TPuntoPlan& p : Puntos)
        s += p.SegundosEstimados();
    return s;
}

TConfigES ConfigPunto(const TAjustesBarrido& a, const TPuntoPlan& p, TTextos& textos)
{
    TConfigES c;
    for (const auto& [entrada, rango] : {std::pair{a.Referencia, a.RangoReferencia}, std::pair{a.Respuesta, a.RangoRespuesta}}) {
        TEntAna& e = c.EntAna(entrada);
        e.Activo = true;
        e.Rango = std::uint8_t(rango);
        e.Diferencial = false;
        e.Factor = 1.0f;
    }
    TSalAna& s = c.SalAna(a.Salida);
    s.Activo = true;
    const QString segundos = PalabraUnidad(textos, Unidad::Segundo);
    s.Generador = std::make_unique<TGenSeno>(textos, PalabraUnidad(textos, Unidad::Mili), segundos, 0.0f, 0.0f,
                                             float(p.Frecuencia), float(a.Offset), float(a.Amplitud));
    c.Periodo = p.Periodo;
    c.UnidadPeriodo = p.UnidadPeriodo;
    c.NumMuestras = p.Muestras();
    // The analysis time that gives this sample count back (the sample at 0 included).
    c.UnidadAnalisis = Unidad::Mili;
    c.TiempoAnalisis = (p.Muestras() - 1) * p.PeriodoSegundos() * 1000;
    c.Retardo = 0;
    c.Rapida = false;
    return c;
}

TPuntoPlan PlanificarPunto(const TAjustesBarrido& a, double frecuencia, TTextos& textos)
{
    using namespace Barrido;
    TPuntoPlan p;
    p.Nominal = frecuencia;
    // The shortest period the channels of the sweep allow.
    TConfigES canales = ConfigPunto(a, p, textos);
    const int minimo = PeriodoMinimoMicro(canales);
    const double porPeriodo = double(MuestrasObjetivo) / PeriodosMinimos;
    const double deseadoUs = 1e6 / (frecuencia * porPeriodo);
    if (deseadoUs <= MaxNumeroPeriodo) {
        p.UnidadPeriodo = Unidad::Micro;
        p.Periodo = std::max(minimo, int(std::floor(deseadoUs)));
    } else {
        p.UnidadPeriodo = Unidad::Mili;
        p.Periodo = int(std::clamp(std::floor(deseadoUs / 1000), 1.0, MaxNumeroPeriodo));
    }
    const double muestrasPorPeriodo = 1.0 / (frecuencia * p.PeriodoSegundos());
    p.Periodos = std::max(PeriodosMinimos, int(std::lround(MuestrasObjetivo / muestrasPorPeriodo)));
    p.Medidas = std::max(1, int(std::lround(p.Periodos * muestrasPorPeriodo)));
    // The frequency at which the record holds its periods exactly.
    p.Frecuencia = p.Periodos / (p.Medidas * p.PeriodoSegundos());
    // The sine generator keeps its frequency in single precision: so does the plan.
    p.Frecuencia = double(float(p.Frecuencia));
    p.Descartadas = int(std::ceil(a.Estabilizacion * p.MuestrasPorPeriodo() - 1e-9));
    if (p.MuestrasPorPeriodo() < MuestrasPorPeriodoMinimas) {
        p.Clave = 166; // the channels need a longer period than this sine allows
        return p;
    }
    const TConfigES c = ConfigPunto(a, p, textos);
    p.Clave = ComprobarCaptura(c, 167);
    return p;
}

TPlanBarrido PlanificarBarrido(const TAjustesBarrido& a, TTextos& textos)
{
    TPlanBarrido plan;
    for (const double f : FrecuenciasNominales(a)) {
        TPuntoPlan p = PlanificarPunto(a, f, textos);
        const double s = p.MuestrasPorPeriodo();
        if (plan.Puntos.empty() || s < plan.MinMuestrasPorPeriodo)
            plan.MinMuestrasPorPeriodo = s;
        if (s < Barrido::MuestrasPorPeriodoAviso)
            ++plan.PuntosEscasos;
        if (p.Clave != 0 && plan.PrimerImposible < 0)
            plan.PrimerImposible = int(plan.Puntos.size());
        plan.Puntos.push_back(p);
    }
    return plan;
}

std::complex<double> Componente(std::span<const float> x, int desde, int medidas, double periodo, double frecuencia)
{
    if (medidas <= 0 || desde < 0 || std::size_t(desde) + std::size_t(medidas) > x.size())
        return {};
    // A sin(w t + phi) = Im(A e^(j phi) e^(j w t)): correlating with e^(-j w t) over whole
    // periods gives (A / 2j) e^(j phi), hence the factor 2j / M.
    const double w = 2 * Pi * frecuencia * periodo;
    std::complex<double> s;
    for (int k = desde; k < desde + medidas; ++k)
        s += double(x[std::size_t(k)]) * std::polar(1.0, -w * k);
    return s * std::complex<double>(0, 2.0 / medidas);
}

TPuntoBarrido MedirPunto(const TEntradaMedida& referencia, const TEntradaMedida& respuesta, const TVentanaMedida& v)
{
    TPuntoBarrido p;
    p.Frecuencia = v.Frecuencia;
    const std::complex<double> r = Componente(referencia.Muestras, v.Desde, v.Medidas, v.Periodo, v.Frecuencia);
    const std::complex<double> y = Componente(respuesta.Muestras, v.Desde, v.Medidas, v.Periodo, v.Frecuencia);
    p.AmplitudReferencia = std::abs(r);
    p.AmplitudRespuesta = std::abs(y);
    const bool dentro = v.Medidas > 0 && v.Desde >= 0
                        && std::size_t(v.Desde) + std::size_t(v.Medidas) <= referencia.Muestras.size()
                        && std::size_t(v.Desde) + std::size_t(v.Medidas) <= respuesta.Muestras.size();
    if (!dentro || !(referencia.Resolucion > 0) || !(respuesta.Resolucion > 0)) {
        p.Marca = TMarca::ReferenciaPequena;
        return p;
    }
    if (Recortada(referencia.Muestras, v.Desde, v.Medidas, referencia.Resolucion)) {
        p.Marca = TMarca::ReferenciaRecortada;
        return p;
    }
    if (p.AmplitudReferencia < Barrido::CuentasMinimasReferencia * referencia.Resolucion) {
        p.Marca = TMarca::ReferenciaPequena;
        return p;
    }
    if (Recortada(respuesta.Muestras, v.Desde, v.Medidas, respuesta.Resolucion)) {
        p.Marca = TMarca::RespuestaRecortada;
        return p;
    }
    const std::complex<double> h = y / r;
    p.GananciaDB = 20 * std::log10(std::max(std::abs(h), 1e-300));
    // The hold: the circuit's stimulus lags the reference's samples by half a period,
    // so the circuit itself lags the reference by that much less. A response sampled
    // later within the instant seems ahead by its delay.
    const double retencion = 180.0 * v.Frecuencia * v.Periodo;
    const double retraso = 360.0 * v.Frecuencia * v.RetrasoRespuesta;
    double fase = std::arg(h) * 180 / Pi + retencion - retraso;
    fase = std::remainder(fase, 360.0);
    if (fase <= -180)
        fase += 360;
    p.FaseGrados = fase;
    return p;
}

void DesenrollarFase(std::vector<TPuntoBarrido>& puntos)
{
    bool primera = true;
    double anterior = 0;
    for (TPuntoBarrido& p : puntos) {
        if (!p.Valida() || !Finito(p.FaseGrados))
            continue;
        if (primera) {
            p.FaseGrados = std::remainder(p.FaseGrados, 360.0);
            if (p.FaseGrados <= -180)
                p.FaseGrados += 360;
            primera = false;
        } else {
            p.FaseGrados = anterior + std::remainder(p.FaseGrados - anterior, 360.0);
        }
        anterior = p.FaseGrados;
    }
}

std::optional<TLectura> Interpolar(const TResultadoBarrido& r, double frecuencia)
{
    if (!(frecuencia > 0))
        return std::nullopt;
    const TCurva c = Curva(r);
    if (c.x.empty())
        return std::nullopt;
    const double x = Eje(r.Ajustes.Reparto, frecuencia);
    if (c.x.size() == 1) {
        if (std::abs(x - c.x[0]) > 1e-12 * std::max(1.0, std::abs(x)))
            return std::nullopt;
        return TLectura{frecuencia, c.g[0], c.p[0]};
    }
    if (x < c.x.front() || x > c.x.back())
        return std::nullopt;
    std::size_t i = std::size_t(std::upper_bound(c.x.begin(), c.x.end(), x) - c.x.begin());
    i = std::clamp<std::size_t>(i, 1, c.x.size() - 1) - 1;
    return TLectura{frecuencia, EnTramo(c, c.g, i, x), EnTramo(c, c.p, i, x)};
}

std::vector<TLectura> PuntosMenos3dB(const TResultadoBarrido& r)
{
    std::vector<TLectura> cortes;
    const TCurva c = Curva(r);
    if (c.x.size() < 2)
        return cortes;
    const double nivel = *std::max_element(c.g.begin(), c.g.end()) + MenosTresDB;
    for (std::size_t i = 0; i + 1 < c.x.size(); ++i) {
        const double g0 = c.g[i] - nivel, g1 = c.g[i + 1] - nivel;
        if (!((g0 >= 0 && g1 < 0) || (g0 < 0 && g1 >= 0)))
            continue;
        // Bisection on the interpolating curve within the bracket; the measured points
        // bracket the crossing, so the curve does too.
        double lo = c.x[i], hi = c.x[i + 1];
        const bool baja = g0 >= 0;
        for (int it = 0; it < 80; ++it) {
            const double m = 0.5 * (lo + hi);
            const bool encima = EnTramo(c, c.g, i, m) - nivel >= 0;
            if (encima == baja)
                lo = m;
            else
                hi = m;
        }
        const double x = 0.5 * (lo + hi);
        cortes.push_back({DesdeEje(r.Ajustes.Reparto, x), nivel, EnTramo(c, c.p, i, x)});
    }
    return cortes;
}

int PuntoCercano(const TResultadoBarrido& r, double frecuencia)
{
    int mejor = -1;
    double distancia = 0;
    const bool log = r.Ajustes.Reparto == TReparto::Logaritmico;
    if (log && !(frecuencia > 0))
        return -1;
    for (std::size_t i = 0; i < r.Puntos.size(); ++i) {
        const TPuntoBarrido& p = r.Puntos[i];
        if (!p.Valida() || !(p.Frecuencia > 0))
            continue;
        const double d = log ? std::abs(std::log(p.Frecuencia / frecuencia)) : std::abs(p.Frecuencia - frecuencia);
        if (mejor < 0 || d < distancia) {
            mejor = int(i);
            distancia = d;
        }
    }
    return mejor;
}

} // namespace qv

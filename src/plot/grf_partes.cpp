#include "plot/grf_partes.h"

#include "plot/grf.h"
#include "plot/grf_capas.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace qv {

void TParteGrf::Redibujar()
{
    g_.Cambiado();
}

// ---- TAxis -----------------------------------------------------------------------------

TAxis::TAxis(TGrf& g, Tipo t) : TParteGrf(g), tipo_(t), visible_(t != Tipo::Y2) {}

double TAxis::Min() const
{
    g_.AsegurarEscalas();
    return min_;
}

double TAxis::Max() const
{
    g_.AsegurarEscalas();
    return max_;
}

void TAxis::PonerMin(double v)
{
    g_.AsegurarEscalas(); // the other limit keeps the value it shows
    min_ = v;
    autoSizing_ = false;
    g_.Cambiado();
}

void TAxis::PonerMax(double v)
{
    g_.AsegurarEscalas();
    max_ = v;
    autoSizing_ = false;
    g_.Cambiado();
}

double TAxis::StepSize() const
{
    if (autoStepping_) {
        const auto& m = g_.marcas_[int(tipo_)];
        if (m->pasoUsado > 0)
            return m->pasoUsado;
    }
    return paso_;
}

void TAxis::PonerStepSize(double v)
{
    paso_ = v;
    autoStepping_ = false;
    g_.Cambiado();
}

void TAxis::PonerAutoSizing(bool on)
{
    if (!on)
        g_.AsegurarEscalas(); // keep the range in force
    autoSizing_ = on;
    g_.DatosCambiados();
}

void TAxis::PonerAutoStepping(bool on)
{
    if (!on && autoStepping_ && g_.marcas_[int(tipo_)]->pasoUsado > 0)
        paso_ = g_.marcas_[int(tipo_)]->pasoUsado;
    autoStepping_ = on;
    g_.Cambiado();
}

void TAxis::PonerLogScale(bool on)
{
    log_ = on;
    g_.DatosCambiados();
}

// ---- TAppearance -----------------------------------------------------------------------

TAppearance::TAppearance(TGrf& g) : TParteGrf(g)
{
    fEtiquetas_ = EnPixeles(QApplication::font());
    fTitulos_ = fEtiquetas_;
    fTitulo_ = fEtiquetas_;
    fTitulo_.setBold(true);
    fTitulo_.setPixelSize(fEtiquetas_.pixelSize() + 2);
}

QFont TAppearance::EnPixeles(const QFont& f)
{
    if (f.pixelSize() > 0)
        return f;
    const QScreen* pantalla = QGuiApplication::primaryScreen();
    const double ppp = pantalla ? pantalla->logicalDotsPerInchY() : 96.0;
    QFont r(f);
    r.setPixelSize(std::max(1, int(std::lround(f.pointSizeF() * ppp / 72.0))));
    return r;
}

// ---- TLegend ---------------------------------------------------------------------------

TLegend::TLegend(TGrf& g) : TParteGrf(g), fuente_(TAppearance::EnPixeles(QApplication::font())) {}

// ---- TSeries ---------------------------------------------------------------------------

namespace {

bool MismaX(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

bool ClaveMenor(const QCPGraphData& d, double x)
{
    return d.key < x;
}

} // namespace

TSeries::TSeries(TGrf& g, QCPGraph* grafico, int indice)
    : g_(g), grafico_(grafico), color_(TGrf::ColorSerie(indice))
{
    grafico_->setAntialiased(false);
    grafico_->setAntialiasedScatters(false);
    AplicarEstilo();
}

void TSeries::AplicarEstilo()
{
    static const QCPScatterStyle::ScatterShape formas[] = {
        QCPScatterStyle::ssSquare, QCPScatterStyle::ssCircle, QCPScatterStyle::ssTriangle,
        QCPScatterStyle::ssTriangleInverted, QCPScatterStyle::ssCross, QCPScatterStyle::ssPlus,
        QCPScatterStyle::ssStar, QCPScatterStyle::ssDiamond};
    const QCPScatterStyle puntos = puntos_ ? QCPScatterStyle(formas[forma_], color_, 2 * tamano_ + 1)
                                           : QCPScatterStyle(QCPScatterStyle::ssNone);
    grafico_->setName(nombre_);
    grafico_->setPen(QPen(color_, 1));
    if (!lineas_)
        grafico_->setLineStyle(QCPGraph::lsNone);
    else
        grafico_->setLineStyle(g_.StepPlot() ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
    grafico_->setScatterStyle(puntos);
    if (curva_) {
        // A curve is never a staircase: its points need not rise in X.
        curva_->setName(nombre_);
        curva_->setPen(QPen(color_, 1));
        curva_->setLineStyle(lineas_ ? QCPCurve::lsLine : QCPCurve::lsNone);
        curva_->setScatterStyle(puntos);
    }
    g_.Cambiado();
}

int TSeries::NumPuntos() const
{
    return parametrica_ ? curva_->data()->size() : grafico_->data()->size();
}

double TSeries::ClaveEn(int i) const
{
    return parametrica_ ? (curva_->data()->constBegin() + i)->key : (grafico_->data()->constBegin() + i)->key;
}

double TSeries::ValorEn(int i) const
{
    return parametrica_ ? (curva_->data()->constBegin() + i)->value : (grafico_->data()->constBegin() + i)->value;
}

void TSeries::Vaciar()
{
    grafico_->data()->clear();
    DejarCurva();
    secuencia_.clear();
    contador_ = 0;
    g_.DatosCambiados();
}

void TSeries::DejarCurva()
{
    if (curva_)
        curva_->data()->clear();
    parametrica_ = false;
}

void TSeries::Explicitar()
{
    if (!secuencia_.empty() || NumPuntos() == 0)
        return;
    secuencia_.resize(NumPuntos());
    for (int i = 0; i < int(secuencia_.size()); ++i)
        secuencia_[i] = i + 1;
}

int TSeries::AnadirPunto(double x, double y)
{
    const int secuencia = Insertar(x, y);
    g_.DatosCambiados();
    return secuencia;
}

int TSeries::Insertar(double x, double y)
{
    if (parametrica_) {
        const int secuencia = ++contador_;
        curva_->data()->add(QCPCurveData(secuencia, x, y));
        return secuencia;
    }
    auto datos = grafico_->data();
    const int n = datos->size();
    const int secuencia = ++contador_;
    if (!g_.Appearance().AllowDuplicates() && n > 0) {
        const int j = int(std::lower_bound(datos->constBegin(), datos->constEnd(), x, ClaveMenor) - datos->constBegin());
        for (int c : {j - 1, j}) {
            if (c >= 0 && c < n && MismaX((datos->constBegin() + c)->key, x)) {
                Explicitar();
                (datos->begin() + c)->value = y;
                secuencia_[c] = secuencia;
                return secuencia;
            }
        }
    }
    // Where the container puts it: after equal keys at the end, before them elsewhere.
    int pos = n;
    if (n > 0 && x < (datos->constEnd() - 1)->key)
        pos = int(std::lower_bound(datos->constBegin(), datos->constEnd(), x, ClaveMenor) - datos->constBegin());
    if (!(secuencia_.empty() && pos == n)) {
        Explicitar();
        secuencia_.insert(secuencia_.begin() + pos, secuencia);
    }
    datos->add(QCPGraphData(x, y));
    return secuencia;
}

bool TSeries::LeerPunto(int secuencia, double& x, double& y) const
{
    const int n = NumPuntos();
    int i = -1;
    if (parametrica_ || secuencia_.empty()) {
        if (secuencia >= 1 && secuencia <= n)
            i = secuencia - 1;
    } else {
        const auto it = std::find(secuencia_.begin(), secuencia_.end(), secuencia);
        if (it != secuencia_.end())
            i = int(it - secuencia_.begin());
    }
    if (i < 0)
        return false;
    x = ClaveEn(i);
    y = ValorEn(i);
    return true;
}

int TSeries::Secuencia(int indice) const
{
    return parametrica_ || secuencia_.empty() ? indice + 1 : secuencia_[indice];
}

void TSeries::CargarOrdenados(int n, const std::function<double(int)>& y, double periodo)
{
    QVector<QCPGraphData> v(std::max(0, n));
    for (int k = 0; k < n; ++k)
        v[k] = QCPGraphData(k * periodo, y(k));
    DejarCurva();
    grafico_->data()->set(v, true);
    secuencia_.clear();
    contador_ = std::max(0, n);
    g_.DatosCambiados();
}

void TSeries::CargarMuestras(double periodo, std::span<const float> muestras)
{
    QVector<QCPGraphData> v(int(muestras.size()));
    for (int k = 0; k < int(muestras.size()); ++k)
        v[k] = QCPGraphData(k * periodo, muestras[k]);
    DejarCurva();
    grafico_->data()->set(v, true);
    secuencia_.clear();
    contador_ = int(muestras.size());
    g_.DatosCambiados();
}

void TSeries::CargarMuestras(double periodo, std::span<const std::uint8_t> bits, double bajo, double alto)
{
    CargarOrdenados(int(bits.size()), [&](int k) { return bits[k] ? alto : bajo; }, periodo);
}

void TSeries::CargarMuestras(double periodo, int n, const std::function<double(int)>& muestra)
{
    CargarOrdenados(n, muestra, periodo);
}

void TSeries::CargarXY(int n, const std::function<double(int)>& x, const std::function<double(int)>& y)
{
    struct TPar {
        double x, y;
        int secuencia;
    };
    std::vector<TPar> pares;
    pares.reserve(std::max(0, n));
    for (int k = 0; k < n; ++k)
        pares.push_back({x(k), y(k), k + 1});
    std::stable_sort(pares.begin(), pares.end(), [](const TPar& a, const TPar& b) { return a.x < b.x; });
    if (!g_.Appearance().AllowDuplicates()) {
        // A later pair at the X of a kept one replaces its Y and takes its number.
        std::vector<TPar> unicos;
        unicos.reserve(pares.size());
        for (const TPar& p : pares) {
            if (!unicos.empty() && MismaX(unicos.back().x, p.x)) {
                if (p.secuencia > unicos.back().secuencia) {
                    unicos.back().y = p.y;
                    unicos.back().secuencia = p.secuencia;
                }
            } else {
                unicos.push_back(p);
            }
        }
        pares.swap(unicos);
    }
    QVector<QCPGraphData> v(int(pares.size()));
    secuencia_.assign(pares.size(), 0);
    bool identidad = true;
    for (int i = 0; i < int(pares.size()); ++i) {
        v[i] = QCPGraphData(pares[i].x, pares[i].y);
        secuencia_[i] = pares[i].secuencia;
        identidad = identidad && pares[i].secuencia == i + 1;
    }
    DejarCurva();
    grafico_->data()->set(v, true);
    contador_ = std::max(0, n);
    if (identidad && contador_ == int(pares.size()))
        secuencia_.clear();
    g_.DatosCambiados();
}

void TSeries::CargarCurva(int n, const std::function<double(int)>& x, const std::function<double(int)>& y)
{
    n = std::max(0, n);
    if (!curva_) {
        curva_ = new TCurvaSerie(g_.xAxis, g_.yAxis, g_.dibujosSeries_);
        curva_->setAntialiased(false);
        curva_->setAntialiasedScatters(false);
    }
    QVector<QCPCurveData> v(n);
    for (int k = 0; k < n; ++k)
        v[k] = QCPCurveData(k + 1, x(k), y(k));
    curva_->data()->set(v, true);
    grafico_->data()->clear();
    secuencia_.clear();
    contador_ = n;
    parametrica_ = true;
    AplicarEstilo();
    g_.DatosCambiados();
}

namespace {

void Ampliar(double v, double& lo, double& hi, bool soloPositivos)
{
    if (!std::isfinite(v) || (soloPositivos && v <= 0))
        return;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
}

} // namespace

// X of a curve in any order; an X-ordered series has its limits at its ends.
void TSeries::RangoX(double& lo, double& hi, bool soloPositivos) const
{
    if (parametrica_) {
        const auto puntos = curva_->data();
        for (auto it = puntos->constBegin(); it != puntos->constEnd(); ++it)
            Ampliar(it->key, lo, hi, soloPositivos);
        return;
    }
    const auto datos = grafico_->data();
    auto primero = datos->constBegin();
    if (soloPositivos)
        primero = std::lower_bound(datos->constBegin(), datos->constEnd(), 0.0,
                                   [](const QCPGraphData& d, double x) { return d.key <= x; });
    if (primero == datos->constEnd())
        return;
    lo = std::min(lo, primero->key);
    hi = std::max(hi, (datos->constEnd() - 1)->key);
}

// A scan holds one reference to the data: a shared pointer taken per point costs two
// atomic operations each, which shows on a full memory of samples.
void TSeries::RangoY(double& lo, double& hi, bool soloPositivos) const
{
    if (parametrica_) {
        const auto puntos = curva_->data();
        for (auto it = puntos->constBegin(); it != puntos->constEnd(); ++it)
            Ampliar(it->value, lo, hi, soloPositivos);
        return;
    }
    const auto datos = grafico_->data();
    for (auto it = datos->constBegin(); it != datos->constEnd(); ++it)
        Ampliar(it->value, lo, hi, soloPositivos);
}

} // namespace qv

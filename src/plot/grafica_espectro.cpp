#include "plot/grafica_espectro.h"

#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/formatos.h"
#include "model/senales.h"
#include "plot/grafica_senales.h"
#include "plot/grf_capas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr int kTextoEscalas = 443;
constexpr int kTextoVentanas = 444;
constexpr int kTextoEjeFrecuencia = 445;
constexpr int kTextoPico = 447;

// The dB axis shows this much below the strongest bin: the floor of a 12-bit capture
// and the side lobes of every window, without stretching down to the -240 dB of zeros.
constexpr double kRangoDB = 120;

const QString kCapaCursor = QStringLiteral("cursor");

} // namespace

TEspectroMarcado CalcularEspectro(TAnalizadorEspectro& analizador, const TSenalAna& s, TTramo tramo,
                                  TVentanaFFT ventana)
{
    TEspectroMarcado r;
    tramo = AcotarTramo(tramo, s.NumMuestras());
    const int n = tramo.hasta - tramo.desde + 1;
    if (n < 2)
        return r;
    const float* x = s.Muestras().data() + tramo.desde;
    r.espectro = analizador.Calcular(x, n, s.Periodo(), ventana);
    const auto [minimo, maximo] = std::minmax_element(x, x + n);
    if (*maximo > *minimo)
        r.pico = analizador.Calcular(x, n, s.Periodo(), ventana, true).Pico(1);
    return r;
}

namespace {

// The names of a "|"-separated text. A language file that gives fewer keeps the built-in
// names for the rest, so that every choice stays on offer at its place.
QStringList Nombres(TTextos& textos, int clave, QStringList propios)
{
    const QStringList leidos = textos.BuscarTexto(clave).split(QLatin1Char('|'));
    for (qsizetype i = 0; i < std::min(leidos.size(), propios.size()); ++i)
        propios[i] = leidos[i];
    return propios;
}

} // namespace

QStringList NombresVentanas(TTextos& textos)
{
    return Nombres(textos, kTextoVentanas,
                   {QStringLiteral("Rectangular"), QStringLiteral("Hann"), QStringLiteral("Hamming"),
                    QStringLiteral("Blackman-Harris")});
}

QStringList NombresEscalas(TTextos& textos)
{
    return Nombres(textos, kTextoEscalas, {QStringLiteral("dB"), QStringLiteral("Lineal")});
}

QString TextoNivel(double lineal, TEscalaEspectro escala, const QString& unidad)
{
    if (escala == TEscalaEspectro::DB)
        return FormatoFijo(TEspectro::DB(lineal), 2) + QStringLiteral(" dB");
    return FormatoGeneral(lineal, 4) + QLatin1Char(' ') + unidad;
}

TGraficaEspectro::TGraficaEspectro(TTextos& textos, QWidget* parent) : QCustomPlot(parent), textos_(textos)
{
    setObjectName(QStringLiteral("GEspectro"));
    setFocusPolicy(Qt::StrongFocus);
    setBackground(Qt::white);
    xAxis->setLabel(textos.BuscarTexto(kTextoEjeFrecuencia));
    xAxis->grid()->setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));
    yAxis->grid()->setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));

    curva_ = new TGraficoSerie(xAxis, yAxis, dibujos_);
    curva_->setPen(QPen(QColor(0, 0, 160), 1));
    curva_->setAdaptiveSampling(true);

    marcaPico_ = new QCPItemTracer(this);
    marcaPico_->setStyle(QCPItemTracer::tsCircle);
    marcaPico_->setSize(9);
    marcaPico_->setPen(QPen(QColor(220, 0, 0), 1.5));
    marcaPico_->setClipToAxisRect(true);
    rotuloPico_ = new QCPItemText(this);
    rotuloPico_->position->setParentAnchor(marcaPico_->position);
    rotuloPico_->setColor(QColor(220, 0, 0));
    rotuloPico_->setPadding(QMargins(4, 2, 4, 2));
    rotuloPico_->setBrush(QBrush(QColor(255, 255, 255, 220)));
    rotuloPico_->setClipToAxisRect(true);

    // The cursor on a buffered layer above the curve.
    addLayer(kCapaCursor, layer(QStringLiteral("main")), QCustomPlot::limAbove);
    layer(kCapaCursor)->setMode(QCPLayer::lmBuffered);
    lineaCursor_ = new QCPItemStraightLine(this);
    lineaCursor_->setLayer(kCapaCursor);
    lineaCursor_->setPen(QPen(QColor(0, 140, 0), 1));
    lineaCursor_->setVisible(false);
    Dibujar();
}

void TGraficaEspectro::Cargar(TEspectroMarcado espectro, const QString& unidad)
{
    const TEspectro& antes = datos_.espectro;
    if (espectro.espectro.magnitud.size() != antes.magnitud.size() || espectro.espectro.resolucion != antes.resolucion)
        rangoX_.reset();
    datos_ = std::move(espectro);
    unidad_ = unidad;
    cursor_ = -1;
    lineaCursor_->setVisible(false);
    Dibujar();
}

void TGraficaEspectro::PonerEscala(TEscalaEspectro escala)
{
    if (escala == escala_)
        return;
    escala_ = escala;
    Dibujar();
}

QString TGraficaEspectro::TextoPico() const
{
    if (!datos_.pico)
        return {};
    return textos_.BuscarTexto(kTextoPico) + QStringLiteral(": ") + TextoFrecuencia(datos_.pico->frecuencia, textos_)
           + QStringLiteral(", ") + TextoNivel(datos_.pico->nivel, escala_, unidad_);
}

void TGraficaEspectro::Dibujar()
{
    const TEspectro& e = datos_.espectro;
    const bool db = escala_ == TEscalaEspectro::DB;
    yAxis->setLabel(textos_.BuscarTexto(clave::Nivel) + QStringLiteral(" (")
                    + (db ? QStringLiteral("dB") : unidad_) + QLatin1Char(')'));
    const int n = int(e.magnitud.size());
    // 0 Hz has no place on a logarithmic axis.
    const int primero = log_ ? std::min(1, n) : 0;
    QVector<QCPGraphData> puntos(n - primero);
    double maximo = db ? -1e300 : 0;
    for (int k = primero; k < n; ++k) {
        const double v = db ? TEspectro::DB(e.magnitud[std::size_t(k)]) : e.magnitud[std::size_t(k)];
        puntos[k - primero] = QCPGraphData(e.Frecuencia(k), v);
        maximo = std::max(maximo, v);
    }
    curva_->data()->set(puntos, true);
    if (log_) {
        xAxis->setScaleType(QCPAxis::stLogarithmic);
        if (!qSharedPointerDynamicCast<QCPAxisTickerLog>(xAxis->ticker()))
            xAxis->setTicker(QSharedPointer<QCPAxisTickerLog>::create());
    } else {
        xAxis->setScaleType(QCPAxis::stLinear);
        if (qSharedPointerDynamicCast<QCPAxisTickerLog>(xAxis->ticker()))
            xAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    }
    const QCPRange completo = RangoCompleto();
    if (rangoX_ && !(completo.contains(rangoX_->lower) && completo.contains(rangoX_->upper)))
        rangoX_.reset();
    xAxis->setRange(rangoX_ ? *rangoX_ : completo);
    if (n == 0)
        yAxis->setRange(db ? -kRangoDB : 0, db ? 0 : 1);
    else if (db)
        yAxis->setRange(maximo - kRangoDB, maximo + 10);
    else
        yAxis->setRange(0, maximo > 0 ? maximo * 1.1 : 1);

    const bool conPico = datos_.pico.has_value();
    marcaPico_->setVisible(conPico);
    rotuloPico_->setVisible(conPico && rotulo_);
    if (conPico) {
        const TPicoEspectro& p = *datos_.pico;
        marcaPico_->position->setCoords(p.frecuencia, db ? TEspectro::DB(p.nivel) : p.nivel);
        rotuloPico_->setText(TextoPico());
        // The label beside the mark, on the side with room for it.
        const bool derecha = n > 1 && p.frecuencia > 0.6 * e.Frecuencia(n - 1);
        rotuloPico_->setPositionAlignment(Qt::AlignBottom | (derecha ? Qt::AlignRight : Qt::AlignLeft));
        rotuloPico_->position->setCoords(derecha ? -6 : 6, -6);
    }
    replot();
}

QCPRange TGraficaEspectro::RangoCompleto() const
{
    const TEspectro& e = datos_.espectro;
    const int n = int(e.magnitud.size());
    if (n < 2 || !(e.resolucion > 0))
        return log_ ? QCPRange(1, 10) : QCPRange(0, 1);
    return QCPRange(log_ ? e.Frecuencia(1) : 0, e.Frecuencia(n - 1));
}

void TGraficaEspectro::MostrarFrecuencias(double desde, double hasta)
{
    const QCPRange completo = RangoCompleto();
    const double resolucion = datos_.espectro.resolucion > 0 ? datos_.espectro.resolucion : 1;
    if (desde > hasta)
        std::swap(desde, hasta);
    if (log_) {
        // A log axis moves and zooms by ratios.
        const double minimo = std::max(completo.lower, 1e-12);
        desde = std::max(desde, minimo);
        hasta = std::max(hasta, desde * 1.5);
        const double ancho = std::min(hasta / desde, completo.upper / minimo);
        desde = std::clamp(desde, minimo, completo.upper / ancho);
        hasta = desde * ancho;
    } else {
        // At least four bins, never past either end.
        const double ancho = std::clamp(hasta - desde, std::min(4 * resolucion, completo.size()), completo.size());
        desde = std::clamp(desde, completo.lower, completo.upper - ancho);
        hasta = desde + ancho;
    }
    const QCPRange r(desde, hasta);
    if (qFuzzyCompare(r.lower + 1, completo.lower + 1) && qFuzzyCompare(r.upper, completo.upper))
        rangoX_.reset();
    else
        rangoX_ = r;
    xAxis->setRange(r);
    replot();
}

void TGraficaEspectro::ArmarZoom()
{
    zoomArmado_ = true;
    setCursor(Qt::CrossCursor);
}

void TGraficaEspectro::DeshacerZoom()
{
    zoomArmado_ = false;
    unsetCursor();
    rangoX_.reset();
    Dibujar();
}

void TGraficaEspectro::PonerFrecuenciaLog(bool on)
{
    if (on == log_)
        return;
    log_ = on;
    rangoX_.reset();
    if (log_ && cursor_ == 0)
        PonerCursor(1);
    Dibujar();
}

void TGraficaEspectro::PonerRotuloPico(bool on)
{
    rotulo_ = on;
    rotuloPico_->setVisible(on && datos_.pico.has_value());
    replot();
}

int TGraficaEspectro::BinEnPixel(double px) const
{
    const TEspectro& e = datos_.espectro;
    if (e.Vacio() || !(e.resolucion > 0))
        return -1;
    const double f = xAxis->pixelToCoord(px);
    return std::clamp(int(std::lround(f / e.resolucion)), 0, int(e.magnitud.size()) - 1);
}

void TGraficaEspectro::PonerCursor(int bin)
{
    const TEspectro& e = datos_.espectro;
    if (e.Vacio())
        return;
    bin = std::clamp(bin, log_ ? std::min(1, int(e.magnitud.size()) - 1) : 0, int(e.magnitud.size()) - 1);
    if (bin == cursor_)
        return;
    cursor_ = bin;
    const double f = e.Frecuencia(bin);
    lineaCursor_->point1->setCoords(f, 0);
    lineaCursor_->point2->setCoords(f, 1);
    lineaCursor_->setVisible(true);
    layer(kCapaCursor)->replot();
    Q_EMIT CursorMovido(bin);
}

void TGraficaEspectro::CursorEnPixel(double px)
{
    const QRect area = axisRect()->rect();
    const int bin = BinEnPixel(std::clamp(px, double(area.left()), double(area.right())));
    if (bin >= 0)
        PonerCursor(bin);
}

void TGraficaEspectro::mousePressEvent(QMouseEvent* e)
{
    // Armed for one press, whatever the button.
    const bool zoom = e->button() == Qt::LeftButton && (zoomArmado_ || (e->modifiers() & Qt::ShiftModifier));
    if (zoomArmado_) {
        zoomArmado_ = false;
        unsetCursor();
    }
    setSelectionRectMode(zoom ? QCP::srmZoom : QCP::srmNone);
    if (e->button() == Qt::LeftButton && !zoom)
        CursorEnPixel(e->position().x());
    if (e->button() == Qt::RightButton)
        arrastre_ = e->position().x();
    QCustomPlot::mousePressEvent(e);
}

void TGraficaEspectro::mouseMoveEvent(QMouseEvent* e)
{
    if ((e->buttons() & Qt::LeftButton) && selectionRectMode() != QCP::srmZoom)
        CursorEnPixel(e->position().x());
    if ((e->buttons() & Qt::RightButton) && arrastre_) {
        // The frequencies under the pointer follow it.
        const double antes = xAxis->pixelToCoord(*arrastre_), ahora = xAxis->pixelToCoord(e->position().x());
        const QCPRange r = xAxis->range();
        if (log_ && antes > 0 && ahora > 0)
            MostrarFrecuencias(r.lower * antes / ahora, r.upper * antes / ahora);
        else if (!log_)
            MostrarFrecuencias(r.lower + antes - ahora, r.upper + antes - ahora);
        arrastre_ = e->position().x();
    }
    QCustomPlot::mouseMoveEvent(e);
}

void TGraficaEspectro::mouseReleaseEvent(QMouseEvent* e)
{
    const bool zoom = selectionRectMode() == QCP::srmZoom;
    QCustomPlot::mouseReleaseEvent(e);
    arrastre_.reset();
    if (zoom) {
        // The library has shown the rectangle's ranges; the frequencies are kept in bounds.
        setSelectionRectMode(QCP::srmNone);
        const QCPRange r = xAxis->range();
        MostrarFrecuencias(r.lower, r.upper);
    }
}

void TGraficaEspectro::wheelEvent(QWheelEvent* e)
{
    const double pasos = e->angleDelta().y() / 120.0;
    if (pasos == 0 || datos_.espectro.Vacio()) {
        e->ignore();
        return;
    }
    const QCPRange r = xAxis->range();
    if (e->modifiers() & Qt::ShiftModifier) {
        // A tenth of the view per step, up the axis for a wheel turned away.
        if (log_)
            MostrarFrecuencias(r.lower * std::pow(r.upper / r.lower, 0.1 * pasos),
                               r.upper * std::pow(r.upper / r.lower, 0.1 * pasos));
        else
            MostrarFrecuencias(r.lower + 0.1 * pasos * r.size(), r.upper + 0.1 * pasos * r.size());
    } else {
        // Turned away from the user: closer, about the frequency under the pointer.
        const double f = std::pow(0.8, pasos);
        const double centro = xAxis->pixelToCoord(e->position().x());
        if (log_ && centro > 0)
            MostrarFrecuencias(centro * std::pow(r.lower / centro, f), centro * std::pow(r.upper / centro, f));
        else if (!log_)
            MostrarFrecuencias(centro + (r.lower - centro) * f, centro + (r.upper - centro) * f);
    }
    e->accept();
}

// Arrows step one bin, Page keys a tenth of the axis, Home and End go to the ends; the
// peak is reached with "P".
void TGraficaEspectro::keyPressEvent(QKeyEvent* e)
{
    const int n = int(datos_.espectro.magnitud.size());
    const int actual = cursor_ < 0 ? 0 : cursor_;
    switch (e->key()) {
    case Qt::Key_Right: PonerCursor(cursor_ < 0 ? 0 : actual + 1); break;
    case Qt::Key_Left: PonerCursor(actual - 1); break;
    case Qt::Key_PageUp: PonerCursor(actual + std::max(1, n / 10)); break;
    case Qt::Key_PageDown: PonerCursor(actual - std::max(1, n / 10)); break;
    case Qt::Key_Home: PonerCursor(0); break;
    case Qt::Key_End: PonerCursor(n - 1); break;
    case Qt::Key_P:
        if (datos_.pico)
            PonerCursor(datos_.pico->bin);
        break;
    default: QCustomPlot::keyPressEvent(e); return;
    }
    e->accept();
}

bool GuardarGraficaEspectro(const TCjtSenales& set, TTextos& textos, const QString& nombre, TVentanaFFT ventana,
                            TEscalaEspectro escala, QSize tamano, const QString& salida, QString& error)
{
    const TFormatoImagen formato = FormatoParaDibujar(salida, error);
    if (formato == TFormatoImagen::Desconocido)
        return false;
    const TSenalAna* s = set.BuscarAna(nombre);
    if (!s) {
        error = QStringLiteral("the file holds no analog signal named %1").arg(nombre);
        return false;
    }
    TAnalizadorEspectro analizador;
    TEspectroMarcado espectro = CalcularEspectro(analizador, *s, {}, ventana);
    if (espectro.espectro.Vacio()) {
        error = QStringLiteral("%1 has too few samples for a spectrum").arg(nombre);
        return false;
    }
    TGraficaEspectro g(textos);
    g.resize(tamano);
    g.setViewport(QRect(QPoint(0, 0), tamano));
    g.PonerEscala(escala);
    g.Cargar(std::move(espectro), s->Unidad);
    g.plotLayout()->insertRow(0);
    g.plotLayout()->addElement(0, 0, new QCPTextElement(&g, s->Nombre(), QFont(g.font().family(), 10, QFont::Bold)));
    g.replot();
    return GuardarImagen(salida, formato, tamano, PintorGrafica(g), &error);
}

} // namespace qv

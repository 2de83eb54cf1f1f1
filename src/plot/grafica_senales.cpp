#include "plot/grafica_senales.h"

#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/senales.h"
#include "plot/grf.h"
#include "plot/imagenes.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr int kTextoEjeTiempo = clave::EjeTiempo;
constexpr int kTextoEscalasIncoherentes = 37017;
constexpr int kMaxAnalogicas = 8;
constexpr int kMaxDigitales = 16;

// Periods compared to the microsecond.
double Microsegundos(double periodo)
{
    return std::round(periodo * 1e6) / 1e6;
}

const TSenal* Buscar(const TCjtSenales& set, const QString& nombre)
{
    if (const TSenal* a = set.BuscarAna(nombre))
        return a;
    return set.BuscarDig(nombre);
}

void PrepararLeyenda(TGrf& g, int ancho)
{
    TLegend& l = g.Legend();
    l.PonerVisible(true);
    l.PonerBorderStyle(TLegend::Borde::Simple);
    l.PonerLayout(TLegend::Disposicion::HaciaAbajo);
    l.PonerWidth(ancho);
    l.PonerSymbolSpace(10);
    g.Dimensions().PonerRightMargin(150); // room for the legend
}

// The X range ends at the longest signal, so that none is cut off.
void EjeHastaElFinal(TGrf& g, double duracion, double periodo)
{
    if (duracion <= 0)
        duracion = periodo > 0 ? periodo : 1;
    g.XAxis().PonerMin(0);
    g.XAxis().PonerMax(duracion);
}

} // namespace

void FiltrarVisibles(const TCjtSenales& set, QStringList& visibles, QStringList& ocultas, int max)
{
    if (!visibles.isEmpty()) {
        const TSenal* primera = Buscar(set, visibles.first());
        const double referencia = primera ? Microsegundos(primera->Periodo()) : 0;
        QStringList iguales{visibles.first()};
        for (qsizetype i = 1; i < visibles.size(); ++i) {
            const TSenal* s = Buscar(set, visibles[i]);
            if (s && Microsegundos(s->Periodo()) == referencia)
                iguales << visibles[i];
            else
                ocultas << visibles[i];
        }
        visibles = iguales;
    }
    // The surplus goes last first, so that the hidden list keeps the set's order.
    QStringList sobrantes;
    while (visibles.size() > max)
        sobrantes.prepend(visibles.takeLast());
    ocultas << sobrantes;
}

void PrepararGraficaAnalogica(TGrf& g, TTextos& textos)
{
    g.Appearance().PonerErrorCaption(textos.BuscarTexto(kTextoEscalasIncoherentes));
    g.XAxis().PonerTitle(QStringLiteral(" seg "));
    // Units go with the legend's names.
    g.YAxis().PonerTitle(QStringLiteral("   "));
    g.Appearance().PonerGraphTitle(QStringLiteral("   "));
    g.XAxis().PonerAutoSizing(true);
    g.YAxis().PonerAutoSizing(true);
    g.XAxis().PonerGridlines(true);
    g.YAxis().PonerGridlines(true);
    g.YAxis_Second().PonerShowAxis(false);
    TDimensions& d = g.Dimensions();
    d.PonerLeftMargin(50);
    d.PonerXAxisTitleOffset(5);
    d.PonerYAxisTitleOffset(10);
    TAppearance& a = g.Appearance();
    a.PonerBackgroundColor(Qt::white);
    a.PonerMarginColor(Qt::white);
    a.PonerGridColor(QColor(128, 128, 128));
    a.PonerCrossAtZero(true);
    a.PonerAllowDuplicates(false);
    PrepararLeyenda(g, 100);
}

void PrepararGraficaDigital(TGrf& g, TTextos& textos)
{
    g.Appearance().PonerErrorCaption(textos.BuscarTexto(kTextoEscalasIncoherentes));
    TAxis& y = g.YAxis();
    y.PonerMin(0);
    y.PonerMax(100);
    y.PonerAutoStepping(false);
    y.PonerAutoLabelDecimals(false);
    y.PonerLabelDecimals(0);
    y.PonerGridlines(true);
    g.XAxis().PonerAutoSizing(true);
    g.XAxis().PonerGridlines(true);
    g.Dimensions().PonerLeftMargin(30);
    TAppearance& a = g.Appearance();
    a.PonerAllowDuplicates(true);
    QFont f(QStringLiteral("Small Fonts"));
    f.setPixelSize(9);
    a.PonerLabelFont(f);
    a.PonerTitleFont(a.LabelFont());
    a.PonerGraphTitle(textos.BuscarTexto(clave::Titulo));
    g.XAxis().PonerTitle(textos.BuscarTexto(kTextoEjeTiempo));
    PrepararLeyenda(g, 125);
    g.Legend().PonerInvertida(true); // the first trace is the lowest
}

QString NombreSerie(const TSenalAna& s)
{
    return s.Nombre() + QLatin1Char('(') + s.Unidad + QLatin1Char(')');
}

void CargarAnalogicas(TGrf& g, const TCjtSenales& set, const QStringList& nombres, const TSenalAna* ejeX,
                      TTextos& textos)
{
    g.XAxis().PonerAutoSizing(true);
    g.XAxis().PonerTitle(ejeX ? ejeX->Nombre() : textos.BuscarTexto(kTextoEjeTiempo));
    g.PonerStepPlot(!ejeX);
    g.PonerEjesComparables(false);
    double duracion = 0;
    for (int k = 0; k < nombres.size() && !(ejeX && k > 0); ++k) {
        TSeries& serie = g.Serie(k);
        serie.PonerPuntos(false);
        if (const TSenalAna* s = set.BuscarAna(nombres[k])) {
            serie.PonerNombre(NombreSerie(*s));
            serie.PonerFormaPunto(1);
            duracion = std::max(duracion, s->Duracion());
            if (!ejeX) {
                serie.CargarMuestras(s->Periodo(), s->Muestras());
                continue;
            }
            // Pairs up to the end of the shorter signal; no sample past a signal's end is
            // read. Every pair is kept and joined to the next in time: a loop stays a loop.
            // An output's last sample is the rest level it is forced to, not a point
            // of its curve: it would draw a line from the loop to 0.
            int n = std::min(s->NumMuestras(), ejeX->NumMuestras());
            for (const TSenalAna* e : {s, ejeX})
                if (e->Origen() == OrigenSenal::Generador && n == e->NumMuestras() && n > 1)
                    --n;
            g.PonerEjesComparables(s->Unidad == ejeX->Unidad);
            serie.CargarCurva(
                n, [ejeX](int i) { return double(ejeX->LeerMuestra(i)); },
                [s](int i) { return double(s->LeerMuestra(i)); });
        } else if (const TSenalDig* d = set.BuscarDig(nombres[k])) {
            serie.PonerNombre(d->Nombre());
            duracion = std::max(duracion, d->Duracion());
            // A digital signal is a 0 V / 5 V staircase in time; it has no points in an XY plot.
            if (!ejeX)
                serie.CargarMuestras(d->Periodo(), d->Muestras(), 0.0, 5.0);
        }
    }
    if (!ejeX && !nombres.isEmpty())
        EjeHastaElFinal(g, duracion, Buscar(set, nombres.first())->Periodo());
}

std::vector<double> CargarDigitales(TGrf& g, const TCjtSenales& set, const QStringList& nombres)
{
    // Half a band, and the low and high levels of the next trace.
    const double medio = nombres.isEmpty() ? 0 : 100.0 / (2 * nombres.size());
    double bajo = medio, alto = 2 * medio;
    if (medio > 0)
        g.YAxis().PonerStepSize(medio);
    std::vector<double> altos;
    double duracion = 0;
    for (int k = 0; k < nombres.size(); ++k) {
        const TSenalDig& d = *set.BuscarDig(nombres[k]);
        TSeries& serie = g.Serie(k);
        serie.PonerNombre(d.Nombre());
        serie.PonerPuntos(false);
        duracion = std::max(duracion, d.Duracion());
        serie.CargarMuestras(d.Periodo(), d.Muestras(), bajo, alto);
        altos.push_back(alto);
        bajo = alto + medio;
        alto = bajo + medio;
    }
    if (!nombres.isEmpty())
        EjeHastaElFinal(g, duracion, set.BuscarDig(nombres.first())->Periodo());
    return altos;
}

void ColocarLeyenda(TGrf& g, int senales)
{
    TLegend& l = g.Legend();
    const int alto = g.height() - 20;
    // A graph too small for a legend shows none.
    if (alto <= 0 || g.width() <= 135) {
        l.PonerVisible(false);
        return;
    }
    // 125 pixels, or wider for long names (a name and its unit), up to a third of the
    // graph; the plot's right margin follows the legend.
    const QFontMetrics fm(l.Font());
    int nombre = 0;
    for (int k = 0; k < g.NumSeries(); ++k)
        nombre = std::max(nombre, fm.horizontalAdvance(g.Serie(k).Nombre()));
    const int ancho = std::clamp(4 + 20 + l.SymbolSpace() + nombre + 8, 125, std::max(125, g.width() / 3));
    l.PonerTop(10);
    l.PonerHeight(alto);
    l.PonerWidth(ancho);
    l.PonerLeft(g.width() - l.Width() - 10);
    if (g.Dimensions().RightMargin() != ancho + 25)
        g.Dimensions().PonerRightMargin(ancho + 25);
    l.PonerBorderStyle(TLegend::Borde::Simple);
    l.PonerYMargin(int(alto / (senales + 1)));
    l.PonerVisible(true);
}

TFormatoImagen FormatoParaDibujar(const QString& salida, QString& error)
{
    if (!QApplication::instance()) {
        error = QStringLiteral("drawing needs the application object");
        return TFormatoImagen::Desconocido;
    }
    const TFormatoImagen formato = FormatoDeFichero(salida);
    if (formato == TFormatoImagen::Desconocido)
        error = QStringLiteral("the output must end in .png, .svg, .pdf, .wmf or .bmp");
    return formato;
}

bool GuardarGraficaSenales(const TCjtSenales& set, TTextos& textos, const QStringList& nombres, bool digital,
                           const QString& ejeX, QSize tamano, const QString& salida, QString& error)
{
    const TFormatoImagen formato = FormatoParaDibujar(salida, error);
    if (formato == TFormatoImagen::Desconocido)
        return false;
    const TSenalAna* x = digital || ejeX.isEmpty() ? nullptr : set.BuscarAna(ejeX);
    QStringList visibles = nombres, ocultas;
    if (visibles.isEmpty()) {
        visibles = digital ? set.NombresDig() : set.NombresAna() + set.NombresDig();
        FiltrarVisibles(set, visibles, ocultas, digital ? kMaxDigitales : kMaxAnalogicas);
        // Left to choose, the plot is of another signal than X itself.
        if (x && visibles.size() > 1)
            visibles.removeAll(ejeX);
    }
    // A name the set lacks is not drawn.
    visibles.removeIf([&](const QString& n) { return digital ? !set.BuscarDig(n) : !Buscar(set, n); });
    if (visibles.isEmpty()) {
        error = digital ? QStringLiteral("the file holds no digital signal to draw")
                        : QStringLiteral("the file holds no signal to draw");
        return false;
    }
    if (x)
        visibles = visibles.mid(0, 1);
    TGrf g;
    g.resize(tamano);
    // A widget that is never shown gets no resize event: the graph is laid out here.
    g.setViewport(QRect(QPoint(0, 0), tamano));
    if (digital) {
        PrepararGraficaDigital(g, textos);
        g.PonerDigitalLabels(true);
        CargarDigitales(g, set, visibles);
    } else {
        PrepararGraficaAnalogica(g, textos);
        CargarAnalogicas(g, set, visibles, x, textos);
    }
    ColocarLeyenda(g, int(visibles.size()));
    g.replot();
    return GuardarImagen(salida, formato, tamano, PintorGrafica(g), &error);
}

} // namespace qv

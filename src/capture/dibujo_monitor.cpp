#include "capture/dibujo_monitor.h"

#include "plot/grf.h"

#include <QWidget>

namespace qv {

TDibujoMonitorGrafica::TDibujoMonitorGrafica(QWidget* padre, const QString& titulo)
{
    xygraph = new TGrf(padre);
    xygraph->setObjectName(QStringLiteral("xygraph"));
    xygraphatras = new QWidget(padre);
    xygraphatras->setObjectName(QStringLiteral("xygraphatras"));
    xygraphatras->setAutoFillBackground(true);
    xygraph->XAxis().PonerTitle(titulo);
    xygraph->YAxis().PonerAutoSizing(false);
    xygraph->YAxis().PonerMin(-10);
    xygraph->YAxis().PonerMax(10);
    xygraph->XAxis().PonerAutoSizing(false);
    // Live points are joined by straight segments, as they come.
    xygraph->PonerStepPlot(false);
    // The legend sits right of the plot area, never over the last seconds of the curves.
    xygraph->Legend().PonerWidth(AnchoLeyenda);
    xygraph->Dimensions().PonerRightMargin(AnchoLeyenda + 30);
    xygraph->Legend().PonerVisible(true);
}

void TDibujoMonitorGrafica::Empezar(double duracion)
{
    xygraphatras->show();
    xygraphatras->raise();
    xygraph->PonerPlotting(false);
    xygraph->LiberarSeries();
    xygraph->XAxis().PonerMin(0);
    xygraph->XAxis().PonerMax(duracion > 0 ? duracion : 1);
    // The legend on the right, as tall as the window allows.
    const int alto = std::max(60, xygraph->height() - 40);
    xygraph->Legend().PonerHeight(alto);
    xygraph->Legend().PonerLeft(std::max(0, xygraph->width() - xygraph->Legend().Width() - 15));
    xygraph->Legend().PonerYMargin(alto / 11);
}

int TDibujoMonitorGrafica::NuevaSerie(const QString& nombre)
{
    const int i = xygraph->NumSeries();
    xygraph->Serie(i).PonerNombre(nombre);
    return i;
}

void TDibujoMonitorGrafica::PonerDatos(int serie, const QVector<double>& x, const QVector<double>& y)
{
    const double periodo = x.size() > 1 ? x[1] - x[0] : 0;
    TSeries& s = xygraph->Serie(serie);
    if (periodo > 0)
        s.CargarMuestras(periodo, int(y.size()), [&y](int k) { return y[k]; });
    else
        s.CargarXY(int(x.size()), [&x](int k) { return x[k]; }, [&y](int k) { return y[k]; });
}

void TDibujoMonitorGrafica::Extender(int serie, double x, double y)
{
    xygraph->ExtenderSerie(serie, x, y);
}

void TDibujoMonitorGrafica::Terminar()
{
    xygraph->PonerPlotting(true);
    xygraph->Redibujar();
    xygraphatras->hide();
}

} // namespace qv

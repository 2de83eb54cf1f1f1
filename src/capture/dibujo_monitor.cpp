#include "capture/dibujo_monitor.h"

#include <QWidget>
#include <qcustomplot.h>

namespace qv {

TDibujoMonitorGrafica::TDibujoMonitorGrafica(QWidget* padre, const QString& titulo)
{
    xygraph = new QCustomPlot(padre);
    xygraph->setObjectName(QStringLiteral("xygraph"));
    xygraphatras = new QWidget(padre);
    xygraphatras->setObjectName(QStringLiteral("xygraphatras"));
    xygraphatras->setAutoFillBackground(true);
    xygraph->plotLayout()->insertRow(0);
    xygraph->plotLayout()->addElement(0, 0, new QCPTextElement(xygraph, titulo));
    xygraph->yAxis->setRange(-10, 10);
    xygraph->legend->setVisible(true);
    xygraph->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignRight | Qt::AlignTop);
}

void TDibujoMonitorGrafica::Empezar(double duracion)
{
    xygraphatras->show();
    xygraphatras->raise();
    xygraph->clearGraphs();
    xygraph->xAxis->setRange(0, duracion > 0 ? duracion : 1);
    xygraph->yAxis->setRange(-10, 10);
}

int TDibujoMonitorGrafica::NuevaSerie(const QString& nombre)
{
    QCPGraph* g = xygraph->addGraph();
    g->setName(nombre);
    g->setLineStyle(QCPGraph::lsStepLeft);
    static const QColor colores[] = {Qt::blue, Qt::red, QColor(0, 140, 0), Qt::magenta, QColor(200, 120, 0),
                                     Qt::darkCyan, Qt::darkBlue, Qt::darkRed, Qt::darkGreen, Qt::black};
    g->setPen(QPen(colores[(xygraph->graphCount() - 1) % 10]));
    return xygraph->graphCount() - 1;
}

void TDibujoMonitorGrafica::PonerDatos(int serie, const QVector<double>& x, const QVector<double>& y)
{
    xygraph->graph(serie)->setData(x, y, true);
}

void TDibujoMonitorGrafica::Extender(int serie, double x, double y)
{
    xygraph->graph(serie)->addData(x, y);
    if (!xygraphatras->isVisible())
        xygraph->replot(QCustomPlot::rpQueuedReplot);
}

void TDibujoMonitorGrafica::Terminar()
{
    xygraphatras->hide();
    xygraph->replot();
}

} // namespace qv

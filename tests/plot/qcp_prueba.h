#pragma once

// A plain QCustomPlot like the program's signal windows: two curves, axis labels
// with accents, a legend.

#include "plot/qcp.h"

#include <QString>
#include <cmath>
#include <memory>

namespace qv::test {

inline constexpr int MuestrasGrafica = 25;

inline std::unique_ptr<QCustomPlot> GraficaDePrueba(const QSize& tamano = QSize(600, 400))
{
    auto g = std::make_unique<QCustomPlot>();
    g->resize(tamano);
    // A hidden widget gets its resize event only when shown; lay the graph out now.
    g->setViewport(QRect(QPoint(0, 0), tamano));
    g->legend->setVisible(true);
    g->xAxis->setLabel(QStringLiteral("Tiempo (s)"));
    g->yAxis->setLabel(QString::fromUtf8("Tensión ±10V"));
    QCPGraph* seno = g->addGraph();
    seno->setName(QString::fromUtf8("Señal 1"));
    seno->setPen(QPen(QColor(200, 0, 0), 2));
    QCPGraph* rampa = g->addGraph();
    rampa->setName(QString::fromUtf8("Rampa á"));
    rampa->setPen(QPen(QColor(0, 0, 200), 1, Qt::DashLine));
    for (int i = 0; i < MuestrasGrafica; ++i) {
        seno->addData(i * 0.1, 5.0 * std::sin(i * 0.5));
        rampa->addData(i * 0.1, -4.0 + 0.3 * i);
    }
    g->rescaleAxes();
    g->yAxis->setRange(-6, 6);
    g->replot();
    return g;
}

} // namespace qv::test

#pragma once

#include "capture/monitor.h"

class QCustomPlot;
class QWidget;

namespace qv {

// The monitoring graph: a plot whose series grow point by point, covered by a blank
// twin (xygraphatras) while it is being set up.
class TDibujoMonitorGrafica : public IDibujoMonitor {
public:
    TDibujoMonitorGrafica(QWidget* padre, const QString& titulo);

    void Empezar(double duracion) override;
    int NuevaSerie(const QString& nombre) override;
    void PonerDatos(int serie, const QVector<double>& x, const QVector<double>& y) override;
    void Extender(int serie, double x, double y) override;
    void Terminar() override;

    QCustomPlot* xygraph;
    QWidget* xygraphatras;
};

} // namespace qv

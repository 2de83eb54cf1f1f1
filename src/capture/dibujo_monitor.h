#pragma once

#include "capture/monitor.h"

class QWidget;

namespace qv {

class TGrf;

// The monitoring graph: a graph control (xygraph) whose series grow point by point, each
// new piece drawn on top of what is there, covered by a blank twin (xygraphatras) while
// it is being set up. Y is fixed to -10 .. 10 V, X runs over the capture's length.
class TDibujoMonitorGrafica : public IDibujoMonitor {
public:
    static constexpr int AnchoLeyenda = 110;

    TDibujoMonitorGrafica(QWidget* padre, const QString& titulo);

    void Empezar(double duracion) override;
    int NuevaSerie(const QString& nombre) override;
    void PonerDatos(int serie, const QVector<double>& x, const QVector<double>& y) override;
    void Extender(int serie, double x, double y) override;
    void Terminar() override;

    TGrf* xygraph;
    QWidget* xygraphatras;
};

} // namespace qv

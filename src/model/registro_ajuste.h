#pragma once

#include <QString>

#include <vector>

namespace qv {

// One parameter of a fitted model, with its standard error.
struct TParametroAjuste {
    QString Nombre;
    double Valor = 0;
    double Error = 0;
};

// What a signal set keeps of a curve fit, beside the fitted signal itself (an ordinary
// calculated signal): the model, the data and span it was fitted to, the parameters and
// the statistics. Kept in the signal file after the window notes.
struct TRegistroAjuste {
    QString Senal;     // the fitted signal in the set
    QString Datos;     // the signal that was fitted
    QString Modelo;    // the model's key ("exp", "poly3", "expr", ...)
    QString Expresion; // the formula of an "expr" model
    int Desde = 0;     // the span, in samples of the data
    int Hasta = 0;
    double R2 = 0;
    double Rms = 0;
    std::vector<TParametroAjuste> Parametros;
};

} // namespace qv

#pragma once

#include "model/medidas.h"

#include <QWidget>

class QLabel;
class QTableWidget;
class QToolButton;

namespace qv {

class TTextos;

// The measurement panel of the signal windows ("PMedidas"): one row per shown signal in
// the grid SGMedidas, one column per measurement, over the span the caption LRTramo
// names; SBcopiar puts the table on the clipboard as text, SBcerrarMedidas hides it.
class TPanelMedidas : public QWidget {
    Q_OBJECT
public:
    static constexpr int Alto = 150;

    TPanelMedidas(TTextos& textos, QWidget* parent);

    // Shows the table of the span [desde, hasta] seconds; `entreCursores` says whether
    // that span is the cursors' or the whole signal.
    void Mostrar(TTablaMedidas tabla, bool entreCursores, double desde, double hasta);
    const TTablaMedidas& Tabla() const { return tabla_; }
    // The table as the clipboard gets it.
    QString Texto() const;
    void Copiar();
    void AplicarTextos();

Q_SIGNALS:
    void Cerrar();

private:
    void PonerTramo();

    TTextos& textos_;
    QStringList cabecera_; // the grid's column headers
    TTablaMedidas tabla_;
    bool entreCursores_ = false;
    double desde_ = 0, hasta_ = 0;
    QLabel* LMedidas;
    QLabel* LRTramo;
    QTableWidget* SGMedidas;
    QToolButton* SBcopiar;
    QToolButton* SBcerrarMedidas;
};

} // namespace qv

#pragma once

#include "model/servicio_decodificacion.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <vector>

class QLabel;
class QTableView;
class QToolButton;

namespace qv {

class TTextos;

// Every annotation of a window's decodings, by time: one row each with its start (s), the
// decoder's row it is drawn in and its text.
class TModeloAnotaciones : public QAbstractTableModel {
    Q_OBJECT
public:
    struct TDecodificada {
        TResultadoCompartido Resultado;
        QString Prefijo; // before the row's name when the window shows several decodings
    };
    explicit TModeloAnotaciones(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void Poner(std::vector<TDecodificada> decodificadas);
    void PonerCabecera(QStringList cabecera);

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& i, int rol) const override;
    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;

    // The annotation of a table row and the result it belongs to.
    const TAnotacionDecod* Anotacion(int fila, const TResultadoDecod** resultado = nullptr) const;
    // Every annotation shown, as one result (rows of all decodings), for the CSV.
    TResultadoDecod Todo() const;

private:
    std::vector<TDecodificada> decodificadas_;
    std::vector<std::pair<int, int>> filas_; // (decoding, annotation), by start time
    QStringList cabecera_;
};

// The panel of a digital window with its decodings' annotations ("PDecodificacion"):
// the caption LDecodificacion (how many, or the progress of a decoding under way), the
// table TablaDecod, BtnExportarCSV and SBcerrarDecod.
class TPanelDecodificacion : public QWidget {
    Q_OBJECT
public:
    static constexpr int Alto = 150;

    TPanelDecodificacion(TTextos& textos, QWidget* parent);

    void Mostrar(std::vector<TModeloAnotaciones::TDecodificada> decodificadas);
    // Progress of the decoding under way, -1 when none runs.
    void PonerProgreso(int porcentaje);
    void AplicarTextos();
    TModeloAnotaciones& Modelo() const { return *modelo_; }
    QTableView& Tabla() const { return *TablaDecod; }

Q_SIGNALS:
    // A row of the table was clicked: its annotation's span, seconds.
    void Elegida(double desde, double hasta);
    void ExportarCsv();
    void Cerrar();

private:
    void PonerTitulo();

    TTextos& textos_;
    TModeloAnotaciones* modelo_;
    int progreso_ = -1;
    QLabel* LDecodificacion;
    QTableView* TablaDecod;
    QToolButton* BtnExportarCSV;
    QToolButton* SBcerrarDecod;
};

} // namespace qv

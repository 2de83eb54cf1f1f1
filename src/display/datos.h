#pragma once

#include "app/api/ventana_hija.h"
#include "lang/ui/formulario.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

class QPushButton;
class QTableView;

namespace qv {

class IPrincipal;
class TEstadoPrograma;

// The sample values of chosen signals, read from the current set whenever a cell is
// shown (nothing is copied, so 8 x 65535 samples open at once). One column per name,
// one row per sample index; the headers carry the names and the sample numbers 1..N.
// N is the largest sample count of the columns; a shorter signal leaves its later
// cells empty. Analog samples in fixed notation with 4 decimals (8 significant
// digits), digital ones as 0 or 1. A name the set no longer holds shows no values.
class TModeloDatos : public QAbstractTableModel {
    Q_OBJECT
public:
    TModeloDatos(TEstadoPrograma& estado, const QStringList& nombres, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const QStringList& Nombres() const { return nombres_; }
    void Renombrar(const QString& anterior, const QString& nuevo);
    void Quitar(const QString& nombre);
    // The set changed: the row count may have too.
    void Actualizar();

private:
    int Filas() const;

    TEstadoPrograma& estado_;
    QStringList nombres_;
    int filas_ = 0;
};

// "Datos de las Señales": the data table child window with its text export. Grid
// coordinates as the documents count them: cell (0, 0) holds text 239, row 0 the
// names, column 0 the sample numbers.
class TfrmDatos : public TVentanaFormulario, public IVentanaHija {
    Q_OBJECT
public:
    static constexpr int Numero = 14;
    static constexpr int AnchoColumna = 72;

    TfrmDatos(IPrincipal& principal, const QStringList& elegidas, const QStringList& otras,
              QWidget* parent = nullptr);
    // A table of no signal yet (the forms registry's way of making one).
    TfrmDatos(IPrincipal& principal, QWidget* parent) : TfrmDatos(principal, {}, {}, parent) {}

    // A new data table in the main window's document area, shown.
    static TfrmDatos* Abrir(IPrincipal& principal, const QStringList& elegidas, const QStringList& otras);

    // IVentanaHija. Printing of the table joins here: it answers TComando::Imprimir.
    TTipoVentana TipoVentana() const override { return TTipoVentana::TablaDatos; }
    bool Admite(TComando comando) const override;
    void Ejecutar(TComando comando) override;
    void QuitarSenal(const QString& nombre) override;
    void RenombrarSenal(const QString& anterior, const QString& nuevo) override;

    // "Exportar": the chosen signals as the text table, to a file chosen in the save
    // dialog; text 240 with the file name when it cannot be written.
    void SBExportClick();
    void SBPrintClick();
    // Prints the table of the chosen signals (the print dialog first, or the PDF file
    // when no printer is installed); text 238 when the job fails. Answers whether it
    // printed.
    bool Imprimir();

    int ColCount() const;
    int RowCount() const;
    QString Celda(int columna, int fila) const;

    const QStringList& Elegidas() const { return modelo_->Nombres(); }
    const QStringList& Otras() const { return otras_; }
    QTableView& Rejilla() const { return *StringGrid; }

protected:
    void TextosAplicados() override;
    void AlMostrar() override;

private:
    IPrincipal& principal_;
    TModeloDatos* modelo_;
    QStringList otras_;
    QTableView* StringGrid;
    QPushButton* SBExport;
    QPushButton* SBPrint;
    QPushButton* BtnHelp;
    QObject* ExportarTxtSaveDialog;
    QString ficheroExportado_;
};

} // namespace qv

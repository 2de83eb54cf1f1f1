#pragma once

#include "lang/ui/formulario.h"

#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace qv {

class IPrincipal;

// "Editor de Tablas Digitales/Analógicas": creates, edits, checks and saves the table
// files (*.tba) that the table generators play. Line 1 of a file is the number of
// values, then one value per line: volts (-10 to 10) for an analog table, 0 or 1 for
// a digital one. The editor returns nothing to its opener: the operator saves a file
// here and then chooses it in the table dialog.
class TfrmEditTab : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 40;
    static constexpr int MaxValores = 5000;

    explicit TfrmEditTab(IPrincipal& principal, QWidget* parent = nullptr);

    // Toolbar: open, new, save, save as.
    void SBEditarClick();
    void SBNuevaClick();
    void SBGuardarClick();
    void SBGuardarComoClick();

    // Reads a table file into the grid (type analog, whatever the file holds); texts
    // 219, 120 or 220 when it cannot be read. False on failure: after a read failure
    // the grid is empty as after "Nueva"; the remembered file name is kept.
    bool CargarFichero(const QString& ruta);

    bool Modificado() const { return modificado_; }
    QString Fichero() const { return fichero_; }
    bool EsDigital() const;

    // Closing with unsaved changes asks first (text 178): "Si" saves and stays open if
    // the table could not be saved, "No" drops the changes, "Cancelar" stays.
    void reject() override;

protected:
    void TextosAplicados() override;

private:
    void SENumValChange(int n);
    void RGTipoClick();
    void CeldaCambiada();
    void PonerFilas(int n);
    void Vaciar();
    void Marcar();
    void Limpio();
    bool PrimeraVacia() const;
    // Every value within its type's range (texts 224, 225); the offending cell is selected.
    bool ValidarTabla();
    QByteArray Contenido() const;
    bool Escribir(const QString& ruta);
    QString PedirNombre();
    // Unsaved changes before the table is replaced: text 179. False when the operator
    // cancels or the table could not be saved.
    bool PuedeDescartar();
    void PonerCabecera();
    void PonerTitulo();

    IPrincipal& principal_;
    bool modificado_ = false;
    bool actualizando_ = false;
    QString fichero_;
    QString tituloBase_;

    QPushButton* SBEditar;
    QPushButton* SBNueva;
    QPushButton* SBGuardar;
    QPushButton* SBGuardarComo;
    QLabel* Label2;
    QSpinBox* SENumVal;
    QGroupBox* RGTipo;
    QRadioButton* RBDigital;
    QRadioButton* RBAnalogica;
    QLabel* Label1;
    QTableWidget* SGrid;
    QPushButton* SpeedButton1;
    QObject* OpenDialog1;
    QObject* SaveDialog1;
};

} // namespace qv

#pragma once

#include "lang/ui/formulario.h"
#include "model/operaciones.h"

#include <QString>
#include <QStringList>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

class IPrincipal;
class TConfigES;

// What the analog and the digital operation dialogs share: their own copy of the
// operations, the operand lists of the working configuration's active channels, the
// list of operations of the dialog's kind with their formulas, the name and unit
// fields, the name checks of "Añadir", and deleting.
class TOperacionesBase : public TFormulario {
    Q_OBJECT
public:
    static constexpr int NumeroAyuda = 8;
    static inline const QString Nada = QStringLiteral("Nada");

    // The dialog's copy: what the caller takes after "Aceptar".
    const TOperaciones& Operaciones() const { return operaciones_; }

    // Operand number of a channel name: analog 1-8 inputs, 9-12 outputs; digital 1-16
    // inputs, 17-32 outputs; 0 when no channel has the name.
    static int NumeroOperando(const TConfigES& config, const QString& nombre, bool analogica);

    void AnadirBtnClick();
    // Deletes the selected operation, or the first one when none is selected.
    void BorrarBtnClick();

    QString EleccionOperando1 = Nada;
    QString EleccionOperando2 = Nada;
    QString OperacionElegida = Nada;

protected:
    TOperacionesBase(IPrincipal& principal, const TOperaciones& operaciones, int formulario, bool analogica,
                     const char* nombre, QWidget* parent);

    // Places the controls; `teclas` are the operation keys, `bajo1`/`bajo2` what goes
    // under each operand list (the constant fields of the analog dialog), or null.
    void Montar(QLayout* teclas, QLayout* bajo1, QLayout* bajo2);
    QPushButton* CrearTecla(const char* nombre, const QString& texto, const QString& operacion);

    // Enables "Añadir" and "Borrar", shows the keys of OperacionElegida, moves the
    // focus to the name when only it is missing.
    virtual void ActualizaInterfaz();
    virtual bool AnadirHabilitado() const = 0;
    virtual bool ConstantesVacias() const { return true; }
    // The operation key pressed.
    virtual void TeclaPulsada(const QString& operacion) = 0;
    // An operand chosen in list 1 or 2.
    virtual void OperandoElegido(int operando, const QString& nombre);
    // Checks of this kind before the name checks; false stops (message shown).
    virtual bool ComprobarOperacion() = 0;
    // The operation to append; throws EErrorFormato on texts it cannot take.
    virtual TOperacion Construir(const QString& nombre, const QString& unidad) = 0;
    // After appending: keys released.
    virtual void TrasAnadir() = 0;

    // Fills both operand lists again (the selection is lost).
    void InicializaOperandos();
    void RecargarLista(int operando);
    bool Refusar(int clave, bool error);
    void SetOperandoVisible(int operando, bool visible);
    void SetOperandoHabilitado(int operando, bool habilitado);
    const TConfigES* Config() const;
    QString NumeroDe(const QString& nombre) const;

    IPrincipal& principal_;
    TOperaciones operaciones_;
    const bool analogica_;
    bool actualizando_ = false;

    QLabel* LabelOperando1;
    QLabel* LabelOperando2;
    QListWidget* Operando1ListBox;
    QListWidget* Operando2ListBox;
    QLabel* LabelOperaciones;
    QLabel* LabelDescripciones;
    QListWidget* ListaOperacionesListBox;
    QListWidget* ListaDescipcionesListBox;
    QLabel* LabelNombre;
    QLineEdit* NombreEdit;
    QLabel* LabelUnidad;
    QLineEdit* UnidadEdit;
    QPushButton* AnadirBtn;
    QPushButton* BorrarBtn;
    std::vector<std::pair<QPushButton*, QString>> teclas_;

private:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void LlenarOperaciones();
    void BorrarFila(int fila);
    std::vector<TOperacion>& Lista();
    bool NombreDeSenal(const QString& nombre) const;
};

} // namespace qv

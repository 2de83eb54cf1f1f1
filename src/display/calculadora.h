#pragma once

#include "lang/ui/formulario.h"

#include <QString>
#include <QStringList>
#include <memory>

class QGridLayout;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QWidget;

namespace qv {

class IPrincipal;
class TCalculo;
class TCjtSenales;
class TSenal;

// Next state of the analog calculator (states 1-9) and of the digital one (1-5) for an
// input event; every pair the tables do not list leads to state 1.
int TransicionAna(int estado, int evento);
int TransicionDig(int estado, int evento);

// What both calculators share: the display line, the list of the set's signals, the
// memory register with "M" and "Ins", "AC", "RESULTADO", passing the result to the set
// under a new name and closing. The state alone decides which keys are enabled; every
// key runs its effect, then the transition of its event, then the enabling again.
// Operands are private copies: the set's signals are never changed.
class TCalculadora : public TFormulario {
    Q_OBJECT
public:
    ~TCalculadora() override;

    int Estado() const { return estado_; }
    QString Pantalla() const;
    const TSenal* Resultado() const { return resultado_.get(); }
    const TSenal* Memoria() const { return memoria_.get(); }

    // The keys every calculator has.
    void SpBtnACClick();
    void SpBtnResultadoClick();
    void SpBtnMClick();
    void SpBtnInsClick();
    void SpBtnPasarClick();
    void SpBtnCerrarClick();
    void SenalElegida(const QString& nombre);

protected:
    // The events of the shared keys in this calculator's numbering.
    struct TEventos {
        int senal;
        int memoria;
        int resultado;
    };

    TCalculadora(IPrincipal& principal, int formulario, int ayuda, const char* nombreLista, TEventos eventos,
                 QWidget* parent);

    // The calculator's own parts.
    virtual int Transicion(int estado, int evento) const = 0;
    virtual QStringList NombresSenales() const = 0;
    virtual const TSenal* BuscarSenal(const QString& nombre) const = 0;
    virtual std::unique_ptr<TSenal> Copia(const TSenal& s) = 0;
    // The pending operation on the operands, in state 3 (and 6 for the analog one);
    // null when the kernel gives no result.
    virtual std::unique_ptr<TSenal> Calcular() = 0;
    // Whether the name is taken for a result of this kind.
    virtual bool NombreOcupado(const QString& nombre) const = 0;
    virtual bool AnadirAlConjunto(std::unique_ptr<TSenal> senal) = 0;
    // Enables the calculator's own keys for the state.
    virtual void HabilitarPropias() = 0;
    // Clears what only this calculator holds (the constant).
    virtual void LimpiarPropio() {}
    // What the result key clears besides the shared state.
    virtual void TrasResultado() {}
    // The list of periods beside the names (analog only).
    virtual void LlenarPeriodos(const QStringList& nombres) { (void)nombres; }

    // Runs the transition for `evento` and enables the keys.
    void Transitar(int evento);
    void PonerEstado(int estado);
    void Habilitar();
    // "AC": state 1, display and constant emptied, both operands freed.
    void Limpiar();
    // Shows the display line.
    void PonerPantalla(const QString& texto);
    void Anadir(const QString& texto) { PonerPantalla(pantalla_ + texto); }
    const QString& TextoPantalla() const { return pantalla_; }
    // Shows a numbered text as a warning.
    void Avisar(int clave);
    // The pending operator key: "if the state is 5 the result becomes the first
    // operand", then the code.
    void TomarResultadoComoOperando();

    TCjtSenales* Senales() const;
    void CargarLista();
    void AlMostrar() override;
    void resizeEvent(QResizeEvent* e) override;

    // Builds the rows of keys: the derived class fills `Teclas` (its own keys) before
    // calling Montar.
    QPushButton* CrearTecla(const char* nombre, const QString& texto, int ancho = 0);
    void Montar(QLayout* propias);

    IPrincipal& principal_;
    std::unique_ptr<TCalculo> calculo_;
    const TEventos eventos_;

    int estado_ = 1;
    int evento_ = 0;
    int codigoOperacion_ = 0;
    std::unique_ptr<TSenal> operandoA_;
    std::unique_ptr<TSenal> operandoB_;
    std::unique_ptr<TSenal> resultado_;
    std::unique_ptr<TSenal> memoria_;
    bool memoriaUsada_ = false;
    bool insArmado_ = false;
    bool pasado_ = false; // the result went to the set; "Pasar" waits for a new state

    QLabel* Panel1;
    QListWidget* Lista; // SenalesListBox or ListBox1
    QListWidget* SrcMuesList;
    QPushButton* SpBtnAC;
    QPushButton* SpBtnResultado;
    QWidget* PanelMemoria;
    QPushButton* SpBtnM;
    QPushButton* SpBtnIns;
    QPushButton* SpBtnPasar;
    QPushButton* SpBtnCerrar;

private:
    void ItemElegido(QListWidgetItem* item);
    QString pantalla_;
};

} // namespace qv

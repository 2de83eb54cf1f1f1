#pragma once

#include <QDialog>
#include <QStringList>
#include <QWidget>
#include <initializer_list>

class QGridLayout;
class QHBoxLayout;
class QIcon;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

class TAyuda;
class TInteraccion;
class TModal;
class TTextos;

// What every form of the program is built from: the language texts, the interaction
// seam for its messages, the modal seam for the dialogs it runs, and help (optional).
struct TContextoFormulario {
    TTextos& Textos;
    TInteraccion& Interaccion;
    TModal& Modal;
    TAyuda* Ayuda = nullptr;
};

// The property that carries a control's help number; F1 and the help buttons read it
// from the focused control up through its parents.
inline constexpr const char* kPropiedadAyuda = "contextoAyuda";

// A label with its object name (the key of its text in the form's table), showing its
// text as plain text: names and network text never turn into markup.
QLabel* Etiqueta(const char* nombre, const QString& texto, QWidget* padre);
// A button with its object name that Enter does not press (the form's default button is
// "Aceptar" or none).
QPushButton* Boton(const char* nombre, const QString& texto, QWidget* padre);
// A box that takes digits only (with `decimales` also "-" and "."), at most `largo` of
// them; backspace and Enter always pass.
QLineEdit* CajaNumero(const char* nombre, QWidget* padre, int largo = 5, bool decimales = false);
// An icon of the program's resources, ":/iconos/<nombre>.svg".
QIcon Icono(const char* nombre);
// A list of names; several may be selected at once unless `unoSolo`.
QListWidget* CrearLista(const char* nombre, QWidget* padre, bool unoSolo = false);
// Two lists side by side under their captions, with the buttons that move names from
// one to the other in a column between them.
QGridLayout* DosListas(QLabel* rotuloOrigen, QListWidget* origen, QLabel* rotuloDestino, QListWidget* destino,
                       std::initializer_list<QPushButton*> botones);
// Moves the selected names (all with `todos`) from one list to the end of the other;
// the name after the first one moved is selected in `origen`, which takes the focus.
void MoverNombres(QListWidget& origen, QListWidget& destino, bool todos);
// The texts of a list's items, in order.
QStringList NombresDe(const QListWidget& lista);

// The help number of a widget or its nearest ancestor that has one; 0 when none.
int NumeroAyuda(const QWidget* w);

// The language texts of a form: its number selects the table of form texts, applied
// every time the form is shown, before it is painted. Shared by dialogs and child
// windows.
class TTextosFormulario {
public:
    TTextosFormulario(const TContextoFormulario& contexto, int formulario, int ayuda)
        : Contexto(contexto), Formulario(formulario), Ayuda(ayuda) {}

    const TContextoFormulario Contexto;
    const int Formulario; // 0: the form has no table of texts
    const int Ayuda;      // help number of the form itself, 0 when none

protected:
    void Preparar(QWidget& w);          // help number of the form
    void AplicarTextos(QWidget& w);     // the table of the form, then Textos()
    virtual void TextosAplicados() {}   // texts a table cannot give (composed captions)
    void MostrarAyuda(QWidget& w);      // help of the focused control or of the form
};

// A modal dialog of the program. Derived classes create their controls (with the
// object names of the form's text table) and their handlers; the base gives them the
// language texts on every show, the standard buttons, help, and the modal run through
// the seam.
class TFormulario : public QDialog, public TTextosFormulario {
    Q_OBJECT
public:
    TFormulario(const TContextoFormulario& contexto, int formulario, int ayuda,
                QWidget* parent = nullptr);

    // Runs the dialog modally through the modal seam; answers its result.
    int Ejecutar();

    TTextos& Textos() const { return Contexto.Textos; }
    TInteraccion& Interaccion() const { return Contexto.Interaccion; }

    // Work of the form on its way elsewhere (a conversation with the unit), for the
    // life of this object: the form does not close before it is back, whatever asked
    // it to, so that nothing comes back to a form that is gone.
    class TEnCurso {
    public:
        explicit TEnCurso(TFormulario& f) : f_(f) { ++f_.enCurso_; }
        ~TEnCurso();
        TEnCurso(const TEnCurso&) = delete;
        TEnCurso& operator=(const TEnCurso&) = delete;

    private:
        TFormulario& f_;
    };
    bool EnCurso() const { return enCurso_ > 0; }
    // The form was asked to close while work was on its way.
    bool Cerrando() const { return salida_ >= 0; }

    // Closes the dialog, or, while work is on its way, once it is back.
    void done(int r) override;

protected:
    enum TBoton { BtnAceptar = 1, BtnCancelar = 2, BtnAyuda = 4 };

    // A row with the standard buttons "Aceptar" (OKBtn, default), "Cancelar"
    // (CancelBtn) and the help button (HelpBtn), centred, in that order. Names can be
    // replaced for forms whose table names them otherwise. Aceptar runs
    // AceptarClick, Cancelar rejects, help shows the form's help.
    QHBoxLayout* CrearBotones(int botones = BtnAceptar | BtnCancelar | BtnAyuda,
                              const char* nombreAceptar = "OKBtn",
                              const char* nombreCancelar = "CancelBtn",
                              const char* nombreAyuda = "HelpBtn");
    QPushButton* BotonAceptar() const { return aceptar_; }
    QPushButton* BotonCancelar() const { return cancelar_; }
    QPushButton* BotonAyuda() const { return ayuda_; }

    // "Aceptar": the form's checks in their fixed order; the dialog closes with OK
    // only when they pass. A check that fails shows its message and puts the focus on
    // the offending control itself.
    virtual bool Validar() { return true; }
    void AceptarClick();

    // Runs on every show after the texts are applied (the documents' FormShow).
    virtual void AlMostrar() {}

    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPushButton* aceptar_ = nullptr;
    QPushButton* cancelar_ = nullptr;
    QPushButton* ayuda_ = nullptr;
    int enCurso_ = 0;
    int salida_ = -1; // the result asked for while work was on its way
};

// A child window of the main window's document area (signal windows, data table):
// the same texts and help as a dialog, without a modal run.
class TVentanaFormulario : public QWidget, public TTextosFormulario {
    Q_OBJECT
public:
    TVentanaFormulario(const TContextoFormulario& contexto, int formulario, int ayuda,
                       QWidget* parent = nullptr);

protected:
    virtual void AlMostrar() {}
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // Closes the window, with its frame when it stands in the document area.
    void CerrarVentana();
};

} // namespace qv

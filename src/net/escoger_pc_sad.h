#pragma once

#include "lang/ui/formulario.h"
#include "link/tarea.h"
#include "net/contexto_red.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace qv {

class TPanelBusqueda;
class TPanelEstadoSAD;

// "Ejecutar el ensayo": takes the classroom's unit. The user names (or finds) the PC
// with the unit and checks it: the relay's greeting tells who holds the unit. "Aceptar"
// is offered only when this station got it; the connection then stays open and the
// station holds the unit. Cancelling after getting it gives it back (outputs to zero).
// When another PC holds it, "Pedir turno" closes the dialog asking for a place in the
// relay's line on the connection the check left open.
class Tform_EscogerPCSAD : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 48;
    static constexpr int ContextoAyuda = 258;

    explicit Tform_EscogerPCSAD(TContextoRed& red, QWidget* parent = nullptr);

    // "Comprobar" (also Enter in the PC box).
    void SB_TestBEClick();
    // The check of one PC through the relay (the dialog stays responsive while the
    // relay is waited for); an empty name only hides the details.
    TTarea Comprobar(QString nombre);

    TPanelBusqueda& Busqueda() const { return *panel_; }
    // The dialog ended on "Pedir turno", for the relay of this PC.
    bool PidioTurno() const { return pidioTurno_; }
    const QString& ServidorTurno() const { return servidorTurno_; }

protected:
    void AlMostrar() override;
    bool Validar() override;
    void reject() override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    TContextoRed& red_;
    TPanelBusqueda* panel_;
    QWidget* PanelPC;
    QLabel* L_PC;
    QComboBox* Ed_PC;
    QPushButton* SB_TestBE;
    TPanelEstadoSAD* estado_;
    QPushButton* BtnPedirTurno;
    bool pidioTurno_ = false;
    QString servidorTurno_;   // the PC last found held by another
};

} // namespace qv

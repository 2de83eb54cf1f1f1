#pragma once

#include "lang/ui/formulario.h"
#include "net/contexto_red.h"

class QCheckBox;
class QFrame;
class QLabel;
class QTabWidget;
class QToolButton;

namespace qv {

// "Opciones QUORVANE": the unit model (a picture of each, the current one framed with
// a bold caption) and, on a networked station only, the station mode and remote
// monitoring. A click on a picture changes the program's model at once; "Cancelar"
// puts the model back. "Aceptar" writes the choices to the station settings; the main
// window then applies them.
class TForm_Configuracion : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 47;
    static constexpr int ContextoAyuda = 256;

    // `esTcp`: the station mode now; `remotoPermitido`: the station is networked.
    TForm_Configuracion(TContextoRed& red, bool esTcp, bool remotoPermitido, QWidget* parent = nullptr);

    // The station mode chosen: the box on a networked station, else the mode it had.
    bool Multipuesto() const;
    // A click on a model's picture.
    void ElegirModelo(bool modeloM);

protected:
    void AlMostrar() override;
    void TextosAplicados() override;
    bool Validar() override;
    void reject() override;

private:
    void Resaltar();

    TContextoRed& red_;
    const bool esTcp_;
    const bool remotoPermitido_;
    bool modeloAnterior_ = false;

    QTabWidget* PageControl1;
    QWidget* TabModelo;
    QWidget* TabRed;
    QFrame* MarcoModeloM;
    QFrame* MarcoModelo801;
    QToolButton* ImgModeloM;
    QToolButton* ImgModelo801;
    QLabel* LModeloM;
    QLabel* LModelo801;
    QCheckBox* CBRed;
    QCheckBox* CBRemoto;
};

} // namespace qv

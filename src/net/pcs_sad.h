#pragma once

#include "lang/ui/formulario.h"
#include "net/contexto_red.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace qv {

class TPanelBusqueda;

// "Lista de PCs con SAD": the PCs of the classroom that have a unit, kept in the
// station settings ("PCsServer") for the take dialog. PCs come from the network
// search or are typed as an address with a name.
class Tform_PcsSAD : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 53;
    static constexpr int ContextoAyuda = 257;

    explicit Tform_PcsSAD(TContextoRed& red, QWidget* parent = nullptr);

    // ">" beside the tree, ">" beside the address boxes, "X".
    void SB_AnadirClick();
    void SB_AnadirIPClick();
    void SB_QuitarClick();

    QStringList Lista() const;
    TPanelBusqueda& Busqueda() const { return *panel_; }

protected:
    void AlMostrar() override;
    bool Validar() override;

private:
    bool Anadir(const QString& entrada);

    TContextoRed& red_;
    TPanelBusqueda* panel_;
    QLabel* L_Explicacion;
    QToolButton* SB_Anadir;
    QLabel* L_IP;
    QLineEdit* ED_IPa;
    QLineEdit* ED_IPb;
    QLineEdit* Ed_IPc;
    QLineEdit* ED_IPd;
    QLabel* L_Nombre;
    QLineEdit* ED_IPNombre;
    QToolButton* SB_AnadirIP;
    QListWidget* ListaPcsSAD;
    QToolButton* SB_Quitar;
};

} // namespace qv

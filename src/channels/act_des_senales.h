#pragma once

#include "lang/ui/formulario.h"
#include "link/monitor_sad.h"
#include "link/tarea.h"

#include <QString>
#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace qv {

class IPrincipal;
class TConfigES;

// "Señales a Activar/Desactivar": switches active outputs on and off in the unit while a
// monitored capture runs, by moving their names between two lists.
class TfrmActDesSenales : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 44;

    explicit TfrmActDesSenales(IPrincipal& principal, QWidget* parent = nullptr);

    // The switching state to show and update (the monitoring window's); without one the
    // dialog works on a state taken from the current configuration. `refrescar` runs
    // when the dialog closes, whatever it did.
    void PonerEstado(TEstadoSalidas* estado, std::function<void()> refrescar = {});

    void IncludeBtnClick();
    void ExcludeBtnClick();
    void IncAllBtnClick();
    void ExcAllBtnClick();
    // Switches the outputs moved in the unit, then closes; the dialog stays while the
    // commands are on their way.
    TTarea OKBtnClick();

protected:
    void AlMostrar() override;
    bool Validar() override;
    void reject() override;

private:
    void Llenar();
    void MoveSelected(QListWidget& origen, QListWidget& destino, bool todo);
    void SetButtons();
    void Terminar();

    IPrincipal& principal_;
    TEstadoSalidas propio_;
    TEstadoSalidas* estado_;
    std::function<void()> refrescar_;
    bool cambiado_ = false;
    bool terminado_ = false;
    bool enviando_ = false;

    QLabel* Label1;
    QLabel* DstLabel;
    QListWidget* SrcList;
    QListWidget* DstList;
    QPushButton* IncludeBtn;
    QPushButton* IncAllBtn;
    QPushButton* ExcludeBtn;
    QPushButton* ExAllBtn;
};

} // namespace qv

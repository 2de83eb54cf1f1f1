#pragma once

#include "lang/ui/formulario.h"
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

// Which outputs play during a monitored capture: kept by the monitoring window and
// changed by the output switching dialog.
struct TEstadoSalidas {
    static inline const QString NoHay = QStringLiteral("NoHay");
    std::array<bool, 16> Dig{};  // digital outputs 1..16 switched on
    std::array<bool, 4> Ana{};   // analog outputs 1..4
    std::array<QString, 16> NombreDig;
    std::array<QString, 4> NombreAna;

    // Every active output on, with its name; every inactive one "NoHay".
    static TEstadoSalidas Desde(const TConfigES& config);
};

// Body of commands 12 and 13 for the outputs flagged: the number of groups listed, then
// "u," with the count and bit numbers of outputs 1 to 8, "v," likewise for 9 to 16, and
// "w,", "x,", "y,", "z," for the analog outputs; no final comma. Empty when none.
QString CuerpoSalidas(const std::array<bool, 16>& dig, const std::array<bool, 4>& ana);

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

#pragma once

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;

namespace qv {

struct TInfoSAD;
class TTextos;

// What the take and release dialogs show of the unit they check: which PC is being
// checked and how it went, then the unit's details (who holds it, its state, version
// and memory). The labels keep the object names the dialogs' texts are found by.
class TPanelEstadoSAD : public QWidget {
public:
    TPanelEstadoSAD(TTextos& textos, QWidget* parent);

    // Nothing checked yet: no line at all.
    void Nada();
    void Comprobando(const QString& pc);
    void NoLocalizado();
    // The relay answered. `completo`: the unit's state, version and memory are shown
    // besides who holds it; the checked PC's line names the server when this PC holds it.
    void Localizado(const TInfoSAD& info, std::optional<int> estado, bool completo);
    void OcultarDetalles();

private:
    enum class TAviso { Nada, Comprobando, Localizado, NoLocalizado };
    void Mostrar(TAviso aviso);

    TTextos& textos_;
    QLabel* Label_PCon;
    QLabel* L_Comprobando;
    QProgressBar* AniComprobando;
    QLabel* L_Localizado;
    QLabel* L_Nolocalizado;
    QWidget* PanelDetalles;
    QLabel* L_OcupadoPor;
    QLabel* L_Estado;
    QLabel* L_Version;
    QLabel* L_Memoria;
};

} // namespace qv

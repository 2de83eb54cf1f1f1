#pragma once

#include "display/visualiza_senales_comun.h"

#include <vector>

namespace qv {

// The digital signal window: at most MaxSenalesDig digital signals of one sampling
// period as stacked logic traces, each in its own band of a fixed 0 ... 100 Y axis, the
// first shown signal at the bottom.
class TfrmSenalesDigitales : public TVentanaSenales {
    Q_OBJECT
public:
    explicit TfrmSenalesDigitales(IPrincipal& principal, QWidget* parent = nullptr);

    TTipoVentana TipoVentana() const override { return TTipoVentana::Digital; }

    // The set's digital names, filtered to one sampling period and to `max` shown.
    void CargarSenales(int max) override;
    void Refrescar() override;

protected:
    double ValorLeido(int serie, double y) const override;
    void ElegirSenales() override;

private:
    std::vector<double> altos_; // high level of each series, for the readouts
};

} // namespace qv

#pragma once

#include "display/visualiza_senales_comun.h"

#include <memory>
#include <vector>

namespace qv {

class TDecodificacionesVentana;
class TPanelDecodificacion;

// The digital signal window: at most MaxSenalesDig digital signals of one sampling
// period as stacked logic traces, each in its own band of a fixed 0 ... 100 Y axis, the
// first shown signal at the bottom.
class TfrmSenalesDigitales : public TVentanaSenales {
    Q_OBJECT
public:
    explicit TfrmSenalesDigitales(IPrincipal& principal, QWidget* parent = nullptr);

    TTipoVentana TipoVentana() const override { return TTipoVentana::Digital; }
    bool Admite(TComando comando) const override;
    void Ejecutar(TComando comando) override;

    // The set's digital names, filtered to one sampling period and to `max` shown.
    void CargarSenales(int max) override;
    void Refrescar() override;

    // Protocol decodings of the shown signals: rows under the traces and the panel of
    // their annotations ("Decodificar..." in the pop-up, Decodificar2).
    TDecodificacionesVentana& Decodificaciones() const { return *decodificaciones_; }
    void ActualizarDecodificaciones();
    ~TfrmSenalesDigitales() override;

protected:
    double ValorLeido(int serie, double y) const override;
    void ElegirSenales() override;
    void TextosAplicados() override;

private:
    std::vector<double> altos_; // high level of each series, for the readouts
    QAction* Decodificar2;
    TPanelDecodificacion* PDecodificacion;
    std::unique_ptr<TDecodificacionesVentana> decodificaciones_;
};

} // namespace qv

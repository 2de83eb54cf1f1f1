#pragma once

#include "display/visualiza_senales_comun.h"

namespace qv {

// The analog signal window: at most MaxSenalesAna signals of one sampling period plotted
// against time (digital ones as 0 V / 5 V staircases), or one signal against another
// analog signal (an XY plot).
class TfrmVisualizaSenales : public TVentanaSenales {
    Q_OBJECT
public:
    explicit TfrmVisualizaSenales(IPrincipal& principal, QWidget* parent = nullptr);

    TTipoVentana TipoVentana() const override { return TTipoVentana::Analogica; }
    bool Admite(TComando comando) const override;
    void Ejecutar(TComando comando) override;

    // The set's analog names, then its digital ones, filtered to one sampling period
    // and to `max` shown.
    void CargarSenales(int max) override;
    void Refrescar() override;
    bool RenombrarSenales(const QStringList& viejos, const QStringList& nuevos) override;
    void QuitarSenal(const QString& nombre) override;

    // "Espectro...": the spectrum window of a shown analog signal (asked for when there
    // are several) over the span between the cursors.
    void AbrirEspectro();

    // The X-axis choice: the time entry (language text 192) or an analog signal's name.
    QString EjeXElegido;
    const QString& EntradaTiempo() const { return tiempo_; }

protected:
    bool EjeTiempo() const override { return EjeXElegido == tiempo_; }
    bool ConMarca() const override { return !EjeTiempo(); }
    QString EjeNotas() const override { return EjeTiempo() ? QString() : EjeXElegido; }
    void ElegirSenales() override;
    void ActualizarNombres() override;

private:
    QStringList AnalogicasVisibles() const;

    QString tiempo_;
    QAction* Espectro2;
};

} // namespace qv

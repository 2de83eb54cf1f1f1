#pragma once

#include "lang/ui/formulario.h"

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qv {

// "Filtro": the kind and the cut-off frequencies (whole hertz) of a frequency filter,
// for the analog operation dialog and the analog calculator. Refuses to close while a
// frequency the kind needs is missing, or a band's low cut-off lies above its high one.
class TfrmFiltro : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 26;
    // Filter kinds, as the items of RGtipo.
    enum TTipo { PasaAlto = 0, PasaBajo = 1, PasaBanda = 2, ParaBanda = 3 };

    explicit TfrmFiltro(const TContextoFormulario& contexto, QWidget* parent = nullptr);

    // Shown on MuesLabel as the sampling frequency (rounded, " Hz") unless hidden.
    double FrecuenciaReferencia = 0;
    void OcultarReferencia();

    int Tipo() const;
    // The fields' texts, as typed (possibly empty).
    QString FrecuenciaBaja() const;
    QString FrecuenciaAlta() const;

protected:
    bool Validar() override;
    void AlMostrar() override;
    void TextosAplicados() override;

private:
    void CambioTipo();

    bool referenciaOculta_ = false;
    QLabel* MuesLabel;
    QGroupBox* RGtipo;
    QRadioButton* RBPasaAlto;
    QRadioButton* RBPasaBajo;
    QRadioButton* RBPasaBanda;
    QRadioButton* RBParaBanda;
    QLabel* LabelBaja;
    QLineEdit* FiltroBajaEdit;
    QLabel* LabelAlta;
    QLineEdit* FiltroAltaEdit;
};

} // namespace qv

#pragma once

#include "app/api/ventana_hija.h"
#include "lang/ui/formulario.h"
#include "model/espectro.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;

namespace qv {

class IPrincipal;
class TGraficaEspectro;

// The spectrum window ("frmEspectro"): the spectrum of one analog signal of the current
// set over a span of its samples, with the window function (CBVentana) and the scale
// (CBEscala) to choose, the peak marked on the plot and in LRPico, and a cursor whose
// frequency and level LRFrecuencia and LRNivel read. It holds the signal's name and
// looks the samples up again whenever it computes, so a deleted signal closes it.
class TfrmEspectro : public TVentanaFormulario, public IVentanaHija {
    Q_OBJECT
public:
    static constexpr int Ayuda = 431;

    TfrmEspectro(IPrincipal& principal, const QString& senal, TTramo tramo, QWidget* parent = nullptr);

    // A new window in the document area for samples `tramo` of analog signal `senal`. A
    // signal with too few samples there gets a message and no window.
    static TfrmEspectro* Abrir(IPrincipal& principal, const QString& senal, TTramo tramo);

    const QString& Senal() const { return senal_; }
    TGraficaEspectro& Grafica() const { return *GEspectro; }

    // IVentanaHija
    TTipoVentana TipoVentana() const override { return TTipoVentana::Otra; }
    // "Zoom +" and "Zoom -" of the main window act on the spectrum.
    bool Admite(TComando comando) const override;
    void Ejecutar(TComando comando) override;
    void QuitarSenal(const QString& nombre) override;
    void RenombrarSenal(const QString& anterior, const QString& nuevo) override;

protected:
    void TextosAplicados() override;

private:
    // Computes the spectrum with the chosen window; false when the signal is gone.
    bool Calcular();
    void PonerTitulo();
    void Lecturas();

    IPrincipal& principal_;
    QString senal_;
    TTramo tramo_;
    TAnalizadorEspectro analizador_;
    QLabel *LVentana, *LEscala, *LFrecuencia, *LNivel;
    QLabel *LRFrecuencia, *LRNivel, *LRPico;
    QComboBox* CBVentana;
    QComboBox* CBEscala;
    QCheckBox* CBLogFrecuencia;
    TGraficaEspectro* GEspectro;
};

// Asks which of `nombres` to analyse ("frmElegirEspectro", the list LBSenalesEspectro);
// empty when cancelled.
QString ElegirSenalEspectro(IPrincipal& principal, const QStringList& nombres);

} // namespace qv

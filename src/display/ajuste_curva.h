#pragma once

#include "lang/ui/formulario.h"
#include "model/ajuste.h"
#include "model/medidas.h"

#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qv {

class IPrincipal;
class TCjtSenales;

// "Ajustar curva": fits a model to an analog signal of the current set, between the
// cursors or over the whole signal, shows the equation with every parameter, its
// standard error, R² and the RMS residual in a table that copies to the clipboard, and
// adds the fitted curve (and, when asked, the residual) to the set as calculated
// signals whose names say the model ("Aj_exp_C1", "Res_exp_C1"); the set keeps the fit
// with them. A fit that fails says why and adds nothing. The dialog stays open for
// further fits until "Cerrar".
class TfrmAjusteCurva : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 0;

    explicit TfrmAjusteCurva(IPrincipal& principal, QWidget* parent = nullptr);

    // The signals offered (the window's analog ones), the span between its cursors
    // (empty when they are not both placed), and what to do with the names of the
    // signals each fit adds to the set (the window shows them).
    void Inicializar(const QStringList& senales, TTramo entreCursores,
                     std::function<void(const QStringList&)> anadidas = {});

    // "Ajustar" and "Copiar".
    void BtnAjustarClick();
    void BtnCopiarClick();

    // The last fit, successful or not; nothing before the first.
    const std::optional<TResultadoAjuste>& Ultimo() const { return ultimo_; }
    // The table as the clipboard gets it: equation, time origin, one row per parameter
    // and the statistics, fields separated by tabs.
    QString TextoTabla() const;

protected:
    void TextosAplicados() override;

private:
    TCjtSenales* Senales() const;
    TModeloAjuste Modelo() const;
    void ModeloCambiado();
    // The starting-value rows follow the formula's parameters, keeping typed values.
    void ExpresionCambiada();
    bool LeerIniciales(std::vector<double>& valores);
    void MostrarResultado(const TResultadoAjuste& r);
    void MostrarFallo(const TResultadoAjuste& r);
    QStringList AnadirAlConjunto(const TResultadoAjuste& r, const TSenalAna& datos);

    IPrincipal& principal_;
    TTramo entreCursores_;
    std::function<void(const QStringList&)> anadidas_;
    std::optional<TResultadoAjuste> ultimo_;
    QString senalUltima_;

    QLabel* LModelo;
    QComboBox* CBModelo;
    QLabel* LSenal;
    QComboBox* CBSenal;
    QLabel* LTramo;
    QComboBox* CBTramo;
    QLabel* LExpresion;
    QLineEdit* EdExpresion;
    QLabel* LIniciales;
    QTableWidget* TablaIniciales;
    QCheckBox* CBResiduo;
    QPushButton* BtnAjustar;
    QLabel* LEcuacion;
    QLabel* LREcuacion;
    QTableWidget* TablaResultados;
    QPushButton* BtnCopiar;
};

} // namespace qv

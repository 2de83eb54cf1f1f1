#pragma once

#include "lang/ui/formulario.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace qv {

class IPrincipal;
class TCjtSenales;
class TTextos;

// A period as the choosers list it: seconds from 0.99 s (no blank before the word),
// milliseconds from 0.0009999 s, microseconds from 9.999e-7 s, below that the number
// alone; 4 significant digits. Two signals count as having the same period when
// these texts agree.
QString TextoPeriodo(TTextos& textos, double periodo);
// Every line equals the first (true for an empty list).
bool PeriodosIguales(const QStringList& periodos);

// What both signal choosers share: the not-shown list (sorted) and the shown list (in
// plotting order), their hidden period lists, the move buttons, "Eliminar " and the
// limit on the shown names.
class TElegirBase : public TFormulario {
    Q_OBJECT
public:
    // ">", ">>", "<", "<<" (MoveSelected): selected names move from the end of their
    // list towards its start, so a multiple selection arrives in reverse order.
    void IncludeBtnClick();
    void IncAllBtnClick();
    void ExcludeBtnClick();
    void ExAllBtnClick();
    // "Eliminar ": deletes the selected names from the current set after asking.
    virtual void DestroyBtnClick() = 0;

    QStringList Visibles() const;  // DstList
    QStringList Ocultas() const;   // SrcList
    // Names deleted from the set; the caller removes them from every window.
    const QStringList& Borradas() const { return borradas_; }
    int MaxSenales() const { return maxSenales_; }

protected:
    TElegirBase(IPrincipal& principal, int formulario, int ayuda, QWidget* parent);

    // Fills both lists and their period lists.
    void Llenar(const QStringList& visibles, const QStringList& ocultas, int maxSenales);
    // Rebuilds both period lists from the current set (SrcMuesList, DstMuesList).
    void CalcularPeriodos();
    // Enables the buttons (SetButtons). With a limit, ">" needs room for one more shown
    // name, or for every selected one once names are selected in SrcList; ">>" for all.
    void SetButtons();
    // A name left one of the lists to be deleted.
    virtual void NombreBorrado(const QString& nombre) { (void)nombre; }
    // The names selected in `lista`, from its end towards its start.
    static QStringList SeleccionadosDesdeElFinal(const QListWidget& lista);
    bool HaySeleccion() const;
    void QuitarDeLista(QListWidget& lista, const QString& nombre);
    // Both period lists agree on one period for the shown names.
    bool PeriodosVisiblesIguales() const;
    TCjtSenales* Senales() const;

    IPrincipal& principal_;
    int maxSenales_ = 0;
    bool sinLimite_ = false;
    QStringList borradas_;

    QLabel* LabelSrc;
    QLabel* LabelDst;
    QListWidget* SrcList;
    QListWidget* DstList;
    QListWidget* SrcMuesList;
    QListWidget* DstMuesList;
    QPushButton* IncludeBtn;
    QPushButton* IncAllBtn;
    QPushButton* ExcludeBtn;
    QPushButton* ExAllBtn;
    QPushButton* DestroyBtn;
    QVBoxLayout* columna_ = nullptr;

private:
    void Mover(QListWidget& origen, QListWidget& destino, bool todo);
};

// "Seleccionar señales" of the analog window: the shown and not-shown names, at most
// MaxSenales shown, and the X axis (time, or an analog signal for an XY plot).
class TfrmElegir : public TElegirBase {
    Q_OBJECT
public:
    static constexpr int Numero = 15;

    explicit TfrmElegir(IPrincipal& principal, QWidget* parent = nullptr);

    // `ejeX`: the current X-axis choice, text 192 (time) or an analog name.
    void Inicializar(const QStringList& visibles, const QStringList& ocultas, int maxSenales,
                     const QString& ejeX);

    // A new X-axis choice: a shown signal of that name leaves the shown list.
    void cmBoxEjeXChange(int indice);
    void DestroyBtnClick() override;
    // Closes with OK only when every shown signal has the same period (text 161).
    bool Validar() override;

    const QString& EjeXElegido() const { return ejeXElegido_; }

protected:
    void NombreBorrado(const QString& nombre) override;

private:
    QString ejeXElegido_;
    QLabel* LabelEjeX;
    QComboBox* cmBoxEjeX;
};

// "Seleccionar señales" of the digital window (MaxSenales shown) and of the data
// table (no limit, nothing shown at first).
class TfrmElegirIni : public TElegirBase {
    Q_OBJECT
public:
    static constexpr int Numero = 27;

    explicit TfrmElegirIni(IPrincipal& principal, QWidget* parent = nullptr);

    void Inicializar(const QStringList& visibles, const QStringList& ocultas, int maxSenales,
                     bool sinLimite);

    void DestroyBtnClick() override;
    // With no limit closes with OK; otherwise an empty shown list or one period.
    bool Validar() override;

    bool HuboBorrado() const { return huboBorrado_; }

private:
    bool huboBorrado_ = false;
};

} // namespace qv

#pragma once

#include "lang/ui/formulario.h"

#include <QPoint>
#include <QPrinter>

#include <memory>

class QCheckBox;
class QFrame;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace qv {

class IPrincipal;
class TGrf;

// "Presentación preliminar": lays out the printed report on a page drawn one pixel per
// millimetre (the graph as a placeholder that can be dragged, the comment and the
// table as boxes below it), chooses the orientation and the printer, and prints.
class TfrmPreview : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 36;
    static constexpr int MargenPagina = 30;

    explicit TfrmPreview(IPrincipal& principal, QWidget* parent = nullptr);
    ~TfrmPreview() override;

    // The graph to print, at its on-screen size; null disables "Representación gráfica".
    void PonerGrafica(TGrf* grafica);
    TGrf* Grafica() const { return grafica_; }

    QPrinter& Impresora() { return *impresora_; }

    // Layout of the page and its placeholders from the options and the orientation.
    void Disponer();
    // The orientation buttons follow the printer.
    void SeguirImpresora();

    void BtnSetupClick();
    // Prints the report as laid out; closes the preview when the job went through.
    void BtnImprimirClick();

    // The graph placeholder moved as a drag to `esquina` (page coordinates of the
    // preview) would leave it: kept inside the page minus its margins.
    QPoint PosicionArrastre(QPoint esquina) const;

    QFrame& Pagina() const { return *Pagina_; }
    QFrame& Imagen() const { return *Imagen_; }
    QFrame& ITabla() const { return *ITabla_; }
    QFrame& IComent() const { return *IComent_; }

protected:
    void AlMostrar() override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // The report on the open job; false when its heading could not be drawn.
    bool Imprimir(QPainter& p);

    IPrincipal& principal_;
    TGrf* grafica_ = nullptr;
    std::unique_ptr<QPrinter> impresora_;
    QPoint desplazamiento_;
    bool arrastrando_ = false;

    QWidget* Lienzo;
    QFrame* Sombra;
    QFrame* Pagina_;
    QFrame* Imagen_;
    QFrame* ITabla_;
    QFrame* IComent_;
    QCheckBox* CBGrafica;
    QCheckBox* CBTabla;
    QCheckBox* CBComentario;
    QGroupBox* GBPagina;
    QRadioButton* RBtnVertical;
    QRadioButton* RBtnHorizontal;
    QPushButton* BtnImprimir;
    QPushButton* BtnSetup;
    QPushButton* BtnCerrar;
    QPushButton* BtnHelp;
};

} // namespace qv

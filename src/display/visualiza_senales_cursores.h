#pragma once

#include <QStringList>
#include <QWidget>

#include <array>
#include <vector>

class QLabel;
class QTableWidget;
class QToolButton;

namespace qv {

class TTextos;

// The cursor panel of the signal windows ("PCursor"): the readout grid SG (one column
// per shown signal; rows for the blue cursor, the red one and their difference), the X
// and sample readouts of both cursors, their X difference with its frequency, the
// sampling period and the close button SBcerrar. Differences are computed from the
// texts on show, so they agree with what the student reads.
class TPanelCursores : public QWidget {
    Q_OBJECT
public:
    static constexpr int Alto = 100;
    // Width the readout labels keep at the right of the grid.
    static constexpr int AnchoLecturas = 215;

    // `conSigno`: differences blue minus red (digital window) instead of their absolute
    // value (analog window).
    TPanelCursores(TTextos& textos, bool conSigno, QWidget* parent);

    // Fresh readouts for these signals: every value "0", neither cursor placed, the
    // sampling period in LRNegroM.
    void Preparar(const QStringList& nombres, double periodo);
    // Readouts of cursor `numero` (1 blue, 2 red) standing at `x` on sample `muestra`,
    // one value per shown signal; marks it placed and updates the differences.
    void Lectura(int numero, double x, const std::vector<double>& valores, int muestra);
    // New column captions for renamed signals; the readouts stay.
    void PonerNombres(const QStringList& nombres);
    bool Colocado(int numero) const { return colocado_[numero == 1 ? 0 : 1]; }
    // The frequency readout belongs to time plots only.
    void PonerEjeTiempo(bool tiempo);
    // Column widths, row heights and label places for the panel's width.
    void Disponer();
    // Grid row captions (language texts looked up directly).
    void AplicarTextos();

    // The sampling-period text: number (4 significant digits) and unit word.
    static QString TextoPeriodo(double periodo, TTextos& textos);

    QTableWidget* Rejilla() const { return SG; }

Q_SIGNALS:
    void Cerrar();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void PonerValor(int columna, int fila, const QString& texto);
    QString Valor(int columna, int fila) const;
    void Diferencias();
    QString Diferencia(const QString& azul, const QString& rojo) const;

    TTextos& textos_;
    const bool conSigno_;
    bool tiempo_ = true;
    std::array<bool, 2> colocado_{};
    std::array<double, 2> x_{};
    int columnas_ = 0;

    QTableWidget* SG;
    QLabel *LAzulX, *LazulM, *LRojoX, *LrojoM, *LNegroX, *LNegroM, *LFrecuencia;
    QLabel *LRAzulX, *LRAzulM, *LRRojoX, *LRRojoM, *LRNegroX, *LRNegroM, *LRFrecuencia;
    QToolButton* SBcerrar;
};

} // namespace qv

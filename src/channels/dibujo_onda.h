#pragma once

#include <QWidget>

namespace qv {

// The picture of a generator dialog: the shape of the waveform with the symbols its
// legend explains (To delay, Ao offset, A1 amplitude, Tr ramp time, Ton / Toff).
class TDibujoOnda : public QWidget {
    Q_OBJECT
public:
    enum class TForma { Escalon, Seno, Rampa, TablaAna, Tren, Pulso, TablaDig };

    TDibujoOnda(TForma forma, QWidget* parent);

    // The single pulse is drawn falling ("BAJO") or rising ("ALTO").
    void PonerBajada(bool bajada);

    QSize sizeHint() const override { return {210, 120}; }
    QSize minimumSizeHint() const override { return {170, 100}; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TForma forma_;
    bool bajada_ = false;
};

} // namespace qv

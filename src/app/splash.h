#pragma once

#include <QTimer>
#include <QWidget>

namespace qv {

// Start-up picture: borderless, on top, centred, shown for two seconds; it hides and
// releases itself and never holds up the program.
class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    static constexpr int Duracion = 2000;

    explicit TfrmSplash(QWidget* parent = nullptr);

    QTimer& Temporizador() { return Timer1; }
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* e) override;

private:

    QTimer Timer1;
};

} // namespace qv

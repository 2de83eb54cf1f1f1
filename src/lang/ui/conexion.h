#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qv {

class TTextos;

// Presence dialog shown when the unit does not answer: "Reintentar" (4),
// "Abortar" (3), "Ignorar" (5). Closing it any other way answers "Abortar", the
// choice that stops the sequence.
class TfrmConexion : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConexion(TTextos& textos, QWidget* parent = nullptr);

    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void CentrarMensaje();

    TTextos& textos_;
    QLabel* Label1;
    QPushButton* BtnReintentar;
    QPushButton* BtnAbortar;
    QPushButton* BtnIgnorar;
};

} // namespace qv

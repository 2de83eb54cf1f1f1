#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qv {

class TTextos;

// A plain message without icon or flavour, with one accept button.
class TfrmMensajePlano : public QDialog {
    Q_OBJECT
public:
    TfrmMensajePlano(TTextos& textos, const QString& mensaje, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;

private:
    TTextos& textos_;
    QLabel* texto;
    QPushButton* OKBtn;
};

} // namespace qv

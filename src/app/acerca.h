#pragma once

#include <QDialog>

namespace qv {

class TTextos;

// The about box: product picture, name, version and description. Its texts are
// applied every time it is shown.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int Formulario = 38;

    TAboutBox(TTextos& textos, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;

private:
    TTextos& textos_;
};

} // namespace qv

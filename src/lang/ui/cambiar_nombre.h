#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class TTextos;

// Name-clash dialog: the set already holds a signal of this name; the user types
// another one, keeps it or skips the signal.
class TfrmCambiarNombre : public QDialog {
    Q_OBJECT
public:
    TfrmCambiarNombre(TTextos& textos, const QString& nombre, QWidget* parent = nullptr);

    // The typed name after OK, the clashing name after OK on an empty field,
    // "Omitir" otherwise.
    QString Resultado() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    TTextos& textos_;
    QString nombre_;
    QLabel* Label1;
    QLabel* LNombre;
    QLineEdit* Edit1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* HelpBtn;
};

} // namespace qv

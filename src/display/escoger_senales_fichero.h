#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

namespace qv {

class IPrincipal;
class TInteraccion;
class TTextos;

// "Escoger señales de fichero": picks signals of another signal file, whose time base
// the caller found equal to the current one, and adds them to the current set.
class TfrmEscSenFich : public QDialog {
    Q_OBJECT
public:
    static constexpr int Formulario = 41;

    TfrmEscSenFich(TTextos& textos, TInteraccion& interaccion, IPrincipal& principal,
                   QWidget* parent = nullptr);

    // Empties both lists and offers the name of every signal block of the file. False
    // when the file cannot be read (the lists stay empty).
    bool InicializarListaSenales(const QString& fichero);

    // ">", ">>", "<", "<<".
    void IncludeBtnClick();
    void IncAllBtnClick();
    void ExcludeBtnClick();
    void ExAllBtnClick();
    // Loads the chosen signals into the current set, then closes with OK.
    void OKBtnClick();

    QString Fichero() const { return fichero_; }
    // Final names of the signals the last OK added, in the order they were added.
    const QStringList& Anadidas() const { return anadidas_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void MoverSeleccion(QListWidget& origen, QListWidget& destino);
    void MoverTodo(QListWidget& origen, QListWidget& destino);
    void TrasMover(QListWidget& origen, int primeraSeleccion);
    void SetButtons();

    TTextos& textos_;
    TInteraccion& interaccion_;
    IPrincipal& principal_;
    QString fichero_;
    QStringList anadidas_;

    QLabel* LabelSrc;
    QLabel* LabelDst;
    QLabel* LabelFichero;
    QLabel* Lfichero;
    QListWidget* SrcList;
    QListWidget* DstList;
    QPushButton* IncludeBtn;
    QPushButton* IncAllBtn;
    QPushButton* ExcludeBtn;
    QPushButton* ExAllBtn;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* BtnHelp;
};

} // namespace qv

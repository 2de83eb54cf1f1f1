#pragma once

#include "lang/ui/formulario.h"

#include <QString>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

namespace qv {

class IPrincipal;

// "Escoger señales de fichero": picks signals of another signal file, whose time base
// the caller found equal to the current one, and adds them to the current set.
class TfrmEscSenFich : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 41;

    explicit TfrmEscSenFich(IPrincipal& principal, QWidget* parent = nullptr);

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
    bool Validar() override;

    QString Fichero() const { return fichero_; }
    // Final names of the signals the last OK added, in the order they were added.
    const QStringList& Anadidas() const { return anadidas_; }

protected:
    void AlMostrar() override;

private:
    void SetButtons();

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
};

} // namespace qv

#pragma once

#include "lang/ui/ayuda.h"

#include <QObject>
#include <QString>
#include <QTextBrowser>
#include <QWidget>

class QToolButton;

namespace qv {

class TTextos;

// The page browser of the help window: pages are "NNN.html" of the help folder; a page
// that is not there is answered with a page of its own saying so, so that a missing
// number or a broken link never gives an error or an empty window.
class TNavegadorAyuda : public QTextBrowser {
    Q_OBJECT
public:
    TNavegadorAyuda(TTextos& textos, const QString& carpeta, QWidget* parent = nullptr);

    static QString NombrePagina(int numero);
    QUrl Direccion(int numero) const;
    // The number of the page shown (0 when none, or when it is not a numbered page).
    int NumeroActual() const;

    QVariant loadResource(int type, const QUrl& name) override;

private:
    QString PaginaAusente(const QUrl& name);

    TTextos& textos_;
    QString carpeta_;
};

// The help window: one for the whole run, not modal, reused for every request. Shows
// the page of a help number with back, forward and "Temas de Ayuda" (page 255).
class TfrmAyuda : public QWidget, public TAyuda {
    Q_OBJECT
public:
    static constexpr int PaginaIndice = 255;

    // `carpeta`: the folder of the pages (the program folder's "help").
    TfrmAyuda(TTextos& textos, const QString& carpeta, QWidget* parent = nullptr);

    // TAyuda: shows the window, raised, on that page.
    void MostrarAyuda(int numero) override;

    int NumeroActual() const { return Navegador->NumeroActual(); }

    TNavegadorAyuda* Navegador = nullptr;
    QToolButton* BtnAtras = nullptr;
    QToolButton* BtnAdelante = nullptr;
    QToolButton* BtnIndice = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void AplicarTextos();

    TTextos& textos_;
    bool colocada_ = false;
};

// F1 while a menu is open anywhere in the program: help on the highlighted item's
// number, else on the nearest enclosing menu's, else on the window the menu belongs to
// (255 for the main window). Installed on the application by its owner.
class TAyudaMenus : public QObject {
    Q_OBJECT
public:
    explicit TAyudaMenus(TAyuda& ayuda, QObject* parent = nullptr);

    // The help number for the highlighted entry of a menu (or menu bar).
    static int NumeroMenu(const QWidget& menu);

protected:
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    TAyuda& ayuda_;
};

} // namespace qv

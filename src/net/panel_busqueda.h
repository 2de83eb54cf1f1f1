#pragma once

#include "net/contexto_red.h"

#include <QStringList>
#include <QWidget>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace qv {

class TNetUsers;
class TTextos;

// The network search of the classroom dialogs: the search button "SB_Buscar", the
// searching label "L_Buscando" with its animation "AniBuscando", and the tree
// "TVListaPCs" that receives every PC as it answers. During a search the button is
// hidden and the label and animation are shown. The window stays responsive throughout,
// and a search can be stopped part-way.
class TPanelBusqueda : public QWidget {
    Q_OBJECT
public:
    TPanelBusqueda(TTextos& textos, TOpcionesBusqueda opciones, bool multiple, QWidget* parent = nullptr);

    // Empties the tree and searches the network and the configured PCs.
    void Buscar(const QStringList& configurados);
    void Detener();
    bool Buscando() const;

    // The configured PCs a search started by the button asks too.
    std::function<QStringList()> Configurados;

    QTreeWidget* Arbol() const { return TVListaPCs; }
    QPushButton* BotonBuscar() const { return SB_Buscar; }
    // Texts of the selected nodes, in tree order.
    QStringList Seleccionados() const;
    // Adds a node unless one of equal text is there (tests, configured PCs).
    void AnadirNodo(const QString& entrada, const QString& titular = {});

Q_SIGNALS:
    // The user picked nodes (click or keys); their texts.
    void SeleccionCambiada(const QStringList& textos);
    void Terminada();

protected:
    // A search ends with its window.
    void hideEvent(QHideEvent* e) override;

private:
    void Empezar();
    void Acabar();

    TTextos& textos_;
    TOpcionesBusqueda opciones_;
    TNetUsers* busqueda_ = nullptr; // created on first use
    QPushButton* SB_Buscar;
    QLabel* L_Buscando;
    QProgressBar* AniBuscando;
    QTreeWidget* TVListaPCs;
};

} // namespace qv

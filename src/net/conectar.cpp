#include "net/conectar.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/ajustes_estacion.h"
#include "model/claves_texto.h"
#include "net/panel_busqueda.h"
#include "net/pcs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {
}

TForm_Conectar::TForm_Conectar(TContextoRed& red, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, Numero, ContextoAyuda, parent), red_(red)
{
    setObjectName(QStringLiteral("Form_Conectar"));
    setWindowTitle(QStringLiteral("Conectar usuario a mi PC"));

    panel_ = new TPanelBusqueda(red.Principal.Contexto().Textos(), red.Busqueda, true, this);
    panel_->Configurados = [this] { return red_.Ajustes.PCsServer(); };
    panel_->BotonBuscar()->setText(QStringLiteral("Buscar PCs en la red de \u00e1rea local"));
    L_PC = new QLabel(QStringLiteral("PC :"), this);
    L_PC->setObjectName(QStringLiteral("L_PC"));
    edClient1 = new QLineEdit(this);
    edClient1->setObjectName(QStringLiteral("edClient1"));
    L_PC->setBuddy(edClient1);

    auto* fila = new QHBoxLayout;
    fila->addWidget(L_PC);
    fila->addWidget(edClient1, 1);
    // "Conectar usuario a mi PC" is the default button: Enter in the box presses it.
    QHBoxLayout* botones = CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "BtnConectar");
    BotonAceptar()->setText(QStringLiteral("Conectar usuario a mi PC"));

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(panel_, 1);
    columna->addLayout(fila);
    columna->addLayout(botones);
    resize(440, 340);

    connect(panel_->Arbol(), &QTreeWidget::itemSelectionChanged, this, &TForm_Conectar::SeleccionCambiada);
    setTabOrder(panel_->BotonBuscar(), panel_->Arbol());
    setTabOrder(panel_->Arbol(), edClient1);
}

void TForm_Conectar::TextosAplicados()
{
    // Its long caption gets the margins of the row's other buttons, whatever the language.
    QPushButton* b = BotonAceptar();
    b->setMinimumWidth(std::max(85, b->fontMetrics().horizontalAdvance(b->text()) + 24));
}

void TForm_Conectar::SeleccionCambiada()
{
    const QStringList elegidos = panel_->Seleccionados();
    if (elegidos.size() == 1) {
        edClient1->setText(elegidos.first());
        edClient1->setEnabled(true);
    } else if (elegidos.size() > 1) {
        edClient1->clear();
        edClient1->setEnabled(false);
    } else {
        edClient1->setEnabled(true);
    }
}

bool TForm_Conectar::Validar()
{
    const QStringList elegidos = panel_->Seleccionados();
    const QString texto = edClient1->text().trimmed();
    if (texto.isEmpty() && elegidos.isEmpty()) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(clave::FaltaNombre), Botones::Si);
        edClient1->setFocus();
        return false;
    }
    nombres_ = elegidos;
    bool repetido = false;
    for (const QString& e : elegidos)
        repetido = repetido || e.compare(texto, Qt::CaseInsensitive) == 0
                   || NombreDeEntrada(e).compare(NombreDeEntrada(texto), Qt::CaseInsensitive) == 0;
    if (!texto.isEmpty() && !repetido)
        nombres_ << texto;
    return true;
}

} // namespace qv

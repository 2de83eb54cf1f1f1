#include "lang/ui/formulario.h"

#include "lang/ui/ayuda.h"
#include "lang/ui/modal.h"
#include "lang/ui/textos_formularios.h"

#include <algorithm>
#include <utility>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace qv {

QLabel* Etiqueta(const char* nombre, const QString& texto, QWidget* padre)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    l->setTextFormat(Qt::PlainText);
    return l;
}

QPushButton* Boton(const char* nombre, const QString& texto, QWidget* padre)
{
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QLatin1String(nombre));
    b->setAutoDefault(false);
    return b;
}

QLineEdit* CajaNumero(const char* nombre, QWidget* padre, int largo, bool decimales)
{
    auto* e = new QLineEdit(padre);
    e->setObjectName(QLatin1String(nombre));
    e->setMaxLength(largo);
    const QString patron = decimales ? QStringLiteral("[0-9.-]*") : QStringLiteral("[0-9]*");
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(patron), e));
    return e;
}

QIcon Icono(const char* nombre)
{
    return QIcon(QStringLiteral(":/iconos/%1.svg").arg(QLatin1String(nombre)));
}

QListWidget* CrearLista(const char* nombre, QWidget* padre, bool unoSolo)
{
    auto* l = new QListWidget(padre);
    l->setObjectName(QLatin1String(nombre));
    l->setSelectionMode(unoSolo ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
    return l;
}

QGridLayout* DosListas(QLabel* rotuloOrigen, QListWidget* origen, QLabel* rotuloDestino, QListWidget* destino,
                       std::initializer_list<QPushButton*> botones)
{
    auto* mover = new QVBoxLayout;
    mover->addStretch();
    for (QPushButton* b : botones) {
        b->setFixedWidth(40);
        mover->addWidget(b);
    }
    mover->addStretch();
    auto* rejilla = new QGridLayout;
    rejilla->addWidget(rotuloOrigen, 0, 0);
    rejilla->addWidget(rotuloDestino, 0, 2);
    rejilla->addWidget(origen, 1, 0);
    rejilla->addLayout(mover, 1, 1);
    rejilla->addWidget(destino, 1, 2);
    return rejilla;
}

void MoverNombres(QListWidget& origen, QListWidget& destino, bool todos)
{
    int primera = 0;
    if (todos) {
        destino.addItems(NombresDe(origen));
        origen.clear();
    } else {
        // From the end towards the start: a multiple selection arrives in reverse order.
        for (int i = origen.count() - 1; i >= 0; --i) {
            if (!origen.item(i)->isSelected())
                continue;
            primera = i;
            QListWidgetItem* item = origen.takeItem(i);
            destino.addItem(item->text());
            delete item;
        }
    }
    QSignalBlocker bloqueo(origen);
    origen.clearSelection();
    if (origen.count() > 0) {
        const int fila = std::clamp(primera, 0, int(origen.count()) - 1);
        origen.setCurrentRow(fila);
        origen.item(fila)->setSelected(true);
        origen.setFocus();
    }
}

QStringList NombresDe(const QListWidget& lista)
{
    QStringList r;
    for (int i = 0; i < lista.count(); ++i)
        r << lista.item(i)->text();
    return r;
}

int NumeroAyuda(const QWidget* w)
{
    for (const QWidget* v = w; v; v = v->parentWidget()) {
        const int n = v->property(kPropiedadAyuda).toInt();
        if (n > 0)
            return n;
    }
    return 0;
}

void TTextosFormulario::Preparar(QWidget& w)
{
    if (Ayuda > 0)
        w.setProperty(kPropiedadAyuda, Ayuda);
}

void TTextosFormulario::AplicarTextos(QWidget& w)
{
    if (Formulario > 0)
        AplicarTextosFormulario(w, Formulario, Contexto.Textos);
    TextosAplicados();
}

void TTextosFormulario::MostrarAyuda(QWidget& w)
{
    if (!Contexto.Ayuda)
        return;
    QWidget* foco = QApplication::focusWidget();
    const bool dentro = foco && (foco == &w || w.isAncestorOf(foco));
    const int n = NumeroAyuda(dentro ? foco : &w);
    if (n > 0)
        Contexto.Ayuda->MostrarAyuda(n);
}

// ---- dialogs ----------------------------------------------------------------------

TFormulario::TFormulario(const TContextoFormulario& contexto, int formulario, int ayuda, QWidget* parent)
    : QDialog(parent), TTextosFormulario(contexto, formulario, ayuda)
{
    Preparar(*this);
}

int TFormulario::Ejecutar()
{
    return Contexto.Modal.Ejecutar(*this);
}

QHBoxLayout* TFormulario::CrearBotones(int botones, const char* nombreAceptar, const char* nombreCancelar,
                                       const char* nombreAyuda)
{
    auto* fila = new QHBoxLayout;
    fila->addStretch(1);
    auto boton = [&](const char* nombre, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(nombre));
        b->setMinimumWidth(85);
        b->setAutoDefault(false);
        fila->addWidget(b);
        return b;
    };
    // Built-in captions until the language texts replace them on show.
    if (botones & BtnAceptar) {
        aceptar_ = boton(nombreAceptar, QStringLiteral("Aceptar"));
        aceptar_->setDefault(true);
        connect(aceptar_, &QPushButton::clicked, this, &TFormulario::AceptarClick);
    }
    if (botones & BtnCancelar) {
        cancelar_ = boton(nombreCancelar, QStringLiteral("Cancelar"));
        connect(cancelar_, &QPushButton::clicked, this, &QDialog::reject);
    }
    if (botones & BtnAyuda) {
        ayuda_ = boton(nombreAyuda, QStringLiteral("Ayuda"));
        connect(ayuda_, &QPushButton::clicked, this, [this] { MostrarAyuda(*this); });
    }
    fila->addStretch(1);
    return fila;
}

TFormulario::TEnCurso::~TEnCurso()
{
    if (--f_.enCurso_ == 0 && f_.salida_ >= 0)
        f_.done(std::exchange(f_.salida_, -1));
}

void TFormulario::done(int r)
{
    if (enCurso_ > 0) {
        salida_ = r;
        return;
    }
    QDialog::done(r);
}

void TFormulario::AceptarClick()
{
    if (Validar())
        accept();
}

void TFormulario::showEvent(QShowEvent* e)
{
    AplicarTextos(*this);
    AlMostrar();
    QDialog::showEvent(e);
}

void TFormulario::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F1) {
        MostrarAyuda(*this);
        return;
    }
    QDialog::keyPressEvent(e);
}

// ---- child windows ----------------------------------------------------------------

TVentanaFormulario::TVentanaFormulario(const TContextoFormulario& contexto, int formulario, int ayuda,
                                       QWidget* parent)
    : QWidget(parent), TTextosFormulario(contexto, formulario, ayuda)
{
    Preparar(*this);
}

void TVentanaFormulario::showEvent(QShowEvent* e)
{
    AplicarTextos(*this);
    AlMostrar();
    QWidget::showEvent(e);
}

void TVentanaFormulario::CerrarVentana()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void TVentanaFormulario::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F1) {
        MostrarAyuda(*this);
        return;
    }
    QWidget::keyPressEvent(e);
}

} // namespace qv

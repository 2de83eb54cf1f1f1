#include "channels/operaciones_comun.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/filtro_teclas.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/senales.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kTextoSinNombre = 174;
constexpr int kTextoUnidadDefecto = 199;
constexpr int kTextoNoGuardableAna = 34010;
constexpr int kTextoNoGuardableDig = 35010;

} // namespace

TOperacionesBase::TOperacionesBase(IPrincipal& principal, const TOperaciones& operaciones, int formulario,
                                   bool analogica, const char* nombre, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, formulario, NumeroAyuda, parent), principal_(principal),
      operaciones_(operaciones), analogica_(analogica)
{
    setObjectName(QLatin1String(nombre));

    // Built-in captions until the language texts replace them on show.
    LabelOperando1 = Etiqueta("LabelOperando1", QStringLiteral("Operando1"), this);
    LabelOperando2 = Etiqueta("LabelOperando2", QStringLiteral("Operando2"), this);
    Operando1ListBox = CrearLista("Operando1ListBox", this, true);
    Operando2ListBox = CrearLista("Operando2ListBox", this, true);
    LabelOperando1->setBuddy(Operando1ListBox);
    LabelOperando2->setBuddy(Operando2ListBox);
    LabelOperaciones = Etiqueta("LabelOperaciones", QStringLiteral("Operaciones"), this);
    LabelDescripciones = Etiqueta("LabelDescripciones", QStringLiteral("Descripciones"), this);
    ListaOperacionesListBox = CrearLista("ListaOperacionesListBox", this, true);
    ListaDescipcionesListBox = CrearLista("ListaDescipcionesListBox", this, true);
    LabelOperaciones->setBuddy(ListaOperacionesListBox);
    LabelNombre = Etiqueta("LabelNombre", QStringLiteral("Nombre :"), this);
    NombreEdit = new QLineEdit(this);
    NombreEdit->setObjectName(QStringLiteral("NombreEdit"));
    NombreEdit->setMaxLength(8);
    TFiltroTeclas::Nombre(NombreEdit);
    LabelNombre->setBuddy(NombreEdit);
    LabelUnidad = Etiqueta("LabelUnidad", QStringLiteral("Unidad :"), this);
    UnidadEdit = new QLineEdit(this);
    UnidadEdit->setObjectName(QStringLiteral("UnidadEdit"));
    UnidadEdit->setMaxLength(20);
    TFiltroTeclas::Nombre(UnidadEdit);
    LabelUnidad->setBuddy(UnidadEdit);
    AnadirBtn = new QPushButton(QStringLiteral("A\u00f1adir"), this);
    AnadirBtn->setObjectName(QStringLiteral("AnadirBtn"));
    AnadirBtn->setAutoDefault(false);
    BorrarBtn = new QPushButton(QStringLiteral("Borrar"), this);
    BorrarBtn->setObjectName(QStringLiteral("BorrarBtn"));
    BorrarBtn->setAutoDefault(false);

    connect(AnadirBtn, &QPushButton::clicked, this, &TOperacionesBase::AnadirBtnClick);
    connect(BorrarBtn, &QPushButton::clicked, this, &TOperacionesBase::BorrarBtnClick);
    for (int n : {1, 2}) {
        QListWidget* l = n == 1 ? Operando1ListBox : Operando2ListBox;
        connect(l, &QListWidget::currentItemChanged, this, [this, n](QListWidgetItem* item) {
            if (!actualizando_ && item)
                OperandoElegido(n, item->text());
        });
    }
    // The two lists go line for line: a line chosen in one is chosen in the other.
    connect(ListaOperacionesListBox, &QListWidget::currentRowChanged, ListaDescipcionesListBox,
            qOverload<int>(&QListWidget::setCurrentRow));
    connect(ListaDescipcionesListBox, &QListWidget::currentRowChanged, ListaOperacionesListBox,
            qOverload<int>(&QListWidget::setCurrentRow));
    ListaOperacionesListBox->installEventFilter(this);

    InicializaOperandos();
    LlenarOperaciones();
}

void TOperacionesBase::Montar(QLayout* teclas, QLayout* bajo1, QLayout* bajo2)
{
    auto* rejilla = new QGridLayout;
    rejilla->addWidget(LabelOperando1, 0, 0);
    rejilla->addWidget(LabelOperando2, 0, 1);
    rejilla->addWidget(LabelOperaciones, 0, 2);
    rejilla->addWidget(LabelDescripciones, 0, 3);
    rejilla->addWidget(Operando1ListBox, 1, 0);
    rejilla->addWidget(Operando2ListBox, 1, 1);
    rejilla->addWidget(ListaOperacionesListBox, 1, 2);
    rejilla->addWidget(ListaDescipcionesListBox, 1, 3);
    if (bajo1)
        rejilla->addLayout(bajo1, 2, 0);
    if (bajo2)
        rejilla->addLayout(bajo2, 2, 1);
    for (QListWidget* l : {Operando1ListBox, Operando2ListBox, ListaOperacionesListBox})
        l->setFixedWidth(120);
    ListaDescipcionesListBox->setMinimumWidth(200);
    rejilla->setColumnStretch(3, 1);

    auto* nombre = new QHBoxLayout;
    nombre->addWidget(LabelNombre);
    nombre->addWidget(NombreEdit);
    nombre->addSpacing(16);
    nombre->addWidget(LabelUnidad);
    nombre->addWidget(UnidadEdit);
    nombre->addStretch(1);

    QHBoxLayout* botones = CrearBotones(BtnAceptar | BtnCancelar, "AceptarBtn", "CancelarBtn");
    botones->insertWidget(0, AnadirBtn);
    botones->insertWidget(1, BorrarBtn);
    botones->insertStretch(2, 1);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(rejilla);
    columna->addLayout(teclas);
    columna->addLayout(nombre);
    columna->addSpacing(6);
    columna->addLayout(botones);
    resize(620, 380);

    // Keyboard order as laid out: the lists, the constants, the operation keys, the
    // name and unit, then the buttons.
    std::vector<QWidget*> orden{Operando1ListBox, Operando2ListBox, ListaOperacionesListBox, ListaDescipcionesListBox};
    for (QLayout* l : {bajo1, bajo2})
        for (int i = 0; l && i < l->count(); ++i)
            if (QWidget* w = l->itemAt(i)->widget(); w && w->focusPolicy() != Qt::NoFocus)
                orden.push_back(w);
    for (auto& [tecla, operacion] : teclas_)
        orden.push_back(tecla);
    for (QWidget* w : std::initializer_list<QWidget*>{NombreEdit, UnidadEdit, AnadirBtn, BorrarBtn, BotonAceptar(),
                                                       BotonCancelar()})
        orden.push_back(w);
    for (std::size_t i = 1; i < orden.size(); ++i)
        setTabOrder(orden[i - 1], orden[i]);

    ActualizaInterfaz();
}

QPushButton* TOperacionesBase::CrearTecla(const char* nombre, const QString& texto, const QString& operacion)
{
    auto* b = new QPushButton(texto, this);
    b->setObjectName(QLatin1String(nombre));
    b->setCheckable(true);
    b->setAutoDefault(false);
    b->setMinimumWidth(54);
    connect(b, &QPushButton::clicked, this, [this, operacion] {
        TeclaPulsada(operacion);
        ActualizaInterfaz();
    });
    teclas_.emplace_back(b, operacion);
    return b;
}

const TConfigES* TOperacionesBase::Config() const
{
    return principal_.Estado().Trabajo();
}

int TOperacionesBase::NumeroOperando(const TConfigES& c, const QString& nombre, bool analogica)
{
    if (analogica) {
        for (int k = 1; k <= TConfigES::NumEntAna; ++k)
            if (c.EntAna(k).Nombre == nombre)
                return k;
        for (int i = 1; i <= TConfigES::NumSalAna; ++i)
            if (c.SalAna(i).Nombre == nombre)
                return TConfigES::NumEntAna + i;
        return 0;
    }
    for (int k = 1; k <= TConfigES::NumEntDig; ++k)
        if (c.EntDig(k).Nombre == nombre)
            return k;
    for (int i = 1; i <= TConfigES::NumSalDig; ++i)
        if (c.SalDig(i).Nombre == nombre)
            return TConfigES::NumEntDig + i;
    return 0;
}

QString TOperacionesBase::NumeroDe(const QString& nombre) const
{
    const TConfigES* c = Config();
    return QString::number(c ? NumeroOperando(*c, nombre, analogica_) : 0);
}

void TOperacionesBase::InicializaOperandos()
{
    RecargarLista(1);
    RecargarLista(2);
}

void TOperacionesBase::RecargarLista(int operando)
{
    QListWidget* l = operando == 1 ? Operando1ListBox : Operando2ListBox;
    const bool antes = actualizando_;
    actualizando_ = true;
    l->clear();
    if (const TConfigES* c = Config()) {
        QStringList nombres;
        if (analogica_) {
            for (int k = 1; k <= TConfigES::NumEntAna; ++k)
                if (c->EntAna(k).Activo)
                    nombres << c->EntAna(k).Nombre;
            for (int i = 1; i <= TConfigES::NumSalAna; ++i)
                if (c->SalAna(i).Activo)
                    nombres << c->SalAna(i).Nombre;
        } else {
            for (int k = 1; k <= TConfigES::NumEntDig; ++k)
                if (c->EntDig(k).Activo)
                    nombres << c->EntDig(k).Nombre;
            for (int i = 1; i <= TConfigES::NumSalDig; ++i)
                if (c->SalDig(i).Activo)
                    nombres << c->SalDig(i).Nombre;
        }
        l->addItems(nombres);
    }
    l->setCurrentRow(-1);
    actualizando_ = antes;
}

std::vector<TOperacion>& TOperacionesBase::Lista()
{
    return analogica_ ? operaciones_.ListaOpAna : operaciones_.ListaOpDig;
}

void TOperacionesBase::LlenarOperaciones()
{
    ListaOperacionesListBox->clear();
    ListaDescipcionesListBox->clear();
    const TConfigES porDefecto;
    const TConfigES& c = Config() ? *Config() : porDefecto;
    for (const TOperacion& op : Lista()) {
        ListaOperacionesListBox->addItem(op.NombreResultado);
        ListaDescipcionesListBox->addItem(op.Formula(c));
    }
}

void TOperacionesBase::OperandoElegido(int operando, const QString& nombre)
{
    (operando == 1 ? EleccionOperando1 : EleccionOperando2) = nombre;
    ActualizaInterfaz();
}

void TOperacionesBase::SetOperandoVisible(int operando, bool visible)
{
    (operando == 1 ? LabelOperando1 : LabelOperando2)->setVisible(visible);
    (operando == 1 ? Operando1ListBox : Operando2ListBox)->setVisible(visible);
}

void TOperacionesBase::SetOperandoHabilitado(int operando, bool habilitado)
{
    (operando == 1 ? LabelOperando1 : LabelOperando2)->setEnabled(habilitado);
    (operando == 1 ? Operando1ListBox : Operando2ListBox)->setEnabled(habilitado);
}

void TOperacionesBase::ActualizaInterfaz()
{
    for (auto& [tecla, operacion] : teclas_)
        tecla->setChecked(operacion == OperacionElegida);
    const bool anadir = AnadirHabilitado();
    AnadirBtn->setEnabled(anadir);
    BorrarBtn->setEnabled(ListaOperacionesListBox->count() > 0);
    // Only the name is missing: that is where the user types next.
    if (anadir && NombreEdit->text().isEmpty() && ConstantesVacias())
        NombreEdit->setFocus();
}

bool TOperacionesBase::Refusar(int clave, bool error)
{
    const QString texto = Textos().BuscarTexto(clave);
    if (error)
        Interaccion().MostrarError(texto, Botones::Aceptar);
    else
        Interaccion().MostrarAviso(texto, Botones::Aceptar);
    NombreEdit->setFocus();
    return false;
}

// A signal of the current set bears the name, and is not the result of an earlier
// operation of that name (which the recomputation replaces anyway).
bool TOperacionesBase::NombreDeSenal(const QString& nombre) const
{
    TCjtSenales* s = principal_.Estado().Senales();
    if (!s || !s->Existe(nombre))
        return false;
    const TSenal* senal = s->BuscarAna(nombre);
    if (!senal)
        senal = s->BuscarDig(nombre);
    return !(senal && senal->Operacion() && senal->Operacion()->NombreResultado == nombre);
}

void TOperacionesBase::AnadirBtnClick()
{
    if (!ComprobarOperacion())
        return;
    const QString nombre = NombreEdit->text();
    QString unidad = UnidadEdit->text();
    if (nombre.isEmpty()) {
        Refusar(kTextoSinNombre, false);
        return;
    }
    // Blanks or "$" (pasted) would break the operation's record in the files.
    if (!NombreGuardable(nombre) || !NombreGuardable(unidad)) {
        Refusar(analogica_ ? kTextoNoGuardableAna : kTextoNoGuardableDig, false);
        return;
    }
    if (const TConfigES* c = Config()) {
        for (int k = 1; k <= TConfigES::NumEntDig; ++k)
            if (c->EntDig(k).Nombre == nombre || c->SalDig(k).Nombre == nombre) {
                Refusar(clave::NombreCanal, true);
                return;
            }
        for (int k = 1; k <= TConfigES::NumEntAna; ++k)
            if (c->EntAna(k).Nombre == nombre || (k <= TConfigES::NumSalAna && c->SalAna(k).Nombre == nombre)) {
                Refusar(clave::NombreCanal, true);
                return;
            }
    }
    if (NombreDeSenal(nombre)) {
        Refusar(clave::NombreSenal, true);
        return;
    }
    if (operaciones_.ExisteResultado(nombre)) {
        Refusar(clave::NombreOperacion, true);
        return;
    }
    if (unidad.isEmpty())
        unidad = Textos().BuscarTexto(kTextoUnidadDefecto);

    try {
        TOperacion op = Construir(nombre, unidad);
        if (analogica_)
            operaciones_.AnadirOpAna(op);
        else
            operaciones_.AnadirOpDig(op);
        const TConfigES porDefecto;
        ListaOperacionesListBox->addItem(op.NombreResultado);
        ListaDescipcionesListBox->addItem(op.Formula(Config() ? *Config() : porDefecto));
    } catch (const EErrorModelo&) {
        // An operand the operation cannot take: the operation is not complete.
        Refusar(clave::Incompleta, false);
        return;
    }
    NombreEdit->clear();
    UnidadEdit->clear();
    TrasAnadir();
    ActualizaInterfaz();
}

void TOperacionesBase::BorrarBtnClick()
{
    if (ListaOperacionesListBox->count() == 0)
        return;
    const QList<QListWidgetItem*> elegidas = ListaOperacionesListBox->selectedItems();
    BorrarFila(elegidas.isEmpty() ? 0 : ListaOperacionesListBox->row(elegidas.first()));
}

void TOperacionesBase::BorrarFila(int fila)
{
    if (fila < 0 || fila >= ListaOperacionesListBox->count())
        return;
    const QString nombre = ListaOperacionesListBox->item(fila)->text();
    if (analogica_)
        operaciones_.BorrarOpAna(nombre);
    else
        operaciones_.BorrarOpDig(nombre);
    delete ListaOperacionesListBox->takeItem(fila);
    if (fila < ListaDescipcionesListBox->count())
        delete ListaDescipcionesListBox->takeItem(fila);
    ListaOperacionesListBox->clearSelection();
    ListaDescipcionesListBox->clearSelection();
    ActualizaInterfaz();
}

bool TOperacionesBase::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == ListaOperacionesListBox && evento->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Delete) {
        const QList<QListWidgetItem*> elegidas = ListaOperacionesListBox->selectedItems();
        if (!elegidas.isEmpty())
            BorrarFila(ListaOperacionesListBox->row(elegidas.first()));
        return true;
    }
    return TFormulario::eventFilter(objeto, evento);
}

} // namespace qv

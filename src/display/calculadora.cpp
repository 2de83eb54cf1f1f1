#include "display/calculadora.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/pedir_nombre.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/calculo.h"
#include "model/claves_texto.h"
#include "model/errores.h"
#include "model/senales.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace qv {

namespace {

constexpr int kTextoMemoria = 252;
constexpr int kTextoResultado = 253;
constexpr int kTextoPeriodosDistintos = 159;
constexpr int kTextoNombreUsado = 112;

// Periods read from files carry up to 15 significant digits: equal periods agree far
// closer than this.
bool MismoPeriodo(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

} // namespace

// State x event -> next state; 0 marks the pairs that lead to state 1.
int TransicionAna(int estado, int evento)
{
    // Events 1 op, 2 integral, 4 derivative, 5 signal, 7 filter, 8 M, 9 result.
    static const int tabla[10][10] = {
        // ev: 0  1  2  3  4  5  6  7  8  9
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // (none)
        {0, 0, 0, 0, 0, 2, 0, 0, 2, 0}, // 1 empty
        {0, 4, 3, 0, 3, 0, 0, 3, 2, 5}, // 2 first operand
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 5}, // 3 operation complete
        {0, 0, 0, 0, 0, 3, 0, 0, 3, 0}, // 4 second operand awaited
        {0, 4, 3, 0, 3, 0, 0, 5, 5, 0}, // 5 result
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 5}, // 6 signal-constant complete
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 7 (unused)
        {0, 9, 0, 0, 0, 0, 0, 0, 0, 0}, // 8 constant first
        {0, 0, 0, 0, 0, 6, 0, 0, 0, 0}, // 9 constant and operator
    };
    if (estado < 1 || estado > 9 || evento < 0 || evento > 9)
        return 1;
    const int siguiente = tabla[estado][evento];
    return siguiente ? siguiente : 1;
}

int TransicionDig(int estado, int evento)
{
    // Events 0 AC, 1 op, 2 NOT, 3 signal, 4 M, 5 result.
    static const int tabla[6][6] = {
        {0, 0, 0, 0, 0, 0},
        {0, 0, 0, 2, 2, 0},
        {0, 4, 3, 0, 2, 5},
        {0, 0, 0, 0, 0, 5},
        {0, 0, 0, 3, 3, 0},
        {0, 4, 3, 0, 5, 0},
    };
    if (estado < 1 || estado > 5 || evento < 0 || evento > 5)
        return 1;
    const int siguiente = tabla[estado][evento];
    return siguiente ? siguiente : 1;
}

TCalculadora::TCalculadora(IPrincipal& principal, int formulario, int ayuda, const char* nombreLista,
                           TEventos eventos, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, formulario, ayuda, parent),
      principal_(principal),
      calculo_(std::make_unique<TCalculo>(principal.Contexto().Formulario.Textos,
                                          principal.Contexto().Formulario.Interaccion)),
      eventos_(eventos)
{
    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette paleta = Panel1->palette();
    paleta.setColor(QPalette::Window, Qt::white);
    paleta.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(paleta);
    QFont letra = Panel1->font();
    letra.setPointSizeF(letra.pointSizeF() * 1.2);
    Panel1->setFont(letra);
    Panel1->setMinimumHeight(Panel1->fontMetrics().height() + 12);
    Panel1->setMargin(4);
    // A long expression shows its end; the label never widens the dialog.
    Panel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    Lista = new QListWidget(this);
    Lista->setObjectName(QLatin1String(nombreLista));
    Lista->setSelectionMode(QAbstractItemView::SingleSelection);
    Lista->setMinimumWidth(110);
    connect(Lista, &QListWidget::itemClicked, this, &TCalculadora::ItemElegido);
    // Enter on the current name chooses it, as a click does.
    connect(Lista, &QListWidget::itemActivated, this, &TCalculadora::ItemElegido);

    SrcMuesList = new QListWidget(this);
    SrcMuesList->setObjectName(QStringLiteral("SrcMuesList"));
    SrcMuesList->setSelectionMode(QAbstractItemView::NoSelection);
    SrcMuesList->setFocusPolicy(Qt::NoFocus);
    SrcMuesList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    SpBtnAC = CrearTecla("SpBtnAC", QStringLiteral("AC"));
    SpBtnResultado = CrearTecla("SpBtnResultado", QStringLiteral("RESULTADO"));
    SpBtnM = CrearTecla("SpBtnM", QStringLiteral("M"));
    SpBtnIns = CrearTecla("SpBtnIns", QStringLiteral("Ins"));
    SpBtnPasar = CrearTecla("SpBtnPasar", QStringLiteral("Pasar al conjunto de se\u00f1ales"));
    SpBtnCerrar = CrearTecla("SpBtnCerrar", QStringLiteral("Cerrar Calculadora"));
    connect(SpBtnAC, &QPushButton::clicked, this, &TCalculadora::SpBtnACClick);
    connect(SpBtnResultado, &QPushButton::clicked, this, &TCalculadora::SpBtnResultadoClick);
    connect(SpBtnM, &QPushButton::clicked, this, &TCalculadora::SpBtnMClick);
    connect(SpBtnIns, &QPushButton::clicked, this, &TCalculadora::SpBtnInsClick);
    connect(SpBtnPasar, &QPushButton::clicked, this, &TCalculadora::SpBtnPasarClick);
    connect(SpBtnCerrar, &QPushButton::clicked, this, &TCalculadora::SpBtnCerrarClick);

    PanelMemoria = new QFrame(this);
    PanelMemoria->setObjectName(QStringLiteral("PanelMemoria"));
    static_cast<QFrame*>(PanelMemoria)->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* memoria = new QHBoxLayout(PanelMemoria);
    memoria->setContentsMargins(3, 3, 3, 3);
    memoria->setSpacing(3);
    SpBtnM->setParent(PanelMemoria);
    SpBtnIns->setParent(PanelMemoria);
    memoria->addWidget(SpBtnM);
    memoria->addWidget(SpBtnIns);
}

TCalculadora::~TCalculadora() = default;

QPushButton* TCalculadora::CrearTecla(const char* nombre, const QString& texto, int ancho)
{
    auto* b = new QPushButton(texto, this);
    b->setObjectName(QLatin1String(nombre));
    // Enter in the constant field must not press a key.
    b->setAutoDefault(false);
    if (ancho > 0)
        b->setMinimumWidth(ancho);
    b->setMinimumHeight(30);
    return b;
}

void TCalculadora::Montar(QLayout* propias)
{
    auto* listas = new QHBoxLayout;
    listas->setSpacing(2);
    listas->addWidget(Lista, 1);
    listas->addWidget(SrcMuesList, 0);

    auto* inferiores = new QGridLayout;
    inferiores->addWidget(SpBtnAC, 0, 0);
    inferiores->addWidget(SpBtnResultado, 0, 1);
    inferiores->addWidget(PanelMemoria, 0, 2);

    auto* derecha = new QVBoxLayout;
    derecha->addLayout(propias);
    derecha->addSpacing(10);
    derecha->addLayout(inferiores);
    derecha->addStretch(1);

    auto* centro = new QHBoxLayout;
    centro->addLayout(listas, 1);
    centro->addSpacing(8);
    centro->addLayout(derecha);

    // Only the help button of the standard row: it closes this one.
    delete CrearBotones(BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp");
    auto* abajo = new QHBoxLayout;
    abajo->addWidget(SpBtnPasar);
    abajo->addWidget(SpBtnCerrar);
    abajo->addStretch(1);
    abajo->addWidget(BotonAyuda());

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Panel1);
    columna->addLayout(centro, 1);
    columna->addLayout(abajo);

    // The order a person tabs through: the list, the calculator's own keys as laid
    // out, the shared keys, then the bottom row.
    std::vector<QWidget*> orden{Lista};
    std::function<void(QLayout*)> recorrer = [&](QLayout* l) {
        for (int i = 0; i < l->count(); ++i) {
            QLayoutItem* item = l->itemAt(i);
            if (QWidget* w = item->widget()) {
                if (w->focusPolicy() != Qt::NoFocus)
                    orden.push_back(w);
            } else if (QLayout* sub = item->layout()) {
                recorrer(sub);
            }
        }
    };
    recorrer(propias);
    for (QWidget* w : {static_cast<QWidget*>(SpBtnAC), static_cast<QWidget*>(SpBtnResultado),
                       static_cast<QWidget*>(SpBtnM), static_cast<QWidget*>(SpBtnIns),
                       static_cast<QWidget*>(SpBtnPasar), static_cast<QWidget*>(SpBtnCerrar),
                       static_cast<QWidget*>(BotonAyuda())})
        orden.push_back(w);
    for (size_t i = 1; i < orden.size(); ++i)
        setTabOrder(orden[i - 1], orden[i]);
}

TCjtSenales* TCalculadora::Senales() const { return principal_.Estado().Senales(); }

QString TCalculadora::Pantalla() const { return pantalla_; }

void TCalculadora::PonerPantalla(const QString& texto)
{
    pantalla_ = texto;
    const int ancho = std::max(20, Panel1->width() - 2 * Panel1->margin() - 8);
    Panel1->setText(Panel1->fontMetrics().elidedText(texto, Qt::ElideLeft, ancho));
    Panel1->setToolTip(texto);
    Panel1->setAccessibleName(texto);
}

void TCalculadora::Avisar(int clave)
{
    Interaccion().MostrarAviso(Textos().BuscarTexto(clave), Botones::Aceptar);
}

void TCalculadora::CargarLista()
{
    const QStringList nombres = NombresSenales();
    Lista->clear();
    Lista->addItems(nombres);
    LlenarPeriodos(nombres);
}

void TCalculadora::AlMostrar()
{
    memoriaUsada_ = false;
    insArmado_ = false;
    Limpiar();
    CargarLista();
    Habilitar();
    // Re-elide the display to the laid-out width.
    PonerPantalla(pantalla_);
    Lista->setFocus();
}

void TCalculadora::resizeEvent(QResizeEvent* e)
{
    TFormulario::resizeEvent(e);
    PonerPantalla(pantalla_);
}

void TCalculadora::PonerEstado(int estado)
{
    estado_ = estado;
    pasado_ = false;
}

void TCalculadora::Transitar(int evento)
{
    evento_ = evento;
    PonerEstado(Transicion(estado_, evento));
    Habilitar();
}

void TCalculadora::Habilitar()
{
    const int e = estado_;
    SpBtnPasar->setEnabled(e == 5 && resultado_ && !pasado_);
    SpBtnIns->setEnabled(e == 2 || e == 5);
    bool m = (e == 1 || e == 2 || e == 4 || e == 5) && (memoriaUsada_ || insArmado_);
    if (e == 1 || e == 4)
        m = m && memoria_ != nullptr;
    SpBtnM->setEnabled(m);
    HabilitarPropias();
}

void TCalculadora::Limpiar()
{
    PonerEstado(1);
    PonerPantalla(QString());
    operandoA_.reset();
    operandoB_.reset();
    LimpiarPropio();
    Habilitar();
}

void TCalculadora::TomarResultadoComoOperando()
{
    if (estado_ == 5 && resultado_)
        operandoA_ = Copia(*resultado_);
}

void TCalculadora::ItemElegido(QListWidgetItem* item)
{
    if (item && Lista->isEnabled())
        SenalElegida(item->text());
}

void TCalculadora::SenalElegida(const QString& nombre)
{
    const TSenal* s = BuscarSenal(nombre);
    if (!s)
        return;
    Anadir(QLatin1Char(' ') + nombre);
    if (estado_ == 1)
        operandoA_ = Copia(*s);
    else
        operandoB_ = Copia(*s);
    Transitar(eventos_.senal);
}

void TCalculadora::SpBtnACClick() { Limpiar(); }

void TCalculadora::SpBtnMClick()
{
    const QString memoria = QLatin1Char(' ') + Textos().BuscarTexto(kTextoMemoria);
    switch (estado_) {
    case 2:
        if (operandoA_)
            memoria_ = Copia(*operandoA_);
        PonerPantalla(memoria);
        break;
    case 1:
        Anadir(memoria);
        operandoA_ = memoria_ ? Copia(*memoria_) : nullptr;
        break;
    case 4:
        Anadir(memoria);
        operandoB_ = memoria_ ? Copia(*memoria_) : nullptr;
        break;
    case 5:
        Anadir(memoria);
        if (resultado_)
            memoria_ = Copia(*resultado_);
        break;
    default:
        return;
    }
    memoriaUsada_ = true;
    Transitar(eventos_.memoria);
}

void TCalculadora::SpBtnInsClick()
{
    insArmado_ = true;
    Habilitar();
}

void TCalculadora::SpBtnResultadoClick()
{
    const int estado = estado_;
    PonerPantalla(Textos().BuscarTexto(kTextoResultado));
    TrasResultado();
    std::unique_ptr<TSenal> r;
    try {
        if (estado == 2) {
            if (operandoA_)
                r = Copia(*operandoA_);
            operandoA_.reset();
        } else {
            if (estado == 3 && operandoA_ && operandoB_
                && !MismoPeriodo(operandoA_->Periodo(), operandoB_->Periodo())) {
                Avisar(kTextoPeriodosDistintos);
                Limpiar();
                return;
            }
            r = Calcular();
            operandoA_.reset();
            operandoB_.reset();
        }
    } catch (const EErrorCalculo&) {
        // A constant divisor of 0 or a result beyond single precision.
        Avisar(clave::SinResultado);
        r.reset();
    }
    resultado_ = std::move(r);
    if (resultado_)
        Transitar(eventos_.resultado);
    else
        Limpiar();
}

void TCalculadora::SpBtnPasarClick()
{
    if (estado_ != 5 || !resultado_ || !Senales())
        return;
    TfrmPedirNombre dialogo(principal_.Contexto().Formulario, this);
    dialogo.PonerOcupado(
        [this](const QString& n) { return NombreOcupado(n) ? Textos().BuscarTexto(kTextoNombreUsado) : QString(); });
    if (dialogo.Ejecutar() != QDialog::Accepted)
        return;
    const QString nombre = dialogo.Nombre();
    std::unique_ptr<TSenal> copia = Copia(*resultado_);
    copia->PonerNombre(nombre);
    copia->PonerCalculada(true);
    const bool anadida = AnadirAlConjunto(std::move(copia));
    CargarLista();
    // Passed: the key waits for a new state. Declined at the name clash: nothing was
    // added, so it stays for another name.
    pasado_ = anadida;
    Habilitar();
    if (anadida)
        principal_.Estado().MarcarModificado();
}

void TCalculadora::SpBtnCerrarClick()
{
    memoria_.reset();
    operandoA_.reset();
    operandoB_.reset();
    accept();
}

} // namespace qv

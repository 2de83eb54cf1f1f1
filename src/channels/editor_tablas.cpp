#include "channels/editor_tablas.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/principal.h"
#include "channels/campos.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/errores.h"
#include "model/escritura_segura.h"
#include "model/formatos.h"
#include "model/generadores.h"
#include "model/lector_campos.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr int kTextoCerrar = 178;
constexpr int kTextoContinuar = 179;
constexpr int kTextoNoAbierto = 219;
constexpr int kTextoSinCuenta = 120;
constexpr int kTextoErrorLectura = 220;
constexpr int kTextoCabeceraAna = 222;
constexpr int kTextoVacia = 223;
constexpr int kTextoValorDigital = 224;
constexpr int kTextoValorAnalogico = 225;
constexpr int kTextoCabeceraDig = 230;

// Value cells take what a number is typed with: digits, "-" and ".".
class TDelegadoValor : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* padre, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override
    {
        QWidget* w = QStyledItemDelegate::createEditor(padre, opcion, indice);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            PonerFiltro(*e, TFiltro::Decimal);
        return w;
    }
};

QObject* DialogoFichero(const char* nombre, const QString& filtro, QObject* padre)
{
    auto* o = new QObject(padre);
    o->setObjectName(QLatin1String(nombre));
    o->setProperty("filter", filtro);
    o->setProperty("windowTitle", QString());
    return o;
}

} // namespace

TfrmEditTab::TfrmEditTab(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, 69, parent), principal_(principal)
{
    setObjectName(QStringLiteral("frmEditTab"));
    setWindowTitle(QStringLiteral("Editor de Tablas Digitales/Anal\u00f3gicas"));

    SBEditar = Boton("SBEditar", QStringLiteral("Abrir"), this);
    SBNueva = Boton("SBNueva", QStringLiteral("Nueva"), this);
    SBGuardar = Boton("SBGuardar", QStringLiteral("Guardar"), this);
    SBGuardarComo = Boton("SBGuardarComo", QStringLiteral("Guardar como"), this);
    SpeedButton1 = Boton("SpeedButton1", QStringLiteral("Cerrar"), this);

    SENumVal = new QSpinBox(this);
    SENumVal->setObjectName(QStringLiteral("SENumVal"));
    SENumVal->setRange(1, MaxValores);
    // Typing "25" must not pass through a table of 2 rows, which would drop values.
    SENumVal->setKeyboardTracking(false);
    Label2 = NuevaEtiqueta("Label2", QStringLiteral("N\u00famero de valores"), this, SENumVal);

    RGTipo = new QGroupBox(QStringLiteral("Tipo de Tabla"), this);
    RGTipo->setObjectName(QStringLiteral("RGTipo"));
    RBDigital = new QRadioButton(QStringLiteral(" Digital"), RGTipo);
    RBDigital->setObjectName(QStringLiteral("RBDigital"));
    RBAnalogica = new QRadioButton(QStringLiteral(" Anal\u00f3gica"), RGTipo);
    RBAnalogica->setObjectName(QStringLiteral("RBAnalogica"));
    RBAnalogica->setChecked(true);
    auto* tipos = new QVBoxLayout(RGTipo);
    tipos->addWidget(RBDigital);
    tipos->addWidget(RBAnalogica);

    SGrid = new QTableWidget(this);
    SGrid->setObjectName(QStringLiteral("SGrid"));
    SGrid->setColumnCount(2);
    SGrid->verticalHeader()->hide();
    SGrid->setItemDelegateForColumn(1, new TDelegadoValor(SGrid));
    SGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    SGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    SGrid->horizontalHeader()->setStretchLastSection(true);
    SGrid->setColumnWidth(0, SGrid->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    SGrid->setMinimumWidth(200);
    Label1 = NuevaEtiqueta("Label1", QStringLiteral("Valores de la tabla"), this, SGrid);

    OpenDialog1 = DialogoFichero("OpenDialog1", QStringLiteral("Ficheros de Tabla|*.tba"), this);
    SaveDialog1 = DialogoFichero("SaveDialog1", QStringLiteral("Ficheros de Tablas|*.tba"), this);

    connect(SBEditar, &QPushButton::clicked, this, &TfrmEditTab::SBEditarClick);
    connect(SBNueva, &QPushButton::clicked, this, &TfrmEditTab::SBNuevaClick);
    connect(SBGuardar, &QPushButton::clicked, this, &TfrmEditTab::SBGuardarClick);
    connect(SBGuardarComo, &QPushButton::clicked, this, &TfrmEditTab::SBGuardarComoClick);
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::close);
    connect(SENumVal, &QSpinBox::valueChanged, this, &TfrmEditTab::SENumValChange);
    connect(RBDigital, &QRadioButton::clicked, this, &TfrmEditTab::RGTipoClick);
    connect(RBAnalogica, &QRadioButton::clicked, this, &TfrmEditTab::RGTipoClick);
    connect(SGrid, &QTableWidget::itemChanged, this, &TfrmEditTab::CeldaCambiada);

    // Toolbar, with help at its right end.
    auto* barra = new QHBoxLayout;
    for (QPushButton* b : {SBEditar, SBNueva, SBGuardar, SBGuardarComo})
        barra->addWidget(b);
    QHBoxLayout* ayuda = CrearBotones(BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp");
    delete ayuda->takeAt(0);
    barra->addLayout(ayuda, 1);

    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(Label2);
    izquierda->addWidget(SENumVal);
    izquierda->addSpacing(8);
    izquierda->addWidget(RGTipo);
    izquierda->addStretch(1);
    izquierda->addWidget(SpeedButton1);

    auto* derecha = new QVBoxLayout;
    derecha->addWidget(Label1);
    derecha->addWidget(SGrid, 1);

    auto* cuerpo = new QHBoxLayout;
    cuerpo->addLayout(izquierda);
    cuerpo->addSpacing(8);
    cuerpo->addLayout(derecha, 1);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(barra);
    columna->addLayout(cuerpo, 1);
    resize(440, 380);

    // Keyboard order as laid out: the toolbar, the count and type, the grid, "Cerrar".
    QWidget* anterior = nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{SBEditar, SBNueva, SBGuardar, SBGuardarComo, BotonAyuda(), SENumVal,
                                                       RBDigital, RBAnalogica, SGrid, SpeedButton1}) {
        if (anterior)
            setTabOrder(anterior, w);
        anterior = w;
    }

    Vaciar();
    SGrid->setFocus();
}

bool TfrmEditTab::EsDigital() const
{
    return RBDigital->isChecked();
}

void TfrmEditTab::TextosAplicados()
{
    tituloBase_ = windowTitle();
    PonerCabecera();
    PonerTitulo();
}

void TfrmEditTab::PonerCabecera()
{
    const int clave = EsDigital() ? kTextoCabeceraDig : kTextoCabeceraAna;
    SGrid->setHorizontalHeaderLabels({QString(), Textos().BuscarTexto(clave)});
}

// The caption shows the file "Guardar" writes to.
void TfrmEditTab::PonerTitulo()
{
    if (tituloBase_.isEmpty())
        return;
    setWindowTitle(fichero_.isEmpty() ? tituloBase_ : tituloBase_ + QStringLiteral(" - ") + SinCarpeta(fichero_));
}

void TfrmEditTab::PonerFilas(int n)
{
    const bool antes = actualizando_;
    actualizando_ = true;
    const int previas = SGrid->rowCount();
    SGrid->setRowCount(n);
    for (int f = previas; f < n; ++f) {
        auto* numero = new QTableWidgetItem(QString::number(f + 1));
        numero->setFlags(Qt::ItemIsEnabled);
        numero->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        numero->setBackground(palette().button());
        SGrid->setItem(f, 0, numero);
        SGrid->setItem(f, 1, new QTableWidgetItem);
    }
    actualizando_ = antes;
}

void TfrmEditTab::SENumValChange(int n)
{
    if (actualizando_)
        return;
    PonerFilas(n);
    // A count changed by the operator is a change of the table, to be saved like one.
    Marcar();
}

void TfrmEditTab::RGTipoClick()
{
    PonerCabecera();
    if (!PrimeraVacia())
        Marcar();
}

void TfrmEditTab::CeldaCambiada()
{
    if (!actualizando_)
        Marcar();
}

void TfrmEditTab::Marcar()
{
    modificado_ = true;
    SBGuardar->setEnabled(true);
    SBGuardarComo->setEnabled(true);
}

void TfrmEditTab::Limpio()
{
    modificado_ = false;
    SBGuardar->setEnabled(false);
}

bool TfrmEditTab::PrimeraVacia() const
{
    const QTableWidgetItem* it = SGrid->rowCount() > 0 ? SGrid->item(0, 1) : nullptr;
    return !it || it->text().isEmpty();
}

void TfrmEditTab::Vaciar()
{
    actualizando_ = true;
    SGrid->setRowCount(0);
    PonerFilas(1);
    SENumVal->setValue(1);
    actualizando_ = false;
    SGrid->setCurrentCell(0, 1);
    Limpio();
    SBGuardarComo->setEnabled(false);
}

bool TfrmEditTab::ValidarTabla()
{
    const bool digital = EsDigital();
    for (int f = 0; f < SGrid->rowCount(); ++f) {
        const QTableWidgetItem* it = SGrid->item(f, 1);
        const std::optional<double> v = LeerReal(it ? it->text() : QString());
        const bool valido = v && (digital ? (std::nearbyint(*v) == 0 || std::nearbyint(*v) == 1)
                                          : DentroDeSalida(*v));
        if (!valido) {
            SGrid->setCurrentCell(f, 1);
            Interaccion().MostrarError(Textos().BuscarTexto(digital ? kTextoValorDigital : kTextoValorAnalogico),
                                       Botones::Aceptar);
            SGrid->setFocus();
            return false;
        }
    }
    return true;
}

// Digital values are written as the bit they round to, so that 0.6 is stored as the 1
// it was accepted as (its first character would be "0", and that of -0.4 a "-").
QByteArray TfrmEditTab::Contenido() const
{
    const bool digital = EsDigital();
    QByteArray r = QByteArray::number(SENumVal->value()) + "\r\n";
    for (int f = 0; f < SGrid->rowCount(); ++f) {
        const QString t = SGrid->item(f, 1)->text();
        if (digital)
            r += std::nearbyint(LeerReal(t).value_or(0)) == 1 ? "1" : "0";
        else
            r += t.toLatin1();
        r += "\r\n";
    }
    return r;
}

bool TfrmEditTab::Escribir(const QString& ruta)
{
    if (EscribirSeguro(ruta, Contenido()))
        return true;
    Interaccion().MostrarError(Textos().BuscarTexto(clave::NoGuardado) + QLatin1Char(' ') + ruta, Botones::Aceptar);
    return false;
}

QString TfrmEditTab::PedirNombre()
{
    const QString inicial = fichero_.isEmpty() ? QStringLiteral("*.tba") : fichero_;
    return principal_.Contexto().Dialogos.GuardarFichero(SaveDialog1->property("filter").toString(),
                                                         SaveDialog1->property("windowTitle").toString(), inicial,
                                                         QStringLiteral("tba"));
}

void TfrmEditTab::SBGuardarClick()
{
    if (!modificado_ || !ValidarTabla())
        return;
    const QString ruta = fichero_.isEmpty() ? PedirNombre() : fichero_;
    if (ruta.isEmpty() || !Escribir(ruta))
        return;
    fichero_ = ruta;
    Limpio();
    PonerTitulo();
}

void TfrmEditTab::SBGuardarComoClick()
{
    if (PrimeraVacia()) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoVacia), Botones::Aceptar);
        return;
    }
    if (!ValidarTabla())
        return;
    const QString ruta = PedirNombre();
    if (ruta.isEmpty() || !Escribir(ruta))
        return;
    fichero_ = ruta;
    Limpio();
    PonerTitulo();
}

bool TfrmEditTab::PuedeDescartar()
{
    if (!modificado_ || PrimeraVacia())
        return true;
    const int r = Interaccion().MostrarPregunta(Textos().BuscarTexto(kTextoContinuar), Botones::SiNoCancelar);
    if (r == Respuesta::Si) {
        SBGuardarClick();
        // A table that could not be saved is not thrown away.
        return !modificado_;
    }
    return r == Respuesta::No;
}

void TfrmEditTab::SBEditarClick()
{
    const QString inicial = fichero_.isEmpty() ? QStringLiteral("*.tba") : fichero_;
    const QString ruta = principal_.Contexto().Dialogos.AbrirFichero(
        OpenDialog1->property("filter").toString(), OpenDialog1->property("windowTitle").toString(), inicial);
    if (ruta.isEmpty() || !PuedeDescartar())
        return;
    CargarFichero(ruta);
}

void TfrmEditTab::SBNuevaClick()
{
    if (!PuedeDescartar())
        return;
    Vaciar();
    SGrid->setFocus();
}

bool TfrmEditTab::CargarFichero(const QString& ruta)
{
    auto error = [this](int texto) {
        Interaccion().MostrarError(Textos().BuscarTexto(texto), Botones::Aceptar);
        return false;
    };
    QByteArray datos;
    if (!LeerFicheroEntero(ruta, datos))
        return error(kTextoNoAbierto);
    TLectorCampos l(datos);
    qint64 cuenta = 0;
    try {
        cuenta = l.LeerLineaEntero();
    } catch (const EErrorFormato&) {
        return error(kTextoSinCuenta);
    }
    const int n = int(std::clamp<qint64>(cuenta, 1, MaxValores));
    QStringList valores;
    for (int i = 0; i < n; ++i) {
        if (l.Fin()) {
            Vaciar();
            return error(kTextoErrorLectura);
        }
        valores << FormatoFijo(LeerRealInicio(l.LeerLinea()).value_or(0), 4);
    }

    actualizando_ = true;
    SENumVal->setValue(n);
    SGrid->setRowCount(0);
    PonerFilas(n);
    for (int i = 0; i < n; ++i)
        SGrid->item(i, 1)->setText(valores[i]);
    RBAnalogica->setChecked(true);
    actualizando_ = false;
    PonerCabecera();
    SGrid->setCurrentCell(0, 1);
    fichero_ = ruta;
    Limpio();
    SBGuardarComo->setEnabled(true);
    PonerTitulo();
    return true;
}

void TfrmEditTab::reject()
{
    if (modificado_) {
        const int r = Interaccion().MostrarPregunta(Textos().BuscarTexto(kTextoCerrar), Botones::SiNoCancelar);
        if (r == Respuesta::Si) {
            SBGuardarClick();
            if (modificado_)
                return;
        } else if (r != Respuesta::No) {
            return;
        }
    }
    TFormulario::reject();
}

} // namespace qv

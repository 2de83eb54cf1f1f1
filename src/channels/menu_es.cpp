// The input/output configuration window: what both unit models share (channel
// handlers, the time base, fast mode, acceptance). The panels of each model are laid
// out in menu_es_paneles.cpp.
#include "channels/menu_es.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "channels/nombre_ed.h"
#include "channels/operaciones_ana.h"
#include "channels/operaciones_dig.h"
#include "channels/ventanas_canal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/filtro_teclas.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

// Resources of a static library must be registered by name from outside any namespace.
static void IniciarIconosCanal()
{
    Q_INIT_RESOURCE(iconos_canal);
}

namespace qv {

namespace {

constexpr int kTextoSinCanales = 167;
constexpr int kTextoSenalesIncompatibles = 198;

bool EsSalida(int canal)
{
    return (canal > CanalES::SalDig && canal <= CanalES::EntAna) || canal > CanalES::SalAna;
}

bool TieneGenerador(const TConfigES& c, int canal)
{
    if (canal > CanalES::SalDig && canal <= CanalES::EntAna)
        return c.SalDig(canal - CanalES::SalDig).Generador != nullptr;
    if (canal > CanalES::SalAna)
        return c.SalAna(canal - CanalES::SalAna).Generador != nullptr;
    return false;
}

QString TipoGenerador(const TConfigES& c, int canal)
{
    if (canal > CanalES::SalDig && canal <= CanalES::EntAna) {
        const auto& g = c.SalDig(canal - CanalES::SalDig).Generador;
        return g ? g->Tipo() : QString();
    }
    if (canal > CanalES::SalAna) {
        const auto& g = c.SalAna(canal - CanalES::SalAna).Generador;
        return g ? g->Tipo() : QString();
    }
    return {};
}

// A time box that holds nothing the unit could use.
bool CajaVacia(const QLineEdit* e)
{
    const QString t = e->text().trimmed();
    return t.isEmpty() || t == QLatin1String("0");
}

void PonerTexto(QLineEdit* e, const QString& t)
{
    // Only real changes: rewriting the box being typed in would move its cursor.
    if (e->text() != t)
        e->setText(t);
}

} // namespace

TEntSal& CanalGlobal(TConfigES& c, int canal)
{
    if (canal <= CanalES::SalDig)
        return c.EntDig(canal);
    if (canal <= CanalES::EntAna)
        return c.SalDig(canal - CanalES::SalDig);
    if (canal <= CanalES::SalAna)
        return c.EntAna(canal - CanalES::EntAna);
    return c.SalAna(canal - CanalES::SalAna);
}

const TEntSal& CanalGlobal(const TConfigES& c, int canal)
{
    return CanalGlobal(const_cast<TConfigES&>(c), canal);
}

QString NombreBotonCanal(int canal)
{
    if (canal <= CanalES::SalDig)
        return QStringLiteral("entdig%1").arg(canal);
    if (canal <= CanalES::EntAna) {
        const int i = canal - CanalES::SalDig;
        return i == 1 ? QStringLiteral("Saldig1") : QStringLiteral("saldig%1").arg(i);
    }
    if (canal <= CanalES::SalAna)
        return QStringLiteral("EntAna%1").arg(canal - CanalES::EntAna);
    return QStringLiteral("SalAna%1").arg(canal - CanalES::SalAna);
}

QString NombreCheckCanal(int canal)
{
    if (canal <= CanalES::SalDig)
        return QStringLiteral("CheckBoxED%1").arg(canal);
    if (canal <= CanalES::EntAna)
        return QStringLiteral("CheckBoxSD%1").arg(canal - CanalES::SalDig);
    return QStringLiteral("CheckBox%1").arg(canal - CanalES::EntAna);
}

// ---- construction ---------------------------------------------------------------------

TMenuESBase::TMenuESBase(IPrincipal& principal, const char* nombre, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, NumeroAyuda, parent), principal_(principal)
{
    IniciarIconosCanal();
    setObjectName(QLatin1String(nombre));
    if (!principal_.Estado().Trabajo())
        principal_.Estado().PonerTrabajo(std::make_unique<TConfigES>());

    auto plantilla = [this](const char* objeto, const char* icono) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(objeto));
        b->setIcon(QIcon(QStringLiteral(":/canales/iconos/%1.svg").arg(QLatin1String(icono))));
        b->hide();
        return b;
    };
    spbtnPulso = plantilla("spbtnPulso", "pulso");
    spbtnTren = plantilla("spbtnTren", "tren");
    spbtnNada = plantilla("spbtnNada", "nada");
    spbtnSeno = plantilla("spbtnSeno", "seno");
    spbtnRampa = plantilla("spbtnRampa", "rampa");
    spbtnEscalon = plantilla("spbtnEscalon", "escalon");
    spbtnTabla = plantilla("spbtnTabla", "tabla");
    SpBtnDesactivar = plantilla("SpBtnDesactivar", "desactivar");
    iconoNombre_ = QIcon(QStringLiteral(":/canales/iconos/nombre.svg"));

    auto etiqueta = [this](const char* objeto, const QString& texto) {
        auto* l = new QLabel(texto, this);
        l->setObjectName(QLatin1String(objeto));
        return l;
    };
    auto caja = [this](const char* objeto) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(objeto));
        e->setMaxLength(5);
        e->setFixedWidth(70);
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    auto boton = [this](const char* objeto, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(objeto));
        b->setAutoDefault(false);
        return b;
    };

    // Built-in captions until the language texts replace them on show.
    Label40 = etiqueta("Label40", QStringLiteral("Tiempo Muestreo"));
    tMuesEdit = caja("tMuesEdit");
    tMuesComboBox = new QComboBox(this);
    tMuesComboBox->setObjectName(QStringLiteral("tMuesComboBox"));
    Label41 = etiqueta("Label41", QStringLiteral("Tiempo An\u00e1lisis"));
    tAnaEdit = caja("tAnaEdit");
    tAnaComboBox = new QComboBox(this);
    tAnaComboBox->setObjectName(QStringLiteral("tAnaComboBox"));
    Label1 = etiqueta("Label1", QStringLiteral("N\u00famero de muestras"));
    MuestrasEdit = caja("MuestrasEdit");
    MuestrasEdit->setMaxLength(10);
    MuestrasEdit->setReadOnly(true);
    MuestrasEdit->setFocusPolicy(Qt::NoFocus);
    Label40->setBuddy(tMuesEdit);
    Label41->setBuddy(tAnaEdit);
    Label1->setBuddy(MuestrasEdit);
    for (QLineEdit* e : {tMuesEdit, tAnaEdit})
        TFiltroTeclas::Solo(e, QStringLiteral("0123456789"));

    SpBtnRapida = boton("SpBtnRapida", QStringLiteral("Captaci\u00f3n m\u00e1s r\u00e1pida posible"));
    SpBtnRapida->setCheckable(true);
    LabelAviso = etiqueta("LabelAviso", QString());
    LabelAviso->setWordWrap(true);
    LabelAviso->setStyleSheet(QStringLiteral("color: #b00000;"));
    LabelNum = etiqueta("LabelNum", QStringLiteral("N\u00ba de Captaciones realizadas"));
    CBoxAuto = new QCheckBox(QStringLiteral("Nombrado autom\u00e1tico"), this);
    CBoxAuto->setObjectName(QStringLiteral("CBoxAuto"));
    CBoxActivar = new QCheckBox(QStringLiteral("Activar Operaciones"), this);
    CBoxActivar->setObjectName(QStringLiteral("CBoxActivar"));
    SBOpAnalogico = boton("SBOpAnalogico", QStringLiteral("Operaciones anal\u00f3gicas"));
    SBOpDigital = boton("SBOpDigital", QStringLiteral("Operaciones digitales"));
    ClearBtn = boton("ClearBtn", QStringLiteral("Limpiar"));

    connect(tMuesEdit, &QLineEdit::textEdited, this, [this] { Recalcular(); });
    connect(tMuesEdit, &QLineEdit::editingFinished, this, [this] { Recalcular(); });
    connect(tAnaEdit, &QLineEdit::textEdited, this, [this] { Recalcular(); });
    connect(tAnaEdit, &QLineEdit::editingFinished, this, [this] { Recalcular(); });
    connect(tMuesComboBox, &QComboBox::currentIndexChanged, this, &TMenuESBase::CambioUnidadMuestreo);
    connect(tAnaComboBox, &QComboBox::currentIndexChanged, this, &TMenuESBase::CambioUnidadAnalisis);
    connect(SpBtnRapida, &QPushButton::clicked, this, &TMenuESBase::SpBtnRapidaClick);
    connect(ClearBtn, &QPushButton::clicked, this, &TMenuESBase::ClearBtnClick);
    connect(SBOpAnalogico, &QPushButton::clicked, this, &TMenuESBase::SBOpAnalogicoClick);
    connect(SBOpDigital, &QPushButton::clicked, this, &TMenuESBase::SBOpDigitalClick);
    connect(CBoxAuto, &QCheckBox::clicked, this, &TMenuESBase::CBoxAutoClick);
    connect(CBoxActivar, &QCheckBox::clicked, this, &TMenuESBase::CBoxActivarClick);

    RellenarUnidades();
}

QToolButton* TMenuESBase::CrearBotonCanal(int canal, QWidget* padre)
{
    auto* b = new QToolButton(padre);
    b->setObjectName(NombreBotonCanal(canal));
    b->setIconSize(QSize(20, 20));
    b->setFixedSize(32, 26);
    b->setIcon(canal <= CanalES::SalDig ? iconoNombre_ : spbtnNada->icon());
    b->setFocusPolicy(Qt::StrongFocus);
    connect(b, &QToolButton::clicked, this, [this, canal] { BotonCanalClick(canal); });
    boton_.at(canal) = b;
    return b;
}

QCheckBox* TMenuESBase::CrearCheckCanal(int canal, const QString& texto, QWidget* padre)
{
    auto* c = new QCheckBox(texto, padre);
    c->setObjectName(NombreCheckCanal(canal));
    c->setToolTip(QStringLiteral("Activar/Desactivar"));
    connect(c, &QCheckBox::clicked, this, [this, canal] { CheckCanalClick(canal); });
    check_.at(canal) = c;
    return c;
}

QLabel* TMenuESBase::CrearNombreCanal(int canal, QWidget* padre)
{
    auto* l = new QLabel(padre);
    l->setObjectName(QStringLiteral("LNombreCanal%1").arg(canal));
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.8);
    l->setFont(f);
    l->setFixedWidth(AnchoNombreCanal);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    nombre_.at(canal) = l;
    return l;
}

QCheckBox* TMenuESBase::CrearDiferencial(int par, QWidget* padre)
{
    auto* c = new QCheckBox(QStringLiteral("Dif."), padre);
    c->setObjectName(QStringLiteral("CheckBoxDiferencial%1").arg(par));
    connect(c, &QCheckBox::clicked, this, [this, par] { DiferencialClick(par); });
    diferencial_.at(par) = c;
    return c;
}

void TMenuESBase::Montar(QWidget* paneles)
{
    auto* tiempos = new QFrame(this);
    tiempos->setObjectName(QStringLiteral("PanelTiempos"));
    tiempos->setFrameShape(QFrame::StyledPanel);
    auto* rejilla = new QGridLayout(tiempos);
    rejilla->addWidget(Label40, 0, 0);
    rejilla->addWidget(tMuesEdit, 0, 1);
    rejilla->addWidget(tMuesComboBox, 0, 2);
    rejilla->addWidget(Label41, 0, 4);
    rejilla->addWidget(tAnaEdit, 0, 5);
    rejilla->addWidget(tAnaComboBox, 0, 6);
    rejilla->addWidget(Label1, 0, 8);
    rejilla->addWidget(MuestrasEdit, 0, 9);
    rejilla->setColumnMinimumWidth(3, 16);
    rejilla->setColumnMinimumWidth(7, 16);
    rejilla->setColumnStretch(10, 1);
    rejilla->addWidget(SpBtnRapida, 1, 0, 1, 3);
    rejilla->addWidget(LabelAviso, 1, 4, 1, 7);

    auto* opciones = new QHBoxLayout;
    opciones->addWidget(LabelNum);
    opciones->addSpacing(24);
    opciones->addWidget(CBoxAuto);
    opciones->addSpacing(12);
    opciones->addWidget(CBoxActivar);
    opciones->addStretch(1);
    opciones->addWidget(SBOpAnalogico);
    opciones->addWidget(SBOpDigital);

    QHBoxLayout* botones = CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp");
    botones->insertWidget(0, ClearBtn);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(paneles);
    columna->addWidget(tiempos);
    columna->addLayout(opciones);
    columna->addLayout(botones);
    columna->setSizeConstraint(QLayout::SetFixedSize);

    // Keyboard order: channels as laid out, then the time base, the options, the buttons.
    QWidget* anterior = nullptr;
    for (QWidget* w : paneles->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus)
            continue;
        if (anterior)
            setTabOrder(anterior, w);
        anterior = w;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{tMuesEdit, tMuesComboBox, tAnaEdit, tAnaComboBox, SpBtnRapida,
                                                       CBoxAuto, CBoxActivar, SBOpAnalogico, SBOpDigital, ClearBtn,
                                                       BotonAceptar(), BotonCancelar(), BotonAyuda()}) {
        if (anterior)
            setTabOrder(anterior, w);
        anterior = w;
    }
}

TConfigES& TMenuESBase::Trabajo()
{
    auto& e = principal_.Estado();
    if (!e.Trabajo())
        e.PonerTrabajo(std::make_unique<TConfigES>());
    return *e.Trabajo();
}

// ---- filling the window ---------------------------------------------------------------

void TMenuESBase::TextosAplicados()
{
    RellenarUnidades();
    const TCjtSenales* s = principal_.Estado().Senales();
    LabelNum->setText(LabelNum->text() + QLatin1Char(' ') + QString::number(s ? s->NumCaptura : 0));
}

void TMenuESBase::RellenarUnidades()
{
    const bool antes = actualizando_;
    actualizando_ = true;
    tMuesComboBox->clear();
    for (int clave = 193; clave <= 195; ++clave)
        tMuesComboBox->addItem(Textos().BuscarTexto(clave));
    tAnaComboBox->clear();
    for (int clave = 194; clave <= 197; ++clave)
        tAnaComboBox->addItem(Textos().BuscarTexto(clave));
    actualizando_ = antes;
    MostrarPanel();
}

void TMenuESBase::AlMostrar()
{
    Rellenar();
}

void TMenuESBase::Rellenar()
{
    const bool antes = actualizando_;
    actualizando_ = true;
    TConfigES& c = Trabajo();
    for (int canal = 1; canal <= CanalES::Total; ++canal) {
        ActualizarHint(canal);
        if (check_[canal])
            check_[canal]->setChecked(CanalGlobal(c, canal).Activo);
        if (EsSalida(canal))
            MostrarGenerador(canal, TipoGenerador(c, canal));
    }
    for (int par = 1; par <= 4; ++par)
        if (diferencial_[par])
            diferencial_[par]->setChecked(c.EntAna(2 * par - 1).Diferencial);
    AplicarReglaPares();

    MostrarTiempos(panel_, c);
    panel_.aviso.clear();
    panel_.rapidaPulsada = c.Rapida;
    panel_.muestreoHabilitado = !c.Rapida;
    MostrarPanel();

    const auto& e = principal_.Estado();
    CBoxAuto->setChecked(e.Senales() && e.Senales()->NombradoAuto());
    CBoxActivar->setChecked(e.OperacionesSiHay() && e.OperacionesSiHay()->Activas);
    actualizando_ = antes;
}

void TMenuESBase::AplicarReglaPares()
{
    const bool antes = actualizando_;
    actualizando_ = true;
    const TConfigES& c = Trabajo();
    for (int par = 1; par <= 4; ++par) {
        const int segunda = CanalES::EntAna + 2 * par;
        const bool dif = c.EntAna(2 * par - 1).Diferencial;
        if (QCheckBox* cb = check_[segunda]) {
            if (dif)
                cb->setChecked(false);
            cb->setEnabled(!dif);
        }
        if (QToolButton* b = boton_[segunda]) {
            b->setEnabled(!dif);
            b->setIcon(dif ? SpBtnDesactivar->icon() : spbtnNada->icon());
        }
    }
    actualizando_ = antes;
}

void TMenuESBase::MostrarGenerador(int canal, const QString& tipo)
{
    if (canal < 1 || canal > CanalES::Total || !boton_[canal] || !EsSalida(canal))
        return;
    QToolButton* plantilla = nullptr;
    if (tipo.isEmpty())
        plantilla = spbtnNada;
    else if (tipo == QLatin1String("Tabla"))
        plantilla = spbtnTabla;
    else if (canal > CanalES::SalAna)
        plantilla = tipo == QLatin1String("Escalon") ? spbtnEscalon
                    : tipo == QLatin1String("Rampa") ? spbtnRampa
                    : tipo == QLatin1String("Seno")  ? spbtnSeno
                                                     : nullptr;
    else
        plantilla = tipo == QLatin1String("Pulso") ? spbtnPulso : tipo == QLatin1String("Tren") ? spbtnTren : nullptr;
    if (plantilla)
        boton_[canal]->setIcon(plantilla->icon());
}

void TMenuESBase::ActualizarHint(int canal)
{
    if (canal < 1 || canal > CanalES::Total || !boton_[canal])
        return;
    const QString nombre = CanalGlobal(Trabajo(), canal).Nombre;
    boton_[canal]->setToolTip(nombre);
    boton_[canal]->setAccessibleName(nombre);
    if (QLabel* l = nombre_[canal]) {
        l->setText(l->fontMetrics().elidedText(nombre, Qt::ElideRight, AnchoNombreCanal));
        l->setToolTip(nombre);
    }
}

// ---- time base ------------------------------------------------------------------------

void TMenuESBase::LeerPanel()
{
    panel_.tMues = tMuesEdit->text();
    panel_.tAna = tAnaEdit->text();
    panel_.muestras = MuestrasEdit->text();
    panel_.rapidaPulsada = SpBtnRapida->isChecked();
}

void TMenuESBase::MostrarPanel()
{
    const bool antes = actualizando_;
    actualizando_ = true;
    PonerTexto(tMuesEdit, panel_.tMues);
    PonerTexto(tAnaEdit, panel_.tAna);
    PonerTexto(MuestrasEdit, panel_.muestras);
    // A unit the boxes do not offer (minutes read from a file) shows no item but stays
    // the panel's unit.
    const int p = panel_.unidadPeriodo;
    tMuesComboBox->setCurrentIndex(p >= 0 && p < tMuesComboBox->count() ? p : -1);
    const int a = panel_.unidadAnalisis - 1;
    tAnaComboBox->setCurrentIndex(a >= 0 && a < tAnaComboBox->count() ? a : -1);
    LabelAviso->setText(panel_.aviso);
    SpBtnRapida->setChecked(panel_.rapidaPulsada);
    tMuesEdit->setEnabled(panel_.muestreoHabilitado);
    tMuesComboBox->setEnabled(panel_.muestreoHabilitado);
    actualizando_ = antes;
}

void TMenuESBase::Recalcular()
{
    if (actualizando_)
        return;
    LeerPanel();
    RecalcularMuestras(panel_, Trabajo(), Textos());
    MostrarPanel();
}

void TMenuESBase::CambioUnidadMuestreo(int indice)
{
    if (actualizando_ || indice < 0)
        return;
    panel_.unidadPeriodo = indice;
    Recalcular();
}

void TMenuESBase::CambioUnidadAnalisis(int indice)
{
    if (actualizando_ || indice < 0)
        return;
    panel_.unidadAnalisis = indice + 1;
    Recalcular();
}

void TMenuESBase::TrasCambioCanales()
{
    LeerPanel();
    if (panel_.rapidaPulsada)
        ModoRapido(panel_, Trabajo(), TVentanaRapida::Configuracion);
    else
        RecalcularMuestras(panel_, Trabajo(), Textos());
    MostrarPanel();
}

void TMenuESBase::SpBtnRapidaClick()
{
    if (actualizando_)
        return;
    LeerPanel();
    ModoRapido(panel_, Trabajo(), TVentanaRapida::Configuracion);
    MostrarPanel();
}

// ---- channels -------------------------------------------------------------------------

void TMenuESBase::BotonCanalClick(int canal)
{
    canalActual_ = canal;
    TConfigES& c = Trabajo();
    if (canal <= CanalES::SalDig) {
        TfrmNomED nombre(principal_, c, canal, this);
        nombre.Ejecutar();
    } else if (canal <= CanalES::EntAna) {
        EditarSalidaDigital(principal_, c, canal - CanalES::SalDig, this);
    } else if (canal <= CanalES::SalAna) {
        EditarEntradaAnalogica(principal_, c, canal - CanalES::EntAna, this);
    } else {
        EditarSalidaAnalogica(principal_, c, canal - CanalES::SalAna, this);
    }
    ActualizarHint(canal);
    if (EsSalida(canal))
        MostrarGenerador(canal, TipoGenerador(c, canal));
}

void TMenuESBase::CheckCanalClick(int canal)
{
    if (actualizando_ || !check_[canal])
        return;
    canalActual_ = canal;
    TConfigES& c = Trabajo();
    QCheckBox* cb = check_[canal];
    TEntSal& ch = CanalGlobal(c, canal);
    if (!EsSalida(canal) || !cb->isChecked()) {
        ch.Activo = cb->isChecked();
    } else if (TieneGenerador(c, canal)) {
        ch.Activo = true;
    } else {
        // An output is driven only by a generator: its window must give it one.
        const bool aceptada = canal <= CanalES::EntAna
                                  ? EditarSalidaDigital(principal_, c, canal - CanalES::SalDig, this)
                                  : EditarSalidaAnalogica(principal_, c, canal - CanalES::SalAna, this);
        ActualizarHint(canal);
        MostrarGenerador(canal, TipoGenerador(c, canal));
        ch.Activo = aceptada && TieneGenerador(c, canal);
        actualizando_ = true;
        cb->setChecked(ch.Activo);
        actualizando_ = false;
    }
    TrasCambioCanales();
}

void TMenuESBase::DiferencialClick(int par)
{
    if (actualizando_ || par < 1 || par > 4 || !diferencial_[par])
        return;
    TConfigES& c = Trabajo();
    const bool dif = diferencial_[par]->isChecked();
    c.EntAna(2 * par - 1).Diferencial = dif;
    c.EntAna(2 * par).Diferencial = dif;
    c.EntAna(2 * par).Activo = false;
    if (QCheckBox* cb = check_[CanalES::EntAna + 2 * par]) {
        actualizando_ = true;
        cb->setChecked(false);
        actualizando_ = false;
    }
    AplicarReglaPares();
    TrasCambioCanales();
}

// ---- other controls -------------------------------------------------------------------

void TMenuESBase::ClearBtnClick()
{
    Trabajo() = TConfigES();
    Rellenar();
}

template <class Dialogo>
void TMenuESBase::EditarOperaciones()
{
    auto& e = principal_.Estado();
    Dialogo dialogo(principal_, e.Operaciones(), this);
    if (dialogo.Ejecutar() == QDialog::Accepted)
        e.PonerOperaciones(std::make_unique<TOperaciones>(dialogo.Operaciones()));
}

void TMenuESBase::SBOpAnalogicoClick()
{
    EditarOperaciones<TfrmOperacionesAna>();
}

void TMenuESBase::SBOpDigitalClick()
{
    EditarOperaciones<TfrmOperacionesDig>();
}

void TMenuESBase::CBoxAutoClick()
{
    if (actualizando_)
        return;
    auto& e = principal_.Estado();
    if (!e.Senales())
        e.PonerConjunto(std::make_unique<TCjtSenales>(Textos(), Interaccion()));
    e.Senales()->PonerNombradoAuto(CBoxAuto->isChecked());
}

void TMenuESBase::CBoxActivarClick()
{
    if (actualizando_)
        return;
    auto& e = principal_.Estado();
    auto operaciones = std::make_unique<TOperaciones>(e.Operaciones());
    operaciones->Activas = CBoxActivar->isChecked();
    e.PonerOperaciones(std::move(operaciones));
}

// ---- acceptance -----------------------------------------------------------------------

bool TMenuESBase::Validar()
{
    // The boxes as they stand now, even if the last one typed in was never left.
    LeerPanel();
    TConfigES& c = Trabajo();
    RecalcularMuestras(panel_, c, Textos());
    MostrarPanel();

    const int fallo = CajaVacia(tMuesEdit) || CajaVacia(tAnaEdit) || CajaVacia(MuestrasEdit)
                          ? clave::FaltanTiempos
                          : ComprobarCaptura(c, kTextoSinCanales);
    if (fallo == kTextoSinCanales) {
        Interaccion().MostrarError(Textos().BuscarTexto(fallo), Botones::Aceptar);
        return false;
    }
    if (fallo) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(fallo), Botones::Aceptar);
        tAnaEdit->setFocus();
        return false;
    }

    auto& e = principal_.Estado();
    if (e.Senales() && !e.Senales()->CompatibleCon(c)) {
        if (!principal_.GuardarAntesDeDescartar(kTextoSenalesIncompatibles))
            return false; // kept: nothing is discarded
        e.PonerConjunto(nullptr);
    }
    e.PonerConfig(std::make_unique<TConfigES>(c));
    e.MarcarModificado();
    return true;
}

} // namespace qv

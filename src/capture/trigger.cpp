#include "capture/trigger.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "capture/panel_tiempos_captura.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/config_es.h"
#include "model/formatos.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

namespace qv {

namespace {

constexpr int kTextoSinEntrada = 137;
constexpr int kTextoNivel = 138;

QRadioButton* Radio(const char* nombre, const QString& texto, QWidget* padre)
{
    auto* r = new QRadioButton(texto, padre);
    r->setObjectName(QLatin1String(nombre));
    return r;
}

// The level as typed: a number from -10 to 10.
std::optional<double> Nivel(const QString& texto)
{
    const std::optional<double> v = LeerReal(texto.trimmed());
    if (!v || !std::isfinite(*v) || *v < -10 || *v > 10)
        return std::nullopt;
    return v;
}

} // namespace

// ---- shared ----------------------------------------------------------------------------

void TDialogoTrigger::CerrarCapa(QVBoxLayout* capa, std::array<QRadioButton*, 3> flancos)
{
    auto* fila = new QHBoxLayout;
    for (QRadioButton* r : flancos)
        fila->addWidget(r);
    fila->addStretch(1);
    capa->addLayout(fila);
    capa->addSpacing(8);
    capa->addLayout(CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp"));
    setMinimumWidth(420);
}

bool TDialogoTrigger::Validar()
{
    Confirmar();
    return ComprobarCaptura() && ComprobarTrigger() && PreguntarCompatible();
}

// ---- analog -------------------------------------------------------------------------------

TfrmTrigAna::TfrmTrigAna(IPrincipal& principal, QWidget* parent)
    : TDialogoTrigger(principal, Numero, 133, TVentanaRapida::Trigger, parent)
{
    setObjectName(QStringLiteral("frmTrigAna"));
    setWindowTitle(QStringLiteral("Trigger Anal\u00f3gico"));

    LabelEntrada = Etiqueta("LabelEntrada", QStringLiteral("Entrada de trigger"), this);
    GrupoEntradas = new QButtonGroup(this);
    GrupoEntradas->setExclusive(true);
    const char* nombres[8] = {"C1", "C2", "D1", "D2", "E1", "E2", "F1", "F2"};
    auto* botones = new QHBoxLayout;
    for (int i = 0; i < 8; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(nombres[i]));
        b->setText(QLatin1String(nombres[i]));
        b->setCheckable(true);
        b->setFixedSize(32, 26);
        GrupoEntradas->addButton(b, i + 1);
        botones->addWidget(b);
        Entradas[i] = b;
    }
    botones->addStretch(1);
    connect(GrupoEntradas, &QButtonGroup::idClicked, this, [this](int) { Elegido(); });

    LabelNivel = Etiqueta("LabelNivel", QStringLiteral("Valor de Trigger (Voltios) "), this);
    Edit1 = CajaNumero("Edit1", this, 5, true);
    LabelNivel->setBuddy(Edit1);
    connect(Edit1, &QLineEdit::textChanged, this, &TfrmTrigAna::NivelCambiado);

    RB1 = Radio("RB1", QStringLiteral("-Ascendente"), this);
    RB2 = Radio("RB2", QStringLiteral("-Descendente"), this);
    RB3 = Radio("RB3", QStringLiteral("-Ambos"), this);
    RB1->setChecked(true);
    auto* flancosGrupo = new QButtonGroup(this);
    for (QRadioButton* r : {RB1, RB2, RB3})
        flancosGrupo->addButton(r);
    for (QRadioButton* r : {RB1, RB2, RB3})
        connect(r, &QRadioButton::clicked, this, &TfrmTrigAna::Elegido);

    // The second input of a differential pair cannot trigger on its own.
    for (int par = 0; par < 4; ++par)
        if (ConfigTrabajo().EntAna(2 * par + 1).Diferencial)
            Entradas[2 * par + 1]->setEnabled(false);

    auto* capa = new QVBoxLayout(this);
    capa->addLayout(Panel().Capa());
    capa->addSpacing(6);
    capa->addWidget(LabelEntrada);
    capa->addLayout(botones);
    auto* nivel = new QHBoxLayout;
    nivel->addWidget(LabelNivel);
    nivel->addWidget(Edit1);
    nivel->addStretch(1);
    capa->addLayout(nivel);
    CerrarCapa(capa, {RB1, RB2, RB3});
}

int TfrmTrigAna::Entrada() const
{
    const int id = GrupoEntradas->checkedId();
    return id > 0 ? id : 0;
}

void TfrmTrigAna::Elegido()
{
    canalElegido_ = true;
    if (Edit1->text().isEmpty())
        Edit1->setFocus();
}

void TfrmTrigAna::NivelCambiado()
{
    if (corrigiendo_)
        return;
    const QString t = Edit1->text().trimmed();
    // A sign or a point alone is a number being typed.
    if (t.isEmpty() || t == QLatin1String("-") || t == QLatin1String(".") || t == QLatin1String("-."))
        return;
    corrigiendo_ = true;
    const std::optional<double> v = LeerReal(t);
    if (!v || !std::isfinite(*v))
        Edit1->clear();
    else if (*v > 10)
        Edit1->setText(QStringLiteral("10"));
    else if (*v < -10)
        Edit1->setText(QStringLiteral("-10"));
    corrigiendo_ = false;
}

char TfrmTrigAna::LetraEntrada(const TConfigES& config, int entrada)
{
    if (entrada % 2 == 1 && config.EntAna(entrada).Diferencial)
        return char('k' + (entrada - 1) / 2);
    return char('c' + entrada - 1);
}

int TfrmTrigAna::NivelCuentas(const TConfigES& config, int entrada, double voltios)
{
    // The unit compares the level with the counts of the trigger input itself, so the
    // volts per count are those of that input's range (a pair takes its first input's).
    const int primera = (entrada % 2 == 0 && config.EntAna(entrada - 1).Diferencial) ? entrada - 1 : entrada;
    double escala = ResolucionRango(config.EntAna(primera).Rango);
    if (!(escala > 0))
        escala = 10.0 / 2048;
    return static_cast<int>(std::lround(voltios / escala));
}

bool TfrmTrigAna::ComprobarTrigger()
{
    const int e = Entrada();
    if (e == 0 || !Nivel(Edit1->text())) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(e == 0 ? kTextoSinEntrada : kTextoNivel), Botones::Aceptar);
        Edit1->setFocus();
        return false;
    }
    return true;
}

TTrigger TfrmTrigAna::Trigger() const
{
    const int e = Entrada();
    const TConfigES& c = *estado_.Trabajo();
    return {0, LetraEntrada(c, e), 0, NivelCuentas(c, e, Nivel(Edit1->text()).value_or(0)),
            std::uint8_t(RB1->isChecked() ? 0 : RB2->isChecked() ? 1 : 2)};
}

// ---- digital ------------------------------------------------------------------------------

TfrmTrigdig::TfrmTrigdig(IPrincipal& principal, QWidget* parent)
    : TDialogoTrigger(principal, Numero, 137, TVentanaRapida::Trigger, parent)
{
    setObjectName(QStringLiteral("frmTrigdig"));
    setWindowTitle(QStringLiteral("-Trigger Digital"));

    RGCanalDigital = new QGroupBox(QStringLiteral("Grupo de entradas"), this);
    RGCanalDigital->setObjectName(QStringLiteral("RGCanalDigital"));
    RGCanalDigitalA = Radio("RGCanalDigitalA", QStringLiteral("A"), RGCanalDigital);
    RGCanalDigitalB = Radio("RGCanalDigitalB", QStringLiteral("B"), RGCanalDigital);
    RGCanalDigitalA->setChecked(true);
    auto* grupo = new QHBoxLayout(RGCanalDigital);
    grupo->addWidget(RGCanalDigitalA);
    grupo->addWidget(RGCanalDigitalB);
    grupo->addStretch(1);

    LabelEntrada = Etiqueta("LabelEntrada", QStringLiteral("N\u00famero de entrada digital"), this);
    Edit1 = new QLineEdit(QStringLiteral("1"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFixedWidth(40);
    LabelEntrada->setBuddy(Edit1);
    auto* spin = new QWidget(this);
    spin->setObjectName(QStringLiteral("SpinButton1"));
    SpinArriba = new QToolButton(spin);
    SpinArriba->setObjectName(QStringLiteral("SpinButton1Arriba"));
    SpinArriba->setArrowType(Qt::UpArrow);
    SpinAbajo = new QToolButton(spin);
    SpinAbajo->setObjectName(QStringLiteral("SpinButton1Abajo"));
    SpinAbajo->setArrowType(Qt::DownArrow);
    auto* flechas = new QVBoxLayout(spin);
    flechas->setContentsMargins(0, 0, 0, 0);
    flechas->setSpacing(0);
    for (QToolButton* b : {SpinArriba, SpinAbajo}) {
        b->setFixedSize(18, 12);
        flechas->addWidget(b);
    }
    connect(SpinArriba, &QToolButton::clicked, this, [this] { Paso(1); });
    connect(SpinAbajo, &QToolButton::clicked, this, [this] { Paso(-1); });

    RD1 = Radio("RD1", QStringLiteral("Flanco ascendente"), this);
    RD2 = Radio("RD2", QStringLiteral("Flanco descendente"), this);
    RD3 = Radio("RD3", QStringLiteral("Ambos flancos"), this);
    RD1->setChecked(true);
    // Radio buttons of one parent are exclusive across nested boxes too: each choice
    // gets a group of its own.
    auto* flancosGrupo = new QButtonGroup(this);
    auto* grupos = new QButtonGroup(this);
    for (QRadioButton* r : {RD1, RD2, RD3})
        flancosGrupo->addButton(r);
    grupos->addButton(RGCanalDigitalA);
    grupos->addButton(RGCanalDigitalB);

    auto* capa = new QVBoxLayout(this);
    capa->addLayout(Panel().Capa());
    capa->addSpacing(6);
    capa->addWidget(RGCanalDigital);
    auto* entrada = new QHBoxLayout;
    entrada->addWidget(LabelEntrada);
    entrada->addWidget(Edit1);
    entrada->addWidget(spin);
    entrada->addStretch(1);
    capa->addLayout(entrada);
    CerrarCapa(capa, {RD1, RD2, RD3});
}

void TfrmTrigdig::AlMostrar()
{
    TDialogoTrigger::AlMostrar();
    // The ZD800M has digital inputs 1 to 8 only: group A alone can trigger.
    if (estado_.ModeloM) {
        RGCanalDigitalA->setChecked(true);
        RGCanalDigital->setEnabled(false);
    }
}

void TfrmTrigdig::Paso(int delta)
{
    Edit1->setText(QString::number(std::clamp(Entrada() + delta, 1, 8)));
}

int TfrmTrigdig::Entrada() const
{
    return std::clamp(Edit1->text().toInt(), 1, 8);
}

bool TfrmTrigdig::GrupoB() const
{
    return RGCanalDigitalB->isChecked();
}

TTrigger TfrmTrigdig::Trigger() const
{
    return {1, GrupoB() ? 'b' : 'a', static_cast<std::uint8_t>(Entrada() - 1), 0,
            std::uint8_t(RD1->isChecked() ? 0 : RD2->isChecked() ? 1 : 2)};
}

} // namespace qv

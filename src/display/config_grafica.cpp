#include "display/config_grafica.h"

#include "model/formatos.h"
#include "plot/grf.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {

namespace {

constexpr int kLargoCaja = 8;

// The keys a number box lets through: digits and ".", and "-" where a sign is allowed.
// Whether the text is a number is the handlers' business, as each keystroke counts.
class TFiltroNumero : public QValidator {
public:
    TFiltroNumero(bool signo, QObject* padre) : QValidator(padre), signo_(signo) {}
    State validate(QString& texto, int&) const override
    {
        if (texto.size() > kLargoCaja)
            return Invalid;
        for (QChar c : texto)
            if (!c.isDigit() && c != QLatin1Char('.') && !(signo_ && c == QLatin1Char('-')))
                return Invalid;
        return Acceptable;
    }

private:
    bool signo_;
};

QLineEdit* Caja(const char* nombre, bool signo, QWidget* padre)
{
    auto* e = new QLineEdit(padre);
    e->setObjectName(QLatin1String(nombre));
    e->setMaxLength(kLargoCaja);
    e->setValidator(new TFiltroNumero(signo, e));
    return e;
}

QLabel* Rotulo(const char* nombre, const QString& texto, QWidget* buddy, QWidget* padre)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    l->setBuddy(buddy);
    return l;
}

} // namespace

TfrmConfig::TfrmConfig(const TContextoFormulario& contexto, QWidget* parent)
    : TFormulario(contexto, Numero, ContextoAyuda, parent)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("-Configuracion de la grafica"));

    QGroupBox* ejeX = CrearEje("EjexGroupBox", QStringLiteral("EjeX"), "chkBoxEscaladoX", "EditMinX", "Label5",
                               "EditMaxX", "Label6", "StepXEdit", "Label13", "chkBoxRejillaX", x_);
    QGroupBox* ejeY = CrearEje("EjeYGroupBox", QStringLiteral("Eje Y"), "chkBoxEscaladoY", "EditMinY", "Label7",
                               "EditMaxY", "Label8", "StepYEdit", "Label14", "chkBoxRejillaY", y_);

    auto* senales = new QGroupBox(QStringLiteral("Se\u00f1ales"), this);
    senales->setObjectName(QStringLiteral("SenalesGroupBox"));
    auto* dibujo = new QGroupBox(QStringLiteral("Dibujo de se\u00f1ales"), senales);
    dibujo->setObjectName(QStringLiteral("rdGrpLineasYPuntos"));
    rBtnLineas = new QRadioButton(QStringLiteral("L\u00edneas"), dibujo);
    rBtnLineas->setObjectName(QStringLiteral("rBtnLineas"));
    rBtnLineas->setChecked(true);
    rBtnPuntos = new QRadioButton(QStringLiteral("Puntos"), dibujo);
    rBtnPuntos->setObjectName(QStringLiteral("rBtnPuntos"));
    rBtnLineasYPuntos = new QRadioButton(QStringLiteral("Lineas y Puntos"), dibujo);
    rBtnLineasYPuntos->setObjectName(QStringLiteral("rBtnLineasYPuntos"));
    auto* columnaDibujo = new QVBoxLayout(dibujo);
    for (QRadioButton* b : {rBtnLineas, rBtnPuntos, rBtnLineasYPuntos})
        columnaDibujo->addWidget(b);

    spnEditSizePuntos = new QSpinBox(senales);
    spnEditSizePuntos->setObjectName(QStringLiteral("spnEditSizePuntos"));
    spnEditSizePuntos->setRange(1, 7);
    // Changed with its arrows only: its text takes no typing.
    if (auto* texto = spnEditSizePuntos->findChild<QLineEdit*>())
        texto->setReadOnly(true);
    QLabel* tamano = Rotulo("Label9", QStringLiteral("Tama\u00f1o Puntos"), spnEditSizePuntos, senales);
    auto* filaTamano = new QHBoxLayout;
    filaTamano->addWidget(tamano);
    filaTamano->addWidget(spnEditSizePuntos);
    filaTamano->addStretch(1);
    chkBoxMismaEscala = new QCheckBox(QStringLiteral("Misma escala en X e Y"), senales);
    chkBoxMismaEscala->setObjectName(QStringLiteral("chkBoxMismaEscala"));
    auto* columnaSenales = new QVBoxLayout(senales);
    columnaSenales->addWidget(dibujo);
    columnaSenales->addLayout(filaTamano);
    columnaSenales->addWidget(chkBoxMismaEscala);

    connect(rBtnLineas, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            EstiloClick(true, false);
    });
    connect(rBtnPuntos, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            EstiloClick(false, true);
    });
    connect(rBtnLineasYPuntos, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            EstiloClick(true, true);
    });
    connect(spnEditSizePuntos, &QSpinBox::valueChanged, this, &TfrmConfig::TamanoChange);
    connect(chkBoxMismaEscala, &QCheckBox::clicked, this, [this](bool on) {
        if (actualizando_ || !grafica_)
            return;
        Redibujo([&] { grafica_->PonerMismaEscala(on); });
        Rellenar(x_, Eje(true));
        Rellenar(y_, Eje(false));
    });
    Conectar(x_, true);
    Conectar(y_, false);

    auto* ejes = new QHBoxLayout;
    ejes->addWidget(ejeX);
    ejes->addWidget(ejeY);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(ejes);
    columna->addWidget(senales);
    columna->addLayout(CrearBotones(BtnAceptar | BtnAyuda, "OkBtn", "CancelBtn", "BtnHelp"));
    setTabOrder(x_.rejilla, y_.escalado);
}

QGroupBox* TfrmConfig::CrearEje(const char* grupo, const QString& titulo, const char* escalado, const char* min,
                                const char* rotuloMin, const char* max, const char* rotuloMax, const char* paso,
                                const char* rotuloPaso, const char* rejilla, TCajasEje& cajas)
{
    auto* g = new QGroupBox(titulo, this);
    g->setObjectName(QLatin1String(grupo));
    cajas.escalado = new QCheckBox(QStringLiteral("Escalado Autom\u00e1tico"), g);
    cajas.escalado->setObjectName(QLatin1String(escalado));
    cajas.min = Caja(min, true, g);
    cajas.max = Caja(max, true, g);
    cajas.paso = Caja(paso, false, g);
    cajas.rejilla = new QCheckBox(QStringLiteral("Rejilla"), g);
    cajas.rejilla->setObjectName(QLatin1String(rejilla));
    auto* r = new QGridLayout(g);
    r->addWidget(cajas.escalado, 0, 0, 1, 2);
    r->addWidget(Rotulo(rotuloMin, QStringLiteral("miNIMO"), cajas.min, g), 1, 0);
    r->addWidget(cajas.min, 1, 1);
    r->addWidget(Rotulo(rotuloMax, QStringLiteral("Max :"), cajas.max, g), 2, 0);
    r->addWidget(cajas.max, 2, 1);
    r->addWidget(Rotulo(rotuloPaso, QStringLiteral("Step Size :"), cajas.paso, g), 3, 0);
    r->addWidget(cajas.paso, 3, 1);
    r->addWidget(cajas.rejilla, 4, 0, 1, 2);
    return g;
}

void TfrmConfig::Conectar(TCajasEje& c, bool ejeX)
{
    connect(c.escalado, &QCheckBox::clicked, this, [this, ejeX] { EscaladoClick(ejeX); });
    connect(c.min, &QLineEdit::textChanged, this, [this, ejeX] { MinChange(ejeX); });
    connect(c.max, &QLineEdit::textChanged, this, [this, ejeX] { MaxChange(ejeX); });
    connect(c.paso, &QLineEdit::textChanged, this, [this, ejeX] { PasoChange(ejeX); });
    connect(c.rejilla, &QCheckBox::clicked, this, [this, ejeX](bool on) {
        if (!actualizando_ && grafica_)
            Eje(ejeX).PonerGridlines(on);
    });
}

TAxis& TfrmConfig::Eje(bool ejeX) const
{
    return ejeX ? grafica_->XAxis() : grafica_->YAxis();
}

void TfrmConfig::Configurar(TGrf& grafica, TGrf& atras, const QStringList& nombres)
{
    grafica_ = &grafica;
    atras_ = &atras;
    nombres_ = nombres;
    actualizando_ = true;
    for (bool ejeX : {true, false}) {
        const TCajasEje& c = ejeX ? x_ : y_;
        const TAxis& eje = Eje(ejeX);
        c.escalado->setChecked(eje.AutoSizing());
        Rellenar(c, eje);
        c.paso->setText(FormatoGeneral4(eje.StepSize()));
        c.rejilla->setChecked(eje.Gridlines());
    }
    // Only a plot of one signal against another of the same unit has the choice.
    chkBoxMismaEscala->setChecked(grafica.MismaEscala());
    chkBoxMismaEscala->setEnabled(!grafica.StepPlot() && grafica.EjesComparables());
    if (grafica.NumSeries() > 0) {
        const TSeries& s = grafica.Serie(0);
        spnEditSizePuntos->setValue(std::clamp(s.TamanoPunto(), 1, 7));
        if (s.Puntos())
            (s.Lineas() ? rBtnLineasYPuntos : rBtnPuntos)->setChecked(true);
        else
            rBtnLineas->setChecked(true);
    }
    actualizando_ = false;
}

void TfrmConfig::Rellenar(const TCajasEje& c, const TAxis& eje)
{
    const bool antes = actualizando_;
    actualizando_ = true;
    c.min->setText(FormatoGeneral4(eje.Min()));
    c.max->setText(FormatoGeneral4(eje.Max()));
    c.min->setEnabled(!c.escalado->isChecked());
    c.max->setEnabled(!c.escalado->isChecked());
    actualizando_ = antes;
}

void TfrmConfig::Redibujo(const std::function<void()>& cambio)
{
    atras_->show();
    grafica_->hide();
    grafica_->PonerPlotting(false);
    cambio();
    grafica_->PonerPlotting(true);
    grafica_->show();
    atras_->hide();
}

void TfrmConfig::EscaladoClick(bool ejeX)
{
    if (actualizando_ || !grafica_)
        return;
    const TCajasEje& c = ejeX ? x_ : y_;
    const bool automatico = c.escalado->isChecked();
    Redibujo([&] { Eje(ejeX).PonerAutoSizing(automatico); });
    // A time plot keeps its origin at 0 (the range then ends where the data end).
    if (ejeX && automatico && grafica_->StepPlot()) {
        atras_->XAxis().PonerMin(0);
        grafica_->XAxis().PonerMin(0);
    }
    Rellenar(c, Eje(ejeX));
}

void TfrmConfig::Reemplazar(QLineEdit* caja, const QString& texto)
{
    if (reemplazando_)
        return;
    reemplazando_ = true;
    caja->setText(texto);
    reemplazando_ = false;
}

void TfrmConfig::MinChange(bool ejeX)
{
    if (actualizando_ || !grafica_)
        return;
    QLineEdit* caja = (ejeX ? x_ : y_).min;
    const QString t = caja->text();
    if (t.isEmpty() || t == QLatin1String("-"))
        return;
    if (const auto v = LeerReal(t))
        Eje(ejeX).PonerMin(*v);
    else
        Reemplazar(caja, QStringLiteral("0"));
}

void TfrmConfig::MaxChange(bool ejeX)
{
    if (actualizando_ || !grafica_)
        return;
    QLineEdit* caja = (ejeX ? x_ : y_).max;
    const QString t = caja->text();
    if (t.isEmpty() || t == QLatin1String("-"))
        return;
    if (const auto v = LeerReal(t))
        Eje(ejeX).PonerMax(*v);
    else
        Reemplazar(caja, FormatoGeneral4(Eje(ejeX).Min() * 1.1));
}

void TfrmConfig::PasoChange(bool ejeX)
{
    if (actualizando_ || !grafica_)
        return;
    QLineEdit* caja = (ejeX ? x_ : y_).paso;
    const QString t = caja->text();
    if (t.isEmpty())
        return;
    const TAxis& eje = Eje(ejeX);
    if (const auto v = LeerReal(t))
        Eje(ejeX).PonerStepSize(*v);
    else
        Reemplazar(caja, FormatoGeneral4((eje.Max() - eje.Min()) / 10));
}

void TfrmConfig::EstiloClick(bool lineas, bool puntos)
{
    if (actualizando_ || !grafica_)
        return;
    Redibujo([&] {
        const int n = std::min(int(nombres_.size()), grafica_->NumSeries());
        for (int i = 0; i < n; ++i) {
            grafica_->Serie(i).PonerPuntos(puntos);
            grafica_->Serie(i).PonerLineas(lineas);
        }
    });
}

void TfrmConfig::TamanoChange(int tamano)
{
    if (actualizando_ || !grafica_ || tamano < 1 || tamano > 7)
        return;
    Redibujo([&] {
        const int n = std::min(int(nombres_.size()), grafica_->NumSeries());
        for (int i = 0; i < n; ++i)
            grafica_->Serie(i).PonerTamanoPunto(tamano);
    });
}

} // namespace qv

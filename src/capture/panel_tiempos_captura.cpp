#include "capture/panel_tiempos_captura.h"

#include "lang/textos.h"
#include "lang/ui/formulario.h"
#include "model/config_es.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace qv {

namespace {

QComboBox* Unidades(const char* nombre, QWidget* padre)
{
    auto* c = new QComboBox(padre);
    c->setObjectName(QLatin1String(nombre));
    return c;
}

} // namespace

TPanelTiemposCaptura::TPanelTiemposCaptura(QWidget& d, TConfigES& config, TTextos& textos, TVentanaRapida ventana)
    : QObject(&d), config_(config), textos_(textos), ventana_(ventana)
{
    LabelMuestreo = Etiqueta("LabelMuestreo", QStringLiteral("Tiempo Muestreo"), &d);
    LabelAnalisis = Etiqueta("LabelAnalisis", QStringLiteral("Tiempo Analisis"), &d);
    LabelMuestras = Etiqueta("LabelMuestras", QStringLiteral("Numero de muestras"), &d);
    LabelRapida = Etiqueta("LabelRapida", QStringLiteral("Captaci\u00f3n m\u00e1s r\u00e1pida posible"), &d);
    tMuesEdit = CajaNumero("tMuesEdit", &d);
    tAnaEdit = CajaNumero("tAnaEdit", &d);
    tMuesComboBox = Unidades("tMuesComboBox", &d);
    tAnaComboBox = Unidades("tAnaComboBox", &d);
    MuestrasEdit = new QLineEdit(&d);
    MuestrasEdit->setObjectName(QStringLiteral("MuestrasEdit"));
    MuestrasEdit->setReadOnly(true);
    SpBtnRapida = new QToolButton(&d);
    SpBtnRapida->setObjectName(QStringLiteral("SpBtnRapida"));
    SpBtnRapida->setCheckable(true);
    SpBtnRapida->setText(QStringLiteral("\u00bb"));
    SpBtnRapida->setFixedSize(26, 24);
    // Down must show as down: fast mode changes what the other boxes mean.
    SpBtnRapida->setStyleSheet(
        QStringLiteral("QToolButton:checked { background: #9cc3ee; border: 1px solid #2060a0; }"));
    // Every box is named by its label, for the keyboard and for assistive tools.
    LabelMuestreo->setBuddy(tMuesEdit);
    LabelAnalisis->setBuddy(tAnaEdit);
    LabelMuestras->setBuddy(MuestrasEdit);
    LabelRapida->setBuddy(SpBtnRapida);
    LabelAviso = Etiqueta("LabelAviso", QString(), &d);
    LabelAviso->setWordWrap(true);
    LabelAviso->setStyleSheet(QStringLiteral("color: #b00000;"));

    capa_ = new QGridLayout;
    capa_->addWidget(LabelMuestreo, 0, 0);
    capa_->addWidget(tMuesEdit, 0, 1);
    capa_->addWidget(tMuesComboBox, 0, 2);
    capa_->addWidget(LabelAnalisis, 1, 0);
    capa_->addWidget(tAnaEdit, 1, 1);
    capa_->addWidget(tAnaComboBox, 1, 2);
    capa_->addWidget(LabelMuestras, 2, 0);
    capa_->addWidget(MuestrasEdit, 2, 1);
    auto* rapida = new QHBoxLayout;
    rapida->addWidget(SpBtnRapida);
    rapida->addWidget(LabelRapida, 1);
    capa_->addLayout(rapida, 3, 0, 1, 3);
    capa_->addWidget(LabelAviso, 4, 0, 1, 3);
    capa_->setColumnStretch(1, 1);

    connect(tMuesEdit, &QLineEdit::editingFinished, this, &TPanelTiemposCaptura::SalirMuestreo);
    connect(tAnaEdit, &QLineEdit::editingFinished, this, &TPanelTiemposCaptura::SalirAnalisis);
    connect(tMuesComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (actualizando_ || i < 0)
            return;
        panel_.unidadPeriodo = i;
        Recalcular();
    });
    connect(tAnaComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (actualizando_ || i < 0)
            return;
        panel_.unidadAnalisis = i + 1;
        Recalcular();
    });
    connect(SpBtnRapida, &QToolButton::toggled, this, [this](bool on) {
        if (!actualizando_)
            Rapida(on);
    });
}

void TPanelTiemposCaptura::Llenar()
{
    actualizando_ = true;
    tMuesComboBox->clear();
    for (int k = 193; k <= 195; ++k)
        tMuesComboBox->addItem(textos_.BuscarTexto(k));
    tAnaComboBox->clear();
    for (int k = 194; k <= 197; ++k)
        tAnaComboBox->addItem(textos_.BuscarTexto(k));
    MostrarTiempos(panel_, config_);
    panel_.rapidaPulsada = config_.Rapida;
    panel_.muestreoHabilitado = !config_.Rapida;
    panel_.aviso.clear();
    Mostrar();
    NombrarUnidades();
    actualizando_ = false;
}

void TPanelTiemposCaptura::NombrarUnidades()
{
    // A unit box has no label of its own: it is named after its row's.
    constexpr int kTextoUnidad = 305;
    const QString unidad = textos_.BuscarTexto(kTextoUnidad);
    tMuesComboBox->setAccessibleName(LabelMuestreo->text() + QStringLiteral(" (") + unidad + QLatin1Char(')'));
    tAnaComboBox->setAccessibleName(LabelAnalisis->text() + QStringLiteral(" (") + unidad + QLatin1Char(')'));
}

void TPanelTiemposCaptura::Leer()
{
    panel_.tMues = tMuesEdit->text();
    panel_.tAna = tAnaEdit->text();
    panel_.unidadPeriodo = std::max(0, tMuesComboBox->currentIndex());
    panel_.unidadAnalisis = std::max(0, tAnaComboBox->currentIndex()) + 1;
}

void TPanelTiemposCaptura::Mostrar()
{
    const bool antes = actualizando_;
    actualizando_ = true;
    tMuesEdit->setText(panel_.tMues);
    tAnaEdit->setText(panel_.tAna);
    tMuesComboBox->setCurrentIndex(std::clamp(panel_.unidadPeriodo, 0, 2));
    tAnaComboBox->setCurrentIndex(std::clamp(panel_.unidadAnalisis - 1, 0, 3));
    MuestrasEdit->setText(panel_.muestras);
    LabelAviso->setText(panel_.aviso);
    SpBtnRapida->setChecked(panel_.rapidaPulsada);
    tMuesEdit->setEnabled(panel_.muestreoHabilitado);
    tMuesComboBox->setEnabled(panel_.muestreoHabilitado);
    actualizando_ = antes;
    Q_EMIT MuestrasCambiadas();
}

void TPanelTiemposCaptura::Recalcular()
{
    Leer();
    RecalcularMuestras(panel_, config_, textos_);
    if (!panel_.aviso.isEmpty())
        confirmado_ = false;
    Mostrar();
}

void TPanelTiemposCaptura::SalirMuestreo()
{
    if (actualizando_)
        return;
    Recalcular();
    confirmado_ = panel_.aviso.isEmpty();
}

void TPanelTiemposCaptura::SalirAnalisis()
{
    if (actualizando_)
        return;
    Recalcular();
    confirmado_ = false;
}

void TPanelTiemposCaptura::Rapida(bool pulsada)
{
    Leer();
    panel_.rapidaPulsada = pulsada;
    ModoRapido(panel_, config_, ventana_);
    Mostrar();
}

} // namespace qv

#include "channels/filtro.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/filtro_teclas.h"
#include "model/formatos.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace qv {

namespace {

constexpr int kTextoFaltanDatos = 115;
// A band whose low cut-off lies above its high one would pass nothing (band-pass) or
// stop nothing (band-stop): refused.
constexpr int kTextoBandaInvertida = 26012;
constexpr int kAyudaFiltro = 8;

} // namespace

TfrmFiltro::TfrmFiltro(const TContextoFormulario& contexto, QWidget* parent)
    : TFormulario(contexto, Numero, kAyudaFiltro, parent)
{
    setObjectName(QStringLiteral("frmFiltro"));
    setWindowTitle(QStringLiteral("Filtro"));

    MuesLabel = new QLabel(QStringLiteral("Frecuencia de muestreo :"), this);
    MuesLabel->setObjectName(QStringLiteral("MuesLabel"));

    RGtipo = new QGroupBox(QStringLiteral("Tipo de filtro"), this);
    RGtipo->setObjectName(QStringLiteral("RGtipo"));
    auto radio = [this](const char* nombre, const QString& texto) {
        auto* r = new QRadioButton(texto, RGtipo);
        r->setObjectName(QLatin1String(nombre));
        connect(r, &QRadioButton::toggled, this, [this](bool marcado) {
            if (marcado)
                CambioTipo();
        });
        return r;
    };
    RBPasaAlto = radio("RBPasaAlto", QStringLiteral("Pasa alto"));
    RBPasaBajo = radio("RBPasaBajo", QStringLiteral("Pasa bajo"));
    RBPasaBanda = radio("RBPasaBanda", QStringLiteral("Pasa banda"));
    RBParaBanda = radio("RBParaBanda", QStringLiteral("Para banda"));
    auto* tipos = new QGridLayout(RGtipo);
    tipos->addWidget(RBPasaAlto, 0, 0);
    tipos->addWidget(RBPasaBajo, 1, 0);
    tipos->addWidget(RBPasaBanda, 0, 1);
    tipos->addWidget(RBParaBanda, 1, 1);

    auto campo = [this](const char* nombre) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(nombre));
        e->setMaxLength(9);
        e->setAlignment(Qt::AlignRight);
        TFiltroTeclas::Solo(e, QStringLiteral("0123456789"));
        return e;
    };
    LabelBaja = new QLabel(QStringLiteral("Frecuencia baja :"), this);
    LabelBaja->setObjectName(QStringLiteral("LabelBaja"));
    FiltroBajaEdit = campo("FiltroBajaEdit");
    LabelBaja->setBuddy(FiltroBajaEdit);
    LabelAlta = new QLabel(QStringLiteral("Frecuencia alta :"), this);
    LabelAlta->setObjectName(QStringLiteral("LabelAlta"));
    FiltroAltaEdit = campo("FiltroAltaEdit");
    LabelAlta->setBuddy(FiltroAltaEdit);
    auto* hz1 = new QLabel(QStringLiteral("Hz"), this);
    auto* hz2 = new QLabel(QStringLiteral("Hz"), this);

    auto* frecuencias = new QGridLayout;
    frecuencias->addWidget(LabelBaja, 0, 0);
    frecuencias->addWidget(FiltroBajaEdit, 0, 1);
    frecuencias->addWidget(hz1, 0, 2);
    frecuencias->addWidget(LabelAlta, 1, 0);
    frecuencias->addWidget(FiltroAltaEdit, 1, 1);
    frecuencias->addWidget(hz2, 1, 2);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(MuesLabel);
    columna->addWidget(RGtipo);
    columna->addLayout(frecuencias);
    columna->addSpacing(6);
    columna->addLayout(CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp"));
    columna->setSizeConstraint(QLayout::SetFixedSize);

    // Keyboard order as laid out: the kind, both frequencies, the buttons.
    QWidget* anterior = nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{RBPasaAlto, RBPasaBajo, RBPasaBanda, RBParaBanda, FiltroBajaEdit,
                                                       FiltroAltaEdit, BotonAceptar(), BotonCancelar(), BotonAyuda()}) {
        if (anterior)
            setTabOrder(anterior, w);
        anterior = w;
    }

    RBPasaAlto->setChecked(true);
    CambioTipo();
}

void TfrmFiltro::OcultarReferencia()
{
    referenciaOculta_ = true;
    MuesLabel->hide();
}

int TfrmFiltro::Tipo() const
{
    if (RBPasaBajo->isChecked())
        return PasaBajo;
    if (RBPasaBanda->isChecked())
        return PasaBanda;
    if (RBParaBanda->isChecked())
        return ParaBanda;
    return PasaAlto;
}

QString TfrmFiltro::FrecuenciaBaja() const
{
    return FiltroBajaEdit->text();
}

QString TfrmFiltro::FrecuenciaAlta() const
{
    return FiltroAltaEdit->text();
}

void TfrmFiltro::TextosAplicados()
{
    if (!referenciaOculta_)
        MuesLabel->setText(MuesLabel->text() + QLatin1Char(' ')
                           + FormatoFijo(std::round(FrecuenciaReferencia), 2) + QStringLiteral(" Hz"));
}

void TfrmFiltro::AlMostrar()
{
    RBPasaAlto->setChecked(true);
    CambioTipo();
    FiltroBajaEdit->clear();
    FiltroAltaEdit->clear();
    FiltroBajaEdit->setFocus();
}

void TfrmFiltro::CambioTipo()
{
    const int tipo = Tipo();
    const bool baja = tipo != PasaBajo;
    const bool alta = tipo != PasaAlto;
    LabelBaja->setEnabled(baja);
    FiltroBajaEdit->setEnabled(baja);
    LabelAlta->setEnabled(alta);
    FiltroAltaEdit->setEnabled(alta);
}

bool TfrmFiltro::Validar()
{
    const int tipo = Tipo();
    QLineEdit* falta = nullptr;
    if (tipo != PasaBajo && FiltroBajaEdit->text().isEmpty())
        falta = FiltroBajaEdit;
    else if (tipo != PasaAlto && FiltroAltaEdit->text().isEmpty())
        falta = FiltroAltaEdit;
    if (falta) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoFaltanDatos), Botones::Aceptar);
        falta->setFocus();
        return false;
    }
    if (tipo == PasaBanda || tipo == ParaBanda) {
        const double baja = LeerReal(FiltroBajaEdit->text()).value_or(0);
        const double alta = LeerReal(FiltroAltaEdit->text()).value_or(0);
        if (baja > alta) {
            Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoBandaInvertida), Botones::Aceptar);
            FiltroBajaEdit->setFocus();
            return false;
        }
    }
    return true;
}

} // namespace qv

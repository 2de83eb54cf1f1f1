#include "capture/prog_retardo.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "capture/panel_tiempos_captura.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/config_es.h"
#include "model/formatos.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QComboBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>

namespace qv {

namespace {
constexpr int kTextoRetardo = 133;
constexpr int kTextoInmediata = 228;
constexpr int kTextoRetardada = 229;
} // namespace

TfrmProgRetardo::TfrmProgRetardo(IPrincipal& principal, QWidget* parent)
    : TDialogoCaptura(principal, Numero, 130, TVentanaRapida::Retardo, parent)
{
    setObjectName(QStringLiteral("frmProgRetardo"));
    setWindowTitle(QStringLiteral("Programar captaci\u00f3n"));

    Label1 = new QLabel(QStringLiteral("Tiempo Retardo(Seg)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    RetardoEdit = CajaNumero("RetardoEdit", this);
    Label1->setBuddy(RetardoEdit);
    RetardoEdit->setText(QString::number(qint64(std::max(0.0, ConfigTrabajo().Retardo))));

    auto* capa = new QVBoxLayout(this);
    auto* retardo = new QHBoxLayout;
    retardo->addWidget(Label1);
    retardo->addWidget(RetardoEdit);
    retardo->addStretch(1);
    capa->addLayout(retardo);
    capa->addLayout(Panel().Capa());
    capa->addSpacing(8);
    capa->addLayout(CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp"));
    setMinimumWidth(420);
    // The delay comes first on screen, and so it does for the keyboard.
    TPanelTiemposCaptura& p = Panel();
    QWidget* orden[] = {RetardoEdit, p.tMuesEdit, p.tMuesComboBox, p.tAnaEdit, p.tAnaComboBox, p.SpBtnRapida};
    for (std::size_t i = 1; i < std::size(orden); ++i)
        setTabOrder(orden[i - 1], orden[i]);

    // The sample count shown is the one stored, whatever changed it.
    connect(&Panel(), &TPanelTiemposCaptura::MuestrasCambiadas, this, [this] {
        bool ok = false;
        const int n = Panel().MuestrasEdit->text().toInt(&ok);
        if (ok)
            ConfigTrabajo().NumMuestras = n;
    });
}

void TfrmProgRetardo::PonerRetardoVisible(bool visible)
{
    retardoVisible_ = visible;
    Label1->setVisible(visible);
    RetardoEdit->setVisible(visible);
    if (!visible) {
        ConfigTrabajo().Retardo = 0;
        RetardoEdit->setText(QStringLiteral("0"));
    }
}

void TfrmProgRetardo::AlMostrar()
{
    TDialogoCaptura::AlMostrar();
    if (retardoVisible_) {
        RetardoEdit->setFocus();
        RetardoEdit->selectAll();
    }
}

void TfrmProgRetardo::TextosAplicados()
{
    TDialogoCaptura::TextosAplicados();
    setWindowTitle(Textos().BuscarTexto(retardoVisible_ ? kTextoRetardada : kTextoInmediata));
}

bool TfrmProgRetardo::Validar()
{
    Confirmar();
    if (!ComprobarCaptura(RetardoEdit->text().trimmed().isEmpty(), RetardoEdit))
        return false;
    if (RetardoEdit->text().toLongLong() > MaxRetardo) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoRetardo), Botones::Aceptar);
        RetardoEdit->setText(QString::number(MaxRetardo));
        RetardoEdit->setFocus();
        return false;
    }
    if (!PreguntarCompatible())
        return false;
    ConfigTrabajo().Retardo = double(RetardoEdit->text().toLongLong());
    return true;
}

} // namespace qv

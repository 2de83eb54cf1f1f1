#include "channels/activacion_entrada.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "channels/campos.h"
#include "channels/nombre_canal.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/formatos.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kLargoNombre = 8;
constexpr int kLargoUnidad = 20;
constexpr int kLargoCalibrado = 5;

} // namespace

TfrmActivaEA::TfrmActivaEA(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, 44, parent), principal_(principal), trabajo_(trabajo),
      indice_(indice)
{
    setObjectName(QStringLiteral("frmActivaEA"));
    setWindowTitle(QStringLiteral("Datos entrada anal\u00f3gica"));

    Edit1 = NuevaCaja("Edit1", TFiltro::Nombre, this);
    Edit1->setMaxLength(kLargoNombre);
    ComBoxVoltajes = new QComboBox(this);
    ComBoxVoltajes->setObjectName(QStringLiteral("ComBoxVoltajes"));
    // Range codes 0..5, in this order.
    for (int r = 0; r < 6; ++r)
        ComBoxVoltajes->addItem(NombreRango(r));
    DenominacionEdit = NuevaCaja("DenominacionEdit", TFiltro::Nombre, this);
    DenominacionEdit->setMaxLength(kLargoUnidad);
    CalibradoEdit = NuevaCaja("CalibradoEdit", TFiltro::Decimal, this);

    auto* campos = new QFormLayout;
    campos->addRow(NuevaEtiqueta("Label1", QStringLiteral("Nombre :"), this, Edit1), Edit1);
    campos->addRow(NuevaEtiqueta("Label5", QStringLiteral("Voltaje :"), this, ComBoxVoltajes), ComBoxVoltajes);
    campos->addRow(NuevaEtiqueta("label3", QStringLiteral("Denominaci\u00f3n :"), this, DenominacionEdit),
                   DenominacionEdit);
    campos->addRow(NuevaEtiqueta("Label2", QStringLiteral("Calibrado :"), this, CalibradoEdit), CalibradoEdit);
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(ComBoxVoltajes),
                       static_cast<QWidget*>(DenominacionEdit), static_cast<QWidget*>(CalibradoEdit)})
        w->setMinimumWidth(120);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(campos);
    columna->addSpacing(6);
    columna->addLayout(CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OkBtn", "CancelBtn", "BtnHelp"));

    const TEntAna& e = trabajo.EntAna(indice);
    Edit1->setText(e.Nombre);
    calibradoMostrado_ = FormatoFijo(double(e.Factor), 2).left(kLargoCalibrado);
    CalibradoEdit->setText(calibradoMostrado_);
    DenominacionEdit->setText(e.Unidad);
    ComBoxVoltajes->setCurrentIndex(e.Rango <= 5 ? e.Rango : -1);
    Edit1->setFocus();
}

bool TfrmActivaEA::Validar()
{
    TEntAna& e = trabajo_.EntAna(indice_);
    if (CalibradoEdit->text().isEmpty() || Edit1->text().isEmpty() || DenominacionEdit->text().isEmpty())
        return Avisar(Interaccion(), Textos(), clave::FaltanDatos, Edit1);
    const QString nombre = Edit1->text();
    if (nombre != e.Nombre)
        if (const int texto = ComprobarNombreCanal(principal_.Estado(), trabajo_, {TCanal::Tipo::EntAna, indice_},
                                                   nombre))
            return Avisar(Interaccion(), Textos(), texto, Edit1);
    // The box shows the factor cut to a few characters: left as shown, the factor
    // keeps its whole value (123.456 is not turned into 123.4).
    float factor = e.Factor;
    if (CalibradoEdit->text() != calibradoMostrado_) {
        const auto f = FloatDeCaja(*CalibradoEdit, Interaccion(), Textos());
        if (!f)
            return false;
        factor = *f;
    }
    if (ComBoxVoltajes->currentIndex() >= 0)
        e.Rango = std::uint8_t(ComBoxVoltajes->currentIndex());
    e.Factor = factor;
    e.Unidad = DenominacionEdit->text();
    e.Nombre = nombre;
    return true;
}

} // namespace qv

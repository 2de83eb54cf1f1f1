#include "channels/nombre_ed.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "channels/menu_es.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/filtro_teclas.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qv {

TfrmNomED::TfrmNomED(IPrincipal& principal, TConfigES& config, int canal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, TMenuESBase::NumeroAyuda, parent),
      principal_(principal), config_(config), canal_(canal)
{
    setObjectName(QStringLiteral("frmNomED"));
    setWindowTitle(QStringLiteral("Asignar Nombre"));
    LeeNombreLabel = new QLabel(QStringLiteral("Introduce el nombre :"), this);
    LeeNombreLabel->setObjectName(QStringLiteral("LeeNombreLabel"));
    Edit1 = new QLineEdit(CanalGlobal(config_, canal_).Nombre, this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(8);
    Edit1->setMinimumWidth(110);
    TFiltroTeclas::Nombre(Edit1);
    LeeNombreLabel->setBuddy(Edit1);

    auto* fila = new QHBoxLayout;
    fila->addWidget(LeeNombreLabel);
    fila->addWidget(Edit1, 1);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(fila);
    columna->addSpacing(6);
    columna->addLayout(CrearBotones(BtnAceptar | BtnCancelar));
    columna->setSizeConstraint(QLayout::SetFixedSize);
    Edit1->selectAll();
    Edit1->setFocus();
}

bool TfrmNomED::Refusar(int clave)
{
    Interaccion().MostrarAviso(Textos().BuscarTexto(clave), Botones::Aceptar);
    Edit1->setFocus();
    return false;
}

// A signal named so that was captured from this very channel (it kept the channel's
// name of the capture) is no clash: the channel only takes its name back.
bool TfrmNomED::CapturadaDeEsteCanal(const QString& nombre) const
{
    const TCjtSenales& s = *principal_.Estado().Senales();
    const int numero = CanalGlobal(config_, canal_).Numero;
    if (canal_ <= CanalES::SalDig) {
        const TSenalDig* d = s.BuscarDig(nombre);
        return d && !s.BuscarAna(nombre) && d->Origen() == OrigenSenal::Captada && d->Canal == numero;
    }
    if (canal_ > CanalES::EntAna && canal_ <= CanalES::SalAna) {
        const TSenalAna* a = s.BuscarAna(nombre);
        return a && !s.BuscarDig(nombre) && a->Origen() == OrigenSenal::Captada && a->Canal == numero;
    }
    return false;
}

bool TfrmNomED::Validar()
{
    const QString nombre = Edit1->text();
    if (nombre.isEmpty())
        return Refusar(clave::NombreVacio);
    TEntSal& canal = CanalGlobal(config_, canal_);
    if (nombre == canal.Nombre)
        return true;
    if (!NombreGuardable(nombre))
        return Refusar(clave::NombreNoGuardable);
    for (int otro = 1; otro <= CanalES::Total; ++otro)
        if (otro != canal_ && CanalGlobal(config_, otro).Nombre == nombre)
            return Refusar(clave::NombreCanal);
    const auto& e = principal_.Estado();
    if (e.Senales() && e.Senales()->Existe(nombre) && !CapturadaDeEsteCanal(nombre))
        return Refusar(clave::NombreSenal);
    if (e.OperacionesSiHay() && e.OperacionesSiHay()->ExisteResultado(nombre))
        return Refusar(clave::NombreOperacion);
    canal.Nombre = nombre;
    return true;
}

void TfrmNomED::reject()
{
    Edit1->clear();
    TFormulario::reject();
}

} // namespace qv

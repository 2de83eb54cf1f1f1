#include "display/pedir_nombre.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/filtro_teclas.h"
#include "model/claves_texto.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {
constexpr int kTextoNombreVacio = 119;
} // namespace

TfrmPedirNombre::TfrmPedirNombre(const TContextoFormulario& contexto, QWidget* parent)
    : TFormulario(contexto, Numero, 0, parent)
{
    setObjectName(QStringLiteral("frmPedirNombre"));
    setWindowTitle(QStringLiteral("Renombrar Se\u00f1al"));
    Label1 = new QLabel(QStringLiteral("Escribe el nuevo nombre"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(MaxNombre);
    TFiltroTeclas::Nombre(Edit1);
    Label1->setBuddy(Edit1);
    // Enter in the field runs the OK check, as "Aceptar" does.
    connect(Edit1, &QLineEdit::returnPressed, this, &TfrmPedirNombre::AceptarClick);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Label1);
    columna->addWidget(Edit1);
    columna->addLayout(CrearBotones(BtnAceptar | BtnCancelar));
    BotonCancelar()->setText(QStringLiteral("-Cancelar"));
    resize(260, 110);
}

void TfrmPedirNombre::PonerNombre(const QString& nombre) { Edit1->setText(nombre); }

QString TfrmPedirNombre::Nombre() const { return Edit1->text(); }

void TfrmPedirNombre::AlMostrar()
{
    Edit1->setFocus();
    Edit1->selectAll();
}

bool TfrmPedirNombre::Validar()
{
    const QString nombre = Edit1->text();
    QString aviso;
    if (nombre.isEmpty())
        aviso = Textos().BuscarTexto(kTextoNombreVacio);
    else if (!NombreGuardable(nombre)) // pasted: the typing filter lets no blank in
        aviso = Textos().BuscarTexto(clave::NombreNoGuardable);
    else if (ocupado_)
        aviso = ocupado_(nombre);
    if (aviso.isEmpty())
        return true;
    Interaccion().MostrarAviso(aviso, Botones::Aceptar);
    Edit1->setFocus();
    Edit1->selectAll();
    return false;
}

} // namespace qv

#include "channels/operaciones_dig.h"
#include "model/claves_texto.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace qv {

namespace {

const QString kNot = QStringLiteral("Not");

} // namespace

TfrmOperacionesDig::TfrmOperacionesDig(IPrincipal& principal, const TOperaciones& operaciones, QWidget* parent)
    : TOperacionesBase(principal, operaciones, Numero, false, "frmOperacionesDig", parent)
{
    setWindowTitle(QStringLiteral("-Definici\u00f3n de operaciones digitales"));
    auto* teclas = new QHBoxLayout;
    teclas->addWidget(CrearTecla("SpButtonOr", QStringLiteral("OR"), QStringLiteral("Or")));
    teclas->addWidget(CrearTecla("SpButtonAnd", QStringLiteral("AND"), QStringLiteral("And")));
    teclas->addWidget(CrearTecla("SpButtonNor", QStringLiteral("NOR"), QStringLiteral("Nor")));
    teclas->addWidget(CrearTecla("SpButtonNand", QStringLiteral("NAND"), QStringLiteral("Nand")));
    teclas->addWidget(CrearTecla("SpButtonXor", QStringLiteral("XOR"), QStringLiteral("Xor")));
    teclas->addWidget(CrearTecla("SpButtonXnor", QStringLiteral("XNOR"), QStringLiteral("Xnor")));
    teclas->addWidget(CrearTecla("SpButtonNot", QStringLiteral("NOT"), kNot));
    teclas->addStretch(1);
    Montar(teclas, nullptr, nullptr);
}

bool TfrmOperacionesDig::AnadirHabilitado() const
{
    const bool op1 = EleccionOperando1 != Nada;
    if (OperacionElegida == kNot)
        return op1;
    return op1 && EleccionOperando2 != Nada && OperacionElegida != Nada;
}

void TfrmOperacionesDig::ActualizaInterfaz()
{
    SetOperandoVisible(2, OperacionElegida != kNot);
    TOperacionesBase::ActualizaInterfaz();
}

void TfrmOperacionesDig::TeclaPulsada(const QString& operacion)
{
    OperacionElegida = operacion;
    if (operacion == kNot) {
        EleccionOperando2 = Nada;
        RecargarLista(2);
    }
}

bool TfrmOperacionesDig::ComprobarOperacion()
{
    return AnadirHabilitado() || Refusar(clave::Incompleta, false);
}

TOperacion TfrmOperacionesDig::Construir(const QString& nombre, const QString& unidad)
{
    const QString texto2 = OperacionElegida == kNot ? QStringLiteral("0") : NumeroDe(EleccionOperando2);
    return TOperacion(NumeroDe(EleccionOperando1), 255, false, false, 0, 0, QStringLiteral("Dig"), unidad, nombre,
                      OperacionElegida, texto2);
}

void TfrmOperacionesDig::TrasAnadir()
{
    OperacionElegida = Nada;
}

} // namespace qv

#include "channels/operaciones_ana.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "channels/filtro.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/filtro_teclas.h"
#include "model/claves_texto.h"
#include "model/formatos.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qv {

namespace {

constexpr int kTextoSinConfiguracion = 202;
constexpr int kTextoFiltroConstante = 181;
constexpr int kTextoConstanteMala = 182;

const QString kIntegral = QStringLiteral("Integral");
const QString kDerivada = QStringLiteral("Derivada");
const QString kFiltro = QStringLiteral("Filtro");

} // namespace

TfrmOperacionesAna::TfrmOperacionesAna(IPrincipal& principal, const TOperaciones& operaciones, QWidget* parent)
    : TOperacionesBase(principal, operaciones, Numero, true, "frmOperacionesAna", parent)
{
    setWindowTitle(QStringLiteral("Definici\u00f3n de operaciones anal\u00f3gicas"));
    LabelUnidad->setText(QStringLiteral("Unidad(Voltios) :"));

    auto constante = [this](const char* etiqueta, const char* campo, QLabel*& l, QLineEdit*& e, int operando) {
        l = new QLabel(QStringLiteral("Constante"), this);
        l->setObjectName(QLatin1String(etiqueta));
        e = new QLineEdit(this);
        e->setObjectName(QLatin1String(campo));
        e->setMaxLength(5);
        e->setFixedWidth(60);
        TFiltroTeclas::Solo(e, QStringLiteral("0123456789-."));
        l->setBuddy(e);
        connect(e, &QLineEdit::textEdited, this, [this, operando] { ConstanteEditada(operando); });
        auto* fila = new QHBoxLayout;
        fila->addWidget(l);
        fila->addWidget(e);
        fila->addStretch(1);
        return fila;
    };
    QLayout* bajo1 = constante("LabelConstante1", "Operando1Edit", LabelConstante1, Operando1Edit, 1);
    QLayout* bajo2 = constante("LabelConstante2", "Operando2Edit", LabelConstante2, Operando2Edit, 2);

    auto* teclas = new QHBoxLayout;
    teclas->addWidget(CrearTecla("SpButtonMas", QStringLiteral("+"), QStringLiteral("+")));
    teclas->addWidget(CrearTecla("SpButtonMenos", QStringLiteral("-"), QStringLiteral("-")));
    teclas->addWidget(CrearTecla("SpButtonPor", QStringLiteral("*"), QStringLiteral("*")));
    teclas->addWidget(CrearTecla("SpButtonDivide", QStringLiteral("/"), QStringLiteral("/")));
    teclas->addWidget(CrearTecla("SpButtonIntegral", QStringLiteral("f dx"), kIntegral));
    teclas->addWidget(CrearTecla("SpButtonDerivada", QStringLiteral("d/dt"), kDerivada));
    teclas->addWidget(CrearTecla("SpButtonFiltro", QStringLiteral("FILTRO"), kFiltro));
    teclas->addStretch(1);

    Montar(teclas, bajo1, bajo2);
}

bool TfrmOperacionesAna::Unaria() const
{
    return OperacionElegida == kIntegral || OperacionElegida == kDerivada || OperacionElegida == kFiltro;
}

bool TfrmOperacionesAna::Completa() const
{
    const bool op1 = EleccionOperando1 != Nada;
    const bool op2 = EleccionOperando2 != Nada;
    // A derivative, integral or filter works on a channel's signal; two constants
    // never give a signal.
    if (Unaria())
        return op1 && !Operando1Constante;
    return op1 && op2 && OperacionElegida != Nada && !(Operando1Constante && Operando2Constante);
}

bool TfrmOperacionesAna::AnadirHabilitado() const
{
    if (OperacionElegida == kFiltro && (TextoFrecBaja == QLatin1String("-1") || TextoFrecAlta == QLatin1String("-1")))
        return false;
    return Completa();
}

bool TfrmOperacionesAna::ConstantesVacias() const
{
    return Operando1Edit->text().isEmpty() && Operando2Edit->text().isEmpty();
}

void TfrmOperacionesAna::ActualizaInterfaz()
{
    const bool segundo = !Unaria();
    SetOperandoHabilitado(2, segundo);
    LabelConstante2->setEnabled(segundo);
    Operando2Edit->setEnabled(segundo);
    TOperacionesBase::ActualizaInterfaz();
}

void TfrmOperacionesAna::VaciarConstantes()
{
    Operando1Edit->clear();
    Operando2Edit->clear();
    if (Operando1Constante)
        EleccionOperando1 = Nada;
    if (Operando2Constante)
        EleccionOperando2 = Nada;
    Operando1Constante = Operando2Constante = false;
}

void TfrmOperacionesAna::TeclaPulsada(const QString& operacion)
{
    if (operacion == kFiltro) {
        PedirFiltro();
        return;
    }
    if (operacion == kIntegral || operacion == kDerivada) {
        VaciarConstantes();
        EleccionOperando2 = Nada;
        RecargarLista(2);
    }
    OperacionElegida = operacion;
}

void TfrmOperacionesAna::PedirFiltro()
{
    VaciarConstantes();
    if (EleccionOperando1 == Nada) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoFiltroConstante), Botones::Aceptar);
        return;
    }
    EleccionOperando2 = Nada;
    RecargarLista(2);
    SetOperandoHabilitado(2, false);
    TfrmFiltro filtro(principal_.Contexto().Formulario, this);
    filtro.OcultarReferencia();
    if (filtro.Ejecutar() != QDialog::Accepted)
        return;
    TextoFrecBaja = filtro.FrecuenciaBaja();
    TextoFrecAlta = filtro.FrecuenciaAlta();
    TipoFiltroElegido = std::uint8_t(filtro.Tipo());
    OperacionElegida = kFiltro;
}

void TfrmOperacionesAna::OperandoElegido(int operando, const QString& nombre)
{
    QLineEdit* campo = operando == 1 ? Operando1Edit : Operando2Edit;
    campo->clear();
    (operando == 1 ? Operando1Constante : Operando2Constante) = false;
    TOperacionesBase::OperandoElegido(operando, nombre);
}

void TfrmOperacionesAna::ConstanteEditada(int operando)
{
    const QString texto = (operando == 1 ? Operando1Edit : Operando2Edit)->text();
    QString& eleccion = operando == 1 ? EleccionOperando1 : EleccionOperando2;
    bool& constante = operando == 1 ? Operando1Constante : Operando2Constante;
    if (texto.isEmpty()) {
        eleccion = Nada;
        constante = false;
    } else {
        eleccion = texto;
        constante = true;
        RecargarLista(operando);
    }
    ActualizaInterfaz();
}

bool TfrmOperacionesAna::ComprobarOperacion()
{
    if (!principal_.Estado().Trabajo())
        return Refusar(kTextoSinConfiguracion, false);
    if (!Completa())
        return Refusar(clave::Incompleta, false);
    const bool mala1 = Operando1Constante && !LeerReal(EleccionOperando1);
    const bool mala2 = Operando2Constante && !LeerReal(EleccionOperando2);
    if (mala1 || mala2) {
        VaciarConstantes();
        ActualizaInterfaz();
        return Refusar(kTextoConstanteMala, false);
    }
    return true;
}

TOperacion TfrmOperacionesAna::Construir(const QString& nombre, const QString& unidad)
{
    const bool unaria = Unaria();
    const QString texto1 = Operando1Constante ? EleccionOperando1 : NumeroDe(EleccionOperando1);
    QString texto2 = QStringLiteral("0");
    bool c1 = false, c2 = false;
    if (!unaria) {
        texto2 = Operando2Constante ? EleccionOperando2 : NumeroDe(EleccionOperando2);
        c1 = Operando1Constante;
        c2 = Operando2Constante;
    }
    if (OperacionElegida != kFiltro)
        TipoFiltroElegido = 255;
    const double baja = LeerReal(TextoFrecBaja.isEmpty() ? QStringLiteral("0") : TextoFrecBaja).value_or(0);
    const double alta = LeerReal(TextoFrecAlta.isEmpty() ? QStringLiteral("0") : TextoFrecAlta).value_or(0);
    return TOperacion(texto1, TipoFiltroElegido, c2, c1, alta, baja, QStringLiteral("Ana"), unidad, nombre,
                      OperacionElegida, texto2);
}

void TfrmOperacionesAna::TrasAnadir()
{
    // The keys go up, except a filter's, whose frequencies serve the next filter too;
    // the operation chosen follows the keys.
    if (OperacionElegida != kFiltro)
        OperacionElegida = Nada;
}

} // namespace qv

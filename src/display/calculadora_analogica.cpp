#include "display/calculadora_analogica.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "channels/filtro.h"
#include "display/elegir.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/filtro_teclas.h"
#include "model/calculo.h"
#include "model/claves_texto.h"
#include "model/errores.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// Events of the analog calculator.
enum : int {
    kEvOperador = 1,
    kEvIntegral = 2,
    kEvDerivada = 4,
    kEvSenal = 5,
    kEvFiltro = 7,
    kEvMemoria = 8,
    kEvResultado = 9,
};

// Operation codes.
enum : int { kSuma = 7, kResta = 8, kProducto = 9, kCociente = 10, kIntegral = 11, kDerivada = 12, kFiltro = 13 };

constexpr int kTextoPocasMuestras = 291;
constexpr int kTextoCorteFuera = 292;

QString Operador(int codigo)
{
    switch (codigo) {
    case kSuma: return QStringLiteral("+");
    case kResta: return QStringLiteral("-");
    case kProducto: return QStringLiteral("*");
    case kCociente: return QStringLiteral("/");
    default: return {};
    }
}

const TSenalAna& Ana(const TSenal& s) { return static_cast<const TSenalAna&>(s); }

bool En(int estado, std::initializer_list<int> estados)
{
    for (int e : estados)
        if (e == estado)
            return true;
    return false;
}

} // namespace

TfrmCalcuAna::TfrmCalcuAna(IPrincipal& principal, QWidget* parent)
    : TCalculadora(principal, Numero, ContextoAyuda, "SenalesListBox", {kEvSenal, kEvMemoria, kEvResultado}, parent)
{
    setObjectName(QStringLiteral("frmCalcuAna"));
    setWindowTitle(QStringLiteral("Calculadora de Se\u00f1ales Anal\u00f3gicas"));

    constexpr int ancho = 58;
    SpBtnMAS = CrearTecla("SpBtnMAS", QStringLiteral("+"), ancho);
    spBtnMENOS = CrearTecla("spBtnMENOS", QStringLiteral("--"), ancho);
    spBtnPOR = CrearTecla("spBtnPOR", QStringLiteral("x"), ancho);
    spBtnDIV = CrearTecla("spBtnDIV", QStringLiteral("/"), ancho);
    spBtnDerivada = CrearTecla("spBtnDerivada", QStringLiteral("d/dt"), ancho);
    spBtnIntegral = CrearTecla("spBtnIntegral", QStringLiteral("f dx"), ancho);
    SpBtnFiltro = CrearTecla("SpBtnFiltro", QStringLiteral("FILTRO"), ancho);
    connect(SpBtnMAS, &QPushButton::clicked, this, [this] { OperadorClick(kSuma); });
    connect(spBtnMENOS, &QPushButton::clicked, this, [this] { OperadorClick(kResta); });
    connect(spBtnPOR, &QPushButton::clicked, this, [this] { OperadorClick(kProducto); });
    connect(spBtnDIV, &QPushButton::clicked, this, [this] { OperadorClick(kCociente); });
    connect(spBtnDerivada, &QPushButton::clicked, this, &TfrmCalcuAna::spBtnDerivadaClick);
    connect(spBtnIntegral, &QPushButton::clicked, this, &TfrmCalcuAna::spBtnIntegralClick);
    connect(SpBtnFiltro, &QPushButton::clicked, this, &TfrmCalcuAna::SpBtnFiltroClick);

    LabelConstante = new QLabel(QStringLiteral("Constante"), this);
    LabelConstante->setObjectName(QStringLiteral("LabelConstante"));
    EdCte = new QLineEdit(this);
    EdCte->setObjectName(QStringLiteral("EdCte"));
    EdCte->setMaxLength(12);
    EdCte->setAlignment(Qt::AlignRight);
    TFiltroTeclas::Solo(EdCte, QStringLiteral("0123456789-."));
    LabelConstante->setBuddy(EdCte);
    // Only the user's changes count; clearing the field by program does not.
    connect(EdCte, &QLineEdit::textEdited, this, &TfrmCalcuAna::EdCteChange);

    auto* teclas = new QGridLayout;
    teclas->setSpacing(4);
    teclas->addWidget(SpBtnMAS, 0, 0);
    teclas->addWidget(spBtnMENOS, 0, 1);
    teclas->addWidget(spBtnPOR, 0, 2);
    teclas->addWidget(spBtnDIV, 0, 3);
    teclas->addWidget(spBtnDerivada, 1, 0);
    teclas->addWidget(spBtnIntegral, 1, 1);
    teclas->addWidget(SpBtnFiltro, 1, 2, 1, 2);
    auto* constante = new QHBoxLayout;
    constante->addWidget(LabelConstante);
    constante->addWidget(EdCte, 1);
    teclas->addLayout(constante, 2, 0, 1, 4);
    Montar(teclas);
    resize(560, 320);
}

QStringList TfrmCalcuAna::NombresSenales() const
{
    return Senales() ? Senales()->NombresAna() : QStringList();
}

const TSenal* TfrmCalcuAna::BuscarSenal(const QString& nombre) const
{
    return Senales() ? Senales()->BuscarAna(nombre) : nullptr;
}

std::unique_ptr<TSenal> TfrmCalcuAna::Copia(const TSenal& s) { return calculo_->CopiaAna(Ana(s)); }

void TfrmCalcuAna::LlenarPeriodos(const QStringList& nombres)
{
    // Wide enough for the longest period text, whatever the language.
    const QString largo = QStringLiteral("999.9 ") + Textos().BuscarTexto(193);
    SrcMuesList->setMinimumWidth(SrcMuesList->fontMetrics().horizontalAdvance(largo) + 16);
    SrcMuesList->clear();
    for (const QString& n : nombres)
        if (const TSenalAna* s = Senales()->BuscarAna(n))
            SrcMuesList->addItem(TextoPeriodo(Textos(), s->Periodo()));
}

bool TfrmCalcuAna::NombreOcupado(const QString& nombre) const
{
    return Senales() && (Senales()->BuscarAna(nombre) || Senales()->BuscarDig(nombre));
}

bool TfrmCalcuAna::AnadirAlConjunto(std::unique_ptr<TSenal> senal)
{
    return Senales()->AnadirAna(std::unique_ptr<TSenalAna>(static_cast<TSenalAna*>(senal.release())));
}

void TfrmCalcuAna::HabilitarPropias()
{
    const int e = estado_;
    Lista->setEnabled(En(e, {1, 4, 9}));
    const bool operador = En(e, {2, 5, 8});
    for (QPushButton* b : {SpBtnMAS, spBtnMENOS, spBtnPOR, spBtnDIV})
        b->setEnabled(operador);
    spBtnDerivada->setEnabled(En(e, {2, 5}));
    spBtnIntegral->setEnabled(En(e, {2, 5}));
    SpBtnFiltro->setEnabled(e == 2 || (e == 5 && !yaFiltrado_));
    SpBtnResultado->setEnabled(En(e, {3, 6}) || (e == 2 && memoriaUsada_));
    SpBtnAC->setEnabled(e >= 1 && e <= 8);
    EdCte->setEnabled(En(e, {1, 4, 6, 8}));
    LabelConstante->setEnabled(EdCte->isEnabled());
}

void TfrmCalcuAna::LimpiarPropio()
{
    EdCte->clear();
    constanteEscrita_ = false;
    yaFiltrado_ = false;
}

void TfrmCalcuAna::OperadorClick(int codigo)
{
    static const char* const textos[] = {" + ", " - ", " * ", " / "};
    // Only while the state enables the operator keys.
    if (codigo < kSuma || codigo > kCociente || !SpBtnMAS->isEnabled())
        return;
    TomarResultadoComoOperando();
    Anadir(QLatin1String(textos[codigo - kSuma]));
    codigoOperacion_ = codigo;
    Transitar(kEvOperador);
}

void TfrmCalcuAna::spBtnIntegralClick()
{
    TomarResultadoComoOperando();
    PonerPantalla(QStringLiteral("f (") + TextoPantalla() + QStringLiteral(" ) dx"));
    codigoOperacion_ = kIntegral;
    Transitar(kEvIntegral);
}

void TfrmCalcuAna::spBtnDerivadaClick()
{
    TomarResultadoComoOperando();
    PonerPantalla(QStringLiteral("d(") + TextoPantalla() + QStringLiteral(" ) / dt"));
    codigoOperacion_ = kDerivada;
    Transitar(kEvDerivada);
}

void TfrmCalcuAna::SpBtnFiltroClick()
{
    TSenal* operando = estado_ == 2 ? operandoA_.get() : estado_ == 5 ? resultado_.get() : nullptr;
    if (!operando)
        return;
    TSenalAna& senal = static_cast<TSenalAna&>(*operando);
    const int n = senal.NumMuestras();
    if (n < 2) {
        Avisar(kTextoPocasMuestras);
        return;
    }
    // The signal's duration over its period: N - 1, shown as the sampling frequency.
    const double referencia = n - 1;
    TfrmFiltro dialogo(principal_.Contexto().Formulario, this);
    dialogo.FrecuenciaReferencia = referencia;
    if (dialogo.Ejecutar() != QDialog::Accepted)
        return;
    const double baja = LeerReal(dialogo.FrecuenciaBaja()).value_or(0);
    const double alta = LeerReal(dialogo.FrecuenciaAlta()).value_or(0);
    if (!FiltrarSenal(senal, dialogo.Tipo(), baja, alta, referencia))
        return;
    PonerPantalla(QStringLiteral("Filtrado(") + TextoPantalla() + QLatin1Char(')'));
    if (estado_ == 5)
        operandoA_ = Copia(*resultado_);
    codigoOperacion_ = kFiltro;
    yaFiltrado_ = true;
    Transitar(kEvFiltro);
}

bool TfrmCalcuAna::FiltrarSenal(TSenalAna& senal, int tipo, double frecBaja, double frecAlta, double referencia)
{
    const int n = senal.NumMuestras();
    if (n < 2 || !(referencia > 0)) {
        Avisar(kTextoPocasMuestras);
        return false;
    }
    int m = 1;
    while (m < n)
        m <<= 1;
    // A cut-off bin at or beyond the transform's size (and beyond what 16 bits hold)
    // would wrap round and cut the wrong band.
    auto fuera = [&](double f) {
        const double k = double(m) * f / referencia;
        return !(k >= 0 && k < m);
    };
    const bool usaBaja = tipo != TfrmFiltro::PasaBajo;
    const bool usaAlta = tipo != TfrmFiltro::PasaAlto;
    if ((usaBaja && fuera(frecBaja)) || (usaAlta && fuera(frecAlta))) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(kTextoCorteFuera).arg(FormatoGeneral(referencia, 15)),
                                   Botones::Aceptar);
        return false;
    }
    try {
        principal_.Estado().FFT2.FiltrarFFT(senal, tipo, frecBaja, frecAlta, referencia);
    } catch (const EErrorCalculo&) {
        Avisar(clave::SinResultado);
        return false;
    }
    return true;
}

void TfrmCalcuAna::EdCteChange(const QString& texto)
{
    if (texto == QStringLiteral("-"))
        return;
    if (texto.isEmpty()) {
        Limpiar();
        return;
    }
    // A number still being typed ("1.", "-.") waits for its next key.
    const std::optional<double> valor = LeerReal(texto);
    if (!valor)
        return;
    constante_ = float(*valor);
    if (!constanteEscrita_) {
        PonerEstado(estado_ == 1 || estado_ == 8 ? 8 : 6);
        constanteEscrita_ = true;
        Anadir(QStringLiteral(" CTE."));
        Habilitar();
    }
}

std::unique_ptr<TSenal> TfrmCalcuAna::Calcular()
{
    const TSenalAna* a = operandoA_ ? &Ana(*operandoA_) : nullptr;
    const TSenalAna* b = operandoB_ ? &Ana(*operandoB_) : nullptr;
    const QString op = Operador(codigoOperacion_);
    if (estado_ == 6) {
        if (op.isEmpty())
            return nullptr;
        if (a)
            return calculo_->OperarConstante(*a, constante_, false, op);
        if (b)
            return calculo_->OperarConstante(*b, constante_, true, op);
        return nullptr;
    }
    if (!a)
        return nullptr;
    switch (codigoOperacion_) {
    case kIntegral: return calculo_->Integral(*a);
    case kDerivada: return calculo_->Derivada(*a);
    case kFiltro: return calculo_->CopiaAna(*a);
    default: break;
    }
    if (op.isEmpty() || !b)
        return nullptr;
    return calculo_->Operar(*a, *b, op);
}

} // namespace qv

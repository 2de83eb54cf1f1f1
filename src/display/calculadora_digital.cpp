#include "display/calculadora_digital.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "model/calculo.h"
#include "model/senales.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

namespace qv {

namespace {

// Events of the digital calculator.
enum : int { kEvOperador = 1, kEvNot = 2, kEvSenal = 3, kEvMemoria = 4, kEvResultado = 5 };
constexpr int kNot = 6;

// Per operation code: the key, its caption, the display text and the kernel's word.
struct TOperadorDig {
    const char* tecla;
    const char* rotulo;
    const char* pantalla;
    const char* palabra;
};
constexpr TOperadorDig kOperadores[] = {
    {"SpBtnOR", "OR", " OR ", "Or"},       {"spBtnAND", "AND", " AND ", "And"},
    {"spBtnXOR", "XOR", " XOR ", "Xor"},   {"spBtnNAND", "NAND", " NAND ", "Nand"},
    {"spBtnNOR", "NOR", " NOR ", "Nor"},   {"spBtnXNOR", "XNOR", " XNOR ", "Xnor"},
};

const TSenalDig& Dig(const TSenal& s) { return static_cast<const TSenalDig&>(s); }

} // namespace

TfrmCalcuDig::TfrmCalcuDig(IPrincipal& principal, QWidget* parent)
    : TCalculadora(principal, Numero, ContextoAyuda, "ListBox1", {kEvSenal, kEvMemoria, kEvResultado}, parent)
{
    setObjectName(QStringLiteral("frmCalcuDig"));
    setWindowTitle(QStringLiteral("Calculadora de Se\u00f1ales Digitales"));

    constexpr int ancho = 64;
    QPushButton** teclas[] = {&SpBtnOR, &spBtnAND, &spBtnXOR, &spBtnNAND, &spBtnNOR, &spBtnXNOR};
    auto* rejilla = new QGridLayout;
    rejilla->setSpacing(4);
    for (int c = 0; c < 6; ++c) {
        const TOperadorDig& o = kOperadores[c];
        QPushButton* b = CrearTecla(o.tecla, QLatin1String(o.rotulo), ancho);
        *teclas[c] = b;
        connect(b, &QPushButton::clicked, this, [this, c] { OperadorClick(c); });
        rejilla->addWidget(b, c / 3, c % 3);
    }
    spBtnNOT = CrearTecla("spBtnNOT", QStringLiteral("NOT"), ancho);
    connect(spBtnNOT, &QPushButton::clicked, this, &TfrmCalcuDig::spBtnNOTClick);
    rejilla->addWidget(spBtnNOT, 2, 0);
    // The digital calculator lists no periods.
    SrcMuesList->hide();
    Montar(rejilla);
    resize(500, 300);
}

QStringList TfrmCalcuDig::NombresSenales() const
{
    return Senales() ? Senales()->NombresDig() : QStringList();
}

const TSenal* TfrmCalcuDig::BuscarSenal(const QString& nombre) const
{
    return Senales() ? Senales()->BuscarDig(nombre) : nullptr;
}

std::unique_ptr<TSenal> TfrmCalcuDig::Copia(const TSenal& s) { return calculo_->CopiaDig(Dig(s)); }

// A digital result may bear the name of an analog signal: adding it asks the set's
// name-clash question.
bool TfrmCalcuDig::NombreOcupado(const QString& nombre) const
{
    return Senales() && Senales()->BuscarDig(nombre);
}

bool TfrmCalcuDig::AnadirAlConjunto(std::unique_ptr<TSenal> senal)
{
    return Senales()->AnadirDig(std::unique_ptr<TSenalDig>(static_cast<TSenalDig*>(senal.release())));
}

void TfrmCalcuDig::HabilitarPropias()
{
    const int e = estado_;
    Lista->setEnabled(e == 1 || e == 4);
    const bool operador = e == 2 || e == 5;
    for (QPushButton* b : {SpBtnOR, spBtnAND, spBtnXOR, spBtnNAND, spBtnNOR, spBtnXNOR, spBtnNOT})
        b->setEnabled(operador);
    SpBtnResultado->setEnabled(e == 3 || (e == 2 && memoriaUsada_));
    SpBtnAC->setEnabled(e >= 1 && e <= 5);
}

void TfrmCalcuDig::OperadorClick(int codigo)
{
    // Only while the state enables the operator keys.
    if (codigo < 0 || codigo >= kNot || !SpBtnOR->isEnabled())
        return;
    TomarResultadoComoOperando();
    Anadir(QLatin1String(kOperadores[codigo].pantalla));
    codigoOperacion_ = codigo;
    Transitar(kEvOperador);
}

void TfrmCalcuDig::spBtnNOTClick()
{
    TomarResultadoComoOperando();
    PonerPantalla(QStringLiteral("NOT (") + TextoPantalla() + QLatin1Char(')'));
    codigoOperacion_ = kNot;
    Transitar(kEvNot);
}

std::unique_ptr<TSenal> TfrmCalcuDig::Calcular()
{
    if (!operandoA_)
        return nullptr;
    const TSenalDig& a = Dig(*operandoA_);
    if (codigoOperacion_ == kNot)
        return calculo_->Not(a);
    if (codigoOperacion_ < 0 || codigoOperacion_ >= kNot || !operandoB_)
        return nullptr;
    return calculo_->OperarDig(a, Dig(*operandoB_), QLatin1String(kOperadores[codigoOperacion_].palabra));
}

} // namespace qv

// The calculators driven key by key through their object names: what each state
// enables, what the display spells, the results, memory, the constant, naming the
// result, every refusal, and the analog calculator's frequency filter.
#include "display/calculadora_analogica.h"
#include "display/calculadora_digital.h"
#include "display/display_prueba.h"
#include "display/elegir.h"
#include "model/exportar.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <numbers>

namespace qv::test {
namespace {

bool Activa(QWidget& d, const char* nombre)
{
    return De<QWidget>(d, nombre).isEnabled();
}

std::vector<float> Muestras(const TSenal* s)
{
    const auto* a = dynamic_cast<const TSenalAna*>(s);
    return a ? a->Muestras() : std::vector<float>{};
}

std::vector<std::uint8_t> MuestrasDig(const TSenal* s)
{
    const auto* d = dynamic_cast<const TSenalDig*>(s);
    return d ? d->Muestras() : std::vector<std::uint8_t>{};
}

// Types the name into the name dialog and accepts it.
TModalPrueba::TManejador Nombrar(const QString& nombre)
{
    return [nombre](QDialog& d) {
        Escribir(d, "Edit1", nombre);
        Pulsar(d, "OKBtn");
    };
}

class CalculadoraAna : public DisplayPrueba {
protected:
    void SetUp() override
    {
        Ana(QStringLiteral("A"), 0.001, {1, 2, 4});
        Ana(QStringLiteral("B"), 0.001, {10, 20, 30});
        Ana(QStringLiteral("L"), 0.002, {5, 5, 5});
        Dig(QStringLiteral("D1"), 0.001, {1, 0, 1});
        c = std::make_unique<TfrmCalcuAna>(p, &p.ventana);
        c->show();
    }
    void Elige(const QString& nombre) { EXPECT_TRUE(Elegir(*c, "SenalesListBox", nombre)) << nombre.toStdString(); }
    void Pulsa(const char* tecla) { EXPECT_TRUE(Pulsar(*c, tecla)) << tecla; }
    std::vector<float> Resultado() const { return Muestras(c->Resultado()); }
    // Activation empties the calculator and reloads the list.
    void Reabrir()
    {
        c->hide();
        c->show();
    }

    std::unique_ptr<TfrmCalcuAna> c;
};

TEST_F(CalculadoraAna, DosSenalesSeSumanYElResultadoPasaAlConjuntoConSuNombre)
{
    EXPECT_EQ(Elementos(De<QListWidget>(*c, "SenalesListBox")),
              (QStringList{QStringLiteral("L"), QStringLiteral("B"), QStringLiteral("A")}));
    EXPECT_EQ(Elementos(De<QListWidget>(*c, "SrcMuesList")),
              (QStringList{TextoPeriodo(p.textos, 0.002), TextoPeriodo(p.textos, 0.001), TextoPeriodo(p.textos, 0.001)}));
    EXPECT_EQ(c->Estado(), 1);
    Elige(QStringLiteral("A"));
    EXPECT_EQ(c->Estado(), 2);
    EXPECT_FALSE(Activa(*c, "SenalesListBox"));
    EXPECT_FALSE(Activa(*c, "SpBtnResultado"));
    Pulsa("SpBtnMAS");
    EXPECT_EQ(c->Estado(), 4);
    EXPECT_FALSE(Activa(*c, "SpBtnMAS"));
    Elige(QStringLiteral("B"));
    EXPECT_EQ(c->Estado(), 3);
    EXPECT_EQ(c->Pantalla(), QStringLiteral(" A +  B"));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(c->Pantalla(), QStringLiteral("T253"));
    EXPECT_EQ(c->Estado(), 5);
    EXPECT_EQ(Resultado(), (std::vector<float>{11, 22, 34}));
    EXPECT_DOUBLE_EQ(c->Resultado()->Periodo(), 0.001);
    // The set's signals are never touched.
    EXPECT_EQ(Conjunto().BuscarAna(QStringLiteral("A"))->Muestras(), (std::vector<float>{1, 2, 4}));

    p.modal.Cuando(QStringLiteral("frmPedirNombre"), Nombrar(QStringLiteral("Suma")));
    Pulsa("SpBtnPasar");
    const TSenalAna* suma = Conjunto().BuscarAna(QStringLiteral("Suma"));
    ASSERT_NE(suma, nullptr);
    EXPECT_EQ(suma->Muestras(), (std::vector<float>{11, 22, 34}));
    EXPECT_TRUE(suma->Calculada());
    EXPECT_NE(static_cast<const TSenal*>(suma), c->Resultado()); // the calculator keeps its own
    EXPECT_TRUE(p.estado.Modificado());
    EXPECT_TRUE(Elementos(De<QListWidget>(*c, "SenalesListBox")).contains(QStringLiteral("Suma")));
    EXPECT_EQ(De<QListWidget>(*c, "SrcMuesList").count(), 4);
    // Once passed, the key waits for the next state.
    EXPECT_FALSE(Activa(*c, "SpBtnPasar"));
    // The result goes on as the first operand.
    Pulsa("spBtnPOR");
    Elige(QStringLiteral("A"));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Resultado(), (std::vector<float>{11, 44, 136}));
}

TEST_F(CalculadoraAna, ElTabuladorRecorreLaListaLasTeclasYLosBotones)
{
    QStringList orden;
    QWidget* inicio = &De<QWidget>(*c, "SenalesListBox");
    QWidget* w = inicio;
    do {
        if (!w->objectName().isEmpty() && w->focusPolicy() != Qt::NoFocus)
            orden << w->objectName();
        w = w->nextInFocusChain();
    } while (w != inicio && orden.size() < 40);
    EXPECT_EQ(orden.mid(0, 9).join(QLatin1Char(',')),
              QStringLiteral("SenalesListBox,SpBtnMAS,spBtnMENOS,spBtnPOR,spBtnDIV,spBtnDerivada,spBtnIntegral,"
                             "SpBtnFiltro,EdCte"));
    EXPECT_EQ(orden.mid(9, 7).join(QLatin1Char(',')),
              QStringLiteral("SpBtnAC,SpBtnResultado,SpBtnM,SpBtnIns,SpBtnPasar,SpBtnCerrar,BtnHelp"));
}

TEST_F(CalculadoraAna, SinPrimerOperandoNoHayOperadorNiResultado)
{
    for (const char* t : {"SpBtnMAS", "spBtnMENOS", "spBtnPOR", "spBtnDIV", "spBtnDerivada", "spBtnIntegral",
                          "SpBtnFiltro", "SpBtnResultado", "SpBtnPasar", "SpBtnM", "SpBtnIns"})
        EXPECT_FALSE(Activa(*c, t)) << t;
    EXPECT_TRUE(Activa(*c, "EdCte"));
    EXPECT_TRUE(Activa(*c, "SpBtnAC"));
    // An operator that arrives anyway leaves the calculator empty.
    c->OperadorClick(7);
    EXPECT_EQ(c->Estado(), 1);
    c->SpBtnResultadoClick();
    EXPECT_EQ(c->Resultado(), nullptr);
    EXPECT_EQ(c->Estado(), 1);
    EXPECT_TRUE(c->Pantalla().isEmpty());
}

TEST_F(CalculadoraAna, ACEnMitadDeLaExpresionLoBorraTodo)
{
    Elige(QStringLiteral("A"));
    Pulsa("SpBtnMAS");
    Pulsa("SpBtnAC");
    EXPECT_EQ(c->Estado(), 1);
    EXPECT_TRUE(c->Pantalla().isEmpty());
    EXPECT_TRUE(Activa(*c, "SenalesListBox"));
    // Nothing of A is left: B becomes the first operand.
    Elige(QStringLiteral("B"));
    Pulsa("spBtnMENOS");
    Elige(QStringLiteral("B"));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Resultado(), (std::vector<float>{0, 0, 0}));
}

TEST_F(CalculadoraAna, PeriodosDistintosAvisanYBorran)
{
    Elige(QStringLiteral("A"));
    Pulsa("SpBtnMAS");
    Elige(QStringLiteral("L"));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("T159")});
    EXPECT_EQ(c->Estado(), 1);
    EXPECT_EQ(c->Resultado(), nullptr);
    EXPECT_TRUE(c->Pantalla().isEmpty());
    EXPECT_TRUE(Activa(*c, "SenalesListBox"));
}

TEST_F(CalculadoraAna, NombreUsadoAvisaYNoAnadeNada)
{
    Elige(QStringLiteral("A"));
    Pulsa("spBtnIntegral");
    Pulsa("SpBtnResultado");
    const int antes = Conjunto().NumAna();
    // Analog and digital names both count.
    for (const QString& nombre : {QStringLiteral("B"), QStringLiteral("D1")}) {
        p.modal.Cuando(QStringLiteral("frmPedirNombre"), Nombrar(nombre));
        Pulsa("SpBtnPasar");
    }
    EXPECT_EQ(Mensajes(), (QStringList{QStringLiteral("T112"), QStringLiteral("T112")}));
    EXPECT_EQ(Conjunto().NumAna(), antes);
    EXPECT_FALSE(p.estado.Modificado());
    // Still there to name again; an empty name adds nothing either.
    p.modal.Cuando(QStringLiteral("frmPedirNombre"), Nombrar(QString()));
    Pulsa("SpBtnPasar");
    EXPECT_EQ(Conjunto().NumAna(), antes);
}

// Every name box's checks, each try in the same open dialog (blanks and "$" pasted past
// the typing filter); the name that passes keeps one header field per signal.
TEST_F(CalculadoraAna, NombreConLasComprobacionesDeLasOtrasCajas)
{
    Elige(QStringLiteral("A"));
    Pulsa("spBtnIntegral");
    Pulsa("SpBtnResultado");
    const std::pair<QString, QString> casos[] = {{"", "T119"}, {"a b", "T11002"}, {"Mi$", "T11002"}, {"B", "T112"},
                                                 {"Integ", ""}};
    p.modal.Cuando(QStringLiteral("frmPedirNombre"), [&](QDialog& d) {
        for (const auto& [nombre, aviso] : casos) {
            p.interaccion.mensajes.clear();
            De<QLineEdit>(d, "Edit1").setText(nombre);
            Pulsar(d, "OKBtn");
            EXPECT_EQ(Mensajes(), aviso.isEmpty() ? QStringList() : QStringList{aviso}) << nombre.toStdString();
            EXPECT_EQ(d.isVisible(), !aviso.isEmpty()) << nombre.toStdString();
        }
    });
    Pulsa("SpBtnPasar");
    EXPECT_EQ(ExportarTexto(Conjunto(), {"Integ", "B"}).split('\n').value(4).simplified().split(' '),
              (QList<QByteArray>{"T235", "T236", "Integ", "B"}));
}

TEST_F(CalculadoraAna, ConstanteDelanteODetras)
{
    // "2" first, then "/", then A: 2 / A.
    EXPECT_TRUE(Escribir(*c, "EdCte", QStringLiteral("2")));
    EXPECT_EQ(c->Estado(), 8);
    EXPECT_EQ(c->Pantalla(), QStringLiteral(" CTE."));
    EXPECT_FALSE(Activa(*c, "SenalesListBox"));
    Pulsa("spBtnDIV");
    EXPECT_EQ(c->Estado(), 9);
    Elige(QStringLiteral("A"));
    EXPECT_EQ(c->Estado(), 6);
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Resultado(), (std::vector<float>{2, 1, 0.5f}));
    EXPECT_TRUE(De<QLineEdit>(*c, "EdCte").text().isEmpty());

    // A, "--", 1.5: A - 1.5.
    Pulsa("SpBtnAC");
    Elige(QStringLiteral("A"));
    Pulsa("spBtnMENOS");
    EXPECT_TRUE(Escribir(*c, "EdCte", QStringLiteral("1.5")));
    EXPECT_EQ(c->Estado(), 6);
    EXPECT_FLOAT_EQ(c->Constante(), 1.5f);
    EXPECT_EQ(c->Pantalla(), QStringLiteral(" A -  CTE."));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Resultado(), (std::vector<float>{-0.5f, 0.5f, 2.5f}));

    // Deleting the whole constant empties the calculator; a lone "-" waits.
    Pulsa("SpBtnAC");
    EXPECT_TRUE(Escribir(*c, "EdCte", QStringLiteral("-")));
    EXPECT_EQ(c->Estado(), 1);
    QTest::keyClicks(&De<QLineEdit>(*c, "EdCte"), QStringLiteral("3"));
    EXPECT_EQ(c->Estado(), 8);
    QTest::keyClick(&De<QLineEdit>(*c, "EdCte"), Qt::Key_Backspace);
    QTest::keyClick(&De<QLineEdit>(*c, "EdCte"), Qt::Key_Backspace);
    EXPECT_EQ(c->Estado(), 1);
    EXPECT_TRUE(c->Pantalla().isEmpty());
}

TEST_F(CalculadoraAna, UnaConstanteDivisoraCeroNoDaResultado)
{
    Elige(QStringLiteral("A"));
    Pulsa("spBtnDIV");
    EXPECT_TRUE(Escribir(*c, "EdCte", QStringLiteral("0")));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("T290")});
    EXPECT_EQ(c->Estado(), 1);
    EXPECT_EQ(c->Resultado(), nullptr);
}

TEST_F(CalculadoraAna, MemoriaGuardaYDevuelveOperandos)
{
    Elige(QStringLiteral("A"));
    EXPECT_FALSE(Activa(*c, "SpBtnM"));
    Pulsa("SpBtnIns");
    Pulsa("SpBtnM"); // stores A
    EXPECT_EQ(c->Pantalla(), QStringLiteral(" T252"));
    ASSERT_NE(c->Memoria(), nullptr);
    EXPECT_EQ(Muestras(c->Memoria()), (std::vector<float>{1, 2, 4}));
    // Once the memory was used, the result of a lone operand is that operand.
    EXPECT_TRUE(Activa(*c, "SpBtnResultado"));
    Pulsa("SpBtnMAS");
    Pulsa("SpBtnM"); // the memory as second operand
    EXPECT_EQ(c->Estado(), 3);
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Resultado(), (std::vector<float>{2, 4, 8}));
    Pulsa("SpBtnM"); // stores the result
    EXPECT_EQ(Muestras(c->Memoria()), (std::vector<float>{2, 4, 8}));
    Pulsa("SpBtnAC");
    Pulsa("SpBtnM"); // the memory as first operand
    EXPECT_EQ(c->Estado(), 2);
    Pulsa("spBtnDerivada");
    EXPECT_EQ(c->Pantalla(), QStringLiteral("d( T252 ) / dt"));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Resultado(), (std::vector<float>{2000, 4000, 0}));
}

TEST_F(CalculadoraAna, ElFiltroPideSuReferenciaYNoRepiteSobreElMismoResultado)
{
    std::vector<float> v(64);
    for (int i = 0; i < 64; ++i)
        v[size_t(i)] = float(std::sin(2 * std::numbers::pi * 2 * i / 64.0) + std::sin(2 * std::numbers::pi * 20 * i / 64.0));
    Ana(QStringLiteral("S"), 0.001, v);
    Reabrir();
    Elige(QStringLiteral("S"));
    QString etiqueta;
    p.modal.Cuando(QStringLiteral("frmFiltro"), [&etiqueta](QDialog& d) {
        etiqueta = De<QLabel>(d, "MuesLabel").text();
        Marcar(d, "RBPasaBajo");
        Escribir(d, "FiltroAltaEdit", QStringLiteral("10"));
        Pulsar(d, "OKBtn");
    });
    Pulsa("SpBtnFiltro");
    EXPECT_TRUE(etiqueta.endsWith(QStringLiteral("63.00 Hz"))) << etiqueta.toStdString();
    EXPECT_EQ(c->Pantalla(), QStringLiteral("Filtrado( S)"));
    EXPECT_EQ(c->Estado(), 3);
    Pulsa("SpBtnResultado");
    ASSERT_EQ(Resultado().size(), 64u);
    for (int i = 0; i < 64; ++i)
        EXPECT_NEAR(Resultado()[size_t(i)], std::sin(2 * std::numbers::pi * 2 * i / 64.0), 1e-4) << i;
    // The original is untouched; the result can be filtered once more, then no more.
    EXPECT_EQ(Conjunto().BuscarAna(QStringLiteral("S"))->Muestras(), v);
    EXPECT_TRUE(Activa(*c, "SpBtnFiltro"));
    p.modal.Cuando(QStringLiteral("frmFiltro"), [](QDialog& d) {
        Escribir(d, "FiltroBajaEdit", QStringLiteral("10"));
        Pulsar(d, "OKBtn");
    });
    Pulsa("SpBtnFiltro");
    EXPECT_EQ(c->Estado(), 5);
    EXPECT_TRUE(c->YaFiltrado());
    EXPECT_FALSE(Activa(*c, "SpBtnFiltro"));
    for (float x : Resultado())
        EXPECT_NEAR(x, 0, 1e-4); // the low band's high part: nothing
    // A cancelled filter dialog changes nothing.
    Pulsa("SpBtnAC");
    Elige(QStringLiteral("S"));
    Pulsa("SpBtnFiltro");
    EXPECT_EQ(c->Estado(), 2);
    EXPECT_EQ(c->Pantalla(), QStringLiteral(" S"));
}

// The filter on a known mix: 8 and 100 cycles over 1024 samples, each on a bin of its own.
class FiltrarSenal : public CalculadoraAna {
protected:
    static double Onda(int ciclos, int i) { return std::sin(2 * std::numbers::pi * ciclos * i / 1024.0); }
    TSenalAna& Mezcla()
    {
        std::vector<float> v(1024);
        for (int i = 0; i < 1024; ++i)
            v[size_t(i)] = float(Onda(8, i) + 0.5 * Onda(100, i));
        return Ana(QStringLiteral("M"), 1.0 / 1024, v);
    }
    static void Cerca(const TSenalAna& s, double a8, double a100)
    {
        for (int i = 0; i < s.NumMuestras(); ++i)
            ASSERT_NEAR(s.LeerMuestra(i), a8 * Onda(8, i) + a100 * Onda(100, i), 1e-4) << i;
    }
};

TEST_F(FiltrarSenal, CadaTipoDejaSuBanda)
{
    TSenalAna& m = Mezcla();
    const std::vector<float> original = m.Muestras();
    const double F = 1023; // the duration over the period
    auto copia = [&] {
        for (int i = 0; i < 1024; ++i)
            m.PonerMuestra(i, original[size_t(i)]);
        return &m;
    };
    ASSERT_TRUE(c->FiltrarSenal(*copia(), 1, 0, 50, F));
    Cerca(m, 1, 0);
    ASSERT_TRUE(c->FiltrarSenal(*copia(), 0, 50, 0, F));
    Cerca(m, 0, 0.5);
    ASSERT_TRUE(c->FiltrarSenal(*copia(), 3, 50, 200, F));
    Cerca(m, 1, 0);
    ASSERT_TRUE(c->FiltrarSenal(*copia(), 2, 50, 200, F));
    Cerca(m, 0, 0.5);
    EXPECT_TRUE(Mensajes().isEmpty());
}

TEST_F(FiltrarSenal, RehusaLoQueNoPuedeFiltrar)
{
    TSenalAna& m = Mezcla();
    const std::vector<float> original = m.Muestras();
    // A cut-off at or above the sampling frequency would wrap round to a wrong bin.
    EXPECT_FALSE(c->FiltrarSenal(m, 1, 0, 1023, 1023));
    EXPECT_FALSE(c->FiltrarSenal(m, 2, 10, 5000, 1023));
    // The field the kind does not use is not looked at.
    EXPECT_TRUE(c->FiltrarSenal(m, 0, 1022, 1e9, 1023));
    m.PonerMuestra(0, original[0]);
    TSenalAna& corta = Ana(QStringLiteral("C"), 0.001, {3});
    EXPECT_FALSE(c->FiltrarSenal(corta, 1, 0, 0, 0));
    EXPECT_EQ(corta.LeerMuestra(0), 3.0f);
    EXPECT_EQ(Mensajes(), (QStringList{QStringLiteral("T292"), QStringLiteral("T292"), QStringLiteral("T291")}));

    // From the key: a one-sample signal is refused before the dialog.
    Reabrir();
    Elige(QStringLiteral("C"));
    Pulsa("SpBtnFiltro");
    EXPECT_EQ(Mensajes().size(), 4);
    EXPECT_EQ(Mensajes().back(), QStringLiteral("T291"));
    EXPECT_FALSE(p.modal.vistos.contains(QStringLiteral("frmFiltro")));
    EXPECT_EQ(c->Estado(), 2);
}

class CalculadoraDig : public DisplayPrueba {
protected:
    void SetUp() override
    {
        Dig(QStringLiteral("D1"), 0.001, {1, 0, 1, 0});
        Dig(QStringLiteral("D2"), 0.001, {1, 1, 0, 2});
        Dig(QStringLiteral("D3"), 0.01, {1, 1, 1, 1});
        Ana(QStringLiteral("A"), 0.001, {1, 2});
        c = std::make_unique<TfrmCalcuDig>(p, &p.ventana);
        c->show();
    }
    void Elige(const QString& nombre) { EXPECT_TRUE(Elegir(*c, "ListBox1", nombre)) << nombre.toStdString(); }
    void Pulsa(const char* tecla) { EXPECT_TRUE(Pulsar(*c, tecla)) << tecla; }
    std::vector<std::uint8_t> Resultado() const { return MuestrasDig(c->Resultado()); }

    std::unique_ptr<TfrmCalcuDig> c;
};

TEST_F(CalculadoraDig, OperacionesLogicasYSusEstados)
{
    EXPECT_EQ(Elementos(De<QListWidget>(*c, "ListBox1")),
              (QStringList{QStringLiteral("D3"), QStringLiteral("D2"), QStringLiteral("D1")}));
    EXPECT_FALSE(De<QListWidget>(*c, "SrcMuesList").isVisible());
    for (const char* t : {"SpBtnOR", "spBtnNOT", "SpBtnResultado", "SpBtnPasar"})
        EXPECT_FALSE(Activa(*c, t)) << t;
    c->OperadorClick(0); // an operator without a first operand
    EXPECT_EQ(c->Estado(), 1);
    EXPECT_TRUE(c->Pantalla().isEmpty());

    Elige(QStringLiteral("D1"));
    Pulsa("spBtnXOR");
    Elige(QStringLiteral("D2"));
    EXPECT_EQ(c->Pantalla(), QStringLiteral(" D1 XOR  D2"));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(c->Pantalla(), QStringLiteral("T253"));
    EXPECT_EQ(Resultado(), (std::vector<std::uint8_t>{0, 1, 1, 0})); // 2 counts as 0
    Pulsa("spBtnNOT");
    EXPECT_EQ(c->Pantalla(), QStringLiteral("NOT (T253)"));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Resultado(), (std::vector<std::uint8_t>{1, 0, 0, 1}));

    // AC in mid-expression, then operands of different periods.
    EXPECT_FALSE(Activa(*c, "ListBox1")); // a result waits for an operator
    Pulsa("spBtnNAND");
    Pulsa("SpBtnAC");
    EXPECT_EQ(c->Estado(), 1);
    Elige(QStringLiteral("D1"));
    Pulsa("SpBtnOR");
    Elige(QStringLiteral("D3"));
    Pulsa("SpBtnResultado");
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("T159")});
    EXPECT_EQ(c->Estado(), 1);
    EXPECT_TRUE(c->Pantalla().isEmpty());
    EXPECT_FALSE(Activa(*c, "SpBtnPasar"));
}

TEST_F(CalculadoraDig, ElNombreSoloChocaConDigitales)
{
    Elige(QStringLiteral("D1"));
    Pulsa("spBtnAND");
    Elige(QStringLiteral("D2"));
    Pulsa("SpBtnResultado");
    p.modal.Cuando(QStringLiteral("frmPedirNombre"), Nombrar(QStringLiteral("D2")));
    Pulsa("SpBtnPasar");
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("T112")});
    // An analog name passes the calculator; the set asks about the clash.
    p.interaccion.respuestas.push_back(Respuesta::Omitir);
    p.modal.Cuando(QStringLiteral("frmPedirNombre"), Nombrar(QStringLiteral("A")));
    Pulsa("SpBtnPasar");
    EXPECT_EQ(Mensajes().size(), 2);
    EXPECT_EQ(p.interaccion.mensajes.back().sabor, TInteraccionGuion::Sabor::Pregunta);
    EXPECT_FALSE(p.estado.Modificado());
    EXPECT_EQ(Conjunto().BuscarDig(QStringLiteral("A")), nullptr);
    // Nothing was added: the key stays for another name.
    p.modal.Cuando(QStringLiteral("frmPedirNombre"), Nombrar(QStringLiteral("Y")));
    Pulsa("SpBtnPasar");
    ASSERT_NE(Conjunto().BuscarDig(QStringLiteral("Y")), nullptr);
    EXPECT_EQ(Conjunto().BuscarDig(QStringLiteral("Y"))->Muestras(), (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_TRUE(p.estado.Modificado());
    EXPECT_FALSE(Activa(*c, "SpBtnPasar"));
}

} // namespace
} // namespace qv::test

// The graph options dialog, opened by "Definir representación" on a signal window: every
// keystroke and click reaches the window's graph at once.
#include "visualiza_prueba.h"

#include "display/config_grafica.h"
#include "model/formatos.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

namespace qv::test {
namespace {

class ConfigGrafica : public VentanasPrueba {
protected:
    TfrmVisualizaSenales* w = nullptr;
    void SetUp() override
    {
        VentanasPrueba::SetUp();
        for (int k = 3; k >= 1; --k)
            Ana(QStringLiteral("A%1").arg(k), 11, 0.1, [k](int i) { return float(k * i); });
        w = Abrir<TfrmVisualizaSenales>(8);
    }
    // Runs the dialog from the window with `pasos` as the student's actions.
    void Dialogo(const std::function<void(QDialog&)>& pasos)
    {
        principal.modal.Cuando(QStringLiteral("frmConfig"), [pasos](QDialog& d) {
            pasos(d);
            Pulsar(d, "OkBtn");
        });
        w->Ejecutar(TComando::DefinirRepresentacion);
        EXPECT_EQ(principal.modal.Pendientes(), 0);
    }
    static QLineEdit* Caja(QDialog& d, const char* nombre) { return d.findChild<QLineEdit*>(QLatin1String(nombre)); }
};

TEST_F(ConfigGrafica, ShowsTheGraphAndAppliesEachKeystroke)
{
    TGrf& g = w->Grafica();
    Dialogo([&](QDialog& d) {
        EXPECT_EQ(d.property(kPropiedadAyuda).toInt(), 168);
        // A time plot has a fixed X range from 0, an auto-sized Y axis.
        EXPECT_FALSE(d.findChild<QCheckBox*>(QStringLiteral("chkBoxEscaladoX"))->isChecked());
        EXPECT_EQ(Caja(d, "EditMinX")->text(), QStringLiteral("0"));
        EXPECT_EQ(Caja(d, "EditMaxX")->text(), QStringLiteral("1"));
        EXPECT_TRUE(d.findChild<QCheckBox*>(QStringLiteral("chkBoxEscaladoY"))->isChecked());
        EXPECT_FALSE(Caja(d, "EditMinY")->isEnabled());
        EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("rBtnLineas"))->isChecked());

        // "-5" counts once the 5 is typed; a lone "-" is skipped.
        QLineEdit* min = Caja(d, "EditMinX");
        min->selectAll();
        QTest::keyClick(min, Qt::Key_Backspace);
        QTest::keyClick(min, Qt::Key_Minus);
        EXPECT_DOUBLE_EQ(g.XAxis().Min(), 0);
        QTest::keyClick(min, Qt::Key_5);
        EXPECT_DOUBLE_EQ(g.XAxis().Min(), -5);
        // Letters never reach a number box; more than 8 characters neither.
        QTest::keyClicks(min, QStringLiteral("a1234567"));
        EXPECT_EQ(min->text(), QStringLiteral("-5123456"));

        // A step box: emptied, the step stays; "." alone becomes a tenth of the span.
        ASSERT_TRUE(Escribir(d, "StepXEdit", QStringLiteral("0.25")));
        EXPECT_DOUBLE_EQ(g.XAxis().StepSize(), 0.25);
        QLineEdit* paso = Caja(d, "StepXEdit");
        paso->selectAll();
        QTest::keyClick(paso, Qt::Key_Backspace);
        EXPECT_DOUBLE_EQ(g.XAxis().StepSize(), 0.25);
        QTest::keyClick(paso, Qt::Key_Period);
        const double decimo = (g.XAxis().Max() - g.XAxis().Min()) / 10;
        EXPECT_EQ(paso->text(), FormatoGeneral4(decimo));
        EXPECT_NEAR(g.XAxis().StepSize(), decimo, std::abs(decimo) * 1e-3);
    });
    // Nothing else changed.
    EXPECT_TRUE(g.YAxis().AutoSizing());
    EXPECT_DOUBLE_EQ(g.XAxis().Min(), -5123456);
}

TEST_F(ConfigGrafica, ScalingGridDrawingStyleAndPointSize)
{
    TGrf& g = w->Grafica();
    Dialogo([&](QDialog& d) {
        // Y back from automatic: its boxes open and its range holds.
        ASSERT_TRUE(Marcar(d, "chkBoxEscaladoY", false));
        EXPECT_FALSE(g.YAxis().AutoSizing());
        ASSERT_TRUE(Escribir(d, "EditMaxY", QStringLiteral("40")));
        EXPECT_DOUBLE_EQ(g.YAxis().Max(), 40);
        // A max that does not convert becomes min x 1.1.
        ASSERT_TRUE(Escribir(d, "EditMaxY", QStringLiteral(".")));
        EXPECT_EQ(Caja(d, "EditMaxY")->text(), FormatoGeneral4(g.YAxis().Min() * 1.1));
        // X automatic on a time plot: the range follows the data, from 0.
        ASSERT_TRUE(Marcar(d, "chkBoxEscaladoX", true));
        EXPECT_FALSE(Caja(d, "EditMinX")->isEnabled());
        EXPECT_DOUBLE_EQ(g.XAxis().Min(), 0);
        EXPECT_NEAR(g.XAxis().Max(), 1.0, 1e-9);
        ASSERT_TRUE(Marcar(d, "chkBoxRejillaY", false));
        EXPECT_FALSE(g.YAxis().Gridlines());

        ASSERT_TRUE(Marcar(d, "rBtnPuntos"));
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(g.Serie(i).Puntos()) << i;
            EXPECT_FALSE(g.Serie(i).Lineas()) << i;
        }
        ASSERT_TRUE(Marcar(d, "rBtnLineasYPuntos"));
        EXPECT_TRUE(g.Serie(2).Lineas() && g.Serie(2).Puntos());
        auto* tamano = d.findChild<QSpinBox*>(QStringLiteral("spnEditSizePuntos"));
        QTest::keyClick(tamano, Qt::Key_Up);
        EXPECT_EQ(g.Serie(1).TamanoPunto(), tamano->value());
        EXPECT_EQ(tamano->value(), 3);
        // Changed with its arrows only.
        QTest::keyClick(tamano, Qt::Key_7);
        EXPECT_EQ(tamano->value(), 3);
    });
    // "Aceptar" undoes nothing; the dialog opened again shows the graph as it is.
    EXPECT_TRUE(g.Serie(0).Puntos());
    Dialogo([&](QDialog& d) {
        EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("rBtnLineasYPuntos"))->isChecked());
        EXPECT_EQ(d.findChild<QSpinBox*>(QStringLiteral("spnEditSizePuntos"))->value(), 3);
        EXPECT_FALSE(d.findChild<QCheckBox*>(QStringLiteral("chkBoxRejillaY"))->isChecked());
    });
}

} // namespace
} // namespace qv::test

// The digital signal window: stacked traces in their bands, logic readouts under the
// cursors with signed differences, and the limit of sixteen traces of one period.
#include "visualiza_prueba.h"

#include "display/panel_medidas.h"

namespace qv::test {
namespace {

using Digital = VentanasPrueba;

TEST_F(Digital, TracesStackFromTheBottomInBandsOfTheFixedAxis)
{
    // Four signals: D1 ... D4, each high on its own samples.
    for (int k = 4; k >= 1; --k)
        Dig(QStringLiteral("D%1").arg(k), 8, 0.1, [k](int i) { return i == k ? 1 : 0; });
    auto* w = Abrir<TfrmSenalesDigitales>(16);
    TGrf& g = w->Grafica();
    ASSERT_EQ(w->SenalesVisibles, (QStringList{"D1", "D2", "D3", "D4"}));
    ASSERT_EQ(g.NumSeries(), 4);
    EXPECT_DOUBLE_EQ(g.YAxis().Min(), 0);
    EXPECT_DOUBLE_EQ(g.YAxis().Max(), 100);
    EXPECT_FALSE(g.YAxis().AutoSizing());
    EXPECT_TRUE(g.DigitalLabels());
    EXPECT_DOUBLE_EQ(g.YAxis().StepSize(), 12.5);
    // Trace k low at (2k - 1) x 12.5, high at 2k x 12.5: the first shown at the bottom.
    for (int k = 1; k <= 4; ++k) {
        double x = 0, bajo = 0, alto = 0;
        ASSERT_TRUE(g.Serie(k - 1).LeerPunto(1, x, bajo));
        ASSERT_TRUE(g.Serie(k - 1).LeerPunto(k + 1, x, alto));
        EXPECT_DOUBLE_EQ(bajo, (2 * k - 1) * 12.5) << k;
        EXPECT_DOUBLE_EQ(alto, 2 * k * 12.5) << k;
    }
    EXPECT_EQ(g.Appearance().GraphTitle(), QStringLiteral("T37000"));
    EXPECT_EQ(g.XAxis().Title(), QStringLiteral("T37001"));
    EXPECT_NEAR(g.XAxis().Max(), 0.7, 1e-12);

    // One trace: low 50, high 100.
    w->SenalesVisibles = {QStringLiteral("D3")};
    w->Refrescar();
    double x = 0, y = 0;
    ASSERT_TRUE(g.Serie(0).LeerPunto(4, x, y));
    EXPECT_DOUBLE_EQ(y, 100);
    ASSERT_TRUE(g.Serie(0).LeerPunto(1, x, y));
    EXPECT_DOUBLE_EQ(y, 50);
    EXPECT_DOUBLE_EQ(g.YAxis().StepSize(), 50);
}

TEST_F(Digital, CursorsReadLogicLevelsAndSignedDifferences)
{
    Dig(QStringLiteral("B"), 11, 0.1, [](int i) { return i >= 5 ? 1 : 0; });
    Dig(QStringLiteral("A"), 11, 0.1, [](int i) { return i & 1; });
    auto* w = Abrir<TfrmSenalesDigitales>(16);
    w->Ejecutar(TComando::Cursores);
    ASSERT_TRUE(w->CursoresActivos());
    EXPECT_EQ(Celda(*w, 1, 0), QStringLiteral("A"));
    EXPECT_EQ(Celda(*w, 2, 0), QStringLiteral("B"));

    Clic(*w, Qt::LeftButton, 0.2);
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("0.200000"));
    EXPECT_EQ(Celda(*w, 1, 1), QStringLiteral("0.000000"));
    EXPECT_EQ(Celda(*w, 2, 1), QStringLiteral("0.000000"));
    Clic(*w, Qt::RightButton, 0.5);
    EXPECT_EQ(Celda(*w, 1, 2), QStringLiteral("1.000000"));
    EXPECT_EQ(Celda(*w, 2, 2), QStringLiteral("1.000000"));
    // Blue minus red, sign kept (the analog window shows the absolute value).
    EXPECT_EQ(Texto(*w, "LRNegroX"), QStringLiteral("-0.300000"));
    EXPECT_EQ(Celda(*w, 1, 3), QStringLiteral("-1.000000"));
    EXPECT_FALSE(w->Grafica().CursorRojo().ConMarca);

    // The keys move the cursor placed last from its own sample: the red one, to 0.6.
    QTest::keyClick(w, Qt::Key_Right);
    EXPECT_EQ(Texto(*w, "LRRojoX"), QStringLiteral("0.600000"));
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("0.200000"));
    EXPECT_EQ(Celda(*w, 1, 2), QStringLiteral("0.000000"));
    EXPECT_EQ(Celda(*w, 1, 3), QStringLiteral("0.000000"));
    EXPECT_EQ(Texto(*w, "LRNegroX"), QStringLiteral("-0.400000"));
    // Clicking the blue one again gives it the keys.
    Clic(*w, Qt::LeftButton, 0.2);
    QTest::keyClick(w, Qt::Key_Left);
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("0.100000"));
    EXPECT_EQ(Celda(*w, 1, 1), QStringLiteral("1.000000"));
}

TEST_F(Digital, SixteenOfOnePeriodAreShown)
{
    Dig(QStringLiteral("Otra"), 4, 0.002, [](int) { return 0; });
    for (int k = 17; k >= 1; --k)
        Dig(QStringLiteral("D%1").arg(k), 4, 0.001, [](int i) { return i & 1; });
    auto* w = Abrir<TfrmSenalesDigitales>(16);
    EXPECT_EQ(w->SenalesVisibles.size(), 16);
    EXPECT_EQ(w->SenalesVisibles.last(), QStringLiteral("D16"));
    EXPECT_EQ(w->SenalesOcultas, (QStringList{QStringLiteral("Otra"), QStringLiteral("D17")}));
    w->Ejecutar(TComando::Cursores);
    Procesar();
    // Sixteen readout columns, scrolled rather than squeezed below a readable width.
    auto* sg = w->findChild<QTableWidget*>(QStringLiteral("SG"));
    ASSERT_EQ(sg->columnCount(), 16);
    EXPECT_GE(sg->columnWidth(15), 50);
    EXPECT_EQ(Texto(*w, "LRNegroM"), QStringLiteral("1 milisegundos"));
}

// The digital window measures frequency, period, duty cycle and edges, and has no
// unit column; the cursors' span is measured once both are placed.
TEST_F(Digital, TheMeasurementPanelHasTheDigitalColumns)
{
    Dig(QStringLiteral("P"), 100, 0.001, [](int i) { return i % 10 < 3 ? 1 : 0; });
    auto* w = Abrir<TfrmSenalesDigitales>(16);
    w->ActivarMedidas(true);
    auto* sg = w->findChild<QTableWidget*>(QStringLiteral("SGMedidas"));
    ASSERT_NE(sg, nullptr);
    ASSERT_EQ(sg->columnCount(), 6);
    EXPECT_TRUE(sg->isColumnHidden(1));
    EXPECT_EQ(sg->horizontalHeaderItem(2)->text(), QStringLiteral("T418"));
    EXPECT_EQ(sg->item(0, 2)->text(), QStringLiteral("100")); // Hz
    EXPECT_EQ(sg->item(0, 4)->text(), QStringLiteral("30"));  // %
    EXPECT_EQ(sg->item(0, 5)->text(), QStringLiteral("19"));  // edges

    // Samples 10 to 29: high, low, high, low: three edges.
    w->ActivarCursores(true);
    Clic(*w, Qt::LeftButton, 0.010);
    EXPECT_EQ(sg->item(0, 5)->text(), QStringLiteral("19")) << "one cursor: still the whole signal";
    Clic(*w, Qt::RightButton, 0.029);
    EXPECT_EQ(Texto(*w, "LRTramo"), QStringLiteral("T439 0.01 segundos - 0.029 segundos"));
    EXPECT_EQ(sg->item(0, 5)->text(), QStringLiteral("3"));
}

} // namespace
} // namespace qv::test

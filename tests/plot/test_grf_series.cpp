// Graph control: series and their sequence numbers, axes, mapping, nearest point, ticks,
// Plotting and inconsistent limits.
#include "grafica_prueba.h"

#include <cmath>
#include <vector>

namespace qv::test {
namespace {

using Series = Grafica;

TEST_F(Series, CreatedOnFirstAccessWithTheDefaultColours)
{
    g->Serie(3);
    ASSERT_EQ(g->NumSeries(), 4);
    EXPECT_EQ(g->graphCount(), 4);
    EXPECT_EQ(g->Serie(0).Color(), QColor(0, 255, 0));
    EXPECT_EQ(g->Serie(3).Color(), QColor(255, 0, 0));
    EXPECT_EQ(TGrf::ColorSerie(12), QColor(142, 85, 170));
    EXPECT_EQ(TGrf::ColorSerie(15), QColor(175, 200, 2));
    EXPECT_EQ(TGrf::ColorSerie(16), QColor(0, 0, 255));
    EXPECT_EQ(TGrf::ColorSerie(40), QColor(0, 0, 255));
    g->LiberarSeries();
    EXPECT_EQ(g->NumSeries(), 0);
    EXPECT_EQ(g->graphCount(), 0);
}

TEST_F(Series, LinesAreStepsUntilStepPlotIsSwitchedOff)
{
    TSeries& s = g->Serie(0);
    EXPECT_TRUE(g->StepPlot());
    EXPECT_EQ(s.Grafico()->lineStyle(), QCPGraph::lsStepLeft);
    g->PonerStepPlot(false);
    EXPECT_EQ(s.Grafico()->lineStyle(), QCPGraph::lsLine);
    s.PonerLineas(false);
    s.PonerPuntos(true);
    s.PonerTamanoPunto(3);
    EXPECT_EQ(s.Grafico()->lineStyle(), QCPGraph::lsNone);
    EXPECT_EQ(s.Grafico()->scatterStyle().size(), 7);
}

TEST_F(Series, BulkLoadNumbersSamplesFromOne)
{
    const std::vector<float> m = {1.f, -2.f, 3.5f, 4.f};
    TSeries& s = g->Serie(0);
    s.CargarMuestras(0.5, m);
    ASSERT_EQ(s.NumPuntos(), 4);
    double x = 0, y = 0;
    ASSERT_TRUE(s.LeerPunto(3, x, y));
    EXPECT_DOUBLE_EQ(x, 1.0);
    EXPECT_DOUBLE_EQ(y, 3.5);
    EXPECT_FALSE(s.LeerPunto(0, x, y));
    EXPECT_FALSE(s.LeerPunto(5, x, y));
    // Appending goes on with the next number.
    EXPECT_EQ(s.AnadirPunto(2.0, 7), 5);
    ASSERT_TRUE(s.LeerPunto(5, x, y));
    EXPECT_DOUBLE_EQ(y, 7);

    const std::vector<std::uint8_t> bits = {0, 1, 1, 0};
    s.CargarMuestras(1.0, bits, 12.5, 25);
    ASSERT_TRUE(s.LeerPunto(2, x, y));
    EXPECT_DOUBLE_EQ(y, 25);
    ASSERT_TRUE(s.LeerPunto(4, x, y));
    EXPECT_DOUBLE_EQ(x, 3.0);
    EXPECT_DOUBLE_EQ(y, 12.5);
}

TEST_F(Series, InsertionKeepsXOrderAndEveryPointItsNumber)
{
    TSeries& s = g->Serie(0);
    for (double x : {5.0, 1.0, 3.0, 0.0, 4.0})
        s.AnadirPunto(x, x * 10);
    ASSERT_EQ(s.NumPuntos(), 5);
    const auto d = s.Grafico()->data();
    for (int i = 1; i < d->size(); ++i)
        EXPECT_LT((d->constBegin() + i - 1)->key, (d->constBegin() + i)->key);
    // Numbers in insertion order, whatever the X order.
    const double esperado[] = {5, 1, 3, 0, 4};
    for (int n = 1; n <= 5; ++n) {
        double x = 0, y = 0;
        ASSERT_TRUE(s.LeerPunto(n, x, y));
        EXPECT_DOUBLE_EQ(x, esperado[n - 1]);
        EXPECT_DOUBLE_EQ(y, esperado[n - 1] * 10);
    }
    EXPECT_EQ(s.Secuencia(0), 4); // X = 0 was the fourth point
}

TEST_F(Series, DuplicatesReplaceTheYUnlessAllowed)
{
    g->Appearance().PonerAllowDuplicates(false);
    TSeries& s = g->Serie(0);
    s.AnadirPunto(1, 10);
    s.AnadirPunto(2, 20);
    EXPECT_EQ(s.AnadirPunto(1 + 1e-12, 11), 3);
    ASSERT_EQ(s.NumPuntos(), 2);
    double x = 0, y = 0;
    ASSERT_TRUE(s.LeerPunto(3, x, y));
    EXPECT_DOUBLE_EQ(x, 1);
    EXPECT_DOUBLE_EQ(y, 11);
    EXPECT_FALSE(s.LeerPunto(1, x, y)); // that point now answers to its new number

    // The same rule for a whole XY plot at once.
    const std::vector<double> xs = {3, 1, 3, 2}, ys = {30, 10, 31, 20};
    s.CargarXY(4, [&](int k) { return xs[k]; }, [&](int k) { return ys[k]; });
    ASSERT_EQ(s.NumPuntos(), 3);
    ASSERT_TRUE(s.LeerPunto(3, x, y));
    EXPECT_DOUBLE_EQ(x, 3);
    EXPECT_DOUBLE_EQ(y, 31);
    EXPECT_FALSE(s.LeerPunto(1, x, y));
    ASSERT_TRUE(s.LeerPunto(2, x, y));
    EXPECT_DOUBLE_EQ(x, 1);

    g->Appearance().PonerAllowDuplicates(true);
    s.CargarXY(4, [&](int k) { return xs[k]; }, [&](int k) { return ys[k]; });
    EXPECT_EQ(s.NumPuntos(), 4);
    ASSERT_TRUE(s.LeerPunto(1, x, y));
    EXPECT_DOUBLE_EQ(y, 30);
}

TEST_F(Series, SettingALimitEndsAutoSizingOfThatAxisOnly)
{
    TGrf h;
    h.resize(300, 200);
    const std::vector<float> m = {-1.f, 4.f, 2.f};
    h.Serie(0).CargarMuestras(2.0, m);
    ASSERT_TRUE(h.XAxis().AutoSizing());
    EXPECT_DOUBLE_EQ(h.XAxis().Min(), 0);
    EXPECT_DOUBLE_EQ(h.XAxis().Max(), 4);
    EXPECT_LE(h.YAxis().Min(), -1);
    EXPECT_GE(h.YAxis().Max(), 4);
    h.XAxis().PonerMin(0);
    EXPECT_FALSE(h.XAxis().AutoSizing());
    EXPECT_TRUE(h.YAxis().AutoSizing());
    h.Serie(0).CargarMuestras(10.0, m);
    EXPECT_DOUBLE_EQ(h.XAxis().Max(), 4); // fixed now
    h.XAxis().PonerAutoSizing(true);
    EXPECT_DOUBLE_EQ(h.XAxis().Max(), 20);
}

TEST_F(Series, WhilePlottingIsOffNothingRescalesOrDraws)
{
    g->YAxis().PonerAutoSizing(true);
    const std::vector<float> m = {0.f, 1.f};
    g->Serie(0).CargarMuestras(100, m);
    Dibujar();
    const double max = g->YAxis().Max();
    const int dibujos = g->DibujosSeries();
    EXPECT_GT(dibujos, 0);

    g->PonerPlotting(false);
    const std::vector<float> grande = {0.f, 50.f};
    g->Serie(0).CargarMuestras(100, grande);
    Dibujar();
    EXPECT_DOUBLE_EQ(g->YAxis().Max(), max);
    EXPECT_EQ(g->DibujosSeries(), dibujos);

    g->PonerPlotting(true);
    Procesar();
    EXPECT_GT(g->YAxis().Max(), 50);
    EXPECT_GT(g->DibujosSeries(), dibujos);
}

TEST_F(Series, MappingAgreesWithTheDrawnAxesAndIsClamped)
{
    Dibujar();
    EXPECT_EQ(g->PixelX(0), 50);
    EXPECT_EQ(g->PixelX(640), 690);
    EXPECT_DOUBLE_EQ(g->ValorX(250), 200);
    for (double x : {0.0, 123.4, 640.0})
        EXPECT_NEAR(g->PixelX(x), g->xAxis->coordToPixel(x), 0.5);
    for (double y : {-10.0, 0.0, 3.3, 10.0}) {
        EXPECT_NEAR(g->PixelY(y), g->yAxis->coordToPixel(y), 0.5);
        EXPECT_NEAR(g->ValorY(g->PixelY(y)), y, 20.0 / 320);
    }
    EXPECT_EQ(g->PixelX(1e9), 20000);
    EXPECT_EQ(g->PixelX(-1e9), -20000);
    EXPECT_EQ(g->PixelY(-1e9), 20000);

    g->XAxis().PonerReversed(true);
    EXPECT_EQ(g->PixelX(0), 690);
    EXPECT_DOUBLE_EQ(g->ValorX(690), 0);

    g->YAxis().PonerLogScale(true);
    g->YAxis().PonerMin(1);
    g->YAxis().PonerMax(1000);
    Dibujar();
    EXPECT_NEAR(g->PixelY(10), g->yAxis->coordToPixel(10), 0.5);
    EXPECT_NEAR(g->ValorY(g->PixelY(100)), 100, 3);
    EXPECT_EQ(g->PixelY(0), 20000); // log of 0 runs off the bottom
}

TEST_F(Series, NearestPointByTheMidpointRule)
{
    TSeries& s = g->Serie(0);
    for (double x : {300.0, 0.0, 100.0, 200.0, 400.0, 500.0, 600.0})
        s.AnadirPunto(x, x / 100);
    TPuntoGrf p;
    ASSERT_TRUE(g->PuntoMasCercano(0, 50 + 150, p)); // X 150: the midpoint goes to the one before
    EXPECT_DOUBLE_EQ(p.X, 100);
    EXPECT_EQ(p.Secuencia, 3);
    ASSERT_TRUE(g->PuntoMasCercano(0, 50 + 151, p));
    EXPECT_DOUBLE_EQ(p.X, 200);
    EXPECT_DOUBLE_EQ(p.Y, 2);
    ASSERT_TRUE(g->PuntoMasCercano(0, 50 + 300, p)); // on a point
    EXPECT_EQ(p.Secuencia, 1);
    ASSERT_TRUE(g->PuntoMasCercano(0, 50 + 49, p)); // before the first midpoint
    EXPECT_DOUBLE_EQ(p.X, 0);
    ASSERT_TRUE(g->PuntoMasCercano(0, 50 + 640, p)); // past the last point, still in range
    EXPECT_DOUBLE_EQ(p.X, 600);
    EXPECT_FALSE(g->PuntoMasCercano(0, 49, p)); // left of X min
    EXPECT_FALSE(g->PuntoMasCercano(0, 691, p)); // right of X max
    EXPECT_FALSE(g->PuntoMasCercano(1, 300, p)); // no such series
    g->Serie(1);
    EXPECT_FALSE(g->PuntoMasCercano(1, 300, p)); // empty
}

TEST_F(Series, DigitalLabelsReadBlankThenZeroAndOne)
{
    g->PonerDigitalLabels(true);
    g->YAxis().PonerMin(0);
    g->YAxis().PonerMax(100);
    g->YAxis().PonerStepSize(50);
    EXPECT_FALSE(g->YAxis().AutoStepping());
    Dibujar();
    EXPECT_EQ(g->yAxis->tickVector(), QVector<double>({0, 50, 100}));
    EXPECT_EQ(g->yAxis->tickVectorLabels(), QVector<QString>({"", "0", "1"}));

    g->YAxis().PonerStepSize(12.5); // four traces
    Dibujar();
    EXPECT_EQ(g->yAxis->tickVectorLabels(), QVector<QString>({"", "0", "1", "0", "1", "0", "1", "0", "1"}));

    g->PonerDigitalLabels(false);
    Dibujar();
    EXPECT_EQ(g->yAxis->tickVectorLabels().at(1), "12.5");
    g->YAxis().PonerLabelDecimals(2);
    g->YAxis().PonerAutoLabelDecimals(false);
    Dibujar();
    EXPECT_EQ(g->yAxis->tickVectorLabels().at(2), "25.00");
}

TEST_F(Series, AStepThatWouldGiveThousandsOfTicksFallsBackToAutomatic)
{
    g->XAxis().PonerStepSize(0.001);
    Dibujar();
    EXPECT_LT(g->xAxis->tickVector().size(), 50);
    EXPECT_DOUBLE_EQ(g->XAxis().StepSize(), 0.001);
    g->XAxis().PonerAutoStepping(true);
    Dibujar();
    EXPECT_GT(g->XAxis().StepSize(), 1);
}

TEST_F(Series, InconsistentLimitsShowTheCaptionInsteadOfThePlot)
{
    const std::vector<float> m(641, 0.f);
    g->Serie(0).CargarMuestras(1, m); // a green line across the middle
    g->Appearance().PonerErrorCaption("MAX/MIN");
    g->PonerCursor(1, false, 0, 320);
    Dibujar();
    const QRect area = g->AreaGrafica();
    EXPECT_TRUE(g->EscalasValidas());
    EXPECT_GT(Contar(Captura(), area, QColor(0, 255, 0)), 600);

    g->XAxis().PonerMax(0); // Min = Max
    Dibujar();
    EXPECT_FALSE(g->EscalasValidas());
    const QImage im = Captura();
    EXPECT_EQ(Contar(im, area, QColor(0, 255, 0)), 0);
    EXPECT_EQ(Contar(im, area, QColor(0, 0, 255)), 0); // no cursor either
    EXPECT_TRUE(g->CursorAzul().Visible);
    EXPECT_GT(Oscuros(im, area), 20); // the caption

    g->XAxis().PonerMax(640);
    g->YAxis().PonerLogScale(true); // Min -10 on a log scale
    EXPECT_FALSE(g->EscalasValidas());
    g->YAxis().PonerMin(0.1);
    EXPECT_TRUE(g->EscalasValidas());
    g->YAxis_Second().PonerMin(5);
    g->YAxis_Second().PonerMax(1);
    EXPECT_TRUE(g->EscalasValidas()); // hidden second axis does not count
    g->YAxis_Second().PonerShowAxis(true);
    EXPECT_FALSE(g->EscalasValidas());
}

} // namespace
} // namespace qv::test

// Graph control: live drawing for monitoring, the legend, pictures and prints; the
// spectrum plot.
#include "grafica_prueba.h"

#include "common/textos_fijos.h"
#include "model/senales.h"
#include "plot/grafica_espectro.h"

#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>
#include <vector>

namespace qv::test {
namespace {

using Salida = Grafica;

TEST_F(Salida, ExtendingCurvesDrawsTheNewPieceOnlyAndKeepsThePoints)
{
    for (int k = 0; k < 10; ++k)
        g->Serie(k).AnadirPunto(0, -9 + 2 * k);
    Dibujar();
    const int series = g->DibujosSeries();
    for (int t = 1; t <= 100; ++t)
        for (int k = 0; k < 10; ++k)
            g->ExtenderSerie(k, 3 * t, -9 + 2 * k);
    Procesar();
    EXPECT_EQ(g->DibujosSeries(), series);
    EXPECT_EQ(g->Serie(4).NumPuntos(), 101);
    double x = 0, y = 0;
    ASSERT_TRUE(g->Serie(4).LeerPunto(101, x, y));
    EXPECT_DOUBLE_EQ(x, 300);
    // Series 3 is red at Y = -3: drawn from X 0 to 300 without a full redraw.
    const QImage im = Captura();
    const auto rojas = Columnas(im, g->PixelY(-3), QColor(255, 0, 0));
    ASSERT_FALSE(rojas.empty());
    EXPECT_EQ(rojas.front(), 50);
    EXPECT_GE(rojas.back(), 349);
    // A full redraw draws the same from the series (but for the axis ticks at the left).
    Dibujar();
    const auto Tramo = [](std::vector<int> v) {
        std::erase_if(v, [](int x) { return x < 60 || x > 340; });
        return v;
    };
    EXPECT_EQ(Tramo(Columnas(Captura(), g->PixelY(-3), QColor(255, 0, 0))), Tramo(rojas));
    EXPECT_EQ(Tramo(rojas).size(), 281u);
}

TEST_F(Salida, ExtendingOutsideAnAutoSizedRangeRescales)
{
    g->YAxis().PonerAutoSizing(true);
    g->Serie(0).AnadirPunto(0, 1);
    g->Serie(0).AnadirPunto(1, 2);
    Dibujar();
    g->ExtenderSerie(0, 2, 40);
    Procesar();
    EXPECT_GE(g->YAxis().Max(), 40);
}

TEST_F(Salida, SegmentsAndPointsUseThePenAndStayInsideThePlot)
{
    Dibujar();
    g->PonerLapiz(QPen(QColor(255, 0, 255), 1));
    g->DibujarSegmento(-100, 0, 100, 0); // starts left of the plot area
    g->DibujarPunto(320, 5);
    Procesar();
    const QImage im = Captura();
    const auto fila = Columnas(im, g->PixelY(0), QColor(255, 0, 255));
    ASSERT_FALSE(fila.empty());
    EXPECT_GE(fila.front(), 50);
    EXPECT_EQ(fila.back(), 150);
    EXPECT_EQ(Columnas(im, g->PixelY(5), QColor(255, 0, 255)), std::vector<int>({368, 369, 370, 371, 372}));
}

TEST_F(Salida, LegendListsNamedSeriesInTheirColours)
{
    g->Serie(0).PonerNombre("uno");
    g->Serie(1).PonerNombre("dos");
    g->Serie(2); // unnamed: no entry
    g->Legend().PonerVisible(true);
    g->Legend().PonerLeft(Ancho - 110);
    g->Legend().PonerWidth(100);
    g->Legend().PonerHeight(90);
    g->Legend().PonerYMargin(30);
    Dibujar();
    const QImage im = Captura();
    const int izq = Ancho - 110;
    // Entries one YMargin apart, from YMargin below the top (the top margin, 30).
    EXPECT_FALSE(Columnas(im, 60, QColor(0, 255, 0)).empty());
    EXPECT_FALSE(Columnas(im, 90, QColor(0, 128, 0)).empty());
    EXPECT_TRUE(Columnas(im, 120, QColor(0, 0, 255)).empty());
    EXPECT_GT(Oscuros(im, QRect(izq + 30, 50, 60, 20)), 5); // "uno"
    EXPECT_GT(Oscuros(im, QRect(izq, 30, 100, 1)), 90);     // the border

    // Inverted, for traces stacked from the bottom: the last named series comes first.
    g->Legend().PonerInvertida(true);
    Dibujar();
    const QImage inv = Captura();
    EXPECT_FALSE(Columnas(inv, 60, QColor(0, 128, 0)).empty());
    EXPECT_FALSE(Columnas(inv, 90, QColor(0, 255, 0)).empty());
    EXPECT_TRUE(Columnas(inv, 60, QColor(0, 255, 0)).empty());
}

TEST_F(Salida, PictureHasTheSizeOfTheGraphWithoutCursors)
{
    const std::vector<float> m(641, 0.f);
    g->Serie(0).CargarMuestras(1, m);
    g->PonerCursor(1, false, 0, 100);
    g->InsertarTexto(300, 100, "texto");
    Dibujar();
    const QImage im = g->Imagen();
    EXPECT_EQ(im.size(), QSize(Ancho, Alto));
    EXPECT_GT(Columnas(im, g->PixelY(0), QColor(0, 255, 0)).size(), 630u); // all but under the ticks
    EXPECT_TRUE(Columnas(im, 200, QColor(0, 0, 255)).empty());
    EXPECT_GT(Oscuros(im, QRect(300, 100, 30, 15)), 5); // the annotation as text

    QTemporaryDir dir;
    const QString bmp = dir.filePath("g.bmp");
    ASSERT_TRUE(g->GuardarBMP(bmp));
    EXPECT_EQ(QImage(bmp).size(), QSize(Ancho, Alto));
}

TEST_F(Salida, PrintKeepsScreenProportionsAndReportsTheHeight)
{
    const std::vector<float> m(641, 0.f);
    g->Serie(0).CargarMuestras(1, m);
    g->Serie(0).PonerNombre("Canal");
    g->Legend().PonerVisible(true);
    g->Legend().PonerLeft(Ancho - 110);
    g->Legend().PonerWidth(100);
    g->Dimensions().PonerPrintScalePct(50);
    g->Dimensions().PonerPrintYOffsetPct(10);
    Dibujar();

    QTemporaryDir dir;
    const QString pdf = dir.filePath("g.pdf");
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(pdf);
    QPainter p;
    ASSERT_TRUE(p.begin(&impresora));
    const QRect pagina = impresora.pageLayout().paintRectPixels(impresora.resolution());
    const int alto = g->ImprimirGrafica(p, pagina);
    p.end();
    EXPECT_EQ(alto, qRound(pagina.width() * 0.5 * Alto / Ancho * 1.35));

    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pdf, "-"});
    if (!pdftotext.waitForFinished(20000))
        GTEST_SKIP() << "pdftotext not available";
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    // Every word of the graph is there (legend included) and no taller than a screen
    // font scaled with the graph: a few points, not tens.
    const QRegularExpression palabra(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re");
    bool leyenda = false, marca = false;
    double yMinimo = 1e9;
    for (auto it = palabra.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const double alto = m.captured(3).toDouble() - m.captured(2).toDouble();
        EXPECT_LT(alto, 15) << m.captured(4).toStdString();
        leyenda = leyenda || m.captured(4) == "Canal";
        marca = marca || m.captured(4) == "300";
        yMinimo = std::min(yMinimo, m.captured(2).toDouble());
    }
    EXPECT_TRUE(leyenda);
    EXPECT_TRUE(marca);
    // Printed below the 10 % offset of the printable height (about 28 points on A4).
    EXPECT_GT(yMinimo, 0.1 * pagina.height() * 72 / impresora.resolution());
}

// Two tones: the strong one is the marked peak; the mouse and the keys move the
// cursor onto bins without drawing the curve again.
TEST(GraficaEspectro, PeakMarkedAndCursorMovedWithoutRedrawingTheCurve)
{
    TTextosFijos textos;
    TSenalAna s(QStringLiteral("V"), QStringLiteral("A"), false, nullptr, nullptr, 0, 0.001, 1024);
    for (int i = 0; i < 1024; ++i)
        s.PonerMuestra(i, float(0.1 * std::sin(2 * std::numbers::pi * 125 * i / 1000.0)
                                + 2 * std::sin(2 * std::numbers::pi * 250 * i / 1000.0)));
    TAnalizadorEspectro analizador;
    TGraficaEspectro g(textos);
    g.resize(700, 400);
    g.show();
    g.Cargar(CalcularEspectro(analizador, s, {}, TVentanaFFT::BlackmanHarris), s.Unidad);
    QApplication::processEvents();
    ASSERT_TRUE(g.Pico().has_value());
    EXPECT_EQ(g.Pico()->bin, 256); // 250 Hz at 1000 / 1024 Hz a bin
    EXPECT_NEAR(g.Pico()->nivel, 2, 0.01);

    const int dibujos = g.DibujosCurva();
    std::vector<int> movidos;
    QObject::connect(&g, &TGraficaEspectro::CursorMovido, [&movidos](int bin) { movidos.push_back(bin); });
    const int px = int(std::lround(g.xAxis->coordToPixel(125)));
    QTest::mouseClick(&g, Qt::LeftButton, {}, QPoint(px, g.axisRect()->center().y()));
    EXPECT_NEAR(g.Cursor(), 128, 1);
    QTest::keyClick(&g, Qt::Key_P);
    EXPECT_EQ(g.Cursor(), 256);
    QTest::keyClick(&g, Qt::Key_End);
    EXPECT_EQ(g.Cursor(), 512);
    QTest::keyClick(&g, Qt::Key_Right); // already at the last bin
    QApplication::processEvents();
    EXPECT_EQ(movidos.size(), 3u);
    EXPECT_EQ(g.DibujosCurva(), dibujos);
    // The linear scale reads the tone's amplitude.
    g.PonerEscala(TEscalaEspectro::Lineal);
    EXPECT_NEAR(g.yAxis->range().upper, 2 * 1.1, 0.05);
    EXPECT_TRUE(g.TextoPico().contains(QStringLiteral("250 T37016, 2 V"))) << g.TextoPico().toStdString();
}

} // namespace
} // namespace qv::test

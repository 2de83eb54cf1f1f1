// Graph control: cursors, the zoom rectangle and unzoom, annotations and mouse reports,
// driven with synthesized mouse events.
#include "grafica_prueba.h"

#include <QLabel>

#include <vector>

namespace qv::test {
namespace {

const QColor Azul(0, 0, 255);
const QColor Rojo(255, 0, 0);

class Cursores : public Grafica {
protected:
    void SetUp() override
    {
        Grafica::SetUp();
        const std::vector<float> m(641, 5.f);
        g->Serie(0).CargarMuestras(1, m); // green, away from the middle row
        Dibujar();
    }
    int FilaMedia() const { return 30 + 160; }
};

TEST_F(Cursores, PlacedTwiceAtTheSameXShowsOneLine)
{
    g->PonerCursor(1, false, 0, 100);
    g->PonerCursor(1, false, 0, 100);
    Procesar();
    EXPECT_EQ(Columnas(Captura(), FilaMedia(), Azul), std::vector<int>({150}));
    g->PonerCursor(1, false, 0, 300); // moving erases the old line
    g->PonerCursor(2, false, 0, 400);
    Procesar();
    QImage im = Captura();
    EXPECT_EQ(Columnas(im, FilaMedia(), Azul), std::vector<int>({350}));
    EXPECT_EQ(Columnas(im, FilaMedia(), Rojo), std::vector<int>({450}));
    g->QuitarCursor(1);
    Procesar();
    im = Captura();
    EXPECT_TRUE(Columnas(im, FilaMedia(), Azul).empty());
    EXPECT_FALSE(g->CursorAzul().Visible);
    EXPECT_EQ(Columnas(im, FilaMedia(), Rojo).size(), 1u);
}

TEST_F(Cursores, MarkIsACircleAtItsY)
{
    g->PonerCursor(2, true, 5, 320);
    Procesar();
    const QImage im = Captura();
    const int py = g->PixelY(5);
    EXPECT_FALSE(Columnas(im, py - 3, Rojo).empty());
    EXPECT_GE(Columnas(im, py, Rojo).size(), 3u); // the line and both sides of the circle
}

TEST_F(Cursores, MovingOneNeverRedrawsTheSeries)
{
    int redibujos = 0;
    QObject::connect(g.get(), &QCustomPlot::afterReplot, [&] { ++redibujos; });
    const int series = g->DibujosSeries();
    for (int x = 10; x < 600; x += 37) {
        g->PonerCursor(1, true, 0, x);
        g->PonerCursor(2, false, 0, 600 - x);
        Procesar();
    }
    EXPECT_EQ(Columnas(Captura(), 300, Azul).size(), 1u); // below the mark: the line only
    EXPECT_EQ(g->DibujosSeries(), series);
    EXPECT_EQ(redibujos, 0);
    // The test can see a series redraw when there is one.
    g->Redibujar();
    EXPECT_GT(g->DibujosSeries(), series);
}

TEST_F(Cursores, OutOfRangeStaysVisibleAndReturnsAfterUnzoom)
{
    g->PonerCursor(1, false, 0, 500);
    Rectangulo({50 + 100, 60}, {50 + 200, 300}); // X 100 ... 200
    Procesar();
    ASSERT_TRUE(g->Ampliada());
    EXPECT_TRUE(Columnas(Captura(), FilaMedia(), Azul).empty());
    EXPECT_TRUE(g->CursorAzul().Visible);
    g->DeshacerZoom();
    Procesar();
    EXPECT_EQ(Columnas(Captura(), FilaMedia(), Azul), std::vector<int>({550}));
}

using Zoom = Cursores;

TEST_F(Zoom, RectangleOfMoreThanFourPixelsBothWaysZooms)
{
    Rectangulo({50 + 100, 30 + 40}, {50 + 105, 30 + 45});
    EXPECT_TRUE(g->Ampliada());
    EXPECT_DOUBLE_EQ(g->XAxis().Min(), 100);
    EXPECT_DOUBLE_EQ(g->XAxis().Max(), 105);
    EXPECT_FALSE(g->XAxis().AutoSizing());
    // Y from the bottom edge to the top edge of the rectangle.
    EXPECT_NEAR(g->YAxis().Max(), 10 - 20.0 * (40 + 1) / 320, 1e-9);
    EXPECT_NEAR(g->YAxis().Min(), 10 - 20.0 * (45 + 1) / 320, 1e-9);
}

TEST_F(Zoom, FourPixelsOrLessIsAClickThatRestores)
{
    Rectangulo({150, 100}, {250, 200});
    ASSERT_TRUE(g->Ampliada());
    Rectangulo({300, 100}, {304, 200}); // 4 pixels wide
    EXPECT_FALSE(g->Ampliada());
    EXPECT_DOUBLE_EQ(g->XAxis().Min(), 0);
    EXPECT_DOUBLE_EQ(g->XAxis().Max(), 640);
    EXPECT_DOUBLE_EQ(g->YAxis().Min(), -10);

    Rectangulo({300, 100}, {400, 104}); // 4 pixels high
    EXPECT_FALSE(g->Ampliada());
    EXPECT_DOUBLE_EQ(g->XAxis().Max(), 640);
}

TEST_F(Zoom, ARangeIsAtLeastAThousandthOfTheSavedOneAndUnzoomGoesBackOnce)
{
    Rectangulo({50 + 100, 30 + 100}, {50 + 110, 30 + 110}); // X 100 ... 110
    Rectangulo({50 + 300, 30 + 150}, {50 + 306, 30 + 156}); // 6 px of 10/640 each
    ASSERT_TRUE(g->Ampliada());
    const double ancho = g->XAxis().Max() - g->XAxis().Min();
    EXPECT_NEAR(ancho, 640.0 / 1000, 1e-12);
    EXPECT_NEAR((g->XAxis().Max() + g->XAxis().Min()) / 2, 100 + 303 * 10.0 / 640, 1e-9);
    EXPECT_NEAR(g->YAxis().Max() - g->YAxis().Min(), 20.0 / 1000, 1e-12);
    g->DeshacerZoom();
    EXPECT_FALSE(g->Ampliada());
    EXPECT_DOUBLE_EQ(g->XAxis().Min(), 0);
    EXPECT_DOUBLE_EQ(g->XAxis().Max(), 640);
    EXPECT_DOUBLE_EQ(g->YAxis().Max(), 10);
    g->DeshacerZoom(); // not zoomed: nothing
    EXPECT_DOUBLE_EQ(g->XAxis().Max(), 640);
}

TEST_F(Zoom, UnzoomGivesAutoSizingBack)
{
    g->XAxis().PonerAutoSizing(true);
    g->YAxis().PonerAutoSizing(true);
    Dibujar();
    const double yMax = g->YAxis().Max();
    Rectangulo({100, 100}, {300, 200});
    ASSERT_FALSE(g->XAxis().AutoSizing());
    EXPECT_LT(g->XAxis().Max(), 640);
    g->DeshacerZoom();
    EXPECT_TRUE(g->XAxis().AutoSizing());
    EXPECT_TRUE(g->YAxis().AutoSizing());
    EXPECT_DOUBLE_EQ(g->XAxis().Max(), 640);
    EXPECT_DOUBLE_EQ(g->YAxis().Max(), yMax);
}

TEST_F(Zoom, ArmedForTheNextPressWhateverTheButton)
{
    g->PonerZoomPreparado(true);
    Pulsar(Qt::RightButton, {200, 100});
    Soltar(Qt::RightButton, {300, 200});
    EXPECT_FALSE(g->ZoomPreparado());
    EXPECT_FALSE(g->Ampliada());

    g->PonerZoomPreparado(true);
    Pulsar(Qt::LeftButton, {50 + 200, 100});
    Mover({50 + 300, 200});
    Soltar(Qt::LeftButton, {50 + 300, 200});
    EXPECT_TRUE(g->Ampliada());
    EXPECT_DOUBLE_EQ(g->XAxis().Min(), 200);
    EXPECT_DOUBLE_EQ(g->XAxis().Max(), 300);

    // Without arming or Shift a left press does not zoom.
    Pulsar(Qt::LeftButton, {100, 100});
    Soltar(Qt::LeftButton, {300, 300});
    EXPECT_DOUBLE_EQ(g->XAxis().Max(), 300);
}

TEST_F(Zoom, TheRubberBandDoesNotRedrawTheSeries)
{
    const int series = g->DibujosSeries();
    Pulsar(Qt::LeftButton, {100, 100}, Qt::ShiftModifier);
    for (int i = 1; i <= 10; ++i)
        Mover({100 + 20 * i, 100 + 10 * i});
    Procesar();
    const QImage im = Captura();
    EXPECT_EQ(g->DibujosSeries(), series);
    EXPECT_GT(Oscuros(im, QRect(100, 100, 200, 1)), 30); // dotted top edge
    Soltar(Qt::LeftButton, {300, 200}, Qt::ShiftModifier);
    Procesar();
    EXPECT_GT(g->DibujosSeries(), series); // the zoom itself redraws
}

TEST_F(Zoom, MouseReportsCarryValuesInsideThePlotArea)
{
    std::vector<TRatonGrf> abajo, movido, arriba;
    QObject::connect(g.get(), &TGrf::RatonAbajo, [&](const TRatonGrf& r) { abajo.push_back(r); });
    QObject::connect(g.get(), &TGrf::RatonMovido, [&](const TRatonGrf& r) { movido.push_back(r); });
    QObject::connect(g.get(), &TGrf::RatonArriba, [&](const TRatonGrf& r) { arriba.push_back(r); });
    Pulsar(Qt::RightButton, {50 + 200, 30 + 160});
    Mover({5, 390});
    Soltar(Qt::RightButton, {5, 390});
    ASSERT_EQ(abajo.size(), 1u);
    EXPECT_EQ(abajo[0].Boton, Qt::RightButton);
    EXPECT_DOUBLE_EQ(abajo[0].X, 200);
    EXPECT_NEAR(abajo[0].Y, 0, 20.0 / 320);
    EXPECT_TRUE(abajo[0].DentroDelArea);
    EXPECT_FALSE(abajo[0].Zoom);
    ASSERT_EQ(movido.size(), 1u);
    EXPECT_EQ(movido[0].EnArea, QPoint(50, 350));
    EXPECT_DOUBLE_EQ(movido[0].X, 0);
    EXPECT_FALSE(movido[0].DentroDelArea);
    ASSERT_EQ(arriba.size(), 1u);
    EXPECT_EQ(arriba[0].Pixel, QPoint(5, 390));
}

using Textos = Cursores;

TEST_F(Textos, AnAnnotationKeepsItsDataPointAfterZoomAndResize)
{
    g->InsertarTexto(50 + 64, 30 + 32, "nota"); // X 64, Y 8
    ASSERT_EQ(g->Textos().size(), 1u);
    EXPECT_FLOAT_EQ(g->Textos()[0].X, 64);
    EXPECT_FLOAT_EQ(g->Textos()[0].Y, 10 - 20.0f * 33 / 320);
    QLabel* e = g->Textos()[0].Etiqueta;
    EXPECT_EQ(e->pos(), QPoint(114, 62));
    EXPECT_EQ(e->property("Tag").toInt(), 0);

    Rectangulo({50, 30}, {50 + 128, 30 + 160}); // X 0 ... 128: X 64 in the middle
    Procesar();
    EXPECT_EQ(e->x(), 50 + 320);
    EXPECT_EQ(e->y(), g->PixelY(g->Textos()[0].Y));

    g->resize(Ancho + 640, Alto);
    Procesar();
    EXPECT_EQ(e->x(), 50 + 640);
    EXPECT_TRUE(e->isVisible());

    g->XAxis().PonerMin(1000); // inconsistent: no annotations
    Dibujar();
    EXPECT_FALSE(e->isVisible());
}

TEST_F(Textos, DraggedLabelStaysWhollyInsideThePlotArea)
{
    g->InsertarTexto(300, 100, "una etiqueta");
    QLabel* e = g->Textos()[0].Etiqueta;
    const QSize t = e->size();
    QTest::mousePress(e, Qt::LeftButton, {}, QPoint(4, 3));
    EXPECT_TRUE(e->autoFillBackground()); // opaque while dragged
    QTest::mouseMove(e, QPoint(-400, -400));
    EXPECT_EQ(e->pos(), QPoint(50, 30));
    EXPECT_FLOAT_EQ(g->Textos()[0].X, 0);
    EXPECT_FLOAT_EQ(g->Textos()[0].Y, 10 - 20.0f / 320);
    QTest::mouseMove(e, e->mapFromParent(QPoint(2000, 2000)));
    EXPECT_EQ(e->pos(), QPoint(690 - t.width(), 350 - t.height()));
    QTest::mouseMove(e, e->mapFromParent(QPoint(204, 153)));
    QTest::mouseRelease(e, Qt::LeftButton, {}, e->mapFromParent(QPoint(204, 153)));
    EXPECT_EQ(e->pos(), QPoint(200, 150));
    EXPECT_FALSE(e->autoFillBackground());
    EXPECT_FLOAT_EQ(g->Textos()[0].X, 150);
    // The new anchor holds on the next redraw.
    Dibujar();
    EXPECT_EQ(e->pos(), QPoint(200, 150));
}

TEST_F(Textos, DeletingRemovesTheLastOneFirst)
{
    g->BorrarUltimoTexto(); // empty: nothing
    g->InsertarTexto(100, 100, "a");
    g->InsertarTexto(200, 100, "b");
    g->InsertarTexto(300, 100, "c");
    EXPECT_EQ(g->Textos()[2].Etiqueta->property("Tag").toInt(), 2);
    g->BorrarUltimoTexto();
    ASSERT_EQ(g->Textos().size(), 2u);
    EXPECT_EQ(g->Textos()[1].Etiqueta->text(), "b");
    EXPECT_EQ(g->findChildren<QLabel*>().size(), 2);
    g->BorrarTextos();
    EXPECT_TRUE(g->Textos().empty());
    EXPECT_TRUE(g->findChildren<QLabel*>().isEmpty());
}

} // namespace
} // namespace qv::test

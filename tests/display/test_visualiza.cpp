// The analog signal window as a student uses it: which signals it shows, cursors placed
// and dragged with the mouse, stepped with the keys, zoom and unzoom, XY plots, text
// notes, and renames and deletions coming from elsewhere.
#include "visualiza_prueba.h"

#include "display/ventana_espectro.h"
#include "display/visualiza_senales_cursores.h"
#include "model/formatos.h"
#include "model/generadores.h"
#include "plot/grafica_espectro.h"
#include "plot/grafica_senales.h"
#include "plot/imagenes.h"

#include <QAction>
#include <QCheckBox>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <cmath>
#include <numbers>

namespace qv::test {
namespace {

const QColor Azul(0, 0, 255);

class Analogica : public VentanasPrueba {
protected:
    // Two ramps of 11 samples every 0.1 s: R (0, 1, ..., 10) and S (0, -0.5, ...).
    TfrmVisualizaSenales* Rampas()
    {
        Ana(QStringLiteral("S"), 11, 0.1, [](int i) { return -0.5f * i; });
        Ana(QStringLiteral("R"), 11, 0.1, [](int i) { return float(i); });
        return Abrir<TfrmVisualizaSenales>(8);
    }
    // Blue cursor lines on the middle row of the plot area.
    static int LineasAzules(TVentanaSenales& w)
    {
        const QImage im = w.Grafica().grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect a = w.Grafica().AreaGrafica();
        int n = 0;
        for (int x = a.left(); x <= a.right(); ++x)
            n += im.pixelColor(x, a.center().y() + 7) == Azul;
        return n;
    }
};

TEST_F(Analogica, ShowsTheFirstEightOfOnePeriodAndOffersTheRest)
{
    // 10 analog signals of 1 ms (one 0.3 us off, which still counts as 1 ms), one of
    // 2 ms, and a digital one of 1 ms.
    Dig(QStringLiteral("D1"), 5, 0.001, [](int i) { return i & 1; });
    Ana(QStringLiteral("Lenta"), 5, 0.002, [](int) { return 0.f; });
    for (int i = 10; i >= 1; --i)
        Ana(QStringLiteral("A%1").arg(i), 5, i == 4 ? 0.0010003 : 0.001, [](int) { return 1.f; });
    auto* w = Abrir<TfrmVisualizaSenales>(8);

    const QStringList ana = Set().NombresAna();
    ASSERT_EQ(ana.first(), QStringLiteral("A1"));
    EXPECT_EQ(w->SenalesVisibles, ana.mid(0, 8));
    // The other period goes first, then the surplus in the set's order.
    EXPECT_EQ(w->SenalesOcultas, (QStringList{QStringLiteral("Lenta"), QStringLiteral("A9"), QStringLiteral("A10"),
                                              QStringLiteral("D1")}));
    EXPECT_EQ(w->Grafica().NumSeries(), 8);
    EXPECT_EQ(w->Grafica().Serie(0).Nombre(), QStringLiteral("A1(V)"));
    EXPECT_DOUBLE_EQ(w->Grafica().XAxis().Min(), 0);
    // The longest of them (A4, 0.3 us a sample longer) sets the end of the range.
    EXPECT_NEAR(w->Grafica().XAxis().Max(), 4 * 0.0010003, 1e-12);
    EXPECT_TRUE(w->Admite(TComando::Datos));
}

TEST_F(Analogica, LegendWidensForLongNamesAndThePlotMakesRoom)
{
    Ana(QStringLiteral("A1"), 5, 0.001, [](int) { return 0.f; });
    auto* w = Abrir<TfrmVisualizaSenales>(8);
    const TLegend& l = w->Grafica().Legend();
    EXPECT_EQ(l.Width(), 125);
    EXPECT_EQ(w->Grafica().Dimensions().RightMargin(), 150);

    Ana(QStringLiteral("TemperaturaDelDepositoPrincipal"), 5, 0.001, [](int) { return 0.f; });
    w->CargarSenales(8);
    w->Refrescar();
    Procesar();
    const QString nombre = w->Grafica().Serie(1).Nombre();
    const int necesario = QFontMetrics(l.Font()).horizontalAdvance(nombre) + 20 + l.SymbolSpace();
    EXPECT_GT(l.Width(), necesario);
    EXPECT_LE(l.Left() + l.Width(), w->Grafica().width());
    // The plot ends before the legend begins.
    EXPECT_LE(w->Grafica().width() - w->Grafica().Dimensions().RightMargin(), l.Left());
}

TEST_F(Analogica, MouseCursorsReadTheSamplesAndTheirDifferences)
{
    auto* w = Rampas();
    TGrf& g = w->Grafica();
    // Cursors off: the right button opens the pop-up, whose "Cursores" switches them on.
    const int alto = w->parentWidget()->height();
    QTest::mousePress(&g, Qt::RightButton, {}, Punto(*w, 0.5));
    QMenu& menu = w->MenuEmergente();
    ASSERT_TRUE(menu.isVisible());
    menu.findChild<QAction*>(QStringLiteral("Cursores2"))->trigger();
    menu.close();
    QTest::mouseRelease(&g, Qt::RightButton, {}, Punto(*w, 0.5));
    Procesar();
    ASSERT_TRUE(w->CursoresActivos());
    EXPECT_EQ(w->parentWidget()->height(), alto + TPanelCursores::Alto);
    EXPECT_EQ(Celda(*w, 1, 0), QStringLiteral("R"));
    EXPECT_EQ(Celda(*w, 0, 1), QStringLiteral("T37012"));
    EXPECT_EQ(Texto(*w, "LRNegroM"), QStringLiteral("100 milisegundos"));

    // Left button: blue cursor on the nearest sample.
    const int series = g.DibujosSeries();
    Clic(*w, Qt::LeftButton, 0.52);
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("0.500000"));
    EXPECT_EQ(Texto(*w, "LRAzulM"), QStringLiteral("6"));
    EXPECT_EQ(Celda(*w, 1, 1), QStringLiteral("5.000000"));
    EXPECT_EQ(Celda(*w, 2, 1), QStringLiteral("-2.500000"));
    // The red one never placed: no difference yet.
    EXPECT_EQ(Texto(*w, "LRNegroX"), QStringLiteral("0"));
    EXPECT_EQ(Celda(*w, 1, 3), QStringLiteral("0"));

    // Any other button: the red cursor, dragged; the pointer past the plot's right edge
    // leaves it on the last sample.
    QTest::mousePress(&g, Qt::RightButton, {}, Punto(*w, 0.2));
    EXPECT_EQ(Texto(*w, "LRRojoX"), QStringLiteral("0.200000"));
    QTest::mouseMove(&g, Punto(*w, 0.8));
    EXPECT_EQ(Texto(*w, "LRRojoX"), QStringLiteral("0.800000"));
    QTest::mouseMove(&g, QPoint(g.width() + 40, g.height() / 2));
    QTest::mouseRelease(&g, Qt::RightButton, {}, QPoint(g.width() + 40, g.height() / 2));
    EXPECT_EQ(Texto(*w, "LRRojoX"), QStringLiteral("1.000000"));
    EXPECT_EQ(Texto(*w, "LRRojoM"), QStringLiteral("11"));
    EXPECT_EQ(Texto(*w, "LRNegroX"), QStringLiteral("0.500000"));
    EXPECT_EQ(Celda(*w, 1, 3), QStringLiteral("5.000000"));
    EXPECT_EQ(Celda(*w, 2, 3), QStringLiteral("2.500000"));
    EXPECT_EQ(Texto(*w, "LRFrecuencia"), QStringLiteral("2 T37016"));
    // Moving cursors never redrew a series.
    EXPECT_EQ(g.DibujosSeries(), series);

    // Placed twice at the same X: one line on screen.
    Clic(*w, Qt::LeftButton, 0.3);
    Clic(*w, Qt::LeftButton, 0.3);
    Procesar();
    EXPECT_EQ(LineasAzules(*w), 1);

    // Off with the panel's close button: both cursors go, the window shrinks back.
    Pulsar(*w, "SBcerrar");
    Procesar();
    EXPECT_FALSE(w->CursoresActivos());
    EXPECT_FALSE(g.CursorAzul().Visible);
    EXPECT_FALSE(g.CursorRojo().Visible);
    EXPECT_EQ(w->parentWidget()->height(), alto);
    EXPECT_EQ(LineasAzules(*w), 0);
}

TEST_F(Analogica, DifferencesComeFromTheDisplayedValues)
{
    // 0.6 uV reads 0.000001 and 0.4 uV reads 0.000000: the difference the student can
    // check by hand is 0.000001, whatever the unrounded samples give.
    Ana(QStringLiteral("P"), 2, 1, [](int i) { return i ? 4e-7f : 6e-7f; });
    auto* w = Abrir<TfrmVisualizaSenales>(8);
    w->Ejecutar(TComando::Cursores);
    Clic(*w, Qt::LeftButton, 0);
    Clic(*w, Qt::RightButton, 1);
    EXPECT_EQ(Celda(*w, 1, 1), QStringLiteral("0.000001"));
    EXPECT_EQ(Celda(*w, 1, 2), QStringLiteral("0.000000"));
    EXPECT_EQ(Celda(*w, 1, 3), QStringLiteral("0.000001"));
    EXPECT_EQ(Texto(*w, "LRNegroM"), QStringLiteral("1 segundos"));
}

TEST_F(Analogica, KeysStepSampleBySampleAndStopAtTheEdgesOfWhatIsShown)
{
    auto* w = Rampas();
    TGrf& g = w->Grafica();
    // Cursors off: the keys do nothing.
    Tecla(*w, Qt::Key_Right);
    EXPECT_FALSE(g.CursorAzul().Visible);

    w->Ejecutar(TComando::Cursores);
    // Before any placement the first key brings the blue cursor onto the first sample.
    Tecla(*w, Qt::Key_Right);
    EXPECT_TRUE(g.CursorAzul().Visible);
    EXPECT_EQ(Texto(*w, "LRAzulM"), QStringLiteral("1"));
    Tecla(*w, Qt::Key_Left);
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("0.000000"));
    Tecla(*w, Qt::Key_Right, 3);
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("0.300000"));
    EXPECT_EQ(Celda(*w, 1, 1), QStringLiteral("3.000000"));
    Tecla(*w, Qt::Key_Right, 20);
    EXPECT_EQ(Texto(*w, "LRAzulM"), QStringLiteral("11"));
    EXPECT_EQ(w->MuestraActual(), 11);

    // The red cursor placed last is the one the keys move, from its own sample.
    Clic(*w, Qt::RightButton, 0.5);
    Tecla(*w, Qt::Key_Right);
    EXPECT_EQ(Texto(*w, "LRRojoX"), QStringLiteral("0.600000"));
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("1.000000"));
    EXPECT_EQ(Texto(*w, "LRNegroX"), QStringLiteral("0.400000"));
    w->Ejecutar(TComando::Cursores);
    w->Ejecutar(TComando::Cursores);
    // Switching the cursors on again starts from fresh readouts.
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("0"));
    EXPECT_FALSE(g.CursorRojo().Visible);

    // Zoom armed from the main window's command: the next left press draws the rectangle.
    w->Ejecutar(TComando::ZoomMas);
    EXPECT_TRUE(g.ZoomPreparado());
    const int y1 = g.AreaGrafica().top() + 10, y2 = g.AreaGrafica().bottom() - 10;
    QTest::mousePress(&g, Qt::LeftButton, {}, {g.PixelX(0.25), y1});
    QTest::mouseMove(&g, {g.PixelX(0.45), y2});
    QTest::mouseMove(&g, {g.PixelX(0.65), y2});
    QTest::mouseRelease(&g, Qt::LeftButton, {}, {g.PixelX(0.65), y2});
    Procesar();
    ASSERT_TRUE(g.Ampliada());
    EXPECT_FALSE(g.CursorAzul().Visible); // the press zoomed, it placed nothing
    const double hi = g.XAxis().Max();
    const int ultima = int(std::floor(hi / 0.1 + 1e-9));
    Clic(*w, Qt::LeftButton, 0.45);
    Tecla(*w, Qt::Key_Right, 10);
    EXPECT_EQ(Texto(*w, "LRAzulX"), FormatoFijo(float(ultima * 0.1), 6));
    const int primera = int(std::ceil(g.XAxis().Min() / 0.1 - 1e-9));
    Tecla(*w, Qt::Key_Left, 10);
    EXPECT_EQ(Texto(*w, "LRAzulX"), FormatoFijo(float(primera * 0.1), 6));

    // "Zoom -": back to the whole time range and an auto-sized Y axis.
    w->Ejecutar(TComando::ZoomMenos);
    EXPECT_FALSE(g.Ampliada());
    EXPECT_TRUE(g.YAxis().AutoSizing());
    EXPECT_DOUBLE_EQ(g.XAxis().Min(), 0);
    EXPECT_NEAR(g.XAxis().Max(), 1.0, 1e-12);
    Tecla(*w, Qt::Key_Right, 20);
    EXPECT_EQ(Texto(*w, "LRAzulM"), QStringLiteral("11"));
}

// A zoom can leave the cursor the keys move outside the range in view: the key
// towards the view brings it in at the near edge, instead of doing nothing for good.
TEST_F(Analogica, KeysBringACursorLeftOutsideAZoomBackAtTheNearEdge)
{
    auto* w = Rampas();
    TGrf& g = w->Grafica();
    w->Ejecutar(TComando::Cursores);
    auto ampliar = [&g] {
        const int y1 = g.AreaGrafica().top() + 10, y2 = g.AreaGrafica().bottom() - 10;
        QTest::mousePress(&g, Qt::LeftButton, Qt::ShiftModifier, {g.PixelX(0.35), y1});
        QTest::mouseMove(&g, {g.PixelX(0.65), y2});
        QTest::mouseRelease(&g, Qt::LeftButton, Qt::ShiftModifier, {g.PixelX(0.65), y2});
        Procesar();
        ASSERT_TRUE(g.Ampliada());
    };
    Clic(*w, Qt::LeftButton, 0.1);
    ampliar();
    const int primera = int(std::ceil(g.XAxis().Min() / 0.1 - 1e-9));
    const int ultima = int(std::floor(g.XAxis().Max() / 0.1 + 1e-9));
    ASSERT_LT(primera, ultima);
    // Away from the view the key does nothing; towards it, the first sample in view.
    Tecla(*w, Qt::Key_Left);
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("0.100000"));
    Tecla(*w, Qt::Key_Right);
    EXPECT_EQ(Texto(*w, "LRAzulX"), FormatoFijo(float(primera * 0.1), 6));
    EXPECT_EQ(Texto(*w, "LRAzulM"), QString::number(primera + 1));

    // The red cursor beyond the right edge comes back at the last sample in view.
    w->Ejecutar(TComando::ZoomMenos);
    Clic(*w, Qt::RightButton, 0.9);
    ampliar();
    Tecla(*w, Qt::Key_Left);
    EXPECT_EQ(Texto(*w, "LRRojoX"), FormatoFijo(float(ultima * 0.1), 6));
    EXPECT_EQ(Texto(*w, "LRAzulX"), FormatoFijo(float(primera * 0.1), 6));
}

TEST_F(Analogica, AnXYPlotPairsSamplesUpToTheShorterSignal)
{
    Ana(QStringLiteral("C"), 11, 0.1, [](int i) { return float(i * i); });
    Ana(QStringLiteral("X"), 6, 0.1, [](int i) { return 5.f - float(i); }); // runs backwards
    Ana(QStringLiteral("Y"), 11, 0.1, [](int i) { return float(2 * i); });
    auto* w = Abrir<TfrmVisualizaSenales>(8);
    w->SenalesVisibles = {QStringLiteral("Y"), QStringLiteral("C")};
    w->CalcularOcultas(Set().NombresAna());
    w->EjeXElegido = QStringLiteral("X");
    w->Refrescar();
    Procesar();

    EXPECT_EQ(w->SenalesVisibles, QStringList{QStringLiteral("Y")});
    EXPECT_TRUE(w->SenalesOcultas.contains(QStringLiteral("C")));
    TGrf& g = w->Grafica();
    EXPECT_FALSE(g.StepPlot());
    EXPECT_EQ(g.XAxis().Title(), QStringLiteral("X"));
    ASSERT_EQ(g.Serie(0).NumPuntos(), 6);

    w->Ejecutar(TComando::Cursores);
    // Sample 3 lies at X = 3: Y reads 4, and the cursor carries its mark.
    Clic(*w, Qt::LeftButton, 3);
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("3.000000"));
    EXPECT_EQ(Texto(*w, "LRAzulM"), QStringLiteral("3"));
    EXPECT_EQ(Celda(*w, 1, 1), QStringLiteral("4.000000"));
    EXPECT_TRUE(g.CursorAzul().ConMarca);
    EXPECT_DOUBLE_EQ(g.CursorAzul().YMarca, 4);
    EXPECT_TRUE(Texto(*w, "LRFrecuencia").isEmpty());
    // The keys follow the samples in time, here towards smaller X, up to the last pair.
    Tecla(*w, Qt::Key_Right);
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("2.000000"));
    Tecla(*w, Qt::Key_Right, 5);
    EXPECT_EQ(Texto(*w, "LRAzulM"), QStringLiteral("6"));
    EXPECT_EQ(Texto(*w, "LRAzulX"), QStringLiteral("0.000000"));

    // The X signal renamed elsewhere keeps the plot; deleted, the window goes back to time.
    Set().RenombrarAna(QStringLiteral("X"), QStringLiteral("Eje"));
    principal.Estado().AvisarRenombrada(QStringLiteral("X"), QStringLiteral("Eje"));
    EXPECT_EQ(w->EjeXElegido, QStringLiteral("Eje"));
    EXPECT_EQ(g.XAxis().Title(), QStringLiteral("Eje"));
    Set().BorrarAna(QStringLiteral("Eje"));
    principal.Estado().AvisarQuitadas({QStringLiteral("Eje")});
    EXPECT_EQ(w->EjeXElegido, w->EntradaTiempo());
    EXPECT_TRUE(g.StepPlot());
    EXPECT_EQ(g.Serie(0).NumPuntos(), 11);

    // A circle: every pair kept in time order; a click takes the point under the pointer
    // (not the other one of its X) and the keys go round sample by sample.
    const int n = 90;
    Ana(QStringLiteral("Cx"), n, 0.1, [](int i) { return float(std::cos(2 * M_PI * i / n)); });
    Ana(QStringLiteral("Cy"), n, 0.1, [](int i) { return float(std::sin(2 * M_PI * i / n)); });
    w->SenalesVisibles = {QStringLiteral("Cy")};
    w->EjeXElegido = QStringLiteral("Cx");
    w->Refrescar();
    Procesar();
    ASSERT_EQ(g.Serie(0).NumPuntos(), n);
    double x = 0, y = 0;
    for (int k = 1; k <= n; ++k) {
        ASSERT_TRUE(g.Serie(0).LeerPunto(k, x, y));
        EXPECT_EQ(float(y), float(std::sin(2 * M_PI * (k - 1) / n))) << k;
    }
    ASSERT_TRUE(g.Serie(0).LeerPunto(70, x, y)); // lower half
    QTest::mouseClick(&g, Qt::LeftButton, {}, {g.PixelX(x), g.PixelY(y)});
    EXPECT_EQ(Texto(*w, "LRAzulM"), QStringLiteral("70"));
    Tecla(*w, Qt::Key_Right);
    ASSERT_TRUE(g.Serie(0).LeerPunto(71, x, y));
    EXPECT_EQ(Texto(*w, "LRAzulX"), FormatoFijo(float(x), 6));
    EXPECT_EQ(Celda(*w, 1, 1), FormatoFijo(y, 6));
}

// Two outputs of one unit, a sine and the same sine a quarter period later, plotted one
// against the other: a circle, round at any window size, without the line to 0 of the
// outputs' last sample; the graph options let the axes take their own scales.
TEST_F(Analogica, AnXYPlotOfOneUnitKeepsACircleRound)
{
    const int n = 201;
    for (auto [nombre, fase] : {std::pair{"S1", 0.f}, std::pair{"S2", float(M_PI / 2)}}) {
        TGenSeno seno(principal.textos, QStringLiteral("s"), QStringLiteral("s"), 0, fase, 1, 0, 5);
        auto s = std::make_unique<TSenalAna>(QStringLiteral("V"), QLatin1String(nombre), false, nullptr, &seno, 0, 0.01,
                                             std::uint16_t(n));
        for (int i = 0; i + 1 < n; ++i)
            s->PonerMuestra(i, seno.Valor(i * 0.01));
        s->PonerMuestra(n - 1, 0); // the rest level the outputs end at
        Set().AnadirAna(std::move(s));
    }
    auto* w = Abrir<TfrmVisualizaSenales>(8);
    w->SenalesVisibles = {QStringLiteral("S2")};
    w->EjeXElegido = QStringLiteral("S1");
    w->Refrescar();
    Procesar();
    TGrf& g = w->Grafica();
    ASSERT_EQ(g.Serie(0).NumPuntos(), n - 1);
    // The drawn extents of the curve, in pixels.
    auto extension = [&] {
        double x = 0, y = 0, x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
        for (int k = 1; k <= g.Serie(0).NumPuntos(); ++k) {
            EXPECT_TRUE(g.Serie(0).LeerPunto(k, x, y));
            x0 = std::min(x0, double(g.PixelX(x)));
            x1 = std::max(x1, double(g.PixelX(x)));
            y0 = std::min(y0, double(g.PixelY(y)));
            y1 = std::max(y1, double(g.PixelY(y)));
        }
        return std::pair{x1 - x0, y1 - y0};
    };
    for (QSize tamano : {QSize(640, 400), QSize(400, 600)}) {
        w->resize(tamano);
        Procesar();
        const auto [ancho, alto] = extension();
        ASSERT_GT(alto, 50);
        EXPECT_NEAR(ancho / alto, 1, 0.02) << tamano.width() << "x" << tamano.height();
    }
    w->resize(640, 400);
    Procesar();
    // The options turn it off for this window: the curve fills the plot's width.
    principal.modal.Cuando(QStringLiteral("frmConfig"), [](QDialog& d) {
        auto* misma = d.findChild<QCheckBox*>(QStringLiteral("chkBoxMismaEscala"));
        ASSERT_NE(misma, nullptr);
        EXPECT_TRUE(misma->isEnabled());
        EXPECT_TRUE(misma->isChecked());
        misma->click();
        d.accept();
    });
    w->Ejecutar(TComando::DefinirRepresentacion);
    EXPECT_EQ(principal.modal.Pendientes(), 0);
    EXPECT_FALSE(g.MismaEscala());
    const auto [ancho, alto] = extension();
    EXPECT_GT(ancho / alto, 1.2);
    // Against time the choice is not offered.
    w->EjeXElegido = w->EntradaTiempo();
    w->Refrescar();
    Procesar();
    EXPECT_FALSE(g.EjesComparables());
}

TEST_F(Analogica, RenamesAndDeletionsReachEveryWindow)
{
    Dig(QStringLiteral("D2"), 20, 0.01, [](int i) { return (i / 3) & 1; });
    Dig(QStringLiteral("D1"), 20, 0.01, [](int i) { return (i / 2) & 1; });
    Ana(QStringLiteral("A"), 20, 0.01, [](int i) { return float(i); });
    auto* ana = Abrir<TfrmVisualizaSenales>(8);
    auto* dig = Abrir<TfrmSenalesDigitales>(16);
    ASSERT_EQ(Ventanas(principal), 2);

    // A digital signal in the analog window is a 0 V / 5 V staircase.
    ASSERT_EQ(ana->SenalesVisibles, (QStringList{QStringLiteral("A"), QStringLiteral("D1"), QStringLiteral("D2")}));
    double x = 0, y = 0;
    ASSERT_TRUE(ana->Grafica().Serie(1).LeerPunto(3, x, y));
    EXPECT_DOUBLE_EQ(y, 5.0);
    ASSERT_TRUE(ana->Grafica().Serie(1).LeerPunto(1, x, y));
    EXPECT_DOUBLE_EQ(y, 0.0);

    // The data dialog renames in the set and hands the names to every window.
    Set().RenombrarDig(QStringLiteral("D1"), QStringLiteral("Reloj"));
    principal.Estado().AvisarRenombrada(QStringLiteral("D1"), QStringLiteral("Reloj"));
    EXPECT_EQ(ana->Grafica().Serie(1).Nombre(), QStringLiteral("Reloj"));
    EXPECT_EQ(dig->Grafica().Serie(0).Nombre(), QStringLiteral("Reloj"));

    // Deleted from the set: gone from both windows; the digital window that shows
    // nothing else closes, and "Datos" is announced again.
    Set().BorrarDig(QStringLiteral("D2"));
    principal.Estado().AvisarQuitadas({QStringLiteral("D2")});
    EXPECT_EQ(ana->SenalesVisibles, (QStringList{QStringLiteral("A"), QStringLiteral("Reloj")}));
    EXPECT_EQ(dig->Grafica().NumSeries(), 1);
    int avisos = 0;
    QObject::connect(&principal.estado, &TEstadoPrograma::Cambiado, [&avisos] { ++avisos; });
    Set().BorrarDig(QStringLiteral("Reloj"));
    principal.Estado().AvisarQuitadas({QStringLiteral("Reloj")});
    Procesar();
    EXPECT_EQ(Ventanas(principal), 1);
    EXPECT_EQ(ana->SenalesVisibles, QStringList{QStringLiteral("A")});
    EXPECT_GE(avisos, 1);
}

TEST_F(Analogica, ATextNoteKeepsItsDataPointThroughZoomAndResize)
{
    auto* w = Rampas();
    TGrf& g = w->Grafica();
    principal.modal.Cuando(QStringLiteral("frmInsTexto"), [](QDialog& d) {
        Escribir(d, "EdTexto", QStringLiteral("pico"));
        Pulsar(d, "OKBtn");
    });
    w->Ejecutar(TComando::InsertarTexto);
    principal.estado.MarcarGuardado();
    ASSERT_EQ(g.Textos().size(), 1u);
    // Kept in the set (for its file), which follows a drag.
    QTest::mousePress(g.Textos().front().Etiqueta, Qt::LeftButton, {}, {2, 2});
    QTest::mouseRelease(g.Textos().front().Etiqueta, Qt::LeftButton, {}, {42, 32});
    ASSERT_EQ(Set().Anotaciones.size(), 1u);
    EXPECT_FLOAT_EQ(Set().Anotaciones[0].Y, g.Textos().front().Y);
    EXPECT_TRUE(principal.estado.Modificado());
    principal.estado.MarcarGuardado();
    const TextoGrafica t = g.Textos().front();
    const auto enSuPunto = [&] {
        Procesar();
        return std::abs(t.Etiqueta->x() - g.PixelX(t.X)) <= 1 && std::abs(t.Etiqueta->y() - g.PixelY(t.Y)) <= 1;
    };
    EXPECT_TRUE(enSuPunto());
    QTest::mousePress(&g, Qt::LeftButton, Qt::ShiftModifier, {g.PixelX(0.05), g.AreaGrafica().top() + 2});
    QTest::mouseMove(&g, {g.PixelX(0.7), g.AreaGrafica().bottom() - 2});
    QTest::mouseRelease(&g, Qt::LeftButton, Qt::ShiftModifier, {g.PixelX(0.7), g.AreaGrafica().bottom() - 2});
    ASSERT_TRUE(g.Ampliada());
    EXPECT_TRUE(enSuPunto());
    w->parentWidget()->resize(620, 380);
    EXPECT_TRUE(enSuPunto());
    EXPECT_FLOAT_EQ(g.Textos().front().X, t.X);

    w->Ejecutar(TComando::BorrarUltimoTexto);
    EXPECT_TRUE(g.Textos().empty());
    EXPECT_TRUE(Set().Anotaciones.empty());
    EXPECT_TRUE(principal.estado.Modificado());
}

// Maximise, restore, cursors on and off: the legend fits its graph, and the plot ends before it.
TEST_F(Analogica, TheLegendRefitsOnEverySizeChangeInBothWindows)
{
    for (int i = 8; i >= 1; --i) {
        Ana(QStringLiteral("Senal%1").arg(i), 20, 0.01, [i](int k) { return float(k * i); });
        Dig(QStringLiteral("D%1").arg(i), 20, 0.01, [i](int k) { return (k / i) & 1; });
    }
    TVentanaSenales* ventanas[] = {Abrir<TfrmVisualizaSenales>(8), Abrir<TfrmSenalesDigitales>(6)};
    for (TVentanaSenales* w : ventanas) {
        auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        for (int paso = 0; paso < 4; ++paso) {
            if (paso < 2)
                paso == 0 ? sub->showMaximized() : sub->showNormal();
            else
                w->ActivarCursores(paso == 2);
            Procesar();
            const TGrf& g = w->Grafica();
            const TLegend& l = g.Legend();
            // The last name, one YMargin per entry below the top, inside the box and the graph.
            EXPECT_LE(l.YMargin() * g.NumSeries() + QFontMetrics(l.Font()).height() / 2, l.Height()) << paso;
            EXPECT_LE(l.Top() + l.Height(), g.height()) << paso;
            EXPECT_LE(g.width() - g.Dimensions().RightMargin(), l.Left()) << paso;
        }
    }
}

// A picture of the set (what the companion draws, without a window) is pixel for pixel the
// window's graph of the same size: a time plot with digital staircases, an XY plot, traces.
TEST_F(Analogica, APictureOfTheSetIsTheGraphOfItsWindow)
{
    Ana(QStringLiteral("Seno"), 50, 0.01, [](int i) { return float(std::sin(i / 8.0)); });
    Ana(QStringLiteral("Coseno"), 50, 0.01, [](int i) { return float(std::cos(i / 8.0)); });
    Dig(QStringLiteral("Reloj"), 50, 0.01, [](int i) { return (i / 5) & 1; });
    Dig(QStringLiteral("Puerta"), 50, 0.01, [](int i) { return i > 20 ? 1 : 0; });
    auto* tiempo = Abrir<TfrmVisualizaSenales>(8);
    auto* xy = Abrir<TfrmVisualizaSenales>(8);
    xy->SenalesVisibles = {QStringLiteral("Seno")};
    xy->EjeXElegido = QStringLiteral("Coseno");
    xy->Refrescar();
    auto* digital = Abrir<TfrmSenalesDigitales>(16);
    Procesar();
    ASSERT_EQ(tiempo->SenalesVisibles.size(), 4);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("g.png"));
    for (TVentanaSenales* w : std::initializer_list<TVentanaSenales*>{tiempo, xy, digital}) {
        TGrf& g = w->Grafica();
        QString error;
        ASSERT_TRUE(GuardarGraficaSenales(Set(), principal.textos, w->SenalesVisibles, w == digital,
                                          w == xy ? xy->EjeXElegido : QString(), g.size(), ruta, error))
            << error.toStdString();
        const QImage dibujo = QImage(ruta).convertToFormat(QImage::Format_RGB32);
        const QImage ventana = PintarImagen(g.size(), PintorGrafica(g));
        ASSERT_EQ(dibujo.size(), ventana.size());
        int distintos = 0, oscuros = 0;
        for (int y = 0; y < dibujo.height(); ++y)
            for (int x = 0; x < dibujo.width(); ++x) {
                distintos += dibujo.pixel(x, y) != ventana.pixel(x, y);
                oscuros += qGray(dibujo.pixel(x, y)) < 128;
            }
        EXPECT_EQ(distintos, 0) << w->SenalesVisibles.join(QLatin1Char(',')).toStdString();
        EXPECT_GT(oscuros, 500) << "axes, titles and legend are drawn";
    }
}

// The spectrum of the only analog signal shown, without a question; a span of one
// sample gets its message instead of a window; renames and deletions reach the window.
TEST_F(Analogica, TheSpectrumWindowFollowsItsSignal)
{
    Dig(QStringLiteral("D"), 256, 0.001, [](int i) { return (i / 8) & 1; });
    Ana(QStringLiteral("Seno"), 256, 0.001,
        [](int i) { return float(std::sin(2 * std::numbers::pi * 125 * i / 1000.0)); });
    auto* w = Abrir<TfrmVisualizaSenales>(8);
    ASSERT_EQ(w->SenalesVisibles.size(), 2);
    w->ActivarCursores(true);
    Clic(*w, Qt::LeftButton, 0.1);
    Clic(*w, Qt::RightButton, 0.1);
    w->AbrirEspectro();
    EXPECT_EQ(principal.interaccion.Textos(), QStringList{principal.textos.BuscarTexto(449)});
    EXPECT_EQ(Ventanas(principal), 1);

    w->ActivarCursores(false);
    w->AbrirEspectro();
    Procesar();
    EXPECT_EQ(principal.modal.Ejecuciones(), 0);
    auto* e = dynamic_cast<TfrmEspectro*>(principal.HijaActiva());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Grafica().Espectro().muestras, 256);
    ASSERT_TRUE(e->Grafica().Pico().has_value());
    EXPECT_EQ(e->Grafica().Pico()->bin, 32); // 125 Hz at 1000 / 256 Hz a bin
    EXPECT_EQ(e->findChild<QLabel*>(QStringLiteral("LRPico"))->text(), e->Grafica().TextoPico());

    principal.Estado().AvisarRenombrada(QStringLiteral("Seno"), QStringLiteral("Tono"));
    EXPECT_TRUE(e->windowTitle().endsWith(QStringLiteral(": Tono"))) << e->windowTitle().toStdString();
    principal.Estado().AvisarQuitadas({QStringLiteral("Tono")});
    Procesar();
    EXPECT_EQ(Ventanas(principal), 1);
    EXPECT_EQ(w->SenalesVisibles, QStringList{QStringLiteral("D")});
}

// The demo's 2 Hz tone on a 0 to 500 Hz axis: "Zoom +" and a rectangle bring it out of
// the first pixels, the wheel zooms about the pointer, "Zoom -" shows it all again, a
// logarithmic axis starts at the first bin; the peak is read once, above the plot.
TEST_F(Analogica, TheSpectrumZoomsLikeTheSignalWindows)
{
    Ana(QStringLiteral("Seno"), 1001, 0.001,
        [](int i) { return float(5 * std::sin(2 * std::numbers::pi * 2 * i / 1000.0)); });
    auto* w = Abrir<TfrmVisualizaSenales>(8);
    w->AbrirEspectro();
    Procesar();
    auto* e = dynamic_cast<TfrmEspectro*>(principal.HijaActiva());
    ASSERT_NE(e, nullptr);
    e->parentWidget()->resize(700, 450);
    Procesar();
    TGraficaEspectro& g = e->Grafica();
    int rotulos = 0;
    for (int i = 0; i < g.itemCount(); ++i)
        rotulos += qobject_cast<QCPItemText*>(g.item(i)) && g.item(i)->visible();
    EXPECT_EQ(rotulos, 0);
    EXPECT_FALSE(e->findChild<QLabel*>(QStringLiteral("LRPico"))->text().isEmpty());
    const double fmax = g.xAxis->range().upper;
    EXPECT_NEAR(fmax, 500, 1);
    auto raton = [&](QEvent::Type tipo, double hz, Qt::MouseButtons botones) {
        const QPointF p(g.xAxis->coordToPixel(hz), g.axisRect()->center().y());
        QMouseEvent ev(tipo, p, g.mapToGlobal(p), tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, botones,
                       Qt::NoModifier);
        QApplication::sendEvent(&g, &ev);
    };

    ASSERT_TRUE(e->Admite(TComando::ZoomMas));
    e->Ejecutar(TComando::ZoomMas);
    EXPECT_TRUE(g.ZoomArmado());
    const int cursor = g.Cursor();
    raton(QEvent::MouseButtonPress, 0, Qt::LeftButton);
    g.yAxis->setRange(g.yAxis->range()); // the rectangle spans the plot's height below
    {
        const QPointF p(g.xAxis->coordToPixel(10), g.axisRect()->bottom() - 2);
        QMouseEvent ev(QEvent::MouseMove, p, g.mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&g, &ev);
        QMouseEvent suelta(QEvent::MouseButtonRelease, p, g.mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                           Qt::NoModifier);
        QApplication::sendEvent(&g, &suelta);
    }
    EXPECT_FALSE(g.ZoomArmado());
    EXPECT_TRUE(g.Ampliada());
    EXPECT_EQ(g.Cursor(), cursor); // the press drew the rectangle, not the cursor
    EXPECT_NEAR(g.xAxis->range().lower, 0, 0.5);
    EXPECT_NEAR(g.xAxis->range().upper, 10, 1.5); // a pixel was 0.8 Hz
    // The peak now stands a fifth of the way along.
    const QRect area = g.axisRect()->rect();
    EXPECT_NEAR((g.xAxis->coordToPixel(g.Pico()->frecuencia) - area.left()) / area.width(), 0.2, 0.04);

    // The wheel turned away zooms in about the pointer; towards the user, out, never past the ends.
    const QCPRange antes = g.xAxis->range();
    const QPointF centro(g.xAxis->coordToPixel(5), area.center().y());
    QWheelEvent rueda(centro, g.mapToGlobal(centro), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(&g, &rueda);
    EXPECT_NEAR(g.xAxis->range().size(), antes.size() * 0.8, 1e-6);
    EXPECT_NEAR(g.xAxis->coordToPixel(5), centro.x(), 0.5); // the frequency under the pointer stays there
    for (int i = 0; i < 40; ++i) {
        QWheelEvent fuera(centro, g.mapToGlobal(centro), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&g, &fuera);
    }
    EXPECT_DOUBLE_EQ(g.xAxis->range().lower, 0);
    EXPECT_NEAR(g.xAxis->range().upper, fmax, 1e-9);
    EXPECT_FALSE(g.Ampliada());

    // "Zoom -" after a zoom shows everything again.
    e->Ejecutar(TComando::ZoomMas);
    raton(QEvent::MouseButtonPress, 100, Qt::LeftButton);
    e->Ejecutar(TComando::ZoomMenos);
    EXPECT_FALSE(g.Ampliada());
    EXPECT_NEAR(g.xAxis->range().upper, fmax, 1e-9);

    // A logarithmic frequency axis, from the first bin on.
    auto* log = e->findChild<QCheckBox*>(QStringLiteral("CBLogFrecuencia"));
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->text(), principal.textos.BuscarTexto(620));
    log->click();
    EXPECT_EQ(g.xAxis->scaleType(), QCPAxis::stLogarithmic);
    EXPECT_DOUBLE_EQ(g.xAxis->range().lower, g.Espectro().resolucion);
    EXPECT_GT(g.xAxis->coordToPixel(g.Pico()->frecuencia) - area.left(), area.width() * 0.1);
}

} // namespace
} // namespace qv::test

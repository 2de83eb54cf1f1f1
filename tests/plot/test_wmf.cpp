#include "plot/qcp_prueba.h"
#include "plot/imagenes.h"
#include "plot/lector_wmf.h"
#include "plot/wmf.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qv {
namespace {

using test::LeerWmf;
using test::TRegistroWmf;
using test::TWmfLeido;

enum : uint16_t {
    SAVEDC = 0x001E,
    RESTOREDC = 0x0127,
    SETTEXTCOLOR = 0x0209,
    CREATEPEN = 0x02FA,
    CREATEFONT = 0x02FB,
    CREATEBRUSH = 0x02FC,
    POLYGON = 0x0324,
    POLYLINE = 0x0325,
    INTERSECTCLIPRECT = 0x0416,
    RECTANGLE = 0x041B,
    EXTTEXTOUT = 0x0A32,
    STRETCHDIB = 0x0F43,
};

// Paints on a metafile of `tamano` pixels and reads the result back.
template <class F>
TWmfLeido Pintar(F&& pintar, const QSize& tamano = QSize(200, 100))
{
    TDispositivoWMF dispositivo(tamano);
    {
        QPainter p(&dispositivo);
        pintar(p);
    }
    return LeerWmf(dispositivo.Datos());
}

std::vector<QPoint> PuntosPolilinea(const TRegistroWmf& r)
{
    std::vector<QPoint> p;
    for (int i = 0; i < r.Entero(0); ++i)
        p.emplace_back(r.Entero(1 + 2 * i), r.Entero(2 + 2 * i));
    return p;
}

size_t Posicion(const TWmfLeido& w, const TRegistroWmf* r) { return size_t(r - w.registros.data()); }

TEST(Wmf, CabecerasDescribenElFichero)
{
    TDispositivoWMF d(QSize(600, 400));
    {
        QPainter p(&d);
        p.setPen(QPen(Qt::blue, 2));
        p.setBrush(Qt::yellow);
        p.drawRect(QRectF(10, 10, 100, 50));
        p.drawEllipse(QRectF(200, 100, 50, 50));
        p.setFont(QFont(QStringLiteral("Arial"), 12));
        p.drawText(QPointF(20, 300), QStringLiteral("Hola"));
        std::vector<QPointF> linea;
        for (int i = 0; i < 500; ++i)
            linea.emplace_back(i, 200 + (i % 7) * 3);
        p.drawPolyline(linea.data(), int(linea.size()));
    }
    const QByteArray& datos = d.Datos();
    const TWmfLeido w = LeerWmf(datos);
    ASSERT_TRUE(w.valido) << w.fallo.toStdString();
    EXPECT_EQ(w.clave, 0x9AC6CDD7u);
    EXPECT_EQ(w.suma, w.sumaCalculada);
    // 15 units a pixel at 96 pixels per inch: 1440 to the inch, the picture 6.25 x 4.17 in.
    EXPECT_EQ(d.UnidadesPorPixel(), 15.0);
    EXPECT_EQ(w.pulgada, 1440);
    EXPECT_EQ(w.caja[0], 0);
    EXPECT_EQ(w.caja[1], 0);
    EXPECT_EQ(w.caja[2], 9000);
    EXPECT_EQ(w.caja[3], 6000);
    EXPECT_EQ(w.tipo, 1);
    EXPECT_EQ(w.tamanoCabecera, 9);
    EXPECT_EQ(w.version, 0x0300);
    EXPECT_EQ(w.miembros, 0);
    EXPECT_EQ(qint64(w.tamanoPalabras) * 2 + 22, datos.size());
    uint32_t mayor = 0;
    for (const auto& r : w.registros)
        mayor = std::max<uint32_t>(mayor, uint32_t(r.Palabras()));
    EXPECT_EQ(w.mayorRegistro, mayor);
    EXPECT_EQ(int(w.numObjetos), w.mayorIndice + 1);
    EXPECT_TRUE(w.problemas.isEmpty()) << w.problemas.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(w.objetosVivosAlFinal, 0);
    EXPECT_EQ(w.De(RECTANGLE).size(), 1u);
    EXPECT_EQ(w.De(0x0418).size(), 1u); // ELLIPSE

    // A second painting on the same device makes a new file, not one appended to the first.
    {
        QPainter p(&d);
        p.drawLine(0, 0, 10, 10);
    }
    const TWmfLeido otra = LeerWmf(d.Datos());
    ASSERT_TRUE(otra.valido);
    EXPECT_EQ(otra.De(RECTANGLE).size(), 0u);
    EXPECT_EQ(otra.De(POLYLINE).size(), 1u);
}

TEST(Wmf, ObjetosNuncaSeBorranSeleccionadosNiQuedanVivos)
{
    // Pens, brushes and fonts change between clip changes and save/restore pairs, so
    // replaced objects are often still selected in a saved DC state.
    const TWmfLeido w = Pintar([](QPainter& p) {
        for (int i = 0; i < 300; ++i) {
            if (i % 5 == 0)
                p.save();
            if (i % 7 == 0)
                p.setClipRect(QRect(i % 50, 0, 100, 80));
            if (i % 11 == 0)
                p.setClipping(false);
            p.setPen(QPen(QColor(i % 3 * 100, 0, 0), i % 4));
            p.drawLine(0, i % 90, 150, 20);
            p.setBrush(QColor(0, i % 2 * 200, 0));
            p.drawRect(5, 5, 20 + i % 9, 10);
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(8 + i % 3);
            p.setFont(f);
            p.drawText(QPointF(10, 50), QStringLiteral("x"));
            if (i % 5 == 4)
                p.restore();
        }
    });
    ASSERT_TRUE(w.valido) << w.fallo.toStdString();
    EXPECT_TRUE(w.problemas.isEmpty()) << w.problemas.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(w.objetosVivosAlFinal, 0);
    EXPECT_EQ(int(w.numObjetos), w.mayorIndice + 1);
    // A handful of slots, however many objects came and went.
    EXPECT_LE(w.numObjetos, 8);
    EXPECT_GT(w.De(CREATEPEN).size(), 50u);
    EXPECT_FALSE(w.De(INTERSECTCLIPRECT).empty());
}

TEST(Wmf, ObjetoIgualNoSeVuelveACrear)
{
    const TWmfLeido w = Pintar([](QPainter& p) {
        for (int i = 0; i < 100; ++i) {
            p.setPen(QPen(Qt::red, 1));
            p.drawLine(0, i, 50, i);
        }
    });
    ASSERT_TRUE(w.valido);
    EXPECT_EQ(w.De(CREATEPEN).size(), 1u);
    EXPECT_EQ(w.De(POLYLINE).size(), 100u);
}

TEST(Wmf, LapicesYPinceles)
{
    const TWmfLeido w = Pintar([](QPainter& p) {
        p.setPen(QPen(QColor(255, 0, 0), 0, Qt::DotLine));
        p.drawLine(0, 0, 10, 10);
        p.setPen(QPen(QColor(0, 128, 0), 2, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin));
        p.drawLine(0, 0, 10, 10);
        p.setPen(Qt::NoPen);
        p.setBrush(QBrush(Qt::blue, Qt::CrossPattern));
        p.drawRect(0, 0, 10, 10);
        p.setBrush(QColor(255, 0, 0, 128));
        p.drawRect(0, 0, 10, 10);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, 10, 10);
        // The painter's opacity fades colours; none at all draws nothing.
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::blue);
        p.setOpacity(0.2);
        p.drawRect(0, 0, 10, 10);
        p.setOpacity(0.0);
        p.drawRect(0, 0, 10, 10);
    });
    ASSERT_TRUE(w.valido);
    EXPECT_EQ(w.De(RECTANGLE).size(), 4u);
    const auto lapices = w.De(CREATEPEN);
    ASSERT_EQ(lapices.size(), 5u);
    // Style, width, colour.
    EXPECT_EQ(lapices[0]->Palabra(0) & 0xFF, 2); // PS_DOT
    EXPECT_EQ(lapices[0]->Entero(1), 15);          // a hairline: one pixel
    EXPECT_EQ(lapices[0]->Doble(3), 0x0000FFu);
    EXPECT_EQ(lapices[1]->Palabra(0), 0x0201); // PS_DASH, flat ends, round joins
    EXPECT_EQ(lapices[1]->Entero(1), 30);
    EXPECT_EQ(lapices[1]->Doble(3), 0x008000u);
    EXPECT_EQ(lapices[2]->Palabra(0), 5); // PS_NULL
    EXPECT_EQ(lapices[3]->Palabra(0) & 0xFF, 0);
    EXPECT_EQ(lapices[3]->Entero(1), 15);

    // Lines need no brush: one for each rectangle.
    const auto pinceles = w.De(CREATEBRUSH);
    ASSERT_EQ(pinceles.size(), 4u);
    EXPECT_EQ(pinceles[3]->Doble(1), 0xFFCCCCu);
    const auto* trama = pinceles[0];
    EXPECT_EQ(trama->Palabra(0), 2); // BS_HATCHED
    EXPECT_EQ(trama->Doble(1), 0xFF0000u);
    EXPECT_EQ(trama->Palabra(3), 4); // HS_CROSS
    const auto* translucido = pinceles[1];
    EXPECT_EQ(translucido->Palabra(0), 0);
    EXPECT_EQ(translucido->Doble(1), 0x7F7FFFu); // blended over white
    EXPECT_EQ(pinceles[2]->Palabra(0), 1); // BS_NULL
}

TEST(Wmf, PolilineaLargaEnTrozosQueSeTocan)
{
    std::vector<QPointF> puntos;
    for (int i = 0; i < 20001; ++i)
        puntos.emplace_back(i * 0.1, i % 2 ? 100 : 200);
    const TWmfLeido w = Pintar([&](QPainter& p) { p.drawPolyline(puntos.data(), int(puntos.size())); },
                               QSize(2100, 300));
    ASSERT_TRUE(w.valido);
    const auto trozos = w.De(POLYLINE);
    ASSERT_GE(trozos.size(), 3u);
    std::vector<QPoint> todos;
    for (const auto* t : trozos) {
        const auto p = PuntosPolilinea(*t);
        EXPECT_LE(p.size(), 8000u);
        if (!todos.empty()) {
            ASSERT_EQ(todos.back(), p.front()) << "pieces must join";
            todos.pop_back();
        }
        todos.insert(todos.end(), p.begin(), p.end());
    }
    ASSERT_EQ(todos.size(), puntos.size());
    for (size_t i = 0; i < puntos.size(); i += 997)
        EXPECT_EQ(todos[i], QPoint(qRound(puntos[i].x() * 15), qRound(puntos[i].y() * 15))) << i;
    EXPECT_EQ(todos.back(), QPoint(30000, 3000));
}

TEST(Wmf, EscalonesSinPuntosSobrantesNiPicosPerdidos)
{
    // A run that goes one way loses its middle points; one that turns back keeps its tip.
    const TWmfLeido w = Pintar([](QPainter& p) {
        const QPointF recta[] = {{10, 10}, {10, 20}, {10, 30}, {20, 30}, {30, 30}};
        p.drawPolyline(recta, 5);
        const QPointF pico[] = {{10, 10}, {10, 40}, {10, 15}, {20, 15}};
        p.drawPolyline(pico, 4);
    });
    ASSERT_TRUE(w.valido);
    const auto l = w.De(POLYLINE);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(PuntosPolilinea(*l[0]), (std::vector<QPoint>{{150, 150}, {150, 450}, {450, 450}}));
    EXPECT_EQ(PuntosPolilinea(*l[1]), (std::vector<QPoint>{{150, 150}, {150, 600}, {150, 225}, {300, 225}}));
}

TEST(Wmf, TextoConFuenteColorYBytesLatin1)
{
    const TWmfLeido w = Pintar([](QPainter& p) {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(20);
        f.setBold(true);
        f.setItalic(true);
        p.setFont(f);
        p.setPen(Qt::red);
        p.drawText(QPointF(10, 50), QString::fromUtf8("ñá±"));
        p.rotate(-90);
        p.drawText(QPointF(-80, 30), QStringLiteral("V"));
    });
    ASSERT_TRUE(w.valido);
    const auto fuentes = w.De(CREATEFONT);
    ASSERT_EQ(fuentes.size(), 2u);
    EXPECT_EQ(fuentes[0]->Entero(0), -300); // 20 px of character height
    EXPECT_EQ(fuentes[0]->Entero(2), 0);    // escapement
    EXPECT_EQ(fuentes[0]->Entero(4), 700);  // bold
    EXPECT_EQ(fuentes[0]->parametros[10], 1); // italic
    EXPECT_EQ(fuentes[0]->parametros.mid(18, 6), QByteArray("Arial\0", 6));
    EXPECT_EQ(fuentes[1]->Entero(2), 900); // turned a quarter counter-clockwise

    const auto colores = w.De(SETTEXTCOLOR);
    ASSERT_EQ(colores.size(), 1u);
    EXPECT_EQ(colores[0]->Doble(0), 0x0000FFu);

    const auto textos = w.De(EXTTEXTOUT);
    ASSERT_EQ(textos.size(), 2u);
    const TRegistroWmf& t = *textos[0];
    EXPECT_EQ(t.Entero(0), 750); // baseline
    EXPECT_EQ(t.Entero(1), 150);
    ASSERT_EQ(t.Entero(2), 3);
    EXPECT_EQ(t.parametros.mid(8, 3), QByteArray("\xF1\xE1\xB1"));
    // One advance per character, all forward, adding up to the width Qt laid out.
    int suma = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(t.Entero(6 + i), 0);
        suma += t.Entero(6 + i);
    }
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(20);
    f.setBold(true);
    f.setItalic(true);
    const TDispositivoWMF medida(QSize(10, 10));
    EXPECT_NEAR(suma, QFontMetricsF(f, &medida).horizontalAdvance(QString::fromUtf8("ñá±")) * 15, 2.0);
    // The rotated text's origin went through the rotation: (-80, 30) -> (30, 80).
    EXPECT_EQ(textos[1]->Entero(0), 1200);
    EXPECT_EQ(textos[1]->Entero(1), 450);
}

TEST(Wmf, TextoWindows1252)
{
    EXPECT_EQ(TextoWindows1252(QString::fromUtf8("Señal á ±5")), QByteArray("Se\xF1" "al \xE1 \xB1" "5"));
    EXPECT_EQ(TextoWindows1252(QString::fromUtf8("€–…")), QByteArray("\x80\x96\x85"));
    EXPECT_EQ(TextoWindows1252(QString::fromUtf8("−1")), QByteArray("-1"));
    // Outside the code page, and a character outside the basic plane: one "?" each.
    EXPECT_EQ(TextoWindows1252(QString::fromUtf8("中\U0001F600\x01")), QByteArray("???"));
}

TEST(Wmf, RecorteConTransformacionYFin)
{
    const TWmfLeido w = Pintar([](QPainter& p) {
        p.translate(5, 5);
        p.setClipRect(QRect(10, 20, 30, 40));
        p.drawLine(0, 0, 100, 100);
        p.setClipping(false);
        p.drawLine(0, 0, 5, 5);
        // An empty clip draws nothing.
        p.setClipRect(QRect(10, 10, 0, 0));
        p.drawLine(0, 0, 7, 7);
    });
    ASSERT_TRUE(w.valido);
    EXPECT_TRUE(w.problemas.isEmpty()) << w.problemas.join(QStringLiteral("; ")).toStdString();
    const auto recortes = w.De(INTERSECTCLIPRECT);
    ASSERT_EQ(recortes.size(), 1u);
    // Bottom, right, top, left of (15, 25)-(45, 65) pixels.
    EXPECT_EQ(recortes[0]->Entero(0), 975);
    EXPECT_EQ(recortes[0]->Entero(1), 675);
    EXPECT_EQ(recortes[0]->Entero(2), 375);
    EXPECT_EQ(recortes[0]->Entero(3), 225);
    const auto lineas = w.De(POLYLINE);
    ASSERT_EQ(lineas.size(), 2u);
    const size_t recorte = Posicion(w, recortes[0]);
    EXPECT_EQ(w.registros[recorte - 1].funcion, SAVEDC);
    EXPECT_LT(recorte, Posicion(w, lineas[0]));
    // The clip is gone before the second line.
    bool restaurado = false;
    for (size_t i = Posicion(w, lineas[0]); i < Posicion(w, lineas[1]); ++i)
        restaurado = restaurado || w.registros[i].funcion == RESTOREDC;
    EXPECT_TRUE(restaurado);
}

TEST(Wmf, TransformacionDelPintor)
{
    const TWmfLeido w = Pintar([](QPainter& p) {
        p.translate(5, 5);
        p.scale(2, 2);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QLineF(0, 0, 10, 0));
        p.setBrush(Qt::green);
        p.drawRect(QRectF(1, 1, 2, 3));
        p.rotate(30);
        p.drawRect(QRectF(1, 1, 2, 3));
    });
    ASSERT_TRUE(w.valido);
    const auto lineas = w.De(POLYLINE);
    ASSERT_EQ(lineas.size(), 1u);
    EXPECT_EQ(PuntosPolilinea(*lineas[0]), (std::vector<QPoint>{{75, 75}, {375, 75}}));
    EXPECT_EQ(w.De(CREATEPEN)[0]->Entero(1), 30); // a 1-pixel pen drawn twice as large
    const auto rects = w.De(RECTANGLE);
    ASSERT_EQ(rects.size(), 1u);
    // (1, 1)-(3, 4) doubled and moved by 5: (7, 7)-(11, 13) pixels; bottom, right, top, left.
    EXPECT_EQ(rects[0]->Entero(0), 195);
    EXPECT_EQ(rects[0]->Entero(1), 165);
    EXPECT_EQ(rects[0]->Entero(2), 105);
    EXPECT_EQ(rects[0]->Entero(3), 105);
    // Turned, the rectangle can only be a polygon.
    ASSERT_EQ(w.De(POLYGON).size(), 1u);
}

TEST(Wmf, ImagenComoDib24)
{
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::green);
    img.setPixelColor(0, 0, Qt::red);
    img.setPixelColor(3, 2, Qt::blue);
    const TWmfLeido w = Pintar([&](QPainter& p) { p.drawImage(QRectF(10, 10, 4, 3), img); });
    ASSERT_TRUE(w.valido);
    const auto dibs = w.De(STRETCHDIB);
    ASSERT_EQ(dibs.size(), 1u);
    const TRegistroWmf& r = *dibs[0];
    EXPECT_EQ(r.Doble(0), 0x00CC0020u); // SRCCOPY
    EXPECT_EQ(r.Entero(3), 3);
    EXPECT_EQ(r.Entero(4), 4);
    EXPECT_EQ(r.Entero(7), 45);
    EXPECT_EQ(r.Entero(8), 60);
    EXPECT_EQ(r.Entero(9), 150);
    EXPECT_EQ(r.Entero(10), 150);
    const QByteArray dib = r.parametros.mid(22);
    EXPECT_EQ(test::LeerDoble(dib, 0), 40u);
    EXPECT_EQ(test::LeerDoble(dib, 4), 4u);
    EXPECT_EQ(test::LeerDoble(dib, 8), 3u); // bottom-up
    EXPECT_EQ(test::LeerPalabra(dib, 14), 24);
    ASSERT_EQ(dib.size(), 40 + 3 * 12);
    // First stored row is the image's last: its last pixel blue, in B, G, R order.
    EXPECT_EQ(dib.mid(40 + 9, 3), QByteArray("\xFF\x00\x00", 3));
    EXPECT_EQ(dib.mid(40 + 24, 3), QByteArray("\x00\x00\xFF", 3));
    EXPECT_EQ(dib.mid(40 + 27, 3), QByteArray("\x00\xFF\x00", 3));
}

// The graph as the program exports it, read by an independent metafile reader.
TEST(Wmf, GraficaLeidaPorWmf2svg)
{
    const QString wmf2svg = QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
    if (wmf2svg.isEmpty())
        GTEST_SKIP() << "wmf2svg (libwmf-bin) is not installed";
    auto g = test::GraficaDePrueba();
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("grafica.wmf"));
    const QString svg = dir.filePath(QStringLiteral("grafica.svg"));
    QString error;
    ASSERT_TRUE(GuardarImagen(ruta, g->size(), PintorGrafica(*g), &error)) << error.toStdString();
    QProcess proc;
    proc.start(wmf2svg, {QStringLiteral("-o"), svg, ruta});
    ASSERT_TRUE(proc.waitForFinished(60000));
    ASSERT_EQ(proc.exitCode(), 0) << proc.readAllStandardError().toStdString();
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // The reader passes the file's text bytes through: Latin-1.
    const QString texto = QString::fromLatin1(f.readAll());

    std::vector<std::vector<QPointF>> polilineas;
    static const QRegularExpression rePolilinea(QStringLiteral("<polyline points=\"([^\"]*)\""));
    for (auto it = rePolilinea.globalMatch(texto); it.hasNext();) {
        std::vector<QPointF> p;
        for (const QString& par : it.next().captured(1).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            const QStringList xy = par.split(QLatin1Char(','));
            if (xy.size() == 2)
                p.emplace_back(xy[0].toDouble(), xy[1].toDouble());
        }
        polilineas.push_back(p);
    }

    // Each curve's samples, in pixels of the graph.
    std::vector<std::vector<QPointF>> curvas;
    for (int c = 0; c < 2; ++c) {
        std::vector<QPointF> p;
        for (const auto& d : *g->graph(c)->data())
            p.emplace_back(g->xAxis->coordToPixel(d.key), g->yAxis->coordToPixel(d.value));
        curvas.push_back(p);
    }
    // The reader scales the picture to its own size; one scale and offset per axis,
    // taken from the first curve's ends and extremes, must place every point of both.
    auto buscar = [&](const std::vector<QPointF>& curva) -> const std::vector<QPointF>* {
        for (const auto& p : polilineas)
            if (p.size() == curva.size() && p.front().x() < p.back().x())
                return &p;
        return nullptr;
    };
    const auto* primera = buscar(curvas[0]);
    ASSERT_NE(primera, nullptr) << "no polyline with the first curve's points";
    const auto& c0 = curvas[0];
    const auto [imin, imax] = std::minmax_element(c0.begin(), c0.end(), [](auto a, auto b) { return a.y() < b.y(); });
    const double ex = ((*primera).back().x() - (*primera).front().x()) / (c0.back().x() - c0.front().x());
    const double ox = (*primera).front().x() - ex * c0.front().x();
    const double ey = ((*primera)[size_t(imax - c0.begin())].y() - (*primera)[size_t(imin - c0.begin())].y())
                      / (imax->y() - imin->y());
    const double oy = (*primera)[size_t(imin - c0.begin())].y() - ey * imin->y();
    EXPECT_NEAR(ex, ey, 0.05 * ex) << "the picture keeps its proportions";
    int encontradas = 0;
    for (const auto& curva : curvas) {
        for (const auto& p : polilineas) {
            if (p.size() != curva.size())
                continue;
            bool igual = true;
            for (size_t i = 0; i < p.size() && igual; ++i)
                igual = std::abs(p[i].x() - (ox + ex * curva[i].x())) < ex
                        && std::abs(p[i].y() - (oy + ey * curva[i].y())) < ex;
            if (igual) {
                ++encontradas;
                break;
            }
        }
    }
    EXPECT_EQ(encontradas, 2) << "both curves, every sample where the graph drew it";

    // Texts come one character a piece (each carries its advance); in drawing order
    // they spell the labels.
    QString letras;
    static const QRegularExpression reTexto(QStringLiteral("<text[^>]*>([^<]*)</text>"));
    for (auto it = reTexto.globalMatch(texto); it.hasNext();)
        letras += it.next().captured(1);
    EXPECT_TRUE(letras.contains(QStringLiteral("Tiempo (s)"))) << letras.toStdString();
    EXPECT_TRUE(letras.contains(QString::fromUtf8("Tensión ±10V"))) << letras.toStdString();
    EXPECT_TRUE(letras.contains(QString::fromUtf8("Señal 1")));
    EXPECT_TRUE(letras.contains(QString::fromUtf8("Rampa á")));
}

} // namespace
} // namespace qv

#include "plot/qcp_prueba.h"
#include "plot/imagenes.h"
#include "plot/lector_wmf.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace qv {
namespace {

QByteArray Leer(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whether some pixel within 2 of `p` is mostly red, as the first curve is drawn.
bool RojoCerca(const QImage& img, QPointF p)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint q(qRound(p.x()) + dx, qRound(p.y()) + dy);
            if (!img.rect().contains(q))
                continue;
            const QColor c = img.pixelColor(q);
            if (c.red() > 150 && c.green() < 100 && c.blue() < 100)
                return true;
        }
    return false;
}

TEST(Imagenes, FormatoPorExtension)
{
    EXPECT_EQ(FormatoDeFichero(QStringLiteral("/a/b.BMP")), TFormatoImagen::BMP);
    EXPECT_EQ(FormatoDeFichero(QStringLiteral("b.png")), TFormatoImagen::PNG);
    EXPECT_EQ(FormatoDeFichero(QStringLiteral("b.Svg")), TFormatoImagen::SVG);
    EXPECT_EQ(FormatoDeFichero(QStringLiteral("b.pdf")), TFormatoImagen::PDF);
    EXPECT_EQ(FormatoDeFichero(QStringLiteral("gráfica.wmf")), TFormatoImagen::WMF);
    EXPECT_EQ(FormatoDeFichero(QStringLiteral("b.wmf.txt")), TFormatoImagen::Desconocido);
    EXPECT_EQ(FormatoDeFichero(QStringLiteral("wmf")), TFormatoImagen::Desconocido);
}

TEST(Imagenes, CadaFormatoSeLeeDeVuelta)
{
    auto g = test::GraficaDePrueba();
    const QPointF punto(g->xAxis->coordToPixel(g->graph(0)->data()->at(3)->key),
                        g->yAxis->coordToPixel(g->graph(0)->data()->at(3)->value));
    QTemporaryDir dir;
    auto guardar = [&](const char* nombre) {
        const QString ruta = dir.filePath(QString::fromLatin1(nombre));
        QString error;
        EXPECT_TRUE(GuardarImagen(ruta, g->size(), PintorGrafica(*g), &error)) << nombre << ": " << error.toStdString();
        return ruta;
    };

    for (const char* nombre : {"grafica.bmp", "grafica.png"}) {
        const QImage img(guardar(nombre));
        ASSERT_FALSE(img.isNull()) << nombre;
        EXPECT_EQ(img.size(), QSize(600, 400)) << nombre;
        EXPECT_EQ(img.pixelColor(2, 2), QColor(Qt::white)) << nombre;
        EXPECT_TRUE(RojoCerca(img, punto)) << nombre << ": the first curve is not where the graph draws it";
    }

    const QString svg = guardar("grafica.svg");
    const QSvgRenderer lector(svg);
    EXPECT_TRUE(lector.isValid());
    EXPECT_EQ(lector.viewBoxF(), QRectF(0, 0, 600, 400));
    EXPECT_TRUE(Leer(svg).contains("Tiempo (s)"));

    const QByteArray pdf = Leer(guardar("grafica.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));

    const test::TWmfLeido wmf = test::LeerWmf(Leer(guardar("grafica.wmf")));
    ASSERT_TRUE(wmf.valido) << wmf.fallo.toStdString();
    EXPECT_EQ(wmf.caja[2], 9000);
    EXPECT_EQ(wmf.caja[3], 6000);

    // Nothing but the five pictures in the folder: no temporary file was left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);
}

TEST(Imagenes, PdfLlevaLosTextosDeLaGrafica)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    auto g = test::GraficaDePrueba();
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("grafica.pdf"));
    ASSERT_TRUE(GuardarImagen(ruta, g->size(), PintorGrafica(*g)));
    QProcess proc;
    proc.start(pdftotext, {ruta, QStringLiteral("-")});
    ASSERT_TRUE(proc.waitForFinished(60000));
    ASSERT_EQ(proc.exitCode(), 0);
    const QString texto = QString::fromUtf8(proc.readAllStandardOutput());
    EXPECT_TRUE(texto.contains(QStringLiteral("Tiempo (s)"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QString::fromUtf8("Señal 1"))) << texto.toStdString();

    // One page the size of the picture: 600 x 400 pixels at 96 per inch are 450 x 300 points.
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    ASSERT_FALSE(pdfinfo.isEmpty());
    proc.start(pdfinfo, {ruta});
    ASSERT_TRUE(proc.waitForFinished(60000));
    const QString info = QString::fromUtf8(proc.readAllStandardOutput());
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+450 x 300 pts")))) << info.toStdString();
}

// The graph's curves reach the metafile at their exact places: vector painting gets
// no half-pixel shift and no rounding to whole pixels.
TEST(Imagenes, MetafileDeGraficaConPuntosExactos)
{
    auto g = test::GraficaDePrueba();
    const test::TWmfLeido w = test::LeerWmf(ImagenEnFormato(TFormatoImagen::WMF, g->size(), PintorGrafica(*g)));
    ASSERT_TRUE(w.valido);
    EXPECT_TRUE(w.problemas.isEmpty()) << w.problemas.join(QStringLiteral("; ")).toStdString();
    for (int c = 0; c < 2; ++c) {
        std::vector<QPoint> esperados;
        for (const auto& d : *g->graph(c)->data())
            esperados.emplace_back(qRound(g->xAxis->coordToPixel(d.key) * 15), qRound(g->yAxis->coordToPixel(d.value) * 15));
        bool hallada = false;
        for (const auto* r : w.De(0x0325)) {
            if (r->Entero(0) != int(esperados.size()))
                continue;
            bool igual = true;
            for (size_t i = 0; i < esperados.size() && igual; ++i)
                igual = std::abs(r->Entero(1 + 2 * int(i)) - esperados[i].x()) <= 1
                        && std::abs(r->Entero(2 + 2 * int(i)) - esperados[i].y()) <= 1;
            hallada = hallada || igual;
        }
        EXPECT_TRUE(hallada) << "curve " << c;
    }
}

TEST(Imagenes, EscrituraFallidaNoDejaNada)
{
    auto g = test::GraficaDePrueba(QSize(200, 100));
    const TPintor pintor = PintorGrafica(*g);
    QTemporaryDir dir;
    QString error;

    const QString sinCarpeta = dir.filePath(QStringLiteral("no/existe/g.png"));
    EXPECT_FALSE(GuardarImagen(sinCarpeta, g->size(), pintor, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("no"))));

    // A folder named like a picture stays an empty folder.
    const QString carpeta = dir.filePath(QStringLiteral("carpeta.wmf"));
    ASSERT_TRUE(QDir().mkpath(carpeta));
    for (const char* ext : {".wmf", ".png", ".svg", ".pdf"}) {
        const QString ruta = dir.filePath(QStringLiteral("carpeta") + QLatin1String(ext));
        QDir().mkpath(ruta);
        error.clear();
        EXPECT_FALSE(GuardarImagen(ruta, g->size(), pintor, &error)) << ext;
        EXPECT_FALSE(error.isEmpty()) << ext;
        EXPECT_TRUE(QFileInfo(ruta).isDir()) << ext;
        EXPECT_TRUE(QDir(ruta).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) << ext;
    }

    EXPECT_FALSE(GuardarImagen(dir.filePath(QStringLiteral("g.txt")), g->size(), pintor, &error));
    EXPECT_FALSE(GuardarImagen(dir.filePath(QStringLiteral("g.png")), QSize(0, 10), pintor, &error));

    // A painting that fails keeps the old picture as it was.
    const QString viejo = dir.filePath(QStringLiteral("vieja.png"));
    {
        QFile f(viejo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("antes");
    }
    const TPintor roto = [](QCPPainter& p, const QRect&) {
        p.drawRect(0, 0, 5, 5);
        throw std::runtime_error("painting failed");
    };
    EXPECT_THROW(GuardarImagen(viejo, QSize(50, 50), roto), std::runtime_error);
    EXPECT_EQ(Leer(viejo), QByteArray("antes"));

    // Only the folders and the old picture are there: no file was half written.
    const QStringList quedan = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    EXPECT_EQ(quedan, (QStringList{QStringLiteral("carpeta.pdf"), QStringLiteral("carpeta.png"),
                                   QStringLiteral("carpeta.svg"), QStringLiteral("carpeta.wmf"),
                                   QStringLiteral("vieja.png")}));
}

TEST(Imagenes, GraficaAlPortapapeles)
{
    auto g = test::GraficaDePrueba(QSize(300, 200));
    const QPointF punto(g->xAxis->coordToPixel(g->graph(0)->data()->at(5)->key),
                        g->yAxis->coordToPixel(g->graph(0)->data()->at(5)->value));
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(CopiarImagenPortapapeles(g->size(), PintorGrafica(*g)));
    const QImage img = QGuiApplication::clipboard()->image();
    ASSERT_EQ(img.size(), QSize(300, 200));
    EXPECT_TRUE(RojoCerca(img, punto));
}

TEST(Imagenes, OtroTamanoNoDesarreglaLaPantalla)
{
    auto g = test::GraficaDePrueba(QSize(600, 400));
    const QRect antes = g->axisRect()->rect();
    const QImage pequena = PintarImagen(QSize(300, 150), PintorGrafica(*g));
    ASSERT_EQ(pequena.size(), QSize(300, 150));
    // The graph was laid out for the small picture: its curve is inside it.
    int rojos = 0;
    for (int y = 0; y < pequena.height(); ++y)
        for (int x = 0; x < pequena.width(); ++x) {
            const QColor c = pequena.pixelColor(x, y);
            rojos += c.red() > 150 && c.green() < 100 && c.blue() < 100;
        }
    EXPECT_GT(rojos, 50);
    // Mapping pixels and values (cursors, the mouse) holds for the screen again at once.
    EXPECT_EQ(g->axisRect()->rect(), antes);
}

} // namespace
} // namespace qv

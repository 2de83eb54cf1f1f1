// The printed report read back from PDF files with pdftotext, the data table's print
// job, and the print preview driven through its controls.
#include "display/datos.h"
#include "display/display_prueba.h"
#include "display/impresion.h"
#include "display/preview.h"
#include "plot/grf.h"

#include <QFile>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace qv::test {
namespace {

// The text of a PDF, pages separated by form feeds; empty when it cannot be read.
QString TextoPdf(const QString& ruta)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        return {};
    QProcess proc;
    proc.start(pdftotext, {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
    if (!proc.waitForFinished(60000) || proc.exitCode() != 0)
        return {};
    return QString::fromUtf8(proc.readAllStandardOutput());
}

#define REQUIERE_PDFTOTEXT()                                                                                 \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())                               \
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed"

// Pages of a pdftotext output.
QStringList Paginas(const QString& texto)
{
    QStringList p = texto.split(QLatin1Char('\f'));
    while (!p.isEmpty() && p.last().trimmed().isEmpty())
        p.removeLast();
    return p;
}

class Impresion : public DisplayPrueba {
protected:
    QTemporaryDir dir;

    // Writes a report on an A4 PDF at 96 dots per inch (k = 1, 8 table columns a band).
    template <class F>
    QString Informe(const char* nombre, F pintar)
    {
        const QString ruta = dir.filePath(QLatin1String(nombre));
        QPdfWriter pdf(ruta);
        pdf.setResolution(96);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter p(&pdf);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSize(8);
        p.setFont(f);
        THojasInforme hojas(p, QSize(pdf.width(), pdf.height()), 1, [&pdf] { return pdf.newPage(); });
        pintar(hojas);
        p.end();
        return ruta;
    }

    void Rampa(const QString& nombre, int n, double periodo = 0.001)
    {
        std::vector<float> m(n);
        for (int i = 0; i < n; ++i)
            m[i] = float(i) / 4;
        Ana(nombre, periodo, m);
    }
};

TEST_F(Impresion, PuntosPorPixel)
{
    EXPECT_EQ(PuntosPorPixel(600, 96), 6);
    EXPECT_EQ(PuntosPorPixel(1200, 96), 13);
    EXPECT_EQ(PuntosPorPixel(72, 96), 1);
    EXPECT_EQ(PuntosPorPixel(300, 0), 1);
}

TEST_F(Impresion, ComentarioYTablaAtraviesanPaginas)
{
    REQUIERE_PDFTOTEXT();
    Rampa(QStringLiteral("Va"), 80);
    Conjunto().Comentario = QStringList{QStringLiteral("Primera linea del ensayo"), QStringLiteral("Segunda linea")};
    int paginas = 0;
    const QString ruta = Informe("informe.pdf", [&](THojasInforme& h) {
        int y = PintarComentario(h, Conjunto().Comentario, p.textos, 0);
        EXPECT_GT(y, 60);
        PintarTabla(h, Conjunto(), {}, p.textos, y);
        paginas = h.Pagina();
    });
    const QStringList hojas = Paginas(TextoPdf(ruta));
    ASSERT_GE(hojas.size(), 2) << "80 rows of 22 dots do not fit one page";
    EXPECT_EQ(hojas.size(), paginas);
    const QString primera = hojas.first();
    EXPECT_TRUE(primera.contains(QStringLiteral("T237")));
    EXPECT_TRUE(primera.contains(QStringLiteral("Primera linea del ensayo")));
    EXPECT_TRUE(primera.contains(QStringLiteral("Segunda linea")));
    EXPECT_TRUE(primera.contains(QStringLiteral("T234")));
    // Every page that goes on with the table repeats its header.
    for (const QString& h : hojas) {
        EXPECT_TRUE(h.contains(QStringLiteral("T254"))) << h.toStdString();
        EXPECT_TRUE(h.contains(QStringLiteral("T236")));
        EXPECT_TRUE(h.contains(QStringLiteral("Va")));
    }
    // The first two times of a 1 ms signal, and the last sample on the last page.
    EXPECT_TRUE(primera.contains(QStringLiteral("0.0000")));
    EXPECT_TRUE(primera.contains(QStringLiteral("0.0010")));
    EXPECT_TRUE(hojas.last().contains(QStringLiteral("19.7500")));
    EXPECT_TRUE(hojas.last().contains(QStringLiteral("0.0790")));
    // A page closed carries its number at the foot.
    EXPECT_TRUE(hojas.first().contains(QRegularExpression(QStringLiteral("\\n\\s+1\\s*$"))));
}

TEST_F(Impresion, VeinteSenalesEnTresBandas)
{
    REQUIERE_PDFTOTEXT();
    QStringList nombres;
    for (int i = 1; i <= 20; ++i) {
        nombres << QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0'));
        Ana(nombres.last(), 0.5, {float(i), float(i) + 0.5f});
    }
    const QString ruta = Informe("bandas.pdf", [&](THojasInforme& h) { PintarTabla(h, Conjunto(), nombres, p.textos, 0); });
    const QString texto = TextoPdf(ruta);
    EXPECT_EQ(texto.count(QStringLiteral("T254")), 3) << texto.toStdString();
    // Bands of 8, 8 and 4: the 9th name heads the second band on a line of its own.
    QStringList cabeceras;
    for (const QString& linea : texto.split(QLatin1Char('\n')))
        if (linea.contains(QStringLiteral("T254")))
            cabeceras << linea.simplified();
    ASSERT_EQ(cabeceras.size(), 3);
    EXPECT_TRUE(cabeceras[0].endsWith(QStringLiteral("S01 S02 S03 S04 S05 S06 S07 S08"))) << cabeceras[0].toStdString();
    EXPECT_TRUE(cabeceras[1].endsWith(QStringLiteral("S09 S10 S11 S12 S13 S14 S15 S16")));
    EXPECT_TRUE(cabeceras[2].endsWith(QStringLiteral("S17 S18 S19 S20")));
    EXPECT_TRUE(texto.contains(QStringLiteral("20.5000")));
}

TEST_F(Impresion, SenalCortaYNombreDesconocidoDejanCeldasVacias)
{
    REQUIERE_PDFTOTEXT();
    Dig(QStringLiteral("Db"), 0.25, {1, 0});
    Ana(QStringLiteral("Corta"), 0.25, {7.25f});
    Ana(QStringLiteral("Larga"), 0.25, {1.5f, 2.5f, 3.5f});
    const QString ruta = Informe("celdas.pdf", [&](THojasInforme& h) {
        PintarTabla(h, Conjunto(), {QStringLiteral("Corta"), QStringLiteral("Db"), QStringLiteral("Nadie")}, p.textos, 0);
    });
    const QString texto = TextoPdf(ruta);
    // Three rows (the newest signal), the short one only in the first, digits as numbers.
    EXPECT_EQ(texto.count(QStringLiteral("7.2500")), 1);
    EXPECT_EQ(texto.count(QStringLiteral("1.0000")), 1) << texto.toStdString();
    EXPECT_TRUE(texto.contains(QStringLiteral("Nadie")));
    EXPECT_TRUE(texto.contains(QStringLiteral("0.5000")));
    EXPECT_FALSE(texto.contains(QStringLiteral("0.7500"))) << "only as many rows as the newest signal";
}

TEST_F(Impresion, PaginaQueNoSeAbreParaLaTabla)
{
    Rampa(QStringLiteral("Va"), 200);
    int intentos = 0;
    const QString ruta = Informe("corta.pdf", [&](THojasInforme& h) {
        THojasInforme sinPaginas(h.Pintor(), QSize(h.W(), h.H()), 1, [&intentos] {
            ++intentos;
            return false;
        });
        PintarTabla(sinPaginas, Conjunto(), {}, p.textos, 0);
        EXPECT_TRUE(sinPaginas.Fallo());
        // Once failed, nothing more is drawn or tried.
        PintarComentario(sinPaginas, {QStringLiteral("x")}, p.textos, 0);
    });
    EXPECT_EQ(intentos, 1);
}

// ---- the data table's print job --------------------------------------------------------

class ImpresionTabla : public Impresion {
protected:
    // Prints to `pdf` whether or not the machine has a printer: the print dialog (when
    // there is one) is answered with the PDF file, and so is the save dialog.
    void ImprimirA(const QString& pdf)
    {
        p.dialogos.guardar.push_back(pdf);
        p.modal.Cuando(QStringLiteral("DialogoImprimir"), [pdf](QDialog& d) {
            auto& dialogo = static_cast<QPrintDialog&>(d);
            dialogo.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialogo.printer()->setOutputFileName(pdf);
            d.accept();
        });
    }
};

TEST_F(ImpresionTabla, ImprimeLasSenalesElegidas)
{
    REQUIERE_PDFTOTEXT();
    Rampa(QStringLiteral("Va"), 120);
    Dig(QStringLiteral("Db"), 0.001, std::vector<std::uint8_t>(120, 1));
    Rampa(QStringLiteral("Oculta"), 120);
    TfrmDatos datos(p, {QStringLiteral("Va"), QStringLiteral("Db")}, {QStringLiteral("Oculta")});
    datos.show();
    ASSERT_TRUE(datos.Admite(TComando::Imprimir));
    const QString pdf = dir.filePath(QStringLiteral("tabla.pdf"));
    ImprimirA(pdf);
    ASSERT_TRUE(Pulsar(datos, "SBPrint"));
    EXPECT_TRUE(Mensajes().isEmpty()) << Mensajes().join(QLatin1Char('|')).toStdString();
    const QString texto = TextoPdf(pdf);
    EXPECT_TRUE(texto.contains(QStringLiteral("T234")));
    EXPECT_TRUE(texto.contains(QStringLiteral("Va")));
    EXPECT_TRUE(texto.contains(QStringLiteral("29.7500"))) << "the last sample of Va";
    EXPECT_FALSE(texto.contains(QStringLiteral("Oculta")));
    EXPECT_GE(Paginas(texto).size(), 2);
}

TEST_F(ImpresionTabla, FalloDelTrabajoDaElTexto238)
{
    Rampa(QStringLiteral("Va"), 3);
    TfrmDatos datos(p, {QStringLiteral("Va")}, {});
    // A file in a folder that does not exist: the job cannot start.
    ImprimirA(dir.filePath(QStringLiteral("no/hay/tabla.pdf")));
    EXPECT_FALSE(datos.Imprimir());
    ASSERT_EQ(Mensajes().size(), 1);
    EXPECT_EQ(Mensajes().first(), QStringLiteral("T238"));
    EXPECT_EQ(p.interaccion.mensajes.front().sabor, TInteraccionGuion::Sabor::Error);
}

TEST_F(ImpresionTabla, CancelarNoImprimeNiAvisa)
{
    Rampa(QStringLiteral("Va"), 3);
    TfrmDatos datos(p, {QStringLiteral("Va")}, {});
    // No file given and the print dialog rejected.
    EXPECT_FALSE(datos.Imprimir());
    EXPECT_TRUE(Mensajes().isEmpty());
}

// ---- the preview -----------------------------------------------------------------------

class Preview : public Impresion {
protected:
    void SetUp() override
    {
        grafica.resize(625, 400);
        grafica.Serie(0).PonerNombre(QStringLiteral("Va"));
    }
    void Arrastrar(QWidget& w, QPoint desde, QPoint hasta)
    {
        QMouseEvent pulsar(QEvent::MouseButtonPress, desde, w.mapToGlobal(desde), Qt::LeftButton, Qt::LeftButton,
                           Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &pulsar);
        QMouseEvent mover(QEvent::MouseMove, hasta, w.mapToGlobal(hasta), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &mover);
        QMouseEvent soltar(QEvent::MouseButtonRelease, hasta, w.mapToGlobal(hasta), Qt::LeftButton, Qt::NoButton,
                           Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &soltar);
    }
    TGrf grafica;
};

TEST_F(Preview, DisposicionSegunOpcionesYOrientacion)
{
    TfrmPreview preview(p);
    preview.Impresora().setOutputFormat(QPrinter::PdfFormat);
    preview.Impresora().setPageOrientation(QPageLayout::Portrait);
    preview.PonerGrafica(&grafica);
    preview.show();
    EXPECT_EQ(preview.Pagina().geometry(), QRect(96, 32, 210, 297));
    EXPECT_EQ(preview.Imagen().geometry(), QRect(126, 62, 150, 96));
    // Room left 237 - 98 = 139, half each, less 6; stacked with 2-pixel gaps.
    EXPECT_EQ(preview.ITabla().geometry(), QRect(126, 160, 150, 64));
    EXPECT_EQ(preview.IComent().geometry(), QRect(126, 226, 150, 64));

    ASSERT_TRUE(Marcar(preview, "CBGrafica", false));
    EXPECT_FALSE(preview.Imagen().isVisible());
    EXPECT_EQ(preview.ITabla().geometry(), QRect(126, 62, 150, 113));
    ASSERT_TRUE(Marcar(preview, "CBTabla", false));
    EXPECT_FALSE(preview.ITabla().isVisible());
    EXPECT_EQ(preview.IComent().geometry(), QRect(126, 62, 150, 231));
    ASSERT_TRUE(Marcar(preview, "CBGrafica", true));
    ASSERT_TRUE(Marcar(preview, "CBTabla", true));

    ASSERT_TRUE(Pulsar(preview, "RBtnHorizontal"));
    EXPECT_EQ(preview.Impresora().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(preview.Pagina().geometry(), QRect(40, 64, 297, 210));
    EXPECT_EQ(preview.Imagen().geometry(), QRect(70, 94, 234, 150));
    ASSERT_TRUE(Pulsar(preview, "RBtnVertical"));
    EXPECT_EQ(preview.Impresora().pageLayout().orientation(), QPageLayout::Portrait);
}

TEST_F(Preview, SinGraficaLaOpcionNoSePuedeMarcar)
{
    TfrmPreview preview(p);
    preview.show();
    EXPECT_FALSE(De<QWidget>(preview, "CBGrafica").isEnabled());
    EXPECT_FALSE(preview.Imagen().isVisible());
    EXPECT_EQ(preview.ITabla().geometry().top(), 62);
}

TEST_F(Preview, ArrastrarLaGraficaNoLaSacaDeLaPagina)
{
    TfrmPreview preview(p);
    preview.PonerGrafica(&grafica);
    preview.show();
    QWidget& imagen = preview.Imagen();
    Arrastrar(imagen, QPoint(10, 10), QPoint(10, 60));
    EXPECT_EQ(imagen.pos(), QPoint(126, 112));
    // Far beyond the page: held at its margins.
    Arrastrar(imagen, QPoint(10, 10), QPoint(900, 900));
    EXPECT_EQ(imagen.pos(), QPoint(126, 32 + 297 - 30 - 96));
    Arrastrar(imagen, QPoint(10, 10), QPoint(-900, -900));
    EXPECT_EQ(imagen.pos(), QPoint(126, 62));
}

TEST_F(Preview, ImprimeElInformeYSeCierra)
{
    REQUIERE_PDFTOTEXT();
    Rampa(QStringLiteral("Va"), 100);
    Conjunto().Comentario = QStringList{QStringLiteral("Ensayo del circuito RC")};
    p.estado.FicheroGuardarComo = QStringLiteral("/tmp/ensayo.qvn");
    const QString pdf = dir.filePath(QStringLiteral("informe.pdf"));
    p.dialogos.guardar.push_back(pdf);
    TfrmPreview preview(p);
    preview.Impresora().setOutputFormat(QPrinter::PdfFormat);
    preview.PonerGrafica(&grafica);
    p.modal.accion = [](QDialog& d) { ASSERT_TRUE(Pulsar(d, "BtnImprimir")); };
    EXPECT_EQ(preview.Ejecutar(), QDialog::Accepted);
    EXPECT_EQ(preview.Impresora().docName(), QStringLiteral("Quorvane - ensayo.qvn"));
    // The graph went to the page at the placeholder's place and share of the width.
    const double anchoMm = preview.Impresora().pageLayout().paintRect(QPageLayout::Millimeter).width();
    EXPECT_EQ(grafica.Dimensions().PrintXOffsetPct(), std::lround(3000 / anchoMm));
    EXPECT_LE(grafica.Dimensions().PrintXOffsetPct() + grafica.Dimensions().PrintScalePct(), 100);

    const QStringList hojas = Paginas(TextoPdf(pdf));
    ASSERT_GE(hojas.size(), 2);
    EXPECT_TRUE(hojas[0].contains(QStringLiteral("T200")));
    EXPECT_TRUE(hojas[0].contains(QStringLiteral("T201")));
    EXPECT_TRUE(hojas[0].contains(QStringLiteral("Ensayo del circuito RC")));
    EXPECT_TRUE(hojas[0].contains(QStringLiteral("T234")));
    EXPECT_TRUE(hojas.last().contains(QStringLiteral("24.7500")));
}

TEST_F(Preview, SinFicheroNoSeImprimeYSigueAbierta)
{
    Rampa(QStringLiteral("Va"), 3);
    TfrmPreview preview(p);
    preview.Impresora().setOutputFormat(QPrinter::PdfFormat);
    preview.Impresora().setOutputFileName(QString());
    p.modal.accion = [](QDialog& d) {
        ASSERT_TRUE(Pulsar(d, "BtnImprimir"));
        EXPECT_TRUE(d.isVisible());
    };
    EXPECT_EQ(preview.Ejecutar(), QDialog::Rejected);
    ASSERT_EQ(p.dialogos.llamadas.size(), 1u);
    EXPECT_EQ(p.dialogos.llamadas[0].filtro, QStringLiteral("T1194"));
}

} // namespace
} // namespace qv::test

// Pictures and prints from the main window's commands, on a real analog window.
#include "ficheros_prueba.h"

#include "display/datos.h"
#include "display/preview.h"
#include "display/visualiza_senales_comun.h"
#include "plot/grf.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>

namespace qv::test {
namespace {

class ComandosImpresion : public ArchivosPrueba {
protected:
    void SetUp() override
    {
        CrearConDialogos();
        AbrirConfiguracion();
        AbrirConjunto(2);
        ventana->ComandosVentanas().AbrirVentanaAnalogica(QStringLiteral("prueba"));
        ASSERT_NE(Activa(), nullptr);
    }
    TVentanaSenales* Activa() const { return dynamic_cast<TVentanaSenales*>(ventana->HijaActiva()); }
    QByteArray Leer(const QString& ruta) const
    {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir carpeta;
};

TEST_F(ComandosImpresion, ImagenSegunLaExtensionElegida)
{
    const QSize tamano = Activa()->Grafica().size();
    for (const char* nombre : {"g.bmp", "g.png", "g.svg", "g.pdf"})
        dialogos.guardar.push_back(carpeta.filePath(QLatin1String(nombre)));
    for (int i = 0; i < 4; ++i)
        Accion("ExportarPantalla1")->trigger();
    ASSERT_EQ(dialogos.llamadas.size(), 4u);
    EXPECT_EQ(dialogos.llamadas[0].filtro, QStringLiteral("T1188"));
    EXPECT_EQ(dialogos.llamadas[0].extension, QStringLiteral("bmp"));
    // The dialog starts from the name chosen last.
    EXPECT_EQ(dialogos.llamadas[1].inicial, carpeta.filePath(QStringLiteral("g.bmp")));
    EXPECT_EQ(QImage(carpeta.filePath(QStringLiteral("g.bmp")), "BMP").size(), tamano);
    EXPECT_EQ(QImage(carpeta.filePath(QStringLiteral("g.png")), "PNG").size(), tamano);
    EXPECT_TRUE(Leer(carpeta.filePath(QStringLiteral("g.svg"))).contains("<svg"));
    EXPECT_TRUE(Leer(carpeta.filePath(QStringLiteral("g.pdf"))).startsWith("%PDF"));
    EXPECT_TRUE(interaccion.Textos().isEmpty());
}

TEST_F(ComandosImpresion, MetaficheroColocable)
{
    const QString ruta = carpeta.filePath(QStringLiteral("g.wmf"));
    dialogos.guardar.push_back(ruta);
    const int ocupado = interaccion.ocupado;
    Accion("ExportarWMF")->trigger();
    ASSERT_EQ(dialogos.llamadas.size(), 1u);
    EXPECT_EQ(dialogos.llamadas[0].filtro, QStringLiteral("T1190"));
    const QByteArray wmf = Leer(ruta);
    ASSERT_GT(wmf.size(), 22);
    EXPECT_EQ(wmf.left(4), QByteArray::fromHex("d7cdc69a"));
    EXPECT_EQ(interaccion.ocupado, ocupado + 1) << "the hourglass while the metafile is written";
}

TEST_F(ComandosImpresion, FicheroQueNoSePuedeEscribirDaUnMensaje)
{
    dialogos.guardar.push_back(carpeta.filePath(QStringLiteral("no/existe/g.png")));
    Accion("ExportarPantalla1")->trigger();
    ASSERT_EQ(interaccion.Textos().size(), 1);
    EXPECT_TRUE(interaccion.Textos().first().startsWith(QStringLiteral("T1196 "))) << interaccion.Textos().first().toStdString();
}

TEST_F(ComandosImpresion, PortapapelesConLaGraficaDeSuTamano)
{
    QClipboard* portapapeles = QGuiApplication::clipboard();
    portapapeles->clear();
    Accion("aportapapeles1")->trigger();
    const QImage img = portapapeles->image();
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), Activa()->Grafica().size());
}

TEST_F(ComandosImpresion, PreviewConLaVentanaA625x400YDeVueltaDespues)
{
    TVentanaSenales* v = Activa();
    auto* marco = qobject_cast<QMdiSubWindow*>(v->parentWidget());
    ASSERT_NE(marco, nullptr);
    const QRect antes = marco->geometry();
    QSize durante;
    bool conGrafica = false;
    modal.Cuando(QStringLiteral("frmPreview"), [&](QDialog& d) {
        durante = v->size();
        conGrafica = static_cast<TfrmPreview&>(d).Grafica() == &v->Grafica();
        EXPECT_TRUE(d.findChild<QWidget*>(QStringLiteral("CBGrafica"))->isEnabled());
    });
    Accion("Presentacinpreliminar1")->trigger();
    EXPECT_EQ(modal.vistos, QStringList{"frmPreview"});
    EXPECT_EQ(durante, QSize(625, 400));
    EXPECT_TRUE(conGrafica);
    EXPECT_EQ(marco->geometry(), antes);
}

TEST_F(ComandosImpresion, ImprimirConLaTablaActivaImprimeLaTabla)
{
    TfrmDatos::Abrir(*ventana, {QStringLiteral("S0")}, {QStringLiteral("S1")});
    ASSERT_TRUE(Activo("SpBtnImprimir"));
    const QString pdf = carpeta.filePath(QStringLiteral("tabla.pdf"));
    dialogos.guardar.push_back(pdf);
    modal.Cuando(QStringLiteral("DialogoImprimir"), [pdf](QDialog& d) {
        QPrinter* impresora = static_cast<QPrintDialog&>(d).printer();
        impresora->setOutputFormat(QPrinter::PdfFormat);
        impresora->setOutputFileName(pdf);
        d.accept();
    });
    Accion("SpBtnImprimir")->trigger();
    EXPECT_FALSE(modal.vistos.contains(QStringLiteral("frmPreview")));
    EXPECT_TRUE(Leer(pdf).startsWith("%PDF"));
    EXPECT_TRUE(interaccion.Textos().isEmpty());
}

} // namespace
} // namespace qv::test

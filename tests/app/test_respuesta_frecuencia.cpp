// The "Respuesta en frecuencia" window against the simulated unit on the device thread
// (virtual time): a whole sweep, cancel, refused settings, and the result's file, CSV,
// picture and printed report.
#include "app/unidad_virtual.h"
#include "capture/respuesta_frecuencia.h"
#include "circuito.h"
#include "common/esperar_sad.h"
#include "common/principal_prueba.h"
#include "link/com_capvis.h"
#include "link/servicio_sad.h"
#include "model/fichero_barrido.h"
#include "plot/grafica_bode.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qv::test {
namespace {

class RespuestaFrecuencia : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QString error;
        unidad.PonerCircuito(TCircuito::Leer(QStringLiteral("rc-low:R=10k,C=100n"), error));
        p.estado.PonerEnlace(std::make_unique<TServicioSAD>(p.textos, p.interaccion, relojUnidad, QStringList{}));
        auto puerto = std::make_unique<TPuertoUnidad>(relojUnidad, unidad);
        puertoUnidad = puerto.get();
        p.estado.Enlace()->PonerPuerto(std::move(puerto), false);
        p.contexto.CarpetaPrograma = dir.path();
        ventana = std::make_unique<TfrmRespuestaFrecuencia>(p, &p.ventana);
        ventana->show();
    }
    void TearDown() override
    {
        ventana.reset();
        p.estado.PonerEnlace(nullptr); // its thread ends before the unit goes
    }

    template <class T>
    T* Control(const char* nombre)
    {
        T* c = ventana->findChild<T*>(QLatin1String(nombre));
        EXPECT_NE(c, nullptr) << nombre;
        return c;
    }
    void Poner(const char* caja, const QString& texto) { Control<QLineEdit>(caja)->setText(texto); }
    void Barrer(int puntos, const QString& desde = QStringLiteral("20"), const QString& hasta = QStringLiteral("2000"))
    {
        Poner("DesdeEdit", desde);
        Poner("HastaEdit", hasta);
        Poner("PuntosEdit", QString::number(puntos));
        Control<QPushButton>("IniciarBtn")->click();
    }
    bool Terminar() { return Esperar([&] { return !ventana->Barriendo(); }, 60000) && EsperarSAD(p.estado); }

    QTemporaryDir dir;
    TPrincipalPrueba p;
    TRelojFalso relojUnidad; // the device thread's
    TUnidadSimulada unidad;
    TPuertoUnidad* puertoUnidad = nullptr;
    std::unique_ptr<TfrmRespuestaFrecuencia> ventana;
};

TEST_F(RespuestaFrecuencia, EveryBoxHasItsLabelAndTheTextsComeFromTheLanguageFile)
{
    int cajas = 0;
    for (QLabel* l : ventana->findChildren<QLabel*>()) {
        if (!l->objectName().startsWith(QLatin1Char('L')) || l->objectName() == QLatin1String("LabelAviso"))
            continue;
        if (l->objectName() == QLatin1String("LCortes") || l->objectName() == QLatin1String("LCursor")
            || l->objectName() == QLatin1String("LMarcas"))
            continue;
        EXPECT_NE(l->buddy(), nullptr) << l->objectName().toStdString();
        ++cajas;
    }
    EXPECT_EQ(cajas, 14); // twelve settings, two progress bars
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("T531"));
    EXPECT_EQ(Control<QLabel>("LDesde")->text(), QStringLiteral("T532"));
    EXPECT_EQ(Control<QPushButton>("IniciarBtn")->text(), QStringLiteral("T544"));
    EXPECT_EQ(Control<QPushButton>("CancelarBtn")->text(), QStringLiteral("T1"));
}

TEST_F(RespuestaFrecuencia, ASweepPlotsEveryPointAndMarksTheCorner)
{
    Barrer(7);
    EXPECT_TRUE(ventana->Barriendo());
    EXPECT_TRUE(p.estado.Ocupado()); // no other command meanwhile
    EXPECT_FALSE(Control<QPushButton>("IniciarBtn")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>("CancelarBtn")->isEnabled());
    ASSERT_TRUE(Terminar());
    EXPECT_FALSE(p.estado.Ocupado());
    const TResultadoBarrido& r = ventana->Resultado();
    ASSERT_EQ(r.Puntos.size(), 7u);
    for (const TPuntoBarrido& pt : r.Puntos)
        EXPECT_TRUE(pt.Valida());
    EXPECT_EQ(ventana->Grafica().Resultado().Puntos.size(), 7u);
    ASSERT_EQ(ventana->Grafica().Cortes().size(), 1u);
    EXPECT_NEAR(ventana->Grafica().Cortes()[0].Frecuencia / 159.155, 1, 0.03);
    EXPECT_TRUE(Control<QLabel>("LCortes")->text().startsWith(QStringLiteral("-3 dB: ")));
    EXPECT_EQ(Control<QProgressBar>("PBTotal")->value(), 1000);
    EXPECT_TRUE(p.interaccion.mensajes.empty());
    // The last point's capture can be looked at.
    QPushButton* captura = Control<QPushButton>("CapturaBtn");
    ASSERT_TRUE(captura->isEnabled());
    captura->click();
    EXPECT_EQ(ventana->GraficaCaptura().Series(), 3);
    EXPECT_FALSE(ventana->GraficaCaptura().graph(1)->data()->isEmpty());
    // A cursor reads a point.
    ventana->Grafica().PonerCursor(2);
    EXPECT_TRUE(Control<QLabel>("LCursor")->text().startsWith(QStringLiteral("T550 ")));
    EXPECT_EQ(unidad.ValorSalida(2), 0);
}

TEST_F(RespuestaFrecuencia, CancelStopsTheSweepAndTheOutputsGoToZero)
{
    Barrer(40, QStringLiteral("5"), QStringLiteral("5000"));
    ASSERT_TRUE(Esperar([&] { return ventana->Resultado().Puntos.size() >= 2; }, 60000));
    Control<QPushButton>("CancelarBtn")->click();
    ASSERT_TRUE(Terminar());
    const std::size_t hechos = ventana->Resultado().Puntos.size();
    EXPECT_LT(hechos, 40u);
    EXPECT_GE(hechos, 2u);
    EXPECT_FALSE(p.estado.Ocupado());
    EXPECT_TRUE(Control<QPushButton>("IniciarBtn")->isEnabled());
    // The unit: nothing programmed, nothing playing.
    unidad.Avanzar(relojUnidad.ahora * 1000);
    EXPECT_NE(unidad.Estado(), 2);
    EXPECT_EQ(unidad.ValorSalida(2), 0);
    // What was measured stays, and can be saved.
    EXPECT_TRUE(Control<QPushButton>("GuardarBtn")->isEnabled());
}

TEST_F(RespuestaFrecuencia, BadSettingsAreRefusedBeforeTheUnitIsTouched)
{
    Barrer(0);
    ASSERT_EQ(p.interaccion.mensajes.size(), 1u);
    EXPECT_EQ(p.interaccion.mensajes[0].texto, QStringLiteral("T556"));
    EXPECT_FALSE(ventana->Barriendo());
    Poner("PuntosEdit", QStringLiteral("5"));
    Control<QComboBox>("RespuestaComboBox")->setCurrentIndex(0); // the reference's input
    Control<QPushButton>("IniciarBtn")->click();
    ASSERT_EQ(p.interaccion.mensajes.size(), 2u);
    EXPECT_EQ(p.interaccion.mensajes[1].texto, QStringLiteral("T558"));
    Control<QComboBox>("RespuestaComboBox")->setCurrentIndex(1);
    Poner("AmplitudEdit", QStringLiteral("9"));
    Poner("OffsetEdit", QStringLiteral("2"));
    Control<QPushButton>("IniciarBtn")->click();
    ASSERT_EQ(p.interaccion.mensajes.size(), 3u);
    EXPECT_EQ(p.interaccion.mensajes[2].texto, QStringLiteral("T214"));
    // A frequency the time base cannot sample: the warning line says so already.
    Poner("AmplitudEdit", QStringLiteral("5"));
    Poner("HastaEdit", QStringLiteral("20000"));
    EXPECT_TRUE(Control<QLabel>("LabelAviso")->text().startsWith(QStringLiteral("T166"))) << Control<QLabel>("LabelAviso")->text().toStdString();
    Control<QPushButton>("IniciarBtn")->click();
    ASSERT_EQ(p.interaccion.mensajes.size(), 4u);
    EXPECT_TRUE(p.interaccion.mensajes[3].texto.startsWith(QStringLiteral("T166")));
    EXPECT_TRUE(EsperarSAD(p.estado));
    EXPECT_TRUE(puertoUnidad->enviados.isEmpty());
}

TEST_F(RespuestaFrecuencia, TheResultIsSavedOpenedExportedDrawnAndPrinted)
{
    Barrer(4);
    ASSERT_TRUE(Terminar());
    const TResultadoBarrido medido = ventana->Resultado();
    const QString qvf = dir.filePath(QStringLiteral("rc.qvf")), csv = dir.filePath(QStringLiteral("rc.csv")),
                  png = dir.filePath(QStringLiteral("rc.png")), pdf = dir.filePath(QStringLiteral("rc.pdf"));
    p.dialogos.guardar = {qvf, csv, png};
    Control<QPushButton>("GuardarBtn")->click();
    Control<QPushButton>("CsvBtn")->click();
    Control<QPushButton>("ImagenBtn")->click();
    EXPECT_TRUE(p.interaccion.mensajes.empty());
    EXPECT_EQ(TextoFicheroBarrido(AbrirFicheroBarrido(qvf)), TextoFicheroBarrido(medido));
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), CsvBarrido(medido));
    const QImage imagen(png);
    EXPECT_EQ(imagen.size(), ventana->Grafica().size());

    // Opened into a fresh window: the settings and the plot follow the file.
    ventana = std::make_unique<TfrmRespuestaFrecuencia>(p, &p.ventana);
    ventana->show();
    p.dialogos.abrir = {qvf};
    Control<QPushButton>("AbrirBtn")->click();
    EXPECT_EQ(Control<QLineEdit>("PuntosEdit")->text(), QStringLiteral("4"));
    EXPECT_EQ(ventana->Grafica().Resultado().Puntos.size(), 4u);
    EXPECT_FALSE(Control<QPushButton>("CapturaBtn")->isEnabled()); // no capture in a file
    // A file that is no sweep: text 555 and the name.
    p.dialogos.abrir = {csv};
    Control<QPushButton>("AbrirBtn")->click();
    ASSERT_EQ(p.interaccion.mensajes.size(), 1u);
    EXPECT_TRUE(p.interaccion.mensajes[0].texto.startsWith(QStringLiteral("T555 ")));
    EXPECT_EQ(ventana->Grafica().Resultado().Puntos.size(), 4u);

    // The report, on the PDF printer of a machine without printers.
    p.dialogos.guardar = {pdf};
    Control<QPushButton>("ImprimirBtn")->click();
    ASSERT_TRUE(QFile::exists(pdf)) << "no printer stand-in";
    QProcess texto;
    texto.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!texto.waitForFinished(20000) || texto.exitCode() != 0)
        GTEST_SKIP() << "pdftotext not available";
    const QString t = QString::fromUtf8(texto.readAllStandardOutput());
    EXPECT_TRUE(t.contains(QStringLiteral("T531"))) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral("-3 dB:")));
    EXPECT_TRUE(t.contains(QStringLiteral("T547")));
}

} // namespace
} // namespace qv::test

// Decodings in the digital window: chosen in "Decodificar...", decoded off the window
// thread, drawn as rows under the traces at their samples, listed in the panel whose rows
// move the view, exported as CSV, kept in the set; failures say why and change nothing.
#include "visualiza_prueba.h"

#include "common/esperar.h"
#include "display/decodificacion_ventana.h"
#include "display/panel_decodificacion.h"
#include "model/escritura_segura.h"
#include "model/formatos.h"
#include "model/tablas_protocolo.h"
#include "plot/capa_decodificacion.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

namespace qv::test {
namespace {

constexpr double P = 26e-6; // 9600 baud read at four samples a bit

class Decodificacion : public VentanasPrueba {
protected:
    void SetUp() override
    {
        VentanasPrueba::SetUp();
        std::vector<std::uint8_t> m = TablaUart("Hola", TTramaUart{}, P);
        m.resize(600, 1);
        Dig(QStringLiteral("Rx"), int(m.size()), P, [&](int i) { return m[std::size_t(i)]; });
        Dig(QStringLiteral("Otra"), int(m.size()), P, [](int i) { return (i / 50) & 1; });
    }

    // The dialog's run: a decoder, its channels and options by the boxes' names.
    static void Elegir(QDialog& d, const QString& decodificador, const std::map<QString, QString>& cajas)
    {
        auto* cb = d.findChild<QComboBox*>(QStringLiteral("CBDecodificador"));
        ASSERT_NE(cb, nullptr);
        const int i = cb->findData(decodificador);
        ASSERT_GE(i, 0) << decodificador.toStdString();
        cb->setCurrentIndex(i);
        for (const auto& [nombre, valor] : cajas) {
            if (auto* c = d.findChild<QComboBox*>(nombre)) {
                const int k = c->findText(valor);
                ASSERT_GE(k, 0) << nombre.toStdString() << "=" << valor.toStdString();
                c->setCurrentIndex(k);
            } else if (auto* e = d.findChild<QLineEdit*>(nombre)) {
                e->setText(valor);
            } else {
                ADD_FAILURE() << "no box " << nombre.toStdString();
            }
        }
    }

    // Runs "Decodificar..." with `manejador` and waits for the decodings it leaves.
    bool Decodificar(TfrmSenalesDigitales& w, TModalPrueba::TManejador manejador)
    {
        principal.modal.Cuando(QStringLiteral("frmDecodificar"), std::move(manejador));
        const int antes = principal.modal.Ejecuciones();
        w.MenuEmergente().findChild<QAction*>(QStringLiteral("Decodificar2"))->trigger();
        if (!Esperar([&] { return principal.modal.Ejecuciones() > antes; }, 30000))
            return false;
        return Listas(w);
    }
    static bool Listas(TfrmSenalesDigitales& w)
    {
        const bool ok = Esperar([&] { return !w.Decodificaciones().Decodificando(); }, 30000);
        Procesar();
        return ok;
    }
    static bool Disponible(const TfrmSenalesDigitales& w)
    {
        for (const auto& e : w.Decodificaciones().Estado())
            if (e.Resultado && e.Resultado->Fallo.Clave == clave_decod::kTextoSinBiblioteca)
                return false;
        return true;
    }
};

TEST_F(Decodificacion, UartChosenInTheDialogIsDrawnUnderTheTracesAtItsSamples)
{
    auto* w = Abrir<TfrmSenalesDigitales>(16);
    ASSERT_EQ(w->SenalesVisibles, (QStringList{"Otra", "Rx"}));
    QStringList rotulos;
    ASSERT_TRUE(Decodificar(*w, [&](QDialog& d) {
        // Every box of the dialog has its caption as a buddy.
        for (QWidget* caja : d.findChildren<QWidget*>())
            if (qobject_cast<QComboBox*>(caja) || qobject_cast<QLineEdit*>(caja)) {
                bool conRotulo = false;
                for (QLabel* l : d.findChildren<QLabel*>())
                    conRotulo = conRotulo || l->buddy() == caja;
                EXPECT_TRUE(conRotulo) << caja->objectName().toStdString();
            }
        Elegir(d, QStringLiteral("uart"),
               {{QStringLiteral("CBCanal_rx"), QStringLiteral("Rx")}, {QStringLiteral("EdOpcion_baudrate"), QStringLiteral("9600")}});
        for (QLabel* l : d.findChildren<QLabel*>(QRegularExpression(QStringLiteral("^LCanal_"))))
            rotulos << l->text();
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
    }));
    if (!Disponible(*w))
        GTEST_SKIP() << "built without the decoding library";
    EXPECT_EQ(rotulos, (QStringList{"RX:", "TX:"}));
    // The set keeps the decoding, with only what differs from the library's defaults.
    ASSERT_EQ(Set().Decodificaciones.size(), 1u);
    const TDecodificacion& d = Set().Decodificaciones.front();
    EXPECT_EQ(d.Decodificador, QStringLiteral("uart"));
    EXPECT_EQ(d.Canales, (std::vector<TAjusteDecod>{{"rx", "Rx"}}));
    EXPECT_EQ(d.Opciones, (std::vector<TAjusteDecod>{{"baudrate", "9600"}}));
    EXPECT_TRUE(principal.estado.Modificado());
    EXPECT_TRUE(principal.interaccion.mensajes.empty()) << principal.interaccion.Textos().join('\n').toStdString();

    // Two rows (bits, and start/data/stop) below two traces: one band of 50, 25 each.
    TGrf& g = w->Grafica();
    const TDibujoDecodificacion& dibujo = w->Decodificaciones().Dibujo();
    ASSERT_EQ(dibujo.Filas().size(), 2u);
    EXPECT_DOUBLE_EQ(g.YAxis().Min(), -50);
    EXPECT_DOUBLE_EQ(g.YAxis().Max(), 100);
    EXPECT_EQ(dibujo.Filas()[0].Rotulo, QStringLiteral("RX bits"));
    EXPECT_EQ(dibujo.Filas()[1].Rotulo, QStringLiteral("RX"));
    EXPECT_DOUBLE_EQ(dibujo.Filas()[0].YAlto, 0);
    EXPECT_DOUBLE_EQ(dibujo.Filas()[1].YBajo, -50);
    // The traces keep their bands above.
    double x = 0, y = 0;
    ASSERT_TRUE(g.Serie(0).LeerPunto(1, x, y));
    EXPECT_DOUBLE_EQ(y, 25);

    // The 'H' box runs from its first data bit's sample to the end of its last one, and
    // is drawn there in its colour.
    const TFilaDibujoDecod& datos = dibujo.Filas()[1];
    const TResultadoDecod& r = *datos.Resultado;
    const TAnotacionDecod* h = nullptr;
    for (const TAnotacionDecod& a : r.Anotaciones)
        if (r.Clase(a) == QLatin1String("rx-data") && !h)
            h = &a;
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->Textos.value(0), QStringLiteral("48"));
    const QRect caja = dibujo.Caja(datos, *h);
    EXPECT_EQ(caja.left(), g.PixelX(h->Desde * P));
    EXPECT_EQ(caja.right(), g.PixelX(h->Hasta * P));
    EXPECT_GT(caja.top(), g.PixelY(datos.YAlto));
    EXPECT_LT(caja.bottom(), g.PixelY(datos.YBajo));
    // Zoomed to that byte, so that its box is wide enough to look at.
    g.AmpliarX(h->Desde * P - 20 * P, h->Hasta * P + 20 * P);
    g.replot();
    const QRect enZoom = dibujo.Caja(datos, *h);
    ASSERT_GT(enZoom.width(), 40);
    const QImage imagen = g.grab().toImage();
    const QRgb color = TDibujoDecodificacion::Color(h->Clase).rgb();
    EXPECT_EQ(imagen.pixel(enZoom.left() + 3, enZoom.top() + 3), color);
    EXPECT_NE(imagen.pixel(enZoom.left() - 3, enZoom.top() + 3), color);
    // The cursors cross the rows.
    w->Ejecutar(TComando::Cursores);
    Clic(*w, Qt::LeftButton, (h->Desde + 4) * P);
    g.grab();
    EXPECT_TRUE(g.CursorAzul().Visible);
}

TEST_F(Decodificacion, TheTableListsEveryAnnotationJumpsToItAndExportsCsv)
{
    Set().Decodificaciones = {{QStringLiteral("uart"), {{"rx", "Rx"}}, {{"baudrate", "9600"}}, {}}};
    auto* w = Abrir<TfrmSenalesDigitales>(16);
    ASSERT_TRUE(Listas(*w));
    if (!Disponible(*w))
        GTEST_SKIP() << "built without the decoding library";
    auto* panel = w->findChild<TPanelDecodificacion*>(QStringLiteral("PDecodificacion"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    const TResultadoDecod& r = *w->Decodificaciones().Estado().front().Resultado;
    QTableView& tabla = panel->Tabla();
    ASSERT_EQ(tabla.model()->rowCount(), int(r.Anotaciones.size()));
    EXPECT_EQ(Texto(*w, "LDecodificacion"), QStringLiteral("T617"));
    // By time: the first start bit first.
    EXPECT_EQ(tabla.model()->index(0, 2).data().toString(), QStringLiteral("Start bit"));
    EXPECT_EQ(tabla.model()->index(0, 0).data().toString(), FormatoGeneral(r.Anotaciones.front().Desde * P, 8));

    // A click on the third 'l' data row shows that byte in the middle, as a zoom.
    int fila = -1;
    for (int i = 0; i < tabla.model()->rowCount() && fila < 0; ++i)
        if (tabla.model()->index(i, 2).data().toString() == QLatin1String("6C"))
            fila = i;
    ASSERT_GE(fila, 0);
    TGrf& g = w->Grafica();
    const double antesMax = g.XAxis().Max();
    tabla.scrollTo(tabla.model()->index(fila, 0));
    QTest::mouseClick(tabla.viewport(), Qt::LeftButton, {}, tabla.visualRect(tabla.model()->index(fila, 1)).center());
    const TAnotacionDecod* l = panel->Modelo().Anotacion(fila);
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(g.Ampliada());
    EXPECT_NEAR((g.XAxis().Min() + g.XAxis().Max()) / 2, (l->Desde + l->Hasta) * P / 2, 1e-12);
    EXPECT_LT(g.XAxis().Min(), l->Desde * P);
    EXPECT_GT(g.XAxis().Max(), l->Hasta * P);
    EXPECT_LT(g.XAxis().Max() - g.XAxis().Min(), antesMax / 2);
    // Zoom - goes back to the whole capture.
    w->Ejecutar(TComando::ZoomMenos);
    EXPECT_FALSE(g.Ampliada());
    EXPECT_DOUBLE_EQ(g.XAxis().Max(), antesMax);

    // The CSV: the header and one line per annotation, the row ids of the library.
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("anotaciones.csv"));
    principal.dialogos.guardar.push_back(ruta);
    QTest::mouseClick(w->findChild<QToolButton*>(QStringLiteral("BtnExportarCSV")), Qt::LeftButton);
    QByteArray csv;
    ASSERT_TRUE(LeerFicheroEntero(ruta, csv));
    const QList<QByteArray> lineas = csv.split('\n');
    EXPECT_EQ(lineas.front(), "start_s,end_s,row,text\r");
    EXPECT_EQ(lineas.size(), qsizetype(r.Anotaciones.size()) + 2); // the last line end
    EXPECT_TRUE(csv.contains(",rx-data,6C\r\n"));
    EXPECT_EQ(principal.dialogos.llamadas.back().filtro, QStringLiteral("T605"));
    // A folder that is not there: the export says so.
    principal.dialogos.guardar.push_back(dir.filePath(QStringLiteral("no/hay.csv")));
    QTest::mouseClick(w->findChild<QToolButton*>(QStringLiteral("BtnExportarCSV")), Qt::LeftButton);
    ASSERT_FALSE(principal.interaccion.mensajes.empty());
    EXPECT_TRUE(principal.interaccion.mensajes.back().texto.startsWith(QStringLiteral("T240 ")));

    // The panel closes, and comes back with the next accepted dialog.
    QTest::mouseClick(w->findChild<QToolButton*>(QStringLiteral("SBcerrarDecod")), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    ASSERT_TRUE(Decodificar(*w, [](QDialog& d) { d.accept(); }));
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(Decodificacion, FailuresSayWhyAndLeaveTheSetAsItWas)
{
    // 200 us a sample cannot read 9600 baud: the rate needed is in the message.
    Dig(QStringLiteral("Lenta"), 100, 200e-6, [](int i) { return i % 7 == 0; });
    const int senales = Set().NumDig();
    Set().Decodificaciones = {{QStringLiteral("uart"), {{"rx", "Lenta"}}, {{"baudrate", "9600"}}, {}}};
    principal.maxSenalesDig = 16;
    auto* w = new TfrmSenalesDigitales(principal);
    w->SenalesVisibles = {QStringLiteral("Lenta")};
    principal.AnadirHija(w);
    w->Refrescar();
    ASSERT_TRUE(Listas(*w));
    if (!Disponible(*w))
        GTEST_SKIP() << "built without the decoding library";
    ASSERT_EQ(principal.interaccion.mensajes.size(), 1u);
    EXPECT_EQ(principal.interaccion.mensajes[0].sabor, TInteraccionGuion::Sabor::Aviso);
    EXPECT_EQ(principal.interaccion.mensajes[0].texto, QStringLiteral("T611"));
    const TFalloDecod& f = w->Decodificaciones().Estado().front().Resultado->Fallo;
    EXPECT_EQ(f.Argumentos, (QStringList{"5000", "9600", "28800", "34.72"}));
    EXPECT_TRUE(w->Decodificaciones().Dibujo().Filas().empty());
    EXPECT_DOUBLE_EQ(w->Grafica().YAxis().Min(), 0);
    EXPECT_EQ(Set().NumDig(), senales);
    EXPECT_EQ(Set().Decodificaciones.size(), 1u);
    EXPECT_FALSE(principal.estado.Modificado());
    // Nothing changed, nothing decoded again, nothing said again.
    w->Refrescar();
    Procesar();
    EXPECT_EQ(principal.interaccion.mensajes.size(), 1u);

    // In the dialog: a required channel left without a signal is refused there, with the
    // focus on its box; cancelling leaves the set's decodings as they were.
    QString foco;
    ASSERT_TRUE(Decodificar(*w, [&](QDialog& d) {
        auto* cb = d.findChild<QComboBox*>(QStringLiteral("CBDecodificacion"));
        cb->setCurrentIndex(cb->count() - 1); // a new one
        Elegir(d, QStringLiteral("i2c"), {{QStringLiteral("CBCanal_scl"), QStringLiteral("Lenta")}});
        d.findChild<QComboBox*>(QStringLiteral("CBCanal_sda"))->setCurrentIndex(0);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        if (QWidget* f = d.focusWidget())
            foco = f->objectName();
        d.reject();
    }));
    EXPECT_EQ(foco, QStringLiteral("CBCanal_sda"));
    EXPECT_EQ(principal.interaccion.mensajes.back().texto, QStringLiteral("T610"));
    EXPECT_EQ(Set().Decodificaciones.size(), 1u);
    EXPECT_FALSE(principal.estado.Modificado());

    // An option of the wrong kind is refused the same way.
    ASSERT_TRUE(Decodificar(*w, [&](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("EdOpcion_baudrate"))->setText(QStringLiteral("rapido"));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        d.reject();
    }));
    EXPECT_EQ(principal.interaccion.mensajes.back().texto, QStringLiteral("T612"));
    // Removing the decoding in the dialog removes it from the set.
    ASSERT_TRUE(Decodificar(*w, [&](QDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("BtnQuitar")), Qt::LeftButton);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
    }));
    EXPECT_TRUE(Set().Decodificaciones.empty());
    EXPECT_TRUE(principal.estado.Modificado());
    EXPECT_FALSE(w->findChild<TPanelDecodificacion*>(QStringLiteral("PDecodificacion"))->isVisible());
}

TEST_F(Decodificacion, ARenamedSignalKeepsItsDecodingAndOnlyWindowsShowingItsSignalsDrawIt)
{
    Set().Decodificaciones = {{QStringLiteral("uart"), {{"rx", "Rx"}}, {{"baudrate", "9600"}}, {}}};
    auto* conRx = Abrir<TfrmSenalesDigitales>(16);
    auto* sinRx = new TfrmSenalesDigitales(principal);
    sinRx->SenalesVisibles = {QStringLiteral("Otra")};
    principal.AnadirHija(sinRx);
    sinRx->Refrescar();
    ASSERT_TRUE(Listas(*conRx));
    if (!Disponible(*conRx))
        GTEST_SKIP() << "built without the decoding library";
    EXPECT_EQ(conRx->Decodificaciones().Dibujo().Filas().size(), 2u);
    EXPECT_TRUE(sinRx->Decodificaciones().Estado().empty());
    EXPECT_DOUBLE_EQ(sinRx->Grafica().YAxis().Min(), 0);

    ASSERT_TRUE(Set().RenombrarDig(QStringLiteral("Rx"), QStringLiteral("Rx2")));
    principal.estado.AvisarRenombrada(QStringLiteral("Rx"), QStringLiteral("Rx2"));
    EXPECT_EQ(Set().Decodificaciones.front().SenalDe(QStringLiteral("rx")), QStringLiteral("Rx2"));
    conRx->Refrescar();
    ASSERT_TRUE(Listas(*conRx));
    EXPECT_EQ(conRx->Decodificaciones().Dibujo().Filas().size(), 2u);
}

} // namespace
} // namespace qv::test

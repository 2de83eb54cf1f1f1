// From the main window's "E/S" command to a capture, as a user goes: an empty
// configuration, analog input C1 at +-10 V, digital inputs A1 to A8, a sine on Y1, a
// pulse train on W1, a table made in the table editor on Y2, an analog operation
// "C1 x 2", 1 ms over 1 s, "Guardar archivo configuración"; then the command-line
// companion captures that file from the simulated unit.
#include "ficheros_prueba.h"

#include "channels/menu_es.h"
#include "e2e/procesos.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/generadores.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <cmath>
#include <numbers>

namespace qv::test {
namespace {

class ConfiguracionES : public ArchivosPrueba {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        puesto.modeloM = false;
        CrearConDialogos();
    }
    TEstadoPrograma& E() { return ventana->Estado(); }
};

// A value put into a cell of the table editor's grid, as the cell's editor commits it.
void EscribirCelda(QTableWidget& rejilla, int fila, const QString& texto)
{
    rejilla.setCurrentCell(fila, 1);
    rejilla.item(fila, 1)->setText(texto);
}

TEST_F(ConfiguracionES, DeNadaALaCapturaPorLasVentanas)
{
    const QString tabla = Ruta(QStringLiteral("escalera.tba"));
    const std::vector<float> valoresTabla = {-2.5f, 0, 2.5f, 5};

    // C1 at +-10 V.
    modal.Cuando(QStringLiteral("frmActivaEA"), [](QDialog& a) {
        Elegir(a, "ComBoxVoltajes", QStringLiteral("\u00b110V"));
        Pulsar(a, "OkBtn");
    });
    // Y1 (ticked without generator, so its window opens): a sine of 4 V, 0.5 V offset, 5 Hz.
    modal.Cuando(QStringLiteral("frmActiveSA"), [](QDialog& s) { Pulsar(s, "SenoButton"); });
    modal.Cuando(QStringLiteral("frmGenSeno"), [](QDialog& g) {
        Escribir(g, "RetardoEdit", QStringLiteral("0"));
        Escribir(g, "AOffsetEdit", QStringLiteral("0.5"));
        Escribir(g, "ASenoEdit", QStringLiteral("4"));
        Escribir(g, "FrecuEdit", QStringLiteral("5"));
        Escribir(g, "DesfaseEdit", QStringLiteral("0"));
        Pulsar(g, "OKBtn");
    });
    // W1: 100 ms on, 100 ms off.
    modal.Cuando(QStringLiteral("frmActiveSD"), [](QDialog& s) { Pulsar(s, "TrenButton"); });
    modal.Cuando(QStringLiteral("frmGenTren"), [](QDialog& g) {
        Escribir(g, "RetardoEdit", QStringLiteral("0"));
        Elegir(g, "tRetarComboBox", QStringLiteral("milisegundos"));
        Escribir(g, "OnEdit", QStringLiteral("100"));
        Escribir(g, "OffEdit", QStringLiteral("100"));
        Pulsar(g, "OKBtn");
    });
    // Y2: a table of four values, made in the table editor and then chosen with "...".
    modal.Cuando(QStringLiteral("frmActiveSA"), [](QDialog& s) { Pulsar(s, "TablaButton"); });
    modal.Cuando(QStringLiteral("frmEditTab"), [&](QDialog& t) {
        auto* cuenta = Control<QSpinBox>(t, "SENumVal");
        ASSERT_NE(cuenta, nullptr);
        for (std::size_t i = 1; i < valoresTabla.size(); ++i)
            QTest::keyClick(cuenta, Qt::Key_Up);
        auto* rejilla = Control<QTableWidget>(t, "SGrid");
        ASSERT_NE(rejilla, nullptr);
        ASSERT_EQ(rejilla->rowCount(), int(valoresTabla.size()));
        for (std::size_t i = 0; i < valoresTabla.size(); ++i)
            EscribirCelda(*rejilla, int(i), QString::number(valoresTabla[i]));
        dialogos.guardar.push_back(tabla);
        Pulsar(t, "SBGuardarComo");
        Pulsar(t, "SpeedButton1");
    });
    modal.Cuando(QStringLiteral("frmGridAna"), [&](QDialog& g) {
        Pulsar(g, "SpbEditor");
        dialogos.abrir.push_back(tabla);
        Pulsar(g, "SBrowse");
        EXPECT_EQ(g.findChild<QLineEdit*>(QStringLiteral("NombreFichEdit"))->text(), QStringLiteral("escalera.tba"));
        Escribir(g, "RetardoEdit", QStringLiteral("0"));
        Pulsar(g, "OKBtn");
    });
    modal.Cuando(QStringLiteral("frmOperacionesAna"), [](QDialog& o) {
        Elegir(o, "Operando1ListBox", QStringLiteral("InAnaC1"));
        Pulsar(o, "SpButtonPor");
        Escribir(o, "Operando2Edit", QStringLiteral("2"));
        Escribir(o, "NombreEdit", QStringLiteral("C1x2"));
        Pulsar(o, "AnadirBtn");
        Pulsar(o, "AceptarBtn");
    });
    modal.Cuando(QStringLiteral("frmMenuES"), [this](QDialog& d) {
        Pulsar(d, "EntAna1");
        Marcar(d, "CheckBox1");
        for (int i = 1; i <= 8; ++i)
            Marcar(d, NombreCheckCanal(i).toLatin1().constData());
        EXPECT_TRUE(Marcar(d, "CheckBox9"));   // Y1
        EXPECT_TRUE(Marcar(d, "CheckBoxSD1")); // W1
        EXPECT_TRUE(Marcar(d, "CheckBox10"));  // Y2
        Elegir(d, "tMuesComboBox", QStringLiteral("milisegundos"));
        Escribir(d, "tMuesEdit", QStringLiteral("1"));
        Elegir(d, "tAnaComboBox", QStringLiteral("segundos"));
        Escribir(d, "tAnaEdit", QStringLiteral("1"));
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("MuestrasEdit"))->text(), QStringLiteral("1001"));
        Pulsar(d, "SBOpAnalogico");
        // Nothing of it is the program's configuration before "Aceptar".
        EXPECT_EQ(E().Config(), nullptr);
        Pulsar(d, "OKBtn");
    });
    Accion("SpBtnES")->trigger();
    EXPECT_EQ(modal.Pendientes(), 0);
    EXPECT_TRUE(interaccion.mensajes.empty()) << Textos().join(QLatin1Char(',')).toStdString();
    ASSERT_NE(E().Config(), nullptr);
    EXPECT_EQ(E().Trabajo(), nullptr);
    EXPECT_TRUE(Activo("GrabarConES1"));
    EXPECT_GT(QFileInfo(tabla).size(), 0);

    // No name yet: "Guardar archivo configuración" asks for one.
    const QString cfg = Ruta(QStringLiteral("ensayo.cfg"));
    dialogos.guardar.push_back(cfg);
    Accion("GrabarConES1")->trigger();
    QFile f(cfg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lineas = f.readAll().split('\n');
    ASSERT_GE(lineas.size(), 55);
    EXPECT_EQ(lineas[1], QByteArray("0 1 milisegundos 1 segundos 1001$\r"));
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(lineas[2 + i], QStringLiteral("InDigA%1 true %1$\r").arg(i).toLatin1());
    EXPECT_EQ(lineas[20], QByteArray("InAnaC1 true 1 Normal 10V 1 Voltios$\r"));
    EXPECT_TRUE(lineas[46].startsWith("OutAnY1 true 1 Seno ")) << lineas[46].constData();
    EXPECT_EQ(lineas[52], QByteArray("C1x2 * false 1 true 2 255 Voltios$\r"));

    // The companion, from a program folder of its own, captures that file from the
    // simulated unit (sped up).
    TSadsim sim;
    ASSERT_TRUE(sim.Arrancar({QStringLiteral("--speed"), QStringLiteral("100")}));
    const QDir bin(QStringLiteral(QV_BIN_DIR));
    QTemporaryDir programa;
    ASSERT_TRUE(QFile::copy(bin.filePath(QStringLiteral("quorvane-cli")), programa.filePath(QStringLiteral("quorvane-cli"))));
    ASSERT_TRUE(QFile::copy(bin.filePath(QStringLiteral("idioma.lng")), programa.filePath(QStringLiteral("idioma.lng"))));
    const QString qvn = Ruta(QStringLiteral("ensayo.qvn"));
    QProcess cli;
    cli.start(programa.filePath(QStringLiteral("quorvane-cli")),
              {QStringLiteral("capture"), cfg, QStringLiteral("-o"), qvn, QStringLiteral("--port"), sim.enlace});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    TCjtSenales s(textos, interaccion);
    TConfigES c;
    TOperaciones o;
    TFicheroConfig fc(textos, interaccion, dir.path());
    ASSERT_TRUE(AbrirFicheroSenales(qvn, fc, c, o, s));
    const TSenalAna* c1 = s.BuscarAna(QStringLiteral("InAnaC1"));
    const TSenalAna* y1 = s.BuscarAna(QStringLiteral("OutAnY1"));
    const TSenalAna* y2 = s.BuscarAna(QStringLiteral("OutAnY2"));
    const TSenalAna* doble = s.BuscarAna(QStringLiteral("C1x2"));
    const TSenalDig* a1 = s.BuscarDig(QStringLiteral("InDigA1"));
    const TSenalDig* w1 = s.BuscarDig(QStringLiteral("OutDiW1"));
    ASSERT_TRUE(c1 && y1 && y2 && doble && a1 && w1) << s.NombresAna().join(' ').toStdString();
    const int n = 1001;
    ASSERT_EQ(c1->NumMuestras(), n);
    ASSERT_EQ(y1->NumMuestras(), n);
    ASSERT_EQ(w1->NumMuestras(), n);
    int fallos = 0; // reported once, not a thousand times
    for (int i = 0; i + 1 < n && fallos < 5; ++i) {
        const double t = i * 0.001;
        const double seno = 0.5 + 4 * std::sin(2 * std::numbers::pi * 5 * t);
        // The generated signal is the formula; the captured C1 is it played by Y1 in
        // output counts and read back by the input converter.
        fallos += std::abs(y1->LeerMuestra(i) - seno) > 1e-4;
        fallos += std::abs(c1->LeerMuestra(i) - seno) * CuentasPorVoltio > 2.0;
        // High from each period's start to 100 ms after it, both edges included.
        const int enPeriodo = i % 200;
        const bool alto = i == 0 || (enPeriodo >= 1 && enPeriodo <= 100);
        fallos += w1->LeerMuestra(i) != (alto ? 1 : 0);
        fallos += a1->LeerMuestra(i) != w1->LeerMuestra(i);
        fallos += y2->LeerMuestra(i) != valoresTabla[std::size_t(i) % valoresTabla.size()];
        fallos += std::abs(doble->LeerMuestra(i) - 2 * c1->LeerMuestra(i)) > 1e-5f;
        EXPECT_EQ(fallos, 0) << "sample " << i << ": C1 " << c1->LeerMuestra(i) << " Y1 " << y1->LeerMuestra(i)
                             << " W1 " << int(w1->LeerMuestra(i)) << " A1 " << int(a1->LeerMuestra(i)) << " Y2 "
                             << y2->LeerMuestra(i) << " C1x2 " << doble->LeerMuestra(i);
    }
}

TEST_F(ConfiguracionES, CanceladaNoCambiaNadaYLaCopiaSeLibera)
{
    AbrirConfiguracion();
    E().Config()->EntDig(4).Activo = true;
    modal.Cuando(QStringLiteral("frmMenuES"), [this](QDialog& d) {
        // The window works on a copy of the current configuration.
        EXPECT_TRUE(d.findChild<QCheckBox*>(QStringLiteral("CheckBoxED4"))->isChecked());
        EXPECT_NE(E().Trabajo(), E().Config());
        Marcar(d, "CheckBoxED4", false);
        Pulsar(d, "CancelBtn");
    });
    Accion("VerConfig1")->trigger();
    EXPECT_EQ(modal.vistos, QStringList{QStringLiteral("frmMenuES")});
    EXPECT_TRUE(E().Config()->EntDig(4).Activo);
    EXPECT_EQ(E().Trabajo(), nullptr);
}

} // namespace
} // namespace qv::test

// A capture made by the command-line companion from the simulated unit opens in the
// program: the companion and the program share the file format through the model,
// and this checks that the two really agree end to end.
#include "ficheros_prueba.h"

#include "model/generadores.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QFile>
#include <QProcess>

namespace qv::test {
namespace {

class FicheroCapturado : public ArchivosPrueba {
protected:
    QProcess sim;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // The companion reads its texts from its own folder and writes Programa.cfg
        // there: give it a folder of its own.
        const QString bin = QStringLiteral(QV_BIN_DIR);
        for (const char* f : {"quorvane-cli", "idioma.lng"})
            ASSERT_TRUE(QFile::copy(bin + QLatin1Char('/') + QLatin1String(f), Ruta(QLatin1String(f))));
        QFile::setPermissions(Ruta(QStringLiteral("quorvane-cli")),
                              QFile::permissions(bin + QStringLiteral("/quorvane-cli")));
        sim.start(bin + QStringLiteral("/sadsim"),
                  {QStringLiteral("--link"), Ruta(QStringLiteral("ttySAD")), QStringLiteral("--speed"),
                   QStringLiteral("100")});
        ASSERT_TRUE(sim.waitForStarted(5000));
        ASSERT_TRUE(sim.waitForReadyRead(5000)); // first line: the pseudo-terminal
        CrearConDialogos();
    }

    void TearDown() override
    {
        sim.terminate();
        sim.waitForFinished(3000);
    }

    // Analog output 1 (step to 2.5 V) loops back into analog input 1, 50 samples of 1 ms.
    QString Configuracion()
    {
        TConfigES c;
        c.NumMuestras = 50;
        c.Periodo = 1;
        c.UnidadPeriodo = Unidad::Mili;
        c.TiempoAnalisis = 50;
        c.UnidadAnalisis = Unidad::Mili;
        c.EntAna(1).Activo = true;
        c.SalAna(1).Activo = true;
        c.SalAna(1).Generador = std::make_unique<TGenEscalon>(textos, textos.BuscarTexto(195),
                                                              textos.BuscarTexto(194), 0.01f, 2.5f, 0.0f);
        const QString ruta = Ruta(QStringLiteral("escalon.cfg"));
        TFicheroConfig(textos, interaccion, dir.path()).EscribirConfiguracion(ruta, c, TOperaciones());
        return ruta;
    }
};

TEST_F(FicheroCapturado, LaCapturaDelCompanionSeAbreEnElPrograma)
{
    const QString salida = Ruta(QStringLiteral("captura.qvn"));
    QProcess cli;
    cli.start(Ruta(QStringLiteral("quorvane-cli")),
              {QStringLiteral("capture"), Configuracion(), QStringLiteral("-o"), salida, QStringLiteral("--port"),
               Ruta(QStringLiteral("ttySAD"))});
    ASSERT_TRUE(cli.waitForFinished(30000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    dialogos.abrir.push_back(salida);
    ventana->ComandosArchivo().SpBtnAbrirClick();
    ASSERT_TRUE(interaccion.mensajes.empty()) << interaccion.Textos().join('|').toStdString();
    auto& e = ventana->Estado();
    ASSERT_NE(e.Config(), nullptr);
    EXPECT_EQ(e.Config()->NumMuestras, 50);
    ASSERT_NE(e.Senales(), nullptr);
    const TSenalAna* entrada = e.Senales()->BuscarAna(QStringLiteral("InAnaC1"));
    const TSenalAna* escalon = e.Senales()->BuscarAna(QStringLiteral("OutAnY1"));
    ASSERT_TRUE(entrada && escalon);
    ASSERT_EQ(entrada->NumMuestras(), 50);
    // Before the step the loop carries 0 V, after it 2.5 V, within two input counts.
    EXPECT_NEAR(entrada->LeerMuestra(2), 0.0f, 2 * 10.0f / 2048);
    EXPECT_NEAR(entrada->LeerMuestra(30), 2.5f, 2 * 10.0f / 2048);
    EXPECT_FLOAT_EQ(escalon->LeerMuestra(30), 2.5f);
    EXPECT_TRUE(ventana->windowTitle().endsWith(QStringLiteral("captura.qvn")));
}

} // namespace
} // namespace qv::test

// The shipped demo as a new user meets it: opened in the main window and programmed
// again at once with "Prog." -> "Aceptar", unchanged, it asks nothing and keeps its
// signals, since its sample count is the one the time-base panel gives.
#include "principal_prueba.h"
#include "unidad_virtual.h"

#include "model/config_es.h"
#include "model/senales.h"

#include <QStandardPaths>
#include <QTemporaryDir>

namespace qv::test {
namespace {

class Demo : public PrincipalPrueba {
protected:
    QTemporaryDir dir;
    TUnidadSimulada unidad;
    TPuertoUnidad* puerto = nullptr;

    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj, dir.path());
        ventana->show();
        auto p = std::make_unique<TPuertoUnidad>(reloj, unidad);
        puerto = p.get();
        ventana->Estado().EnlaceSAD->PonerPuerto(std::move(p), false);
    }
    void TearDown() override { ventana.reset(); }
};

TEST_F(Demo, ProgramarElDemoSinCambiosNoPreguntaNada)
{
    ASSERT_TRUE(ventana->ComandosArchivo().AbrirFicheroSenales(QStringLiteral(QV_SOURCE_DIR "/data/ejemplos/demo.qvn")));
    const TEstadoPrograma& e = ventana->Estado();
    ASSERT_TRUE(e.SenalesActuales && e.ConfigActual);
    const TCjtSenales* abierto = e.SenalesActuales.get();
    interaccion.mensajes.clear();

    modal.accion = [](QDialog& d) { Pulsar(d, "OKBtn"); };
    ventana->Ejecutar(TComando::Inmediata);
    modal.accion = nullptr;

    EXPECT_TRUE(interaccion.Textos().isEmpty()) << interaccion.Textos().join('|').toStdString();
    EXPECT_EQ(puerto->Empiezan("7,").size(), 1); // programmed
    // The opened set stays, with its windows.
    EXPECT_EQ(e.SenalesActuales.get(), abierto);
    EXPECT_EQ(modal.vistos, QStringList{QStringLiteral("frmProgRetardo")});
}

} // namespace
} // namespace qv::test

// "Save before discarding?" at every place that offers it: a save that is cancelled or
// fails keeps the set, its windows, the configuration and the unit as they were; a set
// made by a read-back never inherits the file of the set it replaced.
#include "ficheros_prueba.h"
#include "unidad_virtual.h"

#include "link/com_capvis.h"
#include "link/secuencia_captura.h"

#include <QFile>
#include <QLabel>
#include <QStandardPaths>

namespace qv::test {
namespace {

class GuardarAntes : public ArchivosPrueba {
protected:
    std::unique_ptr<TUnidadSimulada> unidad;
    TPuertoUnidad* puerto = nullptr;

    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
        Reiniciar();
    }
    void TearDown() override { ventana.reset(); }

    // A fresh program and unit; the window's link goes before its unit.
    void Reiniciar()
    {
        ventana.reset();
        unidad = std::make_unique<TUnidadSimulada>();
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj, dir.path(), &dialogos);
        ventana->show();
        auto p = std::make_unique<TPuertoUnidad>(reloj, *unidad);
        puerto = p.get();
        E().EnlaceSAD->PonerPuerto(std::move(p), false);
        interaccion.mensajes.clear();
        interaccion.respuestas.clear();
        dialogos.abrir.clear();
        dialogos.guardar.clear();
        dialogos.llamadas.clear();
    }

    TEstadoPrograma& E() { return ventana->Estado(); }
    int EstadoUnidad()
    {
        unidad->Avanzar(reloj.ahora * 1000);
        return unidad->Estado();
    }

    // The unit holds a finished capture of the current configuration.
    void CapturaTerminada()
    {
        ASSERT_TRUE(E().EnlaceSAD->ProgramarRetardo(*E().ConfigActual));
        TSecuenciaCaptura::GuardarPrograma(*E().ConfigActual, TOperaciones(), textos, interaccion, dir.path());
        reloj.ahora += 1000;
        ASSERT_EQ(EstadoUnidad(), 3);
        puerto->enviados.clear();
    }
};

TEST_F(GuardarAntes, UnGuardadoCanceladoOFallidoNoDescartaNada)
{
    // Typing another sampling period in a time-base dialog, then "Aceptar".
    auto otraBase = [](QDialog& d) {
        Escribir(d, "tMuesEdit", QStringLiteral("3"));
        Pulsar(d, "OKBtn");
    };
    const QString otroFichero = EscribirFicheroSenales(QStringLiteral("otro.qvn"), {QStringLiteral("X")});
    const QString otraConfig = EscribirFicheroSenales(QStringLiteral("otra.qvn"), {QStringLiteral("X")}, {}, Config(2));
    QFile(Ruta(QStringLiteral("fichero"))).open(QIODevice::WriteOnly);
    // A folder that is a plain file: no one, root included, can write below it.
    const QString malo = Ruta(QStringLiteral("fichero/x.qvn"));

    struct TSitio {
        const char* nombre;
        int pregunta;
        std::deque<int> antes; // answers to the questions asked before it
        bool capturaTerminada;
        std::function<void()> ejecutar;
    };
    auto con = [this](TComando c, TModalPrueba::TManejador m = {}) {
        return [this, c, m] {
            modal.accion = m;
            ventana->Ejecutar(c);
            modal.accion = nullptr;
        };
    };
    const std::vector<TSitio> sitios = {
        {"Prog.", 198, {}, false, con(TComando::Inmediata, otraBase)},
        {"Retardada", 198, {}, false, con(TComando::Retardada,
                                          [&](QDialog& d) {
                                              Escribir(d, "RetardoEdit", QStringLiteral("1"));
                                              otraBase(d);
                                          })},
        {"Trigger analógico", 198, {}, false, con(TComando::TriggerAnalogico,
                                                  [&](QDialog& d) {
                                                      Pulsar(d, "C1");
                                                      Escribir(d, "Edit1", QStringLiteral("1"));
                                                      otraBase(d);
                                                  })},
        {"Trigger digital", 198, {}, false, con(TComando::TriggerDigital, otraBase)},
        {"Configuración", 198, {}, false, con(TComando::VerConfig, otraBase)},
        {"Leer", 208, {Respuesta::No}, true, con(TComando::LeerDatos)},
        {"Abrir", 210, {}, false, [&] {
             dialogos.abrir.push_back(otroFichero);
             ventana->Ejecutar(TComando::Abrir);
         }},
        {"Abrir configuración", 210, {}, false, [&] {
             dialogos.abrir.push_back(otraConfig);
             ventana->Ejecutar(TComando::AbrirConfig);
         }},
        {"Cerrar", 210, {}, false, con(TComando::Cerrar)},
        {"Salir", 210, {}, false, con(TComando::Salir)},
    };

    for (const TSitio& sitio : sitios) {
        for (const bool falla : {false, true}) {
            SCOPED_TRACE(std::string(sitio.nombre) + (falla ? ", save fails" : ", save cancelled"));
            Reiniciar();
            // 100 samples of 1 ms, and one unsaved signal of that time base in its window.
            auto c = std::make_unique<TConfigES>();
            c->NumMuestras = 100;
            c->Periodo = 1;
            c->UnidadPeriodo = Unidad::Mili;
            c->TiempoAnalisis = 99;
            c->UnidadAnalisis = Unidad::Mili;
            c->EntAna(1).Activo = true;
            E().ConfigActual = std::move(c);
            E().SenalesActuales = std::make_unique<TCjtSenales>(textos, interaccion);
            E().SenalesActuales->AnadirAna(std::make_unique<TSenalAna>(textos, QStringLiteral("S"), false, nullptr,
                                                                       nullptr, 1, 0.001, 100));
            ventana->AbrirVentanaAnalogica(QStringLiteral("S"));
            E().MarcarModificado();
            if (sitio.capturaTerminada)
                CapturaTerminada();
            const TCjtSenales* conjunto = E().SenalesActuales.get();
            const TConfigES* config = E().ConfigActual.get();
            const QString titulo = ventana->windowTitle();

            interaccion.respuestas = sitio.antes;
            interaccion.respuestas.push_back(Respuesta::Si);
            if (falla)
                dialogos.guardar.push_back(malo);
            sitio.ejecutar();

            const QStringList vistos = interaccion.Textos();
            EXPECT_TRUE(vistos.contains(QStringLiteral("T%1").arg(sitio.pregunta))) << vistos.join('|').toStdString();
            ASSERT_EQ(dialogos.llamadas.size(), sitio.nombre == std::string("Abrir") ||
                                                        sitio.nombre == std::string("Abrir configuración")
                                                    ? 2u
                                                    : 1u);
            EXPECT_TRUE(dialogos.llamadas.back().guardar);
            EXPECT_EQ(vistos.contains(QStringLiteral("T243 ") + malo), falla);
            EXPECT_FALSE(QFile::exists(malo));
            EXPECT_TRUE(ventana->isVisible());
            EXPECT_EQ(ventana->AreaVentanas().subWindowList().size(), 1);
            // The very same objects, or the old ones were freed: nothing more to look at.
            ASSERT_EQ(E().SenalesActuales.get(), conjunto);
            EXPECT_EQ(conjunto->NombresAna(), QStringList{QStringLiteral("S")});
            ASSERT_EQ(E().ConfigActual.get(), config);
            EXPECT_EQ(config->NumMuestras, 100);
            EXPECT_EQ(config->Periodo, 1);
            EXPECT_TRUE(E().Modificado);
            EXPECT_EQ(E().FicheroAbierto, TEstadoPrograma::SinFicheroSenales);
            EXPECT_EQ(E().FicheroGuardarComo, TEstadoPrograma::SinFicheroSenales);
            EXPECT_EQ(ventana->windowTitle(), titulo);
            // Nothing programmed, nothing read: the unit is where it was.
            EXPECT_TRUE(puerto->Empiezan("7,").isEmpty());
            EXPECT_TRUE(puerto->Empiezan("6,").isEmpty());
            EXPECT_TRUE(puerto->Empiezan("9#").isEmpty());
            EXPECT_EQ(EstadoUnidad(), sitio.capturaTerminada ? 3 : 0);
        }
    }
}

// Open a file, read a capture into a new set ("No", "No"): the new set has no file name,
// so "Guardar" asks for one and the opened file stays as it is on disk. The unit's
// state 3 is then a capture already read, until another capture is programmed.
TEST_F(GuardarAntes, LecturaEnConjuntoNuevoNoHeredaElFicheroYSabeQueLaLeyo)
{
    const QString a = EscribirFicheroSenales(QStringLiteral("a.qvn"), {QStringLiteral("C1")});
    const QByteArray original = Bytes(a);
    dialogos.abrir.push_back(a);
    ventana->Ejecutar(TComando::Abrir);
    ASSERT_EQ(E().FicheroAbierto, a);
    CapturaTerminada();

    interaccion.respuestas = {Respuesta::No, Respuesta::No};
    ventana->Ejecutar(TComando::LeerDatos);
    ASSERT_EQ(interaccion.Textos(), (QStringList{QStringLiteral("T207"), QStringLiteral("T208")}));
    ASSERT_NE(E().SenalesActuales, nullptr);
    EXPECT_EQ(E().SenalesActuales->BuscarAna(QStringLiteral("C1")), nullptr);
    EXPECT_GT(E().SenalesActuales->NumAna(), 0);
    EXPECT_EQ(E().FicheroAbierto, TEstadoPrograma::SinFicheroSenales);
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("T1000"));
    EXPECT_TRUE(E().Modificado);

    const std::size_t dialogosAntes = dialogos.llamadas.size();
    ventana->Ejecutar(TComando::Guardar);
    ASSERT_EQ(dialogos.llamadas.size(), dialogosAntes + 1);
    EXPECT_TRUE(dialogos.llamadas.back().guardar);
    EXPECT_EQ(dialogos.llamadas.back().inicial, TEstadoPrograma::SinFicheroSenales);
    EXPECT_EQ(Bytes(a), original);
    EXPECT_TRUE(E().Modificado);

    // "Test" and "Prog." know the data were read.
    QString estado;
    auto leerEstado = [&](QDialog& d) { estado = d.findChild<QLabel*>(QStringLiteral("Estado"))->text(); };
    modal.Cuando(QStringLiteral("frmTestInterface"), leerEstado);
    ventana->Ejecutar(TComando::Test);
    EXPECT_EQ(estado, QStringLiteral(" T300"));
    interaccion.mensajes.clear();
    interaccion.respuestas = {Respuesta::No};
    ventana->Ejecutar(TComando::Inmediata);
    EXPECT_EQ(interaccion.Textos(), QStringList{QStringLiteral("T301.T215")});

    // Another capture, finished and not read: its data are pending again.
    CapturaTerminada();
    modal.Cuando(QStringLiteral("frmTestInterface"), leerEstado);
    ventana->Ejecutar(TComando::Test);
    EXPECT_EQ(estado, QStringLiteral(" T130"));
}

} // namespace
} // namespace qv::test

// No command of the main window is inert: every row of the command table has a handler
// or, whenever it is enabled, an active child window that carries it out; and the
// representation commands that the signal windows carry out do their work, the
// calculators included. Printing and picture export are left out: they are being
// built apart.
#include "common/esperar.h"
#include "principal_prueba.h"

#include "app/comandos_archivo.h"
#include "app/comandos_captura.h"
#include "app/comandos_puesto.h"
#include "app/comandos_representacion.h"
#include "app/comandos_ventanas.h"
#include "app/tabla_comandos.h"
#include "display/datos.h"
#include "display/senales_digitales.h"
#include "display/visualiza_senales.h"
#include "plot/grf.h"

#include <QApplication>
#include <QListWidget>

#include <set>

namespace qv::test {
namespace {

const std::set<TComando> kImpresion = {TComando::ExportarBMP, TComando::CopiarBMP, TComando::ExportarWMF,
                                       TComando::Imprimir};
// The documents give these no help number.
const std::set<TComando> kSinAyuda = {TComando::Cerrar,  TComando::Opciones, TComando::Ocupar,
                                      TComando::Liberar, TComando::PCsEnRed, TComando::Remoto,
                                      TComando::PerfilRemoto, TComando::AcercaDe};

class OrdenesVivas : public PrincipalPrueba {
protected:
    void SetUp() override
    {
        Crear();
        AbrirConfiguracion();
        AbrirConjunto(3); // S2, S1, S0
        auto d = std::make_unique<TSenalDig>(QStringLiteral("D0"), false, nullptr, nullptr, 0, 0.001, 4);
        d->PonerMuestra(0, 1);
        ventana->Estado().Senales()->AnadirDig(std::move(d));
        ventana->Estado().Notificar();
    }
    static void Procesar()
    {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    std::vector<TFilaComando> Filas()
    {
        TAreasComandos a{*ventana,
                         ventana->ComandosArchivo(),
                         ventana->ComandosVentanas(),
                         ventana->ComandosRepresentacion(),
                         ventana->ComandosCaptura(),
                         ventana->ComandosPuesto()};
        return TablaComandos(a);
    }
    TVentanaSenales* Activa() const { return dynamic_cast<TVentanaSenales*>(ventana->HijaActiva()); }
};

TEST_F(OrdenesVivas, CadaFilaTieneManejadorOUnaHijaQueLaAdmite)
{
    const std::vector<TFilaComando> filas = Filas();
    std::set<TComando> admitidas;
    // With each kind of child active, an enabled command without handler must be one
    // the child carries out.
    auto revisar = [&](const char* cual) {
        SCOPED_TRACE(cual);
        IVentanaHija* hija = ventana->HijaActiva();
        ASSERT_NE(hija, nullptr);
        for (const TFilaComando& f : filas) {
            if (f.manejador || kImpresion.count(f.comando))
                continue;
            if (hija->Admite(f.comando))
                admitidas.insert(f.comando);
            else
                EXPECT_FALSE(Activo(f.accion)) << f.accion << " is enabled and nothing carries it out";
        }
    };
    ventana->ComandosVentanas().AbrirVentanaAnalogica(QStringLiteral("a"));
    revisar("analog window");
    ventana->ComandosVentanas().AbrirVentanaDigital(QStringLiteral("d"));
    revisar("digital window");
    TfrmDatos::Abrir(*ventana, {QStringLiteral("S0")}, {});
    revisar("data table");

    for (const TFilaComando& f : filas) {
        SCOPED_TRACE(f.accion);
        if (!kImpresion.count(f.comando)) {
            EXPECT_TRUE(f.manejador || admitidas.count(f.comando)) << "nothing ever carries it out";
        }
        EXPECT_EQ(f.ayuda == 0, kSinAyuda.count(f.comando) == 1) << "help number " << f.ayuda;
    }
}

TEST_F(OrdenesVivas, LasOrdenesDeRepresentacionHacenSuTrabajo)
{
    ventana->ComandosVentanas().AbrirVentanaAnalogica(QStringLiteral("a"));
    Procesar();
    TVentanaSenales* ana = Activa();
    ASSERT_NE(ana, nullptr);
    ASSERT_EQ(ana->SenalesVisibles.size(), 4);

    // "Elegir": one signal fewer.
    modal.Cuando(QStringLiteral("frmElegir"), [](QDialog& d) {
        auto* l = d.findChild<QListWidget*>(QStringLiteral("DstList"));
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setSelected(l->item(i)->text() == QStringLiteral("S1"));
        Pulsar(d, "ExcludeBtn");
        Pulsar(d, "OKBtn");
    });
    Accion("SpBtnElegir")->trigger();
    EXPECT_FALSE(ana->SenalesVisibles.contains(QStringLiteral("S1")));
    EXPECT_TRUE(ana->SenalesOcultas.contains(QStringLiteral("S1")));
    EXPECT_TRUE(ventana->Estado().Modificado());

    // "Insertar texto": a note on the graph.
    modal.Cuando(QStringLiteral("frmInsTexto"), [](QDialog& d) {
        Escribir(d, "EdTexto", QStringLiteral("pico"));
        Pulsar(d, "OKBtn");
    });
    Accion("Insertartexto1")->trigger();
    ASSERT_EQ(ana->Grafica().Textos().size(), 1u);

    // "Datos": the signal data of the shown signals.
    Accion("SpBtnDatos")->trigger();
    EXPECT_EQ(modal.vistos.back(), QStringLiteral("frmDatosSenal"));

    // "Calcula.": the analog calculator; its result reaches the set.
    modal.Cuando(QStringLiteral("frmCalcuAna"), [](QDialog& d) {
        Elegir(d, "SenalesListBox", QStringLiteral("S0"));
        Pulsar(d, "SpBtnMAS");
        Elegir(d, "SenalesListBox", QStringLiteral("S2"));
        Pulsar(d, "SpBtnResultado");
        Pulsar(d, "SpBtnPasar");
        Pulsar(d, "SpBtnCerrar");
    });
    modal.Cuando(QStringLiteral("frmPedirNombre"), [](QDialog& d) {
        Escribir(d, "Edit1", QStringLiteral("Suma"));
        Pulsar(d, "OKBtn");
    });
    Accion("spBtnCalculadora")->trigger();
    EXPECT_EQ(modal.Pendientes(), 0);
    EXPECT_NE(ventana->Estado().Senales()->BuscarAna(QStringLiteral("Suma")), nullptr);

    // "Ajustar curva..." from the menu: the active window's fit dialog.
    Accion("AjustarCurva1")->trigger();
    EXPECT_EQ(modal.vistos.back(), QStringLiteral("frmAjusteCurva"));

    // The digital window: its chooser and its calculator.
    ventana->ComandosVentanas().AbrirVentanaDigital(QStringLiteral("d"));
    Procesar();
    ASSERT_NE(dynamic_cast<TfrmSenalesDigitales*>(ventana->HijaActiva()), nullptr);
    Accion("SpBtnElegir")->trigger();
    EXPECT_EQ(modal.vistos.back(), QStringLiteral("frmElegirIni"));
    Accion("Calculadora1")->trigger();
    EXPECT_EQ(modal.vistos.back(), QStringLiteral("frmCalcuDig"));
    EXPECT_FALSE(Activo("AjustarCurva1"));
    // The decoders' list comes from the decoding thread first.
    Accion("Decodificar1")->trigger();
    EXPECT_TRUE(Esperar([&] { return modal.vistos.back() == QStringLiteral("frmDecodificar"); }, 20000));
    EXPECT_TRUE(interaccion.Textos().isEmpty());
}

} // namespace
} // namespace qv::test

// The input/output configuration window, run through the modal seam and driven by
// object names as a person would: the checks of "Aceptar" in their order, the question
// about signals that no longer fit, fast mode, differential pairs, the ZD800M window,
// the naming dialog and the operation buttons.
#include "channels/menu_es.h"
#include "channels/nombre_ed.h"
#include "common/controles.h"
#include "common/principal_prueba.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

namespace qv::test {
namespace {

using TAccion = std::function<void(QDialog&)>;

class MenuES : public ::testing::Test {
protected:
    TPrincipalPrueba p;
    TEstadoPrograma& E() { return p.estado; }

    // Runs the window of the state's model on the working copy (made from the configuration, as
    // the "E/S" command does) with `accion` inside it; answers the modal result.
    int Ejecutar(const TAccion& accion)
    {
        E().PonerTrabajo(E().Config() ? std::make_unique<TConfigES>(*E().Config())
                                             : std::make_unique<TConfigES>());
        std::unique_ptr<TMenuESBase> v = CrearMenuES(p, &p.ventana);
        p.modal.Cuando(v->objectName(), accion);
        return v->Ejecutar();
    }

    QStringList Mensajes() const { return p.interaccion.Textos(); }

    static QLineEdit* Caja(QDialog& d, const char* nombre) { return d.findChild<QLineEdit*>(QLatin1String(nombre)); }
    static QCheckBox* Check(QDialog& d, int canal) { return d.findChild<QCheckBox*>(NombreCheckCanal(canal)); }
    static QToolButton* Boton(QDialog& d, const QString& nombre) { return d.findChild<QToolButton*>(nombre); }

    // Both times with their units, typed as a person would.
    static void Tiempos(QDialog& d, const QString& periodo, const char* unidadP, const QString& analisis,
                        const char* unidadA)
    {
        Elegir(d, "tMuesComboBox", QLatin1String(unidadP));
        Escribir(d, "tMuesEdit", periodo);
        Elegir(d, "tAnaComboBox", QLatin1String(unidadA));
        Escribir(d, "tAnaEdit", analisis);
    }
    static void Canal(QDialog& d, int canal, bool activo = true)
    {
        Marcar(d, NombreCheckCanal(canal).toLatin1().constData(), activo);
    }
};

TEST_F(MenuES, AceptarCompruebaEnSuOrdenYAvisaMientrasSeEscribe)
{
    Ejecutar([&](QDialog& d) {
        // Nothing typed: the time boxes come first.
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("T143")});
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.focusWidget(), Caja(d, "tAnaEdit"));

        // A zero is no time either.
        Tiempos(d, QStringLiteral("0"), "milisegundos", QStringLiteral("1"), "segundos");
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Mensajes().last(), QStringLiteral("T143"));

        // Times without any channel.
        Escribir(d, "tMuesEdit", QStringLiteral("1"));
        EXPECT_EQ(Caja(d, "MuestrasEdit")->text(), QStringLiteral("1001"));
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Mensajes().last(), QStringLiteral("T167"));
        EXPECT_EQ(p.interaccion.mensajes.back().sabor, TInteraccionGuion::Sabor::Error);

        // One digital byte: 2 microseconds is below its minimum of 3, said while typing.
        Canal(d, 1);
        Tiempos(d, QStringLiteral("2"), "microsegundos", QStringLiteral("1"), "milisegundos");
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("LabelAviso"))->text(), QStringLiteral("T261T262"));
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Mensajes().last(), QStringLiteral("T166"));

        // 3 microseconds over 1 s do not fit the memory: said while typing, refused.
        Escribir(d, "tMuesEdit", QStringLiteral("3"));
        Elegir(d, "tAnaComboBox", QStringLiteral("segundos"));
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("LabelAviso"))->text(), QStringLiteral("T261T263"));
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Mensajes().last(), QStringLiteral("T134"));
        EXPECT_EQ(E().Config(), nullptr);

        // A period beyond the box's range is brought back to it.
        Elegir(d, "tMuesComboBox", QStringLiteral("microsegundos"));
        Escribir(d, "tMuesEdit", QStringLiteral("70000"));
        EXPECT_EQ(Caja(d, "tMuesEdit")->text(), QStringLiteral("65535"));

        // Letters never reach a time box.
        Escribir(d, "tAnaEdit", QStringLiteral("1a.5"));
        EXPECT_EQ(Caja(d, "tAnaEdit")->text(), QStringLiteral("15"));
        p.interaccion.mensajes.clear();
        Tiempos(d, QStringLiteral("3"), "microsegundos", QStringLiteral("10"), "milisegundos");
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("LabelAviso"))->text(), QString());
        Pulsar(d, "OKBtn");
    });
    EXPECT_TRUE(Mensajes().isEmpty()) << Mensajes().join(QLatin1Char(',')).toStdString();
    ASSERT_NE(E().Config(), nullptr);
    EXPECT_EQ(E().Config()->Periodo, 3);
    EXPECT_EQ(E().Config()->UnidadPeriodo, Unidad::Micro);
    EXPECT_EQ(E().Config()->NumMuestras, 3334);
    EXPECT_TRUE(E().Config()->EntDig(1).Activo);
    EXPECT_TRUE(E().Modificado());
}

TEST_F(MenuES, AceptadaLaCopiaPasaAActualYCanceladaNo)
{
    E().PonerConfig(std::make_unique<TConfigES>());
    E().Config()->EntDig(3).Activo = true;

    // Cancelled after a rename and a new channel: nothing changes.
    p.modal.Cuando(QStringLiteral("frmNomED"), [](QDialog& n) {
        Escribir(n, "Edit1", QStringLiteral("Motor"));
        Pulsar(n, "OKBtn");
    });
    const int r = Ejecutar([&](QDialog& d) {
        // Each channel's name is written under its button, and follows a rename.
        auto* nombre = d.findChild<QLabel*>(QStringLiteral("LNombreCanal%1").arg(CanalES::EntDig + 3));
        ASSERT_NE(nombre, nullptr);
        EXPECT_EQ(nombre->text(), QStringLiteral("InDigA3"));
        Pulsar(d, "entdig3");
        EXPECT_EQ(Boton(d, QStringLiteral("entdig3"))->toolTip(), QStringLiteral("Motor"));
        EXPECT_EQ(nombre->text(), QStringLiteral("Motor"));
        Canal(d, 5);
        Pulsar(d, "CancelBtn");
    });
    EXPECT_EQ(r, QDialog::Rejected);
    EXPECT_EQ(E().Config()->EntDig(3).Nombre, QStringLiteral("InDigA3"));
    EXPECT_FALSE(E().Config()->EntDig(5).Activo);
    EXPECT_FALSE(E().Modificado());

    // Accepted: a copy of the working configuration, not the working object itself.
    Ejecutar([&](QDialog& d) {
        Tiempos(d, QStringLiteral("1"), "milisegundos", QStringLiteral("1"), "segundos");
        Pulsar(d, "OKBtn");
    });
    ASSERT_NE(E().Config(), nullptr);
    EXPECT_NE(E().Config(), E().Trabajo());
    EXPECT_EQ(E().Config()->NumMuestras, 1001);
    EXPECT_EQ(E().Config()->UnidadAnalisis, Unidad::Segundo);
    EXPECT_TRUE(E().Config()->EntDig(3).Activo);
}

class Pregunta198 : public MenuES {
protected:
    void SetUp() override
    {
        // 10 samples that the new time base (1001 samples) does not fit.
        E().PonerConjunto(std::make_unique<TCjtSenales>(p.textos, p.interaccion));
        E().Senales()->AnadirAna(
            std::make_unique<TSenalAna>(p.textos, QStringLiteral("S"), false, nullptr, nullptr, 1, 0.001, 10));
        E().PonerConfig(std::make_unique<TConfigES>());
        E().Config()->EntAna(1).Activo = true;
    }
    int Aceptar(int respuesta)
    {
        p.interaccion.respuestas = {respuesta};
        return Ejecutar([&](QDialog& d) {
            Tiempos(d, QStringLiteral("1"), "milisegundos", QStringLiteral("1"), "segundos");
            Pulsar(d, "OKBtn");
        });
    }
};

TEST_F(Pregunta198, CancelarNoCambiaNada)
{
    EXPECT_EQ(Aceptar(Respuesta::Cancelar), QDialog::Rejected);
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("T198")});
    EXPECT_EQ(p.interaccion.mensajes.back().botones, Botones::SiNoCancelar);
    ASSERT_NE(E().Senales(), nullptr);
    EXPECT_EQ(E().Config()->NumMuestras, 0);
}

TEST_F(Pregunta198, NoDescartaLasSenales)
{
    const int cierres = p.Llamadas(QStringLiteral("CerrarVentanas")); // the setup's own set
    EXPECT_EQ(Aceptar(Respuesta::No), QDialog::Accepted);
    EXPECT_EQ(E().Senales(), nullptr);
    EXPECT_EQ(p.Llamadas(QStringLiteral("GuardarArchivoClick")), 0);
    EXPECT_EQ(p.Llamadas(QStringLiteral("CerrarVentanas")) - cierres, 1);
    EXPECT_TRUE(E().Modificado());
    EXPECT_EQ(E().Config()->NumMuestras, 1001);
}

TEST_F(Pregunta198, SiGuardaAntesYSinGuardarNoSigue)
{
    // The save did not happen (the set is still modified): the window stays.
    E().MarcarModificado();
    EXPECT_EQ(Aceptar(Respuesta::Si), QDialog::Rejected);
    EXPECT_EQ(p.Llamadas(QStringLiteral("GuardarArchivoClick")), 1);
    ASSERT_NE(E().Senales(), nullptr);
    EXPECT_EQ(E().Config()->NumMuestras, 0);

    // Saved: the signals go, the new configuration comes.
    E().MarcarGuardado();
    EXPECT_EQ(Aceptar(Respuesta::Si), QDialog::Accepted);
    EXPECT_EQ(p.Llamadas(QStringLiteral("GuardarArchivoClick")), 2);
    EXPECT_EQ(E().Senales(), nullptr);
    EXPECT_TRUE(E().Modificado());
    EXPECT_EQ(E().Config()->NumMuestras, 1001);
}

TEST_F(MenuES, ModoRapidoSinCanalesVuelveYConUnaEntradaAnalogica)
{
    Ejecutar([&](QDialog& d) {
        Tiempos(d, QStringLiteral("1"), "milisegundos", QStringLiteral("1"), "segundos");
        auto* rapida = d.findChild<QPushButton*>(QStringLiteral("SpBtnRapida"));
        Pulsar(d, "SpBtnRapida");
        EXPECT_FALSE(rapida->isChecked());
        EXPECT_EQ(Caja(d, "tMuesEdit")->text(), QStringLiteral("0"));
        EXPECT_EQ(Caja(d, "MuestrasEdit")->text(), QStringLiteral("0"));

        Canal(d, CanalES::EntAna + 1);
        Pulsar(d, "SpBtnRapida");
        EXPECT_TRUE(rapida->isChecked());
        EXPECT_EQ(Caja(d, "tMuesEdit")->text(), QStringLiteral("5"));
        EXPECT_EQ(Caja(d, "tAnaEdit")->text(), QStringLiteral("158"));
        EXPECT_FALSE(Caja(d, "tMuesEdit")->isEnabled());
        // A second input while it is down: the fastest time base is recomputed.
        Canal(d, CanalES::EntAna + 3);
        EXPECT_EQ(Caja(d, "tMuesEdit")->text(), QStringLiteral("16"));
        Pulsar(d, "OKBtn");
    });
    ASSERT_NE(E().Config(), nullptr);
    const TConfigES& c = *E().Config();
    EXPECT_TRUE(c.Rapida);
    EXPECT_EQ(c.Periodo, 16);
    EXPECT_TRUE(CabeEnMemoria(c));
}

TEST_F(MenuES, DiferencialApagaLaSegundaEntradaDelPar)
{
    Ejecutar([&](QDialog& d) {
        Canal(d, CanalES::EntAna + 1);
        Canal(d, CanalES::EntAna + 2);
        Marcar(d, "CheckBoxDiferencial1");
        QCheckBox* segunda = Check(d, CanalES::EntAna + 2);
        EXPECT_FALSE(segunda->isChecked());
        EXPECT_FALSE(segunda->isEnabled());
        EXPECT_FALSE(Boton(d, QStringLiteral("EntAna2"))->isEnabled());
        EXPECT_EQ(Boton(d, QStringLiteral("EntAna2"))->icon().cacheKey(),
                  Boton(d, QStringLiteral("SpBtnDesactivar"))->icon().cacheKey());
        const TConfigES& t = *E().Trabajo();
        EXPECT_TRUE(t.EntAna(1).Diferencial && t.EntAna(2).Diferencial);
        EXPECT_FALSE(t.EntAna(2).Activo);

        Marcar(d, "CheckBoxDiferencial1", false);
        EXPECT_TRUE(segunda->isEnabled());
        EXPECT_FALSE(t.EntAna(1).Diferencial);
    });
}

TEST_F(MenuES, ZD800MConservaLasLineasDigitales9a16)
{
    E().ModeloM = true;
    E().PonerConfig(std::make_unique<TConfigES>());
    E().Config()->EntDig(12).Activo = true;
    E().Config()->SalDig(10).Activo = true;
    E().Config()->SalDig(10).Nombre = QStringLiteral("Bomba");
    Ejecutar([&](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("frmMenuES2"));
        EXPECT_EQ(Check(d, 12), nullptr);
        EXPECT_EQ(Check(d, CanalES::SalDig + 10), nullptr);
        EXPECT_EQ(d.findChild<QWidget*>(QStringLiteral("LTitulo1")), nullptr);
        Canal(d, 1);
        Tiempos(d, QStringLiteral("1"), "milisegundos", QStringLiteral("1"), "segundos");
        Pulsar(d, "OKBtn");
    });
    ASSERT_NE(E().Config(), nullptr);
    const TConfigES& c = *E().Config();
    EXPECT_TRUE(c.EntDig(1).Activo);
    EXPECT_TRUE(c.EntDig(12).Activo);
    EXPECT_TRUE(c.SalDig(10).Activo);
    EXPECT_EQ(c.SalDig(10).Nombre, QStringLiteral("Bomba"));
}

TEST_F(MenuES, SalidasSoloSeActivanConGenerador)
{
    E().PonerConfig(std::make_unique<TConfigES>());
    E().Config()->SalAna(2).Generador =
        std::make_unique<TGenSeno>(p.textos, QStringLiteral("segundos"), QStringLiteral("segundos"), 0, 0, 1, 0, 1);
    // Its window is left without a generator.
    p.modal.Cuando(QStringLiteral("frmActiveSA"), [](QDialog& s) { s.reject(); });
    Ejecutar([&](QDialog& d) {
        const int y1 = CanalES::SalAna + 1, y2 = CanalES::SalAna + 2;
        EXPECT_EQ(Boton(d, NombreBotonCanal(y2))->icon().cacheKey(),
                  Boton(d, QStringLiteral("spbtnSeno"))->icon().cacheKey());
        EXPECT_EQ(Boton(d, NombreBotonCanal(y1))->icon().cacheKey(),
                  Boton(d, QStringLiteral("spbtnNada"))->icon().cacheKey());
        Canal(d, y1);
        EXPECT_FALSE(Check(d, y1)->isChecked());
        EXPECT_FALSE(E().Trabajo()->SalAna(1).Activo);
        Canal(d, y2);
        EXPECT_TRUE(E().Trabajo()->SalAna(2).Activo);
        EXPECT_EQ(static_cast<TMenuESBase&>(d).CanalActual(), y2);

        // "Limpiar" leaves a new configuration: no generator, nothing active.
        Pulsar(d, "ClearBtn");
        EXPECT_FALSE(Check(d, y2)->isChecked());
        EXPECT_EQ(E().Trabajo()->SalAna(2).Generador, nullptr);
        EXPECT_EQ(Boton(d, NombreBotonCanal(y2))->icon().cacheKey(),
                  Boton(d, QStringLiteral("spbtnNada"))->icon().cacheKey());
    });
}

TEST_F(MenuES, BotonesDeOperacionesYCasillas)
{
    E().PonerOperaciones(std::make_unique<TOperaciones>());
    E().PonerConfig(std::make_unique<TConfigES>());
    E().Config()->EntDig(1).Activo = true;
    E().Config()->EntDig(2).Activo = true;
    p.modal.Cuando(QStringLiteral("frmOperacionesDig"), [](QDialog& o) {
        Elegir(o, "Operando1ListBox", QStringLiteral("InDigA1"));
        Pulsar(o, "SpButtonNot");
        Escribir(o, "NombreEdit", QStringLiteral("NoA1"));
        Pulsar(o, "AnadirBtn");
        Pulsar(o, "AceptarBtn");
    });
    p.modal.Cuando(QStringLiteral("frmOperacionesAna"), [](QDialog& o) { Pulsar(o, "CancelarBtn"); });
    QSignalSpy operaciones(&E(), &TEstadoPrograma::OperacionesCambiadas);
    Ejecutar([&](QDialog& d) {
        Pulsar(d, "SBOpDigital");
        Pulsar(d, "SBOpAnalogico");
        Marcar(d, "CBoxActivar", false);
        Marcar(d, "CBoxAuto", true);
        Pulsar(d, "CancelBtn");
    });
    // They take effect at once, whatever becomes of the window: the accepted digital
    // dialog and the check box are announced, the cancelled analog dialog is not.
    EXPECT_EQ(operaciones.size(), 2);
    ASSERT_EQ(E().OperacionesSiHay()->ListaOpDig.size(), 1u);
    EXPECT_EQ(E().OperacionesSiHay()->ListaOpDig[0].Operador, QStringLiteral("Not"));
    EXPECT_FALSE(E().OperacionesSiHay()->Activas);
    ASSERT_NE(E().Senales(), nullptr);
    EXPECT_TRUE(E().Senales()->NombradoAuto());
}

// ---- naming dialog ------------------------------------------------------------------

class NombreED : public ::testing::Test {
protected:
    TPrincipalPrueba p;
    TConfigES config;

    // Types `nombre` for digital input 2 and presses "Aceptar"; answers the result.
    int Nombrar(const QString& nombre)
    {
        TfrmNomED d(p, config, 2, &p.ventana);
        p.modal.Cuando(d.objectName(), [&](QDialog& n) {
            EXPECT_EQ(n.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(), config.EntDig(2).Nombre);
            Escribir(n, "Edit1", nombre);
            Pulsar(n, "OKBtn");
        });
        return d.Ejecutar();
    }
    QString Ultimo() const { return p.interaccion.mensajes.empty() ? QString() : p.interaccion.mensajes.back().texto; }
};

TEST_F(NombreED, RechazaVacioCanalesSenalesYOperaciones)
{
    p.estado.PonerConjunto(std::make_unique<TCjtSenales>(p.textos, p.interaccion));
    p.estado.Senales()->AnadirDig(
        std::make_unique<TSenalDig>(QStringLiteral("Ajena"), false, nullptr, nullptr, 5, 0.001, 4));
    p.estado.PonerOperaciones(std::make_unique<TOperaciones>());
    p.estado.OperacionesSiHay()->AnadirOpDig(TOperacion(QStringLiteral("1"), 255, false, false, 0, 0,
                                                         QStringLiteral("Dig"), QStringLiteral("V"),
                                                         QStringLiteral("Suma"), QStringLiteral("Not"),
                                                         QStringLiteral("0")));

    EXPECT_EQ(Nombrar(QString()), QDialog::Rejected);
    EXPECT_EQ(Ultimo(), QStringLiteral("T110"));
    EXPECT_EQ(Nombrar(QStringLiteral("OutAnY1")), QDialog::Rejected);
    EXPECT_EQ(Ultimo(), QStringLiteral("T175"));
    EXPECT_EQ(Nombrar(QStringLiteral("Ajena")), QDialog::Rejected);
    EXPECT_EQ(Ultimo(), QStringLiteral("T158"));
    EXPECT_EQ(Nombrar(QStringLiteral("Suma")), QDialog::Rejected);
    EXPECT_EQ(Ultimo(), QStringLiteral("T176"));
    EXPECT_EQ(p.interaccion.mensajes.size(), 4u);
    EXPECT_EQ(config.EntDig(2).Nombre, QStringLiteral("InDigA2"));

    // Its own name passes even when a signal bears it; blanks cannot be typed.
    p.estado.Senales()->AnadirDig(
        std::make_unique<TSenalDig>(QStringLiteral("InDigA2"), false, nullptr, nullptr, 2, 0.001, 4));
    EXPECT_EQ(Nombrar(QStringLiteral("InDigA2")), QDialog::Accepted);
    EXPECT_EQ(Nombrar(QStringLiteral("Pie dra")), QDialog::Accepted);
    EXPECT_EQ(config.EntDig(2).Nombre, QStringLiteral("Piedra"));
    // The signal captured from this very channel under its old name is no clash.
    EXPECT_EQ(Nombrar(QStringLiteral("InDigA2")), QDialog::Accepted);
    EXPECT_EQ(p.interaccion.mensajes.size(), 4u);
}

TEST_F(NombreED, CancelarNoRenombra)
{
    TfrmNomED d(p, config, 2, &p.ventana);
    p.modal.Cuando(d.objectName(), [](QDialog& n) {
        Escribir(n, "Edit1", QStringLiteral("Otro"));
        Pulsar(n, "CancelBtn");
    });
    EXPECT_EQ(d.Ejecutar(), QDialog::Rejected);
    EXPECT_EQ(config.EntDig(2).Nombre, QStringLiteral("InDigA2"));
    EXPECT_TRUE(d.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text().isEmpty());
}

} // namespace
} // namespace qv::test

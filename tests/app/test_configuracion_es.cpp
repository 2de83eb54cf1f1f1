// From the main window's "E/S" command to a configuration file, as a user goes: an
// empty configuration, analog input C1 at +-10 V, digital inputs A1 to A8, 1 ms over
// 1 s, an analog operation "C1 x 2", then "Guardar archivo configuración".
#include "ficheros_prueba.h"

#include "channels/menu_es.h"
#include "model/fichero_config.h"
#include "model/generadores.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>

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

TEST_F(ConfiguracionES, DeNadaAlFicheroPorLaVentana)
{
    modal.Cuando(QStringLiteral("frmOperacionesAna"), [](QDialog& o) {
        Elegir(o, "Operando1ListBox", QStringLiteral("InAnaC1"));
        Pulsar(o, "SpButtonPor");
        Escribir(o, "Operando2Edit", QStringLiteral("2"));
        Escribir(o, "NombreEdit", QStringLiteral("C1x2"));
        Pulsar(o, "AnadirBtn");
        Pulsar(o, "AceptarBtn");
    });
    modal.Cuando(QStringLiteral("frmMenuES"), [this](QDialog& d) {
        Marcar(d, "CheckBox1"); // C1; its range is +-10 V unless its window says otherwise
        for (int i = 1; i <= 8; ++i)
            Marcar(d, NombreCheckCanal(i).toLatin1().constData());
        Elegir(d, "tMuesComboBox", QStringLiteral("milisegundos"));
        Escribir(d, "tMuesEdit", QStringLiteral("1"));
        Elegir(d, "tAnaComboBox", QStringLiteral("segundos"));
        Escribir(d, "tAnaEdit", QStringLiteral("1"));
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("MuestrasEdit"))->text(), QStringLiteral("1001"));

        // ---- Generator on Y1: put on the working copy directly until the output window
        // and the sine dialog are on main; then replace these two lines by a click on
        // "SalAna1" with handlers for "frmActiveSA" (Edit1, "SenoButton") and the sine
        // dialog (its fields and "OKBtn"), and keep the checks on the file below.
        E().ConfigTrabajo->SalAna(1).Generador = std::make_unique<TGenSeno>(
            textos, QStringLiteral("segundos"), QStringLiteral("segundos"), 0, 0, 50, 0, 2.5f);
        Marcar(d, "CheckBox9");
        // ---- end of the generator part

        Pulsar(d, "SBOpAnalogico");
        Pulsar(d, "OKBtn");
    });
    Accion("SpBtnES")->trigger();
    EXPECT_EQ(modal.Pendientes(), 0);
    EXPECT_TRUE(interaccion.mensajes.empty()) << Textos().join(QLatin1Char(',')).toStdString();
    ASSERT_NE(E().ConfigActual, nullptr);
    EXPECT_EQ(E().ConfigTrabajo, nullptr);
    EXPECT_TRUE(Activo("GrabarConES1"));

    // No name yet: "Guardar archivo configuración" asks for one.
    const QString ruta = Ruta(QStringLiteral("ensayo.cfg"));
    dialogos.guardar.push_back(ruta);
    Accion("GrabarConES1")->trigger();
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lineas = f.readAll().split('\n');
    ASSERT_GE(lineas.size(), 55);
    EXPECT_EQ(lineas[0], QByteArray("FALSE\r"));
    EXPECT_EQ(lineas[1], QByteArray("0 1 milisegundos 1 segundos 1001$\r"));
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(lineas[2 + i], QStringLiteral("InDigA%1 true %1$\r").arg(i).toLatin1());
    EXPECT_EQ(lineas[11], QByteArray("InDigB1 false 9$\r"));
    EXPECT_EQ(lineas[20], QByteArray("InAnaC1 true 1 Normal 10V 1 Voltios$\r"));
    EXPECT_TRUE(lineas[46].startsWith("OutAnY1 true 1 Seno ")) << lineas[46].constData();
    EXPECT_EQ(lineas[51], QByteArray("1\r"));
    EXPECT_EQ(lineas[52], QByteArray("C1x2 * false 1 true 2 255 Voltios$\r"));
    EXPECT_EQ(lineas[53], QByteArray("0\r"));
    EXPECT_EQ(lineas[54], QByteArray("Fin$\r"));

    // And it reads back as the program's configuration.
    TConfigES leida;
    TOperaciones ops;
    TFicheroConfig fc(textos, interaccion, QStringLiteral("."));
    ASSERT_TRUE(fc.LeerConfiguracion(ruta, leida, ops));
    EXPECT_TRUE(leida.Igual(*E().ConfigActual));
    ASSERT_EQ(ops.ListaOpAna.size(), 1u);
    EXPECT_EQ(ops.ListaOpAna[0].Formula(leida), QStringLiteral("(InAnaC1 * 2)"));
}

TEST_F(ConfiguracionES, CanceladaNoCambiaNadaYLaCopiaSeLibera)
{
    AbrirConfiguracion();
    E().ConfigActual->EntDig(4).Activo = true;
    modal.Cuando(QStringLiteral("frmMenuES"), [this](QDialog& d) {
        // The window works on a copy of the current configuration.
        EXPECT_TRUE(d.findChild<QCheckBox*>(QStringLiteral("CheckBoxED4"))->isChecked());
        EXPECT_NE(E().ConfigTrabajo.get(), E().ConfigActual.get());
        Marcar(d, "CheckBoxED4", false);
        Pulsar(d, "CancelBtn");
    });
    Accion("VerConfig1")->trigger();
    EXPECT_EQ(modal.vistos, QStringList{QStringLiteral("frmMenuES")});
    EXPECT_TRUE(E().ConfigActual->EntDig(4).Activo);
    EXPECT_EQ(E().ConfigTrabajo, nullptr);
}

} // namespace
} // namespace qv::test

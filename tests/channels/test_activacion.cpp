// The output and analog-input windows: name checks, the hand-over to a generator
// dialog and back, deleting generators, and the input's range, unit and factor.
#include "generadores_prueba.h"

#include "channels/activacion_salidas.h"
#include "channels/ventanas_canal.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QComboBox>

namespace qv::test {
namespace {

class Activacion : public CanalesPrueba {
protected:
    TCjtSenales& Conjunto(bool automatico)
    {
        auto& e = principal.Estado();
        e.PonerConjunto(std::make_unique<TCjtSenales>(textos, interaccion));
        e.Senales()->PonerNombradoAuto(automatico);
        return *e.Senales();
    }
    void Senal(const QString& nombre, int canal, bool generada)
    {
        TGenSeno g(textos, "segundos", "segundos", 0, 0, 1, 0, 1);
        principal.Estado().Senales()->AnadirAna(std::make_unique<TSenalAna>(
            textos, nombre, false, nullptr, generada ? &g : nullptr, canal, 0.001, 10));
    }
    // The name check of analog output 1 with `nombre` typed.
    QStringList Nombre(const QString& nombre)
    {
        interaccion.mensajes.clear();
        TfrmActiveSA v(principal, config, 1);
        v.show();
        Escribir(v, "Edit1", nombre);
        v.BuenNombre();
        return Mensajes();
    }
    // Fills and accepts the sine dialog.
    static void SenoAceptado(QDialog& d)
    {
        for (const char* caja : {"RetardoEdit", "AOffsetEdit", "ASenoEdit", "FrecuEdit", "DesfaseEdit"})
            Escribir(d, caja, QStringLiteral("1"));
        Pulsar(d, "OKBtn");
    }
};

TEST_F(Activacion, NombresQueYaLlevaOtraCosa)
{
    EXPECT_EQ(Nombre(""), QStringList{T(110)});
    EXPECT_EQ(Nombre("InDigA1"), QStringList{T(175)});
    EXPECT_EQ(Nombre("OutAnY1"), QStringList{}); // its own present name

    Conjunto(false);
    Senal("Captada", 3, false);
    Senal("Viejo", 1, true); // generated on this very output under its former name
    Senal("Ajena", 2, true);
    principal.Estado().PonerOperaciones(std::make_unique<TOperaciones>());
    principal.Estado().OperacionesSiHay()->AnadirOpAna(
        TOperacion("1", 255, false, false, 0, 0, "Ana", "V", "Suma", "+", "2"));
    EXPECT_EQ(Nombre("Captada"), QStringList{T(158)});
    EXPECT_EQ(Nombre("Ajena"), QStringList{T(158)});
    EXPECT_EQ(Nombre("Suma"), QStringList{T(176)});
    EXPECT_EQ(Nombre("Viejo"), QStringList{});

    // With automatic naming the set renames clashing signals itself.
    principal.Estado().Senales()->PonerNombradoAuto(true);
    EXPECT_EQ(Nombre("Captada"), QStringList{});
    EXPECT_EQ(Nombre("Suma"), QStringList{});
    EXPECT_EQ(Nombre("InAnaC1"), QStringList{T(175)});

    // The name box takes eight characters of one word.
    TfrmActiveSA v(principal, config, 1);
    v.show();
    Escribir(v, "Edit1", QStringLiteral("Nombre largo$"));
    EXPECT_EQ(Texto(v, "Edit1"), QStringLiteral("Nombrela"));
}

TEST_F(Activacion, SenoDesdeLaVentanaDeSalidaCierraAmbas)
{
    modal.Cuando("frmActiveSA", [](QDialog& d) {
        EXPECT_FALSE(Habilitado(d, "OkBtn"));
        EXPECT_FALSE(Habilitado(d, "DestroyButton"));
        Escribir(d, "Edit1", QStringLiteral("Motor"));
        Pulsar(d, "SenoButton");
        EXPECT_FALSE(d.isVisible()); // out of sight while the sine dialog runs
    });
    modal.Cuando("frmGenSeno", SenoAceptado);
    EXPECT_TRUE(EditarSalidaAnalogica(principal, config, 3, nullptr));
    EXPECT_EQ(modal.vistos, (QStringList{"frmActiveSA", "frmGenSeno"}));
    ASSERT_NE(config.SalAna(3).Generador, nullptr);
    EXPECT_EQ(config.SalAna(3).Generador->Clase(), TClaseGenerador::Seno);
    EXPECT_EQ(config.SalAna(3).Nombre, QStringLiteral("Motor"));

    // Opened again: the sine button is the marked one, and "Aceptar" now ends it.
    modal.Cuando("frmActiveSA", [](QDialog& d) {
        EXPECT_TRUE(Control<QWidget>(d, "SenoButton")->font().underline());
        EXPECT_FALSE(Control<QWidget>(d, "RampaButton")->font().underline());
        Pulsar(d, "OkBtn");
    });
    EXPECT_TRUE(EditarSalidaAnalogica(principal, config, 3, nullptr));
}

TEST_F(Activacion, CancelarElGeneradorVuelveALaVentanaYCancelarlaNoCambiaNada)
{
    modal.Cuando("frmActiveSD", [](QDialog& d) {
        Escribir(d, "Edit1", QStringLiteral("Pulsos"));
        Pulsar(d, "TrenButton");
    });
    modal.Cuando("frmGenTren", [](QDialog& d) { Pulsar(d, "CancelBtn"); });
    modal.Cuando("frmActiveSD", [](QDialog& d) {
        EXPECT_EQ(Texto(d, "Edit1"), QStringLiteral("Pulsos"));
        Pulsar(d, "CancelBtn");
    });
    EXPECT_FALSE(EditarSalidaDigital(principal, config, 9, nullptr));
    EXPECT_EQ(modal.vistos, (QStringList{"frmActiveSD", "frmGenTren", "frmActiveSD"}));
    EXPECT_EQ(config.SalDig(9).Generador, nullptr);
    EXPECT_EQ(config.SalDig(9).Nombre, QStringLiteral("OutDiX1"));

    // With a generator too, a cancelled window drops the typed name.
    config.SalDig(9).Generador = std::make_unique<TGenPulso>(textos, 0, "segundos", "segundos", 1.0f);
    modal.Cuando("frmActiveSD", [](QDialog& d) {
        Escribir(d, "Edit1", QStringLiteral("Nuevo"));
        Pulsar(d, "CancelBtn");
    });
    EXPECT_FALSE(EditarSalidaDigital(principal, config, 9, nullptr));
    EXPECT_EQ(config.SalDig(9).Nombre, QStringLiteral("OutDiX1"));
    config.SalDig(9).Generador.reset();

    // A clashing name never opens the dialog.
    modal.Cuando("frmActiveSD", [](QDialog& d) {
        Escribir(d, "Edit1", QStringLiteral("OutDiW1"));
        Pulsar(d, "PulsoBtn");
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_FALSE(EditarSalidaDigital(principal, config, 9, nullptr));
    EXPECT_EQ(Mensajes().last(), T(175));
    EXPECT_FALSE(modal.vistos.contains(QStringLiteral("frmGenPulso")));
}

TEST_F(Activacion, BorrarElGenerador)
{
    auto tren = [&] { return std::make_unique<TGenTren>(textos, "segundos", "segundos", 1.0f, 1.0f, 0.0f); };
    config.SalDig(3).Generador = tren();
    config.SalDig(3).Activo = true;
    {
        TfrmActiveSD v(principal, config, 3);
        v.show();
        EXPECT_TRUE(Habilitado(v, "OkBtn"));
        EXPECT_FALSE(Habilitado(v, "DestroyButton")); // not while the output is active
        Escribir(v, "Edit1", QStringLiteral("Reloj"));
        v.DestroyButtonClick();
        EXPECT_EQ(Mensajes(), QStringList{T(108)});
        EXPECT_TRUE(v.Aceptado());
    }
    ASSERT_NE(config.SalDig(3).Generador, nullptr);

    config.SalDig(3).Activo = false;
    modal.Cuando("frmActiveSD", [](QDialog& d) {
        Escribir(d, "Edit1", QStringLiteral("Otro"));
        Pulsar(d, "DestroyButton");
    });
    EXPECT_TRUE(EditarSalidaDigital(principal, config, 3, nullptr));
    EXPECT_EQ(config.SalDig(3).Generador, nullptr);
    EXPECT_EQ(config.SalDig(3).Nombre, QStringLiteral("OutDiW3")); // no generator: the name is dropped
}

TEST_F(Activacion, EntradaAnalogica)
{
    TEntAna& e = config.EntAna(2);
    e.Factor = 123.456f;
    e.Rango = 1;
    Conjunto(false);
    Senal("Presion", 2, false); // captured from this very input

    modal.Cuando("frmActivaEA", [](QDialog& d) {
        EXPECT_EQ(Texto(d, "CalibradoEdit"), QStringLiteral("123.4"));
        EXPECT_EQ(Control<QComboBox>(d, "ComBoxVoltajes")->currentIndex(), 1);
        EXPECT_EQ(Control<QComboBox>(d, "ComBoxVoltajes")->itemText(4), QStringLiteral("0,5V"));
        Control<QComboBox>(d, "ComBoxVoltajes")->setCurrentIndex(4);
        Escribir(d, "Edit1", QStringLiteral("Presion"));
        Escribir(d, "DenominacionEdit", QStringLiteral("bar"));
        Pulsar(d, "OkBtn");
    });
    EXPECT_TRUE(EditarEntradaAnalogica(principal, config, 2, nullptr));
    EXPECT_EQ(e.Nombre, QStringLiteral("Presion"));
    EXPECT_EQ(e.Rango, 4);
    EXPECT_EQ(e.Unidad, QStringLiteral("bar"));
    EXPECT_FLOAT_EQ(e.Factor, 123.456f); // left as shown, the factor keeps its digits

    // A factor that is no number: named, and nothing stored, not even the range.
    modal.Cuando("frmActivaEA", [](QDialog& d) {
        Control<QComboBox>(d, "ComBoxVoltajes")->setCurrentIndex(0);
        Escribir(d, "CalibradoEdit", QStringLiteral("1-2"));
        Pulsar(d, "OkBtn");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(Foco(d), QStringLiteral("CalibradoEdit"));
        Escribir(d, "DenominacionEdit", QString());
        Pulsar(d, "OkBtn");
        EXPECT_EQ(Foco(d), QStringLiteral("Edit1"));
    });
    EXPECT_FALSE(EditarEntradaAnalogica(principal, config, 2, nullptr));
    EXPECT_EQ(Mensajes().mid(Mensajes().size() - 2), (QStringList{T(19060) + " \"T7002\"", T(107)}));
    EXPECT_EQ(e.Rango, 4);

    modal.Cuando("frmActivaEA", [](QDialog& d) {
        Escribir(d, "CalibradoEdit", QStringLiteral("2.5"));
        Escribir(d, "Edit1", QStringLiteral("InAnaC1"));
        Pulsar(d, "OkBtn");
        Escribir(d, "Edit1", QStringLiteral("Caudal"));
        Pulsar(d, "OkBtn");
    });
    EXPECT_TRUE(EditarEntradaAnalogica(principal, config, 2, nullptr));
    EXPECT_EQ(Mensajes().last(), T(175));
    EXPECT_FLOAT_EQ(e.Factor, 2.5f);
    EXPECT_EQ(e.Nombre, QStringLiteral("Caudal"));
}

} // namespace
} // namespace qv::test

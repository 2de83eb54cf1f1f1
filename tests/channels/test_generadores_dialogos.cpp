// The sine, ramp, step, train and pulse dialogs: the checks of "Aceptar" in their
// order, what they store on the output, how they show it again, and their key filters.
#include "generadores_prueba.h"

#include "channels/generadores_analogicos.h"
#include "channels/generadores_digitales.h"
#include "channels/tablas_generador.h"
#include "model/config_es.h"
#include "model/generadores.h"

#include <QComboBox>
#include <cmath>
#include <functional>
#include <tuple>
#include <numbers>
#include <type_traits>

namespace qv::test {
namespace {

class Generadores : public CanalesPrueba {
protected:
    struct Resultado {
        bool aceptado;
        QStringList mensajes;
        QString foco; // object name of the focused box afterwards
    };

    // Types the boxes in order and presses "Aceptar" on a shown dialog.
    Resultado Aceptar(QDialog& d, const std::vector<std::pair<const char*, QString>>& cajas)
    {
        interaccion.mensajes.clear();
        d.show();
        for (const auto& [nombre, texto] : cajas)
            Escribir(d, nombre, texto);
        Pulsar(d, "OKBtn");
        return {d.result() == QDialog::Accepted, Mensajes(),
                Foco(d)};
    }

    Resultado Seno(const QString& retardo, const QString& offset, const QString& amplitud)
    {
        TfrmGenSeno d(principal, config, 1);
        return Aceptar(d, {{"RetardoEdit", retardo},
                           {"AOffsetEdit", offset},
                           {"ASenoEdit", amplitud},
                           {"FrecuEdit", "50"},
                           {"DesfaseEdit", "0"}});
    }

    template <class D>
    Resultado Niveles(const char* caja, const QString& offset, const QString& amplitud, int salida = 1)
    {
        D d(principal, config, salida);
        std::vector<std::pair<const char*, QString>> c = {{"RetardoEdit", "1"}, {"AOffsetEdit", offset}, {caja, amplitud}};
        if (std::is_same_v<D, TfrmGenRampa>)
            c.push_back({"tRampaEdit", "5"});
        return Aceptar(d, c);
    }
};

TEST_F(Generadores, SenoLimitaAmplitudMasOffsetA500VYElRetardoA65535)
{
    interaccion.respuestas = {Respuesta::Aceptar, Respuesta::Aceptar, Respuesta::Aceptar};
    EXPECT_TRUE(Seno("65535", "200", "300").aceptado); // the sum is exactly 500
    EXPECT_TRUE(Seno("0", "0", "12").aceptado);        // 500, not 10, bounds the sine
    EXPECT_TRUE(Seno("1", "-200", "-300").aceptado);

    const Resultado fuera = Seno("1", "201", "300");
    EXPECT_FALSE(fuera.aceptado);
    EXPECT_EQ(fuera.mensajes, QStringList{T(214)});
    EXPECT_EQ(fuera.foco, QStringLiteral("AOffsetEdit"));

    // The delay is checked first, whatever the levels.
    const Resultado retardo = Seno("65536", "201", "300");
    EXPECT_EQ(retardo.mensajes, QStringList{T(133)});
    EXPECT_EQ(retardo.foco, QStringLiteral("RetardoEdit"));

    const Resultado vacio = Seno("1", "", "3");
    EXPECT_EQ(vacio.mensajes, QStringList{T(115)});
    EXPECT_EQ(vacio.foco, QStringLiteral("RetardoEdit"));
}

TEST_F(Generadores, SenoSeGuardaEnSegundosYSeMuestraComoSeEscribio)
{
    {
        TfrmGenSeno d(principal, config, 2);
        d.show();
        Control<QComboBox>(d, "UnidadTEdit")->setCurrentIndex(1); // milliseconds
        const Resultado r = Aceptar(d, {{"RetardoEdit", "250"},
                                        {"AOffsetEdit", "1.5"},
                                        {"ASenoEdit", "2"},
                                        {"FrecuEdit", "1.5"},
                                        {"DesfaseEdit", "90"}});
        ASSERT_TRUE(r.aceptado) << r.mensajes.join('|').toStdString();
        EXPECT_EQ(d.TipoGuardado(), QStringLiteral("Seno"));
    }
    const auto* g = dynamic_cast<const TGenSeno*>(config.SalAna(2).Generador.get());
    ASSERT_NE(g, nullptr);
    EXPECT_FLOAT_EQ(g->Retardo, 0.25f);
    EXPECT_EQ(g->UnidadRetardo, Unidad::Mili);
    EXPECT_EQ(g->UnidadParametro, Unidad::Segundo);
    EXPECT_FLOAT_EQ(g->Fase, float(std::numbers::pi / 2));
    EXPECT_FLOAT_EQ(g->Frecuencia, 1.5f);
    EXPECT_FLOAT_EQ(g->Offset, 1.5f);
    EXPECT_FLOAT_EQ(g->Amplitud, 2.0f);

    TfrmGenSeno otra(principal, config, 2);
    EXPECT_EQ(Texto(otra, "RetardoEdit"), QStringLiteral("250"));
    EXPECT_EQ(Control<QComboBox>(otra, "UnidadTEdit")->currentIndex(), 1);
    EXPECT_EQ(Texto(otra, "DesfaseEdit"), QStringLiteral("90.00"));
    EXPECT_EQ(Texto(otra, "FrecuEdit"), QStringLiteral("1.50"));

    // Another output, and a dialog of another kind on this one, open empty.
    TfrmGenSeno nueva(principal, config, 1);
    EXPECT_TRUE(Texto(nueva, "RetardoEdit").isEmpty());
    EXPECT_EQ(Control<QComboBox>(nueva, "UnidadTEdit")->currentIndex(), 1);
    TfrmGenEscalon escalon(principal, config, 2);
    escalon.show();
    EXPECT_TRUE(Texto(escalon, "AOffsetEdit").isEmpty());
    EXPECT_EQ(Control<QComboBox>(escalon, "UnidadTEdit")->currentIndex(), 2); // a new step counts in seconds
}

TEST_F(Generadores, RampaYEscalonLimitanCadaNivelADiezVoltios)
{
    EXPECT_TRUE(Niveles<TfrmGenEscalon>("AEscalonEdit", "-10", "10").aceptado);
    EXPECT_TRUE(Niveles<TfrmGenRampa>("ARampaEdit", "10", "-10").aceptado);
    const QStringList rango{T(214) + QStringLiteral(" ") + T(325)}; // refused, with the range named
    for (const char* malo : {"10.01", "-10.5"}) {
        const Resultado e = Niveles<TfrmGenEscalon>("AEscalonEdit", "0", malo);
        EXPECT_EQ(e.mensajes, rango) << malo;
        EXPECT_EQ(e.foco, QStringLiteral("AOffsetEdit"));
        EXPECT_EQ(Niveles<TfrmGenRampa>("ARampaEdit", malo, "0").mensajes, rango) << malo;
    }
}

// A sine or a table beyond the output's range asks whether to go on clipped; declined,
// the output keeps the generator it had.
TEST_F(Generadores, SenoYTablaFueraDeLaSalidaPreguntan)
{
    const QString tabla = Fichero("alta.tba", "2\r\n1\r\n-12.5\r\n");
    auto deTabla = [&] {
        TfrmGridAna d(principal, config, 1);
        dialogos.abrir.push_back(tabla);
        d.SBrowseClick();
        return Aceptar(d, {});
    };
    // How it is accepted, the answer to the question, the peak it names (none: no question).
    const std::tuple<std::function<Resultado()>, int, const char*> casos[] = {
        {[&] { return Seno("0", "0", "10"); }, 0, nullptr},
        {[&] { return Seno("0", "5", "6"); }, Respuesta::Cancelar, "11.00"},
        {[&] { return Seno("0", "-3", "-8"); }, Respuesta::Aceptar, "-11.00"},
        {deTabla, Respuesta::Cancelar, "-12.50"},
        {deTabla, Respuesta::Aceptar, "-12.50"}};
    for (const auto& [aceptar, respuesta, pico] : casos) {
        config.SalAna(1).Generador = std::make_unique<TGenEscalon>(textos, "segundos", "segundos", 1.0f, 2.0f, 0.0f);
        interaccion.respuestas = {respuesta};
        const Resultado r = aceptar();
        const bool aceptado = !pico || respuesta == Respuesta::Aceptar;
        EXPECT_EQ(r.aceptado, aceptado) << pico;
        EXPECT_EQ(config.SalAna(1).Generador->Clase() == TClaseGenerador::Escalon, !aceptado) << pico;
        EXPECT_EQ(r.mensajes, pico ? QStringList{T(326) + " " + T(327) + QStringLiteral(" %1\u00a0V ").arg(pico) + T(328)}
                                   : QStringList()) << pico;
    }
}

TEST_F(Generadores, TiemposCeroDeRampaYTren)
{
    auto rampa = [&](const QString& t) {
        TfrmGenRampa d(principal, config, 1);
        return Aceptar(d, {{"RetardoEdit", "1"}, {"AOffsetEdit", "0"}, {"ARampaEdit", "5"}, {"tRampaEdit", t}});
    };
    EXPECT_EQ(rampa("0").mensajes, QStringList{T(115)});
    // "00" is no ramp either: it would have no value at its start.
    const Resultado dobleCero = rampa("00");
    EXPECT_EQ(dobleCero.mensajes, QStringList{T(115)});
    EXPECT_EQ(dobleCero.foco, QStringLiteral("tRampaEdit"));
    EXPECT_TRUE(rampa("500").aceptado);
    EXPECT_FLOAT_EQ(Parametro(*config.SalAna(1).Generador, "TiempoRampa"), 500);

    auto tren = [&](const QString& on, const QString& off) {
        TfrmGenTren d(principal, config, 4);
        return Aceptar(d, {{"RetardoEdit", "0"}, {"OnEdit", on}, {"OffEdit", off}});
    };
    const Resultado cero = tren("0", "3");
    EXPECT_EQ(cero.mensajes, QStringList{T(115)});
    EXPECT_EQ(cero.foco, QStringLiteral("RetardoEdit"));
    EXPECT_EQ(tren("2", "0").mensajes, QStringList{T(115)});
    EXPECT_TRUE(tren("00", "3").aceptado); // only the exact text "0" is refused
    EXPECT_EQ(config.SalDig(4).Generador->Clase(), TClaseGenerador::Tren);
}

TEST_F(Generadores, CajaQueNoEsNumeroLoDiceYDejaElGeneradorAnterior)
{
    config.SalAna(1).Generador = std::make_unique<TGenEscalon>(textos, "segundos", "segundos", 1.0f, 2.0f, 0.0f);
    TfrmGenSeno d(principal, config, 1);
    const Resultado r = Aceptar(d, {{"RetardoEdit", "1"},
                                    {"AOffsetEdit", "-"},
                                    {"ASenoEdit", "2"},
                                    {"FrecuEdit", "1"},
                                    {"DesfaseEdit", "0"}});
    EXPECT_FALSE(r.aceptado);
    // The message names the box by its caption (the language text of its label).
    EXPECT_EQ(r.mensajes, QStringList{T(19060) + QStringLiteral(" \"T19002\"")});
    EXPECT_EQ(r.foco, QStringLiteral("AOffsetEdit"));
    ASSERT_NE(config.SalAna(1).Generador, nullptr);
    EXPECT_EQ(config.SalAna(1).Generador->Clase(), TClaseGenerador::Escalon);

    // More digits than an integer holds, and a phase typed as "1-2".
    const Resultado largo = Aceptar(d, {{"AOffsetEdit", "1"}, {"RetardoEdit", "123456789012345678901"}});
    EXPECT_EQ(largo.mensajes, QStringList{T(19060) + QStringLiteral(" \"T19001\"")});
    const Resultado fase = Aceptar(d, {{"RetardoEdit", "1"}, {"DesfaseEdit", "1-2"}});
    EXPECT_EQ(fase.foco, QStringLiteral("DesfaseEdit"));
    EXPECT_EQ(config.SalAna(1).Generador->Clase(), TClaseGenerador::Escalon);
}

TEST_F(Generadores, LasCajasFiltranLasTeclasYLimpiarLasVacia)
{
    TfrmGenSeno d(principal, config, 1);
    d.show();
    Escribir(d, "RetardoEdit", QStringLiteral("1a-2.5x"));
    EXPECT_EQ(Texto(d, "RetardoEdit"), QStringLiteral("125"));
    Escribir(d, "AOffsetEdit", QStringLiteral("-1a.5 e"));
    EXPECT_EQ(Texto(d, "AOffsetEdit"), QStringLiteral("-1.5"));

    Pulsar(d, "ClearBtn");
    EXPECT_TRUE(Texto(d, "RetardoEdit").isEmpty());
    EXPECT_TRUE(Texto(d, "AOffsetEdit").isEmpty());
    EXPECT_EQ(Foco(d), QStringLiteral("RetardoEdit"));
}

TEST_F(Generadores, PulsoConUnaSolaCasillaMarcada)
{
    TfrmGenPulso d(principal, config, 5);
    d.show();
    auto* alto = Control<QCheckBox>(d, "CBAlto");
    auto* bajo = Control<QCheckBox>(d, "CBBajo");
    EXPECT_TRUE(alto->isChecked());
    EXPECT_FALSE(bajo->isChecked());
    alto->click(); // the checked box: it unchecks and the other one is checked
    EXPECT_FALSE(alto->isChecked());
    EXPECT_TRUE(bajo->isChecked());

    Pulsar(d, "OKBtn");
    EXPECT_EQ(Mensajes(), QStringList{T(116)});
    Escribir(d, "Edit1", QStringLiteral("7"));
    Pulsar(d, "OKBtn");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    const TGenerador& g = *config.SalDig(5).Generador;
    EXPECT_EQ(g.Clase(), TClaseGenerador::Pulso);
    EXPECT_FLOAT_EQ(Parametro(g, "Nivel"), 1); // falling
    EXPECT_FLOAT_EQ(g.Retardo, 0.007f);

    TfrmGenPulso otra(principal, config, 5);
    EXPECT_TRUE(Control<QCheckBox>(otra, "CBBajo")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(otra, "CBAlto")->isChecked());
}

TEST_F(Generadores, AceptarReemplazaElGeneradorYCancelarLoConserva)
{
    config.SalAna(3).Generador = std::make_unique<TGenSeno>(textos, "segundos", "segundos", 0.0f, 0.0f, 1.0f, 0.0f, 1.0f);
    {
        TfrmGenEscalon d(principal, config, 3);
        d.show();
        Escribir(d, "RetardoEdit", "1");
        Pulsar(d, "CancelBtn");
    }
    EXPECT_EQ(config.SalAna(3).Generador->Clase(), TClaseGenerador::Seno);
    EXPECT_TRUE(Niveles<TfrmGenEscalon>("AEscalonEdit", "1", "2", 3).aceptado);
    EXPECT_EQ(config.SalAna(3).Generador->Clase(), TClaseGenerador::Escalon);
}

} // namespace
} // namespace qv::test

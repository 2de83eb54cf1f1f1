#include "common/interaccion_guion.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/operacion.h"
#include "model/senales.h"

#include <gtest/gtest.h>

using namespace qv;
using qv::test::TInteraccionGuion;
using qv::test::TTextosFijos;

namespace {

TTextosFijos textos;

std::unique_ptr<TSenalAna> Ana(const QString& nombre, std::vector<float> m = {}, double periodo = 1)
{
    auto s = std::make_unique<TSenalAna>(textos, nombre, false, nullptr, nullptr, 0, periodo,
                                         std::uint16_t(m.size()));
    for (std::size_t i = 0; i < m.size(); ++i)
        s->PonerMuestra(int(i), m[i]);
    return s;
}

std::unique_ptr<TSenalDig> Dig(const QString& nombre, std::vector<std::uint8_t> m = {}, double periodo = 1)
{
    auto s = std::make_unique<TSenalDig>(nombre, false, nullptr, nullptr, 0, periodo, std::uint16_t(m.size()));
    for (std::size_t i = 0; i < m.size(); ++i)
        s->PonerMuestra(int(i), m[i]);
    return s;
}

} // namespace

TEST(SenalAna, CreationDefaults)
{
    TSenalAna s(textos, "V1", false, nullptr, nullptr, 3, 0.5, 4);
    EXPECT_EQ(s.Nombre(), "V1");
    EXPECT_EQ(s.NumMuestras(), 4);
    EXPECT_EQ(s.Canal, 3);
    EXPECT_EQ(s.Maximo, -10.0f);
    EXPECT_EQ(s.Minimo, 10.0f);
    EXPECT_EQ(s.Factor, 1.0f);
    EXPECT_EQ(s.FondoEscala, 0.0f);
    EXPECT_EQ(s.Unidad, textos.BuscarTexto(199));
    EXPECT_FALSE(s.EsDigital());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.LeerMuestra(i), 0.0f);
    EXPECT_EQ(s.Duracion(), 1.5);
}

TEST(SenalAna, RunningExtremesStartAtPlusMinusTen)
{
    auto alto = Ana("a", {20, 20, 20});
    EXPECT_EQ(alto->Maximo, 20.0f);
    EXPECT_EQ(alto->Minimo, 10.0f);
    auto bajo = Ana("b", {-20, -20});
    EXPECT_EQ(bajo->Maximo, -10.0f);
    EXPECT_EQ(bajo->Minimo, -20.0f);
    auto medio = Ana("c", {0.5f, 0.5f});
    EXPECT_EQ(medio->Maximo, 0.5f);
    EXPECT_EQ(medio->Minimo, 0.5f);
    const auto e = medio->Estadisticas();
    EXPECT_EQ(e.media, 0.5f);
}

TEST(SenalAna, StatisticsAndArea)
{
    auto s = Ana("s", {1, 2, 3, 6}, 0.5);
    EXPECT_FLOAT_EQ(s->Estadisticas().media, 3.0f);
    // (1 + 2*(2+3) + 6) * 0.5 / 2
    EXPECT_FLOAT_EQ(s->Area(), 4.25f);
    EXPECT_FLOAT_EQ(Ana("uno", {3}, 2)->Area(), 6.0f); // the only sample counts as both ends
    EXPECT_FLOAT_EQ(Ana("dos", {1, 3}, 2)->Area(), 4.0f);
    auto vacia = Ana("vacia");
    EXPECT_EQ(vacia->Area(), 0.0f);
    EXPECT_EQ(vacia->Estadisticas().media, 0.0f);
    EXPECT_EQ(Ana("d", {7}, 0.25)->Duracion(), 0.0);
}

TEST(SenalAna, DatosSenalTogether)
{
    auto s = Ana("s", {1});
    s->PonerDatosSenal("mA", 5, 2.5f);
    const auto d = s->DatosSenal();
    EXPECT_EQ(d.unidad, "mA");
    EXPECT_EQ(d.fondoEscala, 5.0f);
    EXPECT_EQ(d.factor, 2.5f);
}

TEST(SenalDig, PulseCountsIgnoreTheOpenLastRun)
{
    auto s = Dig("d", {0, 1, 1, 0, 1});
    EXPECT_EQ(s->NumPulsosAlto(), 1);
    EXPECT_EQ(s->NumPulsosBajo(), 2);
    EXPECT_EQ(Dig("e", {1, 2, 1, 1})->NumPulsosAlto(), 1); // a 2 is "not 1"
    EXPECT_EQ(Dig("f")->NumPulsosAlto(), 0);
    EXPECT_TRUE(s->EsDigital());
}

TEST(Senal, OriginPrecedenceAndOwnedCopies)
{
    TOperacion op("1", 0, false, false, 0, 0, "Ana", "V", "Suma", "+", "2");
    TGenEscalon esc(textos, "segundos", "milisegundos", 1, 5, 0);

    TSenalAna conGen(textos, "g", true, &op, &esc, 1, 1, 2);
    EXPECT_EQ(conGen.Origen(), OrigenSenal::Generador);
    EXPECT_FALSE(conGen.Calculada());
    EXPECT_EQ(conGen.Operacion(), nullptr);
    ASSERT_NE(conGen.Generador(), nullptr);
    EXPECT_NE(conGen.Generador(), &esc);

    TSenalAna conOp(textos, "o", true, &op, nullptr, 0, 1, 2);
    EXPECT_EQ(conOp.Origen(), OrigenSenal::Operacion);
    EXPECT_FALSE(conOp.Calculada());
    ASSERT_NE(conOp.Operacion(), nullptr);
    EXPECT_NE(conOp.Operacion(), &op);
    EXPECT_EQ(conOp.Operacion()->NombreResultado, "Suma");

    EXPECT_EQ(TSenalAna(textos, "c", true, nullptr, nullptr, 0, 1, 1).Origen(), OrigenSenal::Calculada);
    EXPECT_EQ(TSenalDig("x", false, nullptr, nullptr, 0, 1, 1).Origen(), OrigenSenal::Captada);
}

TEST(Senal, TableGeneratorIsKeptWithoutValues)
{
    TGenTablaAna t(textos, "t.tba", "segundos", 0);
    t.Valores = {1, 2, 3};
    t.NumValores = 3;
    TSenalAna s(textos, "t", false, nullptr, &t, 1, 1, 1);
    auto* copia = dynamic_cast<const TGenTablaAna*>(s.Generador());
    ASSERT_NE(copia, nullptr);
    EXPECT_TRUE(copia->Valores.empty());
    EXPECT_EQ(copia->NumValores, 3);
    EXPECT_EQ(copia->Fichero, "t.tba");
}

class CjtSenalesTest : public ::testing::Test {
protected:
    TInteraccionGuion inter;
    TCjtSenales cjt{textos, inter};
};

TEST_F(CjtSenalesTest, NewestFirstAndLookups)
{
    EXPECT_TRUE(cjt.Vacio());
    EXPECT_TRUE(cjt.AnadirAna(Ana("A")));
    EXPECT_TRUE(cjt.AnadirAna(Ana("B")));
    EXPECT_TRUE(cjt.AnadirDig(Dig("D")));
    EXPECT_EQ(cjt.NombresAna(), QStringList({"B", "A"}));
    EXPECT_EQ(cjt.NombresDig(), QStringList({"D"}));
    EXPECT_EQ(cjt.PosicionAna("A"), 2);
    EXPECT_EQ(cjt.PosicionAna("D"), 0);
    EXPECT_EQ(cjt.PosicionDig("D"), 1);
    EXPECT_EQ(cjt.BuscarAna("a"), nullptr); // case-sensitive
    ASSERT_NE(cjt.BuscarAna("A"), nullptr);
    EXPECT_EQ(cjt.BuscarDig("A"), nullptr);
    EXPECT_EQ(cjt.NumAna(), 2);
    EXPECT_FALSE(cjt.Vacio());
    QStringList l{"x"};
    cjt.NombresAna(l);
    EXPECT_EQ(l, QStringList({"x", "B", "A"}));
    EXPECT_TRUE(inter.mensajes.empty());
}

TEST_F(CjtSenalesTest, CursorIterationAndDeletion)
{
    for (const char* n : {"A", "B", "C"})
        cjt.AnadirAna(Ana(n));
    cjt.PrimeroAna();
    QStringList vistos;
    while (TSenalAna* s = cjt.SiguienteAna())
        vistos << s->Nombre();
    EXPECT_EQ(vistos, QStringList({"C", "B", "A"}));
    EXPECT_EQ(cjt.SiguienteAna(), nullptr);

    EXPECT_TRUE(cjt.Existe("A"));
    EXPECT_EQ(cjt.ActualAna()->Nombre(), "A");
    EXPECT_TRUE(cjt.BorrarAna("B"));
    EXPECT_EQ(cjt.ActualAna()->Nombre(), "A"); // the cursor stays on the same signal
    EXPECT_FALSE(cjt.BorrarAna("B"));
    EXPECT_FALSE(cjt.BorrarDig("A"));
    EXPECT_EQ(cjt.NombresAna(), QStringList({"C", "A"}));

    cjt.PrimeroDig();
    EXPECT_EQ(cjt.SiguienteDig(), nullptr);
}

// Adding at the head while walking the list: the cursor stays on its signal, so the
// walk neither repeats a signal nor visits the new one.
TEST_F(CjtSenalesTest, AddingKeepsTheCursorOnItsSignal)
{
    for (const char* n : {"A", "B", "C"})
        cjt.AnadirAna(Ana(n));
    cjt.AnadirDig(Dig("D1"));
    cjt.AnadirDig(Dig("D2"));
    cjt.PrimeroAna();
    cjt.PrimeroDig();
    QStringList vistos;
    int nueva = 0;
    while (TSenalAna* s = cjt.SiguienteAna()) {
        vistos << s->Nombre();
        ASSERT_LT(vistos.size(), 10);
        cjt.AnadirAna(Ana(QStringLiteral("N%1").arg(++nueva)));
    }
    EXPECT_EQ(vistos, QStringList({"C", "B", "A"}));

    EXPECT_EQ(cjt.SiguienteDig()->Nombre(), "D2");
    cjt.AnadirDig(Dig("D3"));
    EXPECT_EQ(cjt.SiguienteDig()->Nombre(), "D1");
    EXPECT_EQ(cjt.SiguienteDig(), nullptr);
}

TEST_F(CjtSenalesTest, RenamingDoesNotCheckClashes)
{
    cjt.AnadirAna(Ana("A"));
    cjt.AnadirAna(Ana("B"));
    cjt.AnadirDig(Dig("D"));
    EXPECT_TRUE(cjt.RenombrarAna("B", "A"));
    EXPECT_EQ(cjt.NombresAna(), QStringList({"A", "A"}));
    EXPECT_TRUE(cjt.RenombrarDig("D", "E"));
    EXPECT_FALSE(cjt.RenombrarDig("D", "F"));
    EXPECT_TRUE(inter.mensajes.empty());
}

TEST_F(CjtSenalesTest, VaciarFreesSignalsAndComment)
{
    cjt.AnadirAna(Ana("A"));
    cjt.AnadirDig(Dig("D"));
    cjt.Comentario << "linea";
    cjt.Vaciar();
    EXPECT_TRUE(cjt.Vacio());
    EXPECT_TRUE(cjt.Comentario.isEmpty());
    EXPECT_FALSE(cjt.Existe("A"));
}

TEST_F(CjtSenalesTest, AutomaticNamingKeepsEightCharacters)
{
    cjt.PonerNombradoAuto(true);
    cjt.NumCaptura = 12;
    cjt.AnadirAna(Ana("Tension"));
    cjt.AnadirAna(Ana("V1"));
    cjt.AnadirDig(Dig("Resultado"));
    EXPECT_EQ(cjt.NombresAna(), QStringList({"V112", "Tensio12"}));
    EXPECT_EQ(cjt.NombresDig(), QStringList({"Result12"}));
}

TEST_F(CjtSenalesTest, OverwriteRemovesTheClashInBothLists)
{
    cjt.AnadirDig(Dig("Resultado"));
    cjt.AnadirAna(Ana("Otro"));
    inter.respuestas = {Respuesta::Sobreescribir};
    EXPECT_TRUE(cjt.AnadirAna(Ana("Resultado", {1})));
    EXPECT_EQ(cjt.NumDig(), 0);
    EXPECT_EQ(cjt.NombresAna(), QStringList({"Resultado", "Otro"}));
    ASSERT_EQ(inter.mensajes.size(), 1u);
    EXPECT_EQ(inter.mensajes[0].sabor, TInteraccionGuion::Sabor::Pregunta);
    EXPECT_EQ(inter.mensajes[0].texto, "T232 Resultado T233");
    EXPECT_EQ(inter.mensajes[0].botones, Botones::Conflicto);
}

TEST_F(CjtSenalesTest, ChangeNameAsksAgainWithTheNewName)
{
    cjt.AnadirAna(Ana("A"));
    cjt.AnadirAna(Ana("B"));
    // First new name clashes too, the second one is free.
    inter.respuestas = {Respuesta::CambiarNombre, Respuesta::CambiarNombre};
    inter.nombresNuevos = {"B", "C"};
    EXPECT_TRUE(cjt.AnadirDig(Dig("A")));
    EXPECT_EQ(cjt.NombresDig(), QStringList({"C"}));
    EXPECT_EQ(inter.pedidos, QStringList({"A", "B"}));
    EXPECT_EQ(inter.Textos(), QStringList({"T232 A T233", "T232 B T233"}));
}

TEST_F(CjtSenalesTest, DecliningLeavesTheSetUnchanged)
{
    cjt.AnadirAna(Ana("A", {1}));
    inter.respuestas = {Respuesta::Omitir};
    EXPECT_FALSE(cjt.AnadirAna(Ana("A", {2})));
    EXPECT_EQ(cjt.NumAna(), 1);
    EXPECT_EQ(cjt.BuscarAna("A")->LeerMuestra(0), 1.0f);
}

TEST_F(CjtSenalesTest, OtherClosesRepeatTheQuestion)
{
    cjt.AnadirAna(Ana("A"));
    inter.respuestas = {Respuesta::Cancelar, Respuesta::Aceptar, Respuesta::Sobreescribir};
    EXPECT_TRUE(cjt.AnadirAna(Ana("A")));
    EXPECT_EQ(inter.mensajes.size(), 3u);
    EXPECT_EQ(cjt.NumAna(), 1);
}

TEST_F(CjtSenalesTest, CancelledRenameAsksAgainKeepingTheName)
{
    cjt.AnadirAna(Ana("A"));
    inter.respuestas = {Respuesta::CambiarNombre, Respuesta::Omitir};
    // The scripted dialog answers "Omitir" (cancelled) when it has no name queued.
    EXPECT_FALSE(cjt.AnadirAna(Ana("A")));
    EXPECT_EQ(inter.Textos(), QStringList({"T232 A T233", "T232 A T233"}));
    EXPECT_EQ(cjt.BuscarAna("Omitir"), nullptr);
}

TEST_F(CjtSenalesTest, SilentSeamEndsTheQuestion)
{
    cjt.AnadirAna(Ana("A"));
    // No scripted answers: every box answers Ninguna.
    EXPECT_FALSE(cjt.AnadirAna(Ana("A")));
    EXPECT_EQ(inter.mensajes.size(), 2u);
    EXPECT_EQ(cjt.NumAna(), 1);
}

TEST_F(CjtSenalesTest, CompatibleWithTheNewestSignalOnly)
{
    TConfigES cfg;
    EXPECT_TRUE(cjt.CompatibleCon(cfg)); // nothing to lose
    cfg.NumMuestras = 3;
    cfg.Periodo = 1;
    cfg.UnidadPeriodo = Unidad::Mili;

    cjt.AnadirDig(Dig("D", {0, 1, 0}, 0.001));
    EXPECT_TRUE(cjt.CompatibleCon(cfg));
    cjt.AnadirDig(Dig("D2", {0, 1, 0}, 0.001 + 1e-12));
    EXPECT_FALSE(cjt.CompatibleCon(cfg)); // digital periods must be exact

    cjt.AnadirAna(Ana("A", {1, 2, 3}, double(0.001f)));
    EXPECT_TRUE(cjt.CompatibleCon(cfg)); // analog within 1e-8 s
    cfg.NumMuestras = 4;
    EXPECT_FALSE(cjt.CompatibleCon(cfg));
    cfg.NumMuestras = 3;
    cfg.Periodo = 1000;
    cfg.UnidadPeriodo = Unidad::Micro;
    EXPECT_TRUE(cjt.CompatibleCon(cfg));
    cfg.UnidadPeriodo = Unidad::Segundo;
    EXPECT_FALSE(cjt.CompatibleCon(cfg));
    // Minutes, as the configuration converts them.
    cjt.AnadirAna(Ana("M", {1, 2, 3}, 60));
    cfg.Periodo = 1;
    cfg.UnidadPeriodo = Unidad::Minuto;
    EXPECT_TRUE(cjt.CompatibleCon(cfg));
}

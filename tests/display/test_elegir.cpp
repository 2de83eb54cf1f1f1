// The signal choosers: period texts, the limit on shown signals, the order of moved
// names, the X axis, deleting from the set and the period check on "Aceptar".
#include "display_prueba.h"
#include "common/textos_fijos.h"

#include "display/elegir.h"

#include <QPushButton>

namespace qv::test {
namespace {

TEST(TextoPeriodo, UnidadesYCuatroCifras)
{
    TTextosFijos t;
    EXPECT_EQ(TextoPeriodo(t, 2.5), QStringLiteral("2.5segundos"));
    EXPECT_EQ(TextoPeriodo(t, 0.99), QStringLiteral("0.99segundos"));
    EXPECT_EQ(TextoPeriodo(t, 0.001), QStringLiteral("1 milisegundos"));
    EXPECT_EQ(TextoPeriodo(t, 0.0009999), QStringLiteral("0.9999 milisegundos"));
    EXPECT_EQ(TextoPeriodo(t, 2e-6), QStringLiteral("2 microsegundos"));
    EXPECT_EQ(TextoPeriodo(t, 1e-7), QStringLiteral("1E-7"));
    // Periods that agree in four digits are the same period; others are not.
    EXPECT_TRUE(PeriodosIguales({TextoPeriodo(t, 0.001), TextoPeriodo(t, 0.0010004)}));
    EXPECT_FALSE(PeriodosIguales({TextoPeriodo(t, 0.001), TextoPeriodo(t, 0.002)}));
    EXPECT_TRUE(PeriodosIguales({}));
}

class Eleccion : public DisplayPrueba {
protected:
    void SetUp() override
    {
        for (int i = 1; i <= 10; ++i)
            Ana(QStringLiteral("A%1").arg(i, 2, 10, QLatin1Char('0')), 0.001, {0, 1});
    }
    QListWidget& Lista(QWidget& d, const char* n) { return De<QListWidget>(d, n); }
    bool Activo(QWidget& d, const char* n) { return De<QPushButton>(d, n).isEnabled(); }
};

TEST_F(Eleccion, ElLimiteDeSenalesVisiblesNoSeSupera)
{
    TfrmElegir d(p);
    QStringList visibles, ocultas;
    for (int i = 1; i <= 10; ++i)
        (i <= 8 ? visibles : ocultas) << QStringLiteral("A%1").arg(i, 2, 10, QLatin1Char('0'));
    d.Inicializar(visibles, ocultas, 8, QStringLiteral("T192"));
    EXPECT_FALSE(Activo(d, "IncludeBtn"));
    EXPECT_FALSE(Activo(d, "IncAllBtn"));
    EXPECT_TRUE(Activo(d, "ExcludeBtn"));

    // One free place: one name may go, two selected may not, even asked directly.
    Seleccionar(Lista(d, "DstList"), {QStringLiteral("A08")});
    d.ExcludeBtnClick();
    Seleccionar(Lista(d, "SrcList"), {QStringLiteral("A09")});
    EXPECT_TRUE(Activo(d, "IncludeBtn"));
    Seleccionar(Lista(d, "SrcList"), {QStringLiteral("A09"), QStringLiteral("A10")});
    EXPECT_FALSE(Activo(d, "IncludeBtn"));
    d.IncludeBtnClick();
    EXPECT_EQ(d.Visibles().size(), 7);
    EXPECT_FALSE(Activo(d, "IncAllBtn"));

    // The data table's chooser has no limit.
    TfrmElegirIni sin(p);
    sin.Inicializar({}, ocultas + visibles, 0, true);
    EXPECT_TRUE(Activo(sin, "IncAllBtn"));
    sin.IncAllBtnClick();
    EXPECT_EQ(sin.Visibles().size(), 10);
    EXPECT_TRUE(sin.Ocultas().isEmpty());
    EXPECT_FALSE(Activo(sin, "IncludeBtn"));
}

TEST_F(Eleccion, MoverNombresLlegaEnOrdenInverso)
{
    TfrmElegirIni d(p);
    d.Inicializar({QStringLiteral("A10")}, {QStringLiteral("A03"), QStringLiteral("A01"), QStringLiteral("A02")},
                  16, false);
    // The not-shown list is sorted; the shown list keeps plotting order.
    EXPECT_EQ(d.Ocultas(), (QStringList{"A01", "A02", "A03"}));
    Seleccionar(Lista(d, "SrcList"), {QStringLiteral("A01"), QStringLiteral("A02"), QStringLiteral("A03")});
    Pulsar(d, "IncludeBtn");
    EXPECT_EQ(d.Visibles(), (QStringList{"A10", "A03", "A02", "A01"}));
    EXPECT_EQ(Elementos(Lista(d, "DstMuesList")).size(), 4);

    // After "<" the first selected position stays selected in the list the names left.
    Seleccionar(Lista(d, "DstList"), {QStringLiteral("A02"), QStringLiteral("A01")});
    Pulsar(d, "ExcludeBtn");
    EXPECT_EQ(d.Visibles(), (QStringList{"A10", "A03"}));
    EXPECT_EQ(d.Ocultas(), (QStringList{"A01", "A02"}));
    QListWidget& dst = Lista(d, "DstList");
    ASSERT_EQ(dst.selectedItems().size(), 1);
    EXPECT_EQ(dst.selectedItems().first()->text(), QStringLiteral("A03"));

    Pulsar(d, "ExAllBtn");
    EXPECT_TRUE(d.Visibles().isEmpty());
    EXPECT_FALSE(Activo(d, "ExcludeBtn"));
}

TEST_F(Eleccion, EjeXSacaLaSenalDeLasVisibles)
{
    TfrmElegir d(p);
    d.Inicializar({QStringLiteral("A01"), QStringLiteral("A02"), QStringLiteral("A03")}, {}, 8,
                  QStringLiteral("T192"));
    auto& eje = De<QComboBox>(d, "cmBoxEjeX");
    ASSERT_EQ(eje.count(), 11); // every analog name and the time entry last
    EXPECT_EQ(eje.currentText(), QStringLiteral("T192"));
    d.show();
    ASSERT_TRUE(Elegir(d, "cmBoxEjeX", QStringLiteral("A02")));
    EXPECT_EQ(d.EjeXElegido(), QStringLiteral("A02"));
    EXPECT_EQ(d.Visibles(), (QStringList{"A01", "A03"}));
    EXPECT_TRUE(d.Ocultas().contains(QStringLiteral("A02")));
}

TEST_F(Eleccion, AceptarExigeUnMismoPeriodo)
{
    Ana(QStringLiteral("Casi"), 0.0010004, {0});
    Ana(QStringLiteral("Doble"), 0.002, {0});
    TfrmElegir d(p);
    auto aceptar = [](QDialog& dlg) { Pulsar(dlg, "OKBtn"); };
    p.modal.Cuando(QStringLiteral("frmElegir"), aceptar);
    p.modal.Cuando(QStringLiteral("frmElegir"), aceptar);

    d.Inicializar({QStringLiteral("A01"), QStringLiteral("Casi")}, {}, 8, QStringLiteral("T192"));
    EXPECT_EQ(d.Ejecutar(), QDialog::Accepted);
    EXPECT_TRUE(Mensajes().isEmpty());

    d.Inicializar({QStringLiteral("A01"), QStringLiteral("Doble")}, {}, 8, QStringLiteral("T192"));
    EXPECT_NE(d.Ejecutar(), QDialog::Accepted);
    EXPECT_EQ(Mensajes(), QStringList{"T161"});

    // The digital chooser takes an empty shown list, and any list without a limit.
    TfrmElegirIni ini(p);
    ini.Inicializar({QStringLiteral("A01"), QStringLiteral("Doble")}, {}, 16, false);
    EXPECT_FALSE(ini.Validar());
    ini.Inicializar({}, {QStringLiteral("Doble")}, 16, false);
    EXPECT_TRUE(ini.Validar());
    ini.Inicializar({QStringLiteral("A01"), QStringLiteral("Doble")}, {}, 0, true);
    EXPECT_TRUE(ini.Validar());
}

TEST_F(Eleccion, EliminarBorraDelConjuntoTrasConfirmar)
{
    TfrmElegir d(p);
    d.Inicializar({QStringLiteral("A01"), QStringLiteral("A02")}, {QStringLiteral("A03")}, 8, QStringLiteral("A02"));
    EXPECT_FALSE(Activo(d, "DestroyBtn"));
    Seleccionar(Lista(d, "DstList"), {QStringLiteral("A02")});
    Seleccionar(Lista(d, "SrcList"), {QStringLiteral("A03")});
    ASSERT_TRUE(Activo(d, "DestroyBtn"));

    p.interaccion.respuestas = {Respuesta::No};
    d.DestroyBtnClick();
    EXPECT_TRUE(Conjunto().Existe(QStringLiteral("A02")));
    EXPECT_TRUE(d.Borradas().isEmpty());

    p.interaccion.respuestas = {Respuesta::Si};
    d.DestroyBtnClick();
    EXPECT_EQ(p.interaccion.mensajes.back().sabor, TInteraccionGuion::Sabor::Aviso);
    EXPECT_EQ(p.interaccion.mensajes.back().texto, QStringLiteral("T172"));
    EXPECT_EQ(d.Borradas(), (QStringList{"A03", "A02"}));
    EXPECT_FALSE(Conjunto().Existe(QStringLiteral("A02")));
    EXPECT_FALSE(Conjunto().Existe(QStringLiteral("A03")));
    EXPECT_EQ(d.Visibles(), QStringList{"A01"});
    EXPECT_TRUE(d.Ocultas().isEmpty());
    auto& eje = De<QComboBox>(d, "cmBoxEjeX");
    EXPECT_EQ(eje.findText(QStringLiteral("A02")), -1);
    // The X axis was on a deleted signal: back to time.
    EXPECT_EQ(d.EjeXElegido(), QStringLiteral("T192"));
}

TEST_F(Eleccion, EliminarEnElElegidorDigital)
{
    Dig(QStringLiteral("D1"), 0.001, {0, 1});
    TfrmElegirIni d(p);
    d.Inicializar({}, {QStringLiteral("D1"), QStringLiteral("A01"), QStringLiteral("Nadie")}, 0, true);
    Seleccionar(Lista(d, "SrcList"), {QStringLiteral("D1"), QStringLiteral("A01"), QStringLiteral("Nadie")});
    p.interaccion.respuestas = {Respuesta::Si};
    d.DestroyBtnClick();
    EXPECT_EQ(p.interaccion.mensajes.front().sabor, TInteraccionGuion::Sabor::Pregunta);
    // A name the set does not hold is told (213) and stays in its list.
    ASSERT_EQ(Mensajes(), (QStringList{"T172", "T213"}));
    EXPECT_EQ(p.interaccion.mensajes.back().sabor, TInteraccionGuion::Sabor::Error);
    EXPECT_TRUE(d.HuboBorrado());
    EXPECT_EQ(d.Borradas(), (QStringList{"D1", "A01"}));
    EXPECT_EQ(d.Ocultas(), QStringList{"Nadie"});
    EXPECT_EQ(Conjunto().NumDig(), 0);
}

} // namespace
} // namespace qv::test

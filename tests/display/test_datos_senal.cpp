// "Datos de señales de la captación": the three panels, the origin of every kind of
// signal, and renames that reach every window.
#include "display_prueba.h"
#include "common/textos_fijos.h"

#include "display/datos_senal.h"
#include "display/pedir_nombre.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/operacion.h"

#include <QLabel>

namespace qv::test {
namespace {

TEST(TextosDatosSenal, EstadisticasYTiempos)
{
    TTextosFijos t;
    EXPECT_EQ(TextoEstadistica(1234.5), QStringLiteral("1230.00"));
    EXPECT_EQ(TextoEstadistica(0.012345), QStringLiteral("0.01"));
    EXPECT_EQ(TextoEstadistica(-2.346), QStringLiteral("-2.35"));
    EXPECT_EQ(TextoEstadistica(0), QStringLiteral("0.00"));

    // 1000 samples of 1 ms (the period as a capture stores it, in single precision).
    const double periodo = double(0.001f);
    EXPECT_EQ(TextoTiempoMuestreo(t, periodo), QStringLiteral("1 milisegundos"));
    EXPECT_EQ(TextoTiempoAnalisis(t, 999 * periodo, periodo), QStringLiteral("999 milisegundos"));
    // Thresholds of the sampling time differ from the choosers' ones.
    EXPECT_EQ(TextoTiempoMuestreo(t, 9.9e-5), QStringLiteral("0.099 milisegundos"));
    EXPECT_EQ(TextoTiempoMuestreo(t, 2), QStringLiteral("2segundos"));
    EXPECT_EQ(TextoTiempoMuestreo(t, 1e-7), QStringLiteral("1E-7"));
    EXPECT_EQ(TextoTiempoAnalisis(t, 1.5, 0.5), QStringLiteral("1.5 segundos"));
    EXPECT_EQ(TextoTiempoAnalisis(t, 5e-6, 1e-6), QStringLiteral("5 microsegundos"));
    // One sample lasts 0: shown in the period's unit.
    EXPECT_EQ(TextoTiempoAnalisis(t, 0, 0.001), QStringLiteral("0 milisegundos"));
    EXPECT_EQ(TextoTiempoAnalisis(t, 0, 2), QStringLiteral("0segundos"));
}

TEST(OrigenSenal, CadaClaseDeOrigen)
{
    TTextosFijos t;
    TSenalAna captada(t, QStringLiteral("C1"), false, nullptr, nullptr, 3, 0.001, 2);
    captada.PonerDatosSenal(QStringLiteral("Amperios"), 5, 2.5f);
    TOrigenSenal o = DescribirOrigen(t, captada, nullptr);
    EXPECT_EQ(o.tipo, QStringLiteral("T3039 3"));
    EXPECT_EQ(o.lineas, (QStringList{"T3040 5 Voltios", "T3041 2.5000", "T3042 Amperios"}));
    EXPECT_EQ(o.dibujo, QStringLiteral("cruz"));

    TSenalDig entrada(QStringLiteral("D"), false, nullptr, nullptr, 7, 0.001, 2);
    o = DescribirOrigen(t, entrada, nullptr);
    EXPECT_EQ(o.tipo, QStringLiteral("T3044 7"));
    EXPECT_TRUE(o.lineas.isEmpty());

    TGenSeno seno(t, QStringLiteral("milisegundos"), QStringLiteral("segundos"), 0.005f, 0.5f, 50, 1, 2);
    TSenalAna generada(t, QStringLiteral("S"), false, nullptr, &seno, 41, 0.001, 2);
    o = DescribirOrigen(t, generada, nullptr);
    EXPECT_EQ(o.tipo, QStringLiteral("T3025 41"));
    EXPECT_EQ(o.lineas, (QStringList{"T3026 T3059", "T3027 5 milisegundos", "T3028 1", "T3029 2", "T3030 50",
                                     "T3031 0.5"}));
    EXPECT_EQ(o.dibujo, QStringLiteral("seno"));

    TGenTren tren(t, QStringLiteral("microsegundos"), QStringLiteral("milisegundos"), 3, 2, 0);
    TSenalDig pulsos(QStringLiteral("P"), false, nullptr, &tren, 17, 0.001, 2);
    o = DescribirOrigen(t, pulsos, nullptr);
    EXPECT_EQ(o.tipo, QStringLiteral("T3043 17"));
    EXPECT_EQ(o.lineas.mid(2), (QStringList{"T3047 2 milisegundos", "T3048 3 milisegundos"}));
    EXPECT_EQ(o.dibujo, QStringLiteral("tren"));

    TGenTablaAna tabla(t, QStringLiteral("C:\\datos\\curva.tba"), QStringLiteral("segundos"), 0);
    TSenalAna tabulada(t, QStringLiteral("T"), false, nullptr, &tabla, 42, 0.001, 2);
    EXPECT_EQ(DescribirOrigen(t, tabulada, nullptr).lineas.back(), QStringLiteral("T3038 curva.tba"));

    // Operands by the configuration's channel names; a filter shows its cut-offs.
    TConfigES config;
    config.EntAna(1).Nombre = QStringLiteral("Entrada");
    TOperacion filtro(QStringLiteral("1"), 1, false, false, 200, 10, QStringLiteral("Ana"), QStringLiteral("V"),
                      QStringLiteral("F"), QStringLiteral("Filtro"), QStringLiteral("0"));
    TSenalAna filtrada(t, QStringLiteral("F"), false, &filtro, nullptr, 0, 0.001, 2);
    o = DescribirOrigen(t, filtrada, &config);
    EXPECT_EQ(o.tipo, QStringLiteral("T3050"));
    EXPECT_EQ(o.lineas, (QStringList{"T3051: Entrada", "T3053: Filtro(Entrada)", "T3054 10", "T3055 200",
                                     "T3042 V"}));

    TOperacion y(QStringLiteral("1"), -1, false, false, 0, 0, QStringLiteral("Dig"), QString(),
                 QStringLiteral("Y"), QStringLiteral("And"), QStringLiteral("2"));
    TSenalDig conjuncion(QStringLiteral("Y"), false, &y, nullptr, 0, 0.001, 2);
    o = DescribirOrigen(t, conjuncion, &config);
    EXPECT_EQ(o.tipo, QStringLiteral("T3056"));
    EXPECT_EQ(o.lineas.size(), 4);
    EXPECT_EQ(o.dibujo, QStringLiteral("opdig"));

    TSenalAna calculada(t, QStringLiteral("K"), true, nullptr, nullptr, 0, 0.001, 2);
    EXPECT_EQ(DescribirOrigen(t, calculada, nullptr).tipo, QStringLiteral("T3057"));
}

class DatosSenal : public DisplayPrueba {
protected:
    QString Texto(QWidget& d, const char* n) { return De<QLabel>(d, n).text(); }
};

TEST_F(DatosSenal, PanelesDeLaSenalElegida)
{
    Ana(QStringLiteral("V"), 0.001, {1, 3, 2});
    Dig(QStringLiteral("D"), 0.001, {0, 1, 1, 0, 1});
    TfrmDatosSenal d(p);
    d.Inicializar({QStringLiteral("V"), QStringLiteral("D")});
    EXPECT_EQ(Texto(d, "LTipoSenal"), QStringLiteral("T3024"));
    EXPECT_EQ(Texto(d, "LRMaximo"), QStringLiteral("3.00"));
    EXPECT_EQ(Texto(d, "LRMinimo"), QStringLiteral("1.00"));
    EXPECT_EQ(Texto(d, "LRMedio"), QStringLiteral("2.00"));
    EXPECT_EQ(Texto(d, "LRIntegral"), QStringLiteral("0.00")); // 0.0045 V.s
    EXPECT_EQ(Texto(d, "LRNumeroPuntos"), QStringLiteral("3"));
    EXPECT_EQ(Texto(d, "LRTiempoAnalisis"), QStringLiteral("2 milisegundos"));

    De<QComboBox>(d, "ComboBox1").setCurrentIndex(1);
    EXPECT_EQ(Texto(d, "LTipoSenal"), QStringLiteral("T3023"));
    EXPECT_EQ(Texto(d, "LRSubidas"), QStringLiteral("2"));
    EXPECT_EQ(Texto(d, "LRBajadas"), QStringLiteral("1"));
    EXPECT_TRUE(De<QLabel>(d, "LMaximo").isHidden());
    EXPECT_EQ(Texto(d, "LOrigen"), QStringLiteral("T3044 2"));
    EXPECT_TRUE(Mensajes().isEmpty());

    // A name the set no longer holds is told and leaves the panels empty.
    Conjunto().BorrarAna(QStringLiteral("V"));
    De<QComboBox>(d, "ComboBox1").setCurrentIndex(0);
    EXPECT_EQ(Mensajes(), QStringList{"T3058"});
    EXPECT_TRUE(Texto(d, "LRNumeroPuntos").isEmpty());
}

TEST_F(DatosSenal, RenombrarLlegaATodasLasVentanas)
{
    Ana(QStringLiteral("V"), 0.001, {1});
    Ana(QStringLiteral("W"), 0.001, {1});
    THijaNombres* una = NuevaHija({QStringLiteral("V"), QStringLiteral("W")});
    THijaNombres* otra = NuevaHija({QStringLiteral("W")});

    QStringList nombres = {QStringLiteral("W"), QStringLiteral("Vn")};
    auto pedir = [&](QDialog& d) {
        EXPECT_EQ(De<QLineEdit>(d, "Edit1").text(), QStringLiteral("V"));
        Escribir(d, "Edit1", nombres.takeFirst());
        Pulsar(d, "OKBtn");
    };
    p.modal.Cuando(QStringLiteral("frmPedirNombre"), pedir);
    p.modal.Cuando(QStringLiteral("frmPedirNombre"), pedir);
    p.modal.Cuando(QStringLiteral("frmDatosSenal"), [&](QDialog& d) {
        auto& combo = De<QComboBox>(d, "ComboBox1");
        Pulsar(d, "spBtnPasar"); // "W" exists: told, nothing renamed
        EXPECT_EQ(combo.itemText(0), QStringLiteral("V"));
        Pulsar(d, "spBtnPasar"); // V -> Vn
        EXPECT_EQ(combo.itemText(0), QStringLiteral("Vn"));
        Pulsar(d, "OKBtn");
    });
    TfrmDatosSenal::Mostrar(p, {QStringLiteral("V")});
    EXPECT_EQ(p.modal.Pendientes(), 0);

    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("T248 W!")});
    EXPECT_TRUE(Conjunto().Existe(QStringLiteral("Vn")));
    EXPECT_FALSE(Conjunto().Existe(QStringLiteral("V")));
    EXPECT_EQ(una->nombres, (QStringList{"Vn", "W"}));
    EXPECT_EQ(otra->nombres, QStringList{"W"});
    EXPECT_TRUE(p.estado.Modificado());
}

TEST_F(DatosSenal, NombreVacioNoRenombra)
{
    Ana(QStringLiteral("V"), 0.001, {1});
    p.modal.Cuando(QStringLiteral("frmPedirNombre"), [&](QDialog& d) {
        Escribir(d, "Edit1", QString());
        Pulsar(d, "OKBtn");
        // The empty name is told, and the dialog stays open for another.
        EXPECT_TRUE(d.isVisible());
    });
    p.modal.Cuando(QStringLiteral("frmDatosSenal"), [](QDialog& d) { Pulsar(d, "spBtnPasar"); });
    TfrmDatosSenal::Mostrar(p, {QStringLiteral("V")});
    EXPECT_EQ(Mensajes(), QStringList{"T119"});
    EXPECT_TRUE(Conjunto().Existe(QStringLiteral("V")));
    EXPECT_FALSE(p.estado.Modificado());

    // The field takes at most 8 characters.
    TfrmPedirNombre pedir(p.contexto.Formulario);
    pedir.show();
    Escribir(pedir, "Edit1", QStringLiteral("NueveLetr"));
    EXPECT_EQ(pedir.Nombre(), QStringLiteral("NueveLet"));
}

} // namespace
} // namespace qv::test

// Curve fits and overlaid captures from the analog window's pop-up, driven through the
// real dialogs by the modal seam.
#include "display/acciones_ajuste.h"
#include "display/ajuste_curva.h"
#include "display/superponer.h"
#include "display/visualiza_prueba.h"
#include "model/config_es.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/operaciones.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

namespace qv::test {
namespace {

class AjusteVentana : public VentanasPrueba {
protected:
    void SetUp() override
    {
        VentanasPrueba::SetUp();
        // An RC discharge from 5 V to 0.5 V with tau 50 ms, 1 ms a sample.
        Ana(QStringLiteral("C1"), 400, 0.001, [](int i) { return float(4.5 * std::exp(-i * 0.001 / 0.05) + 0.5); });
        w = Abrir<TfrmVisualizaSenales>(8);
    }

    QAction& Accion(const char* nombre)
    {
        auto* a = w->MenuEmergente().findChild<QAction*>(QLatin1String(nombre));
        if (!a)
            throw std::runtime_error(nombre);
        Q_EMIT w->MenuEmergente().aboutToShow(); // as opening the menu does
        return *a;
    }

    static QString Valor(QDialog& d, int fila, int columna)
    {
        auto* t = d.findChild<QTableWidget*>(QStringLiteral("TablaResultados"));
        return t && t->item(fila, columna) ? t->item(fila, columna)->text() : QString();
    }

    // Blue cursor at x1, red at x2.
    void Cursores(double x1, double x2)
    {
        w->ActivarCursores(true);
        Procesar();
        Clic(*w, Qt::LeftButton, x1);
        Clic(*w, Qt::RightButton, x2);
    }

    TfrmVisualizaSenales* w = nullptr;
};

TEST_F(AjusteVentana, FitFromThePopUpAddsTheCurveItsRecordAndShowsIt)
{
    ASSERT_TRUE(Accion("AjustarCurva2").isEnabled());
    EXPECT_EQ(Accion("AjustarCurva2").text(), QStringLiteral("T560"));
    QString copiado;
    principal.modal.Cuando(QStringLiteral("frmAjusteCurva"), [&](QDialog& d) {
        // Every box has its caption.
        for (const char* l : {"LModelo", "LSenal", "LTramo", "LExpresion", "LIniciales", "LEcuacion"}) {
            auto* e = d.findChild<QLabel*>(QLatin1String(l));
            ASSERT_NE(e, nullptr) << l;
            EXPECT_NE(e->buddy(), nullptr) << l;
        }
        // No cursors: only the whole signal; a built-in model takes no starting values.
        auto* tramo = d.findChild<QComboBox*>(QStringLiteral("CBTramo"));
        EXPECT_EQ(tramo->currentIndex(), 1);
        ASSERT_TRUE(Elegir(d, "CBModelo", QStringLiteral("exp")));
        EXPECT_FALSE(d.findChild<QLineEdit*>(QStringLiteral("EdExpresion"))->isEnabled());
        EXPECT_FALSE(d.findChild<QPushButton*>(QStringLiteral("BtnCopiar"))->isEnabled());
        ASSERT_TRUE(Pulsar(d, "BtnAjustar"));
        EXPECT_EQ(Valor(d, 0, 0), QStringLiteral("A"));
        EXPECT_NEAR(Valor(d, 0, 1).toDouble(), 4.5, 1e-4);
        EXPECT_EQ(Valor(d, 1, 0), QStringLiteral("tau"));
        EXPECT_NEAR(Valor(d, 1, 1).toDouble(), 0.05, 1e-6);
        EXPECT_NEAR(Valor(d, 2, 1).toDouble(), 0.5, 1e-4);
        EXPECT_EQ(Valor(d, 3, 0), QStringLiteral("T589")); // R²
        EXPECT_NEAR(Valor(d, 3, 1).toDouble(), 1, 1e-6);
        EXPECT_TRUE(Texto(static_cast<QWidget&>(d), "LREcuacion").startsWith(QStringLiteral("y = A*exp(-t/tau) + C")));
        ASSERT_TRUE(Pulsar(d, "BtnCopiar"));
        copiado = QGuiApplication::clipboard()->text();
        Pulsar(d, "BtnCerrar");
    });
    Accion("AjustarCurva2").trigger();
    Procesar();
    EXPECT_EQ(principal.modal.Pendientes(), 0);

    const TSenalAna* aj = Set().BuscarAna(QStringLiteral("Aj_exp_C1"));
    ASSERT_NE(aj, nullptr);
    EXPECT_TRUE(aj->Calculada());
    EXPECT_NEAR(aj->LeerMuestra(100), 4.5 * std::exp(-0.1 / 0.05) + 0.5, 1e-4);
    ASSERT_EQ(Set().Ajustes.size(), 1u);
    EXPECT_EQ(Set().Ajustes[0].Senal, QStringLiteral("Aj_exp_C1"));
    EXPECT_EQ(Set().Ajustes[0].Datos, QStringLiteral("C1"));
    EXPECT_EQ(Set().Ajustes[0].Hasta, 399);
    // Drawn over the data in the same window.
    EXPECT_EQ(w->SenalesVisibles, (QStringList{"C1", "Aj_exp_C1"}));
    EXPECT_EQ(w->Grafica().NumSeries(), 2);
    EXPECT_TRUE(principal.estado.Modificado());
    // The clipboard: tab-separated rows in full precision.
    EXPECT_TRUE(copiado.startsWith(QStringLiteral("C1\ty = A*exp(-t/tau) + C\n"))) << copiado.toStdString();
    const QStringList filas = copiado.split(QLatin1Char('\n'));
    const qsizetype fila = filas.indexOf(QRegularExpression(QStringLiteral("^tau\t.*")));
    ASSERT_GE(fila, 0);
    const QStringList tau = filas[fila].split(QLatin1Char('\t'));
    ASSERT_EQ(tau.size(), 3);
    EXPECT_NEAR(tau[1].toDouble(), 0.05, 1e-7);
    EXPECT_TRUE(copiado.contains(QStringLiteral("\nT589\t")));

    // The same fit again over the first half of data twice as large, written over the first:
    // the window draws the new curve, the set keeps one record, of the new span.
    TSenalAna& c1 = *Set().BuscarAna(QStringLiteral("C1"));
    for (int i = 0; i < c1.NumMuestras(); ++i)
        c1.PonerMuestra(i, 2 * c1.LeerMuestra(i));
    Cursores(0, 0.2);
    principal.interaccion.respuestas.push_back(11); // "Sobreescribir"
    principal.modal.Cuando(QStringLiteral("frmAjusteCurva"), [&](QDialog& d) {
        ASSERT_TRUE(Elegir(d, "CBModelo", QStringLiteral("poly2")));
        ASSERT_TRUE(Pulsar(d, "BtnAjustar"));
        ASSERT_TRUE(Elegir(d, "CBModelo", QStringLiteral("exp")));
        ASSERT_TRUE(Pulsar(d, "BtnAjustar"));
        Pulsar(d, "BtnCerrar");
    });
    Accion("AjustarCurva2").trigger();
    Procesar();
    EXPECT_EQ(w->SenalesVisibles, (QStringList{"C1", "Aj_exp_C1", "Aj_pol2_C1"}));
    ASSERT_EQ(Set().Ajustes.size(), 2u);
    EXPECT_EQ(Set().Ajustes[0].Senal, QStringLiteral("Aj_pol2_C1"));
    EXPECT_EQ(Set().Ajustes[1].Senal, QStringLiteral("Aj_exp_C1"));
    EXPECT_EQ(Set().Ajustes[1].Hasta, 200);
    // The series shows the new signal's samples.
    double x = 0, y = 0;
    ASSERT_TRUE(w->Grafica().Serie(1).LeerPunto(1, x, y));
    EXPECT_NEAR(y, 10, 1e-3);
}

TEST_F(AjusteVentana, BetweenTheCursorsWithTheResidualAndAFormula)
{
    Cursores(0.1, 0.3);
    const TTramo cursores = w->TramoCursores();
    ASSERT_EQ(cursores.desde, 100);
    ASSERT_EQ(cursores.hasta, 300);
    principal.modal.Cuando(QStringLiteral("frmAjusteCurva"), [&](QDialog& d) {
        EXPECT_EQ(d.findChild<QComboBox*>(QStringLiteral("CBTramo"))->currentIndex(), 0);
        ASSERT_TRUE(Elegir(d, "CBModelo", QStringLiteral("T566"))); // the first entry, a line
        ASSERT_TRUE(Elegir(d, "CBModelo", QStringLiteral("expr")));
        ASSERT_TRUE(Escribir(d, "EdExpresion", QStringLiteral("V*exp(-(t + t0)/T) + Vf")));
        // One row per parameter, each starting at 1; typed values are kept.
        auto* ini = d.findChild<QTableWidget*>(QStringLiteral("TablaIniciales"));
        ASSERT_EQ(ini->rowCount(), 4);
        EXPECT_EQ(ini->item(2, 0)->text(), QStringLiteral("T"));
        EXPECT_EQ(ini->item(2, 1)->text(), QStringLiteral("1"));
        ASSERT_TRUE(Escribir(d, "EdExpresion", QStringLiteral("V*exp(-t/T) + Vf")));
        ASSERT_EQ(ini->rowCount(), 3);
        ini->item(0, 1)->setText(QStringLiteral("2"));
        ini->item(1, 1)->setText(QStringLiteral("0.1"));
        ASSERT_TRUE(Marcar(d, "CBResiduo"));
        ASSERT_TRUE(Pulsar(d, "BtnAjustar"));
        const auto& r = static_cast<TfrmAjusteCurva&>(d).Ultimo();
        ASSERT_TRUE(r && r->Converge());
        EXPECT_EQ(r->Tramo.desde, cursores.desde);
        EXPECT_EQ(r->Tramo.hasta, cursores.hasta);
        // t from the blue cursor: V is the value there.
        EXPECT_NEAR(r->Parametro(QStringLiteral("V"))->Valor, 4.5 * std::exp(-0.1 / 0.05), 1e-3);
        EXPECT_NEAR(r->Parametro(QStringLiteral("T"))->Valor, 0.05, 1e-5);
        Pulsar(d, "BtnCerrar");
    });
    Accion("AjustarCurva2").trigger();
    Procesar();
    ASSERT_NE(Set().BuscarAna(QStringLiteral("Aj_expr_C1")), nullptr);
    const TSenalAna* res = Set().BuscarAna(QStringLiteral("Res_expr_C1"));
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(res->LeerMuestra(50), 0.0f); // outside the span
    EXPECT_NEAR(res->LeerMuestra(200), 0, 1e-4);
    EXPECT_EQ(Set().Ajustes.size(), 1u); // the residual is a signal, not a fit
    EXPECT_EQ(Set().Ajustes[0].Expresion, QStringLiteral("V*exp(-t/T) + Vf"));
    EXPECT_EQ(w->SenalesVisibles, (QStringList{"C1", "Aj_expr_C1", "Res_expr_C1"}));
}

TEST_F(AjusteVentana, FailedFitsSaySoAndAddNothing)
{
    principal.modal.Cuando(QStringLiteral("frmAjusteCurva"), [&](QDialog& d) {
        ASSERT_TRUE(Elegir(d, "CBModelo", QStringLiteral("expr")));
        ASSERT_TRUE(Escribir(d, "EdExpresion", QStringLiteral("A*sqrt(-1 - t*t)")));
        ASSERT_TRUE(Pulsar(d, "BtnAjustar"));
        EXPECT_EQ(Texto(static_cast<QWidget&>(d), "LREcuacion"), QStringLiteral("T576"));
        EXPECT_EQ(d.findChild<QTableWidget*>(QStringLiteral("TablaResultados"))->rowCount(), 0);
        EXPECT_FALSE(d.findChild<QPushButton*>(QStringLiteral("BtnCopiar"))->isEnabled());
        ASSERT_TRUE(Escribir(d, "EdExpresion", QStringLiteral("A*exp(-t/")));
        ASSERT_TRUE(Pulsar(d, "BtnAjustar"));
        EXPECT_EQ(Texto(static_cast<QWidget&>(d), "LREcuacion"), QStringLiteral("T578 (10)"));
        // A starting value that is no number stops the fit before it starts.
        ASSERT_TRUE(Escribir(d, "EdExpresion", QStringLiteral("A*t")));
        d.findChild<QTableWidget*>(QStringLiteral("TablaIniciales"))->item(0, 1)->setText(QStringLiteral("x"));
        ASSERT_TRUE(Pulsar(d, "BtnAjustar"));
        Pulsar(d, "BtnCerrar");
    });
    Accion("AjustarCurva2").trigger();
    Procesar();
    const QStringList m = principal.interaccion.Textos();
    ASSERT_EQ(m.size(), 3) << m.join('|').toStdString();
    EXPECT_EQ(m[0], QStringLiteral("T576"));
    EXPECT_EQ(m[1], QStringLiteral("T578 (10)"));
    EXPECT_EQ(m[2], QStringLiteral("T578 x"));
    EXPECT_EQ(Set().NumAna(), 1);
    EXPECT_TRUE(Set().Ajustes.empty());
    EXPECT_FALSE(principal.estado.Modificado());
    EXPECT_EQ(w->SenalesVisibles, QStringList{"C1"});
}

// ---- overlays ----------------------------------------------------------------------------

class SuperponerVentana : public AjusteVentana {
protected:
    void SetUp() override
    {
        AjusteVentana::SetUp();
        ASSERT_TRUE(dir.isValid());
        // Another capture, with a C1 of its own (2 ms a sample) and a digital signal.
        TCjtSenales otra(principal.textos, principal.interaccion);
        auto c1 = std::make_unique<TSenalAna>(QStringLiteral("V"), QStringLiteral("C1"), false, nullptr, nullptr, 1,
                                              0.002, std::uint16_t(100));
        for (int i = 0; i < 100; ++i)
            c1->PonerMuestra(i, float(3 - i * 0.01));
        otra.AnadirAna(std::move(c1));
        auto d = std::make_unique<TSenalDig>(QStringLiteral("D1"), false, nullptr, nullptr, 1, 0.002, std::uint16_t(4));
        d->PonerMuestra(1, 1);
        otra.AnadirDig(std::move(d));
        TFicheroConfig fc(principal.textos, principal.interaccion, dir.path());
        TConfigES config;
        TOperaciones ops;
        ruta = dir.filePath(QStringLiteral("prueba.qvn"));
        GuardarFicheroSenales(ruta, fc, config, ops, otra);
    }

    TSuperposiciones& Capas() { return w->findChild<TAccionesAjuste*>()->Superposiciones(); }

    void Superponer(const QStringList& senales, int alinear, bool conservar)
    {
        principal.dialogos.abrir.push_back(ruta);
        principal.modal.Cuando(QStringLiteral("frmSuperponer"), [=](QDialog& d) {
            auto* lista = d.findChild<QListWidget*>(QStringLiteral("LBSenales"));
            ASSERT_EQ(NombresDe(*lista), (QStringList{"C1", "D1"}));
            for (int i = 0; i < lista->count(); ++i)
                lista->item(i)->setSelected(senales.contains(lista->item(i)->text()));
            d.findChild<QComboBox*>(QStringLiteral("CBAlinear"))->setCurrentIndex(alinear);
            Marcar(d, "CBConservar", conservar);
            Pulsar(d, "OKBtn");
        });
        Accion("SuperponerCaptura2").trigger();
        Procesar();
    }

    QTemporaryDir dir;
    QString ruta;
};

TEST_F(SuperponerVentana, LaidOverDashedUnderNamesOfTheirOwnAndKeptOutOfTheSet)
{
    // The set already holds a name the first overlay would take.
    Ana(QStringLiteral("prueba_C1"), 10, 0.001, [](int) { return 0.0f; });
    Superponer({"C1", "D1"}, 0, false);
    ASSERT_EQ(Capas().Nombres(), (QStringList{"prueba_C1_2", "prueba_D1"}));
    EXPECT_EQ(principal.dialogos.llamadas.back().titulo, QStringLiteral("T1181"));
    // Out of the set, and so out of every operation and of its file.
    EXPECT_EQ(Set().BuscarAna(QStringLiteral("prueba_C1_2")), nullptr);
    QByteArray texto;
    EscribirFichero(Set(), texto);
    EXPECT_FALSE(texto.contains("prueba_D1"));
    EXPECT_FALSE(principal.estado.Modificado());
    // Dashed, on the window's axes, from time 0 at their own period; digital as 0/5 V.
    QCPGraph* g = Capas().Grafico(0);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->pen().style(), Qt::DashLine);
    ASSERT_EQ(g->data()->size(), 100);
    EXPECT_DOUBLE_EQ(g->data()->at(1)->key, 0.002);
    EXPECT_FLOAT_EQ(float(g->data()->at(1)->value), 2.99f);
    EXPECT_DOUBLE_EQ(Capas().Grafico(1)->data()->at(1)->value, 5);
    EXPECT_EQ(Capas().Senal(1)->Canal, 0);
    // A rebuild of the window's own series leaves them drawn.
    w->Refrescar();
    Procesar();
    ASSERT_NE(Capas().Grafico(0), nullptr);
    EXPECT_EQ(w->Grafica().graphCount(), w->Grafica().NumSeries() + 2);
    // Removed: gone from the graph.
    Accion("QuitarSuperposiciones2").trigger();
    EXPECT_TRUE(Capas().Vacia());
    EXPECT_EQ(w->Grafica().graphCount(), w->Grafica().NumSeries());
    EXPECT_FALSE(Accion("ConservarSuperposiciones2").isEnabled());
}

TEST_F(SuperponerVentana, AlignedAtTheBlueCursorAndKeptOnRequest)
{
    // Without the blue cursor the choice is not offered.
    principal.dialogos.abrir.push_back(ruta);
    principal.modal.Cuando(QStringLiteral("frmSuperponer"), [](QDialog& d) {
        auto* m = qobject_cast<QStandardItemModel*>(d.findChild<QComboBox*>(QStringLiteral("CBAlinear"))->model());
        ASSERT_NE(m, nullptr);
        EXPECT_FALSE(m->item(1)->isEnabled());
        // Nothing chosen: the dialog says so and stays.
        d.findChild<QListWidget*>(QStringLiteral("LBSenales"))->clearSelection();
        Pulsar(d, "OKBtn");
        EXPECT_TRUE(d.isVisible());
    });
    Accion("SuperponerCaptura2").trigger();
    EXPECT_EQ(principal.interaccion.Textos(), QStringList{"T588"});
    EXPECT_TRUE(Capas().Vacia());

    Cursores(0.2, 0.3);
    const double azul = w->Grafica().CursorAzul().X;
    ASSERT_NEAR(azul, 0.2, 0.002);
    Superponer({"C1"}, 1, false);
    ASSERT_EQ(Capas().Nombres(), QStringList{"prueba_C1"});
    EXPECT_DOUBLE_EQ(Capas().Inicio(0), azul);
    EXPECT_DOUBLE_EQ(Capas().Grafico(0)->data()->at(0)->key, azul);

    // "Conservar": into the set as a plain calculated signal, shown in the window.
    Accion("ConservarSuperposiciones2").trigger();
    Procesar();
    EXPECT_TRUE(Capas().Vacia());
    const TSenalAna* k = Set().BuscarAna(QStringLiteral("prueba_C1"));
    ASSERT_NE(k, nullptr);
    EXPECT_TRUE(k->Calculada());
    EXPECT_EQ(k->Canal, 0);
    EXPECT_EQ(k->Operacion(), nullptr);
    EXPECT_TRUE(principal.estado.Modificado());
    EXPECT_TRUE(w->SenalesVisibles.contains(QStringLiteral("prueba_C1")));
    QByteArray texto;
    EscribirFichero(Set(), texto);
    EXPECT_TRUE(texto.contains("prueba_C1"));

    // Kept straight from the dialog.
    Superponer({"D1"}, 0, true);
    EXPECT_TRUE(Capas().Vacia());
    EXPECT_NE(Set().BuscarAna(QStringLiteral("prueba_D1")), nullptr);

    // A window closed with overlays on it lets them go with its graph.
    Superponer({"C1"}, 0, false);
    ASSERT_FALSE(Capas().Vacia());
    principal.area->closeAllSubWindows();
    Procesar();
    EXPECT_EQ(Ventanas(principal), 0);
}

} // namespace
} // namespace qv::test

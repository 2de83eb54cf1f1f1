// The operation dialogs and the filter dialog, driven by object names: the operands
// each offers, what "Añadir" builds and refuses, deleting, and the filter's limits.
#include "channels/filtro.h"
#include "channels/operaciones_ana.h"
#include "channels/operaciones_dig.h"
#include "common/controles.h"
#include "common/principal_prueba.h"
#include "model/config_es.h"
#include "model/senales.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace qv::test {
namespace {

bool Habilitado(QDialog& d, const char* nombre)
{
    return d.findChild<QWidget*>(QLatin1String(nombre))->isEnabled();
}

class Operaciones : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.estado.PonerTrabajo(std::make_unique<TConfigES>());
        TConfigES& c = *p.estado.Trabajo();
        c.EntAna(1).Activo = true;
        c.EntAna(3).Activo = true;
        c.SalAna(2).Activo = true;
        c.EntDig(1).Activo = true;
        c.EntDig(2).Activo = true;
        c.SalDig(3).Activo = true;
    }

    TPrincipalPrueba p;
    TOperaciones operaciones;

    // Runs the dialog on `operaciones` with `accion` inside; answers the modal result.
    template <class T>
    int Ejecutar(const std::function<void(QDialog&)>& accion, std::unique_ptr<T>* dialogo = nullptr)
    {
        auto d = std::make_unique<T>(p, operaciones, &p.ventana);
        p.modal.Cuando(d->objectName(), accion);
        const int r = d->Ejecutar();
        if (dialogo)
            *dialogo = std::move(d);
        return r;
    }

    static QStringList Lineas(QDialog& d, const char* lista)
    {
        QStringList r;
        auto* l = d.findChild<QListWidget*>(QLatin1String(lista));
        for (int i = 0; i < l->count(); ++i)
            r << l->item(i)->text();
        return r;
    }
    QString Ultimo() const { return p.interaccion.mensajes.empty() ? QString() : p.interaccion.mensajes.back().texto; }

    // Chooses operands and key, names the result and presses "Añadir".
    static void Definir(QDialog& d, const QString& op1, const char* tecla, const QString& op2, const QString& nombre,
                        bool constante2 = false)
    {
        Elegir(d, "Operando1ListBox", op1);
        Pulsar(d, tecla);
        if (constante2)
            Escribir(d, "Operando2Edit", op2);
        else if (!op2.isEmpty())
            Elegir(d, "Operando2ListBox", op2);
        Escribir(d, "NombreEdit", nombre);
        Pulsar(d, "AnadirBtn");
    }
};

TEST_F(Operaciones, AnalogicaConCanalesYConstantes)
{
    std::unique_ptr<TfrmOperacionesAna> dlg;
    const int r = Ejecutar<TfrmOperacionesAna>(
        [&](QDialog& d) {
            // Active analog inputs, then active analog outputs.
            EXPECT_EQ(Lineas(d, "Operando1ListBox"),
                      (QStringList{QStringLiteral("InAnaC1"), QStringLiteral("InAnaD1"), QStringLiteral("OutAnY2")}));
            EXPECT_FALSE(Habilitado(d, "AnadirBtn"));
            EXPECT_FALSE(Habilitado(d, "BorrarBtn"));

            Definir(d, QStringLiteral("InAnaC1"), "SpButtonMas", QStringLiteral("2.5"), QStringLiteral("Mas"), true);
            Definir(d, QStringLiteral("OutAnY2"), "SpButtonDivide", QStringLiteral("InAnaD1"), QStringLiteral("Div"));
            Escribir(d, "Operando1Edit", QStringLiteral("3"));
            Pulsar(d, "SpButtonIntegral");
            // The integral empties the constant: its operand is chosen again.
            EXPECT_TRUE(d.findChild<QLineEdit*>(QStringLiteral("Operando1Edit"))->text().isEmpty());
            EXPECT_FALSE(Habilitado(d, "Operando2ListBox"));
            EXPECT_FALSE(Habilitado(d, "AnadirBtn"));
            Elegir(d, "Operando1ListBox", QStringLiteral("InAnaD1"));
            Escribir(d, "NombreEdit", QStringLiteral("Int"));
            Escribir(d, "UnidadEdit", QStringLiteral("Vs"));
            Pulsar(d, "AnadirBtn");

            EXPECT_EQ(Lineas(d, "ListaOperacionesListBox"),
                      (QStringList{QStringLiteral("Mas"), QStringLiteral("Div"), QStringLiteral("Int")}));
            EXPECT_EQ(Lineas(d, "ListaDescipcionesListBox"),
                      (QStringList{QStringLiteral("(InAnaC1 + 2.5)"), QStringLiteral("(OutAnY2 / InAnaD1)"),
                                   QStringLiteral("f(InAnaD1)dx")}));
            EXPECT_TRUE(p.interaccion.mensajes.empty()) << Ultimo().toStdString();
            Pulsar(d, "AceptarBtn");
        },
        &dlg);
    EXPECT_EQ(r, QDialog::Accepted);
    const auto& ana = dlg->Operaciones().ListaOpAna;
    ASSERT_EQ(ana.size(), 3u);
    EXPECT_EQ(ana[0].Operando1, 1);
    EXPECT_TRUE(ana[0].EsConstante2);
    EXPECT_FLOAT_EQ(ana[0].Constante2, 2.5f);
    EXPECT_EQ(ana[0].UnidadResultado, QStringLiteral("Voltios"));
    EXPECT_EQ(ana[0].TipoFiltro, 255);
    EXPECT_EQ(ana[1].Operando1, 10);
    EXPECT_EQ(ana[1].Operando2, 3);
    EXPECT_EQ(ana[2].Operador, QStringLiteral("Integral"));
    EXPECT_EQ(ana[2].Operando2, 0);
    EXPECT_FALSE(ana[2].EsConstante1);
    EXPECT_EQ(ana[2].UnidadResultado, QStringLiteral("Vs"));
    // The caller's list is untouched until it takes the copy.
    EXPECT_TRUE(operaciones.ListaOpAna.empty());
}

TEST_F(Operaciones, AnadirRechazaEnSuOrden)
{
    p.estado.PonerConjunto(std::make_unique<TCjtSenales>(p.textos, p.interaccion));
    p.estado.Senales()->AnadirAna(
        std::make_unique<TSenalAna>(p.textos, QStringLiteral("Vieja"), false, nullptr, nullptr, 1, 0.001, 4));
    operaciones.AnadirOpAna(TOperacion(QStringLiteral("1"), 255, false, false, 0, 0, QStringLiteral("Ana"),
                                       QStringLiteral("V"), QStringLiteral("Doble"), QStringLiteral("Derivada"),
                                       QStringLiteral("0")));
    Ejecutar<TfrmOperacionesAna>([&](QDialog& d) {
        auto* anadir = d.findChild<QPushButton*>(QStringLiteral("AnadirBtn"));
        // Incomplete: the button is off, and a click that reaches it anyway is refused.
        Elegir(d, "Operando1ListBox", QStringLiteral("InAnaC1"));
        Q_EMIT anadir->clicked();
        EXPECT_EQ(Ultimo(), QStringLiteral("T173"));

        // Two constants never give a signal.
        Escribir(d, "Operando1Edit", QStringLiteral("1"));
        Pulsar(d, "SpButtonPor");
        Escribir(d, "Operando2Edit", QStringLiteral("2"));
        EXPECT_FALSE(anadir->isEnabled());

        Escribir(d, "Operando1Edit", QStringLiteral("1-2"));
        EXPECT_FALSE(anadir->isEnabled());
        Elegir(d, "Operando2ListBox", QStringLiteral("InAnaD1"));
        Pulsar(d, "AnadirBtn");
        EXPECT_EQ(Ultimo(), QStringLiteral("T182"));
        EXPECT_TRUE(d.findChild<QLineEdit*>(QStringLiteral("Operando1Edit"))->text().isEmpty());
        EXPECT_FALSE(anadir->isEnabled());

        Elegir(d, "Operando1ListBox", QStringLiteral("InAnaC1"));
        Pulsar(d, "SpButtonPor");
        Pulsar(d, "AnadirBtn");
        EXPECT_EQ(Ultimo(), QStringLiteral("T174"));
        EXPECT_EQ(d.focusWidget(), d.findChild<QLineEdit*>(QStringLiteral("NombreEdit")));
        for (const auto& [nombre, texto] : {std::pair{"InAnE1", "T175"}, std::pair{"InDigB3", "T175"},
                                            std::pair{"Vieja", "T158"}, std::pair{"Doble", "T176"}}) {
            Escribir(d, "NombreEdit", QLatin1String(nombre));
            Pulsar(d, "AnadirBtn");
            EXPECT_EQ(Ultimo(), QLatin1String(texto)) << nombre;
            EXPECT_EQ(p.interaccion.mensajes.back().sabor, TInteraccionGuion::Sabor::Error);
        }
        EXPECT_EQ(Lineas(d, "ListaOperacionesListBox"), QStringList{QStringLiteral("Doble")});
    });
    EXPECT_EQ(p.interaccion.mensajes.size(), 7u);

    // Without a working configuration there is nothing to refer to.
    p.estado.PonerTrabajo(nullptr);
    p.interaccion.mensajes.clear();
    Ejecutar<TfrmOperacionesAna>([&](QDialog& d) {
        EXPECT_EQ(d.findChild<QListWidget*>(QStringLiteral("Operando1ListBox"))->count(), 0);
        Q_EMIT d.findChild<QPushButton*>(QStringLiteral("AnadirBtn"))->clicked();
    });
    EXPECT_EQ(Ultimo(), QStringLiteral("T202"));
}

TEST_F(Operaciones, FiltroPideSusFrecuencias)
{
    std::unique_ptr<TfrmOperacionesAna> dlg;
    p.modal.Cuando(QStringLiteral("frmFiltro"), [](QDialog& f) {
        Marcar(f, "RBPasaBanda");
        Escribir(f, "FiltroBajaEdit", QStringLiteral("10"));
        Escribir(f, "FiltroAltaEdit", QStringLiteral("100"));
        Pulsar(f, "OKBtn");
    });
    Ejecutar<TfrmOperacionesAna>(
        [&](QDialog& d) {
            // A constant first operand is no signal to filter.
            Escribir(d, "Operando1Edit", QStringLiteral("2"));
            Pulsar(d, "SpButtonFiltro");
            EXPECT_EQ(Ultimo(), QStringLiteral("T181"));
            EXPECT_EQ(p.modal.Ejecuciones(), 1);
            EXPECT_FALSE(d.findChild<QPushButton*>(QStringLiteral("SpButtonFiltro"))->isChecked());

            Elegir(d, "Operando1ListBox", QStringLiteral("InAnaD1"));
            Pulsar(d, "SpButtonFiltro");
            EXPECT_TRUE(d.findChild<QPushButton*>(QStringLiteral("SpButtonFiltro"))->isChecked());
            EXPECT_FALSE(Habilitado(d, "Operando2ListBox"));
            Escribir(d, "NombreEdit", QStringLiteral("Banda"));
            Pulsar(d, "AnadirBtn");
            // The filter stays chosen for the next one.
            EXPECT_TRUE(d.findChild<QPushButton*>(QStringLiteral("SpButtonFiltro"))->isChecked());
            Pulsar(d, "AceptarBtn");
        },
        &dlg);
    ASSERT_EQ(dlg->Operaciones().ListaOpAna.size(), 1u);
    const TOperacion& f = dlg->Operaciones().ListaOpAna[0];
    EXPECT_EQ(f.Operador, QStringLiteral("Filtro"));
    EXPECT_EQ(f.TipoFiltro, 2);
    EXPECT_EQ(f.FrecBaja, 10);
    EXPECT_EQ(f.FrecAlta, 100);
    EXPECT_EQ(f.Operando1, 3);
    EXPECT_EQ(f.Operando2, 0);
}

TEST_F(Operaciones, BorrarYTeclaSuprimir)
{
    for (const char* n : {"Uno", "Dos", "Tres"})
        operaciones.AnadirOpDig(TOperacion(QStringLiteral("1"), 255, false, false, 0, 0, QStringLiteral("Dig"),
                                           QStringLiteral("V"), QLatin1String(n), QStringLiteral("Not"),
                                           QStringLiteral("0")));
    std::unique_ptr<TfrmOperacionesDig> dlg;
    Ejecutar<TfrmOperacionesDig>(
        [&](QDialog& d) {
            auto* lista = d.findChild<QListWidget*>(QStringLiteral("ListaOperacionesListBox"));
            // Nothing selected: the Delete key does nothing, "Borrar" takes the first.
            QTest::keyClick(lista, Qt::Key_Delete);
            EXPECT_EQ(lista->count(), 3);
            Pulsar(d, "BorrarBtn");
            EXPECT_EQ(Lineas(d, "ListaOperacionesListBox"), (QStringList{QStringLiteral("Dos"), QStringLiteral("Tres")}));
            EXPECT_EQ(Lineas(d, "ListaDescipcionesListBox").size(), 2);
            lista->setCurrentRow(1);
            QTest::keyClick(lista, Qt::Key_Delete);
            EXPECT_EQ(Lineas(d, "ListaOperacionesListBox"), QStringList{QStringLiteral("Dos")});
            Pulsar(d, "AceptarBtn");
        },
        &dlg);
    ASSERT_EQ(dlg->Operaciones().ListaOpDig.size(), 1u);
    EXPECT_EQ(dlg->Operaciones().ListaOpDig[0].NombreResultado, QStringLiteral("Dos"));
    EXPECT_EQ(operaciones.ListaOpDig.size(), 3u);
}

TEST_F(Operaciones, DigitalConSalidasYNot)
{
    std::unique_ptr<TfrmOperacionesDig> dlg;
    Ejecutar<TfrmOperacionesDig>(
        [&](QDialog& d) {
            EXPECT_EQ(Lineas(d, "Operando2ListBox"),
                      (QStringList{QStringLiteral("InDigA1"), QStringLiteral("InDigA2"), QStringLiteral("OutDiW3")}));
            Definir(d, QStringLiteral("InDigA2"), "SpButtonXor", QStringLiteral("OutDiW3"), QStringLiteral("X"));
            Elegir(d, "Operando1ListBox", QStringLiteral("OutDiW3"));
            Pulsar(d, "SpButtonNot");
            EXPECT_FALSE(d.findChild<QListWidget*>(QStringLiteral("Operando2ListBox"))->isVisible());
            Escribir(d, "NombreEdit", QStringLiteral("N"));
            Pulsar(d, "AnadirBtn");
            // All keys up after adding.
            EXPECT_FALSE(d.findChild<QPushButton*>(QStringLiteral("SpButtonNot"))->isChecked());
            EXPECT_FALSE(Habilitado(d, "AnadirBtn"));
            EXPECT_EQ(Lineas(d, "ListaDescipcionesListBox"),
                      (QStringList{QStringLiteral("(InDigA2 XOR OutDiW3)"), QStringLiteral("NOT(OutDiW3)")}));
            Pulsar(d, "AceptarBtn");
        },
        &dlg);
    const auto& dig = dlg->Operaciones().ListaOpDig;
    ASSERT_EQ(dig.size(), 2u);
    EXPECT_EQ(dig[0].Operando1, 2);
    EXPECT_EQ(dig[0].Operando2, 19);
    EXPECT_EQ(dig[1].Operando1, 19);
    EXPECT_EQ(dig[1].Operando2, 0);
    EXPECT_EQ(dig[1].UnidadResultado, QStringLiteral("Voltios"));
}

// ---- filter dialog -------------------------------------------------------------------

class Filtro : public ::testing::Test {
protected:
    TPrincipalPrueba p;
    QString Ultimo() const { return p.interaccion.mensajes.empty() ? QString() : p.interaccion.mensajes.back().texto; }
};

TEST_F(Filtro, CadaTipoPideSusFrecuenciasYLaBandaSuOrden)
{
    TfrmFiltro f(p.contexto.Formulario, &p.ventana);
    f.FrecuenciaReferencia = 999.6;
    p.modal.Cuando(f.objectName(), [&](QDialog& d) {
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("MuesLabel"))->text(), QStringLiteral("T26002 1000.00 Hz"));
        EXPECT_TRUE(Habilitado(d, "FiltroBajaEdit"));
        EXPECT_FALSE(Habilitado(d, "FiltroAltaEdit"));
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Ultimo(), QStringLiteral("T115"));

        // A band with only its low frequency.
        Marcar(d, "RBPasaBanda");
        Escribir(d, "FiltroBajaEdit", QStringLiteral("50"));
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Ultimo(), QStringLiteral("T115"));
        EXPECT_EQ(d.focusWidget(), d.findChild<QLineEdit*>(QStringLiteral("FiltroAltaEdit")));

        // Whole hertz only; a low cut-off above the high one is refused.
        Escribir(d, "FiltroAltaEdit", QStringLiteral("4x0.5"));
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("FiltroAltaEdit"))->text(), QStringLiteral("405"));
        Escribir(d, "FiltroAltaEdit", QStringLiteral("40"));
        Pulsar(d, "OKBtn");
        EXPECT_EQ(Ultimo(), QStringLiteral("T26012"));
        EXPECT_TRUE(d.isVisible());

        Marcar(d, "RBParaBanda");
        Escribir(d, "FiltroAltaEdit", QStringLiteral("50"));
        Pulsar(d, "OKBtn");
    });
    EXPECT_EQ(f.Ejecutar(), QDialog::Accepted);
    EXPECT_EQ(f.Tipo(), TfrmFiltro::ParaBanda);
    EXPECT_EQ(f.FrecuenciaBaja(), QStringLiteral("50"));
    EXPECT_EQ(f.FrecuenciaAlta(), QStringLiteral("50"));
    EXPECT_EQ(p.interaccion.mensajes.size(), 3u);

    // Shown again: high-pass, both fields empty; a low-pass needs only its high one.
    p.modal.Cuando(f.objectName(), [&](QDialog& d) {
        EXPECT_TRUE(d.findChild<QLineEdit*>(QStringLiteral("FiltroBajaEdit"))->text().isEmpty());
        Marcar(d, "RBPasaBajo");
        EXPECT_FALSE(Habilitado(d, "FiltroBajaEdit"));
        Escribir(d, "FiltroAltaEdit", QStringLiteral("10"));
        Pulsar(d, "OKBtn");
    });
    EXPECT_EQ(f.Ejecutar(), QDialog::Accepted);
    EXPECT_EQ(f.Tipo(), TfrmFiltro::PasaBajo);
}

} // namespace
} // namespace qv::test

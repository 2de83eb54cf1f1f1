// The analog and digital table dialogs: choosing the file, loading it at "Aceptar",
// and what a table that cannot be loaded does to the output.
#include "generadores_prueba.h"

#include "channels/tablas_generador.h"
#include "model/config_es.h"
#include "model/generadores.h"

#include <QComboBox>

namespace qv::test {
namespace {

class Tablas : public CanalesPrueba {
protected:
    // Chooses `ruta` with "..." and presses "Aceptar".
    bool Aceptar(TDialogoTabla& d, const QString& ruta, const QString& retardo = QStringLiteral("20"))
    {
        interaccion.mensajes.clear();
        d.show();
        dialogos.abrir.push_back(ruta);
        d.SBrowseClick();
        Escribir(d, "RetardoEdit", retardo);
        Pulsar(d, "OKBtn");
        return d.result() == QDialog::Accepted;
    }
};

TEST_F(Tablas, TablaAnalogicaCargadaYMostradaOtraVez)
{
    const QString f = Fichero("rampa.tba", "3\r\n1.5\r\n-2\r\n10\r\n");
    {
        TfrmGridAna d(principal, config, 2);
        Control<QComboBox>(d, "UnidadTEdit")->setCurrentIndex(0);
        ASSERT_TRUE(Aceptar(d, f)) << Mensajes().join('|').toStdString();
        EXPECT_EQ(d.TipoGuardado(), QStringLiteral("Tabla"));
    }
    const auto* g = dynamic_cast<const TGenTablaAna*>(config.SalAna(2).Generador.get());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Fichero, f);
    EXPECT_EQ(g->Valores, (std::vector<float>{1.5f, -2.0f, 10.0f}));
    EXPECT_FLOAT_EQ(g->Retardo, 20e-6f);

    TfrmGridAna otra(principal, config, 2);
    EXPECT_EQ(Texto(otra, "NombreFichEdit"), QStringLiteral("rampa.tba"));
    EXPECT_EQ(Texto(otra, "RetardoEdit"), QStringLiteral("20"));
    EXPECT_EQ(Control<QComboBox>(otra, "UnidadTEdit")->currentIndex(), 0);
    // Accepted again without choosing: the present table's file.
    otra.show();
    Pulsar(otra, "OKBtn");
    EXPECT_EQ(otra.result(), QDialog::Accepted);
    EXPECT_EQ(otra.Ruta(), f);
}

TEST_F(Tablas, TablaDigitalConUnDosDejaLaSalidaInactivaYSinGenerador)
{
    config.SalDig(7).Activo = true;
    config.SalDig(7).Generador = std::make_unique<TGenPulso>(textos, 0, "segundos", "segundos", 1.0f);
    TfrmGridDigi d(principal, config, 7);
    EXPECT_FALSE(Aceptar(d, Fichero("mala.tba", "3\r\n0\r\n1\r\n2\r\n")));
    EXPECT_EQ(Mensajes(), QStringList{T(164)});
    EXPECT_TRUE(d.isVisible()); // the dialog stays for another file
    EXPECT_FALSE(config.SalDig(7).Activo);
    EXPECT_EQ(config.SalDig(7).Generador, nullptr);
    EXPECT_TRUE(Texto(d, "NombreFichEdit").isEmpty());
    EXPECT_TRUE(d.TipoGuardado().isEmpty());

    // The same dialog then takes a good file.
    EXPECT_TRUE(Aceptar(d, Fichero("buena.tba", "2\r\n0\r\n1\r\n")));
    EXPECT_EQ(config.SalDig(7).Generador->Clase(), TClaseGenerador::TablaDigital);
}

TEST_F(Tablas, FicheroQueNoSePuedeLeer)
{
    TfrmGridAna d(principal, config, 4);
    EXPECT_FALSE(Aceptar(d, Ruta("no_existe.tba")));
    // The generator's own error box, then the dialog's.
    ASSERT_EQ(Mensajes().size(), 2);
    EXPECT_EQ(interaccion.mensajes[0].sabor, TInteraccionGuion::Sabor::Error);
    EXPECT_EQ(Mensajes()[0], T(184) + QStringLiteral("4 ") + T(185));
    EXPECT_EQ(Mensajes()[1], T(164));
    EXPECT_EQ(config.SalAna(4).Generador, nullptr);
    EXPECT_EQ(Texto(d, "NombreFichEdit"), QStringLiteral("no_existe.tba")); // only the digital dialog empties it
}

TEST_F(Tablas, RetardoYFicheroQueFaltan)
{
    TfrmGridDigi d(principal, config, 1);
    d.show();
    EXPECT_EQ(Texto(d, "RetardoEdit"), QStringLiteral("0"));
    Pulsar(d, "OKBtn");
    EXPECT_EQ(Mensajes(), QStringList{T(163)});
    Pulsar(d, "ClearBtn");
    Pulsar(d, "OKBtn");
    EXPECT_EQ(Mensajes().last(), T(107));
    EXPECT_EQ(Foco(d), QStringLiteral("RetardoEdit"));
    // The delay box takes five digits at most: 65536 is the smallest refused value.
    EXPECT_EQ(Control<QLineEdit>(d, "RetardoEdit")->maxLength(), 5);
    dialogos.abrir.push_back(Fichero("t.tba", "1\r\n1\r\n"));
    d.SBrowseClick();
    Escribir(d, "RetardoEdit", "65536");
    Pulsar(d, "OKBtn");
    EXPECT_EQ(Mensajes().last(), T(133));
    EXPECT_EQ(config.SalDig(1).Generador, nullptr);
}

TEST_F(Tablas, ElEditorSeAbreDesdeElDialogo)
{
    TfrmGridAna d(principal, config, 1);
    d.show();
    Pulsar(d, "SpbEditor");
    EXPECT_EQ(modal.vistos, QStringList{QStringLiteral("frmEditTab")});
    // A cancelled file box changes nothing.
    d.SBrowseClick();
    EXPECT_TRUE(Texto(d, "NombreFichEdit").isEmpty());
}

} // namespace
} // namespace qv::test

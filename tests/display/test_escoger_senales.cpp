// "Escoger señales de fichero": the names it offers, moving them, and what "Aceptar"
// loads into the current set.
#include "common/controles.h"
#include "common/ficheros_prueba.h"
#include "common/principal_prueba.h"
#include "display/escoger_senales_fichero.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace qv::test {
namespace {

class EscogerSenales : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ficheros.dir.isValid());
        principal.estado.PonerConfig(std::make_unique<TConfigES>());
        principal.estado.PonerConjunto(std::make_unique<TCjtSenales>(textos, interaccion));
        dlg = std::make_unique<TfrmEscSenFich>(principal, &principal.ventana);
    }

    TPrincipalPrueba principal;
    TTextos& textos = principal.textos;
    TInteraccionGuion& interaccion = principal.interaccion;
    TFicherosPrueba ficheros{textos, interaccion};

    QListWidget& Lista(const char* nombre) { return *dlg->findChild<QListWidget*>(QLatin1String(nombre)); }
    QPushButton& Boton(const char* nombre) { return *dlg->findChild<QPushButton*>(QLatin1String(nombre)); }

    static QStringList Nombres(const QListWidget& l)
    {
        QStringList r;
        for (int i = 0; i < l.count(); ++i)
            r << l.item(i)->text();
        return r;
    }

    void Seleccionar(QListWidget& l, const QStringList& nombres)
    {
        l.clearSelection();
        for (int i = 0; i < l.count(); ++i)
            l.item(i)->setSelected(nombres.contains(l.item(i)->text()));
    }

    // Which of ">", ">>", "<", "<<" are enabled, as a string of 0/1.
    QString Botones()
    {
        QString r;
        for (const char* b : {"IncludeBtn", "IncAllBtn", "ExcludeBtn", "ExAllBtn"})
            r += Boton(b).isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return r;
    }

    TCjtSenales& Conjunto() { return *principal.estado.Senales(); }
    void Pulsar(const char* nombre) { test::Pulsar(*dlg, nombre); }

    std::unique_ptr<TfrmEscSenFich> dlg;
};

TEST_F(EscogerSenales, ListaLosNombresDelFichero)
{
    const QString f = ficheros.EscribirFicheroSenales(
        QStringLiteral("otro.qvn"), {QStringLiteral("Zeta"), QStringLiteral("Alfa")}, {QStringLiteral("Beta")});
    EXPECT_EQ(Botones(), QStringLiteral("0000"));
    EXPECT_TRUE(dlg->InicializarListaSenales(f));
    EXPECT_EQ(Nombres(Lista("SrcList")), (QStringList{"Alfa", "Beta", "Zeta"}));
    EXPECT_TRUE(Nombres(Lista("DstList")).isEmpty());
    EXPECT_EQ(Botones(), QStringLiteral("1100"));
    dlg->show();
    EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("Lfichero"))->text(), QStringLiteral("otro.qvn"));
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("T41000"));

    // A file that cannot be read offers nothing, not even what was offered before.
    Pulsar("IncAllBtn");
    EXPECT_FALSE(dlg->InicializarListaSenales(ficheros.Ruta(QStringLiteral("falta.qvn"))));
    EXPECT_EQ(Lista("SrcList").count(), 0);
    EXPECT_EQ(Botones(), QStringLiteral("0000"));
}

TEST_F(EscogerSenales, MoverNombres)
{
    dlg->InicializarListaSenales(ficheros.EscribirFicheroSenales(
        QStringLiteral("f.qvn"), {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")}));
    QListWidget& src = Lista("SrcList");
    QListWidget& dst = Lista("DstList");

    // A selection arrives from its end; the next name takes the selection.
    Seleccionar(src, {"A", "B", "C"});
    Pulsar("IncludeBtn");
    EXPECT_EQ(Nombres(dst), (QStringList{"C", "B", "A"}));
    EXPECT_EQ(Nombres(src), QStringList{"D"});
    EXPECT_TRUE(src.item(0)->isSelected());
    EXPECT_EQ(Botones(), QStringLiteral("1111"));

    // Back to the sorted list.
    Seleccionar(dst, {"C"});
    Pulsar("ExcludeBtn");
    EXPECT_EQ(Nombres(src), (QStringList{"C", "D"}));
    EXPECT_EQ(Nombres(dst), (QStringList{"B", "A"}));
    EXPECT_TRUE(dst.item(0)->isSelected());

    // ">" with nothing selected moves nothing.
    src.clearSelection();
    Pulsar("IncludeBtn");
    EXPECT_EQ(src.count(), 2);

    Pulsar("IncAllBtn");
    EXPECT_EQ(Nombres(dst), (QStringList{"B", "A", "C", "D"}));
    EXPECT_EQ(Botones(), QStringLiteral("0011"));
    Pulsar("ExAllBtn");
    EXPECT_EQ(Nombres(src), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(Botones(), QStringLiteral("1100"));
}

TEST_F(EscogerSenales, AceptarCargaLasElegidasYOmiteLasRechazadas)
{
    const QString f = ficheros.EscribirFicheroSenales(
        QStringLiteral("f.qvn"), {QStringLiteral("Alfa"), QStringLiteral("Beta"), QStringLiteral("Zeta")},
        {QStringLiteral("Dig1")}, ficheros.Config(), 5);
    // The set already holds Alfa and Beta, with other samples.
    for (const char* n : {"Alfa", "Beta"})
        Conjunto().AnadirAna(std::make_unique<TSenalAna>(textos, QString::fromLatin1(n), true, nullptr, nullptr, 0,
                                                         0.001, 4));
    dlg->InicializarListaSenales(f);
    Pulsar("IncAllBtn");
    ASSERT_EQ(Nombres(Lista("DstList")), (QStringList{"Alfa", "Beta", "Dig1", "Zeta"}));

    // Alfa: first a name that clashes too, then a free one; Beta: the dialog is
    // cancelled ("Omitir").
    interaccion.nombresNuevos = {QStringLiteral("Beta"), QStringLiteral("Alfa2")};
    interaccion.nombresNuevos.push_back(QStringLiteral("Omitir"));
    Pulsar("OKBtn");

    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(interaccion.pedidos, (QStringList{"Alfa", "Beta", "Beta"}));
    EXPECT_EQ(dlg->Anadidas(), (QStringList{"Alfa2", "Dig1", "Zeta"}));
    ASSERT_NE(Conjunto().BuscarAna(QStringLiteral("Alfa2")), nullptr);
    EXPECT_EQ(Conjunto().BuscarAna(QStringLiteral("Alfa2"))->LeerMuestra(3), 8.0f);
    EXPECT_EQ(Conjunto().BuscarAna(QStringLiteral("Beta"))->LeerMuestra(3), 0.0f);
    EXPECT_NE(Conjunto().BuscarAna(QStringLiteral("Zeta")), nullptr);
    ASSERT_NE(Conjunto().BuscarDig(QStringLiteral("Dig1")), nullptr);
    EXPECT_EQ(Conjunto().BuscarDig(QStringLiteral("Dig1"))->LeerMuestra(1), 1);
    EXPECT_EQ(Conjunto().NumAna(), 4);
    EXPECT_TRUE(principal.estado.Modificado());
    EXPECT_TRUE(interaccion.mensajes.empty());
}

TEST_F(EscogerSenales, NombresConLetrasDelIdioma)
{
    // Files are Latin-1: the name offered and the name looked up must agree.
    const QString tension = QStringLiteral("Tensi\u00f3n");
    const QString f = ficheros.EscribirFicheroSenales(QStringLiteral("f.qvn"), {tension, QStringLiteral("Se\u00f1al")});
    ASSERT_TRUE(ficheros.Bytes(f).contains("Tensi\xF3n\r\n"));
    dlg->InicializarListaSenales(f);
    EXPECT_EQ(Nombres(Lista("SrcList")), (QStringList{QStringLiteral("Se\u00f1al"), tension}));
    Pulsar("IncAllBtn");
    Pulsar("OKBtn");
    EXPECT_NE(Conjunto().BuscarAna(tension), nullptr);
    EXPECT_NE(Conjunto().BuscarAna(QStringLiteral("Se\u00f1al")), nullptr);
}

TEST_F(EscogerSenales, AyudaPorSuNumeroSinCerrar)
{
    dlg->show();
    Pulsar("BtnHelp");
    EXPECT_EQ(principal.ayuda.pedidas, std::vector<int>{169});
    EXPECT_TRUE(dlg->isVisible());
    dlg->hide();
}

TEST_F(EscogerSenales, CancelarNoCarga)
{
    dlg->InicializarListaSenales(ficheros.EscribirFicheroSenales(QStringLiteral("f.qvn"), {QStringLiteral("Alfa")}));
    Pulsar("IncAllBtn");
    Pulsar("CancelBtn");
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_TRUE(Conjunto().Vacio());
    EXPECT_FALSE(principal.estado.Modificado());
}

TEST_F(EscogerSenales, BloqueDefectuosoConservaLasAnteriores)
{
    const QString f =
        ficheros.EscribirFicheroSenales(QStringLiteral("f.qvn"), {QStringLiteral("Uno"), QStringLiteral("Dos")});
    dlg->InicializarListaSenales(f);
    // Written newest first: "Dos" comes first in the file. Spoil the samples of "Uno".
    QByteArray d = ficheros.Bytes(f);
    const qsizetype i = d.lastIndexOf(" 3.00000000000000E+0000");
    ASSERT_GT(i, 0);
    d.replace(i, 23, "tres");
    ASSERT_TRUE(EscribirSeguro(f, d));
    Pulsar("IncAllBtn");
    ASSERT_EQ(Nombres(Lista("DstList")), (QStringList{"Dos", "Uno"}));
    Pulsar("OKBtn");
    EXPECT_EQ(interaccion.Textos(), QStringList{"T101"});
    EXPECT_EQ(dlg->Anadidas(), QStringList{"Dos"});
    EXPECT_EQ(Conjunto().NumAna(), 1);
    EXPECT_TRUE(principal.estado.Modificado());
}

} // namespace
} // namespace qv::test

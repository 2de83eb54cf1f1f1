// Curve fits in signal files: kept with their parameters after the notes, where readers
// that know nothing of them have stopped.
#include "common/interaccion_guion.h"
#include "common/textos_fijos.h"
#include "model/ajuste.h"
#include "model/fichero_senales.h"
#include "model/senales.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qv;
using qv::test::TInteraccionGuion;
using qv::test::TTextosFijos;

namespace {

const QByteArray Comienza("ComienzaSe\xF1" "al");

class FicheroAjustes : public ::testing::Test {
protected:
    // A capture C1 (an RC discharge), its exponential fit and a digital signal.
    void SetUp() override
    {
        auto c1 = std::make_unique<TSenalAna>(QStringLiteral("V"), QStringLiteral("C1"), false, nullptr, nullptr, 0,
                                              0.001, std::uint16_t(200));
        for (int i = 0; i < 200; ++i)
            c1->PonerMuestra(i, float(4 * std::exp(-i * 0.001 / 0.05) + 0.5 + 0.01 * std::sin(i * 1.3)));
        c1->Canal = 1;
        datos = c1.get();
        ASSERT_TRUE(s.AnadirAna(std::move(c1)));
        auto d = std::make_unique<TSenalDig>(QStringLiteral("D"), false, nullptr, nullptr, 0, 0.001, std::uint16_t(3));
        s.AnadirDig(std::move(d));
        TPeticionAjuste p;
        p.Modelo = TModeloAjuste::Exponencial;
        ajuste = AjustarSenal(p, *datos, {20, 180});
        ASSERT_TRUE(ajuste.Converge());
        const QString nombre = NombreAjuste(ajuste.Modelo, QStringLiteral("C1"));
        ASSERT_TRUE(s.AnadirAna(SenalAjustada(ajuste, *datos, nombre)));
        s.Ajustes.push_back(RegistroDe(ajuste, nombre, QStringLiteral("C1")));
        s.Comentario = QStringList{QStringLiteral("descarga")};
    }

    QByteArray Texto(const TCjtSenales& set)
    {
        QByteArray t;
        EscribirFichero(set, t);
        return t;
    }

    TTextosFijos textos;
    TInteraccionGuion inter;
    TCjtSenales s{textos, inter};
    TSenalAna* datos = nullptr;
    TResultadoAjuste ajuste;
};

TEST_F(FicheroAjustes, RoundTripKeepsEveryParameterAndStatistic)
{
    s.Anotaciones = {{false, "", 0.01f, 2, "inicio"}};
    const QByteArray texto = Texto(s);
    TCjtSenales leido(textos, inter);
    LeerFichero(leido, texto);
    ASSERT_NE(leido.BuscarAna(QStringLiteral("Aj_exp_C1")), nullptr);
    EXPECT_TRUE(leido.BuscarAna(QStringLiteral("Aj_exp_C1"))->Calculada());
    ASSERT_EQ(leido.Anotaciones.size(), 1u); // the notes before the fits are still read
    ASSERT_EQ(leido.Ajustes.size(), 1u);
    const TRegistroAjuste& a = leido.Ajustes[0];
    const TRegistroAjuste& b = s.Ajustes[0];
    EXPECT_EQ(a.Senal, QStringLiteral("Aj_exp_C1"));
    EXPECT_EQ(a.Datos, QStringLiteral("C1"));
    EXPECT_EQ(a.Modelo, QStringLiteral("exp"));
    EXPECT_EQ(a.Desde, 20);
    EXPECT_EQ(a.Hasta, 180);
    EXPECT_DOUBLE_EQ(a.R2, b.R2);
    EXPECT_DOUBLE_EQ(a.Rms, b.Rms);
    ASSERT_EQ(a.Parametros.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(a.Parametros[k].Nombre, b.Parametros[k].Nombre);
        // 15 significant digits.
        EXPECT_NEAR(a.Parametros[k].Valor, b.Parametros[k].Valor, 1e-13 * std::fabs(b.Parametros[k].Valor));
        EXPECT_NEAR(a.Parametros[k].Error, b.Parametros[k].Error, 1e-13 * std::fabs(b.Parametros[k].Error));
    }
    // Written again, the same bytes.
    EXPECT_EQ(Texto(leido).size(), texto.size());
}

TEST_F(FicheroAjustes, OlderReadersSeeTheSameFileUpToTheFits)
{
    const QByteArray con = Texto(s);
    s.Ajustes.clear();
    const QByteArray sin = Texto(s);
    EXPECT_FALSE(sin.contains("Ajustes:")); // a set without fits writes the file of today
    ASSERT_TRUE(con.startsWith(sin));
    const QByteArray cola = con.mid(sin.size());
    ASSERT_TRUE(cola.startsWith("Ajustes:\r\n1\r\nAjuste exp 20 180 "));
    // No line of the block is one that a reader searching for signals stops at.
    for (const QByteArray& linea : cola.split('\n'))
        for (const QByteArray& clave : {QByteArray("Ana"), QByteArray("Dig"), QByteArray("Notas:"), Comienza})
            EXPECT_NE(linea.trimmed(), clave);
    // The reader of single signals walks past it.
    TCjtSenales otro(textos, inter);
    EXPECT_TRUE(LeerSenalDeDatos(otro, con, QStringLiteral("Aj_exp_C1"), QStringLiteral("F")));
    EXPECT_FALSE(LeerSenalDeDatos(otro, con, QStringLiteral("exp"), QStringLiteral("exp")));
    // A file of today reads with no fits at all.
    TCjtSenales hoy(textos, inter);
    LeerFichero(hoy, sin);
    EXPECT_TRUE(hoy.Ajustes.empty());
    EXPECT_EQ(hoy.NumAna(), 2);
}

TEST_F(FicheroAjustes, DamagedOrOrphanedRecordsAreLeftOutNeverTheSignals)
{
    // A formula fit beside the built-in one, then the exponential record damaged.
    TPeticionAjuste p;
    p.Modelo = TModeloAjuste::Expresion;
    p.Expresion = QStringLiteral("k*exp(-t/T) + c0");
    p.Iniciales = {4, 0.05, 0.5};
    const TResultadoAjuste f = AjustarSenal(p, *datos);
    ASSERT_TRUE(f.Converge());
    ASSERT_TRUE(s.AnadirAna(SenalAjustada(f, *datos, QStringLiteral("Aj_expr_C1"))));
    s.Ajustes.push_back(RegistroDe(f, QStringLiteral("Aj_expr_C1"), QStringLiteral("C1")));
    // A record of a signal deleted since is not written.
    s.Ajustes.push_back(RegistroDe(f, QStringLiteral("Borrada"), QStringLiteral("C1")));
    QByteArray texto = Texto(s);
    EXPECT_FALSE(texto.contains("$Borrada$"));
    ASSERT_TRUE(texto.contains("Ajustes:\r\n2\r\n"));
    EXPECT_TRUE(texto.contains("$Aj_expr_C1$C1$k*exp(-t/T) + c0\r\n"));
    texto.replace("Ajuste exp 20 180 ", "Ajuste exp veinte 180 ");
    TCjtSenales leido(textos, inter);
    LeerFichero(leido, texto);
    EXPECT_EQ(leido.NumAna(), 3);
    EXPECT_EQ(leido.NumDig(), 1);
    ASSERT_EQ(leido.Ajustes.size(), 1u);
    EXPECT_EQ(leido.Ajustes[0].Modelo, QStringLiteral("expr"));
    EXPECT_EQ(leido.Ajustes[0].Expresion, QStringLiteral("k*exp(-t/T) + c0"));
    EXPECT_EQ(leido.Ajustes[0].Parametros[1].Nombre, QStringLiteral("T"));
    // A block cut short still gives every signal.
    TCjtSenales corto(textos, inter);
    LeerFichero(corto, texto.left(texto.indexOf("Ajustes:") + 12));
    EXPECT_EQ(corto.NumAna(), 3);
    EXPECT_TRUE(corto.Ajustes.empty());
}

TEST_F(FicheroAjustes, RecordsFollowRenamesAndGoWithTheSet)
{
    ASSERT_TRUE(s.RenombrarAna(QStringLiteral("Aj_exp_C1"), QStringLiteral("Curva")));
    EXPECT_EQ(s.Ajustes[0].Senal, QStringLiteral("Curva"));
    EXPECT_TRUE(Texto(s).contains("$Curva$C1$"));
    s.Vaciar();
    EXPECT_TRUE(s.Ajustes.empty());
}

} // namespace

// quorvane-cli fit as a user runs it: a copy of the built program with its language
// file, on a signal file written by the model code.
#include "orden_ajuste.h"

#include "common/interaccion_guion.h"
#include "lang/idioma.h"
#include "model/config_es.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <map>
#include <random>

using namespace qv;

namespace {

struct TSalidaCli {
    int estado = -1;
    QByteArray salida;
    QString error;
};

class CliAjuste : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QDir bin(QStringLiteral(QV_BIN_DIR));
        ASSERT_TRUE(QFile::copy(bin.filePath(QStringLiteral("quorvane-cli")), dir.filePath(QStringLiteral("quorvane-cli"))));
        ASSERT_TRUE(QFile::copy(bin.filePath(QStringLiteral("idioma.lng")), dir.filePath(QStringLiteral("idioma.lng"))));
        idioma.setIdiomaFile(dir.filePath(QStringLiteral("idioma.lng")));
        // C1: flat at 5 V for 0.1 s, then a discharge with tau 0.05 s to 1 V, with noise;
        // K: a constant; D: digital.
        TCjtSenales s(idioma, interaccion);
        auto c1 = std::make_unique<TSenalAna>(idioma, QStringLiteral("C1"), false, nullptr, nullptr, 1, 0.001, 500);
        std::mt19937 azar(3);
        std::normal_distribution<double> ruido(0, 0.01);
        for (int i = 0; i < 500; ++i) {
            const double t = i * 0.001;
            c1->PonerMuestra(i, float((t < 0.1 ? 5.0 : 4 * std::exp(-(t - 0.1) / 0.05) + 1) + ruido(azar)));
        }
        s.AnadirAna(std::move(c1));
        auto k = std::make_unique<TSenalAna>(idioma, QStringLiteral("K"), true, nullptr, nullptr, 0, 0.001, 100);
        for (int i = 0; i < 100; ++i)
            k->PonerMuestra(i, 2.5f);
        s.AnadirAna(std::move(k));
        s.AnadirDig(std::make_unique<TSenalDig>(QStringLiteral("D"), true, nullptr, nullptr, 0, 0.001, 10));
        TConfigES config;
        TOperaciones ops;
        TFicheroConfig fc(idioma, interaccion, dir.path());
        qvn = dir.filePath(QStringLiteral("rc.qvn"));
        GuardarFicheroSenales(qvn, fc, config, ops, s);
    }

    TSalidaCli Correr(QStringList args)
    {
        args.prepend(qvn);
        args.prepend(QStringLiteral("fit"));
        QProcess p;
        p.start(dir.filePath(QStringLiteral("quorvane-cli")), args);
        TSalidaCli r;
        if (!p.waitForFinished(30000))
            return r;
        r.estado = p.exitCode();
        r.salida = p.readAllStandardOutput();
        r.error = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    // The CSV rows by their first field.
    static std::map<QString, std::pair<double, QString>> Filas(const QByteArray& csv)
    {
        std::map<QString, std::pair<double, QString>> r;
        QList<QByteArray> lineas = csv.split('\n');
        for (qsizetype i = 1; i < lineas.size(); ++i) {
            const QList<QByteArray> c = lineas[i].trimmed().split(',');
            if (c.size() == 3)
                r[QString::fromLatin1(c[0])] = {c[1].toDouble(), QString::fromLatin1(c[2])};
        }
        return r;
    }

    QTemporaryDir dir;
    TLanguage idioma;
    test::TInteraccionGuion interaccion;
    QString qvn;
};

TEST_F(CliAjuste, CsvOfTheDischargeBetweenTwoTimes)
{
    const TSalidaCli r = Correr({"--signals", "C1", "--model", "exp", "--from", "0.1", "--csv"});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    ASSERT_TRUE(r.salida.startsWith("parameter,value,standard_error\r\n")) << r.salida.toStdString();
    EXPECT_EQ(r.salida.count('\n'), 6); // header, A, tau, C, r2, rms
    const auto f = Filas(r.salida);
    ASSERT_EQ(f.size(), 5u);
    // t counts from --from: the amplitude is where the discharge starts.
    EXPECT_NEAR(f.at("A").first, 4, 3 * f.at("A").second.toDouble() + 1e-3);
    EXPECT_NEAR(f.at("tau").first, 0.05, 3 * f.at("tau").second.toDouble() + 1e-5);
    EXPECT_NEAR(f.at("C").first, 1, 3 * f.at("C").second.toDouble() + 1e-4);
    EXPECT_GT(f.at("tau").second.toDouble(), 0);
    EXPECT_GT(f.at("r2").first, 0.999);
    EXPECT_TRUE(f.at("r2").second.isEmpty());
    EXPECT_NEAR(f.at("rms").first, 0.01, 0.002);
    // Over the whole signal the flat start spoils the exponential: a worse fit.
    const auto todo = Filas(Correr({"--signals", "C1", "--model", "exp", "--csv"}).salida);
    ASSERT_TRUE(todo.count("rms"));
    EXPECT_GT(todo.at("rms").first, 2 * f.at("rms").first);
}

TEST_F(CliAjuste, TextTableAndFormulaModels)
{
    TSalidaCli r = Correr({"--signals", "C1", "--model", "poly2", "--from", "0.3"});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    EXPECT_TRUE(r.salida.contains("model poly2: y = a0 + a1*t + a2*t^2")) << r.salida.toStdString();
    EXPECT_TRUE(r.salida.contains("t = 0 at 0.3 s"));
    for (const char* p : {"\r\na0 ", "\r\na1 ", "\r\na2 ", "\r\nr2 ", "\r\nrms "})
        EXPECT_TRUE(r.salida.contains(p)) << p;
    r = Correr({"--signals", "C1", "--model", "expr:V0*exp(-t/T) + Vf", "--from", "0.1", "--to", "0.45", "--csv"});
    ASSERT_EQ(r.estado, 0) << r.error.toStdString();
    const auto f = Filas(r.salida);
    ASSERT_TRUE(f.count("T") && f.count("V0") && f.count("Vf"));
    EXPECT_NEAR(f.at("T").first, 0.05, 1e-3);
}

TEST_F(CliAjuste, FailuresGiveTheNumberedTextAndStatus)
{
    // A constant has no frequency: the fit does not converge, nothing on standard output.
    TSalidaCli r = Correr({"--signals", "K", "--model", "sine"});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.salida.isEmpty());
    EXPECT_TRUE(r.error.contains(idioma.BuscarTexto(576))) << r.error.toStdString();
    r = Correr({"--signals", "C1", "--model", "expr:A*exp(-t/"});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(idioma.BuscarTexto(578) + QStringLiteral(" (10)"))) << r.error.toStdString();
    r = Correr({"--signals", "C1", "--model", "poly3", "--from", "0.2", "--to", "0.202"});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(idioma.BuscarTexto(586))) << r.error.toStdString();
    r = Correr({"--signals", "C1", "--model", "exp", "--from", "9"});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(idioma.BuscarTexto(425)));
    r = Correr({"--signals", "D", "--model", "linear"});
    EXPECT_EQ(r.estado, 1);
    EXPECT_TRUE(r.error.contains(QStringLiteral("no analog signal named D")));
    // Bad command lines.
    for (const QStringList& a : {QStringList{"--signals", "C1", "--model", "poly6"}, QStringList{"--model", "exp"},
                                 QStringList{"--signals", "C1,K", "--model", "exp"},
                                 QStringList{"--signals", "C1", "--model", "exp", "--from", "0.3", "--to", "0.2"}}) {
        r = Correr(a);
        EXPECT_EQ(r.estado, 2) << a.join(' ').toStdString();
    }
}

TEST(CliAjustePiezas, ModelNamesOfTheCommandLine)
{
    EXPECT_EQ(PeticionDeNombre(QStringLiteral("damped-sine"))->Modelo, TModeloAjuste::SenoAmortiguado);
    EXPECT_EQ(PeticionDeNombre(QStringLiteral("poly5"))->Modelo, TModeloAjuste::Polinomio5);
    const auto e = PeticionDeNombre(QStringLiteral("expr:a*t"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Modelo, TModeloAjuste::Expresion);
    EXPECT_EQ(e->Expresion, QStringLiteral("a*t"));
    EXPECT_FALSE(PeticionDeNombre(QStringLiteral("expr")));
    EXPECT_FALSE(PeticionDeNombre(QStringLiteral("Exp")));
    EXPECT_FALSE(PeticionDeNombre(QString()));
}

} // namespace

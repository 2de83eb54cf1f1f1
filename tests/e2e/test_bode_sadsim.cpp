// A frequency sweep end to end: quorvane-cli bode against sadsim with an RC low-pass
// between its analog output 1 and analog input 2, at the line's real speed.
#include "e2e/procesos.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace qv::test {
namespace {

QString Bin(const char* programa)
{
    return QDir(QStringLiteral(QV_BIN_DIR)).filePath(QLatin1String(programa));
}

TEST(BodeSadsim, CliSweepsTheLowPassAndFindsItsCorner)
{
    TSadsim sim;
    ASSERT_TRUE(sim.Arrancar({QStringLiteral("--circuit"), QStringLiteral("rc-low:R=10k,C=100n"),
                              QStringLiteral("--baud"), QStringLiteral("115200")}));
    // The companion in a folder of its own, so that its Programa.cfg is the test's.
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(Bin("quorvane-cli"), dir.filePath(QStringLiteral("quorvane-cli"))));
    ASSERT_TRUE(QFile::copy(Bin("idioma.lng"), dir.filePath(QStringLiteral("idioma.lng"))));
    const QString csv = dir.filePath(QStringLiteral("rc.csv"));

    QProcess cli;
    cli.start(dir.filePath(QStringLiteral("quorvane-cli")),
              {QStringLiteral("bode"), QStringLiteral("--from"), QStringLiteral("10"), QStringLiteral("--to"),
               QStringLiteral("1000"), QStringLiteral("--points"), QStringLiteral("8"), QStringLiteral("--port"),
               sim.enlace, QStringLiteral("-o"), csv});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QString error = QString::fromLocal8Bit(cli.readAllStandardError());
    ASSERT_EQ(cli.exitCode(), 0) << error.toStdString();
    // Progress per point on standard error (texts 545 and 546 of the Spanish file).
    EXPECT_TRUE(error.contains(QStringLiteral("Punto 8 de 8"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("quedan unos"))) << error.toStdString();

    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> filas = f.readAll().trimmed().split('\n');
    ASSERT_EQ(filas.size(), 9);
    EXPECT_EQ(filas[0].trimmed(), "frequency_hz,gain_db,phase_deg");
    const double tau = 1e-3;
    for (int i = 1; i < filas.size(); ++i) {
        const QList<QByteArray> c = filas[i].trimmed().split(',');
        ASSERT_EQ(c.size(), 3) << filas[i].toStdString();
        const double fr = c[0].toDouble(), g = c[1].toDouble(), p = c[2].toDouble();
        const double w = 2 * 3.14159265358979 * fr * tau;
        EXPECT_NEAR(g, -10 * std::log10(1 + w * w), 0.1) << fr;
        EXPECT_NEAR(p, -std::atan(w) * 180 / 3.14159265358979, 1.0) << fr;
    }
    // The corner on standard output: 3 dB below the passband the sweep starts in.
    const QString salida = QString::fromLocal8Bit(cli.readAllStandardOutput());
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("-3 dB: ([0-9.]+) Hz, phase (-?[0-9.]+) deg")).match(salida);
    ASSERT_TRUE(m.hasMatch()) << salida.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble() / 159.155, 1, 0.03);
    EXPECT_NEAR(m.captured(2).toDouble(), -45, 2);
}

TEST(BodeSadsim, BadCircuitsAndSweepsAreRefused)
{
    TProceso sim(QStringLiteral("sadsim"));
    sim.p.setProgram(Bin("sadsim"));
    sim.p.setArguments({QStringLiteral("--circuit"), QStringLiteral("rc-low:R=10k")});
    sim.p.start();
    ASSERT_TRUE(sim.p.waitForFinished(10000));
    EXPECT_EQ(sim.p.exitCode(), 2);
    EXPECT_TRUE(sim.p.readAllStandardError().contains("R and C"));

    // The settings are checked before any unit is looked for: text 558 for one input
    // used twice, and a usage error without the frequencies.
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(Bin("quorvane-cli"), dir.filePath(QStringLiteral("quorvane-cli"))));
    ASSERT_TRUE(QFile::copy(Bin("idioma.lng"), dir.filePath(QStringLiteral("idioma.lng"))));
    QProcess cli;
    cli.start(dir.filePath(QStringLiteral("quorvane-cli")),
              {QStringLiteral("bode"), QStringLiteral("--from"), QStringLiteral("10"), QStringLiteral("--to"),
               QStringLiteral("100"), QStringLiteral("--points"), QStringLiteral("3"), QStringLiteral("--response"),
               QStringLiteral("1"), QStringLiteral("--port"), dir.filePath(QStringLiteral("nada")),
               QStringLiteral("-o"), dir.filePath(QStringLiteral("x.csv"))});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(QString::fromLatin1(cli.readAllStandardError()).contains(QStringLiteral("distintas")));
    cli.start(dir.filePath(QStringLiteral("quorvane-cli")),
              {QStringLiteral("bode"), QStringLiteral("--to"), QStringLiteral("100"), QStringLiteral("-o"),
               dir.filePath(QStringLiteral("x.csv"))});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.csv"))));
}

} // namespace
} // namespace qv::test

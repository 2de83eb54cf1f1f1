// The value change dump read back by a small reader of the format's own, and every
// transition compared with the samples.
#include "common/interaccion_guion.h"
#include "model/senales.h"
#include "model/vcd.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

using namespace qv;

namespace {

struct TVarLeida {
    std::string tipo, nombre;
    std::vector<std::pair<long long, double>> cambios; // time, value
};

// Reads the declarations and the changes: whitespace-separated tokens, "$...$end"
// blocks, "#time", "0x"/"1x" scalars and "rVALUE x" reals.
struct TVcdLeido {
    std::string escala;
    std::map<std::string, TVarLeida> vars;
    std::vector<std::string> orden;
    long long ultimoTiempo = -1;
    bool bien = true;

    explicit TVcdLeido(const QByteArray& texto)
    {
        std::istringstream in(texto.toStdString());
        std::string p;
        long long t = -1;
        while (in >> p) {
            if (p == "$timescale") {
                std::string a, b;
                in >> a >> b;
                escala = a + " " + b;
            } else if (p == "$var") {
                std::string tipo, ancho, id, nombre, fin;
                in >> tipo >> ancho >> id >> nombre >> fin;
                bien &= fin == "$end" && !vars.count(id);
                vars[id] = {tipo, nombre, {}};
                orden.push_back(id);
            } else if (p == "$dumpvars" || p == "$end") {
            } else if (p[0] == '$') {
                while (in >> p && p != "$end") {
                }
            } else if (p[0] == '#') {
                const long long nuevo = std::stoll(p.substr(1));
                bien &= nuevo > t;
                t = ultimoTiempo = nuevo;
            } else if (p[0] == 'r') {
                std::string id;
                in >> id;
                bien &= vars.count(id) && t >= 0;
                vars[id].cambios.push_back({t, std::stof(p.substr(1))}); // the shortest text of a float
            } else {
                const std::string id = p.substr(1);
                bien &= (p[0] == '0' || p[0] == '1') && vars.count(id) && t >= 0;
                vars[id].cambios.push_back({t, p[0] - '0'});
            }
        }
    }
};

} // namespace

TEST(Vcd, CadaTransicionEsUnaMuestraQueCambia)
{
    test::TTextosFijos textos;
    test::TInteraccionGuion inter;
    TCjtSenales s(textos, inter);
    auto ana = [&](const char* nombre, double periodo, int n, auto f) {
        auto a = std::make_unique<TSenalAna>(textos, QString::fromUtf8(nombre), true, nullptr, nullptr, 0, periodo, n);
        for (int i = 0; i < n; ++i)
            a->PonerMuestra(i, float(f(i)));
        ASSERT_TRUE(s.AnadirAna(std::move(a)));
    };
    auto dig = [&](const char* nombre, int n, auto f) {
        auto d = std::make_unique<TSenalDig>(QString::fromUtf8(nombre), true, nullptr, nullptr, 0, 0.5e-3, n);
        for (int i = 0; i < n; ++i)
            d->PonerMuestra(i, std::uint8_t(f(i)));
        ASSERT_TRUE(s.AnadirDig(std::move(d)));
    };
    dig("Señal 1", 1000, [](int i) { return (i / 7) % 2; });
    dig("a_b", 1000, [](int i) { return i > 400 && i < 410 ? 3 : 0; }); // any non-zero byte is high
    dig("a b", 1000, [](int) { return 1; });
    ana("1x", 0.5e-3, 1000, [](int i) { return std::round(std::sin(i / 30.0) * 8) / 4; });
    ana("Lenta", 1e-3, 300, [](int i) { return i < 100 ? 0.1 : -2.5e-7 * i; }); // half the rate, shorter

    const QByteArray vcd = ExportarVcd(s, {}, {QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))});
    EXPECT_TRUE(vcd.startsWith("$date\r\n\t2024-05-06 07:08:09\r\n$end\r\n"));
    const TVcdLeido l(vcd);
    ASSERT_TRUE(l.bien);
    // 0.5 ms and 1 ms: units of 100 us, 5 and 10 per sample; the end after the last sample.
    EXPECT_EQ(l.escala, "100 us");
    EXPECT_EQ(l.ultimoTiempo, 5000);
    ASSERT_EQ(l.orden.size(), 5u);
    const std::vector<std::string> nombres = {"a_b", "a_b_2", "Senal_1", "Lenta", "_1x"}; // digital first, newest first
    for (std::size_t v = 0; v < nombres.size(); ++v) {
        const TVarLeida& var = l.vars.at(l.orden[v]);
        SCOPED_TRACE(nombres[v]);
        EXPECT_EQ(var.nombre, nombres[v]);
        EXPECT_EQ(var.tipo, v < 3 ? "wire" : "real");
        // A change exactly at each sample whose value differs from the one before.
        const TSenal& senal = v < 3 ? static_cast<const TSenal&>(*s.Dig(int(v))) : *s.Ana(int(v) - 3);
        auto valor = [&](int i) {
            return v < 3 ? double(s.Dig(int(v))->LeerMuestra(i) != 0) : s.Ana(int(v) - 3)->LeerMuestra(i);
        };
        std::vector<std::pair<long long, double>> esperados;
        for (int i = 0; i < senal.NumMuestras(); ++i)
            if (i == 0 || valor(i) != valor(i - 1))
                esperados.push_back({i * std::llround(senal.Periodo() / 100e-6), valor(i)});
        EXPECT_EQ(var.cambios, esperados);
    }

    // Chosen signals only, through the safe writer.
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("s.vcd"));
    ASSERT_TRUE(ExportarVcdFichero(s, ruta, {QStringLiteral("Lenta"), QStringLiteral("a b")}));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const TVcdLeido elegidas(f.readAll());
    ASSERT_EQ(elegidas.orden.size(), 2u);
    EXPECT_EQ(elegidas.vars.at(elegidas.orden[0]).nombre, "Lenta");
    EXPECT_EQ(elegidas.vars.at(elegidas.orden[1]).cambios.size(), 1u); // constant: its initial value only
    EXPECT_FALSE(ExportarVcdFichero(s, dir.path(), {}));
}

TEST(Vcd, EscalaDeTiempos)
{
    const std::vector<std::pair<std::vector<double>, const char*>> casos = {
        {{0.5e-3}, "100 us"}, {{1e-3, 0.5e-3}, "100 us"}, {{1.0}, "1 s"},   {{200.0}, "100 s"},
        {{2e-6, 3e-6}, "1 us"}, {{1e-12}, "1 ps"},       {{1 / 3.0}, "100 ns"}, // no exact unit: 1e6 per period
    };
    for (const auto& [periodos, texto] : casos)
        EXPECT_EQ(EscalaVcd(periodos).Texto(), texto) << periodos[0];
}

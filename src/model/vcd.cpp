#include "model/vcd.h"

#include "model/escritura_segura.h"
#include "model/senales.h"

#include <QSet>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace qv {

namespace {

// A name as an identifier viewers accept everywhere: letters without accents, digits
// and "_", not starting with a digit.
QByteArray Identificador(const QString& nombre, const char* siVacio)
{
    QByteArray r;
    for (const QChar c : nombre.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue; // the accent of a decomposed letter
        const char16_t u = c.unicode();
        const bool valido = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
        r += valido ? char(u) : '_';
    }
    if (r.isEmpty())
        r = siVacio;
    if (r.front() >= '0' && r.front() <= '9')
        r.prepend('_');
    return r;
}

// Short codes from the 94 printable characters: "!", ..., "~", "!!", "\"!", ...
QByteArray Codigo(int indice)
{
    QByteArray c;
    for (int k = indice; k >= 0; k = k / 94 - 1)
        c += char('!' + k % 94);
    return c;
}

struct TVariable {
    const TSenalAna* ana = nullptr;
    const TSenalDig* dig = nullptr;
    QByteArray codigo;
    QByteArray nombre;
    double paso = 0; // time units per sample
    int n = 0;
    int siguiente = 0; // next sample to write: 0 at first, then the next change, n at the end

    std::int64_t Tiempo(int i) const { return std::llround(i * paso); }
    bool Igual(int i, int j) const
    {
        if (dig)
            return (dig->LeerMuestra(i) != 0) == (dig->LeerMuestra(j) != 0);
        // By value (-0 is no change from 0); a run of not-a-number values is one value.
        const float a = ana->LeerMuestra(i), b = ana->LeerMuestra(j);
        return a == b || (std::isnan(a) && std::isnan(b));
    }
    void Avanzar()
    {
        int j = siguiente + 1;
        while (j < n && Igual(j, j - 1))
            ++j;
        siguiente = j;
    }
    void Escribir(QByteArray& d, int i) const
    {
        if (dig) {
            d += dig->LeerMuestra(i) ? '1' : '0';
        } else {
            char texto[32];
            const auto fin = std::to_chars(texto, texto + sizeof texto, ana->LeerMuestra(i)).ptr;
            d += 'r';
            d.append(texto, fin - texto);
            d += ' ';
        }
        d += codigo;
        d += "\r\n";
    }
};

std::vector<TVariable> Variables(const TCjtSenales& senales, const QStringList& nombres)
{
    std::vector<TVariable> v;
    auto anadir = [&](const TSenalAna* a, const TSenalDig* d) {
        const TSenal* s = a ? static_cast<const TSenal*>(a) : d;
        // Without samples or a period a signal has nothing to place in time.
        if (s->NumMuestras() > 0 && s->Periodo() > 0)
            v.push_back({a, d, {}, {}, 0, s->NumMuestras(), 0});
    };
    if (nombres.isEmpty()) {
        for (int i = 0; i < senales.NumDig(); ++i)
            anadir(nullptr, senales.Dig(i));
        for (int i = 0; i < senales.NumAna(); ++i)
            anadir(senales.Ana(i), nullptr);
    } else {
        for (const QString& n : nombres) {
            if (const TSenalDig* d = senales.BuscarDig(n))
                anadir(nullptr, d);
            else if (const TSenalAna* a = senales.BuscarAna(n))
                anadir(a, nullptr);
        }
    }
    QSet<QByteArray> usados;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const TSenal* s = v[i].ana ? static_cast<const TSenal*>(v[i].ana) : v[i].dig;
        const QByteArray base = Identificador(s->Nombre(), "senal");
        QByteArray nombre = base;
        for (int k = 2; usados.contains(nombre); ++k)
            nombre = base + '_' + QByteArray::number(k);
        usados.insert(nombre);
        v[i].nombre = nombre;
        v[i].codigo = Codigo(int(i));
    }
    return v;
}

// Whether a period of r time units is a whole number of them, floating-point noise
// aside; up to 1e9, where that noise is still far below the millionth checked.
bool Entero(double r)
{
    return r >= 0.5 && r <= 1e9 && std::abs(r - std::round(r)) <= 1e-6;
}

double Potencia10(int e)
{
    return std::pow(10.0, e);
}

} // namespace

double TEscalaVcd::Segundos() const
{
    return multiplo * Potencia10(exponente);
}

QByteArray TEscalaVcd::Texto() const
{
    static const char* const unidades[] = {"s", "ms", "us", "ns", "ps", "fs"};
    return QByteArray::number(multiplo) + ' ' + unidades[std::clamp(-exponente / 3, 0, 5)];
}

TEscalaVcd EscalaVcd(const std::vector<double>& periodos)
{
    std::vector<TEscalaVcd> escalas;
    for (int e = 0; e >= -15; e -= 3)
        for (int m : {100, 10, 1})
            escalas.push_back({m, e});
    for (const TEscalaVcd& es : escalas) {
        const double s = es.Segundos();
        const bool exacta =
            std::all_of(periodos.begin(), periodos.end(), [s](double p) { return Entero(p / s); });
        if (exacta && !periodos.empty())
            return es;
    }
    const double menor = periodos.empty() ? 1 : *std::min_element(periodos.begin(), periodos.end());
    for (const TEscalaVcd& es : escalas)
        if (menor / es.Segundos() >= 1e6)
            return es;
    return escalas.back();
}

QByteArray ExportarVcd(const TCjtSenales& senales, const QStringList& nombres, const TOpcionesVcd& opciones)
{
    std::vector<TVariable> vars = Variables(senales, nombres);
    std::vector<double> periodos;
    for (const TVariable& v : vars)
        periodos.push_back(v.ana ? v.ana->Periodo() : v.dig->Periodo());
    const TEscalaVcd escala = EscalaVcd(periodos);
    for (std::size_t i = 0; i < vars.size(); ++i) {
        const double r = periodos[i] / escala.Segundos();
        // A whole number of units when the scale divides the period: no rounding drift.
        vars[i].paso = Entero(r) ? std::round(r) : r;
    }

    QByteArray d;
    d += "$date\r\n\t" + opciones.fecha.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1() + "\r\n$end\r\n";
    d += "$version\r\n\t" + Identificador(opciones.version, "Quorvane") + "\r\n$end\r\n";
    d += "$timescale " + escala.Texto() + " $end\r\n";
    d += "$scope module " + Identificador(opciones.modulo, "senales") + " $end\r\n";
    for (const TVariable& v : vars)
        d += (v.dig ? "$var wire 1 " : "$var real 64 ") + v.codigo + ' ' + v.nombre + " $end\r\n";
    d += "$upscope $end\r\n$enddefinitions $end\r\n";

    std::int64_t fin = 0;
    for (const TVariable& v : vars)
        fin = std::max(fin, v.Tiempo(v.n));
    d += "#0\r\n$dumpvars\r\n";
    for (TVariable& v : vars) {
        v.Escribir(d, 0);
        v.Avanzar();
    }
    d += "$end\r\n";
    // The variables' change lists merged in time; variables of one time in their order.
    for (;;) {
        std::int64_t t = std::numeric_limits<std::int64_t>::max();
        for (const TVariable& v : vars)
            if (v.siguiente < v.n)
                t = std::min(t, v.Tiempo(v.siguiente));
        if (t == std::numeric_limits<std::int64_t>::max())
            break;
        d += '#' + QByteArray::number(t) + "\r\n";
        for (TVariable& v : vars)
            while (v.siguiente < v.n && v.Tiempo(v.siguiente) == t) {
                v.Escribir(d, v.siguiente);
                v.Avanzar();
            }
    }
    if (!vars.empty())
        d += '#' + QByteArray::number(fin) + "\r\n";
    return d;
}

bool ExportarVcdFichero(const TCjtSenales& senales, const QString& ruta, const QStringList& nombres,
                        const TOpcionesVcd& opciones, QString* error)
{
    return EscribirSeguro(ruta, ExportarVcd(senales, nombres, opciones), error);
}

} // namespace qv

#include "exportar_csv.h"

#include "model/exportar.h"
#include "model/medidas.h"
#include "model/senales.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qv {

QByteArray TextoFloat(float x)
{
    if (std::isnan(x))
        return QByteArrayLiteral("NaN");
    if (std::isinf(x))
        return x > 0 ? QByteArrayLiteral("Inf") : QByteArrayLiteral("-Inf");
    if (x == 0)
        return QByteArrayLiteral("0"); // also for -0: a sample has no signed zero worth showing
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, x);
    return QByteArray(buf, r.ptr - buf);
}

QByteArray CampoCsv(const QString& texto) { return CitarCsv(texto.toLatin1()); }

QByteArray ExportarCsv(const TCjtSenales& senales, const QStringList& nombres)
{
    struct TColumna {
        const TSenalAna* ana;
        const TSenalDig* dig;
    };
    QStringList lista = nombres;
    if (lista.isEmpty())
        lista = senales.NombresAna() + senales.NombresDig();

    QByteArray s = "time";
    std::vector<TColumna> columnas;
    for (const QString& n : lista) {
        TColumna c{senales.BuscarAna(n), nullptr};
        if (!c.ana)
            c.dig = senales.BuscarDig(n);
        if (!c.ana && !c.dig)
            continue;
        columnas.push_back(c);
        s += ',';
        s += CampoCsv(n);
    }
    s += "\r\n";

    // Every sample of every exported signal gets its row (the text table stops at the
    // length of its reference signal); the period is the first column's.
    int n = 0;
    double P = 0;
    for (const TColumna& c : columnas) {
        const TSenal& senal = c.ana ? static_cast<const TSenal&>(*c.ana) : *c.dig;
        if (n == 0 && P == 0)
            P = senal.Periodo();
        n = std::max(n, senal.NumMuestras());
    }
    // The period is taken in single precision as the text table takes it, so a
    // captured 1 ms reads 0.001 rather than its widened binary expansion.
    const float periodo = float(P);
    s.reserve(s.size() + qsizetype(n) * qsizetype(12 * (columnas.size() + 1) + 2));
    for (int i = 0; i < n; ++i) {
        s += TextoFloat(float(double(i) * double(periodo)));
        for (const TColumna& c : columnas) {
            s += ',';
            if (c.ana && i < c.ana->NumMuestras())
                s += TextoFloat(c.ana->LeerMuestra(i));
            else if (c.dig && i < c.dig->NumMuestras())
                s += QByteArray::number(c.dig->LeerMuestra(i));
        }
        s += "\r\n";
    }
    return s;
}

QByteArray TablaMedidasCsv(const TTablaMedidas& tabla, TTextos& textos)
{
    QByteArray s;
    auto linea = [&s](const QStringList& campos) {
        for (qsizetype i = 0; i < campos.size(); ++i) {
            if (i > 0)
                s += ',';
            s += CampoCsv(campos[i]);
        }
        s += "\r\n";
    };
    linea(tabla.Cabecera(textos));
    for (const TFilaMedidas& f : tabla.filas) {
        QStringList campos{f.senal, f.unidad};
        for (std::size_t c = 0; c < tabla.columnas.size(); ++c)
            campos << tabla.Celda(f, c, 15);
        linea(campos);
    }
    return s;
}

} // namespace qv

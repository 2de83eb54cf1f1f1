#include "model/exportar.h"

#include "lang/textos.h"
#include "model/escritura_segura.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace qv {

namespace {

constexpr int Ancho = 10;

void Celda(QByteArray& fila, const QByteArray& texto)
{
    // A longer text is written whole: the field only sets the minimum width.
    if (texto.size() < Ancho)
        fila.append(Ancho - texto.size(), ' ');
    fila += texto;
}

// A cell right-aligned in the field.
void CeldaNumero(QByteArray& fila, double v)
{
    const qsizetype inicio = fila.size();
    AnadirExportacion(fila, v);
    const qsizetype largo = fila.size() - inicio;
    if (largo < Ancho)
        fila.insert(inicio, Ancho - largo, ' ');
}

struct TColumna {
    const TSenalAna* ana = nullptr;
    const TSenalDig* dig = nullptr;
    QString nombre;
};

} // namespace

void AnadirExportacion(QByteArray& destino, double valor)
{
    if (!std::isfinite(valor)) {
        destino += FormatoExportacion(valor).toLatin1();
        return;
    }
    if (valor == 0) {
        destino += "0.0000";
        return;
    }
    // 8 significant digits, correctly rounded like printf's %.7E.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::scientific, 7);
    const char* e = static_cast<const char*>(std::memchr(buf, 'e', std::size_t(r.ptr - buf)));
    int exponente = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, exponente);
    if (exponente >= 8) {
        // d.ddddddd without trailing zeros, then E+N.
        const char* fin = e;
        while (fin[-1] == '0')
            --fin;
        if (fin[-1] == '.')
            --fin;
        destino.append(buf, fin - buf);
        destino += "E+";
        char n[8];
        const auto rn = std::to_chars(n, n + sizeof n, exponente);
        destino.append(n, rn.ptr - n);
        return;
    }
    // Back to the number with those 8 digits, then exactly 4 decimals.
    double redondeado = valor;
    std::from_chars(buf, r.ptr, redondeado);
    char fijo[64];
    const auto rf = std::to_chars(fijo, fijo + sizeof fijo, redondeado, std::chars_format::fixed, 4);
    const char* p = fijo;
    // A negative value that rounds to zero is written without its sign.
    if (*p == '-' && std::strncmp(p, "-0.0000", std::size_t(rf.ptr - p)) == 0 && rf.ptr - p == 7)
        ++p;
    destino.append(p, rf.ptr - p);
}

QByteArray CitarCsv(const QByteArray& t)
{
    const auto blanco = [](char c) { return c == ' ' || c == '\t'; };
    const bool citar = t.contains(',') || t.contains('"') || t.contains('\r') || t.contains('\n')
                       || (!t.isEmpty() && (blanco(t.front()) || blanco(t.back())));
    if (!citar)
        return t;
    QByteArray r = "\"";
    for (char c : t) {
        if (c == '"')
            r += '"';
        r += c;
    }
    return r + '"';
}

QByteArray ExportarTexto(const TCjtSenales& senales, const QStringList& nombres)
{
    TTextos& textos = senales.Textos();
    QStringList lista = nombres;
    if (lista.isEmpty())
        lista = senales.NombresAna() + senales.NombresDig();

    std::vector<TColumna> columnas;
    for (const QString& n : lista) {
        TColumna c{senales.BuscarAna(n), nullptr, n};
        if (!c.ana)
            c.dig = senales.BuscarDig(n);
        if (c.ana || c.dig)
            columnas.push_back(c);
    }

    int n = 0;
    float P = 0;
    if (senales.NumAna() > 0) {
        n = senales.Ana(0)->NumMuestras();
        P = float(senales.Ana(0)->Periodo());
    } else if (senales.NumDig() > 0) {
        n = senales.Dig(0)->NumMuestras();
        P = float(senales.Dig(0)->Periodo());
    }

    const char* const fin = "\r\n";
    QByteArray s;
    s.reserve(qsizetype(n + 8) * (3 + Ancho * qsizetype(columnas.size() + 2) + 2));
    s += fin;
    s += fin;
    s += "   " + textos.BuscarTexto(234).toLatin1() + fin;
    s += fin;
    QByteArray fila = "   ";
    Celda(fila, textos.BuscarTexto(235).toLatin1());
    Celda(fila, textos.BuscarTexto(236).toLatin1());
    for (const auto& c : columnas)
        Celda(fila, c.nombre.toLatin1());
    s += fila + fin;

    // Rows are written straight into the table; a row's trailing blanks are cut.
    for (int i = 1; i <= n; ++i) {
        const qsizetype inicio = s.size();
        s += "   ";
        Celda(s, QByteArray::number(i));
        CeldaNumero(s, double(i) * double(P));
        for (const auto& c : columnas) {
            const int m = c.ana ? c.ana->NumMuestras() : c.dig->NumMuestras();
            if (i - 1 >= m) {
                s.append(Ancho, ' ');
                continue;
            }
            CeldaNumero(s, c.ana ? double(c.ana->LeerMuestra(i - 1)) : double(c.dig->LeerMuestra(i - 1)));
        }
        qsizetype finFila = s.size();
        while (finFila > inicio && s.at(finFila - 1) == ' ')
            --finFila;
        s.truncate(finFila);
        s += fin;
    }
    return s;
}

bool ExportarTextoFichero(const TCjtSenales& senales, const QString& ruta, const QStringList& nombres)
{
    return EscribirSeguro(ruta, ExportarTexto(senales, nombres));
}

} // namespace qv

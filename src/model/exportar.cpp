#include "model/exportar.h"

#include "lang/textos.h"
#include "model/escritura_segura.h"
#include "model/formatos.h"
#include "model/senales.h"

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

struct TColumna {
    const TSenalAna* ana = nullptr;
    const TSenalDig* dig = nullptr;
    QString nombre;
};

} // namespace

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

    for (int i = 1; i <= n; ++i) {
        fila = "   ";
        Celda(fila, QByteArray::number(i));
        Celda(fila, FormatoExportacion(double(i) * double(P)).toLatin1());
        for (const auto& c : columnas) {
            const int m = c.ana ? c.ana->NumMuestras() : c.dig->NumMuestras();
            if (i - 1 >= m) {
                fila.append(Ancho, ' ');
                continue;
            }
            const double v = c.ana ? double(c.ana->LeerMuestra(i - 1)) : double(c.dig->LeerMuestra(i - 1));
            Celda(fila, FormatoExportacion(v).toLatin1());
        }
        while (fila.endsWith(' '))
            fila.chop(1);
        s += fila + fin;
    }
    return s;
}

bool ExportarTextoFichero(const TCjtSenales& senales, const QString& ruta, const QStringList& nombres)
{
    return EscribirSeguro(ruta, ExportarTexto(senales, nombres));
}

} // namespace qv

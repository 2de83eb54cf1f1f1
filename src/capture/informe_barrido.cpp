#include "capture/informe_barrido.h"

#include "display/impresion.h"
#include "lang/textos.h"
#include "model/config_es.h"
#include "model/formatos.h"
#include "plot/grafica_bode.h"
#include "plot/imagenes.h"

#include <QPrinter>
#include <QWidget>

namespace qv {

namespace {

constexpr int kTextoInforme = 200; // "QUORVANE - Informe de captación"
constexpr int kTextoFrecuencia = 445;
constexpr int kTextoGanancia = 547;
constexpr int kTextoFase = 548;
constexpr int kTextoSinCorte = 549;
// Where the settings' captions come from (their "&" and ":" dropped).
constexpr int kTextoSalida = 537;
constexpr int kTextoAmplitud = 538;
constexpr int kTextoOffset = 539;
constexpr int kTextoReferencia = 540;
constexpr int kTextoRespuesta = 541;
constexpr int kTextoRango = 542;

QString Rotulo(TTextos& t, int clave)
{
    QString s = t.BuscarTexto(clave);
    s.remove(QLatin1Char('&'));
    if (s.endsWith(QLatin1Char(':')))
        s.chop(1);
    return s.trimmed();
}

} // namespace

bool ImprimirBarrido(QPrinter& impresora, const QWidget& ventana, TGraficaBode& grafica, const TResultadoBarrido& r,
                     TTextos& textos)
{
    QCPPainter p;
    if (!p.begin(&impresora)) {
        impresora.abort();
        return false;
    }
    p.setFont(ventana.font());
    const int k = PuntosPorPixel(impresora.resolution(), ventana.logicalDpiY());
    THojasInforme hojas(p, QSize(impresora.width(), impresora.height()), k, [&impresora] { return impresora.newPage(); });
    const int W = hojas.W(), H = hojas.H();
    const TAjustesBarrido& a = r.Ajustes;

    // Title and settings.
    QFont grande = p.font();
    grande.setPointSizeF(p.font().pointSizeF() + 6);
    grande.setBold(true);
    const QFont normal = p.font();
    p.setFont(grande);
    hojas.PonerColorTexto(QColor(200, 0, 0));
    hojas.Texto(30 * k, 30 * k, textos.BuscarTexto(kTextoInforme) + QStringLiteral(" - ") + textos.BuscarTexto(TextoBarrido::Titulo));
    hojas.PonerColorTexto(Qt::black);
    p.setFont(normal);
    int y = 62 * k;
    hojas.Texto(30 * k, y, TextoFrecuencia(a.Desde, textos) + QStringLiteral(" - ") + TextoFrecuencia(a.Hasta, textos)
                               + QStringLiteral(", ") + QString::number(a.Puntos) + QStringLiteral(" ")
                               + Rotulo(textos, 534).toLower());
    y += 16 * k;
    hojas.Texto(30 * k, y, QStringLiteral("%1 %2, %3 %4, %5 %6")
                               .arg(Rotulo(textos, kTextoSalida)).arg(a.Salida)
                               .arg(Rotulo(textos, kTextoAmplitud), FormatoGeneral(a.Amplitud, 6))
                               .arg(Rotulo(textos, kTextoOffset), FormatoGeneral(a.Offset, 6)));
    y += 16 * k;
    hojas.Texto(30 * k, y, QStringLiteral("%1 %2 (%3 %4), %5 %6 (%3 %7)")
                               .arg(Rotulo(textos, kTextoReferencia)).arg(a.Referencia)
                               .arg(Rotulo(textos, kTextoRango).toLower(), NombreRango(a.RangoReferencia))
                               .arg(Rotulo(textos, kTextoRespuesta)).arg(a.Respuesta)
                               .arg(NombreRango(a.RangoRespuesta)));
    y += 24 * k;

    // The plot at the proportions it has on screen, laid out in screen pixels.
    const QSize enPantalla = grafica.size().isEmpty() ? QSize(800, 600) : grafica.size();
    const int ancho = (W - 60 * k) / k;
    const int alto = std::min(ancho * enPantalla.height() / std::max(1, enPantalla.width()), (H / 2) / k);
    p.save();
    p.translate(30 * k, y);
    p.scale(k, k);
    PintorGrafica(grafica)(p, QRect(0, 0, ancho, alto));
    p.restore();
    y += alto * k + 16 * k;

    const std::vector<TLectura> cortes = PuntosMenos3dB(r);
    hojas.PonerNegrita(true, false);
    if (cortes.empty())
        hojas.Texto(30 * k, y, textos.BuscarTexto(kTextoSinCorte)), y += 16 * k;
    for (const TLectura& c : cortes) {
        hojas.Texto(30 * k, y, QStringLiteral("-3 dB: ") + TGraficaBode::TextoLectura(c, textos));
        y += 16 * k;
    }
    hojas.PonerNegrita(false, false);

    // The table of the points, continuing on new pages with its header.
    const QStringList marcas = textos.BuscarTexto(TextoBarrido::Marcas).split(QLatin1Char('|'));
    const int columnas[] = {30 * k, 150 * k, 250 * k};
    auto cabecera = [&] {
        hojas.PonerNegrita(true, true);
        hojas.Texto(columnas[0], y, textos.BuscarTexto(kTextoFrecuencia));
        hojas.Texto(columnas[1], y, textos.BuscarTexto(kTextoGanancia));
        hojas.Texto(columnas[2], y, textos.BuscarTexto(kTextoFase));
        hojas.PonerNegrita(false, false);
        y += 20 * k;
    };
    y += 12 * k;
    if (y > H - 75 * k) {
        if (!hojas.CerrarPagina())
            return impresora.abort(), p.end(), false;
        y = 52 * k;
    }
    cabecera();
    for (const TPuntoBarrido& pt : r.Puntos) {
        if (y > H - 75 * k) {
            if (!hojas.CerrarPagina())
                return impresora.abort(), p.end(), false;
            y = 52 * k;
            cabecera();
        }
        hojas.Texto(columnas[0], y, FormatoGeneral(pt.Frecuencia, 6));
        if (pt.Valida()) {
            hojas.Texto(columnas[1], y, FormatoFijo(pt.GananciaDB, 3));
            hojas.Texto(columnas[2], y, FormatoFijo(pt.FaseGrados, 2));
        } else {
            hojas.Texto(columnas[1], y, marcas.value(int(pt.Marca)));
        }
        y += 15 * k;
    }
    return p.end();
}

} // namespace qv

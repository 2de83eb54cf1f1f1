#include "plot/capa_decodificacion.h"

#include "plot/grf.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace qv {

TDibujoDecodificacion::TDibujoDecodificacion(TGrf& g)
    : QCPLayerable(&g, QString(), nullptr), g_(g)
{
    const QString capa = QString::fromLatin1(Capa);
    if (!g.layer(capa))
        g.addLayer(capa, g.layer(QStringLiteral("axes")), QCustomPlot::limAbove);
    setLayer(capa);
}

void TDibujoDecodificacion::PonerFilas(std::vector<TFilaDibujoDecod> filas)
{
    filas_ = std::move(filas);
    orden_.assign(filas_.size(), {});
    masLarga_.assign(filas_.size(), 0);
    for (std::size_t k = 0; k < filas_.size(); ++k) {
        const TResultadoDecod* r = filas_[k].Resultado.get();
        if (!r)
            continue;
        // The result is sorted by first sample; a row keeps that order.
        for (int i = 0; i < int(r->Anotaciones.size()); ++i) {
            const TAnotacionDecod& a = r->Anotaciones[std::size_t(i)];
            if (a.Fila != filas_[k].Fila)
                continue;
            orden_[k].push_back(i);
            masLarga_[k] = std::max(masLarga_[k], a.Hasta - a.Desde);
        }
    }
    g_.replot(QCustomPlot::rpQueuedReplot);
}

QColor TDibujoDecodificacion::Color(int clase)
{
    return QColor::fromHsv((clase * 67 + 200) % 360, 105, 240);
}

QRect TDibujoDecodificacion::Caja(const TFilaDibujoDecod& f, const TAnotacionDecod& a) const
{
    const double T = f.Resultado ? f.Resultado->Periodo : 0;
    const int x0 = g_.PixelX(double(a.Desde) * T);
    const int x1 = g_.PixelX(double(a.Hasta) * T);
    const int y0 = g_.PixelY(f.YAlto), y1 = g_.PixelY(f.YBajo);
    // A gap of a tenth of the band above and below, so that neighbouring rows part.
    const int margen = std::max(1, (y1 - y0) / 10);
    return QRect(QPoint(x0, y0 + margen), QPoint(std::max(x0, x1), y1 - margen));
}

void TDibujoDecodificacion::draw(QCPPainter* p)
{
    if (filas_.empty() || !g_.EscalasValidas())
        return;
    const QRect area = g_.AreaGrafica();
    // The digital tick labels beside the rows would read "0" and "1": they are covered.
    double alto = filas_.front().YAlto;
    for (const TFilaDibujoDecod& f : filas_)
        alto = std::max(alto, f.YAlto);
    const int fuente = QFontMetrics(g_.Appearance().LabelFont()).height();
    const int arriba = std::max(area.top(), g_.PixelY(alto) - fuente / 2 - 1);
    if (arriba < area.bottom())
        p->fillRect(QRect(QPoint(0, arriba), QPoint(area.left() - 2, area.bottom())), Qt::white);
    DibujarRotulos(p, area);
    p->save();
    p->setClipRect(area.adjusted(0, 0, 1, 1), Qt::IntersectClip);
    for (std::size_t k = 0; k < filas_.size(); ++k)
        DibujarFila(p, k, area);
    p->restore();
}

void TDibujoDecodificacion::DibujarFila(QCPPainter* p, std::size_t k, const QRect& area)
{
    const TFilaDibujoDecod& f = filas_[k];
    const TResultadoDecod* r = f.Resultado.get();
    const int y0 = g_.PixelY(f.YAlto), y1 = g_.PixelY(f.YBajo);
    if (!r || y1 < area.top() || y0 > area.bottom() || !(r->Periodo > 0))
        return;
    p->fillRect(QRect(QPoint(area.left(), y0), QPoint(area.right(), y1)), QColor(246, 246, 246));
    p->setPen(QPen(QColor(220, 220, 220), 0));
    p->drawLine(QLineF(area.left(), y1, area.right(), y1));

    QFont letra = g_.Appearance().LabelFont();
    letra.setPixelSize(std::clamp((y1 - y0) * 6 / 10, 8, 13));
    p->setFont(letra);
    const QFontMetrics fm(letra);

    // The annotations in view: from the first that could still reach the left edge.
    const double T = r->Periodo;
    const double xMin = std::min(g_.XAxis().Min(), g_.XAxis().Max());
    const double xMax = std::max(g_.XAxis().Min(), g_.XAxis().Max());
    const auto desde = std::int64_t(std::floor(xMin / T)) - masLarga_[k] - 1;
    const std::vector<int>& orden = orden_[k];
    auto it = std::lower_bound(orden.begin(), orden.end(), desde, [r](int i, std::int64_t s) {
        return r->Anotaciones[std::size_t(i)].Desde < s;
    });
    // Boxes too narrow to see apart are joined into one solid run.
    QRect corrida;
    const auto cerrarCorrida = [&] {
        if (corrida.isNull())
            return;
        p->setPen(QPen(QColor(90, 90, 90), 0));
        p->setBrush(QColor(170, 170, 170));
        p->drawRect(corrida);
        corrida = QRect();
    };
    for (; it != orden.end(); ++it) {
        const TAnotacionDecod& a = r->Anotaciones[std::size_t(*it)];
        if (double(a.Desde) * T > xMax)
            break;
        const QRect caja = Caja(f, a);
        if (caja.right() < area.left())
            continue;
        if (caja.width() < AnchoMinimo) {
            if (!corrida.isNull() && caja.left() > corrida.right() + 1)
                cerrarCorrida();
            corrida = corrida.isNull() ? caja.adjusted(0, 0, 1, 0) : corrida.united(caja);
            continue;
        }
        cerrarCorrida();
        p->setPen(QPen(Color(a.Clase).darker(160), 0));
        p->setBrush(Color(a.Clase));
        p->drawRect(caja);
        // The longest text that fits; none when not even the shortest does. A box cut by
        // the edge of the plot shows its text in the part that is in view.
        const QRect sitio = area.contains(caja) ? caja.adjusted(2, 0, -2, 0) : caja.adjusted(2, 0, -2, 0) & area;
        for (const QString& t : a.Textos)
            if (fm.horizontalAdvance(t) <= sitio.width()) {
                p->setPen(Qt::black);
                p->drawText(sitio, Qt::AlignCenter, t);
                break;
            }
    }
    cerrarCorrida();

}

int TDibujoDecodificacion::AnchoRotulos() const
{
    const QFontMetrics fm(Letra(g_));
    int ancho = 0;
    for (const TFilaDibujoDecod& f : filas_)
        ancho = std::max(ancho, fm.horizontalAdvance(f.Rotulo));
    return ancho;
}

QFont TDibujoDecodificacion::Letra(const TGrf& g)
{
    QFont letra = g.Appearance().LabelFont();
    letra.setPixelSize(std::max(9, letra.pixelSize()));
    return letra;
}

// The rows' names in the margin at their left, where the traces have their levels.
void TDibujoDecodificacion::DibujarRotulos(QCPPainter* p, const QRect& area)
{
    const QFont letra = Letra(g_);
    const QFontMetrics fm(letra);
    p->setFont(letra);
    p->setPen(QColor(60, 60, 60));
    for (const TFilaDibujoDecod& f : filas_) {
        const int y0 = std::max(area.top(), g_.PixelY(f.YAlto)), y1 = std::min(area.bottom(), g_.PixelY(f.YBajo));
        if (y1 - y0 < fm.height() / 2)
            continue;
        const QRect sitio(QPoint(2, y0), QPoint(area.left() - 4, y1));
        p->drawText(sitio, Qt::AlignRight | Qt::AlignVCenter, fm.elidedText(f.Rotulo, Qt::ElideRight, sitio.width()));
    }
}

} // namespace qv

#include "plot/imagenes.h"

#include "model/escritura_segura.h"
#include "model/formatos.h"
#include "plot/qcp.h"
#include "plot/wmf.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace qv {

namespace {

constexpr int PixelesPorPulgada = 96;

// Paints through a QCPPainter; vector outputs skip the half-pixel fixes meant for screens.
bool Pintar(QPaintDevice& dispositivo, const QSize& tamano, const TPintor& pintar, bool vectorial,
            const QSizeF& medidaDispositivo = QSizeF())
{
    QCPPainter p(&dispositivo);
    if (!p.isActive())
        return false;
    p.setMode(QCPPainter::pmNoCaching);
    p.setMode(QCPPainter::pmVectorized, vectorial);
    // A device whose pixels came out slightly off the asked size still shows it whole.
    if (!medidaDispositivo.isEmpty() && medidaDispositivo != QSizeF(tamano))
        p.scale(medidaDispositivo.width() / tamano.width(), medidaDispositivo.height() / tamano.height());
    pintar(p, QRect(QPoint(0, 0), tamano));
    return p.end();
}

QByteArray Bitmap(const QSize& tamano, const TPintor& pintar, const char* formato)
{
    const QImage img = PintarImagen(tamano, pintar);
    if (img.isNull())
        return {};
    QByteArray datos;
    QBuffer buf(&datos);
    buf.open(QIODevice::WriteOnly);
    if (!img.save(&buf, formato))
        return {};
    return datos;
}

QByteArray Svg(const QSize& tamano, const TPintor& pintar)
{
    QByteArray datos;
    QBuffer buf(&datos);
    buf.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buf);
    svg.setSize(tamano);
    svg.setViewBox(QRect(QPoint(0, 0), tamano));
    svg.setResolution(PixelesPorPulgada);
    svg.setTitle(QStringLiteral("Quorvane"));
    if (!Pintar(svg, tamano, pintar, true))
        return {};
    return datos;
}

QByteArray Pdf(const QSize& tamano, const TPintor& pintar)
{
    QByteArray datos;
    QBuffer buf(&datos);
    buf.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buf);
        pdf.setCreator(QStringLiteral("Quorvane"));
        pdf.setTitle(QStringLiteral("Quorvane"));
        pdf.setResolution(PixelesPorPulgada);
        // One page the size of the picture, not the standard size nearest to it.
        const QPageSize pagina(QSizeF(double(tamano.width()) / PixelesPorPulgada, double(tamano.height()) / PixelesPorPulgada),
                               QPageSize::Inch, QString(), QPageSize::ExactMatch);
        if (!pdf.setPageLayout(QPageLayout(pagina, QPageLayout::Portrait, QMarginsF())))
            return {};
        if (!Pintar(pdf, tamano, pintar, true, QSizeF(pdf.width(), pdf.height())))
            return {};
    }
    return datos;
}

QByteArray Wmf(const QSize& tamano, const TPintor& pintar)
{
    TDispositivoWMF wmf(tamano, PixelesPorPulgada);
    if (!Pintar(wmf, tamano, pintar, true))
        return {};
    return wmf.Datos();
}

} // namespace

TFormatoImagen FormatoDeFichero(const QString& ruta)
{
    const QString ext = QFileInfo(ruta).suffix().toLower();
    if (ext == QLatin1String("bmp"))
        return TFormatoImagen::BMP;
    if (ext == QLatin1String("png"))
        return TFormatoImagen::PNG;
    if (ext == QLatin1String("svg"))
        return TFormatoImagen::SVG;
    if (ext == QLatin1String("pdf"))
        return TFormatoImagen::PDF;
    if (ext == QLatin1String("wmf"))
        return TFormatoImagen::WMF;
    return TFormatoImagen::Desconocido;
}

bool LeerTamano(const QString& texto, QSize& tamano)
{
    const QStringList partes = texto.toLower().split(QLatin1Char('x'));
    if (partes.size() != 2)
        return false;
    const auto w = LeerEntero(partes[0]);
    const auto h = LeerEntero(partes[1]);
    if (!w || !h || *w < 16 || *h < 16 || *w > 10000 || *h > 10000)
        return false;
    tamano = QSize(int(*w), int(*h));
    return true;
}

QImage PintarImagen(const QSize& tamano, const TPintor& pintar)
{
    if (tamano.isEmpty())
        return {};
    QImage img(tamano, QImage::Format_RGB32);
    if (img.isNull())
        return {};
    img.setDotsPerMeterX(qRound(PixelesPorPulgada / 0.0254));
    img.setDotsPerMeterY(qRound(PixelesPorPulgada / 0.0254));
    img.fill(Qt::white);
    if (!Pintar(img, tamano, pintar, false))
        return {};
    return img;
}

QByteArray ImagenEnFormato(TFormatoImagen formato, const QSize& tamano, const TPintor& pintar)
{
    if (tamano.isEmpty())
        return {};
    switch (formato) {
    case TFormatoImagen::BMP: return Bitmap(tamano, pintar, "BMP");
    case TFormatoImagen::PNG: return Bitmap(tamano, pintar, "PNG");
    case TFormatoImagen::SVG: return Svg(tamano, pintar);
    case TFormatoImagen::PDF: return Pdf(tamano, pintar);
    case TFormatoImagen::WMF: return Wmf(tamano, pintar);
    case TFormatoImagen::Desconocido: break;
    }
    return {};
}

bool GuardarImagen(const QString& ruta, TFormatoImagen formato, const QSize& tamano, const TPintor& pintar,
                   QString* error)
{
    auto fallo = [error](const char* motivo) {
        if (error)
            *error = QString::fromLatin1(motivo);
        return false;
    };
    if (formato == TFormatoImagen::Desconocido)
        return fallo("unknown picture format");
    if (tamano.isEmpty())
        return fallo("empty picture");
    const QByteArray datos = ImagenEnFormato(formato, tamano, pintar);
    if (datos.isEmpty())
        return fallo("the picture could not be produced");
    return EscribirSeguro(ruta, datos, error);
}

bool GuardarImagen(const QString& ruta, const QSize& tamano, const TPintor& pintar, QString* error)
{
    return GuardarImagen(ruta, FormatoDeFichero(ruta), tamano, pintar, error);
}

bool CopiarImagenPortapapeles(const QSize& tamano, const TPintor& pintar)
{
    if (!QGuiApplication::instance())
        return false;
    QClipboard* portapapeles = QGuiApplication::clipboard();
    const QImage img = PintarImagen(tamano, pintar);
    if (!portapapeles || img.isNull())
        return false;
    portapapeles->setImage(img);
    return true;
}

TPintor PintorGrafica(QCustomPlot& grafica)
{
    return [&grafica](QCPPainter& p, const QRect& r) {
        p.save();
        p.translate(r.topLeft());
        grafica.toPainter(&p, r.width(), r.height());
        p.restore();
        // Painting at another size laid the graph out for it: put the screen's layout back
        // now, so pixel and value mapping stay right, and redraw what follows the layout.
        if (r.size() != grafica.viewport().size()) {
            QCPLayoutGrid* disposicion = grafica.plotLayout();
            disposicion->update(QCPLayoutElement::upPreparation);
            disposicion->update(QCPLayoutElement::upMargins);
            disposicion->update(QCPLayoutElement::upLayout);
            grafica.replot(QCustomPlot::rpQueuedReplot);
        }
    };
}

} // namespace qv

#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QCPPainter;
class QCustomPlot;

namespace qv {

// Paints a picture into the rectangle it is given. The painter is a QCPPainter (in
// vector mode for SVG, PDF and WMF) because a graph paints itself only on one; any
// function that takes a QPainter& serves as well.
using TPintor = std::function<void(QCPPainter&, const QRect&)>;

enum class TFormatoImagen { Desconocido, BMP, PNG, SVG, PDF, WMF };

// The format of a file name's extension, whatever its case.
TFormatoImagen FormatoDeFichero(const QString& ruta);

// A picture size written "WxH", both between 16 and 10000 pixels; false otherwise.
bool LeerTamano(const QString& texto, QSize& tamano);

// Writes a picture of `tamano` pixels (96 per inch) painted by `pintar`, in the format
// of the file's extension. The whole file is produced first and then written through
// a temporary file in the target's folder, so a failure leaves no partial file and
// keeps the old one. False (and the reason in `error` when given) when the format is
// unknown, the size empty, or the file cannot be written.
bool GuardarImagen(const QString& ruta, const QSize& tamano, const TPintor& pintar, QString* error = nullptr);
bool GuardarImagen(const QString& ruta, TFormatoImagen formato, const QSize& tamano, const TPintor& pintar,
                   QString* error = nullptr);

// The whole file of a picture in one format; empty when it could not be produced.
QByteArray ImagenEnFormato(TFormatoImagen formato, const QSize& tamano, const TPintor& pintar);

// The picture as a bitmap on white.
QImage PintarImagen(const QSize& tamano, const TPintor& pintar);

// Puts the picture on the clipboard as a bitmap; false when there is no clipboard.
bool CopiarImagenPortapapeles(const QSize& tamano, const TPintor& pintar);

// Painter of a QCustomPlot graph laid out at the size of the rectangle. The graph
// must outlive the painter.
TPintor PintorGrafica(QCustomPlot& grafica);

} // namespace qv

#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

namespace qv {

class TCjtSenales;
class TInteraccion;
class TTextos;

// The graph of an analog or a digital signal window drawn without a screen: the real
// window is built on a private main window that nobody sees, filled as "Nueva Ventana"
// fills it, sized so that its graph is `tamano`, and painted into the picture file.
// Needs a QApplication (quorvane-cli render starts one on the offscreen platform).
class TGraficaFichero {
public:
    TGraficaFichero(TTextos& textos, TInteraccion& interaccion);
    ~TGraficaFichero();

    // The set to draw; the drawing owns it.
    TCjtSenales& Senales();

    // Draws `nombres` (none: the window's own choice) in the format of the file's
    // extension, against time or, when `ejeX` names an analog signal, against that
    // signal (an XY plot of the first name). False with the reason in `error`.
    bool Dibujar(const QStringList& nombres, bool digital, const QString& ejeX, QSize tamano, const QString& salida,
                 QString& error);

private:
    class TPrincipalOculto;
    std::unique_ptr<TPrincipalOculto> principal_;
};

// "WxH" with both between 16 and 10000 pixels; nothing otherwise.
bool LeerTamano(const QString& texto, QSize& tamano);

} // namespace qv

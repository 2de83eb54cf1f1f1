// Cursors of the signal windows: placed and dragged with the mouse, stepped sample by
// sample with the arrow keys. Moving a cursor redraws its own layer and the readouts,
// never the series.

#include "display/visualiza_senales_comun.h"
#include "display/visualiza_senales_cursores.h"
#include "plot/grf.h"

#include <QMenu>

#include <algorithm>
#include <cmath>

namespace qv {

void TVentanaSenales::RatonAbajo(const TRatonGrf& r)
{
    if (zoomArmado_) {
        // Armed for one press, whatever the button.
        zoomArmado_ = false;
        xygraph->unsetCursor();
    }
    if (r.Zoom)
        return;
    if (!cursoresActivos_) {
        if (r.Boton == Qt::RightButton)
            Popup->popup(xygraph->mapToGlobal(r.Pixel));
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int numero = r.Boton == Qt::LeftButton ? 1 : 2;
    (numero == 1 ? arrastrandoAzul_ : arrastrandoRojo_) = true;
    xygraph->setCursor(Qt::SplitHCursor);
    Colocar(numero, r.EnArea);
}

void TVentanaSenales::RatonMovido(const TRatonGrf& r)
{
    if (!cursoresActivos_ || r.Zoom)
        return;
    // The pointer is kept inside the plot area while a cursor follows it.
    if (arrastrandoAzul_)
        Colocar(1, r.EnArea);
    else if (arrastrandoRojo_)
        Colocar(2, r.EnArea);
}

void TVentanaSenales::RatonArriba(const TRatonGrf& r)
{
    if (r.Boton == Qt::LeftButton)
        arrastrandoAzul_ = false;
    else
        arrastrandoRojo_ = false;
    if (!arrastrandoAzul_ && !arrastrandoRojo_ && !zoomArmado_)
        xygraph->unsetCursor();
}

// Every series is read at the pointer's column; the cursor stands on the sample nearest
// to the pointer among them (a shorter signal does not pull it back to its end). On an
// XY plot, whose curve may pass a column many times, the sample nearest on screen.
void TVentanaSenales::Colocar(int numero, QPoint pixel)
{
    if (!EjeTiempo()) {
        TPuntoGrf p;
        if (xygraph->NumSeries() > 0 && xygraph->PuntoMasCercanoEnPantalla(0, pixel, p))
            IrAMuestra(numero, p.Secuencia);
        return;
    }
    const int pixelX = pixel.x();
    const int n = xygraph->NumSeries();
    std::vector<double> valores(n, 0.0);
    const double v = xygraph->ValorX(pixelX);
    TPuntoGrf mejor;
    bool hay = false;
    double yMarca = 0;
    for (int j = 0; j < n; ++j) {
        TPuntoGrf p;
        if (!xygraph->PuntoMasCercano(j, pixelX, p))
            continue;
        valores[j] = ValorLeido(j, p.Y);
        if (j == 0)
            yMarca = p.Y;
        if (!hay || std::fabs(p.X - v) < std::fabs(mejor.X - v)) {
            mejor = p;
            hay = true;
        }
    }
    const double lo = xygraph->XAxis().Min(), hi = xygraph->XAxis().Max();
    if (!hay || v < std::min(lo, hi) || v > std::max(lo, hi))
        return;
    Mover(numero, mejor.Secuencia, mejor.X, yMarca, valores);
}

void TVentanaSenales::Mover(int numero, int muestra, double x, double yMarca, const std::vector<double>& valores)
{
    xygraph->PonerCursor(numero, ConMarca(), yMarca, x);
    PCursor->Lectura(numero, x, valores, muestra);
    muestraActual_ = muestra;
    cursorTeclas_ = numero;
    muestras_[numero - 1] = muestra;
    ActualizarMedidas(true);
}

// Sample `muestra` of every series; the cursor moves there only when every series has
// it inside the visible X range.
bool TVentanaSenales::IrAMuestra(int numero, int muestra)
{
    const int n = xygraph->NumSeries();
    if (muestra < 1 || n == 0)
        return false;
    const double lo = std::min(xygraph->XAxis().Min(), xygraph->XAxis().Max());
    const double hi = std::max(xygraph->XAxis().Min(), xygraph->XAxis().Max());
    std::vector<double> valores(n, 0.0);
    double x0 = 0, yMarca = 0;
    for (int j = 0; j < n; ++j) {
        double x = 0, y = 0;
        if (!xygraph->Serie(j).LeerPunto(muestra, x, y) || x < lo || x > hi)
            return false;
        valores[j] = ValorLeido(j, y);
        if (j == 0) {
            x0 = x;
            yMarca = y;
        }
    }
    Mover(numero, muestra, x0, yMarca, valores);
    return true;
}

// The keys move the cursor placed last, from its own sample: a red cursor just put
// down is the one the student means to adjust, and the blue one never jumps beside it.
bool TVentanaSenales::Paso(int sentido)
{
    if (cursorTeclas_ != 0 && PCursor->Colocado(cursorTeclas_)) {
        const int numero = cursorTeclas_;
        const int actual = muestras_[numero - 1];
        if (IrAMuestra(numero, actual + sentido))
            return true;
        // A zoom may leave the cursor out of view: the keys then bring it in at the
        // edge it lies beyond, rather than doing nothing for good.
        double x = 0, y = 0;
        if (!EjeTiempo() || xygraph->NumSeries() == 0 || !xygraph->Serie(0).LeerPunto(actual, x, y))
            return false;
        const double lo = std::min(xygraph->XAxis().Min(), xygraph->XAxis().Max());
        const double hi = std::max(xygraph->XAxis().Min(), xygraph->XAxis().Max());
        if (sentido > 0 && x < lo)
            return IrAlBorde(numero, false);
        if (sentido < 0 && x > hi)
            return IrAlBorde(numero, true);
        return false;
    }
    // Before any placement the keys bring in the blue cursor on the first sample in
    // view, so that the cursors can be used from the keyboard alone.
    if (!EjeTiempo())
        return IrAMuestra(1, 1);
    return IrAlBorde(1, false);
}

// The first (or last) sample in view of a time plot.
bool TVentanaSenales::IrAlBorde(int numero, bool derecho)
{
    const QRect area = xygraph->AreaGrafica();
    TPuntoGrf p;
    if (!xygraph->PuntoMasCercano(0, derecho ? area.left() + area.width() : area.left(), p))
        return false;
    const int hacia = derecho ? -1 : 1;
    return IrAMuestra(numero, p.Secuencia) || IrAMuestra(numero, p.Secuencia + hacia);
}

} // namespace qv

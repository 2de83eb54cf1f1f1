#pragma once

#include <QString>

class QMenu;

namespace qv {

class IPrincipal;
class TVentanaSenales;

// The windows of a set just opened or read back: its analog window and, when it has
// digital signals, a digital window too; the analog one stays active.
void AbrirVentanasDelConjunto(IPrincipal& principal, const QString& titulo);

// The window commands of the main window: new analog and digital signal windows,
// closing, arranging, and the window list of "&Ventana".
class TComandosVentanas {
public:
    explicit TComandosVentanas(IPrincipal& principal) : principal_(principal) {}

    void NuevaVentana1Click();
    void VentanaDigital1Click(); // refused with text 102 when the set has no digital signal
    void CerrarVentana1Click();
    void CerrarTodas1Click();
    void Cascada1Click();
    void TileHorizontal1Click();
    void TileVertical1Click();

    // Opens a signal window titled `titulo` on the current set, showing at most
    // MaxSenalesAna / MaxSenalesDig of its signals.
    void AbrirVentanaAnalogica(const QString& titulo);
    void AbrirVentanaDigital(const QString& titulo);

    // Frees every child window, last first.
    void CerrarVentanas();
    // Fills the window list at the end of "&Ventana".
    void MenuVentanas(QMenu& menu);

private:
    void AbrirVentana(TVentanaSenales* ventana, const QString& titulo, int maxSenales);
    void Mosaico(Qt::Orientation orientacion);
    QString TituloVentanaNueva() const; // the open file, else the save-as name

    IPrincipal& principal_;
};

} // namespace qv

#pragma once

#include <QObject>
#include <QString>

class QMenu;

namespace qv {

class IPrincipal;
class TVentanaSenales;

// The window commands of the main window: new analog and digital signal windows,
// closing, arranging, and the window list of "&Ventana". The windows follow the
// state's set: when it is replaced the old set's windows close and the new one's open,
// its analog window and, when it has digital signals, a digital one, titled with its
// file name; with no set to show, no window stays.
class TComandosVentanas : public QObject {
public:
    explicit TComandosVentanas(IPrincipal& principal);

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

    // Frees every child window, last first; the numbering starts again.
    void CerrarVentanas();
    // Each new signal window takes the next number, from 1 once no window is open.
    int NuevoNumeroVentana();
    int ContadorVentanas() const { return contador_; }
    // Fills the window list at the end of "&Ventana".
    void MenuVentanas(QMenu& menu);

private:
    void SeguirConjunto();
    void AbrirVentanasDelConjunto(const QString& titulo); // the analog one stays active
    void AbrirVentana(TVentanaSenales* ventana, const QString& titulo, int maxSenales);
    void Mosaico(Qt::Orientation orientacion);
    QString TituloVentanaNueva() const; // the open file, else the save-as name

    IPrincipal& principal_;
    int contador_ = 0;
};

} // namespace qv

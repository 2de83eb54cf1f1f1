#pragma once

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;

namespace qv {

class IPrincipal;
class TSuperposiciones;
class TVentanaSenales;

// The analysis entries of the analog window's pop-up menu: "Ajustar curva...",
// "Superponer captura...", "Conservar superposiciones" and "Quitar superposiciones".
// Owns the window's overlays.
class TAccionesAjuste : public QObject {
    Q_OBJECT
public:
    TAccionesAjuste(TVentanaSenales& ventana, IPrincipal& principal, QMenu& menu);

    void AjustarCurva();
    void SuperponerCaptura();
    // The overlays go into the set as ordinary signals (saved with it) and into the
    // window's shown list as far as it has room.
    void ConservarSuperposiciones();
    void QuitarSuperposiciones();
    // Whether the window has what each needs: an analog signal shown, a time plot.
    bool PuedeAjustar() const { return !AnalogicasVisibles().isEmpty(); }
    bool PuedeSuperponer() const;

    TSuperposiciones& Superposiciones() const { return *superpuestas_; }

private:
    void Actualizar();
    // The window shows `nombres` (the set holds them now) while it has room.
    void Mostrar(const QStringList& nombres);
    QStringList AnalogicasVisibles() const;
    bool EjeTiempo() const;

    TVentanaSenales& ventana_;
    IPrincipal& principal_;
    TSuperposiciones* superpuestas_;
    QAction* AjustarCurva2;
    QAction* SuperponerCaptura2;
    QAction* ConservarSuperposiciones2;
    QAction* QuitarSuperposiciones2;
};

} // namespace qv

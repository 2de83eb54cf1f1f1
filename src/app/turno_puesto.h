#pragma once

#include "link/tarea.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class QLabel;
class QToolButton;
class QWidget;

namespace qv {

class TfrmPrincipal;
struct TEstadoTurno;

// The station's place in the relay's line. It looks at what the relay says (a step of
// the device service now and then, never a wait of the window's) and shows the place
// in the status bar ("Turno: 3 de 7", the expected wait and a button to leave). When
// called it takes the unit as "Ocupar" does, raises the window and says so without a
// modal message. While the station holds the unit it hears how many wait, the warning
// before its turn ends, and the end itself.
class TTurnoPuesto : public QObject {
    Q_OBJECT
public:
    enum class TFase { Nada, Esperando, Titular };
    static constexpr int MiradaEsperandoMs = 500;
    static constexpr int MiradaTitularMs = 2000;

    explicit TTurnoPuesto(TfrmPrincipal& principal);
    ~TTurnoPuesto() override;

    // "Pedir turno" in the take dialog: a place in the line of `servidor`'s relay, on the
    // connection the check left open.
    TTarea Pedir(QString servidor);
    // The button in the status bar: out of the line at once.
    TTarea Dejar();
    // The unit was taken through "Ocupar": the relay is asked to tell of the line.
    TTarea Tomada();
    // Released, or the connection replaced: nothing more to look at.
    void Olvidar();

    TFase Fase() const { return fase_; }
    // How many wait for the unit, as the relay said last (0 while unknown).
    int Esperan() const { return esperan_; }
    QWidget* Panel() const { return panel_; }
    // One look now (tests; the timer does it otherwise).
    TTarea Mirar();

private:
    void Aplicar(const TEstadoTurno& e);
    void Mostrar();
    void Noticia(int clave, const QString& arg = {});
    void Poner(TFase fase);

    TfrmPrincipal& principal_;
    TFase fase_ = TFase::Nada;
    QString servidor_;
    bool mirando_ = false;
    int esperan_ = 0;
    std::optional<int> lugar_;
    std::optional<int> espera_; // s, counted from desde_
    QElapsedTimer desde_;
    QTimer timer_;
    QWidget* panel_;
    QLabel* L_Turno;
    QToolButton* BtnDejarTurno;
};

} // namespace qv

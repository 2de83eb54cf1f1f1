#pragma once

#include "net/contexto_red.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTimer>
#include <QWidget>

class QComboBox;
class QLabel;
class QTreeWidget;
class QUdpSocket;

namespace qv {

struct TVistaAula;

// "Turnos del aula": for the relay of a PC, who holds the unit and for how long, and the
// line in order with each place's wait, as the relay reports it (asked once a second
// over UDP; nothing here can change the line). A window of its own beside the main one.
class TfrmTurnosAula : public QWidget {
public:
    static constexpr int IntervaloMs = 1000;
    static constexpr int SinRespuestaMs = 3500;

    explicit TfrmTurnosAula(TContextoRed red, QWidget* parent = nullptr);

    // The PC whose relay is shown (an entry of the PC list, cut at its "(").
    void PonerPC(const QString& pc);
    // What a datagram of the relay says, shown now (also for tests).
    void Mostrar(const TVistaAula& vista);
    // Asks the relay again now.
    void Preguntar();

private:
    void Leer();
    void SinRespuesta();

    TContextoRed red_;
    QLabel* L_PCAula;
    QComboBox* Ed_PCAula;
    QLabel* L_Titular;
    QLabel* L_Medio;
    QLabel* L_Cola;
    QTreeWidget* ListaTurnos;
    QUdpSocket* udp_;
    QTimer timer_;
    QHostAddress destino_;
    int busqueda_ = -1;       // a name lookup under way
    QElapsedTimer respuesta_; // since the last answer
};

} // namespace qv

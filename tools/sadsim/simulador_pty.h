#pragma once

#include "unidad_simulada.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;

namespace qv {

// Puts a simulated unit behind a pseudo-terminal: bytes the program writes to the
// terminal reach the unit, the unit's replies go back, and a timer keeps the
// unit's clock running between commands. Runs on the caller's event loop.
class TSimuladorPty : public QObject {
    Q_OBJECT
public:
    explicit TSimuladorPty(TUnidadSimulada& unidad, QObject* padre = nullptr);
    ~TSimuladorPty() override;

    // Opens the pseudo-terminal in raw mode. False with a reason on failure.
    bool Abrir(QString* error = nullptr);
    void Cerrar();
    // Path of the terminal's program side (/dev/pts/N).
    QString RutaEsclavo() const { return ruta_; }
    // Replies leave at the pace of a serial line of that speed (8N1: ten bits a byte);
    // 0 lets them leave as fast as the terminal takes them.
    void PonerBaudios(int baudios) { baudios_ = baudios; }

private:
    void Leer();
    void Escribir();
    qsizetype Permitidos() const;
    void Latido();
    std::int64_t Ahora() const;

    TUnidadSimulada& unidad_;
    int maestro_ = -1;
    int esclavo_ = -1; // kept open so the terminal never hangs up between clients
    QString ruta_;
    QSocketNotifier* lectura_ = nullptr;
    QSocketNotifier* escritura_ = nullptr;
    QTimer latido_;
    QElapsedTimer reloj_;
    QByteArray pendiente_;
    int baudios_ = 0;
    std::int64_t marcaUs_ = 0;     // when the line last started sending after a pause
    std::int64_t enviadosMarca_ = 0; // bytes sent since then
};

} // namespace qv

#pragma once

#include "link/com.h"

#include <QStringList>
#include <memory>

class QSerialPort;

namespace qv {

class TInteraccion;
class TReloj;

// The serial transport. The unit is looked for on the first six device names of the
// station's port list ("COM1" to "COM6" become list entries 0 to 5): each is opened,
// probed with "1#" and, when the answer starts with "&", kept open. The unit's
// firmware version decides how long commands are paced.
//
// Reads never need an event loop: Recibir pulls what the system holds for the line
// and returns at once, so the owner may poll it (the protocol object does).
class TSeriePort : public TCOM {
public:
    static constexpr int PuertosBuscados = 6;
    static constexpr int Baudios = 115200;

    // puertos: device names in "COM1".."COM8" order (the station setting PuertosSerie).
    TSeriePort(QStringList puertos, TInteraccion& interaccion, TReloj& reloj);
    ~TSeriePort() override;

    // Opens the selected device; on failure shows "no se puede abrir el puerto" and
    // returns with the port closed.
    void Abrir() override;
    // Closes and waits 10 ms; never fails.
    void Cerrar() override;
    // Line settings (115200 8N1, XON/XOFF) and the unit search. Throws
    // EEntradaSalida("Error al configurar el puerto") when no unit answered.
    void Configurar(const QString& host) override;
    // Writes in pieces of TamBloque bytes, each followed by PausaBloque ms.
    void Enviar(const QByteArray& texto) override;
    // Everything queued on the line, possibly nothing; never waits for more.
    void Recibir(QByteArray& texto) override;
    void Descartar() override;
    bool Conectado() override;

    // The unit search alone (part of Configurar).
    void BuscarSAD();

    int PuertoSeleccionado() const { return Indice; }
    // Device name of the selected entry (empty when the list has no such entry).
    QString NombrePuerto() const;
    // Version text of the unit found by the last search (empty when none).
    QString VersionHallada() const { return Version; }

    // The serial component, for owners that prefer its readyRead signal to polling
    // (the relay program). Never null.
    QSerialPort* Componente() const { return ComPort.get(); }

    int TamBloque = 2048;  // largest piece Enviar writes at once
    int PausaBloque = 0;   // ms after each piece

private:
    bool AbrirComponente();            // open without messages; false on failure
    void EscribirTodo(const QByteArray& datos);
    void AjustarRitmo(const QString& version);

    std::unique_ptr<QSerialPort> ComPort;
    QStringList ListaPuertos;
    TInteraccion& Interaccion;
    TReloj& Reloj;
    int Indice = 0;
    QString Version;
};

} // namespace qv

#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <functional>

namespace qv {

class TAjustesEstacion;

// The listening side of pushed screens. A pushing server cannot prove that it knows
// the password (VNC authentication only proves the viewer's side, and a viewer that
// answered any pusher would hand out material to guess the password from), so a
// pushed screen is taken only from the PCs of the station's list ("PCsServer", names
// or address entries). This listener owns the port: a connection from a listed PC is
// handed to a viewer through a private port on the loopback address, every other one
// is closed before a byte is read.
class TEscuchaFiltrada : public QObject {
    Q_OBJECT
public:
    TEscuchaFiltrada(const TAjustesEstacion& ajustes, quint16 puerto, QObject* parent = nullptr);
    ~TEscuchaFiltrada() override;

    bool Escuchando() const { return servidor_.isListening(); }
    quint16 Puerto() const { return servidor_.serverPort(); }
    int Rechazadas() const { return rechazadas_; }

    // Told "127.0.0.1::PORT" for each accepted push: a viewer is to connect there.
    std::function<void(const QString& destino)> AlAceptar;
    // Longest wait for names to resolve and for the viewer to connect.
    int EsperaMs = 30000;

private:
    void Nueva(QTcpSocket* s);
    void Decidir(QTcpSocket* s, bool permitido);
    void Unir(QTcpSocket* externo);

    const TAjustesEstacion& ajustes_;
    QTcpServer servidor_;
    int rechazadas_ = 0;
};

} // namespace qv

#pragma once

#include "net/contexto_red.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <vector>

class QHostInfo;
class QUdpSocket;

namespace qv {

// The PCs with a unit on the network: the relays answer the discovery request
// "QVSAD?" on their port with "QVSAD <host> <holder>". A search asks every network of
// this PC by broadcast (or the addresses the options name) and every PC of the
// configured list directly, then gathers the answers for the options' duration
// without ever blocking: answers arrive through the event loop, and each new PC is
// announced at once. Each PC is offered as an address entry "a.b.c.d (host)", so it can
// be reached where names do not resolve.
class TNetUsers : public QObject {
    Q_OBJECT
public:
    struct TPC {
        QString Entrada;
        QString Equipo;
        QString Titular; // empty while the unit is free
    };

    explicit TNetUsers(TOpcionesBusqueda opciones, QObject* parent = nullptr);
    ~TNetUsers() override;

    // Starts a search (a running one starts over): the list empties, the request goes
    // out, and Terminado follows after the duration or Detener.
    void BuscarPCs(const QStringList& configurados = {});
    void Detener();
    bool Buscando() const { return buscando_; }

    // Entries found so far, sorted; and the PCs in the order they answered.
    QStringList Nombres;
    const std::vector<TPC>& PCs() const { return pcs_; }

    // A discovery answer's host and holder; false for anything else (a peer's text
    // is checked: a name of the usual host-name characters, bounded in length).
    static bool LeerRespuesta(const QByteArray& datos, QString& equipo, QString& titular);

Q_SIGNALS:
    void Encontrado(const QString& entrada, const QString& titular);
    void Terminado();

private:
    void Enviar(const QHostAddress& destino);
    void EnviarATodos();
    void Leer();
    void Resuelto(const QHostInfo& info);
    void Fin();

    TOpcionesBusqueda opciones_;
    QUdpSocket* udp_ = nullptr;
    QTimer fin_;
    QTimer repetir_;
    QList<QHostAddress> destinos_;
    QList<int> consultas_; // host-name look-ups still running
    std::vector<TPC> pcs_;
    QSet<QString> equipos_; // lower case
    bool buscando_ = false;
};

} // namespace qv

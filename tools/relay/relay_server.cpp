#include "relay_server.h"

#include "linea_unidad.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace qv {

namespace {

// A PC that sleeps or loses its network never closes its connection: the system finds
// out after a minute or so, and its place is freed then.
void VigilarConexion(QTcpSocket* s)
{
    s->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
    const qintptr fd = s->socketDescriptor();
    if (fd < 0)
        return;
    const int inactivo = 30, intervalo = 10, sondeos = 3;
    ::setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPIDLE, &inactivo, sizeof inactivo);
    ::setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPINTVL, &intervalo, sizeof intervalo);
    ::setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPCNT, &sondeos, sizeof sondeos);
#endif
}

} // namespace

QString NombreCliente(const QHostAddress& direccion)
{
    bool esIPv4 = false;
    const quint32 v4 = direccion.toIPv4Address(&esIPv4);
    if (esIPv4)
        return QHostAddress(v4).toString();
    return direccion.toString();
}

QString EquipoCliente(const QHostAddress& direccion)
{
    bool esIPv4 = false;
    const quint32 v4 = direccion.toIPv4Address(&esIPv4);
    if (esIPv4)
        return QHostAddress(v4).toString();
    Q_IPV6ADDR a = direccion.toIPv6Address();
    for (int i = 8; i < 16; ++i)
        a[i] = 0;
    return QHostAddress(a).toString() + QStringLiteral("/64");
}

QByteArray NumeroComando(const QByteArray& comando)
{
    qsizetype fin = 0;
    while (fin < comando.size() && comando[fin] != ',' && comando[fin] != '#')
        ++fin;
    return comando.left(fin).trimmed();
}

bool RespuestaConDatos(const QByteArray& numero)
{
    static const QByteArray SoloAck[] = {"3", "5", "6", "7", "8", "12", "13"};
    for (const QByteArray& n : SoloAck)
        if (numero == n)
            return false;
    return true;
}

RelayServer::RelayServer(TLineaUnidad& linea, QString nombreEquipo, QObject* padre)
    : QObject(padre), linea_(linea), equipo_(std::move(nombreEquipo)),
      servidor_(new QTcpServer(this)), udp_(new QUdpSocket(this))
{
    espera_.setSingleShot(true);
    espera_.setInterval(limites_.olvidoMs);
    connect(&espera_, &QTimer::timeout, this, &RelayServer::SinRespuesta);
    silencio_.setSingleShot(true);
    silencio_.setInterval(SilencioMs);
    connect(&silencio_, &QTimer::timeout, this, &RelayServer::AlSilencio);
    connect(servidor_, &QTcpServer::newConnection, this, &RelayServer::NuevaConexion);
    connect(udp_, &QUdpSocket::readyRead, this, &RelayServer::Descubrir);
    reintento_.setSingleShot(true);
    connect(&reintento_, &QTimer::timeout, this, &RelayServer::Siguiente);
    vaciado_.setSingleShot(true);
    connect(&vaciado_, &QTimer::timeout, this, &RelayServer::VaciadoAgotado);
    connect(&linea_, &TLineaUnidad::Llegada, this, &RelayServer::LlegadaUnidad);
    connect(&linea_, &TLineaUnidad::Perdida, this, &RelayServer::PerdidaUnidad);
    connect(&linea_, &TLineaUnidad::Callada, this, &RelayServer::AlCallar);
    llamada_.setSingleShot(true);
    connect(&llamada_, &QTimer::timeout, this, &RelayServer::LlamadaAgotada);
    turno_.setSingleShot(true);
    connect(&turno_, &QTimer::timeout, this, &RelayServer::RevisarTurno);
    reloj_.start();
}

RelayServer::~RelayServer()
{
    // Sockets are children: make sure none of their signals reaches a half-destroyed relay.
    for (QTcpSocket* s : orden_)
        disconnect(s, nullptr, this, nullptr);
}

bool RelayServer::Escuchar(const QHostAddress& direccion, quint16 puerto)
{
    servidor_->setMaxPendingConnections(limites_.maxClientes);
    if (!servidor_->listen(direccion, puerto)) {
        error_ = servidor_->errorString();
        return false;
    }
    // The same number as the TCP port, also the one the system chose for port 0.
    if (!udp_->bind(direccion, servidor_->serverPort(), QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        // Discovery is a convenience; clients with a configured PC list still work.
        error_ = udp_->errorString();
    }
    return true;
}

void RelayServer::PonerLimites(const TLimitesRelay& limites)
{
    limites_ = limites;
    espera_.setInterval(limites_.olvidoMs);
    servidor_->setMaxPendingConnections(limites_.maxClientes);
}

quint16 RelayServer::PuertoTcp() const
{
    return servidor_->serverPort();
}

quint16 RelayServer::PuertoUdp() const
{
    return udp_->localPort();
}

QString RelayServer::Titular() const
{
    if (!titular_)
        return QString();
    auto it = clientes_.find(titular_.data());
    return it == clientes_.end() ? QString() : it->second.nombre;
}

qint64 RelayServer::BytesRetenidos() const
{
    qint64 n = bytesCola_ + respuesta_.size();
    for (const auto& [s, c] : clientes_)
        n += c.entrada.Retenidos() + s->bytesToWrite() + s->bytesAvailable();
    return n;
}

void RelayServer::Escribir(QTcpSocket* s, const QByteArray& texto, qint64 limite)
{
    if (!s || s->state() != QAbstractSocket::ConnectedState)
        return;
    auto it = clientes_.find(s);
    if (it == clientes_.end() || it->second.cortado)
        return;
    if (s->bytesToWrite() + texto.size() > limite) {
        // It does not read what it is sent: keeping it all would let one client eat
        // the relay's memory.
        Cortar(s);
        return;
    }
    s->write(texto);
}

void RelayServer::Cortar(QTcpSocket* s)
{
    auto it = clientes_.find(s);
    if (it == clientes_.end() || it->second.cortado)
        return;
    it->second.cortado = true;
    // Dropped from the event loop: this may run deep inside the handling of an answer.
    QMetaObject::invokeMethod(this, [this, p = QPointer<QTcpSocket>(s)] {
        if (p)
            Quitar(p);
    }, Qt::QueuedConnection);
}

void RelayServer::Avisar(const QByteArray& linea, QTcpSocket* excepto)
{
    const QList<QTcpSocket*> lista = orden_;
    for (QTcpSocket* s : lista)
        if (s != excepto && clientes_.count(s))
            Aviso(s, linea);
}

void RelayServer::NuevaConexion()
{
    while (QTcpSocket* s = servidor_->nextPendingConnection()) {
        const QString equipo = EquipoCliente(s->peerAddress());
        int delEquipo = 0;
        for (const auto& [otro, c] : clientes_)
            if (c.equipo == equipo && !c.cortado)
                ++delEquipo;
        // One machine gets a few slots only, so that it cannot lock the classroom out.
        if (int(clientes_.size()) >= limites_.maxClientes || delEquipo >= limites_.maxPorEquipo) {
            RechazarSinPlazas(s);
            continue;
        }
        // A client that floods is read in bounded pieces, so the others get their turn.
        s->setReadBufferSize(MaxLectura);
        VigilarConexion(s);
        TCliente c;
        c.nombre = NombreCliente(s->peerAddress());
        c.equipo = equipo;
        clientes_.emplace(s, std::move(c));
        orden_.append(s);
        connect(s, &QTcpSocket::readyRead, this, [this, s] { LeerCliente(s); });
        connect(s, &QTcpSocket::disconnected, this, [this, s] { Quitar(s); });
        if (!titular_) {
            titular_ = s;
            EmpezarTurno();
            Aviso(s, "$\n");
            Avisar("$" + clientes_.at(s).nombre.toLatin1() + "\n", s);
        } else {
            Aviso(s, "$" + Titular().toLatin1() + "\n");
        }
    }
}

void RelayServer::RechazarSinPlazas(QTcpSocket* s)
{
    // The refusal is a line of its own, so that the client can tell the user why; the
    // connection closes once it is sent, and at the latest a moment later.
    s->setReadBufferSize(1);
    connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    QTimer::singleShot(limites_.cierreRechazoMs, s, [s] {
        s->abort();
        s->deleteLater();
    });
    s->write(QByteArray(RespuestaSinPlazas) + "\n");
    s->disconnectFromHost();
}

void RelayServer::LeerCliente(QTcpSocket* s)
{
    auto it = clientes_.find(s);
    if (it == clientes_.end())
        return;
    const QByteArray datos = s->readAll();
    bytesRecibidos_ += datos.size();
    if (it->second.cortado)
        return;
    it->second.rechazado = false; // refusals collapse to one per piece read
    const bool sigue = it->second.entrada.Lineas(datos, [this, s](QByteArrayView l) { return TratarLinea(s, l); });
    if (!sigue)
        Quitar(s); // a line past the bound, or a command past it (nothing when already gone)
}

bool RelayServer::TratarLinea(QTcpSocket* s, QByteArrayView linea)
{
    auto it = clientes_.find(s);
    if (it == clientes_.end() || it->second.cortado)
        return false;
    TCliente& c = it->second;
    if (!c.entrada.EnComando() && EsLineaTurno(linea)) {
        TratarTurno(s, linea);
        return clientes_.count(s) > 0;
    }
    if (!titular_ && TieneContenido(linea)) {
        // Free unit: the first waiting client to use it takes it.
        titular_ = s;
        EmpezarTurno();
        Avisar("$" + c.nombre.toLatin1() + "\n", s);
    }
    if (titular_ != s) {
        // Nothing of it is kept: a client that does not hold the unit costs no memory.
        if (c.entrada.Ignorar(linea) > 0)
            Rechazar(s);
        return clientes_.count(s) > 0;
    }
    // False past the command bound (the client is dropped) or when it is gone already.
    return c.entrada.Unir(linea, [this, s](const QByteArray& comando) { return Ordenar(s, comando); });
}

bool RelayServer::Ordenar(QTcpSocket* s, const QByteArray& comando)
{
    if (!clientes_.count(s))
        return false;
    const bool cabe = int(cola_.size()) < limites_.maxCola &&
                      (cola_.empty() || bytesCola_ + comando.size() <= MaxComando);
    const bool valido = ComandoValido(comando);
    // A holder whose turn is over while others wait gets no further command through.
    if (titular_ == s && valido && TurnoAgotado(comando))
        CortarTurno();
    if (titular_ != s || !cabe || !valido) {
        Rechazar(s);
    } else {
        if (llamado_ == s)
            Tomar();
        Reenviar(comando, s);
    }
    return clientes_.count(s) > 0; // the connection may have broken while we talked
}

void RelayServer::Rechazar(QTcpSocket* s)
{
    auto it = clientes_.find(s);
    if (it == clientes_.end() || it->second.rechazado)
        return;
    it->second.rechazado = true;
    Aviso(s, "!" + Titular().toLatin1() + "\n");
}

void RelayServer::Quitar(QTcpSocket* s)
{
    if (!clientes_.count(s))
        return;
    disconnect(s, nullptr, this, nullptr);
    const QString nombreIdo = clientes_.at(s).nombre;
    clientes_.erase(s);
    orden_.removeAll(s);
    const bool eraTitular = titular_ == s;
    if (llamado_ == s) {
        llamado_ = nullptr;
        llamada_.stop();
    }
    const bool enCola = turnos_.Dejar(s);
    // Its commands still waiting are dropped; the one on the line is answered to nobody.
    for (auto it = cola_.begin(); it != cola_.end();) {
        if (it->cliente == s && !(enCurso_ && it == cola_.begin())) {
            bytesCola_ -= it->comando.size();
            it = cola_.erase(it);
        } else {
            ++it;
        }
    }
    if (enCurso_ && !cola_.empty() && cola_.front().cliente == s)
        cola_.front().cliente = nullptr;
    s->abort();
    s->deleteLater();
    if (enCola) {
        Q_EMIT Suceso(QStringLiteral("left %1").arg(nombreIdo));
        ColaCambiada();
    }
    if (eraTitular)
        Liberar(nombreIdo);
}

void RelayServer::Liberar(const QString& quien)
{
    TerminarTurno();
    titular_ = nullptr;
    Q_EMIT Suceso(QStringLiteral("released %1").arg(quien));
    // Whatever the holder left playing must not keep driving the outputs.
    Reenviar(ComandoLiberar, nullptr);
    Pasar();
}

void RelayServer::Reenviar(const QByteArray& comando, QTcpSocket* origen)
{
    if (origen && origen == titular_)
        ultimoTitular_ = NumeroComando(comando);
    cola_.push_back({comando, RespuestaConDatos(NumeroComando(comando)), origen, ++ultimoId_, origen == nullptr});
    bytesCola_ += comando.size();
    Siguiente();
}

void RelayServer::BuscarUnidad()
{
    if (acallando_ || linea_.Abierta()) {
        if (!acallando_)
            Q_EMIT UnidadBuscada(true);
        return;
    }
    if (Buscar())
        Siguiente();
}

bool RelayServer::Buscar()
{
    // What a unit still sends of an answer nobody waits for would make the search take
    // it for a foreign device: its lines are heard out first.
    if (linea_.Acallar()) {
        acallando_ = true;
        return false;
    }
    Decidir(linea_.Disponible());
    return true;
}

void RelayServer::AlCallar()
{
    if (!acallando_)
        return;
    acallando_ = false;
    Decidir(linea_.Disponible());
    Siguiente();
}

void RelayServer::Decidir(bool hallada)
{
    // Looking for a unit blocks the relay while it probes the lines: not for every
    // command of a client that insists.
    if (hallada)
        sinUnidadDesde_.invalidate();
    else
        sinUnidadDesde_.start();
    Q_EMIT UnidadBuscada(hallada);
}

void RelayServer::SinUnidad()
{
    while (!cola_.empty()) {
        const TPendiente p = cola_.front();
        cola_.pop_front();
        bytesCola_ -= p.comando.size();
        if (p.cliente)
            Aviso(p.cliente.data(), QByteArray(RespuestaSinUnidad) + "\n");
    }
}

void RelayServer::Preparando()
{
    // The clients hear at once and may ask again; the release waits for the unit, so
    // that the outputs still go to zero.
    for (auto it = cola_.begin(); it != cola_.end();) {
        if (it->propio) {
            ++it;
            continue;
        }
        const QPointer<QTcpSocket> cliente = it->cliente;
        bytesCola_ -= it->comando.size();
        it = cola_.erase(it);
        if (cliente)
            Aviso(cliente.data(), QByteArray(RespuestaPreparando) + "\n");
    }
}

void RelayServer::Siguiente()
{
    // Sending may deliver the unit's bytes at once and end the exchange from inside;
    // the loop below then carries on instead of a nested call.
    if (enviando_)
        return;
    enviando_ = true;
    while (!enCurso_ && !cola_.empty()) {
        if (acallando_ || vaciando_) {
            Preparando();
            break;
        }
        if (reintento_.isActive())
            break; // the search after the pause answers every command waiting
        if (!linea_.Abierta()) {
            const qint64 resto =
                sinUnidadDesde_.isValid() ? limites_.reintentoUnidadMs - sinUnidadDesde_.elapsed() : 0;
            if (resto > 0) {
                reintento_.start(static_cast<int>(resto));
                break;
            }
            if (!Buscar())
                continue; // getting ready: "+" to the clients
            if (!linea_.Abierta()) {
                SinUnidad();
                break;
            }
        }
        // Nothing that came before the command can be its answer.
        silencio_.stop();
        respuesta_.clear();
        const quint64 id = cola_.front().id;
        const QByteArray comando = cola_.front().comando;
        enCurso_ = true;
        espera_.start();
        if (!linea_.Enviar(comando) && enCurso_ && !cola_.empty() && cola_.front().id == id) {
            // The line failed under this command: its client hears so now.
            sinUnidadDesde_.start();
            Entregar(RespuestaSinUnidad);
            Terminado();
        }
    }
    enviando_ = false;
}

void RelayServer::Terminado()
{
    espera_.stop();
    silencio_.stop();
    // A turn that ran out while the holder talked ends once it has been answered.
    if (enCurso_ && !cola_.empty() && cola_.front().cliente && cola_.front().cliente == titular_ &&
        limites_.turnoMaximoMs > 0 && !turnos_.Vacia())
        turno_.start(0);
    if (enCurso_ && !cola_.empty()) {
        bytesCola_ -= cola_.front().comando.size();
        cola_.pop_front();
    }
    enCurso_ = false;
    trozos_ = false;
}

void RelayServer::LlegadaUnidad(const QByteArray& datos)
{
    if (vaciando_) {
        Vaciar(datos);
        return;
    }
    if (!enCurso_)
        return; // nobody asked: not the start of the next answer either
    respuesta_ += datos;
    Repartir();
    if (!enCurso_)
        return;
    if (respuesta_.size() > MaxComando) {
        // A unit that floods without ever framing an answer: pass it on and start over.
        AlSilencio();
        return;
    }
    if (RespuestaEmpezada()) {
        // An answer on its way: the unit's silence for the whole unit wait gives it up.
        silencio_.stop();
        espera_.start();
    } else if (!respuesta_.isEmpty()) {
        espera_.stop();
        silencio_.start();
    }
}

bool RelayServer::RespuestaEmpezada() const
{
    return enCurso_ && !cola_.empty() && cola_.front().conDatos && (trozos_ || respuesta_.startsWith('&'));
}

void RelayServer::PerdidaUnidad()
{
    // The line is gone: nothing more of the answer on its way will come.
    sinUnidadDesde_.start();
    silencio_.stop();
    respuesta_.clear();
    vaciando_ = false;
    vaciado_.stop();
    if (enCurso_) {
        Entregar(RespuestaSinUnidad);
        Terminado();
    }
    Siguiente();
}

void RelayServer::Repartir()
{
    if (!enCurso_ || respuesta_.isEmpty())
        return;
    qsizetype largo = 0;
    if (cola_.front().conDatos) {
        const qsizetype fin = respuesta_.indexOf('#');
        if (fin < 0) {
            PasarTrozo();
            return;
        }
        largo = fin + 1;
    } else {
        if (respuesta_[0] != '&')
            return; // not an acknowledge: passed on whole once the unit falls silent
        largo = 1;
    }
    Entregar(respuesta_.left(largo));
    // Whatever follows the answer was not asked for.
    respuesta_.clear();
    Terminado();
    Siguiente();
}

void RelayServer::PasarTrozo()
{
    // A read-back of thousands of samples takes many seconds on the serial line, far
    // longer than the client waits for its next field: its complete fields go on as
    // they come, on lines of their own, which the client joins again.
    if (!trozos_ && !respuesta_.startsWith('&'))
        return;
    if (respuesta_.size() < TrozoRespuesta)
        return;
    const qsizetype coma = respuesta_.lastIndexOf(',');
    if (coma < 0)
        return;
    trozos_ = true;
    Entregar(respuesta_.left(coma + 1));
    respuesta_.remove(0, coma + 1);
}

void RelayServer::AlSilencio()
{
    silencio_.stop();
    if (respuesta_.isEmpty() || !enCurso_)
        return;
    Entregar(respuesta_);
    respuesta_.clear();
    Terminado();
    Siguiente();
}

void RelayServer::SinRespuesta()
{
    if (!enCurso_ || (!respuesta_.isEmpty() && !RespuestaEmpezada()))
        return; // bytes that are no answer: the silence timer ends this exchange
    Abandonar();
}

void RelayServer::Abandonar()
{
    const bool conDatos = cola_.front().conDatos;
    const bool abierta = linea_.Abierta();
    respuesta_.clear();
    if (!abierta) {
        Entregar(RespuestaSinUnidad);
        Terminado();
        Siguiente();
        return;
    }
    // Its client need not wait any longer; the unit is still there, and what it sends
    // late of this answer is thrown away, so that no other command takes it for its own.
    Entregar(RespuestaAbandonada);
    Terminado();
    vaciando_ = true;
    vaciarConDatos_ = conDatos;
    vaciado_.start(limites_.vaciadoMs);
    Siguiente();
}

void RelayServer::Vaciar(const QByteArray& datos)
{
    const qsizetype fin = datos.indexOf(vaciarConDatos_ ? '#' : '&');
    if (fin < 0)
        return;
    // The late answer has ended; whatever follows it was not asked for either.
    vaciando_ = false;
    vaciado_.stop();
    Siguiente();
}

void RelayServer::VaciadoAgotado()
{
    if (!vaciando_)
        return;
    vaciando_ = false;
    // A unit that neither ends its answer nor falls silent is not to be trusted with
    // the next command: it is looked for again, once its lines have fallen quiet.
    linea_.Soltar();
    if (Buscar())
        Siguiente();
    else
        Preparando();
}

void RelayServer::Entregar(const QByteArray& texto)
{
    // An answer goes to whoever asked, and only while its command is on the line.
    QTcpSocket* destino = enCurso_ && !cola_.empty() ? cola_.front().cliente.data() : nullptr;
    if (destino && clientes_.count(destino)) {
        // The holder's capture is waiting to be read back, or is being read: its turn
        // does not end under it.
        if (destino == titular_ && ((ultimoTitular_ == "2" && texto == "&3#") || ultimoTitular_ == "9"))
            lecturaHasta_ = reloj_.elapsed() + limites_.graciaLecturaMs;
        Escribir(destino, texto + "\n", limites_.maxSalida);
    }
}

void RelayServer::Descubrir()
{
    while (udp_->hasPendingDatagrams()) {
        const QNetworkDatagram d = udp_->receiveDatagram(512);
        if (!d.isValid())
            continue;
        if (d.data().trimmed() == "QVSAD TURNOS?") {
            // Anyone may look, but a flood of requests is not answered in full.
            if (!ventanaAula_.isValid() || ventanaAula_.elapsed() >= 1000) {
                ventanaAula_.start();
                respuestasAula_ = 0;
            }
            if (++respuestasAula_ > limites_.maxAulaPorSegundo)
                continue;
            const qint64 ahora = reloj_.elapsed();
            const QByteArray r =
                LineaAula(Titular(), inicioTurno_ >= 0 ? ahora - inicioTurno_ : 0,
                          turnos_.Media(limites_.turnoMaximoMs), turnos_, ahora);
            udp_->writeDatagram(r, d.senderAddress(), static_cast<quint16>(d.senderPort()));
            continue;
        }
        const auto r = RespuestaDescubrimiento(d.data(), equipo_, Titular());
        if (r)
            udp_->writeDatagram(*r, d.senderAddress(), static_cast<quint16>(d.senderPort()));
    }
}


// ---- turns ----

void RelayServer::TratarTurno(QTcpSocket* s, QByteArrayView linea)
{
    auto it = clientes_.find(s);
    if (it == clientes_.end())
        return;
    TCliente& c = it->second;
    const std::optional<TOrdenTurno> orden = LeerOrdenTurno(linea);
    if (!orden) {
        Rechazar(s);
        return;
    }
    switch (orden->tipo) {
    case TOrdenTurno::TTipo::Pedir: {
        // A place is this PC's own, and one is all it gets.
        const bool otro = !orden->nombre.isEmpty() && orden->nombre.compare(c.nombre, Qt::CaseInsensitive) != 0;
        if (otro || titular_ == s || turnos_.Lugar(s) > 0 || turnos_.Tiene(c.equipo)) {
            Rechazar(s);
            return;
        }
        c.avisos = true;
        if (!titular_) {
            Llamar(s);
            return;
        }
        if (turnos_.Vacia() && inicioTurno_ >= 0)
            colaDesde_ = reloj_.elapsed();
        turnos_.Pedir(s, c.equipo, c.nombre, reloj_.elapsed());
        Q_EMIT Suceso(QStringLiteral("waits %1 place %2").arg(c.nombre).arg(turnos_.Tamano()));
        ColaCambiada();
        return;
    }
    case TOrdenTurno::TTipo::Dejar:
        if (turnos_.Dejar(s)) {
            Aviso(s, "@FUERA\n");
            Q_EMIT Suceso(QStringLiteral("left %1").arg(c.nombre));
            ColaCambiada();
        } else if (llamado_ == s) {
            Aviso(s, "@FUERA\n");
            llamado_ = nullptr;
            llamada_.stop();
            titular_ = nullptr;
            Q_EMIT Suceso(QStringLiteral("declined %1").arg(c.nombre));
            Pasar();
        } else {
            Rechazar(s);
        }
        return;
    case TOrdenTurno::TTipo::Avisos:
        if (titular_ != s) {
            Rechazar(s);
            return;
        }
        c.avisos = true;
        Aviso(s, LineaTurno(0, turnos_.Tamano(), std::nullopt));
        return;
    }
}

void RelayServer::Llamar(QTcpSocket* s)
{
    titular_ = s;
    llamado_ = s;
    inicioTurno_ = -1;
    llamada_.start(limites_.llamadaMs);
    const QString nombre = clientes_.at(s).nombre;
    Q_EMIT Suceso(QStringLiteral("called %1").arg(nombre));
    Aviso(s, "$\n");
    Avisar("$" + nombre.toLatin1() + "\n", s);
    AvisarCola();
}

void RelayServer::Pasar()
{
    if (std::optional<TColaTurnos::TPlaza> p = turnos_.Sacar()) {
        // Quitar takes every place of a client that goes: the first one is still here.
        auto* s = static_cast<QTcpSocket*>(const_cast<void*>(p->clave));
        if (turnos_.Vacia())
            colaDesde_ = -1;
        Llamar(s);
        return;
    }
    Avisar("$\n", nullptr);
}

void RelayServer::Tomar()
{
    llamado_ = nullptr;
    llamada_.stop();
    EmpezarTurno();
}

void RelayServer::EmpezarTurno()
{
    inicioTurno_ = reloj_.elapsed();
    colaDesde_ = turnos_.Vacia() ? -1 : inicioTurno_;
    avisado_ = false;
    lecturaHasta_ = -1;
    ultimoTitular_.clear();
    Q_EMIT Suceso(QStringLiteral("took %1").arg(Titular()));
    RevisarTurno();
}

void RelayServer::TerminarTurno()
{
    turno_.stop();
    if (inicioTurno_ >= 0)
        turnos_.TurnoTerminado(reloj_.elapsed() - inicioTurno_);
    inicioTurno_ = -1;
}

void RelayServer::LlamadaAgotada()
{
    QTcpSocket* s = llamado_.data();
    if (!s || titular_ != s)
        return;
    llamado_ = nullptr;
    titular_ = nullptr;
    Q_EMIT Suceso(QStringLiteral("missed %1").arg(clientes_.count(s) ? clientes_.at(s).nombre : QString()));
    AvisoTurno(s, "@FUERA\n");
    Pasar();
}

qint64 RelayServer::FinTurno() const
{
    // Whoever waits gives the holder its warning a full minute ahead.
    return std::max(inicioTurno_ + limites_.turnoMaximoMs, colaDesde_ + limites_.avisoTurnoMs);
}

bool RelayServer::TitularHablando() const
{
    for (const TPendiente& p : cola_)
        if (p.cliente && p.cliente == titular_)
            return true;
    return false;
}

bool RelayServer::TurnoAgotado(const QByteArray& comando) const
{
    if (limites_.turnoMaximoMs <= 0 || turnos_.Vacia() || inicioTurno_ < 0 || !titular_)
        return false;
    const qint64 ahora = reloj_.elapsed();
    const qint64 fin = FinTurno();
    if (ahora < fin)
        return false;
    // The read-back of the capture it has goes on, within bounds.
    return !(NumeroComando(comando) == "9" && ahora < lecturaHasta_ && ahora < fin + limites_.prorrogaMaximaMs);
}

void RelayServer::RevisarTurno()
{
    turno_.stop();
    if (!titular_ || llamado_ || inicioTurno_ < 0 || limites_.turnoMaximoMs <= 0 || turnos_.Vacia())
        return;
    const qint64 ahora = reloj_.elapsed();
    const qint64 fin = FinTurno();
    if (!avisado_ && ahora >= fin - limites_.avisoTurnoMs) {
        avisado_ = true;
        Q_EMIT Suceso(QStringLiteral("warned %1").arg(Titular()));
        AvisoTurno(titular_, "@AVISO " + QByteArray::number((std::max<qint64>(0, fin - ahora) + 999) / 1000) + "\n");
    }
    if (ahora < fin) {
        const qint64 siguiente = avisado_ ? fin : fin - limites_.avisoTurnoMs;
        turno_.start(static_cast<int>(std::clamp<qint64>(siguiente - ahora, 0, 1 << 30)));
        return;
    }
    if (TitularHablando())
        return; // comes back when the holder's command has been answered
    const qint64 tope = fin + limites_.prorrogaMaximaMs;
    if (ahora < lecturaHasta_ && ahora < tope) {
        turno_.start(static_cast<int>(std::min(lecturaHasta_, tope) - ahora));
        return;
    }
    CortarTurno();
}

void RelayServer::CortarTurno()
{
    QTcpSocket* viejo = titular_.data();
    if (!viejo)
        return;
    Q_EMIT Suceso(QStringLiteral("ended %1").arg(Titular()));
    AvisoTurno(viejo, "@FIN\n");
    TerminarTurno();
    titular_ = nullptr;
    // Whatever it left playing goes off before the next holder's first command.
    Reenviar(ComandoLiberar, nullptr);
    Pasar();
}

void RelayServer::AvisoTurno(QTcpSocket* s, const QByteArray& linea)
{
    auto it = clientes_.find(s);
    if (it != clientes_.end() && it->second.avisos)
        Aviso(s, linea);
}

void RelayServer::AvisarCola()
{
    const qint64 ahora = reloj_.elapsed();
    const qint64 retenido = inicioTurno_ >= 0 ? ahora - inicioTurno_ : 0;
    const int n = turnos_.Tamano();
    // Aviso may drop a client that does not read: the places are copied first.
    const std::deque<TColaTurnos::TPlaza> plazas = turnos_.Plazas();
    int lugar = 0;
    for (const TColaTurnos::TPlaza& p : plazas) {
        ++lugar;
        auto* s = static_cast<QTcpSocket*>(const_cast<void*>(p.clave));
        AvisoTurno(s, LineaTurno(lugar, n, turnos_.Espera(lugar, retenido, limites_.turnoMaximoMs)));
    }
    if (titular_)
        AvisoTurno(titular_, LineaTurno(0, n, std::nullopt));
}

void RelayServer::ColaCambiada()
{
    if (turnos_.Vacia()) {
        // The holder keeps the unit; who comes next gives it a full warning again.
        colaDesde_ = -1;
        avisado_ = false;
    }
    AvisarCola();
    RevisarTurno();
}

} // namespace qv

#include "link/turno_sad.h"

#include "link/com_capvis.h"
#include "link/tcp_port.h"

#include <algorithm>

namespace qv {

namespace {

std::optional<int> Numero(const QByteArray& t)
{
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok && n >= 0 ? std::optional<int>(n) : std::nullopt;
}

TTcpPort* Tcp(TComCapvis& com)
{
    auto* p = dynamic_cast<TTcpPort*>(com.Puerto());
    return p && p->Conectado() ? p : nullptr;
}

bool Decir(TComCapvis& com, const QByteArray& linea)
{
    TTcpPort* p = Tcp(com);
    if (!p)
        return false;
    try {
        p->Enviar(linea);
        return true;
    } catch (const EComPort&) {
        return false;
    }
}

} // namespace

void AplicarLineasTurno(const QList<QByteArray>& lineas, const QString& pcLocal, TEstadoTurno& e)
{
    for (const QByteArray& l : lineas) {
        if (l.startsWith('$')) {
            const QString nombre = QString::fromLatin1(l.mid(1)).trimmed();
            e.titular = nombre;
            if (nombre.isEmpty() || nombre.compare(pcLocal, Qt::CaseInsensitive) == 0)
                e.llamado = true;
            continue;
        }
        if (l.startsWith('!')) {
            e.rechazado = true;
            continue;
        }
        const QList<QByteArray> p = l.simplified().split(' ');
        if (p.front() == "@TURNO" && p.size() == 4) {
            const auto lugar = Numero(p[1]);
            const auto esperan = Numero(p[2]);
            if (!lugar || !esperan)
                continue;
            e.lugar = lugar;
            e.esperan = *esperan;
            e.espera = Numero(p[3]);
        } else if (p.front() == "@FUERA") {
            e.fuera = true;
            e.llamado = false;
        } else if (p.front() == "@FIN") {
            e.fin = true;
        } else if (p.front() == "@AVISO" && p.size() == 2) {
            e.aviso = Numero(p[1]);
        }
    }
}

std::optional<TVistaAula> LeerVistaAula(const QByteArray& datagrama)
{
    const QList<QByteArray> p = datagrama.simplified().split(' ');
    if (p.size() < 5 || p[0] != "QVSAD" || p[1] != "TURNOS")
        return std::nullopt;
    TVistaAula v;
    if (p[2] != "-")
        v.titular = QString::fromLatin1(p[2]);
    const auto retenido = Numero(p[3]);
    if (!retenido)
        return std::nullopt;
    v.retenido = *retenido;
    v.media = Numero(p[4]);
    for (qsizetype i = 5; i < p.size(); ++i) {
        const qsizetype dos = p[i].lastIndexOf(':');
        const auto espera = dos > 0 ? Numero(p[i].mid(dos + 1)) : std::nullopt;
        if (!espera)
            return std::nullopt;
        v.cola.append({QString::fromLatin1(p[i].left(dos)), *espera});
    }
    return v;
}

QString RellenarTexto(QString texto, const QStringList& valores)
{
    for (int i = 0; i < valores.size(); ++i) {
        const QString marca = QStringLiteral("%") + QString::number(i + 1);
        if (texto.contains(marca))
            texto.replace(marca, valores[i]);
        else
            texto += QLatin1Char(' ') + valores[i];
    }
    return texto;
}

QString TextoDuracion(int segundos)
{
    segundos = std::max(0, segundos);
    if (segundos < 60)
        return QStringLiteral("%1 s").arg(segundos);
    if (segundos < 3600)
        return QStringLiteral("%1 min %2 s").arg(segundos / 60).arg(segundos % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 h %2 min").arg(segundos / 3600).arg(segundos / 60 % 60, 2, 10, QLatin1Char('0'));
}

namespace turno {

bool Pedir(TComCapvis& com)
{
    return Decir(com, "@PEDIR");
}

bool Avisos(TComCapvis& com)
{
    return Decir(com, "@AVISOS");
}

void Dejar(TComCapvis& com)
{
    Decir(com, "@DEJAR");
    if (TTcpPort* p = Tcp(com))
        p->Cerrar();
}

TEstadoTurno Mirar(TComCapvis& com, int esperaMs, const QString& servidor)
{
    TEstadoTurno e;
    auto* p = dynamic_cast<TTcpPort*>(com.Puerto());
    if (!p) {
        e.conectado = false;
        return e;
    }
    e.conectado = p->LeerLineasRelay(esperaMs);
    AplicarLineasTurno(p->TomarLineasRelay(), com.Foto().PCLocal, e);
    if (e.fin)
        com.Ceder(e.titular.value_or(QString()));
    if (e.llamado && !e.fuera && e.conectado) {
        try {
            com.TomarLlamada(servidor);
            e.tomado = true;
        } catch (const ENoHaySAD& f) {
            e.claveFallo = f.Clave;
        }
        // What came meanwhile (the count of those waiting) is news too.
        AplicarLineasTurno(p->TomarLineasRelay(), com.Foto().PCLocal, e);
        e.llamado = true;
    }
    return e;
}

} // namespace turno

} // namespace qv

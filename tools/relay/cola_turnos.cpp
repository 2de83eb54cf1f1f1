#include "cola_turnos.h"

#include <algorithm>

namespace qv {

namespace {

qint64 Segundos(qint64 ms)
{
    return (std::max<qint64>(0, ms) + 999) / 1000;
}

} // namespace

bool EsLineaTurno(QByteArrayView linea)
{
    for (char c : linea) {
        if (c == 0x11 || c == 0x13)
            continue;
        return c == '@';
    }
    return false;
}

std::optional<TOrdenTurno> LeerOrdenTurno(QByteArrayView linea)
{
    QByteArray l;
    for (char c : linea)
        if (c != 0x11 && c != 0x13)
            l += c;
    if (l.size() > 80)
        return std::nullopt;
    const QList<QByteArray> partes = l.simplified().split(' ');
    if (partes.isEmpty())
        return std::nullopt;
    const QByteArray& orden = partes.front();
    if (orden == "@PEDIR" && partes.size() <= 2) {
        TOrdenTurno o{TOrdenTurno::TTipo::Pedir, {}};
        if (partes.size() == 2)
            o.nombre = QString::fromLatin1(partes[1]);
        return o;
    }
    if (partes.size() != 1)
        return std::nullopt;
    if (orden == "@DEJAR")
        return TOrdenTurno{TOrdenTurno::TTipo::Dejar, {}};
    if (orden == "@AVISOS")
        return TOrdenTurno{TOrdenTurno::TTipo::Avisos, {}};
    return std::nullopt;
}

bool TColaTurnos::Pedir(const void* clave, const QString& equipo, const QString& nombre, qint64 ahora)
{
    for (const TPlaza& p : plazas_)
        if (p.clave == clave || p.equipo == equipo)
            return false;
    plazas_.push_back({clave, equipo, nombre, ahora});
    return true;
}

bool TColaTurnos::Dejar(const void* clave)
{
    const auto it = std::find_if(plazas_.begin(), plazas_.end(), [clave](const TPlaza& p) { return p.clave == clave; });
    if (it == plazas_.end())
        return false;
    plazas_.erase(it);
    return true;
}

int TColaTurnos::Lugar(const void* clave) const
{
    for (std::size_t i = 0; i < plazas_.size(); ++i)
        if (plazas_[i].clave == clave)
            return static_cast<int>(i) + 1;
    return 0;
}

bool TColaTurnos::Tiene(const QString& equipo) const
{
    return std::any_of(plazas_.begin(), plazas_.end(), [&](const TPlaza& p) { return p.equipo == equipo; });
}

std::optional<TColaTurnos::TPlaza> TColaTurnos::Sacar()
{
    if (plazas_.empty())
        return std::nullopt;
    TPlaza p = plazas_.front();
    plazas_.pop_front();
    return p;
}

void TColaTurnos::TurnoTerminado(qint64 duracionMs)
{
    sumaTurnos_ += std::max<qint64>(0, duracionMs);
    ++numTurnos_;
}

std::optional<qint64> TColaTurnos::Media(qint64 tope) const
{
    if (numTurnos_ == 0)
        return std::nullopt;
    const qint64 m = sumaTurnos_ / numTurnos_;
    return tope > 0 ? std::min(m, tope) : m;
}

std::optional<qint64> TColaTurnos::Espera(int lugar, qint64 retenidoMs, qint64 tope) const
{
    const auto m = Media(tope);
    if (!m || lugar < 1)
        return std::nullopt;
    return std::max<qint64>(0, *m - retenidoMs) + (lugar - 1) * *m;
}

QByteArray LineaTurno(int lugar, int esperan, std::optional<qint64> esperaMs)
{
    return "@TURNO " + QByteArray::number(lugar) + " " + QByteArray::number(esperan) + " " +
           (esperaMs ? QByteArray::number(Segundos(*esperaMs)) : QByteArray("-")) + "\n";
}

QByteArray LineaAula(const QString& titular, qint64 retenidoMs, std::optional<qint64> mediaMs,
                     const TColaTurnos& cola, qint64 ahora)
{
    QByteArray r = "QVSAD TURNOS " + (titular.isEmpty() ? QByteArray("-") : titular.toLatin1()) + " " +
                   QByteArray::number(titular.isEmpty() ? 0 : Segundos(retenidoMs)) + " " +
                   (mediaMs ? QByteArray::number(Segundos(*mediaMs)) : QByteArray("-"));
    for (const auto& p : cola.Plazas())
        r += " " + p.nombre.toLatin1() + ":" + QByteArray::number(Segundos(ahora - p.desde));
    return r;
}

} // namespace qv

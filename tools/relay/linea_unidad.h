#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <memory>

namespace qv {

class TInteraccion;
class TReloj;
class TSeriePort;

// The relay's side of the unit's line: whole commands go out, bytes come back
// whenever the unit sends them.
class TLineaUnidad : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~TLineaUnidad() override = default;

    // True when the unit can be talked to now (the line opens, or is found, on demand).
    virtual bool Disponible() = 0;
    // Sends one command; false when the line failed (it is searched again next time).
    virtual bool Enviar(const QByteArray& comando) = 0;

Q_SIGNALS:
    void Llegada(const QByteArray& datos);
    // The line to the unit broke (it is looked for again on the next command).
    void Perdida();
};

// The unit on a serial line, found by the program's own unit search over a list of
// device names (a single name when the operator gives one).
class TLineaSerie : public TLineaUnidad {
    Q_OBJECT
public:
    TLineaSerie(QStringList puertos, TInteraccion& interaccion, TReloj& reloj, QObject* padre = nullptr);
    ~TLineaSerie() override;

    bool Disponible() override;
    bool Enviar(const QByteArray& comando) override;
    // Device the unit answered on, empty while none.
    QString Dispositivo() const;
    QString Version() const;

private:
    void Leer();
    void Perder();

    std::unique_ptr<TSeriePort> Puerto;
    bool Escuchando = false;
};

} // namespace qv

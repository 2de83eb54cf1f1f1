#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <vector>

class QSerialPort;

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
    // Whether the line is open now: commands can go out without a search.
    virtual bool Abierta() const = 0;
    // Sends one command; false when the line is not open or failed (it is searched
    // again next time).
    virtual bool Enviar(const QByteArray& comando) = 0;
    // Before a search: what the unit's lines still send (the rest of an answer nobody
    // waits for any more, after a restart or a line given up) is thrown away, so that
    // the search does not take it for a foreign device. False when there is nothing
    // to listen to (the search may run at once); otherwise Callada comes once, when
    // every line has been quiet for a moment or the bound has run out.
    virtual bool Acallar() { return false; }
    // Gives the line up without a word to anybody: the next Disponible searches again.
    virtual void Soltar() {}

Q_SIGNALS:
    void Llegada(const QByteArray& datos);
    // The line to the unit broke (it is looked for again on the next command).
    void Perdida();
    // The lines listened to by Acallar have fallen quiet.
    void Callada();
};

// The unit on a serial line, found by the program's own unit search over a list of
// device names (a single name when the operator gives one).
class TLineaSerie : public TLineaUnidad {
    Q_OBJECT
public:
    // A line is quiet after this long without a byte.
    static constexpr int QuietoMs = 300;
    // Longest a search waits for talking lines: the longest answer of the unit (a
    // full read-back) takes about 35 s at 115200 baud.
    static constexpr int MaxAcallarMs = 40000;

    TLineaSerie(QStringList puertos, TInteraccion& interaccion, TReloj& reloj, QObject* padre = nullptr);
    ~TLineaSerie() override;

    bool Disponible() override;
    bool Abierta() const override;
    bool Enviar(const QByteArray& comando) override;
    bool Acallar() override;
    void Soltar() override;
    // Device the unit answered on, empty while none.
    QString Dispositivo() const;
    QString Version() const;

private:
    void Leer();
    void Perder();
    void Cerrar();
    void Vigilar();
    void DejarDeEscuchar();

    std::unique_ptr<TSeriePort> Puerto;
    QStringList Puertos;
    bool Escuchando = false;
    // The lines listened to before a search, and since when each byte came.
    std::vector<std::unique_ptr<QSerialPort>> Escuchadas;
    QTimer Vigilancia;
    QElapsedTimer Desde;
    QElapsedTimer UltimoByte;
};

} // namespace qv

#pragma once

#include "link/com.h"
#include "reloj_falso.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QSemaphore>
#include <QThread>
#include <deque>
#include <functional>
#include <map>

namespace qv::test {

// A scripted port: records what is sent, hands out queued chunks one per receive,
// and lets a test answer each sent text. Every receive costs 1 ms of virtual time,
// as a real poll of the line does.
class TPuertoGuion : public TCOM {
public:
    explicit TPuertoGuion(TRelojFalso& reloj, bool abierto = true) : Reloj(reloj), abierto(abierto) {}

    TRelojFalso& Reloj;
    bool abierto;
    bool configurarAbre = true;   // serial behaviour: the search leaves the port open
    bool fallarConfigurar = false;
    bool fallarAbrir = false;
    bool fallarEnviar = false;
    bool fallarRecibir = false;   // the line has gone under an open port
    bool cortarCaptura = false;   // a capture command goes out slowly, cut by a cancel
    QSemaphore enviando;          // released as such a command starts going out
    int configuraciones = 0;
    int recepciones = 0;
    QString host;
    QList<QByteArray> enviados;
    std::deque<QByteArray> entrada;
    std::function<void(const QByteArray&)> responder;

    void Abrir() override
    {
        if (fallarAbrir)
            throw EComPort(QStringLiteral("Connect failed: refused"));
        abierto = true;
    }
    void Cerrar() override { abierto = false; }
    void Configurar(const QString& h) override
    {
        ++configuraciones;
        host = h;
        if (fallarConfigurar)
            throw EEntradaSalida(QStringLiteral("Error al configurar el puerto"));
        if (configurarAbre)
            abierto = true;
    }
    void Enviar(const QByteArray& t) override
    {
        if (!abierto || fallarEnviar)
            throw EComPort(QStringLiteral("Operation failed: closed"));
        if (cortarCaptura && t.startsWith('7')) {
            // On its way until the cancel flag is set (for at most 5 s), then stopped
            // between pieces as the serial port does.
            enviando.release();
            QDeadlineTimer limite(5000);
            while (!Interrumpido() && !limite.hasExpired())
                QThread::msleep(1);
            if (Interrumpido()) {
                enviados << t.left(t.size() / 2) + "#";
                throw EInterrumpido();
            }
        }
        enviados << t;
        if (responder)
            responder(t);
    }
    void Recibir(QByteArray& t) override
    {
        ++recepciones;
        Reloj.ahora += 1;
        t.clear();
        if (!abierto || fallarRecibir)
            throw EComPort(QStringLiteral("Operation aborted: closed"));
        if (!entrada.empty()) {
            t = entrada.front();
            entrada.pop_front();
        }
        // The relay's own lines, as the TCP transport reports them.
        if (lineasRelay && t == "+") {
            t.clear();
            throw EPreparando(QStringLiteral("Operation aborted: the unit is getting ready"));
        }
        if (lineasRelay && t == "%") {
            t.clear();
            throw ESinUnidad(QStringLiteral("Operation aborted: no unit behind the relay"));
        }
    }
    bool lineasRelay = false;
    bool Conectado() override { return abierto; }
    // What has arrived: the chunks queued before the first empty receive.
    void Descartar() override
    {
        ++descartes;
        while (abierto && !entrada.empty() && !entrada.front().isEmpty()) {
            descartados += entrada.front();
            entrada.pop_front();
        }
    }
    int descartes = 0;
    QByteArray descartados;

    // Queues a reply, cut into pieces of `trozo` bytes (0: whole).
    void Encolar(const QByteArray& r, int trozo = 0)
    {
        if (trozo <= 0) {
            entrada.push_back(r);
            return;
        }
        for (qsizetype i = 0; i < r.size(); i += trozo)
            entrada.push_back(r.mid(i, trozo));
    }

    // Answers each command found in the table (exact text) with its reply.
    void Responder(std::map<QByteArray, QByteArray> tabla, int trozo = 0)
    {
        responder = [this, tabla = std::move(tabla), trozo](const QByteArray& t) {
            auto it = tabla.find(t);
            if (it != tabla.end())
                Encolar(it->second, trozo);
        };
    }
};

} // namespace qv::test

#pragma once

// A port for the reply parsers' fuzzers: it hands out the input in pieces, one per
// receive, advancing the virtual clock, and may end the way transports fail.

#include "link/com.h"
#include "link/reloj_falso.h"

#include <QByteArray>

namespace qv::fuzz {

class TPuertoTrozos : public TCOM {
public:
    // fallos: bit 0 the port throws once the input is spent, bit 1 it says the unit is
    // gone, bit 2 it reports itself closed.
    TPuertoTrozos(test::TRelojFalso& reloj, QByteArray datos, qsizetype trozo, unsigned fallos)
        : reloj_(reloj), datos_(std::move(datos)), trozo_(trozo < 1 ? 1 : trozo), fallos_(fallos)
    {
    }
    void Abrir() override {}
    void Cerrar() override {}
    void Configurar(const QString&) override {}
    void Enviar(const QByteArray& t) override { enviados += t; }
    void Recibir(QByteArray& t) override
    {
        reloj_.ahora += 1;
        ++recepciones;
        t.clear();
        if (pos_ >= datos_.size()) {
            if (fallos_ & 1)
                throw EComPort(QStringLiteral("closed"));
            if (fallos_ & 2)
                throw ESinUnidad(QStringLiteral("no unit"));
            return;
        }
        t = datos_.mid(pos_, trozo_);
        pos_ += trozo_;
    }
    bool Conectado() override { return !((fallos_ & 4) && pos_ >= datos_.size()); }
    bool Agotado() const { return pos_ >= datos_.size(); }

    QByteArray enviados;
    qint64 recepciones = 0;

private:
    test::TRelojFalso& reloj_;
    QByteArray datos_;
    qsizetype pos_ = 0;
    qsizetype trozo_;
    unsigned fallos_;
};

} // namespace qv::fuzz

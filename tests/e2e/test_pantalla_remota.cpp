// The station's screen served by the real x11vnc through the shipped MirrorServer, on
// a display of its own, met by a small RFB client: nobody gets in without the
// password, and only the control password may click.
#include "common/esperar.h"
#include "e2e/procesos.h"
#include "link/ajustes_estacion.h"
#include "link/vnc.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <memory>

using namespace qv;
using namespace qv::test;

namespace {

constexpr int kEspera = 30000; // a loaded machine starts x11vnc slowly

// The client side of RFB 3.8, as far as these tests need it.
class TClienteRfb {
public:
    explicit TClienteRfb(quint16 puerto)
    {
        s_.connectToHost(QHostAddress::LocalHost, puerto);
        conectado_ = s_.waitForConnected(kEspera);
    }

    // The security types the server offers (empty when it refuses at once).
    QByteArray Tipos()
    {
        if (!conectado_ || Leer(12).left(4) != "RFB ")
            return {};
        s_.write("RFB 003.008\n");
        const QByteArray n = Leer(1);
        return n.isEmpty() ? QByteArray() : Leer(quint8(n[0]));
    }
    // Chooses a type; for VNC authentication answers the challenge with `password`.
    // Answers the security result: 0 in, anything else refused (-1: connection closed).
    qint64 Entrar(quint8 tipo, const QString& password = {})
    {
        s_.write(QByteArray(1, char(tipo)));
        if (tipo == 2) {
            const QByteArray reto = Leer(16);
            if (reto.size() != 16)
                return -1;
            s_.write(TClavesPantalla::Respuesta(password, reto));
        }
        const QByteArray r = Leer(4);
        return r.size() == 4 ? qFromBigEndian<quint32>(r.constData()) : -1;
    }
    // Shared session, raw pixels: the size of the desktop, then its first frame.
    bool PrimerFrame(int& ancho, int& alto)
    {
        s_.write(QByteArray(1, '\1'));
        const QByteArray init = Leer(24);
        if (init.size() != 24)
            return false;
        ancho = qFromBigEndian<quint16>(init.constData());
        alto = qFromBigEndian<quint16>(init.constData() + 2);
        bytesPixel_ = quint8(init[4]) / 8;
        Leer(qFromBigEndian<quint32>(init.constData() + 20)); // desktop name
        QByteArray encodings("\2\0\0\1\0\0\0\0", 8);             // raw only
        s_.write(encodings);
        return Frame(0, 0, quint16(ancho), quint16(alto)) == 1;
    }
    // A click (press and release of the left button) at x, y.
    void Clic(quint16 x, quint16 y)
    {
        for (char botones : {'\1', '\0'}) {
            QByteArray m(6, '\0');
            m[0] = 5;
            m[1] = botones;
            qToBigEndian<quint16>(x, m.data() + 2);
            qToBigEndian<quint16>(y, m.data() + 4);
            s_.write(m);
        }
    }
    // A full update of one pixel: the server has read every message sent before it.
    bool IdaYVuelta() { return Frame(0, 0, 1, 1) >= 1; }

private:
    QByteArray Leer(qint64 n)
    {
        QByteArray r;
        while (r.size() < n) {
            if (s_.bytesAvailable() == 0 && !s_.waitForReadyRead(kEspera))
                break;
            r += s_.read(n - r.size());
        }
        return r;
    }
    // Asks for a region and reads the whole update; answers its rectangle count.
    int Frame(quint16 x, quint16 y, quint16 w, quint16 h)
    {
        QByteArray m(10, '\0');
        m[0] = 3;
        qToBigEndian<quint16>(x, m.data() + 2);
        qToBigEndian<quint16>(y, m.data() + 4);
        qToBigEndian<quint16>(w, m.data() + 6);
        qToBigEndian<quint16>(h, m.data() + 8);
        s_.write(m);
        const QByteArray cab = Leer(4);
        if (cab.size() != 4 || cab[0] != 0)
            return -1;
        const int rects = qFromBigEndian<quint16>(cab.constData() + 2);
        for (int i = 0; i < rects; ++i) {
            const QByteArray r = Leer(12);
            if (r.size() != 12 || qFromBigEndian<qint32>(r.constData() + 8) != 0)
                return -1;
            const qint64 datos = qint64(qFromBigEndian<quint16>(r.constData() + 4))
                                 * qFromBigEndian<quint16>(r.constData() + 6) * bytesPixel_;
            if (Leer(datos).size() != datos)
                return -1;
        }
        return rects;
    }

    QTcpSocket s_;
    bool conectado_ = false;
    int bytesPixel_ = 4;
};

// A virtual display of its own, and a watcher of the clicks that reach it.
class TPantalla {
public:
    TPantalla() : xvfb_(QStringLiteral("Xvfb")) {}
    ~TPantalla()
    {
        if (x_)
            xcb_disconnect(x_);
        xvfb_.Terminar();
    }
    bool Arrancar()
    {
        xvfb_.p.setProgram(QStandardPaths::findExecutable(QStringLiteral("Xvfb")));
        xvfb_.p.setArguments({"-displayfd", "1", "-screen", "0", "320x240x24", "-nolisten", "tcp"});
        xvfb_.p.start();
        if (!xvfb_.p.waitForStarted(kEspera))
            return false;
        QByteArray n;
        while (!n.contains('\n') && xvfb_.p.waitForReadyRead(kEspera))
            n += xvfb_.p.readAllStandardOutput();
        Display = QStringLiteral(":") + QString::fromLatin1(n.trimmed());
        x_ = xcb_connect(Display.toLatin1().constData(), nullptr);
        if (n.trimmed().isEmpty() || xcb_connection_has_error(x_))
            return false;
        const xcb_window_t raiz = xcb_setup_roots_iterator(xcb_get_setup(x_)).data->root;
        const uint32_t mascara = XCB_EVENT_MASK_BUTTON_PRESS;
        xcb_change_window_attributes(x_, raiz, XCB_CW_EVENT_MASK, &mascara);
        xcb_flush(x_);
        return true;
    }
    // Waits for the press at x, y; answers false when another press came first.
    bool Pulsado(int x, int y)
    {
        bool otro = false, visto = false;
        Esperar([&] {
            while (xcb_generic_event_t* e = xcb_poll_for_event(x_)) {
                if ((e->response_type & 0x7f) == XCB_BUTTON_PRESS) {
                    const auto* b = reinterpret_cast<xcb_button_press_event_t*>(e);
                    (b->root_x == x && b->root_y == y ? visto : otro) = true;
                }
                free(e);
            }
            return visto || otro;
        }, kEspera);
        return visto && !otro;
    }
    QString Display;

private:
    TProceso xvfb_;
    xcb_connection_t* x_ = nullptr;
};

// A program folder with the shipped MirrorServer, a private folder for the
// password files, and the launcher pointed at the display and a free port.
class PantallaRemota : public ::testing::Test {
protected:
    QTemporaryDir carpeta, privada, estado;
    TPantalla pantalla;
    quint16 puerto = PuertoLibre();
    std::unique_ptr<TVNC> vnc;
    int faltas = 0;

    void SetUp() override
    {
        ASSERT_FALSE(QStandardPaths::findExecutable("x11vnc").isEmpty()) << "x11vnc is not installed";
        ASSERT_TRUE(pantalla.Arrancar());
        ASSERT_TRUE(QFile::copy(QStringLiteral(QV_BIN_DIR "/MirrorServer"),
                                QDir(carpeta.path()).filePath("MirrorServer")));
        vnc = std::make_unique<TVNC>(carpeta.path(), privada.path());
        vnc->Entorno.insert("DISPLAY", pantalla.Display);
        vnc->Entorno.insert("QUORVANE_RFBPORT", QString::number(puerto));
        vnc->Entorno.insert("XDG_RUNTIME_DIR", estado.path());
        vnc->AlFaltarPassword = [this] { ++faltas; };
    }
    void TearDown() override { vnc.reset(); }

    bool Sirve()
    {
        return Esperar([&] { return TClienteRfb(puerto).Tipos().size() > 0; }, kEspera);
    }
    bool Parado()
    {
        return Esperar([&] {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, puerto);
            return !s.waitForConnected(1000);
        }, kEspera);
    }
};

TEST_F(PantallaRemota, SinPasswordNoHayServidorYConElNadieEntraSinElla)
{
    // No password set: nothing is served, and the user is told once.
    EXPECT_TRUE(vnc->SetServidor(true));
    EXPECT_TRUE(vnc->SetServidor(true));
    EXPECT_EQ(faltas, 1);
    EXPECT_FALSE(vnc->ServidorActivo());
    EXPECT_EQ(vnc->EnCurso(), 0);

    ASSERT_TRUE(vnc->Claves().Poner("vista-1", ""));
    EXPECT_TRUE(vnc->SetServidor(true));
    ASSERT_TRUE(Sirve());

    // Only VNC authentication is offered; a client asking for none is refused.
    {
        TClienteRfb c(puerto);
        EXPECT_EQ(c.Tipos(), QByteArray("\2"));
        EXPECT_NE(c.Entrar(1), 0);
    }
    {
        TClienteRfb c(puerto);
        ASSERT_FALSE(c.Tipos().isEmpty());
        EXPECT_NE(c.Entrar(2, "vista-2"), 0);
    }
    // x11vnc refuses clients for a while after a failure.
    ASSERT_TRUE(Esperar([&] {
        TClienteRfb c(puerto);
        return !c.Tipos().isEmpty() && c.Entrar(2, "vista-1") == 0;
    }, kEspera));
    TClienteRfb c(puerto);
    ASSERT_FALSE(c.Tipos().isEmpty());
    ASSERT_EQ(c.Entrar(2, "vista-1"), 0);
    int ancho = 0, alto = 0;
    ASSERT_TRUE(c.PrimerFrame(ancho, alto));
    EXPECT_EQ(ancho, 320);
    EXPECT_EQ(alto, 240);
    c.Clic(40, 30);
    ASSERT_TRUE(c.IdaYVuelta());

    // Turning it off stops the server.
    EXPECT_TRUE(vnc->SetServidor(false));
    EXPECT_TRUE(Parado());
}

TEST_F(PantallaRemota, SoloLaPasswordDeControlPulsaYSalirParaElServidor)
{
    ASSERT_TRUE(vnc->Claves().Poner("vista-1", "mando-1"));
    EXPECT_TRUE(vnc->SetServidor(true));
    ASSERT_TRUE(Sirve());

    ASSERT_TRUE(Esperar([&] {
        TClienteRfb c(puerto);
        return !c.Tipos().isEmpty() && c.Entrar(2, "vista-1") == 0;
    }, kEspera));
    TClienteRfb mira(puerto), manda(puerto);
    int ancho = 0, alto = 0;
    ASSERT_FALSE(mira.Tipos().isEmpty());
    ASSERT_EQ(mira.Entrar(2, "vista-1"), 0);
    ASSERT_TRUE(mira.PrimerFrame(ancho, alto));
    ASSERT_FALSE(manda.Tipos().isEmpty());
    ASSERT_EQ(manda.Entrar(2, "mando-1"), 0);
    ASSERT_TRUE(manda.PrimerFrame(ancho, alto));

    // The watcher's click was read before the controller's: had it reached the
    // display, its press would have come first.
    mira.Clic(100, 100);
    ASSERT_TRUE(mira.IdaYVuelta());
    manda.Clic(50, 60);
    EXPECT_TRUE(pantalla.Pulsado(50, 60));

    // Leaving (the launcher goes) stops the server it started.
    vnc.reset();
    EXPECT_TRUE(Parado());
}

} // namespace

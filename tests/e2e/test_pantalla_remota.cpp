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
    // `esperaMs` bounds every read: short while polling a server that is starting.
    explicit TClienteRfb(quint16 puerto, int esperaMs = kEspera) : espera_(esperaMs)
    {
        s_.connectToHost(QHostAddress::LocalHost, puerto);
    }

    // The security types the server offers (empty when it refuses or is not there).
    QByteArray Tipos()
    {
        if (Leer(12).left(4) != "RFB ")
            return {};
        s_.write("RFB 003.008\n");
        const QByteArray n = Leer(1);
        return n.isEmpty() ? QByteArray() : Leer(quint8(n[0]));
    }
    // Chooses a type (2: answers the challenge with `password`); the security result,
    // 0 when let in, -1 when the connection closed.
    qint64 Entrar(char tipo, const QString& password = {})
    {
        s_.write(QByteArray(1, tipo));
        if (tipo == 2)
            s_.write(TClavesPantalla::Respuesta(password, Leer(16)));
        const QByteArray r = Leer(4);
        return r.size() == 4 ? qFromBigEndian<quint32>(r.constData()) : -1;
    }
    // A shared session in raw pixels: the desktop's size, and its first frame.
    bool PrimerFrame(int& ancho, int& alto)
    {
        s_.write("\1");
        const QByteArray init = Leer(24);
        ancho = qFromBigEndian<quint16>(init.constData());
        alto = qFromBigEndian<quint16>(init.constData() + 2);
        bytesPixel_ = quint8(init[4]) / 8;
        Leer(qFromBigEndian<quint32>(init.constData() + 20)); // the desktop's name
        s_.write(QByteArray("\2\0\0\1\0\0\0\0", 8));            // raw encoding only
        return Frame(quint16(ancho), quint16(alto)) == 1;
    }
    // Press and release of the left button at x, y.
    void Clic(quint16 x, quint16 y)
    {
        for (char botones : {'\1', '\0'})
            s_.write(Mensaje(5, botones, {x, y}));
    }
    // An update of one pixel: the server has read every message sent before it.
    bool IdaYVuelta() { return Frame(1, 1) >= 1; }

private:
    static QByteArray Mensaje(char tipo, char b, std::initializer_list<quint16> campos)
    {
        QByteArray m;
        m += tipo;
        m += b;
        for (quint16 c : campos)
            m += char(c >> 8), m += char(c & 0xff);
        return m;
    }
    QByteArray Leer(qint64 n)
    {
        QByteArray r;
        while (r.size() < n && (s_.bytesAvailable() > 0 || s_.waitForReadyRead(espera_)))
            r += s_.read(n - r.size());
        return r;
    }
    // Asks for the region from the origin and reads the whole update; its rectangles.
    int Frame(quint16 w, quint16 h)
    {
        s_.write(Mensaje(3, 0, {0, 0, w, h}));
        const QByteArray cab = Leer(4);
        if (cab.size() != 4 || cab[0] != 0)
            return -1;
        const int rects = qFromBigEndian<quint16>(cab.constData() + 2);
        for (int i = 0; i < rects; ++i) {
            const QByteArray r = Leer(12);
            const qint64 datos = qint64(qFromBigEndian<quint16>(r.constData() + 4))
                                 * qFromBigEndian<quint16>(r.constData() + 6) * bytesPixel_;
            if (r.size() != 12 || qFromBigEndian<qint32>(r.constData() + 8) != 0 || Leer(datos).size() != datos)
                return -1;
        }
        return rects;
    }

    QTcpSocket s_;
    int espera_;
    int bytesPixel_ = 4;
};

// A virtual display of its own, and a watcher of the presses that reach it.
class TPantalla {
public:
    ~TPantalla()
    {
        if (x_)
            xcb_disconnect(x_);
    }
    bool Arrancar()
    {
        xvfb_.p.start("Xvfb", {"-displayfd", "1", "-screen", "0", "320x240x24", "-nolisten", "tcp"});
        QByteArray n;
        while (!n.contains('\n') && xvfb_.p.waitForReadyRead(kEspera))
            n += xvfb_.p.readAllStandardOutput();
        n = n.trimmed();
        Display = ":" + QString::fromLatin1(n);
        x_ = xcb_connect(Display.toLatin1().constData(), nullptr);
        if (n.isEmpty() || xcb_connection_has_error(x_))
            return false;
        const uint32_t mascara = XCB_EVENT_MASK_BUTTON_PRESS;
        xcb_change_window_attributes(x_, xcb_setup_roots_iterator(xcb_get_setup(x_)).data->root,
                                     XCB_CW_EVENT_MASK, &mascara);
        xcb_flush(x_);
        return true;
    }
    // Waits for the press at x, y; false when another press came first.
    bool Pulsado(int x, int y)
    {
        bool otro = false, visto = false;
        Esperar([&] {
            while (xcb_generic_event_t* e = xcb_poll_for_event(x_)) {
                const auto* b = reinterpret_cast<xcb_button_press_event_t*>(e);
                if ((e->response_type & 0x7f) == XCB_BUTTON_PRESS)
                    (b->root_x == x && b->root_y == y ? visto : otro) = true;
                free(e);
            }
            return visto || otro;
        }, kEspera);
        return visto && !otro;
    }
    QString Display;

private:
    TProceso xvfb_{"Xvfb"}; // ended with the test
    xcb_connection_t* x_ = nullptr;
};

TEST(PantallaRemota, NadieEntraSinPasswordYSoloElControlPulsa)
{
    ASSERT_FALSE(QStandardPaths::findExecutable("x11vnc").isEmpty()) << "x11vnc is not installed";
    TPantalla pantalla;
    ASSERT_TRUE(pantalla.Arrancar());
    // The shipped MirrorServer in a program folder, the password files in a private
    // folder, the server on the display and a free port.
    QTemporaryDir carpeta, privada, estado;
    ASSERT_TRUE(QFile::copy(QV_BIN_DIR "/MirrorServer", QDir(carpeta.path()).filePath("MirrorServer")));
    const quint16 puerto = PuertoLibre();
    auto vnc = std::make_unique<TVNC>(carpeta.path(), privada.path());
    vnc->Entorno.insert("DISPLAY", pantalla.Display);
    vnc->Entorno.insert("QUORVANE_RFBPORT", QString::number(puerto));
    vnc->Entorno.insert("XDG_RUNTIME_DIR", estado.path());
    const auto entra = [&](const QString& password) {
        return Esperar([&] { // x11vnc takes a while to start, and to forgive a failure
            TClienteRfb c(puerto, 3000);
            return !c.Tipos().isEmpty() && c.Entrar(2, password) == 0;
        }, kEspera);
    };
    const auto parado = [&] {
        return Esperar([&] { return TClienteRfb(puerto, 3000).Tipos().isEmpty(); }, kEspera);
    };
    int ancho = 0, alto = 0;

    // The watch password only: the whole server is view-only.
    ASSERT_TRUE(vnc->Claves().Poner("vista-1", ""));
    ASSERT_TRUE(vnc->SetServidor(true));
    ASSERT_TRUE(entra("vista-1"));
    {
        // Only VNC authentication is offered; asking for none, or a wrong password, is refused.
        TClienteRfb nada(puerto), mala(puerto);
        EXPECT_EQ(nada.Tipos(), QByteArray("\2"));
        EXPECT_NE(nada.Entrar(1), 0);
        ASSERT_FALSE(mala.Tipos().isEmpty());
        EXPECT_NE(mala.Entrar(2, "vista-2"), 0);
    }
    ASSERT_TRUE(entra("vista-1"));
    TClienteRfb mira(puerto);
    ASSERT_EQ(mira.Tipos(), QByteArray("\2"));
    ASSERT_EQ(mira.Entrar(2, "vista-1"), 0);
    ASSERT_TRUE(mira.PrimerFrame(ancho, alto));
    EXPECT_EQ(ancho, 320);
    EXPECT_EQ(alto, 240);
    mira.Clic(40, 30);
    ASSERT_TRUE(mira.IdaYVuelta());
    // Turning it off stops it.
    EXPECT_TRUE(vnc->SetServidor(false));
    EXPECT_TRUE(parado());

    // With a control password: watchers stay view-only, the controller clicks.
    ASSERT_TRUE(vnc->Claves().Poner("vista-1", "mando-1"));
    ASSERT_TRUE(vnc->SetServidor(true));
    ASSERT_TRUE(entra("vista-1"));
    TClienteRfb mira2(puerto), manda(puerto);
    ASSERT_FALSE(mira2.Tipos().isEmpty());
    ASSERT_EQ(mira2.Entrar(2, "vista-1"), 0);
    ASSERT_TRUE(mira2.PrimerFrame(ancho, alto));
    ASSERT_FALSE(manda.Tipos().isEmpty());
    ASSERT_EQ(manda.Entrar(2, "mando-1"), 0);
    ASSERT_TRUE(manda.PrimerFrame(ancho, alto));
    mira2.Clic(100, 100);
    ASSERT_TRUE(mira2.IdaYVuelta());
    manda.Clic(50, 60);
    // Both watchers' clicks were read before the controller's: had either reached the
    // display, its press would have come first.
    EXPECT_TRUE(pantalla.Pulsado(50, 60));

    // Leaving (the launcher goes) stops the server it started.
    vnc.reset();
    EXPECT_TRUE(parado());
}

} // namespace

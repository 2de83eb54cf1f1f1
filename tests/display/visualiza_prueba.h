#pragma once

// Signal windows on the stand-in main window: a set built sample by sample, windows in
// the document area, the mouse on the graph and the readouts read back by object name.

#include "common/controles.h"
#include "common/principal_prueba.h"
#include "display/senales_digitales.h"
#include "display/visualiza_senales.h"
#include "model/senales.h"
#include "plot/grf.h"

#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qv::test {

class VentanasPrueba : public ::testing::Test {
protected:
    TPrincipalPrueba principal;

    void SetUp() override
    {
        principal.ventana.resize(1000, 700);
        principal.ventana.show();
    }

    TCjtSenales& Set()
    {
        if (!principal.estado.Senales())
            principal.estado.PonerConjunto(std::make_unique<TCjtSenales>(principal.textos, principal.interaccion));
        return *principal.estado.Senales();
    }
    // An analog signal of n samples every `periodo` seconds, sample i = f(i).
    void Ana(const QString& nombre, int n, double periodo, const std::function<float(int)>& f)
    {
        auto s = std::make_unique<TSenalAna>(QStringLiteral("V"), nombre, false, nullptr, nullptr, 0, periodo,
                                             std::uint16_t(n));
        for (int i = 0; i < n; ++i)
            s->PonerMuestra(i, f(i));
        Set().AnadirAna(std::move(s));
    }
    void Dig(const QString& nombre, int n, double periodo, const std::function<int(int)>& f)
    {
        auto s = std::make_unique<TSenalDig>(nombre, false, nullptr, nullptr, 0, periodo, std::uint16_t(n));
        for (int i = 0; i < n; ++i)
            s->PonerMuestra(i, std::uint8_t(f(i)));
        Set().AnadirDig(std::move(s));
    }

    // A window in the document area as the main window opens one.
    template <class T>
    T* Abrir(int max)
    {
        auto* w = new T(principal);
        w->setWindowTitle(QStringLiteral("senales.qvn"));
        w->CargarSenales(max);
        QMdiSubWindow* s = principal.area->addSubWindow(w);
        s->resize(760, 460);
        s->show();
        w->Refrescar();
        Procesar();
        return w;
    }

    static void Procesar()
    {
        // Windows that closed themselves go away too.
        for (int i = 0; i < 4; ++i) {
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    static QString Texto(QWidget& w, const char* nombre)
    {
        auto* l = w.findChild<QLabel*>(QLatin1String(nombre));
        EXPECT_NE(l, nullptr) << nombre;
        return l ? l->text() : QString();
    }
    // The readout grid as the student reads it: row 0 the names, column 0 the rows' captions.
    static QString Celda(QWidget& w, int columna, int fila)
    {
        auto* sg = w.findChild<QTableWidget*>(QStringLiteral("SG"));
        EXPECT_NE(sg, nullptr);
        if (!sg)
            return {};
        if (fila == 0)
            return sg->horizontalHeaderItem(columna - 1) ? sg->horizontalHeaderItem(columna - 1)->text() : QString();
        if (columna == 0)
            return sg->verticalHeaderItem(fila - 1) ? sg->verticalHeaderItem(fila - 1)->text() : QString();
        const QTableWidgetItem* i = sg->item(fila - 1, columna - 1);
        return i ? i->text() : QString();
    }

    // The pixel of data X `x` on the middle row of the plot area.
    static QPoint Punto(TVentanaSenales& w, double x)
    {
        return {w.Grafica().PixelX(x), w.Grafica().AreaGrafica().center().y()};
    }
    static void Clic(TVentanaSenales& w, Qt::MouseButton b, double x)
    {
        QTest::mousePress(&w.Grafica(), b, {}, Punto(w, x));
        QTest::mouseRelease(&w.Grafica(), b, {}, Punto(w, x));
    }
    static void Tecla(TVentanaSenales& w, Qt::Key k, int veces = 1)
    {
        for (int i = 0; i < veces; ++i)
            QTest::keyClick(&w, k);
    }
    static int Ventanas(const TPrincipalPrueba& p)
    {
        int n = 0;
        for (QMdiSubWindow* s : p.area->subWindowList())
            n += s->isVisible();
        return n;
    }
};

} // namespace qv::test

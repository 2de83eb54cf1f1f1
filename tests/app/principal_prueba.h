#pragma once

#include "app/api/estado.h"
#include "app/api/ventana_hija.h"
#include "app/servicios_puesto.h"
#include "app/ventana_principal.h"
#include "common/interaccion_guion.h"
#include "lang/ui/modal.h"
#include "link/reloj.h"

#include <QAction>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qv::test {

// Modal seam for tests: records every dialog and answers through `accion`
// (default: accept).
class TModalPrueba : public TModal {
public:
    std::function<int(QDialog&)> accion;
    QStringList vistos;
    int Ejecutar(QDialog& d) override
    {
        vistos << d.objectName();
        if (accion)
            return accion(d);
        d.accept();
        return d.result();
    }
};

// Virtual time: sleeping only moves the tick on.
class TRelojPrueba : public TReloj {
public:
    qint64 ahora = 0;
    qint64 Tick() override { return ahora; }
    void Dormir(int ms) override { ahora += ms; }
};

// Station with settable answers; records the relay and launcher calls.
class TPuestoPrueba : public IServiciosPuesto {
public:
    bool hayRed = false, habilitado = false, activo = false, multipuesto = false, modeloM = true;
    QStringList llamadas;
    bool LeerHayRed() override { return hayRed; }
    bool LeerRemotoHabilitado() override { return habilitado; }
    bool LeerRemotoActivo() override { return activo; }
    bool LeerMultipuesto() override { return multipuesto; }
    bool LeerModeloM() override { return modeloM; }
    QStringList LeerPuertosSerie() override { return {}; } // no device is ever probed
    void IniciarRelay() override { llamadas << QStringLiteral("IniciarRelay"); }
    void DetenerRelay() override { llamadas << QStringLiteral("DetenerRelay"); }
    void EscucharRemoto() override { llamadas << QStringLiteral("Escuchar"); }
    void DetenerRemoto() override { llamadas << QStringLiteral("Detener"); }
    void SetServidorRemoto(bool p) override
    {
        llamadas << QStringLiteral("SetServidor:%1").arg(p ? 1 : 0);
    }
};

// A child window standing for a signal window, the data table or the configuration.
class THijaPrueba : public QWidget, public IVentanaHija {
public:
    explicit THijaPrueba(TTipoVentana tipo) : tipo_(tipo) {}
    TTipoVentana TipoVentana() const override { return tipo_; }
    void QuitarSenal(const QString& nombre) override { quitadas << nombre; }
    QStringList quitadas;

private:
    TTipoVentana tipo_;
};

// The main window with scripted seams.
class PrincipalPrueba : public ::testing::Test {
protected:
    TTextosFijos textos;
    TInteraccionGuion interaccion;
    TModalPrueba modal;
    TPuestoPrueba puesto;
    TRelojPrueba reloj;
    std::unique_ptr<TfrmPrincipal> ventana;

    // Created on demand so a test can set up the station first.
    TfrmPrincipal& Crear(bool mostrar = true)
    {
        ventana = std::make_unique<TfrmPrincipal>(textos, interaccion, modal, puesto, reloj,
                                                  QStringLiteral("."));
        if (mostrar)
            ventana->show();
        return *ventana;
    }

    QAction* Accion(const char* nombre) const
    {
        auto* a = ventana->findChild<QAction*>(QLatin1String(nombre));
        EXPECT_NE(a, nullptr) << nombre;
        return a;
    }
    bool Activo(const char* nombre) const
    {
        if (auto* m = ventana->findChild<QMenu*>(QLatin1String(nombre)))
            return m->menuAction()->isEnabled();
        QAction* a = Accion(nombre);
        return a && a->isEnabled();
    }
    bool Visible(const char* nombre) const
    {
        if (auto* m = ventana->findChild<QMenu*>(QLatin1String(nombre)))
            return m->menuAction()->isVisible();
        if (auto* a = ventana->findChild<QAction*>(QLatin1String(nombre)))
            return a->isVisible();
        auto* w = ventana->findChild<QWidget*>(QLatin1String(nombre));
        EXPECT_NE(w, nullptr) << nombre;
        return w && !w->isHidden();
    }

    THijaPrueba* NuevaHija(TTipoVentana tipo)
    {
        auto* h = new THijaPrueba(tipo);
        QMdiSubWindow* s = ventana->AreaVentanas().addSubWindow(h);
        s->show();
        ventana->AreaVentanas().setActiveSubWindow(s);
        // A real child window asks for this when it activates.
        ventana->ActualizarMenus();
        return h;
    }

    void AbrirConfiguracion() { ventana->Estado().ConfigActual = std::make_unique<TConfigES>(); }
    void AbrirConjunto(int senales)
    {
        auto& e = ventana->Estado();
        e.SenalesActuales = std::make_unique<TCjtSenales>(textos, interaccion);
        for (int i = 0; i < senales; ++i)
            e.SenalesActuales->AnadirAna(std::make_unique<TSenalAna>(
                textos, QStringLiteral("S%1").arg(i), false, nullptr, nullptr, 0, 0.001, 10));
    }
};

} // namespace qv::test

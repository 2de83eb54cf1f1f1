#pragma once

#include "app/api/estado.h"
#include "app/api/ventana_hija.h"
#include "app/comandos_archivo.h"
#include "app/comandos_ventanas.h"
#include "link/servicios_puesto.h"
#include "app/ventana_principal.h"
#include "common/controles.h"
#include "common/interaccion_guion.h"
#include "common/modal_prueba.h"
#include "common/reloj_falso.h"

#include <QAction>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>
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

// Station with settable answers; records the relay and launcher calls.
class TPuestoPrueba : public IServiciosPuesto {
public:
    bool hayRed = false, habilitado = false, activo = false, multipuesto = false, modeloM = true;
    QStringList llamadas;
    // Settings read and the relay started or stopped, in their order.
    QStringList orden;
    bool LeerHayRed() override { return Leido("HayRed", hayRed); }
    bool LeerRemotoHabilitado() override { return Leido("Habilitado", habilitado); }
    bool LeerRemotoActivo() override { return Leido("Activo", activo); }
    bool LeerMultipuesto() override { return Leido("TipoConAula", multipuesto); }
    bool LeerModeloM() override { return Leido("Aspecto", modeloM); }
    QStringList LeerPuertosSerie() override { return {}; } // no device is ever probed
    void IniciarRelay() override
    {
        llamadas << QStringLiteral("IniciarRelay");
        orden << QStringLiteral("IniciarRelay");
    }
    void DetenerRelay() override
    {
        llamadas << QStringLiteral("DetenerRelay");
        orden << QStringLiteral("DetenerRelay");
    }
    void EscucharRemoto() override { llamadas << QStringLiteral("Escuchar"); }
    void DetenerRemoto() override { llamadas << QStringLiteral("Detener"); }
    void SetServidorRemoto(bool p) override
    {
        llamadas << QStringLiteral("SetServidor:%1").arg(p ? 1 : 0);
    }
    void VerRemoto(const QString& n) override { llamadas << QStringLiteral("Ver:") + n; }
    void ControlarRemoto(const QString& n) override { llamadas << QStringLiteral("Controlar:") + n; }
    void ConectarUsuarioRemoto(const QString& n) override { llamadas << QStringLiteral("ConectarUsuario:") + n; }
    void CortarTodoRemoto() override { llamadas << QStringLiteral("CortarTodo"); }
    void OpcionesServidorRemoto() override { llamadas << QStringLiteral("OpcionesServidor"); }
    void OpcionesVisorRemoto() override { llamadas << QStringLiteral("OpcionesVisor"); }

private:
    bool Leido(const char* clave, bool valor)
    {
        orden << QLatin1String(clave);
        return valor;
    }
};

// A child window standing for a signal window, the data table or the configuration.
// A signal window takes the representation commands; "Datos" while it shows signals.
class THijaPrueba : public QWidget, public IVentanaHija {
public:
    explicit THijaPrueba(TTipoVentana tipo) : tipo_(tipo) {}
    TTipoVentana TipoVentana() const override { return tipo_; }
    bool Admite(TComando c) const override
    {
        if (c == TComando::Datos)
            return EsVentanaSenales() && muestraSenales;
        return EsVentanaSenales();
    }
    void Ejecutar(TComando c) override { ejecutados.push_back(c); }
    void QuitarSenal(const QString& nombre) override { quitadas << nombre; }
    QStringList quitadas;
    std::vector<TComando> ejecutados;
    bool muestraSenales = true;

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
    TRelojFalso reloj;
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

    // The action of a menu item, or of a tool button by the button's own name.
    QAction* Accion(const char* nombre) const
    {
        auto* a = ventana->findChild<QAction*>(QLatin1String(nombre));
        if (!a)
            if (auto* b = ventana->findChild<QToolButton*>(QLatin1String(nombre)))
                a = b->defaultAction();
        EXPECT_NE(a, nullptr) << nombre;
        return a;
    }
    bool Activo(const char* nombre) const
    {
        if (auto* m = ventana->findChild<QMenu*>(QLatin1String(nombre)))
            return m->menuAction()->isEnabled();
        if (auto* b = ventana->findChild<QToolButton*>(QLatin1String(nombre)))
            return b->isEnabled();
        QAction* a = Accion(nombre);
        return a && a->isEnabled();
    }
    bool Visible(const char* nombre) const
    {
        if (auto* m = ventana->findChild<QMenu*>(QLatin1String(nombre)))
            return m->menuAction()->isVisible();
        if (auto* a = ventana->findChild<QAction*>(QLatin1String(nombre)))
            return a->isVisible();
        if (auto* b = ventana->findChild<QToolButton*>(QLatin1String(nombre)))
            return b->defaultAction() ? b->defaultAction()->isVisible() : !b->isHidden();
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
        return h;
    }

    void AbrirConfiguracion() { ventana->Estado().PonerConfig(std::make_unique<TConfigES>()); }
    // A set of `senales` analog signals S0, S1, ...; the windows it opened are closed
    // again, so that each test places the children it needs.
    void AbrirConjunto(int senales)
    {
        auto c = std::make_unique<TCjtSenales>(textos, interaccion);
        for (int i = 0; i < senales; ++i)
            c->AnadirAna(std::make_unique<TSenalAna>(textos, QStringLiteral("S%1").arg(i), false, nullptr, nullptr,
                                                     0, 0.001, 10));
        ventana->Estado().PonerConjunto(std::move(c));
        ventana->ComandosVentanas().CerrarVentanas();
    }
};

} // namespace qv::test

#pragma once

// The classroom dialogs on the stand-in main window, with a station whose settings are
// a real "Quorvane.ini" in a temporary folder and whose remote-desktop requests are
// recorded.

#include "common/controles.h"
#include "common/principal_prueba.h"
#include "link/ajustes_estacion.h"
#include "link/servicios_puesto.h"
#include "net/contexto_red.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qv::test {

// Station: settings from the file, launcher requests recorded as "Name:argument".
class TPuestoFichero : public IServiciosPuesto {
public:
    explicit TPuestoFichero(const TAjustesEstacion& a) : ajustes(a) {}
    const TAjustesEstacion& ajustes;
    QStringList llamadas;
    bool LeerHayRed() override { return ajustes.HayRed(); }
    bool LeerRemotoHabilitado() override { return ajustes.RemotoHabilitado(); }
    bool LeerRemotoActivo() override { return ajustes.RemotoActivo(); }
    bool LeerMultipuesto() override { return ajustes.Multipuesto(); }
    bool LeerModeloM() override { return ajustes.ModeloM(); }
    QStringList LeerPuertosSerie() override { return {}; }
    void IniciarRelay() override { llamadas << QStringLiteral("IniciarRelay"); }
    void DetenerRelay() override { llamadas << QStringLiteral("DetenerRelay"); }
    void EscucharRemoto() override { llamadas << QStringLiteral("Escuchar"); }
    void DetenerRemoto() override { llamadas << QStringLiteral("Detener"); }
    void SetServidorRemoto(bool p) override { llamadas << QStringLiteral("SetServidor:%1").arg(p ? 1 : 0); }
    void VerRemoto(const QString& n) override { llamadas << QStringLiteral("Ver:") + n; }
    void ControlarRemoto(const QString& n) override { llamadas << QStringLiteral("Controlar:") + n; }
    void ConectarUsuarioRemoto(const QString& n) override { llamadas << QStringLiteral("ConectarUsuario:") + n; }
    void CortarTodoRemoto() override { llamadas << QStringLiteral("CortarTodo"); }
    void OpcionesServidorRemoto() override { llamadas << QStringLiteral("OpcionesServidor"); }
    void OpcionesVisorRemoto() override { llamadas << QStringLiteral("OpcionesVisor"); }
};

// A classroom dialog's world: a settings file of its own, the stand-ins above.
class Red : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TAjustesEstacion ajustes{dir.path()};
    TPrincipalPrueba principal;
    TTextos& textos = principal.textos;
    TInteraccionGuion& interaccion = principal.interaccion;
    TModalPrueba& modal = principal.modal;
    TPuestoFichero puesto{ajustes};
    TContextoRed red{principal, puesto, ajustes};

    QString Clave(const char* seccion, const char* clave)
    {
        return ajustes.Leer(QLatin1String(seccion), QLatin1String(clave), QStringLiteral("<none>"));
    }
    // Texts of the messages shown, as "T<key>".
    QStringList Mensajes() const { return interaccion.Textos(); }
};

} // namespace qv::test

namespace qv::test {

// The control of that name and kind; fails the test when missing.
template <class T>
T* Hijo(QObject& raiz, const char* nombre)
{
    T* c = raiz.findChild<T*>(QLatin1String(nombre));
    EXPECT_NE(c, nullptr) << nombre;
    return c;
}

} // namespace qv::test

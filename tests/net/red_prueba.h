#pragma once

// The classroom dialogs without the real main window: a stand-in main window holding
// the program state, a station whose settings are a real "Quorvane.ini" in a temporary
// folder and whose remote-desktop requests are recorded, and a modal seam that shows
// each dialog and hands it to the handler queued for its object name.

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "common/interaccion_guion.h"
#include "lang/ui/modal.h"
#include "link/ajustes_estacion.h"
#include "link/reloj.h"
#include "link/servicios_puesto.h"
#include "net/contexto_red.h"

#include <QDialog>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qv::test {

// Shows the dialog, runs the handler queued for its name (else rejects it).
class TModalRed : public TModal {
public:
    using TManejador = std::function<void(QDialog&)>;
    QStringList vistos;
    void Cuando(const QString& nombre, TManejador m) { porNombre_[nombre].push_back(std::move(m)); }
    int Ejecutar(QDialog& d) override
    {
        vistos << d.objectName();
        d.setResult(0);
        d.show();
        auto it = porNombre_.find(d.objectName());
        if (it != porNombre_.end() && !it->second.empty()) {
            TManejador m = std::move(it->second.front());
            it->second.pop_front();
            m(d);
        }
        if (d.isVisible())
            d.reject();
        return d.result();
    }

private:
    std::map<QString, std::deque<TManejador>> porNombre_;
};

class TRelojVirtual : public TReloj {
public:
    qint64 ahora = 0;
    qint64 Tick() override { return ahora; }
    void Dormir(int ms) override { ahora += ms; }
};

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

// The main window as the dialogs see it.
class TPrincipalRed : public IPrincipal {
public:
    TPrincipalRed(TTextos& textos, TInteraccion& interaccion, TModal& modal, TReloj& reloj, const QString& carpeta)
        : contexto_{{textos, interaccion, modal, nullptr}, reloj, dialogos_, carpeta}
    {
    }
    TEstadoPrograma estado;
    QWidget ventana;
    QMdiArea area;
    TEstadoPrograma& Estado() override { return estado; }
    const TContextoPrograma& Contexto() const override { return contexto_; }
    QWidget& Ventana() override { return ventana; }
    QMdiArea& AreaVentanas() override { return area; }
    IVentanaHija* HijaActiva() const override { return nullptr; }
    void AbrirVentanaAnalogica(const QString&) override {}
    void AbrirVentanaDigital(const QString&) override {}
    void CerrarVentanas() override {}
    void CerrarVentanaActiva() override {}
    void QuitarSenalesDeVentanas(const QStringList&) override {}
    void RenombrarSenalEnVentanas(const QString&, const QString&) override {}
    void CerrarClick() override {}
    void GuardarArchivoClick() override {}
    bool GetHAyDatos() override { return false; }
    void FiltrarFFT(TSenalAna&, int, double, double, double) override {}
    int NuevoNumeroVentana() override { return 1; }
    int ContadorVentanas() const override { return 0; }
    int MaxSenalesAna() const override { return 8; }
    int MaxSenalesDig() const override { return 16; }
    bool DetenerRecordatorio() override { return false; }
    void RestaurarRecordatorio(bool) override {}
    void MostrarEstado(const QString&) override {}

private:
    TDialogosArchivoNulos dialogos_;
    TContextoPrograma contexto_;
};

// A classroom dialog's world: a settings file of its own, the stand-ins above.
class Red : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TAjustesEstacion ajustes{dir.path()};
    TTextosFijos textos;
    TInteraccionGuion interaccion;
    TModalRed modal;
    TRelojVirtual reloj;
    TPuestoFichero puesto{ajustes};
    TPrincipalRed principal{textos, interaccion, modal, reloj, dir.path()};
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

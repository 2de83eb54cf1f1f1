#pragma once

// Fixture of the channel dialogs' tests: a main window stand-in with scripted seams
// (messages, modal runs keyed by dialog object name, file boxes) and helpers that act
// on a dialog's controls by object name, typing through real key events.

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "common/interaccion_guion.h"
#include "lang/ui/modal.h"
#include "model/generadores.h"
#include "link/reloj.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
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

// Modal runs keyed by the dialog's object name: each run shows the dialog (so its
// texts are applied), takes the next action queued for that name, and answers the
// dialog's result. A run without an action is cancelled.
class TModalCanales : public TModal {
public:
    using Accion = std::function<void(QDialog&)>;
    std::map<QString, std::deque<Accion>> acciones;
    QStringList vistos;

    void Al(const QString& nombre, Accion a) { acciones[nombre].push_back(std::move(a)); }

    int Ejecutar(QDialog& d) override
    {
        vistos << d.objectName();
        d.setResult(0);
        d.show();
        QApplication::setActiveWindow(&d);
        auto& cola = acciones[d.objectName()];
        if (!cola.empty()) {
            Accion a = std::move(cola.front());
            cola.pop_front();
            a(d);
        }
        if (d.isVisible())
            d.reject(); // a script that left it open: never hang
        return d.result();
    }
};

// File boxes answering from queues; each call records its filter.
class TDialogosGuion : public TDialogosArchivo {
public:
    std::deque<QString> abrir, guardar;
    QStringList filtros;
    QString AbrirFichero(const QString& filtro, const QString&, const QString&) override
    {
        return Siguiente(abrir, filtro);
    }
    QString GuardarFichero(const QString& filtro, const QString&, const QString&, const QString&) override
    {
        return Siguiente(guardar, filtro);
    }

private:
    QString Siguiente(std::deque<QString>& cola, const QString& filtro)
    {
        filtros << filtro;
        if (cola.empty())
            return {};
        QString r = cola.front();
        cola.pop_front();
        return r;
    }
};

class TRelojQuieto : public TReloj {
public:
    qint64 Tick() override { return 0; }
    void Dormir(int) override {}
};

// The main window as the channel dialogs see it.
class TPrincipalCanales : public IPrincipal {
public:
    TPrincipalCanales(TTextos& t, TInteraccion& i, TModal& m, TDialogosArchivo& d, const QString& carpeta)
        : contexto_{{t, i, m, nullptr}, reloj_, d, carpeta}
    {
    }
    TEstadoPrograma& Estado() override { return estado_; }
    const TContextoPrograma& Contexto() const override { return contexto_; }
    QWidget& Ventana() override { return ventana_; }
    QMdiArea& AreaVentanas() override { return area_; }
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
    TRelojQuieto reloj_;
    TContextoPrograma contexto_;
    TEstadoPrograma estado_;
    QWidget ventana_;
    QMdiArea area_;
};

template <class T = QWidget>
T* Control(QWidget& d, const char* nombre)
{
    T* w = d.findChild<T*>(QLatin1String(nombre));
    EXPECT_NE(w, nullptr) << nombre;
    return w;
}

// Types `texto` into the box key by key, as a person would: the box's filter decides
// what stays. The box's old text is removed first.
inline void Teclear(QWidget& d, const char* nombre, const QString& texto)
{
    auto* e = Control<QLineEdit>(d, nombre);
    if (!e)
        return;
    e->setFocus();
    e->selectAll();
    QKeyEvent borrar(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(e, &borrar);
    for (QChar c : texto) {
        QKeyEvent k(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &k);
    }
}

// One of a generator's own numbers by its field name.
inline float Parametro(const TGenerador& g, const char* nombre)
{
    for (const TParametroGenerador& p : g.Parametros())
        if (QLatin1String(p.nombre) == QLatin1String(nombre))
            return p.valor;
    ADD_FAILURE() << "no parameter " << nombre;
    return 0;
}

inline QString Texto(QWidget& d, const char* nombre)
{
    auto* e = Control<QLineEdit>(d, nombre);
    return e ? e->text() : QString();
}

inline void Pulsar(QWidget& d, const char* nombre)
{
    auto* b = Control<QAbstractButton>(d, nombre);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isEnabled()) << nombre;
    b->click();
}

inline bool Habilitado(QWidget& d, const char* nombre)
{
    auto* w = Control<QWidget>(d, nombre);
    return w && w->isEnabled();
}

// Texts, messages, modal runs and files of one test.
class CanalesPrueba : public ::testing::Test {
protected:
    TTextosFijos textos;
    TInteraccionGuion interaccion;
    TModalCanales modal;
    TDialogosGuion dialogos;
    QTemporaryDir dir;
    TPrincipalCanales principal{textos, interaccion, modal, dialogos, dir.path()};
    TConfigES config;

    // Texts of the messages shown, in order.
    QStringList Mensajes() const { return interaccion.Textos(); }
    static QString T(int clave) { return QStringLiteral("T%1").arg(clave); }

    QString Ruta(const QString& nombre) const { return dir.filePath(nombre); }
    QString Fichero(const QString& nombre, const QByteArray& datos) const
    {
        QFile f(Ruta(nombre));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(datos);
        return Ruta(nombre);
    }
    QByteArray Leer(const QString& ruta) const
    {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace qv::test

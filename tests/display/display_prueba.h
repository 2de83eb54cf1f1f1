#pragma once

// Dialogs and child windows of the display folder driven without the main window:
// a stand-in main window (IPrincipal) with its own document area, and a modal seam
// that runs each dialog by its object name.

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "app/api/ventana_hija.h"
#include "common/interaccion_guion.h"
#include "lang/ui/modal.h"
#include "link/reloj.h"
#include "model/senales.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qv::test {

// Runs every dialog shown, acts on it by its object name (nothing scripted: it is
// rejected), and answers its result. Never waits on a person or a clock.
class TModalNombres : public TModal {
public:
    std::map<QString, std::function<void(QDialog&)>> acciones;
    QStringList vistos;

    int Ejecutar(QDialog& d) override
    {
        vistos << d.objectName();
        d.setResult(0);
        d.show();
        if (auto it = acciones.find(d.objectName()); it != acciones.end())
            it->second(d);
        if (d.isVisible())
            d.done(QDialog::Rejected); // a script that did not close it: never hang
        return d.result();
    }
};

template <class W>
W& Control(QWidget& d, const char* nombre)
{
    auto* w = d.findChild<W*>(QLatin1String(nombre));
    if (!w)
        throw std::runtime_error(std::string("control missing: ") + nombre);
    return *w;
}

inline void Pulsar(QWidget& d, const char* nombre)
{
    auto& b = Control<QPushButton>(d, nombre);
    ASSERT_TRUE(b.isEnabled()) << nombre;
    b.click();
}

inline void Escribir(QWidget& d, const char* nombre, const QString& texto)
{
    auto& e = Control<QLineEdit>(d, nombre);
    e.setText(texto);
}

inline QStringList Elementos(const QListWidget& l)
{
    QStringList r;
    for (int i = 0; i < l.count(); ++i)
        r << l.item(i)->text();
    return r;
}

// Selects exactly these names of a list box.
inline void Seleccionar(QListWidget& l, const QStringList& nombres)
{
    l.clearSelection();
    for (int i = 0; i < l.count(); ++i)
        l.item(i)->setSelected(nombres.contains(l.item(i)->text()));
}

class TRelojFijo : public TReloj {
public:
    qint64 Tick() override { return 0; }
    void Dormir(int) override {}
};

// File dialogs answered from a queue; an empty queue is a cancelled dialog.
class TDialogosCola : public TDialogosArchivo {
public:
    std::deque<QString> guardar;
    QStringList titulos;
    QString AbrirFichero(const QString&, const QString&, const QString&) override { return {}; }
    QString GuardarFichero(const QString&, const QString& titulo, const QString&, const QString&) override
    {
        titulos << titulo;
        if (guardar.empty())
            return {};
        QString r = guardar.front();
        guardar.pop_front();
        return r;
    }
};

// A child window holding signal names, standing for the signal windows.
class THijaNombres : public QWidget, public IVentanaHija {
public:
    TTipoVentana TipoVentana() const override { return TTipoVentana::Analogica; }
    void QuitarSenal(const QString& n) override { nombres.removeAll(n); }
    void RenombrarSenal(const QString& a, const QString& n) override
    {
        for (QString& s : nombres)
            if (s == a)
                s = n;
    }
    QStringList nombres;
};

// The main window as dialogs see it: a state, a context and a document area.
class TPrincipalPrueba : public IPrincipal {
public:
    TTextosFijos textos;
    TInteraccionGuion interaccion;
    TModalNombres modal;
    TRelojFijo reloj;
    TDialogosCola dialogos;
    TContextoPrograma contexto{{textos, interaccion, modal, nullptr}, reloj, dialogos, QStringLiteral(".")};
    TEstadoPrograma estado;
    QWidget ventana;
    QMdiArea* area = new QMdiArea(&ventana);
    QStringList quitadas;

    TEstadoPrograma& Estado() override { return estado; }
    const TContextoPrograma& Contexto() const override { return contexto; }
    QWidget& Ventana() override { return ventana; }
    QMdiArea& AreaVentanas() override { return *area; }
    IVentanaHija* HijaActiva() const override
    {
        QMdiSubWindow* s = area->currentSubWindow();
        return s ? dynamic_cast<IVentanaHija*>(s->widget()) : nullptr;
    }
    void AbrirVentanaAnalogica(const QString&) override {}
    void AbrirVentanaDigital(const QString&) override {}
    void CerrarVentanas() override { area->closeAllSubWindows(); }
    void CerrarVentanaActiva() override {}
    void QuitarSenalesDeVentanas(const QStringList& nombres) override
    {
        quitadas << nombres;
        for (const QString& n : nombres)
            ParaCada([&](IVentanaHija& h) { h.QuitarSenal(n); });
    }
    void RenombrarSenalEnVentanas(const QString& a, const QString& n) override
    {
        ParaCada([&](IVentanaHija& h) { h.RenombrarSenal(a, n); });
    }
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

    THijaNombres* NuevaHija(const QStringList& nombres)
    {
        auto* h = new THijaNombres;
        h->nombres = nombres;
        area->addSubWindow(h)->show();
        return h;
    }

private:
    void ParaCada(const std::function<void(IVentanaHija&)>& f)
    {
        for (QMdiSubWindow* s : area->subWindowList())
            if (auto* h = dynamic_cast<IVentanaHija*>(s->widget()))
                f(*h);
    }
};

// A fixture with a set of signals in the stand-in main window.
class DisplayPrueba : public ::testing::Test {
protected:
    TPrincipalPrueba p;

    TCjtSenales& Conjunto()
    {
        if (!p.estado.SenalesActuales)
            p.estado.SenalesActuales = std::make_unique<TCjtSenales>(p.textos, p.interaccion);
        return *p.estado.SenalesActuales;
    }
    TSenalAna& Ana(const QString& nombre, double periodo, const std::vector<float>& muestras)
    {
        auto s = std::make_unique<TSenalAna>(p.textos, nombre, false, nullptr, nullptr, 1, periodo,
                                             std::uint16_t(muestras.size()));
        for (size_t i = 0; i < muestras.size(); ++i)
            s->PonerMuestra(int(i), muestras[i]);
        TSenalAna& r = *s;
        Conjunto().AnadirAna(std::move(s));
        return r;
    }
    TSenalDig& Dig(const QString& nombre, double periodo, const std::vector<std::uint8_t>& muestras)
    {
        auto s = std::make_unique<TSenalDig>(nombre, false, nullptr, nullptr, 2, periodo,
                                             std::uint16_t(muestras.size()));
        for (size_t i = 0; i < muestras.size(); ++i)
            s->PonerMuestra(int(i), muestras[i]);
        TSenalDig& r = *s;
        Conjunto().AnadirDig(std::move(s));
        return r;
    }
    QStringList Mensajes() const { return p.interaccion.Textos(); }
};

} // namespace qv::test

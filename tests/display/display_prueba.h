#pragma once

// The data views on the stand-in main window: a set of signals to work on, a child
// window that holds signal names, and multiple selection in list boxes.

#include "common/controles.h"
#include "common/principal_prueba.h"
#include "model/senales.h"

#include <QListWidget>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qv::test {

inline QStringList Elementos(const QListWidget& l)
{
    QStringList r;
    for (int i = 0; i < l.count(); ++i)
        r << l.item(i)->text();
    return r;
}

// Selects exactly these names of a list box (a multiple selection).
inline void Seleccionar(QListWidget& l, const QStringList& nombres)
{
    l.clearSelection();
    for (int i = 0; i < l.count(); ++i)
        l.item(i)->setSelected(nombres.contains(l.item(i)->text()));
}

// A control that must exist, whatever its state (Control of controles.h also wants
// it usable).
template <class T>
T& De(QObject& w, const char* nombre)
{
    auto* c = w.findChild<T*>(QLatin1String(nombre));
    if (!c)
        throw std::runtime_error(std::string("no control ") + nombre);
    return *c;
}

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

// The stand-in main window with a set of signals.
class DisplayPrueba : public ::testing::Test {
protected:
    TPrincipalPrueba p;

    TCjtSenales& Conjunto()
    {
        if (!p.estado.Senales())
            p.estado.PonerConjunto(std::make_unique<TCjtSenales>(p.textos, p.interaccion));
        return *p.estado.Senales();
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
    THijaNombres* NuevaHija(const QStringList& nombres)
    {
        auto* h = new THijaNombres;
        h->nombres = nombres;
        p.AnadirHija(h);
        return h;
    }
    QStringList Mensajes() const { return p.interaccion.Textos(); }
};

} // namespace qv::test

#pragma once

// The main window as dialogs and windows see it, without the real one: the program
// state, a document area, the context and counters of every call. For the tests of
// src/display, src/channels, src/capture and src/net.

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "app/api/ventana_hija.h"
#include "common/ayuda_prueba.h"
#include "common/dialogos_guion.h"
#include "common/interaccion_guion.h"
#include "common/modal_prueba.h"
#include "common/reloj_falso.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

namespace qv::test {

class TPrincipalPrueba : public IPrincipal {
public:
    // Texts "T<key>" unless others are given (the real language file).
    explicit TPrincipalPrueba(TTextos* otrosTextos = nullptr)
        : textos(otrosTextos ? *otrosTextos : textosFijos),
          contexto{{textos, interaccion, modal, &ayuda}, reloj, dialogos, QStringLiteral(".")}
    {
        ventana.setObjectName(QStringLiteral("frmPrincipal"));
        area = new QMdiArea(&ventana);
        area->setObjectName(QStringLiteral("AreaMDI"));
        (new QVBoxLayout(&ventana))->addWidget(area);
        ventana.resize(800, 572);
        // As the main window: the children follow the set's deletions and renames.
        QObject::connect(&estado, &TEstadoPrograma::SenalesQuitadas, &ventana, [this](const QStringList& nombres) {
            for (const QString& n : nombres)
                ParaCadaHija([&](IVentanaHija& h) { h.QuitarSenal(n); });
        });
        QObject::connect(&estado, &TEstadoPrograma::SenalRenombrada, &ventana,
                         [this](const QString& a, const QString& n) {
                             ParaCadaHija([&](IVentanaHija& h) { h.RenombrarSenal(a, n); });
                         });
        // The windows go with a replaced set, recorded as "CerrarVentanas".
        QObject::connect(&estado, &TEstadoPrograma::ConjuntoSustituido, &ventana, [this] {
            llamadas << QStringLiteral("CerrarVentanas");
            area->closeAllSubWindows();
            contadorVentanas = 0;
        });
    }
    ~TPrincipalPrueba() override
    {
        // Child windows look the state up while they go; they must go first.
        estado.Cerrando = true;
        delete area;
    }
    TPrincipalPrueba(const TPrincipalPrueba&) = delete;
    TPrincipalPrueba& operator=(const TPrincipalPrueba&) = delete;

    TTextosFijos textosFijos;
    TInteraccionGuion interaccion;
    TModalPrueba modal;
    TAyudaPrueba ayuda;
    TRelojFalso reloj;
    TDialogosGuion dialogos;
    TTextos& textos;
    TEstadoPrograma estado;
    TContextoPrograma contexto;
    QWidget ventana;
    QMdiArea* area = nullptr;

    // Every call of the interface that acts, in order, as "Name" or "Name:argument".
    QStringList llamadas;
    int Llamadas(const QString& nombre) const
    {
        int n = 0;
        for (const QString& l : llamadas)
            n += (l == nombre || l.startsWith(nombre + QLatin1Char(':'))) ? 1 : 0;
        return n;
    }

    // Answers the interface gives.
    bool recordatorio = false;  // the reminder runs
    QString textoEstado;        // the last MostrarEstado
    int contadorVentanas = 0;
    int maxSenalesAna = 8;
    int maxSenalesDig = 16;

    // A child window in the document area, made active.
    QMdiSubWindow* AnadirHija(QWidget* hija)
    {
        QMdiSubWindow* s = area->addSubWindow(hija);
        s->show();
        area->setActiveSubWindow(s);
        return s;
    }

    // IPrincipal
    TEstadoPrograma& Estado() override { return estado; }
    const TContextoPrograma& Contexto() const override { return contexto; }
    QWidget& Ventana() override { return ventana; }
    QMdiArea& AreaVentanas() override { return *area; }
    IVentanaHija* HijaActiva() const override
    {
        QMdiSubWindow* s = area->currentSubWindow();
        return s ? dynamic_cast<IVentanaHija*>(s->widget()) : nullptr;
    }
    void CerrarVentanaActiva() override
    {
        llamadas << QStringLiteral("CerrarVentanaActiva");
        area->closeActiveSubWindow();
    }
    void CerrarClick() override { llamadas << QStringLiteral("CerrarClick"); }
    void GuardarArchivoClick() override { llamadas << QStringLiteral("GuardarArchivoClick"); }
    // The file commands' question; this save writes nothing and is done when the test
    // has left the set unmodified.
    bool GuardarAntesDeDescartar(int pregunta) override
    {
        const int r = interaccion.MostrarPregunta(textos.BuscarTexto(pregunta), Botones::SiNoCancelar);
        return r == Respuesta::Si ? (GuardarArchivoClick(), !estado.Modificado()) : r == Respuesta::No;
    }
    int NuevoNumeroVentana() override { return ++contadorVentanas; }
    int ContadorVentanas() const override { return contadorVentanas; }
    int MaxSenalesAna() const override { return maxSenalesAna; }
    int MaxSenalesDig() const override { return maxSenalesDig; }
    bool DetenerRecordatorio() override
    {
        llamadas << QStringLiteral("DetenerRecordatorio");
        const bool activo = recordatorio;
        recordatorio = false;
        return activo;
    }
    void RestaurarRecordatorio(bool activo) override
    {
        llamadas << QStringLiteral("RestaurarRecordatorio:%1").arg(activo ? 1 : 0);
        recordatorio = activo;
    }
    void MostrarEstado(const QString& texto) override { textoEstado = texto; }

private:
    template <class F>
    void ParaCadaHija(F f)
    {
        for (QMdiSubWindow* s : area->subWindowList())
            if (auto* h = dynamic_cast<IVentanaHija*>(s->widget()))
                f(*h);
    }
};

} // namespace qv::test

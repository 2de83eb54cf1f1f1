#include "app/turno_puesto.h"

#include "app/ventana_principal.h"
#include "lang/textos.h"
#include "link/ajustes_estacion.h"
#include "link/servicio_sad.h"
#include "link/turno_sad.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolButton>

namespace qv {

TTurnoPuesto::TTurnoPuesto(TfrmPrincipal& principal) : QObject(&principal), principal_(principal)
{
    TTextos& t = principal_.Contexto().Textos();
    panel_ = new QWidget(principal_.statusBar());
    panel_->setObjectName(QStringLiteral("PanelTurno"));
    auto* capa = new QHBoxLayout(panel_);
    capa->setContentsMargins(4, 0, 4, 0);
    capa->setSpacing(6);
    L_Turno = new QLabel(panel_);
    L_Turno->setObjectName(QStringLiteral("L_Turno"));
    BtnDejarTurno = new QToolButton(panel_);
    BtnDejarTurno->setObjectName(QStringLiteral("BtnDejarTurno"));
    BtnDejarTurno->setText(t.BuscarTexto(clave::DejarTurno));
    // A button that looks like one within the bar's 22 pixels.
    BtnDejarTurno->setMaximumHeight(19);
    L_Turno->setBuddy(BtnDejarTurno);
    capa->addWidget(L_Turno);
    capa->addWidget(BtnDejarTurno);
    panel_->hide();
    principal_.statusBar()->addPermanentWidget(panel_);
    connect(BtnDejarTurno, &QToolButton::clicked, this, [this] { Dejar(); });

    timer_.setObjectName(QStringLiteral("TimerTurno"));
    connect(&timer_, &QTimer::timeout, this, [this] {
        Mostrar(); // the expected wait counts down between the relay's lines
        Mirar();
    });
}

TTurnoPuesto::~TTurnoPuesto() = default;

void TTurnoPuesto::Poner(TFase fase)
{
    fase_ = fase;
    if (fase == TFase::Nada) {
        timer_.stop();
        lugar_.reset();
        espera_.reset();
        esperan_ = 0;
    } else {
        timer_.start(fase == TFase::Esperando ? MiradaEsperandoMs : MiradaTitularMs);
    }
    Mostrar();
}

void TTurnoPuesto::Mostrar()
{
    panel_->setVisible(fase_ == TFase::Esperando);
    if (fase_ != TFase::Esperando)
        return;
    TTextos& t = principal_.Contexto().Textos();
    QString texto = RellenarTexto(t.BuscarTexto(clave::LugarTurno),
                             {lugar_ ? QString::number(*lugar_) : QStringLiteral("-"),
                              lugar_ ? QString::number(esperan_) : QStringLiteral("-")});
    if (espera_) {
        const int quedan = static_cast<int>(std::max<qint64>(0, *espera_ - desde_.elapsed() / 1000));
        texto += QStringLiteral(" (") + RellenarTexto(t.BuscarTexto(clave::EsperaTurno), {TextoDuracion(quedan)}) +
                 QLatin1Char(')');
    }
    L_Turno->setText(texto);
}

void TTurnoPuesto::Noticia(int clave, const QString& arg)
{
    // Said without stopping the station: a line in the status panel, a sound, and a
    // message that the user may close whenever.
    TTextos& t = principal_.Contexto().Textos();
    const QString texto = arg.isEmpty() ? t.BuscarTexto(clave) : RellenarTexto(t.BuscarTexto(clave), {arg});
    principal_.MostrarEstado(texto);
    QApplication::beep();
    auto* caja = new QMessageBox(QMessageBox::Information, principal_.windowTitle(), texto, QMessageBox::Ok,
                                 &principal_);
    caja->setObjectName(QStringLiteral("MensajeTurno"));
    caja->setAttribute(Qt::WA_DeleteOnClose);
    caja->setModal(false);
    caja->show();
}

TTarea TTurnoPuesto::Pedir(QString servidor)
{
    TServicioSAD* e = principal_.Estado().Enlace();
    if (!e)
        co_return;
    // Made before the co_await (see tarea.h).
    TEspera<bool> peticion = e->Hacer<bool>([](TComCapvis& c) { return turno::Pedir(c); });
    const bool pedido = co_await peticion;
    if (principal_.Estado().Cerrando)
        co_return;
    if (!pedido) {
        Noticia(clave::SinTurno);
        co_return;
    }
    servidor_ = servidor;
    Poner(TFase::Esperando);
}

TTarea TTurnoPuesto::Dejar()
{
    if (fase_ != TFase::Esperando)
        co_return;
    Poner(TFase::Nada);
    if (TServicioSAD* e = principal_.Estado().Enlace()) {
        TEspera<bool> salida = e->Hacer<bool>([](TComCapvis& c) { return turno::Dejar(c), true; });
        co_await salida;
    }
}

TTarea TTurnoPuesto::Tomada()
{
    TServicioSAD* e = principal_.Estado().Enlace();
    if (!e || !e->Info().EsTcp)
        co_return;
    servidor_ = e->Info().Servidor;
    Poner(TFase::Titular);
    TEspera<bool> avisos = e->Hacer<bool>([](TComCapvis& c) { return turno::Avisos(c); });
    co_await avisos;
}

void TTurnoPuesto::Olvidar()
{
    Poner(TFase::Nada);
}

TTarea TTurnoPuesto::Mirar()
{
    TServicioSAD* e = principal_.Estado().Enlace();
    // One look at a time, and none while a command talks to the unit: it drains the
    // relay's lines itself and they wait for the next look.
    if (!e || mirando_ || fase_ == TFase::Nada || principal_.Estado().Ocupado() || principal_.Estado().Cerrando)
        co_return;
    mirando_ = true;
    std::function<TEstadoTurno(TComCapvis&)> mirar = [servidor = servidor_](TComCapvis& c) {
        return turno::Mirar(c, 0, servidor);
    };
    TEspera<TEstadoTurno> mirada = e->Hacer<TEstadoTurno>(mirar);
    const TEstadoTurno estado = co_await mirada;
    mirando_ = false;
    if (principal_.Estado().Cerrando)
        co_return;
    Aplicar(estado);
}

void TTurnoPuesto::Aplicar(const TEstadoTurno& e)
{
    if (e.lugar) {
        esperan_ = e.esperan;
        if (*e.lugar > 0) {
            lugar_ = e.lugar;
            espera_ = e.espera;
            desde_.start();
        }
    }
    if (fase_ == TFase::Esperando) {
        if (e.tomado) {
            // As "Ocupar" ends: the unit held, its PC remembered, the window up front.
            TAjustesEstacion(principal_.Contexto().CarpetaPrograma).EscribirUltimoPCSAD(servidor_);
            Poner(TFase::Titular);
            principal_.PonerSADOcupado(true);
            principal_.show();
            principal_.raise();
            principal_.activateWindow();
            QApplication::alert(&principal_);
            Noticia(clave::LlamadaTurno, servidor_);
        } else if (e.llamado && e.claveFallo) {
            Poner(TFase::Nada);
            Noticia(e.claveFallo);
        } else if (e.fuera) {
            Poner(TFase::Nada);
            Noticia(clave::TurnoPerdido);
        } else if (e.rechazado) {
            Poner(TFase::Nada);
            Noticia(clave::SinTurno);
        } else if (!e.conectado) {
            // The relay went (restarted, or its PC): the line went with it.
            Poner(TFase::Nada);
            Noticia(clave::ColaPerdida);
        } else {
            Mostrar();
        }
        return;
    }
    if (fase_ == TFase::Titular) {
        if (e.fin) {
            Poner(TFase::Nada);
            principal_.PonerSADOcupado(false);
            Noticia(clave::FinTurno);
        } else if (e.aviso) {
            Noticia(clave::AvisoTurno);
        } else if (!e.conectado) {
            Poner(TFase::Nada); // the next command says what happened
        }
    }
}

} // namespace qv

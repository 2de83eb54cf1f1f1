#include "capture/monitorizacion.h"

#include "capture/dibujo_monitor.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/config_es.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>
#include "plot/grf.h"

namespace qv {

namespace {
constexpr int kTextoPreparando = 141;
constexpr int kTextoLeyendo = 249;
constexpr int kTextoLeida = 250;
constexpr int kTextoMonitorizando = 251;
} // namespace

TfrmMonitorizacion::TfrmMonitorizacion(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, 141, parent), principal_(principal)
{
    setObjectName(QStringLiteral("frmMonitorizacion"));
    setWindowTitle(QStringLiteral("Captaci\u00f3n y Visualizaci\u00f3n"));
    resize(780, 540);

    dibujo_ = std::make_unique<TDibujoMonitorGrafica>(this, Textos().BuscarTexto(clave::EjeTiempo));
    Label1 = new QLabel(Textos().BuscarTexto(kTextoPreparando), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();
    SpBtnElegir = new QPushButton(QStringLiteral(" Activar/Desactivar Salidas"), this);
    SpBtnElegir->setObjectName(QStringLiteral("SpBtnElegir"));
    SpBtnElegir->setToolTip(QStringLiteral("Seleccionar Se\u00f1ales"));
    SpBtnElegir->setAutoDefault(false);
    CerrarMonitorizacionBtn = new QPushButton(QStringLiteral("Cerrar ventana"), this);
    CerrarMonitorizacionBtn->setObjectName(QStringLiteral("CerrarMonitorizacionBtn"));
    CerrarMonitorizacionBtn->setAutoDefault(false);
    connect(SpBtnElegir, &QPushButton::clicked, this, &TfrmMonitorizacion::SpBtnElegirClick);
    connect(CerrarMonitorizacionBtn, &QPushButton::clicked, this, &TfrmMonitorizacion::CerrarMonitorizacionBtnClick);

    auto* graficas = new QStackedLayout;
    graficas->setStackingMode(QStackedLayout::StackAll);
    graficas->addWidget(dibujo_->xygraph);
    graficas->addWidget(dibujo_->xygraphatras);
    auto* botones = new QHBoxLayout;
    botones->addWidget(SpBtnElegir);
    botones->addWidget(Label1, 1);
    botones->addWidget(CerrarMonitorizacionBtn);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(graficas, 1);
    capa->addLayout(botones);

    timer_.setObjectName(QStringLiteral("MonitorizacionTimer"));
    timer_.setInterval(Intervalo);
    connect(&timer_, &QTimer::timeout, this, &TfrmMonitorizacion::MonitorizacionTimerTimer);

    TEstadoPrograma& e = principal_.Estado();
    if (e.Enlace() && e.Config())
        monitor_ = std::make_unique<TMonitor>(*e.Enlace(), *e.Config(), Textos(), Interaccion(), *dibujo_,
                                              salidas_);
    listo_ = false;
}

TfrmMonitorizacion::~TfrmMonitorizacion()
{
    timer_.stop();
}

void TfrmMonitorizacion::AlMostrar()
{
    timer_.stop();
    // Over the document area, clear of the main window's menus and toolbars.
    const QWidget& area = principal_.AreaVentanas();
    const QRect dentro(area.mapToGlobal(QPoint(0, 0)), area.size());
    const QSize marco = frameGeometry().size() - size();
    resize(std::min(width(), std::max(minimumWidth(), dentro.width() - marco.width())),
           std::min(height(), std::max(minimumHeight(), dentro.height() - marco.height())));
    move(dentro.topLeft());
    Empezar();
}

TTarea TfrmMonitorizacion::Empezar()
{
    detenido_ = false;
    principal_.MostrarEstado(QString());
    Label1->setText(Textos().BuscarTexto(kTextoMonitorizando));
    Label1->show();
    if (!monitor_)
        co_return;
    TEnCurso curso(*this);
    listo_ = false;
    timer_.start();
    co_await monitor_->Preparar();
    listo_ = true;
    if (Cerrando() || !principal_.Estado().Config())
        co_return;
    const TConfigES& c = *principal_.Estado().Config();
    bool salidas = false;
    for (int i = 1; i <= 16; ++i)
        salidas = salidas || c.SalDig(i).Activo;
    for (int i = 1; i <= 4; ++i)
        salidas = salidas || c.SalAna(i).Activo;
    SpBtnElegir->setEnabled(salidas);
    Label1->clear();
}

TTarea TfrmMonitorizacion::MonitorizacionTimerTimer()
{
    // One poll at a time: the timer goes on while a poll is on its way to the unit.
    if (!listo_ || !monitor_ || detenido_)
        co_return;
    TEnCurso curso(*this);
    listo_ = false;
    const TMonitor::TTick tick = co_await monitor_->Tick();
    // Closed while the poll was on its way: nothing more is asked of the unit, and a
    // continuous capture is not programmed again.
    if (Cerrando()) {
        timer_.stop();
        co_return;
    }
    switch (tick) {
    case TMonitor::TTick::Nada:
    case TMonitor::TTick::Punto:
        listo_ = true;
        co_return;
    case TMonitor::TTick::Fallo:
        Interaccion().MostrarAviso(Textos().BuscarTexto(clave::NoProgramada), Botones::Aceptar);
        Parar();
        co_return;
    case TMonitor::TTick::Terminada:
        break;
    }
    timer_.stop();
    if (principal_.Estado().Monitorizando()) {
        const bool reprogramada = co_await monitor_->Reprogramar();
        if (Cerrando())
            co_return;
        if (!reprogramada) {
            Interaccion().MostrarAviso(Textos().BuscarTexto(clave::NoProgramada), Botones::Aceptar);
            Parar();
            co_return;
        }
        ++reprogramaciones_;
        listo_ = true;
        timer_.start();
        co_return;
    }
    Label1->setText(Textos().BuscarTexto(kTextoLeyendo));
    const bool leida = co_await monitor_->LecturaFinal();
    if (Cerrando())
        co_return;
    if (!leida) {
        Parar();
        co_return;
    }
    Label1->setText(Textos().BuscarTexto(kTextoLeida));
    listo_ = true;
    detenido_ = true;
}

void TfrmMonitorizacion::Parar()
{
    timer_.stop();
    detenido_ = true;
    SpBtnElegir->setEnabled(false);
    CerrarMonitorizacionBtn->setEnabled(true);
}

void TfrmMonitorizacion::SpBtnElegirClick()
{
    const bool activo = timer_.isActive();
    timer_.stop();
    TfrmActDesSenales dialogo(principal_, this);
    dialogo.PonerEstado(&salidas_);
    dialogo.Ejecutar();
    if (activo && !detenido_)
        timer_.start();
}

void TfrmMonitorizacion::CerrarMonitorizacionBtnClick()
{
    accept();
}

void TfrmMonitorizacion::done(int r)
{
    timer_.stop();
    // A read-back of the watch on its way is stopped (its reply drained) rather than
    // waited for to its end.
    if (EnCurso())
        if (TServicioSAD* sad = principal_.Estado().Enlace())
            sad->Cancelar();
    TFormulario::done(r);
}

} // namespace qv

#include "capture/espera_ack.h"

#include "capture/dibujos.h"
#include "lang/textos.h"
#include "link/servicio_sad.h"

#include <QCloseEvent>
#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

QLabel* Texto(const char* nombre, QWidget* padre)
{
    auto* l = new QLabel(padre);
    l->setObjectName(QLatin1String(nombre));
    l->setAlignment(Qt::AlignCenter);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

TfrmEsperaAck::TfrmEsperaAck(const TContextoFormulario& contexto, QWidget* parent)
    : TFormulario(contexto, Numero, 0, parent)
{
    setObjectName(QStringLiteral("frmEsperaAck"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setFixedSize(360, 170);
    setStyleSheet(QStringLiteral("#frmEsperaAck { background: #f4f4f4; border: 2px solid #203060; }"));

    reloj = new QLabel(this);
    reloj->setObjectName(QStringLiteral("reloj"));
    reloj->setPixmap(DibujoReloj(40));
    compu = new QLabel(this);
    compu->setObjectName(QStringLiteral("compu"));
    compu->setPixmap(DibujoCompu(40));
    Label1 = Texto("Label1", this);
    Label2 = Texto("Label2", this);
    Label3 = Texto("Label3", this);
    QFont negrita = Label1->font();
    negrita.setBold(true);
    Label1->setFont(negrita);
    Label3->setFont(negrita);
    Progreso = new QProgressBar(this);
    Progreso->setObjectName(QStringLiteral("Progreso"));
    Progreso->setTextVisible(true);
    Progreso->setRange(0, 0);
    Progreso->setAccessibleName(Textos().BuscarTexto(259));
    CancelarBtn = Boton("CancelarBtn", Textos().BuscarTexto(kTextoCancelar), this);
    connect(CancelarBtn, &QPushButton::clicked, this, &TfrmEsperaAck::Cancelar);

    auto* textos = new QVBoxLayout;
    textos->addStretch(1);
    textos->addWidget(Label1);
    textos->addWidget(Label2);
    textos->addWidget(Label3);
    textos->addStretch(1);
    auto* fila = new QHBoxLayout;
    fila->addWidget(reloj);
    fila->addWidget(compu);
    fila->addLayout(textos, 1);
    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(12, 10, 12, 10);
    capa->addLayout(fila, 1);
    capa->addWidget(Progreso);
    capa->addWidget(CancelarBtn, 0, Qt::AlignHCenter);

    reloj->hide();
    compu->hide();
    Label3->hide();
    Progreso->hide();
    CancelarBtn->hide();
}

void TfrmEsperaAck::closeEvent(QCloseEvent* e)
{
    e->ignore();
    reject();
}

void TfrmEsperaAck::reject()
{
    if (cancelar_)
        Cancelar();
}

void TfrmEsperaAck::PonerCancelar(std::function<void()> cancelar)
{
    cancelar_ = std::move(cancelar);
    CancelarBtn->setVisible(bool(cancelar_));
    CancelarBtn->setEnabled(bool(cancelar_) && !cancelado_);
}

void TfrmEsperaAck::Cancelar()
{
    if (cancelado_ || !cancelar_)
        return;
    cancelado_ = true;
    CancelarBtn->setEnabled(false);
    Poner(estado_, 0, 0);
    cancelar_();
}

void TfrmEsperaAck::TextosAplicados()
{
    // The table gives Label3 its "done" text; it shows only in that state.
    textoHecho_ = Label3->text();
}

void TfrmEsperaAck::Mostrar()
{
    setWindowModality(Qt::ApplicationModal);
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    // Escape and the space bar reach "Cancelar" at once.
    if (CancelarBtn->isVisible())
        CancelarBtn->setFocus(Qt::OtherFocusReason);
}

void TfrmEsperaAck::Vigilar(TServicioSAD& sad)
{
    connect(&sad, &TServicioSAD::ProgresoEnvio, this, [this](int fase) {
        switch (fase) {
        case 0: Esperando(); break;
        case 1: Enviando(); break;
        case 2: Hecho(); break;
        default: Leyendo(); break;
        }
    });
    connect(&sad, &TServicioSAD::Avance, this, [this](const TConversacion::TAvance& a) {
        if (!a.leyendo)
            return;
        if (estado_ != TEstadoEspera::Leyendo)
            Leyendo();
        PonerProgreso(a.recibidos, a.esperados);
    });
}

void TfrmEsperaAck::Poner(TEstadoEspera estado, int clave1, int clave2)
{
    estado_ = estado;
    // Once stopping, the window says so whatever the conversation still reports.
    if (cancelado_) {
        clave1 = estado == TEstadoEspera::Leyendo ? 259 : 255;
        clave2 = kTextoCancelando;
    }
    const bool textos = clave1 > 0;
    reloj->setVisible(estado == TEstadoEspera::Esperando);
    compu->setVisible(estado == TEstadoEspera::Enviando || estado == TEstadoEspera::Leyendo);
    Label1->setVisible(textos);
    Label2->setVisible(textos);
    Label3->setVisible(estado == TEstadoEspera::Hecho && !cancelado_);
    if (textos) {
        Label1->setText(Textos().BuscarTexto(clave1));
        Label2->setText(Textos().BuscarTexto(clave2));
    }
    if (estado != TEstadoEspera::Leyendo)
        Progreso->hide();
}

void TfrmEsperaAck::Esperando()
{
    Poner(TEstadoEspera::Esperando, 255, 256);
}

void TfrmEsperaAck::Enviando()
{
    Poner(TEstadoEspera::Enviando, 257, 258);
}

void TfrmEsperaAck::Hecho()
{
    Poner(TEstadoEspera::Hecho, 0, 0);
}

void TfrmEsperaAck::Leyendo()
{
    Poner(TEstadoEspera::Leyendo, 259, 260);
    Progreso->setRange(0, 0);
    Progreso->show();
}

void TfrmEsperaAck::PonerProgreso(qint64 recibidos, qint64 esperados)
{
    if (esperados <= 0) {
        Progreso->setRange(0, 0); // the count has not come yet
        return;
    }
    // The bar counts in thousandths so that any reply size fits an int.
    const int valor = static_cast<int>(std::min<qint64>(1000, recibidos * 1000 / esperados));
    if (Progreso->maximum() != 1000)
        Progreso->setRange(0, 1000);
    if (Progreso->value() != valor)
        Progreso->setValue(valor);
}

} // namespace qv

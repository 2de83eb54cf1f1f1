#include "net/turnos_aula.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "lang/textos.h"
#include "link/ajustes_estacion.h"
#include "link/turno_sad.h"
#include "net/pcs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QHostInfo>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QTreeWidget>
#include <QUdpSocket>
#include <QVBoxLayout>

namespace qv {

TfrmTurnosAula::TfrmTurnosAula(TContextoRed red, QWidget* parent)
    : QWidget(parent, Qt::Window), red_(std::move(red)), udp_(new QUdpSocket(this))
{
    TTextos& t = red_.Principal.Contexto().Textos();
    setObjectName(QStringLiteral("frmTurnosAula"));
    setWindowTitle(t.BuscarTexto(clave::TurnosAula));
    setAttribute(Qt::WA_DeleteOnClose);

    L_PCAula = new QLabel(t.BuscarTexto(clave::PCAula), this);
    L_PCAula->setObjectName(QStringLiteral("L_PCAula"));
    Ed_PCAula = new QComboBox(this);
    Ed_PCAula->setObjectName(QStringLiteral("Ed_PCAula"));
    Ed_PCAula->setEditable(true);
    Ed_PCAula->setInsertPolicy(QComboBox::NoInsert);
    Ed_PCAula->setMinimumWidth(200);
    Ed_PCAula->addItems(red_.Ajustes.PCsServer());
    L_PCAula->setBuddy(Ed_PCAula);

    L_Titular = new QLabel(this);
    L_Titular->setObjectName(QStringLiteral("L_Titular"));
    L_Medio = new QLabel(this);
    L_Medio->setObjectName(QStringLiteral("L_Medio"));
    L_Cola = new QLabel(t.BuscarTexto(clave::TurnosAula), this);
    L_Cola->setObjectName(QStringLiteral("L_Cola"));
    ListaTurnos = new QTreeWidget(this);
    ListaTurnos->setObjectName(QStringLiteral("ListaTurnos"));
    ListaTurnos->setRootIsDecorated(false);
    ListaTurnos->setSelectionMode(QAbstractItemView::NoSelection);
    ListaTurnos->setHeaderLabels({QStringLiteral("#"), t.BuscarTexto(clave::ColPuesto), t.BuscarTexto(clave::ColTiempo)});
    ListaTurnos->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ListaTurnos->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    ListaTurnos->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    // Numbers and times line up on the right, their headings with them.
    ListaTurnos->headerItem()->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    ListaTurnos->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    L_Cola->setBuddy(ListaTurnos);
    // The readouts name what the list is about.
    L_Titular->setBuddy(ListaTurnos);
    L_Medio->setBuddy(ListaTurnos);

    auto* rejilla = new QGridLayout;
    rejilla->addWidget(L_PCAula, 0, 0);
    rejilla->addWidget(Ed_PCAula, 0, 1);
    rejilla->setColumnStretch(1, 1);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(rejilla);
    columna->addWidget(L_Titular);
    columna->addWidget(L_Medio);
    columna->addWidget(L_Cola);
    columna->addWidget(ListaTurnos, 1);
    resize(420, 360);

    connect(Ed_PCAula, &QComboBox::currentTextChanged, this, [this](const QString& t) { PonerPC(t); });
    connect(udp_, &QUdpSocket::readyRead, this, &TfrmTurnosAula::Leer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (respuesta_.isValid() && respuesta_.elapsed() > SinRespuestaMs)
            SinRespuesta();
        Preguntar();
    });
    udp_->bind(QHostAddress(QHostAddress::AnyIPv4), 0);
    timer_.start(IntervaloMs);
    Ed_PCAula->setEditText(red_.Ajustes.UltimoPCSAD());
    PonerPC(Ed_PCAula->currentText());
}

void TfrmTurnosAula::PonerPC(const QString& pc)
{
    if (busqueda_ >= 0)
        QHostInfo::abortHostLookup(busqueda_);
    busqueda_ = -1;
    destino_.clear();
    ListaTurnos->clear();
    L_Titular->clear();
    L_Medio->clear();
    respuesta_.invalidate();
    const QString nombre = NombreDeEntrada(pc.trimmed());
    if (nombre.isEmpty())
        return;
    respuesta_.start();
    QHostAddress dir;
    if (dir.setAddress(nombre)) {
        destino_ = dir;
        Preguntar();
        return;
    }
    // A name is looked up without waiting for it here.
    busqueda_ = QHostInfo::lookupHost(nombre, this, [this](const QHostInfo& info) {
        busqueda_ = -1;
        if (info.error() == QHostInfo::NoError && !info.addresses().isEmpty()) {
            destino_ = info.addresses().constFirst();
            Preguntar();
        }
    });
}

void TfrmTurnosAula::Preguntar()
{
    if (!destino_.isNull())
        udp_->writeDatagram(PeticionAula, destino_, red_.Busqueda.Puerto);
}

void TfrmTurnosAula::Leer()
{
    while (udp_->hasPendingDatagrams()) {
        const QNetworkDatagram d = udp_->receiveDatagram(8192);
        // Only the relay asked: another's datagram is not taken for its answer.
        if (destino_.isNull() || !d.senderAddress().isEqual(destino_, QHostAddress::TolerantConversion))
            continue;
        if (const auto v = LeerVistaAula(d.data())) {
            respuesta_.start();
            Mostrar(*v);
        }
    }
}

void TfrmTurnosAula::Mostrar(const TVistaAula& v)
{
    TTextos& t = red_.Principal.Contexto().Textos();
    L_Titular->setText(v.titular.isEmpty()
                           ? t.BuscarTexto(clave::SADLibre)
                           : t.BuscarTexto(clave::ConElSAD) + QStringLiteral(": ") + v.titular + QStringLiteral(" (") +
                                 TextoDuracion(v.retenido) + QLatin1Char(')'));
    L_Medio->setText(RellenarTexto(t.BuscarTexto(clave::TurnoMedio),
                                   {v.media ? TextoDuracion(*v.media) : QStringLiteral("-")}));
    ListaTurnos->clear();
    int n = 0;
    for (const auto& [pc, espera] : v.cola) {
        auto* fila = new QTreeWidgetItem(ListaTurnos, {QString::number(++n), pc, TextoDuracion(espera)});
        fila->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        fila->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void TfrmTurnosAula::SinRespuesta()
{
    ListaTurnos->clear();
    L_Medio->clear();
    L_Titular->setText(red_.Principal.Contexto().Textos().BuscarTexto(clave::SinRespuestaAula));
}

} // namespace qv

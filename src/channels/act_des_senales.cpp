#include "channels/act_des_senales.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/servicio_sad.h"
#include "model/config_es.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// Item data: output 0..15 digital, 16..19 analog.
constexpr int kRolSalida = Qt::UserRole + 1;

} // namespace

TfrmActDesSenales::TfrmActDesSenales(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, 154, parent), principal_(principal), estado_(&propio_)
{
    setObjectName(QStringLiteral("frmActDesSenales"));
    setWindowTitle(QStringLiteral("Se\u00f1ales a Activar/Desactivar"));
    if (const TConfigES* c = principal.Estado().Config())
        propio_ = TEstadoSalidas::Desde(*c);

    Label1 = new QLabel(QStringLiteral("Se\u00f1ales no Activas"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DstLabel = new QLabel(QStringLiteral("Se\u00f1ales Activas"), this);
    DstLabel->setObjectName(QStringLiteral("DstLabel"));
    SrcList = new QListWidget(this);
    SrcList->setObjectName(QStringLiteral("SrcList"));
    SrcList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SrcList->setSortingEnabled(true);
    DstList = new QListWidget(this);
    DstList->setObjectName(QStringLiteral("DstList"));
    DstList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    IncludeBtn = Boton("IncludeBtn", QStringLiteral(">"), this);
    IncAllBtn = Boton("IncAllBtn", QStringLiteral(">>"), this);
    ExcludeBtn = Boton("ExcludeBtn", QStringLiteral("<"), this);
    ExAllBtn = Boton("ExAllBtn", QStringLiteral("<<"), this);
    connect(IncludeBtn, &QPushButton::clicked, this, &TfrmActDesSenales::IncludeBtnClick);
    connect(IncAllBtn, &QPushButton::clicked, this, &TfrmActDesSenales::IncAllBtnClick);
    connect(ExcludeBtn, &QPushButton::clicked, this, &TfrmActDesSenales::ExcludeBtnClick);
    connect(ExAllBtn, &QPushButton::clicked, this, &TfrmActDesSenales::ExcAllBtnClick);

    auto* flechas = new QVBoxLayout;
    flechas->addStretch(1);
    for (QPushButton* b : {IncludeBtn, IncAllBtn, ExcludeBtn, ExAllBtn}) {
        b->setFixedWidth(40);
        flechas->addWidget(b);
    }
    flechas->addStretch(1);
    auto* rejilla = new QGridLayout;
    rejilla->addWidget(Label1, 0, 0);
    rejilla->addWidget(DstLabel, 0, 2);
    rejilla->addWidget(SrcList, 1, 0);
    rejilla->addLayout(flechas, 1, 1);
    rejilla->addWidget(DstList, 1, 2);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(rejilla, 1);
    capa->addLayout(CrearBotones(BtnAceptar | BtnCancelar));
    resize(420, 300);
    Llenar();
}

void TfrmActDesSenales::PonerEstado(TEstadoSalidas* estado, std::function<void()> refrescar)
{
    estado_ = estado ? estado : &propio_;
    refrescar_ = std::move(refrescar);
    Llenar();
}

void TfrmActDesSenales::Llenar()
{
    SrcList->clear();
    DstList->clear();
    const TConfigES* c = principal_.Estado().Config();
    if (!c)
        return;
    auto poner = [&](int id, bool activa, bool encendida, const QString& nombre) {
        if (!activa)
            return;
        auto* item = new QListWidgetItem(nombre);
        item->setData(kRolSalida, id);
        (encendida ? DstList : SrcList)->addItem(item);
    };
    for (int i = 0; i < 16; ++i)
        poner(i, c->SalDig(i + 1).Activo, estado_->Dig[i], c->SalDig(i + 1).Nombre);
    for (int i = 0; i < 4; ++i)
        poner(16 + i, c->SalAna(i + 1).Activo, estado_->Ana[i], c->SalAna(i + 1).Nombre);
    cambiado_ = false;
    SetButtons();
}

void TfrmActDesSenales::AlMostrar()
{
    SetButtons();
}

void TfrmActDesSenales::SetButtons()
{
    IncludeBtn->setEnabled(SrcList->count() > 0);
    IncAllBtn->setEnabled(SrcList->count() > 0);
    ExcludeBtn->setEnabled(DstList->count() > 0);
    ExAllBtn->setEnabled(DstList->count() > 0);
}

void TfrmActDesSenales::MoveSelected(QListWidget& origen, QListWidget& destino, bool todo)
{
    int primera = -1;
    for (int i = origen.count() - 1; i >= 0; --i) {
        if (!todo && !origen.item(i)->isSelected())
            continue;
        primera = i;
        destino.addItem(origen.takeItem(i));
    }
    if (primera < 0)
        return;
    cambiado_ = true;
    origen.clearSelection();
    if (origen.count() > 0)
        origen.item(std::min(primera, origen.count() - 1))->setSelected(true);
    SetButtons();
}

void TfrmActDesSenales::IncludeBtnClick() { MoveSelected(*SrcList, *DstList, false); }
void TfrmActDesSenales::ExcludeBtnClick() { MoveSelected(*DstList, *SrcList, false); }
void TfrmActDesSenales::IncAllBtnClick() { MoveSelected(*SrcList, *DstList, true); }
void TfrmActDesSenales::ExcAllBtnClick() { MoveSelected(*DstList, *SrcList, true); }

bool TfrmActDesSenales::Validar()
{
    OKBtnClick();
    return false; // the switching closes the dialog when it is done
}

TTarea TfrmActDesSenales::OKBtnClick()
{
    if (enviando_)
        co_return;
    if (cambiado_) {
        std::array<bool, 16> onDig{}, offDig{};
        std::array<bool, 4> onAna{}, offAna{};
        TEstadoSalidas nuevo = *estado_;
        auto recorrer = [&](QListWidget& l, bool encendida) {
            for (int i = 0; i < l.count(); ++i) {
                const int id = l.item(i)->data(kRolSalida).toInt();
                bool& antes = id < 16 ? estado_->Dig[id] : estado_->Ana[id - 16];
                const QString& nombre = id < 16 ? estado_->NombreDig[id] : estado_->NombreAna[id - 16];
                (id < 16 ? nuevo.Dig[id] : nuevo.Ana[id - 16]) = encendida;
                if (encendida && !antes && nombre != TEstadoSalidas::NoHay)
                    (id < 16 ? onDig[id] : onAna[id - 16]) = true;
                if (!encendida && antes)
                    (id < 16 ? offDig[id] : offAna[id - 16]) = true;
            }
        };
        recorrer(*DstList, true);
        recorrer(*SrcList, false);
        TServicioSAD* sad = principal_.Estado().Enlace();
        bool ok = sad != nullptr;
        const QString encender = CuerpoSalidas(onDig, onAna);
        const QString apagar = CuerpoSalidas(offDig, offAna);
        enviando_ = true;
        if (ok && !(encender.isEmpty() && apagar.isEmpty())) {
            auto orden = TOrdenMonitor::Conmutar(encender, apagar);
            ok = co_await sad->Hablar(orden) == TConversacion::TPaso::Terminada;
            if (!ok)
                Interaccion().MostrarAviso(Textos().BuscarTexto(orden->ClaveFallo()), Botones::Aceptar);
        }
        enviando_ = false;
        if (ok)
            *estado_ = nuevo;
    }
    Terminar();
    QDialog::accept();
}

void TfrmActDesSenales::reject()
{
    if (enviando_)
        return;
    Terminar();
    QDialog::reject();
}

void TfrmActDesSenales::Terminar()
{
    if (terminado_)
        return;
    terminado_ = true;
    if (refrescar_)
        refrescar_();
}

} // namespace qv

#include "net/escoger_pc_sad.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/ajustes_estacion.h"
#include "link/servicio_sad.h"
#include "link/turno_sad.h"
#include "model/claves_texto.h"
#include "net/estado_unidad.h"
#include "net/panel_busqueda.h"
#include "net/pcs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {

Tform_EscogerPCSAD::Tform_EscogerPCSAD(TContextoRed& red, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, Numero, ContextoAyuda, parent), red_(red)
{
    setObjectName(QStringLiteral("form_EscogerPCSAD"));
    setWindowTitle(QStringLiteral("Ejecutar el ensayo"));

    PanelPC = new QWidget(this);
    PanelPC->setObjectName(QStringLiteral("PanelPC"));
    L_PC = Etiqueta("L_PC", QStringLiteral("PC con SAD :"), PanelPC);
    Ed_PC = new QComboBox(PanelPC);
    Ed_PC->setObjectName(QStringLiteral("Ed_PC"));
    Ed_PC->setEditable(true);
    Ed_PC->setInsertPolicy(QComboBox::NoInsert);
    // Enter acts on the text as typed: no inline completion takes the key first.
    Ed_PC->setCompleter(nullptr);
    Ed_PC->setMinimumWidth(220);
    // Keys reach the box itself, which hands them to its line edit past any filter.
    Ed_PC->installEventFilter(this);
    Ed_PC->lineEdit()->installEventFilter(this);
    L_PC->setBuddy(Ed_PC);
    SB_TestBE = new QPushButton(QStringLiteral("Comprobar"), PanelPC);
    SB_TestBE->setObjectName(QStringLiteral("SB_TestBE"));
    SB_TestBE->setAutoDefault(false);
    auto* filaPC = new QHBoxLayout(PanelPC);
    filaPC->setContentsMargins(0, 0, 0, 0);
    filaPC->addWidget(L_PC);
    filaPC->addWidget(Ed_PC, 1);
    filaPC->addWidget(SB_TestBE);

    panel_ = new TPanelBusqueda(red.Principal.Contexto().Textos(), red.Busqueda, false, this);
    panel_->Configurados = [this] { return red_.Ajustes.PCsServer(); };

    estado_ = new TPanelEstadoSAD(Textos(), this);
    // Offered only while the PC checked last has its unit held by another.
    BtnPedirTurno = new QPushButton(Textos().BuscarTexto(clave::PedirTurno), this);
    BtnPedirTurno->setObjectName(QStringLiteral("BtnPedirTurno"));
    BtnPedirTurno->setAutoDefault(false);
    BtnPedirTurno->hide();
    auto* filaTurno = new QHBoxLayout;
    filaTurno->addStretch(1);
    filaTurno->addWidget(BtnPedirTurno);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(PanelPC);
    columna->addWidget(panel_, 1);
    columna->addWidget(estado_);
    columna->addLayout(filaTurno);
    columna->addStretch();
    columna->addLayout(CrearBotones());
    setMinimumWidth(460);

    connect(SB_TestBE, &QPushButton::clicked, this, &Tform_EscogerPCSAD::SB_TestBEClick);
    connect(BtnPedirTurno, &QPushButton::clicked, this, [this] {
        if (!BtnPedirTurno->isVisible() || EnCurso())
            return;
        pidioTurno_ = true;
        reject(); // nothing is sent: the connection stays open for the request
    });
    connect(panel_, &TPanelBusqueda::SeleccionCambiada, this,
            [this](const QStringList& textos) { Ed_PC->setEditText(textos.first()); });
    setTabOrder(Ed_PC, SB_TestBE);
    setTabOrder(SB_TestBE, panel_->BotonBuscar());
    setTabOrder(panel_->BotonBuscar(), panel_->Arbol());

    // Before showing: who this PC is, the PC panel and the search button without the
    // tree, nothing checked yet.
    if (TServicioSAD* e = red_.Principal.Estado().Enlace())
        e->PonerPCLocal(NombreEsteEquipo());
    panel_->Arbol()->hide();
    BotonAceptar()->setEnabled(false);
}

void Tform_EscogerPCSAD::AlMostrar()
{
    Ed_PC->clear();
    Ed_PC->addItems(red_.Ajustes.PCsServer());
    Ed_PC->setEditText(red_.Ajustes.UltimoPCSAD());
    Ed_PC->setFocus();
}

bool Tform_EscogerPCSAD::eventFilter(QObject* objeto, QEvent* evento)
{
    // Enter in the PC box checks that PC; it must not reach the default button.
    if ((objeto == Ed_PC || objeto == Ed_PC->lineEdit()) && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            SB_TestBEClick();
            return true;
        }
    }
    return TFormulario::eventFilter(objeto, evento);
}

void Tform_EscogerPCSAD::SB_TestBEClick()
{
    panel_->Arbol()->clearSelection();
    const QString texto = Ed_PC->currentText().trimmed();
    if (texto.isEmpty()) {
        Interaccion().MensajePlano(Textos().BuscarTexto(clave::FaltaNombre));
        return;
    }
    Comprobar(NombreDeEntrada(texto));
}

TTarea Tform_EscogerPCSAD::Comprobar(QString nombre)
{
    estado_->OcultarDetalles();
    BtnPedirTurno->hide();
    TServicioSAD* e = red_.Principal.Estado().Enlace();
    if (nombre.isEmpty() || !e || EnCurso())
        co_return;
    TEnCurso curso(*this);
    TOrdenSAD orden(red_.Principal);
    BotonAceptar()->setEnabled(false);
    SB_TestBE->setEnabled(false);
    estado_->Comprobando(nombre);
    const int fallo = co_await e->Conectar(nombre);
    const bool tiene = !fallo && e->Info().EsteEquipoLaTiene();
    const std::optional<int> estado = tiene ? co_await e->LeerEstado() : std::nullopt;
    SB_TestBE->setEnabled(true);
    if (Cerrando()) {
        // Cancelled while the relay was waited for: a unit got on the way goes back.
        if (tiene)
            e->Encargar([](TComCapvis& c) { c.Desconectar(); });
        co_return;
    }
    if (fallo) {
        estado_->NoLocalizado();
        // Too many connections is not "no unit": the user can do something about it.
        if (fallo == TComCapvis::kTextoSinPlazas)
            Interaccion().MostrarAviso(Textos().BuscarTexto(fallo), Botones::Aceptar);
        co_return;
    }
    // Held by another PC: only who holds it, and a place in its line on offer.
    estado_->Localizado(e->Info(), estado, tiene);
    BotonAceptar()->setEnabled(tiene);
    if (!tiene) {
        servidorTurno_ = nombre;
        BtnPedirTurno->show();
        BtnPedirTurno->setFocus();
    }
}

bool Tform_EscogerPCSAD::Validar()
{
    TServicioSAD* e = red_.Principal.Estado().Enlace();
    if (!e || !BotonAceptar()->isEnabled() || EnCurso())
        return false;
    panel_->Detener();
    red_.Ajustes.EscribirUltimoPCSAD(e->Info().Servidor);
    return true;
}

void Tform_EscogerPCSAD::reject()
{
    panel_->Detener();
    // The unit was got by the check: give it back.
    if (BotonAceptar()->isEnabled())
        if (TServicioSAD* e = red_.Principal.Estado().Enlace())
            e->Encargar([](TComCapvis& c) { c.Desconectar(); });
    BotonAceptar()->setEnabled(false);
    TFormulario::reject();
}

} // namespace qv

#include "net/remoto.h"

#include "app/api/contexto.h"
#include "app/api/principal.h"
#include "link/ajustes_estacion.h"
#include "link/servicios_puesto.h"
#include "net/conectar.h"
#include "net/panel_busqueda.h"
#include "net/pcs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {

TForm_Remoto::TForm_Remoto(TContextoRed& red, bool perfil, QWidget* parent)
    : TFormulario(red.Principal.Contexto().Formulario, Numero, ContextoAyuda, parent), red_(red), perfil_(perfil)
{
    setObjectName(QStringLiteral("Form_Remoto"));
    setWindowTitle(QStringLiteral("Monitorizaci\u00f3n remota"));

    L_PC = new QLabel(QStringLiteral("PC :"), this);
    L_PC->setObjectName(QStringLiteral("L_PC"));
    CB_Client = new QComboBox(this);
    CB_Client->setObjectName(QStringLiteral("CB_Client"));
    CB_Client->setEditable(true);
    CB_Client->setInsertPolicy(QComboBox::NoInsert);
    // Enter acts on the text as typed: no inline completion takes the key first.
    CB_Client->setCompleter(nullptr);
    // Keys reach the box itself, which hands them to its line edit past any filter.
    CB_Client->installEventFilter(this);
    CB_Client->lineEdit()->installEventFilter(this);
    L_PC->setBuddy(CB_Client);
    SB_StartMonitorizacion = Boton("SB_StartMonitorizacion", QStringLiteral("Ver el PC"), this);
    SB_StartMonitorizacion->setIcon(style()->standardIcon(QStyle::SP_DesktopIcon));
    SB_ControlPC = Boton("SB_ControlPC", QStringLiteral("Tomar el control del PC"), this);
    SB_ControlPC->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    panel_ = new TPanelBusqueda(red.Principal.Contexto().Textos(), red.Busqueda, false, this);
    panel_->Configurados = [this] { return red_.Ajustes.PCsServer(); };

    auto* linea = new QFrame(this);
    linea->setFrameShape(QFrame::HLine);
    linea->setFrameShadow(QFrame::Sunken);
    CBoxMonitoMiPC = new QCheckBox(QStringLiteral("Permitir monitorizar mi PC"), this);
    CBoxMonitoMiPC->setObjectName(QStringLiteral("CBoxMonitoMiPC"));
    SB_OpcionesViewer = Boton("SB_OpcionesViewer", QStringLiteral("Opciones del visor"), this);
    SB_OpcionesServer = Boton("SB_OpcionesServer", QStringLiteral("Opciones del servidor"), this);
    SB_CortarMonitorizaciones = Boton("SB_CortarMonitorizaciones", QStringLiteral("Cortar monitorizaciones"), this);
    SB_ConectarOtrousuario = Boton("SB_ConectarOtrousuario", QStringLiteral("Conectar otro usuario a mi PC"), this);
    BtnCerrar = Boton("BtnCerrar", QStringLiteral("Cerrar"), this);
    BtnCerrar->setMinimumWidth(85);

    auto* filaPC = new QHBoxLayout;
    filaPC->addWidget(L_PC);
    filaPC->addWidget(CB_Client, 1);
    // With the control button hidden, the watch button takes the whole row.
    auto* ver = new QHBoxLayout;
    ver->addWidget(SB_StartMonitorizacion, 1);
    ver->addWidget(SB_ControlPC, 1);
    auto* servidor = new QGridLayout;
    servidor->addWidget(SB_OpcionesViewer, 0, 0);
    servidor->addWidget(SB_OpcionesServer, 0, 1);
    servidor->addWidget(SB_CortarMonitorizaciones, 1, 0);
    servidor->addWidget(SB_ConectarOtrousuario, 1, 1);
    auto* cerrar = new QHBoxLayout;
    cerrar->addStretch();
    cerrar->addWidget(BtnCerrar);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(filaPC);
    columna->addLayout(ver);
    columna->addWidget(panel_, 1);
    columna->addWidget(linea);
    columna->addWidget(CBoxMonitoMiPC);
    columna->addLayout(servidor);
    columna->addLayout(cerrar);
    setMinimumWidth(472);
    resize(472, 420);

    connect(SB_StartMonitorizacion, &QPushButton::clicked, this, &TForm_Remoto::SB_StartMonitorizacionClick);
    connect(SB_ControlPC, &QPushButton::clicked, this, &TForm_Remoto::SB_ControlPCClick);
    connect(CBoxMonitoMiPC, &QCheckBox::clicked, this, &TForm_Remoto::CBoxMonitoMiPCClick);
    connect(SB_OpcionesViewer, &QPushButton::clicked, this, [this] { red_.Puesto.OpcionesVisorRemoto(); });
    connect(SB_OpcionesServer, &QPushButton::clicked, this, [this] { red_.Puesto.OpcionesServidorRemoto(); });
    connect(SB_CortarMonitorizaciones, &QPushButton::clicked, this, [this] { red_.Puesto.CortarTodoRemoto(); });
    connect(SB_ConectarOtrousuario, &QPushButton::clicked, this, &TForm_Remoto::SB_ConectarOtrousuarioClick);
    connect(BtnCerrar, &QPushButton::clicked, this, &QDialog::accept);
    connect(panel_, &TPanelBusqueda::SeleccionCambiada, this,
            [this](const QStringList& textos) { CB_Client->setEditText(textos.first()); });

    setTabOrder(CB_Client, SB_StartMonitorizacion);
    setTabOrder(SB_StartMonitorizacion, SB_ControlPC);
    setTabOrder(SB_ControlPC, panel_->BotonBuscar());
    setTabOrder(panel_->BotonBuscar(), panel_->Arbol());
    setTabOrder(panel_->Arbol(), CBoxMonitoMiPC);
    setTabOrder(CBoxMonitoMiPC, SB_OpcionesViewer);
    setTabOrder(SB_OpcionesViewer, SB_OpcionesServer);
    setTabOrder(SB_OpcionesServer, SB_CortarMonitorizaciones);
    setTabOrder(SB_CortarMonitorizaciones, SB_ConectarOtrousuario);
    setTabOrder(SB_ConectarOtrousuario, BtnCerrar);
}

void TForm_Remoto::AlMostrar()
{
    const bool activo = red_.Ajustes.RemotoActivo();
    {
        // Showing the stored state is not a click: nothing is started or written.
        const QSignalBlocker bloqueo(CBoxMonitoMiPC);
        CBoxMonitoMiPC->setChecked(activo);
    }
    HabilitarServidor(activo);

    avanzado_ = red_.Ajustes.UsuarioAvanzado();
    SB_ControlPC->setVisible(avanzado_);
    SB_OpcionesServer->setVisible(avanzado_);
    CBoxMonitoMiPC->setVisible(avanzado_);

    CB_Client->clear();
    CB_Client->addItems(red_.Ajustes.PCsServer());
    CB_Client->setEditText(red_.Ajustes.UltimoPC());
    CB_Client->setFocus();
}

bool TForm_Remoto::eventFilter(QObject* objeto, QEvent* evento)
{
    // Enter in the PC box watches that PC.
    if ((objeto == CB_Client || objeto == CB_Client->lineEdit()) && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            SB_StartMonitorizacionClick();
            return true;
        }
    }
    return TFormulario::eventFilter(objeto, evento);
}

void TForm_Remoto::HabilitarServidor(bool activo)
{
    for (QPushButton* b : {SB_OpcionesServer, SB_CortarMonitorizaciones, SB_ConectarOtrousuario})
        b->setEnabled(activo);
}

QString TForm_Remoto::NombrePC() const
{
    return NombreDeEntrada(CB_Client->currentText());
}

void TForm_Remoto::SB_StartMonitorizacionClick()
{
    const QString nombre = NombrePC();
    if (nombre.isEmpty())
        return;
    red_.Puesto.VerRemoto(nombre);
    red_.Ajustes.EscribirUltimoPC(CB_Client->currentText().trimmed());
}

void TForm_Remoto::SB_ControlPCClick()
{
    const QString nombre = NombrePC();
    if (nombre.isEmpty())
        return;
    // Reached in the normal profile (the button is hidden there), it only remembers the PC.
    if (avanzado_)
        red_.Puesto.ControlarRemoto(nombre);
    red_.Ajustes.EscribirUltimoPC(CB_Client->currentText().trimmed());
}

void TForm_Remoto::CBoxMonitoMiPCClick()
{
    const bool activo = CBoxMonitoMiPC->isChecked();
    // Only the server follows the box; pushed screens are taken while remote
    // monitoring is on at all.
    red_.Puesto.SetServidorRemoto(activo);
    red_.Ajustes.EscribirRemotoActivo(activo);
    HabilitarServidor(activo);
    perfil_ = activo;
}

void TForm_Remoto::SB_ConectarOtrousuarioClick()
{
    TForm_Conectar conectar(red_, this);
    if (conectar.Ejecutar() != QDialog::Accepted)
        return;
    // The server is told a PC name or address, never a list entry's decoration.
    for (const QString& n : conectar.Nombres())
        if (const QString nombre = NombreDeEntrada(n); !nombre.isEmpty())
            red_.Puesto.ConectarUsuarioRemoto(nombre);
}

void TForm_Remoto::reject()
{
    // Closing the window or Escape is "Cerrar": the state the check box set is applied.
    accept();
}

} // namespace qv

#include "app/ventana_principal.h"

#include "app/acerca.h"
#include "app/api/ventana_hija.h"
#include "app/ayuda.h"
#include "app/comandos_archivo.h"
#include "app/comandos_captura.h"
#include "app/comandos_puesto.h"
#include "app/comandos_representacion.h"
#include "app/comandos_ventanas.h"
#include "app/turno_puesto.h"
#include "capture/espera_ack.h"
#include "display/visualiza_senales_comun.h"
#include "link/servicios_puesto.h"
#include "link/turno_sad.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/ayuda.h"
#include "lang/ui/formulario.h"
#include "lang/ui/modal.h"
#include "lang/ui/textos_formularios.h"
#include "model/claves_texto.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

// Resources of a static library must be registered by name from outside any namespace.
static void IniciarRecursosPrincipal()
{
    Q_INIT_RESOURCE(recursos);
}

namespace qv {

namespace {

QLabel* IconoEstado(const char* nombre, const char* icono, QWidget* padre)
{
    auto* l = new QLabel(padre);
    l->setObjectName(QLatin1String(nombre));
    l->setPixmap(Icono(icono).pixmap(16, 16));
    l->setFixedSize(18, 18);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

TfrmPrincipal::TfrmPrincipal(TTextos& textos, TInteraccion& interaccion, TModal& modal,
                             IServiciosPuesto& puesto, TReloj& reloj,
                             const QString& carpetaPrograma, TDialogosArchivo* dialogos,
                             QWidget* parent)
    : QMainWindow(parent),
      puesto_(puesto),
      contexto_{{textos, interaccion, modal, nullptr}, reloj, dialogos ? *dialogos : dialogosNulos_,
                carpetaPrograma}
{
    IniciarRecursosPrincipal();
    // Help first: every form built from the context below takes it with a copy.
    ayuda_ = new TfrmAyuda(textos, carpetaPrograma + QStringLiteral("/help"), this);
    contexto_.Formulario.Ayuda = ayuda_;
    qApp->installEventFilter(new TAyudaMenus(*ayuda_, this));
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("QUORVANE"));
    setProperty(kPropiedadAyuda, ContextoAyuda);
    resize(800, 572);

    Area = new QMdiArea(this);
    Area->setObjectName(QStringLiteral("AreaMDI"));
    Area->setBackground(QColor(0x80, 0x80, 0x80));
    setCentralWidget(Area);

    Timer_Ocupado.setObjectName(QStringLiteral("Timer_Ocupado"));
    Timer_Ocupado.setInterval(IntervaloOcupado);
    connect(&Timer_Ocupado, &QTimer::timeout, this, &TfrmPrincipal::Timer_OcupadoTimer);

    archivo_ = std::make_unique<TComandosArchivo>(*this);
    ventanas_ = std::make_unique<TComandosVentanas>(*this);
    representacion_ = std::make_unique<TComandosRepresentacion>(*this);
    captura_ = std::make_unique<TComandosCaptura>(*this);
    puestoComandos_ = std::make_unique<TComandosPuesto>(*this, puesto_);
    CrearComandos();
    CrearBarraEstado();
    AboutBox = new TAboutBox(contexto_.Formulario, this);

    // Every change of the state and of the active child enables the commands anew.
    connect(&estado_, &TEstadoPrograma::Cambiado, this, &TfrmPrincipal::ActualizarMenus);
    // Out of the command's own ending, never inside it: closing frees the device service.
    connect(&estado_, &TEstadoPrograma::OcupadoCambiado, this, [this](bool ocupado) {
        if (!ocupado && std::exchange(cerrarAlTerminar_, false))
            QTimer::singleShot(0, this, &QWidget::close);
    });
    // The active signal window also says when what it offers changes ("Datos", the
    // measurements button).
    connect(Area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        disconnect(ofertaActiva_);
        if (auto* v = sub ? qobject_cast<TVentanaSenales*>(sub->widget()) : nullptr)
            ofertaActiva_ = connect(v, &TVentanaSenales::OfertaCambiada, this, &TfrmPrincipal::ActualizarMenus);
        ActualizarMenus();
        // No active window: the last one may still be leaving the area's list.
        if (!sub)
            QTimer::singleShot(0, this, &TfrmPrincipal::ActualizarMenus);
    });
    connect(&estado_, &TEstadoPrograma::PuestoCambiado, this, &TfrmPrincipal::MostrarPuesto);
    // Deleted and renamed signals: every child showing them follows, the data table
    // as well as the signal windows (a renamed one keeps its samples).
    connect(&estado_, &TEstadoPrograma::SenalesQuitadas, this, [this](const QStringList& nombres) {
        for (const QString& nombre : nombres)
            ParaCadaHija([&](IVentanaHija& h) { h.QuitarSenal(nombre); });
    });
    connect(&estado_, &TEstadoPrograma::SenalRenombrada, this, [this](const QString& anterior, const QString& nuevo) {
        ParaCadaHija([&](IVentanaHija& h) { h.RenombrarSenal(anterior, nuevo); });
    });
    FormCreate();
}

TfrmPrincipal::~TfrmPrincipal()
{
    // Child windows look the state up while they go; they must go first.
    estado_.Cerrando = true;
    delete Area;
    Area = nullptr;
}

// ---- commands ------------------------------------------------------------------------

void TfrmPrincipal::CrearComandos()
{
    TAreasComandos areas{*this, *archivo_, *ventanas_, *representacion_, *captura_, *puestoComandos_};
    comandos_ = std::make_unique<TComandosPrincipal>(*this, contexto_.Textos(), TablaComandos(areas),
                                                     [this] { return HayHija() ? HijaActiva() : nullptr; });
    if (QMenu* ventana = findChild<QMenu*>(QStringLiteral("Ventana1")))
        connect(ventana, &QMenu::aboutToShow, this, [this, ventana] { ventanas_->MenuVentanas(*ventana); });
}

std::vector<TTextoControl> TfrmPrincipal::TablaTextos() const
{
    std::vector<TTextoControl> tabla = TablaFormulario(Formulario);
    for (const TTextoControl& t : comandos_->Textos())
        tabla.push_back(t);
    return tabla;
}

void TfrmPrincipal::Ejecutar(TComando comando)
{
    comandos_->Ejecutar(comando);
}

IVentanaHija* TfrmPrincipal::HijaActivaCualquiera() const
{
    QMdiSubWindow* sub = Area ? Area->currentSubWindow() : nullptr;
    if (!sub && Area && !Area->subWindowList().isEmpty())
        sub = Area->subWindowList().last();
    return sub ? dynamic_cast<IVentanaHija*>(sub->widget()) : nullptr;
}

IVentanaHija* TfrmPrincipal::HijaActiva() const
{
    return HijaActivaCualquiera();
}

bool TfrmPrincipal::HayHija() const
{
    if (!Area || Area->subWindowList().isEmpty())
        return false;
    IVentanaHija* h = HijaActivaCualquiera();
    return !(h && h->TipoVentana() == TTipoVentana::ConfigZD801);
}

bool TfrmPrincipal::HaySenalesVisibles() const
{
    IVentanaHija* h = HayHija() ? HijaActiva() : nullptr;
    return h && h->Admite(TComando::Datos);
}

void TfrmPrincipal::ActualizarMenus()
{
    if (estado_.Cerrando || !Area || !comandos_)
        return;
    const bool hija = HayHija();
    comandos_->Actualizar({estado_, hija, hija ? HijaActiva() : nullptr, mostrado_, estado_.Multipuesto(),
                           estado_.UnidadTomada(), remotoVisible_});
}

// ---- status bar ---------------------------------------------------------------------

void TfrmPrincipal::CrearBarraEstado()
{
    QStatusBar* barra = statusBar();
    barra->setObjectName(QStringLiteral("StatusBar1"));
    barra->setFixedHeight(22);
    barra->setSizeGripEnabled(false);

    auto panel = [barra](const char* nombre, const char* si, const char* iconoSi, const char* no,
                         const char* iconoNo, QLabel*& lSi, QLabel*& lNo) {
        auto* p = new QWidget(barra);
        p->setObjectName(QLatin1String(nombre));
        auto* capa = new QHBoxLayout(p);
        capa->setContentsMargins(2, 0, 2, 0);
        lSi = IconoEstado(si, iconoSi, p);
        lNo = IconoEstado(no, iconoNo, p);
        capa->addWidget(lSi);
        capa->addWidget(lNo);
        lSi->hide();
        return p;
    };
    QWidget* panelRemoto = panel("PanelRemoto", "I_RemotoSi", "remoto_si", "I_RemotoNo", "remoto_no",
                                 I_RemotoSi, I_RemotoNo);
    PE = new QLabel(barra);
    PE->setObjectName(QStringLiteral("PE"));
    QWidget* panelPuesto = panel("PanelPuesto", "I_Multi", "multi", "I_Mono", "mono", I_Multi, I_Mono);
    PanelSAD = panel("PanelSAD", "I_SADSi", "sad_si", "I_SADNo", "sad_no", I_SADSi, I_SADNo);
    PanelSAD->hide();

    barra->addWidget(panelRemoto);
    barra->addWidget(PE, 1);
    barra->addPermanentWidget(panelPuesto);
    barra->addPermanentWidget(PanelSAD);
}

// ---- creation and first show ---------------------------------------------------------

void TfrmPrincipal::FormCreate()
{
    estado_.Vaciar();
    // The decimal separator is fixed for the whole process at program entry
    // (QLocale::setDefault(QLocale::c())); number text never goes through the system locale.
    estado_.PonerMonitorizando(false);
    maxSenalesAna_ = 8;
    maxSenalesDig_ = 16;
    estado_.Cerrando = false;
    estado_.MarcarGuardado();
    // The help is a folder of pages, one per help number (the help window reads it).
    FicheroAyuda = contexto_.CarpetaPrograma + QStringLiteral("/help");
    remotoVisible_ = false;
    perfilRemoto_ = false;
    remotoPermitido_ = puesto_.LeerHayRed();
    AplicarRemoto(puesto_.LeerRemotoHabilitado());
}

void TfrmPrincipal::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (!mostrado_) {
        mostrado_ = true;
        FormShow();
    }
}

void TfrmPrincipal::FormShow()
{
    TCursorOcupado cursor(contexto_.Interaccion());
    CrearEnlace();
    PonerSADOcupado(false);
    const bool multi = puesto_.LeerMultipuesto();
    estado_.Enlace()->SetTipoConexion(multi);
    AplicarModoPuesto(multi);
    AplicarTextosFormulario(*this, TablaTextos(), contexto_.Textos());
    // Hints of the tool buttons also go to the status panel.
    for (QToolBar* barra : comandos_->Barras())
        for (QAction* a : barra->actions())
            if (!a->isSeparator())
                a->setStatusTip(a->toolTip());
    estado_.ModeloM = puesto_.LeerModeloM();
}

void TfrmPrincipal::CrearEnlace()
{
    if (!estado_.Enlace())
        estado_.PonerEnlace(std::make_unique<TServicioSAD>(contexto_.Textos(), contexto_.Interaccion(),
                                                         contexto_.Reloj, puesto_.LeerPuertosSerie()));
}

bool TfrmPrincipal::event(QEvent* e)
{
    // The status panel PE shows the current hint; the status bar itself never replaces
    // its panels with a temporary message.
    if (e->type() == QEvent::StatusTip) {
        if (PE)
            PE->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TfrmPrincipal::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F1 && contexto_.Formulario.Ayuda) {
        if (const int n = NumeroAyuda(focusWidget() ? focusWidget() : this); n > 0)
            contexto_.Formulario.Ayuda->MostrarAyuda(n);
        return;
    }
    QMainWindow::keyPressEvent(e);
}

void TfrmPrincipal::MostrarEstado(const QString& texto)
{
    PE->setText(texto);
}

// ---- station rules -----------------------------------------------------------------

void TfrmPrincipal::AplicarModoPuesto(bool multipuesto)
{
    Timer_Ocupado.stop();
    estado_.PonerMultipuesto(multipuesto);
    if (multipuesto)
        puesto_.IniciarRelay();
    else
        puesto_.DetenerRelay();
}

void TfrmPrincipal::PonerSADOcupado(bool ocupado)
{
    estado_.PonerUnidadTomada(ocupado);
    // The reminder is about a held unit: it (re)starts whenever the unit is taken.
    if (ocupado)
        Timer_Ocupado.start();
    else
        Timer_Ocupado.stop();
}

void TfrmPrincipal::MostrarPuesto(bool multipuesto, bool unidadTomada)
{
    PanelSAD->setVisible(multipuesto);
    I_Multi->setVisible(multipuesto);
    I_Mono->setVisible(!multipuesto);
    I_SADSi->setVisible(unidadTomada);
    I_SADNo->setVisible(!unidadTomada);
}

void TfrmPrincipal::AplicarRemoto(bool habilitado)
{
    if (!remotoPermitido_)
        habilitado = false;
    if (habilitado != remotoVisible_) {
        remotoVisible_ = habilitado;
        if (habilitado) {
            puesto_.EscucharRemoto();
            // The server follows "Activo" from the first moment: it is set every time,
            // not only on a change, so that a PC that may not be watched serves nothing.
            perfilRemoto_ = puesto_.LeerRemotoActivo();
            puesto_.SetServidorRemoto(perfilRemoto_);
        } else {
            puesto_.DetenerRemoto();
            perfilRemoto_ = false;
        }
    }
    I_RemotoNo->setVisible(!remotoVisible_);
    I_RemotoSi->setVisible(remotoVisible_);
    ActualizarMenus();
}

void TfrmPrincipal::PonerPerfilRemoto(bool perfil)
{
    if (perfil == perfilRemoto_)
        return;
    perfilRemoto_ = perfil;
    if (remotoPermitido_)
        puesto_.SetServidorRemoto(perfil);
}

bool TfrmPrincipal::DetenerRecordatorio()
{
    const bool activo = Timer_Ocupado.isActive();
    Timer_Ocupado.stop();
    return activo;
}

void TfrmPrincipal::RestaurarRecordatorio(bool activo)
{
    if (activo)
        Timer_Ocupado.start();
    else
        Timer_Ocupado.stop();
}

void TfrmPrincipal::Timer_OcupadoTimer()
{
    QString texto = contexto_.Textos().BuscarTexto(275);
    if (const int esperan = puestoComandos_->Turno().Esperan(); esperan > 0)
        texto += QLatin1Char(' ') + RellenarTexto(contexto_.Textos().BuscarTexto(clave::EsperanTurno),
                                                  {QString::number(esperan)});
    contexto_.Interaccion().MostrarAviso(texto, Botones::Aceptar);
}

// ---- child windows -----------------------------------------------------------------

void TfrmPrincipal::CerrarVentanas()
{
    ventanas_->CerrarVentanas();
}

int TfrmPrincipal::NuevoNumeroVentana()
{
    return ventanas_->NuevoNumeroVentana();
}

int TfrmPrincipal::ContadorVentanas() const
{
    return ventanas_->ContadorVentanas();
}

void TfrmPrincipal::CerrarVentanaActiva()
{
    if (QMdiSubWindow* s = Area->currentSubWindow())
        delete s;
    ActualizarMenus();
}

void TfrmPrincipal::ParaCadaHija(const std::function<void(IVentanaHija&)>& f)
{
    QList<QPointer<QMdiSubWindow>> hijas;
    for (QMdiSubWindow* s : Area->subWindowList())
        hijas << s;
    for (const auto& s : hijas)
        // A window left without signals may close itself meanwhile.
        if (s)
            if (auto* h = dynamic_cast<IVentanaHija*>(s->widget()))
                f(*h);
}

void TfrmPrincipal::CerrarClick()
{
    archivo_->CerrarClick();
}

void TfrmPrincipal::GuardarArchivoClick()
{
    archivo_->GuardarArchivoClick();
}

bool TfrmPrincipal::GuardarAntesDeDescartar(int pregunta)
{
    return archivo_->GuardarAntesDeDescartar(pregunta);
}

// ---- about ---------------------------------------------------------------------------

void TfrmPrincipal::AcercadeClick()
{
    AboutBox->Ejecutar();
}

void TfrmPrincipal::Temasdeayuda1Click()
{
    ayuda_->MostrarAyuda(ContextoAyuda);
}

// ---- closing -------------------------------------------------------------------------

bool TfrmPrincipal::FormCloseQuery()
{
    // The save question comes first: kept changes keep the unit held as well.
    if (estado_.Modificado() && !archivo_->GuardarAntesDeDescartar(clave::Cambios))
        return false;
    if (estado_.Multipuesto() && estado_.UnidadTomada()) {
        if (contexto_.Interaccion().MostrarInformacion(contexto_.Textos().BuscarTexto(276),
                                                       Botones::AceptarCancelar)
            != Respuesta::Aceptar)
            return false;
        if (estado_.Enlace())
            estado_.Enlace()->Encargar([](TComCapvis& c) { c.Desconectar(); });
        PonerSADOcupado(false);
    }
    // A set whose file had no readable configuration goes too.
    archivo_->Descartar();
    return true;
}

void TfrmPrincipal::FormClose()
{
    estado_.Cerrando = true;
    Timer_Ocupado.stop();
    CerrarVentanas();
    estado_.Vaciar();
    estado_.PonerEnlace(nullptr);
}

void TfrmPrincipal::closeEvent(QCloseEvent* e)
{
    // A command talking to the unit ends first: its conversation is told to stop, and
    // the command, which looks at Cerrando after every wait, starts nothing more and
    // asks nothing more. The window closes once it has ended.
    if (estado_.Ocupado()) {
        cerrarAlTerminar_ = true;
        estado_.Cerrando = true;
        // As its "Cancelar" would: a read-back does not wait for its reply to drain.
        for (TfrmEsperaAck* espera : findChildren<TfrmEsperaAck*>())
            espera->Cancelar();
        if (estado_.Enlace())
            estado_.Enlace()->Cancelar();
        e->ignore();
        return;
    }
    // Kept open (the save question cancelled): the program goes on as before.
    estado_.Cerrando = false;
    if (!FormCloseQuery()) {
        ActualizarMenus();
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

} // namespace qv

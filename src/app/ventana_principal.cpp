#include "app/ventana_principal.h"

#include "app/acerca.h"
#include "app/api/ventana_hija.h"
#include "app/servicios_puesto.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/modal.h"
#include "lang/ui/textos_formularios.h"

#include <QCloseEvent>
#include <QHBoxLayout>
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

const char* const kContextoAyuda = "contextoAyuda";
const char* const kListaVentanas = "listaVentanas";
constexpr int kTextoSinDigitales = 102;

void Habilitar(QAction* a, bool si) { a->setEnabled(si); }
void Habilitar(QMenu* m, bool si) { m->menuAction()->setEnabled(si); }
void Mostrar(QMenu* m, bool si) { m->menuAction()->setVisible(si); }

QIcon Icono(const char* nombre)
{
    return QIcon(QStringLiteral(":/iconos/%1.svg").arg(QLatin1String(nombre)));
}

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

TDialogoFichero::TDialogoFichero(const QString& nombreObjeto, const QString& filtro,
                                 const QString& extension, const QString& nombreInicial,
                                 QObject* parent)
    : QObject(parent), Nombre(nombreInicial), extension_(extension)
{
    setObjectName(nombreObjeto);
    setProperty("filter", filtro);
    setProperty("windowTitle", QString());
}

TfrmPrincipal::TfrmPrincipal(TTextos& textos, TInteraccion& interaccion, TModal& modal,
                             IServiciosPuesto& puesto, TReloj& reloj,
                             const QString& carpetaPrograma, TDialogosArchivo* dialogos,
                             QWidget* parent)
    : QMainWindow(parent),
      textos_(textos),
      interaccion_(interaccion),
      modal_(modal),
      puesto_(puesto),
      reloj_(reloj),
      carpetaPrograma_(carpetaPrograma),
      dialogos_(dialogos ? dialogos : &dialogosNulos_)
{
    IniciarRecursosPrincipal();
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("QUORVANE"));
    setProperty(kContextoAyuda, ContextoAyuda);
    resize(800, 572);

    Area = new QMdiArea(this);
    Area->setObjectName(QStringLiteral("AreaMDI"));
    Area->setBackground(QColor(0x80, 0x80, 0x80));
    setCentralWidget(Area);

    Timer_Ocupado.setObjectName(QStringLiteral("Timer_Ocupado"));
    Timer_Ocupado.setInterval(IntervaloOcupado);
    connect(&Timer_Ocupado, &QTimer::timeout, this, &TfrmPrincipal::Timer_OcupadoTimer);

    CrearControles();
    ConectarComandosArchivo();
    AboutBox = new TAboutBox(textos_, this);
    FormCreate();
}

TfrmPrincipal::~TfrmPrincipal()
{
    // Child windows look the state up while they go; they must go first.
    estado_.Cerrando = true;
    delete Area;
    Area = nullptr;
}

void TfrmPrincipal::CrearControles()
{
    CrearBarras();
    CrearMenus();
    CrearBarraEstado();
    CrearDialogos();
}

void TfrmPrincipal::CrearBarras()
{
    auto accion = [this](const char* nombre, const QString& texto, const char* icono, int ayuda) {
        auto* a = new QAction(Icono(icono), texto, this);
        a->setObjectName(QLatin1String(nombre));
        a->setToolTip(texto);
        if (ayuda > 0)
            a->setProperty(kContextoAyuda, ayuda);
        return a;
    };

    BarraHerramientas = new QToolBar(this);
    BarraHerramientas->setObjectName(QStringLiteral("ToolBar1"));
    BarraHerramientas->setMovable(false);
    BarraHerramientas->setFloatable(false);
    BarraHerramientas->setIconSize(QSize(16, 16));
    BarraHerramientas->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Captions must fit the narrow 45-pixel buttons.
    BarraHerramientas->setStyleSheet(
        QStringLiteral("QToolButton { padding: 0px; margin: 0px; font-size: 7pt; }"));
    addToolBar(Qt::TopToolBarArea, BarraHerramientas);

    SpBtnAbrir = accion("SpBtnAbrir", QStringLiteral("Abrir"), "abrir", 150);
    GuardarArchivo = accion("GuardarArchivo", QStringLiteral("Guardar"), "guardar", 149);
    SpBtnImprimir = accion("SpBtnImprimir", QStringLiteral("Print."), "imprimir", 224);
    SpBtnES = accion("SpBtnES", QStringLiteral("E/S"), "es", 8);
    SpBtnProgramar = accion("SpBtnProgramar", QStringLiteral("Prog."), "prog", 130);
    SpBtnLeer = accion("SpBtnLeer", QStringLiteral("Leer"), "leer", 145);
    SpBtnTest = accion("SpBtnTest", QStringLiteral("Test"), "test", 146);
    SpBtnAbortar = accion("SpBtnAbortar", QStringLiteral("Abortar"), "abortar", 140);
    Btn_Ocupar = accion("Btn_Ocupar", QStringLiteral("Ocupar"), "ocupar", 0);
    Btn_Liberar = accion("Btn_Liberar", QStringLiteral("Liberar"), "liberar", 0);
    Btn_Remoto = accion("Btn_Remoto", QStringLiteral("Remoto"), "remoto", 0);
    SpBtnAyuda = accion("SpBtnAyuda", QStringLiteral("Ayuda"), "ayuda", 249);

    auto separador = [this](const char* nombre) {
        QAction* s = BarraHerramientas->addSeparator();
        s->setObjectName(QLatin1String(nombre));
        return s;
    };
    for (QAction* a : {SpBtnAbrir, GuardarArchivo, SpBtnImprimir})
        BarraHerramientas->addAction(a);
    separador("SepArchivo");
    BarraHerramientas->addAction(SpBtnES);
    separador("SepES");
    for (QAction* a : {SpBtnProgramar, SpBtnLeer, SpBtnTest, SpBtnAbortar})
        BarraHerramientas->addAction(a);
    separador("SepCaptacion");
    BarraHerramientas->addAction(Btn_Ocupar);
    BarraHerramientas->addAction(Btn_Liberar);
    SepOcupar = separador("SepOcupar");
    BarraHerramientas->addAction(Btn_Remoto);
    SepRemoto = separador("SepRemoto");
    BarraHerramientas->addAction(SpBtnAyuda);
    for (QAction* a : BarraHerramientas->actions())
        if (QWidget* w = BarraHerramientas->widgetForAction(a); w && !a->isSeparator())
            w->setFixedSize(45, 36);

    BarraRepresentacion = new QToolBar(this);
    BarraRepresentacion->setObjectName(QStringLiteral("ToolBar2"));
    BarraRepresentacion->setMovable(false);
    BarraRepresentacion->setFloatable(false);
    BarraRepresentacion->setOrientation(Qt::Vertical);
    BarraRepresentacion->setIconSize(QSize(20, 20));
    BarraRepresentacion->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::LeftToolBarArea, BarraRepresentacion);

    SpBtnElegir = accion("SpBtnElegir", QStringLiteral("Elegir"), "elegir", 154);
    SpBtnDatos = accion("SpBtnDatos", QStringLiteral("Datos"), "datos", 194);
    SpBtnTabla = accion("SpBtnTabla", QStringLiteral("Tabla"), "tabla", 181);
    spBtnCalculadora = accion("spBtnCalculadora", QStringLiteral("Calcula."), "calcula", 200);
    SpBtnZoomIn = accion("SpBtnZoomIn", QStringLiteral("Zoom +"), "zoom_mas", 151);
    SpBtnZoomOut = accion("SpBtnZoomOut", QStringLiteral("Zoom -"), "zoom_menos", 151);
    SpBtnCursores = accion("SpBtnCursores", QStringLiteral("Cursor"), "cursor", 164);
    SpBtnAnalogica = accion("SpBtnAnalogica", QStringLiteral("Analog."), "analog", 178);
    SpBtnDigital = accion("SpBtnDigital", QStringLiteral("Digital"), "digital", 178);
    for (QAction* a : {SpBtnElegir, SpBtnDatos, SpBtnTabla, spBtnCalculadora, SpBtnZoomIn,
                       SpBtnZoomOut, SpBtnCursores, SpBtnAnalogica, SpBtnDigital}) {
        BarraRepresentacion->addAction(a);
        if (QWidget* w = BarraRepresentacion->widgetForAction(a))
            w->setFixedSize(26, 26);
    }

}

void TfrmPrincipal::CrearMenus()
{
    auto menu = [](QMenu* m, const char* nombre, int ayuda = 0) {
        m->setObjectName(QLatin1String(nombre));
        if (ayuda > 0)
            m->menuAction()->setProperty(kContextoAyuda, ayuda);
        return m;
    };
    auto item = [this](QMenu* m, const char* nombre, const QString& texto, int ayuda) {
        auto* a = new QAction(texto, this);
        a->setObjectName(QLatin1String(nombre));
        if (ayuda > 0)
            a->setProperty(kContextoAyuda, ayuda);
        m->addAction(a);
        return a;
    };
    const auto u = [](const char* s) { return QString::fromUtf8(s); };
    QMenuBar* barra = menuBar();
    barra->setObjectName(QStringLiteral("MainMenu1"));

    Archivo1 = menu(barra->addMenu(u("&Archivo")), "Archivo1");
    Abrir1 = item(Archivo1, "Abrir1", u("A&brir"), 150);
    GuardarArchivo1 = item(Archivo1, "GuardarArchivo1", u("&Guardar"), 149);
    Guardarcomo1 = item(Archivo1, "Guardarcomo1", u("Guardar como ..."), 149);
    Cerrar = item(Archivo1, "Cerrar", u("Cerrar"), 0);
    Archivo1->addSeparator();
    Anadir = item(Archivo1, "Anadir", u("Añadir señales de fichero"), 169);
    Comentario2 = item(Archivo1, "Comentario2", u("C&omentario"), 231);
    Archivo1->addSeparator();
    ExportarBMP1 = menu(Archivo1->addMenu(u("Exportar BMP")), "ExportarBMP1", 234);
    ExportarPantalla1 = item(ExportarBMP1, "ExportarPantalla1", u("a fichero"), 234);
    aportapapeles1 = item(ExportarBMP1, "aportapapeles1", u("a portapapeles"), 234);
    ExportarWMF = item(Archivo1, "ExportarWMF", u("Exportar WMF"), 236);
    ExportarTXT1 = item(Archivo1, "ExportarTXT1", u("Exportar TXT"), 235);
    Archivo1->addSeparator();
    Presentacinpreliminar1 = item(Archivo1, "Presentacinpreliminar1", u("&Imprimir..."), 224);
    Archivo1->addSeparator();
    Salir1 = item(Archivo1, "Salir1", u("&Salir"), 248);

    Configuracion1 = menu(barra->addMenu(u("Con&figuración")), "Configuracion1");
    VerConfig1 = item(Configuracion1, "VerConfig1", u("ZD801 Entradas/Salidas"), 8);
    Configuracion1->addSeparator();
    CargarConfES1 = item(Configuracion1, "CargarConfES1", u("Abrir archivo configuración"), 9);
    GrabarConES1 = item(Configuracion1, "GrabarConES1", u("&Guardar archivo configuración"), 10);
    Gurardarcomo1 = item(Configuracion1, "Gurardarcomo1", u("Guardar como ..."), 10);
    Configuracion1->addSeparator();
    OpcionesQUORVANE = item(Configuracion1, "OpcionesQUORVANE", u("Opciones QUORVANE"), 0);

    Captacion1 = menu(barra->addMenu(u("&Captación")), "Captacion1");
    ProgramarCaptacion1 = menu(Captacion1->addMenu(u("Programar Captacion")), "ProgramarCaptacion1", 129);
    Inmediata = item(ProgramarCaptacion1, "Inmediata", u("Inmediata "), 130);
    Retardada = item(ProgramarCaptacion1, "Retardada", u("Retardada"), 131);
    Trigger1 = menu(ProgramarCaptacion1->addMenu(u("Trigger")), "Trigger1", 129);
    analgico1 = item(Trigger1, "analgico1", u("analógico"), 133);
    digital1 = item(Trigger1, "digital1", u("digital"), 137);
    LecturaDatos1 = item(Captacion1, "LecturaDatos1", u("Lectura Datos Captación"), 145);
    AbortarCaptacion1 = item(Captacion1, "AbortarCaptacion1", u("&Abortar Captacion"), 140);
    Captacion1->addSeparator();
    TestPresencia1 = item(Captacion1, "TestPresencia1", u("&Test Estado Interface"), 146);
    Captacion1->addSeparator();
    Monitorizar1 = item(Captacion1, "Monitorizar1", u("Monitorizar"), 141);
    MonitorContinua = item(Captacion1, "MonitorContinua", u("Monitorización contínua"), 144);

    Representacion1 = menu(barra->addMenu(u("Representación")), "Representacion1");
    Elegir1 = item(Representacion1, "Elegir1", u("Seleccionar señales"), 154);
    Datossingulares1 = item(Representacion1, "Datossingulares1", u("Datos singulares"), 194);
    VentanadeDatos1 = item(Representacion1, "VentanadeDatos1", u("Tabla datos"), 181);
    Calculadora1 = item(Representacion1, "Calculadora1", u("Calculadora"), 200);
    Representacion1->addSeparator();
    ZoomIn1 = item(Representacion1, "ZoomIn1", u("Zoom +"), 151);
    ZoomOut1 = item(Representacion1, "ZoomOut1", u("Zoom -"), 151);
    Cursores1 = item(Representacion1, "Cursores1", u("Cursores"), 164);
    Representacion1->addSeparator();
    DefinirRepresentacin1 = item(Representacion1, "DefinirRepresentacin1", u("Definir representación"), 168);
    Representacion1->addSeparator();
    Insertartexto1 = item(Representacion1, "Insertartexto1", u("Insertar texto"), 232);
    Borrarltimotexto1 = item(Representacion1, "Borrarltimotexto1", u("Borrar último texto"), 232);
    Borrartodoslostextos1 = item(Representacion1, "Borrartodoslostextos1", u("Borrar todos los textos"), 232);

    Ventana1 = menu(barra->addMenu(u("&Ventana")), "Ventana1");
    NuevaVentana1 = item(Ventana1, "NuevaVentana1", u("Nueva Ventana Analógica"), 178);
    VentanaDigital1 = item(Ventana1, "VentanaDigital1", u("Nueva Ventana Digital"), 178);
    Ventana1->addSeparator();
    CerrarVentana1 = item(Ventana1, "CerrarVentana1", u("Cerrar Ventana"), 180);
    CerrarTodas1 = item(Ventana1, "CerrarTodas1", u("Cerrar &Todas las Ventanas"), 180);
    Ventana1->addSeparator();
    Cascada1 = item(Ventana1, "Cascada1", u("&Cascada"), 179);
    TileHorizontal1 = item(Ventana1, "TileHorizontal1", u("Tile &Horizontal"), 179);
    TileVertical1 = item(Ventana1, "TileVertical1", u("Tile &Vertical"), 179);
    SepListaVentanas = Ventana1->addSeparator();
    connect(Ventana1, &QMenu::aboutToShow, this, &TfrmPrincipal::MenuVentanas);

    SAD1 = menu(barra->addMenu(u("SAD")), "SAD1");
    Ocupar1 = item(SAD1, "Ocupar1", u("Ocupar SAD"), 0);
    Liberar1 = item(SAD1, "Liberar1", u("Liberar SAD"), 0);
    SAD1->addSeparator();
    PCsEnRed = item(SAD1, "PCsEnRed", u("Editar lista de PCs en red"), 0);

    MonRemota1 = menu(barra->addMenu(u("Mon. Remota")), "MonRemota1");
    Remoto1 = item(MonRemota1, "Remoto1", u("Monitorización remota"), 0);
    PerfilRemota = item(MonRemota1, "PerfilRemota", u("Perfil de usuario"), 0);

    Ayuda1 = menu(barra->addMenu(u("Ay&uda")), "Ayuda1");
    Temasdeayuda1 = item(Ayuda1, "Temasdeayuda1", u("Temas de Ayuda"), 249);
    Ayuda1->addSeparator();
    Acercade = item(Ayuda1, "Acercade", u("Acerca de Quorvane..."), 0);

    connect(SpBtnAnalogica, &QAction::triggered, this, &TfrmPrincipal::NuevaVentana1Click);
    connect(NuevaVentana1, &QAction::triggered, this, &TfrmPrincipal::NuevaVentana1Click);
    connect(SpBtnDigital, &QAction::triggered, this, &TfrmPrincipal::VentanaDigital1Click);
    connect(VentanaDigital1, &QAction::triggered, this, &TfrmPrincipal::VentanaDigital1Click);
    connect(CerrarVentana1, &QAction::triggered, this, &TfrmPrincipal::CerrarVentana1Click);
    connect(CerrarTodas1, &QAction::triggered, this, &TfrmPrincipal::CerrarTodas1Click);
    connect(Cascada1, &QAction::triggered, this, &TfrmPrincipal::Cascada1Click);
    connect(TileHorizontal1, &QAction::triggered, this, &TfrmPrincipal::TileHorizontal1Click);
    connect(TileVertical1, &QAction::triggered, this, &TfrmPrincipal::TileVertical1Click);
    connect(Acercade, &QAction::triggered, this, &TfrmPrincipal::AcercadeClick);
    connect(Salir1, &QAction::triggered, this, &TfrmPrincipal::Salir1Click);
    connect(Cerrar, &QAction::triggered, this, &TfrmPrincipal::CerrarClick);
    connect(GuardarArchivo, &QAction::triggered, this, &TfrmPrincipal::GuardarArchivoClick);
    connect(GuardarArchivo1, &QAction::triggered, this, &TfrmPrincipal::GuardarArchivoClick);
}

void TfrmPrincipal::CrearBarraEstado()
{
    QStatusBar* barra = statusBar();
    barra->setObjectName(QStringLiteral("StatusBar1"));
    barra->setFixedHeight(22);
    barra->setSizeGripEnabled(false);

    auto* panelRemoto = new QWidget(barra);
    panelRemoto->setObjectName(QStringLiteral("PanelRemoto"));
    auto* capaRemoto = new QHBoxLayout(panelRemoto);
    capaRemoto->setContentsMargins(2, 0, 2, 0);
    I_RemotoSi = IconoEstado("I_RemotoSi", "remoto_si", panelRemoto);
    I_RemotoNo = IconoEstado("I_RemotoNo", "remoto_no", panelRemoto);
    capaRemoto->addWidget(I_RemotoSi);
    capaRemoto->addWidget(I_RemotoNo);
    I_RemotoSi->hide();

    PE = new QLabel(barra);
    PE->setObjectName(QStringLiteral("PE"));

    auto* panelPuesto = new QWidget(barra);
    panelPuesto->setObjectName(QStringLiteral("PanelPuesto"));
    auto* capaPuesto = new QHBoxLayout(panelPuesto);
    capaPuesto->setContentsMargins(2, 0, 2, 0);
    I_Mono = IconoEstado("I_Mono", "mono", panelPuesto);
    I_Multi = IconoEstado("I_Multi", "multi", panelPuesto);
    I_Mono->setToolTip(QStringLiteral("Monopuesto"));
    I_Multi->setToolTip(QStringLiteral("Aula Multi-Puesto"));
    capaPuesto->addWidget(I_Mono);
    capaPuesto->addWidget(I_Multi);
    I_Multi->hide();

    PanelSAD = new QWidget(barra);
    PanelSAD->setObjectName(QStringLiteral("PanelSAD"));
    auto* capaSAD = new QHBoxLayout(PanelSAD);
    capaSAD->setContentsMargins(2, 0, 2, 0);
    I_SADSi = IconoEstado("I_SADSi", "sad_si", PanelSAD);
    I_SADNo = IconoEstado("I_SADNo", "sad_no", PanelSAD);
    capaSAD->addWidget(I_SADSi);
    capaSAD->addWidget(I_SADNo);
    I_SADSi->hide();
    PanelSAD->hide();

    barra->addWidget(panelRemoto);
    barra->addWidget(PE, 1);
    barra->addPermanentWidget(panelPuesto);
    barra->addPermanentWidget(PanelSAD);
}

void TfrmPrincipal::CrearDialogos()
{
    const QString senales = QStringLiteral("*.qvn");
    const QString config = QStringLiteral("*.cfg");
    DlgAbrirSenales = new TDialogoFichero(QStringLiteral("DlgAbrirSenales"),
                                          QStringLiteral("Ficheros de señales|*.qvn"),
                                          QStringLiteral("qvn"), senales, this);
    DlgGuardarSenales = new TDialogoFichero(QStringLiteral("DlgGuardarSenales"),
                                            QStringLiteral("Ficheros de señales|*.qvn"),
                                            QStringLiteral("qvn"), senales, this);
    DlgAbrirConfig = new TDialogoFichero(QStringLiteral("DlgAbrirConfig"),
                                         QStringLiteral("Configuraciones|*.cfg"),
                                         QStringLiteral("cfg"), config, this);
    DlgGuardarConfig = new TDialogoFichero(QStringLiteral("DlgGuardarConfig"),
                                           QStringLiteral("Configuraciones|*.cfg"),
                                           QStringLiteral("cfg"), config, this);
    DlgGuardarBMP = new TDialogoFichero(QStringLiteral("DlgGuardarBMP"),
                                        QStringLiteral("Mapa de bits|*.bmp"),
                                        QStringLiteral("bmp"), QString(), this);
    DlgGuardarWMF = new TDialogoFichero(QStringLiteral("DlgGuardarWMF"),
                                        QStringLiteral("Windows Metafile|*.wmf"),
                                        QStringLiteral("wmf"), QString(), this);
    DlgExportarTXT = new TDialogoFichero(QStringLiteral("DlgExportarTXT"),
                                         QStringLiteral("Ficheros de texto|*.txt"),
                                         QStringLiteral("txt"), QString(), this);
}

void TfrmPrincipal::FormCreate()
{
    estado_.SenalesActuales.reset();
    estado_.ConfigActual.reset();
    estado_.OperacionesActuales.reset();
    // The decimal separator is fixed for the whole process at program entry
    // (QLocale::setDefault(QLocale::c())); number text never goes through the system locale.
    ActualizarMenus();
    DesactivarCaptacion();
    estado_.Monitorizando = false;
    contadorVentanas_ = 0;
    maxSenalesAna_ = 8;
    maxSenalesDig_ = 16;
    MarcarGuardado();
    estado_.Cerrando = false;
    FicheroAyuda = carpetaPrograma_ + QStringLiteral("/Quorvane.chm");
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
    interaccion_.CursorOcupado(true);
    CrearEnlace();
    PonerSADOcupado(false);
    const bool multi = puesto_.LeerMultipuesto();
    estado_.EnlaceSAD->SetTipoConexion(multi);
    AplicarModoPuesto(estado_.EnlaceSAD->EsTcp);
    AplicarTextosFormulario(*this, Formulario, textos_);
    // Hints of the tool buttons also go to the status panel.
    for (QToolBar* barra : {BarraHerramientas, BarraRepresentacion})
        for (QAction* a : barra->actions())
            if (!a->isSeparator())
                a->setStatusTip(a->toolTip());
    interaccion_.CursorOcupado(false);
    estado_.ModeloM = puesto_.LeerModeloM();
}

void TfrmPrincipal::CrearEnlace()
{
    if (!estado_.EnlaceSAD)
        estado_.EnlaceSAD = std::make_unique<TComCapvis>(textos_, interaccion_, reloj_,
                                                         puesto_.LeerPuertosSerie());
}

bool TfrmPrincipal::GetHAyDatos()
{
    int estadoUnidad = 0;
    hayDatos_ = estado_.EnlaceSAD && estado_.EnlaceSAD->LeerEstado(estadoUnidad)
                && (estadoUnidad == 2 || estadoUnidad == 3);
    return hayDatos_;
}

void TfrmPrincipal::FiltrarFFT(TSenalAna& senal, int tipoFiltro, double frecBaja, double frecAlta,
                               double referencia)
{
    estado_.FFT2.FiltrarFFT(senal, tipoFiltro, frecBaja, frecAlta, referencia);
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

void TfrmPrincipal::MostrarEstado(const QString& texto)
{
    PE->setText(texto);
}

// ---- command enabling ----------------------------------------------------------------

IVentanaHija* TfrmPrincipal::HijaActiva() const
{
    QMdiSubWindow* sub = Area ? Area->currentSubWindow() : nullptr;
    if (!sub && Area && !Area->subWindowList().isEmpty())
        sub = Area->subWindowList().last();
    return sub ? dynamic_cast<IVentanaHija*>(sub->widget()) : nullptr;
}

bool TfrmPrincipal::HayHija() const
{
    if (!Area || Area->subWindowList().isEmpty())
        return false;
    IVentanaHija* h = HijaActiva();
    return !(h && h->TipoVentana() == TTipoVentana::ConfigZD801);
}

bool TfrmPrincipal::HaySenales() const
{
    return estado_.SenalesActuales != nullptr;
}

bool TfrmPrincipal::ConjuntoLleno() const
{
    return estado_.HayConjunto();
}

void TfrmPrincipal::SeguirBotones()
{
    Habilitar(Abrir1, SpBtnAbrir->isEnabled());
    Habilitar(Elegir1, SpBtnElegir->isEnabled());
    Habilitar(Datossingulares1, SpBtnDatos->isEnabled());
    Habilitar(VentanadeDatos1, SpBtnTabla->isEnabled());
    Habilitar(Calculadora1, spBtnCalculadora->isEnabled());
    Habilitar(ZoomIn1, SpBtnZoomIn->isEnabled());
    Habilitar(ZoomOut1, SpBtnZoomOut->isEnabled());
    Habilitar(Cursores1, SpBtnCursores->isEnabled());
    const bool repr = Representacion1->menuAction()->isEnabled();
    for (QAction* a : {DefinirRepresentacin1, Insertartexto1, Borrarltimotexto1, Borrartodoslostextos1})
        Habilitar(a, repr);
    Habilitar(NuevaVentana1, SpBtnAnalogica->isEnabled());
    Habilitar(VentanaDigital1, SpBtnDigital->isEnabled());
}

void TfrmPrincipal::ActualizarMenus()
{
    const bool hija = HayHija();
    IVentanaHija* activa = hija ? HijaActiva() : nullptr;
    const bool conjunto = ConjuntoLleno();
    const bool config = estado_.ConfigActual != nullptr;

    // File group.
    Habilitar(SpBtnAbrir, true);
    Habilitar(SpBtnImprimir, hija);
    Habilitar(Anadir, conjunto);
    Habilitar(Archivo1, true);
    Habilitar(Cerrar, config);
    Habilitar(Guardarcomo1, conjunto);
    Habilitar(ExportarBMP1, hija);
    Habilitar(ExportarWMF, hija);
    Habilitar(Presentacinpreliminar1, hija && activa && activa->EsVentanaSenales());
    Habilitar(ExportarTXT1, conjunto);

    // Configuration group.
    Habilitar(Configuracion1, true);
    Habilitar(GrabarConES1, config);
    Habilitar(Gurardarcomo1, config);

    ActualizarComentario();

    // Representation group.
    Habilitar(Representacion1, hija);
    for (QAction* a : {SpBtnElegir, SpBtnTabla, SpBtnCursores, spBtnCalculadora, SpBtnZoomIn, SpBtnZoomOut})
        Habilitar(a, hija);
    Habilitar(SpBtnDatos, hija && haySenalesVisibles_);

    // Window group.
    Habilitar(Ventana1, hija || HaySenales());
    Habilitar(SpBtnAnalogica, conjunto);
    Habilitar(SpBtnDigital, conjunto);
    for (QAction* a : {CerrarTodas1, CerrarVentana1, Cascada1, TileHorizontal1, TileVertical1})
        Habilitar(a, hija);

    SeguirBotones();
    Habilitar(Ayuda1, true);
}

void TfrmPrincipal::ActualizarComentario()
{
    Habilitar(Comentario2, HaySenales());
}

void TfrmPrincipal::EstadoInicial()
{
    const bool senales = HaySenales();
    Habilitar(SpBtnAbrir, true);
    Habilitar(SpBtnImprimir, false);
    Habilitar(ExportarBMP1, false);
    Habilitar(ExportarWMF, false);
    Habilitar(Presentacinpreliminar1, false);
    for (QAction* a : {SpBtnZoomIn, SpBtnZoomOut, SpBtnElegir, SpBtnDatos, spBtnCalculadora,
                       SpBtnTabla, SpBtnCursores})
        Habilitar(a, false);
    Habilitar(ExportarTXT1, senales);
    Habilitar(SpBtnAnalogica, senales);
    Habilitar(SpBtnDigital, senales);
    Habilitar(Configuracion1, true);
    for (QAction* a : {CerrarVentana1, CerrarTodas1, Cascada1, TileHorizontal1, TileVertical1})
        Habilitar(a, false);
    Habilitar(Representacion1, false);
    SeguirBotones();
    Habilitar(Ventana1, NuevaVentana1->isEnabled() || VentanaDigital1->isEnabled());
    ActualizarComentario();
}

void TfrmPrincipal::DesactivaBarra()
{
    IVentanaHija* h = HijaActiva();
    const bool tabla = h && h->TipoVentana() == TTipoVentana::TablaDatos;
    Habilitar(SpBtnAbrir, false);
    for (QAction* a : {SpBtnImprimir, SpBtnAnalogica, SpBtnDigital, SpBtnTabla})
        Habilitar(a, tabla);
    for (QAction* a : {SpBtnElegir, SpBtnDatos, spBtnCalculadora, SpBtnCursores, SpBtnZoomIn, SpBtnZoomOut})
        Habilitar(a, false);
    Habilitar(Representacion1, false);
    SeguirBotones();
}

void TfrmPrincipal::DesactivarCaptacion()
{
    Habilitar(Captacion1, false);
    Habilitar(SpBtnProgramar, false);
    Habilitar(SpBtnLeer, LecturaDatos1->isEnabled());
}

void TfrmPrincipal::MarcarModificado()
{
    estado_.Modificado = true;
    Habilitar(GuardarArchivo, true);
    Habilitar(GuardarArchivo1, true);
    Habilitar(Guardarcomo1, true);
}

void TfrmPrincipal::MarcarGuardado()
{
    estado_.Modificado = false;
    Habilitar(GuardarArchivo, false);
    Habilitar(GuardarArchivo1, false);
}

// ---- station rules -----------------------------------------------------------------

void TfrmPrincipal::EnlazarCaptacion(bool habilitado)
{
    for (QAction* a : {SpBtnProgramar, SpBtnTest, SpBtnLeer, SpBtnAbortar})
        Habilitar(a, habilitado);
    Habilitar(Captacion1, habilitado);
}

void TfrmPrincipal::AplicarModoPuesto(bool multipuesto)
{
    multipuesto_ = multipuesto;
    Btn_Ocupar->setVisible(multipuesto);
    Btn_Liberar->setVisible(multipuesto);
    SepOcupar->setVisible(multipuesto);
    Mostrar(SAD1, multipuesto);
    PanelSAD->setVisible(multipuesto);
    I_Multi->setVisible(multipuesto);
    I_Mono->setVisible(!multipuesto);
    EnlazarCaptacion(!multipuesto || sadOcupado_);
    Timer_Ocupado.stop();
    if (multipuesto)
        puesto_.IniciarRelay();
    else
        puesto_.DetenerRelay();
}

void TfrmPrincipal::PonerSADOcupado(bool ocupado)
{
    sadOcupado_ = ocupado;
    Habilitar(Btn_Ocupar, !ocupado);
    Habilitar(Ocupar1, !ocupado);
    Habilitar(Btn_Liberar, ocupado);
    Habilitar(Liberar1, ocupado);
    EnlazarCaptacion(ocupado);
    I_SADSi->setVisible(ocupado);
    I_SADNo->setVisible(!ocupado);
    // The reminder is about a held unit: it runs exactly while the unit is held.
    if (ocupado)
        Timer_Ocupado.start();
    else
        Timer_Ocupado.stop();
}

void TfrmPrincipal::AplicarRemoto(bool habilitado)
{
    if (!remotoPermitido_)
        habilitado = false;
    if (habilitado != remotoVisible_) {
        remotoVisible_ = habilitado;
        if (habilitado) {
            puesto_.EscucharRemoto();
            PonerPerfilRemoto(puesto_.LeerRemotoActivo());
        } else {
            puesto_.DetenerRemoto();
        }
    }
    I_RemotoNo->setVisible(!remotoVisible_);
    I_RemotoSi->setVisible(remotoVisible_);
    Btn_Remoto->setVisible(remotoVisible_);
    SepRemoto->setVisible(remotoVisible_);
    Mostrar(MonRemota1, remotoVisible_);
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
    interaccion_.MostrarAviso(textos_.BuscarTexto(275), Botones::Aceptar);
}

// ---- child windows -----------------------------------------------------------------

void TfrmPrincipal::CerrarVentanas()
{
    const QList<QMdiSubWindow*> hijas = Area->subWindowList(QMdiArea::CreationOrder);
    QList<QPointer<QMdiSubWindow>> vivas;
    for (QMdiSubWindow* s : hijas)
        vivas << s;
    // Last first; a window that goes may take others with it, so each is checked.
    for (auto it = vivas.rbegin(); it != vivas.rend(); ++it)
        if (*it)
            delete it->data();
    contadorVentanas_ = 0;
}

void TfrmPrincipal::CerrarVentanaActiva()
{
    if (QMdiSubWindow* s = Area->currentSubWindow())
        delete s;
    ActualizarMenus();
}

void TfrmPrincipal::QuitarSenalesDeVentanas(const QStringList& nombres)
{
    QList<QPointer<QMdiSubWindow>> hijas;
    for (QMdiSubWindow* s : Area->subWindowList())
        hijas << s;
    for (const QString& nombre : nombres)
        for (const auto& s : hijas)
            // A window left without signals may close itself while refreshing.
            if (s)
                if (auto* h = dynamic_cast<IVentanaHija*>(s->widget()); h && h->EsVentanaSenales())
                    h->QuitarSenal(nombre);
}

QString TfrmPrincipal::TituloVentanaNueva() const
{
    return estado_.FicheroAbierto != TEstadoPrograma::SinFicheroSenales ? estado_.FicheroAbierto
                                                                         : estado_.FicheroGuardarComo;
}

void TfrmPrincipal::NuevaVentana1Click()
{
    AbrirVentanaAnalogica(TituloVentanaNueva());
}

void TfrmPrincipal::VentanaDigital1Click()
{
    if (!estado_.SenalesActuales || estado_.SenalesActuales->NumDig() == 0) {
        interaccion_.MostrarAviso(textos_.BuscarTexto(kTextoSinDigitales), Botones::Aceptar);
        return;
    }
    AbrirVentanaDigital(TituloVentanaNueva());
}

void TfrmPrincipal::AbrirVentanaDigital(const QString& titulo)
{
    // The digital signal window will open here, titled `titulo`, with the first
    // MaxSenalesDig digital signals of the set.
    (void)titulo;
}

void TfrmPrincipal::CerrarVentana1Click()
{
    CerrarVentanaActiva();
}

void TfrmPrincipal::CerrarTodas1Click()
{
    CerrarVentanas();
    ActualizarMenus();
}

void TfrmPrincipal::Cascada1Click()
{
    for (QMdiSubWindow* s : Area->subWindowList())
        s->showNormal();
    Area->cascadeSubWindows();
}

void TfrmPrincipal::Mosaico(Qt::Orientation orientacion)
{
    QList<QMdiSubWindow*> hijas;
    for (QMdiSubWindow* s : Area->subWindowList(QMdiArea::CreationOrder)) {
        s->showNormal();
        if (s->isVisible())
            hijas << s;
    }
    if (hijas.isEmpty())
        return;
    const QRect r = Area->viewport()->rect();
    const int n = int(hijas.size());
    for (int i = 0; i < n; ++i) {
        if (orientacion == Qt::Horizontal) {
            // Horizontal tiles: full-width bands stacked from top to bottom.
            const int y0 = r.height() * i / n, y1 = r.height() * (i + 1) / n;
            hijas[i]->setGeometry(0, y0, r.width(), y1 - y0);
        } else {
            const int x0 = r.width() * i / n, x1 = r.width() * (i + 1) / n;
            hijas[i]->setGeometry(x0, 0, x1 - x0, r.height());
        }
    }
}

void TfrmPrincipal::TileHorizontal1Click()
{
    Mosaico(Qt::Horizontal);
}

void TfrmPrincipal::TileVertical1Click()
{
    Mosaico(Qt::Vertical);
}

void TfrmPrincipal::MenuVentanas()
{
    for (QAction* a : Ventana1->actions())
        if (a->property(kListaVentanas).toBool()) {
            Ventana1->removeAction(a);
            a->deleteLater();
        }
    const QList<QMdiSubWindow*> hijas = Area->subWindowList(QMdiArea::CreationOrder);
    SepListaVentanas->setVisible(!hijas.isEmpty());
    int i = 0;
    for (QMdiSubWindow* s : hijas) {
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(++i).arg(s->windowTitle()), Ventana1);
        a->setProperty(kListaVentanas, true);
        a->setCheckable(true);
        a->setChecked(s == Area->currentSubWindow());
        QPointer<QMdiSubWindow> destino(s);
        connect(a, &QAction::triggered, this, [this, destino] {
            if (destino)
                Area->setActiveSubWindow(destino);
        });
        Ventana1->addAction(a);
    }
}

// ---- help, about, exit -----------------------------------------------------------

void TfrmPrincipal::AcercadeClick()
{
    modal_.Ejecutar(*AboutBox);
}

void TfrmPrincipal::Salir1Click()
{
    close();
}

// ---- closing -------------------------------------------------------------------------

bool TfrmPrincipal::FormCloseQuery()
{
    if (multipuesto_ && sadOcupado_) {
        if (interaccion_.MostrarInformacion(textos_.BuscarTexto(276), Botones::AceptarCancelar)
            != Respuesta::Aceptar)
            return false;
        if (estado_.EnlaceSAD)
            estado_.EnlaceSAD->Desconectar();
        // The unit is released now, whatever the save question below decides.
        PonerSADOcupado(false);
    }
    CerrarClick();
    // A set whose file had no readable configuration is open too: it must not be lost.
    return !HayAlgoAbierto();
}

void TfrmPrincipal::FormClose()
{
    estado_.Cerrando = true;
    Timer_Ocupado.stop();
    CerrarVentanas();
    estado_.SenalesActuales.reset();
    estado_.ConfigActual.reset();
    estado_.OperacionesActuales.reset();
    estado_.EnlaceSAD.reset();
}

void TfrmPrincipal::closeEvent(QCloseEvent* e)
{
    if (!FormCloseQuery()) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

} // namespace qv

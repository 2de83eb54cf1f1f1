#include "app/tabla_comandos.h"

#include "app/api/estado.h"
#include "app/api/ventana_hija.h"
#include "app/comandos_archivo.h"
#include "app/comandos_captura.h"
#include "app/comandos_impresion.h"
#include "app/comandos_puesto.h"
#include "app/comandos_representacion.h"
#include "app/comandos_ventanas.h"
#include "app/ventana_principal.h"
#include "capture/respuesta_frecuencia.h"
#include "lang/textos.h"
#include "lang/ui/formulario.h"
#include "lang/ui/textos_formularios.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QToolBar>

namespace qv {

bool TContextoReglas::HaySenales() const { return estado.Senales() != nullptr; }
bool TContextoReglas::Conjunto() const { return estado.HayConjunto(); }
bool TContextoReglas::HayConfig() const { return estado.Config() != nullptr; }
bool TContextoReglas::Modificado() const { return estado.Modificado(); }
bool TContextoReglas::Admite(TComando c) const { return hija && activa && activa->Admite(c); }
bool TContextoReglas::Marcado(TComando c) const { return hija && activa && activa->Marcado(c); }
bool TContextoReglas::VentanaSenales() const { return hija && activa && activa->EsVentanaSenales(); }
bool TContextoReglas::TablaDatos() const
{
    return hija && activa && activa->TipoVentana() == TTipoVentana::TablaDatos;
}
bool TContextoReglas::Captura() const { return !multipuesto || sadOcupado; }

namespace {

using C = TContextoReglas;

// The enabling rules, each as the documents state it.
bool Hija(const C& c) { return c.hija; }
bool Conjunto(const C& c) { return c.Conjunto(); }
bool HayConfig(const C& c) { return c.HayConfig(); }
bool HaySenales(const C& c) { return c.HaySenales(); }
// The data table, while active, takes "Abrir" away.
bool Abrir(const C& c) { return !c.TablaDatos(); }
bool Guardar(const C& c) { return c.Modificado(); }
// Also for a set without signals that has a file: right after "Abrir" or a save.
bool GuardarComo(const C& c)
{
    const TEstadoPrograma& e = c.estado;
    const bool conNombre = e.FicheroAbierto != TEstadoPrograma::SinFicheroSenales
                           || e.FicheroGuardarComo != TEstadoPrograma::SinFicheroSenales;
    return c.Conjunto() || c.Modificado() || (c.HaySenales() && conNombre);
}
bool PrevisualizarImpresion(const C& c) { return c.VentanaSenales(); }
// A calculator works on the kind of signals the active window shows.
bool Calculadora(const C& c) { return c.VentanaSenales(); }
// The representation group; the data table, while active, takes it away.
bool Representacion(const C& c) { return c.hija && !c.TablaDatos(); }
bool Ventana(const C& c) { return c.hija || c.HaySenales(); }
// "Prog." and the capture menu wait for the station mode; the other capture buttons
// follow their items until then.
bool CapturaMenu(const C& c) { return c.mostrado && c.Captura(); }
bool Captura(const C& c) { return c.Captura(); }
bool Multipuesto(const C& c) { return c.multipuesto; }
bool Ocupar(const C& c) { return !c.sadOcupado; }
bool Liberar(const C& c) { return c.sadOcupado; }
bool Remoto(const C& c) { return c.remotoVisible; }

// While a command talks to the unit, whatever would start another conversation, or
// replace or edit the set or the configuration under it, waits for it to end.
template <TRegla R = nullptr>
bool Libre(const C& c)
{
    if (c.estado.Ocupado())
        return false;
    if constexpr (R == nullptr)
        return true;
    else
        return R(c);
}

template <TComando K>
bool Admite(const C& c)
{
    return c.Admite(K);
}

bool Cumple(TRegla regla, const C& c)
{
    return regla == nullptr || regla(c);
}

} // namespace

std::vector<TFilaComando> TablaComandos(TAreasComandos& a)
{
    TfrmPrincipal& p = a.principal;
    TComandosArchivo& f = a.archivo;
    TComandosVentanas& v = a.ventanas;
    TComandosRepresentacion& r = a.representacion;
    TComandosCaptura& k = a.captura;
    TComandosPuesto& s = a.puesto;
    using K = TComando;
    // clang-format off
    return {
        // comando                  acción                    botón                clave  icono         ayuda  habilitado          visible
        {K::Abrir,              "Abrir1",                 "SpBtnAbrir",        1051, "abrir",      150, Libre<Abrir>,       nullptr, [&f] { f.SpBtnAbrirClick(); }},
        {K::Guardar,            "GuardarArchivo1",        "GuardarArchivo",    1052, "guardar",    149, Guardar,            nullptr, [&f] { f.GuardarArchivoClick(); }},
        {K::GuardarComo,        "Guardarcomo1",           nullptr,             1053, nullptr,      149, GuardarComo,        nullptr, [&f] { f.Guardarcomo1Click(); }},
        {K::Cerrar,             "Cerrar",                 nullptr,             1054, nullptr,        0, Libre<HayConfig>,   nullptr, [&f] { f.CerrarClick(); }},
        {K::AnadirSenales,      "Anadir",                 nullptr,             1055, nullptr,      169, Libre<Conjunto>,    nullptr, [&f] { f.AnadirClick(); }},
        {K::Comentario,         "Comentario2",            nullptr,             1056, nullptr,      231, Libre<HaySenales>,  nullptr, [&r] { r.Comentario2Click(); }},
        {K::ExportarBMP,        "ExportarPantalla1",      nullptr,             1058, nullptr,      234, Hija,               nullptr, [&p, &f] { TComandosImpresion(p, f).ExportarPantalla1Click(); }},
        {K::CopiarBMP,          "aportapapeles1",         nullptr,             1059, nullptr,      234, Hija,               nullptr, [&p, &f] { TComandosImpresion(p, f).aportapapeles1Click(); }},
        {K::ExportarWMF,        "ExportarWMF",            nullptr,             1060, nullptr,      236, Hija,               nullptr, [&p, &f] { TComandosImpresion(p, f).ExportarWMFClick(); }},
        {K::ExportarTXT,        "ExportarTXT1",           nullptr,             1061, nullptr,      235, Conjunto,           nullptr, [&f] { f.ExportarTXT1Click(); }},
        {K::ExportarVCD,        "ExportarVCD1",           nullptr,              432, nullptr,      432, Conjunto,           nullptr, [&f] { f.ExportarVCD1Click(); }},
        {K::Imprimir,           "Presentacinpreliminar1", nullptr,             1062, nullptr,      224, PrevisualizarImpresion, nullptr, [&p, &f] { TComandosImpresion(p, f).Presentacinpreliminar1Click(); }},
        // "Print." runs the same command for any child, the data table included.
        {K::Imprimir,           "SpBtnImprimir",          nullptr,             1005, "imprimir",   224, Hija,               nullptr, [&p, &f] { TComandosImpresion(p, f).Presentacinpreliminar1Click(); }},
        {K::Salir,              "Salir1",                 nullptr,             1063, nullptr,      248, nullptr,            nullptr, [&p] { p.close(); }},

        {K::VerConfig,          "VerConfig1",             "SpBtnES",           1071, "es",           8, Libre<>,            nullptr, [&f] { f.VerConfig1Click(); }},
        {K::AbrirConfig,        "CargarConfES1",          nullptr,             1072, nullptr,        9, Libre<>,            nullptr, [&f] { f.CargarConfES1Click(); }},
        {K::GuardarConfig,      "GrabarConES1",           nullptr,             1073, nullptr,       10, HayConfig,          nullptr, [&f] { f.GrabarConES1Click(); }},
        {K::GuardarConfigComo,  "Gurardarcomo1",          nullptr,             1074, nullptr,       10, HayConfig,          nullptr, [&f] { f.Gurardarcomo1Click(); }},
        {K::Opciones,           "OpcionesQUORVANE",       nullptr,             1075, nullptr,        0, Libre<>,            nullptr, [&s] { s.OpcionesQUORVANEClick(); }},

        {K::Inmediata,          "Inmediata",              "SpBtnProgramar",    1082, "prog",       130, Libre<CapturaMenu>, nullptr, [&k] { k.InmediataClick(); }},
        {K::Retardada,          "Retardada",              nullptr,             1083, nullptr,      131, Libre<>,            nullptr, [&k] { k.RetardadaClick(); }},
        {K::TriggerAnalogico,   "analgico1",              nullptr,             1085, nullptr,      133, Libre<>,            nullptr, [&k] { k.analgico1Click(); }},
        {K::TriggerDigital,     "digital1",               nullptr,             1086, nullptr,      137, Libre<>,            nullptr, [&k] { k.digital1Click(); }},
        {K::LeerDatos,          "LecturaDatos1",          "SpBtnLeer",         1087, "leer",       145, Libre<Captura>,     nullptr, [&k] { k.LecturaDatos1Click(); }},
        {K::Abortar,            "AbortarCaptacion1",      "SpBtnAbortar",      1088, "abortar",    140, Libre<Captura>,     nullptr, [&k] { k.AbortarCaptacion1Click(); }},
        {K::Test,               "TestPresencia1",         "SpBtnTest",         1089, "test",       146, Libre<Captura>,     nullptr, [&k] { k.TestPresencia1Click(); }},
        {K::Monitorizar,        "Monitorizar1",           nullptr,             1090, nullptr,      141, Libre<>,            nullptr, [&k] { k.Monitorizar1Click(); }},
        {K::MonitorContinua,    "MonitorContinua",        nullptr,             1091, nullptr,      144, Libre<>,            nullptr, [&k] { k.MonitorContinuaClick(); }},
        {K::RespuestaFrecuencia, "RespuestaFrecuencia1",  nullptr,              530, nullptr,      130, Libre<Captura>,     nullptr, [&p] { AbrirRespuestaFrecuencia(p); }},

        {K::Elegir,             "Elegir1",                "SpBtnElegir",       1101, "elegir",     154, Representacion,               nullptr, {}},
        {K::Datos,              "Datossingulares1",       "SpBtnDatos",        1102, "datos",      194, Libre<Admite<K::Datos>>, nullptr, {}},
        {K::Tabla,              "VentanadeDatos1",        "SpBtnTabla",        1103, "tabla",      181, Hija,               nullptr, [&r] { r.VentanadeDatos1Click(); }},
        {K::Calculadora,        "Calculadora1",           "spBtnCalculadora",  1104, "calcula",    200, Libre<Calculadora>, nullptr, [&r] { r.spBtnCalculadoraClick(); }},
        {K::ZoomMas,            "ZoomIn1",                "SpBtnZoomIn",       1105, "zoom_mas",   151, Representacion,     nullptr, {}},
        {K::ZoomMenos,          "ZoomOut1",               "SpBtnZoomOut",      1106, "zoom_menos", 151, Representacion,     nullptr, {}},
        {K::Cursores,           "Cursores1",              "SpBtnCursores",     1107, "cursor",     164, Representacion,     nullptr, {}},
        {K::Medidas,            "Medidas1",               "SpBtnMedidas",       430, "medidas",    430, Admite<K::Medidas>, nullptr, {}, true},
        {K::Espectro,           "Espectro1",              nullptr,              431, nullptr,      431, Admite<K::Espectro>, nullptr, {}},
        {K::AjustarCurva,       "AjustarCurva1",          nullptr,              560, nullptr,      560, Libre<Admite<K::AjustarCurva>>, nullptr, {}},
        {K::SuperponerCaptura,  "SuperponerCaptura1",     nullptr,              561, nullptr,      560, Libre<Admite<K::SuperponerCaptura>>, nullptr, {}},
        {K::Decodificar,        "Decodificar1",           nullptr,              590, nullptr,      590, Libre<Admite<K::Decodificar>>, nullptr, {}},
        {K::DefinirRepresentacion, "DefinirRepresentacin1", nullptr,           1108, nullptr,      168, Representacion,     nullptr, {}},
        {K::InsertarTexto,      "Insertartexto1",         nullptr,             1109, nullptr,      232, Representacion,     nullptr, {}},
        {K::BorrarUltimoTexto,  "Borrarltimotexto1",      nullptr,             1110, nullptr,      232, Representacion,     nullptr, {}},
        {K::BorrarTextos,       "Borrartodoslostextos1",  nullptr,             1111, nullptr,      232, Representacion,     nullptr, {}},

        {K::NuevaAnalogica,     "NuevaVentana1",          "SpBtnAnalogica",    1121, "analog",     178, Conjunto,           nullptr, [&v] { v.NuevaVentana1Click(); }},
        {K::NuevaDigital,       "VentanaDigital1",        "SpBtnDigital",      1122, "digital",    178, Conjunto,           nullptr, [&v] { v.VentanaDigital1Click(); }},
        {K::CerrarVentana,      "CerrarVentana1",         nullptr,             1123, nullptr,      180, Hija,               nullptr, [&v] { v.CerrarVentana1Click(); }},
        {K::CerrarTodas,        "CerrarTodas1",           nullptr,             1124, nullptr,      180, Hija,               nullptr, [&v] { v.CerrarTodas1Click(); }},
        {K::Cascada,            "Cascada1",               nullptr,             1125, nullptr,      179, Hija,               nullptr, [&v] { v.Cascada1Click(); }},
        {K::MosaicoHorizontal,  "TileHorizontal1",        nullptr,             1126, nullptr,      179, Hija,               nullptr, [&v] { v.TileHorizontal1Click(); }},
        {K::MosaicoVertical,    "TileVertical1",          nullptr,             1127, nullptr,      179, Hija,               nullptr, [&v] { v.TileVertical1Click(); }},

        {K::Ocupar,             "Ocupar1",                "Btn_Ocupar",        1141, "ocupar",       0, Libre<Ocupar>,      Multipuesto, [&s] { s.Btn_OcuparClick(); }},
        {K::Liberar,            "Liberar1",               "Btn_Liberar",       1142, "liberar",      0, Libre<Liberar>,     Multipuesto, [&s] { s.Btn_LiberarClick(); }},
        {K::PCsEnRed,           "PCsEnRed",               nullptr,             1143, nullptr,        0, Libre<>,            nullptr, [&s] { s.PCsEnRedClick(); }},
        {K::TurnosAula,         "TurnosAula1",            nullptr,              520, nullptr,      258, nullptr,            nullptr, [&s] { s.TurnosAulaClick(); }},
        {K::Remoto,             "Remoto1",                "Btn_Remoto",        1151, "remoto",       0, nullptr,            Remoto,  [&s] { s.Btn_RemotoClick(); }},
        {K::PerfilRemoto,       "PerfilRemota",           nullptr,             1152, nullptr,        0, nullptr,            nullptr, [&s] { s.PerfilRemotaClick(); }},
        {K::Ayuda,              "Temasdeayuda1",          "SpBtnAyuda",        1161, "ayuda",      249, nullptr,            nullptr, [&p] { p.Temasdeayuda1Click(); }},
        {K::AcercaDe,           "Acercade",               nullptr,             1162, nullptr,        0, nullptr,            nullptr, [&p] { p.AcercadeClick(); }},
    };
    // clang-format on
}

const std::vector<TFilaMenu>& TablaMenus()
{
    static const std::vector<TFilaMenu> menus = {
        {"Archivo1", 1050, 0, nullptr, nullptr,
         {"Abrir1", "GuardarArchivo1", "Guardarcomo1", "Cerrar", "-", "Anadir", "Comentario2", "-",
          ">ExportarBMP1", "ExportarWMF", "ExportarTXT1", "ExportarVCD1", "-", "Presentacinpreliminar1", "-", "Salir1"}},
        {"ExportarBMP1", 1057, 234, Hija, nullptr, {"ExportarPantalla1", "aportapapeles1"}},
        {"Configuracion1", 1070, 0, nullptr, nullptr,
         {"VerConfig1", "-", "CargarConfES1", "GrabarConES1", "Gurardarcomo1", "-", "OpcionesQUORVANE"}},
        {"Captacion1", 1080, 0, CapturaMenu, nullptr,
         {">ProgramarCaptacion1", "LecturaDatos1", "AbortarCaptacion1", "-", "TestPresencia1", "-",
          "Monitorizar1", "MonitorContinua", "-", "RespuestaFrecuencia1"}},
        {"ProgramarCaptacion1", 1081, 129, nullptr, nullptr, {"Inmediata", "Retardada", ">Trigger1"}},
        {"Trigger1", 1084, 129, nullptr, nullptr, {"analgico1", "digital1"}},
        {"Representacion1", 1100, 0, Representacion, nullptr,
         {"Elegir1", "Datossingulares1", "VentanadeDatos1", "Calculadora1", "-", "ZoomIn1", "ZoomOut1",
          "Cursores1", "Medidas1", "Espectro1", "AjustarCurva1", "SuperponerCaptura1", "Decodificar1", "-", "DefinirRepresentacin1", "-", "Insertartexto1", "Borrarltimotexto1",
          "Borrartodoslostextos1"}},
        {"Ventana1", 1120, 0, Ventana, nullptr,
         {"NuevaVentana1", "VentanaDigital1", "-", "CerrarVentana1", "CerrarTodas1", "-", "Cascada1",
          "TileHorizontal1", "TileVertical1"}},
        {"SAD1", 1140, 0, nullptr, Multipuesto, {"Ocupar1", "Liberar1", "-", "PCsEnRed", "TurnosAula1"}},
        {"MonRemota1", 1150, 0, nullptr, Remoto, {"Remoto1", "PerfilRemota"}},
        {"Ayuda1", 1160, 0, nullptr, nullptr, {"Temasdeayuda1", "-", "Acercade"}},
    };
    return menus;
}

const std::vector<TFilaBarra>& TablaBarras()
{
    static const std::vector<TFilaBarra> barras = {
        {"ToolBar1",
         {"Abrir1", "GuardarArchivo1", "SpBtnImprimir", "-SepArchivo", "VerConfig1", "-SepES", "Inmediata",
          "LecturaDatos1", "TestPresencia1", "AbortarCaptacion1", "-SepCaptacion", "Ocupar1", "Liberar1",
          "-SepOcupar", "Remoto1", "-SepRemoto", "Temasdeayuda1"}},
        {"ToolBar2",
         {"Elegir1", "Datossingulares1", "VentanadeDatos1", "Calculadora1", "ZoomIn1", "ZoomOut1", "Cursores1",
          "Medidas1", "NuevaVentana1", "VentanaDigital1"}},
    };
    return barras;
}

} // namespace qv

namespace qv {

TComandosPrincipal::TComandosPrincipal(QMainWindow& ventana, TTextos& textos, std::vector<TFilaComando> filas,
                                       std::function<IVentanaHija*()> hijaActiva)
    : filas_(std::move(filas)), hijaActiva_(std::move(hijaActiva))
{
    for (size_t i = 0; i < filas_.size(); ++i) {
        const TFilaComando& f = filas_[i];
        auto* a = new QAction(textos.LeerTexto(f.clave), &ventana);
        a->setObjectName(QLatin1String(f.accion));
        if (f.icono)
            a->setIcon(Icono(f.icono));
        if (f.ayuda > 0)
            a->setProperty(kPropiedadAyuda, f.ayuda);
        a->setCheckable(f.marcable);
        QObject::connect(a, &QAction::triggered, &ventana, [this, i] {
            const TFilaComando& fila = filas_[i];
            if (fila.manejador)
                fila.manejador();
            else if (IVentanaHija* h = hijaActiva_(); h && h->Admite(fila.comando))
                h->Ejecutar(fila.comando);
        });
        acciones_.push_back(a);
        porNombre_[a->objectName()] = a;
    }
    CrearMenus(ventana, textos);
    CrearBarras(ventana);
}

void TComandosPrincipal::CrearMenus(QMainWindow& ventana, TTextos& textos)
{
    // The top-level menus in table order; a ">" entry makes its submenu in place.
    const auto& menus = TablaMenus();
    std::map<QString, const TFilaMenu*> filaMenu;
    QSet<QString> submenus;
    for (const TFilaMenu& m : menus) {
        filaMenu[QLatin1String(m.nombre)] = &m;
        for (const char* e : m.entradas)
            if (*e == '>')
                submenus.insert(QLatin1String(e + 1));
    }
    std::function<void(QMenu*, const TFilaMenu&)> llenar = [&](QMenu* menu, const TFilaMenu& fila) {
        menu->setObjectName(QLatin1String(fila.nombre));
        if (fila.ayuda > 0)
            menu->menuAction()->setProperty(kPropiedadAyuda, fila.ayuda);
        menus_.push_back({menu, fila.habilitado, fila.visible});
        for (const char* e : fila.entradas) {
            if (*e == '-') {
                menu->addSeparator();
            } else if (*e == '>') {
                const TFilaMenu& sub = *filaMenu.at(QLatin1String(e + 1));
                llenar(menu->addMenu(textos.LeerTexto(sub.clave)), sub);
            } else {
                menu->addAction(porNombre_.at(QLatin1String(e)));
            }
        }
    };
    QMenuBar* barra = ventana.menuBar();
    barra->setObjectName(QStringLiteral("MainMenu1"));
    for (const TFilaMenu& m : menus)
        if (!submenus.contains(QLatin1String(m.nombre)))
            llenar(barra->addMenu(textos.LeerTexto(m.clave)), m);
}

void TComandosPrincipal::CrearBarras(QMainWindow& ventana)
{
    // The top toolbar with captions under 45 x 36 buttons, the left one with icons only.
    for (const TFilaBarra& b : TablaBarras()) {
        const bool superior = barras_.empty();
        auto* barra = new QToolBar(&ventana);
        barra->setObjectName(QLatin1String(b.nombre));
        barra->setMovable(false);
        barra->setFloatable(false);
        if (superior) {
            barra->setIconSize(QSize(16, 16));
            barra->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            // Captions must fit the narrow buttons.
            barra->setStyleSheet(QStringLiteral("QToolButton { padding: 0px; margin: 0px; font-size: 7pt; }"));
            ventana.addToolBar(Qt::TopToolBarArea, barra);
        } else {
            barra->setOrientation(Qt::Vertical);
            barra->setIconSize(QSize(20, 20));
            barra->setToolButtonStyle(Qt::ToolButtonIconOnly);
            ventana.addToolBar(Qt::LeftToolBarArea, barra);
        }
        QAction* anterior = nullptr;
        for (const char* e : b.entradas) {
            if (*e == '-') {
                QAction* s = barra->addSeparator();
                s->setObjectName(QLatin1String(e + 1));
                separadores_.emplace_back(s, anterior);
                continue;
            }
            QAction* a = porNombre_.at(QLatin1String(e));
            barra->addAction(a);
            if (QWidget* w = barra->widgetForAction(a)) {
                w->setFixedSize(superior ? QSize(45, 36) : QSize(26, 26));
                for (const TFilaComando& f : filas_)
                    if (f.boton && QLatin1String(f.accion) == a->objectName())
                        w->setObjectName(QLatin1String(f.boton));
            }
            anterior = a;
        }
        barras_.push_back(barra);
    }
}

void TComandosPrincipal::Actualizar(const TContextoReglas& c)
{
    for (size_t i = 0; i < filas_.size(); ++i) {
        acciones_[i]->setEnabled(Cumple(filas_[i].habilitado, c));
        acciones_[i]->setVisible(Cumple(filas_[i].visible, c));
        if (filas_[i].marcable)
            acciones_[i]->setChecked(c.Marcado(filas_[i].comando));
    }
    for (const TMenuCreado& m : menus_) {
        m.menu->menuAction()->setEnabled(Cumple(m.habilitado, c));
        m.menu->menuAction()->setVisible(Cumple(m.visible, c));
    }
    for (auto& [separador, anterior] : separadores_)
        separador->setVisible(!anterior || anterior->isVisible());
}

void TComandosPrincipal::Ejecutar(TComando comando)
{
    for (size_t i = 0; i < filas_.size(); ++i)
        if (filas_[i].comando == comando) {
            acciones_[i]->trigger();
            return;
        }
}

std::vector<TTextoControl> TComandosPrincipal::Textos() const
{
    std::vector<TTextoControl> tabla;
    for (const TFilaComando& f : filas_)
        tabla.push_back({f.clave, f.accion, "text"});
    for (const TFilaMenu& m : TablaMenus())
        tabla.push_back({m.clave, m.nombre, "title"});
    return tabla;
}

} // namespace qv

#include "lang/ui/textos_formularios.h"

namespace qv {

namespace {

using Tabla = std::vector<TTextoControl>;

// Form 1, the main window (keys 1000 to 1213).
//
// Object names, so that the window and its tests agree:
// - A control whose command has a handler is named after the handler without "Click"
//   (SpBtnAbrir, Guardarcomo1, Inmediata, analgico1, ExportarWMF, Acercade).
// - A handler shared by a tool button and a menu item: when the handler is named after
//   the button (SpBtnAbrir, GuardarArchivo, SpBtnElegir, SpBtnZoomIn, spBtnCalculadora,
//   Btn_Ocupar, Btn_Remoto ...), the button takes that name and the menu item takes it
//   without the button prefix (SpBtn, spBtn, Btn_) followed by "1" (Abrir1,
//   GuardarArchivo1, Elegir1, ZoomIn1, Calculadora1, Ocupar1, Remoto1). When the handler
//   is named after the menu item (Presentacinpreliminar1, VerConfig1, LecturaDatos1 ...),
//   the menu item takes it and the button is SpBtn + its caption (SpBtnImprimir,
//   SpBtnES, SpBtnLeer ...).
// - Menus and submenus without a handler: the caption without accents, "&" or blanks,
//   followed by "1" (Archivo1, Configuracion1, ProgramarCaptacion1, ExportarBMP1).
// - Status-bar icons keep their own names (I_Multi, I_Mono).
// - File dialogs: Dlg + purpose; they receive "filter" (in the "description|*.ext" form,
//   pairs separated by "|") and "windowTitle".
// Properties: menu items "text", menus "title", tool buttons "text" and "toolTip".
const Tabla kPrincipal = {
    {1000, "", "windowTitle"},
    // Top toolbar, caption and hint of each button.
    {1001, "SpBtnAbrir", "text"},
    {1002, "SpBtnAbrir", "toolTip"},
    {1003, "GuardarArchivo", "text"},
    {1004, "GuardarArchivo", "toolTip"},
    {1005, "SpBtnImprimir", "text"},
    {1006, "SpBtnImprimir", "toolTip"},
    {1007, "SpBtnES", "text"},
    {1008, "SpBtnES", "toolTip"},
    {1009, "SpBtnProgramar", "text"},
    {1010, "SpBtnProgramar", "toolTip"},
    {1011, "SpBtnLeer", "text"},
    {1012, "SpBtnLeer", "toolTip"},
    {1013, "SpBtnTest", "text"},
    {1014, "SpBtnTest", "toolTip"},
    {1015, "SpBtnAbortar", "text"},
    {1016, "SpBtnAbortar", "toolTip"},
    {1017, "Btn_Ocupar", "text"},
    {1018, "Btn_Ocupar", "toolTip"},
    {1019, "Btn_Liberar", "text"},
    {1020, "Btn_Liberar", "toolTip"},
    {1021, "Btn_Remoto", "text"},
    {1022, "Btn_Remoto", "toolTip"},
    {1023, "SpBtnAyuda", "text"},
    {1024, "SpBtnAyuda", "toolTip"},
    // Left toolbar: picture buttons, hints only.
    {1030, "SpBtnElegir", "toolTip"},
    {1031, "SpBtnDatos", "toolTip"},
    {1032, "SpBtnTabla", "toolTip"},
    {1033, "spBtnCalculadora", "toolTip"},
    {1034, "SpBtnZoomIn", "toolTip"},
    {1035, "SpBtnZoomOut", "toolTip"},
    {1036, "SpBtnCursores", "toolTip"},
    {1037, "SpBtnAnalogica", "toolTip"},
    {1038, "SpBtnDigital", "toolTip"},
    // Status bar.
    {1045, "I_Mono", "toolTip"},
    {1046, "I_Multi", "toolTip"},
    // Menu "&Archivo".
    {1050, "Archivo1", "title"},
    {1051, "Abrir1", "text"},
    {1052, "GuardarArchivo1", "text"},
    {1053, "Guardarcomo1", "text"},
    {1054, "Cerrar", "text"},
    {1055, "Anadir", "text"},
    {1056, "Comentario2", "text"},
    {1057, "ExportarBMP1", "title"},
    {1058, "ExportarPantalla1", "text"},
    {1059, "aportapapeles1", "text"},
    {1060, "ExportarWMF", "text"},
    {1061, "ExportarTXT1", "text"},
    {1062, "Presentacinpreliminar1", "text"},
    {1063, "Salir1", "text"},
    // Menu "Con&figuracion".
    {1070, "Configuracion1", "title"},
    {1071, "VerConfig1", "text"},
    {1072, "CargarConfES1", "text"},
    {1073, "GrabarConES1", "text"},
    {1074, "Gurardarcomo1", "text"},
    {1075, "OpcionesQUORVANE", "text"},
    // Menu "&Captacion".
    {1080, "Captacion1", "title"},
    {1081, "ProgramarCaptacion1", "title"},
    {1082, "Inmediata", "text"},
    {1083, "Retardada", "text"},
    {1084, "Trigger1", "title"},
    {1085, "analgico1", "text"},
    {1086, "digital1", "text"},
    {1087, "LecturaDatos1", "text"},
    {1088, "AbortarCaptacion1", "text"},
    {1089, "TestPresencia1", "text"},
    {1090, "Monitorizar1", "text"},
    {1091, "MonitorContinua", "text"},
    // Menu "Representacion".
    {1100, "Representacion1", "title"},
    {1101, "Elegir1", "text"},
    {1102, "Datossingulares1", "text"},
    {1103, "VentanadeDatos1", "text"},
    {1104, "Calculadora1", "text"},
    {1105, "ZoomIn1", "text"},
    {1106, "ZoomOut1", "text"},
    {1107, "Cursores1", "text"},
    {1108, "DefinirRepresentacin1", "text"},
    {1109, "Insertartexto1", "text"},
    {1110, "Borrarltimotexto1", "text"},
    {1111, "Borrartodoslostextos1", "text"},
    // Menu "&Ventana".
    {1120, "Ventana1", "title"},
    {1121, "NuevaVentana1", "text"},
    {1122, "VentanaDigital1", "text"},
    {1123, "CerrarVentana1", "text"},
    {1124, "CerrarTodas1", "text"},
    {1125, "Cascada1", "text"},
    {1126, "TileHorizontal1", "text"},
    {1127, "TileVertical1", "text"},
    // Menu "SAD" (multi-station only).
    {1140, "SAD1", "title"},
    {1141, "Ocupar1", "text"},
    {1142, "Liberar1", "text"},
    {1143, "PCsEnRed", "text"},
    // Menu "Mon. Remota".
    {1150, "MonRemota1", "title"},
    {1151, "Remoto1", "text"},
    {1152, "PerfilRemota", "text"},
    // Menu "Ay&uda".
    {1160, "Ayuda1", "title"},
    {1161, "Temasdeayuda1", "text"},
    {1162, "Acercade", "text"},
    // File dialogs: filter, then title.
    {1180, "DlgAbrirSenales", "filter"},
    {1181, "DlgAbrirSenales", "windowTitle"},
    {1182, "DlgGuardarSenales", "filter"},
    {1183, "DlgGuardarSenales", "windowTitle"},
    {1184, "DlgAbrirConfig", "filter"},
    {1185, "DlgAbrirConfig", "windowTitle"},
    {1186, "DlgGuardarConfig", "filter"},
    {1187, "DlgGuardarConfig", "windowTitle"},
    {1188, "DlgGuardarBMP", "filter"},
    {1189, "DlgGuardarBMP", "windowTitle"},
    {1190, "DlgGuardarWMF", "filter"},
    {1191, "DlgGuardarWMF", "windowTitle"},
    {1192, "DlgExportarTXT", "filter"},
    {1193, "DlgExportarTXT", "windowTitle"},
};

const Tabla kVacia;

} // namespace

const std::vector<TTextoControl>& TablaFormulario(int formulario)
{
    switch (formulario) {
    case 1: return kPrincipal;
    default: return kVacia;
    }
}

} // namespace qv

#include "lang/ui/textos_formularios.h"

#include <map>

namespace qv {

namespace {

using Tabla = std::vector<TTextoControl>;

// Form 1, the main window (keys 1000 to 1213). The captions of its menus and menu
// items are in the main window's command table, beside the commands they name; this
// table holds the rest: the tool buttons' captions and hints, the status icons' hints
// and the file dialogs' filters and titles.
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
    {1001, "SpBtnAbrir", "text"},
    {1002, "SpBtnAbrir", "toolTip"},
    {1003, "GuardarArchivo", "text"},
    {1004, "GuardarArchivo", "toolTip"},
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
    {1030, "SpBtnElegir", "toolTip"},
    {1031, "SpBtnDatos", "toolTip"},
    {1032, "SpBtnTabla", "toolTip"},
    {1033, "spBtnCalculadora", "toolTip"},
    {1034, "SpBtnZoomIn", "toolTip"},
    {1035, "SpBtnZoomOut", "toolTip"},
    {1036, "SpBtnCursores", "toolTip"},
    {430, "SpBtnMedidas", "toolTip"},
    {1037, "SpBtnAnalogica", "toolTip"},
    {1038, "SpBtnDigital", "toolTip"},
    {1045, "I_Mono", "toolTip"},
    {1046, "I_Multi", "toolTip"},
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
    {433, "DlgExportarVCD", "filter"},
    {434, "DlgExportarVCD", "windowTitle"},
};

// Form 2. Configuration window (both unit models); panel titles LTitulo1..16 are the rotated labels.
const Tabla kMenuES = {
    {2000, "", "windowTitle"},
    {2001, "Label40", "text"},
    {2002, "Label41", "text"},
    {2003, "Label1", "text"},
    {2004, "SpBtnRapida", "text"},
    {2005, "LabelNum", "text"},
    {2006, "CBoxActivar", "text"},
    {2007, "CBoxAuto", "text"},
    {2008, "SBOpDigital", "text"},
    {2009, "SBOpAnalogico", "text"},
    {2010, "ClearBtn", "text"},
    {2018, "LTitulo1", "text"},
    {2019, "LTitulo2", "text"},
    {2020, "LTitulo3", "text"},
    {2021, "LTitulo4", "text"},
    {2022, "LTitulo5", "text"},
    {2023, "LTitulo6", "text"},
    {2024, "LTitulo7", "text"},
    {2025, "LTitulo8", "text"},
    {2026, "LTitulo9", "text"},
    {2027, "LTitulo10", "text"},
    {2028, "LTitulo11", "text"},
    {2029, "LTitulo12", "text"},
    {2030, "LTitulo13", "text"},
    {2031, "LTitulo14", "text"},
    {2032, "LTitulo15", "text"},
    {2033, "LTitulo16", "text"},
    {2034, "CheckBoxED1", "toolTip"},
    {2034, "CheckBoxED2", "toolTip"},
    {2034, "CheckBoxED3", "toolTip"},
    {2034, "CheckBoxED4", "toolTip"},
    {2034, "CheckBoxED5", "toolTip"},
    {2034, "CheckBoxED6", "toolTip"},
    {2034, "CheckBoxED7", "toolTip"},
    {2034, "CheckBoxED8", "toolTip"},
    {2034, "CheckBoxED9", "toolTip"},
    {2034, "CheckBoxED10", "toolTip"},
    {2034, "CheckBoxED11", "toolTip"},
    {2034, "CheckBoxED12", "toolTip"},
    {2034, "CheckBoxED13", "toolTip"},
    {2034, "CheckBoxED14", "toolTip"},
    {2034, "CheckBoxED15", "toolTip"},
    {2034, "CheckBoxED16", "toolTip"},
    {2034, "CheckBoxSD1", "toolTip"},
    {2034, "CheckBoxSD2", "toolTip"},
    {2034, "CheckBoxSD3", "toolTip"},
    {2034, "CheckBoxSD4", "toolTip"},
    {2034, "CheckBoxSD5", "toolTip"},
    {2034, "CheckBoxSD6", "toolTip"},
    {2034, "CheckBoxSD7", "toolTip"},
    {2034, "CheckBoxSD8", "toolTip"},
    {2034, "CheckBoxSD9", "toolTip"},
    {2034, "CheckBoxSD10", "toolTip"},
    {2034, "CheckBoxSD11", "toolTip"},
    {2034, "CheckBoxSD12", "toolTip"},
    {2034, "CheckBoxSD13", "toolTip"},
    {2034, "CheckBoxSD14", "toolTip"},
    {2034, "CheckBoxSD15", "toolTip"},
    {2034, "CheckBoxSD16", "toolTip"},
    {2034, "CheckBox1", "toolTip"},
    {2034, "CheckBox2", "toolTip"},
    {2034, "CheckBox3", "toolTip"},
    {2034, "CheckBox4", "toolTip"},
    {2034, "CheckBox5", "toolTip"},
    {2034, "CheckBox6", "toolTip"},
    {2034, "CheckBox7", "toolTip"},
    {2034, "CheckBox8", "toolTip"},
    {2034, "CheckBox9", "toolTip"},
    {2034, "CheckBox10", "toolTip"},
    {2034, "CheckBox11", "toolTip"},
    {2034, "CheckBox12", "toolTip"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 3. Signal data; keys 3023-3059 are the origin lines, looked up directly.
const Tabla kDatosSenal = {
    {3000, "", "windowTitle"},
    {3001, "LSenal", "text"},
    {3002, "spBtnPasar", "text"},
    {3003, "GBEstadistica", "title"},
    {3004, "LMaximo", "text"},
    {3005, "LMinimo", "text"},
    {3006, "LMedio", "text"},
    {3007, "LIntegral", "text"},
    {3008, "LSubidas", "text"},
    {3009, "LBajadas", "text"},
    {3010, "GBTiempos", "title"},
    {3011, "LTiempoMuestreo", "text"},
    {3012, "LNumeroPuntos", "text"},
    {3013, "LTiempoAnalisis", "text"},
    {3014, "GBOrigen", "title"},
    {2, "OKBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 4.
const Tabla kTestInterface = {
    {4000, "", "windowTitle"},
    {4001, "LVersion", "text"},
    {4002, "LEstado", "text"},
    {4003, "LCapacidad", "text"},
    {2, "OKBtn", "text"},
};

// Form 5. Delay dialog; its caption is then replaced by text 228 or 229.
const Tabla kProgRetardo = {
    {5000, "", "windowTitle"},
    {5001, "Label1", "text"},
    {5002, "LabelMuestreo", "text"},
    {5003, "LabelAnalisis", "text"},
    {5004, "LabelMuestras", "text"},
    {5005, "LabelRapida", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 6.
const Tabla kConexion = {
    {6000, "", "windowTitle"},
    {6001, "Label1", "text"},
    {6002, "BtnReintentar", "text"},
    {6003, "BtnAbortar", "text"},
    {6004, "BtnIgnorar", "text"},
};

// Form 7.
const Tabla kActivaEA = {
    {7000, "", "windowTitle"},
    {7001, "Label1", "text"},
    {7002, "Label2", "text"},
    {7003, "label3", "text"},
    {7004, "Label5", "text"},
    {2, "OkBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 8.
const Tabla kActiveSA = {
    {8000, "", "windowTitle"},
    {8001, "Label2", "text"},
    {8002, "EscalonBtn", "text"},
    {8003, "SenoButton", "text"},
    {8004, "RampaButton", "text"},
    {8005, "TablaButton", "text"},
    {8006, "DestroyButton", "text"},
    {2, "OkBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 9.
const Tabla kActiveSD = {
    {9000, "", "windowTitle"},
    {9001, "Label3", "text"},
    {9002, "TablaDigitalButton", "text"},
    {9003, "TrenButton", "text"},
    {9004, "PulsoBtn", "text"},
    {9005, "DestroyButton", "text"},
    {2, "OkBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 10.
const Tabla kCalcuDig = {
    {10000, "", "windowTitle"},
    {10001, "SpBtnAC", "text"},
    {10002, "SpBtnResultado", "text"},
    {10003, "SpBtnM", "text"},
    {10004, "SpBtnIns", "text"},
    {10005, "SpBtnPasar", "text"},
    {10006, "SpBtnCerrar", "text"},
    {3, "BtnHelp", "text"},
};

// Form 11.
const Tabla kNomED = {
    {11000, "", "windowTitle"},
    {11001, "LeeNombreLabel", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
};

// Form 12. Graph options; 12003 to 12007 go to the same control of both axes.
const Tabla kConfigGrafica = {
    {12000, "", "windowTitle"},
    {12001, "EjexGroupBox", "title"},
    {12002, "EjeYGroupBox", "title"},
    {12003, "chkBoxEscaladoX", "text"},
    {12003, "chkBoxEscaladoY", "text"},
    {12004, "chkBoxRejillaX", "text"},
    {12004, "chkBoxRejillaY", "text"},
    {12005, "Label13", "text"},
    {12005, "Label14", "text"},
    {12006, "Label5", "text"},
    {12006, "Label7", "text"},
    {12007, "Label6", "text"},
    {12007, "Label8", "text"},
    {12008, "SenalesGroupBox", "title"},
    {12009, "rdGrpLineasYPuntos", "title"},
    {12010, "rBtnLineasYPuntos", "text"},
    {12011, "rBtnPuntos", "text"},
    {12012, "rBtnLineas", "text"},
    {12013, "Label9", "text"},
    {12014, "chkBoxMismaEscala", "text"},
    {2, "OkBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 13. Progress window of programming and read-back; its other texts are
// looked up by state.
const Tabla kEsperaAck = {
    {13001, "Label3", "text"},
};

// Form 14. Data table; keys 500 and 501 serve its export box, 14003 is its caption once filled.
const Tabla kDatos = {
    {14000, "", "windowTitle"},
    {14001, "SBExport", "text"},
    {14002, "SBPrint", "text"},
    {500, "ExportarTxtSaveDialog", "filter"},
    {501, "ExportarTxtSaveDialog", "windowTitle"},
    {3, "BtnHelp", "text"},
};

// Form 15.
const Tabla kElegir = {
    {15000, "", "windowTitle"},
    {15001, "LabelSrc", "text"},
    {15002, "LabelDst", "text"},
    {15003, "DestroyBtn", "text"},
    {15004, "LabelEjeX", "text"},
    {2, "OKBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 16.
const Tabla kGenEscalon = {
    {16000, "", "windowTitle"},
    {16001, "Label1", "text"},
    {16002, "Label2", "text"},
    {16003, "Label3", "text"},
    {16004, "Label4", "text"},
    {16005, "Label5", "text"},
    {16006, "Label6", "text"},
    {16007, "ClearBtn", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 17.
const Tabla kGenPulso = {
    {17000, "", "windowTitle"},
    {17001, "Label2", "text"},
    {17002, "Label1", "text"},
    {17003, "CBBajo", "text"},
    {17004, "CBAlto", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 18.
const Tabla kGenRampa = {
    {18000, "", "windowTitle"},
    {18001, "Label1", "text"},
    {18002, "Label5", "text"},
    {18003, "Label2", "text"},
    {18004, "Label4", "text"},
    {18005, "Label3", "text"},
    {18006, "Label6", "text"},
    {18007, "Label8", "text"},
    {18008, "Label7", "text"},
    {18009, "ClearBtn", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 19.
const Tabla kGenSeno = {
    {19000, "", "windowTitle"},
    {19001, "Label1", "text"},
    {19002, "Label2", "text"},
    {19003, "Label3", "text"},
    {19004, "Label4", "text"},
    {19005, "Label5", "text"},
    {19006, "Label6", "text"},
    {19007, "Label7", "text"},
    {19008, "Label8", "text"},
    {19009, "Label9", "text"},
    {19010, "ClearBtn", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 20.
const Tabla kGridAna = {
    {20000, "", "windowTitle"},
    {20001, "RetardoLabel", "text"},
    {20002, "NombreFichLabel", "text"},
    {20003, "SpbEditor", "text"},
    {20004, "Label1", "text"},
    {20005, "Label2", "text"},
    {20006, "ClearBtn", "text"},
    {20007, "OpenDialog1", "filter"},
    {20008, "OpenDialog1", "windowTitle"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 21.
const Tabla kGenTren = {
    {21000, "", "windowTitle"},
    {21001, "Label1", "text"},
    {21002, "Label2", "text"},
    {21003, "Label3", "text"},
    {21004, "Label4", "text"},
    {21005, "Label5", "text"},
    {21006, "Label6", "text"},
    {21007, "ClearBtn", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 22. Digital table; 22001 names both labels, its editor button keeps its built-in caption.
const Tabla kGridDigi = {
    {22000, "", "windowTitle"},
    {22001, "Label1", "text"},
    {22001, "Label2", "text"},
    {22003, "RetardoLabel", "text"},
    {22004, "NombreFichLabel", "text"},
    {22006, "ClearBtn", "text"},
    {22007, "OpenDialog1", "filter"},
    {22008, "OpenDialog1", "windowTitle"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 23.
const Tabla kPedirNombre = {
    {23000, "", "windowTitle"},
    {23001, "Label1", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
};

// Form 25.
const Tabla kCalcuAna = {
    {25000, "", "windowTitle"},
    {25001, "LabelConstante", "text"},
    {25002, "SpBtnAC", "text"},
    {25003, "SpBtnResultado", "text"},
    {25004, "SpBtnM", "text"},
    {25005, "SpBtnIns", "text"},
    {25006, "SpBtnPasar", "text"},
    {25007, "SpBtnCerrar", "text"},
    {25008, "SpBtnFiltro", "text"},
    {3, "BtnHelp", "text"},
};

// Form 26. Filter dialog; the four kinds are the radio buttons of RGtipo.
const Tabla kFiltro = {
    {26000, "", "windowTitle"},
    {26001, "LabelAlta", "text"},
    {26002, "MuesLabel", "text"},
    {26003, "LabelBaja", "text"},
    {26007, "RGtipo", "title"},
    {26008, "RBPasaAlto", "text"},
    {26009, "RBPasaBajo", "text"},
    {26010, "RBPasaBanda", "text"},
    {26011, "RBParaBanda", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 27.
const Tabla kElegirIni = {
    {27000, "", "windowTitle"},
    {27001, "LabelSrc", "text"},
    {27002, "LabelDst", "text"},
    {27003, "DestroyBtn", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 28. Message box: its title comes from texts 188-191, so key 28000 is a button here.
const Tabla kMensaje = {
    {2, "BtnAceptar", "text"},
    {5, "BtnSi", "text"},
    {1, "BtnCancel", "text"},
    {6, "BtnNo", "text"},
    {28000, "BtnChange", "text"},
    {28001, "BtnOverwrite", "text"},
    {28002, "btnOmitir", "text"},
};

// Form 29.
const Tabla kTrigdig = {
    {29000, "", "windowTitle"},
    {29001, "LabelMuestreo", "text"},
    {29002, "LabelAnalisis", "text"},
    {29003, "LabelMuestras", "text"},
    {29004, "LabelRapida", "text"},
    {29005, "RGCanalDigital", "title"},
    {29006, "LabelEntrada", "text"},
    {29007, "RD1", "text"},
    {29008, "RD2", "text"},
    {29009, "RD3", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 30.
const Tabla kTrigAna = {
    {30000, "", "windowTitle"},
    {30001, "LabelMuestreo", "text"},
    {30002, "LabelAnalisis", "text"},
    {30003, "LabelMuestras", "text"},
    {30004, "LabelRapida", "text"},
    {30005, "LabelEntrada", "text"},
    {30006, "LabelNivel", "text"},
    {30007, "RB1", "text"},
    {30008, "RB2", "text"},
    {30009, "RB3", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 31.
const Tabla kMonitorizacion = {
    {31000, "", "windowTitle"},
    {31001, "SpBtnElegir", "text"},
    {31002, "SpBtnElegir", "toolTip"},
    {31003, "CerrarMonitorizacionBtn", "text"},
};

// Form 32.
const Tabla kInsTexto = {
    {32000, "", "windowTitle"},
    {32001, "Label1", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 34.
const Tabla kOperacionesAna = {
    {34000, "", "windowTitle"},
    {34001, "LabelOperando1", "text"},
    {34002, "LabelOperando2", "text"},
    {34003, "LabelConstante1", "text"},
    {34003, "LabelConstante2", "text"},
    {34004, "LabelOperaciones", "text"},
    {34005, "LabelDescripciones", "text"},
    {34006, "LabelNombre", "text"},
    {34007, "LabelUnidad", "text"},
    {34008, "AnadirBtn", "text"},
    {34009, "BorrarBtn", "text"},
    {2, "AceptarBtn", "text"},
    {1, "CancelarBtn", "text"},
};

// Form 35.
const Tabla kOperacionesDig = {
    {35000, "", "windowTitle"},
    {35001, "LabelOperando1", "text"},
    {35002, "LabelOperando2", "text"},
    {35004, "LabelOperaciones", "text"},
    {35005, "LabelDescripciones", "text"},
    {35006, "LabelNombre", "text"},
    {35007, "LabelUnidad", "text"},
    {35008, "AnadirBtn", "text"},
    {35009, "BorrarBtn", "text"},
    {2, "AceptarBtn", "text"},
    {1, "CancelarBtn", "text"},
};

// Form 36.
const Tabla kPreview = {
    {36000, "", "windowTitle"},
    {36001, "CBGrafica", "text"},
    {36002, "CBTabla", "text"},
    {36003, "CBComentario", "text"},
    {36004, "GBPagina", "title"},
    {36005, "RBtnVertical", "text"},
    {36006, "RBtnHorizontal", "text"},
    {36007, "BtnImprimir", "text"},
    {36008, "BtnSetup", "text"},
    {36009, "BtnCerrar", "text"},
    {3, "BtnHelp", "text"},
};

// Form 37. Signal windows: the cursor panel and pop-up of the analog (Zoom1, Zoom2, Espectro2) and digital (ZoomP, ZoomM) windows; 37000, 37001 and 37012-37014 and the measurement panel's 430-439 are looked up directly.
const Tabla kVentanaSenales = {
    {37002, "LAzulX", "text"},
    {37003, "LRojoX", "text"},
    {37004, "LazulM", "text"},
    {37005, "LrojoM", "text"},
    {37006, "LNegroX", "text"},
    {37007, "LNegroM", "text"},
    {37008, "SBcerrar", "toolTip"},
    {37009, "Zoom1", "text"},
    {37009, "ZoomP", "text"},
    {37010, "Zoom2", "text"},
    {37010, "ZoomM", "text"},
    {37011, "Cursores2", "text"},
    {430, "Medidas2", "text"},
    {431, "Espectro2", "text"},
};

// Form 38.
const Tabla kAcercaDe = {
    {38000, "", "windowTitle"},
    {38001, "ProductName", "text"},
    {38002, "Version", "text"},
    {38003, "Comments", "text"},
    {2, "OKButton", "text"},
};

// Form 40. Table editor; 40011 is the filter of both file boxes.
const Tabla kEditTab = {
    {40000, "", "windowTitle"},
    {40001, "SBEditar", "text"},
    {40002, "SBNueva", "text"},
    {40003, "SBGuardar", "text"},
    {40004, "SBGuardarComo", "text"},
    {40005, "Label2", "text"},
    {40006, "Label1", "text"},
    {40007, "RGTipo", "title"},
    {40010, "SpeedButton1", "text"},
    {40011, "SaveDialog1", "filter"},
    {40011, "OpenDialog1", "filter"},
    {40012, "SaveDialog1", "windowTitle"},
    {40013, "OpenDialog1", "windowTitle"},
};

// Form 41.
const Tabla kEscSenFich = {
    {41000, "", "windowTitle"},
    {41001, "LabelSrc", "text"},
    {41002, "LabelDst", "text"},
    {41003, "LabelFichero", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "BtnHelp", "text"},
};

// Form 42.
const Tabla kCambiarNombre = {
    {42000, "", "windowTitle"},
    {42001, "Label1", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
    {3, "HelpBtn", "text"},
};

// Form 43.
const Tabla kEdit = {
    {43000, "", "windowTitle"},
    {43001, "Editor1", "title"},
    {43002, "Nuevo1", "text"},
    {43003, "Abrir1", "text"},
    {43004, "Guardar1", "text"},
    {43005, "Salir1", "text"},
    {43006, "Ayuda1", "title"},
};

// Form 44.
const Tabla kActDesSenales = {
    {44000, "", "windowTitle"},
    {44001, "Label1", "text"},
    {44002, "DstLabel", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
};

// Form 46.
const Tabla kCambiarPassword = {
    {46000, "", "windowTitle"},
    {46001, "Label1", "text"},
    {46002, "Label2", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
};

// Form 47.
const Tabla kConfiguracion = {
    {47000, "", "windowTitle"},
    {47001, "TabModelo", "title"},
    {47002, "TabRed", "title"},
    {47003, "LModeloM", "text"},
    {47004, "LModelo801", "text"},
    {47005, "CBRed", "text"},
    {47006, "CBRemoto", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
};

// Form 48.
const Tabla kEscogerPCSAD = {
    {48000, "", "windowTitle"},
    {48001, "L_PC", "text"},
    {48002, "SB_TestBE", "text"},
    {48003, "SB_Buscar", "text"},
    {48004, "L_Buscando", "text"},
    {48005, "L_Comprobando", "text"},
    {48006, "L_Localizado", "text"},
    {48007, "L_Nolocalizado", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
};

// Form 49.
const Tabla kLiberarSAD = {
    {49000, "", "windowTitle"},
    {49001, "L_Comprobando", "text"},
    {49002, "L_Localizado", "text"},
    {49003, "L_Nolocalizado", "text"},
    {49004, "BtnLiberar", "text"},
    {1, "CancelBtn", "text"},
};

// Form 50.
const Tabla kRemoto = {
    {50000, "", "windowTitle"},
    {50001, "L_PC", "text"},
    {50002, "SB_StartMonitorizacion", "text"},
    {50003, "SB_ControlPC", "text"},
    {50004, "SB_Buscar", "text"},
    {50005, "CBoxMonitoMiPC", "text"},
    {50006, "SB_OpcionesViewer", "text"},
    {50007, "SB_OpcionesServer", "text"},
    {50008, "SB_CortarMonitorizaciones", "text"},
    {50009, "SB_ConectarOtrousuario", "text"},
    {50010, "BtnCerrar", "text"},
    {50011, "L_Buscando", "text"},
};

// Form 51.
const Tabla kConectar = {
    {51000, "", "windowTitle"},
    {51001, "SB_Buscar", "text"},
    {51002, "L_PC", "text"},
    {51003, "BtnConectar", "text"},
    {51004, "L_Buscando", "text"},
    {1, "CancelBtn", "text"},
};

// Form 52.
const Tabla kUserMonitor = {
    {52000, "", "windowTitle"},
    {52001, "L_Password", "text"},
    {52002, "BtnActivar", "text"},
    {52003, "BtnDesactivar", "text"},
    {52004, "BtnCambiarPassword", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
};

// Form 53.
const Tabla kPcsSAD = {
    {53000, "", "windowTitle"},
    {53001, "L_Explicacion", "text"},
    {53002, "SB_Buscar", "text"},
    {53003, "L_IP", "text"},
    {53004, "L_Nombre", "text"},
    {53005, "SB_Quitar", "toolTip"},
    {53006, "L_Buscando", "text"},
    {2, "OKBtn", "text"},
    {1, "CancelBtn", "text"},
};

const Tabla kVacia;

const std::map<int, const Tabla*>& Tablas()
{
    static const std::map<int, const Tabla*> tablas = {
        {1, &kPrincipal},
        {2, &kMenuES},
        {3, &kDatosSenal},
        {4, &kTestInterface},
        {5, &kProgRetardo},
        {6, &kConexion},
        {7, &kActivaEA},
        {8, &kActiveSA},
        {9, &kActiveSD},
        {10, &kCalcuDig},
        {11, &kNomED},
        {12, &kConfigGrafica},
        {13, &kEsperaAck},
        {14, &kDatos},
        {15, &kElegir},
        {16, &kGenEscalon},
        {17, &kGenPulso},
        {18, &kGenRampa},
        {19, &kGenSeno},
        {20, &kGridAna},
        {21, &kGenTren},
        {22, &kGridDigi},
        {23, &kPedirNombre},
        {25, &kCalcuAna},
        {26, &kFiltro},
        {27, &kElegirIni},
        {28, &kMensaje},
        {29, &kTrigdig},
        {30, &kTrigAna},
        {31, &kMonitorizacion},
        {32, &kInsTexto},
        {34, &kOperacionesAna},
        {35, &kOperacionesDig},
        {36, &kPreview},
        {37, &kVentanaSenales},
        {38, &kAcercaDe},
        {40, &kEditTab},
        {41, &kEscSenFich},
        {42, &kCambiarNombre},
        {43, &kEdit},
        {44, &kActDesSenales},
        {46, &kCambiarPassword},
        {47, &kConfiguracion},
        {48, &kEscogerPCSAD},
        {49, &kLiberarSAD},
        {50, &kRemoto},
        {51, &kConectar},
        {52, &kUserMonitor},
        {53, &kPcsSAD},
    };
    return tablas;
}

} // namespace

const std::vector<TTextoControl>& TablaFormulario(int formulario)
{
    auto it = Tablas().find(formulario);
    return it == Tablas().end() ? kVacia : *it->second;
}

std::vector<int> FormulariosConTabla()
{
    std::vector<int> r;
    for (const auto& [numero, tabla] : Tablas())
        r.push_back(numero);
    return r;
}

} // namespace qv

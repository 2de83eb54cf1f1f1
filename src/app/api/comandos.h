#pragma once

namespace qv {

// Every command of the main window's menus and toolbars. The main window builds its
// actions from a table of them; the active child window carries out the ones it
// admits (IVentanaHija::Admite / Ejecutar).
enum class TComando {
    // "&Archivo"
    Abrir,
    Guardar,
    GuardarComo,
    Cerrar,
    AnadirSenales,
    Comentario,
    ExportarBMP,       // "Exportar BMP" > "a fichero"
    CopiarBMP,         // "Exportar BMP" > "a portapapeles"
    ExportarWMF,
    ExportarTXT,
    ExportarVCD,
    Imprimir,          // "&Imprimir..." and "Print."
    Salir,
    // "Con&figuración"
    VerConfig,
    AbrirConfig,
    GuardarConfig,
    GuardarConfigComo,
    Opciones,
    // "&Captación"
    Inmediata,
    Retardada,
    TriggerAnalogico,
    TriggerDigital,
    LeerDatos,
    Abortar,
    Test,
    Monitorizar,
    MonitorContinua,
    RespuestaFrecuencia,
    // "Representación"
    Elegir,
    Datos,
    Tabla,
    Calculadora,
    ZoomMas,
    ZoomMenos,
    Cursores,
    Medidas,
    Espectro,
    AjustarCurva,
    SuperponerCaptura,
    Decodificar,
    DefinirRepresentacion,
    InsertarTexto,
    BorrarUltimoTexto,
    BorrarTextos,
    // "&Ventana"
    NuevaAnalogica,
    NuevaDigital,
    CerrarVentana,
    CerrarTodas,
    Cascada,
    MosaicoHorizontal,
    MosaicoVertical,
    // "SAD", "Mon. Remota", "Ay&uda"
    Ocupar,
    Liberar,
    PCsEnRed,
    TurnosAula,
    Remoto,
    PerfilRemoto,
    Ayuda,
    AcercaDe,
};

} // namespace qv

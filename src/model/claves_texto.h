#pragma once

// Numbers of the language texts that several parts of the program show; a text
// shown by one part only keeps its number there.
namespace qv::clave {

inline constexpr int NoCargado = 101;
inline constexpr int FaltanDatos = 107;
inline constexpr int NombreVacio = 110;
inline constexpr int Faltan = 115;
inline constexpr int RetardoGrande = 133;
inline constexpr int NoProgramada = 135;
inline constexpr int FaltanTiempos = 143;
inline constexpr int NombreSenal = 158;
inline constexpr int Incompleta = 173;
inline constexpr int NombreCanal = 175;
inline constexpr int NombreOperacion = 176;
inline constexpr int Tiempo = 192;
inline constexpr int Micro = 193;
inline constexpr int Mili = 194;
inline constexpr int Segundos = 195;
inline constexpr int Cambios = 210;
inline constexpr int Amplitud = 214;
inline constexpr int NoExportado = 240;
inline constexpr int NoGuardado = 243;
inline constexpr int NoCoinciden = 267;
inline constexpr int OcupadoPor = 269;
inline constexpr int FaltaNombre = 277;
inline constexpr int SinResultado = 290;
inline constexpr int Estado3Leida = 300;
inline constexpr int Nivel = 446;
inline constexpr int NombreNoGuardable = 11002;
inline constexpr int Titulo = 37000;
inline constexpr int EjeTiempo = 37001; // "Tiempo (s)"
inline constexpr int Frecuencia = 37015;
inline constexpr int Hercios = 37016;
inline constexpr int NoGuardada = 46003;

} // namespace qv::clave

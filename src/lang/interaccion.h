#pragma once

#include <QString>

namespace qv {

// Button sets of the program's message box.
namespace Botones {
inline constexpr int Si = 0;
inline constexpr int No = 1;
inline constexpr int Cancelar = 2;
inline constexpr int Aceptar = 3;
inline constexpr int SiNoCancelar = 4;
inline constexpr int AceptarCancelar = 5;
inline constexpr int Conflicto = 6; // "Sobreescribir" / "Cambiar Nombre" / "No incluir la señal"
} // namespace Botones

// Answers (modal results) of the message box and of the small prompts.
namespace Respuesta {
inline constexpr int Ninguna = 0;
inline constexpr int Aceptar = 1;
inline constexpr int Cancelar = 2;
inline constexpr int Abortar = 3;
inline constexpr int Reintentar = 4;
inline constexpr int Ignorar = 5;
inline constexpr int Si = 6;
inline constexpr int No = 7;
inline constexpr int CambiarNombre = 10;
inline constexpr int Sobreescribir = 11;
inline constexpr int Omitir = 12;
} // namespace Respuesta

// Everything that code without widgets (model, link) must ask or tell the user goes
// through this object. The program installs the Qt implementation; tests install a
// scripted one that records every message and answers from a queue.
class TInteraccion {
public:
    virtual ~TInteraccion() = default;

    virtual int MostrarError(const QString& texto, int botones) = 0;
    virtual int MostrarAviso(const QString& texto, int botones) = 0;
    virtual int MostrarPregunta(const QString& texto, int botones) = 0;
    virtual int MostrarInformacion(const QString& texto, int botones) = 0;

    // A plain message box without flavour (the serial port's open failure).
    virtual void MensajePlano(const QString& texto) = 0;

    // Name-clash dialog: answers the typed name, `nombre` itself when the field was
    // left empty, and "Omitir" when cancelled.
    virtual QString PedirNombreNuevo(const QString& nombre) = 0;

    // Presence dialog shown when the unit does not answer:
    // Respuesta::Reintentar, Respuesta::Abortar or Respuesta::Ignorar.
    virtual int PreguntarPresencia() = 0;

    // Busy cursor while non-visual code reads files or talks to the unit.
    virtual void CursorOcupado(bool ocupado) = 0;
};

// The busy cursor for a scope, put back however the scope is left.
class TCursorOcupado {
public:
    explicit TCursorOcupado(TInteraccion& i) : i_(i) { i_.CursorOcupado(true); }
    ~TCursorOcupado() { i_.CursorOcupado(false); }
    TCursorOcupado(const TCursorOcupado&) = delete;
    TCursorOcupado& operator=(const TCursorOcupado&) = delete;

private:
    TInteraccion& i_;
};

} // namespace qv

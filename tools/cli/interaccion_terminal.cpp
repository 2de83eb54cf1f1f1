#include "interaccion_terminal.h"

#include "lang/texto_limpio.h"

#include <QRegularExpression>

namespace qv {

int TInteraccionTerminal::MostrarError(const QString& t, int b)
{
    return Responder(t, b);
}

int TInteraccionTerminal::MostrarAviso(const QString& t, int b)
{
    return Responder(t, b);
}

int TInteraccionTerminal::MostrarPregunta(const QString& t, int b)
{
    return Responder(t, b);
}

int TInteraccionTerminal::MostrarInformacion(const QString& t, int b)
{
    return Responder(t, b);
}

void TInteraccionTerminal::MensajePlano(const QString& t)
{
    Escribir(t);
}

int TInteraccionTerminal::Responder(const QString& t, int botones)
{
    switch (botones) {
    case Botones::Conflicto:
        // Keeping both signals loses nothing; the new one is renamed.
        Escribir(t);
        return Respuesta::CambiarNombre;
    case Botones::Si:
        Escribir(t);
        return Respuesta::Si;
    case Botones::SiNoCancelar:
    case Botones::AceptarCancelar:
    case Botones::Cancelar:
        Escribir(t);
        return Respuesta::Cancelar;
    case Botones::No:
        Escribir(t);
        return Respuesta::No;
    default:
        Escribir(t);
        return Respuesta::Aceptar;
    }
}

QString TInteraccionTerminal::PedirNombreNuevo(const QString& nombre)
{
    const QString nuevo = NombreSiguiente(nombre);
    Renombradas << nombre + QStringLiteral(" -> ") + nuevo;
    return nuevo;
}

QString TInteraccionTerminal::NombreSiguiente(const QString& nombre)
{
    static const QRegularExpression sufijo(QStringLiteral("^(.*)_([0-9]{1,6})$"));
    const QRegularExpressionMatch m = sufijo.match(nombre);
    if (m.hasMatch() && !m.captured(1).isEmpty())
        return m.captured(1) + QLatin1Char('_') + QString::number(m.captured(2).toInt() + 1);
    return nombre + QStringLiteral("_2");
}

int TInteraccionTerminal::PreguntarPresencia()
{
    // Retrying would need someone to fix the line; a script must not wait for that.
    return Respuesta::Abortar;
}

void TInteraccionTerminal::Escribir(const QString& t)
{
    // Messages carry names from files and peers: none may drive the terminal.
    std::fprintf(error_, "quorvane-cli: %s\n", TextoLimpio(t, LargoMensaje).toLocal8Bit().constData());
    std::fflush(error_);
}

} // namespace qv

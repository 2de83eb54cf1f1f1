#pragma once

#include "lang/interaccion.h"

#include <QString>
#include <QStringList>
#include <cstdio>

namespace qv {

// The command-line companion has no windows and never reads standard input: every
// message goes to standard error and every question gets its safe answer. Questions
// are answered "Cancelar"/"No" (nothing is overwritten or discarded), except the
// name-clash question of a signal set, which keeps both signals by renaming the new
// one ("name" becomes "name_2", then "name_3", ...).
class TInteraccionTerminal : public TInteraccion {
public:
    explicit TInteraccionTerminal(std::FILE* error = stderr) : error_(error) {}

    int MostrarError(const QString& t, int botones) override;
    int MostrarAviso(const QString& t, int botones) override;
    int MostrarPregunta(const QString& t, int botones) override;
    int MostrarInformacion(const QString& t, int botones) override;
    void MensajePlano(const QString& t) override;
    QString PedirNombreNuevo(const QString& nombre) override;
    int PreguntarPresencia() override;
    void CursorOcupado(bool) override {}

    // Writes one line "quorvane-cli: text" to standard error, without control
    // characters and cut at LargoMensaje characters.
    void Escribir(const QString& t);
    static constexpr qsizetype LargoMensaje = 8192;

    // Next name of a clash: "x" -> "x_2", "x_2" -> "x_3".
    static QString NombreSiguiente(const QString& nombre);

    // Renames made by the name-clash answer, as "old -> new".
    QStringList Renombradas;

private:
    int Responder(const QString& t, int botones);

    std::FILE* error_;
};

} // namespace qv

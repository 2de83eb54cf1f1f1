#pragma once

#include "lang/textos.h"

#include <QByteArray>
#include <QString>

namespace qv {

// Numbered texts read from a language file: lines "key SEP text" (SEP one blank or
// tab), CR LF ends, single-byte Latin-1, keys in ascending order. The file is read
// whole when named; lookups then walk the buffer as if it were a file kept open,
// with a read position and the key of the last entry read.
//
// Every failure gives "nada": no file, a line that does not start with a number,
// and also a key the file does not hold (the lookup has read to the end).
class TLanguage : public TTextos {
public:
    static inline const QString Nada = QStringLiteral("nada");

    const QString& IdiomaFile() const { return fichero_; }
    // Naming another file reads it; a file that cannot be read is not reported,
    // the lookups then answer "nada".
    void setIdiomaFile(const QString& fichero);

    QString BuscarTexto(int clave) override;
    QString LeerTexto(int clave) override;

private:
    void Rebobinar();
    // One entry at the read position, its text as [desde, hasta) of the data; false
    // on a read error or at the end.
    bool LeerEntrada(int& clave, qsizetype& desde, qsizetype& hasta);
    QString Buscar(int clave);
    bool AlFinal() const;

    QString fichero_;
    QByteArray datos_;
    bool abierto_ = false;
    qsizetype pos_ = 0;
    int ultimaClave_ = 0;
    bool posicionValida_ = true; // false after a read error: the next lookup rewinds
};

// The language module of the program: one TLanguage bound to "idioma.lng" in the
// program folder (given by the caller: the executable's folder in the program).
class TDMIdioma {
public:
    explicit TDMIdioma(const QString& carpetaPrograma);
    TLanguage Idioma;
};

} // namespace qv

#pragma once

#include "lang/textos.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace qv {

// Numbered texts read from a language file: lines "key SEP text" (SEP one blank or
// tab), CR LF ends, single-byte Latin-1, keys in ascending order. The file is read
// whole when named and its entries indexed once, up to the first line that does not
// start with a number; lookups only read the index, so any thread may make them.
// A key that appears twice gives its first text.
//
// Every failure gives "nada": no file, a key behind a line that does not start with a
// number, and a key the file does not hold.
class TLanguage : public TTextos {
public:
    static inline const QString Nada = QStringLiteral("nada");

    const QString& IdiomaFile() const { return fichero_; }
    // Naming another file reads it; a file that cannot be read is not reported,
    // the lookups then answer "nada". Not to be called while others look texts up.
    void setIdiomaFile(const QString& fichero);

    QString BuscarTexto(int clave) const override;
    QString LeerTexto(int clave) const override;

private:
    void Indexar(const QByteArray& datos);

    QString fichero_;
    QHash<int, QString> textos_;
};

// The language module of the program: one TLanguage bound to "idioma.lng" in the
// program folder (given by the caller: the executable's folder in the program).
class TDMIdioma {
public:
    explicit TDMIdioma(const QString& carpetaPrograma);
    TLanguage Idioma;
};

} // namespace qv

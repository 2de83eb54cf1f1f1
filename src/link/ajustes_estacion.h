#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// Station settings in "Quorvane.ini" of the program folder. Every read opens the
// file again, so other stations and editors may change it at any time; a missing
// file, section or key reads as the key's default. Section and key names are
// matched without regard to case, as initialisation files are.
class TAjustesEstacion {
public:
    explicit TAjustesEstacion(QString carpetaPrograma);

    QString Fichero() const;
    const QString& Carpeta() const { return carpeta_; }

    // Value of the key (blanks around it removed), or `defecto`.
    QString Leer(const QString& seccion, const QString& clave, const QString& defecto = {}) const;

    // "ConfiguracionSAD"/"Aspecto" is exactly "ZD800M" (also when missing).
    bool ModeloM() const;
    // "ConfiguracionSAD"/"TipoConAula" is anything but exactly "Monopuesto".
    bool Multipuesto() const;
    // "ConfiguracionSAD"/"UltimoPCSAD": the PC whose unit this station used last.
    QString UltimoPCSAD() const;

    // "ConfiguracionSAD"/"PuertosSerie": comma-separated device names in "COM1"
    // onwards order; empty entries are dropped and relative names are taken from
    // the program folder. Missing or empty: the platform's default list.
    QStringList PuertosSerie() const;
    static QStringList PuertosSeriePorDefecto();

private:
    QString carpeta_;
};

} // namespace qv

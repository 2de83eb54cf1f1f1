#pragma once

#include <QString>

namespace qv {

// The open and save file dialogs, behind one seam so that the file commands can run
// without a person. Filters come in the language file's form: "description|*.ext",
// pairs separated by "|". Each call answers the chosen path, or an empty string when
// the dialog was cancelled.
class TDialogosArchivo {
public:
    virtual ~TDialogosArchivo() = default;

    // `inicial`: the name the dialog starts with (a name holding "*" is only a pattern).
    virtual QString AbrirFichero(const QString& filtro, const QString& titulo, const QString& inicial) = 0;

    // `extension` (without the dot) is added to a chosen name that has none.
    virtual QString GuardarFichero(const QString& filtro, const QString& titulo, const QString& inicial,
                                   const QString& extension) = 0;
};

// Where nobody can be asked: every dialog counts as cancelled.
class TDialogosArchivoNulos : public TDialogosArchivo {
public:
    QString AbrirFichero(const QString&, const QString&, const QString&) override { return {}; }
    QString GuardarFichero(const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
};

} // namespace qv

#pragma once

#include "lang/ui/formulario.h"

class QLabel;
class QLineEdit;

namespace qv {

// Name-clash dialog: the set already holds a signal of this name; the user types
// another one, keeps it or skips the signal.
class TfrmCambiarNombre : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 42;

    TfrmCambiarNombre(const TContextoFormulario& contexto, const QString& nombre, QWidget* parent = nullptr);

    // The typed name after OK, the clashing name after OK on an empty field,
    // "Omitir" otherwise.
    QString Resultado() const;

private:
    QString nombre_;
    QLabel* Label1;
    QLabel* LNombre;
    QLineEdit* Edit1;
};

} // namespace qv

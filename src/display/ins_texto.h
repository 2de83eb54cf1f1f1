#pragma once

#include "lang/ui/formulario.h"

#include <QString>

class QLabel;
class QLineEdit;

namespace qv {

// "Insertar texto": the text of a new annotation of the active graph, read from
// EdTexto after OK.
class TfrmInsTexto : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 32;

    explicit TfrmInsTexto(const TContextoFormulario& contexto, QWidget* parent = nullptr);

    QString Texto() const;

    // Runs the dialog; the typed text after OK, nothing when cancelled.
    static bool Pedir(const TContextoFormulario& contexto, QWidget* parent, QString& texto);

protected:
    void AlMostrar() override;

private:
    QLabel* Label1;
    QLineEdit* EdTexto;
};

} // namespace qv

#pragma once

#include "lang/ui/formulario.h"

#include <QString>
#include <functional>

class QLabel;
class QLineEdit;

namespace qv {

// "Renombrar Señal": one field of at most 8 characters. "Aceptar" makes the checks of
// every name box of the program, and a name that fails stays in the field for another
// try: not empty (text 119), no blanks nor "$", which would split the records of the
// files and the columns of the exported table (text 11002), and not a name the caller
// says is taken.
class TfrmPedirNombre : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 23;
    static constexpr int MaxNombre = 8;

    explicit TfrmPedirNombre(const TContextoFormulario& contexto, QWidget* parent = nullptr);

    void PonerNombre(const QString& nombre);
    QString Nombre() const;
    // The caller's clash check: the warning for a name that is taken, empty when the
    // name is free.
    using TOcupado = std::function<QString(const QString&)>;
    void PonerOcupado(TOcupado ocupado) { ocupado_ = std::move(ocupado); }

protected:
    bool Validar() override;
    void AlMostrar() override;

private:
    QLabel* Label1;
    QLineEdit* Edit1;
    TOcupado ocupado_;
};

} // namespace qv

#pragma once

#include "lang/ui/formulario.h"

#include <QString>

class QLabel;
class QLineEdit;

namespace qv {

// "Renombrar Señal": one field of at most 8 characters. An empty field is told with
// text 119 on "Aceptar", and the dialog still ends with OK: callers then do nothing.
class TfrmPedirNombre : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 23;
    static constexpr int MaxNombre = 8;

    explicit TfrmPedirNombre(const TContextoFormulario& contexto, QWidget* parent = nullptr);

    void PonerNombre(const QString& nombre);
    QString Nombre() const;

protected:
    bool Validar() override;
    void AlMostrar() override;

private:
    QLabel* Label1;
    QLineEdit* Edit1;
};

} // namespace qv

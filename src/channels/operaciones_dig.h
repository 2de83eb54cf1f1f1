#pragma once

#include "channels/operaciones_comun.h"

namespace qv {

// "Definición de operaciones digitales": the logic functions of two digital channels
// (Or, And, Nor, Nand, Xor, Xnor) and Not of one.
class TfrmOperacionesDig : public TOperacionesBase {
    Q_OBJECT
public:
    static constexpr int Numero = 35;

    TfrmOperacionesDig(IPrincipal& principal, const TOperaciones& operaciones, QWidget* parent = nullptr);

protected:
    bool AnadirHabilitado() const override;
    void TeclaPulsada(const QString& operacion) override;
    bool ComprobarOperacion() override;
    TOperacion Construir(const QString& nombre, const QString& unidad) override;
    void TrasAnadir() override;
    void ActualizaInterfaz() override;
};

} // namespace qv

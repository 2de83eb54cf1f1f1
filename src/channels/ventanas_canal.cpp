#include "channels/ventanas_canal.h"

#include "channels/activacion_entrada.h"
#include "channels/activacion_salidas.h"
#include "model/config_es.h"

#include <QDialog>

namespace qv {

bool EditarSalidaAnalogica(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* padre)
{
    if (indice < 1 || indice > TConfigES::NumSalAna)
        return false;
    TfrmActiveSA ventana(principal, trabajo, indice, padre);
    return ventana.Activar();
}

bool EditarSalidaDigital(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* padre)
{
    if (indice < 1 || indice > TConfigES::NumSalDig)
        return false;
    TfrmActiveSD ventana(principal, trabajo, indice, padre);
    return ventana.Activar();
}

bool EditarEntradaAnalogica(IPrincipal& principal, TConfigES& trabajo, int indice, QWidget* padre)
{
    if (indice < 1 || indice > TConfigES::NumEntAna)
        return false;
    TfrmActivaEA ventana(principal, trabajo, indice, padre);
    return ventana.Ejecutar() == QDialog::Accepted;
}

} // namespace qv

#include "app/comandos_representacion.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "app/api/ventana_hija.h"
#include "display/calculadora_analogica.h"
#include "display/calculadora_digital.h"
#include "display/datos.h"
#include "display/edit.h"
#include "display/elegir.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/senales.h"

#include <QDialog>

namespace qv {

namespace {
constexpr int kTextoNingunaElegida = 218;
} // namespace

void TComandosRepresentacion::Comentario2Click()
{
    if (!principal_.Estado().Senales())
        return;
    TfrmEdit editor(principal_, &principal_.Ventana());
    editor.Ejecutar();
}

void TComandosRepresentacion::VentanadeDatos1Click()
{
    TEstadoPrograma& estado = principal_.Estado();
    if (!estado.Senales())
        return;
    const QStringList todas = estado.Senales()->NombresAna() + estado.Senales()->NombresDig();
    TfrmElegirIni elegir(principal_, &principal_.Ventana());
    elegir.Inicializar({}, todas, 0, true);
    const bool aceptado = elegir.Ejecutar() == QDialog::Accepted;
    // Deleted signals are gone from the set however the chooser was closed.
    if (elegir.HuboBorrado()) {
        estado.AvisarQuitadas(elegir.Borradas());
        estado.MarcarModificado();
    }
    if (!aceptado)
        return;
    if (elegir.Visibles().isEmpty()) {
        const TContextoPrograma& c = principal_.Contexto();
        c.Interaccion().MostrarError(c.Textos().BuscarTexto(kTextoNingunaElegida), Botones::Aceptar);
        return;
    }
    TfrmDatos::Abrir(principal_, elegir.Visibles(), elegir.Ocultas());
}

void TComandosRepresentacion::spBtnCalculadoraClick()
{
    const IVentanaHija* hija = principal_.HijaActiva();
    if (!hija || !principal_.Estado().Senales())
        return;
    if (hija->TipoVentana() == TTipoVentana::Analogica) {
        TfrmCalcuAna calculadora(principal_, &principal_.Ventana());
        calculadora.Ejecutar();
    } else if (hija->TipoVentana() == TTipoVentana::Digital) {
        TfrmCalcuDig calculadora(principal_, &principal_.Ventana());
        calculadora.Ejecutar();
    }
}

} // namespace qv

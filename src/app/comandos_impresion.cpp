#include "app/comandos_impresion.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "app/comandos_archivo.h"
#include "display/preview.h"
#include "display/visualiza_senales_comun.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "plot/grf.h"
#include "plot/imagenes.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace qv {

namespace {

constexpr int kTextoNoGuardada = 1196;
const QSize kTamanoPreview(625, 400);

} // namespace

TVentanaSenales* TComandosImpresion::VentanaActiva() const
{
    return dynamic_cast<TVentanaSenales*>(principal_.HijaActiva());
}

void TComandosImpresion::Guardar(const QString& ruta, bool metafichero)
{
    TVentanaSenales* v = VentanaActiva();
    if (!v || ruta.isEmpty())
        return;
    const TContextoPrograma& c = principal_.Contexto();
    TGrf& grafica = v->Grafica();
    // A name without a known picture extension gets the dialog's own format.
    TFormatoImagen formato = metafichero ? TFormatoImagen::WMF : FormatoDeFichero(ruta);
    if (formato == TFormatoImagen::Desconocido)
        formato = TFormatoImagen::BMP;
    bool escrito = false;
    {
        TCursorOcupado cursor(c.Interaccion());
        escrito = GuardarImagen(ruta, formato, grafica.size(), PintorGrafica(grafica));
    }
    if (!escrito)
        c.Interaccion().MostrarError(c.Textos().BuscarTexto(kTextoNoGuardada) + QLatin1Char(' ') + ruta,
                                     Botones::Aceptar);
}

void TComandosImpresion::ExportarPantalla1Click()
{
    if (!VentanaActiva())
        return;
    TDialogoFichero& d = *archivo_.DlgGuardarBMP;
    const QString ruta = principal_.Contexto().Dialogos.GuardarFichero(d.Filtro(), d.Titulo(), d.Nombre, d.Extension());
    if (ruta.isEmpty())
        return;
    d.Nombre = ruta;
    Guardar(ruta, false);
}

void TComandosImpresion::aportapapeles1Click()
{
    if (TVentanaSenales* v = VentanaActiva())
        CopiarImagenPortapapeles(v->Grafica().size(), PintorGrafica(v->Grafica()));
}

void TComandosImpresion::ExportarWMFClick()
{
    if (!VentanaActiva())
        return;
    TDialogoFichero& d = *archivo_.DlgGuardarWMF;
    const QString ruta = principal_.Contexto().Dialogos.GuardarFichero(d.Filtro(), d.Titulo(), d.Nombre, d.Extension());
    if (ruta.isEmpty())
        return;
    d.Nombre = ruta;
    Guardar(ruta, true);
}

void TComandosImpresion::Presentacinpreliminar1Click()
{
    // A child that prints itself (the data table) does; any other gets the preview,
    // with the graph only for a signal window.
    IVentanaHija* hija = principal_.HijaActiva();
    if (hija && !hija->EsVentanaSenales() && hija->Admite(TComando::Imprimir)) {
        hija->Ejecutar(TComando::Imprimir);
        return;
    }
    TfrmPreview preview(principal_, &principal_.Ventana());
    TVentanaSenales* v = VentanaActiva();
    QMdiSubWindow* marco = v ? qobject_cast<QMdiSubWindow*>(v->parentWidget()) : nullptr;
    QWidget* ajustada = marco ? static_cast<QWidget*>(marco) : v;
    QRect antes;
    if (v) {
        // The graph is printed at the proportions of a 625 x 400 window.
        antes = ajustada->geometry();
        if (marco && marco->isMaximized())
            antes = QRect();
        ajustada->resize(ajustada->size() - v->size() + kTamanoPreview);
        QCoreApplication::sendPostedEvents();
        preview.PonerGrafica(&v->Grafica());
    }
    preview.Ejecutar();
    if (v && antes.isValid()) {
        ajustada->setGeometry(antes);
        QCoreApplication::sendPostedEvents();
    }
}

} // namespace qv

#include "display/senales_digitales.h"

#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/decodificacion_ventana.h"
#include "display/elegir.h"
#include "display/panel_decodificacion.h"
#include "lang/textos.h"
#include "model/senales.h"
#include "plot/grafica_senales.h"
#include "plot/grf.h"

#include <QDialog>
#include <QMenu>
#include <QVBoxLayout>

#include <cmath>

namespace qv {

namespace {
constexpr int kTextoDecodificar = 590;
}

TfrmSenalesDigitales::TfrmSenalesDigitales(IPrincipal& principal, QWidget* parent)
    : TVentanaSenales(principal, true, "ZoomP", "ZoomM", parent)
{
    setObjectName(QStringLiteral("frmSenalesDigitales"));
    PrepararGraficaDigital(*xygraph, Contexto.Textos);
    PrepararGraficaDigital(*xygraphatras, Contexto.Textos);
    xygraph->PonerDigitalLabels(true);

    // The annotations' panel goes under the graph, above the measurements and cursors.
    PDecodificacion = new TPanelDecodificacion(Contexto.Textos, this);
    if (auto* columna = qobject_cast<QVBoxLayout*>(layout()))
        columna->insertWidget(1, PDecodificacion);
    decodificaciones_ = std::make_unique<TDecodificacionesVentana>(principal, *xygraph, *PDecodificacion, nullptr);
    Decodificar2 = Popup->addAction(QStringLiteral("Decodificar..."), this, [this] { decodificaciones_->Dialogo(); });
    Decodificar2->setObjectName(QStringLiteral("Decodificar2"));
}

bool TfrmSenalesDigitales::Admite(TComando comando) const
{
    if (comando == TComando::Decodificar)
        return !SenalesVisibles.isEmpty();
    return TVentanaSenales::Admite(comando);
}

void TfrmSenalesDigitales::Ejecutar(TComando comando)
{
    if (comando == TComando::Decodificar)
        decodificaciones_->Dialogo();
    else
        TVentanaSenales::Ejecutar(comando);
}

// The decodings' drawing leaves the graph before the graph goes.
TfrmSenalesDigitales::~TfrmSenalesDigitales() = default;

void TfrmSenalesDigitales::ActualizarDecodificaciones()
{
    decodificaciones_->Actualizar(SenalesVisibles);
}

void TfrmSenalesDigitales::TextosAplicados()
{
    TVentanaSenales::TextosAplicados();
    Decodificar2->setText(Contexto.Textos.BuscarTexto(kTextoDecodificar));
    decodificaciones_->AplicarTextos();
}

void TfrmSenalesDigitales::CargarSenales(int max)
{
    SenalesVisibles.clear();
    SenalesOcultas.clear();
    if (const TCjtSenales* s = Senales()) {
        SenalesVisibles = s->NombresDig();
        FiltrarVisibles(*s, SenalesVisibles, SenalesOcultas, max);
    }
    if (!SenalesVisibles.isEmpty())
        PonerPeriodo(Buscar(SenalesVisibles.first())->Periodo());
}

void TfrmSenalesDigitales::Refrescar()
{
    EmpezarRecarga();
    const TCjtSenales* set = Senales();
    SenalesVisibles.removeIf([set](const QString& n) { return !set || !set->BuscarDig(n); });
    altos_.clear();
    if (CerrarSiVacia())
        return;
    PonerPeriodo(set->BuscarDig(SenalesVisibles.first())->Periodo());
    altos_ = CargarDigitales(*xygraph, *set, SenalesVisibles);
    ColocarLeyenda(*xygraph, int(SenalesVisibles.size()));
    TerminarRecarga();
    decodificaciones_->Actualizar(SenalesVisibles);
}

// The logic level under a cursor: 1 at the trace's high level, else 0.
double TfrmSenalesDigitales::ValorLeido(int serie, double y) const
{
    if (serie < 0 || serie >= int(altos_.size()))
        return 0;
    return std::fabs(y - altos_[serie]) < 1e-9 ? 1.0 : 0.0;
}

void TfrmSenalesDigitales::ElegirSenales()
{
    const TCjtSenales* set = Senales();
    if (!set)
        return;
    const bool conCursores = CursoresActivos();
    ActivarCursores(false);
    CalcularOcultas(set->NombresDig());
    TfrmElegirIni dlg(Principal(), &Principal().Ventana());
    dlg.Inicializar(SenalesVisibles, SenalesOcultas, Principal().MaxSenalesDig(), false);
    const bool aceptado = dlg.Ejecutar() == QDialog::Accepted;
    if (aceptado) {
        SenalesVisibles = dlg.Visibles();
        SenalesOcultas = dlg.Ocultas();
    }
    TrasElegir(aceptado, dlg.Borradas(), conCursores);
}

} // namespace qv

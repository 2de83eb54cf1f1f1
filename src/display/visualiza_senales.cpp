#include "display/visualiza_senales.h"

#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/elegir.h"
#include "display/grf.h"
#include "lang/textos.h"
#include "model/senales.h"

#include <QDialog>

#include <algorithm>

namespace qv {

namespace {

constexpr int kTextoTiempo = 192;
constexpr int kTextoEjeTiempo = 37001;

} // namespace

TfrmVisualizaSenales::TfrmVisualizaSenales(IPrincipal& principal, QWidget* parent)
    : TVentanaSenales(principal, false, "Zoom1", "Zoom2", parent)
{
    setObjectName(QStringLiteral("frmVisualizaSenales"));
    tiempo_ = Contexto.Textos.BuscarTexto(kTextoTiempo);
    EjeXElegido = tiempo_;
    ConfigurarGrafica(*xygraph);
    ConfigurarGrafica(*xygraphatras);
    // Nothing to draw until the first load.
    xygraph->PonerPlotting(false);
}

void TfrmVisualizaSenales::ConfigurarGrafica(TGrf& g)
{
    g.XAxis().PonerTitle(QStringLiteral(" seg "));
    // Units go with the legend's names.
    g.YAxis().PonerTitle(QStringLiteral("   "));
    g.Appearance().PonerGraphTitle(QStringLiteral("   "));
    g.XAxis().PonerAutoSizing(true);
    g.YAxis().PonerAutoSizing(true);
    g.XAxis().PonerGridlines(true);
    g.YAxis().PonerGridlines(true);
    g.YAxis_Second().PonerShowAxis(false);
    TDimensions& d = g.Dimensions();
    d.PonerLeftMargin(50);
    d.PonerRightMargin(150); // room for the legend
    d.PonerXAxisTitleOffset(5);
    d.PonerYAxisTitleOffset(10);
    TAppearance& a = g.Appearance();
    a.PonerBackgroundColor(Qt::white);
    a.PonerMarginColor(Qt::white);
    a.PonerGridColor(QColor(128, 128, 128));
    a.PonerCrossAtZero(true);
    a.PonerAllowDuplicates(false);
    TLegend& l = g.Legend();
    l.PonerVisible(true);
    l.PonerBorderStyle(TLegend::Borde::Simple);
    l.PonerLayout(TLegend::Disposicion::HaciaAbajo);
    l.PonerWidth(100);
    l.PonerSymbolSpace(10);
}

void TfrmVisualizaSenales::CargarSenales(int max)
{
    SenalesVisibles.clear();
    SenalesOcultas.clear();
    if (const TCjtSenales* s = Senales())
        SenalesVisibles = s->NombresAna() + s->NombresDig();
    FiltrarVisibles(max);
}

void TfrmVisualizaSenales::Refrescar()
{
    EmpezarRecarga();
    QuitarDesconocidas();
    if (CerrarSiVacia())
        return;
    const TCjtSenales& set = *Senales();
    TGrf& g = *xygraph;

    const TSenalAna* ejeX = nullptr;
    if (!EjeTiempo()) {
        ejeX = set.BuscarAna(EjeXElegido);
        if (!ejeX)
            EjeXElegido = tiempo_; // the X signal is gone: back to time
    }
    if (ejeX) {
        // One signal against the X signal.
        SenalesOcultas << SenalesVisibles.mid(1);
        SenalesVisibles = SenalesVisibles.mid(0, 1);
        g.XAxis().PonerTitle(EjeXElegido);
        g.PonerStepPlot(false);
        g.XAxis().PonerAutoSizing(true);
    } else {
        g.XAxis().PonerAutoSizing(true);
        if (g.StepPlot())
            OrigenCero();
        g.XAxis().PonerTitle(Contexto.Textos.BuscarTexto(kTextoEjeTiempo));
        g.PonerStepPlot(true);
    }
    PonerPeriodo(Buscar(SenalesVisibles.first())->Periodo());

    double duracion = 0;
    for (int k = 0; k < SenalesVisibles.size(); ++k) {
        const QString& nombre = SenalesVisibles[k];
        if (const TSenalAna* a = set.BuscarAna(nombre))
            AnadirAna(k, *a, ejeX, duracion);
        else if (const TSenalDig* d = set.BuscarDig(nombre))
            AnadirDig(k, *d, ejeX != nullptr, duracion);
    }
    if (!ejeX) {
        // The X range ends at the longest signal, so that none is cut off.
        if (duracion <= 0)
            duracion = PeriodoMuestreo() > 0 ? PeriodoMuestreo() : 1;
        g.XAxis().PonerMax(duracion);
    }
    ColocarLeyenda();
    TerminarRecarga();
}

void TfrmVisualizaSenales::ActualizarNombres()
{
    TVentanaSenales::ActualizarNombres();
    const TCjtSenales* set = Senales();
    const int n = std::min(xygraph->NumSeries(), int(SenalesVisibles.size()));
    for (int k = 0; set && k < n; ++k)
        if (const TSenalAna* a = set->BuscarAna(SenalesVisibles[k]))
            xygraph->Serie(k).PonerNombre(NombreSerie(*a));
    if (!EjeTiempo())
        xygraph->XAxis().PonerTitle(EjeXElegido);
}

QString TfrmVisualizaSenales::NombreSerie(const TSenalAna& s)
{
    return s.Nombre() + QLatin1Char('(') + s.Unidad + QLatin1Char(')');
}

void TfrmVisualizaSenales::AnadirAna(int k, const TSenalAna& s, const TSenalAna* ejeX, double& duracion)
{
    TSeries& serie = xygraph->Serie(k);
    serie.PonerNombre(NombreSerie(s));
    serie.PonerPuntos(false);
    serie.PonerFormaPunto(1);
    duracion = std::max(duracion, s.Duracion());
    if (!ejeX) {
        serie.CargarMuestras(s.Periodo(), s.Muestras());
        return;
    }
    // Pairs up to the end of the shorter signal; no sample past a signal's end is read.
    // Every pair is kept and joined to the next in time: a loop stays a loop.
    const int n = std::min(s.NumMuestras(), ejeX->NumMuestras());
    serie.CargarCurva(
        n, [ejeX](int i) { return double(ejeX->LeerMuestra(i)); }, [&s](int i) { return double(s.LeerMuestra(i)); });
}

void TfrmVisualizaSenales::AnadirDig(int k, const TSenalDig& d, bool xy, double& duracion)
{
    TSeries& serie = xygraph->Serie(k);
    serie.PonerNombre(d.Nombre());
    serie.PonerPuntos(false);
    duracion = std::max(duracion, d.Duracion());
    // A digital signal is a 0 V / 5 V staircase in time; it has no points in an XY plot.
    if (!xy)
        serie.CargarMuestras(d.Periodo(), d.Muestras(), 0.0, 5.0);
}

bool TfrmVisualizaSenales::RenombrarSenales(const QStringList& viejos, const QStringList& nuevos)
{
    bool cambiado = TVentanaSenales::RenombrarSenales(viejos, nuevos);
    // The X signal keeps its place under its new name.
    const qsizetype i = viejos.indexOf(EjeXElegido);
    if (!EjeTiempo() && i >= 0 && i < nuevos.size()) {
        EjeXElegido = nuevos[i];
        cambiado = true;
    }
    return cambiado;
}

void TfrmVisualizaSenales::QuitarSenal(const QString& nombre)
{
    if (!EjeTiempo() && nombre == EjeXElegido) {
        // Without its X signal the window goes back to a time plot.
        EjeXElegido = tiempo_;
        SenalesOcultas.removeAll(nombre);
        SenalesVisibles.removeAll(nombre);
        Refrescar();
        return;
    }
    TVentanaSenales::QuitarSenal(nombre);
}

void TfrmVisualizaSenales::ElegirSenales()
{
    const TCjtSenales* set = Senales();
    if (!set)
        return;
    const bool conCursores = CursoresActivos();
    ActivarCursores(false);
    CalcularOcultas(set->NombresAna() + set->NombresDig());
    TfrmElegir dlg(Principal(), &Principal().Ventana());
    dlg.Inicializar(SenalesVisibles, SenalesOcultas, Principal().MaxSenalesAna(), EjeXElegido);
    // The lists are taken only from "Aceptar", which checks the periods.
    const bool aceptado = dlg.Ejecutar() == QDialog::Accepted;
    if (aceptado) {
        SenalesVisibles = dlg.Visibles();
        SenalesOcultas = dlg.Ocultas();
        EjeXElegido = dlg.EjeXElegido();
    }
    TrasElegir(aceptado, dlg.Borradas(), conCursores);
}

} // namespace qv

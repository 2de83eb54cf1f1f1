#include "display/senales_digitales.h"

#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/elegir.h"
#include "display/grf.h"
#include "lang/textos.h"
#include "model/senales.h"

#include <QDialog>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr int kTextoTitulo = 37000;
constexpr int kTextoEjeTiempo = 37001;

void ConfigurarGrafica(TGrf& g, TTextos& textos)
{
    TAxis& y = g.YAxis();
    y.PonerMin(0);
    y.PonerMax(100);
    y.PonerAutoStepping(false);
    y.PonerAutoLabelDecimals(false);
    y.PonerLabelDecimals(0);
    y.PonerGridlines(true);
    g.XAxis().PonerAutoSizing(true);
    g.XAxis().PonerGridlines(true);
    g.Dimensions().PonerLeftMargin(30);
    g.Dimensions().PonerRightMargin(150);
    TAppearance& a = g.Appearance();
    a.PonerAllowDuplicates(true);
    QFont f(QStringLiteral("Small Fonts"));
    f.setPixelSize(9);
    a.PonerLabelFont(f);
    a.PonerTitleFont(a.LabelFont());
    a.PonerGraphTitle(textos.BuscarTexto(kTextoTitulo));
    g.XAxis().PonerTitle(textos.BuscarTexto(kTextoEjeTiempo));
    TLegend& l = g.Legend();
    l.PonerVisible(true);
    l.PonerBorderStyle(TLegend::Borde::Simple);
    l.PonerLayout(TLegend::Disposicion::HaciaAbajo);
    l.PonerInvertida(true); // the first trace is the lowest
    l.PonerWidth(125);
    l.PonerSymbolSpace(10);
}

} // namespace

TfrmSenalesDigitales::TfrmSenalesDigitales(IPrincipal& principal, QWidget* parent)
    : TVentanaSenales(principal, true, "ZoomP", "ZoomM", parent)
{
    setObjectName(QStringLiteral("frmSenalesDigitales"));
    ConfigurarGrafica(*xygraph, Contexto.Textos);
    ConfigurarGrafica(*xygraphatras, Contexto.Textos);
    xygraph->PonerDigitalLabels(true);
}

void TfrmSenalesDigitales::CargarSenales(int max)
{
    SenalesVisibles.clear();
    SenalesOcultas.clear();
    if (const TCjtSenales* s = Senales())
        SenalesVisibles = s->NombresDig();
    FiltrarVisibles(max);
    if (!SenalesVisibles.isEmpty())
        PonerPeriodo(Buscar(SenalesVisibles.first())->Periodo());
}

void TfrmSenalesDigitales::CalcularNiveles(int n)
{
    MedioCanal = n > 0 ? 100.0 / (2 * n) : 0;
    NivelBajo = MedioCanal;
    NivelAlto = 2 * MedioCanal;
    if (MedioCanal > 0)
        xygraph->YAxis().PonerStepSize(MedioCanal);
}

void TfrmSenalesDigitales::Refrescar()
{
    EmpezarRecarga();
    const TCjtSenales* set = Senales();
    SenalesVisibles.removeIf([set](const QString& n) { return !set || !set->BuscarDig(n); });
    altos_.clear();
    if (CerrarSiVacia())
        return;
    CalcularNiveles(int(SenalesVisibles.size()));
    PonerPeriodo(set->BuscarDig(SenalesVisibles.first())->Periodo());
    double duracion = 0;
    for (int k = 0; k < SenalesVisibles.size(); ++k)
        AnadirTraza(k, *set->BuscarDig(SenalesVisibles[k]), duracion);
    if (duracion <= 0)
        duracion = PeriodoMuestreo() > 0 ? PeriodoMuestreo() : 1;
    // The X range ends at the longest signal, so that none is cut off.
    xygraph->XAxis().PonerMax(duracion);
    ColocarLeyenda();
    TerminarRecarga();
}

void TfrmSenalesDigitales::AnadirTraza(int k, const TSenalDig& d, double& duracion)
{
    TSeries& serie = xygraph->Serie(k);
    serie.PonerNombre(d.Nombre());
    serie.PonerPuntos(false);
    OrigenCero();
    duracion = std::max(duracion, d.Duracion());
    serie.CargarMuestras(d.Periodo(), d.Muestras(), NivelBajo, NivelAlto);
    altos_.push_back(NivelAlto);
    NivelBajo = NivelAlto + MedioCanal;
    NivelAlto = NivelBajo + MedioCanal;
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

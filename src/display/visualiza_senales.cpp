#include "display/visualiza_senales.h"

#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/acciones_ajuste.h"
#include "display/elegir.h"
#include "display/ventana_espectro.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/senales.h"
#include "plot/grafica_senales.h"
#include "plot/grf.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

#include <algorithm>

namespace qv {

TfrmVisualizaSenales::TfrmVisualizaSenales(IPrincipal& principal, QWidget* parent)
    : TVentanaSenales(principal, false, "Zoom1", "Zoom2", parent)
{
    setObjectName(QStringLiteral("frmVisualizaSenales"));
    tiempo_ = Contexto.Textos.BuscarTexto(clave::Tiempo);
    EjeXElegido = tiempo_;
    PrepararGraficaAnalogica(*xygraph, Contexto.Textos);
    PrepararGraficaAnalogica(*xygraphatras, Contexto.Textos);
    // Nothing to draw until the first load.
    xygraph->PonerPlotting(false);
    Espectro2 = new QAction(QStringLiteral("Espectro..."), Popup);
    Espectro2->setObjectName(QStringLiteral("Espectro2"));
    connect(Espectro2, &QAction::triggered, this, &TfrmVisualizaSenales::AbrirEspectro);
    // With the measurements, before the fits' group, as in the Representación menu.
    const QList<QAction*> entradas = Popup->actions();
    Popup->insertAction(entradas.value(entradas.indexOf(Medidas2) + 1), Espectro2);
    connect(Popup, &QMenu::aboutToShow, this, [this] { Espectro2->setEnabled(!AnalogicasVisibles().isEmpty()); });
}

QStringList TfrmVisualizaSenales::AnalogicasVisibles() const
{
    QStringList r;
    if (const TCjtSenales* set = Senales())
        for (const QString& n : SenalesVisibles)
            if (set->BuscarAna(n))
                r << n;
    return r;
}

bool TfrmVisualizaSenales::Admite(TComando comando) const
{
    if (comando == TComando::Espectro)
        return !AnalogicasVisibles().isEmpty();
    if (const auto* a = findChild<TAccionesAjuste*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (comando == TComando::AjustarCurva)
            return a->PuedeAjustar();
        if (comando == TComando::SuperponerCaptura)
            return a->PuedeSuperponer();
    }
    return TVentanaSenales::Admite(comando);
}

void TfrmVisualizaSenales::Ejecutar(TComando comando)
{
    auto* a = findChild<TAccionesAjuste*>(QString(), Qt::FindDirectChildrenOnly);
    if (comando == TComando::Espectro)
        AbrirEspectro();
    else if (comando == TComando::AjustarCurva && a)
        a->AjustarCurva();
    else if (comando == TComando::SuperponerCaptura && a)
        a->SuperponerCaptura();
    else
        TVentanaSenales::Ejecutar(comando);
}

void TfrmVisualizaSenales::AbrirEspectro()
{
    const QStringList analogicas = AnalogicasVisibles();
    if (analogicas.isEmpty())
        return;
    const QString senal = analogicas.size() == 1 ? analogicas.front() : ElegirSenalEspectro(Principal(), analogicas);
    if (!senal.isEmpty())
        TfrmEspectro::Abrir(Principal(), senal, TramoCursores());
}

void TfrmVisualizaSenales::CargarSenales(int max)
{
    SenalesVisibles.clear();
    SenalesOcultas.clear();
    if (const TCjtSenales* s = Senales()) {
        SenalesVisibles = s->NombresAna() + s->NombresDig();
        FiltrarVisibles(*s, SenalesVisibles, SenalesOcultas, max);
    }
}

void TfrmVisualizaSenales::Refrescar()
{
    EmpezarRecarga();
    QuitarDesconocidas();
    if (CerrarSiVacia())
        return;
    const TCjtSenales& set = *Senales();
    const TSenalAna* ejeX = EjeTiempo() ? nullptr : set.BuscarAna(EjeXElegido);
    if (ejeX) {
        // One signal against the X signal.
        SenalesOcultas << SenalesVisibles.mid(1);
        SenalesVisibles = SenalesVisibles.mid(0, 1);
    } else {
        EjeXElegido = tiempo_; // the X signal, if any, is gone: back to time
    }
    PonerPeriodo(Buscar(SenalesVisibles.first())->Periodo());
    CargarAnalogicas(*xygraph, set, SenalesVisibles, ejeX, Contexto.Textos);
    ColocarLeyenda(*xygraph, int(SenalesVisibles.size()));
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

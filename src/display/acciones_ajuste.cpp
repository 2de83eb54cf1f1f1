#include "display/acciones_ajuste.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/ajuste_curva.h"
#include "display/superponer.h"
#include "display/visualiza_senales.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/errores.h"
#include "model/escritura_segura.h"
#include "model/fichero_senales.h"
#include "model/senales.h"
#include "plot/grf.h"
#include "plot/grf_partes.h"
#include "display/visualiza_senales_cursores.h"

#include <QDialog>
#include <QMenu>

namespace qv {

namespace {

constexpr int kTextoAjustar = 560;
constexpr int kTextoSuperponer = 561;
constexpr int kTextoConservar = 562;
constexpr int kTextoQuitar = 563;
constexpr int kTextoSinSenales = 585;
constexpr int kTextoFiltroSenales = 1180;
constexpr int kTextoTituloAbrir = 1181;
constexpr int kTextoNoSeLee = 101;

} // namespace

TAccionesAjuste::TAccionesAjuste(TVentanaSenales& ventana, IPrincipal& principal, QMenu& menu)
    : QObject(&ventana), ventana_(ventana), principal_(principal),
      superpuestas_(new TSuperposiciones(ventana.Grafica(), this))
{
    menu.addSeparator();
    AjustarCurva2 = menu.addAction(QStringLiteral("Ajustar curva..."), this, &TAccionesAjuste::AjustarCurva);
    AjustarCurva2->setObjectName(QStringLiteral("AjustarCurva2"));
    SuperponerCaptura2 =
        menu.addAction(QStringLiteral("Superponer captura..."), this, &TAccionesAjuste::SuperponerCaptura);
    SuperponerCaptura2->setObjectName(QStringLiteral("SuperponerCaptura2"));
    ConservarSuperposiciones2 =
        menu.addAction(QStringLiteral("Conservar superposiciones"), this, &TAccionesAjuste::ConservarSuperposiciones);
    ConservarSuperposiciones2->setObjectName(QStringLiteral("ConservarSuperposiciones2"));
    QuitarSuperposiciones2 =
        menu.addAction(QStringLiteral("Quitar superposiciones"), this, &TAccionesAjuste::QuitarSuperposiciones);
    QuitarSuperposiciones2->setObjectName(QStringLiteral("QuitarSuperposiciones2"));
    connect(&menu, &QMenu::aboutToShow, this, &TAccionesAjuste::Actualizar);
    // Overlays are drawn against time only; an XY plot hides them until it is a time
    // plot again.
    connect(&ventana.Grafica(), &QCustomPlot::beforeReplot, this,
            [this] { superpuestas_->PonerVisibles(EjeTiempo()); });
    Actualizar();
}

void TAccionesAjuste::Actualizar()
{
    TTextos& t = principal_.Contexto().Textos();
    AjustarCurva2->setText(t.BuscarTexto(kTextoAjustar));
    SuperponerCaptura2->setText(t.BuscarTexto(kTextoSuperponer));
    ConservarSuperposiciones2->setText(t.BuscarTexto(kTextoConservar));
    QuitarSuperposiciones2->setText(t.BuscarTexto(kTextoQuitar));
    AjustarCurva2->setEnabled(PuedeAjustar());
    SuperponerCaptura2->setEnabled(PuedeSuperponer());
    ConservarSuperposiciones2->setEnabled(!superpuestas_->Vacia());
    QuitarSuperposiciones2->setEnabled(!superpuestas_->Vacia());
}

bool TAccionesAjuste::PuedeSuperponer() const { return EjeTiempo() && !ventana_.SenalesVisibles.isEmpty(); }

bool TAccionesAjuste::EjeTiempo() const
{
    const auto* a = dynamic_cast<const TfrmVisualizaSenales*>(&ventana_);
    return !a || a->EjeXElegido == a->EntradaTiempo();
}

QStringList TAccionesAjuste::AnalogicasVisibles() const
{
    QStringList r;
    if (const TCjtSenales* set = principal_.Estado().Senales())
        for (const QString& n : ventana_.SenalesVisibles)
            if (set->BuscarAna(n))
                r << n;
    return r;
}

void TAccionesAjuste::Mostrar(const QStringList& nombres)
{
    bool cambio = false;
    for (const QString& n : nombres) {
        // A shown name may stand for a new signal now (a fit written over the last one).
        if (ventana_.SenalesVisibles.contains(n)) {
            cambio = true;
            continue;
        }
        if (EjeTiempo() && ventana_.SenalesVisibles.size() < principal_.MaxSenalesAna()) {
            ventana_.SenalesVisibles << n;
            cambio = true;
        } else if (!ventana_.SenalesOcultas.contains(n)) {
            ventana_.SenalesOcultas << n;
        }
    }
    if (cambio)
        ventana_.Refrescar();
}

void TAccionesAjuste::AjustarCurva()
{
    const QStringList analogicas = AnalogicasVisibles();
    if (analogicas.isEmpty())
        return;
    TfrmAjusteCurva dlg(principal_, &principal_.Ventana());
    dlg.Inicializar(analogicas, ventana_.TramoCursores(), [this](const QStringList& nuevas) { Mostrar(nuevas); });
    dlg.Ejecutar();
}

void TAccionesAjuste::SuperponerCaptura()
{
    const TContextoPrograma& c = principal_.Contexto();
    TTextos& t = c.Textos();
    TCjtSenales* set = principal_.Estado().Senales();
    if (!set)
        return;
    const QString ruta = c.Dialogos.AbrirFichero(t.BuscarTexto(kTextoFiltroSenales), t.BuscarTexto(kTextoTituloAbrir),
                                                 TEstadoPrograma::SinFicheroSenales);
    if (ruta.isEmpty())
        return;
    QByteArray datos;
    if (!LeerFicheroEntero(ruta, datos)) {
        c.Interaccion().MostrarError(t.BuscarTexto(kTextoNoSeLee) + QLatin1Char(' ') + ruta, Botones::Aceptar);
        return;
    }
    const QStringList nombres = NombresSenales(datos);
    if (nombres.isEmpty()) {
        c.Interaccion().MostrarAviso(t.BuscarTexto(kTextoSinSenales), Botones::Aceptar);
        return;
    }
    const bool azul = ventana_.CursoresActivos() && ventana_.Panel().Colocado(1);
    TfrmSuperponer dlg(principal_, &principal_.Ventana());
    dlg.Inicializar(ruta, nombres, azul);
    if (dlg.Ejecutar() != QDialog::Accepted)
        return;

    // The other file's signals under names of their own: nothing of the set or of the
    // window's overlays is ever replaced by them.
    QStringList ocupados = set->NombresAna() + set->NombresDig() + superpuestas_->Nombres();
    TCjtSenales leidas(t, c.Interaccion());
    std::vector<std::unique_ptr<TSenalAna>> copias;
    try {
        for (const QString& n : dlg.Elegidas()) {
            if (!LeerSenalDeDatos(leidas, datos, n, n))
                continue;
            const TSenal* s = leidas.BuscarAna(n) ? static_cast<const TSenal*>(leidas.BuscarAna(n)) : leidas.BuscarDig(n);
            if (!s)
                continue;
            const QString nombre = NombreSuperpuesta(ruta, n, ocupados);
            ocupados << nombre;
            copias.push_back(CopiaSimple(*s, nombre));
        }
    } catch (const EErrorModelo&) {
        c.Interaccion().MostrarError(t.BuscarTexto(kTextoNoSeLee) + QLatin1Char(' ') + ruta, Botones::Aceptar);
        return;
    }
    const double inicio = dlg.EnCursorAzul() && azul ? ventana_.Grafica().CursorAzul().X : 0.0;
    for (auto& s : copias)
        superpuestas_->Anadir(std::move(s), inicio);
    if (dlg.Conservar())
        ConservarSuperposiciones();
}

void TAccionesAjuste::ConservarSuperposiciones()
{
    TCjtSenales* set = principal_.Estado().Senales();
    if (!set || superpuestas_->Vacia())
        return;
    QStringList anadidas;
    for (auto& s : superpuestas_->Sacar())
        if (set->AnadirAna(std::move(s)))
            anadidas << set->Ana(0)->Nombre();
    if (anadidas.isEmpty())
        return;
    principal_.Estado().MarcarModificado();
    Mostrar(anadidas);
}

void TAccionesAjuste::QuitarSuperposiciones()
{
    superpuestas_->Quitar();
}

} // namespace qv

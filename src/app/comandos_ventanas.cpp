#include "app/comandos_ventanas.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "app/api/ventana_hija.h"
#include "display/senales_digitales.h"
#include "display/visualiza_senales.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStyle>

#include <algorithm>

namespace qv {

namespace {

const char* const kListaVentanas = "listaVentanas";
constexpr int kTextoSinDigitales = 102;

} // namespace

TComandosVentanas::TComandosVentanas(IPrincipal& principal) : principal_(principal)
{
    TEstadoPrograma& e = principal.Estado();
    connect(&e, &TEstadoPrograma::ConjuntoSustituido, this, &TComandosVentanas::SeguirConjunto);
    connect(&e, &TEstadoPrograma::ConfigCambiada, this, [this, &e] {
        if (!e.Cerrando && !e.HayConjunto())
            CerrarVentanas();
    });
}

void TComandosVentanas::SeguirConjunto()
{
    const TEstadoPrograma& e = principal_.Estado();
    if (e.Cerrando)
        return;
    // Windows look their signals up in the set: they go with it.
    CerrarVentanas();
    if (!e.HayConjunto())
        return;
    try {
        AbrirVentanasDelConjunto(TituloVentanaNueva());
    } catch (const std::exception&) {
        const TContextoPrograma& c = principal_.Contexto();
        c.Interaccion().MostrarAviso(c.Textos().BuscarTexto(clave::NoCargado), Botones::Aceptar);
    }
}

void TComandosVentanas::AbrirVentanasDelConjunto(const QString& titulo)
{
    const TEstadoPrograma& e = principal_.Estado();
    QMdiArea& area = principal_.AreaVentanas();
    AbrirVentanaAnalogica(titulo);
    QMdiSubWindow* analogica = area.currentSubWindow();
    QMdiSubWindow* digital = nullptr;
    // Stacked logic traces read better than 0 / 5 V lines, and a full analog window
    // has no room left for the digital signals.
    if (e.Senales()->NumDig() > 0) {
        AbrirVentanaDigital(titulo);
        digital = area.currentSubWindow();
    }
    if (!analogica)
        return;
    // What was just opened fills the document area: the analog window alone, or the
    // analog window over the digital one.
    const QRect r = area.viewport()->rect();
    for (QMdiSubWindow* s : {analogica, digital})
        if (s && s->isMaximized())
            s->showNormal();
    if (digital && digital != analogica) {
        analogica->setGeometry(0, 0, r.width(), r.height() / 2);
        digital->setGeometry(0, r.height() / 2, r.width(), r.height() - r.height() / 2);
    } else {
        analogica->setGeometry(r);
    }
    area.setActiveSubWindow(analogica);
}

QString TComandosVentanas::TituloVentanaNueva() const
{
    const TEstadoPrograma& e = principal_.Estado();
    return e.FicheroAbierto != TEstadoPrograma::SinFicheroSenales ? e.FicheroAbierto : e.FicheroGuardarComo;
}

void TComandosVentanas::NuevaVentana1Click()
{
    AbrirVentanaAnalogica(TituloVentanaNueva());
}

void TComandosVentanas::VentanaDigital1Click()
{
    const TEstadoPrograma& e = principal_.Estado();
    if (!e.Senales() || e.Senales()->NumDig() == 0) {
        const TContextoPrograma& c = principal_.Contexto();
        c.Interaccion().MostrarAviso(c.Textos().BuscarTexto(kTextoSinDigitales), Botones::Aceptar);
        return;
    }
    AbrirVentanaDigital(TituloVentanaNueva());
}

void TComandosVentanas::AbrirVentanaAnalogica(const QString& titulo)
{
    AbrirVentana(new TfrmVisualizaSenales(principal_), titulo, principal_.MaxSenalesAna());
}

void TComandosVentanas::AbrirVentanaDigital(const QString& titulo)
{
    AbrirVentana(new TfrmSenalesDigitales(principal_), titulo, principal_.MaxSenalesDig());
}

void TComandosVentanas::AbrirVentana(TVentanaSenales* ventana, const QString& titulo, int maxSenales)
{
    ventana->setWindowTitle(titulo);
    ventana->CargarSenales(maxSenales);
    if (ventana->SenalesVisibles.isEmpty()) {
        delete ventana;
        return;
    }
    QMdiArea& area = principal_.AreaVentanas();
    const int abiertas = int(area.subWindowList().size());
    QMdiSubWindow* sub = area.addSubWindow(ventana);
    // Cascaded at a size worth reading: at least 60 % of the document area each way,
    // never beyond it.
    const QSize hueco = area.viewport()->size();
    const QSize sesenta((hueco.width() * 6 + 9) / 10, (hueco.height() * 6 + 9) / 10);
    const QSize tamano = sub->size().expandedTo(sesenta).boundedTo(hueco).expandedTo(sub->minimumSizeHint());
    const int paso = std::max(16, sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub));
    const int sitios = std::max(1, std::min((hueco.width() - tamano.width()) / paso,
                                            (hueco.height() - tamano.height()) / paso) + 1);
    const int k = abiertas % sitios;
    sub->setGeometry(k * paso, k * paso, tamano.width(), tamano.height());
    sub->show();
    ventana->Refrescar();
}

void TComandosVentanas::CerrarVentanas()
{
    QList<QPointer<QMdiSubWindow>> vivas;
    for (QMdiSubWindow* s : principal_.AreaVentanas().subWindowList(QMdiArea::CreationOrder))
        vivas << s;
    // Last first; a window that goes may take others with it, so each is checked.
    for (auto it = vivas.rbegin(); it != vivas.rend(); ++it)
        if (*it)
            delete it->data();
    contador_ = 0;
}

int TComandosVentanas::NuevoNumeroVentana()
{
    // However the windows went, the numbers start again once none is left.
    if (principal_.AreaVentanas().subWindowList().isEmpty())
        contador_ = 0;
    return ++contador_;
}

void TComandosVentanas::CerrarVentana1Click()
{
    principal_.CerrarVentanaActiva();
}

void TComandosVentanas::CerrarTodas1Click()
{
    CerrarVentanas();
}

void TComandosVentanas::Cascada1Click()
{
    QMdiArea& area = principal_.AreaVentanas();
    for (QMdiSubWindow* s : area.subWindowList())
        s->showNormal();
    area.cascadeSubWindows();
}

void TComandosVentanas::Mosaico(Qt::Orientation orientacion)
{
    QMdiArea& area = principal_.AreaVentanas();
    QList<QMdiSubWindow*> hijas;
    for (QMdiSubWindow* s : area.subWindowList(QMdiArea::CreationOrder)) {
        s->showNormal();
        if (s->isVisible())
            hijas << s;
    }
    if (hijas.isEmpty())
        return;
    const QRect r = area.viewport()->rect();
    const int n = int(hijas.size());
    for (int i = 0; i < n; ++i) {
        if (orientacion == Qt::Horizontal) {
            // Horizontal tiles: full-width bands stacked from top to bottom.
            const int y0 = r.height() * i / n, y1 = r.height() * (i + 1) / n;
            hijas[i]->setGeometry(0, y0, r.width(), y1 - y0);
        } else {
            const int x0 = r.width() * i / n, x1 = r.width() * (i + 1) / n;
            hijas[i]->setGeometry(x0, 0, x1 - x0, r.height());
        }
    }
}

void TComandosVentanas::TileHorizontal1Click()
{
    Mosaico(Qt::Horizontal);
}

void TComandosVentanas::TileVertical1Click()
{
    Mosaico(Qt::Vertical);
}

void TComandosVentanas::MenuVentanas(QMenu& menu)
{
    for (QAction* a : menu.actions())
        if (a->property(kListaVentanas).toBool()) {
            menu.removeAction(a);
            a->deleteLater();
        }
    QMdiArea& area = principal_.AreaVentanas();
    const QList<QMdiSubWindow*> hijas = area.subWindowList(QMdiArea::CreationOrder);
    if (!hijas.isEmpty()) {
        QAction* separador = menu.addSeparator();
        separador->setProperty(kListaVentanas, true);
    }
    int i = 0;
    for (QMdiSubWindow* s : hijas) {
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(++i).arg(s->windowTitle()), &menu);
        a->setProperty(kListaVentanas, true);
        a->setCheckable(true);
        a->setChecked(s == area.currentSubWindow());
        QPointer<QMdiSubWindow> destino(s);
        QObject::connect(a, &QAction::triggered, &menu, [&area, destino] {
            if (destino)
                area.setActiveSubWindow(destino);
        });
        menu.addAction(a);
    }
}

} // namespace qv

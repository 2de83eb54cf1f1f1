#include "app/comandos_ventanas.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "app/api/ventana_hija.h"
#include "display/senales_digitales.h"
#include "display/visualiza_senales.h"
#include "lang/interaccion.h"
#include "lang/textos.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace qv {

namespace {

const char* const kListaVentanas = "listaVentanas";
constexpr int kTextoSinDigitales = 102;

} // namespace

void AbrirVentanasDelConjunto(IPrincipal& principal, const QString& titulo)
{
    const TEstadoPrograma& e = principal.Estado();
    principal.AbrirVentanaAnalogica(titulo);
    // Stacked logic traces read better than 0 / 5 V lines, and a full analog window
    // has no room left for the digital signals.
    if (!e.SenalesActuales || e.SenalesActuales->NumDig() == 0)
        return;
    QMdiArea& area = principal.AreaVentanas();
    QMdiSubWindow* analogica = area.currentSubWindow();
    principal.AbrirVentanaDigital(titulo);
    QMdiSubWindow* digital = area.currentSubWindow();
    if (!analogica)
        return;
    // One above the other, both in full view, when the document area has room.
    const QRect r = area.viewport()->rect();
    if (digital && digital != analogica && r.width() >= 400 && r.height() >= 2 * 260) {
        analogica->setGeometry(0, 0, r.width(), r.height() / 2);
        digital->setGeometry(0, r.height() / 2, r.width(), r.height() - r.height() / 2);
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
    if (!e.SenalesActuales || e.SenalesActuales->NumDig() == 0) {
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
    QMdiSubWindow* sub = area.addSubWindow(ventana);
    // Within the document area when it has room for a useful window.
    const QSize hueco = area.viewport()->size();
    if (hueco.width() >= 400 && hueco.height() >= 300)
        sub->resize(sub->size().boundedTo(hueco));
    sub->show();
    ventana->Refrescar();
    principal_.Estado().Notificar();
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
}

void TComandosVentanas::CerrarVentana1Click()
{
    principal_.CerrarVentanaActiva();
}

void TComandosVentanas::CerrarTodas1Click()
{
    principal_.CerrarVentanas();
    principal_.Estado().Notificar();
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

#include "app/ayuda.h"

#include "lang/textos.h"
#include "lang/ui/formulario.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace qv {

namespace {

constexpr int kTextoTituloAyuda = 1200;
constexpr int kTextoAtras = 1201;
constexpr int kTextoAdelante = 1202;
constexpr int kTextoSinAyuda = 1203;  // "%1": the number asked for
constexpr int kTextoTemasAyuda = 1161; // the menu item's caption
// Help on the help window itself.
constexpr int kAyudaDeLaAyuda = 249;

// The number of a page name "NNN.html"; 0 for any other name.
int NumeroDePagina(const QString& nombre)
{
    static const QRegularExpression pagina(QStringLiteral("^(\\d{1,6})\\.html$"));
    const QRegularExpressionMatch m = pagina.match(nombre);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

// ---- page browser -------------------------------------------------------------------

TNavegadorAyuda::TNavegadorAyuda(TTextos& textos, const QString& carpeta, QWidget* parent)
    : QTextBrowser(parent), textos_(textos), carpeta_(carpeta)
{
    setObjectName(QStringLiteral("Navegador"));
    setOpenLinks(true);
    setOpenExternalLinks(false);
}

QString TNavegadorAyuda::NombrePagina(int numero)
{
    return QStringLiteral("%1.html").arg(numero);
}

QUrl TNavegadorAyuda::Direccion(int numero) const
{
    return QUrl::fromLocalFile(QFileInfo(carpeta_ + QLatin1Char('/') + NombrePagina(numero)).absoluteFilePath());
}

int TNavegadorAyuda::NumeroActual() const
{
    return NumeroDePagina(source().fileName());
}

QVariant TNavegadorAyuda::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource) {
        // Links between pages are relative; they arrive resolved against the page shown.
        const QString ruta = name.isLocalFile() ? name.toLocalFile()
                                                : carpeta_ + QLatin1Char('/') + name.path();
        if (!QFileInfo(ruta).isFile())
            return PaginaAusente(name);
    }
    return QTextBrowser::loadResource(type, name);
}

QString TNavegadorAyuda::PaginaAusente(const QUrl& name)
{
    const QString nombre = name.fileName();
    const int numero = NumeroDePagina(nombre);
    const QString cual = numero > 0 ? QString::number(numero) : nombre;
    const QString indice = Direccion(TfrmAyuda::PaginaIndice).toString();
    return QStringLiteral("<html><head><title>%1</title></head><body>"
                          "<h2>%1</h2><p>%2</p><p><a href=\"%3\">%4</a></p></body></html>")
        .arg(textos_.BuscarTexto(kTextoTituloAyuda).toHtmlEscaped(),
             textos_.BuscarTexto(kTextoSinAyuda).arg(cual).toHtmlEscaped(), indice.toHtmlEscaped(),
             textos_.BuscarTexto(kTextoTemasAyuda).toHtmlEscaped());
}

// ---- help window ----------------------------------------------------------------------

TfrmAyuda::TfrmAyuda(TTextos& textos, const QString& carpeta, QWidget* parent)
    : QWidget(parent, Qt::Window), textos_(textos)
{
    setObjectName(QStringLiteral("frmAyuda"));
    setProperty(kPropiedadAyuda, kAyudaDeLaAyuda);
    resize(700, 560);

    auto boton = [this](const char* nombre, QStyle::StandardPixmap icono) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(nombre));
        b->setIcon(style()->standardIcon(icono));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        return b;
    };
    BtnAtras = boton("BtnAtras", QStyle::SP_ArrowBack);
    BtnAdelante = boton("BtnAdelante", QStyle::SP_ArrowForward);
    BtnIndice = boton("BtnIndice", QStyle::SP_DirHomeIcon);
    Navegador = new TNavegadorAyuda(textos, carpeta, this);

    auto* barra = new QHBoxLayout;
    barra->addWidget(BtnAtras);
    barra->addWidget(BtnAdelante);
    barra->addWidget(BtnIndice);
    barra->addStretch(1);
    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(4, 4, 4, 4);
    capa->addLayout(barra);
    capa->addWidget(Navegador, 1);

    BtnAtras->setEnabled(false);
    BtnAdelante->setEnabled(false);
    connect(BtnAtras, &QToolButton::clicked, Navegador, &QTextBrowser::backward);
    connect(BtnAdelante, &QToolButton::clicked, Navegador, &QTextBrowser::forward);
    connect(BtnIndice, &QToolButton::clicked, this, [this] { Navegador->setSource(Navegador->Direccion(PaginaIndice)); });
    connect(Navegador, &QTextBrowser::backwardAvailable, BtnAtras, &QWidget::setEnabled);
    connect(Navegador, &QTextBrowser::forwardAvailable, BtnAdelante, &QWidget::setEnabled);
    AplicarTextos();
}

void TfrmAyuda::MostrarAyuda(int numero)
{
    Navegador->setSource(Navegador->Direccion(numero > 0 ? numero : PaginaIndice));
    if (!colocada_ && parentWidget()) {
        // The first time, beside the work rather than over the menus and toolbars.
        const QRect marco = parentWidget()->window()->geometry();
        move(qMax(marco.left(), marco.right() - width() - 20), marco.top() + 80);
        colocada_ = true;
    }
    // A modal dialog blocks every window but its own: help asked for from inside one
    // becomes that dialog's transient window, so that it can be read and followed.
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* duena = modal && modal != this ? modal : parentWidget() ? parentWidget()->window() : nullptr;
    if (duena) {
        if (!windowHandle())
            winId();
        if (duena->windowHandle() && windowHandle()->transientParent() != duena->windowHandle())
            windowHandle()->setTransientParent(duena->windowHandle());
    }
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void TfrmAyuda::AplicarTextos()
{
    setWindowTitle(textos_.BuscarTexto(kTextoTituloAyuda));
    BtnAtras->setText(textos_.BuscarTexto(kTextoAtras));
    BtnAdelante->setText(textos_.BuscarTexto(kTextoAdelante));
    BtnIndice->setText(textos_.BuscarTexto(kTextoTemasAyuda));
}

void TfrmAyuda::showEvent(QShowEvent* e)
{
    // The language file may have changed since the last time.
    AplicarTextos();
    QWidget::showEvent(e);
}

void TfrmAyuda::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F1) {
        MostrarAyuda(NumeroAyuda(this));
        return;
    }
    QWidget::keyPressEvent(e);
}

// ---- F1 in menus ----------------------------------------------------------------------

TAyudaMenus::TAyudaMenus(TAyuda& ayuda, QObject* parent) : QObject(parent), ayuda_(ayuda) {}

int TAyudaMenus::NumeroMenu(const QWidget& menu)
{
    auto numero = [](const QAction* a) { return a ? a->property(kPropiedadAyuda).toInt() : 0; };
    if (const auto* m = qobject_cast<const QMenu*>(&menu)) {
        if (const int n = numero(m->activeAction()); n > 0)
            return n;
        // The submenus out to the top menu: each carries its number on its own action.
        for (const QMenu* s = m; s; s = qobject_cast<const QMenu*>(s->parentWidget()))
            if (const int n = numero(s->menuAction()); n > 0)
                return n;
    } else if (const auto* b = qobject_cast<const QMenuBar*>(&menu)) {
        if (const int n = numero(b->activeAction()); n > 0)
            return n;
    }
    // The window the menu belongs to.
    const int n = NumeroAyuda(menu.parentWidget());
    return n > 0 ? n : TfrmAyuda::PaginaIndice;
}

bool TAyudaMenus::eventFilter(QObject* objeto, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1
        && static_cast<QKeyEvent*>(e)->modifiers() == Qt::NoModifier
        && (qobject_cast<QMenu*>(objeto) || qobject_cast<QMenuBar*>(objeto))) {
        const int n = NumeroMenu(*static_cast<QWidget*>(objeto));
        // The open menus would stay over the help window and keep the keyboard.
        for (int i = 0; i < 16 && QApplication::activePopupWidget(); ++i)
            QApplication::activePopupWidget()->close();
        ayuda_.MostrarAyuda(n);
        return true;
    }
    return QObject::eventFilter(objeto, e);
}

} // namespace qv

#include "display/preview.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/impresion.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/modal.h"
#include "model/senales.h"
#include "plot/grf.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace qv {

namespace {

constexpr int kAyudaPreview = 224;
constexpr int kTextoTitulo = 200;
constexpr int kTextoGrafica = 201;

// A placeholder of the page: a white box that paints its own schematic.
class TMarcador : public QFrame {
public:
    TMarcador(QWidget* parent, std::function<void(QPainter&, const QRect&)> esquema)
        : QFrame(parent), esquema_(std::move(esquema))
    {
        setFrameShape(QFrame::Box);
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QFrame::paintEvent(e);
        QPainter p(this);
        esquema_(p, rect());
    }

private:
    std::function<void(QPainter&, const QRect&)> esquema_;
};

// The graph's schematic: an inner panel, a light-yellow box, five lines dividing the
// box in fifths and a base line under it.
void EsquemaGrafica(QPainter& p, const QRect& r)
{
    const QRect panel(5, 5, r.width() - 13, r.height() - 10);
    if (panel.width() <= 6 || panel.height() <= 6)
        return;
    p.fillRect(panel, QColor(0xE0, 0xE0, 0xE0));
    const QRect caja = panel.adjusted(3, 3, -3, -10);
    p.fillRect(caja, QColor(0xFF, 0xFF, 0xC0));
    p.setPen(QColor(0x80, 0x80, 0x80));
    for (int i = 0; i < 5; ++i) {
        const int x = caja.left() + i * caja.width() / 5;
        p.drawLine(x, caja.top(), x, caja.bottom());
    }
    p.setPen(Qt::black);
    p.drawLine(caja.left(), caja.bottom() + 4, caja.right(), caja.bottom() + 4);
    // A trace, so that a student sees a graph at once.
    p.setPen(QColor(0x00, 0x00, 0xC0));
    QPolygon onda;
    for (int x = caja.left(); x <= caja.right(); x += 2)
        onda << QPoint(x, caja.center().y()
                              - int(caja.height() / 3.0 * std::sin(6.2832 * 2 * (x - caja.left()) / std::max(1, caja.width()))));
    p.drawPolyline(onda);
}

// Lines of text, as a box of the table or the comment looks printed, under a caption.
void EsquemaTexto(QPainter& p, const QRect& r, const QString& titulo, bool columnas)
{
    QFont f = p.font();
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(r.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, titulo);
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    for (int y = 16; y < r.height() - 4; y += 5) {
        if (columnas) {
            for (int x = 6; x + 14 < r.width(); x += 22)
                p.drawLine(x, y, x + 14, y);
        } else {
            p.drawLine(12, y, r.width() - 12 - (y * 7) % 30, y);
        }
    }
}

} // namespace

TfrmPreview::TfrmPreview(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, kAyudaPreview, parent), principal_(principal),
      impresora_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Presentación preliminar"));

    // The desk on which the page lies: room for both orientations with their shadow.
    Lienzo = new QWidget(this);
    Lienzo->setObjectName(QStringLiteral("Lienzo"));
    Lienzo->setFixedSize(400, 340);
    Lienzo->setAutoFillBackground(true);
    QPalette gris = Lienzo->palette();
    gris.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    Lienzo->setPalette(gris);

    Sombra = new QFrame(Lienzo);
    Sombra->setObjectName(QStringLiteral("Sombra"));
    Sombra->setAutoFillBackground(true);
    QPalette negro = Sombra->palette();
    negro.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    Sombra->setPalette(negro);

    Pagina_ = new QFrame(Lienzo);
    Pagina_->setObjectName(QStringLiteral("Pagina"));
    Pagina_->setAutoFillBackground(true);
    QPalette blanco = Pagina_->palette();
    blanco.setColor(QPalette::Window, Qt::white);
    Pagina_->setPalette(blanco);

    // Placeholders are the page's siblings above it, so that the graph can be dragged
    // anywhere on the page in the desk's coordinates.
    Imagen_ = new TMarcador(Lienzo, EsquemaGrafica);
    Imagen_->setObjectName(QStringLiteral("Imagen"));
    Imagen_->setCursor(Qt::SizeAllCursor);
    Imagen_->installEventFilter(this);
    ITabla_ = new TMarcador(Lienzo, [this](QPainter& p, const QRect& r) { EsquemaTexto(p, r, CBTabla->text(), true); });
    ITabla_->setObjectName(QStringLiteral("ITabla"));
    IComent_ = new TMarcador(Lienzo, [this](QPainter& p, const QRect& r) {
        EsquemaTexto(p, r, CBComentario->text(), false);
    });
    IComent_->setObjectName(QStringLiteral("IComent"));

    auto caja = [this](const char* nombre, const QString& texto) {
        auto* c = new QCheckBox(texto, this);
        c->setObjectName(QLatin1String(nombre));
        c->setChecked(true);
        connect(c, &QCheckBox::toggled, this, &TfrmPreview::Disponer);
        return c;
    };
    CBGrafica = caja("CBGrafica", QStringLiteral("Representación gráfica"));
    CBTabla = caja("CBTabla", QStringLiteral("Tabla de datos"));
    CBComentario = caja("CBComentario", QStringLiteral("Comentario"));

    GBPagina = new QGroupBox(QStringLiteral(" Pagina "), this);
    GBPagina->setObjectName(QStringLiteral("GBPagina"));
    RBtnVertical = new QRadioButton(QStringLiteral("Vertical"), GBPagina);
    RBtnVertical->setObjectName(QStringLiteral("RBtnVertical"));
    RBtnVertical->setChecked(true);
    RBtnHorizontal = new QRadioButton(QStringLiteral("Horizontal"), GBPagina);
    RBtnHorizontal->setObjectName(QStringLiteral("RBtnHorizontal"));
    auto* orientacion = new QVBoxLayout(GBPagina);
    orientacion->addWidget(RBtnVertical);
    orientacion->addWidget(RBtnHorizontal);
    auto orientar = [this](bool marcado) {
        if (!marcado)
            return;
        impresora_->setPageOrientation(RBtnHorizontal->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
        Disponer();
    };
    connect(RBtnVertical, &QRadioButton::toggled, this, orientar);
    connect(RBtnHorizontal, &QRadioButton::toggled, this, orientar);

    auto boton = [this](const char* nombre, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(nombre));
        b->setAutoDefault(false);
        return b;
    };
    BtnImprimir = boton("BtnImprimir", QStringLiteral("Imprimir"));
    BtnImprimir->setDefault(true);
    BtnSetup = boton("BtnSetup", QStringLiteral("Impresora..."));
    BtnCerrar = boton("BtnCerrar", QStringLiteral("Cerrar"));
    BtnHelp = boton("BtnHelp", QStringLiteral("Ayuda"));
    connect(BtnImprimir, &QPushButton::clicked, this, &TfrmPreview::BtnImprimirClick);
    connect(BtnSetup, &QPushButton::clicked, this, &TfrmPreview::BtnSetupClick);
    connect(BtnCerrar, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnHelp, &QPushButton::clicked, this, [this] { MostrarAyuda(*this); });

    auto* columna = new QVBoxLayout;
    columna->addWidget(CBGrafica);
    columna->addWidget(CBTabla);
    columna->addWidget(CBComentario);
    columna->addSpacing(8);
    columna->addWidget(GBPagina);
    columna->addStretch(1);
    columna->addWidget(BtnImprimir);
    columna->addWidget(BtnSetup);
    columna->addWidget(BtnCerrar);
    columna->addWidget(BtnHelp);
    auto* todo = new QHBoxLayout(this);
    todo->addWidget(Lienzo);
    todo->addLayout(columna);
    todo->setSizeConstraint(QLayout::SetFixedSize);

    PonerGrafica(nullptr);
}

TfrmPreview::~TfrmPreview() = default;

void TfrmPreview::PonerGrafica(TGrf* grafica)
{
    grafica_ = grafica;
    CBGrafica->setEnabled(grafica_ != nullptr);
    Disponer();
}

void TfrmPreview::AlMostrar()
{
    SeguirImpresora();
}

void TfrmPreview::SeguirImpresora()
{
    const bool horizontal = impresora_->pageLayout().orientation() == QPageLayout::Landscape;
    (horizontal ? RBtnHorizontal : RBtnVertical)->setChecked(true);
    Disponer();
}

void TfrmPreview::Disponer()
{
    const bool horizontal = RBtnHorizontal->isChecked();
    const QRect pagina = horizontal ? QRect(40, 64, 297, 210) : QRect(96, 32, 210, 297);
    Pagina_->setGeometry(pagina);
    Sombra->setGeometry(pagina.translated(4, 4));

    const int izquierda = pagina.left() + MargenPagina;
    const int arriba = pagina.top() + MargenPagina;
    const int w = pagina.width() - 2 * MargenPagina;
    const int h = pagina.height() - 2 * MargenPagina;
    const bool conGrafica = grafica_ && CBGrafica->isChecked();
    int altoGrafica = 0;
    if (conGrafica && grafica_->width() > 0 && grafica_->height() > 0) {
        const double sx = double(w) / grafica_->width();
        const double sy = double(h) / grafica_->height();
        QSize tam = sx >= sy ? QSize(int(std::lround(sy * grafica_->width())), h)
                             : QSize(w, int(std::lround(sx * grafica_->height())));
        Imagen_->setGeometry(QRect(QPoint(izquierda, arriba), tam));
        altoGrafica = tam.height();
    }
    Imagen_->setVisible(conGrafica);

    const bool conTabla = CBTabla->isChecked();
    const bool conComentario = CBComentario->isChecked();
    const int mostrados = int(conTabla) + int(conComentario);
    const int m = conGrafica ? h - (altoGrafica + 2) : h;
    const int alto = mostrados > 0 ? int(std::lround(double(m) / mostrados)) - 6 : 0;
    int y = conGrafica ? arriba + altoGrafica + 2 : arriba;
    for (auto [marcador, visible] : {std::pair{ITabla_, conTabla}, std::pair{IComent_, conComentario}}) {
        marcador->setVisible(visible && alto > 0);
        if (visible && alto > 0) {
            marcador->setGeometry(izquierda, y, w, alto);
            y += alto + 2;
        }
    }
    Pagina_->lower();
    Sombra->lower();
}

QPoint TfrmPreview::PosicionArrastre(QPoint esquina) const
{
    const QRect pagina = Pagina_->geometry();
    const int minX = pagina.left() + MargenPagina;
    const int minY = pagina.top() + MargenPagina;
    const int maxX = std::max(minX, pagina.left() + pagina.width() - MargenPagina - Imagen_->width());
    const int maxY = std::max(minY, pagina.top() + pagina.height() - MargenPagina - Imagen_->height());
    return {std::clamp(esquina.x(), minX, maxX), std::clamp(esquina.y(), minY, maxY)};
}

bool TfrmPreview::eventFilter(QObject* o, QEvent* e)
{
    if (o == Imagen_) {
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::LeftButton) {
                desplazamiento_ = m->position().toPoint();
                arrastrando_ = true;
                return true;
            }
            break;
        }
        case QEvent::MouseMove:
            if (arrastrando_) {
                const QPoint puntero = Imagen_->mapToParent(static_cast<QMouseEvent*>(e)->position().toPoint());
                Imagen_->move(PosicionArrastre(puntero - desplazamiento_));
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (arrastrando_) {
                arrastrando_ = false;
                return true;
            }
            break;
        default:
            break;
        }
    }
    return TFormulario::eventFilter(o, e);
}

void TfrmPreview::BtnSetupClick()
{
    QPrintDialog dialogo(impresora_.get(), this);
    dialogo.setObjectName(QStringLiteral("DialogoImpresora"));
    Contexto.Modal.Ejecutar(dialogo);
    SeguirImpresora();
}

void TfrmPreview::BtnImprimirClick()
{
    const TContextoPrograma& c = principal_.Contexto();
    if (!PrepararImpresora(*impresora_, c, this, true))
        return;
    impresora_->setDocName(QStringLiteral("Quorvane - ") + QFileInfo(principal_.Estado().FicheroGuardarComo).fileName());
    TCursorOcupado cursor(c.Interaccion());
    QPainter p;
    const bool abierto = p.begin(impresora_.get());
    const bool impreso = abierto && Imprimir(p);
    if (!impreso) {
        // The job is never left open: what was drawn is thrown away and the preview stays.
        impresora_->abort();
        if (p.isActive())
            p.end();
        return;
    }
    p.end();
    accept();
}

bool TfrmPreview::Imprimir(QPainter& p)
{
    QPrinter& impresora = *impresora_;
    const QRect area(0, 0, impresora.width(), impresora.height());
    if (area.isEmpty())
        return false;
    const int k = PuntosPorPixel(impresora.resolution(), logicalDpiY());
    const bool conGrafica = grafica_ && CBGrafica->isChecked();
    int y = 0;
    if (conGrafica) {
        const QSizeF mm = impresora.pageLayout().paintRect(QPageLayout::Millimeter).size();
        if (mm.width() <= 10 || mm.height() <= 10)
            return false;
        const QRect pagina = Pagina_->geometry();
        const QRect marcador = Imagen_->geometry();
        const int despX = int(std::lround((marcador.left() - pagina.left()) * 100.0 / mm.width()));
        const int despY = int(std::lround((marcador.top() - pagina.top()) * 100.0 / mm.height()));
        // The documents' 95 % of the width would run the graph off the page once it is
        // offset: keep it to the placeholder's share of the page, inside the right edge.
        int escala = int(std::lround((mm.width() * 100 - 1000) / mm.width()));
        escala = std::min({escala, int(std::lround(marcador.width() * 100.0 / mm.width())), 100 - despX});
        TDimensions& d = grafica_->Dimensions();
        d.PonerPrintXOffsetPct(despX);
        d.PonerPrintYOffsetPct(despY);
        d.PonerPrintScalePct(std::max(1, escala));
        y = grafica_->ImprimirGrafica(p, area);
        // A graph dragged down ends lower than 1.35 times its height.
        const double alto = area.width() * d.PrintScalePct() / 100.0 * grafica_->height() / grafica_->width();
        y = std::max(y, int(std::lround(area.height() * despY / 100.0 + alto)));
    }

    TTextos& textos = Contexto.Textos;
    THojasInforme hojas(p, area.size(), k, [&impresora] { return impresora.newPage(); });
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    const QFont base = font();
    QFont titulo = base;
    titulo.setBold(true);
    if (base.pointSizeF() > 0)
        titulo.setPointSizeF(base.pointSizeF() + 10);
    else
        titulo.setPixelSize(base.pixelSize() * 2);
    p.setFont(titulo);
    hojas.PonerColorTexto(Qt::red);
    hojas.Texto(30 * k, 30 * k, textos.BuscarTexto(kTextoTitulo));
    hojas.PonerColorTexto(Qt::black);
    p.setFont(base);
    if (conGrafica) {
        hojas.PonerNegrita(true, true);
        hojas.Texto(30 * k, 70 * k, textos.BuscarTexto(kTextoGrafica));
        hojas.PonerNegrita(false, false);
    } else {
        y = 40 * k;
    }
    if (!p.isActive())
        return false;

    const TCjtSenales* senales = principal_.Estado().Senales();
    if (senales && CBComentario->isChecked()) {
        p.setClipping(false);
        y = PintarComentario(hojas, senales->Comentario, textos, y);
    }
    if (senales && CBTabla->isChecked()) {
        p.setClipping(false);
        PintarTabla(hojas, *senales, {}, textos, y);
    }
    return true;
}

} // namespace qv

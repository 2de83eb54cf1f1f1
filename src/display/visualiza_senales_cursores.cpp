#include "display/visualiza_senales_cursores.h"

#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/formatos.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr int kTextoFilaAzul = 37012;
constexpr int kTextoFilaRoja = 37013;
constexpr int kTextoFilaDiferencia = 37014;
constexpr int kTextoMicrosegundos = 193;
constexpr int kTextoMilisegundos = 194;

constexpr int kFilaLectura = 14; // height of one readout line
constexpr int kAnchoRotulo = 100;

QString Fijo6(double v)
{
    return FormatoFijo(v, 6);
}

QLabel* Etiqueta(const char* nombre, const QString& texto, const QColor& color, QWidget* padre)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    l->setTextFormat(Qt::PlainText);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, color);
    l->setPalette(p);
    QFont f = l->font();
    f.setPixelSize(11);
    l->setFont(f);
    return l;
}

} // namespace

TPanelCursores::TPanelCursores(TTextos& textos, bool conSigno, QWidget* parent)
    : QWidget(parent), textos_(textos), conSigno_(conSigno)
{
    setObjectName(QStringLiteral("PCursor"));
    setFixedHeight(Alto);

    SG = new QTableWidget(3, 0, this);
    SG->setObjectName(QStringLiteral("SG"));
    // Row 0 and column 0 of the readouts are the grid's headers, so that they stay in
    // view while the values scroll.
    SG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SG->setSelectionMode(QAbstractItemView::NoSelection);
    SG->setFocusPolicy(Qt::NoFocus); // the arrow keys step the cursors
    SG->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SG->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SG->horizontalHeader()->setHighlightSections(false);
    SG->verticalHeader()->setHighlightSections(false);
    SG->setWordWrap(false);

    const QColor azul(0, 0, 255), rojo(255, 0, 0), negro(Qt::black);
    LAzulX = Etiqueta("LAzulX", QStringLiteral("EjeX cursor Azul"), azul, this);
    LazulM = Etiqueta("LazulM", QStringLiteral("Muestra"), azul, this);
    LRojoX = Etiqueta("LRojoX", QStringLiteral("EjeX cursor Rojo"), rojo, this);
    LrojoM = Etiqueta("LrojoM", QStringLiteral("Muestra"), rojo, this);
    LNegroX = Etiqueta("LNegroX", QStringLiteral("Diferencia EjeX"), negro, this);
    LFrecuencia = Etiqueta("LFrecuencia", QString(), negro, this);
    LNegroM = Etiqueta("LNegroM", QStringLiteral("Tiempo muestreo "), negro, this);
    LRAzulX = Etiqueta("LRAzulX", QStringLiteral("0"), azul, this);
    LRAzulM = Etiqueta("LRAzulM", QStringLiteral("0"), azul, this);
    LRRojoX = Etiqueta("LRRojoX", QStringLiteral("0"), rojo, this);
    LRRojoM = Etiqueta("LRRojoM", QStringLiteral("0"), rojo, this);
    LRNegroX = Etiqueta("LRNegroX", QStringLiteral("0"), negro, this);
    LRFrecuencia = Etiqueta("LRFrecuencia", QString(), negro, this);
    LRNegroM = Etiqueta("LRNegroM", QStringLiteral("0"), negro, this);
    // Captions name their readouts for assistive tools.
    const std::pair<QLabel*, QLabel*> pares[] = {{LAzulX, LRAzulX}, {LazulM, LRAzulM}, {LRojoX, LRRojoX},
                                                 {LrojoM, LRRojoM}, {LNegroX, LRNegroX}, {LFrecuencia, LRFrecuencia},
                                                 {LNegroM, LRNegroM}};
    for (const auto& [rotulo, valor] : pares)
        rotulo->setBuddy(valor);

    SBcerrar = new QToolButton(this);
    SBcerrar->setObjectName(QStringLiteral("SBcerrar"));
    SBcerrar->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    SBcerrar->setToolTip(QStringLiteral("Deshabilitar Cursores"));
    SBcerrar->setAutoRaise(true);
    SBcerrar->setFocusPolicy(Qt::TabFocus);
    SBcerrar->resize(20, 20);
    connect(SBcerrar, &QToolButton::clicked, this, &TPanelCursores::Cerrar);
    hide();
}

void TPanelCursores::AplicarTextos()
{
    SG->setVerticalHeaderLabels({textos_.BuscarTexto(kTextoFilaAzul), textos_.BuscarTexto(kTextoFilaRoja),
                                 textos_.BuscarTexto(kTextoFilaDiferencia)});
    LFrecuencia->setText(textos_.BuscarTexto(clave::Frecuencia));
    SBcerrar->setAccessibleName(SBcerrar->toolTip());
    Disponer();
}

void TPanelCursores::Preparar(const QStringList& nombres, double periodo)
{
    columnas_ = int(nombres.size());
    SG->clearContents();
    SG->setColumnCount(columnas_);
    SG->setHorizontalHeaderLabels(nombres);
    for (int c = 1; c <= columnas_; ++c)
        for (int f = 1; f <= 3; ++f)
            PonerValor(c, f, QStringLiteral("0"));
    for (QLabel* l : {LRAzulX, LRAzulM, LRRojoX, LRRojoM, LRNegroX})
        l->setText(QStringLiteral("0"));
    LRFrecuencia->clear();
    LRNegroM->setText(TextoPeriodo(periodo, textos_));
    colocado_ = {};
    AplicarTextos();
}

void TPanelCursores::PonerNombres(const QStringList& nombres)
{
    SG->setHorizontalHeaderLabels(nombres.mid(0, columnas_));
}

QString TPanelCursores::TextoPeriodo(double t, TTextos& textos)
{
    if (t >= 0.99)
        return FormatoGeneral4(t) + QLatin1Char(' ') + textos.BuscarTexto(clave::Segundos);
    if (t >= 9.9e-5)
        return FormatoGeneral4(t * 1000) + QLatin1Char(' ') + textos.BuscarTexto(kTextoMilisegundos);
    if (t >= 9.9e-7)
        return FormatoGeneral4(t * 1e6) + QLatin1Char(' ') + textos.BuscarTexto(kTextoMicrosegundos);
    return FormatoGeneral4(t);
}

void TPanelCursores::PonerValor(int columna, int fila, const QString& texto)
{
    QTableWidgetItem* item = SG->item(fila - 1, columna - 1);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SG->setItem(fila - 1, columna - 1, item);
    }
    if (item->text() != texto)
        item->setText(texto);
}

QString TPanelCursores::Valor(int columna, int fila) const
{
    const QTableWidgetItem* item = SG->item(fila - 1, columna - 1);
    return item ? item->text() : QString();
}

void TPanelCursores::Lectura(int numero, double x, const std::vector<double>& valores, int muestra)
{
    const bool azul = numero == 1;
    const int fila = azul ? 1 : 2;
    (azul ? LRAzulX : LRRojoX)->setText(Fijo6(float(x)));
    const int n = std::min(columnas_, int(valores.size()));
    for (int c = 1; c <= n; ++c)
        PonerValor(c, fila, Fijo6(valores[c - 1]));
    (azul ? LRAzulM : LRRojoM)->setText(QString::number(muestra));
    colocado_[azul ? 0 : 1] = true;
    x_[azul ? 0 : 1] = x;
    if (colocado_[0] && colocado_[1])
        Diferencias();
}

QString TPanelCursores::Diferencia(const QString& azul, const QString& rojo) const
{
    const double d = LeerReal(azul).value_or(0) - LeerReal(rojo).value_or(0);
    return Fijo6(conSigno_ ? d : std::fabs(d));
}

void TPanelCursores::Diferencias()
{
    LRNegroX->setText(Diferencia(LRAzulX->text(), LRRojoX->text()));
    for (int c = 1; c <= columnas_; ++c)
        PonerValor(c, 3, Diferencia(Valor(c, 1), Valor(c, 2)));
    // The inverse of the time between the cursors, from their true places: the rounded
    // difference would lose the digits of short periods.
    const double dx = std::fabs(x_[0] - x_[1]);
    if (tiempo_ && dx > 0)
        LRFrecuencia->setText(TextoFrecuencia(1 / dx, textos_));
    else
        LRFrecuencia->clear();
}

void TPanelCursores::PonerEjeTiempo(bool tiempo)
{
    tiempo_ = tiempo;
    LFrecuencia->setVisible(tiempo);
    LRFrecuencia->setVisible(tiempo);
    if (!tiempo)
        LRFrecuencia->clear();
}

void TPanelCursores::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Disponer();
}

void TPanelCursores::Disponer()
{
    const int ancho = width();
    const int anchoRejilla = std::max(100, ancho - AnchoLecturas);
    // Row captions never clipped.
    QHeaderView* filas = SG->verticalHeader();
    const QFontMetrics fm(filas->font());
    int columna0 = 90;
    for (int f = 0; f < SG->rowCount(); ++f)
        if (const QTableWidgetItem* h = SG->verticalHeaderItem(f))
            columna0 = std::max(columna0, fm.horizontalAdvance(h->text()) + 12);
    filas->setFixedWidth(columna0);
    const int w = columnas_ > 0 ? int(std::lround(double(anchoRejilla - columna0) / columnas_)) : 0;
    int alto = 23;
    if (w >= 52) {
        SG->horizontalHeader()->setDefaultSectionSize(w - 2);
    } else {
        alto = 19;
        SG->horizontalHeader()->setDefaultSectionSize(50);
    }
    for (int c = 0; c < SG->columnCount(); ++c)
        SG->setColumnWidth(c, SG->horizontalHeader()->defaultSectionSize());
    filas->setDefaultSectionSize(alto);
    for (int f = 0; f < SG->rowCount(); ++f)
        SG->setRowHeight(f, alto);
    SG->horizontalHeader()->setFixedHeight(alto);
    SG->setGeometry(2, 2, anchoRejilla - 4, Alto - 4);

    const int xRotulo = ancho - AnchoLecturas + 6;
    const int xValor = xRotulo + kAnchoRotulo + 2;
    QLabel* rotulos[] = {LAzulX, LazulM, LRojoX, LrojoM, LNegroX, LFrecuencia, LNegroM};
    QLabel* valores[] = {LRAzulX, LRAzulM, LRRojoX, LRRojoM, LRNegroX, LRFrecuencia, LRNegroM};
    for (int i = 0; i < 7; ++i) {
        const int y = 1 + i * kFilaLectura;
        rotulos[i]->setGeometry(xRotulo, y, kAnchoRotulo, kFilaLectura);
        valores[i]->setGeometry(xValor, y, std::max(10, ancho - xValor - 2), kFilaLectura);
    }
    SBcerrar->move(ancho - 22, 0);
    SBcerrar->raise();
}

} // namespace qv
